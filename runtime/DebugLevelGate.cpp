#include "runtime/DebugLevelGate.h"

// The log runs at the Standard level until the level becomes adjustable.
bool DebugLevelAtLeast(int32_t level) { return level <= 1; }
