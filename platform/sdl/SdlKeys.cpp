#include "platform/sdl/SdlKeys.h"

namespace platform::sdl {
namespace {

struct KeyMapping {
  SDL_Scancode scancode;
  uint32_t virtualKey;
};

// Keys other than letters, digits and function keys, which follow from
// their ranges below.
constexpr KeyMapping kKeyTable[] = {
    {SDL_SCANCODE_BACKSPACE, 8},   {SDL_SCANCODE_TAB, 9},        {SDL_SCANCODE_CLEAR, 12},
    {SDL_SCANCODE_RETURN, 13},     {SDL_SCANCODE_LSHIFT, 16},    {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},      {SDL_SCANCODE_RCTRL, 17},     {SDL_SCANCODE_LALT, 18},
    {SDL_SCANCODE_RALT, 18},       {SDL_SCANCODE_PAUSE, 19},     {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},     {SDL_SCANCODE_SPACE, 32},     {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_PAGEDOWN, 34},   {SDL_SCANCODE_END, 35},       {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},       {SDL_SCANCODE_UP, 38},        {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40},       {SDL_SCANCODE_SELECT, 41},    {SDL_SCANCODE_EXECUTE, 43},
    {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_INSERT, 45},   {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_HELP, 47},       {SDL_SCANCODE_LGUI, 91},      {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_APPLICATION, 93}, {SDL_SCANCODE_KP_0, 96},     {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_PLUS, 107},   {SDL_SCANCODE_KP_ENTER, 108}, {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110}, {SDL_SCANCODE_KP_DIVIDE, 111}, {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145}, {SDL_SCANCODE_GRAVE, 192},
};

}  // namespace

uint32_t VirtualKeyFromScancode(SDL_Scancode scancode) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return 'A' + static_cast<uint32_t>(scancode - SDL_SCANCODE_A);
  }
  // SDL orders the digit row 1 to 9, then 0.
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
    return '1' + static_cast<uint32_t>(scancode - SDL_SCANCODE_1);
  }
  if (scancode == SDL_SCANCODE_0) {
    return '0';
  }
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
    return 97 + static_cast<uint32_t>(scancode - SDL_SCANCODE_KP_1);
  }
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
    return 112 + static_cast<uint32_t>(scancode - SDL_SCANCODE_F1);
  }
  if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
    return 124 + static_cast<uint32_t>(scancode - SDL_SCANCODE_F13);
  }
  for (const KeyMapping& mapping : kKeyTable) {
    if (mapping.scancode == scancode) {
      return mapping.virtualKey;
    }
  }
  return 0;
}

}  // namespace platform::sdl
