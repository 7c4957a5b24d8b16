// The native image file ("YLM"): the input is the file. An image the reader
// accepts is converted into the game's pixel formats, saved, and must load
// back with the same description and the same pixels.

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/tImage.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "fuzz/ImageRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tImage image;
  if (!image_fuzzing::Load(image, WriteFuzzFile("Fuzz.ylm", data, size))) {
    return 0;
  }
  if (!image_fuzzing::SmallEnoughToCheck(image)) {
    return 0;
  }
  image_fuzzing::Convert(image);
  const std::string savedName = FuzzFileName("Saved.ylm");
  FuzzRequire(image_fuzzing::Save(image, savedName), "an accepted image can be saved");
  tImage reloaded;
  FuzzRequire(image_fuzzing::Load(reloaded, savedName), "a saved image loads");
  FuzzRequire(reloaded.GetDescription() == image.GetDescription(), "a reloaded image has the saved description");
  FuzzRequire(image_fuzzing::SamePixels(reloaded, image), "a reloaded image has the saved pixels");
  return 0;
}
