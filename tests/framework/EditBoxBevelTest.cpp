#include <gtest/gtest.h>

#include "EditBoxFixture.h"
#include "framework/LumoBevel.h"
#include "framework/LumoEngine.h"

namespace framework_testing {
namespace {

using EditBoxBevelTest = EditBoxFixture;

// A box completed with margin 4, bevel style 0x8011 and all four sides: its
// raised frame shows only while the box has the focus.
TEST_F(EditBoxBevelTest, AFocusOnlyBevelShowsWhileTheBoxHasTheFocus) {
  level->SetBackgroundColour(sRGB{});
  CountingEditBox* box = AddBox(40, 16, 40, 40);
  auto* other = AddBox(40, 16, 40, 100);
  box->SetMargin(4);
  box->SetAlignOffset(0x8011);
  box->SetAlignLimit(15);
  box->Complete();
  ASSERT_NE(box->Bevel, nullptr);
  EXPECT_EQ(box->Bevel->Style, 0x8011u);
  EXPECT_EQ(box->Bevel->Edges, 15u);
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  const uint32_t ground = Presented(36, 48);
  const uint32_t light = ConvertRGB(Engine->BevelColour(0));
  const uint32_t dark = ConvertRGB(Engine->BevelColour(3));
  ASSERT_NE(ground, light);
  EXPECT_EQ(Presented(83, 48), ground);

  box->Focus();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(36, 48), light);  // left, outer line
  EXPECT_EQ(Presented(60, 36), light);  // top
  EXPECT_EQ(Presented(83, 48), dark);   // right
  EXPECT_EQ(Presented(60, 59), dark);   // bottom

  other->Focus();
  EXPECT_FALSE(box->Focused);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(36, 48), ground);
  EXPECT_EQ(Presented(83, 48), ground);

  // Showing the whole box again keeps the bevel hidden while unfocused.
  box->PreventAnimation();
  box->ForceAnimation();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(36, 48), ground);
  box->Focus();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(36, 48), light);
}

}  // namespace
}  // namespace framework_testing
