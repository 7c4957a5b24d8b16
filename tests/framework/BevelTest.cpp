#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlFixture.h"
#include "framework/LumoBevel.h"
#include "framework/LumoCell.h"
#include "framework/LumoScrollBar.h"
#include "runtime/GraphicFiles.h"

namespace framework_testing {
namespace {

// The four bevel colours, outermost light to outermost dark, and the face.
constexpr sRGB kOuterLight{0, 0, 248};
constexpr sRGB kInnerLight{0, 248, 0};
constexpr sRGB kInnerDark{248, 0, 0};
constexpr sRGB kOuterDark{0, 248, 248};
constexpr sRGB kFace{0, 124, 248};
constexpr sRGB kArrow{0, 128, 128};
constexpr sRGB kThumb{255, 0, 0};

// A running level whose engine has five distinct bevel colours, and a
// 20 x 20 control at (100, 100) with a margin of 4 in an animating cell.
class BevelTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    StartWithLevel();
    Engine->SetStyleColour2(kOuterLight);
    Engine->SetStyleColour3(kInnerLight);
    Engine->SetStyleColour4(kInnerDark);
    Engine->SetStyleColour5(kOuterDark);
    Engine->SetStyleColour6(kFace);
    cell = AddCell(0, 0, 400, 300);
    control = AddControl(*cell, 100, 100);
    control->SetMargin(4);
    cell->StartAnimation();
    ASSERT_TRUE(Pulse());
    background = Presented(110, 96);
  }

  LumoBevel* AddBevel(uint32_t style, uint32_t edges) {
    auto* bevel = new LumoBevel;
    cell->Append(bevel);
    bevel->Define(control, style, edges);
    EXPECT_TRUE(Pulse());
    return bevel;
  }

  static uint32_t Pixel(const sRGB& colour) { return ConvertRGB(colour); }

  LumoCell* cell = nullptr;
  RecordingControl<>* control = nullptr;
  uint32_t background = 0;
};

// The frame is 4 pixels wide around (100, 100, 20, 20): two outer lines,
// two inner ones on each side.
TEST_F(BevelTest, EachSideShowsItsHalvesInTheStylesColours) {
  struct Case {
    uint32_t style;
    // left outer, left inner, top outer, top inner, right outer, right inner,
    // bottom outer, bottom inner; a missing colour: the background shows
    std::vector<const sRGB*> colours;
  };
  const std::vector<Case> cases = {
      {0x11, {&kOuterLight, &kInnerLight, &kOuterLight, &kInnerLight, &kOuterDark, &kInnerDark, &kOuterDark,
              &kInnerDark}},
      {0x22, {&kOuterDark, &kInnerDark, &kOuterDark, &kInnerDark, &kOuterLight, &kInnerLight, &kOuterLight,
              &kInnerLight}},
      {0x21, {&kOuterLight, &kInnerDark, &kOuterLight, &kInnerDark, &kOuterDark, &kInnerLight, &kOuterDark,
              &kInnerLight}},
      {0x44, {&kFace, &kFace, &kFace, &kFace, &kFace, &kFace, &kFace, &kFace}},
      {0x81, {&kOuterLight, nullptr, &kOuterLight, nullptr, &kOuterDark, nullptr, &kOuterDark, nullptr}},
      {0x01, {&kOuterLight, nullptr, &kOuterLight, nullptr, &kOuterDark, nullptr, &kOuterDark, nullptr}},
      {0x18, {nullptr, &kInnerLight, nullptr, &kInnerLight, nullptr, &kInnerDark, nullptr, &kInnerDark}},
  };
  // Relative to the control's top-left corner.
  const int32_t points[8][2] = {{-4, 10}, {-1, 10}, {10, -4}, {10, -1}, {23, 10}, {20, 10}, {10, 23}, {10, 20}};
  int32_t x = 20;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    // Each style frames a control of its own.
    auto* framed = AddControl(*cell, x, 200);
    framed->SetMargin(4);
    auto* bevel = new LumoBevel;
    cell->Append(bevel);
    bevel->Define(framed, c.style, 15);
    cell->StartAnimation();
    ASSERT_TRUE(Pulse());
    for (int index = 0; index < 8; ++index) {
      SCOPED_TRACE(index);
      const sRGB* colour = c.colours[index];
      EXPECT_EQ(Presented(x + points[index][0], 200 + points[index][1]),
                colour != nullptr ? Pixel(*colour) : background);
    }
    x += 40;
  }
}

TEST_F(BevelTest, TheSidesMeetOnTheCornersDiagonals) {
  AddBevel(0x11, 15);
  // Top left: the left side below the diagonal, the top side on and above it.
  EXPECT_EQ(Presented(96, 97), Pixel(kOuterLight));
  EXPECT_EQ(Presented(98, 97), Pixel(kOuterLight));  // top, second outer line
  EXPECT_EQ(Presented(99, 98), Pixel(kInnerLight));
  // Bottom left: light left side above the diagonal, dark bottom on it.
  EXPECT_EQ(Presented(96, 122), Pixel(kOuterLight));
  EXPECT_EQ(Presented(97, 123), Pixel(kOuterDark));
  EXPECT_EQ(Presented(97, 122), Pixel(kOuterDark));
  EXPECT_EQ(Presented(96, 123), Pixel(kOuterDark));
  // Top right: light top above the diagonal, dark right side below it.
  EXPECT_EQ(Presented(122, 96), Pixel(kOuterLight));
  EXPECT_EQ(Presented(123, 97), Pixel(kOuterDark));
  // The control itself is not covered.
  EXPECT_EQ(Presented(100, 100), Pixel(kControlRed));
}

TEST_F(BevelTest, OnlyTheChosenSidesAreDrawn) {
  LumoBevel* bevel = AddBevel(0x11, 0);
  for (uint32_t side : {1u, 2u, 4u, 8u}) {
    EXPECT_EQ(bevel->Edge(side), nullptr);
  }
  EXPECT_EQ(Presented(96, 110), background);
  EXPECT_EQ(Presented(110, 96), background);
  DestroyObject(bevel);
  bevel = AddBevel(0x11, 2 | 8);
  EXPECT_EQ(bevel->Edge(1), nullptr);
  EXPECT_EQ(Presented(96, 110), background);
  EXPECT_EQ(Presented(110, 96), Pixel(kOuterLight));
  EXPECT_EQ(Presented(110, 123), Pixel(kOuterDark));
  // Without a control or an empty rectangle nothing is drawn.
  EXPECT_FALSE(bevel->DrawFrame(0, 0, 0, 10, 2));
  bevel->SetControl(nullptr);
  EXPECT_FALSE(bevel->DrawFrame(0, 0, 10, 10, 2));
}

TEST_F(BevelTest, TheBevelFollowsItsControl) {
  LumoBevel* bevel = AddBevel(0x11, 15);
  EXPECT_EQ(bevel->OwnerBody, control->Body.get());
  EXPECT_EQ(bevel->LeftEdge->OwnerBody, bevel->Body.get());
  control->PreventAnimation();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(96, 110), background);
  control->ForceAnimation();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Presented(96, 110), Pixel(kOuterLight));
}

TEST_F(BevelTest, AScrollBarHasItsDefaultBevelOnceCompleted) {
  for (const char* kind : {"Left", "Right"}) {
    for (const char state : {'A', 'H', 'D', 'P'}) {
      GraphicHandle graphic = CreateGraphic(10, 10, kArrow);
      ASSERT_TRUE(SaveGraphic(graphic, (std::string("_B") + state + kind + ".bmp").c_str()));
      DestroyGraphic(graphic);
    }
  }
  for (const char state : {'A', 'H', 'D', 'P'}) {
    GraphicHandle graphic = CreateGraphic(10, 10, kThumb);
    ASSERT_TRUE(SaveGraphic(graphic, (std::string("_B") + state + "Thumb.bmp").c_str()));
    DestroyGraphic(graphic);
  }
  auto* bar = new LumoScrollBar;
  cell->Append(bar);
  ASSERT_TRUE(bar->DefineStandard(20, 200, 130, true, 5, 1, 0));
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(bar->Bevel, nullptr);
  EXPECT_EQ(Presented(17, 205), background);
  bar->Complete();
  ASSERT_NE(bar->Bevel, nullptr);
  EXPECT_EQ(bar->Bevel->Style, static_cast<uint32_t>(Engine->DefaultBevelStyle()));
  EXPECT_EQ(bar->Bevel->Edges, 15u);
  ASSERT_TRUE(Pulse());
  // Around the arrows and the track (20..150 x 200..210), 4 wide: raised
  // outside, sunken inside.
  EXPECT_EQ(Presented(16, 205), Pixel(kOuterLight));
  EXPECT_EQ(Presented(19, 205), Pixel(kInnerDark));
  EXPECT_EQ(Presented(153, 205), Pixel(kOuterDark));
  EXPECT_EQ(Presented(150, 205), Pixel(kInnerLight));
  EXPECT_EQ(Presented(80, 196), Pixel(kOuterLight));
  EXPECT_EQ(Presented(80, 213), Pixel(kOuterDark));
  // A second completion makes no second bevel.
  LumoBevel* first = bar->Bevel;
  bar->Complete();
  EXPECT_EQ(bar->Bevel, first);
}

}  // namespace
}  // namespace framework_testing
