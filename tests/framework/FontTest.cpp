#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "framework/LumoFontList.h"
#include "framework/LumoGraphicList.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Graphics.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

constexpr sRGB kBlack{0, 0, 0};
constexpr sRGB kRed{0, 0, 255};
constexpr sRGB kGreen{0, 255, 0};
constexpr sRGB kBlue{255, 0, 0};
constexpr sRGB kMagenta{255, 0, 255};

std::string GlyphFile(const char* font, uint32_t code) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%02X.bmp", font, code);
  return name;
}

// A glyph picture file: width x height of one colour, its top left pixel in
// the transparent key colour.
void WriteGlyph(const char* font, uint32_t code, int32_t width, int32_t height, const sRGB& colour) {
  GraphicHandle graphic = CreateGraphic(width, height, colour);
  ASSERT_NE(graphic, nullptr);
  SetGraphicPixel(graphic, 0, 0, ConvertRGB(kMagenta));
  ASSERT_TRUE(SaveGraphic(graphic, GlyphFile(font, code).c_str()));
  DestroyGraphic(graphic);
}

// A running engine and a test font "Test" whose glyph files exist for
// 'A'..'Z' (widths 1 to 6 in turn, 4 rows) and 0xF0..0xFF; 'A' is 3 wide,
// 'B' 6 wide (red and green).
class FontTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    ASSERT_TRUE(Start());
    for (uint32_t code = 'A'; code <= 'Z'; ++code) {
      WriteGlyph("Test", code, static_cast<int32_t>(1 + (code - 'A') % 6), 4, kBlue);
    }
    WriteGlyph("Test", 'A', 3, 4, kRed);
    WriteGlyph("Test", 'B', 6, 4, kGreen);
    for (uint32_t code = 0xF0; code <= 0xFF; ++code) {
      WriteGlyph("Test", code, 2, 2, kBlue);
    }
    font = Engine->FontList->ConfigureFont("Test", 8, 5, 2, 9);
    ASSERT_NE(font, nullptr);
  }

  std::vector<uint32_t> LoadedCodes() const {
    std::vector<uint32_t> codes;
    for (uint32_t code = 0; code < 256; ++code) {
      if (font->Glyph(static_cast<uint8_t>(code)) != nullptr) {
        codes.push_back(code);
      }
    }
    return codes;
  }

  // A black canvas in the engine's list.
  LumoGraphicNode* Canvas(int32_t width, int32_t height) {
    LumoGraphicNode* canvas = Engine->GraphicList->GetGeneratedGraphic(width, height, kBlack, false);
    EXPECT_NE(canvas, nullptr);
    return canvas;
  }

  LumoFontNode* font = nullptr;
};

std::vector<uint32_t> Range(uint32_t first, uint32_t last) {
  std::vector<uint32_t> codes;
  for (uint32_t code = first; code <= last; ++code) {
    codes.push_back(code);
  }
  return codes;
}

TEST_F(FontTest, LoadFontTakesItsRangeByTheRangeRules) {
  struct Case {
    uint32_t first;
    uint32_t last;
    std::vector<uint32_t> loaded;
  };
  const Case cases[] = {
      {0x5A, 0x41, Range(0x41, 0x5A)},  // swapped
      {0x41, 0, {0x41}},                // one code
      {0, 0, {}},                       // code 0 is never loaded
      {0xF0, 0xFF, Range(0xF0, 0xFF)},  // ends after 255
  };
  for (const Case& test : cases) {
    font->ClearCharacters(0, 0xFF);
    font->LoadFont(0, 0, test.first, test.last);
    EXPECT_EQ(LoadedCodes(), test.loaded) << test.first << ".." << test.last;
  }
  // A glyph is keyed with the transparent colour and placed at the origin.
  font->LoadFont(1, 2, 'A', 0);
  EXPECT_EQ(font->Glyph('A')->Left, 1);
  EXPECT_EQ(font->Glyph('A')->Top, 2);
  EXPECT_EQ(font->Glyph('A')->SourceKey.Mode, KeyColor);
  EXPECT_STREQ(font->Glyph('A')->Name, "Test41");
}

TEST_F(FontTest, MissingOrDamagedGlyphFileLeavesOnlyThatCodeOut) {
  std::remove(GlyphFile("Test", 'C').c_str());
  std::ofstream(GlyphFile("Test", 'D'), std::ios::binary | std::ios::trunc) << "BM damaged";
  font->LoadFontCharacters('A', 'F');
  EXPECT_EQ(LoadedCodes(), (std::vector<uint32_t>{'A', 'B', 'E', 'F'}));
  EXPECT_EQ(font->TextWidth("ACDB", true), (2 + 3) + (2 + 6));
}

TEST_F(FontTest, LoadingWithoutANameOrAGraphicListIsReported) {
  LumoFontNode nameless;
  nameless.LoadFont(0, 0, 'A', 'B');
  EXPECT_EQ(nameless.Glyph('A'), nullptr);
  EXPECT_NE(testing_support::ReadDebugLog().find(
                "LumoFontNode::LoadFont() Cannot load characters (Name=(null), Left=0, Top=0, First=41, Last=42)\n"),
            std::string::npos);
}

TEST_F(FontTest, TextWidthsCountBlanksGlyphsAndEscapes) {
  font->LoadFontCharacters('A', 'B');
  struct Case {
    const char* text;
    bool proportional;
    int32_t width;
  };
  const Case plain[] = {
      {"A B", true, (2 + 3) + (2 + 5) + (2 + 6)},
      {"A B", false, (2 + 9) + (2 + 5) + (2 + 9)},
      {" ", true, 2 + 5},
      {" ", false, 2 + 5},
      {"AZ?", true, 2 + 3},  // codes without a glyph add nothing
      {"", true, 0},
  };
  for (const Case& test : plain) {
    EXPECT_EQ(font->TextWidth(test.text, test.proportional), test.width) << test.text;
  }
  EXPECT_EQ(font->TextWidth(nullptr, true), 0);
  // Small letters given the capitals' glyphs measure as capitals.
  font->SetGlyph('a', font->Glyph('A'));
  font->SetGlyph('b', font->Glyph('B'));
  EXPECT_EQ(font->TextWidth("a b", true), font->TextWidth("A B", true));

  struct EscapeCase {
    const char* text;
    uint32_t count;
    int32_t width;
  };
  const EscapeCase escaped[] = {
      {"&AB", 1, 2 + 3},               // the escape is not counted
      {"A&&B", 3, (2 + 3) + (2 + 6)},  // an escaped escape counts (no glyph)
      {"AB", 0, 0},
      {"A B", 10, (2 + 3) + (2 + 5) + (2 + 6)},
      {"A&", 5, 2 + 3},
  };
  for (const EscapeCase& test : escaped) {
    EXPECT_EQ(font->TextWidthEx(test.text, true, '&', test.count), test.width) << test.text;
  }
}

TEST_F(FontTest, RenderTextCopiesGlyphsAtTheirTopsAndUnderlinesInInk) {
  font->LoadFontAtTop(2, 'A', 0);
  font->LoadFontAtTop(0, 'B', 0);
  font->SetInkColour(kBlue);
  LumoGraphicNode* canvas = Canvas(30, 12);

  EXPECT_EQ(font->RenderText("A B", canvas, 1, 1, true, 0), 1 + (2 + 3) + (2 + 5) + (2 + 6));

  // 'A' at (1, 1 + 2), its key pixel left out.
  EXPECT_EQ(canvas->GetPixel(1, 3), ConvertRGB(kBlack));
  EXPECT_EQ(canvas->GetPixel(2, 3), ConvertRGB(kRed));
  EXPECT_EQ(canvas->GetPixel(3, 6), ConvertRGB(kRed));
  EXPECT_EQ(canvas->GetPixel(2, 2), ConvertRGB(kBlack));
  // 'B' at x 1 + 5 + 7 at the line's top (a glyph stands at x itself).
  EXPECT_EQ(canvas->GetPixel(13, 1), ConvertRGB(kBlack));
  EXPECT_EQ(canvas->GetPixel(14, 1), ConvertRGB(kGreen));
  EXPECT_EQ(canvas->GetPixel(18, 4), ConvertRGB(kGreen));
  EXPECT_EQ(canvas->GetPixel(19, 4), ConvertRGB(kBlack));
  // The underline of 'A': its width on the line's last row (1 + 8 - 1).
  EXPECT_EQ(canvas->GetPixel(1, 8), ConvertRGB(kBlue));
  EXPECT_EQ(canvas->GetPixel(3, 8), ConvertRGB(kBlue));
  EXPECT_EQ(canvas->GetPixel(4, 8), ConvertRGB(kBlack));
  EXPECT_EQ(canvas->GetPixel(14, 8), ConvertRGB(kBlack));

  // An underline index past the end draws none; neither does a row below
  // the graphic, though the glyphs are drawn.
  LumoGraphicNode* other = Canvas(30, 12);
  font->RenderText("AB", other, 0, 0, true, 5);
  EXPECT_EQ(other->GetPixel(0, 7), ConvertRGB(kBlack));
  LumoGraphicNode* low = Canvas(30, 12);
  font->RenderText("AB", low, 0, 5, true, 1);
  EXPECT_EQ(low->GetPixel(6, 5), ConvertRGB(kGreen));
  for (int32_t x = 0; x < 30; ++x) {
    EXPECT_NE(low->GetPixel(x, 11), ConvertRGB(kBlue)) << x;
  }

  // Nothing advanced: 0.
  EXPECT_EQ(font->RenderText("??", canvas, 4, 0, true, -1), 0);
  EXPECT_EQ(font->RenderText(nullptr, canvas, 4, 0, true, -1), 0);
  EXPECT_EQ(font->RenderText("A", nullptr, 4, 0, true, -1), 0);
}

TEST_F(FontTest, SettersReadWithANegativeValueAndConfigureFormsSetColours) {
  EXPECT_EQ(font->SetSpacing(-1), 2);
  EXPECT_EQ(font->SetSpacing(0), 0);
  EXPECT_EQ(font->SetLineHeight(-5), 8);
  EXPECT_EQ(font->SetFixedWidth(-1), 9);
  EXPECT_EQ(font->SetSpaceWidth(-1), 5);

  // The same name finds the same font; -1 keeps a metric.
  EXPECT_EQ(Engine->FontList->ConfigureFontWithInk("TEST", -1, 7, -1, -1, kRed), font);
  EXPECT_EQ(font->LineHeight, 8);
  EXPECT_EQ(font->SpaceWidth, 7);
  EXPECT_EQ(font->InkColour.Red, 255);
  // Paper starts as the engine's transparent colour.
  EXPECT_EQ(font->PaperColour.Red, 255);
  EXPECT_EQ(font->PaperColour.Blue, 255);
  LumoFontNode* coloured = Engine->FontList->ConfigureFontWithColours("Other", 9, 3, 1, 7, kGreen, kBlue);
  ASSERT_NE(coloured, nullptr);
  EXPECT_EQ(coloured->InkColour.Green, 255);
  EXPECT_EQ(coloured->PaperColour.Blue, 255);
  EXPECT_EQ(coloured->PaperColour.Red, 0);
  // The first palette pair is (white, dark blue).
  EXPECT_EQ(coloured->Palette[0].Green, 255);
  EXPECT_EQ(coloured->Palette[1].Blue, 127);
  EXPECT_EQ(coloured->Palette[1].Red, 0);
  EXPECT_EQ(Engine->FontList->Count, 2);
}

TEST_F(FontTest, DefaultFontTakesItsGlyphTopsAndIsSelected) {
  struct Glyph {
    uint32_t code;
    int32_t top;
  };
  const Glyph glyphs[] = {{'!', 3}, {',', 12}, {'_', 15}, {'a', 6}, {0xC0, 0}, {0xE9, 2}, {0xC4, 1}, {0xB1, 5}};
  for (const Glyph& glyph : glyphs) {
    WriteGlyph("Font", glyph.code, 3, 3, kRed);
  }
  WriteGlyph("Font", 0xA0, 3, 3, kRed);  // the no-break space has no glyph

  LumoFontNode* builtIn = Engine->CreateDefaultFont();

  ASSERT_NE(builtIn, nullptr);
  EXPECT_EQ(Engine->DefaultFont, builtIn);
  EXPECT_EQ(Engine->Font, builtIn);
  EXPECT_EQ(Engine->LabelFont(), builtIn);
  EXPECT_EQ(builtIn->LineHeight, 16);
  EXPECT_EQ(builtIn->SpaceWidth, 6);
  EXPECT_EQ(builtIn->Spacing, 3);
  EXPECT_EQ(builtIn->FixedWidth, 14);
  for (const Glyph& glyph : glyphs) {
    ASSERT_NE(builtIn->Glyph(static_cast<uint8_t>(glyph.code)), nullptr) << glyph.code;
    EXPECT_EQ(builtIn->Glyph(static_cast<uint8_t>(glyph.code))->Top, glyph.top) << glyph.code;
  }
  EXPECT_NE(Engine->GraphicList->FindByName("FontE9"), nullptr);
  EXPECT_EQ(builtIn->Glyph(0xA0), nullptr);
  EXPECT_EQ(Engine->GraphicList->FindByName("FontA0"), nullptr);
  EXPECT_EQ(builtIn->Glyph('b'), nullptr);  // no file
}

TEST_F(FontTest, EngineSelectsFontsByReferenceAndForgetsFreedOnes) {
  // With a current font the built-in one is made but not selected.
  Engine->SetFont(font);
  LumoFontNode* builtIn = Engine->CreateDefaultFont();
  EXPECT_EQ(Engine->Font, font);
  // None selects the list's first font.
  Engine->SetFont(builtIn);
  EXPECT_EQ(Engine->SetFont(nullptr), Engine->FontList->first);
  EXPECT_EQ(Engine->Font, font);

  DestroyObject(font);
  EXPECT_EQ(Engine->Font, nullptr);
  DestroyObject(builtIn);
  EXPECT_EQ(Engine->DefaultFont, nullptr);
  EXPECT_EQ(Engine->LabelFont(), nullptr);
}

}  // namespace
}  // namespace framework_testing
