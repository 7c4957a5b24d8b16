#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/tImage.h"
#include "runtime/DisplayFixture.h"
#include "runtime/Graphics.h"

namespace {

class ImageGraphicsTest : public DisplayFixture {
 protected:
  void Start(int32_t bitsPerPixel) { ASSERT_TRUE(StartDisplay(Settings(false, true, bitsPerPixel))); }
};

uint32_t ImagePixel(const tImage& image, uint32_t x, uint32_t y) {
  uint32_t pixel = 0;
  std::memcpy(&pixel, image.GetBits() + y * image.GetRowPitch() + x * image.GetBytesPerPixel(),
              image.GetBytesPerPixel());
  return pixel;
}

TEST_F(ImageGraphicsTest, CopiesToAndFromGraphicsKeepThePixels) {
  for (const int32_t depth : {16, 24, 32}) {
    Start(depth);
    GraphicHandle graphic = CreateGraphic(3, 2, sRGB{});
    ASSERT_NE(graphic, nullptr) << depth;
    for (int32_t y = 0; y < 2; ++y) {
      for (int32_t x = 0; x < 3; ++x) {
        SetGraphicPixel(graphic, x, y, 0x1234u * static_cast<uint32_t>(1 + x + 3 * y));
      }
    }
    tImage image;
    ASSERT_TRUE(image.CopyFrom(graphic, nullptr)) << depth;
    EXPECT_EQ(image.GetWidth(), 3u) << depth;
    EXPECT_EQ(image.GetHeight(), 2u) << depth;
    EXPECT_EQ(image.GetBitsPerPixel(), static_cast<uint32_t>(depth)) << depth;
    EXPECT_EQ(image.GetOrigin(), 2u) << depth;
    EXPECT_EQ(image.GetVersion(), 0x1000000u) << depth;
    for (uint32_t y = 0; y < 2; ++y) {
      for (uint32_t x = 0; x < 3; ++x) {
        EXPECT_EQ(ImagePixel(image, x, y), GetGraphicPixel(graphic, static_cast<int32_t>(x), static_cast<int32_t>(y)))
            << depth << " at " << x << ", " << y;
      }
    }

    GraphicHandle copy = nullptr;
    AlphaHandle alpha = nullptr;
    ASSERT_TRUE(image.CopyTo(copy, alpha)) << depth;
    ASSERT_NE(copy, nullptr) << depth;
    for (int32_t y = 0; y < 2; ++y) {
      for (int32_t x = 0; x < 3; ++x) {
        EXPECT_EQ(GetGraphicPixel(copy, x, y), GetGraphicPixel(graphic, x, y)) << depth << " at " << x << ", " << y;
      }
    }
    // A second copy replaces the graphic handed in.
    ASSERT_TRUE(image.CopyTo(copy, alpha)) << depth;
    DestroyGraphic(copy);
    DestroyGraphic(graphic);
    EXPECT_EQ(LiveGraphicCount(), 0) << depth;
    StopDisplay();
  }
}

TEST_F(ImageGraphicsTest, ConvertGraphicKeepsTheImageFormat) {
  Start(32);
  GraphicHandle graphic = CreateGraphic(2, 1, sRGB{});
  ASSERT_NE(graphic, nullptr);
  SetGraphicPixel(graphic, 1, 0, 0x00FF8040);
  tImage image;
  ASSERT_TRUE(image.Create(0, 5, 5, 0xF800, 0x07E0, 0x1F, 0, 16, 2, 0, false, 1));
  ASSERT_TRUE(image.ConvertGraphic(graphic, nullptr));
  EXPECT_EQ(image.GetBitsPerPixel(), 16u);
  EXPECT_EQ(image.GetWidth(), 2u);
  EXPECT_EQ(image.GetHeight(), 1u);
  EXPECT_EQ(ImagePixel(image, 0, 0), 0u);
  EXPECT_EQ(ImagePixel(image, 1, 0), 0xFC08u);
  DestroyGraphic(graphic);
}

TEST_F(ImageGraphicsTest, AlphaMapsAndEmptyImagesAreRefused) {
  Start(16);
  GraphicHandle graphic = CreateGraphic(2, 2, sRGB{});
  ASSERT_NE(graphic, nullptr);
  int alphaStandIn = 0;
  tImage image;
  EXPECT_FALSE(image.CopyFrom(graphic, &alphaStandIn));
  EXPECT_FALSE(image.ConvertGraphic(graphic, &alphaStandIn));
  EXPECT_TRUE(LogHas("alpha map not supported"));

  GraphicHandle out = nullptr;
  AlphaHandle alpha = nullptr;
  EXPECT_FALSE(image.CopyTo(out, alpha));
  EXPECT_EQ(out, nullptr);
  EXPECT_TRUE(LogHas("tImage::CopyTo() The image holds no pixels"));
  DestroyGraphic(graphic);
}

}  // namespace
