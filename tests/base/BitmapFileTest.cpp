#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "BitmapFileWriter.h"
#include "ImageTestSupport.h"
#include "base/tBitmap.h"

namespace {

using testing_support::BitmapFileSpec;
using testing_support::BuildBitmapFile;
using testing_support::ImageLogFixture;
using testing_support::IsEmptyImage;
using testing_support::LoadImage;
using testing_support::OpenedFile;
using testing_support::ReadBytes;
using testing_support::SaveImage;
using testing_support::WriteBytes;

using Bytes = std::vector<uint8_t>;
using IndexRows = std::vector<std::vector<uint8_t>>;

uint32_t Little32(const Bytes& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}
uint16_t Little16(const Bytes& bytes, size_t at) { return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8)); }

// Palette entry i as blue, green, red and (for 4-byte entries) a zero byte.
Bytes MakePalette(uint32_t entries, uint32_t entryBytes) {
  Bytes palette;
  for (uint32_t entry = 0; entry < entries; ++entry) {
    palette.push_back(static_cast<uint8_t>(entry * 3 + 1));
    palette.push_back(static_cast<uint8_t>(entry * 5 + 2));
    palette.push_back(static_cast<uint8_t>(entry * 7 + 3));
    if (entryBytes == 4) {
      palette.push_back(0);
    }
  }
  return palette;
}
// The 32-bit pixel a palette image shows for entry i.
uint32_t EntryColour(uint32_t entry) {
  return ((entry * 7 + 3) & 0xFF) << 16 | ((entry * 5 + 2) & 0xFF) << 8 | ((entry * 3 + 1) & 0xFF);
}

// Packs rows of indexes at 1, 4 or 8 bits, most significant first, each row
// padded to 4 bytes; rows are stored in the order given.
Bytes PackIndexes(const IndexRows& rows, uint32_t bits) {
  Bytes packed;
  for (const auto& row : rows) {
    const size_t rowBytes = (row.size() * bits + 31) / 32 * 4;
    Bytes stored(rowBytes, 0);
    for (size_t column = 0; column < row.size(); ++column) {
      const size_t bit = column * bits;
      stored[bit / 8] |= static_cast<uint8_t>(row[column] << (8 - bits - bit % 8));
    }
    packed.insert(packed.end(), stored.begin(), stored.end());
  }
  return packed;
}

IndexRows Reversed(IndexRows rows) { return IndexRows(rows.rbegin(), rows.rend()); }

uint32_t Pixel32(const tImage& image, uint32_t x, uint32_t y) {
  uint32_t pixel;
  std::memcpy(&pixel, image.GetBits() + y * image.GetRowPitch() + x * 4, 4);
  return pixel;
}

// Expects a 32-bit top-down image whose pixels are the palette colours of
// the rows (top row first).
void ExpectPaletteImage(const tImage& image, const IndexRows& rows, const std::string& label) {
  ASSERT_NE(image.GetBits(), nullptr) << label;
  EXPECT_EQ(image.GetBitsPerPixel(), 32u) << label;
  EXPECT_EQ(image.GetOrigin(), 2u) << label;
  EXPECT_EQ(image.GetRedMask(), 0xFF0000u) << label;
  EXPECT_EQ(image.GetVersion(), 0x1010000u) << label;
  ASSERT_EQ(image.GetHeight(), rows.size()) << label;
  for (uint32_t y = 0; y < rows.size(); ++y) {
    ASSERT_EQ(image.GetWidth(), rows[y].size()) << label;
    for (uint32_t x = 0; x < rows[y].size(); ++x) {
      EXPECT_EQ(Pixel32(image, x, y), EntryColour(rows[y][x])) << label << " at " << x << ", " << y;
    }
  }
}

bool LoadBytes(tBitmap& bitmap, const Bytes& bytes) {
  WriteBytes("test.bmp", bytes);
  return LoadImage(bitmap, "test.bmp");
}

class BitmapFileTest : public ImageLogFixture {};

TEST_F(BitmapFileTest, TwentyFourBitRowsArePaddedToFourBytes) {
  tBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(0, 3, 2, 0xFF0000, 0xFF00, 0xFF, 0, 24, 2, 0, false, 0x1010000));
  EXPECT_EQ(bitmap.GetRowPitch(), 12u);
  for (uint32_t row = 0; row < 2; ++row) {
    for (uint32_t index = 0; index < 9; ++index) {
      bitmap.GetBits()[row * 12 + index] = static_cast<uint8_t>(row * 16 + index + 1);
    }
  }
  ASSERT_TRUE(SaveImage(bitmap, "rows.bmp"));
  const Bytes file = ReadBytes("rows.bmp");
  ASSERT_EQ(file.size(), 54u + 24u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Little32(file, 2), 78u);
  EXPECT_EQ(Little32(file, 10), 54u);
  EXPECT_EQ(Little32(file, 14), 40u);
  EXPECT_EQ(Little32(file, 18), 3u);
  EXPECT_EQ(static_cast<int32_t>(Little32(file, 22)), -2);  // top-down rows
  EXPECT_EQ(Little16(file, 26), 1u);
  EXPECT_EQ(Little16(file, 28), 24u);
  EXPECT_EQ(Little32(file, 30), 0u);
  EXPECT_EQ(Little32(file, 34), 24u);
  EXPECT_EQ(Little32(file, 38), 2835u);
  EXPECT_EQ(Bytes(file.begin() + 54 + 9, file.begin() + 54 + 12), Bytes(3, 0));
  EXPECT_EQ(file[54 + 12], 17u);

  tBitmap loaded;
  ASSERT_TRUE(LoadImage(loaded, "rows.bmp"));
  EXPECT_EQ(loaded.GetRowPitch(), 12u);
  EXPECT_EQ(loaded.GetOrigin(), 2u);
  EXPECT_EQ(std::memcmp(loaded.GetBits(), bitmap.GetBits(), 24), 0);
}

TEST_F(BitmapFileTest, DirectColourImagesRoundTrip) {
  struct Case {
    uint32_t bitsPerPixel;
    uint32_t red, green, blue;
    uint16_t storedBits;
    uint32_t compression;
    uint32_t dataOffset;
  };
  const Case cases[] = {
      {24, 0xFF0000, 0xFF00, 0xFF, 24, 0, 54},
      {32, 0xFF0000, 0xFF00, 0xFF, 32, 3, 66},
      {16, 0xF800, 0x07E0, 0x1F, 16, 3, 66},
      {15, 0x7C00, 0x03E0, 0x1F, 16, 3, 66},  // BMP files know no 15 bits
  };
  for (const Case& test : cases) {
    for (const uint32_t origin : {0u, 2u}) {
      const std::string label = std::to_string(test.bitsPerPixel) + " bits, origin " + std::to_string(origin);
      tBitmap bitmap;
      ASSERT_TRUE(bitmap.Create(0, 5, 3, test.red, test.green, test.blue, 0, test.bitsPerPixel, origin, 0, false, 1));
      const uint32_t rowBytes = 5 * bitmap.GetBytesPerPixel();
      for (uint32_t row = 0; row < 3; ++row) {
        for (uint32_t index = 0; index < rowBytes; ++index) {
          // 16-bit pixels keep their top bit clear, so 5/5/5 values stay 5/5/5.
          const uint8_t value = static_cast<uint8_t>(row * 40 + index * 3 + 1);
          bitmap.GetBits()[row * bitmap.GetRowPitch() + index] = bitmap.GetBytesPerPixel() == 2 && index % 2 == 1
                                                                     ? value & 0x7F
                                                                     : value;
        }
      }
      ASSERT_TRUE(SaveImage(bitmap, "round.bmp")) << label;
      const Bytes file = ReadBytes("round.bmp");
      EXPECT_EQ(Little16(file, 28), test.storedBits) << label;
      EXPECT_EQ(Little32(file, 30), test.compression) << label;
      EXPECT_EQ(Little32(file, 10), test.dataOffset) << label;
      if (test.compression == 3) {
        EXPECT_EQ(Little32(file, 54), test.red) << label;
        EXPECT_EQ(Little32(file, 58), test.green) << label;
        EXPECT_EQ(Little32(file, 62), test.blue) << label;
      }

      tBitmap loaded;
      ASSERT_TRUE(LoadImage(loaded, "round.bmp")) << label;
      EXPECT_EQ(loaded.GetBitsPerPixel(), test.bitsPerPixel) << label;
      EXPECT_EQ(loaded.GetRedMask(), test.red) << label;
      EXPECT_EQ(loaded.GetGreenMask(), test.green) << label;
      EXPECT_EQ(loaded.GetBlueMask(), test.blue) << label;
      EXPECT_EQ(loaded.GetOrigin(), origin) << label;
      ASSERT_EQ(loaded.GetRowPitch(), bitmap.GetRowPitch()) << label;
      for (uint32_t row = 0; row < 3; ++row) {
        EXPECT_EQ(std::memcmp(loaded.GetBits() + row * loaded.GetRowPitch(),
                              bitmap.GetBits() + row * bitmap.GetRowPitch(), rowBytes),
                  0)
            << label << " row " << row;
      }
    }
  }
}

TEST_F(BitmapFileTest, PaletteImagesLoadTopDownWhicheverWayTheyAreStored) {
  struct Case {
    uint16_t bits;
    uint32_t headerSize;
    bool topDown;
  };
  const Case cases[] = {{8, 40, true}, {8, 40, false}, {4, 40, true}, {4, 40, false},
                        {1, 40, true}, {1, 40, false}, {8, 12, false}, {4, 124, false}};
  for (const Case& test : cases) {
    const std::string label = std::to_string(test.bits) + " bits, header " + std::to_string(test.headerSize) +
                              (test.topDown ? ", top-down" : ", bottom-up");
    const uint32_t entries = test.bits == 1 ? 2 : 16;
    IndexRows rows(10, std::vector<uint8_t>(5));
    for (uint32_t y = 0; y < rows.size(); ++y) {
      for (uint32_t x = 0; x < 5; ++x) {
        rows[y][x] = static_cast<uint8_t>((x + 3 * y) % entries);
      }
    }
    BitmapFileSpec spec;
    spec.headerSize = test.headerSize;
    spec.width = 5;
    spec.height = test.topDown ? -10 : 10;
    spec.bitCount = test.bits;
    spec.palette = MakePalette(entries, test.headerSize == 12 ? 3 : 4);
    spec.pixels = PackIndexes(test.topDown ? rows : Reversed(rows), test.bits);
    tBitmap bitmap;
    ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(spec))) << label;
    ExpectPaletteImage(bitmap, rows, label);
  }
}

TEST_F(BitmapFileTest, SixteenBitsWithoutBitFieldsAreFiveFiveFive) {
  BitmapFileSpec spec;
  spec.width = 2;
  spec.height = 1;
  spec.bitCount = 16;
  spec.pixels = {0xFF, 0x7F, 0x00, 0x7C};
  tBitmap bitmap;
  ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(spec)));
  EXPECT_EQ(bitmap.GetBitsPerPixel(), 15u);
  EXPECT_EQ(bitmap.GetRedMask(), 0x7C00u);
  EXPECT_EQ(bitmap.GetGreenMask(), 0x03E0u);
  EXPECT_EQ(bitmap.GetBlueMask(), 0x001Fu);
  EXPECT_EQ(bitmap.GetOrigin(), 0u);
  EXPECT_EQ(Bytes(bitmap.GetBits(), bitmap.GetBits() + 4), spec.pixels);
}

TEST_F(BitmapFileTest, HeaderSizesAreReadByWhatTheyDeclare) {
  // 200: read as a V5 header, its palette found behind the declared size.
  BitmapFileSpec longHeader;
  longHeader.headerSize = 200;
  longHeader.width = 2;
  longHeader.height = 1;
  longHeader.bitCount = 8;
  longHeader.palette = MakePalette(2, 4);
  longHeader.pixels = {1, 0, 0, 0};
  tBitmap bitmap;
  ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(longHeader)));
  ExpectPaletteImage(bitmap, {{1, 0}}, "header 200");

  // 108 and 124 headers carry their masks.
  BitmapFileSpec v4;
  v4.headerSize = 108;
  v4.width = 1;
  v4.height = 1;
  v4.bitCount = 16;
  v4.compression = 3;
  v4.masks = {0xF800, 0x07E0, 0x001F, 0};
  v4.pixels = {0x34, 0x12, 0, 0};
  ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(v4)));
  EXPECT_EQ(bitmap.GetBitsPerPixel(), 16u);
  EXPECT_EQ(bitmap.GetRedMask(), 0xF800u);

  BitmapFileSpec withAlpha = v4;
  withAlpha.headerSize = 124;
  withAlpha.bitCount = 32;
  withAlpha.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  EXPECT_FALSE(LoadBytes(bitmap, BuildBitmapFile(withAlpha)));
  EXPECT_TRUE(LogHas("tBitmap::Create() Bitmap format not supported"));

  BitmapFileSpec sixtyFour = longHeader;
  sixtyFour.headerSize = 64;
  EXPECT_FALSE(LoadBytes(bitmap, BuildBitmapFile(sixtyFour)));
  EXPECT_TRUE(LogHas("tBitmap::LoadFrom() Invalid bitmap file header size (Size=64"));
}

TEST_F(BitmapFileTest, BitFieldMasksFollowAnInfoHeader) {
  BitmapFileSpec spec;
  spec.width = 2;
  spec.height = -1;
  spec.bitCount = 16;
  spec.compression = 3;
  spec.masks = {0xF800, 0x07E0, 0x001F};
  spec.pixels = {0x1F, 0x00, 0x00, 0xF8};
  tBitmap bitmap;
  ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(spec)));
  EXPECT_EQ(bitmap.GetBitsPerPixel(), 16u);
  EXPECT_EQ(bitmap.GetGreenMask(), 0x07E0u);
  EXPECT_EQ(bitmap.GetOrigin(), 2u);
  EXPECT_EQ(Bytes(bitmap.GetBits(), bitmap.GetBits() + 4), spec.pixels);
}

TEST_F(BitmapFileTest, RunLengthFilesDecodeLikeTheirPlainTwins) {
  struct Case {
    const char* name;
    uint16_t bits;
    uint32_t compression;
    IndexRows storedRows;  // bottom row first, as stored
    Bytes coded;
  };
  const Case cases[] = {
      {"8 bits",
       8,
       1,
       {{1, 1, 1, 2, 3, 4}, {5, 5, 5, 5, 5, 5}, {0, 0, 7, 0, 0, 0}, {9, 8, 0, 0, 0, 0}},
       {3, 1, 0, 3, 2, 3, 4, 0, 0, 0,   // a run, a padded literal run, end of line
        6, 5, 0, 0,                     // a whole row
        0, 2, 2, 0, 1, 7, 0, 0,         // a move right, one pixel, end of line
        1, 9, 1, 8, 0, 1}},             // two pixels, end of bitmap
      {"4 bits",
       4,
       2,
       {{1, 2, 1, 2, 1}, {3, 4, 5, 0, 0}},
       {5, 0x12, 0, 0,                  // an alternating run, end of line
        0, 3, 0x34, 0x50, 0, 1}},       // a literal run of three, end of bitmap
  };
  for (const Case& test : cases) {
    BitmapFileSpec plain;
    plain.width = static_cast<int32_t>(test.storedRows[0].size());
    plain.height = static_cast<int32_t>(test.storedRows.size());
    plain.bitCount = test.bits;
    plain.palette = MakePalette(16, 4);
    plain.pixels = PackIndexes(test.storedRows, test.bits);
    BitmapFileSpec coded = plain;
    coded.compression = test.compression;
    coded.sizeImage = static_cast<uint32_t>(test.coded.size());
    coded.pixels = test.coded;

    tBitmap fromPlain;
    ASSERT_TRUE(LoadBytes(fromPlain, BuildBitmapFile(plain))) << test.name;
    tBitmap fromCoded;
    ASSERT_TRUE(LoadBytes(fromCoded, BuildBitmapFile(coded))) << test.name;
    ExpectPaletteImage(fromCoded, Reversed(test.storedRows), test.name);
    EXPECT_EQ(std::memcmp(fromCoded.GetBits(), fromPlain.GetBits(), fromPlain.GetDataSize()), 0) << test.name;
  }
}

TEST_F(BitmapFileTest, RunLengthCodesThatOverrunTheImageAreCut) {
  BitmapFileSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.bitCount = 8;
  spec.compression = 1;
  spec.palette = MakePalette(16, 4);
  spec.pixels = {255, 1,            // a run far past the row's end
                 0, 2, 200, 200,    // a move far past the image
                 0, 255, 1, 2, 3};  // a literal run longer than the data
  tBitmap bitmap;
  ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(spec)));
  ExpectPaletteImage(bitmap, {{0, 0, 0}, {1, 1, 1}}, "overrun");
}

TEST_F(BitmapFileTest, PaletteIsBoundByTheDepthAndPixelsComeFromTheDataOffset) {
  // Room for six entries before the data offset; a 1-bit image uses two.
  BitmapFileSpec spec;
  spec.width = 3;
  spec.height = 1;
  spec.bitCount = 1;
  spec.palette = MakePalette(2, 4);
  spec.gap = 16;
  spec.pixels = PackIndexes({{1, 0, 1}}, 1);
  tBitmap bitmap;
  ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(spec)));
  ExpectPaletteImage(bitmap, {{1, 0, 1}}, "1 bit with a gap");
}

TEST_F(BitmapFileTest, IndexesBeyondThePaletteAreBlack) {
  BitmapFileSpec spec;
  spec.width = 4;
  spec.height = 1;
  spec.bitCount = 8;
  spec.palette = MakePalette(2, 4);
  spec.pixels = {0, 1, 5, 255};
  tBitmap bitmap;
  ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(spec)));
  EXPECT_EQ(Pixel32(bitmap, 0, 0), EntryColour(0));
  EXPECT_EQ(Pixel32(bitmap, 1, 0), EntryColour(1));
  EXPECT_EQ(Pixel32(bitmap, 2, 0), 0u);
  EXPECT_EQ(Pixel32(bitmap, 3, 0), 0u);
  EXPECT_TRUE(LogHas("Pixels beyond the palette are drawn black (Count=2, Palette=2"));
}

TEST_F(BitmapFileTest, ImageSizeFieldNeverShrinksRows) {
  struct Case {
    uint32_t sizeImage;
    uint32_t rowBytes;
  };
  // 3 pixels of 24 bits need 9 bytes a row, 12 when padded.
  const Case cases[] = {{0, 12}, {2, 12}, {24, 12}, {32, 16}, {18, 9}};
  for (const Case& test : cases) {
    BitmapFileSpec spec;
    spec.width = 3;
    spec.height = -2;
    spec.sizeImage = test.sizeImage;
    for (uint32_t index = 0; index < 2 * test.rowBytes; ++index) {
      spec.pixels.push_back(static_cast<uint8_t>(index + 1));
    }
    tBitmap bitmap;
    ASSERT_TRUE(LoadBytes(bitmap, BuildBitmapFile(spec))) << test.sizeImage;
    EXPECT_EQ(bitmap.GetRowPitch(), test.rowBytes) << test.sizeImage;
    EXPECT_EQ(bitmap.GetBits()[test.rowBytes], test.rowBytes + 1) << test.sizeImage;
  }
}

TEST_F(BitmapFileTest, BitmapIsReadFromTheMiddleOfAFile) {
  BitmapFileSpec spec;
  spec.width = 1;
  spec.height = 1;
  spec.pixels = {1, 2, 3, 0};
  Bytes bytes = {9, 9, 9, 9, 9, 9, 9};
  const Bytes bitmapBytes = BuildBitmapFile(spec);
  bytes.insert(bytes.end(), bitmapBytes.begin(), bitmapBytes.end());
  WriteBytes("inside.dat", bytes);
  OpenedFile file("inside.dat", FileModeRead);
  ASSERT_EQ(SeekFile(file.Get(), 7, SeekModeStart), 7);
  tBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadFrom(file.Get()));
  EXPECT_EQ(Bytes(bitmap.GetBits(), bitmap.GetBits() + 3), Bytes({1, 2, 3}));
}

// A bounded load reads nothing behind its size: a file that needs more
// bytes fails even when the file goes on, and run-length codes stop where the
// bound is, as at the end of a file.
TEST_F(BitmapFileTest, BoundedLoadReadsNothingBehindItsSize) {
  BitmapFileSpec direct;
  direct.width = 1;
  direct.height = 1;
  direct.pixels = {1, 2, 3, 0};
  const Bytes directBytes = BuildBitmapFile(direct);
  BitmapFileSpec coded;
  coded.width = 3;
  coded.height = 1;
  coded.bitCount = 8;
  coded.compression = 1;
  coded.palette = MakePalette(16, 4);
  coded.pixels = {0, 3, 1, 2};  // a literal run of three whose last index lies behind the bound
  const Bytes codedBytes = BuildBitmapFile(coded);
  Bytes bytes = directBytes;
  bytes.insert(bytes.end(), codedBytes.begin(), codedBytes.end());
  bytes.insert(bytes.end(), {3, 0, 0, 1});  // the coded file's missing index, and more
  WriteBytes("entries.dat", bytes);
  OpenedFile file("entries.dat", FileModeRead);
  const auto directSize = static_cast<uint32_t>(directBytes.size());
  tBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadBounded(file.Get(), directSize));
  EXPECT_EQ(Bytes(bitmap.GetBits(), bitmap.GetBits() + 3), Bytes({1, 2, 3}));
  ASSERT_EQ(SeekFile(file.Get(), 0, SeekModeStart), 0);
  EXPECT_FALSE(bitmap.LoadBounded(file.Get(), directSize - 1));
  ASSERT_EQ(SeekFile(file.Get(), static_cast<int32_t>(directSize), SeekModeStart), static_cast<int32_t>(directSize));
  ASSERT_TRUE(bitmap.LoadBounded(file.Get(), static_cast<uint32_t>(codedBytes.size())));
  ExpectPaletteImage(bitmap, {{0, 0, 0}}, "bounded run");
  // Headers and palettes too: a bound inside the palette or the info header
  // fails the load.
  for (const uint32_t bound : {60u, 30u, 10u}) {
    ASSERT_EQ(SeekFile(file.Get(), static_cast<int32_t>(directSize), SeekModeStart), static_cast<int32_t>(directSize));
    EXPECT_FALSE(bitmap.LoadBounded(file.Get(), bound)) << bound;
  }
}

TEST_F(BitmapFileTest, FailedSaveLeavesTheImage) {
  tBitmap bitmap;
  ASSERT_TRUE(bitmap.Create(0, 2, 2, 0xFF0000, 0xFF00, 0xFF, 0, 24, 0, 0, false, 1));
  bitmap.GetBits()[0] = 42;
  WriteBytes("readonly.bmp", {});
  const tImage::Description before = bitmap.GetDescription();
  {
    OpenedFile file("readonly.bmp", FileModeRead);
    EXPECT_FALSE(bitmap.SaveTo(file.Get()));
  }
  EXPECT_TRUE(LogHas("tBitmap::SaveTo() Cannot write the bitmap file header"));
  EXPECT_EQ(bitmap.GetDescription(), before);
  ASSERT_NE(bitmap.GetBits(), nullptr);
  EXPECT_EQ(bitmap.GetBits()[0], 42u);
}

TEST_F(BitmapFileTest, BitmapsRefuseAlphaAndBlueAboveRed) {
  tBitmap bitmap;
  EXPECT_FALSE(bitmap.Create(0, 2, 2, 0xFF0000, 0xFF00, 0xFF, 0, 24, 2, 0, true, 1));
  EXPECT_FALSE(bitmap.Create(0, 2, 2, 0xFF, 0xFF00, 0xFF0000, 0, 24, 2, 0, false, 1));
  EXPECT_FALSE(bitmap.Create(0, 2, 2, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 32, 2, 0, false, 1));
  EXPECT_TRUE(IsEmptyImage(bitmap));
}

// ---- Damaged files ----

BitmapFileSpec Palette8() {
  BitmapFileSpec spec;
  spec.width = 4;
  spec.height = 2;
  spec.bitCount = 8;
  spec.palette = MakePalette(4, 4);
  spec.pixels = PackIndexes({{0, 1, 2, 3}, {3, 2, 1, 0}}, 8);
  return spec;
}

BitmapFileSpec Direct24() {
  BitmapFileSpec spec;
  spec.width = 2;
  spec.height = 2;
  spec.pixels = Bytes(16, 0x55);
  return spec;
}

template <typename Change>
Bytes Build(BitmapFileSpec spec, Change change) {
  change(spec);
  return BuildBitmapFile(spec);
}

Bytes Cut(Bytes bytes, size_t size) {
  bytes.resize(size);
  return bytes;
}

TEST_F(BitmapFileTest, DamagedFilesAreRefusedWithoutReadingOutside) {
  using Spec = BitmapFileSpec;
  BitmapFileSpec core = Palette8();
  core.headerSize = 12;
  core.palette = MakePalette(4, 3);
  struct Case {
    const char* name;
    Bytes file;
    const char* message;
  };
  const Case cases[] = {
      {"file header cut short", Cut(BuildBitmapFile(Direct24()), 10),
       "Cannot read the bitmap file header"},
      {"wrong signature", Build(Direct24(), [](Spec&) {}),
       "does not contain the BM signature"},  // damaged below
      {"header size 64", Build(Direct24(), [](Spec& s) { s.headerSize = 64; }),
       "Invalid bitmap file header size (Size=64"},
      {"header size 16", Build(Direct24(), [](Spec& s) { s.headerSize = 16; }),
       "Invalid bitmap file header size (Size=16"},
      {"header size missing", Cut(BuildBitmapFile(Direct24()), 16),
       "Cannot load the size of the bitmap info header"},
      {"info header cut short", Cut(BuildBitmapFile(Direct24()), 30),
       "Cannot read the bitmap info header"},
      {"core header cut short", Cut(BuildBitmapFile(core), 20),
       "Cannot read the bitmap core header"},
      {"two planes", Build(Direct24(), [](Spec& s) { s.planes = 2; }),
       "Number of planes not supported (Planes=2"},
      {"two bits per pixel", Build(Palette8(), [](Spec& s) { s.bitCount = 2; }),
       "(Bits/Pixel=2"},
      {"JPEG compression", Build(Direct24(), [](Spec& s) { s.compression = 4; }),
       "Compression not supported (Compression=4"},
      {"run-length coding stored top-down", Build(Palette8(), [](Spec& s) {
         s.compression = 1;
         s.height = -2;
       }),
       "Compression not supported (Compression=1, Bits/Pixel=8"},
      {"8-bit run-length coding at 4 bits", Build(Palette8(), [](Spec& s) {
         s.compression = 1;
         s.bitCount = 4;
       }),
       "Compression not supported (Compression=1, Bits/Pixel=4"},
      {"bit fields on a palette", Build(Palette8(), [](Spec& s) { s.compression = 3; }),
       "Compression not supported (Compression=3, Bits/Pixel=8"},
      {"width 0", Build(Direct24(), [](Spec& s) { s.width = 0; }),
       "Invalid bitmap size (Width=0"},
      {"negative width", Build(Direct24(), [](Spec& s) { s.width = -2; }),
       "Invalid bitmap size (Width=-2"},
      {"height 0", Build(Direct24(), [](Spec& s) { s.height = 0; }),
       "Invalid bitmap size (Width=2, Height=0"},
      {"height of -2^31", Build(Direct24(), [](Spec& s) { s.height = INT32_MIN; }),
       "Height=-2147483648"},
      {"large image in a small file", Build(Direct24(), [](Spec& s) {
         s.width = 0x7FFFFFFF;
         s.height = 0x7FFFFFFF;
       }),
       "Cannot read the bitmap image ("},
      {"large 1-bit image in a small file", Build(Palette8(), [](Spec& s) {
         s.bitCount = 1;
         s.width = 100000;
         s.height = 100000;
       }),
       "Cannot read the bitmap image to covert"},
      {"large run-length image", Build(Palette8(), [](Spec& s) {
         s.compression = 1;
         s.width = 100000;
         s.height = 100000;
       }),
       "Invalid bitmap size (Width=100000"},
      {"pixels cut short", Cut(BuildBitmapFile(Direct24()), 54 + 15),
       "Cannot read the bitmap image ("},
      {"palette pixels cut short", Cut(BuildBitmapFile(Palette8()), BuildBitmapFile(Palette8()).size() - 1),
       "Cannot read the bitmap image to covert"},
      {"data offset inside the headers", Build(Palette8(), [](Spec& s) { s.dataOffset = 20; }),
       "Invalid bitmap file or format not supported"},
      {"core data offset inside the headers", Build(core, [](Spec& s) { s.dataOffset = 20; }),
       "Invalid bitmap file or old format not supported"},
      {"no room for a palette", Build(Palette8(), [](Spec& s) { s.dataOffset = 54; }),
       "Invalid bitmap file or format not supported"},
      {"data offset past the end", Build(Direct24(), [](Spec& s) { s.dataOffset = 1000; }),
       "Cannot read the bitmap image ("},
      {"data offset inside the masks", Build(Direct24(), [](Spec& s) {
         s.bitCount = 16;
         s.compression = 3;
         s.masks = {0xF800, 0x07E0, 0x1F};
         s.dataOffset = 54;
       }),
       "Invalid bitmap file or format not supported"},
      {"masks wider than the pixel", Build(Direct24(), [](Spec& s) {
         s.bitCount = 16;
         s.compression = 3;
         s.masks = {0xFF0000, 0xFF00, 0xFF};
       }),
       "Channel masks not supported (Red=ff0000"},
      {"masks cut short", Cut(Build(Direct24(),
                                    [](Spec& s) {
                                      s.bitCount = 16;
                                      s.compression = 3;
                                      s.masks = {0xF800, 0x07E0, 0x1F};
                                    }),
                              14 + 40 + 4),
       "Cannot read the bitmap channel masks"},
  };
  for (const Case& test : cases) {
    Bytes file = test.file;
    if (std::string(test.name) == "wrong signature") {
      file[1] = 'X';
    }
    tBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(0, 1, 1, 0xFF0000, 0xFF00, 0xFF, 0, 24, 2, 0, false, 1));
    const size_t logBefore = testing_support::ReadDebugLog().size();
    EXPECT_FALSE(LoadBytes(bitmap, file)) << test.name;
    EXPECT_TRUE(IsEmptyImage(bitmap)) << test.name;
    EXPECT_NE(testing_support::ReadDebugLog().find(test.message, logBefore), std::string::npos) << test.name;
  }
}

}  // namespace
