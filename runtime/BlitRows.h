#pragma once

#include <cstdint>

// The row kernels behind every blit: unscaled and stretched copies of a block
// of pixels, with or without a colour key. They take memory that the caller
// has checked: both blocks lie inside their surfaces. The pixel size and the
// kind of key are chosen once per block, never per pixel.

// A block of pixels: the address of its top-left pixel, the bytes from one
// row to the next and its size in pixels.
struct tPixelBlock {
  uint8_t* Memory = nullptr;
  int32_t Pitch = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

struct tConstPixelBlock {
  const uint8_t* Memory = nullptr;
  int32_t Pitch = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Which source pixels are not copied. A key range compares each colour
// channel of the display format on its own, both ends included: a pixel is
// keyed when every channel lies between the low and the high key's channel.
// One key colour is the range from that colour to itself. Bits outside the
// three channel masks (a 5/5/5 pixel's top bit, a 32-bit pixel's top byte)
// never take part.
struct tBlitKey {
  enum class Kind : uint8_t { None, Single, Range };
  Kind KeyKind = Kind::None;
  uint32_t ChannelMasks[3] = {0, 0, 0};
  uint32_t Low = 0;
  uint32_t High = 0;
};

// Builds the key for a format's channel masks from packed low and high colours.
tBlitKey MakeBlitKey(uint32_t redMask, uint32_t greenMask, uint32_t blueMask, uint32_t low,
                     uint32_t high);

// Copies the source block onto the destination block of the same size.
void CopyPixelRows(uint32_t bytesPerPixel, const tPixelBlock& destination,
                   const tConstPixelBlock& source, const tBlitKey& key);

// Stretches the source block onto the destination block. Each destination
// pixel takes the source pixel under its centre: column x of a destination
// of width W reads source column floor((2x + 1) * sourceWidth / (2W)), and
// rows likewise, so shrinking and enlarging both sample the nearest pixel
// and never leave the source block.
void StretchPixelRows(uint32_t bytesPerPixel, const tPixelBlock& destination,
                      const tConstPixelBlock& source, const tBlitKey& key);

// The source column (or row) that destination column x of a stretch reads.
inline int32_t StretchSourceIndex(int32_t x, int32_t destinationSize, int32_t sourceSize) {
  return static_cast<int32_t>((2 * static_cast<int64_t>(x) + 1) * sourceSize /
                              (2 * static_cast<int64_t>(destinationSize)));
}
