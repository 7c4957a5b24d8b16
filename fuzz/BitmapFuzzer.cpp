// BMP files: the input is the file. A picture the reader accepts (any
// header, palette, run-length coding or mask layout) is converted into the
// game's pixel formats, saved in the form the writer makes, and must load
// back with the same size and pixels.

#include <cstddef>
#include <cstdint>
#include <string>

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
// second; the fuzzer passes such files by, so its time goes to inputs that
// reach new code. Smaller coded pictures run the same decoder.
bool IsLargeRunLengthPicture(const uint8_t* data, size_t size) {
  constexpr size_t kInfoHeaderEnd = 14 + 40;
  constexpr uint64_t kLargestDecodedPixels = uint64_t{1} << 20;
  if (size < kInfoHeaderEnd || LittleEndianAt(data, 14) < 40) {
    return false;
  }
  const uint32_t compression = LittleEndianAt(data, 30);
  const uint64_t pixels = Magnitude(LittleEndianAt(data, 18)) * Magnitude(LittleEndianAt(data, 22));
  return (compression == BitmapRunLength8 || compression == BitmapRunLength4) && pixels > kLargestDecodedPixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (IsLargeRunLengthPicture(data, size)) {
    return 0;
  }
  tBitmap bitmap;
  if (!image_fuzzing::Load(bitmap, WriteFuzzFile("Fuzz.bmp", data, size))) {
    return 0;
  }
  if (!image_fuzzing::SmallEnoughToCheck(bitmap)) {
    return 0;
  }
  image_fuzzing::Convert(bitmap);
  const std::string savedName = FuzzFileName("Saved.bmp");
  FuzzRequire(image_fuzzing::Save(bitmap, savedName), "an accepted bitmap can be saved");
  tBitmap reloaded;
  FuzzRequire(image_fuzzing::Load(reloaded, savedName), "a saved bitmap loads");
  FuzzRequire(reloaded.GetWidth() == bitmap.GetWidth() && reloaded.GetHeight() == bitmap.GetHeight() &&
                  reloaded.GetBitsPerPixel() == bitmap.GetBitsPerPixel(),
              "a reloaded bitmap has the saved size and depth");
  FuzzRequire(image_fuzzing::SamePixels(reloaded, bitmap), "a reloaded bitmap has the saved pixels");
  return 0;
}
