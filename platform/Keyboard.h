#pragma once

#include <cstdint>

#include "platform/Message.h"

namespace platform {

// ---- Key state ----
// The layer keeps the state of every key itself, fed by the key messages
// the back end delivers, so the game reads the same state on every back end.

// The state of a virtual key: negative while the key is held; bit 0 flips at
// every press (the toggle state of CapsLock, NumLock and the like). 0 for
// codes of 256 and above.
int16_t GetKeyState(uint32_t virtualKey);
// Back ends call this for every message they deliver: key and mouse-button
// messages move the key state (the left, right and middle buttons are keys
// 1, 2 and 4); key messages and a loss of activation reach the keyboard hook.
// A loss of activation lets go of every held key (their releases go to the
// window that took the focus), keeping the toggles.
void NoteDeviceMessage(const Message& message);
// Forgets every key's state (a new back end starts with all keys up).
void ResetKeyStates();

// ---- Keyboard hook ----
// Sees every key message and every loss of activation before the game's
// queue does, as the system's shortcut watchers would. One hook at a time.

using KeyboardHook = void (*)(const Message& message);
// False when another hook is set already.
bool SetKeyboardHook(KeyboardHook hook);
// False when no hook was set.
bool ReleaseKeyboardHook();

}  // namespace platform
