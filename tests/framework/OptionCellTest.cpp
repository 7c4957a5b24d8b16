#include <gtest/gtest.h>

#include <vector>

#include "ControlFixture.h"
#include "framework/LumoDesktop.h"
#include "framework/LumoOption.h"

namespace framework_testing {
namespace {

// Menu entries among the controls of a cell: they take no room of the
// client area, and the cell's focus walks that skip options pass over them.
class OptionCellTest : public ControlFixture {
 protected:
  // An enabled, focusable option of the cell: a 20 x 20 square.
  LumoOption* AddOptionControl(LumoCell& target, int32_t x, int32_t y) {
    auto* option = AddSprite<LumoOption>(target, x, y, MadeGraphic(20, 20, kControlGreen));
    option->Enable();
    return option;
  }
};

TEST_F(OptionCellTest, AlignedOptionsTakeNoRoomOfTheClientArea) {
  StartWithLevel();
  auto* cell = AddCell<LumoComplexCell>(0, 0, 400, 300);
  LumoOption* option = AddOptionControl(*cell, 0, 0);
  option->SetAlignment(1);
  option->SetAlignedSize(100);
  option->SetMargin(2);
  cell->CalculateClientArea();
  EXPECT_EQ((std::vector<int32_t>{cell->ClientLeft, cell->ClientTop, cell->ClientWidth, cell->ClientHeight}),
            (std::vector<int32_t>{0, 0, 400, 300}));
  // A plain control aligned the same takes its 104 pixels.
  RecordingControl<>* control = AddControl(*cell, 0, 0);
  control->SetAlignment(1);
  control->SetAlignedSize(100);
  control->SetMargin(2);
  cell->CalculateClientArea();
  EXPECT_EQ((std::vector<int32_t>{cell->ClientLeft, cell->ClientTop, cell->ClientWidth, cell->ClientHeight}),
            (std::vector<int32_t>{104, 0, 296, 300}));
}

// The order: an option, a control, an option, a control, an option.
TEST_F(OptionCellTest, TheFocusWalksSkipOptionsOnlyWhenAskedTo) {
  StartWithLevel();
  LumoCell* cell = AddCell(0, 0, 400, 300);
  LumoOption* leading = AddOptionControl(*cell, 0, 0);
  RecordingControl<>* first = AddControl(*cell, 30, 0);
  LumoOption* middle = AddOptionControl(*cell, 60, 0);
  RecordingControl<>* second = AddControl(*cell, 90, 0);
  LumoOption* trailing = AddOptionControl(*cell, 120, 0);
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());

  EXPECT_EQ(cell->GetFirstFocus(false), leading);
  EXPECT_EQ(cell->GetFirstFocus(true), first);
  EXPECT_EQ(cell->GetLastFocus(false), trailing);
  EXPECT_EQ(cell->GetLastFocus(true), second);
  EXPECT_EQ(cell->GetNextFocus(first, false), middle);
  EXPECT_EQ(cell->GetNextFocus(first, true), second);
  EXPECT_EQ(cell->GetNextFocus(second, true), first);  // round past the trailing and leading options
  EXPECT_EQ(cell->GetPreviousFocus(second, false), middle);
  EXPECT_EQ(cell->GetPreviousFocus(second, true), first);
  EXPECT_EQ(cell->GetPreviousFocus(first, true), second);
  // From an option, the walk goes to the next control that is not one.
  EXPECT_EQ(cell->GetNextFocus(middle, true), second);

  // Tab from a control goes to the next control; disabling the focused one
  // hands the focus on past the options too.
  first->Focus();
  Key(kTab);
  EXPECT_TRUE(second->Focused);
  EXPECT_FALSE(trailing->Focused);
  second->Disable();
  EXPECT_TRUE(first->Focused);
  EXPECT_FALSE(leading->Focused);
  EXPECT_FALSE(middle->Focused);
}

}  // namespace
}  // namespace framework_testing
