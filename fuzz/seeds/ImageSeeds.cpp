#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "base/tBitmap.h"
#include "base/tImage.h"
#include "fuzz/seeds/Seeds.h"
#include "platform/FileSystem.h"
#include "runtime/Files.h"
#include "tests/base/BitmapFileWriter.h"

namespace {

using testing_support::BitmapFileSpec;
using testing_support::BuildBitmapFile;

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Saves an image through its own writer into the corpus folder.
template <typename Image>
void SaveSeed(Image& image, const std::filesystem::path& folder, const std::string& name) {
  const std::string gameName = platform::GameFileName((folder / name).string());
  const FileHandle file = OpenFile(gameName.c_str(), FileModeWrite, OpenModeCreate, ShareModeDenyNone);
  if (file == nullptr || !image.SaveTo(file)) {
    std::fprintf(stderr, "Cannot write the seed %s\n", name.c_str());
  }
  if (file != nullptr) {
    CloseFile(file);
  }
}

// Every pixel and alpha byte differs from its neighbours, so a row or
// channel mix-up shows.
void FillPattern(tImage& image) {
  for (uint32_t index = 0; index < image.GetDataSize(); ++index) {
    image.GetBits()[index] = static_cast<uint8_t>(index * 37 + 11);
  }
  for (uint32_t index = 0; index < image.GetAlphaSize(); ++index) {
    image.GetAlphaBits()[index] = static_cast<uint8_t>(255 - index * 19);
  }
}

struct ImageSeed {
  const char* name;
  uint32_t pitch;
  uint32_t width;
  uint32_t height;
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
  uint32_t alphaMask;
  uint32_t bitsPerPixel;
  uint32_t origin;
  uint32_t formatCode;
  bool withAlpha;
};

const ImageSeed kImageSeeds[] = {
    {"written-16-alpha-top-down.ylm", 0, 3, 2, 0xF800, 0x07E0, 0x001F, 0, 16, kImageTopDown, 8, true},
    {"written-15-bottom-up.ylm", 0, 2, 3, 0x7C00, 0x03E0, 0x001F, 0, 15, kImageBottomUp, 4, false},
    {"written-24-wide-pitch.ylm", 12, 3, 3, 0x0000FF, 0x00FF00, 0xFF0000, 0, 24, kImageTopDown, 0, false},
    {"written-32-alpha-mask.ylm", 0, 2, 2, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000, 32, kImageBottomUp, 48, true},
};

// A native image file written as it stands: the header words, then bytes.
std::string NativeFile(const std::vector<uint32_t>& words, size_t dataBytes) {
  std::vector<uint8_t> bytes = {'Y', 'L', 'M', 0};
  for (uint32_t word : words) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      bytes.push_back(static_cast<uint8_t>(word >> shift));
    }
  }
  bytes.resize(bytes.size() + dataBytes, 0x5A);
  return AsText(bytes);
}

// Words 1 to 13: version, width, height, bits, flags, pitch, data size,
// transparent value, red, green, blue and alpha masks, format record.
std::vector<uint32_t> NativeWords(uint32_t width, uint32_t height, uint32_t bits, uint32_t flags, uint32_t pitch,
                                  uint32_t dataSize) {
  return {kImageVersionGraphic, width, height, bits, flags, pitch, dataSize, 0, 0xF800, 0x07E0, 0x001F, 0, 0x10};
}

struct DamagedSeed {
  const char* name;
  std::string bytes;
};

std::vector<DamagedSeed> DamagedImages() {
  return {
      {"damaged-data-cut-short.ylm", NativeFile(NativeWords(4, 4, 16, 2, 8, 32), 31)},
      {"damaged-huge-size.ylm", NativeFile(NativeWords(0x10000, 0x10000, 32, 2, 0x40000, 0), 64)},
      {"damaged-size-wraps-32-bits.ylm", NativeFile(NativeWords(0x10000, 0x10000, 16, 2, 0x20000, 0), 64)},
      {"damaged-pitch-below-row.ylm", NativeFile(NativeWords(4, 2, 16, 2, 6, 12), 12)},
      {"damaged-alpha-missing.ylm", NativeFile(NativeWords(2, 2, 16, 2 | 0x40, 4, 8), 8)},
      {"damaged-depth-8.ylm", NativeFile(NativeWords(2, 2, 8, 2, 2, 4), 4)},
      {"damaged-header-only.ylm", NativeFile({}, 0)},
      {"damaged-signature.ylm", "YLX" + NativeFile(NativeWords(1, 1, 16, 2, 2, 2), 2).substr(3)},
      {"damaged-empty.ylm", ""},
  };
}

struct BitmapSeed {
  const char* name;
  uint32_t width;
  uint32_t height;
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
  uint32_t bitsPerPixel;
  uint32_t origin;
};

const BitmapSeed kBitmapSeeds[] = {
    {"written-24-odd-width.bmp", 3, 2, 0xFF0000, 0x00FF00, 0x0000FF, 24, kImageBottomUp},
    {"written-24-top-down.bmp", 2, 3, 0xFF0000, 0x00FF00, 0x0000FF, 24, kImageTopDown},
    {"written-16-masks.bmp", 3, 3, 0xF800, 0x07E0, 0x001F, 16, kImageBottomUp},
    {"written-32-masks.bmp", 2, 2, 0xFF0000, 0x00FF00, 0x0000FF, 32, kImageTopDown},
};

std::vector<uint8_t> Palette(uint32_t entries, uint32_t entryBytes) {
  std::vector<uint8_t> palette;
  for (uint32_t entry = 0; entry < entries * entryBytes; ++entry) {
    palette.push_back(static_cast<uint8_t>(entry * 29 + 3));
  }
  return palette;
}

BitmapFileSpec Spec(int32_t width, int32_t height, uint16_t bitCount, std::vector<uint8_t> pixels) {
  BitmapFileSpec spec;
  spec.width = width;
  spec.height = height;
  spec.bitCount = bitCount;
  spec.pixels = std::move(pixels);
  return spec;
}

BitmapFileSpec WithPalette(BitmapFileSpec spec, uint32_t entries, uint32_t entryBytes, uint32_t compression = 0) {
  spec.palette = Palette(entries, entryBytes);
  spec.compression = compression;
  return spec;
}

BitmapFileSpec WithMasks(BitmapFileSpec spec, uint32_t headerSize, std::vector<uint32_t> masks) {
  spec.headerSize = headerSize;
  spec.compression = 3;
  spec.masks = std::move(masks);
  return spec;
}

// Files in the forms only other programs write: palettes, run-length
// coding, older and newer headers; each well formed.
std::vector<DamagedSeed> ForeignBitmaps() {
  BitmapFileSpec core = WithPalette(Spec(2, 2, 8, {9, 8, 0, 0, 7, 6, 0, 0}), 256, 3);
  core.headerSize = 12;
  // Runs, an absolute run, a delta, line ends and the end of the picture.
  const std::vector<uint8_t> runs8 = {3, 1, 0, 3, 2, 3, 1, 0, 0, 0, 2, 1, 1, 0, 0, 4, 2, 0, 1};
  const std::vector<uint8_t> runs4 = {5, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 1};
  return {
      {"foreign-1-bit.bmp", AsText(BuildBitmapFile(WithPalette(Spec(9, 2, 1, {0xA5, 0x80, 0, 0, 0x5A, 0, 0, 0}), 2, 4)))},
      {"foreign-4-bit-top-down.bmp",
       AsText(BuildBitmapFile(WithPalette(Spec(3, -2, 4, {0x12, 0x30, 0, 0, 0xFE, 0xD0, 0, 0}), 16, 4)))},
      {"foreign-8-bit.bmp", AsText(BuildBitmapFile(WithPalette(Spec(2, 2, 8, {1, 2, 0, 0, 254, 255, 0, 0}), 256, 4)))},
      {"foreign-run-length-8.bmp", AsText(BuildBitmapFile(WithPalette(Spec(6, 3, 8, runs8), 4, 4, 1)))},
      {"foreign-run-length-4.bmp", AsText(BuildBitmapFile(WithPalette(Spec(5, 2, 4, runs4), 16, 4, 2)))},
      {"foreign-core-header.bmp", AsText(BuildBitmapFile(core))},
      {"foreign-v4-header.bmp",
       AsText(BuildBitmapFile(WithMasks(Spec(2, 1, 16, {0x12, 0x34, 0x56, 0x78}), 108, {0x7C00, 0x03E0, 0x001F, 0x8000})))},
      {"foreign-v5-header.bmp", AsText(BuildBitmapFile(WithMasks(Spec(1, 2, 32, {1, 2, 3, 4, 5, 6, 7, 8}), 124,
                                                                 {0xFF0000, 0xFF00, 0xFF, 0xFF000000})))},
  };
}

std::vector<DamagedSeed> DamagedBitmaps() {
  BitmapFileSpec offsetPastEnd = Spec(2, 2, 24, std::vector<uint8_t>(16, 7));
  offsetPastEnd.dataOffset = 4096;
  // The header claims nearly 4 GB.
  std::string headerSize = AsText(BuildBitmapFile(Spec(1, 1, 24, {1, 2, 3, 0})));
  headerSize[14 + 0] = static_cast<char>(0xF0);
  headerSize[14 + 1] = headerSize[14 + 2] = headerSize[14 + 3] = static_cast<char>(0xFF);
  std::string palette = AsText(BuildBitmapFile(WithPalette(Spec(1, 1, 8, {0, 0, 0, 0}), 2, 4)));
  palette[14 + 32] = static_cast<char>(0xFF);  // ClrUsed
  palette[14 + 33] = static_cast<char>(0xFF);
  palette[14 + 34] = static_cast<char>(0xFF);
  return {
      {"damaged-offset-past-end.bmp", AsText(BuildBitmapFile(offsetPastEnd))},
      {"damaged-pixels-cut-short.bmp", AsText(BuildBitmapFile(Spec(4, 4, 24, std::vector<uint8_t>(40, 7))))},
      {"damaged-huge-run-length.bmp",
       AsText(BuildBitmapFile(WithPalette(Spec(0x7FFFFFFF, 0x7FFFFFFF, 8, {255, 1, 0, 1}), 2, 4, 1)))},
      {"damaged-huge-palette.bmp", palette},
      {"damaged-runs-past-end.bmp",
       AsText(BuildBitmapFile(WithPalette(Spec(2, 2, 8, {200, 1, 0, 2, 50, 50, 0, 5, 1, 1}), 2, 4, 1)))},
      {"damaged-negative-width.bmp", AsText(BuildBitmapFile(Spec(-3, 2, 24, std::vector<uint8_t>(24, 1))))},
      {"damaged-zero-masks.bmp", AsText(BuildBitmapFile(WithMasks(Spec(1, 1, 16, {1, 2, 0, 0}), 40, {0, 0, 0})))},
      {"damaged-header-size.bmp", headerSize},
      {"damaged-type-only.bmp", "BM"},
  };
}

}  // namespace

void WriteImageSeeds(const std::filesystem::path& folder) {
  for (const ImageSeed& seed : kImageSeeds) {
    tImage image;
    if (!image.Create(seed.pitch, seed.width, seed.height, seed.redMask, seed.greenMask, seed.blueMask,
                      seed.alphaMask, seed.bitsPerPixel, seed.origin, seed.formatCode, seed.withAlpha,
                      kImageVersionGraphic)) {
      std::fprintf(stderr, "Cannot make the seed %s\n", seed.name);
      continue;
    }
    FillPattern(image);
    SaveSeed(image, folder, seed.name);
  }
  for (const DamagedSeed& seed : DamagedImages()) {
    WriteSeed(folder, seed.name, seed.bytes);
  }
}

void WriteBitmapSeeds(const std::filesystem::path& folder) {
  for (const BitmapSeed& seed : kBitmapSeeds) {
    tBitmap bitmap;
    if (!bitmap.Create(0, seed.width, seed.height, seed.redMask, seed.greenMask, seed.blueMask, 0,
                       seed.bitsPerPixel, seed.origin, 0, false, kImageVersionBitmap)) {
      std::fprintf(stderr, "Cannot make the seed %s\n", seed.name);
      continue;
    }
    FillPattern(bitmap);
    SaveSeed(bitmap, folder, seed.name);
  }
  for (const DamagedSeed& seed : ForeignBitmaps()) {
    WriteSeed(folder, seed.name, seed.bytes);
  }
  for (const DamagedSeed& seed : DamagedBitmaps()) {
    WriteSeed(folder, seed.name, seed.bytes);
  }
}
