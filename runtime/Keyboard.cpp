#include "runtime/Keyboard.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Keyboard.h"

namespace {

constexpr int32_t kTab = 9;
constexpr int32_t kShift = 16;
constexpr int32_t kControl = 17;
constexpr int32_t kAlt = 18;
constexpr int32_t kLeftFlag = 91;
constexpr int32_t kRightFlag = 92;
constexpr int32_t kF1 = 112;
constexpr int32_t kF4 = 115;
constexpr int32_t kF10 = 121;

bool controlKeysMapped = true;

struct NamedKey {
  int32_t key;
  const char* name;
};

// Keys whose names do not follow from a range.
constexpr NamedKey kKeyNames[] = {
    {1, "left mouse button"},
    {2, "right mouse button"},
    {3, "Break"},
    {4, "middle mouse button"},
    {5, "Flag"},
    {6, "Alt+F4"},
    {7, "F10"},
    {8, "Backspace"},
    {9, "Tab"},
    {12, "Clear"},
    {13, "Enter"},
    {16, "Shift"},
    {17, "Control"},
    {18, "Alt"},
    {19, "Pause"},
    {20, "CapsLock"},
    {27, "Esc"},
    {32, "Spacebar"},
    {33, "PageUp"},
    {34, "PageDown"},
    {35, "End"},
    {36, "Home"},
    {37, "left arrow"},
    {38, "up arrow"},
    {39, "right arrow"},
    {40, "down arrow"},
    {41, "Select"},
    {42, "Print"},
    {43, "Execute"},
    {44, "PrintScreen"},
    {45, "Insert"},
    {46, "Delete"},
    {47, "Help"},
    {91, "left flag"},
    {92, "right flag"},
    {93, "PopUp"},
    {106, "numeric keypad *"},
    {107, "numeric keypad +"},
    {108, "numeric keypad Enter"},
    {109, "numeric keypad -"},
    {110, "numeric keypad ."},
    {111, "numeric keypad /"},
    {144, "NumLock"},
    {145, "ScrollLock"},
    {192, "`"},
    {384, "joystick A left"},
    {385, "joystick A front"},
    {386, "joystick A right"},
    {387, "joystick A back"},
    {640, "joystick B left"},
    {641, "joystick B front"},
    {642, "joystick B right"},
    {643, "joystick B back"},
};

// Names of the keys in ranges: digits, letters, the keypad digits, the
// function keys and the joystick triggers, made once.
struct RangeNames {
  char digits[10][2];
  char letters[26][2];
  char keypad[10][32];
  char functions[24][16];
  char triggers[2][4][32];

  RangeNames() : digits{}, letters{}, keypad{}, functions{}, triggers{} {
    for (int32_t index = 0; index < 10; ++index) {
      digits[index][0] = static_cast<char>('0' + index);
      std::snprintf(keypad[index], sizeof keypad[index], "numeric keypad %i", index);
    }
    for (int32_t index = 0; index < 26; ++index) {
      letters[index][0] = static_cast<char>('A' + index);
    }
    for (int32_t index = 0; index < 24; ++index) {
      std::snprintf(functions[index], sizeof functions[index], "F%i", index + 1);
    }
    for (int32_t stick = 0; stick < 2; ++stick) {
      for (int32_t trigger = 0; trigger < 4; ++trigger) {
        std::snprintf(triggers[stick][trigger], sizeof triggers[stick][trigger],
                      "joystick %c trigger %i", static_cast<char>('A' + stick), trigger + 1);
      }
    }
  }
};

const RangeNames& Ranges() {
  static const RangeNames names;
  return names;
}

bool Held(int32_t key) {
  return platform::GetKeyState(static_cast<uint32_t>(key)) < 0;
}

bool FlagKeyHeld() {
  return Held(kLeftFlag) || Held(kRightFlag);
}

}  // namespace

const char* KeyName(int32_t key) {
  const RangeNames& ranges = Ranges();
  if (key >= '0' && key <= '9')
    return ranges.digits[key - '0'];
  if (key >= 'A' && key <= 'Z')
    return ranges.letters[key - 'A'];
  if (key >= 96 && key <= 105)
    return ranges.keypad[key - 96];
  if (key >= 112 && key <= 135)
    return ranges.functions[key - 112];
  if (key >= 256 && key <= 259)
    return ranges.triggers[0][key - 256];
  if (key >= 512 && key <= 515)
    return ranges.triggers[1][key - 512];
  for (const NamedKey& named : kKeyNames) {
    if (named.key == key) {
      return named.name;
    }
  }
  return nullptr;
}

uint32_t KeyModifiers(int32_t key) {
  uint32_t flags = 0;
  if (key != kShift && Held(kShift))
    flags |= InputShift;
  if (key != kControl && Held(kControl))
    flags |= InputControl;
  if (key != kAlt && Held(kAlt))
    flags |= InputAlt;
  if (key != kLeftFlag && key != kRightFlag && FlagKeyHeld())
    flags |= InputFlag;
  return flags;
}

bool KeyToString(int32_t key, uint32_t flags, tCharStr& text) {
  const char* name = KeyName(key);
  if (name == nullptr) {
    return false;
  }
  static constexpr NamedKey kModifierNames[] = {
      {InputShift, "Shift"}, {InputControl, "Control"}, {InputAlt, "Alt"}, {InputFlag, "Flag"}};
  std::string built;
  for (const NamedKey& modifier : kModifierNames) {
    if ((flags & static_cast<uint32_t>(modifier.key)) != 0) {
      built += modifier.name;
      built += '+';
    }
  }
  built += name;
  SetCharStr(text, built.c_str());
  return true;
}

char StringToAccelerator(const char* label, tCharStr& text, int32_t& index) {
  index = -1;
  if (label == nullptr) {
    SetCharStr(text, "");
    return 0;
  }
  std::string copy;
  char accelerator = 0;
  for (const char* at = label; *at != '\0'; ++at) {
    if (*at != '&') {
      copy += *at;
      continue;
    }
    // "&&" shows one "&" and marks nothing; a single "&" marks the
    // character after it.
    if (at[1] == '&') {
      copy += '&';
      ++at;
      continue;
    }
    const unsigned char marked = static_cast<unsigned char>(at[1]);
    if (accelerator == 0 && marked < 128 && std::isalnum(marked)) {
      accelerator = static_cast<char>(std::toupper(marked));
      index = static_cast<int32_t>(copy.size());
    }
  }
  SetCharStr(text, copy.c_str());
  return accelerator;
}

bool MapControlKeys(int32_t key, uint32_t flags, int32_t& newKey, uint32_t& newFlags) {
  newKey = key;
  newFlags = flags;
  if (!controlKeysMapped) {
    return false;
  }
  const uint32_t modifiers = flags & (InputShift | InputControl | InputAlt | InputFlag);
  if (key == kTab) {
    newFlags = 0;
    return true;
  }
  if (key == kLeftFlag || key == kRightFlag) {
    newKey = KeyCodeFlag;
    newFlags = InputFlag;
    return true;
  }
  if (key == kF1) {
    newKey = KeyCodeHelp;
    return true;
  }
  if (key == kF4 && modifiers == InputAlt) {
    newKey = KeyCodeAltF4;
    return true;
  }
  if (key == kF10 && (modifiers == 0 || modifiers == InputAlt)) {
    newKey = modifiers == 0 ? KeyCodeF10 : KeyCodePopUp;
    return true;
  }
  return false;
}

void EnableControlKeys() {
  controlKeysMapped = true;
}
void DisableControlKeys() {
  controlKeysMapped = false;
}

bool KeyPressed(int32_t key) {
  return key >= 0 && Held(key);
}

bool KeyToggled(int32_t key) {
  return key >= 0 && (platform::GetKeyState(static_cast<uint32_t>(key)) & 1) != 0;
}
