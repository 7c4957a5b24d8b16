#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PageFixture.h"
#include "framework/LumoComplexControl.h"
#include "framework/LumoLabel.h"
#include "framework/LumoRefreshButton.h"
#include "framework/LumoScrollBar.h"
#include "runtime/GraphicFiles.h"

namespace framework_testing {
namespace {

constexpr sRGB kLook{0, 128, 128};
constexpr sRGB kFace{0, 0, 200};

// A complex control that counts its refreshes.
class RefreshedControl : public LumoComplexControl {
 public:
  void DoRefresh() override { ++refreshes; }
  int refreshes = 0;
};

// The page fixture with the engine's scroll-bar looks as 10 x 10 pictures
// and its refresh-button looks as 6 x 10 ones.
class ComplexPageTest : public PageFixture {
 protected:
  void SetUp() override {
    PageFixture::SetUp();
    for (const char* kind : {"Left", "Right", "Up", "Down", "Thumb"}) {
      for (const char state : {'A', 'H', 'D', 'P'}) {
        WritePicture(std::string("_B") + state + kind, 10, 10);
      }
    }
    for (const char state : {'A', 'H', 'D', 'P'}) {
      WritePicture(std::string("_B") + state + "Refresh", 6, 10);
    }
  }

  static void WritePicture(const std::string& name, int32_t width, int32_t height) {
    GraphicHandle graphic = CreateGraphic(width, height, kLook);
    ASSERT_NE(graphic, nullptr);
    ASSERT_TRUE(SaveGraphic(graphic, (name + ".bmp").c_str()));
    DestroyGraphic(graphic);
  }

  static std::vector<int32_t> BoundsOf(LumoSprite& sprite) {
    int32_t left = 0, top = 0, width = 0, height = 0;
    sprite.GetBounds(left, top, width, height, false, true);
    return {left, top, width, height};
  }

  static bool Intersect(const std::vector<int32_t>& a, const std::vector<int32_t>& b) {
    return a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] && b[1] < a[1] + a[3];
  }
};

// The page is 64 x 32 with lines of 8: text wider or higher than that
// brings a bar whose range is the hidden part and whose step is a line.
TEST_F(ComplexPageTest, TextPastThePageBringsABarThatScrollsIt) {
  LumoPage* page = AddPage(64, 32, 20, 20);
  ASSERT_EQ(page->HorizontalBar, nullptr);
  EXPECT_EQ(page->SetTextWidth(100, true), 100);
  LumoScrollBar* bar = page->HorizontalBar;
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->Horizontal);
  EXPECT_TRUE(bar->Enabled);
  EXPECT_EQ(bar->Maximum, 100 - 64);
  EXPECT_EQ(bar->Step, kLineHeight);
  EXPECT_EQ(bar->PageStep, 2 * kLineHeight);
  EXPECT_EQ(bar->Receiver, page);
  EXPECT_EQ(bar->DecrementButton->Top, 20 + 32);  // below the page

  bar->SetLocation(5);
  EXPECT_EQ(page->HorizontalOffset, -5);
  page->ClearPage();
  page->SetCaretX(10);
  page->PutCharacter('W');
  ExpectGlyphs(*page, {{'W', 10 + 1 - 5, 0}});
  bar->SetLocation(0);
  EXPECT_EQ(page->HorizontalOffset, 0);

  // Narrower text keeps the graphic's width and takes the range away.
  EXPECT_EQ(page->SetTextWidth(30, true), 64);
  EXPECT_EQ(page->HorizontalBar, bar);
  EXPECT_EQ(bar->Maximum, 0);

  EXPECT_EQ(page->SetLines(6, true), 6);
  ASSERT_NE(page->VerticalBar, nullptr);
  EXPECT_FALSE(page->VerticalBar->Horizontal);
  EXPECT_EQ(page->VerticalBar->Maximum, 48 - 32);
  page->VerticalBar->SetLocation(8);
  EXPECT_EQ(page->VerticalOffset, -8);
}

TEST_F(ComplexPageTest, ABarIsOnlyAttachedWhenAllowedAndThePageHoldsMoreThanALine) {
  LumoPage* page = AddPage(64, 32);
  EXPECT_EQ(page->SetTextWidth(100, false), 100);
  EXPECT_EQ(page->HorizontalBar, nullptr);
  LumoPage* flat = AddPage(64, kLineHeight, 0, 100);
  flat->SetTextWidth(100, true);
  EXPECT_EQ(flat->HorizontalBar, nullptr);
}

// Without a font the page cannot tell a line's height: no bar.
TEST_F(ComplexPageTest, APageWithoutAFontAttachesNoBar) {
  auto* page = new LumoPage;
  cell->Append(page);
  page->CreatePageGraphic(64, 32, kPaper);
  ASSERT_EQ(page->Font, nullptr);
  EXPECT_EQ(page->SetTextWidth(100, true), 100);
  EXPECT_EQ(page->HorizontalBar, nullptr);
  EXPECT_EQ(page->SetTextHeight(100, true), 100);
  EXPECT_EQ(page->VerticalBar, nullptr);
}

// The scroll offsets never pass the text's extent.
TEST_F(ComplexPageTest, ScrollOffsetsStayWithinTheText) {
  LumoPage* page = AddPage(64, 32);
  page->HorizontalScroll(500);
  page->VerticalScroll(-3);
  EXPECT_EQ(page->HorizontalOffset, -64);
  EXPECT_EQ(page->VerticalOffset, 0);
}

// The control is 40 x 20 at (100, 100), its label "AB" 11 x 8 above it
// (gap 6); the button, 6 x 10, stands in the label's rows at the control's
// right edge.
TEST_F(ComplexPageTest, ARefreshButtonBesideTheLabelOverlapsNothingAndRefreshesOnce) {
  Engine->SetDefaultFont(font);
  auto* control = AddSprite<RefreshedControl>(*cell, 100, 100, MadeGraphic(40, 20, kFace));
  control->SetInput(true);
  control->SetFocusable(true);
  control->SetMargin(3);
  control->Enable();
  EXPECT_EQ(control->AttachRefreshButton(), nullptr);  // no label yet
  LumoLabel* label = control->AttachAutoLabel("AB");
  ASSERT_NE(label, nullptr);
  LumoRefreshButton* button = control->AttachRefreshButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(control->RefreshButton, button);
  EXPECT_NE(control->Body->FindPart(button), nullptr);
  EXPECT_TRUE(label->IsRegistered(button));
  EXPECT_TRUE(control->AttachToLabel(button));  // registered already
  EXPECT_TRUE(button->Enabled);
  EXPECT_EQ(BoundsOf(*button), (std::vector<int32_t>{134, 84, 6, 10}));
  EXPECT_FALSE(Intersect(BoundsOf(*button), BoundsOf(*label)));
  EXPECT_FALSE(Intersect(BoundsOf(*button), BoundsOf(*control)));
  EXPECT_EQ(control->AttachRefreshButton(), nullptr);  // one only
  EXPECT_EQ(control->AttachRefreshButton(0, 0), nullptr);

  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  EXPECT_FALSE(control->Focused);
  Press(136, 88);
  Release(136, 88);
  EXPECT_EQ(control->refreshes, 1);
  EXPECT_TRUE(control->Focused);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(control->refreshes, 1);
}

TEST_F(ComplexPageTest, AReplacedOrFreedRefreshButtonIsLetGo) {
  auto* control = AddSprite<RefreshedControl>(*cell, 100, 100, MadeGraphic(40, 20, kFace));
  LumoRefreshButton* first = control->AttachRefreshButton(10, 10);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ((std::vector<int32_t>{first->Left, first->Top}), (std::vector<int32_t>{10, 10}));
  auto* second = new LumoRefreshButton;
  cell->Append(second);
  EXPECT_EQ(control->SetRefreshButton(second), second);
  EXPECT_EQ(control->Body->FindPart(first), nullptr);
  // A button outside a complex control's body refreshes nothing.
  first->DoExecute();
  EXPECT_EQ(control->refreshes, 0);
  second->DoExecute();
  EXPECT_EQ(control->refreshes, 1);
  DestroyObject(second);
  EXPECT_EQ(control->RefreshButton, nullptr);
}

}  // namespace
}  // namespace framework_testing
