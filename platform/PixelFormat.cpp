#include "platform/PixelFormat.h"

#include <bit>

namespace platform {

uint32_t PixelFormat::AlphaMask() const {
  const uint32_t storage = bitCount >= 32 ? 0xFFFFFFFFu : (1u << bitCount) - 1u;
  return storage & ~(redMask | greenMask | blueMask);
}

PixelFormat Format565() { return {16, 0xF800, 0x07E0, 0x001F}; }
PixelFormat Format555() { return {16, 0x7C00, 0x03E0, 0x001F}; }
PixelFormat FormatRGB24() { return {24, 0xFF0000, 0x00FF00, 0x0000FF}; }
PixelFormat FormatRGB32() { return {32, 0xFF0000, 0x00FF00, 0x0000FF}; }
PixelFormat FormatBGR24() { return {24, 0x0000FF, 0x00FF00, 0xFF0000}; }
PixelFormat FormatBGR32() { return {32, 0x0000FF, 0x00FF00, 0xFF0000}; }

PixelFormat FormatForDepth(int32_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 15:
      return Format555();
    case 16:
      return Format565();
    case 24:
      return FormatRGB24();
    case 32:
      return FormatRGB32();
    default:
      return {};
  }
}

uint32_t MaskShift(uint32_t mask) { return mask == 0 ? 0 : std::countr_zero(mask); }

uint32_t MaskBitCount(uint32_t mask) { return std::popcount(mask); }

}  // namespace platform
