#include "runtime/DebugLog.h"

#include <cstdio>
#include <cstdlib>

// A first debug log: "Debug.txt" in the current folder, opened by
// SetDebugMode; error and warning texts also go to standard error.

namespace {

tDebugMode currentMode = DebugModeOff;
std::FILE* logFile = nullptr;

void CloseLog() {
  if (logFile != nullptr) {
    std::fclose(logFile);
    logFile = nullptr;
  }
}

}  // namespace

tDebugMode GetDebugMode() { return currentMode; }

tDebugMode SetDebugMode(tDebugMode mode) {
  if (mode == currentMode) {
    return currentMode;
  }
  CloseLog();
  currentMode = DebugModeOff;
  if (mode == DebugModeOverwrite || mode == DebugModeAppend) {
    logFile = std::fopen("Debug.txt", mode == DebugModeOverwrite ? "wb" : "ab");
    if (logFile != nullptr) {
      currentMode = mode;
    }
  }
  return currentMode;
}

void DebugMessage(const char* text) {
  if (logFile != nullptr && text != nullptr) {
    std::fputs(text, logFile);
    std::fflush(logFile);
  }
}

void ErrorMessage(const char* text) {
  DebugMessage(text);
  std::fprintf(stderr, "%s\n", text != nullptr ? text : "");
  std::exit(13);
}

void WarningMessage(const char* text) {
  DebugMessage(text);
  std::fprintf(stderr, "%s\n", text != nullptr ? text : "");
}
