// Writes the state hash of the benchmark's level after every frame, one
// "frame hash" line each: the FNV-1a hash of the bytes LogicSave writes.
// Usage: logic_frame_hashes [units [frames [last]]], 1,000 units and 300
// frames by default; with "last" only the last frame's line, so that a
// counter of instructions or cycles sees mostly the frames. Two builds of
// the logic that run the game alike print the same lines.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "LogicBenchLevel.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/LogicLifecycle.h"

namespace {

uint64_t SavedHash() {
  LumoMemoryStream stream;
  if (!stream.OpenNew(1 << 16, 1, 0)) {
    return 0;
  }
  stream.SetGrowth(1 << 20);
  if (!LogicSave(&stream)) {
    return 0;
  }
  uint64_t hash = 14695981039346656037ull;
  for (uint32_t index = 0; index < stream.position; ++index) {
    hash = (hash ^ stream.buffer[index]) * 1099511628211ull;
  }
  return hash;
}

int32_t Argument(int argc, char** argv, int index, int32_t fallback) {
  if (argc <= index) {
    return fallback;
  }
  const long value = std::strtol(argv[index], nullptr, 10);
  return value > 0 && value <= 100000 ? static_cast<int32_t>(value) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t units = Argument(argc, argv, 1, 1000);
  const int32_t frames = Argument(argc, argv, 2, 300);
  const bool lastOnly = argc > 3 && std::strcmp(argv[3], "last") == 0;
  try {
    logic_bench::BenchLevel level(units);
    std::printf("units %d\n", level.Units());
    for (int32_t frame = 1; frame <= frames; ++frame) {
      level.Frame();
      if (lastOnly && frame != frames) {
        continue;
      }
      std::printf("%d %016" PRIx64 "\n", frame, SavedHash());
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "logic_frame_hashes: %s\n", error.what());
    return 1;
  }
  return 0;
}
