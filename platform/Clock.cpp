#include "platform/Clock.h"

#include <chrono>

#include "platform/Testing.h"

namespace platform {
namespace {
bool clockStepped = false;
uint32_t steppedMilliseconds = 0;
}  // namespace

uint32_t UpTimeMilliseconds() {
  if (clockStepped) {
    return steppedMilliseconds;
  }
  const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

bool IsClockHeld() { return clockStepped; }

namespace testing {

void SetClock(uint32_t milliseconds) {
  clockStepped = true;
  steppedMilliseconds = milliseconds;
}

void StepClock(uint32_t milliseconds) {
  if (!clockStepped) {
    SetClock(UpTimeMilliseconds());
  }
  steppedMilliseconds += milliseconds;
}

void ReleaseClock() { clockStepped = false; }

}  // namespace testing
}  // namespace platform
