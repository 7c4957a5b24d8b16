#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageFixture.h"
#include "framework/LumoControl.h"
#include "framework/LumoLabel.h"

namespace framework_testing {
namespace {

constexpr sRGB kInk{40, 30, 20};
constexpr sRGB kControlFace{0, 0, 200};

// The palette pairs of the three looks, each colour its own.
LumoFontNode::tPalette LookPalette() {
  LumoFontNode::tPalette palette{};
  for (int entry = 0; entry < LumoFontNode::kPaletteSize; ++entry) {
    palette[entry] = sRGB{static_cast<uint8_t>(16 * entry), static_cast<uint8_t>(200 - 8 * entry), 100};
  }
  return palette;
}

// Labels write with the engine's built-in font: here a font of ink blocks
// on the transparent colour, 4 wide (advance 5) and 8 high.
class LabelTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    labelFont = static_cast<LumoFontNode*>(Engine->FontList->CreateNamedItem("LabelTestFont"));
    Engine->FontList->Append(labelFont);
    labelFont->SetLineHeight(kLineHeight);
    labelFont->SetSpaceWidth(kSpaceWidth);
    labelFont->SetSpacing(kSpacing);
    labelFont->SetFixedWidth(kFixedWidth);
    labelFont->SetInkColour(kInk);
    labelFont->SetPalette(LookPalette());
    for (uint8_t code = 'A'; code <= 'Z'; ++code) {
      auto* glyph = new LumoGraphicNode;
      glyph->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(4, kBlockRows + 1, Engine->TransparentKeyColour())));
      for (int32_t y = 0; y < kBlockRows; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
          glyph->SetPixel(x, y, ConvertRGB(kInk));
        }
      }
      glyph->SetTransparent();
      Engine->GraphicList->Append(glyph);
      labelFont->SetGlyph(code, glyph);
    }
    Engine->SetDefaultFont(labelFont);
  }

  // A focusable control of the cell, 40 x 20, with margin 3 (gap 6).
  LumoControl* AddControl(int32_t x, int32_t y) {
    auto* control = AddSprite<LumoControl>(*cell, x, y, MadeGraphic(40, 20, kControlFace));
    control->SetInput(true);
    control->SetFocusable(true);
    control->SetMargin(3);
    return control;
  }

  // The label shows the look's ink where the caption's glyphs are and its
  // paper everywhere else.
  static void ExpectLook(LumoLabel& label, int inkEntry, const std::vector<int32_t>& glyphColumns) {
    const LumoFontNode::tPalette palette = LookPalette();
    const uint32_t ink = ConvertRGB(palette[inkEntry]);
    const uint32_t paper = ConvertRGB(palette[inkEntry + 1]);
    ASSERT_NE(label.Graphic, nullptr);
    int64_t inked = 0;
    for (int32_t y = 0; y < label.Graphic->Height; ++y) {
      for (int32_t x = 0; x < label.Graphic->Width; ++x) {
        const uint32_t pixel = label.Graphic->GetPixel(x, y);
        EXPECT_TRUE(pixel == ink || pixel == paper) << x << "," << y;
        inked += pixel == ink ? 1 : 0;
      }
    }
    for (int32_t column : glyphColumns) {
      EXPECT_EQ(label.Graphic->GetPixel(column, 0), ink) << column;
      EXPECT_EQ(label.Graphic->GetPixel(column + 3, kBlockRows - 1), ink) << column;
    }
    EXPECT_EQ(inked, static_cast<int64_t>(glyphColumns.size()) * 4 * kBlockRows);
  }

  LumoFontNode* labelFont = nullptr;
};

TEST_F(LabelTest, TheLabelFollowsItsControlThroughItsThreeLooks) {
  LumoControl* control = AddControl(100, 100);
  LumoLabel* label = control->AttachLabel(10, 10, 30, "AB");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(control->Label, label);
  EXPECT_STREQ(label->Caption, "AB");
  EXPECT_EQ(label->Font, labelFont);
  EXPECT_EQ(label->Graphic->Width, 30);
  EXPECT_EQ(label->Graphic->Height, kLineHeight);
  EXPECT_EQ(control->LabelLines(), 1);
  ExpectLook(*label, 10, {1, 6});  // a disabled control's label is dimmed

  control->Enable();
  ExpectLook(*label, 6, {1, 6});
  control->Focus();
  ASSERT_TRUE(control->Focused);
  ExpectLook(*label, 8, {1, 6});
  control->Disable();
  ExpectLook(*label, 10, {1, 6});
}

TEST_F(LabelTest, ALabelWithoutACaptionShowsOnlyItsPaper) {
  LumoControl* control = AddControl(100, 100);
  LumoLabel* label = control->AttachLabel(10, 10, 30, 2);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Graphic->Height, 2 * kLineHeight);
  EXPECT_EQ(control->LabelLines(), 2);
  control->Enable();
  ExpectLook(*label, 6, {});
  EXPECT_EQ(control->AttachLabel(0, 0, 30, 1), nullptr);  // one label only
}

struct SideCase {
  int32_t side;
  int32_t left;
  int32_t top;
};

// The control is 40 x 20 at (100, 100) with gap 6; the label "AB" is its
// text's width (10) plus the spacing, 11, and a line (8) high.
TEST_F(LabelTest, TheCaptionSidePlacesTheLabel) {
  const std::vector<SideCase> cases = {
      {0, 100 - 6 - 11, 100 + 10 - 4},
      {1, 100, 100 - 6 - 8},
      {2, 100 + 40 + 6, 100 + 10 - 4},
      {3, 100, 100 + 20 + 6},
  };
  for (const SideCase& row : cases) {
    SCOPED_TRACE(row.side);
    LumoControl* control = AddControl(100, 100);
    control->SetCaptionSide(row.side);
    LumoLabel* label = control->AttachAutoLabel("AB");
    ASSERT_NE(label, nullptr);
    int32_t left = 0, top = 0, width = 0, height = 0;
    label->GetBounds(left, top, width, height, false, true);
    EXPECT_EQ((std::vector<int32_t>{left, top, width, height}),
              (std::vector<int32_t>{row.left, row.top, 11, kLineHeight}));
    DestroyObject(control);
  }
}

struct BesideCase {
  int32_t side;
  const char* caption;
  int32_t left;
  int32_t top;
};

bool Intersect(const std::vector<int32_t>& a, const std::vector<int32_t>& b) {
  return a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] && b[1] < a[1] + a[3];
}

std::vector<int32_t> BoundsOf(LumoSprite& sprite) {
  int32_t left = 0, top = 0, width = 0, height = 0;
  sprite.GetBounds(left, top, width, height, false, true);
  return {left, top, width, height};
}

// A 6 x 10 item goes beside the label, margin 3 off: left of a label on
// the left, right of one on the right (centred on its rows), and in the
// rows of one above or below, at the control's right edge unless the label
// reaches there.
TEST_F(LabelTest, AnItemBesideTheLabelOverlapsNeitherLabelNorControl) {
  const std::vector<BesideCase> cases = {
      {0, "AB", 83 - 3 - 6, 106 + 4 - 5},
      {1, "AB", 100 + 40 - 6, 86 + 8 - 10},
      {1, "ABCDEFGH", 100 + 41 + 3, 86 + 8 - 10},
      {2, "AB", 146 + 11 + 3, 106 + 4 - 5},
      {3, "AB", 100 + 40 - 6, 126},
  };
  for (const BesideCase& row : cases) {
    SCOPED_TRACE(row.caption + std::string(" side ") + std::to_string(row.side));
    LumoControl* control = AddControl(100, 100);
    control->SetCaptionSide(row.side);
    LumoLabel* label = control->AttachAutoLabel(row.caption);
    ASSERT_NE(label, nullptr);
    LumoSprite* item = AddSprite(*cell, 0, 0, MadeGraphic(6, 10, kControlFace));
    ASSERT_TRUE(control->AttachToLabel(item));
    EXPECT_EQ(BoundsOf(*item), (std::vector<int32_t>{row.left, row.top, 6, 10}));
    EXPECT_FALSE(Intersect(BoundsOf(*item), BoundsOf(*label)));
    EXPECT_FALSE(Intersect(BoundsOf(*item), BoundsOf(*control)));
    DestroyObject(item);
    DestroyObject(control);
  }
  LumoControl* control = AddControl(100, 100);
  LumoSprite* item = AddSprite(*cell, 0, 0, MadeGraphic(6, 10, kControlFace));
  EXPECT_FALSE(control->AttachToLabel(item));  // no label
  control->SetCaptionSide(4);
  ASSERT_NE(control->AttachAutoLabel("AB"), nullptr);
  EXPECT_FALSE(control->AttachToLabel(item));  // no such side
}

TEST_F(LabelTest, AClickOnTheLabelFocusesItsControl) {
  LumoControl* control = AddControl(100, 100);
  LumoControl* other = AddControl(200, 100);
  LumoLabel* label = control->AttachLabel(10, 10, 30, "AB");
  control->Enable();
  other->Enable();
  other->Focus();
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  ASSERT_FALSE(control->Focused);
  Press(15, 12);
  Release(15, 12);
  EXPECT_TRUE(control->Focused);
  EXPECT_FALSE(other->Focused);
  ExpectLook(*label, 8, {1, 6});
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(10 + 1, 10), ConvertRGB(LookPalette()[8]));
  EXPECT_EQ(Presented(10, 10), ConvertRGB(LookPalette()[9]));
}

TEST_F(LabelTest, AFreedLabelIsForgottenByItsControl) {
  LumoControl* control = AddControl(100, 100);
  LumoLabel* label = control->AttachLabel(10, 10, 30, "AB");
  DestroyObject(label);
  EXPECT_EQ(control->Label, nullptr);
  EXPECT_EQ(control->LabelLines(), 0);
  EXPECT_EQ(control->ForwardToLabel("CD"), nullptr);
  control->Enable();  // shows no caption
}

TEST_F(LabelTest, WithoutACellNoLabelIsMade) {
  auto* loose = new LumoControl;
  EXPECT_EQ(loose->AttachAutoLabel("AB"), nullptr);
  DestroyObject(loose);
}

}  // namespace
}  // namespace framework_testing
