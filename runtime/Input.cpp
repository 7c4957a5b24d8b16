#include "runtime/Input.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/DebugFormat.h"
#include "base/TextUtils.h"
#include "platform/Keyboard.h"
#include "runtime/Cursor.h"
#include "runtime/Joystick.h"
#include "runtime/Keyboard.h"
#include "runtime/RTSState.h"
#include "runtime/RegionSnapshot.h"
#include "runtime/Regions.h"
#include "runtime/StartupProfile.h"

namespace {

using platform::Message;
using platform::MessageKind;

constexpr int32_t kInputKinds = 13;
constexpr int32_t kEscape = 27;
constexpr int32_t kTab = 9;
constexpr int32_t kControl = 17;
constexpr int32_t kAlt = 18;
constexpr int32_t kFlagKeys[2] = {91, 92};

struct InputState {
  std::array<tInputCallback, kInputKinds> callbacks{};
  bool keyboardPolling = true;
  bool joystickPolling = true;
  bool mouseEmulation = false;
  bool hookSet = false;
  bool aboveClient = true;
  // A Windows key is held; its release was sent by the frame poll (the
  // release message that follows is then swallowed).
  std::array<bool, 2> flagHeld{};
  std::array<bool, 2> flagReleaseSent{};
};

InputState& Input() {
  static InputState state;
  return state;
}

bool InputLive() {
  const RTSState& rts = RTS();
  return rts.inputOn && rts.surfacesValid;
}

bool Held(int32_t key) {
  return platform::GetKeyState(static_cast<uint32_t>(key)) < 0;
}

// ---- Configuration ----

// Only an explicit "False", "Off" or 0 switches polling off.
bool ReadPollingSwitch(const char* entry) {
  const tStartRecord* start = RTS().startRecord;
  std::string text;
  if (!ReadStartupText(start != nullptr ? start->configurationName : nullptr, "Polling", entry,
                       text)) {
    return true;
  }
  const char* word = text.c_str();
  while (*word == ' ' || *word == '\t') {
    ++word;
  }
  return !(CompareNoCase(word, "False") == 0 || CompareNoCase(word, "Off") == 0 ||
           std::string(word) == "0");
}

// ---- Task switches ----

// Window managers take the task-switch shortcuts before the game sees them;
// a full-screen game that loses activation has been switched away from.
bool IsTaskSwitch(const Message& message) {
  switch (message.kind) {
    case MessageKind::Activate:
      return message.value == 0;
    case MessageKind::KeyDown:
    case MessageKind::SystemKeyDown: {
      const int32_t key = static_cast<int32_t>(message.value);
      return (key == kEscape && (Held(kControl) || Held(kAlt))) || (key == kTab && Held(kAlt)) ||
             key == kFlagKeys[0] || key == kFlagKeys[1];
    }
    default:
      return false;
  }
}

void TaskSwitchHook(const Message& message) {
  const RTSState& rts = RTS();
  if (!rts.surfacesValid || !rts.keepRunning || !rts.informed ||
      rts.information.taskSwitch == nullptr) {
    return;
  }
  if (IsTaskSwitch(message)) {
    rts.information.taskSwitch();
  }
}

bool SetTaskSwitchHook() {
  if (!platform::SetKeyboardHook(TaskSwitchHook)) {
    DebugPrint("Cannot set the keyboard hook (Error=%x)\n", 0u);
    return false;
  }
  Input().hookSet = true;
  DebugPrint("Keyboard hook set\n");
  return true;
}

void ReleaseTaskSwitchHook() {
  if (!Input().hookSet) {
    return;
  }
  Input().hookSet = false;
  if (platform::ReleaseKeyboardHook()) {
    DebugPrint("Keyboard hook released\n");
  } else {
    DebugPrint("Cannot release keyboard hook (Error=%x)\n", 0u);
  }
}

// ---- Keys ----

int32_t FlagKeyIndex(int32_t key) {
  return key == kFlagKeys[0] ? 0 : key == kFlagKeys[1] ? 1 : -1;
}

bool DeliverKey(tInputKind kind, int32_t key) {
  tInputEvent event;
  event.Code = key;
  event.Flags = KeyModifiers(key);
  return DeliverToRegions(kind, event);
}

bool OnKeyDown(int32_t key) {
  const int32_t flagKey = FlagKeyIndex(key);
  if (flagKey >= 0) {
    Input().flagHeld[flagKey] = true;
    Input().flagReleaseSent[flagKey] = false;
  }
  return DeliverKey(tInputKind::KeyDown, key);
}

bool OnKeyUp(int32_t key) {
  const int32_t flagKey = FlagKeyIndex(key);
  if (flagKey >= 0) {
    Input().flagHeld[flagKey] = false;
    if (Input().flagReleaseSent[flagKey]) {
      Input().flagReleaseSent[flagKey] = false;
      return true;
    }
  }
  return DeliverKey(tInputKind::KeyUp, key);
}

// A Windows key whose release did not reach the game (the shell may take it)
// is released by the frame poll.
void PollFlagKeys() {
  for (int32_t index = 0; index < 2; ++index) {
    if (Input().flagHeld[index] && !Held(kFlagKeys[index])) {
      Input().flagHeld[index] = false;
      Input().flagReleaseSent[index] = true;
      DeliverKey(tInputKind::KeyUp, kFlagKeys[index]);
    }
  }
}

// ---- Mouse messages ----

struct ButtonMessage {
  MessageKind kind;
  int32_t button;
  uint32_t flag;
  bool down;
};

constexpr ButtonMessage kButtonMessages[] = {
    {MessageKind::LeftButtonDown, InputLeftButton, InputLeftFlag, true},
    {MessageKind::LeftButtonUp, InputLeftButton, InputLeftFlag, false},
    {MessageKind::RightButtonDown, InputRightButton, InputRightFlag, true},
    {MessageKind::RightButtonUp, InputRightButton, InputRightFlag, false},
    {MessageKind::MiddleButtonDown, InputMiddleButton, InputMiddleFlag, true},
    {MessageKind::MiddleButtonUp, InputMiddleButton, InputMiddleFlag, false},
};

// Alt and the Windows flag, which mouse messages do not carry themselves.
uint32_t MouseModifiers() {
  uint32_t flags = 0;
  if (Held(kAlt))
    flags |= InputAlt;
  if (Held(kFlagKeys[0]) || Held(kFlagKeys[1]))
    flags |= InputFlag;
  return flags;
}

bool OnButton(const Message& message) {
  for (const ButtonMessage& button : kButtonMessages) {
    if (button.kind != message.kind) {
      continue;
    }
    if (Input().mouseEmulation) {
      return true;
    }
    const uint32_t flags = message.buttons | button.flag | MouseModifiers();
    return button.down ? DispatchButtonDown(button.button, flags, message.x, message.y)
                       : DispatchButtonUp(button.button, flags, message.x, message.y);
  }
  return false;
}

bool OnMouseMove(const Message& message) {
  if (Input().mouseEmulation) {
    NoteMousePosition(message.x, message.y);
    return true;
  }
  return DispatchMouseMove(message.x, message.y, message.buttons | MouseModifiers());
}

}  // namespace

// ---- The game's switches ----

void SetInputHandlers(const tInputEvents* events) {
  if (events == nullptr) {
    DebugPrint("SetInputHandlers() Null pointer to the input events specified\n");
    return;
  }
  const tInputCallback all[kInputKinds] = {
      events->KeyDown,     events->KeyUp,      events->Character,          events->Click,
      events->DoubleClick, events->ButtonDown, events->ButtonUp,           events->MouseMove,
      events->MouseEnter,  events->MouseLeave, events->JoystickButtonDown, events->JoystickButtonUp,
      events->JoystickMove};
  std::copy(std::begin(all), std::end(all), Input().callbacks.begin());
}

void StartInput() {
  RTS().inputOn = true;
}
void StopInput() {
  RTS().inputOn = false;
}

// ---- Delivery ----

bool CallRegion(tInputKind kind, tInputEvent event, const LumoRegion& region) {
  const tInputCallback callback = Input().callbacks[static_cast<size_t>(kind)];
  if (callback == nullptr) {
    return false;
  }
  event.User = region.UserValue;
  return callback(&event);
}

bool HasCallback(tInputKind kind) {
  return Input().callbacks[static_cast<size_t>(kind)] != nullptr;
}

bool DeliverToRegions(tInputKind kind, tInputEvent event) {
  if (!HasCallback(kind)) {
    return false;
  }
  const tRegionSnapshot regions(tRegionSnapshot::Order::TopDown);
  for (size_t index = 0; index < regions.Size() && !regions.ListGone(); ++index) {
    const LumoRegion* region = regions.Live(index);
    if (region != nullptr && CallRegion(kind, event, *region)) {
      return true;
    }
  }
  return false;
}

bool HandleInputMessage(const Message& message) {
  switch (message.kind) {
    case MessageKind::KeyDown:
    case MessageKind::SystemKeyDown:
      return OnKeyDown(static_cast<int32_t>(message.value));
    case MessageKind::KeyUp:
    case MessageKind::SystemKeyUp:
      return OnKeyUp(static_cast<int32_t>(message.value));
    case MessageKind::Character: {
      tInputEvent event;
      event.Code = static_cast<int32_t>(message.value);
      return DeliverToRegions(tInputKind::Character, event);
    }
    case MessageKind::MouseMove:
      return OnMouseMove(message);
    case MessageKind::SetCursor:
      // The system cursor is hidden above the client area, where the game
      // draws its own.
      Input().aboveClient = message.value != 0;
      return Input().aboveClient;
    default:
      return OnButton(message);
  }
}

void PollInput() {
  if (!InputLive()) {
    return;
  }
  if (Input().keyboardPolling) {
    PollFlagKeys();
  }
  if (Input().joystickPolling) {
    PollJoysticks();
  }
}

// ---- The device ----

bool StartInputDevice() {
  InputState& input = Input();
  input.callbacks.fill(nullptr);
  RTS().inputOn = false;
  input.flagHeld.fill(false);
  input.flagReleaseSent.fill(false);
  input.keyboardPolling = ReadPollingSwitch("Keyboard");
  input.joystickPolling = ReadPollingSwitch("Joystick");
  DebugPrint("Polling (Keyboard=%i, Joystick=%i)\n", input.keyboardPolling ? 1 : 0,
             input.joystickPolling ? 1 : 0);
  DetectJoysticks();
  if (!CreateRegionList()) {
    return false;
  }
  if (!RTS().windowed && !SetTaskSwitchHook()) {
    return false;
  }
  SetInputMessageHandler(HandleInputMessage);
  SetFramePoll(PollInput);
  return true;
}

void StopInputDevice() {
  SetInputMessageHandler(nullptr);
  SetFramePoll(nullptr);
  RTS().inputOn = false;
  ReleaseTaskSwitchHook();
  ForgetJoysticks();
  DestroyAllCursors();
  DeleteRegionList();
  Input().callbacks.fill(nullptr);
  // The mouse position belongs to this run's window: a later start must not
  // hand it to its new regions as where the cursor is.
  NoteMousePosition(0, 0);
}

// ---- Shared with the mouse dispatch and the joysticks ----

// One remembered position: the window's, which mouse moves update even
// while input is off or a joystick emulates the mouse.
void NoteMousePosition(int32_t x, int32_t y) {
  RTS().mouseX = x;
  RTS().mouseY = y;
}

int32_t LastMouseX() {
  return RTS().mouseX;
}
int32_t LastMouseY() {
  return RTS().mouseY;
}
bool CursorAboveClient() {
  return Input().aboveClient;
}
void SetMouseEmulation(bool active) {
  Input().mouseEmulation = active;
}
bool MouseEmulation() {
  return Input().mouseEmulation;
}
bool KeyboardPolling() {
  return Input().keyboardPolling;
}
bool JoystickPolling() {
  return Input().joystickPolling;
}
