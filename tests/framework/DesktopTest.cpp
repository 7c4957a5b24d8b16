#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "framework/LumoButton.h"
#include "framework/LumoDesktop.h"
#include "framework/LumoSelector.h"

namespace framework_testing {
namespace {

constexpr sRGB kLine{0, 248, 248};
constexpr int32_t kEscape = 27;

// A selector that writes down every rectangle it reports.
class RecordingSelector : public LumoSelector {
 public:
  const char* GetClassName() const override { return "RecordingSelector"; }
  void DoSelect(int32_t left, int32_t top, int32_t width, int32_t height) override {
    done.push_back({left, top, width, height});
  }
  void OnSelect(int32_t left, int32_t top, int32_t width, int32_t height) override {
    heard.push_back({left, top, width, height});
  }
  std::vector<std::array<int32_t, 4>> done;
  std::vector<std::array<int32_t, 4>> heard;
};

class DesktopTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    StartWithLevel();
    // The screen is cleared every frame, so what is hidden disappears.
    level->SetBackgroundColour(sRGB{});
  }

  // Time past the double-click interval after a release.
  void Wait() {
    const uint32_t from = Now();
    while (Now() < from + 600) {
      ASSERT_TRUE(Pulse());
    }
  }

  void Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    Press(fromX, fromY);
    MoveHolding(toX, toY);
    ASSERT_TRUE(Pulse());
    Release(toX, toY);
    Wait();
  }

  // A complex cell at (50, 40), 300 x 200, with an armed selector over it.
  RecordingSelector* AddSelector() {
    cell = AddCell<LumoComplexCell>(50, 40, 300, 200);
    auto* selector = new RecordingSelector;
    cell->Append(selector);
    EXPECT_EQ(cell->Selector, selector);
    selector->DefineForOwner(kLine);
    selector->EnableSelection();
    cell->StartAnimation();
    EXPECT_TRUE(Pulse());
    return selector;
  }

  LumoComplexCell* cell = nullptr;
};

TEST_F(DesktopTest, ADragEitherWayReportsTheSameRectangle) {
  RecordingSelector* selector = AddSelector();
  // Screen (100, 100) is (50, 60) in the cell, (150, 130) is (100, 90): both
  // pixels belong to the rectangle.
  Drag(100, 100, 150, 130);
  Drag(150, 130, 100, 100);
  Drag(150, 100, 100, 130);
  const std::array<int32_t, 4> expected{50, 60, 51, 31};
  EXPECT_EQ(selector->done, (std::vector<std::array<int32_t, 4>>{expected, expected, expected}));
  EXPECT_EQ(selector->heard, selector->done);
  // A click, or a drag along one axis only, reports nothing.
  Drag(120, 120, 120, 120);
  Drag(120, 120, 160, 120);
  Drag(120, 120, 120, 160);
  EXPECT_EQ(selector->done.size(), 3u);
}

TEST_F(DesktopTest, ASecondPressOrEscapeCancelsTheDrag) {
  RecordingSelector* selector = AddSelector();
  Press(100, 100);
  EXPECT_TRUE(selector->Selecting);
  MoveHolding(150, 130);
  Wait();
  Send({platform::MessageKind::LeftButtonDown, 0, 150, 130, platform::kButtonLeft});
  EXPECT_FALSE(selector->Selecting);
  Release(150, 130);
  Wait();
  Press(100, 100);
  MoveHolding(150, 130);
  ASSERT_TRUE(Pulse());
  KeyDown(kEscape);
  EXPECT_FALSE(selector->Selecting);
  Release(150, 130);
  Wait();
  EXPECT_TRUE(selector->done.empty());
  // Disarmed, a press starts nothing.
  selector->DisableSelection();
  Press(100, 100);
  EXPECT_FALSE(selector->Selecting);
  Release(100, 100);
}

TEST_F(DesktopTest, TheOverlayShowsFourLinesWhileDragging) {
  RecordingSelector* selector = AddSelector();
  const uint32_t line = ConvertRGB(kLine);
  const uint32_t ground = Presented(120, 100);
  Press(100, 100);
  MoveHolding(150, 130);
  ASSERT_TRUE(Pulse());
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(120, 100), line);  // top
  EXPECT_EQ(Presented(120, 130), line);  // bottom
  EXPECT_EQ(Presented(100, 115), line);  // left
  EXPECT_EQ(Presented(150, 115), line);  // right
  EXPECT_NE(Presented(120, 115), line);  // inside
  EXPECT_NE(Presented(151, 115), line);  // outside
  Release(150, 130);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(120, 100), ground);
  Wait();

  // A side beyond the selector's area is clipped and shows no line.
  selector->MaxWidth = 80;  // the area ends at screen x 130
  Press(100, 100);
  MoveHolding(150, 130);
  ASSERT_TRUE(Pulse());
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(120, 100), line);
  EXPECT_EQ(Presented(100, 115), line);
  EXPECT_NE(Presented(129, 115), line);
  EXPECT_NE(Presented(150, 115), line);
  Release(150, 130);
}

// A desktop over the whole screen with a button at (50, 50), and a modal
// sprite at (300, 300) that the modal cell takes in.
class ModalTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    desktop = new LumoDesktop;
    level->Append(desktop);
    desktop->DoPopulate();
    EXPECT_EQ((std::vector<int32_t>{desktop->Left, desktop->Top, desktop->Width, desktop->Height}),
              (std::vector<int32_t>{0, 0, Engine->ScreenWidth, Engine->ScreenHeight}));
    button = AddSprite<RecordingControl<LumoButton>>(*desktop, 50, 50, MadeGraphic(20, 20, kControlRed));
    button->SetInput(true);
    button->Enable();
    dialog = AddSprite(*desktop, 300, 300, MadeGraphic(20, 20, kControlBlue));
    dialog->SetInput(true);
    dialog->SetModal(true);
    // Populated before, the desktop is activated now: its modal cell takes
    // the modal sprite.
    desktop->DoActivate();
    ASSERT_NE(desktop->ModalCell, nullptr);
    desktop->StartAnimation();
    desktop->ModalCell->StartAnimation();
    ASSERT_TRUE(Pulse());
  }

  void Click(int32_t x, int32_t y) {
    Press(x, y);
    Release(x, y);
    Wait();
  }

  LumoDesktop* desktop = nullptr;
  RecordingControl<LumoButton>* button = nullptr;
  LumoSprite* dialog = nullptr;
};

TEST_F(ModalTest, AModalSpriteInFrontShieldsTheDesktop) {
  LumoModalCell* modal = desktop->ModalCell;
  EXPECT_EQ(dialog->parent, modal);
  ASSERT_NE(modal->Blocker, nullptr);
  EXPECT_TRUE(modal->Blocker->AnimationPrevented);
  // Nothing modal in front: the button hears its click.
  Click(55, 55);
  EXPECT_EQ(button->executes, 1);

  // Brought to the front, the modal sprite shows the blocker under itself,
  // and the click on the button below is swallowed.
  dialog->MoveToBack();
  EXPECT_FALSE(modal->Blocker->AnimationPrevented);
  EXPECT_EQ(modal->first, modal->Blocker);
  EXPECT_EQ(modal->last, dialog);
  EXPECT_EQ(level->last, modal);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(305, 305), ConvertRGB(kControlBlue));
  Click(55, 55);
  EXPECT_EQ(button->executes, 1);

  // Sent to the back, it hides the blocker: the button hears clicks again.
  dialog->MoveToFront();
  EXPECT_TRUE(modal->Blocker->AnimationPrevented);
  ASSERT_TRUE(Pulse());
  Click(55, 55);
  EXPECT_EQ(button->executes, 2);
}

TEST_F(DesktopTest, TheClientAreaLeavesOutTheAlignedControls) {
  cell = AddCell<LumoComplexCell>(0, 0, 400, 300);
  EXPECT_EQ((std::vector<int32_t>{cell->ClientLeft, cell->ClientTop, cell->ClientWidth, cell->ClientHeight}),
            (std::vector<int32_t>{0, 0, 400, 300}));
  auto* left = AddControl(*cell, 0, 0);
  left->SetAlignment(1);
  left->SetAlignedSize(100);
  left->SetMargin(2);
  cell->CalculateClientArea();
  EXPECT_EQ((std::vector<int32_t>{cell->ClientLeft, cell->ClientTop, cell->ClientWidth, cell->ClientHeight}),
            (std::vector<int32_t>{104, 0, 296, 300}));
  auto* top = AddControl(*cell, 0, 0);
  top->SetAlignment(2);
  top->SetAlignedSize(20);
  top->SetMargin(2);
  auto* right = AddControl(*cell, 0, 0);
  right->SetAlignment(3);
  right->SetAlignedSize(10);
  right->SetMargin(0);
  auto* bottom = AddControl(*cell, 0, 0);
  bottom->SetAlignment(4);
  bottom->SetAlignedSize(6);
  bottom->SetMargin(1);
  // A new viewport computes it again (relative to the viewport).
  cell->SetViewport(10, 20, 400, 300);
  EXPECT_EQ((std::vector<int32_t>{cell->ClientLeft, cell->ClientTop, cell->ClientWidth, cell->ClientHeight}),
            (std::vector<int32_t>{104, 24, 286, 268}));

  // A control laid out in the client area (the engine's bevel width 4 as
  // its margin), or over the whole cell when it does not use it.
  const int32_t m = Engine->DefaultBevelWidth();
  ASSERT_EQ(m, 4);
  struct Row {
    int32_t alignment;
    bool useClientArea;
    std::vector<int32_t> bounds;
  };
  const std::vector<Row> rows = {
      {1, true, {104 + 4, 24 + 4, 30, 268 - 8}},
      {2, true, {104 + 4, 24 + 4, 286 - 8, 30}},
      {3, true, {104 + 286 - 30 - 4, 24 + 4, 30, 268 - 8}},
      {4, true, {104 + 4, 24 + 268 - 30 - 4, 286 - 8, 30}},
      {1, false, {4, 4, 30, 300 - 8}},
      {3, false, {400 - 8 - 30, 4, 30, 300 - 8}},
  };
  auto* laid = AddControl(*cell, 0, 0);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.alignment * 10 + (row.useClientArea ? 1 : 0));
    std::vector<int32_t> bounds(4);
    ASSERT_TRUE(laid->AlignBounds(row.alignment, 30, row.useClientArea, bounds[0], bounds[1], bounds[2], bounds[3]));
    EXPECT_EQ(bounds, row.bounds);
    EXPECT_EQ(laid->Alignment, row.alignment);
    EXPECT_EQ(laid->Margin, m);
  }
}

}  // namespace
}  // namespace framework_testing
