#include "fuzz/FuzzDisplay.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Testing.h"
#include "runtime/Display.h"

void StartFuzzDisplay() {
  static const bool started = [] {
    platform::testing::UseBackend("headless");
    tDisplaySettings settings;
    settings.Windowed = false;
    settings.BackBlitting = true;
    settings.BitsPerPixel = 16;
    if (!StartDisplay(settings)) {
      std::fprintf(stderr, "The headless display does not start\n");
      std::abort();
    }
    std::atexit(StopDisplay);
    return true;
  }();
  (void)started;
}
