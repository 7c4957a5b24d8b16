#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PixelFixture.h"
#include "runtime/Blit.h"
#include "runtime/Viewports.h"

namespace {

class ViewportTest : public PixelFixture {
 protected:
  void SetUp() override {
    PixelFixture::SetUp();
    StartAt(16);  // 640 x 480
  }
  void TearDown() override {
    EXPECT_EQ(LiveViewportCount(), 0);
    PixelFixture::TearDown();
  }

  static std::vector<int32_t> Bounds(ViewportHandle viewport) {
    std::vector<int32_t> bounds(4, -1);
    GetViewportBounds(viewport, bounds[0], bounds[1], bounds[2], bounds[3]);
    return bounds;
  }
};

TEST_F(ViewportTest, CreateViewportCutsToTheScreen) {
  struct Case {
    int32_t left, top, width, height;
    std::vector<int32_t> bounds;  // left, top, width, height; empty: refused
    const char* message;
  };
  // clang-format off
  const Case cases[] = {
      {-20, 10, 100, 50, {0, 10, 80, 50}, nullptr},
      {630, 0, 100, 10, {630, 0, 10, 10}, nullptr},
      {0, 0, 2000, 2000, {0, 0, 640, 480}, nullptr},
      {5, -30, 10, 40, {5, 0, 10, 10}, nullptr},
      {0, 0, 0, 10, {}, "CreateViewport() Invalid size (Width=0, Height=10)\n"},
      {0, 0, 10, -1, {}, "CreateViewport() Invalid size (Width=10, Height=-1)\n"},
      {640, 0, 10, 10, {}, "CreateViewport() Invisible viewport (Left=640)\n"},
      {-20, 0, 20, 10, {}, "CreateViewport() Invisible viewport (Right=0)\n"},
      {0, 480, 10, 10, {}, "CreateViewport() Invisible viewport (Top=480)\n"},
      {0, -30, 10, 30, {}, "CreateViewport() Invisible viewport (Bottom=0)\n"},
  };
  // clang-format on
  for (const Case& test : cases) {
    SCOPED_TRACE(std::to_string(test.left) + ", " + std::to_string(test.top) + ", " +
                 std::to_string(test.width) + ", " + std::to_string(test.height));
    ViewportHandle viewport = CreateViewport(test.left, test.top, test.width, test.height);
    if (test.bounds.empty()) {
      EXPECT_EQ(viewport, nullptr);
      EXPECT_TRUE(LogHas(test.message));
      continue;
    }
    ASSERT_NE(viewport, nullptr);
    EXPECT_EQ(Bounds(viewport), test.bounds);
    DestroyViewport(viewport);
  }
}

TEST_F(ViewportTest, MoveViewportKeepsTheCutSize) {
  ViewportHandle viewport = CreateViewport(-20, 10, 100, 50);
  MoveViewport(viewport, 100, 100);
  EXPECT_EQ(Bounds(viewport), (std::vector<int32_t>{100, 100, 80, 50}));
  MoveViewport(viewport, 600, 450);
  EXPECT_EQ(Bounds(viewport), (std::vector<int32_t>{600, 450, 40, 30}));
  MoveViewport(viewport, 700, 0);
  EXPECT_TRUE(LogHas("MoveViewport() Invisible viewport (Left=700)\n"));
  EXPECT_EQ(Bounds(viewport), (std::vector<int32_t>{600, 450, 40, 30}));
  MoveViewport(viewport, 10, -30);
  EXPECT_TRUE(LogHas("MoveViewport() Invisible viewport (Bottom=0)\n"));
  EXPECT_EQ(Bounds(viewport), (std::vector<int32_t>{600, 450, 40, 30}));
  DestroyViewport(viewport);
}

TEST_F(ViewportTest, NullAndUnknownViewportsAreRefused) {
  int32_t value = 0;
  EXPECT_FALSE(GetViewportBounds(nullptr, value, value, value, value));
  MoveViewport(nullptr, 0, 0);
  FillViewport(nullptr, sRGB{});
  DestroyViewport(nullptr);
  ViewportHandle viewport = CreateViewport(0, 0, 10, 10);
  DestroyViewport(viewport);
  DestroyViewport(viewport);
  EXPECT_TRUE(LogHas("GetViewportBounds() Null pointer to the viewport specified\n"));
  EXPECT_TRUE(LogHas("MoveViewport() Null pointer to the viewport specified\n"));
  EXPECT_TRUE(LogHas("FillViewport() Null pointer to the viewport specified\n"));
  EXPECT_TRUE(LogHas("DestroyViewport() Null pointer to the viewport specified\n"));
  EXPECT_TRUE(LogHas("DestroyViewport() Unknown viewport specified (Viewport="));
}

TEST_F(ViewportTest, FillViewportFillsOnlyItsRectangle) {
  FillGraphic(GetBackground(), sRGB{});
  ViewportHandle viewport = CreateViewport(630, 470, 20, 20);
  FillViewport(viewport, sRGB{255, 255, 255});
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 630, 470), 0xFFFFu);
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 639, 479), 0xFFFFu);
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 629, 470), 0u);
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 630, 469), 0u);
  DestroyViewport(viewport);
}

TEST_F(ViewportTest, ViewportToGraphicShrinksTheSourceWithTheCutDestination) {
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      SetGraphicPixel(GetBackground(), 100 + x, 200 + y, PatternPixel(x, y, 1));
    }
  }
  ViewportHandle viewport = CreateViewport(100, 200, 8, 8);
  ScopedGraphic graphic(CreateGraphic(6, 6, sRGB{}));
  ViewportToGraphic(viewport, graphic.get(), -2, 3);
  EXPECT_EQ(GetGraphicPixel(graphic.get(), 0, 3), PatternPixel(2, 0, 1));
  EXPECT_EQ(GetGraphicPixel(graphic.get(), 5, 5), PatternPixel(7, 2, 1));
  EXPECT_EQ(GetGraphicPixel(graphic.get(), 0, 2), 0u);
  ViewportToGraphic(viewport, graphic.get(), 6, 0);  // nothing lands
  ViewportToGraphic(viewport, nullptr, 0, 0);
  EXPECT_TRUE(LogHas("ViewportToGraphic() Null pointer to the graphic specified\n"));
  DestroyViewport(viewport);
}

TEST_F(ViewportTest, AViewportOffASmallerScreenIsNeverReachedOutside) {
  StopDisplay();
  tDisplaySettings large = Settings(false, true);
  large.ScreenWidth = 800;
  large.ScreenHeight = 600;
  ASSERT_TRUE(StartDisplay(large));
  ViewportHandle viewport = CreateViewport(620, 460, 150, 100);
  StopDisplay();
  ASSERT_TRUE(StartDisplay(Settings(false, true)));  // 640 x 480 now
  FillGraphic(GetBackground(), sRGB{});
  ScopedGraphic graphic(MakePatternGraphic(200, 200, 2));
  tBlitData data;
  tKeyData key;
  const tCopyData copy{0, 0, 0, 0, 200, 200};
  FillViewport(viewport, sRGB{255, 255, 255});
  EXPECT_TRUE(GraphicToViewport(graphic.get(), viewport, &data));
  EXPECT_TRUE(StretchGraphicToViewport(graphic.get(), viewport, &key));
  EXPECT_TRUE(PartialGraphicToViewport(graphic.get(), viewport, &copy));
  ViewportToGraphic(viewport, graphic.get(), 0, 0);
  // Only the part of the viewport on the smaller screen was drawn.
  EXPECT_NE(GetGraphicPixel(GetBackground(), 639, 479), 0u);
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 619, 479), 0u);
  DestroyViewport(viewport);
}

}  // namespace
