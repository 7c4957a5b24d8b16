// Alpha files: the input is the file. A map the reader accepts must report
// the size its bytes have, and one with data must save and load back with
// the same size and bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzFiles.h"
#include "runtime/Alpha.h"
#include "runtime/AlphaFile.h"

namespace {

bool SameMap(AlphaHandle first, AlphaHandle second) {
  int32_t firstWidth = 0;
  int32_t firstHeight = 0;
  int32_t secondWidth = 0;
  int32_t secondHeight = 0;
  GetAlphaSize(first, firstWidth, firstHeight);
  GetAlphaSize(second, secondWidth, secondHeight);
  const tAlphaBytes firstBytes = GetAlphaBytes(first);
  const tAlphaBytes secondBytes = GetAlphaBytes(second);
  return firstWidth == secondWidth && firstHeight == secondHeight && firstBytes.Size == secondBytes.Size &&
         std::memcmp(firstBytes.Data, secondBytes.Data, firstBytes.Size) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AlphaHandle alpha = LoadAlpha(WriteFuzzFile("Fuzz.lma", data, size).c_str());
  if (alpha == nullptr) {
    return 0;
  }
  int32_t width = 0;
  int32_t height = 0;
  GetAlphaSize(alpha, width, height);
  const tAlphaBytes bytes = GetAlphaBytes(alpha);
  FuzzRequire(bytes.Data != nullptr && uint64_t{bytes.Size} == uint64_t(width) * uint64_t(height),
              "an accepted map holds width x height bytes");
  FuzzRequire(bytes.Size <= size, "an accepted map holds no more bytes than its file");
  if (bytes.Size > 0) {
    const std::string savedName = FuzzFileName("Saved.lma");
    FuzzRequire(SaveAlpha(alpha, savedName.c_str()), "an accepted map with data can be saved");
    AlphaHandle reloaded = LoadAlpha(savedName.c_str());
    FuzzRequire(reloaded != nullptr, "a saved map loads");
    FuzzRequire(SameMap(alpha, reloaded), "a reloaded map has the saved size and bytes");
    DestroyAlpha(reloaded);
  }
  DestroyAlpha(alpha);
  FuzzRequire(LiveAlphaCount() == 0, "every map is freed");
  return 0;
}
