#pragma once

#include <cstdint>

namespace platform {

// ---- Joysticks ----
// Two joystick slots, 0 and 1. Positions are raw axis values between the
// minimum and maximum the capabilities give; button bit n is button n + 1.

constexpr int32_t kJoystickSlots = 2;

struct JoystickCapabilities {
  int32_t minimumX = 0;
  int32_t maximumX = 0;
  int32_t minimumY = 0;
  int32_t maximumY = 0;
  int32_t minimumZ = 0;
  int32_t maximumZ = 0;
  int32_t buttons = 0;  // number of buttons
  int32_t axes = 0;     // number of axes (2 or 3)
};

struct JoystickState {
  int32_t x = 0;
  int32_t y = 0;
  int32_t z = 0;
  uint32_t buttons = 0;  // bit n: button n + 1 held
};

// False when there is no joystick in the slot.
bool GetJoystickCapabilities(int32_t slot, JoystickCapabilities& capabilities);
// False when the joystick cannot be read (absent or unplugged).
bool ReadJoystick(int32_t slot, JoystickState& state);

}  // namespace platform
