#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ResourceSetFixture.h"

namespace resourceset_testing {
namespace {

class DuplicateTest : public ResourceSetTest {
 protected:
  void SetUp() override {
    ResourceSetTest::SetUp();
    set = Keep(new YGResourceSet);
    original = MakeThing("Tank", {{red, green}, {blue}}, bang, 4);
    original->Type = 3;
    original->ColorMode = 2;
    original->Parts = true;
    original->GetMove(0)->Movement = true;
    AddNode(*set, "Tank", 0, original);
  }

  YGResourceSet* set = nullptr;
  YGThingResource* original = nullptr;
};

TEST_F(DuplicateTest, DuplicateIsNamedAfterTheNextNumberAndReferencedOnce) {
  YGThingResource* first = set->DuplicateResource(original);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(LogHas("Duplicated Tank(-1) to Tank0(1)\n"));
  YGThingResource* second = set->DuplicateResource(first);  // a duplicate's original is copied
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(LogHas("Duplicated Tank(-2) to Tank1(2)\n"));
  EXPECT_EQ(set->FindNode("Tank")->Duplicate, -2);
  EXPECT_EQ(set->FindNode("Tank0")->Duplicate, 1);
  EXPECT_EQ(set->FindNode("Tank1")->Duplicate, 2);
  EXPECT_EQ(set->FindNode("Tank1")->Resource(), second);
  EXPECT_EQ(set->FindNode("Tank1")->ID, 1u);
  EXPECT_EQ(set->FindOriginalOf(second), set->FindNode("Tank"));
  // The copy has the original's name, type, moves and frames; its colour
  // mode and parts are those of its type until UpdateCrops copies them.
  EXPECT_STREQ(second->Name, "Tank");
  EXPECT_EQ(second->Type, 3);
  EXPECT_EQ(RecordOf(*second->GetMove(0)), RecordOf(*original->GetMove(0)));
  EXPECT_EQ(second->MinX, original->MinX);
  EXPECT_EQ(second->MaxY, original->MaxY);
  // Each duplicate is referenced once and shows Red once.
  EXPECT_EQ(GraphicCount(*set, "Red"), 2);
  EXPECT_EQ(set->FindNode("Tank")->ID, 0u);
  EXPECT_EQ(set->DuplicateResource(Keep(MakeThing("Stranger", {}))), nullptr);
}

TEST_F(DuplicateTest, UpdateCropsCopiesTheOriginalsSettingsAndKeepsOwnSequences) {
  YGThingResource* copy = MakeThing("Other", {{blue}}, thud, 9);
  AddNode(*set, "Tank2", 1, copy);
  const std::string ownSequences = RecordOf(*copy->GetMove(0)->GetStoredSequence(0, 0));
  EXPECT_TRUE(set->UpdateCrops());
  EXPECT_TRUE(LogHas("Repeats of Tank2 move 0 from 9 to 4\n"));
  EXPECT_EQ(copy->Type, 3);
  EXPECT_EQ(copy->ColorMode, 2);
  EXPECT_TRUE(copy->Parts);
  YGResourceMove* move = copy->GetMove(0);
  EXPECT_EQ(move->Repeats, 4);
  EXPECT_TRUE(move->Movement);
  EXPECT_EQ(move->MoveID, 0);
  EXPECT_EQ(move->Sound, bang);
  EXPECT_EQ(move->Sequences, 1);
  EXPECT_EQ(RecordOf(*move->GetStoredSequence(0, 0)), ownSequences);
  EXPECT_STREQ(copy->Name, "Other");
}

TEST_F(DuplicateTest, UpdateCropsReportsOrphansAndUnloadedPairs) {
  AddNode(*set, "Lorry1", 1, MakeThing("Lorry", {}));
  AddNode(*set, "Tank5", 1, nullptr);
  EXPECT_FALSE(set->UpdateCrops());
  EXPECT_TRUE(LogHas("(RES)YGResourceSet::UpdateCrops() Resource Lorry1 had no original\n"));
  EXPECT_TRUE(LogHas("(RES)YGResourceSet::UpdateCrops() Resource Tank5 or its original was not loaded\n"));
}

TEST_F(DuplicateTest, PurgeDeletesOnlyNodesWithoutUsers) {
  AddNode(*set, "Idle", 0, MakeThing("Idle", {{green}}));
  ASSERT_TRUE(set->GetResource("Tank"));
  set->PurgeUnreferenced();
  EXPECT_EQ(set->Things->Count, 1);
  EXPECT_NE(set->FindNode("Tank"), nullptr);
  EXPECT_EQ(set->FindNode("Idle"), nullptr);
}

TEST_F(DuplicateTest, GetOrLoadReadsTheFileIntoANodeWithoutUsers) {
  YGThingResource* stored = Keep(MakeThing("Jeep", {{green}}, thud));
  MakeCurrentCompound({{"Jeep.ygt", RecordOf(*stored)}});
  YGThingResource* loaded = set->GetOrLoadResource("Jeep");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(RecordOf(*loaded), RecordOf(*stored));
  ASSERT_NE(set->FindNode("Jeep"), nullptr);
  EXPECT_EQ(set->FindNode("Jeep")->ID, 0u);
  EXPECT_EQ(GraphicCount(*set, "Green"), -1);
  // Known now: the next call references it.
  EXPECT_EQ(set->GetOrLoadResource("Jeep"), loaded);
  EXPECT_EQ(set->FindNode("Jeep")->ID, 1u);
  EXPECT_EQ(set->GetOrLoadResource("Nowhere"), nullptr);
  EXPECT_EQ(set->FindNode("Nowhere"), nullptr);
}

}  // namespace
}  // namespace resourceset_testing
