// A unit's own fields in the object stream: the plan, the current step, the
// steering maps, the brain, and what an older stream leaves alone.

#include <gtest/gtest.h>

#include <string>

#include "base/LumoMemoryStream.h"
#include "LogicWorldFixture.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"

namespace {

using namespace logic_world_testing;

// The action of a shopping step.
constexpr int32_t kShopAction = 12;

class UnitStoreTest : public LogicWorldTest {
 protected:
  // A unit with every field of its own away from its default.
  YLUnit* MakeBusyUnit() {
    auto* unit = Add<YLUnit>(4, 0, 7, 9);
    auto* go = new PsychicPlanGoto(20, 21, 0.5f, true);
    go->AddChild(new PsychicPlanGoto(12, 13, 0.5f, true));
    unit->Plan.AddChild(go);
    unit->Plan.AddChild(new PsychicPlanShop(3, 0, 0.75f, false));
    unit->CurrentMove.reset(new PsychicPlanEnter(3, 0, 0.4f, false));
    unit->Alreadythere = 1;
    unit->Frustration = 0.375f;
    for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
      unit->AvoidMap[direction] = 0.125f * static_cast<float>(direction);
      unit->ObstacleMap[direction] = direction % 2 == 0 ? 1.0f : 0.0f;
    }
    unit->Busy = 6;
    unit->AddNeighbour(2);
    unit->AddNeighbour(3);
    unit->Pressure = 0.25f;
    unit->AddStimulus(2, 7, 0.5f);
    return unit;
  }

  static Bytes SaveAtVersion(LumoObject& object, uint32_t version) {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(16, 1, 0));
    EXPECT_EQ(stream.SetGrowth(256), 256u);
    EXPECT_TRUE(object.SaveObject(&stream, version));
    return Bytes(stream.buffer, stream.buffer + stream.position);
  }
};

TEST_F(UnitStoreTest, AUnitWithPlanStepMapsAndBrainRoundTrips) {
  YLUnit* unit = MakeBusyUnit();
  auto loaded = Load(Save(*unit));
  auto* copy = dynamic_cast<YLUnit*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy->GetClassName(), "YLUnit");
  ASSERT_NE(copy->GetUnitInfo(), nullptr);
  EXPECT_EQ(copy->GetTid(), 4);
  EXPECT_EQ(copy->GetX(), 7);

  const PsychicPlanItem* first = copy->Plan.child;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Action, OrderKind::kGoto);
  EXPECT_EQ(first->parent, &copy->Plan);
  ASSERT_NE(first->child, nullptr);
  EXPECT_EQ(first->child->Param1, 12);
  EXPECT_EQ(first->child->parent, first);
  ASSERT_NE(first->queue, nullptr);
  EXPECT_EQ(first->queue->Action, kShopAction);
  EXPECT_EQ(first->queue->parent, &copy->Plan);
  EXPECT_EQ(copy->GetPlanLeaf()->Param1, 12);

  ASSERT_NE(copy->GetCurrentMove(), nullptr);
  EXPECT_EQ(copy->GetCurrentMove()->Action, OrderKind::kEnter);
  EXPECT_EQ(copy->GetCurrentMove()->Motivation, 0.4f);
  EXPECT_EQ(copy->Alreadythere, 1);
  EXPECT_EQ(copy->Frustration, 0.375f);
  for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
    EXPECT_EQ(copy->AvoidMap[direction], unit->AvoidMap[direction]) << direction;
    EXPECT_EQ(copy->ObstacleMap[direction], unit->ObstacleMap[direction]) << direction;
  }
  EXPECT_EQ(copy->Busy, 6);
  ASSERT_EQ(copy->GetNeighbourCount(), 2);
  EXPECT_EQ(copy->GetNeighbour(1), 3);
  EXPECT_EQ(copy->Pressure, 0.25f);
  ASSERT_EQ(copy->GetStimulusCount(), 1);
  EXPECT_EQ(copy->GetStimulus(0)->kind, 7);
  // Saved again, the copy gives the same bytes.
  EXPECT_EQ(Save(*copy), Save(*unit));
}

TEST_F(UnitStoreTest, AnOlderStreamKeepsTheDefaults) {
  YLUnit* unit = MakeBusyUnit();
  auto loaded = Load(SaveAtVersion(*unit, 0x1060005));
  auto* copy = dynamic_cast<YLUnit*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Plan.child, nullptr);
  EXPECT_EQ(copy->GetCurrentMove(), nullptr);
  EXPECT_EQ(copy->Alreadythere, 0);
  EXPECT_EQ(copy->Frustration, 0.0f);
  EXPECT_EQ(copy->AvoidMap[3], 0.0f);
  EXPECT_EQ(copy->Busy, 0);
  EXPECT_EQ(copy->GetNeighbourCount(), 0);
}

TEST_F(UnitStoreTest, ACurrentStepThatIsNoPlanStepFailsTheLoad) {
  YLUnit* unit = Add<YLUnit>(4);
  Bytes bytes = Save(*unit);
  // The current step is stored last: its presence flag ends the record.
  ASSERT_EQ(bytes.back(), 0);
  bytes.back() = 1;
  UnitInfo stranger;
  const Bytes record = Save(stranger);
  bytes.insert(bytes.end(), record.begin(), record.end());
  const std::string log = Logged([&] { EXPECT_EQ(Load(bytes), nullptr); });
  EXPECT_NE(log.find("holds a UnitInfo where its current step belongs"), std::string::npos) << log;

  // The same bytes with a plan step load.
  Bytes good = Save(*unit);
  good.back() = 1;
  PsychicPlanShop shop(2, 0, 0.5f, false);
  const Bytes step = Save(shop);
  good.insert(good.end(), step.begin(), step.end());
  auto loaded = Load(good);
  auto* copy = dynamic_cast<YLUnit*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy->GetCurrentMove(), nullptr);
  EXPECT_EQ(copy->GetCurrentMove()->Action, kShopAction);
}

}  // namespace
