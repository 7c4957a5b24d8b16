#pragma once

#include <cstdint>

namespace platform {

// ---- Device contexts ----
// The display hands out drawing contexts of surfaces; the count of those
// still open is reported when the game ends (a leak turns success into 14).

void DeviceContextOpened();
void DeviceContextClosed();
int32_t OpenDeviceContexts();

}  // namespace platform
