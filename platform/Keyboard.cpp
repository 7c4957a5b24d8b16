#include "platform/Keyboard.h"

#include <array>

namespace platform {
namespace {

constexpr uint32_t kKeyCount = 256;
constexpr int16_t kHeld = static_cast<int16_t>(0x8000);
constexpr int16_t kToggled = 1;

// The mouse buttons have key codes of their own, so the game reads a held
// button as it reads a held key.
constexpr uint32_t kLeftButtonKey = 1;
constexpr uint32_t kRightButtonKey = 2;
constexpr uint32_t kMiddleButtonKey = 4;

std::array<int16_t, kKeyCount>& KeyStates() {
  static std::array<int16_t, kKeyCount> states{};
  return states;
}

KeyboardHook& CurrentHook() {
  static KeyboardHook hook = nullptr;
  return hook;
}

void PressKey(uint32_t virtualKey) {
  int16_t& state = KeyStates()[virtualKey];
  // Auto-repeat sends further presses while the key is held; only the first
  // one flips the toggle.
  if (state >= 0) {
    state = static_cast<int16_t>((state ^ kToggled) | kHeld);
  }
}

void ReleaseKey(uint32_t virtualKey) {
  KeyStates()[virtualKey] &= kToggled;
}

void ReleaseAllKeys() {
  for (int16_t& state : KeyStates()) {
    state &= kToggled;
  }
}

uint32_t ButtonKey(MessageKind kind) {
  switch (kind) {
    case MessageKind::LeftButtonDown:
    case MessageKind::LeftButtonUp:
      return kLeftButtonKey;
    case MessageKind::RightButtonDown:
    case MessageKind::RightButtonUp:
      return kRightButtonKey;
    default:
      return kMiddleButtonKey;
  }
}

}  // namespace

int16_t GetKeyState(uint32_t virtualKey) {
  return virtualKey < kKeyCount ? KeyStates()[virtualKey] : 0;
}

void NoteDeviceMessage(const Message& message) {
  bool hooked = true;
  switch (message.kind) {
    case MessageKind::KeyDown:
    case MessageKind::SystemKeyDown:
      if (message.value < kKeyCount) {
        PressKey(message.value);
      }
      break;
    case MessageKind::KeyUp:
    case MessageKind::SystemKeyUp:
      if (message.value < kKeyCount) {
        ReleaseKey(message.value);
      }
      break;
    case MessageKind::LeftButtonDown:
    case MessageKind::RightButtonDown:
    case MessageKind::MiddleButtonDown:
      hooked = false;
      PressKey(ButtonKey(message.kind));
      break;
    case MessageKind::LeftButtonUp:
    case MessageKind::RightButtonUp:
    case MessageKind::MiddleButtonUp:
      hooked = false;
      ReleaseKey(ButtonKey(message.kind));
      break;
    case MessageKind::Activate:
      hooked = message.value == 0;
      if (hooked) {
        ReleaseAllKeys();
      }
      break;
    default:
      hooked = false;
      break;
  }
  if (hooked && CurrentHook() != nullptr) {
    CurrentHook()(message);
  }
}

void ResetKeyStates() {
  KeyStates().fill(0);
}

bool SetKeyboardHook(KeyboardHook hook) {
  if (CurrentHook() != nullptr) {
    return false;
  }
  CurrentHook() = hook;
  return true;
}

bool ReleaseKeyboardHook() {
  if (CurrentHook() == nullptr) {
    return false;
  }
  CurrentHook() = nullptr;
  return true;
}

}  // namespace platform
