#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "base/TextUtils.h"

// Keys: their state, their names for display, the shortcuts that the game
// maps to codes of their own, and the accelerators of labels.

// Modifier flags of input events.
constexpr uint32_t InputShift = 4;
constexpr uint32_t InputControl = 8;
constexpr uint32_t InputAlt = 32;
constexpr uint32_t InputFlag = 64;  // a Windows key held

// Codes that MapControlKeys makes of shortcuts.
constexpr int32_t KeyCodeFlag = 5;  // a Windows key
constexpr int32_t KeyCodeAltF4 = 6;
constexpr int32_t KeyCodeF10 = 7;
constexpr int32_t KeyCodeHelp = 47;
constexpr int32_t KeyCodePopUp = 93;

// Builds "Shift+", "Control+", "Alt+", "Flag+" (for the flags given, in this
// order) and the key's name into a new text; false, leaving the text alone,
// for a code without a name.
LUMOGAME_API bool KeyToString(int32_t key, uint32_t flags, tCharStr& text);
// Copies the label without its "&" markers into text; answers the
// accelerator (the first letter or digit after a single "&", upper-cased)
// and its position in the copy in index, or 0 (index -1) without one.
LUMOGAME_API char StringToAccelerator(const char* label, tCharStr& text, int32_t& index);
// Maps Tab, the Windows keys, F1, Alt+F4 and F10 to the game's codes; false
// (key and flags copied unchanged) for any other key or while the mapping
// is off.
LUMOGAME_API bool MapControlKeys(int32_t key, uint32_t flags, int32_t& newKey, uint32_t& newFlags);
LUMOGAME_API void EnableControlKeys();
LUMOGAME_API void DisableControlKeys();
// True while the key is held.
LUMOGAME_API bool KeyPressed(int32_t key);
// The key's toggle state (CapsLock, NumLock, ScrollLock and the like).
LUMOGAME_API bool KeyToggled(int32_t key);

// ---- Inside the run-time system ----

// The name of a key, or null.
const char* KeyName(int32_t key);
// Shift, Control, Alt and the Windows flag as the key state reads them now;
// a modifier key does not flag itself.
uint32_t KeyModifiers(int32_t key);
