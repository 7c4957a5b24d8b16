#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "PixelFixture.h"
#include "runtime/Blend.h"
#include "runtime/KernelChoice.h"

// Blends of whole blocks run as vector kernels over the front of each row
// (built for any processor and, where the processor has it, for AVX2), with
// a scalar remainder at each row's end. A block of any width must give, pixel
// for pixel, what blending each pixel on its own gives, on every display
// format, with the key anywhere in a row, and with either build of the
// kernels.

namespace {

class BlendRowsTest : public PixelFixture {
 protected:
  void TearDown() override {
    ForcePortableKernels(false);
    PixelFixture::TearDown();
  }
};

// The kernel builds this processor runs: the portable one, and AVX2's.
std::vector<bool> PortableChoices() {
  std::vector<bool> choices{true};
  if (ProcessorHasAvx2()) {
    choices.push_back(false);
  }
  return choices;
}

// Raw pixel values of a graphic, the fourth byte of 32-bit pixels included.
std::vector<uint32_t> ReadRaw(GraphicHandle graphic, int32_t bytes) {
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  std::vector<uint32_t> pixels;
  LockedGraphic* locked = LockGraphic(graphic);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint32_t value = 0;
      std::memcpy(&value, GetPixelAddress(locked, x, y), static_cast<size_t>(bytes));
      pixels.push_back(value);
    }
  }
  UnlockGraphic(locked);
  return pixels;
}

void FillRaw(GraphicHandle graphic, int32_t bytes, std::mt19937& random, uint32_t key,
             bool withKeys) {
  int32_t width = 0;
  int32_t height = 0;
  GetGraphicSize(graphic, width, height);
  LockedGraphic* locked = LockGraphic(graphic);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint32_t value = static_cast<uint32_t>(random());
      if (withKeys && random() % 3 == 0) {
        // The key, with whatever bits above the compared ones.
        value = (value & ~(bytes == 2 ? 0xFFFFu : 0xFFFFFFu)) | key;
      }
      std::memcpy(GetPixelAddress(locked, x, y), &value, static_cast<size_t>(bytes));
    }
  }
  UnlockGraphic(locked);
}

TEST_F(BlendRowsTest, WholeBlocksMatchPixelByPixelBlendsAtEveryDepth) {
  const int32_t widths[] = {1, 3, 8, 15, 16, 17, 31, 64, 67};
  const uint32_t alphas[] = {1, 128, 200, 255};
  for (const bool portable : PortableChoices()) {
    ForcePortableKernels(portable);
    for (int32_t depth : {15, 16, 24, 32}) {
      SCOPED_TRACE(::testing::Message()
                   << depth << " bits" << (portable ? ", portable" : ", AVX2"));
      platform::testing::ResetDisplaySettings();
      StartAt(depth);
      const int32_t bytes = depth <= 16 ? 2 : depth / 8;
      const uint32_t key = depth <= 16 ? 0x7C1Fu : 0xFF00FFu;
      std::mt19937 random(static_cast<uint32_t>(depth));
      for (int32_t width : widths) {
        for (uint32_t alpha : alphas) {
          for (bool keyed : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "width " << width << " alpha " << alpha
                                              << (keyed ? " keyed" : " plain"));
            constexpr int32_t kHeight = 3;
            ScopedGraphic source(CreateGraphic(width, kHeight, sRGB{}));
            ScopedGraphic whole(CreateGraphic(width + 2, kHeight, sRGB{}));
            FillRaw(source.get(), bytes, random, key, keyed);
            FillRaw(whole.get(), bytes, random, key, false);
            ScopedGraphic single(CreateGraphic(width + 2, kHeight, sRGB{}));
            {
              // The same destination pixels for the blends one by one.
              const std::vector<uint32_t> start = ReadRaw(whole.get(), bytes);
              LockedGraphic* locked = LockGraphic(single.get());
              for (int32_t index = 0; index < static_cast<int32_t>(start.size()); ++index) {
                std::memcpy(GetPixelAddress(locked, index % (width + 2), index / (width + 2)),
                            &start[static_cast<size_t>(index)], static_cast<size_t>(bytes));
              }
              UnlockGraphic(locked);
            }
            {
              ScopedLock from(source.get());
              ScopedLock to(whole.get());
              SelectPixelAt(from.get(), 0, 0);
              SelectPixelAt(to.get(), 1, 0);
              if (keyed) {
                BlendTransparent(to.get(), from.get(), alpha, key, width, kHeight);
              } else {
                BlendPlain(to.get(), from.get(), alpha, width, kHeight);
              }
            }
            {
              ScopedLock from(source.get());
              ScopedLock to(single.get());
              for (int32_t y = 0; y < kHeight; ++y) {
                for (int32_t x = 0; x < width; ++x) {
                  SelectPixelAt(from.get(), x, y);
                  SelectPixelAt(to.get(), x + 1, y);
                  if (keyed) {
                    BlendTransparent(to.get(), from.get(), alpha, key, 1, 1);
                  } else {
                    BlendPlain(to.get(), from.get(), alpha, 1, 1);
                  }
                }
              }
            }
            EXPECT_EQ(ReadRaw(whole.get(), bytes), ReadRaw(single.get(), bytes));
          }
        }
      }
      StopDisplay();
    }
  }
}

// A graphic blended onto itself a pixel or a row away: each pixel reads its
// neighbour as blended before it, as blending pixel by pixel in row order
// does, whichever kernels run.
TEST_F(BlendRowsTest, BlendOntoItselfShiftedGoesPixelByPixel) {
  struct Shift {
    int32_t fromX, fromY, toX, toY;
  };
  const Shift shifts[] = {{0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}, {0, 1, 0, 0}, {2, 1, 1, 0}};
  constexpr int32_t kWidth = 67;
  constexpr int32_t kHeight = 3;
  for (const bool portable : PortableChoices()) {
    ForcePortableKernels(portable);
    for (int32_t depth : {16, 32}) {
      platform::testing::ResetDisplaySettings();
      StartAt(depth);
      const int32_t bytes = depth / 8;
      const uint32_t key = depth == 16 ? 0xF81Fu : 0xFF00FFu;
      std::mt19937 random(static_cast<uint32_t>(depth));
      for (const Shift& shift : shifts) {
        for (bool keyed : {false, true}) {
          SCOPED_TRACE(::testing::Message()
                       << depth << " bits, from " << shift.fromX << "," << shift.fromY << " to "
                       << shift.toX << "," << shift.toY << (keyed ? " keyed" : " plain")
                       << (portable ? ", portable" : ", AVX2"));
          ScopedGraphic whole(CreateGraphic(kWidth + 2, kHeight + 1, sRGB{}));
          FillRaw(whole.get(), bytes, random, key, true);
          ScopedGraphic single(CreateGraphic(kWidth + 2, kHeight + 1, sRGB{}));
          {
            const std::vector<uint32_t> start = ReadRaw(whole.get(), bytes);
            LockedGraphic* locked = LockGraphic(single.get());
            for (int32_t index = 0; index < static_cast<int32_t>(start.size()); ++index) {
              std::memcpy(GetPixelAddress(locked, index % (kWidth + 2), index / (kWidth + 2)),
                          &start[static_cast<size_t>(index)], static_cast<size_t>(bytes));
            }
            UnlockGraphic(locked);
          }
          const auto blend = [&](GraphicHandle graphic, int32_t x, int32_t y, int32_t width,
                                 int32_t height) {
            ScopedLock from(graphic);
            ScopedLock to(graphic);
            SelectPixelAt(from.get(), shift.fromX + x, shift.fromY + y);
            SelectPixelAt(to.get(), shift.toX + x, shift.toY + y);
            if (keyed) {
              BlendTransparent(to.get(), from.get(), 100, key, width, height);
            } else {
              BlendPlain(to.get(), from.get(), 100, width, height);
            }
          };
          blend(whole.get(), 0, 0, kWidth, kHeight);
          for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
              blend(single.get(), x, y, 1, 1);
            }
          }
          EXPECT_EQ(ReadRaw(whole.get(), bytes), ReadRaw(single.get(), bytes));
        }
      }
      StopDisplay();
    }
  }
}

}  // namespace
