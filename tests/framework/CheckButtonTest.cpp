#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlFixture.h"
#include "framework/LumoCell.h"
#include "framework/LumoCheckButton.h"
#include "framework/LumoComplexControl.h"
#include "framework/LumoScrollBar.h"
#include "runtime/GraphicFiles.h"

namespace framework_testing {
namespace {

constexpr sRGB kUnchecked{0, 200, 0};
constexpr sRGB kUncheckedHot{0, 120, 0};
constexpr sRGB kChecked{200, 0, 0};
constexpr sRGB kCheckedHot{120, 0, 0};
constexpr sRGB kGrey{90, 90, 90};
constexpr sRGB kArrow{0, 128, 128};
constexpr sRGB kThumb{255, 0, 0};

// A check button that writes down its state changes.
class RecordingCheckButton : public LumoCheckButton {
 public:
  const char* GetClassName() const override { return "RecordingCheckButton"; }
  void OnCheck() override { heard.push_back("OnCheck"); }
  void OnUncheck() override { heard.push_back("OnUncheck"); }
  void OnChange() override { heard.push_back("OnChange"); }
  std::vector<std::string> heard;
};

class ScrolledControl : public LumoComplexControl {
 public:
  const char* GetClassName() const override { return "ScrolledControl"; }
};

// A running level with the pictures of the check looks (10 x 10) and of the
// engine's scroll-bar and home-button looks.
class CheckButtonTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    StartWithLevel();
    WritePicture("un", kUnchecked);
    WritePicture("uh", kUncheckedHot);
    WritePicture("cn", kChecked);
    WritePicture("ch", kCheckedHot);
    WritePicture("dis", kGrey);
    for (const char* kind : {"Left", "Right", "Up", "Down"}) {
      for (const char state : {'A', 'H', 'D', 'P'}) {
        WritePicture(std::string("_B") + state + kind, kArrow);
      }
    }
    for (const char state : {'A', 'H', 'D', 'P'}) {
      WritePicture(std::string("_B") + state + "Thumb", kThumb);
      WritePicture(std::string("_B") + state + "Top", state == 'D' ? kGrey : kUnchecked);
      WritePicture(std::string("_B") + state + "Bottom", state == 'D' ? kGrey : kChecked);
    }
    cell = AddCell(0, 0, 400, 300);
  }

  static void WritePicture(const std::string& name, const sRGB& colour) {
    GraphicHandle graphic = CreateGraphic(10, 10, colour);
    ASSERT_NE(graphic, nullptr);
    ASSERT_TRUE(SaveGraphic(graphic, (name + ".bmp").c_str()));
    DestroyGraphic(graphic);
  }

  // A click at (x, y), then time past the double-click interval.
  void ClickAt(int32_t x, int32_t y) {
    Press(x, y);
    Release(x, y);
    const uint32_t clicked = Now();
    while (Now() < clicked + 600) {
      ASSERT_TRUE(Pulse());
    }
  }

  uint32_t AfterPulse(int32_t x, int32_t y) {
    EXPECT_TRUE(Pulse());
    return Presented(x, y);
  }

  static uint32_t Pixel(const sRGB& colour) { return ConvertRGB(colour); }

  LumoCell* cell = nullptr;
};

TEST_F(CheckButtonTest, ClicksToggleAndTheLooksSwap) {
  auto* button = new RecordingCheckButton;
  cell->Append(button);
  EXPECT_EQ(button->CaptionSide, 2);
  EXPECT_EQ(button->Margin, Engine->ControlMargin());
  button->Define(50, 50, true, "un", "uh", "dis", "uh", "cn", "ch", "dis", "ch", nullptr, nullptr, false);
  cell->StartAnimation();
  MouseTo(300, 200);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kUnchecked));

  // Checking a checked button (or unchecking an unchecked one) does nothing.
  button->Uncheck();
  EXPECT_TRUE(button->heard.empty());
  button->Check();
  EXPECT_TRUE(button->Checked);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kChecked));
  button->Check();
  EXPECT_EQ(button->heard, (std::vector<std::string>{"OnCheck", "OnChange"}));
  button->heard.clear();

  // Each click toggles, with one OnChange; under the cursor the hot look of
  // the new state shows, away from it the normal one.
  ClickAt(55, 55);
  EXPECT_FALSE(button->Checked);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kUncheckedHot));
  ClickAt(55, 55);
  EXPECT_TRUE(button->Checked);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kCheckedHot));
  MouseTo(300, 200);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kChecked));
  EXPECT_EQ(button->heard, (std::vector<std::string>{"OnUncheck", "OnChange", "OnCheck", "OnChange"}));

  // Disabled, either state shows its disabled look and a click changes nothing.
  button->Disable();
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kGrey));
  ClickAt(55, 55);
  EXPECT_TRUE(button->Checked);
}

TEST_F(CheckButtonTest, TheHomeButtonInTheCornerJumpsToEitherEnd) {
  auto* control = AddSprite<ScrolledControl>(*cell, 20, 20, MadeGraphic(130, 40, kControlRed));
  control->SetInput(true);
  control->SetFocusable(true);
  control->Enable();
  cell->StartAnimation();
  control->AttachScrollBars();
  LumoScrollBar* horizontal = control->HorizontalBar;
  LumoScrollBar* vertical = control->VerticalBar;
  ASSERT_NE(vertical, nullptr);
  vertical->SetMaximum(10);
  // Only the vertical bar beside a horizontal one has a home button.
  horizontal->Complete();
  EXPECT_EQ(horizontal->HomeButton, nullptr);
  vertical->Complete();
  LumoHomeButton* home = vertical->HomeButton;
  ASSERT_NE(home, nullptr);
  EXPECT_EQ(home->ScrollBar, vertical);
  EXPECT_EQ((std::vector<int32_t>{home->Left, home->Top}), (std::vector<int32_t>{150, 60}));
  EXPECT_EQ(home->OwnerBody, control->Body.get());
  EXPECT_TRUE(home->Enabled);
  EXPECT_TRUE(home->Checked);  // at position 0
  MouseTo(300, 200);
  EXPECT_TRUE(home->Animating);
  EXPECT_NE(home->SequenceList, nullptr);
  EXPECT_EQ(AfterPulse(157, 67), Pixel(kChecked));

  // Its state follows the position.
  vertical->SetLocation(4);
  EXPECT_FALSE(home->Checked);
  EXPECT_EQ(AfterPulse(157, 67), Pixel(kUnchecked));

  // A click jumps to 0, the next to the maximum, and the control takes the
  // focus.
  control->Leave(nullptr);
  ClickAt(157, 67);
  EXPECT_EQ(vertical->Position, 0);
  EXPECT_TRUE(home->Checked);
  EXPECT_TRUE(control->Focused);
  ClickAt(157, 67);
  EXPECT_EQ(vertical->Position, 10);
  EXPECT_FALSE(home->Checked);

  // Without range the button is unchecked and disabled, and a disabled bar
  // disables it.
  vertical->SetMaximum(1);
  EXPECT_FALSE(home->Enabled);
  vertical->SetMaximum(10);
  EXPECT_TRUE(home->Enabled);
  vertical->Disable();
  EXPECT_FALSE(home->Enabled);
  EXPECT_EQ(AfterPulse(157, 67), Pixel(kGrey));
}

}  // namespace
}  // namespace framework_testing
