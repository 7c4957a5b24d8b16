// AVI movies: the input is the file. A movie that opens has its frames
// decoded into a surface of its size (the first few frames, and the last).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/FuzzFiles.h"
#include "platform/Movie.h"
#include "platform/PixelFormat.h"
#include "platform/Surface.h"

namespace {

// The reader reads frames only when asked, so a header may promise a picture
// far larger than the file; the surface a player would make for it is the
// player's affair, and the fuzzer decodes only pictures up to this size.
constexpr int64_t kLargestDecodedPixels = int64_t{1} << 20;
constexpr uint32_t kDecodedFrames = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WriteFuzzFile("Fuzz.avi", data, size);
  std::string failure;
  const std::unique_ptr<platform::Movie> movie = platform::Movie::Open(FuzzFilePath("Fuzz.avi"), failure);
  if (movie == nullptr || movie->Width() <= 0 || movie->Height() <= 0 ||
      int64_t{movie->Width()} * movie->Height() > kLargestDecodedPixels) {
    return 0;
  }
  platform::Surface surface(movie->Width(), movie->Height(), platform::Format565(), platform::MemoryKind::System);
  const uint32_t frames = movie->FrameCount();
  for (uint32_t index = 0; index < std::min(frames, kDecodedFrames); ++index) {
    movie->ReadFrame(index, surface);
  }
  if (frames > 0) {
    movie->ReadFrame(frames - 1, surface);
  }
  return 0;
}
