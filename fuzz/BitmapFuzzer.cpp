// BMP files: the input is the file. A picture the reader accepts (any
// header, palette, run-length coding or mask layout) is converted into the
// game's pixel formats, saved in the form the writer makes, and must load
// back with the same size and pixels.

#include <cstddef>
#include <cstdint>

#include "base/tBitmap.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "fuzz/ImageRoundTrip.h"

namespace {

uint32_t LittleEndianAt(const uint8_t* data, size_t offset) {
  return static_cast<uint32_t>(data[offset]) | (static_cast<uint32_t>(data[offset + 1]) << 8) |
         (static_cast<uint32_t>(data[offset + 2]) << 16) | (static_cast<uint32_t>(data[offset + 3]) << 24);
}

uint64_t Magnitude(uint32_t storedValue) {
  const int64_t value = static_cast<int32_t>(storedValue);
  return static_cast<uint64_t>(value < 0 ? -value : value);
}

// A run-length coded file decodes a few bytes into a picture of up to 64
// million pixels, which the reader allows and which takes it a good part of a
// second. One two-byte code paints at most 255 pixels, so a picture with more
// than 128 pixels per byte of the file is mostly pixels no code reaches,
// black in every copy, and a smaller picture runs the same decoder over the
// same codes; the fuzzer passes such files by, and pictures beyond what the
// checks after loading take, so its time goes to inputs that reach new code.
bool IsLargeRunLengthPicture(const uint8_t* data, size_t size) {
  constexpr size_t kInfoHeaderEnd = 14 + 40;
  constexpr uint64_t kPixelsPerCodeByte = 128;
  if (size < kInfoHeaderEnd || LittleEndianAt(data, 14) < 40) {
    return false;
  }
  const uint32_t compression = LittleEndianAt(data, 30);
  const uint64_t pixels = Magnitude(LittleEndianAt(data, 18)) * Magnitude(LittleEndianAt(data, 22));
  return (compression == BitmapRunLength8 || compression == BitmapRunLength4) &&
         (pixels > image_fuzzing::kLargestCheckedPixels || pixels > kPixelsPerCodeByte * size);
}

// The input and the saved copy each live in one file opened once: opening
// files by name on every run cost more than the reading and writing.
FuzzReusedFile& InputFile() {
  static FuzzReusedFile file("Fuzz.bmp");
  return file;
}

FuzzReusedFile& SavedFile() {
  static FuzzReusedFile file("Saved.bmp");
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (IsLargeRunLengthPicture(data, size)) {
    return 0;
  }
  tBitmap bitmap;
  if (!bitmap.LoadFrom(InputFile().Holding(data, size))) {
    return 0;
  }
  if (!image_fuzzing::SmallEnoughToCheck(bitmap)) {
    return 0;
  }
  image_fuzzing::Convert(bitmap);
  FuzzRequire(bitmap.SaveTo(SavedFile().Emptied()), "an accepted bitmap can be saved");
  tBitmap reloaded;
  FuzzRequire(reloaded.LoadFrom(SavedFile().Rewound()), "a saved bitmap loads");
  FuzzRequire(reloaded.GetWidth() == bitmap.GetWidth() && reloaded.GetHeight() == bitmap.GetHeight() &&
                  reloaded.GetBitsPerPixel() == bitmap.GetBitsPerPixel(),
              "a reloaded bitmap has the saved size and depth");
  FuzzRequire(image_fuzzing::SamePixels(reloaded, bitmap), "a reloaded bitmap has the saved pixels");
  return 0;
}
