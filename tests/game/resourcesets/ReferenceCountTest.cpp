#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ResourceSetFixture.h"

namespace resourceset_testing {
namespace {

// A set with an original "Walker" (frames Red, Green | Red; sound Bang), its
// duplicate "Walker1" (Blue; Thud) and a duplicate "Zed1" without original
// (Green).
class ReferenceCountTest : public ResourceSetTest {
 protected:
  void SetUp() override {
    ResourceSetTest::SetUp();
    set = Keep(new YGResourceSet);
    walker = MakeThing("Walker", {{red, green}, {red}}, bang);
    walkerCopy = MakeThing("Walker", {{blue}}, thud);
    zed = MakeThing("Zed", {{green}});
    AddNode(*set, "Walker", 0, walker);
    AddNode(*set, "Walker1", 1, walkerCopy);
    AddNode(*set, "Zed1", 1, zed);
  }

  YGThingResource* ByName(const std::string& name) {
    YGResourceNode* node = set->FindNode(name.c_str());
    return node != nullptr ? node->Resource() : nullptr;
  }

  // "+name" gets the resource by name, "*name" by object, "-name" releases it.
  void Run(const std::string& operation) {
    const std::string name = operation.substr(1);
    if (operation[0] == '+') {
      EXPECT_EQ(set->GetResource(name.c_str()), ByName(name));
    } else if (operation[0] == '*') {
      EXPECT_EQ(set->GetResource(ByName(name)), ByName(name));
    } else {
      set->ReleaseResource(ByName(name));
    }
  }

  int64_t NodeCount(const char* name) { return set->FindNode(name)->ID; }

  YGResourceSet* set = nullptr;
  YGThingResource* walker = nullptr;
  YGThingResource* walkerCopy = nullptr;
  YGThingResource* zed = nullptr;
};

struct CountCase {
  const char* behaviour;
  std::vector<std::string> operations;
  // Walker, Walker1, Zed1; then the entries Red, Green, Blue, Bang, Thud
  // (-1: no entry).
  int64_t walker, walkerCopy, zed, red, green, blue, bang, thud;
};

const CountCase kCountCases[] = {
    {"the first user references every frame's graphic and the sound once", {"+Walker"}, 1, 0, 0, 2, 1, -1, 1, -1},
    {"a second user only raises the node's count", {"+Walker", "+Walker"}, 2, 0, 0, 2, 1, -1, 1, -1},
    {"the form taking the object counts the same", {"*Walker", "+Walker"}, 2, 0, 0, 2, 1, -1, 1, -1},
    {"a release that leaves a user keeps the graphics", {"+Walker", "+Walker", "-Walker"}, 1, 0, 0, 2, 1, -1, 1, -1},
    {"the last release lowers every graphic and sound", {"+Walker", "-Walker"}, 0, 0, 0, 0, 0, -1, 0, -1},
    {"a duplicate's last release also releases its original",
     {"+Walker", "+Walker1", "-Walker1"}, 0, 0, 0, 0, 0, 0, 0, 0},
    {"a duplicate's release that leaves a user keeps its original",
     {"+Walker", "+Walker1", "+Walker1", "-Walker1"}, 1, 1, 0, 2, 1, 1, 1, 1},
    {"a duplicate without original releases only itself", {"+Walker", "+Zed1", "-Zed1"}, 1, 0, 0, 2, 1, -1, 1, -1},
    {"a node without users stays at 0", {"-Walker", "-Walker1"}, 0, 0, 0, -1, -1, -1, -1, -1},
    {"a release past the last user changes nothing", {"+Walker", "-Walker", "-Walker"}, 0, 0, 0, 0, 0, -1, 0, -1},
    {"an unknown name references nothing", {"+Nobody"}, 0, 0, 0, -1, -1, -1, -1, -1},
};

TEST_F(ReferenceCountTest, CountsFollowUsersOfEachResource) {
  for (const CountCase& testCase : kCountCases) {
    SCOPED_TRACE(testCase.behaviour);
    TearDown();
    SetUp();
    for (const std::string& operation : testCase.operations) {
      Run(operation);
    }
    EXPECT_EQ(NodeCount("Walker"), testCase.walker);
    EXPECT_EQ(NodeCount("Walker1"), testCase.walkerCopy);
    EXPECT_EQ(NodeCount("Zed1"), testCase.zed);
    EXPECT_EQ(GraphicCount(*set, "Red"), testCase.red);
    EXPECT_EQ(GraphicCount(*set, "Green"), testCase.green);
    EXPECT_EQ(GraphicCount(*set, "Blue"), testCase.blue);
    EXPECT_EQ(SoundCount(*set, "Bang"), testCase.bang);
    EXPECT_EQ(SoundCount(*set, "Thud"), testCase.thud);
  }
}

TEST_F(ReferenceCountTest, SoundEntryStopsAtZeroAndStillLogsItsRelease) {
  ASSERT_TRUE(set->Sounds->AddSound(bang));
  EXPECT_TRUE(set->Sounds->RemoveSound(bang));
  EXPECT_TRUE(set->Sounds->RemoveSound(bang));
  EXPECT_EQ(SoundCount(*set, "Bang"), 0);
  EXPECT_EQ(LogCount("Sound Bang dereferenced\n"), 2u);
  EXPECT_FALSE(set->Sounds->RemoveSound(thud));  // no entry: nothing logged
  EXPECT_FALSE(LogHas("Sound Thud dereferenced"));
  ASSERT_TRUE(set->Graphics->AddGraphic(red));
  set->Graphics->RemoveGraphic(red);
  set->Graphics->RemoveGraphic(red);
  EXPECT_EQ(GraphicCount(*set, "Red"), 0);
}

TEST_F(ReferenceCountTest, AddedGraphicsAndSoundsSumTheirMeasures) {
  ASSERT_TRUE(set->GetResource("Walker"));
  ASSERT_TRUE(set->GetResource("Walker1"));
  // Red 4 x 3 and Green 2 x 5 from Walker, Blue 6 x 1 from its duplicate:
  // pixels, each graphic once.
  EXPECT_EQ(set->Graphics->Pixels, 12 + 10 + 6);
}

TEST_F(ReferenceCountTest, RestoredReferencesEqualTheCountsBeforeTheListsWereRebuilt) {
  for (const char* operation : {"+Walker", "+Walker", "+Walker1", "+Zed1", "-Zed1"}) {
    Run(operation);
  }
  const std::vector<const char*> graphics = {"Red", "Green", "Blue"};
  const std::vector<const char*> sounds = {"Bang", "Thud"};
  std::vector<int64_t> before;
  for (const char* name : graphics) {
    before.push_back(GraphicCount(*set, name));
  }
  for (const char* name : sounds) {
    before.push_back(SoundCount(*set, name));
  }
  DestroyObject(set->Graphics);
  DestroyObject(set->Sounds);
  set->Graphics = new YGGraphicResource;
  set->Sounds = new YGSoundResource;
  set->Things->VisitItems([](LumoNode* item) {
    dynamic_cast<YGResourceNode*>(item)->RestoreReferences();
    return false;
  });
  std::vector<int64_t> after;
  for (const char* name : graphics) {
    after.push_back(GraphicCount(*set, name));
  }
  for (const char* name : sounds) {
    after.push_back(SoundCount(*set, name));
  }
  // Zed1 has no users, so its Green is not counted again; the 0 entries of
  // the released resources are not made again either.
  EXPECT_EQ(after, (std::vector<int64_t>{2, 1, 1, 1, 1}));
  EXPECT_EQ(before, (std::vector<int64_t>{2, 1, 1, 1, 1}));
  EXPECT_EQ(NodeCount("Walker"), 2);
  EXPECT_EQ(NodeCount("Walker1"), 1);
}

}  // namespace
}  // namespace resourceset_testing
