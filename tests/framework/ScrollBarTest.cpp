#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "framework/LumoCell.h"
#include "framework/LumoComplexControl.h"
#include "framework/LumoScrollBar.h"
#include "runtime/GraphicFiles.h"

namespace framework_testing {
namespace {

constexpr sRGB kArrow{0, 128, 128};
constexpr sRGB kThumb{255, 0, 0};       // blue
constexpr sRGB kTrack{0, 255, 0};       // green
constexpr sRGB kDarkArrow{40, 40, 40};  // the arrows' disabled look

// A complex control that writes down every scroll it is told of.
class ScrolledControl : public LumoComplexControl {
 public:
  const char* GetClassName() const override { return "ScrolledControl"; }
  void DoHorizontalScroll(int32_t position) override { horizontal.push_back(position); }
  void DoVerticalScroll(int32_t position) override { vertical.push_back(position); }
  std::vector<int32_t> horizontal;
  std::vector<int32_t> vertical;
};

// A running level with the engine's scroll-bar looks as 10 x 10 pictures,
// and a scrolled control at (20, 20), 130 x 40, in an animating cell.
class ScrollBarTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    StartWithLevel();
    for (const char* kind : {"Left", "Right", "Up", "Down"}) {
      for (const char state : {'A', 'H', 'P'}) {
        WritePicture(std::string("_B") + state + kind, kArrow);
      }
      WritePicture(std::string("_BD") + kind, kDarkArrow);
    }
    for (const char state : {'A', 'H', 'D', 'P'}) {
      WritePicture(std::string("_B") + state + "Thumb", kThumb);
    }
    cell = AddCell(0, 0, 400, 300);
    control = AddSprite<ScrolledControl>(*cell, 20, 20, MadeGraphic(130, 40, kControlRed));
    control->SetInput(true);
    control->SetFocusable(true);
    control->Enable();
  }

  static void WritePicture(const std::string& name, const sRGB& colour) {
    GraphicHandle graphic = CreateGraphic(10, 10, colour);
    ASSERT_NE(graphic, nullptr);
    ASSERT_TRUE(SaveGraphic(graphic, (name + ".bmp").c_str()));
    DestroyGraphic(graphic);
  }

  // A horizontal bar under the control: the decrement arrow at (20, 100),
  // the track from 30 to 140 (the thumb moves over 100 pixels), the
  // increment arrow at 140.
  LumoScrollBar* AddBar(int32_t maximum, int32_t step = 1, int32_t pageStep = 0) {
    auto* bar = new LumoScrollBar;
    cell->Append(bar);
    EXPECT_TRUE(bar->DefineStandardFilled(20, 100, 130, true, maximum, step, pageStep, kTrack));
    EXPECT_EQ(control->SetHorizontalBar(bar), bar);
    cell->StartAnimation();
    EXPECT_TRUE(Pulse());
    return bar;
  }

  // Where the thumb shows on the track: the offset of its first pixel from
  // the track's start, -1 when it shows nowhere.
  int32_t ThumbOffset() {
    EXPECT_TRUE(Pulse());
    for (int32_t x = 30; x < 140; ++x) {
      if (Presented(x, 105) == ConvertRGB(kThumb)) {
        return x - 30;
      }
    }
    return -1;
  }

  void PassUntil(uint32_t passes) {
    for (uint32_t pass = 0; pass < passes; ++pass) {
      ASSERT_TRUE(Pulse());
    }
  }

  LumoCell* cell = nullptr;
  ScrolledControl* control = nullptr;
};

TEST_F(ScrollBarTest, TheThumbShowsThePosition) {
  LumoScrollBar* bar = AddBar(10);
  EXPECT_EQ(ThumbOffset(), 0);
  EXPECT_EQ(Presented(35, 105), ConvertRGB(kThumb));
  EXPECT_EQ(Presented(100, 105), ConvertRGB(kTrack));
  EXPECT_EQ(bar->SetLocation(5), 5);
  EXPECT_EQ(ThumbOffset(), 50);
  EXPECT_EQ(bar->SetLocation(99), 10);
  EXPECT_EQ(ThumbOffset(), 100);
  EXPECT_EQ(bar->SetLocation(-3), 0);
  EXPECT_EQ(ThumbOffset(), 0);
  // The arrows: the decrement arrow disabled at 0, the increment arrow at
  // the maximum.
  EXPECT_EQ(Presented(25, 105), ConvertRGB(kDarkArrow));
  EXPECT_EQ(Presented(145, 105), ConvertRGB(kArrow));
  bar->SetLocation(10);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(25, 105), ConvertRGB(kArrow));
  EXPECT_EQ(Presented(145, 105), ConvertRGB(kDarkArrow));
}

TEST_F(ScrollBarTest, ABarWithoutRangeIsDisabledUntilItHasOne) {
  LumoScrollBar* bar = AddBar(10);
  bar->SetLocation(6);
  EXPECT_EQ(bar->SetMaximum(0), 0);
  EXPECT_EQ(bar->Position, 0);
  EXPECT_FALSE(bar->Enabled);
  EXPECT_FALSE(bar->Thumb->Enabled);
  EXPECT_EQ(ThumbOffset(), 0);
  EXPECT_EQ(bar->SetMaximum(10), 10);
  EXPECT_TRUE(bar->Enabled);
  EXPECT_TRUE(bar->Thumb->Enabled);
  EXPECT_TRUE(bar->IncrementButton->Enabled);
  // A negative maximum changes nothing; the steps have their floors.
  EXPECT_EQ(bar->SetMaximum(-1), 10);
  EXPECT_EQ(bar->SetStep(0), 1);
  EXPECT_EQ(bar->SetPageStep(0), 8);

  // A bar its owner disabled stays disabled when the range comes back.
  bar->Disable();
  bar->SetMaximum(0);
  bar->SetMaximum(10);
  EXPECT_FALSE(bar->Enabled);
}

TEST_F(ScrollBarTest, AHeldArrowRepeatsAfterHalfItsRateAndStopsAtTheEnd) {
  LumoScrollBar* bar = AddBar(10);
  Press(145, 105);
  EXPECT_EQ(bar->Position, 1);
  EXPECT_TRUE(control->Focused);
  // The arrow's looks run at 6 frames a pulse, every second pass at the
  // engine's 12: the repeat waits half the rate, 3 of the arrow's frames,
  // then steps once a frame.
  std::vector<int32_t> positions;
  for (int pass = 0; pass < 26; ++pass) {
    ASSERT_TRUE(Pulse());
    positions.push_back(bar->Position);
  }
  EXPECT_EQ(positions, (std::vector<int32_t>{1, 1, 1, 1, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10,
                                             10, 10, 10}));
  EXPECT_FALSE(bar->IncrementButton->Enabled);
  EXPECT_FALSE(bar->IncrementButton->Moving);
  Release(145, 105);
  // The other arrow steps back once per press and stops on release.
  Press(25, 105);
  Release(25, 105);
  PassUntil(10);
  EXPECT_EQ(bar->Position, 9);
}

TEST_F(ScrollBarTest, ATrackPressPagesAndAThumbPressDoesNot) {
  LumoScrollBar* bar = AddBar(40, 1, 8);
  Press(120, 105);
  Release(120, 105);
  EXPECT_EQ(bar->Position, 8);
  EXPECT_EQ(ThumbOffset(), 20);
  Press(35, 105);
  Release(35, 105);
  EXPECT_EQ(bar->Position, 0);
  // On the thumb itself (now at the track's start): no paging.
  ASSERT_TRUE(Pulse());
  Press(32, 105);
  Release(32, 105);
  EXPECT_EQ(bar->Position, 0);
  // A held press pages on until the thumb reaches the cursor.
  Press(135, 105);
  PassUntil(20);
  Release(135, 105);
  EXPECT_EQ(bar->Position, 40);
  EXPECT_FALSE(bar->Moving);
}

TEST_F(ScrollBarTest, ADraggedThumbStaysOnTheTrack) {
  LumoScrollBar* bar = AddBar(10);
  LumoScrollButton* thumb = bar->Thumb;
  // Taken 3 pixels inside; the cursor stays over the track (30 to 140).
  Press(33, 105);
  MoveHolding(34, 106);
  ASSERT_TRUE(thumb->Dragging);
  MoveHolding(139, 109);
  PassUntil(2);  // the thumb's frames come every second pass
  EXPECT_EQ(bar->Position, 10);
  EXPECT_EQ((std::vector<int32_t>{thumb->CellToScreenX(thumb->Left), thumb->CellToScreenY(thumb->Top)}),
            (std::vector<int32_t>{130, 100}));
  MoveHolding(30, 101);
  PassUntil(2);
  EXPECT_EQ(bar->Position, 0);
  EXPECT_EQ((std::vector<int32_t>{thumb->CellToScreenX(thumb->Left), thumb->CellToScreenY(thumb->Top)}),
            (std::vector<int32_t>{30, 100}));
  MoveHolding(83, 105);
  PassUntil(2);
  EXPECT_EQ(bar->Position, 5);
  Release(83, 105);
  ASSERT_FALSE(thumb->Dragging);
  EXPECT_EQ(thumb->Cell(), cell);
  EXPECT_EQ(bar->Position, 5);
  EXPECT_EQ(ThumbOffset(), 50);

  // The cursor leaving the bar drops the thumb where it is.
  Press(83, 105);
  MoveHolding(84, 105);
  ASSERT_TRUE(thumb->Dragging);
  MoveHolding(113, 105);
  PassUntil(2);
  MoveHolding(300, 250);
  EXPECT_FALSE(thumb->Dragging);
  EXPECT_EQ(thumb->Cell(), cell);
  EXPECT_EQ(bar->Position, 8);
  EXPECT_EQ(ThumbOffset(), 80);
}

TEST_F(ScrollBarTest, TheReceiverHearsEveryChange) {
  LumoScrollBar* bar = AddBar(10);
  bar->SetLocation(3);
  bar->SetLocation(3);
  bar->Increment();
  bar->Decrement();
  bar->SetMaximum(2);
  bar->SetMaximum(0);
  EXPECT_EQ(control->horizontal, (std::vector<int32_t>{3, 4, 3, 2, 0}));
  EXPECT_TRUE(control->vertical.empty());
  // A replaced bar no longer scrolls the control.
  bar->SetMaximum(10);
  control->SetHorizontalBar(nullptr);
  EXPECT_EQ(bar->Receiver, nullptr);
  bar->SetLocation(7);
  EXPECT_EQ(control->horizontal.size(), 5u);
}

TEST_F(ScrollBarTest, AttachedBarsGoBesideTheControl) {
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  control->AttachScrollBars();
  LumoScrollBar* horizontal = control->HorizontalBar;
  LumoScrollBar* vertical = control->VerticalBar;
  ASSERT_NE(horizontal, nullptr);
  ASSERT_NE(vertical, nullptr);
  EXPECT_EQ(control->AttachHorizontalBar(), nullptr);
  EXPECT_EQ(horizontal->Receiver, control);
  EXPECT_FALSE(horizontal->Enabled);  // maximum 0
  // Below the control and right of it, as long as it.
  EXPECT_EQ((std::vector<int32_t>{horizontal->DecrementButton->Left, horizontal->DecrementButton->Top,
                                  horizontal->IncrementButton->Left}),
            (std::vector<int32_t>{20, 60, 140}));
  EXPECT_EQ((std::vector<int32_t>{vertical->DecrementButton->Left, vertical->DecrementButton->Top,
                                  vertical->IncrementButton->Top}),
            (std::vector<int32_t>{150, 20, 50}));
  horizontal->SetMaximum(4);
  EXPECT_TRUE(horizontal->Enabled);
  horizontal->SetLocation(2);
  vertical->SetMaximum(4);
  vertical->SetLocation(1);
  EXPECT_EQ(control->horizontal, (std::vector<int32_t>{2}));
  EXPECT_EQ(control->vertical, (std::vector<int32_t>{1}));
}

}  // namespace
}  // namespace framework_testing

namespace framework_testing {
namespace {

// A control that refuses or takes cascades and asks to be scrolled to
// given places.
class CascadedControl : public ScrolledControl {
 public:
  bool SetCascadeSender(LumoComplexControl*) override { return takes; }
  void DoCascade(LumoComplexControl* sender) override { senders.push_back(sender); }
  bool DoScrollInView(int32_t& horizontal, int32_t& vertical) override {
    horizontal = wantHorizontal;
    vertical = wantVertical;
    return true;
  }
  bool takes = true;
  int32_t wantHorizontal = -1;
  int32_t wantVertical = -1;
  std::vector<LumoComplexControl*> senders;
};

TEST_F(ScrollBarTest, CascadesAndScrollingIntoView) {
  std::unique_ptr<CascadedControl, tObjectDestroyer> receiver(new CascadedControl);
  receiver->takes = false;
  EXPECT_EQ(control->SetCascadeReceiver(receiver.get(), true), nullptr);
  EXPECT_EQ(control->CascadeReceiver, nullptr);
  receiver->takes = true;
  EXPECT_EQ(control->SetCascadeReceiver(receiver.get(), true), receiver.get());
  control->Cascade();
  EXPECT_EQ(receiver->senders, (std::vector<LumoComplexControl*>{control, control}));
  // A receiver freed first is forgotten.
  receiver.reset();
  EXPECT_EQ(control->CascadeReceiver, nullptr);
  control->Cascade();

  // The default does not scroll; without bars the scroll hooks are told.
  control->ScrollInView();
  EXPECT_TRUE(control->horizontal.empty());
  auto* scrolled = AddSprite<CascadedControl>(*cell, 200, 20, MadeGraphic(40, 40, kControlRed));
  scrolled->wantHorizontal = 3;
  scrolled->ScrollInView();
  EXPECT_EQ(scrolled->horizontal, (std::vector<int32_t>{3}));
  EXPECT_TRUE(scrolled->vertical.empty());
  // With a bar the bar goes there, and scrolls.
  auto* bar = new LumoScrollBar;
  cell->Append(bar);
  ASSERT_TRUE(bar->DefineStandard(200, 100, 100, true, 10, 1, 0));
  scrolled->SetHorizontalBar(bar);
  scrolled->wantHorizontal = 6;
  scrolled->ScrollInView();
  EXPECT_EQ(bar->Position, 6);
  EXPECT_EQ(scrolled->horizontal, (std::vector<int32_t>{3, 6}));
}

}  // namespace
}  // namespace framework_testing
