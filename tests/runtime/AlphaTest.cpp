#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DisplayFixture.h"
#include "platform/FileSystem.h"
#include "runtime/Alpha.h"
#include "runtime/Folders.h"
#include "runtime/GraphicFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

class AlphaTest : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    ASSERT_TRUE(SetFolderName(FolderGraphic, platform::CurrentFolderName().c_str()));
  }
  void TearDown() override {
    StopFolders();
    DisplayFixture::TearDown();
  }
  void Start(int32_t bitsPerPixel) { ASSERT_TRUE(StartDisplay(Settings(false, true, bitsPerPixel))); }

  static Bytes Extracted(AlphaHandle alpha) {
    int32_t width = 0;
    int32_t height = 0;
    GetAlphaSize(alpha, width, height);
    Bytes bytes(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (!bytes.empty()) {
      EXPECT_TRUE(ExtractAlpha(alpha, bytes.data()));
    }
    return bytes;
  }
};

struct CreateCase {
  const char* what;
  int32_t width;
  int32_t height;
  int32_t pitch;
  int32_t kind;
  int32_t origin;
  Bytes source;
  Bytes expected;
};

TEST_F(AlphaTest, CreateAlphaTakesTheKindsByteAndStoresRowsFromTheTop) {
  const CreateCase cases[] = {
      // Two bottom-up rows of two 4-byte pixels: the fourth byte of each, the
      // source's second row first.
      {"fourth of four, bottom-up", 2, 2, 8, AlphaKindFourthOfFour, kAlphaOriginBottomUp,
       {1, 2, 3, 10, 4, 5, 6, 11, 7, 8, 9, 20, 1, 1, 1, 21},
       {20, 21, 10, 11}},
      {"fourth of four, top-down", 2, 2, 8, AlphaKindFourthOfFour, kAlphaOriginTopDown,
       {1, 2, 3, 10, 4, 5, 6, 11, 7, 8, 9, 20, 1, 1, 1, 21},
       {10, 11, 20, 21}},
      {"first of three, padded rows", 1, 2, 4, AlphaKindFirstOfThree, kAlphaOriginTopDown,
       {30, 0, 0, 99, 31, 0, 0, 99},
       {30, 31}},
      {"first of four", 2, 1, 8, AlphaKindFirstOfFour, kAlphaOriginTopDown,
       {40, 1, 1, 1, 41, 1, 1, 1},
       {40, 41}},
      {"bytes for any other kind", 3, 2, 4, 7, kAlphaOriginBottomUp,
       {1, 2, 3, 0, 4, 5, 6, 0},
       {4, 5, 6, 1, 2, 3}},
  };
  for (const CreateCase& test : cases) {
    AlphaHandle alpha = CreateAlpha(test.width, test.height, test.source.data(), test.pitch, test.kind, test.origin);
    ASSERT_NE(alpha, nullptr) << test.what;
    EXPECT_EQ(Extracted(alpha), test.expected) << test.what;
    const tAlphaBytes view = GetAlphaBytes(alpha);
    EXPECT_EQ(Bytes(view.Data, view.Data + view.Size), test.expected) << test.what;
    DestroyAlpha(alpha);
  }
  EXPECT_EQ(LiveAlphaCount(), 0);
}

TEST_F(AlphaTest, CreateAlphaRefusesOtherOriginsEmptySizesAndNoSource) {
  const uint8_t source[4] = {1, 2, 3, 4};
  EXPECT_EQ(CreateAlpha(2, 2, nullptr, 2, 0, 2), nullptr);
  EXPECT_FALSE(LogHas("CreateAlpha()"));
  EXPECT_EQ(CreateAlpha(2, 2, source, 2, 0, 1), nullptr);
  EXPECT_TRUE(LogHas("CreateAlpha() Origin not supported (Origin=1)"));
  EXPECT_EQ(CreateAlpha(0, 2, source, 2, 0, 2), nullptr);
  EXPECT_TRUE(LogHas("CreateAlpha() Invalid size (Width=0, Height=2)"));
  EXPECT_EQ(LiveAlphaCount(), 0);
}

TEST_F(AlphaTest, HandleFunctionsRefuseNullAndUnknownMaps) {
  const uint8_t source[1] = {9};
  AlphaHandle alpha = CreateAlpha(1, 1, source, 1, 0, 2);
  ASSERT_NE(alpha, nullptr);
  int32_t width = 5;
  int32_t height = 5;
  GetAlphaSize(nullptr, width, height);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
  EXPECT_TRUE(LogHas("GetAlphaSize() Null pointer to the alpha information specified"));
  uint8_t buffer[1] = {};
  EXPECT_FALSE(ExtractAlpha(alpha, nullptr));
  EXPECT_TRUE(LogHas("ExtractAlpha() Null pointer to the buffer specified"));
  int notAMap = 0;
  EXPECT_FALSE(ExtractAlpha(&notAMap, buffer));
  EXPECT_TRUE(LogHas("ExtractAlpha() Unknown alpha information specified"));
  EXPECT_EQ(GetAlphaBytes(nullptr).Data, nullptr);
  DestroyAlpha(nullptr);
  DestroyAlpha(alpha);
  DestroyAlpha(alpha);  // a second destroy is refused, not a double free
  EXPECT_TRUE(LogHas("DestroyAlpha() Unknown alpha information specified"));
  EXPECT_EQ(LiveAlphaCount(), 0);
}

TEST_F(AlphaTest, AlphaToGraphicPaintsEachByteAsGrey) {
  for (const int32_t depth : {16, 32}) {
    Start(depth);
    const uint8_t source[4] = {0, 128, 255, 64};
    AlphaHandle alpha = CreateAlpha(2, 2, source, 2, 0, 2);
    GraphicHandle graphic = AlphaToGraphic(alpha);
    ASSERT_NE(graphic, nullptr) << depth;
    for (int32_t index = 0; index < 4; ++index) {
      const uint32_t grey = source[index];
      EXPECT_EQ(GetGraphicPixel(graphic, index % 2, index / 2), GetColor(grey, grey, grey)) << depth;
    }
    DestroyGraphic(graphic);
    DestroyAlpha(alpha);
    EXPECT_EQ(AlphaToGraphic(nullptr), nullptr);
    EXPECT_TRUE(LogHas("AlphaToGraphic() Null pointer to the alpha information specified"));
    StopDisplay();
  }
}

TEST_F(AlphaTest, ConvertAlphaTakesTheRedChannelOfTheGreyFile) {
  Start(32);
  GraphicHandle grey = CreateGraphic(3, 2, sRGB{});
  ASSERT_NE(grey, nullptr);
  const Bytes reds = {0, 50, 100, 150, 200, 255};
  for (int32_t index = 0; index < 6; ++index) {
    SetGraphicPixel(grey, index % 3, index / 3, GetColor(reds[static_cast<size_t>(index)], 7, 9));
  }
  // Saved into the program folder, which is the graphics folder here.
  ASSERT_TRUE(SaveGraphic(grey, "ShadowBW"));
  DestroyGraphic(grey);

  AlphaHandle alpha = ConvertAlpha("Shadow");
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(Extracted(alpha), reds);
  EXPECT_TRUE(LogHas("ConvertAlpha() Alpha information created (Name=Shadow, Bytes=6)"));
  EXPECT_EQ(LiveGraphicCount(), 0);  // the grey graphic is gone again
  DestroyAlpha(alpha);

  EXPECT_EQ(ConvertAlpha("Missing"), nullptr);
  EXPECT_TRUE(LogHas("LoadGraphic() Cannot open the bitmap file"));
}

}  // namespace
