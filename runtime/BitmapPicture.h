#pragma once

#include <cstdint>
#include <vector>

#include "platform/Surface.h"

// Pictures of 24-bit pixels in memory, the form in which graphics are saved
// and printed: read from a rectangle of a surface, stretched onto a page and
// written as an uncompressed 24-bit BMP file with bottom-up rows.

// The largest picture side accepted, in pixels (a printed page is 3508 high).
constexpr int32_t kMaxPictureSide = 16384;
// Resolutions stored in BMP files, in pixels per metre.
constexpr int32_t kScreenPixelsPerMetre = 3780;  // 96 dots per inch

struct tBitmapPicture {
  int32_t Width = 0;
  int32_t Height = 0;
  // Rows from the top, 3 bytes per pixel in the order blue, green, red, no
  // padding.
  std::vector<uint8_t> Pixels;

  uint8_t* PixelAt(int32_t x, int32_t y) {
    return Pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 3;
  }
  const uint8_t* PixelAt(int32_t x, int32_t y) const {
    return Pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 3;
  }
};

// A width x height picture of one colour; false (nothing made) for a side
// below 1 or above kMaxPictureSide.
bool MakePicture(int32_t width, int32_t height, uint8_t grey, tBitmapPicture& picture);
// Copies the rectangle of the surface into a picture of the rectangle's size,
// each channel widened to 8 bits (the bits a channel lacks are 0); parts of
// the rectangle outside the surface stay black. A lost surface is restored
// and read again. Answers the lock's result (Ok on success); InvalidRectangle
// for a size MakePicture refuses.
platform::SurfaceResult ReadSurfacePicture(platform::Surface& surface, const platform::SurfaceRect& rectangle,
                                           tBitmapPicture& picture);
// Copies the source rectangle of one picture onto the destination rectangle
// of another, stretched by nearest pixels; the parts outside either picture
// are skipped.
void StretchPicture(const tBitmapPicture& source, const platform::SurfaceRect& sourceRectangle,
                    tBitmapPicture& destination, const platform::SurfaceRect& destinationRectangle);
// Writes the picture as a 24-bit BMP file under the game name: a temporary
// file beside it first, renamed over the name when complete, so a failed
// save keeps an older file of that name. The prefix and item start and end
// the log lines of a failure.
bool WriteBitmapPicture(const char* prefix, const char* name, const void* item, const tBitmapPicture& picture,
                        int32_t pixelsPerMetre);
