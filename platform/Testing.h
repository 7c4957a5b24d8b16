#pragma once

#include <cstdint>

// Hooks for tests only; nothing in the game includes this header.
namespace platform::testing {

// ---- Clock ----

// Freezes the millisecond clock at a value; it then moves only by StepClock.
void SetClock(uint32_t milliseconds);
// Moves the frozen clock on (freezing it first at the real time).
void StepClock(uint32_t milliseconds);
// Returns the clock to real time.
void ReleaseClock();

}  // namespace platform::testing
