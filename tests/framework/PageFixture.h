#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "SpriteFixture.h"
#include "framework/LumoFontList.h"
#include "framework/LumoFontNode.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoPage.h"

namespace framework_testing {

// A glyph placed on a page: its code and the top-left corner of its block.
struct PlacedGlyph {
  uint8_t code;
  int32_t x;
  int32_t y;
};

// A running level with one cell and a test font: every glyph is one solid
// block of a colour of its own (kBlockRows rows) on a row of the engine's
// transparent colour, so each copied glyph shows as exactly its block.
class PageFixture : public SpriteFixture {
 protected:
  static constexpr int32_t kLineHeight = 8;
  static constexpr int32_t kSpaceWidth = 3;
  static constexpr int32_t kSpacing = 1;
  static constexpr int32_t kFixedWidth = 5;
  static constexpr int32_t kBlockRows = 6;
  static constexpr sRGB kPaper{0, 0, 0};

  void SetUp() override {
    SpriteFixture::SetUp();
    StartWithLevel();
    cell = AddCell(0, 0, 320, 200);
    font = MakeFont("PageTestFont", kLineHeight);
  }

  // A font of the test metrics with glyphs for 'A'..'Z', 'a'..'z' and '&':
  // 4 pixels wide, but 'W' 6 and 'i' 2.
  LumoFontNode* MakeFont(const char* name, int32_t lineHeight) {
    auto* made = static_cast<LumoFontNode*>(Engine->FontList->CreateNamedItem(name));
    Engine->FontList->Append(made);
    made->SetLineHeight(lineHeight);
    made->SetSpaceWidth(kSpaceWidth);
    made->SetSpacing(kSpacing);
    made->SetFixedWidth(kFixedWidth);
    for (int code = 0; code < 256; ++code) {
      if ((code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == '&') {
        made->SetGlyph(static_cast<uint8_t>(code), MakeGlyph(static_cast<uint8_t>(code)));
      }
    }
    return made;
  }

  static int32_t GlyphWidth(uint8_t code) { return code == 'W' ? 6 : code == 'i' ? 2 : 4; }
  static sRGB GlyphColour(uint8_t code) {
    return sRGB{static_cast<uint8_t>(code), static_cast<uint8_t>(255 - code), 200};
  }

  static LumoGraphicNode* MakeGlyph(uint8_t code) {
    const int32_t width = GlyphWidth(code);
    auto* glyph = new LumoGraphicNode;
    glyph->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(width, kBlockRows + 1, Engine->TransparentKeyColour())));
    const uint32_t block = ConvertRGB(GlyphColour(code));
    for (int32_t y = 0; y < kBlockRows; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        glyph->SetPixel(x, y, block);
      }
    }
    glyph->SetTransparent();
    Engine->GraphicList->Append(glyph);
    return glyph;
  }

  // A page of the cell with a black graphic of that size, the test font
  // and proportional layout.
  template <typename Page = LumoPage>
  Page* AddPage(int32_t width, int32_t height, int32_t left = 0, int32_t top = 0) {
    auto* page = new Page;
    cell->Append(page);
    page->Define(left, top, width, height, kPaper, font, true);
    return page;
  }

  static uint32_t PixelOf(LumoPage& page, int32_t x, int32_t y) { return page.Graphic->GetPixel(x, y); }

  // Every glyph block is where the list says, and nothing else is drawn.
  static void ExpectGlyphs(LumoPage& page, const std::vector<PlacedGlyph>& glyphs) {
    ASSERT_NE(page.Graphic, nullptr);
    int64_t blockPixels = 0;
    for (const PlacedGlyph& glyph : glyphs) {
      const uint32_t colour = ConvertRGB(GlyphColour(glyph.code));
      const int32_t width = GlyphWidth(glyph.code);
      blockPixels += int64_t{width} * kBlockRows;
      EXPECT_EQ(PixelOf(page, glyph.x, glyph.y), colour) << "'" << glyph.code << "' at " << glyph.x << "," << glyph.y;
      EXPECT_EQ(PixelOf(page, glyph.x + width - 1, glyph.y + kBlockRows - 1), colour)
          << "'" << glyph.code << "' at " << glyph.x << "," << glyph.y;
    }
    int64_t inked = 0;
    const uint32_t paper = ConvertRGB(kPaper);
    for (int32_t y = 0; y < page.Graphic->Height; ++y) {
      for (int32_t x = 0; x < page.Graphic->Width; ++x) {
        inked += PixelOf(page, x, y) != paper ? 1 : 0;
      }
    }
    EXPECT_EQ(inked, blockPixels);
  }

  LumoCell* cell = nullptr;
  LumoFontNode* font = nullptr;
};

}  // namespace framework_testing
