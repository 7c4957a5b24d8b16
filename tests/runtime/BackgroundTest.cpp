#include <gtest/gtest.h>

#include "PixelFixture.h"
#include "platform/Testing.h"
#include "runtime/Background.h"

namespace {

class BackgroundTest : public PixelFixture {
 protected:
  void SetUp() override {
    PixelFixture::SetUp();
    StartAt(16);
  }
  void TearDown() override {
    BackgroundState() = tBackgroundState{};
    PixelFixture::TearDown();
  }
};

TEST_F(BackgroundTest, BeginScreenUpdateFillsThenCopiesTheGraphic) {
  const sRGB blue{255, 0, 0};
  ScopedGraphic graphic(MakePatternGraphic(4, 4, 1));
  SetGraphicPixel(graphic.get(), 1, 1, GetColor(255, 0, 0));
  tBlitData data;
  data.Left = -1;
  data.Top = 10;
  data.Key.Mode = KeyColor;
  data.Key.Low = sRGB{0, 0, 255};
  SetBackgroundColor(blue);
  SetBackgroundGraphic(graphic.get(), &data);
  StartBackground(BackgroundFill | BackgroundGraphic);
  FillGraphic(GetBackground(), sRGB{});
  BeginScreenUpdate();
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 300, 300), GetColor(0, 0, 255));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 0, 10), PatternPixel(1, 0, 1));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 0, 11), GetColor(0, 0, 255));  // keyed out
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 2, 13), PatternPixel(3, 3, 1));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 3, 10), GetColor(0, 0, 255));

  // The graphic alone lies over last frame's pixels.
  StartBackground(BackgroundGraphic);
  FillGraphic(GetBackground(), sRGB{});
  BeginScreenUpdate();
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 0, 10), PatternPixel(1, 0, 1));
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 300, 300), 0u);

  StopBackground();
  FillGraphic(GetBackground(), sRGB{});
  BeginScreenUpdate();
  EXPECT_EQ(GetGraphicPixel(GetBackground(), 0, 10), 0u);
}

TEST_F(BackgroundTest, TheBlitRecordIsKeptAsACopyOfItsEightWords) {
  ScopedGraphic graphic(CreateGraphic(2, 2, sRGB{}));
  tBlitData data;
  data.Left = -7;
  data.Top = 9;
  data.Key.Mode = KeyRange;
  data.Key.Low = sRGB{1, 2, 3};
  data.Key.High = sRGB{4, 5, 6};
  data.Unused[2] = 0xDEADBEEF;
  SetBackgroundGraphic(graphic.get(), &data);
  data.Left = 100;
  const auto& words = BackgroundState().BlitData;
  EXPECT_EQ(words[0], static_cast<uint32_t>(-7));
  EXPECT_EQ(words[1], 9u);
  EXPECT_EQ(words[2], 2u);
  EXPECT_EQ(words[3], 0x030201u);
  EXPECT_EQ(words[4], 0x060504u);
  EXPECT_EQ(words[7], 0xDEADBEEFu);
  const tBlitData back = BlitDataFromWords(words);
  EXPECT_EQ(back.Left, -7);
  EXPECT_EQ(back.Key.High.Red, 6);
}

TEST_F(BackgroundTest, ANullArgumentOrDestroyingTheGraphicClearsIt) {
  GraphicHandle graphic = CreateGraphic(2, 2, sRGB{});
  tBlitData data;
  SetBackgroundGraphic(graphic, &data);
  EXPECT_EQ(BackgroundState().Graphic, graphic);
  SetBackgroundGraphic(graphic, nullptr);
  EXPECT_EQ(BackgroundState().Graphic, nullptr);
  SetBackgroundGraphic(graphic, &data);
  SetBackgroundGraphic(nullptr, &data);
  EXPECT_EQ(BackgroundState().Graphic, nullptr);
  SetBackgroundGraphic(graphic, &data);
  DestroyGraphic(graphic);
  EXPECT_EQ(BackgroundState().Graphic, nullptr);
  StartBackground(BackgroundGraphic);
  BeginScreenUpdate();  // no graphic: nothing to copy
}

}  // namespace
