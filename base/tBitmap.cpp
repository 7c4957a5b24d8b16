#include "base/tBitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/DebugFormat.h"
#include "base/ImageFileIO.h"

namespace {

constexpr uint16_t kBitmapType = 'B' | ('M' << 8);
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch
constexpr uint32_t kMaskBytes = 12;

void EncodeFileHeader(const tBitmapFileHeader& header, uint8_t* bytes) {
  image_io::StoreLittle16(bytes, header.Type);
  image_io::StoreLittle32(bytes + 2, header.Size);
  image_io::StoreLittle16(bytes + 6, header.Reserved1);
  image_io::StoreLittle16(bytes + 8, header.Reserved2);
  image_io::StoreLittle32(bytes + 10, header.OffBits);
}

void EncodeInfoHeader(const tBitmapInfoHeader& header, uint8_t* bytes) {
  image_io::StoreLittle32(bytes, header.Size);
  image_io::StoreLittle32(bytes + 4, static_cast<uint32_t>(header.Width));
  image_io::StoreLittle32(bytes + 8, static_cast<uint32_t>(header.Height));
  image_io::StoreLittle16(bytes + 12, header.Planes);
  image_io::StoreLittle16(bytes + 14, header.BitCount);
  image_io::StoreLittle32(bytes + 16, header.Compression);
  image_io::StoreLittle32(bytes + 20, header.SizeImage);
  image_io::StoreLittle32(bytes + 24, static_cast<uint32_t>(header.XPelsPerMeter));
  image_io::StoreLittle32(bytes + 28, static_cast<uint32_t>(header.YPelsPerMeter));
  image_io::StoreLittle32(bytes + 32, header.ClrUsed);
  image_io::StoreLittle32(bytes + 36, header.ClrImportant);
}

void EncodeMasks(const tBitmapInfoHeader& header, uint8_t* bytes) {
  image_io::StoreLittle32(bytes, header.RedMask);
  image_io::StoreLittle32(bytes + 4, header.GreenMask);
  image_io::StoreLittle32(bytes + 8, header.BlueMask);
}

}  // namespace

const char* tBitmap::GetClassName() const { return "tBitmap"; }

uint32_t tBitmap::GetPitch(uint32_t width) const { return (GetBytesPerPixel() * width + 3) & ~3u; }

uint32_t tBitmap::StoredRowBytes() const { return GetPitch(GetWidth()); }

void tBitmap::PrepareFormat() {
  const bool plain = GetBitsPerPixel() == 24;
  const uint32_t dataSize = StoredRowBytes() * GetHeight();
  fileHeader_ = tBitmapFileHeader{};
  fileHeader_.Type = kBitmapType;
  fileHeader_.OffBits = kBitmapFileHeaderBytes + kBitmapInfoHeaderBytes + (plain ? 0 : kMaskBytes);
  fileHeader_.Size = fileHeader_.OffBits + dataSize;
  infoHeader_ = tBitmapInfoHeader{};
  infoHeader_.Size = kBitmapInfoHeaderBytes;
  infoHeader_.Width = static_cast<int32_t>(GetWidth());
  infoHeader_.Height = GetOrigin() != kImageBottomUp ? -static_cast<int32_t>(GetHeight())
                                                     : static_cast<int32_t>(GetHeight());
  infoHeader_.Planes = 1;
  // A 5/5/5 image is stored as 16 bits with 5/5/5 masks: BMP files know no
  // 15-bit depth, and readers take the depth from the masks.
  infoHeader_.BitCount = static_cast<uint16_t>(GetBitsPerPixel() == 15 ? 16 : GetBitsPerPixel());
  infoHeader_.Compression = plain ? BitmapPlain : BitmapBitFields;
  infoHeader_.SizeImage = dataSize;
  infoHeader_.XPelsPerMeter = kPixelsPerMetre;
  infoHeader_.YPelsPerMeter = kPixelsPerMetre;
  if (!plain) {
    infoHeader_.RedMask = GetRedMask();
    infoHeader_.GreenMask = GetGreenMask();
    infoHeader_.BlueMask = GetBlueMask();
  }
}

bool tBitmap::Create(uint32_t pitch, uint32_t width, uint32_t height, uint32_t redMask, uint32_t greenMask,
                     uint32_t blueMask, uint32_t alphaMask, uint32_t bitsPerPixel, uint32_t origin,
                     uint32_t formatCode, bool withAlpha, uint32_t version) {
  if (!tImage::Create(pitch, width, height, redMask, greenMask, blueMask, alphaMask, bitsPerPixel, origin,
                      formatCode, withAlpha, version)) {
    return false;
  }
  if (HasAlpha() || GetAlphaMask() != 0 || GetRedMask() <= GetBlueMask()) {
    DebugPrint(
        "tBitmap::Create() Bitmap format not supported (Red=%x, Green=%x, Blue=%x, Alpha=%x, BitsPerPixel=%u, "
        "Image=%p:%s)\n",
        redMask, greenMask, blueMask, alphaMask, bitsPerPixel, static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  return true;
}

void tBitmap::Clear() {
  tImage::Clear();
  fileHeader_ = tBitmapFileHeader{};
  infoHeader_ = tBitmapInfoHeader{};
}

bool tBitmap::WritePixels(FileHandle file) const {
  const uint32_t rowBytes = StoredRowBytes();
  if (rowBytes == GetRowPitch()) {
    return image_io::WriteExact(file, GetBits(), GetDataSize());
  }
  // A pitch other than the padded row (an image made with a pitch of its
  // own) is written row by row in the padded form every reader expects.
  std::vector<uint8_t> row(rowBytes, 0);
  const uint32_t copied = std::min(rowBytes, GetRowPitch());
  for (uint32_t line = 0; line < GetHeight(); ++line) {
    std::memcpy(row.data(), GetBits() + static_cast<size_t>(line) * GetRowPitch(), copied);
    if (!image_io::WriteExact(file, row.data(), rowBytes)) {
      return false;
    }
  }
  return true;
}

bool tBitmap::SaveTo(FileHandle file) {
  // A failed save leaves the image as it was: the caller may still hold it.
  const uint32_t fileId = image_io::FileId(file);
  if (file == nullptr || GetBits() == nullptr) {
    DebugPrint("tBitmap::SaveTo() No file or no image to save (File=%x, Name=%s, Image=%p:%s)\n", fileId, LogName(),
               static_cast<void*>(this), GetClassName());
    return false;
  }
  PrepareFormat();
  uint8_t fileBytes[kBitmapFileHeaderBytes];
  EncodeFileHeader(fileHeader_, fileBytes);
  if (!image_io::WriteExact(file, fileBytes, sizeof fileBytes)) {
    DebugPrint("tBitmap::SaveTo() Cannot write the bitmap file header (File=%x, Name=%s, Image=%p:%s)\n", fileId,
               LogName(), static_cast<void*>(this), GetClassName());
    return false;
  }
  uint8_t infoBytes[kBitmapInfoHeaderBytes];
  EncodeInfoHeader(infoHeader_, infoBytes);
  if (!image_io::WriteExact(file, infoBytes, sizeof infoBytes)) {
    DebugPrint("tBitmap::SaveTo() Cannot write the bitmap info header (File=%x, Name=%s, Image=%p:%s)\n", fileId,
               LogName(), static_cast<void*>(this), GetClassName());
    return false;
  }
  if (infoHeader_.Compression == BitmapBitFields) {
    uint8_t maskBytes[kMaskBytes];
    EncodeMasks(infoHeader_, maskBytes);
    if (!image_io::WriteExact(file, maskBytes, sizeof maskBytes)) {
      DebugPrint("tBitmap::SaveTo() Cannot write the bitmap channel masks (File=%x, Name=%s, Image=%p:%s)\n", fileId,
                 LogName(), static_cast<void*>(this), GetClassName());
      return false;
    }
  }
  if (!WritePixels(file)) {
    DebugPrint("tBitmap::SaveTo() Cannot write the bitmap image (File=%x, Name=%s, Image=%p:%s)\n", fileId,
               LogName(), static_cast<void*>(this), GetClassName());
    return false;
  }
  return true;
}
