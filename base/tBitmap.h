#pragma once

#include <cstdint>

#include "base/tImage.h"

// BMP file structures as the format defines them; every field is stored
// little-endian and is read and written one by one.

// The 14-byte file header.
struct tBitmapFileHeader {
  uint16_t Type = 0;  // "BM"
  uint32_t Size = 0;
  uint16_t Reserved1 = 0;
  uint16_t Reserved2 = 0;
  uint32_t OffBits = 0;  // offset of the pixel data from the file's start
};

// The fields of the info header (40 bytes) and the channel masks of the
// larger V4 (108) and V5 (124) headers.
struct tBitmapInfoHeader {
  uint32_t Size = 0;
  int32_t Width = 0;
  int32_t Height = 0;  // negative: rows stored top-down
  uint16_t Planes = 0;
  uint16_t BitCount = 0;
  uint32_t Compression = 0;
  uint32_t SizeImage = 0;
  int32_t XPelsPerMeter = 0;
  int32_t YPelsPerMeter = 0;
  uint32_t ClrUsed = 0;
  uint32_t ClrImportant = 0;
  uint32_t RedMask = 0;
  uint32_t GreenMask = 0;
  uint32_t BlueMask = 0;
  uint32_t AlphaMask = 0;
};

// Compression codes.
enum tBitmapCompression : uint32_t {
  BitmapPlain = 0,
  BitmapRunLength8 = 1,
  BitmapRunLength4 = 2,
  BitmapBitFields = 3,
};

// Header sizes the reader knows.
constexpr uint32_t kBitmapFileHeaderBytes = 14;
constexpr uint32_t kBitmapCoreHeaderBytes = 12;
constexpr uint32_t kBitmapInfoHeaderBytes = 40;
constexpr uint32_t kBitmapV4HeaderBytes = 108;
constexpr uint32_t kBitmapV5HeaderBytes = 124;

// An image that reads and writes Windows BMP files. It reads core, info, V4
// and V5 headers, 1-, 4- and 8-bit palettes (plain or run-length coded),
// and 16-, 24- and 32-bit pixels with or without channel masks; it writes
// 24-bit files plainly and other depths with channel masks.
class tBitmap : public tImage {
 public:
  const char* GetClassName() const override;
  // Rows are padded to a multiple of 4 bytes.
  uint32_t GetPitch(uint32_t width) const override;
  // Fills the BMP headers from the image.
  void PrepareFormat() override;
  // As tImage's, but refuses an alpha plane, an alpha mask or a red mask not
  // above the blue mask.
  bool Create(uint32_t pitch, uint32_t width, uint32_t height, uint32_t redMask, uint32_t greenMask,
              uint32_t blueMask, uint32_t alphaMask, uint32_t bitsPerPixel, uint32_t origin, uint32_t formatCode,
              bool withAlpha, uint32_t version) override;
  void Clear() override;
  // A BMP file from the handle's position; a failed load leaves the image
  // empty.
  bool LoadFrom(FileHandle file) override;
  // The same for a BMP file of at most size bytes from the handle's position
  // (an entry of a compound archive): nothing behind them is read.
  bool LoadBounded(FileHandle file, uint32_t size);
  // Writes the image as a BMP file; a failed save leaves the image as it was.
  bool SaveTo(FileHandle file) override;

  const tBitmapFileHeader& GetFileHeader() const { return fileHeader_; }
  const tBitmapInfoHeader& GetInfoHeader() const { return infoHeader_; }

 private:
  class Reader;
  // LoadFrom and LoadBounded: a limit below 0 reads to the end of the file.
  bool Load(FileHandle file, int64_t limit);
  // Bytes of one stored row: the image's row, padded to 4 bytes.
  uint32_t StoredRowBytes() const;
  bool WritePixels(FileHandle file) const;

  tBitmapFileHeader fileHeader_;
  tBitmapInfoHeader infoHeader_;
};
