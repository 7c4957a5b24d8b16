#include <cmath>

#include "ResourceFixture.h"
#include "game/YGColorMask.h"
#include "runtime/Alpha.h"

namespace resource_testing {
namespace {

using ColorMaskTest = ResourceTest;

// A graphic of one row whose pixels are coloured where `pattern` has 'x'.
GraphicHandle Row(const std::string& pattern) {
  GraphicHandle graphic = CreateGraphic(static_cast<int32_t>(pattern.size()), 1, sRGB{});
  for (size_t x = 0; x < pattern.size(); ++x) {
    if (pattern[x] == 'x') {
      PaintPixel(graphic, static_cast<int32_t>(x), 0, Rgb(200, 10, 10));
    }
  }
  return graphic;
}

TEST_F(ColorMaskTest, EncodesRunsOfNonBlackPixels) {
  struct Case {
    const char* what;
    std::string pattern;
    std::vector<uint8_t> data;
  };
  const Case cases[] = {
      {"first pixel coloured: a leading empty skip run", "x.x", {0, 1, 1, 1, 0, 0}},
      {"300 masked pixels: 255, an empty skip run, the rest", std::string(300, 'x'), {0, 255, 0, 45, 0, 0}},
      {"all black: the terminator only", "....", {0, 0}},
      {"a trailing skip run is left out", "..xx..", {2, 2, 0, 0}},
      {"a long skip run is split too", std::string(300, '.') + "x", {255, 0, 45, 1, 0, 0}},
  };
  for (const Case& c : cases) {
    GraphicHandle graphic = Row(c.pattern);
    YGColorMask mask(graphic);
    EXPECT_EQ(mask.Data, c.data) << c.what;
    DestroyGraphic(graphic);
  }
}

TEST_F(ColorMaskTest, EncodesRowByRow) {
  GraphicHandle graphic = CreateGraphic(2, 2, sRGB{});
  PaintPixel(graphic, 1, 1, Rgb(1, 1, 1));
  YGColorMask mask(graphic);
  EXPECT_EQ(mask.Data, (std::vector<uint8_t>{3, 1, 0, 0}));
  DestroyGraphic(graphic);
}

TEST_F(ColorMaskTest, ApplyShadesMaskedPixelsOnly) {
  GraphicHandle pattern = Row("xx.");
  YGColorMask mask(pattern);
  GraphicHandle target = CreateGraphic(3, 1, Rgb(255, 255, 255));
  PaintPixel(target, 1, 0, sRGB{});
  mask.Apply(Rgb(255, 0, 0), target);
  EXPECT_EQ(PixelOf(target, 0, 0), Rgb(254, 0, 0));  // white under the mask
  EXPECT_EQ(PixelOf(target, 1, 0), Rgb(0, 0, 0));    // black stays black
  EXPECT_EQ(PixelOf(target, 2, 0), Rgb(255, 255, 255));
  DestroyGraphic(pattern);
  DestroyGraphic(target);
}

TEST_F(ColorMaskTest, AllBlackMaskChangesNothing) {
  GraphicHandle pattern = Row("...");
  YGColorMask mask(pattern);
  GraphicHandle target = CreateGraphic(3, 1, Rgb(90, 60, 30));
  mask.Apply(Rgb(255, 0, 0), target);
  for (int32_t x = 0; x < 3; ++x) {
    EXPECT_EQ(PixelOf(target, x, 0), Rgb(90, 60, 30));
  }
  DestroyGraphic(pattern);
  DestroyGraphic(target);
}

// Data from a file need not fit its frame: runs past the last pixel stop
// there, and data without its terminator stops at its own end.
TEST_F(ColorMaskTest, ApplyStopsAtTheGraphicsEndAndAtTheDataEnd) {
  GraphicHandle target = CreateGraphic(4, 4, Rgb(255, 255, 255));
  YGColorMask longRuns;
  longRuns.Data = {0, 255, 0, 255, 0, 255, 0, 0};
  longRuns.Apply(Rgb(0, 255, 0), target);
  EXPECT_EQ(PixelOf(target, 3, 3), Rgb(0, 254, 0));

  GraphicHandle second = CreateGraphic(4, 4, Rgb(255, 255, 255));
  YGColorMask unterminated;
  unterminated.Data = {0, 5};
  unterminated.Apply(Rgb(0, 0, 255), second);
  EXPECT_EQ(PixelOf(second, 0, 1), Rgb(0, 0, 254));  // the fifth pixel
  EXPECT_EQ(PixelOf(second, 1, 1), Rgb(255, 255, 255));
  DestroyGraphic(target);
  DestroyGraphic(second);
}

// The mask of a frame seen through an alpha map: pixels that are not the
// transparent colour and that the map does not hide.
TEST_F(ColorMaskTest, TwoGraphicConstructorMasksOpaqueVisiblePixels) {
  const sRGB transparent = Engine->TransparentKeyColour();
  GraphicHandle source = CreateGraphic(4, 1, Rgb(200, 30, 30));
  PaintPixel(source, 0, 0, transparent);
  const uint8_t alphaBytes[4] = {255, 255, 0, 255};
  AlphaHandle alpha = CreateAlpha(4, 1, alphaBytes, 4, AlphaKindBytes, kAlphaOriginTopDown);
  ASSERT_NE(alpha, nullptr);
  const int32_t graphicsBefore = LiveGraphicCount();
  YGColorMask mask(4, 1, source, alpha);
  EXPECT_EQ(mask.Data, (std::vector<uint8_t>{1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(LiveGraphicCount(), graphicsBefore) << "the work graphics are freed";
  DestroyAlpha(alpha);
  DestroyGraphic(source);
}

}  // namespace
}  // namespace resource_testing
