#pragma once

#include <cstdint>

namespace platform {

// ---- Window messages ----

// The kinds of message the game thread receives. Device events (keys, mouse,
// activation, closing) are turned into these by the back end; the run-time
// system posts the rest itself.
enum class MessageKind : uint32_t {
  None = 0,
  Activate,         // value: 1 the application became active, 0 it lost activation
  KeyDown,          // value: virtual-key code
  KeyUp,            // value: virtual-key code
  SystemKeyDown,    // value: virtual-key code (a key pressed with Alt, or F10)
  SystemKeyUp,      // value: virtual-key code
  Character,        // value: character code (below 256)
  MouseMove,        // x, y: client position; buttons: button-state bits
  LeftButtonDown,   // x, y, buttons as for MouseMove
  LeftButtonUp,
  RightButtonDown,
  RightButtonUp,
  MiddleButtonDown,
  MiddleButtonUp,
  SetCursor,        // the cursor moved over the window; value: 1 above the client area
  Move,             // x, y: the window's outer left and top in screen pixels
  SystemClose,      // the user asked the window to close (close box, Alt+F4)
  Close,            // the window is asked to close
  Destroy,          // the window is being destroyed
  Quit,             // ends the message loop; value: exit code
  User,             // first kind free for the run-time system's own use
};

// Button-state bits carried by mouse messages.
constexpr uint32_t kButtonLeft = 1;
constexpr uint32_t kButtonRight = 2;
constexpr uint32_t kButtonShift = 4;
constexpr uint32_t kButtonControl = 8;
constexpr uint32_t kButtonMiddle = 16;

struct Message {
  MessageKind kind = MessageKind::None;
  uint32_t value = 0;    // key code, character, activation state or exit code
  int32_t x = 0;         // position (mouse messages, Move)
  int32_t y = 0;
  uint32_t buttons = 0;  // button-state bits (mouse messages)
  // Messages from kFirstUserMessage up, which other libraries post to the
  // window: their two parameters, passed on untouched.
  uintptr_t wordParameter = 0;
  intptr_t longParameter = 0;
};

// Message numbers from here up belong to other libraries (their kind is the
// number); the run-time system's own kinds stay below.
constexpr uint32_t kFirstUserMessage = 1024;

}  // namespace platform
