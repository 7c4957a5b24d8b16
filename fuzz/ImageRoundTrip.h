#pragma once

#include <cstdint>
#include <cstring>

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
