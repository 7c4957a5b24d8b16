#include "framework/LumoFontNode.h"

#include <string>
#include <utility>

#include "base/DebugFormat.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicNode.h"
#include "runtime/Drawing.h"

namespace {

constexpr sRGB Rgb(uint8_t red, uint8_t green, uint8_t blue) { return sRGB{blue, green, red}; }

// Pairs of ink and paper for the looks of labels, options and menus.
constexpr LumoFontNode::tPalette kDefaultPalette = {
    Rgb(255, 255, 255), Rgb(0, 0, 127),     Rgb(255, 255, 0),   Rgb(0, 0, 255),     Rgb(127, 127, 127),
    Rgb(0, 0, 63),      Rgb(0, 0, 127),     Rgb(175, 175, 175), Rgb(0, 0, 255),     Rgb(207, 207, 207),
    Rgb(175, 175, 175), Rgb(143, 143, 143), Rgb(223, 223, 223), Rgb(255, 255, 255),
};

constexpr sRGB kDefaultTransparent = Rgb(255, 0, 255);

}  // namespace

LumoFontNode::LumoFontNode()
    : PaperColour(Engine != nullptr ? Engine->TransparentKeyColour() : kDefaultTransparent),
      Palette(kDefaultPalette) {}

const char* LumoFontNode::GetClassName() const { return "LumoFontNode"; }

void LumoFontNode::DebugDumpFields() {
  LumoNode::DebugDumpFields();
  DebugPrint(", LineHeight=%i, SpaceWidth=%i, Spacing=%i, FixedWidth=%i", LineHeight, SpaceWidth, Spacing,
             FixedWidth);
}

// ---- Setters ----

namespace {

int32_t StoreUnlessNegative(int32_t& field, int32_t value) {
  if (value >= 0) {
    field = value;
  }
  return field;
}

}  // namespace

int32_t LumoFontNode::SetLineHeight(int32_t value) { return StoreUnlessNegative(LineHeight, value); }
int32_t LumoFontNode::SetSpaceWidth(int32_t value) { return StoreUnlessNegative(SpaceWidth, value); }
int32_t LumoFontNode::SetSpacing(int32_t value) { return StoreUnlessNegative(Spacing, value); }
int32_t LumoFontNode::SetFixedWidth(int32_t value) { return StoreUnlessNegative(FixedWidth, value); }
sRGB LumoFontNode::SetInkColour(const sRGB& colour) { return InkColour = colour; }
sRGB LumoFontNode::SetPaperColour(const sRGB& colour) { return PaperColour = colour; }
void LumoFontNode::SetPalette(const tPalette& palette) { Palette = palette; }
sRGB LumoFontNode::SetCaretColour(const sRGB& colour) { return CaretColour = colour; }
void LumoFontNode::SetGlyph(uint8_t code, LumoGraphicNode* graphic) { Glyphs[code] = graphic; }

// ---- Glyphs ----

// Codes are bytes: the range is taken in 8 bits, code 0 is never visited and
// the walk ends after 255.
template <typename Visit>
void LumoFontNode::ForEachCode(uint32_t first, uint32_t last, Visit&& visit) {
  uint32_t start = first & 0xFFu;
  uint32_t end = (last == 0 ? first : last) & 0xFFu;
  if (start > end) {
    std::swap(start, end);
  }
  for (uint32_t code = start; code <= end; ++code) {
    if (code != 0) {
      visit(static_cast<uint8_t>(code));
    }
  }
}

void LumoFontNode::LoadFont(int32_t left, int32_t top, uint32_t first, uint32_t last) {
  LumoGraphicList* list = Engine != nullptr ? Engine->GraphicList.get() : nullptr;
  if (Name == nullptr || list == nullptr) {
    DebugPrint("LumoFontNode::LoadFont() Cannot load characters (Name=%s, Left=%i, Top=%i, First=%02X, Last=%02X)\n",
               DebugText(Name), left, top, first, last);
    return;
  }
  // The glyph's name is the font's name and two hexadecimal digits, however
  // long the font's name is.
  std::string glyphName = Name;
  const size_t digitsAt = glyphName.size();
  ForEachCode(first, last, [&](uint8_t code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    glyphName.resize(digitsAt);
    glyphName.push_back(kDigits[code >> 4]);
    glyphName.push_back(kDigits[code & 0xF]);
    // A glyph whose picture cannot be loaded counts as not found: the code
    // gets none, so a damaged glyph file costs that glyph only.
    LumoGraphicNode* glyph = list->FindGraphic(glyphName.c_str(), left, top, false);
    if (glyph != nullptr && glyph->Data == 0) {
      glyph = nullptr;
    }
    Glyphs[code] = glyph;
    if (glyph != nullptr) {
      glyph->SetTransparent();
    }
  });
}

void LumoFontNode::ClearCharacters(uint32_t first, uint32_t last) {
  ForEachCode(first, last, [&](uint8_t code) { Glyphs[code] = nullptr; });
}

// ---- Layout ----

int32_t LumoFontNode::Advance(uint8_t code, bool proportional, int32_t blankWidth) const {
  if (code == ' ') {
    return Spacing + blankWidth;
  }
  const LumoGraphicNode* glyph = Glyphs[code];
  if (glyph == nullptr) {
    return 0;
  }
  return Spacing + (proportional ? glyph->Width : FixedWidth);
}

int32_t LumoFontNode::TextWidth(const char* text, bool proportional) const {
  int32_t width = 0;
  for (const char* walker = text; walker != nullptr && *walker != '\0'; ++walker) {
    width += Advance(static_cast<uint8_t>(*walker), proportional, SpaceWidth);
  }
  return width;
}

int32_t LumoFontNode::TextWidthEx(const char* text, bool proportional, char escape, uint32_t count) const {
  int32_t width = 0;
  uint32_t printed = 0;
  for (const char* walker = text; walker != nullptr && *walker != '\0' && printed < count; ++walker) {
    if (*walker == escape) {
      ++walker;
      if (*walker == '\0') {
        break;
      }
    }
    width += Advance(static_cast<uint8_t>(*walker), proportional, SpaceWidth);
    ++printed;
  }
  return width;
}

int32_t LumoFontNode::RenderText(const char* text, LumoGraphicNode* graphic, int32_t x, int32_t y,
                                 bool proportional, int32_t underlineIndex) {
  if (text == nullptr || graphic == nullptr) {
    return 0;
  }
  const int32_t start = x;
  const int32_t underlineRow = y + LineHeight - 1;
  int32_t index = 0;
  for (const char* walker = text; *walker != '\0'; ++walker, ++index) {
    const auto code = static_cast<uint8_t>(*walker);
    if (code == ' ') {
      x += Spacing + (proportional ? SpaceWidth : FixedWidth);
      continue;
    }
    LumoGraphicNode* glyph = Glyphs[code];
    if (glyph == nullptr) {
      continue;
    }
    graphic->Copy(glyph, x, y);
    if (index == underlineIndex && underlineRow >= 0 && underlineRow < graphic->Height) {
      if (LockedGraphic* lock = graphic->CreateLock()) {
        SelectPixelAt(lock, x, underlineRow);
        graphic->PenColor = ConvertRGB(InkColour);
        NextLine(lock, glyph->Width, 0, graphic->PenColor);
        graphic->ReleaseLock();
      }
    }
    x += Spacing + (proportional ? glyph->Width : FixedWidth);
  }
  return x != start ? x : 0;
}
