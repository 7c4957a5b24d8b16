#pragma once

#include <cstdint>

namespace platform {

// ---- Pixel formats ----

// How a pixel is stored: its size in memory and where each colour channel
// lies. A 5/5/5 format is stored in 16 bits, like the display modes that
// offer it; the bits no channel uses form the format's alpha mask.
struct PixelFormat {
  uint32_t bitCount = 0;  // bits of storage per pixel: 16, 24 or 32
  uint32_t redMask = 0;
  uint32_t greenMask = 0;
  uint32_t blueMask = 0;

  uint32_t BytesPerPixel() const { return (bitCount + 7) / 8; }
  // Every bit of the pixel that belongs to no colour channel.
  uint32_t AlphaMask() const;
  bool operator==(const PixelFormat&) const = default;
};

// The formats the display offers, and a few others that tests and tools use.
PixelFormat Format565();       // 16 bits: red 0xF800, green 0x07E0, blue 0x001F
PixelFormat Format555();       // 16 bits: red 0x7C00, green 0x03E0, blue 0x001F
PixelFormat FormatRGB24();     // 24 bits: red 0xFF0000, green 0xFF00, blue 0xFF
PixelFormat FormatRGB32();     // 32 bits: as 24, top byte unused
PixelFormat FormatBGR24();     // 24 bits: blue 0xFF0000, green 0xFF00, red 0xFF
PixelFormat FormatBGR32();     // 32 bits: as BGR 24, top byte unused

// The display's format for a depth: 15 gives 5/5/5, 16 gives 5/6/5, 24 and 32
// give red-green-blue byte order; any other depth gives a format of bit count 0.
PixelFormat FormatForDepth(int32_t bitsPerPixel);

// Position of the lowest set bit of a mask (0 for an empty mask).
uint32_t MaskShift(uint32_t mask);
// Number of set bits of a mask.
uint32_t MaskBitCount(uint32_t mask);

}  // namespace platform
