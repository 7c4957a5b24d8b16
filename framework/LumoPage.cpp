#include "framework/LumoPage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/DebugFormat.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoScrollBar.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"

namespace {

constexpr uint8_t kTab = 9;
constexpr uint8_t kNewLine = 10;
constexpr uint8_t kLineFeed = 11;
constexpr uint8_t kBlank = 32;

constexpr int32_t kDefaultCanvasWidth = 128;
constexpr int32_t kDefaultCanvasHeight = 64;

// Caret positions are kept in 32 bits and wrap as they do, so a forged font
// metric cannot make the arithmetic undefined.
int32_t Add(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
int32_t Sub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Division rounding toward minus infinity (the divisor is positive).
int64_t FloorDivide(int64_t value, int64_t divisor) {
  const int64_t quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

}  // namespace

LumoPage::LumoPage() = default;

const char* LumoPage::GetClassName() const { return "LumoPage"; }

void LumoPage::OnAbortReferenceTo(LumoObject* other) {
  LumoComplexControl::OnAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  if (other == Graphic) {
    Graphic = nullptr;
  }
  if (other == Background) {
    Background = nullptr;
  }
  if (static_cast<const void*>(other) == static_cast<const void*>(Font)) {
    Font = nullptr;
  }
}

// The drawing graphic is the page's own (made by CreateCanvas, shown by one
// of its frames): it is destroyed here once, and the frame hears of it and
// lets go. A named graphic set from outside belongs to its list and is only
// let go.
void LumoPage::DoClear() {
  if (LumoGraphicNode* graphic = Graphic) {
    SetGraphic(nullptr);
    if (graphic->Name == nullptr) {
      DestroyObject(graphic);
    }
  }
  SetBackground(nullptr);
  SetCaretX(0);
  SetCaretY(0);
  WordWrap = false;
  LumoComplexControl::DoClear();
}

// ---- Plain setters ----

LumoGraphicNode* LumoPage::SetGraphic(LumoGraphicNode* graphic) {
  Keep(Graphic, graphic);
  return Graphic;
}

LumoGraphicNode* LumoPage::SetBackground(LumoGraphicNode* background) {
  Keep(Background, background);
  return Background;
}

LumoFontNode* LumoPage::SetFont(LumoFontNode* font) {
  if (font == nullptr && Engine != nullptr) {
    font = Engine->Font;
  }
  Keep(Font, font);
  return Font;
}

int32_t LumoPage::SetCaretX(int32_t x) { return CaretX = x; }
int32_t LumoPage::SetCaretY(int32_t y) { return CaretY = y; }

int32_t LumoPage::SetLeftMargin(int32_t x) {
  if (x > 0) {
    LeftMargin = x;
  }
  return LeftMargin;
}

int32_t LumoPage::SetTabWidth(int32_t cells) {
  if (cells >= 1) {
    TabWidth = cells;
  }
  return TabWidth;
}

bool LumoPage::SetProportional(bool on) { return Proportional = on; }
bool LumoPage::SetWordWrap(bool on) { return WordWrap = on; }

// ---- Measuring ----

int32_t LumoPage::BlankWidth() const {
  if (Font == nullptr) {
    return 0;
  }
  return Add(Font->Spacing, Proportional ? Font->SpaceWidth : Font->FixedWidth);
}

int32_t LumoPage::GraphicWidth() const { return Graphic != nullptr ? Graphic->Width : 0; }
int32_t LumoPage::GraphicHeight() const { return Graphic != nullptr ? Graphic->Height : 0; }

bool LumoPage::IsWordCharacter(uint8_t code) {
  return code != 0 && code != kTab && code != kNewLine && code != kLineFeed && code != kBlank;
}

bool LumoPage::HasGlyph(uint8_t code) {
  if (code == 0) {
    return false;
  }
  if (!IsWordCharacter(code)) {
    return true;
  }
  return Font != nullptr && Font->Glyph(code) != nullptr;
}

int32_t LumoPage::AdvanceWidth(LumoGraphicNode* glyph, int32_t x) {
  if (glyph == nullptr || Font == nullptr) {
    return x;
  }
  return Add(Add(x, Font->Spacing), Proportional ? glyph->Width : Font->FixedWidth);
}

bool LumoPage::OverrunsLine(uint8_t code, int32_t& x) {
  LumoGraphicNode* glyph = Font != nullptr ? Font->Glyph(code) : nullptr;
  if (glyph == nullptr) {
    return false;
  }
  x = AdvanceWidth(glyph, x);
  return x >= TextWidth;
}

void LumoPage::OnCharacterPlaced(int32_t /*index*/, int32_t /*x*/, int32_t /*y*/) {}

int32_t LumoPage::GetLines() const {
  if (Font == nullptr || Font->LineHeight <= 0) {
    return 0;
  }
  return TextHeight / Font->LineHeight;
}

// ---- Text area ----

int32_t LumoPage::SetTextExtent(int32_t& extent, int32_t value, int32_t visible, bool allowBar, bool horizontal) {
  LumoScrollBar*& bar = horizontal ? HorizontalBar : VerticalBar;
  if (value <= visible) {
    extent = visible;
    if (bar != nullptr) {
      bar->SetMaximum(0);
    }
    return extent;
  }
  extent = value;
  if (bar == nullptr && allowBar && Font != nullptr && GraphicHeight() > Font->LineHeight) {
    if (horizontal) {
      AttachHorizontalBar();
    } else {
      AttachVerticalBar();
    }
  }
  if (bar != nullptr) {
    bar->SetMaximum(Sub(extent, visible));
  }
  return extent;
}

int32_t LumoPage::SetTextWidth(int32_t width, bool allowBar) {
  return SetTextExtent(TextWidth, width, GraphicWidth(), allowBar, true);
}

int32_t LumoPage::SetTextHeight(int32_t height, bool allowBar) {
  return SetTextExtent(TextHeight, height, GraphicHeight(), allowBar, false);
}

void LumoPage::InitializeBar(LumoScrollBar* bar) {
  if (bar == nullptr || Font == nullptr) {
    return;
  }
  bar->SetStep(Font->LineHeight);
  bar->SetPageStep(Clamp32(2 * int64_t{Font->LineHeight}));
}

void LumoPage::InitializeHorizontalBar() { InitializeBar(HorizontalBar); }
void LumoPage::InitializeVerticalBar() { InitializeBar(VerticalBar); }

void LumoPage::DoHorizontalScroll(int32_t position) {
  HorizontalOffset = position < 0 ? 0 : -std::min(position, TextWidth);
}

void LumoPage::DoVerticalScroll(int32_t position) {
  VerticalOffset = position < 0 ? 0 : -std::min(position, TextHeight);
}

int32_t LumoPage::SetLines(int32_t lines, bool allowBar) {
  if (Font == nullptr || Font->LineHeight <= 0) {
    return 0;
  }
  const int32_t lineHeight = Font->LineHeight;
  return RunGuarded(
      [&] {
        SetTextHeight(Clamp32(int64_t{lines} * lineHeight), allowBar);
        return TextHeight / lineHeight;
      },
      [&] {
        DebugPrint("LumoPage::SetLines() Unhandled exception (Control=%p:%s)\n", DebugAddress(this),
                   DebugText(Name));
      });
}

// ---- Layout primitives ----

uint8_t LumoPage::PutCharacter(uint8_t code) {
  LumoGraphicNode* glyph = Font != nullptr ? Font->Glyph(code) : nullptr;
  if (glyph == nullptr) {
    return code;
  }
  int32_t x = AdvanceWidth(glyph, CaretX);
  if (WordWrap && x >= TextWidth) {
    NewLine();
    x = AdvanceWidth(glyph, CaretX);
  }
  if (Graphic != nullptr && Font != nullptr) {
    Graphic->Copy(glyph, Add(Add(HorizontalOffset, Font->Spacing), CaretX), Add(VerticalOffset, CaretY));
  }
  SetCaretX(x);
  SetCaretY(CaretY);
  return code;
}

void LumoPage::PutSpace() {
  if (Font == nullptr) {
    return;
  }
  SetCaretX(Add(CaretX, BlankWidth()));
  if (WordWrap && CaretX >= TextWidth) {
    NewLine();
  }
}

void LumoPage::PutTab() {
  const int64_t stop = int64_t{BlankWidth()} * TabWidth;
  if (stop <= 0) {
    return;
  }
  SetCaretX(Clamp32((FloorDivide(CaretX, stop) + 1) * stop));
  if (WordWrap && CaretX >= TextWidth) {
    NewLine();
  }
}

void LumoPage::LineFeed() {
  if (Font == nullptr) {
    return;
  }
  SetCaretY(Add(CaretY, Font->LineHeight));
}

void LumoPage::NewLine() {
  if (Font == nullptr) {
    return;
  }
  SetCaretX(LeftMargin);
  SetCaretY(Add(CaretY, Font->LineHeight));
}

uint8_t LumoPage::PutCode(uint8_t code) {
  switch (code) {
    case 0:
      break;
    case kTab:
      PutTab();
      break;
    case kNewLine:
      NewLine();
      break;
    case kLineFeed:
      LineFeed();
      break;
    case kBlank:
      PutSpace();
      break;
    default:
      PutCharacter(code);
      break;
  }
  return code;
}

// ---- Printers ----

int32_t LumoPage::PrintText(const char* text) {
  if (text == nullptr || Font == nullptr) {
    return 0;
  }
  int32_t index = 0;
  for (; text[index] != '\0'; ++index) {
    OnCharacterPlaced(index, CaretX, CaretY);
    PutCode(static_cast<uint8_t>(text[index]));
  }
  OnCharacterPlaced(index, CaretX, CaretY);
  return index;
}

int32_t LumoPage::PrintTextEx(const char* text, char escape) {
  if (text == nullptr || Font == nullptr) {
    return 0;
  }
  int32_t index = 0;
  while (text[index] != '\0') {
    if (text[index] == escape) {
      ++index;
      if (text[index] == '\0') {
        break;
      }
    }
    OnCharacterPlaced(index, CaretX, CaretY);
    PutCode(static_cast<uint8_t>(text[index]));
    ++index;
  }
  OnCharacterPlaced(index, CaretX, CaretY);
  return index;
}

// A word that would overrun the line starts a new one, unless the caret is
// at x = 0 already; a word longer than a line is then broken glyph by glyph
// by PutCharacter, since word wrap is on.
int32_t LumoPage::WrapText(const char* text) {
  if (text == nullptr || Font == nullptr) {
    return 0;
  }
  const bool savedWordWrap = WordWrap;
  SetWordWrap(true);
  int32_t index = 0;
  while (text[index] != '\0') {
    const auto code = static_cast<uint8_t>(text[index]);
    if (!IsWordCharacter(code)) {
      OnCharacterPlaced(index, CaretX, CaretY);
      PutCode(code);
      ++index;
      continue;
    }
    int32_t end = index;
    while (text[end] != '\0' && IsWordCharacter(static_cast<uint8_t>(text[end]))) {
      ++end;
    }
    int32_t x = CaretX;
    for (int32_t at = index; at < end; ++at) {
      if (OverrunsLine(static_cast<uint8_t>(text[at]), x)) {
        if (CaretX != 0) {
          NewLine();
        }
        break;
      }
    }
    for (; index < end; ++index) {
      OnCharacterPlaced(index, CaretX, CaretY);
      PutCharacter(static_cast<uint8_t>(text[index]));
    }
  }
  OnCharacterPlaced(index, CaretX, CaretY);
  SetWordWrap(savedWordWrap);
  return index;
}

int32_t LumoPage::PrintCentred(const char* text) {
  if (text == nullptr || text[0] == '\0' || Font == nullptr) {
    return 0;
  }
  SetCaretX(0);
  SetCaretY(0);
  int64_t sum = 0;
  bool centre = true;
  const size_t length = std::strlen(text);
  for (size_t index = 0; index < length; ++index) {
    const auto code = static_cast<uint8_t>(text[index]);
    if (code == kBlank) {
      sum += Proportional ? Font->SpaceWidth : Font->FixedWidth;
    } else if (LumoGraphicNode* glyph = Font->Glyph(code)) {
      sum += Proportional ? glyph->Width : Font->FixedWidth;
    } else {
      centre = false;
    }
  }
  if (centre && sum != 0) {
    const int64_t total = length >= 2 ? sum + static_cast<int64_t>(length - 1) * Font->Spacing : sum;
    SetCaretX(Clamp32(int64_t{TextWidth / 2} - total / 2));
    SetCaretY(Sub(TextHeight / 2, Font->LineHeight / 2));
  }
  return PrintText(text);
}

void LumoPage::ClearPage() {
  SetCaretX(LeftMargin);
  SetCaretY(0);
  if (Graphic == nullptr) {
    return;
  }
  if (Background != nullptr) {
    Graphic->Copy(Background, 0, 0);
  } else {
    Graphic->Fill(Graphic->FillColor);
  }
}

// ---- Set-up ----

LumoGraphicNode* LumoPage::CreateCanvas(int32_t width, int32_t height, const sRGB& colour) {
  LumoSequenceList* sequence = AppendSequence(0, -1);
  if (sequence == nullptr) {
    return nullptr;
  }
  LumoSequenceNode* frame = sequence->AppendFilledFrame(width, height, colour, 1);
  if (frame == nullptr || frame->Graphic() == nullptr || frame->Graphic()->Data == 0) {
    DestroyObject(sequence);
    return nullptr;
  }
  return frame->Graphic();
}

void LumoPage::SetUp(int32_t left, int32_t top, LumoFontNode* font, bool proportional, uint32_t framesPerPulse) {
  Clear();
  SetPosition(left, top);
  SetFont(font);
  SetCaretX(0);
  SetCaretY(0);
  SetProportional(proportional);
  if (framesPerPulse != 0 && DefaultFramesPerPulse == 1) {
    SetDefaultFramesPerPulse(framesPerPulse);
  }
}

LumoGraphicNode* LumoPage::CreatePageGraphic(int32_t width, int32_t height, const sRGB& colour) {
  SetGraphic(CreateCanvas(width, height, colour));
  SetTextWidth(GraphicWidth(), true);
  SetTextHeight(GraphicHeight(), true);
  return Graphic;
}

LumoGraphicNode* LumoPage::CreatePageGraphicFrom(const char* name) {
  LumoCell* cell = Cell();
  auto* level = cell != nullptr ? dynamic_cast<LumoLevel*>(cell->parent) : nullptr;
  LumoGraphicList* graphics = level != nullptr ? level->GraphicList.get() : nullptr;
  LumoGraphicNode* background = nullptr;
  if (graphics != nullptr && name != nullptr) {
    const bool known = graphics->FindByName(name) != nullptr;
    background = graphics->FindGraphic(name, 0, 0, false);
    // A name that yields no picture is no background; the node the lookup
    // made for it does not stay.
    if (background != nullptr && background->Data == 0) {
      if (!known && !background->HasReferrers()) {
        DestroyObject(background);
      }
      background = nullptr;
    }
  }
  SetBackground(background);
  const int32_t width = Background != nullptr ? Background->Width : kDefaultCanvasWidth;
  const int32_t height = Background != nullptr ? Background->Height : kDefaultCanvasHeight;
  SetGraphic(CreateCanvas(width, height, sRGB{}));
  SetTextWidth(GraphicWidth(), true);
  SetTextHeight(GraphicHeight(), true);
  if (Background != nullptr) {
    SetCaretX(LeftMargin);
    SetCaretY(0);
    if (Graphic != nullptr) {
      Graphic->Copy(Background, 0, 0);
    }
  } else {
    SetCaretX(0);
    SetCaretY(0);
  }
  return Graphic;
}

void LumoPage::PopulateSelf() {
  DoPopulate();
  OnPopulate();
  OnActivate();
  DoActivate();
}

void LumoPage::Define(int32_t left, int32_t top, int32_t width, int32_t height, const sRGB& colour,
                      LumoFontNode* font, bool proportional) {
  Clear();
  SetPosition(left, top);
  SetFont(font);
  SetCaretX(0);
  SetCaretY(0);
  SetProportional(proportional);
  CreatePageGraphic(width, height, colour);
  PopulateSelf();
}

void LumoPage::DefineBlank(int32_t left, int32_t top, int32_t width, int32_t height, LumoFontNode* font) {
  Define(left, top, width, height, sRGB{}, font, true);
}

void LumoPage::DefineWithGraphic(int32_t left, int32_t top, const char* name, LumoFontNode* font,
                                 bool proportional) {
  Clear();
  SetPosition(left, top);
  SetFont(font);
  SetCaretX(0);
  SetCaretY(0);
  SetProportional(proportional);
  CreatePageGraphicFrom(name);
  PopulateSelf();
}

// ---- Formatted printers ----

bool LumoPage::Format(const char* operation, char (&buffer)[kFormatBufferSize], const char* format,
                      va_list arguments) {
  if (format == nullptr) {
    return false;
  }
  const int written = std::vsnprintf(buffer, sizeof buffer, format, arguments);
  if (written < 0) {
    DebugPrint("LumoPage::%s() The text could not be formatted (Control=%p:%s)\n", operation, DebugAddress(this),
               DebugText(Name));
    return false;
  }
  if (written >= kFormatBufferSize) {
    DebugPrint("LumoPage::%s() The formatted text of %i characters was cut to %i (Control=%p:%s)\n", operation,
               written, kFormatBufferSize - 1, DebugAddress(this), DebugText(Name));
  }
  return true;
}

int32_t LumoPage::WriteFormatted(const char* format, ...) {
  char buffer[kFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  const bool formatted = Format("WriteFormatted", buffer, format, arguments);
  va_end(arguments);
  return formatted ? PrintText(buffer) : 0;
}

int32_t LumoPage::WrapFormatted(const char* format, ...) {
  char buffer[kFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  const bool formatted = Format("WrapFormatted", buffer, format, arguments);
  va_end(arguments);
  return formatted ? WrapText(buffer) : 0;
}

int32_t LumoPage::PrintFormatted(const char* format, ...) {
  char buffer[kFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  const bool formatted = Format("PrintFormatted", buffer, format, arguments);
  va_end(arguments);
  return formatted ? PrintCentred(buffer) : 0;
}
