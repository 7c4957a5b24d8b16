#pragma once

#include <array>
#include <cstdint>

#include "base/LumoExport.h"
#include "platform/Joystick.h"

// Joysticks: two fixed records, "A" (id 0) and "B" (id 1), polled once per
// frame. Their moves and triggers reach the game as joystick events, and a
// joystick can stand in for the keyboard or the mouse.

enum tJoystickEmulation : int32_t {
  JoystickEmulationNone = 0,
  JoystickEmulationKeyboard = 1,
  JoystickEmulationMouse = 2,
};

// Joystick codes: triggers 1-4, then the directions left, front, right, back.
constexpr int32_t JoystickATrigger = 256;
constexpr int32_t JoystickALeft = 384;
constexpr int32_t JoystickBTrigger = 512;
constexpr int32_t JoystickBLeft = 640;
// Direction bits of a joystick-move event's flags (buttons in the high word).
constexpr uint32_t JoystickLeftBit = 1;
constexpr uint32_t JoystickFrontBit = 2;
constexpr uint32_t JoystickRightBit = 4;
constexpr uint32_t JoystickBackBit = 8;

constexpr int32_t JoystickMinimumRange = 4;
constexpr int32_t JoystickMaximumRange = 65535;
constexpr int32_t JoystickDefaultRange = 5;

struct tJoystick {
  int32_t ID = 0;
  platform::JoystickCapabilities Capabilities;
  tJoystickEmulation Emulation = JoystickEmulationNone;
  int32_t DoubleRange = 2 * JoystickDefaultRange;  // the range, doubled
  // Raw axis units per step of the range, and per screen pixel.
  int32_t StepX = 0;
  int32_t StepY = 0;
  int32_t StepZ = 0;
  int32_t ScreenStepX = 0;
  int32_t ScreenStepY = 0;
  int32_t ScreenStepZ = 0;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;
  int32_t PreviousX = 0;
  int32_t PreviousY = 0;
  int32_t PreviousZ = 0;
  uint32_t Buttons = 0;
  uint32_t PreviousButtons = 0;
  uint32_t Directions = 0;
  uint32_t PreviousDirections = 0;
  // Keys sent for the four triggers, then the four directions.
  std::array<int32_t, 8> Keys{};
  bool Enabled = false;
  bool Detected = false;
  bool Disconnected = false;
  bool Created = false;
};

using JoystickHandle = tJoystick*;

LUMOGAME_API int32_t SupportedJoysticks();
// True when the joystick was found at input start.
LUMOGAME_API bool ValidJoystick(int32_t id);
LUMOGAME_API JoystickHandle CreateJoystick(int32_t id);
LUMOGAME_API void DestroyJoystick(JoystickHandle joystick);
// Polling and events on or off (a new joystick starts disabled).
LUMOGAME_API void EnableJoystick(JoystickHandle joystick);
LUMOGAME_API void DisableJoystick(JoystickHandle joystick);
LUMOGAME_API tJoystickEmulation GetJoystickEmulation(JoystickHandle joystick);
// Answers the emulation in force afterwards. Only one joystick emulates the
// mouse: choosing it for one takes it from the other.
LUMOGAME_API tJoystickEmulation SetJoystickEmulation(JoystickHandle joystick,
                                                     tJoystickEmulation emulation);
LUMOGAME_API int32_t GetJoystickRange(JoystickHandle joystick);
// Positions then run from -range to +range; answers the range, or 0 for one
// outside 4..65535.
LUMOGAME_API int32_t SetJoystickRange(JoystickHandle joystick, int32_t range);
// The key sent for one of the joystick's trigger or direction codes; answers
// the key, or 0 for a code of another joystick.
LUMOGAME_API int32_t MapJoystick(JoystickHandle joystick, int32_t code, int32_t key);
// Sends the code itself again; answers it, or 0 for a code of another joystick.
LUMOGAME_API int32_t UnmapJoystick(JoystickHandle joystick, int32_t code);

// ---- Inside the run-time system ----

// Reads the capabilities of both joysticks and calibrates them (input start).
void DetectJoysticks();
// Polls every enabled joystick and sends its events (once per frame).
void PollJoysticks();
// Forgets both joysticks (input stop).
void ForgetJoysticks();
// The mouse-emulating joystick's position in screen pixels; false (after
// switching the emulation off) when it cannot be read, or without one.
bool EmulatedCursorPosition(int32_t& x, int32_t& y);
