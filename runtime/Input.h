#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "platform/Message.h"

// Input: keys, characters, mouse buttons and moves, and joysticks reach the
// game as calls of its callbacks, one call per event and region, walking the
// region list from the topmost region down until a callback answers true.

// What a callback receives. Key events carry x = y = 0; z is for joysticks.
struct tInputEvent {
  void* User = nullptr;  // the region's user value
  int32_t Code = 0;      // key, character, button or joystick code
  uint32_t Flags = 0;    // modifier and button flags
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;
};

// True: handled, the walk ends.
using tInputCallback = bool (*)(tInputEvent* event);

// The game's callbacks; a null one switches its event off.
struct tInputEvents {
  tInputCallback KeyDown;
  tInputCallback KeyUp;
  tInputCallback Character;
  tInputCallback Click;
  tInputCallback DoubleClick;
  tInputCallback ButtonDown;
  tInputCallback ButtonUp;
  tInputCallback MouseMove;
  tInputCallback MouseEnter;
  tInputCallback MouseLeave;
  tInputCallback JoystickButtonDown;
  tInputCallback JoystickButtonUp;
  tInputCallback JoystickMove;
};

// Mouse button codes of button events.
constexpr int32_t InputLeftButton = 1;
constexpr int32_t InputRightButton = 2;
constexpr int32_t InputMiddleButton = 4;
// Button-state flags of mouse events (the middle button's flag is not its code).
constexpr uint32_t InputLeftFlag = 1;
constexpr uint32_t InputRightFlag = 2;
constexpr uint32_t InputMiddleFlag = 16;

// A press and the one before it count as a double click when the earlier
// press was at most this long before the release (milliseconds).
constexpr uint32_t DoubleClickMilliseconds = 500;

// Copies all thirteen callbacks.
LUMOGAME_API void SetInputHandlers(const tInputEvents* events);
// Switch delivery on and off.
LUMOGAME_API void StartInput();
LUMOGAME_API void StopInput();

// ---- Inside the run-time system ----

// The input device of the start-up: reads [Polling], detects the joysticks,
// makes the region list and, in full screen, watches the task-switch keys.
bool StartInputDevice();
void StopInputDevice();

// Turns an input message of the window into events; true when handled.
bool HandleInputMessage(const platform::Message& message);
// Once per frame: the Windows keys' releases and the joysticks.
void PollInput();

// The event kinds, in the order of tInputEvents.
enum class tInputKind : int32_t {
  KeyDown,
  KeyUp,
  Character,
  Click,
  DoubleClick,
  ButtonDown,
  ButtonUp,
  MouseMove,
  MouseEnter,
  MouseLeave,
  JoystickButtonDown,
  JoystickButtonUp,
  JoystickMove,
};

class LumoRegion;

// Walks every region from the topmost down with the event until handled.
bool DeliverToRegions(tInputKind kind, tInputEvent event);
// Calls the kind's callback with the region's user value; false without one.
bool CallRegion(tInputKind kind, tInputEvent event, const LumoRegion& region);
bool HasCallback(tInputKind kind);
// The mouse dispatch: button codes 1, 2, 4; flags complete.
bool DispatchButtonDown(int32_t button, uint32_t flags, int32_t x, int32_t y);
bool DispatchButtonUp(int32_t button, uint32_t flags, int32_t x, int32_t y);
bool DispatchMouseMove(int32_t x, int32_t y, uint32_t flags);

// The last mouse position that input saw.
void NoteMousePosition(int32_t x, int32_t y);
int32_t LastMouseX();
int32_t LastMouseY();
// Whether the cursor is above the window's client area (windowed mode).
bool CursorAboveClient();
// While a joystick emulates the mouse, real moves only update the position
// and real buttons are ignored.
void SetMouseEmulation(bool active);
bool MouseEmulation();
// The keyboard and joystick polling switches of [Polling].
bool KeyboardPolling();
bool JoystickPolling();
