#pragma once

#include <cstdint>

// Detail lines of the run-time functions are written only from a debug level
// on (0 Minimum, 1 Standard, 2 Medium, 3 Extended, 4 Maximum).
bool DebugLevelAtLeast(int32_t level);
