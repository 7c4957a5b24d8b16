#include <gtest/gtest.h>

#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "base/tImage.h"
#include "runtime/Alpha.h"
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

std::vector<uint8_t> AlphaBytesOf(AlphaHandle alpha) {
  const tAlphaBytes view = GetAlphaBytes(alpha);
  return std::vector<uint8_t>(view.Data, view.Data + view.Size);
}

TEST_F(ImageGraphicsTest, AlphaPlanesTravelWithGraphicsInTheOrderOfThePixelRows) {
  Start(16);
  GraphicHandle graphic = CreateGraphic(2, 2, sRGB{});
  ASSERT_NE(graphic, nullptr);
  const uint8_t rows[4] = {10, 20, 30, 40};
  AlphaHandle alpha = CreateAlpha(2, 2, rows, 2, AlphaKindBytes, kAlphaOriginTopDown);
  ASSERT_NE(alpha, nullptr);

  tImage image;
  ASSERT_TRUE(image.CopyFrom(graphic, alpha));
  ASSERT_TRUE(image.HasAlpha());
  EXPECT_EQ(std::vector<uint8_t>(image.GetAlphaBits(), image.GetAlphaBits() + 4), AlphaBytesOf(alpha));

  // The caller's graphic and map are replaced by new ones.
  GraphicHandle copy = CreateGraphic(1, 1, sRGB{});
  AlphaHandle copiedAlpha = CreateAlpha(1, 1, rows, 1, AlphaKindBytes, kAlphaOriginTopDown);
  ASSERT_TRUE(image.CopyTo(copy, copiedAlpha));
  ASSERT_NE(copiedAlpha, nullptr);
  EXPECT_EQ(AlphaBytesOf(copiedAlpha), AlphaBytesOf(alpha));
  EXPECT_EQ(LiveAlphaCount(), 2);
  EXPECT_EQ(LiveGraphicCount(), 2);

  // A bottom-up image hands its plane over flipped, as its pixel rows.
  tImage bottomUp;
  ASSERT_TRUE(bottomUp.Create(0, 2, 2, 0xF800, 0x07E0, 0x1F, 0, 16, kImageBottomUp, 0, true, 1));
  std::copy(rows, rows + 4, bottomUp.GetAlphaBits());
  ASSERT_TRUE(bottomUp.CopyTo(copy, copiedAlpha));
  EXPECT_EQ(AlphaBytesOf(copiedAlpha), (std::vector<uint8_t>{30, 40, 10, 20}));

  tImage converted;
  ASSERT_TRUE(converted.Create(0, 1, 1, 0xFF0000, 0xFF00, 0xFF, 0, 32, kImageTopDown, 0, false, 1));
  ASSERT_TRUE(converted.ConvertGraphic(graphic, alpha));
  EXPECT_EQ(converted.GetBitsPerPixel(), 32u);
  EXPECT_EQ(std::vector<uint8_t>(converted.GetAlphaBits(), converted.GetAlphaBits() + 4), AlphaBytesOf(alpha));

  DestroyAlpha(copiedAlpha);
  DestroyGraphic(copy);
  DestroyAlpha(alpha);
  DestroyGraphic(graphic);
}

TEST_F(ImageGraphicsTest, MismatchedAlphaMapsAndEmptyImagesAreRefused) {
  Start(16);
  GraphicHandle graphic = CreateGraphic(2, 2, sRGB{});
  ASSERT_NE(graphic, nullptr);
  const uint8_t bytes[6] = {};
  AlphaHandle wide = CreateAlpha(3, 2, bytes, 3, AlphaKindBytes, kAlphaOriginTopDown);
  tImage image;
  EXPECT_FALSE(image.CopyFrom(graphic, wide));
  EXPECT_FALSE(image.ConvertGraphic(graphic, wide));
  EXPECT_TRUE(LogHas("tImage::CopyFrom() The alpha map does not match the graphic"));
  EXPECT_TRUE(LogHas("tImage::Convert() The alpha map does not match the graphic"));
  EXPECT_FALSE(image.HasAlpha());

  GraphicHandle out = nullptr;
  AlphaHandle alpha = nullptr;
  EXPECT_FALSE(image.CopyTo(out, alpha));
  EXPECT_EQ(out, nullptr);
  EXPECT_TRUE(LogHas("tImage::CopyTo() The image holds no pixels"));
  DestroyAlpha(wide);
  DestroyGraphic(graphic);
}

}  // namespace
