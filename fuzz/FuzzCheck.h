#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep (a saved and reloaded file reads back as
// it was saved, ...). A broken one is a finding like a crash: the target
// stops, so the fuzzer keeps the input.
inline void FuzzRequire(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "Fuzz check failed: %s\n", what);
    std::abort();
  }
}
