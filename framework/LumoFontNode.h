#pragma once

#include <array>
#include <cstdint>

#include "base/LumoNode.h"
#include "runtime/Graphics.h"

class LumoGraphicNode;

// A bitmap font made of ordinary graphics: one graphic node per character
// code, found by name in the engine's graphic list (the font's name followed
// by the code in two upper-case hexadecimal digits), with the metrics that
// lay glyphs out and the colours that labels, options and edit boxes use.
// The glyphs belong to the engine's graphic list; the font only points at
// them. A code whose picture cannot be loaded has no glyph, and layout skips
// it. Fonts are not stored.
class LumoFontNode : public LumoNode {
 public:
  static constexpr int kGlyphCount = 256;
  static constexpr int kPaletteSize = 14;
  using tPalette = std::array<sRGB, kPaletteSize>;

  LumoFontNode();

  const char* GetClassName() const override;
  void DebugDumpFields() override;

  // A negative value only reads: the current value is answered unchanged.
  virtual int32_t SetLineHeight(int32_t value);
  virtual int32_t SetSpaceWidth(int32_t value);
  virtual int32_t SetSpacing(int32_t value);
  virtual int32_t SetFixedWidth(int32_t value);
  virtual sRGB SetInkColour(const sRGB& colour);
  virtual sRGB SetPaperColour(const sRGB& colour);
  virtual void SetPalette(const tPalette& palette);
  virtual sRGB SetCaretColour(const sRGB& colour);
  // Any code, 0 included; null takes the glyph away.
  virtual void SetGlyph(uint8_t code, LumoGraphicNode* graphic);

  // Loads the glyphs of first..last from the engine's graphic list, each
  // placed at (left, top) and keyed with the engine's transparent colour.
  // Last 0 means first alone; a reversed range is swapped; code 0 is never
  // loaded. Without a name or the engine's list: reported, nothing changes.
  void LoadFont(int32_t left, int32_t top, uint32_t first, uint32_t last);
  void LoadFontAtTop(int32_t top, uint32_t first, uint32_t last) { LoadFont(0, top, first, last); }
  void LoadFontCharacters(uint32_t first, uint32_t last) { LoadFont(0, 0, first, last); }
  // The codes of the range lose their glyphs (the graphics stay).
  void ClearCharacters(uint32_t first, uint32_t last);

  // Width in pixels: a blank adds Spacing + SpaceWidth, a glyph Spacing and
  // its width (proportional) or FixedWidth; a code without a glyph nothing.
  int32_t TextWidth(const char* text, bool proportional) const;
  // The same over at most count printed characters; the escape character is
  // not counted and makes the next character count whatever it is.
  int32_t TextWidthEx(const char* text, bool proportional, char escape, uint32_t count) const;
  // Copies the glyphs into the graphic from (x, y) (each with its own origin
  // and key); the character at underlineIndex is underlined in the ink
  // colour on the line's last row when that row lies in the graphic.
  // Answers the x after the last glyph, or 0 when nothing advanced.
  int32_t RenderText(const char* text, LumoGraphicNode* graphic, int32_t x, int32_t y, bool proportional,
                     int32_t underlineIndex);

  LumoGraphicNode* Glyph(uint8_t code) const { return Glyphs[code]; }

  // ---- Fields ----

  std::array<LumoGraphicNode*, kGlyphCount> Glyphs{};
  int32_t LineHeight = 0;
  int32_t SpaceWidth = 0;
  int32_t Spacing = 0;
  int32_t FixedWidth = 0;
  sRGB InkColour{};
  sRGB PaperColour{};
  tPalette Palette{};
  sRGB CaretColour{};

 private:
  // The advance of one character: blank, glyph, or nothing.
  int32_t Advance(uint8_t code, bool proportional, int32_t blankWidth) const;
  // The range rules of LoadFont; visit(code) for each code loaded.
  template <typename Visit>
  static void ForEachCode(uint32_t first, uint32_t last, Visit&& visit);
};
