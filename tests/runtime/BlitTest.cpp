#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "PixelFixture.h"
#include "platform/Testing.h"
#include "runtime/Blit.h"
#include "runtime/KernelChoice.h"
#include "runtime/Viewports.h"

namespace {

using platform::SurfaceResult;

class BlitTest : public PixelFixture {
 protected:
  void TearDown() override {
    ForcePortableKernels(false);
    PixelFixture::TearDown();
  }
};

// ---- a straightforward reference of a keyed placement ----

// Whether a pixel is keyed: every channel between the key colours' channels.
bool InKeyRange(uint32_t pixel, uint32_t low, uint32_t high) {
  return GetRed(pixel) >= GetRed(low) && GetRed(pixel) <= GetRed(high) &&
         GetGreen(pixel) >= GetGreen(low) && GetGreen(pixel) <= GetGreen(high) &&
         GetBlue(pixel) >= GetBlue(low) && GetBlue(pixel) <= GetBlue(high);
}

PixelImage ReferencePlacement(const PixelImage& source, PixelImage destination, int32_t left,
                              int32_t top, const tKeyData& key) {
  const uint32_t low = ConvertRGB(key.Low);
  const uint32_t high = key.Mode == KeyRange ? ConvertRGB(key.High) : low;
  for (int32_t y = 0; y < source.height; ++y) {
    for (int32_t x = 0; x < source.width; ++x) {
      const uint32_t pixel = source.at(x, y);
      if (!destination.Contains(left + x, top + y) ||
          (key.Mode != KeyNone && InKeyRange(pixel, low, high))) {
        continue;
      }
      destination.at(left + x, top + y) = pixel;
    }
  }
  return destination;
}

// A source whose corners and a few inner pixels carry the key colours.
GraphicHandle MakeKeyedSource() {
  GraphicHandle source = MakePatternGraphic(8, 6, 1);
  const uint32_t red = GetColor(255, 0, 0);
  for (auto [x, y] : {std::pair{0, 0}, {7, 0}, {0, 5}, {7, 5}, {3, 2}}) {
    SetGraphicPixel(source, x, y, red);
  }
  // The dark range: each channel inside, one pixel just outside on green.
  SetGraphicPixel(source, 4, 2, GetColor(8, 16, 24));
  SetGraphicPixel(source, 1, 4, GetColor(48, 48, 48));
  SetGraphicPixel(source, 5, 3, GetColor(8, 96, 24));
  return source;
}

TEST_F(BlitTest, KeyedPlacementsMatchTheReferenceOnEverySide) {
  tKeyData oneColor;
  oneColor.Mode = KeyColor;
  oneColor.Low = sRGB{0, 0, 255};
  tKeyData range;
  range.Mode = KeyRange;
  range.Low = sRGB{0, 0, 0};
  range.High = sRGB{48, 48, 48};
  tKeyData none;
  struct Position {
    int32_t left;
    int32_t top;
  };
  // Cut on the left, top, right, bottom and corners, inside, and wholly outside.
  const Position positions[] = {{-3, 2}, {2, -4}, {6, 1}, {1, 5},  {-5, -3}, {7, 6},
                                {-4, 6}, {6, -2}, {1, 1}, {-8, 0}, {10, 0},  {0, 9}};
  for (int32_t depth : {16, 15, 24, 32}) {
    SCOPED_TRACE("depth " + std::to_string(depth));
    platform::testing::ResetDisplaySettings();
    StartAt(depth);
    ScopedGraphic source(MakeKeyedSource());
    ScopedGraphic destination(MakePatternGraphic(10, 9, 2));
    const PixelImage sourceImage = ReadImage(source.get());
    const PixelImage background = ReadImage(destination.get());
    for (const tKeyData& key : {oneColor, range, none}) {
      for (const Position& position : positions) {
        SCOPED_TRACE("mode " + std::to_string(key.Mode) + " at " + std::to_string(position.left) +
                     ", " + std::to_string(position.top));
        WriteImage(destination.get(), background);
        tBlitData data;
        data.Left = position.left;
        data.Top = position.top;
        data.Key = key;
        EXPECT_TRUE(GraphicToGraphic(source.get(), destination.get(), &data));
        EXPECT_EQ(CountDifferences(ReadImage(destination.get()),
                                   ReferencePlacement(sourceImage, background, position.left,
                                                      position.top, key)),
                  0);
      }
    }
    StopDisplay();
  }
}

// Rows wide enough for the vector kernels, with keyed pixels anywhere in a
// vector and a remainder after the last whole vector: both builds of the
// kernels (the one for any processor, and AVX2's where the processor has it)
// place what the reference places.
TEST_F(BlitTest, WideKeyedRowsMatchTheReferenceWithEitherKernelBuild) {
  tKeyData oneColor;
  oneColor.Mode = KeyColor;
  oneColor.Low = sRGB{0, 0, 255};
  tKeyData range;
  range.Mode = KeyRange;
  range.Low = sRGB{0, 0, 0};
  range.High = sRGB{48, 48, 48};
  std::vector<bool> portableChoices{true};
  if (ProcessorHasAvx2()) {
    portableChoices.push_back(false);
  }
  for (const bool portable : portableChoices) {
    ForcePortableKernels(portable);
    for (int32_t depth : {16, 15, 24, 32}) {
      platform::testing::ResetDisplaySettings();
      StartAt(depth);
      for (int32_t width : {1, 7, 8, 15, 16, 17, 31, 33, 64, 67}) {
        SCOPED_TRACE(::testing::Message() << "depth " << depth << " width " << width
                                          << (portable ? " portable" : " AVX2"));
        constexpr int32_t kHeight = 3;
        ScopedGraphic source(MakePatternGraphic(width, kHeight, 3));
        for (int32_t y = 0; y < kHeight; ++y) {
          for (int32_t x = 0; x < width; ++x) {
            const int32_t kind = (x * 7 + y * 3) % 5;
            if (kind == 0) {
              SetGraphicPixel(source.get(), x, y, GetColor(255, 0, 0));
            } else if (kind == 1) {
              SetGraphicPixel(source.get(), x, y,
                              GetColor(static_cast<uint32_t>(8 * (x % 7)), 16, 24));
            }
          }
        }
        ScopedGraphic destination(MakePatternGraphic(width + 4, kHeight + 2, 2));
        const PixelImage sourceImage = ReadImage(source.get());
        const PixelImage background = ReadImage(destination.get());
        for (const tKeyData& key : {oneColor, range}) {
          WriteImage(destination.get(), background);
          tBlitData data;
          data.Left = 2;
          data.Top = 1;
          data.Key = key;
          EXPECT_TRUE(GraphicToGraphic(source.get(), destination.get(), &data));
          EXPECT_EQ(CountDifferences(ReadImage(destination.get()),
                                     ReferencePlacement(sourceImage, background, 2, 1, key)),
                    0)
              << "key mode " << key.Mode;
        }
      }
      StopDisplay();
    }
  }
}

TEST_F(BlitTest, NegativePositionCutsTheSourcesTopLeft) {
  StartAt(16);
  ScopedGraphic source(MakePatternGraphic(20, 20, 3));
  ScopedGraphic destination(CreateGraphic(30, 30, sRGB{}));
  tBlitData data;
  data.Left = -10;
  data.Top = -10;
  ASSERT_TRUE(GraphicToGraphic(source.get(), destination.get(), &data));
  EXPECT_EQ(GetGraphicPixel(destination.get(), 0, 0), PatternPixel(10, 10, 3));
  EXPECT_EQ(GetGraphicPixel(destination.get(), 9, 9), PatternPixel(19, 19, 3));
  EXPECT_EQ(GetGraphicPixel(destination.get(), 10, 10), 0u);
}

TEST_F(BlitTest, BlitWithinOneGraphicReadsTheOriginalPixels) {
  StartAt(32);
  ScopedGraphic graphic(MakePatternGraphic(6, 5, 4));
  const PixelImage before = ReadImage(graphic.get());
  tBlitData data;
  data.Left = 1;
  data.Top = 1;
  ASSERT_TRUE(GraphicToGraphic(graphic.get(), graphic.get(), &data));
  const PixelImage after = ReadImage(graphic.get());
  EXPECT_EQ(after.at(0, 0), before.at(0, 0));
  EXPECT_EQ(after.at(1, 1), before.at(0, 0));
  EXPECT_EQ(after.at(5, 4), before.at(4, 3));
}

TEST_F(BlitTest, NullArgumentsAreLoggedAndDropped) {
  StartAt(16);
  ScopedGraphic graphic(CreateGraphic(4, 4, sRGB{}));
  tBlitData data;
  tKeyData key;
  tCopyData copy;
  EXPECT_FALSE(GraphicToGraphic(nullptr, graphic.get(), &data));
  EXPECT_FALSE(GraphicToGraphic(graphic.get(), nullptr, &data));
  EXPECT_FALSE(GraphicToGraphic(graphic.get(), graphic.get(), nullptr));
  EXPECT_FALSE(GraphicToViewport(graphic.get(), nullptr, &data));
  EXPECT_FALSE(StretchGraphicToGraphic(graphic.get(), graphic.get(), nullptr));
  EXPECT_FALSE(PartialGraphicToGraphic(graphic.get(), graphic.get(), nullptr, &key, true));
  EXPECT_FALSE(PartialGraphicToViewport(graphic.get(), nullptr, &copy));
  EXPECT_TRUE(LogHas("GraphicToGraphic() Null pointer to the source graphic specified\n"));
  EXPECT_TRUE(LogHas("GraphicToGraphic() Null pointer to the dest graphic specified (Source="));
  EXPECT_TRUE(LogHas("GraphicToGraphic() Null pointer to the blit data specified (Source="));
  EXPECT_TRUE(LogHas("GraphicToViewport() Null pointer to the dest viewport specified (Item="));
  EXPECT_TRUE(LogHas("StretchGraphicToGraphic() Null pointer to the key data specified (Source="));
  EXPECT_TRUE(LogHas("PartialGraphicToGraphic() Null pointer to the data specified\n"));
  EXPECT_TRUE(
      LogHas("PartialGraphicToViewport() Null pointer to the dest viewport specified (Item="));
}

// ---- partial copies ----

struct PartialCase {
  const char* name;
  tCopyData copy;
  bool copies;       // whether anything lands
  int32_t fromLeft;  // what lands: the source rectangle and the destination corner
  int32_t fromTop;
  int32_t width;
  int32_t height;
  int32_t toLeft;
  int32_t toTop;
};

PixelImage ReferenceCopy(const PixelImage& source, PixelImage destination,
                         const PartialCase& test) {
  for (int32_t y = 0; test.copies && y < test.height; ++y) {
    for (int32_t x = 0; x < test.width; ++x) {
      destination.at(test.toLeft + x, test.toTop + y) =
          source.at(test.fromLeft + x, test.fromTop + y);
    }
  }
  return destination;
}

TEST_F(BlitTest, ClippedPartialCopiesStayInsideBothGraphics) {
  // Source 8 x 6, destination 10 x 9.
  // clang-format off
  const PartialCase cases[] = {
      {"source cut on the left", {-5, 0, 2, 1, 10, 3}, true, 0, 0, 5, 3, 2, 1},
      {"destination cut on the top-left: taken from the cut source's corner", {2, 1, -3, -2, 4, 4}, true, 2, 1, 1, 2, 0, 0},
      {"destination cut on the bottom-right", {0, 0, 8, 7, 5, 5}, true, 0, 0, 2, 2, 8, 7},
      {"source left beyond the source", {9, 0, 0, 0, 3, 3}, false, 0, 0, 0, 0, 0, 0},
      {"source right below 1", {-10, 0, 0, 0, 5, 5}, false, 0, 0, 0, 0, 0, 0},
      {"destination top beyond the destination", {0, 0, 0, 9, 3, 3}, false, 0, 0, 0, 0, 0, 0},
      {"negative width", {2, 2, 2, 2, -3, 2}, false, 0, 0, 0, 0, 0, 0},
      {"coordinates at the ends of the range", {INT_MAX - 1, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX}, false, 0, 0, 0, 0, 0, 0},
      {"inside", {1, 1, 3, 4, 4, 3}, true, 1, 1, 4, 3, 3, 4},
  };
  // clang-format on
  StartAt(16);
  ScopedGraphic source(MakePatternGraphic(8, 6, 5));
  ScopedGraphic destination(MakePatternGraphic(10, 9, 6));
  const PixelImage sourceImage = ReadImage(source.get());
  const PixelImage background = ReadImage(destination.get());
  for (const PartialCase& test : cases) {
    SCOPED_TRACE(test.name);
    WriteImage(destination.get(), background);
    EXPECT_TRUE(
        PartialGraphicToGraphic(source.get(), destination.get(), &test.copy, nullptr, true));
    EXPECT_EQ(CountDifferences(ReadImage(destination.get()),
                               ReferenceCopy(sourceImage, background, test)),
              0);
  }
  EXPECT_FALSE(LogHas("PartialGraphicToGraphic() Cannot blit"));
}

TEST_F(BlitTest, UnclippedPartialCopiesOutsideEitherGraphicAreRefused) {
  // clang-format off
  const tCopyData refused[] = {
      {-1, 0, 0, 0, 3, 3},   {6, 0, 0, 0, 3, 3},   {0, 4, 0, 0, 3, 3},  {0, 0, -2, 0, 3, 3},
      {0, 0, 8, 0, 3, 3},    {0, 0, 0, 7, 3, 3},   {20, 20, 0, 0, 2, 2}, {0, 0, 0, 0, 0, 3},
      {0, 0, 0, 0, -3, 3},   {INT_MAX, 0, 0, 0, INT_MAX, 1},
  };
  // clang-format on
  StartAt(16);
  ScopedGraphic source(MakePatternGraphic(8, 6, 5));
  ScopedGraphic destination(MakePatternGraphic(10, 9, 6));
  const PixelImage background = ReadImage(destination.get());
  for (const tCopyData& copy : refused) {
    SCOPED_TRACE(std::to_string(copy.SourceLeft) + "," + std::to_string(copy.SourceTop) + " -> " +
                 std::to_string(copy.DestLeft) + "," + std::to_string(copy.DestTop) + " size " +
                 std::to_string(copy.Width) + "x" + std::to_string(copy.Height));
    EXPECT_FALSE(PartialGraphicToGraphic(source.get(), destination.get(), &copy, nullptr, false));
    EXPECT_EQ(CountDifferences(ReadImage(destination.get()), background), 0);
  }
  EXPECT_TRUE(LogHas("PartialGraphicToGraphic() Cannot blit one graphic to another (Source="));
  EXPECT_TRUE(LogHas("Error=88760096)"));

  // A rectangle inside both is copied as given, with the key.
  SetGraphicPixel(source.get(), 2, 1, GetColor(255, 0, 0));
  tKeyData key;
  key.Mode = KeyColor;
  key.Low = sRGB{0, 0, 255};
  const tCopyData inside{1, 1, 7, 6, 3, 3};
  ASSERT_TRUE(PartialGraphicToGraphic(source.get(), destination.get(), &inside, &key, false));
  EXPECT_EQ(GetGraphicPixel(destination.get(), 7, 6), PatternPixel(1, 1, 5));
  EXPECT_EQ(GetGraphicPixel(destination.get(), 8, 6), background.at(8, 6));
  EXPECT_EQ(GetGraphicPixel(destination.get(), 9, 8), PatternPixel(3, 3, 5));
}

TEST_F(BlitTest, PartialCopyIntoAViewportIsCutToTheViewport) {
  StartAt(16);
  FillGraphic(GetBackground(), sRGB{});
  ViewportHandle viewport = CreateViewport(100, 50, 20, 10);
  ScopedGraphic source(MakePatternGraphic(8, 6, 7));
  struct Case {
    tCopyData copy;
    int32_t fromLeft, fromTop, width, height, toLeft, toTop;  // in screen pixels
  };
  // clang-format off
  const Case cases[] = {
      {{0, 0, 2, 3, 4, 4}, 0, 0, 4, 4, 102, 53},
      {{0, 0, 17, 8, 8, 6}, 0, 0, 3, 2, 117, 58},
      {{-2, 0, -1, 0, 6, 2}, 0, 0, 4, 2, 100, 50},
      {{5, 5, 0, 0, 9, 9}, 5, 5, 3, 1, 100, 50},
  };
  // clang-format on
  for (const Case& test : cases) {
    FillGraphic(GetBackground(), sRGB{});
    ASSERT_TRUE(PartialGraphicToViewport(source.get(), viewport, &test.copy));
    for (int32_t y = 45; y < 65; ++y) {
      for (int32_t x = 95; x < 125; ++x) {
        const bool landed = x >= test.toLeft && x < test.toLeft + test.width && y >= test.toTop &&
                            y < test.toTop + test.height;
        const uint32_t expected =
            landed ? PatternPixel(test.fromLeft + x - test.toLeft, test.fromTop + y - test.toTop, 7)
                   : 0u;
        ASSERT_EQ(GetGraphicPixel(GetBackground(), x, y), expected) << x << ", " << y;
      }
    }
  }
  DestroyViewport(viewport);
}

// ---- viewports and stretches ----

TEST_F(BlitTest, GraphicToViewportPlacesRelativeToTheViewportAndCutsToIt) {
  StartAt(16);
  FillGraphic(GetBackground(), sRGB{});
  ViewportHandle viewport = CreateViewport(10, 20, 6, 5);
  ScopedGraphic source(MakePatternGraphic(4, 4, 8));
  tBlitData data;
  data.Left = 4;
  data.Top = -1;
  ASSERT_TRUE(GraphicToViewport(source.get(), viewport, &data));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 14, 20), PatternPixel(0, 1, 8));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 15, 22), PatternPixel(1, 3, 8));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 16, 20), 0u);  // right of the viewport
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 14, 19), 0u);  // above it
  DestroyViewport(viewport);
}

TEST_F(BlitTest, StretchSamplesTheSourcePixelUnderEachCentre) {
  StartAt(32);
  ScopedGraphic small(MakePatternGraphic(2, 2, 9));
  ScopedGraphic large(CreateGraphic(4, 6, sRGB{}));
  tKeyData key;
  ASSERT_TRUE(StretchGraphicToGraphic(small.get(), large.get(), &key));
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      EXPECT_EQ(GetGraphicPixel(large.get(), x, y), PatternPixel(x / 2, y / 3, 9))
          << x << ", " << y;
    }
  }
  // Shrinking 4 columns to 2 takes columns 1 and 3; 3 rows to 2 take 0 and 2.
  ScopedGraphic wide(MakePatternGraphic(4, 3, 10));
  ScopedGraphic narrow(CreateGraphic(2, 2, sRGB{}));
  ASSERT_TRUE(StretchGraphicToGraphic(wide.get(), narrow.get(), &key));
  EXPECT_EQ(GetGraphicPixel(narrow.get(), 0, 0), PatternPixel(1, 0, 10));
  EXPECT_EQ(GetGraphicPixel(narrow.get(), 1, 1), PatternPixel(3, 2, 10));
}

TEST_F(BlitTest, KeyedStretchIntoAViewportLeavesKeyedPixels) {
  StartAt(16);
  FillGraphic(GetBackground(), sRGB{0, 255, 0});
  ViewportHandle viewport = CreateViewport(2, 2, 4, 4);
  ScopedGraphic source(MakePatternGraphic(2, 2, 11));
  SetGraphicPixel(source.get(), 1, 0, GetColor(255, 0, 0));
  tKeyData key;
  key.Mode = KeyColor;
  key.Low = sRGB{0, 0, 255};
  ASSERT_TRUE(StretchGraphicToViewport(source.get(), viewport, &key));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 2, 2), PatternPixel(0, 0, 11));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 4, 3), GetColor(0, 255, 0));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 5, 5), PatternPixel(1, 1, 11));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 6, 6), GetColor(0, 255, 0));
  DestroyViewport(viewport);
}

// ---- lost and busy surfaces ----

TEST_F(BlitTest, LostOrBusyRenderBufferIsRestoredAndTheBlitRetried) {
  StartAt(16);
  platform::Surface* render = RenderBuffer();
  ASSERT_EQ(render->Memory(), platform::MemoryKind::Video);
  ViewportHandle viewport = CreateViewport(0, 0, 640, 480);
  ScopedGraphic source(MakePatternGraphic(3, 3, 12));
  tBlitData data;
  platform::testing::MakeSurfaceLost(*render);
  platform::testing::ReportSurfaceBusy(*render, 2, SurfaceResult::WasStillDrawing);
  EXPECT_TRUE(GraphicToViewport(source.get(), viewport, &data));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 2, 2), PatternPixel(2, 2, 12));

  platform::testing::MakeSurfaceLost(*render);
  platform::testing::SetSurfaceRestore(*render, platform::RestoreBehaviour::Fails);
  EXPECT_FALSE(GraphicToViewport(source.get(), viewport, &data));
  EXPECT_TRUE(LogHas("GraphicToViewport() Cannot blit a graphic to a viewport (Item="));
  EXPECT_TRUE(LogHas("Error=887601C2)"));
  platform::testing::SetSurfaceRestore(*render, platform::RestoreBehaviour::Succeeds);
  DestroyViewport(viewport);
}

TEST_F(BlitTest, GraphicsOfAnotherFormatAreRefused) {
  StartAt(16);
  GraphicHandle older = MakePatternGraphic(4, 4, 13);
  StopDisplay();
  StartAt(32);
  ScopedGraphic newer(CreateGraphic(4, 4, sRGB{}));
  tBlitData data;
  EXPECT_FALSE(GraphicToGraphic(older, newer.get(), &data));
  EXPECT_TRUE(LogHas("Error=88760091)"));
  DestroyGraphic(older);
}

}  // namespace
