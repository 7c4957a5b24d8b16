#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "DisplayFixture.h"
#include "runtime/Display.h"
#include "runtime/Graphics.h"

// A graphic destroyed at the end of the test.
class ScopedGraphic {
 public:
  explicit ScopedGraphic(GraphicHandle graphic) : graphic_(graphic) {}
  ~ScopedGraphic() {
    if (graphic_ != nullptr) {
      DestroyGraphic(graphic_);
    }
  }
  ScopedGraphic(const ScopedGraphic&) = delete;
  ScopedGraphic& operator=(const ScopedGraphic&) = delete;
  GraphicHandle get() const { return graphic_; }

 private:
  GraphicHandle graphic_;
};

// A locked graphic unlocked at the end of the scope.
class ScopedLock {
 public:
  explicit ScopedLock(GraphicHandle graphic) : locked_(LockGraphic(graphic)) {}
  ~ScopedLock() {
    if (locked_ != nullptr) {
      UnlockGraphic(locked_);
    }
  }
  ScopedLock(const ScopedLock&) = delete;
  ScopedLock& operator=(const ScopedLock&) = delete;
  LockedGraphic* get() const { return locked_; }

 private:
  LockedGraphic* locked_;
};

// The pixels of a graphic as rows of display values.
struct PixelImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;

  uint32_t& at(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y * width + x)]; }
  uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// A display value that differs for every pixel of small graphics and never
// equals the colours the tests key out (pure red and the dark range).
inline uint32_t PatternPixel(int32_t x, int32_t y, int32_t seed) {
  return GetColor(static_cast<uint32_t>(64 + ((x * 16 + seed * 8) % 184)),
                  static_cast<uint32_t>(64 + ((y * 24 + seed * 40) % 184)),
                  static_cast<uint32_t>(120 + seed * 8));
}

inline PixelImage ReadImage(GraphicHandle graphic) {
  PixelImage image;
  GetGraphicSize(graphic, image.width, image.height);
  image.pixels.resize(static_cast<size_t>(image.width * image.height));
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      image.at(x, y) = GetGraphicPixel(graphic, x, y);
    }
  }
  return image;
}

inline void WriteImage(GraphicHandle graphic, const PixelImage& image) {
  for (int32_t y = 0; y < image.height; ++y) {
    for (int32_t x = 0; x < image.width; ++x) {
      SetGraphicPixel(graphic, x, y, image.at(x, y));
    }
  }
}

// A graphic of the size filled with PatternPixel values.
inline GraphicHandle MakePatternGraphic(int32_t width, int32_t height, int32_t seed) {
  GraphicHandle graphic = CreateGraphic(width, height, sRGB{});
  PixelImage image{width, height, std::vector<uint32_t>(static_cast<size_t>(width * height))};
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      image.at(x, y) = PatternPixel(x, y, seed);
    }
  }
  WriteImage(graphic, image);
  return graphic;
}

// Counts the pixels that differ, and reports the first few.
inline int32_t CountDifferences(const PixelImage& actual, const PixelImage& expected) {
  int32_t differences = 0;
  for (int32_t y = 0; y < expected.height; ++y) {
    for (int32_t x = 0; x < expected.width; ++x) {
      if (actual.at(x, y) != expected.at(x, y)) {
        if (++differences <= 3) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << actual.at(x, y)
                        << ", expected " << expected.at(x, y);
        }
      }
    }
  }
  return differences;
}

// A display started for pixel tests, at a depth (15 gives a 5/5/5 card).
class PixelFixture : public DisplayFixture {
 protected:
  void StartAt(int32_t depth) {
    if (depth == 15) {
      platform::testing::SetSixteenBitFormat(platform::Format555());
    }
    ASSERT_TRUE(StartDisplay(Settings(false, true, depth == 15 ? 16 : depth)));
    ASSERT_EQ(BitsPerPixel(), depth);
  }
};
