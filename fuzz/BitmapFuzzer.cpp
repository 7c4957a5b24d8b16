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
  if (image_fuzzing::IsLargeRunLengthPicture(data, size)) {
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
