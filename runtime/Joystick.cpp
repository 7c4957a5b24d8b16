#include "runtime/Joystick.h"

#include <cstdint>

#include "base/DebugFormat.h"
#include "runtime/DebugLevelGate.h"
#include "runtime/Input.h"
#include "runtime/RTSState.h"

namespace {

constexpr int32_t kTriggers = 4;
constexpr int32_t kDirections = 4;
constexpr uint32_t kReadFailure = 1;  // the error logged for a failed read

std::array<tJoystick, platform::kJoystickSlots>& Joysticks() {
  static std::array<tJoystick, platform::kJoystickSlots> joysticks;
  return joysticks;
}

tJoystick& Other(const tJoystick& joystick) {
  return Joysticks()[joystick.ID == 0 ? 1 : 0];
}

// The joystick a handle names, or null after "<caller>() Null pointer ...";
// a handle that is not one of the two records counts as null.
tJoystick* Checked(JoystickHandle joystick, const char* caller) {
  for (tJoystick& record : Joysticks()) {
    if (&record == joystick) {
      return &record;
    }
  }
  DebugPrint("%s() Null pointer to the joystick specified\n", caller);
  return nullptr;
}

int32_t CodeBase(const tJoystick& joystick) {
  return joystick.ID == 0 ? JoystickATrigger : JoystickBTrigger;
}

// The index into Keys of one of the joystick's codes, or -1.
int32_t KeyIndex(const tJoystick& joystick, int32_t code) {
  const int32_t base = CodeBase(joystick);
  if (code >= base && code < base + kTriggers) {
    return code - base;
  }
  if (code >= base + 128 && code < base + 128 + kDirections) {
    return kTriggers + code - base - 128;
  }
  return -1;
}

int32_t CodeOf(const tJoystick& joystick, int32_t index) {
  return index < kTriggers ? CodeBase(joystick) + index
                           : CodeBase(joystick) + 128 + index - kTriggers;
}

int32_t Span(int32_t minimum, int32_t maximum) {
  const int64_t span = int64_t{maximum} - minimum;
  return span < 0 ? -1 : span > INT32_MAX ? INT32_MAX : static_cast<int32_t>(span);
}

void SetRangeSteps(tJoystick& joystick) {
  const platform::JoystickCapabilities& caps = joystick.Capabilities;
  joystick.StepX = Span(caps.minimumX, caps.maximumX) / joystick.DoubleRange;
  joystick.StepY = Span(caps.minimumY, caps.maximumY) / joystick.DoubleRange;
  joystick.StepZ = caps.axes >= 3 ? Span(caps.minimumZ, caps.maximumZ) / joystick.DoubleRange : 0;
  if (joystick.StepZ < 0) {
    joystick.StepZ = 0;
  }
}

// Raw units over steps. A step below 1 (a range finer than the axis, or an
// axis without span) would divide by zero: it counts as 1.
int32_t Steps(int32_t raw, int32_t minimum, int32_t step) {
  return static_cast<int32_t>((int64_t{raw} - minimum) / (step < 1 ? 1 : step));
}

void SetPosition(tJoystick& joystick, const platform::JoystickState& raw) {
  const platform::JoystickCapabilities& caps = joystick.Capabilities;
  const bool hasZ = caps.axes >= 3;
  if (joystick.Emulation == JoystickEmulationMouse) {
    joystick.X = Steps(raw.x, caps.minimumX, joystick.ScreenStepX);
    joystick.Y = Steps(raw.y, caps.minimumY, joystick.ScreenStepY);
    joystick.Z =
        hasZ && joystick.ScreenStepZ > 0 ? Steps(raw.z, caps.minimumZ, joystick.ScreenStepZ) : 0;
  } else {
    const int32_t range = joystick.DoubleRange / 2;
    joystick.X = Steps(raw.x, caps.minimumX, joystick.StepX) - range;
    joystick.Y = Steps(raw.y, caps.minimumY, joystick.StepY) - range;
    joystick.Z =
        hasZ && joystick.StepZ > 0 ? Steps(raw.z, caps.minimumZ, joystick.StepZ) - range : 0;
  }
  joystick.Buttons = raw.buttons & 0xFFFFu;
}

// Left, front (up), right and back (down) beyond a dead zone of a quarter of
// the half-size around the centre.
uint32_t Directions(const tJoystick& joystick) {
  int32_t centreX = 0;
  int32_t centreY = 0;
  int32_t deadX = joystick.DoubleRange / 2 / 4;
  int32_t deadY = deadX;
  if (joystick.Emulation == JoystickEmulationMouse) {
    centreX = RTS().screenWidth / 2;
    centreY = RTS().screenHeight / 2;
    deadX = centreX / 4;
    deadY = centreY / 4;
  }
  uint32_t bits = 0;
  if (joystick.X < centreX - deadX)
    bits |= JoystickLeftBit;
  if (joystick.X > centreX + deadX)
    bits |= JoystickRightBit;
  if (joystick.Y < centreY - deadY)
    bits |= JoystickFrontBit;
  if (joystick.Y > centreY + deadY)
    bits |= JoystickBackBit;
  return bits;
}

void ApplyMouseEmulation() {
  bool emulating = false;
  for (const tJoystick& joystick : Joysticks()) {
    emulating = emulating || (joystick.Created && joystick.Emulation == JoystickEmulationMouse);
  }
  SetMouseEmulation(emulating);
}

// ---- Events of a poll ----

tInputEvent JoystickEvent(const tJoystick& joystick, int32_t code) {
  tInputEvent event;
  event.Code = code;
  event.Flags = (joystick.Buttons << 16) | joystick.Directions;
  event.X = joystick.X;
  event.Y = joystick.Y;
  event.Z = joystick.Z;
  return event;
}

void SendKey(tInputKind kind, int32_t key) {
  tInputEvent event;
  event.Code = key;
  DeliverToRegions(kind, event);
}

// The button-state flag of a mouse button code (the middle button's flag
// differs from its code); 0 for other keys.
uint32_t ButtonFlag(int32_t key) {
  return key == InputLeftButton     ? InputLeftFlag
         : key == InputRightButton  ? InputRightFlag
         : key == InputMiddleButton ? InputMiddleFlag
                                    : 0;
}

void SendTrigger(const tJoystick& joystick, int32_t index, bool down) {
  const int32_t key = joystick.Keys[static_cast<size_t>(index)];
  DeliverToRegions(down ? tInputKind::JoystickButtonDown : tInputKind::JoystickButtonUp,
                   JoystickEvent(joystick, key));
  if (joystick.Emulation == JoystickEmulationKeyboard) {
    SendKey(down ? tInputKind::KeyDown : tInputKind::KeyUp, key);
  } else if (joystick.Emulation == JoystickEmulationMouse) {
    if (down) {
      DispatchButtonDown(key, ButtonFlag(key), joystick.X, joystick.Y);
    } else {
      DispatchButtonUp(key, ButtonFlag(key), joystick.X, joystick.Y);
    }
  }
}

void SendPollEvents(const tJoystick& joystick) {
  if (joystick.X != joystick.PreviousX || joystick.Y != joystick.PreviousY ||
      joystick.Z != joystick.PreviousZ) {
    DeliverToRegions(tInputKind::JoystickMove, JoystickEvent(joystick, 0));
    if (joystick.Emulation == JoystickEmulationMouse) {
      DispatchMouseMove(joystick.X, joystick.Y, 0);
    }
  }
  // A held direction repeats its key-down at every poll, as a held key does.
  for (int32_t direction = 0; direction < kDirections; ++direction) {
    const uint32_t bit = 1u << direction;
    const int32_t key = joystick.Keys[static_cast<size_t>(kTriggers + direction)];
    if ((joystick.Directions & bit) != 0) {
      SendKey(tInputKind::KeyDown, key);
    } else if ((joystick.PreviousDirections & bit) != 0) {
      SendKey(tInputKind::KeyUp, key);
    }
  }
  for (int32_t trigger = 0; trigger < kTriggers; ++trigger) {
    const uint32_t bit = 1u << trigger;
    if ((joystick.Buttons & bit) != (joystick.PreviousButtons & bit)) {
      SendTrigger(joystick, trigger, (joystick.Buttons & bit) != 0);
    }
  }
}

void PollJoystick(tJoystick& joystick) {
  platform::JoystickState raw;
  if (!platform::ReadJoystick(joystick.ID, raw)) {
    if (!joystick.Disconnected) {
      joystick.Disconnected = true;
      DebugPrint("PollJoystick() Joystick disconnected (ID=%i)\n", joystick.ID);
    }
    return;
  }
  if (joystick.Disconnected) {
    joystick.Disconnected = false;
    DebugPrint("PollJoystick() Joystick reconnected (ID=%i)\n", joystick.ID);
  }
  joystick.PreviousX = joystick.X;
  joystick.PreviousY = joystick.Y;
  joystick.PreviousZ = joystick.Z;
  joystick.PreviousButtons = joystick.Buttons;
  joystick.PreviousDirections = joystick.Directions;
  SetPosition(joystick, raw);
  joystick.Directions = Directions(joystick);
  SendPollEvents(joystick);
}

// ---- Detection ----

void ResetJoystick(tJoystick& joystick, int32_t id) {
  joystick = tJoystick{};
  joystick.ID = id;
  for (int32_t index = 0; index < kTriggers + kDirections; ++index) {
    joystick.Keys[static_cast<size_t>(index)] = CodeOf(joystick, index);
  }
}

bool Calibrate(tJoystick& joystick) {
  const platform::JoystickCapabilities& caps = joystick.Capabilities;
  joystick.DoubleRange = 2 * JoystickDefaultRange;
  SetRangeSteps(joystick);
  const int32_t width = RTS().screenWidth > 0 ? RTS().screenWidth : 1;
  const int32_t height = RTS().screenHeight > 0 ? RTS().screenHeight : 1;
  joystick.ScreenStepX = Span(caps.minimumX, caps.maximumX) / width;
  joystick.ScreenStepY = Span(caps.minimumY, caps.maximumY) / height;
  joystick.ScreenStepZ = caps.axes >= 3 ? Span(caps.minimumZ, caps.maximumZ) / height : 0;
  if (joystick.ScreenStepX < 1 || joystick.ScreenStepY < 1) {
    DebugPrint("Joystick %i calibration failure (StepX=%i:%i, StepY=%i:%i)\n", joystick.ID,
               joystick.StepX, joystick.ScreenStepX, joystick.StepY, joystick.ScreenStepY);
    return false;
  }
  return true;
}

void DetectJoystick(tJoystick& joystick) {
  if (!platform::GetJoystickCapabilities(joystick.ID, joystick.Capabilities) ||
      !Calibrate(joystick)) {
    return;
  }
  platform::JoystickState raw;
  if (!platform::ReadJoystick(joystick.ID, raw)) {
    return;
  }
  SetPosition(joystick, raw);
  joystick.Directions = Directions(joystick);
  joystick.Detected = true;
  DebugPrint("Joystick %i detected (Buttons=%i, Axes=%i, StepX=%i:%i, StepY=%i:%i, StepZ=%i:%i)\n",
             joystick.ID, joystick.Capabilities.buttons, joystick.Capabilities.axes, joystick.StepX,
             joystick.ScreenStepX, joystick.StepY, joystick.ScreenStepY, joystick.StepZ,
             joystick.ScreenStepZ);
}

}  // namespace

// ---- The game's joystick functions ----

int32_t SupportedJoysticks() {
  return platform::kJoystickSlots;
}

bool ValidJoystick(int32_t id) {
  return id >= 0 && id < platform::kJoystickSlots && Joysticks()[static_cast<size_t>(id)].Detected;
}

JoystickHandle CreateJoystick(int32_t id) {
  if (id < 0 || id >= platform::kJoystickSlots) {
    DebugPrint("CreateJoystick() Joystick not supported (ID=%i)\n", id);
    return nullptr;
  }
  tJoystick& joystick = Joysticks()[static_cast<size_t>(id)];
  if (!joystick.Detected) {
    DebugPrint("CreateJoystick() Joystick not detected (ID=%i)\n", id);
    return nullptr;
  }
  if (joystick.Created) {
    DebugPrint("CreateJoystick() Joystick already created (ID=%i)\n", id);
    return nullptr;
  }
  joystick.Created = true;
  joystick.Enabled = false;
  if (DebugLevelAtLeast(1)) {
    DebugPrint("CreateJoystick() Joystick created (ID=%i)\n", id);
  }
  return &joystick;
}

void DestroyJoystick(JoystickHandle handle) {
  tJoystick* joystick = Checked(handle, "DestroyJoystick");
  if (joystick == nullptr) {
    return;
  }
  if (!joystick->Created) {
    DebugPrint("DestroyJoystick() Joystick already destroyed (ID=%i)\n", joystick->ID);
    return;
  }
  joystick->Enabled = false;
  joystick->Created = false;
  joystick->Emulation = JoystickEmulationNone;
  ApplyMouseEmulation();
  if (DebugLevelAtLeast(2)) {
    DebugPrint("DestroyJoystick() Joystick destroyed (ID=%i)\n", joystick->ID);
  }
}

void EnableJoystick(JoystickHandle handle) {
  if (tJoystick* joystick = Checked(handle, "EnableJoystick")) {
    joystick->Enabled = true;
    if (DebugLevelAtLeast(3)) {
      DebugPrint("EnableJoystick() Joystick enabled (ID=%i)\n", joystick->ID);
    }
  }
}

void DisableJoystick(JoystickHandle handle) {
  if (tJoystick* joystick = Checked(handle, "DisableJoystick")) {
    joystick->Enabled = false;
    if (DebugLevelAtLeast(3)) {
      DebugPrint("DisableJoystick() Joystick disabled (ID=%i)\n", joystick->ID);
    }
  }
}

tJoystickEmulation GetJoystickEmulation(JoystickHandle handle) {
  const tJoystick* joystick = Checked(handle, "GetJoystickEmulation");
  return joystick != nullptr ? joystick->Emulation : JoystickEmulationNone;
}

tJoystickEmulation SetJoystickEmulation(JoystickHandle handle, tJoystickEmulation emulation) {
  tJoystick* joystick = Checked(handle, "SetJoystickEmulation");
  if (joystick == nullptr) {
    return JoystickEmulationNone;
  }
  // A mode the game does not know would leave the joystick half in one; it
  // keeps the mode it has.
  if (emulation < JoystickEmulationNone || emulation > JoystickEmulationMouse) {
    DebugPrint("SetJoystickEmulation() Unknown emulation (ID=%i, Emulation=%i)\n", joystick->ID,
               static_cast<int32_t>(emulation));
    return joystick->Emulation;
  }
  if (emulation == JoystickEmulationMouse && Other(*joystick).Emulation == JoystickEmulationMouse) {
    Other(*joystick).Emulation = JoystickEmulationNone;
  }
  joystick->Emulation = emulation;
  ApplyMouseEmulation();
  return emulation;
}

int32_t GetJoystickRange(JoystickHandle handle) {
  const tJoystick* joystick = Checked(handle, "GetJoystickRange");
  return joystick != nullptr ? joystick->DoubleRange / 2 : 0;
}

int32_t SetJoystickRange(JoystickHandle handle, int32_t range) {
  tJoystick* joystick = Checked(handle, "SetJoystickRange");
  if (joystick == nullptr) {
    return 0;
  }
  if (range < JoystickMinimumRange || range > JoystickMaximumRange) {
    DebugPrint("SetJoystickRange() Out of range (ID=%i, Range=%i)\n", joystick->ID, range);
    return 0;
  }
  joystick->DoubleRange = 2 * range;
  SetRangeSteps(*joystick);
  return range;
}

int32_t MapJoystick(JoystickHandle handle, int32_t code, int32_t key) {
  tJoystick* joystick = Checked(handle, "MapJoystick");
  if (joystick == nullptr) {
    return 0;
  }
  const int32_t index = KeyIndex(*joystick, code);
  if (index < 0) {
    return 0;
  }
  joystick->Keys[static_cast<size_t>(index)] = key;
  return key;
}

int32_t UnmapJoystick(JoystickHandle handle, int32_t code) {
  tJoystick* joystick = Checked(handle, "UnmapJoystick");
  return joystick != nullptr ? MapJoystick(handle, code, code) : 0;
}

// ---- Inside the run-time system ----

void DetectJoysticks() {
  for (int32_t id = 0; id < platform::kJoystickSlots; ++id) {
    tJoystick& joystick = Joysticks()[static_cast<size_t>(id)];
    ResetJoystick(joystick, id);
    if (JoystickPolling()) {
      DetectJoystick(joystick);
    }
  }
  SetMouseEmulation(false);
}

void PollJoysticks() {
  for (tJoystick& joystick : Joysticks()) {
    if (joystick.Created && joystick.Enabled) {
      PollJoystick(joystick);
    }
  }
}

void ForgetJoysticks() {
  for (int32_t id = 0; id < platform::kJoystickSlots; ++id) {
    ResetJoystick(Joysticks()[static_cast<size_t>(id)], id);
  }
  SetMouseEmulation(false);
}

bool EmulatedCursorPosition(int32_t& x, int32_t& y) {
  for (tJoystick& joystick : Joysticks()) {
    if (!joystick.Created || joystick.Emulation != JoystickEmulationMouse) {
      continue;
    }
    platform::JoystickState raw;
    if (!platform::ReadJoystick(joystick.ID, raw)) {
      DebugPrint("GetCursorPosition() Cannot get cursor position (Joystick=%i, Error=%X\n",
                 joystick.ID, kReadFailure);
      DebugPrint("GetCursorPosition() Trying to switch off mouse emulation (Joystick=%i)...",
                 joystick.ID);
      joystick.Emulation = JoystickEmulationNone;
      ApplyMouseEmulation();
      DebugPrint("GetCursorPosition() Mouse emulation switched off\n");
      return false;
    }
    const platform::JoystickCapabilities& caps = joystick.Capabilities;
    x = Steps(raw.x, caps.minimumX, joystick.ScreenStepX);
    y = Steps(raw.y, caps.minimumY, joystick.ScreenStepY);
    return true;
  }
  return false;
}
