#pragma once

#include <cstdint>

namespace platform {

// ---- Time ----

// Milliseconds since the system started, wrapping at 2^32 (about 49.7 days).
// Compare two readings only by their signed 32-bit difference.
uint32_t UpTimeMilliseconds();

// True while a test holds the clock (platform/Testing.h): waits then move
// the held clock on instead of sleeping.
bool IsClockHeld();

}  // namespace platform
