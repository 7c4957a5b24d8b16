#pragma once

#include <string>

namespace platform {

// ---- Device start faults ----

// True when a device start must fail although the device is there. Only the
// test hooks set it (platform/Testing.h); a device start asks with its name.
bool DeviceStartRefused(const std::string& device);

}  // namespace platform
