#include "framework/LumoEditBox.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"

namespace {

constexpr uint8_t kNewLine = 10;

int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// The palette entry that is the default background of a box defined from a
// font.
constexpr int kBackgroundEntry = 12;

}  // namespace

LumoEditBox::LumoEditBox() {
  SetInput(true);
  SetFocusable(true);
  if (Engine != nullptr) {
    SetMargin(Engine->ControlMargin());
  }
}

const char* LumoEditBox::GetClassName() const { return "LumoEditBox"; }

void LumoEditBox::ReportEditFault(const char* operation, const char* hook) const {
  DebugPrint("LumoEditBox::%s() Unhandled exception during %s() (Control=%p:%s)\n", operation, hook,
             DebugAddress(this), DebugClassName(this));
}

int32_t LumoEditBox::TextLength() const {
  return static_cast<int32_t>(strnlen(Text.data(), static_cast<size_t>(kMaxLength)));
}

// ---- Life ----

void LumoEditBox::DropCaretGraphic() {
  LumoGraphicNode* caret = CaretGraphic;
  if (caret == nullptr) {
    return;
  }
  SetCaretGraphic(nullptr);
  // A named caret belongs to the graphic list; the box's own is nameless.
  if (caret->Name == nullptr) {
    DestroyObject(caret);
  }
}

void LumoEditBox::DoClear() {
  DropCaretGraphic();
  RedrawRequested = false;
  LumoPage::DoClear();
}

void LumoEditBox::DoAbortReferenceTo(LumoObject* other) {
  LumoPage::DoAbortReferenceTo(other);
  if (other != nullptr && other == CaretGraphic) {
    CaretGraphic = nullptr;
  }
}

// The caret is a graphic of the box's own (unshared), since SetCaretColour
// fills it: a shared one would recolour every box's caret.
void LumoEditBox::DoPopulate() {
  LumoPage::DoPopulate();
  LumoCell* cell = Cell();
  auto* level = cell != nullptr ? dynamic_cast<LumoLevel*>(cell->parent) : nullptr;
  LumoGraphicList* graphics = level != nullptr ? level->GraphicList.get() : nullptr;
  if (graphics != nullptr && Font != nullptr) {
    DropCaretGraphic();
    SetCaretGraphic(graphics->GetGeneratedGraphic(Font->Spacing, Font->LineHeight, CaretColour, false));
  }
  const int64_t lineHeight = Font != nullptr ? Font->LineHeight : 0;
  SetAllowSpaces(true);
  SetMultiLine(2 * lineHeight <= GraphicHeight());
  SetWrapped(MultiLine);
  SetKeysEnabled(true);
  SetTypingEnabled(true);
  SetMaxLength(0);
  Enable();
}

// ---- Plain setters ----

LumoGraphicNode* LumoEditBox::SetCaretGraphic(LumoGraphicNode* graphic) {
  Keep(CaretGraphic, graphic);
  return CaretGraphic;
}

int32_t LumoEditBox::SetCaretLeft(int32_t x) { return CaretLeft = x; }
int32_t LumoEditBox::SetCaretTop(int32_t y) { return CaretTop = y; }
bool LumoEditBox::SetEditOption(bool on) { return RecordPositions = on; }
bool LumoEditBox::SetAllowSpaces(bool on) { return AllowSpaces = on; }
bool LumoEditBox::SetMultiLine(bool on) { return MultiLine = on; }
bool LumoEditBox::SetWrapped(bool on) { return Wrapped = on; }
bool LumoEditBox::SetKeysEnabled(bool on) { return KeysEnabled = on; }
bool LumoEditBox::SetTypingEnabled(bool on) { return TypingEnabled = on; }

int32_t LumoEditBox::SetMaxLength(int32_t length) {
  MaxLength = (length >= 0 && length <= kTextSize) ? length : 0;
  return MaxLength;
}

sRGB LumoEditBox::SetCaretColour(const sRGB& colour) {
  if (CaretGraphic != nullptr) {
    CaretGraphic->Fill(colour);
  }
  CaretColour = colour;
  return CaretColour;
}

void LumoEditBox::ResetCaretTimer(int32_t period) {
  BlinkPhase = false;
  PreviousPhase = true;
  BlinkPeriod = std::max(period, 1);
  BlinkCountdown = BlinkPeriod;
}

void LumoEditBox::DoUpdate() {}
void LumoEditBox::OnUpdate() {}

// ---- The caret ----

// Only the text's positions are valid: a caret past the end would place
// itself from stale positions and let DeleteAtCaret work behind the NUL.
int32_t LumoEditBox::SetCaretIndex(int32_t index) {
  index = std::clamp(index, 0, TextLength());
  if (index != CaretIndex) {
    Change();
  }
  CaretIndex = index;
  return CaretIndex;
}

void LumoEditBox::DoSynchronize() {
  SetCaretIndex(TextLength());
  Change();
}

void LumoEditBox::PlaceCaret() {
  const tPosition& position = Positions[static_cast<size_t>(std::clamp(CaretIndex, 0, kMaxLength))];
  SetCaretLeft(position.x);
  SetCaretTop(position.y);
}

void LumoEditBox::IndexAtPoint(int32_t x, int32_t y) {
  if (Font == nullptr || Font->LineHeight <= 0) {
    return;
  }
  const int32_t lineHeight = Font->LineHeight;
  const int32_t lineTop = Clamp32(int64_t{y / lineHeight} * lineHeight);
  const int32_t length = TextLength();
  bool onLine = false;
  for (int32_t index = 0; index <= length; ++index) {
    const tPosition& position = Positions[static_cast<size_t>(index)];
    if (position.y != lineTop) {
      if (onLine) {
        return;
      }
      continue;
    }
    onLine = true;
    SetCaretIndex(index);
    if (position.x >= x) {
      return;
    }
  }
}

// ---- Room ----

bool LumoEditBox::FitsInLines(int32_t& lastLineTop) {
  if (Font == nullptr || Font->LineHeight <= 0) {
    lastLineTop = 0;
    return TextEndY <= lastLineTop;
  }
  const int64_t lineHeight = Font->LineHeight;
  lastLineTop = Clamp32((TextHeight / lineHeight) * lineHeight - lineHeight);
  return TextEndY <= lastLineTop;
}

bool LumoEditBox::IsFull() {
  if (MaxLength > 0) {
    return CaretIndex >= MaxLength;
  }
  int32_t lastLineTop = 0;
  if (!FitsInLines(lastLineTop)) {
    return true;
  }
  if (TextEndY != lastLineTop) {
    return false;
  }
  if (Font == nullptr) {
    return true;
  }
  const int64_t tabs = MultiLine ? (int64_t{Font->SpaceWidth} + Font->Spacing) * TabWidth : 0;
  const int64_t reserve = std::max<int64_t>(Font->FixedWidth, tabs);
  return TextEndX >= int64_t{TextWidth} - reserve;
}

// ---- Editing ----

// The last byte of the text is never used, so a text of 4,095 characters
// takes no more (it would push its last character out).
uint8_t LumoEditBox::InsertCharacter(uint8_t code) {
  if (!HasGlyph(code) || IsFull()) {
    return 0;
  }
  const int32_t index = CaretIndex;
  const int32_t length = TextLength();
  if (index < 0 || index > length || kMaxLength - index < 1 || length >= kMaxLength) {
    return 0;
  }
  char* text = Text.data();
  std::memmove(text + index + 1, text + index, static_cast<size_t>(length - index) + 1);
  Text[kMaxLength] = '\0';
  Text[static_cast<size_t>(index)] = static_cast<char>(code);
  Change();
  SetCaretIndex(index + 1);
  return code;
}

bool LumoEditBox::DeleteAtCaret() {
  const int32_t index = CaretIndex;
  const int32_t length = TextLength();
  if (index < 0 || index >= length || index >= kMaxLength) {
    return false;
  }
  char* text = Text.data();
  std::memmove(text + index, text + index + 1, static_cast<size_t>(length - index));
  Change();
  return true;
}

bool LumoEditBox::Backspace() {
  if (CaretIndex < 1) {
    return false;
  }
  SetCaretIndex(CaretIndex - 1);
  if (DeleteAtCaret()) {
    return true;
  }
  SetCaretIndex(CaretIndex + 1);
  return false;
}

// ---- Layout ----

void LumoEditBox::ClearPage() {
  Text[0] = '\0';
  SetCaretIndex(0);
  Change();
}

void LumoEditBox::OnCharacterPlaced(int32_t index, int32_t x, int32_t y) {
  if (RecordPositions && index >= 0 && index < kTextSize) {
    Positions[static_cast<size_t>(index)] = tPosition{x, y};
  }
  if (!WordWrap && Font != nullptr) {
    const int64_t right = int64_t{x} + Font->Spacing;
    if (right > TextWidth) {
      SetTextWidth(Clamp32(right), true);
    }
  }
}

void LumoEditBox::Redraw() {
  // The text always ends within its buffer, whatever was written into it.
  Text[kMaxLength] = '\0';
  LumoPage::ClearPage();
  SetEditOption(true);
  if (Wrapped) {
    WrapText(Text.data());
  } else {
    PrintText(Text.data());
  }
  SetEditOption(false);
  TextEndX = CaretX;
  TextEndY = CaretY;
}

// Going back from the last character, every character recorded below the
// last visible line goes, and then the one before (it may have wrapped
// there itself). In a box lower than a line everything goes, and no more.
void LumoEditBox::TrimOverflow() {
  int32_t lastLineTop = 0;
  if (FitsInLines(lastLineTop)) {
    return;
  }
  int32_t end = TextLength();
  while (end > 0 && Positions[static_cast<size_t>(end - 1)].y > lastLineTop) {
    --end;
  }
  if (end > 0) {
    --end;
  }
  Text[static_cast<size_t>(end)] = '\0';
  if (CaretIndex > end) {
    SetCaretIndex(end);
  }
  Redraw();
}

// ---- The frame ----

// A redraw asked for during this frame's own scrolling (the text area grown
// by the redraw, the caret brought into view) is kept for the next frame,
// so a box that is not focused still shows its text at the new offset.
void LumoEditBox::DoSelectFrame() {
  if (--BlinkCountdown <= 0) {
    BlinkPhase = !BlinkPhase;
    BlinkCountdown = BlinkPeriod;
  }
  if (Changed || RedrawRequested || (Focused && BlinkPhase != PreviousPhase)) {
    RedrawRequested = false;
    Redraw();
    TrimOverflow();
    Update();
    PlaceCaret();
    if (!BlinkPhase && CaretGraphic != nullptr && Focused && Graphic != nullptr) {
      Graphic->Copy(CaretGraphic, Clamp32(int64_t{CaretLeft} + HorizontalOffset),
                    Clamp32(int64_t{CaretTop} + VerticalOffset));
    }
    if (Changed) {
      SetChanged(false);
      RunGuarded([&] { OnChange(); }, [&] { ReportEditFault("DoSelectFrame", "OnChange"); });
      ScrollInView();
    }
    if (Changed) {
      SetChanged(false);
    }
  }
  PreviousPhase = BlinkPhase;
}

void LumoEditBox::Synchronize() {
  RunGuarded([&] { DoSynchronize(); }, [&] { ReportEditFault("Synchronize", "DoSynchronize"); });
}

void LumoEditBox::Update() {
  RunGuarded([&] { DoUpdate(); }, [&] { ReportEditFault("Update", "DoUpdate"); });
  RunGuarded([&] { OnUpdate(); }, [&] { ReportEditFault("Update", "OnUpdate"); });
}

void LumoEditBox::SetCaret(int32_t period, const sRGB& colour) {
  SetCaretColour(colour);
  ResetCaretTimer(period);
}

// ---- Text ----

void LumoEditBox::CopyText(const char* text) {
  size_t length = 0;
  if (text != nullptr) {
    length = strnlen(text, static_cast<size_t>(kMaxLength));
    std::memmove(Text.data(), text, length);
  }
  Text[length] = '\0';
  Synchronize();
}

void LumoEditBox::SetText(const char* text) {
  if (text == nullptr) {
    ClearPage();
  } else {
    CopyText(text);
  }
}

tString LumoEditBox::SetTextString(const tString& text) {
  SetText(text.text != nullptr ? text.text : "");
  return text;
}

char* LumoEditBox::GetText(char* buffer) {
  if (buffer == nullptr) {
    return nullptr;
  }
  const size_t length = static_cast<size_t>(TextLength());
  std::memcpy(buffer, Text.data(), length);
  buffer[length] = '\0';
  return buffer;
}

tString LumoEditBox::GetTextString() { return tString::FromRun(Text.data(), TextLength()); }

// ---- Numbers ----

uint32_t LumoEditBox::GetUnsigned() {
  char text[kTextSize];
  GetText(text);
  const char* start = text;
  while (*start == ' ' || (*start >= '\t' && *start <= '\r')) {
    ++start;
  }
  if (*start == '-') {
    // A negative number lies below the type's range.
    return 0;
  }
  const unsigned long long value = std::strtoull(start, nullptr, 10);
  return static_cast<uint32_t>(std::min<unsigned long long>(value, UINT32_MAX));
}

int32_t LumoEditBox::GetInteger() {
  char text[kTextSize];
  GetText(text);
  return Clamp32(std::strtoll(text, nullptr, 10));
}

double LumoEditBox::GetReal() {
  char text[kTextSize];
  GetText(text);
  return std::strtod(text, nullptr);
}

bool LumoEditBox::WriteNumber(const char* operation, const char* format, ...) {
  char text[kTextSize];
  va_list arguments;
  va_start(arguments, format);
  const int written = std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  if (written < 0 || written >= kTextSize) {
    DebugPrint("LumoEditBox::%s() The number of %i characters does not fit the text (Control=%p:%s)\n", operation,
               written, DebugAddress(this), DebugClassName(this));
    return false;
  }
  std::memcpy(Text.data(), text, static_cast<size_t>(written) + 1);
  Synchronize();
  return true;
}

void LumoEditBox::SetUnsigned(uint32_t value) { WriteNumber("SetUnsigned", "%u", value); }

void LumoEditBox::SetInteger(int32_t value) { WriteNumber("SetInteger", "%i", value); }

void LumoEditBox::SetReal(double value, int32_t width, int32_t decimals) {
  if (width < 1 || decimals < 1) {
    WriteNumber("SetReal", "%f", value);
  } else {
    WriteNumber("SetReal", "%*.*f", width, decimals, value);
  }
}

// ---- Definitions ----

void LumoEditBox::Define(int32_t left, int32_t top, int32_t width, int32_t height, int32_t caretPeriod,
                         const sRGB& caretColour, const sRGB& background, LumoFontNode* font, bool proportional) {
  SetUp(left, top, font, proportional, kFramesPerPulse);
  SetCaretColour(caretColour);
  ResetCaretTimer(caretPeriod);
  CreatePageGraphic(width, height, background);
  PopulateSelf();
}

void LumoEditBox::DefineBlack(int32_t left, int32_t top, int32_t width, int32_t height, int32_t caretPeriod,
                              const sRGB& caretColour) {
  Define(left, top, width, height, caretPeriod, caretColour, sRGB{}, nullptr, true);
}

void LumoEditBox::DefineLines(int32_t left, int32_t top, int32_t width, int32_t lines) {
  SetUp(left, top, Engine != nullptr ? Engine->DefaultFont : nullptr, true, kFramesPerPulse);
  const int64_t lineHeight = Font != nullptr ? Font->LineHeight : 0;
  SetCaretColour(Font != nullptr ? Font->CaretColour : sRGB{});
  ResetCaretTimer(0);
  CreatePageGraphic(width, Clamp32(std::max<int64_t>(lines, 0) * lineHeight),
                    Font != nullptr ? Font->Palette[kBackgroundEntry] : sRGB{});
  PopulateSelf();
}

void LumoEditBox::DefineWithGraphic(int32_t left, int32_t top, int32_t caretPeriod, const sRGB& caretColour,
                                    const char* name, LumoFontNode* font, bool proportional) {
  SetUp(left, top, font, proportional, kFramesPerPulse);
  SetCaretColour(caretColour);
  ResetCaretTimer(caretPeriod);
  CreatePageGraphicFrom(name);
  PopulateSelf();
}

void LumoEditBox::DefineWithGraphicForFont(int32_t left, int32_t top, const char* name) {
  LumoFontNode* font = Engine != nullptr ? Engine->DefaultFont : nullptr;
  DefineWithGraphic(left, top, 0, font != nullptr ? font->CaretColour : sRGB{}, name, font, true);
}
