#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/tBitmap.h"
#include "base/tImage.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"

// What the image targets do with an image their reader accepted: convert it
// into the pixel formats the game uses, and save it and load it back with
// its own file format.

namespace image_fuzzing {

struct PixelFormat {
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
  uint32_t bitsPerPixel;
  uint32_t origin;
};

// Run-length coded BMP files decode a few bytes into pictures of up to 64
// million pixels, which the reader allows; converting and saving those again
// would only slow the fuzzing down, so the checks after loading keep to
// pictures of at most this many pixels.
constexpr uint64_t kLargestCheckedPixels = uint64_t{1} << 20;

inline bool SmallEnoughToCheck(const tImage& image) {
  return uint64_t{image.GetWidth()} * image.GetHeight() <= kLargestCheckedPixels;
}

inline uint32_t LittleEndianAt(const uint8_t* data, size_t offset) {
  return static_cast<uint32_t>(data[offset]) | (static_cast<uint32_t>(data[offset + 1]) << 8) |
         (static_cast<uint32_t>(data[offset + 2]) << 16) | (static_cast<uint32_t>(data[offset + 3]) << 24);
}

inline uint64_t Magnitude(uint32_t storedValue) {
  const int64_t value = static_cast<int32_t>(storedValue);
  return static_cast<uint64_t>(value < 0 ? -value : value);
}

// A run-length coded file decodes a few bytes into a picture of up to 64
// million pixels, which the reader allows and which takes it a good part of a
// second. One two-byte code paints at most 255 pixels, so a picture with more
// than 128 pixels per byte of the file is mostly pixels no code reaches,
// black in every copy, and a smaller picture runs the same decoder over the
// same codes; the targets pass such files by, and pictures beyond what the
// checks after loading take, so their time goes to inputs that reach new code.
inline bool IsLargeRunLengthPicture(const uint8_t* data, size_t size) {
  constexpr size_t kInfoHeaderEnd = 14 + 40;
  constexpr uint64_t kPixelsPerCodeByte = 128;
  if (size < kInfoHeaderEnd || LittleEndianAt(data, 14) < 40) {
    return false;
  }
  const uint32_t compression = LittleEndianAt(data, 30);
  const uint64_t pixels = Magnitude(LittleEndianAt(data, 18)) * Magnitude(LittleEndianAt(data, 22));
  return (compression == BitmapRunLength8 || compression == BitmapRunLength4) &&
         (pixels > kLargestCheckedPixels || pixels > kPixelsPerCodeByte * size);
}

constexpr PixelFormat kConversions[] = {
    {0xF800, 0x07E0, 0x001F, 16, kImageTopDown},
    {0x7C00, 0x03E0, 0x001F, 15, kImageBottomUp},
    {0x0000FF, 0x00FF00, 0xFF0000, 24, kImageTopDown},
    {0xFF0000, 0x00FF00, 0x0000FF, 32, kImageBottomUp},
};

inline void Convert(const tImage& image) {
  for (const PixelFormat& format : kConversions) {
    tImage converted;
    if (converted.Create(0, 0, 0, format.redMask, format.greenMask, format.blueMask, 0, format.bitsPerPixel,
                         format.origin, 0, false, kImageVersionGraphic)) {
      converted.ConvertImage(&image);
    }
  }
}

template <typename Image>
bool Load(Image& image, const std::string& name) {
  const FuzzFileHandle file(name, false);
  return image.LoadFrom(file.Get());
}

template <typename Image>
bool Save(Image& image, const std::string& name) {
  const FuzzFileHandle file(name, true);
  return image.SaveTo(file.Get());
}

// The same pixels row by row; the bytes that pad a row beyond its pixels
// are not part of the picture, and a writer may store rows with a pitch of
// its own.
inline bool SamePixels(const tImage& first, const tImage& second) {
  if (first.GetWidth() != second.GetWidth() || first.GetHeight() != second.GetHeight() ||
      first.GetBytesPerPixel() != second.GetBytesPerPixel() || first.GetOrigin() != second.GetOrigin() ||
      first.GetAlphaSize() != second.GetAlphaSize()) {
    return false;
  }
  const size_t rowBytes = size_t{first.GetWidth()} * first.GetBytesPerPixel();
  for (uint32_t row = 0; row < first.GetHeight() && rowBytes != 0; ++row) {
    if (std::memcmp(first.GetBits() + size_t{row} * first.GetRowPitch(),
                    second.GetBits() + size_t{row} * second.GetRowPitch(), rowBytes) != 0) {
      return false;
    }
  }
  return first.GetAlphaSize() == 0 ||
         std::memcmp(first.GetAlphaBits(), second.GetAlphaBits(), first.GetAlphaSize()) == 0;
}

}  // namespace image_fuzzing
