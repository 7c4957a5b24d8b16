#include <cstring>

#include "base/DebugFormat.h"
#include "base/ImageFileIO.h"
#include "base/tImage.h"

// The native image file: a 56-byte header that is the image's description
// word for word (word 0 as its bytes, words 1 to 13 big-endian), the pixel
// data, then the alpha plane when flag bit 6 is set.

namespace {

constexpr uint32_t kHeaderBytes = ImageWordCount * 4;

void EncodeHeader(const tImage::Description& words, uint8_t* header) {
  // Word 0 is stored as it lies in memory on a little-endian machine: the
  // bytes "YLM" and NUL.
  image_io::StoreLittle32(header, words[ImageWordSignature]);
  for (uint32_t word = 1; word < ImageWordCount; ++word) {
    image_io::StoreBig32(header + 4 * word, words[word]);
  }
}

tImage::Description DecodeHeader(const uint8_t* header) {
  tImage::Description words{};
  words[ImageWordSignature] = image_io::LoadLittle32(header);
  for (uint32_t word = 1; word < ImageWordCount; ++word) {
    words[word] = image_io::LoadBig32(header + 4 * word);
  }
  return words;
}

// The stored size, pitch, depth and data size agree with each other and the
// pixels and alpha plane they promise lie inside the file.
bool StoredSizesAgree(const tImage::Description& words, int64_t remaining) {
  const uint64_t width = words[ImageWordWidth];
  const uint64_t height = words[ImageWordHeight];
  const uint64_t dataSize = words[ImageWordDataSize];
  if (width == 0 || height == 0) {
    return dataSize == 0;
  }
  const uint64_t bytesPerPixel = (static_cast<uint64_t>(words[ImageWordBitsPerPixel]) + 7) / 8;
  const uint64_t pitch = words[ImageWordPitch];
  const uint64_t alphaSize = (words[ImageWordFlags] & kImageAlphaFlag) != 0 ? width * height : 0;
  return bytesPerPixel > 0 && pitch >= width * bytesPerPixel && pitch * height == dataSize && remaining >= 0 &&
         dataSize + alphaSize <= static_cast<uint64_t>(remaining);
}

}  // namespace

bool tImage::SaveTo(FileHandle file) {
  if (file == nullptr) {
    DebugPrint("tImage::SaveTo() Null pointer to the file specified (Image=%p:%s)\n", static_cast<void*>(this),
               GetClassName());
    return false;
  }
  PrepareFormat();
  uint8_t header[kHeaderBytes];
  EncodeHeader(GetDescription(), header);
  const uint32_t fileId = image_io::FileId(file);
  if (!image_io::WriteExact(file, header, kHeaderBytes)) {
    DebugPrint("tImage::SaveTo() Cannot write the image header (File=%x, Name=%s, Image=%p:%s)\n", fileId, LogName(),
               static_cast<void*>(this), GetClassName());
    return false;
  }
  if (GetBits() != nullptr && !image_io::WriteExact(file, GetBits(), GetDataSize())) {
    DebugPrint("tImage::SaveTo() Cannot write the image data (File=%x, Name=%s, Image=%p:%s)\n", fileId, LogName(),
               static_cast<void*>(this), GetClassName());
    return false;
  }
  if (HasAlpha() && !image_io::WriteExact(file, GetAlphaBits(), GetAlphaSize())) {
    DebugPrint("tImage::SaveTo() Cannot write the alpha channel (File=%x, Name=%s, Image=%p:%s)\n", fileId,
               LogName(), static_cast<void*>(this), GetClassName());
    return false;
  }
  return true;
}

bool tImage::LoadFrom(FileHandle file) {
  // Every failure leaves the image empty, never half described; the name
  // stays for the log lines while the file is read.
  ClearKeepingName();
  const uint32_t fileId = image_io::FileId(file);
  uint8_t header[kHeaderBytes];
  if (file == nullptr || !image_io::ReadExact(file, header, kHeaderBytes)) {
    DebugPrint("tImage::LoadFrom() Cannot read the image header (File=%x, Name=%s, Image=%p:%s)\n", fileId, LogName(),
               static_cast<void*>(this), GetClassName());
    return false;
  }
  if (std::memcmp(header, "YLM", 4) != 0) {
    DebugPrint(
        "tImage::LoadFrom() The image is not a Lumo image - It does not contain the %s signature (File=%x, Name=%s, "
        "Image=%p:%s)\n",
        "YLM", fileId, LogName(), static_cast<void*>(this), GetClassName());
    return false;
  }
  const Description words = DecodeHeader(header);
  if (!StoredSizesAgree(words, image_io::RemainingBytes(file))) {
    DebugPrint(
        "tImage::LoadFrom() The image header does not agree with itself or the file (Width=%u, Height=%u, "
        "Bits/Pixel=%u, Pitch=%u, Size=%u, Flags=%x, File=%x, Name=%s, Image=%p:%s)\n",
        words[ImageWordWidth], words[ImageWordHeight], words[ImageWordBitsPerPixel], words[ImageWordPitch],
        words[ImageWordDataSize], words[ImageWordFlags], fileId, LogName(), static_cast<void*>(this),
        GetClassName());
    return false;
  }
  const uint32_t flags = words[ImageWordFlags];
  if (!Create(words[ImageWordPitch], words[ImageWordWidth], words[ImageWordHeight], words[ImageWordRedMask],
              words[ImageWordGreenMask], words[ImageWordBlueMask], words[ImageWordAlphaMask],
              words[ImageWordBitsPerPixel], flags & kImageOriginMask, flags & kImageFormatCodeMask,
              (flags & kImageAlphaFlag) != 0, words[ImageWordVersion])) {
    return false;
  }
  SetTransparentValue(words[ImageWordTransparent]);
  SetFormatRecord(words[ImageWordFormatRecord]);
  if (GetDataSize() != 0 && !image_io::ReadExact(file, GetBits(), GetDataSize())) {
    DebugPrint("tImage::LoadFrom() Cannot read the image data (File=%x, Name=%s, Image=%p:%s)\n", fileId, LogName(),
               static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  if (GetAlphaSize() != 0 && !image_io::ReadExact(file, GetAlphaBits(), GetAlphaSize())) {
    DebugPrint("tImage::LoadFrom() Cannot read the alpha channel (File=%x, Name=%s, Image=%p:%s)\n", fileId,
               LogName(), static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  return true;
}
