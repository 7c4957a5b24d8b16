#include <algorithm>

#include "framework/LumoEditBox.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoGraphicNode.h"

// Keys, typed characters, the mouse and scrolling of the edit box.

namespace {

constexpr uint8_t kBackspaceCode = 8;
constexpr uint8_t kTabCode = 9;
constexpr uint8_t kNewLineCode = 10;
constexpr uint8_t kLineFeedCode = 11;
constexpr uint8_t kEnterCode = 13;
constexpr uint8_t kBlankCode = 32;

int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

// ---- Focus and scrolling ----

void LumoEditBox::DoEnter(LumoControl*) { ResetCaretTimer(BlinkPeriod); }

void LumoEditBox::DoLeave(LumoControl*) { RedrawRequested = true; }

void LumoEditBox::DoHorizontalScroll(int32_t position) {
  LumoPage::DoHorizontalScroll(position);
  RedrawRequested = true;
}

void LumoEditBox::DoVerticalScroll(int32_t position) {
  LumoPage::DoVerticalScroll(position);
  RedrawRequested = true;
}

// With a bar, the axis goes to the page (a multiple of the graphic's size)
// that holds the caret, unless the caret is in view already. Without one,
// the offset follows the caret graphic past the edge, and goes back to 0
// once the caret is within the first page.
bool LumoEditBox::DoScrollInView(int32_t& horizontal, int32_t& vertical) {
  const int64_t width = GraphicWidth();
  const int64_t height = GraphicHeight();
  const int64_t left = CaretLeft;
  const int64_t top = CaretTop;
  if (width <= 0) {
    horizontal = -1;
  } else if (horizontal >= 0) {
    const auto code = static_cast<uint8_t>(Text[static_cast<size_t>(std::clamp(CaretIndex, 0, kMaxLength))]);
    LumoGraphicNode* glyph = Font != nullptr ? Font->Glyph(code) : nullptr;
    const int64_t glyphWidth = glyph != nullptr ? glyph->Width : 0;
    const int64_t target = (glyphWidth + left - 1) / width * width;
    horizontal = (left >= horizontal && left < horizontal + width) ? -1 : Clamp32(target);
  } else if (CaretGraphic != nullptr) {
    const int64_t caret = CaretGraphic->Width;
    int64_t result = -1;
    if (left >= width + HorizontalOffset - caret) {
      result = caret + left - width;
    } else if (left < width && HorizontalOffset != 0) {
      result = 0;
    }
    horizontal = result == -1 ? -1 : Clamp32(std::max<int64_t>(result, 0));
  }
  const int64_t lineHeight = Font != nullptr ? Font->LineHeight : 0;
  if (height <= 0) {
    vertical = -1;
  } else if (vertical >= 0) {
    const int64_t target = (lineHeight + top - 1) / height * height;
    vertical = (top >= vertical && top + lineHeight < height + vertical) ? -1 : Clamp32(target);
  } else if (CaretGraphic != nullptr) {
    const int64_t caret = CaretGraphic->Height;
    int64_t result = -1;
    if (top >= height + VerticalOffset - caret) {
      result = caret - height + top;
    } else if (top < height && VerticalOffset != 0) {
      result = 0;
    }
    vertical = result == -1 ? -1 : Clamp32(std::max<int64_t>(result, 0));
  }
  return horizontal >= 0 || vertical >= 0;
}

// ---- Keys ----

void LumoEditBox::MoveUp() {
  const auto at = [&](int32_t index) -> const tPosition& { return Positions[static_cast<size_t>(index)]; };
  if (ColumnMemory == -1) {
    ColumnMemory = at(CaretIndex).x;
  }
  const int32_t currentY = at(CaretIndex).y;
  int32_t index = CaretIndex - 1;
  while (index >= 0 && at(index).y >= currentY) {
    --index;
  }
  if (index < 0) {
    return;
  }
  const int32_t lineY = at(index).y;
  for (; index >= 0 && at(index).y == lineY; --index) {
    SetCaretIndex(index);
    if (at(index).x <= ColumnMemory) {
      return;
    }
  }
}

void LumoEditBox::MoveDown() {
  const auto at = [&](int32_t index) -> const tPosition& { return Positions[static_cast<size_t>(index)]; };
  if (ColumnMemory == -1) {
    ColumnMemory = at(CaretIndex).x;
  }
  const int32_t length = TextLength();
  const int32_t currentY = at(CaretIndex).y;
  int32_t index = CaretIndex + 1;
  while (index <= length && at(index).y <= currentY) {
    ++index;
  }
  if (index > length) {
    return;
  }
  const int32_t lineY = at(index).y;
  for (; index <= length && at(index).y == lineY; ++index) {
    SetCaretIndex(index);
    if (at(index).x >= ColumnMemory) {
      return;
    }
  }
}

bool LumoEditBox::EditKey(int32_t code, uint32_t modifiers, bool& handled) {
  const int32_t length = TextLength();
  const auto y = [&](int32_t index) { return Positions[static_cast<size_t>(index)].y; };
  switch (code) {
    case kTabKey:
      if (!MultiLine) {
        return false;
      }
      if (TypingEnabled) {
        InsertCharacter(kTabCode);
      }
      break;
    case kEnterKey:
      if (!((modifiers == 0 && !Wrapped) || modifiers == kShiftBit)) {
        return false;
      }
      EnterAccepted = true;
      Accept();
      Execute();
      break;
    case kEscapeKey:
      Reject();
      break;
    case kPageUpKey:
      SetCaretIndex(0);
      break;
    case kPageDownKey:
      SetCaretIndex(length);
      break;
    case kEndKey:
      while (CaretIndex < length && y(CaretIndex + 1) == y(CaretIndex)) {
        SetCaretIndex(CaretIndex + 1);
      }
      break;
    case kHomeKey:
      while (CaretIndex > 0 && y(CaretIndex - 1) == y(CaretIndex)) {
        SetCaretIndex(CaretIndex - 1);
      }
      break;
    case kLeftKey:
      if (CaretIndex > 0) {
        SetCaretIndex(CaretIndex - 1);
      }
      break;
    case kUpKey:
      MoveUp();
      break;
    case kRightKey:
      if (CaretIndex < length) {
        SetCaretIndex(CaretIndex + 1);
      }
      break;
    case kDownKey:
      MoveDown();
      break;
    case kDeleteKey:
      DeleteAtCaret();
      break;
    default:
      return false;
  }
  handled = true;
  return true;
}

// A plain Tab in a focused multi-line box is typed, so it does not reach
// the control's focus walk; every other key does first.
bool LumoEditBox::DoKeyDown(tInputEvent* event) {
  if (event == nullptr) {
    return false;
  }
  const int32_t code = event->Code;
  const uint32_t modifiers = static_cast<uint32_t>(event->Flags) & kModifierMask;
  bool handled = false;
  EnterAccepted = false;
  if (!(code == kTabKey && modifiers == 0 && Focused && MultiLine)) {
    handled = LumoPage::DoKeyDown(event);
  }
  if (!Focused || !KeysEnabled) {
    return handled;
  }
  if (modifiers != 0 && code != kEnterKey) {
    return handled;
  }
  if (code != kUpKey && code != kDownKey) {
    ColumnMemory = -1;
  }
  if (code < kTabKey || code > kDeleteKey) {
    return handled;
  }
  EditKey(code, modifiers, handled);
  return handled;
}

// The device sends Enter's character after its key: once the key accepted
// the box, that character types no line break into the accepted text.
bool LumoEditBox::DoKeyPress(tInputEvent* event) {
  if (event == nullptr || !Focused || !TypingEnabled) {
    return false;
  }
  ColumnMemory = -1;
  const auto code = static_cast<uint8_t>(event->Code);
  const bool enterAccepted = EnterAccepted;
  EnterAccepted = false;
  switch (code) {
    case 0:
    case kTabCode:
    case kLineFeedCode:
      break;
    case kBackspaceCode:
      Backspace();
      break;
    case kEnterCode:
      if (Wrapped && !enterAccepted) {
        InsertCharacter(kNewLineCode);
      }
      break;
    case kBlankCode:
      if (AllowSpaces) {
        InsertCharacter(kBlankCode);
      }
      break;
    default:
      InsertCharacter(code);
      break;
  }
  return true;
}

// ---- Mouse ----

bool LumoEditBox::DoMouseClick(tInputEvent* event) {
  const bool handled = LumoPage::DoMouseClick(event);
  if (!Focused || !Input || !MouseInput || !MouseOver) {
    return handled;
  }
  Accept();
  return true;
}

bool LumoEditBox::DoMouseDoubleClick(tInputEvent* event) {
  const bool handled = LumoPage::DoMouseDoubleClick(event);
  if (!Focused || !Input || !MouseInput || !MouseOver) {
    return handled;
  }
  Execute();
  return true;
}

// The press focuses the box first (the control's press), then the caret
// goes to the nearest position of the pressed line.
bool LumoEditBox::DoMouseDown(tInputEvent* event) {
  const bool handled = LumoPage::DoMouseDown(event);
  if (event == nullptr || !Focused || !Input || !MouseInput || !MouseOver) {
    return handled;
  }
  IndexAtPoint(Clamp32(int64_t{ScreenToCellX(event->X)} - Left - HorizontalOffset),
               Clamp32(int64_t{ScreenToCellY(event->Y)} - Top - VerticalOffset));
  return true;
}
