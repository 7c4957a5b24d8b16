#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "BitmapFileWriter.h"
#include "ImageTestSupport.h"
#include "base/tImage.h"

namespace {

using testing_support::ImageLogFixture;
using testing_support::IsEmptyImage;
using testing_support::LoadImage;
using testing_support::ReadBytes;
using testing_support::SaveImage;
using testing_support::WriteBytes;

using Bytes = std::vector<uint8_t>;

// A 3 x 2 16-bit image with padded rows (pitch 8), format code 8, a
// transparent value and a format record; with or without an alpha plane.
void MakeSample(tImage& image, bool withAlpha) {
  ASSERT_TRUE(image.Create(8, 3, 2, 0xF800, 0x07E0, 0x1F, 0, 16, 2, 8, withAlpha, 0x1000000));
  image.SetTransparentValue(0x1F);
  image.SetFormatRecord(0x00AB1234);
  for (uint32_t index = 0; index < image.GetDataSize(); ++index) {
    image.GetBits()[index] = static_cast<uint8_t>(index + 1);
  }
  for (uint32_t index = 0; index < image.GetAlphaSize(); ++index) {
    image.GetAlphaBits()[index] = static_cast<uint8_t>(0xA0 + index);
  }
}

void PutWord(Bytes& bytes, uint32_t word, uint32_t value) {
  for (uint32_t index = 0; index < 4; ++index) {
    bytes[word * 4 + index] = static_cast<uint8_t>(value >> (24 - 8 * index));
  }
}

class ImageFileTest : public ImageLogFixture {};

TEST_F(ImageFileTest, RoundTripKeepsTheHeaderByteForByte) {
  for (const bool withAlpha : {false, true}) {
    tImage image;
    MakeSample(image, withAlpha);
    ASSERT_TRUE(SaveImage(image, "sample.ylm"));

    const Bytes file = ReadBytes("sample.ylm");
    const Bytes expectedHeader = {
        'Y',  'L',  'M',  0,    0x01, 0, 0, 0,    0, 0, 0, 3, 0, 0, 0, 2,    0, 0, 0, 16,
        0,    0,    0,    static_cast<uint8_t>(withAlpha ? 0x4A : 0x0A),       0, 0, 0, 8, 0, 0, 0, 16,
        0,    0,    0,    0x1F, 0,    0, 0xF8, 0, 0, 0, 0x07, 0xE0, 0, 0, 0, 0x1F, 0, 0, 0, 0,
        0x00, 0xAB, 0x12, 0x34};
    ASSERT_EQ(file.size(), 56u + 16u + (withAlpha ? 6u : 0u)) << withAlpha;
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 56), expectedHeader) << withAlpha;
    EXPECT_EQ(std::memcmp(file.data() + 56, image.GetBits(), 16), 0) << withAlpha;

    tImage loaded;
    ASSERT_TRUE(LoadImage(loaded, "sample.ylm")) << withAlpha;
    EXPECT_EQ(loaded.GetDescription(), image.GetDescription()) << withAlpha;
    EXPECT_EQ(std::memcmp(loaded.GetBits(), image.GetBits(), image.GetDataSize()), 0) << withAlpha;
    EXPECT_EQ(loaded.HasAlpha(), withAlpha);
    if (withAlpha) {
      EXPECT_EQ(std::memcmp(loaded.GetAlphaBits(), image.GetAlphaBits(), 6), 0);
    }
    ASSERT_TRUE(SaveImage(loaded, "again.ylm"));
    EXPECT_EQ(ReadBytes("again.ylm"), file) << withAlpha;
  }
}

TEST_F(ImageFileTest, DamagedFilesAreRefusedAndLeaveTheImageEmpty) {
  tImage sample;
  MakeSample(sample, true);
  ASSERT_TRUE(SaveImage(sample, "good.ylm"));
  const Bytes good = ReadBytes("good.ylm");

  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    const char* message;
  };
  const Case cases[] = {
      {"fourth signature byte not NUL", [](Bytes& b) { b[3] = 'X'; }, "does not contain the YLM signature"},
      {"header cut short", [](Bytes& b) { b.resize(40); }, "Cannot read the image header"},
      {"data size not pitch times height", [](Bytes& b) { PutWord(b, ImageWordDataSize, 15); },
       "does not agree"},
      {"pitch shorter than a row",
       [](Bytes& b) {
         PutWord(b, ImageWordPitch, 4);
         PutWord(b, ImageWordDataSize, 8);
       },
       "does not agree"},
      {"pixels cut short", [](Bytes& b) { b.resize(56 + 10); }, "does not agree"},
      {"alpha plane cut short", [](Bytes& b) { b.pop_back(); }, "does not agree"},
      {"large image in a small file",
       [](Bytes& b) {
         PutWord(b, ImageWordWidth, 0x8000);
         PutWord(b, ImageWordHeight, 0x8000);
         PutWord(b, ImageWordPitch, 0x10000);
         PutWord(b, ImageWordDataSize, 0x80000000);
       },
       "does not agree"},
      {"size that wraps 32 bits",
       [](Bytes& b) {
         PutWord(b, ImageWordWidth, 0x10000);
         PutWord(b, ImageWordHeight, 0x10000);
         PutWord(b, ImageWordPitch, 0x20000);
         PutWord(b, ImageWordDataSize, 0);
       },
       "does not agree"},
      {"pixel data without a size",
       [](Bytes& b) {
         PutWord(b, ImageWordWidth, 0);
         PutWord(b, ImageWordFlags, 0x0A);
       },
       "does not agree"},
      {"8 bits per pixel",
       [](Bytes& b) {
         PutWord(b, ImageWordBitsPerPixel, 8);
         PutWord(b, ImageWordRedMask, 0xE0);
         PutWord(b, ImageWordGreenMask, 0x1C);
         PutWord(b, ImageWordBlueMask, 0x03);
       },
       "tImage::Create() Color depth not supported"},
  };
  for (const Case& test : cases) {
    Bytes damaged = good;
    test.damage(damaged);
    WriteBytes("damaged.ylm", damaged);
    tImage image;
    MakeSample(image, false);
    const size_t logBefore = testing_support::ReadDebugLog().size();
    EXPECT_FALSE(LoadImage(image, "damaged.ylm")) << test.name;
    EXPECT_TRUE(IsEmptyImage(image)) << test.name;
    EXPECT_NE(testing_support::ReadDebugLog().find(test.message, logBefore), std::string::npos) << test.name;
  }
}

TEST_F(ImageFileTest, SavingToNoFileFails) {
  tImage image;
  MakeSample(image, false);
  EXPECT_FALSE(image.SaveTo(nullptr));
  EXPECT_FALSE(image.LoadFrom(nullptr));
}

}  // namespace
