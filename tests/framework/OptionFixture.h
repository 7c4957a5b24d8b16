#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PageFixture.h"
#include "framework/LumoItem.h"
#include "framework/LumoLevel.h"
#include "framework/LumoOption.h"

namespace framework_testing {

// A rectangle of one colour in an expected picture.
struct Box {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
  sRGB colour;
};

// The page fixture's font (coloured glyph blocks) with an ink, a paper and
// a palette of its own, and the level's option arrow: a 6 x 4 graphic.
// Every colour differs from every other, so each drawn thing is known by
// its colour.
class OptionFixture : public PageFixture {
 protected:
  static constexpr sRGB kInk{1, 2, 3};
  static constexpr sRGB kFontPaper{4, 5, 6};
  static constexpr sRGB kArrowColour{90, 91, 92};
  static constexpr sRGB kMarkColour{93, 94, 95};
  static constexpr int32_t kGutter = 16;  // the engine's default option gutter

  static sRGB PaletteColour(int entry) {
    return sRGB{static_cast<uint8_t>(10 + entry), static_cast<uint8_t>(40 + entry), static_cast<uint8_t>(70 + entry)};
  }

  void SetUp() override {
    PageFixture::SetUp();
    font->SetInkColour(kInk);
    font->SetPaperColour(kFontPaper);
    LumoFontNode::tPalette palette{};
    for (int entry = 0; entry < LumoFontNode::kPaletteSize; ++entry) {
      palette[entry] = PaletteColour(entry);
    }
    font->SetPalette(palette);
    arrow = level->GraphicList->ProvideGraphicAt(Engine->SubMenuLookName(), 0, 0);
    arrow->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(6, 4, kArrowColour)));
  }

  // A free item of that name (its tree is made by the test).
  static LumoItem* MakeItem(const char* name) {
    auto* item = new LumoItem;
    item->SetName(name);
    return item;
  }

  // An option of the cell showing the item, of that type, defined as a page
  // of the test font (which populates it).
  LumoOption* AddOption(LumoItem* item, int32_t type, int32_t width, int32_t height, int32_t left = 0,
                        int32_t top = 0) {
    auto* option = new LumoOption;
    cell->Append(option);
    option->SetItem(item);
    option->SetOptionType(type);
    option->Define(left, top, width, height, PaletteColour(7), font, true);
    return option;
  }

  // Every pixel of the option's graphic: the background, or the colour of
  // the last box that covers it.
  static void ExpectPicture(LumoOption& option, const sRGB& background, const std::vector<Box>& boxes) {
    ASSERT_NE(option.Graphic, nullptr);
    int mismatches = 0;
    for (int32_t y = 0; y < option.Graphic->Height; ++y) {
      for (int32_t x = 0; x < option.Graphic->Width; ++x) {
        sRGB expected = background;
        for (const Box& box : boxes) {
          if (x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height) {
            expected = box.colour;
          }
        }
        if (option.Graphic->GetPixel(x, y) != ConvertRGB(expected) && ++mismatches <= 8) {
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << option.Graphic->GetPixel(x, y)
                        << ", expected " << ConvertRGB(expected);
        }
      }
    }
    EXPECT_EQ(mismatches, 0);
  }

  // The glyph blocks of a text printed from the caret x on the row of the
  // option's text (the font's Spacing from the top): each glyph stands
  // Spacing after the caret, which then moves past it.
  static std::vector<Box> TextBoxes(const char* text, int32_t caretX) {
    std::vector<Box> boxes;
    for (const char* at = text; *at != '\0'; ++at) {
      const auto code = static_cast<uint8_t>(*at);
      const bool hasGlyph = (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == '&';
      if (!hasGlyph) {
        continue;
      }
      boxes.push_back(Box{caretX + kSpacing, kSpacing, GlyphWidth(code), kBlockRows, GlyphColour(code)});
      caretX += kSpacing + GlyphWidth(code);
    }
    return boxes;
  }

  static std::vector<Box> Joined(std::vector<Box> first, const std::vector<Box>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
  }

  LumoGraphicNode* arrow = nullptr;
};

}  // namespace framework_testing
