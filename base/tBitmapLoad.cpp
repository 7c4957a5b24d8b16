#include <algorithm>
#include <vector>

#include "base/DebugFormat.h"
#include "base/ImageFileIO.h"
#include "base/tBitmap.h"

// The BMP reader. Every field is read one by one in little-endian order;
// every count, size and offset is checked in 64 bits against the file before
// memory is taken for it, and the pixels are read from the data offset the
// file header names.

namespace {

constexpr uint16_t kBitmapType = 'B' | ('M' << 8);
constexpr uint32_t kMaskBytes = 12;
// Run-length coded files can describe a large image in few bytes; images
// decoded from them are held to this many pixels (an 8192 x 8192 picture).
constexpr uint64_t kMaxRunLengthPixels = uint64_t{1} << 26;

bool IsReadableDepth(uint32_t bitsPerPixel) {
  return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 ||
         bitsPerPixel == 32;
}

// The compressions read for each depth: plain rows for every depth, bit
// fields from 16 bits up, run-length coding of 8- and 4-bit indexes.
bool IsReadableCompression(uint32_t compression, uint32_t bitsPerPixel) {
  switch (compression) {
    case BitmapPlain: return true;
    case BitmapRunLength8: return bitsPerPixel == 8;
    case BitmapRunLength4: return bitsPerPixel == 4;
    case BitmapBitFields: return bitsPerPixel >= 16;
    default: return false;
  }
}

bool IsRunLength(uint32_t compression) {
  return compression == BitmapRunLength8 || compression == BitmapRunLength4;
}

tBitmapInfoHeader DecodeInfoHeader(const uint8_t* bytes, uint32_t size) {
  tBitmapInfoHeader header;
  header.Size = size;
  // bytes holds the header after its size field.
  header.Width = static_cast<int32_t>(image_io::LoadLittle32(bytes));
  header.Height = static_cast<int32_t>(image_io::LoadLittle32(bytes + 4));
  header.Planes = image_io::LoadLittle16(bytes + 8);
  header.BitCount = image_io::LoadLittle16(bytes + 10);
  header.Compression = image_io::LoadLittle32(bytes + 12);
  header.SizeImage = image_io::LoadLittle32(bytes + 16);
  header.XPelsPerMeter = static_cast<int32_t>(image_io::LoadLittle32(bytes + 20));
  header.YPelsPerMeter = static_cast<int32_t>(image_io::LoadLittle32(bytes + 24));
  header.ClrUsed = image_io::LoadLittle32(bytes + 28);
  header.ClrImportant = image_io::LoadLittle32(bytes + 32);
  if (size > kBitmapInfoHeaderBytes) {
    header.RedMask = image_io::LoadLittle32(bytes + 36);
    header.GreenMask = image_io::LoadLittle32(bytes + 40);
    header.BlueMask = image_io::LoadLittle32(bytes + 44);
    header.AlphaMask = image_io::LoadLittle32(bytes + 48);
  }
  return header;
}

uint8_t IndexAt(const uint8_t* row, uint32_t column, uint32_t bitsPerIndex) {
  switch (bitsPerIndex) {
    case 1: return (row[column / 8] >> (7 - column % 8)) & 0x1;
    case 4: return column % 2 == 0 ? row[column / 2] >> 4 : row[column / 2] & 0xF;
    default: return row[column];
  }
}

// Decodes run-length coded 8- or 4-bit pixels into rows of one index per
// byte, in the file's bottom-up row order. Runs are cut at the row's end, at
// the last row and at the end of the data; pixels the code skips stay 0.
void DecodeRunLength(const std::vector<uint8_t>& data, uint32_t bitsPerIndex, uint32_t width, uint32_t height,
                     std::vector<uint8_t>& indexes) {
  uint64_t column = 0;
  uint64_t row = 0;
  size_t position = 0;
  auto put = [&](uint8_t index) {
    if (column < width && row < height) {
      indexes[static_cast<size_t>(row * width + column)] = index;
    }
    ++column;
  };
  auto nibble = [](uint8_t value, uint32_t index) { return static_cast<uint8_t>(index % 2 == 0 ? value >> 4 : value & 0xF); };
  while (row < height && position + 2 <= data.size()) {
    const uint8_t count = data[position];
    const uint8_t code = data[position + 1];
    position += 2;
    if (count > 0) {
      for (uint32_t index = 0; index < count; ++index) {
        put(bitsPerIndex == 8 ? code : nibble(code, index));
      }
    } else if (code == 0) {  // end of line
      column = 0;
      ++row;
    } else if (code == 1) {  // end of bitmap
      return;
    } else if (code == 2) {  // move right and up
      if (position + 2 > data.size()) {
        return;
      }
      column += data[position];
      row += data[position + 1];
      position += 2;
    } else {  // a literal run of code pixels, padded to a 16-bit boundary
      const size_t bytes = bitsPerIndex == 8 ? code : (code + 1u) / 2;
      if (position + bytes > data.size()) {
        return;
      }
      for (uint32_t index = 0; index < code; ++index) {
        put(bitsPerIndex == 8 ? data[position + index] : nibble(data[position + index / 2], index));
      }
      position += bytes + (bytes & 1);
    }
  }
}

}  // namespace

class tBitmap::Reader {
 public:
  // A limit below 0 reads up to the end of the file.
  Reader(tBitmap& bitmap, FileHandle file, int64_t limit)
      : bitmap_(bitmap), file_(file), fileId_(image_io::FileId(file)), limit_(limit) {}

  bool Load() {
    return ReadFileHeader() && ReadHeaderSize() && (core_ ? ReadCoreHeader() : ReadInfoHeader()) && CheckFormat() &&
           CheckSize() && (bitsPerPixel_ <= 8 ? ReadPalette() && ReadPaletteImage() : ReadMasks() && ReadDirectImage());
  }

 private:
  // Logs a message whose last four arguments are the file, name and image.
  template <typename... Before>
  bool Fail(const char* format, Before... before) {
    DebugPrint(format, before..., fileId_, bitmap_.LogName(), static_cast<void*>(&bitmap_), bitmap_.GetClassName());
    return false;
  }

  // Every read stays inside the bitmap: before its end, which a bounded load
  // may set before the end of the file.
  bool ReadAt(int64_t offset, void* buffer, uint64_t count) {
    return count <= UINT32_MAX && offset >= 0 && count <= BytesFrom(static_cast<uint64_t>(offset)) &&
           image_io::SeekTo(file_, start_ + offset) &&
           image_io::ReadExact(file_, buffer, static_cast<uint32_t>(count));
  }

  // Bytes of the file from the offset (from the bitmap's start) to its end.
  uint64_t BytesFrom(uint64_t offset) const {
    const uint64_t total = static_cast<uint64_t>(end_ - start_);
    return offset < total ? total - offset : 0;
  }

  bool ReadFileHeader() {
    start_ = image_io::Position(file_);
    const int64_t remaining = image_io::RemainingBytes(file_);
    uint8_t bytes[kBitmapFileHeaderBytes];
    if (start_ < 0 || remaining < 0) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap file header (File=%x, Name=%s, Image=%p:%s)\n");
    }
    end_ = start_ + (limit_ >= 0 ? std::min(remaining, limit_) : remaining);
    if (!ReadAt(0, bytes, sizeof bytes)) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap file header (File=%x, Name=%s, Image=%p:%s)\n");
    }
    fileHeader_.Type = image_io::LoadLittle16(bytes);
    fileHeader_.Size = image_io::LoadLittle32(bytes + 2);
    fileHeader_.Reserved1 = image_io::LoadLittle16(bytes + 6);
    fileHeader_.Reserved2 = image_io::LoadLittle16(bytes + 8);
    fileHeader_.OffBits = image_io::LoadLittle32(bytes + 10);
    if (fileHeader_.Type != kBitmapType) {
      return Fail(
          "tImage::LoadFrom() The image is not a bitmap image - It does not contain the BM signature (File=%x, "
          "Name=%s, Image=%p:%s)\n");
    }
    return true;
  }

  bool ReadHeaderSize() {
    uint8_t bytes[4];
    if (!ReadAt(kBitmapFileHeaderBytes, bytes, sizeof bytes)) {
      return Fail(
          "tImage::LoadFrom() Cannot load the size of the bitmap info header (File=%x, Name=%s, Image=%p:%s)\n");
    }
    headerSize_ = image_io::LoadLittle32(bytes);
    core_ = headerSize_ == kBitmapCoreHeaderBytes;
    // Headers longer than the V5 header are read as a V5 header; the data
    // behind it is found by the declared size.
    if (!core_ && headerSize_ != kBitmapInfoHeaderBytes && headerSize_ != kBitmapV4HeaderBytes &&
        headerSize_ < kBitmapV5HeaderBytes) {
      return Fail("tBitmap::LoadFrom() Invalid bitmap file header size (Size=%i, File=%x, Name=%s, Image=%p:%s)\n",
                  static_cast<int>(headerSize_));
    }
    headerEnd_ = uint64_t{kBitmapFileHeaderBytes} + headerSize_;
    return true;
  }

  bool ReadCoreHeader() {
    uint8_t bytes[8];
    if (!ReadAt(kBitmapFileHeaderBytes + 4, bytes, sizeof bytes)) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap core header (File=%x, Name=%s, Image=%p:%s)\n");
    }
    info_.Size = headerSize_;
    info_.Width = image_io::LoadLittle16(bytes);
    info_.Height = image_io::LoadLittle16(bytes + 2);
    info_.Planes = image_io::LoadLittle16(bytes + 4);
    info_.BitCount = image_io::LoadLittle16(bytes + 6);
    return true;
  }

  bool ReadInfoHeader() {
    uint8_t bytes[kBitmapV5HeaderBytes - 4];
    const uint32_t readSize = std::min(headerSize_, kBitmapV5HeaderBytes) - 4;
    if (!ReadAt(kBitmapFileHeaderBytes + 4, bytes, readSize)) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap info header (File=%x, Name=%s, Image=%p:%s)\n");
    }
    info_ = DecodeInfoHeader(bytes, headerSize_);
    return true;
  }

  bool CheckFormat() {
    if (info_.Planes != 1) {
      return Fail(
          "tBitmap::LoadFrom() Number of planes not supported (Planes=%u, File=%x, Name=%s, Image=%p:%s)\n",
          static_cast<unsigned>(info_.Planes));
    }
    bitsPerPixel_ = info_.BitCount;
    if (!IsReadableDepth(bitsPerPixel_)) {
      return Fail(
          "tBitmap::LoadFrom() Color depth not supported not supported (Bits/Pixel=%u, File=%x, Name=%s, "
          "Image=%p:%s)\n",
          bitsPerPixel_);
    }
    // Run-length coded rows can only be stored bottom-up.
    if (!IsReadableCompression(info_.Compression, bitsPerPixel_) ||
        (IsRunLength(info_.Compression) && info_.Height < 0)) {
      return Fail(
          "tBitmap::LoadFrom() Compression not supported (Compression=%u, Bits/Pixel=%u, File=%x, Name=%s, "
          "Image=%p:%s)\n",
          info_.Compression, bitsPerPixel_);
    }
    return true;
  }

  bool CheckSize() {
    const int64_t width = info_.Width;
    int64_t height = info_.Height;
    topDown_ = height < 0;
    height = topDown_ ? -height : height;
    if (width <= 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) {
      return Fail("tBitmap::LoadFrom() Invalid bitmap size (Width=%i, Height=%i, File=%x, Name=%s, Image=%p:%s)\n",
                  info_.Width, info_.Height);
    }
    width_ = static_cast<uint32_t>(width);
    height_ = static_cast<uint32_t>(height);
    const uint64_t rowBits = uint64_t{width_} * bitsPerPixel_;
    const uint64_t rowNeed = (rowBits + 7) / 8;
    rowBytes_ = (rowBits + 31) / 32 * 4;
    // The image-size field may give longer rows, never shorter ones than the
    // pixels need; in run-length files it is the size of the coded data.
    if (!core_ && info_.SizeImage != 0 && !IsRunLength(info_.Compression)) {
      const uint64_t declaredRow = info_.SizeImage / height_;
      if (declaredRow >= rowNeed) {
        rowBytes_ = declaredRow;
      }
    }
    return true;
  }

  // Palettes sit between the header and the pixel data; the data offset
  // tells their size, held to the 2^bits entries the indexes can reach.
  bool ReadPalette() {
    const uint32_t entryBytes = core_ ? 3 : 4;
    const uint64_t entries = fileHeader_.OffBits >= headerEnd_
                                 ? std::min<uint64_t>((fileHeader_.OffBits - headerEnd_) / entryBytes,
                                                      uint64_t{1} << bitsPerPixel_)
                                 : 0;
    if (entries == 0) {
      return core_ ? Fail(
                         "tBitmap::LoadFrom() Invalid bitmap file or old format not supported (File=%x, Name=%s, "
                         "Image=%p:%s)\n")
                   : Fail(
                         "tBitmap::LoadFrom() Invalid bitmap file or format not supported (File=%x, Name=%s, "
                         "Image=%p:%s)\n");
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(entries * entryBytes));
    if (!ReadAt(static_cast<int64_t>(headerEnd_), bytes.data(), bytes.size())) {
      return core_ ? Fail("tBitmap::LoadFrom() Cannot read the bitmap core palette (File=%x, Name=%s, Image=%p:%s)\n")
                   : Fail("tBitmap::LoadFrom() Cannot read the bitmap palette (File=%x, Name=%s, Image=%p:%s)\n");
    }
    palette_.resize(static_cast<size_t>(entries));
    for (size_t entry = 0; entry < palette_.size(); ++entry) {
      const uint8_t* source = bytes.data() + entry * entryBytes;
      // blue, green, red: the low three bytes of a 32-bit pixel
      palette_[entry] = source[0] | (source[1] << 8) | (source[2] << 16);
    }
    return true;
  }

  bool ReadMasks() {
    red_ = 0xFF0000;
    green_ = 0xFF00;
    blue_ = 0xFF;
    if (bitsPerPixel_ == 16) {
      red_ = 0x7C00;
      green_ = 0x03E0;
      blue_ = 0x001F;
    }
    uint64_t masksEnd = headerEnd_;
    if (!core_ && info_.Compression == BitmapBitFields) {
      if (headerSize_ == kBitmapInfoHeaderBytes) {
        uint8_t bytes[kMaskBytes];
        if (!ReadAt(static_cast<int64_t>(headerEnd_), bytes, sizeof bytes)) {
          return Fail("tBitmap::LoadFrom() Cannot read the bitmap channel masks (File=%x, Name=%s, Image=%p:%s)\n");
        }
        info_.RedMask = image_io::LoadLittle32(bytes);
        info_.GreenMask = image_io::LoadLittle32(bytes + 4);
        info_.BlueMask = image_io::LoadLittle32(bytes + 8);
        masksEnd += kMaskBytes;
      }
      red_ = info_.RedMask;
      green_ = info_.GreenMask;
      blue_ = info_.BlueMask;
      alpha_ = info_.AlphaMask;
    }
    // Two-byte pixels take their depth from the masks (15 for 5/5/5); no
    // mask may reach beyond the stored pixel.
    const auto highestBit = static_cast<uint32_t>(HighestBit(red_ | green_ | blue_ | alpha_));
    imageBits_ = bitsPerPixel_ == 16 ? highestBit : bitsPerPixel_;
    if (highestBit > bitsPerPixel_ || (bitsPerPixel_ == 16 && highestBit < 15)) {
      return Fail(
          "tBitmap::LoadFrom() Channel masks not supported (Red=%x, Green=%x, Blue=%x, Alpha=%x, Bits/Pixel=%u, "
          "File=%x, Name=%s, Image=%p:%s)\n",
          red_, green_, blue_, alpha_, bitsPerPixel_);
    }
    if (fileHeader_.OffBits < masksEnd) {
      return Fail("tBitmap::LoadFrom() Invalid bitmap file or format not supported (File=%x, Name=%s, Image=%p:%s)\n");
    }
    return true;
  }

  // The stored rows, all at once, from the data offset.
  bool ReadStoredRows(std::vector<uint8_t>& rows) {
    const uint64_t size = rowBytes_ * height_;
    if (size > BytesFrom(fileHeader_.OffBits)) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap image to covert (File=%x, Name=%s, Image=%p:%s)\n");
    }
    rows.resize(static_cast<size_t>(size));
    if (!ReadAt(fileHeader_.OffBits, rows.data(), size)) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap image to covert (File=%x, Name=%s, Image=%p:%s)\n");
    }
    return true;
  }

  // Run-length coded pixels decoded into rows of one index per byte.
  bool ReadCodedRows(std::vector<uint8_t>& rows) {
    uint64_t size = BytesFrom(fileHeader_.OffBits);
    if (info_.SizeImage != 0) {
      size = std::min<uint64_t>(size, info_.SizeImage);
    }
    if (uint64_t{width_} * height_ > kMaxRunLengthPixels) {
      return Fail("tBitmap::LoadFrom() Invalid bitmap size (Width=%i, Height=%i, File=%x, Name=%s, Image=%p:%s)\n",
                  info_.Width, info_.Height);
    }
    std::vector<uint8_t> coded(static_cast<size_t>(size));
    if (!ReadAt(fileHeader_.OffBits, coded.data(), size)) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap image to covert (File=%x, Name=%s, Image=%p:%s)\n");
    }
    rows.assign(static_cast<size_t>(uint64_t{width_} * height_), 0);
    DecodeRunLength(coded, bitsPerPixel_, width_, height_, rows);
    rowBytes_ = width_;
    bitsPerPixel_ = 8;
    return true;
  }

  // Palette images become 32-bit top-down images.
  bool ReadPaletteImage() {
    std::vector<uint8_t> rows;
    if (!(IsRunLength(info_.Compression) ? ReadCodedRows(rows) : ReadStoredRows(rows))) {
      return false;
    }
    if (!bitmap_.Create(0, width_, height_, 0xFF0000, 0xFF00, 0xFF, 0, 32, kImageTopDown, 0, false,
                        kImageVersionBitmap)) {
      return false;
    }
    uint32_t outside = 0;
    for (uint32_t line = 0; line < height_; ++line) {
      const uint32_t storedLine = topDown_ ? line : height_ - 1 - line;
      const uint8_t* source = rows.data() + storedLine * rowBytes_;
      uint8_t* target = bitmap_.GetBits() + static_cast<size_t>(line) * bitmap_.GetRowPitch();
      for (uint32_t column = 0; column < width_; ++column) {
        const uint8_t index = IndexAt(source, column, bitsPerPixel_);
        uint32_t pixel = 0;
        if (index < palette_.size()) {
          pixel = palette_[index];
        } else {
          ++outside;
        }
        image_io::StoreLittle32(target + static_cast<size_t>(column) * 4, pixel);
      }
    }
    if (outside > 0) {
      DebugPrint(
          "tBitmap::LoadFrom() Pixels beyond the palette are drawn black (Count=%u, Palette=%u, File=%x, Name=%s, "
          "Image=%p:%s)\n",
          outside, static_cast<uint32_t>(palette_.size()), fileId_, bitmap_.LogName(), static_cast<void*>(&bitmap_),
          bitmap_.GetClassName());
    }
    return true;
  }

  // Other images keep the file's layout: its rows, its origin, its masks.
  bool ReadDirectImage() {
    const uint64_t size = rowBytes_ * height_;
    if (size > BytesFrom(fileHeader_.OffBits)) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap image (File=%x, Name=%s, Image=%p:%s)\n");
    }
    if (!bitmap_.Create(static_cast<uint32_t>(rowBytes_), width_, height_, red_, green_, blue_, alpha_, imageBits_,
                        topDown_ ? kImageTopDown : kImageBottomUp, 0, false, kImageVersionBitmap)) {
      return false;
    }
    if (!ReadAt(fileHeader_.OffBits, bitmap_.GetBits(), bitmap_.GetDataSize())) {
      return Fail("tBitmap::LoadFrom() Cannot read the bitmap image (File=%x, Name=%s, Image=%p:%s)\n");
    }
    return true;
  }

  tBitmap& bitmap_;
  FileHandle file_;
  uint32_t fileId_;
  int64_t start_ = 0;  // where the bitmap starts in the file
  int64_t end_ = 0;
  int64_t limit_ = -1;  // bytes the bitmap may take; below 0 the whole file
  tBitmapFileHeader fileHeader_;
  tBitmapInfoHeader info_;
  uint32_t headerSize_ = 0;
  uint64_t headerEnd_ = 0;  // file header and info header, from the start
  bool core_ = false;
  uint32_t bitsPerPixel_ = 0;
  uint32_t imageBits_ = 0;
  bool topDown_ = false;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  uint64_t rowBytes_ = 0;
  std::vector<uint32_t> palette_;
  uint32_t red_ = 0;
  uint32_t green_ = 0;
  uint32_t blue_ = 0;
  uint32_t alpha_ = 0;
};

bool tBitmap::LoadFrom(FileHandle file) { return Load(file, -1); }

bool tBitmap::LoadBounded(FileHandle file, uint32_t size) { return Load(file, size); }

bool tBitmap::Load(FileHandle file, int64_t limit) {
  ClearKeepingName();
  if (file == nullptr) {
    DebugPrint("tBitmap::LoadFrom() Cannot read the bitmap file header (File=%x, Name=%s, Image=%p:%s)\n", 0u,
               LogName(), static_cast<void*>(this), GetClassName());
    Clear();
    return false;
  }
  Reader reader(*this, file, limit);
  if (!reader.Load()) {
    Clear();
    return false;
  }
  return true;
}
