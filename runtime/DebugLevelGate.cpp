#include "runtime/DebugLevelGate.h"

#include "runtime/DebugLog.h"

// The level comes from the "Debug" section through the debug start.
bool DebugLevelAtLeast(int32_t level) { return GetDebugLevel() >= level; }
