#include <cstring>

#include "base/DebugFormat.h"
#include "base/tImage.h"

// The pixel copy between two layouts. Each pixel is either copied as bytes
// (same format), converted directly (the three common red-above-blue pairs),
// or unpacked into a four-byte intermediate (blue, green, red, extra) and
// packed again. Expanded 5- and 6-bit channels are shifted up without
// filling their low bits.

namespace {

enum Channel { Blue = 0, Green = 1, Red = 2, Extra = 3 };

using Quad = uint8_t[4];
using Unpacker = void (*)(const uint8_t* pixel, Quad& quad);
using Packer = void (*)(const Quad& quad, uint8_t* pixel);
using DirectConverter = void (*)(const uint8_t* source, uint8_t* destination);

uint16_t Load16(const uint8_t* pixel) { return static_cast<uint16_t>(pixel[0] | (pixel[1] << 8)); }
void Store16(uint8_t* pixel, uint32_t value) {
  pixel[0] = static_cast<uint8_t>(value);
  pixel[1] = static_cast<uint8_t>(value >> 8);
}
uint32_t Load32(const uint8_t* pixel) {
  uint32_t value;
  std::memcpy(&value, pixel, 4);
  return value;
}
void Store32(uint8_t* pixel, uint32_t value) { std::memcpy(pixel, &value, 4); }

// 5/5/5 and 5/6/5 with the first channel in the high bits; "high" is red for
// red-above-blue formats and blue for the others.
template <Channel High, Channel Low>
void Unpack15(const uint8_t* pixel, Quad& quad) {
  const uint32_t value = Load16(pixel);
  quad[High] = static_cast<uint8_t>((value >> 7) & 0xF8);
  quad[Green] = static_cast<uint8_t>((value >> 2) & 0xF8);
  quad[Low] = static_cast<uint8_t>(value << 3);
}
template <Channel High, Channel Low>
void Unpack16(const uint8_t* pixel, Quad& quad) {
  const uint32_t value = Load16(pixel);
  quad[High] = static_cast<uint8_t>((value >> 8) & 0xF8);
  quad[Green] = static_cast<uint8_t>((value >> 3) & 0xFC);
  quad[Low] = static_cast<uint8_t>(value << 3);
}
template <Channel High, Channel Low>
void Pack15(const Quad& quad, uint8_t* pixel) {
  Store16(pixel, ((quad[High] & 0xF8u) << 7) | ((quad[Green] & 0xF8u) << 2) | (quad[Low] >> 3));
}
template <Channel High, Channel Low>
void Pack16(const Quad& quad, uint8_t* pixel) {
  Store16(pixel, ((quad[High] & 0xF8u) << 8) | ((quad[Green] & 0xFCu) << 3) | (quad[Low] >> 3));
}

void Unpack24(const uint8_t* pixel, Quad& quad) { std::memcpy(quad, pixel, 3); }
void Unpack24Reversed(const uint8_t* pixel, Quad& quad) {
  quad[Blue] = pixel[2];
  quad[Green] = pixel[1];
  quad[Red] = pixel[0];
}
void Pack24(const Quad& quad, uint8_t* pixel) { std::memcpy(pixel, quad, 3); }
void Pack24Reversed(const Quad& quad, uint8_t* pixel) {
  pixel[0] = quad[Red];
  pixel[1] = quad[Green];
  pixel[2] = quad[Blue];
}
void Unpack32(const uint8_t* pixel, Quad& quad) { std::memcpy(quad, pixel, 4); }
// The fourth byte is dropped: the intermediate keeps its extra byte.
void Unpack32Reversed(const uint8_t* pixel, Quad& quad) { Unpack24Reversed(pixel, quad); }
void Pack32(const Quad& quad, uint8_t* pixel) { std::memcpy(pixel, quad, 4); }
// The destination's fourth byte is left as it was.
void Pack32Reversed(const Quad& quad, uint8_t* pixel) { Pack24Reversed(quad, pixel); }

bool RedAboveBlue(const tPixelSide& side) { return side.RedMask > side.BlueMask; }

Unpacker ChooseUnpacker(const tPixelSide& side) {
  const bool redFirst = RedAboveBlue(side);
  switch (side.BitsPerPixel) {
    case 15: return redFirst ? Unpack15<Red, Blue> : Unpack15<Blue, Red>;
    case 16: return redFirst ? Unpack16<Red, Blue> : Unpack16<Blue, Red>;
    case 24: return redFirst ? Unpack24 : Unpack24Reversed;
    case 32: return redFirst ? Unpack32 : Unpack32Reversed;
    default: return nullptr;
  }
}

Packer ChoosePacker(const tPixelSide& side) {
  const bool redFirst = RedAboveBlue(side);
  switch (side.BitsPerPixel) {
    case 15: return redFirst ? Pack15<Red, Blue> : Pack15<Blue, Red>;
    case 16: return redFirst ? Pack16<Red, Blue> : Pack16<Blue, Red>;
    case 24: return redFirst ? Pack24 : Pack24Reversed;
    case 32: return redFirst ? Pack32 : Pack32Reversed;
    default: return nullptr;
  }
}

void Convert16To15(const uint8_t* source, uint8_t* destination) {
  const uint32_t value = Load16(source);
  Store16(destination, ((value >> 1) & 0x7FE0) | (value & 0x1F));
}
void Convert32To16(const uint8_t* source, uint8_t* destination) {
  const uint32_t value = Load32(source);
  Store16(destination, ((value >> 8) & 0xF800) | ((value >> 5) & 0x07E0) | ((value >> 3) & 0x001F));
}
void Convert16To32(const uint8_t* source, uint8_t* destination) {
  const uint32_t value = Load16(source);
  Store32(destination, ((value & 0xF800) << 8) | ((value & 0x07E0) << 5) | ((value & 0x001F) << 3));
}

DirectConverter ChooseDirect(const tPixelSide& source, const tPixelSide& destination) {
  if (!RedAboveBlue(source) || !RedAboveBlue(destination)) {
    return nullptr;
  }
  if (source.BitsPerPixel == 16 && destination.BitsPerPixel == 15) {
    return Convert16To15;
  }
  if (source.BitsPerPixel == 32 && destination.BitsPerPixel == 16) {
    return Convert32To16;
  }
  if (source.BitsPerPixel == 16 && destination.BitsPerPixel == 32) {
    return Convert16To32;
  }
  return nullptr;
}

uint32_t BytesPerPixel(uint32_t bitsPerPixel) { return (bitsPerPixel + 7) / 8; }

// Walks the rows of both sides; the source is walked from its last row up
// when the rows are flipped.
template <typename RowCopy>
void ForEachRow(const tPixelSide& source, const tPixelSide& destination, uint32_t height, bool flip,
                RowCopy copyRow) {
  for (uint32_t row = 0; row < height; ++row) {
    const uint32_t sourceRow = flip ? height - 1 - row : row;
    const uint8_t* from = source.Bits + static_cast<size_t>(sourceRow) * source.Pitch;
    uint8_t* to = destination.Bits + static_cast<size_t>(row) * destination.Pitch;
    copyRow(from, to);
  }
}

}  // namespace

bool tImage::Blt(const void* sourceBits, uint32_t sourceBitsPerPixel, uint32_t sourceOrigin, uint32_t sourcePitch,
                 uint32_t sourceRed, uint32_t sourceGreen, uint32_t sourceBlue, uint32_t sourceAlpha,
                 void* destinationBits, uint32_t destinationBitsPerPixel, uint32_t destinationOrigin,
                 uint32_t destinationPitch, uint32_t destinationRed, uint32_t destinationGreen,
                 uint32_t destinationBlue, uint32_t destinationAlpha, uint32_t width, uint32_t height) {
  // The source is only read; the side record holds a writable pointer so one
  // type serves both directions.
  const tPixelSide source{static_cast<uint8_t*>(const_cast<void*>(sourceBits)), sourceBitsPerPixel, sourceOrigin,
                          sourcePitch, sourceRed, sourceGreen, sourceBlue, sourceAlpha};
  const tPixelSide destination{static_cast<uint8_t*>(destinationBits), destinationBitsPerPixel, destinationOrigin,
                               destinationPitch, destinationRed, destinationGreen, destinationBlue,
                               destinationAlpha};
  if (destination.Bits == nullptr) {
    DebugPrint("tImage::Blt() Null-pointer to the destination specified (Image=%p:%s)\n", static_cast<void*>(this),
               GetClassName());
    return false;
  }
  if (source.Bits == nullptr) {
    DebugPrint("tImage::Blt() Null-pointer to the source specified (Image=%p:%s)\n", static_cast<void*>(this),
               GetClassName());
    return false;
  }
  const bool flip = source.Origin == kImageBottomUp && destination.Origin == kImageTopDown;
  if (!flip && !(source.Origin == kImageTopDown && destination.Origin == kImageTopDown)) {
    DebugPrint("tImage::Blt() Origin not supported (Source=%u, Dest=%u, Image=%p:%s)\n", source.Origin,
               destination.Origin, static_cast<void*>(this), GetClassName());
  }

  if (source.RedMask == destination.RedMask && source.BlueMask == destination.BlueMask &&
      source.BitsPerPixel == destination.BitsPerPixel) {
    const size_t rowBytes = static_cast<size_t>(BytesPerPixel(source.BitsPerPixel)) * width;
    ForEachRow(source, destination, height, flip,
               [rowBytes](const uint8_t* from, uint8_t* to) { std::memmove(to, from, rowBytes); });
    return true;
  }

  const uint32_t sourceStep = BytesPerPixel(source.BitsPerPixel);
  const uint32_t destinationStep = BytesPerPixel(destination.BitsPerPixel);
  if (const DirectConverter convert = ChooseDirect(source, destination)) {
    ForEachRow(source, destination, height, flip, [&](const uint8_t* from, uint8_t* to) {
      for (uint32_t column = 0; column < width; ++column) {
        convert(from + static_cast<size_t>(column) * sourceStep, to + static_cast<size_t>(column) * destinationStep);
      }
    });
    return true;
  }

  const Unpacker unpack = ChooseUnpacker(source);
  if (unpack == nullptr) {
    DebugPrint(
        "tImage::Blt() Source format not supported (BitsPerPixel=%i, Red=%x, Green=%x, Blue=%x, Alpha=%x, "
        "Image=%p:%s)\n",
        static_cast<int>(source.BitsPerPixel), source.RedMask, source.GreenMask, source.BlueMask, source.AlphaMask,
        static_cast<void*>(this), GetClassName());
    return false;
  }
  const Packer pack = ChoosePacker(destination);
  if (pack == nullptr) {
    DebugPrint(
        "tImage::Blt() Destination format not supported (BitsPerPixel=%i, Red=%x, Green=%x, Blue=%x, Alpha=%x, "
        "Image=%p:%s)\n",
        static_cast<int>(destination.BitsPerPixel), destination.RedMask, destination.GreenMask,
        destination.BlueMask, destination.AlphaMask, static_cast<void*>(this), GetClassName());
    return false;
  }
  // Zeroed once for the whole copy: a source that never fills the extra
  // byte hands 0 on to a destination that writes it.
  Quad quad = {0, 0, 0, 0};
  ForEachRow(source, destination, height, flip, [&](const uint8_t* from, uint8_t* to) {
    for (uint32_t column = 0; column < width; ++column) {
      unpack(from + static_cast<size_t>(column) * sourceStep, quad);
      pack(quad, to + static_cast<size_t>(column) * destinationStep);
    }
  });
  return true;
}

bool tImage::BltSides(const tPixelSide& source, const tPixelSide& destination, uint32_t width, uint32_t height) {
  return Blt(source.Bits, source.BitsPerPixel, source.Origin, source.Pitch, source.RedMask, source.GreenMask,
             source.BlueMask, source.AlphaMask, destination.Bits, destination.BitsPerPixel, destination.Origin,
             destination.Pitch, destination.RedMask, destination.GreenMask, destination.BlueMask,
             destination.AlphaMask, width, height);
}

bool tImage::BltTo(const tPixelSide& destination) { return BltSides(PixelSide(), destination, GetWidth(), GetHeight()); }

bool tImage::BltFrom(const tPixelSide& source) { return BltSides(source, PixelSide(), GetWidth(), GetHeight()); }
