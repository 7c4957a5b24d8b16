#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PixelFixture.h"
#include "runtime/Alpha.h"
#include "runtime/Blend.h"

namespace {

class BlendTest : public PixelFixture {
 protected:
  // Raw pixel values, written and read whole (a 32-bit pixel's top byte too).
  static void PutRaw(LockedGraphic* locked, int32_t x, int32_t y, uint32_t value) {
    SetPixelColorAt(locked, x, y, value);
  }
  static uint32_t GetRaw(LockedGraphic* locked, int32_t x, int32_t y, int32_t bytes) {
    uint32_t value = 0;
    std::memcpy(&value, GetPixelAddress(locked, x, y), static_cast<size_t>(bytes));
    return value;
  }
};

// An alpha map made from bytes (rows from the top), destroyed at the end of
// its scope.
class ScopedAlpha {
 public:
  ScopedAlpha(const std::vector<uint8_t>& bytes, int32_t width, int32_t height)
      : alpha_(CreateAlpha(width, height, bytes.data(), width, AlphaKindBytes, kAlphaOriginTopDown)) {}
  ~ScopedAlpha() { DestroyAlpha(alpha_); }
  ScopedAlpha(const ScopedAlpha&) = delete;
  ScopedAlpha& operator=(const ScopedAlpha&) = delete;
  AlphaHandle get() const { return alpha_; }

 private:
  AlphaHandle alpha_;
};

// One source pixel over one destination pixel with BlendPlain.
struct FormulaCase {
  const char* name;
  int32_t depth;
  uint32_t source;
  uint32_t destination;
  uint32_t alpha;
  uint32_t expected;
};

TEST_F(BlendTest, PlainBlendFormulas) {
  // clang-format off
  const FormulaCase cases[] = {
      {"5/6/5 red over black at 255 (fields in place)", 16, 0xF800, 0x0000, 255, 0xF000},
      {"5/6/5 white over black at 128", 16, 0xFFFF, 0x0000, 128, 0x7BEF},
      {"5/6/5 black over white at 255", 16, 0x0000, 0xFFFF, 255, 0x0000},
      {"5/6/5 alpha 0 changes nothing", 16, 0xFFFF, 0x1234, 0, 0x1234},
      {"5/6/5 alpha above 255 counts as 255", 16, 0xF800, 0x0000, 1000, 0xF000},
      {"5/5/5 white over black at 255", 15, 0x7FFF, 0x0000, 255, 0x7BDE},
      {"32-bit red over black at 255", 32, 0xFF0000, 0x000000, 255, 0xFE0000},
      {"32-bit mix at 128 keeps the top byte", 32, 0xC86432, 0xAB0A141E, 128, 0xAB683B27},
      {"24-bit mix at 128", 24, 0xC86432, 0x0A141E, 128, 0x683B27},
  };
  // clang-format on
  for (const FormulaCase& test : cases) {
    SCOPED_TRACE(test.name);
    platform::testing::ResetDisplaySettings();
    StartAt(test.depth);
    const int32_t bytes = test.depth <= 16 ? 2 : test.depth / 8;
    ScopedGraphic source(CreateGraphic(1, 1, sRGB{}));
    ScopedGraphic destination(CreateGraphic(1, 1, sRGB{}));
    {
      ScopedLock from(source.get());
      ScopedLock to(destination.get());
      PutRaw(from.get(), 0, 0, test.source);
      PutRaw(to.get(), 0, 0, test.destination);
      SelectPixelAt(from.get(), 0, 0);
      SelectPixelAt(to.get(), 0, 0);
      BlendPlain(to.get(), from.get(), test.alpha, 1, 1);
      EXPECT_EQ(GetRaw(to.get(), 0, 0, bytes), test.expected);
    }
    StopDisplay();
  }
}

TEST_F(BlendTest, BlendPixelMixesZeroTo255Channels) {
  StartAt(32);
  ScopedGraphic source(CreateGraphic(1, 1, sRGB{50, 100, 200}));
  ScopedGraphic destination(CreateGraphic(1, 1, sRGB{30, 20, 10}));
  ScopedLock from(source.get());
  ScopedLock to(destination.get());
  BlendPixel(to.get(), from.get(), 128);
  // Each channel: (s * 128 >> 8) + (d * 127 >> 8).
  EXPECT_EQ(GetRaw(to.get(), 0, 0, 4), 0x683B27u);
  BlendPixel(to.get(), from.get(), 0);
  EXPECT_EQ(GetRaw(to.get(), 0, 0, 4), 0x683B27u);
}

TEST_F(BlendTest, TransparentBlendSkipsKeyPixels) {
  StartAt(16);
  ScopedGraphic source(CreateGraphic(3, 1, sRGB{}));
  ScopedGraphic destination(CreateGraphic(3, 1, sRGB{}));
  ScopedLock from(source.get());
  ScopedLock to(destination.get());
  PutRaw(from.get(), 0, 0, 0xF800);
  PutRaw(from.get(), 1, 0, 0x001F);  // the key
  PutRaw(from.get(), 2, 0, 0xF800);
  for (int32_t x = 0; x < 3; ++x) {
    PutRaw(to.get(), x, 0, 0x07E0);
  }
  SelectPixelAt(from.get(), 0, 0);
  SelectPixelAt(to.get(), 0, 0);
  BlendTransparent(to.get(), from.get(), 255, 0x001F, 3, 1);
  EXPECT_EQ(GetRaw(to.get(), 0, 0, 2), 0xF000u);
  EXPECT_EQ(GetRaw(to.get(), 1, 0, 2), 0x07E0u);
  EXPECT_EQ(GetRaw(to.get(), 2, 0, 2), 0xF000u);
}

TEST_F(BlendTest, ColourAndMaskBlends) {
  StartAt(32);
  ScopedGraphic destination(CreateGraphic(2, 2, sRGB{1, 100, 200}));
  ScopedLock to(destination.get());
  // Alpha 0 still darkens: c becomes c * 255 / 256, rounded down.
  BlendColor(to.get(), 0xFFFFFF, 0, 2, 2);
  EXPECT_EQ(GetRaw(to.get(), 1, 1, 4), 0xC76300u);

  const std::vector<uint8_t> zeros(4, 0);
  const ScopedAlpha zeroMap(zeros, 2, 2);
  SelectPixelAt(to.get(), 0, 0);
  BlendMask(to.get(), zeroMap.get(), 0xFF0000, 2, 2);
  EXPECT_EQ(GetRaw(to.get(), 0, 0, 4), 0xC76300u);
  EXPECT_EQ(GetRaw(to.get(), 1, 1, 4), 0xC76300u);

  // Map row y, column x of the block: only (1, 0) is blended, fully.
  const std::vector<uint8_t> one{0, 255, 0, 0};
  const ScopedAlpha oneMap(one, 2, 2);
  SelectPixelAt(to.get(), 0, 0);
  BlendMask(to.get(), oneMap.get(), 0xFF0000, 2, 2);
  EXPECT_EQ(GetRaw(to.get(), 1, 0, 4), 0xFE0000u);
  EXPECT_EQ(GetRaw(to.get(), 0, 1, 4), 0xC76300u);
  EXPECT_EQ(GetPixelX(to.get()), 2);
  EXPECT_EQ(GetPixelY(to.get()), 2);

  const ScopedAlpha shortMap(one, 3, 1);
  SelectPixelAt(to.get(), 0, 0);
  BlendMask(to.get(), shortMap.get(), 0x00FF00, 2, 2);
  EXPECT_TRUE(LogHas("BlendMask() Alpha map too small for the rows it reads (Size=3, Needed=4)"));
  EXPECT_EQ(GetRaw(to.get(), 1, 0, 4), 0xFE0000u);
}

TEST_F(BlendTest, AlphaMapIsReadAtTheSourceCursorAndItsSizeChecked) {
  StartAt(32);
  // A 4 x 3 source whose map holds 255 only at (2, 1); blending its 2 x 2
  // block from (1, 0) reaches that byte at block pixel (1, 1).
  ScopedGraphic source(CreateGraphic(4, 3, sRGB{0, 0, 255}));
  ScopedGraphic destination(CreateGraphic(2, 2, sRGB{255, 0, 0}));
  std::vector<uint8_t> bytes(12, 0);
  bytes[1 * 4 + 2] = 255;
  const ScopedAlpha map(bytes, 4, 3);
  ScopedLock from(source.get());
  ScopedLock to(destination.get());
  SelectPixelAt(from.get(), 1, 0);
  BlendAlpha(to.get(), from.get(), map.get(), 2, 2);
  EXPECT_EQ(GetRaw(to.get(), 1, 1, 4), 0xFE0000u);
  EXPECT_EQ(GetRaw(to.get(), 0, 0, 4), 0x0000FFu);
  EXPECT_EQ(GetPixelX(from.get()), 3);
  EXPECT_EQ(GetPixelY(from.get()), 2);

  // The block from (2, 1) reads up to byte 2 * 4 + 3: a map of 11 bytes is short.
  const ScopedAlpha shortMap(bytes, 11, 1);
  SelectPixelAt(from.get(), 2, 1);
  SelectPixelAt(to.get(), 0, 0);
  BlendAlpha(to.get(), from.get(), shortMap.get(), 2, 2);
  EXPECT_TRUE(
      LogHas("BlendAlpha() Alpha map too small for the rows it reads (Size=11, Needed=12)"));
  EXPECT_EQ(GetRaw(to.get(), 0, 0, 4), 0x0000FFu);

  // Without a source nothing is blended; the destination cursor moves on.
  SelectPixelAt(to.get(), 0, 0);
  BlendAlpha(to.get(), nullptr, map.get(), 2, 2);
  EXPECT_EQ(GetRaw(to.get(), 0, 0, 4), 0x0000FFu);
  EXPECT_EQ(GetPixelX(to.get()), 2);
}

TEST_F(BlendTest, MapBlendsTakeOnlyLiveAlphaMaps) {
  StartAt(32);
  ScopedGraphic source(CreateGraphic(2, 2, sRGB{0, 0, 255}));
  ScopedGraphic destination(CreateGraphic(2, 2, sRGB{255, 0, 0}));
  ScopedLock from(source.get());
  ScopedLock to(destination.get());
  const uint32_t before = GetRaw(to.get(), 0, 0, 4);
  // Bytes that are no map: the blends refuse them without reading them.
  std::vector<uint8_t> notAMap(64, 255);
  BlendAlpha(to.get(), from.get(), notAMap.data(), 2, 2);
  EXPECT_TRUE(LogHas("BlendAlpha() Unknown alpha information specified"));
  BlendMask(to.get(), notAMap.data(), 0x00FF00, 2, 2);
  EXPECT_TRUE(LogHas("BlendMask() Unknown alpha information specified"));
  BlendMask(to.get(), nullptr, 0x00FF00, 2, 2);
  EXPECT_TRUE(LogHas("BlendMask() Null pointer to the alpha information specified"));
  EXPECT_EQ(GetRaw(to.get(), 0, 0, 4), before);
  EXPECT_EQ(GetPixelX(to.get()), 0);
}

TEST_F(BlendTest, BlocksFollowTheCursorRulesAndStayInsideBothGraphics) {
  StartAt(16);
  ScopedGraphic source(CreateGraphic(4, 4, sRGB{0, 0, 255}));
  ScopedGraphic destination(CreateGraphic(6, 3, sRGB{}));
  ScopedLock from(source.get());
  ScopedLock to(destination.get());
  // A negative width moves both cursors left first; both end past the block.
  SelectPixelAt(from.get(), 3, 1);
  SelectPixelAt(to.get(), 5, 0);
  BlendPlain(to.get(), from.get(), 255, -3, 2);
  EXPECT_EQ((std::vector<int32_t>{GetPixelX(to.get()), GetPixelY(to.get())}),
            (std::vector<int32_t>{5, 2}));
  EXPECT_EQ((std::vector<int32_t>{GetPixelX(from.get()), GetPixelY(from.get())}),
            (std::vector<int32_t>{3, 3}));
  EXPECT_EQ(GetRaw(to.get(), 2, 0, 2), 0xF000u);
  EXPECT_EQ(GetRaw(to.get(), 4, 1, 2), 0xF000u);
  EXPECT_EQ(GetRaw(to.get(), 1, 0, 2), 0u);
  EXPECT_EQ(GetRaw(to.get(), 5, 0, 2), 0u);

  // A block that runs off both graphics blends only what both hold.
  FillGraphic(destination.get(), sRGB{});
  SelectPixelAt(from.get(), 2, 2);
  SelectPixelAt(to.get(), 4, 1);
  BlendPlain(to.get(), from.get(), 255, 10, 10);
  EXPECT_EQ(GetRaw(to.get(), 4, 1, 2), 0xF000u);
  EXPECT_EQ(GetRaw(to.get(), 5, 2, 2), 0xF000u);
  EXPECT_EQ(GetRaw(to.get(), 3, 1, 2), 0u);
}

}  // namespace
