#include "runtime/DebugLog.h"

#include <cstdio>
#include <cstdlib>

// Until the log file and the message boxes exist, every text goes to
// standard error.

namespace {
tDebugMode currentMode = DebugModeOff;
}

tDebugMode GetDebugMode() { return currentMode; }

tDebugMode SetDebugMode(tDebugMode mode) {
  currentMode = mode;
  return currentMode;
}

void DebugMessage(const char* text) {
  if (currentMode != DebugModeOff && text != nullptr) {
    std::fputs(text, stderr);
  }
}

void ErrorMessage(const char* text) {
  std::fprintf(stderr, "%s\n", text != nullptr ? text : "");
  std::exit(13);
}

void WarningMessage(const char* text) { std::fprintf(stderr, "%s\n", text != nullptr ? text : ""); }
