#include "platform/Joystick.h"

#include "platform/Backend.h"

namespace platform {

bool GetJoystickCapabilities(int32_t slot, JoystickCapabilities& capabilities) {
  return slot >= 0 && slot < kJoystickSlots &&
         GetBackend().JoystickCapabilities(slot, capabilities);
}

bool ReadJoystick(int32_t slot, JoystickState& state) {
  return slot >= 0 && slot < kJoystickSlots && GetBackend().ReadJoystick(slot, state);
}

}  // namespace platform
