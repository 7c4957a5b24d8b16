#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "PixelFixture.h"
#include "runtime/Drawing.h"

namespace {

using Point = std::pair<int32_t, int32_t>;

class DrawingTest : public PixelFixture {
 protected:
  void SetUp() override {
    PixelFixture::SetUp();
    StartAt(16);
  }

  // The graphic holds ink exactly at the points and paper everywhere else.
  static void ExpectInkAt(GraphicHandle graphic, const std::set<Point>& points, uint32_t ink,
                          uint32_t paper) {
    const PixelImage image = ReadImage(graphic);
    for (int32_t y = 0; y < image.height; ++y) {
      for (int32_t x = 0; x < image.width; ++x) {
        EXPECT_EQ(image.at(x, y), points.count({x, y}) ? ink : paper) << "pixel " << x << ", " << y;
      }
    }
  }

  static std::set<Point> Block(int32_t left, int32_t top, int32_t width, int32_t height) {
    std::set<Point> points;
    for (int32_t y = top; y < top + height; ++y) {
      for (int32_t x = left; x < left + width; ++x) {
        points.insert({x, y});
      }
    }
    return points;
  }
};

constexpr uint32_t kInk = 0xF81F;

TEST_F(DrawingTest, NextLineDrawsAndMovesTheCursorToTheEndPoint) {
  struct Case {
    const char* name;
    int32_t dx;
    int32_t dy;
    std::set<Point> drawn;
    Point cursor;
  };
  // From (5, 5) on a 16 x 16 graphic.
  // clang-format off
  const Case cases[] = {
      {"row of 5, end excluded", 5, 0, {{5, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 5}}, {10, 5}},
      {"row backwards covers the pixels before", -3, 0, {{2, 5}, {3, 5}, {4, 5}}, {2, 5}},
      {"column of 4", 0, 4, {{5, 5}, {5, 6}, {5, 7}, {5, 8}}, {5, 9}},
      {"column upwards", 0, -2, {{5, 3}, {5, 4}}, {5, 3}},
      {"diagonal draws both ends", 3, 3, {{5, 5}, {6, 6}, {7, 7}, {8, 8}}, {8, 8}},
      {"shallow slope", 4, 2, {{5, 5}, {6, 6}, {7, 6}, {8, 7}, {9, 7}}, {9, 7}},
      {"steep slope up and left", -2, -4, {{5, 5}, {4, 4}, {4, 3}, {3, 2}, {3, 1}}, {3, 1}},
      {"nothing", 0, 0, {}, {5, 5}},
      {"cut at the right edge", 14, 0, Block(5, 5, 11, 1), {19, 5}},
      {"slope leaving through the top", 2, -9, {{5, 5}, {5, 4}, {5, 3}, {6, 2}, {6, 1}, {6, 0}}, {7, -4}},
  };
  // clang-format on
  ScopedGraphic graphic(CreateGraphic(16, 16, sRGB{}));
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    FillGraphic(graphic.get(), sRGB{});
    ScopedLock locked(graphic.get());
    SelectPixelAt(locked.get(), 5, 5);
    NextLine(locked.get(), test.dx, test.dy, kInk);
    EXPECT_EQ(GetPixelX(locked.get()), test.cursor.first);
    EXPECT_EQ(GetPixelY(locked.get()), test.cursor.second);
    ExpectInkAt(graphic.get(), test.drawn, kInk, 0);
  }
}

TEST_F(DrawingTest, PlotLineStartsAtItsPoint) {
  ScopedGraphic graphic(CreateGraphic(8, 8, sRGB{}));
  ScopedLock locked(graphic.get());
  PlotLine(locked.get(), 1, 6, 3, -3, kInk);
  EXPECT_EQ(GetPixelX(locked.get()), 4);
  EXPECT_EQ(GetPixelY(locked.get()), 3);
  ExpectInkAt(graphic.get(), {{1, 6}, {2, 5}, {3, 4}, {4, 3}}, kInk, 0);
}

TEST_F(DrawingTest, RectanglesFollowTheSignAndCursorRules) {
  enum class Operation { Fill, FillNext, ReplacePaper, ReplaceInkAndPaper };
  struct Case {
    const char* name;
    Operation operation;
    Point start;
    int32_t width;
    int32_t height;
    std::set<Point> drawn;
    Point cursor;
  };
  // On an 8 x 8 graphic; the cursor starts at `start`.
  // clang-format off
  const Case cases[] = {
      {"fill", Operation::Fill, {2, 3}, 3, 2, Block(2, 3, 3, 2), {2, 3}},
      {"fill backwards moves the cursor first and leaves it there", Operation::Fill, {5, 5}, -2, -3, Block(3, 2, 2, 3), {3, 2}},
      {"fill of width 0", Operation::Fill, {1, 1}, 0, 5, {}, {1, 1}},
      {"fill cut at the bottom-right", Operation::Fill, {6, 6}, 5, 5, Block(6, 6, 2, 2), {6, 6}},
      {"fill cut at the top-left", Operation::Fill, {1, 1}, -4, -4, Block(0, 0, 1, 1), {-3, -3}},
      {"fill from the cursor", Operation::FillNext, {4, 0}, 2, 3, Block(4, 0, 2, 3), {4, 0}},
      {"replace ends at the opposite corner", Operation::ReplacePaper, {1, 1}, 3, 2, Block(1, 1, 3, 2), {4, 3}},
      {"replace backwards ends where it started", Operation::ReplacePaper, {4, 3}, -3, -2, Block(1, 1, 3, 2), {4, 3}},
      {"replace cut at the right", Operation::ReplaceInkAndPaper, {6, 2}, 4, 1, Block(6, 2, 2, 1), {10, 3}},
      {"replace of height 0", Operation::ReplaceInkAndPaper, {2, 2}, 3, 0, {}, {2, 2}},
  };
  // clang-format on
  ScopedGraphic graphic(CreateGraphic(8, 8, sRGB{}));
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    FillGraphic(graphic.get(), sRGB{});
    ScopedLock locked(graphic.get());
    SelectPixelAt(locked.get(), test.start.first, test.start.second);
    switch (test.operation) {
      case Operation::Fill:
        FillRectangle(locked.get(), test.start.first, test.start.second, test.width, test.height,
                      kInk);
        break;
      case Operation::FillNext:
        FillNextRectangle(locked.get(), test.width, test.height, kInk);
        break;
      case Operation::ReplacePaper:
        ReplacePaper(locked.get(), 0, kInk, 0x1234, test.width, test.height);
        break;
      case Operation::ReplaceInkAndPaper:
        ReplaceInkAndPaper(locked.get(), 0x1111, 0x2222, 0, kInk, test.width, test.height);
        break;
    }
    EXPECT_EQ(GetPixelX(locked.get()), test.cursor.first);
    EXPECT_EQ(GetPixelY(locked.get()), test.cursor.second);
    ExpectInkAt(graphic.get(), test.drawn, kInk, 0);
  }
}

TEST_F(DrawingTest, ReplacementsRecolourByValue) {
  ScopedGraphic graphic(CreateGraphic(3, 1, sRGB{}));
  const uint32_t ink = GetColor(255, 255, 255);
  const uint32_t paper = GetColor(0, 0, 255);
  const uint32_t other = GetColor(0, 255, 0);
  SetGraphicPixel(graphic.get(), 0, 0, ink);
  SetGraphicPixel(graphic.get(), 1, 0, paper);
  SetGraphicPixel(graphic.get(), 2, 0, other);
  {
    ScopedLock locked(graphic.get());
    ReplaceInkAndPaper(locked.get(), ink, 0x0001, paper, 0x0002, 3, 1);
  }
  EXPECT_EQ(ReadImage(graphic.get()).pixels, (std::vector<uint32_t>{0x0001, 0x0002, other}));
  {
    ScopedLock locked(graphic.get());
    ReplacePaper(locked.get(), 0x0002, 0x00AA, 0x00BB, 3, 1);
  }
  EXPECT_EQ(ReadImage(graphic.get()).pixels, (std::vector<uint32_t>{0x00BB, 0x00AA, 0x00BB}));
}

TEST_F(DrawingTest, PixelateSetsAStaggeredGrid) {
  struct Case {
    const char* name;
    int32_t spacing;
    int32_t offset;
    bool flag;
    std::set<Point> drawn;
  };
  // clang-format off
  const Case cases[] = {
      {"even rows from the offset", 2, 1, false, {{1, 0}, {4, 0}, {7, 0}, {2, 1}, {5, 1}, {1, 2}, {4, 2}, {7, 2}}},
      {"the flag swaps the starts", 2, 1, true, {{2, 0}, {5, 0}, {1, 1}, {4, 1}, {7, 1}, {2, 2}, {5, 2}}},
      {"an offset of 0 does nothing", 2, 0, false, {}},
      {"a negative spacing does nothing", -1, 1, false, {}},
  };
  // clang-format on
  ScopedGraphic graphic(CreateGraphic(8, 3, sRGB{}));
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    FillGraphic(graphic.get(), sRGB{});
    PixelateGraphic(graphic.get(), kInk, test.spacing, test.offset, test.flag);
    ExpectInkAt(graphic.get(), test.drawn, kInk, 0);
  }
  PixelateGraphic(nullptr, kInk, 1, 1, false);
  EXPECT_TRUE(LogHas("PixelateGraphic() Null pointer to the graphic specified\n"));
}

TEST_F(DrawingTest, CropGraphicFindsTheSmallestOpaqueRectangle) {
  const sRGB transparent{0, 255, 0};
  ScopedGraphic graphic(CreateGraphic(12, 8, transparent));
  int32_t left = -1;
  int32_t top = -1;
  int32_t width = -1;
  int32_t height = -1;
  EXPECT_EQ(CropGraphic(graphic.get(), transparent, left, top, width, height), nullptr);
  EXPECT_TRUE(LogHas("CropGraphic() Graphic is all transparent (Item="));

  SetGraphicPixel(graphic.get(), 7, 3, kInk);
  ScopedGraphic single(CropGraphic(graphic.get(), transparent, left, top, width, height));
  ASSERT_NE(single.get(), nullptr);
  EXPECT_EQ((std::vector<int32_t>{left, top, width, height}), (std::vector<int32_t>{7, 3, 1, 1}));
  EXPECT_EQ(GetGraphicPixel(single.get(), 0, 0), kInk);

  SetGraphicPixel(graphic.get(), 2, 6, 0x1234);
  SetGraphicPixel(graphic.get(), 9, 1, 0x4321);
  ScopedGraphic wider(CropGraphic(graphic.get(), transparent, left, top, width, height));
  ASSERT_NE(wider.get(), nullptr);
  EXPECT_EQ((std::vector<int32_t>{left, top, width, height}), (std::vector<int32_t>{2, 1, 8, 6}));
  EXPECT_EQ(GetGraphicPixel(wider.get(), 0, 5), 0x1234u);
  EXPECT_EQ(GetGraphicPixel(wider.get(), 7, 0), 0x4321u);
  EXPECT_EQ(GetGraphicPixel(wider.get(), 5, 2), kInk);
}

TEST_F(DrawingTest, NullLockedGraphicIsLogged) {
  NextLine(nullptr, 1, 1, kInk);
  FillRectangle(nullptr, 0, 0, 1, 1, kInk);
  EXPECT_TRUE(LogHas("NextLine() Null pointer to the locked graphic specified\n"));
  EXPECT_TRUE(LogHas("FillRectangle() Null pointer to the locked graphic specified\n"));
}

}  // namespace
