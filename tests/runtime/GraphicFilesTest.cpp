#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CompoundArchiveSupport.h"
#include "DisplayFixture.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/Folders.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Viewports.h"
#include "tests/base/BitmapFileWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A 1 x 1 24-bit BMP file of one colour; sizeChange is added to the file
// size its header gives.
std::string OnePixelBitmap(uint8_t red, uint8_t green, uint8_t blue, int32_t sizeChange = 0) {
  testing_support::BitmapFileSpec spec;
  spec.width = 1;
  spec.height = 1;
  spec.pixels = {blue, green, red, 0};
  Bytes bytes = testing_support::BuildBitmapFile(spec);
  const uint32_t size = static_cast<uint32_t>(static_cast<int64_t>(bytes.size()) + sizeChange);
  for (int index = 0; index < 4; ++index) {
    bytes[2 + index] = static_cast<uint8_t>(size >> (8 * index));
  }
  return std::string(bytes.begin(), bytes.end());
}

uint32_t LittleAt(const Bytes& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

class GraphicFilesTest : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    std::filesystem::create_directory("gfx");
    ASSERT_TRUE(SetFolderName(FolderGraphic, graphicsFolder.c_str()));
  }
  void TearDown() override {
    CloseGlobalCompound();
    StopFolders();
    DisplayFixture::TearDown();
  }
  void Start(int32_t bitsPerPixel, bool gdi = false) {
    tDisplaySettings settings = Settings(false, true, bitsPerPixel);
    settings.GDI = gdi;
    ASSERT_TRUE(StartDisplay(settings));
  }

  // The pixel (0, 0) of the graphic loaded by that name, or 0xFFFFFFFF when
  // nothing loads.
  static uint32_t LoadedPixel(const std::string& name) {
    GraphicHandle graphic = LoadGraphic(name.c_str());
    if (graphic == nullptr) {
      return 0xFFFFFFFF;
    }
    const uint32_t pixel = GetGraphicPixel(graphic, 0, 0);
    DestroyGraphic(graphic);
    return pixel;
  }

  std::string programFolder = platform::CurrentFolderName();
  std::string graphicsFolder = programFolder + "gfx\\";
};

TEST_F(GraphicFilesTest, LoadGraphicReadsTheArchiveEntryFirstAndTheGraphicsFolderOtherwise) {
  const std::string blue = OnePixelBitmap(0, 0, 255);
  compound_test::StoreBytes("gfx/tile.bmp", Bytes(blue.begin(), blue.end()));
  compound_test::StoreBytes("gfx/bent.bmp", Bytes(blue.begin(), blue.end()));
  compound_test::StoreBytes("global.lmp", compound_test::BuildArchive({{"tile.bmp", OnePixelBitmap(255, 0, 0)},
                                                                       {"bent.bmp", OnePixelBitmap(0, 255, 0, 1)}}));
  for (const bool gdi : {false, true}) {
    Start(16, gdi);
    const uint32_t red = GetColor(255, 0, 0);
    const uint32_t green = GetColor(0, 255, 0);
    const uint32_t bluePixel = GetColor(0, 0, 255);
    CompoundHandle compound = OpenCompound((programFolder + "global.lmp").c_str(), false);
    ASSERT_NE(compound, nullptr);
    SetCompound(compound);
    const int32_t archivePosition = SeekFile(GetCompoundFile(compound), 0, SeekModeCurrent);

    EXPECT_EQ(LoadedPixel("tile"), red) << gdi;
    EXPECT_EQ(SeekFile(GetCompoundFile(compound), 0, SeekModeCurrent), archivePosition) << gdi;
    EXPECT_EQ(LoadedPixel(graphicsFolder + "tile.bmp"), bluePixel) << gdi;  // a full path is not looked up
    // An entry whose file header gives another size is no whole BMP file to
    // the system reader; the image reader reads it.
    EXPECT_EQ(LoadedPixel("bent"), gdi ? 0xFFFFFFFF : green) << gdi;

    CloseGlobalCompound();
    EXPECT_EQ(LoadedPixel("tile"), bluePixel) << gdi;
    EXPECT_EQ(LoadedPixel("none"), 0xFFFFFFFF) << gdi;
    EXPECT_TRUE(LogHas(gdi ? "LoadGraphic() Cannot load the graphic from file (Name=" + graphicsFolder + "none.bmp)"
                           : "LoadGraphic() Cannot open the bitmap file (Name=" + graphicsFolder + "none.bmp)"))
        << gdi;
    EXPECT_EQ(LiveGraphicCount(), 0) << gdi;
    StopDisplay();
  }
}

// A bitmap entry is read within the entry: pixels it lacks are not taken
// from the entry stored behind it, with either reader.
TEST_F(GraphicFilesTest, ArchiveBitmapEntriesAreNotReadPastTheirEnd) {
  const std::string whole = OnePixelBitmap(255, 0, 0);
  // The pixel row is cut by two bytes; its file size is the entry's size,
  // so the entry passes the system reader's whole-file check.
  const std::string cut = OnePixelBitmap(255, 0, 0, -2).substr(0, whole.size() - 2);
  compound_test::StoreBytes("global.lmp", compound_test::BuildArchive({{"cut.bmp", cut}, {"next.dat", whole}}));
  for (const bool gdi : {false, true}) {
    Start(16, gdi);
    CompoundHandle compound = OpenCompound((programFolder + "global.lmp").c_str(), false);
    ASSERT_NE(compound, nullptr);
    SetCompound(compound);
    EXPECT_EQ(LoadedPixel("cut"), 0xFFFFFFFFu) << gdi;
    EXPECT_EQ(LoadedPixel("next.dat"), GetColor(255, 0, 0)) << gdi;
    CloseGlobalCompound();
    StopDisplay();
  }
}

TEST_F(GraphicFilesTest, SaveViewportWritesA24BitBitmapThatLoadsBackPixelEqual) {
  for (const int32_t depth : {16, 24, 32}) {
    Start(depth);
    GraphicHandle render = GetBackground();
    for (int32_t y = 0; y < 6; ++y) {
      for (int32_t x = 0; x < 9; ++x) {
        SetGraphicPixel(render, x, y,
                        GetColor(static_cast<uint32_t>(x * 30), static_cast<uint32_t>(y * 50), 200));
      }
    }
    ViewportHandle viewport = CreateViewport(2, 1, 5, 3);
    ASSERT_TRUE(SaveViewport(viewport, "shot")) << depth;
    const Bytes file = compound_test::LoadBytes("shot.bmp");
    ASSERT_EQ(file.size(), 54u + 16u * 3u) << depth;  // rows of 15 bytes padded to 16
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(LittleAt(file, 2), file.size()) << depth;
    EXPECT_EQ(LittleAt(file, 10), 54u) << depth;
    EXPECT_EQ(LittleAt(file, 18), 5u) << depth;
    EXPECT_EQ(LittleAt(file, 22), 3u) << depth;  // positive: bottom-up rows
    EXPECT_EQ(file[28], 24) << depth;

    GraphicHandle loaded = LoadGraphic((programFolder + "shot.bmp").c_str());
    ASSERT_NE(loaded, nullptr) << depth;
    for (int32_t y = 0; y < 3; ++y) {
      for (int32_t x = 0; x < 5; ++x) {
        EXPECT_EQ(GetGraphicPixel(loaded, x, y), GetGraphicPixel(render, 2 + x, 1 + y))
            << depth << " at " << x << ", " << y;
      }
    }
    DestroyGraphic(loaded);
    DestroyViewport(viewport);
    StopDisplay();
  }
}

TEST_F(GraphicFilesTest, SavePartialGraphicSavesTheRectangleWithBlackOutsideTheGraphic) {
  Start(32);
  GraphicHandle graphic = CreateGraphic(2, 2, sRGB{255, 255, 255});
  ASSERT_TRUE(SavePartialGraphic(graphic, "part", 1, 1, 2, 2));
  GraphicHandle loaded = LoadGraphic((programFolder + "part.bmp").c_str());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(GetGraphicPixel(loaded, 0, 0), GetColor(255, 255, 255));
  EXPECT_EQ(GetGraphicPixel(loaded, 1, 0), 0u);
  EXPECT_EQ(GetGraphicPixel(loaded, 1, 1), 0u);
  ASSERT_TRUE(SaveGraphic(graphic, "whole.bmp"));
  EXPECT_TRUE(std::filesystem::exists("whole.bmp"));
  EXPECT_FALSE(std::filesystem::exists("whole.bmp.tmp"));
  DestroyGraphic(loaded);
  DestroyGraphic(graphic);
}

TEST_F(GraphicFilesTest, SavesRefuseMissingArgumentsWithTheirLogLines) {
  Start(16);
  GraphicHandle graphic = CreateGraphic(2, 2, sRGB{});
  ViewportHandle viewport = CreateViewport(0, 0, 4, 4);
  struct Case {
    bool saved;
    const char* logText;
  };
  const Case cases[] = {
      {SaveGraphic(graphic, nullptr), "SaveGraphic() Null pointer to the name specified"},
      {SaveGraphic(nullptr, "x"), "SaveGraphic() Null pointer to the graphic specified (Name=x)"},
      {SavePartialGraphic(graphic, "x", 0, 0, 0, 2), "SavePartialGraphic() Cannot read the graphic"},
      {SaveViewport(viewport, nullptr), "SaveViewport() Null pointer to the name specified"},
      {SaveViewport(nullptr, "x"), "SaveViewport() Null pointer to the viewport specified (Name=x)"},
      {LoadGraphic(nullptr) != nullptr, "LoadGraphic() Null pointer to the name specified"},
  };
  for (const Case& test : cases) {
    EXPECT_FALSE(test.saved) << test.logText;
    EXPECT_TRUE(LogHas(test.logText)) << test.logText;
  }
  EXPECT_FALSE(std::filesystem::exists("x.bmp"));
  DestroyViewport(viewport);
  DestroyGraphic(graphic);
}

}  // namespace
