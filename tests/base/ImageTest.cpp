#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ImageTestSupport.h"
#include "base/tBitmap.h"
#include "base/tImage.h"

namespace {

using testing_support::ImageLogFixture;
using testing_support::IsEmptyImage;

struct Masks {
  uint32_t red;
  uint32_t green;
  uint32_t blue;
};
constexpr Masks kRgb565{0xF800, 0x07E0, 0x001F};
constexpr Masks kRgb555{0x7C00, 0x03E0, 0x001F};
constexpr Masks kBgr565{0x001F, 0x07E0, 0xF800};
constexpr Masks kBgr555{0x001F, 0x03E0, 0x7C00};
constexpr Masks kRgb888{0xFF0000, 0xFF00, 0xFF};
constexpr Masks kBgr888{0xFF, 0xFF00, 0xFF0000};
constexpr Masks kRgb332{0xE0, 0x1C, 0x03};

class ImageTest : public ImageLogFixture {
 protected:
  static size_t CountInLog(const std::string& text) {
    const std::string log = testing_support::ReadDebugLog();
    size_t count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
      ++count;
    }
    return count;
  }
};

TEST_F(ImageTest, SetPixelFormatAcceptsMasksByTheirHighestBit) {
  struct Case {
    const char* name;
    uint32_t red, green, blue, alpha, bitsPerPixel;
    uint32_t expected;
  };
  const Case cases[] = {
      {"5/5/5 at 15 bits", 0x7C00, 0x03E0, 0x001F, 0, 15, 15},
      {"5/6/5 at 16 bits", 0xF800, 0x07E0, 0x001F, 0, 16, 16},
      {"8/8/8 at 24 bits", 0xFF0000, 0xFF00, 0xFF, 0, 24, 24},
      {"alpha lifts the top to bit 32", 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 32, 32},
      {"blue above red", 0xFF, 0xFF00, 0xFF0000, 0, 24, 24},
      {"red and green share a bit", 0xF800, 0x0FE0, 0x001F, 0, 16, 0},
      {"green and blue share a bit", 0x7C00, 0x03F0, 0x001F, 0, 15, 0},
      {"highest bit 12", 0xF00, 0xF0, 0xF, 0, 16, 0},
      {"highest bit 8", 0xE0, 0x1C, 0x03, 0, 8, 0},
      {"no masks", 0, 0, 0, 0, 32, 0},
  };
  for (const Case& test : cases) {
    tImage image;
    EXPECT_EQ(image.SetPixelFormat(test.red, test.green, test.blue, test.alpha, test.bitsPerPixel), test.expected)
        << test.name;
    EXPECT_EQ(image.GetBitsPerPixel(), test.expected) << test.name;
    EXPECT_EQ(image.GetBytesPerPixel(), (test.expected + 7) / 8) << test.name;
    const bool accepted = test.expected != 0;
    EXPECT_EQ(image.GetRedMask(), accepted ? test.red : 0u) << test.name;
    EXPECT_EQ(image.GetBlueMask(), accepted ? test.blue : 0u) << test.name;
    EXPECT_EQ(image.GetAlphaMask(), accepted ? test.alpha : 0u) << test.name;
  }
}

TEST_F(ImageTest, SetFormatCodeTakesOnlyTheKnownCodes) {
  struct Case {
    uint32_t code;
    uint32_t expected;
  };
  const Case cases[] = {{4, 4}, {8, 8}, {12, 12}, {16, 16}, {48, 48}, {0, 0}, {20, 0}, {64, 0}, {5, 0}};
  for (const Case& test : cases) {
    tImage image;
    image.SetFormatFlags(0x2 | 0x40 | 0x3C);
    EXPECT_EQ(image.SetFormatCode(test.code), test.expected) << test.code;
    EXPECT_EQ(image.GetFlags(), 0x42u | test.expected) << test.code;
  }
}

struct BltCase {
  const char* name;
  uint32_t sourceBits;
  Masks sourceMasks;
  std::vector<uint8_t> source;
  uint32_t destinationBits;
  Masks destinationMasks;
  std::vector<uint8_t> destinationBefore;
  bool succeeds;
  std::vector<uint8_t> expected;
};

TEST_F(ImageTest, BltConvertsOnePixelBetweenFormats) {
  const BltCase cases[] = {
      {"16 to 15", 16, kRgb565, {0xFF, 0xFF}, 15, kRgb555, {0, 0}, true, {0xFF, 0x7F}},
      {"16 to 32", 16, kRgb565, {0xFF, 0xFF}, 32, kRgb888, {0, 0, 0, 0}, true, {0xF8, 0xFC, 0xF8, 0x00}},
      {"32 to 16", 32, kRgb888, {0x40, 0x80, 0xFF, 0x00}, 16, kRgb565, {0, 0}, true, {0x08, 0xFC}},
      {"24 swaps to the other order", 24, kRgb888, {0x01, 0x02, 0x03}, 24, kBgr888, {0, 0, 0}, true,
       {0x03, 0x02, 0x01}},
      {"24 same format copies", 24, kRgb888, {0x01, 0x02, 0x03}, 24, kRgb888, {0, 0, 0}, true, {0x01, 0x02, 0x03}},
      {"15 to 16 leaves the low bits empty", 15, kRgb555, {0xFF, 0x7F}, 16, kRgb565, {0, 0}, true, {0xDF, 0xFF}},
      {"32 from blue-above-red drops the fourth byte", 32, kBgr888, {0x01, 0x02, 0x03, 0xAA}, 32, kRgb888,
       {0x55, 0x55, 0x55, 0x55}, true, {0x03, 0x02, 0x01, 0x00}},
      {"32 to blue-above-red keeps the fourth byte", 32, kRgb888, {0x01, 0x02, 0x03, 0x44}, 32, kBgr888,
       {0x55, 0x55, 0x55, 0xAA}, true, {0x03, 0x02, 0x01, 0xAA}},
      {"16 blue-above-red to 24", 16, kBgr565, {0x00, 0xF8}, 24, kRgb888, {0, 0, 0}, true, {0xF8, 0x00, 0x00}},
      {"24 to 15 blue-above-red", 24, kRgb888, {0x08, 0x10, 0xF8}, 15, kBgr555, {0, 0}, true, {0x5F, 0x04}},
      {"destination of 8 bits", 24, kRgb888, {1, 2, 3}, 8, kRgb332, {0x77}, false, {0x77}},
      {"source of 8 bits", 8, kRgb332, {0x12}, 16, kRgb565, {0, 0}, false, {0, 0}},
  };
  for (const BltCase& test : cases) {
    tImage image;
    std::vector<uint8_t> destination = test.destinationBefore;
    const bool done = image.Blt(test.source.data(), test.sourceBits, 2, static_cast<uint32_t>(test.source.size()),
                                test.sourceMasks.red, test.sourceMasks.green, test.sourceMasks.blue, 0,
                                destination.data(), test.destinationBits, 2,
                                static_cast<uint32_t>(destination.size()), test.destinationMasks.red,
                                test.destinationMasks.green, test.destinationMasks.blue, 0, 1, 1);
    EXPECT_EQ(done, test.succeeds) << test.name;
    EXPECT_EQ(destination, test.expected) << test.name;
  }
  EXPECT_TRUE(LogHas("tImage::Blt() Destination format not supported (BitsPerPixel=8"));
  EXPECT_TRUE(LogHas("tImage::Blt() Source format not supported (BitsPerPixel=8"));
}

TEST_F(ImageTest, BltFlipsRowsOnlyFromBottomUpToTopDown) {
  struct Case {
    uint32_t sourceOrigin;
    uint32_t destinationOrigin;
    std::vector<uint8_t> expected;
    bool reported;
  };
  const Case cases[] = {
      {0, 2, {3, 4, 2, 3, 1, 2}, false},
      {2, 2, {1, 2, 2, 3, 3, 4}, false},
      {0, 0, {1, 2, 2, 3, 3, 4}, true},
      {2, 0, {1, 2, 2, 3, 3, 4}, true},
      {1, 2, {1, 2, 2, 3, 3, 4}, true},
  };
  // Three rows of one 16-bit pixel, with a pitch of 2 bytes.
  const std::vector<uint8_t> source = {1, 2, 2, 3, 3, 4};
  for (const Case& test : cases) {
    tImage image;
    std::vector<uint8_t> destination(6, 0);
    const size_t reportsBefore = CountInLog("tImage::Blt() Origin not supported");
    ASSERT_TRUE(image.Blt(source.data(), 16, test.sourceOrigin, 2, 0xF800, 0x07E0, 0x1F, 0, destination.data(), 16,
                          test.destinationOrigin, 2, 0xF800, 0x07E0, 0x1F, 0, 1, 3));
    EXPECT_EQ(destination, test.expected) << test.sourceOrigin << " to " << test.destinationOrigin;
    EXPECT_EQ(CountInLog("tImage::Blt() Origin not supported") > reportsBefore, test.reported)
        << test.sourceOrigin << " to " << test.destinationOrigin;
  }
}

TEST_F(ImageTest, BltRefusesMissingBlocks) {
  tImage image;
  uint8_t pixel[4] = {};
  EXPECT_FALSE(image.Blt(pixel, 32, 2, 4, 0xFF0000, 0xFF00, 0xFF, 0, nullptr, 32, 2, 4, 0xFF0000, 0xFF00, 0xFF, 0, 1,
                         1));
  EXPECT_FALSE(image.Blt(nullptr, 32, 2, 4, 0xFF0000, 0xFF00, 0xFF, 0, pixel, 32, 2, 4, 0xFF0000, 0xFF00, 0xFF, 0, 1,
                         1));
  EXPECT_TRUE(LogHas("tImage::Blt() Null-pointer to the destination specified"));
  EXPECT_TRUE(LogHas("tImage::Blt() Null-pointer to the source specified"));
}

TEST_F(ImageTest, CreateDescribesTheImageAndRefusesWhatItCannotHold) {
  tImage image;
  ASSERT_TRUE(image.Create(0, 3, 2, 0xF800, 0x07E0, 0x1F, 0, 16, 2, 8, true, 0x1234));
  EXPECT_EQ(image.GetRowPitch(), 6u);
  EXPECT_EQ(image.GetDataSize(), 12u);
  EXPECT_EQ(image.GetFlags(), 0x40u | 8u | 2u);
  EXPECT_EQ(image.GetVersion(), 0x1234u);
  EXPECT_EQ(image.GetAlphaSize(), 6u);
  const uint8_t signature[4] = {'Y', 'L', 'M', 0};
  EXPECT_EQ(std::memcmp(&image.GetDescription()[ImageWordSignature], signature, 4), 0);

  struct Case {
    const char* name;
    uint32_t pitch, width, height;
    Masks masks;
    uint32_t bitsPerPixel;
    const char* message;
  };
  const Case refused[] = {
      {"8 bits", 0, 2, 2, kRgb332, 8, "tImage::Create() Color depth not supported (Bits/Pixel=8"},
      {"masks with a common bit", 0, 2, 2, {0xF800, 0x0FE0, 0x1F}, 16, "tImage::Create() Pixel format not supported"},
      {"pitch shorter than a row", 5, 3, 2, kRgb565, 16, "tImage::SetSize() Invalid image size (Pitch=5"},
      {"data size beyond 32 bits", 0, 0x10000, 0x10000, kRgb888, 32, "tImage::SetSize() Invalid image size"},
  };
  for (const Case& test : refused) {
    tImage other;
    other.SetName("kept until cleared");
    EXPECT_FALSE(other.Create(test.pitch, test.width, test.height, test.masks.red, test.masks.green,
                              test.masks.blue, 0, test.bitsPerPixel, 2, 0, false, 1))
        << test.name;
    EXPECT_TRUE(IsEmptyImage(other)) << test.name;
    EXPECT_TRUE(LogHas(test.message)) << test.name;
  }
}

TEST_F(ImageTest, RecreatingDoesNotKeepTheEarlierOrigin) {
  tImage image;
  ASSERT_TRUE(image.Create(0, 2, 2, 0xF800, 0x07E0, 0x1F, 0, 16, 2, 0, false, 1));
  ASSERT_TRUE(image.Create(0, 2, 2, 0xF800, 0x07E0, 0x1F, 0, 16, 0, 0, false, 1));
  EXPECT_EQ(image.GetOrigin(), 0u);
}

// A 2 x 2 32-bit image with an alpha plane, a name and every description word set.
void FillSample(tImage& image) {
  ASSERT_TRUE(image.Create(0, 2, 2, 0xFF0000, 0xFF00, 0xFF, 0, 32, 2, 12, true, 0x1000000));
  image.SetName("tile");
  image.SetTransparentValue(0x123);
  image.SetFormatRecord(0x00AB1234);
  for (uint32_t index = 0; index < image.GetDataSize(); ++index) {
    image.GetBits()[index] = static_cast<uint8_t>(index * 7 + 1);
  }
  for (uint32_t index = 0; index < image.GetAlphaSize(); ++index) {
    image.GetAlphaBits()[index] = static_cast<uint8_t>(200 + index);
  }
}

TEST_F(ImageTest, AssignCopiesTheWholeImage) {
  tImage source;
  FillSample(source);
  tImage copy;
  ASSERT_TRUE(copy.Assign(&source));
  EXPECT_EQ(copy.GetDescription(), source.GetDescription());
  EXPECT_STREQ(copy.GetName(), "tile");
  EXPECT_EQ(std::memcmp(copy.GetBits(), source.GetBits(), source.GetDataSize()), 0);
  EXPECT_EQ(std::memcmp(copy.GetAlphaBits(), source.GetAlphaBits(), source.GetAlphaSize()), 0);

  tObject notAnImage;
  EXPECT_FALSE(copy.Assign(&notAnImage));
}

TEST_F(ImageTest, AssignIntoABitmapPadsItsRows) {
  tImage source;
  ASSERT_TRUE(source.Create(0, 3, 2, 0xFF0000, 0xFF00, 0xFF, 0, 24, 2, 0, false, 1));
  for (uint32_t index = 0; index < source.GetDataSize(); ++index) {
    source.GetBits()[index] = static_cast<uint8_t>(index + 1);
  }
  tBitmap bitmap;
  ASSERT_TRUE(bitmap.Assign(&source));
  EXPECT_EQ(bitmap.GetRowPitch(), 12u);
  for (uint32_t row = 0; row < 2; ++row) {
    EXPECT_EQ(std::memcmp(bitmap.GetBits() + row * 12, source.GetBits() + row * 9, 9), 0) << row;
  }
}

TEST_F(ImageTest, ConvertImageKeepsItsOwnFormat) {
  tImage source;
  FillSample(source);
  tImage target;
  ASSERT_TRUE(target.Create(0, 1, 1, 0xF800, 0x07E0, 0x1F, 0, 16, 2, 0, false, 7));
  ASSERT_TRUE(target.ConvertImage(&source));
  EXPECT_EQ(target.GetBitsPerPixel(), 16u);
  EXPECT_EQ(target.GetWidth(), 2u);
  EXPECT_EQ(target.GetHeight(), 2u);
  EXPECT_EQ(target.GetFormatCode(), 12u);
  EXPECT_EQ(target.GetTransparentValue(), 0x123u);
  EXPECT_EQ(target.GetFormatRecord(), 0x00AB1234u);
  ASSERT_TRUE(target.HasAlpha());
  EXPECT_EQ(std::memcmp(target.GetAlphaBits(), source.GetAlphaBits(), 4), 0);
  // Pixel (1, 1) of the source: bytes 13, 14 and 15 as blue, green and red.
  const uint8_t* sourcePixel = source.GetBits() + source.GetRowPitch() + 4;
  const uint32_t expected = ((sourcePixel[2] & 0xF8u) << 8) | ((sourcePixel[1] & 0xFCu) << 3) | (sourcePixel[0] >> 3);
  const uint8_t* targetPixel = target.GetBits() + target.GetRowPitch() + 2;
  EXPECT_EQ(targetPixel[0] | (targetPixel[1] << 8), static_cast<int>(expected));
}

TEST_F(ImageTest, ConvertImageFromItselfFailsAndClears) {
  tImage image;
  FillSample(image);
  EXPECT_FALSE(image.ConvertImage(&image));
  EXPECT_TRUE(IsEmptyImage(image));
}

}  // namespace
