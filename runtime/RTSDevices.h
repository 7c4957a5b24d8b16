#pragma once

#include <cstdint>

// The devices of the run-time system, started in a fixed order at start-up
// and stopped in the reverse order at shutdown.

// Runs the whole device start-up (debug log, banner, every device); answers
// 0 or the failing step's code.
int32_t StartDevices();
// Stops every device, the last started first, ending with the system exit.
// Each stop is safe to run when its device never started.
void StopDevices();
