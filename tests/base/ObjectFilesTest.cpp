#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "base/LumoClass.h"
#include "base/LumoNode.h"
#include "base/LumoObjectFiles.h"
#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/Folders.h"
#include "tests/runtime/CompoundArchiveSupport.h"

namespace {

// How a node's saving goes wrong.
enum class SaveFault { None, Refuses, Throws };

// A node that writes its fields and then fails as told, so a save breaks
// off after some bytes of the record were produced.
class FailingNode : public LumoNode {
 public:
  const char* GetClassName() const override { return "FailingNode"; }
  bool DoSaveTo(LumoStream* stream) override {
    const bool saved = LumoNode::DoSaveTo(stream);
    if (fault == SaveFault::Throws) {
      throw std::runtime_error("save broken off");
    }
    return saved && fault == SaveFault::None;
  }
  SaveFault fault = SaveFault::None;
};

LumoClassOf<FailingNode> classOfFailingNode(kVersion_1_6_0_6, "FailingNode", "LumoNode");

class ObjectFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetFolderName(FolderGraphic, folder.c_str())); }
  void TearDown() override {
    CloseGlobalCompound();
    StopFolders();
  }

  // Saves a node of that name under file, with the fault given.
  static bool SaveNode(const char* nodeName, const char* file, SaveFault fault) {
    FailingNode node;
    node.SetName(nodeName);
    node.fault = fault;
    return node.SaveObjectToFile(FolderGraphic, file, -1, 0);
  }

  // The name of the node loaded from file; "<none>" when nothing loads.
  static std::string LoadedName(const char* file) {
    LumoObject* object = LoadObjectFromFile(FolderGraphic, file, -1, nullptr);
    auto* node = dynamic_cast<LumoNode*>(object);
    const std::string name = node != nullptr && node->Name != nullptr ? node->Name : "<none>";
    DestroyObject(object);
    return name;
  }

  void UseGlobalArchive(bool forChanging) {
    compound_test::StoreBytes("global.lmp", compound_test::BuildArchive({{"filler", "123"}}));
    CompoundHandle compound = OpenCompound((folder + "global.lmp").c_str(), forChanging);
    ASSERT_NE(compound, nullptr);
    SetCompound(compound);
  }

  std::string folder = platform::CurrentFolderName();
};

TEST_F(ObjectFilesTest, LooseFileRoundTripAndFailedSavesKeepThePreviousFile) {
  ASSERT_TRUE(SaveNode("first", "object.dat", SaveFault::None));
  EXPECT_EQ(LoadedName("object.dat"), "first");
  for (SaveFault fault : {SaveFault::Refuses, SaveFault::Throws}) {
    if (fault == SaveFault::Throws) {
      EXPECT_THROW(SaveNode("second", "object.dat", fault), std::runtime_error);
    } else {
      EXPECT_FALSE(SaveNode("second", "object.dat", fault));
    }
    EXPECT_EQ(LoadedName("object.dat"), "first");
  }
  // A file that cannot be written (its folder is missing) leaves nothing behind.
  EXPECT_FALSE(SaveNode("third", "missing\\object.dat", SaveFault::None));
  EXPECT_EQ(LoadedName("missing\\object.dat"), "<none>");
  EXPECT_EQ(LoadedName("absent.dat"), "<none>");
  EXPECT_EQ(LoadObjectFromFile(FolderGraphic, nullptr, -1, nullptr), nullptr);
  EXPECT_FALSE(std::filesystem::exists("object.dat.tmp"));
}

TEST_F(ObjectFilesTest, ArchiveEntryIsReplacedOnlyBySuccessfulSaves) {
  UseGlobalArchive(true);
  ASSERT_TRUE(SaveNode("packed", "object.dat", SaveFault::None));
  EXPECT_FALSE(std::filesystem::exists("object.dat"));  // it went into the archive
  EXPECT_EQ(LoadedName("object.dat"), "packed");
  EXPECT_FALSE(SaveNode("broken", "object.dat", SaveFault::Refuses));
  EXPECT_THROW(SaveNode("broken", "object.dat", SaveFault::Throws), std::runtime_error);
  EXPECT_EQ(LoadedName("object.dat"), "packed");
  ASSERT_TRUE(SaveNode("again", "OBJECT.DAT", SaveFault::None));
  EXPECT_EQ(LoadedName("object.dat"), "again");

  CloseGlobalCompound();
  CompoundHandle reopened = OpenCompound((folder + "global.lmp").c_str(), false);
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(GetCompoundCount(reopened), 2);
  SetCompound(reopened);
  EXPECT_EQ(LoadedName("object.dat"), "again");
}

TEST_F(ObjectFilesTest, LoadingPrefersTheArchiveAndFallsBackToTheLooseFile) {
  ASSERT_TRUE(SaveNode("loose", "both.dat", SaveFault::None));
  ASSERT_TRUE(SaveNode("loose only", "loose.dat", SaveFault::None));
  UseGlobalArchive(true);
  ASSERT_TRUE(SaveNode("packed", "both.dat", SaveFault::None));
  EXPECT_EQ(LoadedName("both.dat"), "packed");
  EXPECT_EQ(LoadedName("loose.dat"), "loose only");
  // An entry that is not an object record falls back to the loose file too.
  EXPECT_EQ(LoadedName("filler"), "<none>");
}

TEST_F(ObjectFilesTest, IgnoredEntryIsReadFromTheLooseFile) {
  UseGlobalArchive(true);
  ASSERT_TRUE(SaveNode("packed", "hidden.dat", SaveFault::None));
  CloseGlobalCompound();
  ASSERT_TRUE(SaveNode("loose", "hidden.dat", SaveFault::None));
  std::ofstream("game.ini", std::ios::binary) << "[Source]\r\nIgnore=1\r\nIgnore1=hidden.dat\r\n";
  ASSERT_TRUE(OpenGlobalCompound("game", (folder + "global.lmp").c_str()));
  EXPECT_EQ(LoadedName("hidden.dat"), "loose");
}

}  // namespace
