#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/PixelFormat.h"
#include "runtime/Graphics.h"
#include "runtime/PixelFunctions.h"

namespace {

struct RGB {
  uint32_t red;
  uint32_t green;
  uint32_t blue;
};

struct PackCase {
  const char* name;
  platform::PixelFormat format;
  tPixelLayout layout;
  RGB color;
  uint32_t packed;
  RGB unpacked;  // what the packed value gives back: the lost low bits are 0
};

// BGR 5/6/5 and red-in-the-top-byte 32 bits take the generic members.
const platform::PixelFormat kBgr565{16, 0x001F, 0x07E0, 0xF800};
const platform::PixelFormat kTopRed32{32, 0xFF000000, 0x00FF0000, 0x0000FF00};

const PackCase kPackCases[] = {
    {"565 white", platform::Format565(), tPixelLayout::Rgb565, {255, 255, 255}, 0xFFFF, {248, 252, 248}},
    {"565 mixed", platform::Format565(), tPixelLayout::Rgb565, {0x12, 0x34, 0x56}, 0x11AA, {0x10, 0x34, 0x50}},
    {"555 white", platform::Format555(), tPixelLayout::Rgb555, {255, 255, 255}, 0x7FFF, {248, 248, 248}},
    {"555 mixed", platform::Format555(), tPixelLayout::Rgb555, {0x12, 0x34, 0x56}, 0x08CA, {0x10, 0x30, 0x50}},
    {"rgb24", platform::FormatRGB24(), tPixelLayout::Rgb, {0x12, 0x34, 0x56}, 0x123456, {0x12, 0x34, 0x56}},
    {"bgr24", platform::FormatBGR24(), tPixelLayout::Bgr, {0x12, 0x34, 0x56}, 0x563412, {0x12, 0x34, 0x56}},
    {"rgb32", platform::FormatRGB32(), tPixelLayout::Rgb, {0x12, 0x34, 0x56}, 0x123456, {0x12, 0x34, 0x56}},
    {"bgr32", platform::FormatBGR32(), tPixelLayout::Bgr, {0x12, 0x34, 0x56}, 0x563412, {0x12, 0x34, 0x56}},
    {"generic bgr565", kBgr565, tPixelLayout::Generic16, {0x12, 0x34, 0x56}, 0x51A2, {0x10, 0x34, 0x50}},
    {"generic top red", kTopRed32, tPixelLayout::GenericWide, {0x12, 0x34, 0x56}, 0x12345600, {0x12, 0x34, 0x56}},
};

class PixelFormatTest : public ::testing::Test {
 protected:
  void TearDown() override { InstallPixelFormat(platform::Format565()); }
};

TEST_F(PixelFormatTest, PackAndUnpackEveryFormat) {
  for (const PackCase& test : kPackCases) {
    SCOPED_TRACE(test.name);
    InstallPixelFormat(test.format);
    EXPECT_EQ(InstalledPixelLayout(), test.layout);
    EXPECT_EQ(GetColor(test.color.red, test.color.green, test.color.blue), test.packed);
    sRGB record;
    record.Red = static_cast<uint8_t>(test.color.red);
    record.Green = static_cast<uint8_t>(test.color.green);
    record.Blue = static_cast<uint8_t>(test.color.blue);
    EXPECT_EQ(ConvertRGB(record), test.packed);

    RGB unpacked{};
    GetRGB(test.packed, unpacked.red, unpacked.green, unpacked.blue);
    EXPECT_EQ(unpacked.red, test.unpacked.red);
    EXPECT_EQ(unpacked.green, test.unpacked.green);
    EXPECT_EQ(unpacked.blue, test.unpacked.blue);
    // The single-channel reads use the generic shifts and agree.
    EXPECT_EQ(GetRed(test.packed), test.unpacked.red);
    EXPECT_EQ(GetGreen(test.packed), test.unpacked.green);
    EXPECT_EQ(GetBlue(test.packed), test.unpacked.blue);

    sRGB converted;
    ConvertColor(test.packed, converted);
    EXPECT_EQ(converted.Red, test.unpacked.red);
    EXPECT_EQ(converted.Blue, test.unpacked.blue);
  }
}

TEST_F(PixelFormatTest, SystemColorsFollowTheInstalledFormat) {
  const platform::PixelFormat formats[] = {platform::Format565(), platform::Format555(), platform::FormatRGB24(),
                                           platform::FormatBGR32(), kBgr565};
  for (const platform::PixelFormat& format : formats) {
    InstallPixelFormat(format);
    EXPECT_EQ(GetSystemColor(SystemBlack), 0u);
    EXPECT_EQ(GetSystemColor(SystemRed), GetColor(255, 0, 0));
    EXPECT_EQ(GetSystemColor(SystemLightGray), GetColor(192, 192, 192));
  }
  const sRGB& red = GetSystemRGB(SystemRed);
  EXPECT_EQ(red.Red, 255);
  EXPECT_EQ(red.Green, 0);
  EXPECT_EQ(red.Blue, 0);
  const sRGB& darkCyan = GetSystemRGB(SystemDarkCyan);
  EXPECT_EQ(darkCyan.Red, 0);
  EXPECT_EQ(darkCyan.Green, 128);
  EXPECT_EQ(darkCyan.Blue, 128);
  // An index outside the table reads black instead of memory beyond it.
  EXPECT_EQ(GetSystemRGB(static_cast<tSystemColor>(16)).Red, 0);
  EXPECT_EQ(GetSystemColor(static_cast<tSystemColor>(-1)), 0u);
}

TEST_F(PixelFormatTest, AcceptsOnlyTheKnownChannelCounts) {
  struct Case {
    platform::PixelFormat format;
    bool supported;
  };
  const Case cases[] = {
      {platform::Format565(), true},
      {platform::Format555(), true},
      {platform::FormatRGB24(), true},
      {kTopRed32, true},
      {{16, 0xF000, 0x0F00, 0x00F0}, false},
      {{32, 0x3FF00000, 0x000FFC00, 0x000003FF}, false},
      {{8, 0xE0, 0x1C, 0x03}, false},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(IsSupportedPixelFormat(DescribePixelFormat(test.format)), test.supported);
  }
}

// A small block of memory in the installed format, 8 pixels wide.
class PixelBlock {
 public:
  PixelBlock(int32_t height, uint32_t bytesPerPixel)
      : bytes_(bytesPerPixel), pitch_(static_cast<int32_t>(8 * bytesPerPixel + 4)),
        memory_(static_cast<size_t>(pitch_ * height), 0) {}
  uint8_t* Memory() { return memory_.data(); }
  int32_t Pitch() const { return pitch_; }
  uint32_t At(int32_t x, int32_t y) const {
    uint32_t value = 0;
    std::memcpy(&value, memory_.data() + y * pitch_ + x * static_cast<int32_t>(bytes_), bytes_);
    return value;
  }

 private:
  uint32_t bytes_;
  int32_t pitch_;
  std::vector<uint8_t> memory_;
};

struct RunFormat {
  platform::PixelFormat format;
  uint32_t pixel;
};

const RunFormat kRunFormats[] = {
    {platform::Format565(), 0xF81F}, {platform::FormatRGB24(), 0x123456}, {platform::FormatRGB32(), 0xAB123456}};

TEST_F(PixelFormatTest, RunsOfNegativeLengthEndBeforeTheirStart) {
  for (const RunFormat& test : kRunFormats) {
    InstallPixelFormat(test.format);
    const tPixelFunctions& functions = PixelFunctions();
    const uint32_t bytes = test.format.BytesPerPixel();
    PixelBlock block(8, bytes);
    // A run from x = 7 of length -3 covers x = 4, 5, 6; one of length 0 nothing.
    functions.HorizontalRun(block.Memory(), block.Pitch(), 7, 1, -3, test.pixel);
    functions.HorizontalRun(block.Memory(), block.Pitch(), 0, 2, 0, test.pixel);
    functions.VerticalRun(block.Memory(), block.Pitch(), 0, 3, 4, test.pixel);
    functions.VerticalRun(block.Memory(), block.Pitch(), 7, 7, -2, test.pixel);
    for (int32_t y = 0; y < 8; ++y) {
      for (int32_t x = 0; x < 8; ++x) {
        const bool drawn = (y == 1 && x >= 4 && x <= 6) || (x == 0 && y >= 3 && y <= 6) ||
                           (x == 7 && (y == 5 || y == 6));
        const uint32_t stored = bytes == 3 ? test.pixel & 0xFFFFFF : test.pixel;
        EXPECT_EQ(block.At(x, y), drawn ? stored : 0u) << bytes << " bytes at " << x << "," << y;
      }
    }
  }
}

TEST_F(PixelFormatTest, SinglePixelAccessKeepsTheFormatsWidth) {
  for (const RunFormat& test : kRunFormats) {
    InstallPixelFormat(test.format);
    PixelBlock block(1, test.format.BytesPerPixel());
    block.Memory()[test.format.BytesPerPixel()] = 0x77;  // the next pixel's first byte
    PixelFunctions().SetPixel(block.Memory(), test.pixel);
    // 24 bits never touch the next pixel; the read of 32 bits drops the top byte.
    EXPECT_EQ(block.Memory()[test.format.BytesPerPixel()], 0x77);
    const uint32_t expected = test.format.BytesPerPixel() == 2 ? test.pixel : test.pixel & 0xFFFFFF;
    EXPECT_EQ(PixelFunctions().GetPixel(block.Memory()), expected);
  }
  InstallPixelFormat(kTopRed32);
  PixelBlock block(1, 4);
  PixelFunctions().SetPixel(block.Memory(), 0x123456FF);
  EXPECT_EQ(PixelFunctions().GetPixel(block.Memory()), 0x12345600u);
}

TEST_F(PixelFormatTest, ReplaceMembersCompareTheColourBits) {
  for (const RunFormat& test : kRunFormats) {
    InstallPixelFormat(test.format);
    const tPixelFunctions& functions = PixelFunctions();
    PixelBlock block(2, test.format.BytesPerPixel());
    const uint32_t ink = 0x0101;
    const uint32_t paper = 0x0202;
    functions.HorizontalRun(block.Memory(), block.Pitch(), 0, 0, 8, paper);
    functions.SetPixel(block.Memory() + test.format.BytesPerPixel(), ink);
    functions.ReplaceInkAndPaper(block.Memory(), block.Pitch(), 3, 1, ink, 0x0303, paper, 0x0404);
    EXPECT_EQ(block.At(0, 0), 0x0404u);
    EXPECT_EQ(block.At(1, 0), 0x0303u);
    EXPECT_EQ(block.At(3, 0), paper);  // outside the block

    functions.ReplacePaper(block.Memory(), block.Pitch(), 2, 2, 0x0404, 0x0505, 0x0606);
    EXPECT_EQ(block.At(0, 0), 0x0505u);
    EXPECT_EQ(block.At(1, 0), 0x0606u);
    EXPECT_EQ(block.At(1, 1), 0x0606u);
  }
  // On 32 bits the top byte takes no part in the comparison.
  InstallPixelFormat(platform::FormatRGB32());
  PixelBlock block(1, 4);
  PixelFunctions().SetPixel(block.Memory(), 0xFF000010);
  PixelFunctions().ReplacePaper(block.Memory(), block.Pitch(), 1, 1, 0x10, 0x20, 0x30);
  EXPECT_EQ(block.At(0, 0), 0x20u);
}

}  // namespace
