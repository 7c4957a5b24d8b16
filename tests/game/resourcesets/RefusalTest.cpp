#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ResourceSetFixture.h"
#include "runtime/Folders.h"

namespace resourceset_testing {
namespace {

using resource_testing::LoadRecord;

// Stored sets and resource files whose objects are of other classes than
// their places expect, and resource names that would name files outside the
// shared folder.
class RefusalTest : public ResourceSetTest {
 protected:
  void SetUp() override {
    ResourceSetTest::SetUp();
    set = Keep(new YGResourceSet);
    original = MakeThing("Ship", {{red}}, bang);
    copy = MakeThing("Ship", {{green}});
    AddNode(*set, "Ship", 0, original);
    AddNode(*set, "Ship1", 1, copy);
    MakeCurrentCompound({{"Ship.ygt", RecordOf(*original)}});
    ASSERT_TRUE(set->GetResource("Ship"));
  }

  // The set's record with the first stored record `part` replaced by another
  // whole record.
  std::string SetRecordWith(const std::string& part, const std::string& replacement) {
    std::string record = RecordOf(*set);
    const size_t at = record.find(part);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) {
      record.replace(at, part.size(), replacement);
    }
    return record;
  }

  YGResourceSet* set = nullptr;
  YGThingResource* original = nullptr;
  YGThingResource* copy = nullptr;
};

TEST_F(RefusalTest, ListOfAnotherClassFailsTheSetsLoad) {
  YGSoundResource sounds;
  YGGraphicResource graphics;
  YGSoundResource things;  // any list but a YGResourceList
  struct Case {
    const char* place;
    std::string part;
    std::string replacement;
    const char* line;
  } cases[] = {
      {"Graphics", RecordOf(*set->Graphics), RecordOf(sounds),
       "(RES) YGResourceSet Graphics is a YGSoundResource, refused\n"},
      {"Sounds", RecordOf(*set->Sounds), RecordOf(graphics),
       "(RES) YGResourceSet Sounds is a YGGraphicResource, refused\n"},
      {"Things", RecordOf(*set->Things), RecordOf(things), "(RES) YGResourceSet Things is a YGSoundResource, refused\n"},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.place);
    EXPECT_EQ(Keep(LoadRecord(SetRecordWith(testCase.part, testCase.replacement))), nullptr);
    EXPECT_TRUE(LogHas(testCase.line));
  }
}

TEST_F(RefusalTest, EntryOfAnotherClassFailsTheSetsLoad) {
  YGResourceSound sound;
  sound.SetName("Red");
  YGResourceGraphic graphic;
  graphic.SetName("Bang");
  YGResourceGraphic node;
  node.SetName("Ship");
  struct Case {
    const char* place;
    std::string part;
    std::string replacement;
    const char* line;
  } cases[] = {
      {"graphic entry", RecordOf(*set->Graphics->FindByName("Red")), RecordOf(sound),
       "(RES) YGGraphicResource::DoRegisterObject() Entry "},
      {"sound entry", RecordOf(*set->Sounds->FindByName("Bang")), RecordOf(graphic),
       "(RES) YGSoundResource::DoRegisterObject() Entry "},
      {"thing node", RecordOf(*set->FindNode("Ship")), RecordOf(node), "(RES) YGResourceList::DoRegisterObject() Entry "},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.place);
    EXPECT_EQ(Keep(LoadRecord(SetRecordWith(testCase.part, testCase.replacement))), nullptr);
    EXPECT_TRUE(LogHas(testCase.line));
  }
}

TEST_F(RefusalTest, ResourceOfAnotherClassLeavesTheNodeEmpty) {
  YGSoundResource stranger;
  // The duplicate's inline record, then the original's file.
  YGResourceSet* loaded = dynamic_cast<YGResourceSet*>(
      Keep(LoadRecord(SetRecordWith(RecordOf(*copy), RecordOf(stranger)))));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->FindNode("Ship1")->Resource(), nullptr);
  EXPECT_NE(loaded->FindNode("Ship")->Resource(), nullptr);
  EXPECT_TRUE(LogHas("(RES) Duplicate Ship1 holds a YGSoundResource, not a YGThingResource\n"));
  EXPECT_TRUE(LogHas("(RES) Couldn't read duplicate Ship1 from resource\n"));

  WriteShared("Odd.ygt", RecordOf(stranger));
  EXPECT_EQ(YGResourceSet::LoadResourceFile("Odd"), nullptr);
  EXPECT_TRUE(LogHas("(RES) Resource file Odd.ygt holds a YGSoundResource, not a YGThingResource\n"));
}

TEST_F(RefusalTest, NamesThatLeaveTheSharedFolderAreRefused) {
  // A valid resource file one folder down: reachable only through a
  // separator, which a resource name may not hold.
  ASSERT_TRUE(CreateFolder(SharedFile("inner").c_str()));
  WriteShared("inner\\Ship.ygt", RecordOf(*original));
  for (const char* name : {"inner\\Ship", "inner/Ship", "C:Ship", "..\\Ship", "Sh..ip"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(YGResourceSet::LoadResourceFile(name), nullptr);
    EXPECT_TRUE(LogHas(std::string("(RES) Resource name ") + name + " is refused: it leaves the shared folder\n"));
  }
  AddNode(*set, "..\\Escape", 0, MakeThing("Escape", {{red}}));
  EXPECT_FALSE(set->SaveResource(set->FindNode("..\\Escape")->Resource()));
  EXPECT_TRUE(LogHas("(RES) Resource name ..\\Escape is refused: it leaves the shared folder\n"));
}

TEST_F(RefusalTest, NamesTooLongForAPathAreRefused) {
  const std::string longName(300, 'x');
  EXPECT_EQ(YGResourceSet::LoadResourceFile(longName.c_str()), nullptr);
  EXPECT_EQ(set->GetOrLoadResource(longName.c_str()), nullptr);
  AddNode(*set, longName.c_str(), 0, MakeThing("Long", {{red}}));
  EXPECT_FALSE(set->SaveResource(set->FindNode(longName.c_str())->Resource()));
  EXPECT_EQ(LogCount("(RES) Resource name " + longName + " is refused: its path is longer than 260 characters\n"), 3u);
  // A name that fits alone but not with the folder and the extension.
  const std::string nearName(kMaxPathSize - SharedFile("").size() - 2, 'y');
  EXPECT_EQ(YGResourceSet::LoadResourceFile(nearName.c_str()), nullptr);
  EXPECT_TRUE(LogHas("(RES) Resource name " + nearName + " is refused"));
}

}  // namespace
}  // namespace resourceset_testing
