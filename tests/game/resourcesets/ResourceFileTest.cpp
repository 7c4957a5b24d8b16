#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ResourceSetFixture.h"

namespace resourceset_testing {
namespace {

using resource_testing::LoadRecord;

// Two originals in ".ygt" entries of the current compound ("Alpha", "Beta"),
// one as a loose file of the shared folder ("Gamma"), and a duplicate of
// Alpha stored inline ("Alpha1").
class ResourceFileTest : public ResourceSetTest {
 protected:
  void SetUp() override {
    ResourceSetTest::SetUp();
    set = Keep(new YGResourceSet);
    alpha = MakeThing("Alpha", {{red, green}}, bang, 3);
    beta = MakeThing("Beta", {{blue}, {red}});
    gamma = MakeThing("Gamma", {{green}}, thud);
    alphaCopy = MakeThing("Alpha", {{blue, blue}}, bang, 3);
    AddNode(*set, "Alpha", 0, alpha);
    AddNode(*set, "Beta", 0, beta);
    AddNode(*set, "Gamma", 0, gamma);
    AddNode(*set, "Alpha1", 1, alphaCopy);
  }

  void StoreOriginals() {
    MakeCurrentCompound({{"Alpha.ygt", RecordOf(*alpha)}, {"Beta.ygt", RecordOf(*beta)}});
    WriteShared("Gamma.ygt", RecordOf(*gamma));
  }

  // The set read back from its record.
  YGResourceSet* LoadedSet(const std::string& record) {
    auto* loaded = dynamic_cast<YGResourceSet*>(Keep(LoadRecord(record)));
    EXPECT_NE(loaded, nullptr);
    return loaded;
  }

  static std::string RecordOfNode(YGResourceSet& from, const char* name) {
    YGResourceNode* node = from.FindNode(name);
    if (node == nullptr || node->Resource() == nullptr) {
      return "";
    }
    return RecordOf(*node->Resource());
  }

  YGResourceSet* set = nullptr;
  YGThingResource* alpha = nullptr;
  YGThingResource* beta = nullptr;
  YGThingResource* gamma = nullptr;
  YGThingResource* alphaCopy = nullptr;
};

TEST_F(ResourceFileTest, SetSavesAndLoadsBackFromArchiveLooseFileAndInline) {
  StoreOriginals();
  ASSERT_TRUE(set->GetResource("Alpha"));
  ASSERT_TRUE(set->GetResource("Gamma"));
  YGResourceSet* loaded = LoadedSet(RecordOf(*set));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Things->Owner, loaded);
  ASSERT_EQ(loaded->Things->Count, 4);
  for (const auto& [name, duplicate] : std::initializer_list<std::pair<const char*, int32_t>>{
           {"Alpha", 0}, {"Alpha1", 1}, {"Beta", 0}, {"Gamma", 0}}) {
    SCOPED_TRACE(name);
    YGResourceNode* node = loaded->FindNode(name);
    ASSERT_NE(node, nullptr);
    EXPECT_STREQ(node->Name, name);
    EXPECT_EQ(node->Duplicate, duplicate);
    EXPECT_EQ(RecordOfNode(*loaded, name), RecordOfNode(*set, name));
    EXPECT_FALSE(RecordOfNode(*loaded, name).empty());
  }
  EXPECT_TRUE(LogHas("Loading resource Alpha\n"));
  EXPECT_TRUE(LogHas("Loading resource Gamma\n"));
  EXPECT_FALSE(LogHas("Loading resource Alpha1\n"));
  // The stored graphics and sounds are found in the level by name, and the
  // stored sums are replaced by the sums of what was found.
  EXPECT_EQ(reinterpret_cast<LumoGraphicNode*>(loaded->Graphics->FindByName("Red")->Data), red);
  EXPECT_EQ(GraphicCount(*loaded, "Green"), 2);
  EXPECT_EQ(loaded->Graphics->Pixels, 12 + 10);
  EXPECT_EQ(reinterpret_cast<LumoSoundNode*>(loaded->Sounds->FindByName("Thud")->Data), thud);
}

TEST_F(ResourceFileTest, ArchiveEntryWinsOverLooseFileOfTheSameName) {
  StoreOriginals();
  YGThingResource* other = Keep(MakeThing("Alpha", {{blue}}));
  other->Type = 2;
  WriteShared("Alpha.ygt", RecordOf(*other));
  std::unique_ptr<YGThingResource, tObjectDestroyer> read(YGResourceSet::LoadResourceFile("Alpha"));
  ASSERT_TRUE(read);
  EXPECT_EQ(RecordOf(*read), RecordOf(*alpha));
}

TEST_F(ResourceFileTest, MissingFileLeavesNullDataAndSaysWhereItLooked) {
  StoreOriginals();
  AddNode(*set, "Missing", 0, nullptr);
  YGResourceSet* loaded = LoadedSet(RecordOf(*set));
  ASSERT_NE(loaded, nullptr);
  ASSERT_NE(loaded->FindNode("Missing"), nullptr);
  EXPECT_EQ(loaded->FindNode("Missing")->Resource(), nullptr);
  EXPECT_NE(loaded->FindNode("Beta")->Resource(), nullptr);
  EXPECT_TRUE(LogHas("(RES)Couldn't find Resource file Missing.ygt in compound "));
  EXPECT_TRUE(LogHas(" or file " + SharedFile("Missing.ygt") + "\n"));
}

TEST_F(ResourceFileTest, SavedResourceFilesLoadBackEqual) {
  ASSERT_TRUE(set->SaveResource(alpha));
  ASSERT_TRUE(set->SaveResource(gamma));
  set->FindNode("Alpha1")->Duplicate = 3;
  ASSERT_TRUE(set->SaveResource(alphaCopy));
  for (const auto& [name, resource] : std::initializer_list<std::pair<const char*, YGThingResource*>>{
           {"Alpha", alpha}, {"Gamma", gamma}, {"Alpha13", alphaCopy}}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(CheckFile(SharedFile(std::string(name) + ".ygt").c_str()));
    std::unique_ptr<YGThingResource, tObjectDestroyer> read(YGResourceSet::LoadResourceFile(name));
    ASSERT_TRUE(read);
    EXPECT_EQ(RecordOf(*read), RecordOf(*resource));
  }
  EXPECT_FALSE(CheckFile(SharedFile("Alpha1.ygt").c_str()));
}

TEST_F(ResourceFileTest, EachGraphicIsWrittenOnceAndFoundTheSecondTime) {
  ASSERT_TRUE(set->SaveResource(alpha));
  for (const char* file : {"Red.lmg", "Red.bmp", "Green.lmg", "Green.bmp"}) {
    EXPECT_TRUE(CheckFile(SharedFile(file).c_str())) << file;
  }
  EXPECT_FALSE(LogHas("already exists"));
  // Beta shows Red again: its files are left as they are.
  ASSERT_TRUE(set->SaveResource(beta));
  EXPECT_EQ(LogCount("(RES) GraphicNode " + SharedFile("Red.lmg") + " already exists\n"), 1u);
  EXPECT_EQ(LogCount("(RES) Graphic " + SharedFile("Red.bmp") + " already exists\n"), 1u);
  EXPECT_EQ(LogCount(SharedFile("Blue.lmg") + " already exists"), 0u);
  EXPECT_TRUE(CheckFile(SharedFile("Blue.bmp").c_str()));
}

TEST_F(ResourceFileTest, NullAndForeignResourcesAreNotSaved) {
  EXPECT_FALSE(set->SaveResource(nullptr));
  EXPECT_TRUE(LogHas("(RES) SaveResource(NULL) will do you no good\n"));
  YGThingResource* stranger = Keep(MakeThing("Stranger", {{red}}));
  EXPECT_FALSE(set->SaveResource(stranger));
  EXPECT_TRUE(LogHas("(RES) Resource Stranger was not added to this set\n"));
  EXPECT_FALSE(CheckFile(SharedFile("Stranger.ygt").c_str()));
}

TEST_F(ResourceFileTest, FrameWithoutGraphicIsNamedAndSkipped) {
  YGThingResource* hollow = MakeThing("Hollow", {{red}, {nullptr}});
  AddNode(*set, "Hollow", 0, hollow);
  ASSERT_TRUE(set->SaveResource(hollow));
  EXPECT_TRUE(LogHas("(RES) Sequencenode of sequence 1 color 0 move 0 had no graphic.\n"));
}

}  // namespace
}  // namespace resourceset_testing
