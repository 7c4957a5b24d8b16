#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "base/LumoFileStream.h"
#include "base/LumoMemoryStream.h"
#include "framework/LumoGraphicList.h"
#include "runtime/Folders.h"
#include "runtime/Graphics.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

constexpr sRGB kRed{0, 0, 255};
constexpr sRGB kBlue{255, 0, 0};
constexpr sRGB kWhite{255, 255, 255};

using Bytes = std::vector<char>;

Bytes ReadFileBytes(const char* name) {
  std::ifstream file(name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const char* name, const Bytes& bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Graphic nodes stored and loaded as objects, with a running level whose
// graphic list file graphics are loaded for.
class StoredGraphicTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    ASSERT_TRUE(Start());
    level = AppendLevel(*Engine, "level");
    Engine->RequestLevel(level);
    Engine->StartAnimation();
    ASSERT_TRUE(Pulse());
    ASSERT_TRUE(level->GraphicList);
    list = level->GraphicList.get();
  }

  // The node's record in memory, loaded back (null when refused).
  static LumoObject* RoundTripInMemory(LumoGraphicNode* node) {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(64, 1, 0));
    stream.SetGrowth(4096);
    EXPECT_TRUE(node->SaveObject(&stream, 0));
    stream.SetPosition(0);
    return LoadObject(&stream, nullptr);
  }

  // The node's record in a file, followed by a marker word.
  static bool SaveToFile(LumoGraphicNode* node, const char* fileName) {
    LumoFileStream stream;
    return stream.OpenDefault(fileName, 1, 0) && node->SaveObject(&stream, 0) && stream.WriteCardinal(0xC0FFEE);
  }

  // The record loaded from the file; marker tells whether the stream went on
  // right after the record.
  static LumoObject* LoadFromFile(const char* fileName, uint32_t* marker = nullptr) {
    LumoFileStream stream;
    if (!stream.Open(fileName, FileModeRead, OpenModeExisting, ShareModeDenyWrite, 1, 0)) {
      return nullptr;
    }
    LumoObject* object = LoadObject(&stream, nullptr);
    if (marker != nullptr && object != nullptr) {
      stream.ReadCardinal(*marker);
    }
    return object;
  }

  // A 4 x 2 embedded picture: red on the left, blue on the right.
  LumoGraphicNode* MakeEmbeddedNode(const char* name) {
    LumoGraphicNode* node = list->ProvideGraphicAt(name, 2, 3);
    node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(4, 2, kRed)));
    node->SetPixel(2, 0, ConvertRGB(kBlue));
    node->SetPixel(3, 1, ConvertRGB(kBlue));
    node->SetSourceKey(kWhite);
    node->SetEmbedded(true);
    return node;
  }

  TestLevel* level = nullptr;
  LumoGraphicList* list = nullptr;
};

TEST_F(StoredGraphicTest, FileGraphicIsLoadedAgainByNameWhileALevelRuns) {
  LumoGraphicNode* node = list->ProvideGraphicAt("face.bmp", 0, 0);
  node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(6, 5, kRed)));
  ASSERT_TRUE(node->Save("face.bmp"));

  LumoObject* loaded = RoundTripInMemory(node);
  auto* copy = dynamic_cast<LumoGraphicNode*>(loaded);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->Data, 0u);
  EXPECT_EQ(copy->Width, 6);
  EXPECT_EQ(copy->GetPixel(1, 1), ConvertRGB(kRed));
  DestroyObject(loaded);

  // A file graphic whose file has gone fails its load.
  std::remove("face.bmp");
  EXPECT_EQ(RoundTripInMemory(node), nullptr);
}

TEST_F(StoredGraphicTest, MadeGraphicIsStoredWithoutPixelsAndRemadeByRestore) {
  LumoGraphicNode* made = list->GetGeneratedGraphic(7, 3, kBlue, true);
  LumoObject* loaded = RoundTripInMemory(made);
  auto* copy = dynamic_cast<LumoGraphicNode*>(loaded);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Data, 0u);
  EXPECT_NE(copy->Flags & LumoGraphicNode::kMadeFlag, 0u);
  ASSERT_NE(copy->Restore(), 0u);
  EXPECT_EQ(copy->Width, 7);
  EXPECT_EQ(copy->Height, 3);
  EXPECT_EQ(copy->GetPixel(6, 2), ConvertRGB(kBlue));
  DestroyObject(loaded);
}

TEST_F(StoredGraphicTest, EmbeddedPictureTravelsInAFileStreamWithKeysAtTheWorkFormatsPrecision) {
  list->SetSaveInWorkFormat(true);
  LumoGraphicNode* node = MakeEmbeddedNode("embedded");
  ASSERT_TRUE(SaveToFile(node, "embedded.lmg"));
  EXPECT_EQ(node->SourceKey.Low.Red, 255);  // unchanged in memory
  EXPECT_EQ(node->SourceKey.Low.Green, 255);

  uint32_t marker = 0;
  LumoObject* loaded = LoadFromFile("embedded.lmg", &marker);
  auto* copy = dynamic_cast<LumoGraphicNode*>(loaded);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(marker, 0xC0FFEEu);
  EXPECT_EQ(copy->Width, 4);
  EXPECT_EQ(copy->Height, 2);
  EXPECT_EQ(copy->Left, 2);
  EXPECT_EQ(copy->GetPixel(0, 0), ConvertRGB(kRed));
  EXPECT_EQ(copy->GetPixel(2, 0), ConvertRGB(kBlue));
  EXPECT_EQ(copy->GetPixel(3, 1), ConvertRGB(kBlue));
  EXPECT_EQ(copy->SourceKey.Low.Red, 248);
  EXPECT_EQ(copy->SourceKey.Low.Green, 252);
  EXPECT_EQ(copy->SourceKey.Low.Blue, 248);
  DestroyObject(loaded);
}

// The stored Width and Height are read after the picture: a record claiming
// more than its picture holds must not send the pen past the pixels.
TEST_F(StoredGraphicTest, LoadedNodeTakesItsPicturesSizeWhateverItsRecordClaims) {
  LumoGraphicNode* node = MakeEmbeddedNode("embedded");
  ASSERT_TRUE(SaveToFile(node, "embedded.lmg"));
  Bytes bytes = ReadFileBytes("embedded.lmg");
  // Width and Height are the last two integers before the fill colour, pen
  // colour, alpha factor and stretch (4 + 4 + 1 + 1 bytes) and the marker.
  const size_t heightAt = bytes.size() - 4 - 1 - 1 - 4 - 4 - 4;
  bytes[heightAt] = 100;
  bytes[heightAt - 4] = 100;
  WriteFileBytes("claiming.lmg", bytes);

  LumoObject* loaded = LoadFromFile("claiming.lmg");
  auto* copy = dynamic_cast<LumoGraphicNode*>(loaded);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Width, 4);
  EXPECT_EQ(copy->Height, 2);
  // Sizes set by hand are no licence either: the pen keeps to the pixels.
  copy->Width = 100;
  copy->Height = 100;
  ASSERT_NE(copy->CreateLock(), nullptr);
  SelectPixelAt(copy->Lock, 40, 40);
  copy->PenColor = ConvertRGB(kWhite);
  copy->DrawEllipse(39, 39);
  copy->FloodFill(1, 1, ConvertRGB(kWhite));
  copy->ReleaseLock();
  EXPECT_EQ(copy->GetPixel(1, 1), ConvertRGB(kWhite));
  DestroyObject(loaded);
}

TEST_F(StoredGraphicTest, EmbeddedPictureIsRefusedOutsideAFileStreamOrPastItsEnd) {
  LumoGraphicNode* node = MakeEmbeddedNode("embedded");
  LumoMemoryStream memory;
  ASSERT_TRUE(memory.OpenNew(64, 1, 0));
  memory.SetGrowth(4096);
  EXPECT_FALSE(node->SaveObject(&memory, 0));

  ASSERT_TRUE(SaveToFile(node, "embedded.lmg"));
  const Bytes whole = ReadFileBytes("embedded.lmg");
  ASSERT_GT(whole.size(), 4u);
  // The same bytes on a memory stream.
  LumoMemoryStream copy;
  ASSERT_TRUE(copy.OpenNew(static_cast<uint32_t>(whole.size()), 1, 0));
  ASSERT_TRUE(copy.WriteBlock(whole.data(), static_cast<uint32_t>(whole.size())));
  copy.SetPosition(0);
  EXPECT_EQ(LoadObject(&copy, nullptr), nullptr);
  EXPECT_NE(testing_support::ReadDebugLog().find("An embedded picture needs a file stream"), std::string::npos);

  // A picture that claims more bytes than the stream holds: refused before
  // anything is made. Its data size is the eighth word, stored big-endian.
  const std::string text(whole.begin(), whole.end());
  const size_t header = text.find(std::string("YLM\0", 4));
  ASSERT_NE(header, std::string::npos);
  Bytes claiming = whole;
  claiming[header + 7 * 4] = 0x7F;
  WriteFileBytes("claiming.lmg", claiming);
  EXPECT_EQ(LoadFromFile("claiming.lmg"), nullptr);
  EXPECT_NE(testing_support::ReadDebugLog().find("reaches past the stream's end"), std::string::npos);
}

TEST_F(StoredGraphicTest, ListLoadsStoredGraphicNodesOnlyWhenAllowedAndOnlyGraphicNodes) {
  LumoGraphicNode* stored = list->GetGeneratedGraphic(5, 5, kBlue, false);
  stored->SetName("stored");
  ASSERT_TRUE(stored->SaveObjectToFile(FolderDefault, "stored", 16, 0));
  LumoNode other;
  other.SetName("other");
  ASSERT_TRUE(other.SaveObjectToFile(FolderDefault, "other", 16, 0));

  std::unique_ptr<LumoGraphicList, tObjectDestroyer> fresh(new LumoGraphicList);
  fresh->SetAllowStored(true);
  LumoGraphicNode* provided = fresh->ProvideGraphic("stored");
  ASSERT_NE(provided, nullptr);
  EXPECT_EQ(provided->parent, fresh.get());
  EXPECT_EQ(provided->Width, 5);
  EXPECT_EQ(fresh->ProvideGraphic("other"), nullptr);
  EXPECT_EQ(fresh->Count, 1);
  EXPECT_NE(testing_support::ReadDebugLog().find("The stored object is not a graphic node"), std::string::npos);
}

}  // namespace
}  // namespace framework_testing
