// The biker at the wheel and on its way to a vehicle: the Hijack step's
// route, the vehicle routes of a unit at the wheel, the vehicle stopped at
// a reached step, and the choices that do nothing while it drives.

#include <gtest/gtest.h>

#include <vector>

#include "../../navigation/PathMapDrawing.h"
#include "VehicleFixture.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnitBiker.h"

namespace vehicle_testing {
namespace {

constexpr int32_t kBikerOwner = 1;
constexpr int32_t kReached = 32;
// Border flags of the drawn maps: passable on foot, by vehicle.
constexpr uint8_t kFootOnly = 1;
constexpr uint8_t kVehiclesOnly = 2;

std::vector<int32_t> ChildActions(const PsychicPlanItem& step) {
  std::vector<int32_t> actions;
  for (const PsychicPlanItem* child = step.child; child != nullptr; child = child->queue) {
    actions.push_back(child->Action);
  }
  return actions;
}

class BikerTest : public VehicleTest {
 protected:
  void SetUp() override {
    VehicleTest::SetUp();
    StopTraffic();
    biker = MakeAs<YLUnitBiker>("UnitBiker", 5, 20, 2, kBikerOwner);
    ASSERT_NE(biker, nullptr);
  }
  // The biker takes the wheel of a Manta of its side at (x, y), heading east.
  YLTCar* Drive(int32_t x, int32_t y) {
    auto* car = MakeAs<YLTCar>("Vehicle022-Manta", x, y, 2, kBikerOwner);
    EXPECT_NE(car, nullptr);
    EXPECT_TRUE(EnterThing(biker->GetUnitInfo(), car->GetContainerInfo()));
    EXPECT_TRUE(biker->DrivesNow());
    return car;
  }
  // Two sectors side by side (x 0-9 and 10-19, ten rows) whose border
  // carries the flags.
  void TwoSectors(uint8_t flags) {
    path_testing::DrawnMap drawn = path_testing::DrawMap({"AB"}, 10);
    drawn.BorderBetween(0, 1)->Passable = flags;
    Logic().Map->SetStratMap(drawn.knowledge.release());
  }

  YLUnitBiker* biker = nullptr;
};

TEST_F(BikerTest, AUnitAtTheWheelRoutesOverTheBordersVehiclesCross) {
  struct Case {
    uint8_t flags;
    bool driving;
    bool routed;
  };
  const Case cases[] = {
      {kFootOnly, false, true},
      {kFootOnly, true, false},
      {kVehiclesOnly, false, false},
      {kVehiclesOnly, true, true},
  };
  YLTCar* car = Drive(5, 5);
  for (const Case& entry : cases) {
    TwoSectors(entry.flags);
    biker->SetVehicle(entry.driving ? car : nullptr);
    PsychicPlanGoto step(15, 5, 1.0f, true);
    EXPECT_EQ(biker->PlanPath(5, 5, 15, 5, &step, 0), entry.routed)
        << int(entry.flags) << " driving " << entry.driving;
    if (entry.routed) {
      // The crossing point of the border, then the goal.
      ASSERT_EQ(ChildActions(step), (std::vector<int32_t>{OrderKind::kGoto, OrderKind::kGoto}));
      EXPECT_EQ(step.child->Param1, 10);
      EXPECT_EQ(step.child->queue->Param1, 15);
      EXPECT_FLOAT_EQ(step.child->Motivation, 1.0f);
      EXPECT_TRUE(step.child->Fast);
    }
    step.ClearChildren();
  }
}

TEST_F(BikerTest, AHijackRoutesToTheVehicleAndTheBikerGetsInAndTakesTheWheel) {
  auto* target = MakeAs<YLTCar>("Vehicle022-Manta", 20, 20, 2, 0);
  ASSERT_NE(target, nullptr);
  biker->GetUnitInfo()->Anger = 0.0f;
  biker->ExecutePlan(new PsychicPlanHijack(target->GetTid(), 0, 1.0f, false));
  ASSERT_NE(biker->Plan.child, nullptr);
  const PsychicPlanItem& hijack = *biker->Plan.child;
  ASSERT_EQ(hijack.Action, OrderKind::kHijack);
  const std::vector<int32_t> actions = ChildActions(hijack);
  ASSERT_GE(actions.size(), 2u);
  EXPECT_EQ(actions.front(), OrderKind::kGoto);  // the route to the entrance
  EXPECT_EQ(actions.back(), OrderKind::kGotoThing);
  const PsychicPlanItem* last = hijack.child;
  while (last->queue != nullptr) {
    last = last->queue;
  }
  EXPECT_EQ(last->Param1, target->GetTid());
  EXPECT_FLOAT_EQ(last->Motivation, 1.0f);
  for (int32_t frame = 0; frame < 600 && biker->GetContainer() != target; ++frame) {
    Run(1);
  }
  EXPECT_EQ(biker->GetContainer(), target);
  EXPECT_TRUE(biker->DrivesNow());
  EXPECT_EQ(target->GetOwner(), kBikerOwner);
  bool hijackMove = false;
  for (const HeardMove& move : listener.moves) {
    hijackMove = hijackMove || (move.id == biker->GetTid() && move.code == 28);
  }
  EXPECT_TRUE(hijackMove);
}

TEST_F(BikerTest, AHijackWithoutAVehicleRouteLeavesTheOwnVehicleFirst) {
  struct Case {
    uint8_t flags;
    bool driving;
    bool planned;
    std::vector<int32_t> actions;
  };
  const Case cases[] = {
      // At the wheel and no way there by vehicle: out first, then on foot.
      {kFootOnly, true, true, {OrderKind::kLeave, OrderKind::kGotoThing}},
      {kVehiclesOnly, true, true, {OrderKind::kGoto, OrderKind::kGoto, OrderKind::kGotoThing}},
      {kFootOnly, false, true, {OrderKind::kGoto, OrderKind::kGoto, OrderKind::kGotoThing}},
      // On foot with no way there: the order cannot be carried out.
      {kVehiclesOnly, false, false, {}},
  };
  YLTCar* own = Drive(5, 5);
  // Riders sit where their vehicle stands.
  biker->Info->X = 5;
  biker->Info->Y = 5;
  auto* target = MakeAs<YLTCar>("Vehicle022-Manta", 15, 5, 2, 0);
  ASSERT_NE(target, nullptr);
  for (const Case& entry : cases) {
    TwoSectors(entry.flags);
    biker->SetVehicle(entry.driving ? own : nullptr);
    biker->ExecutePlan(new PsychicPlanHijack(target->GetTid(), 0, 0.9f, true));
    const PsychicPlanItem* hijack = biker->Plan.child;
    ASSERT_EQ(hijack != nullptr, entry.planned) << int(entry.flags) << " driving " << entry.driving;
    if (hijack == nullptr) {
      continue;
    }
    EXPECT_EQ(ChildActions(*hijack), entry.actions) << int(entry.flags) << " driving " << entry.driving;
    if (entry.actions.front() == OrderKind::kLeave) {
      EXPECT_EQ(hijack->child->Param1, own->GetTid());
      EXPECT_FLOAT_EQ(hijack->child->Motivation, 0.9f);
      EXPECT_TRUE(hijack->child->Fast);
    }
  }
}

TEST_F(BikerTest, AGotoPlannedAtTheWheelDrivesAndReachingItStopsTheVehicle) {
  YLTCar* car = Drive(20, 20);
  EXPECT_EQ(car->Info->MoveNumber, 0);
  biker->ExecutePlan(new PsychicPlanGoto(40, 20, 1.0f, false));
  EXPECT_EQ(car->Info->MoveNumber, 15);
  const struct {
    int32_t action;
    bool stops;
  } cases[] = {{OrderKind::kGoto, true}, {OrderKind::kGotoThing, true}, {OrderKind::kHold, false}};
  for (const auto& entry : cases) {
    car->StartVehicleMove(15);
    PsychicPlanItem* step = nullptr;
    if (entry.action == OrderKind::kGoto) {
      step = new PsychicPlanGoto(40, 20, 1.0f, false);
    } else if (entry.action == OrderKind::kGotoThing) {
      step = new PsychicPlanGotoThing(1, 0, 1.0f, false);
    } else {
      step = new PsychicPlanHold(0, 0, 1.0f, false);
    }
    step->Expandable = false;
    biker->Plan.ClearChildren();
    biker->Plan.AddChild(step);
    biker->PlanReached(step);
    EXPECT_EQ(car->Info->MoveNumber == 0, entry.stops) << entry.action;
    EXPECT_EQ(biker->Plan.child, nullptr) << entry.action;
  }
  // On foot nothing is stopped.
  biker->SetVehicle(nullptr);
  car->StartVehicleMove(15);
  auto* step = new PsychicPlanGoto(40, 20, 1.0f, false);
  step->Expandable = false;
  biker->Plan.AddChild(step);
  biker->PlanReached(step);
  EXPECT_EQ(car->Info->MoveNumber, 15);
}

TEST_F(BikerTest, AtTheWheelTheBikerRunsItsTargetOverAndDoesNothingElse) {
  auto* enemy = MakeAs<YLUnit>("UnitSupporter", 35, 20, 0, 2);
  ASSERT_NE(enemy, nullptr);
  // On foot it chants alone; at the wheel it does not.
  EXPECT_NE(biker->DoChant(1.0f), kReached);
  Drive(20, 20);
  EXPECT_EQ(biker->DoAttack(1.0f, enemy->GetTid(), true), 15);  // the drive choice at the target
  EXPECT_EQ(biker->DoAttack(1.0f, 9999, true), kReached);
  const int32_t id = enemy->GetTid();
  EXPECT_EQ(biker->DoChant(1.0f), kReached);
  EXPECT_EQ(biker->DoThrow(1.0f, id, 0, true), kReached);
  EXPECT_EQ(biker->DoPickUp(1.0f, id, true), kReached);
  EXPECT_EQ(biker->DoLoot(1.0f, id, true), kReached);
  EXPECT_EQ(biker->DoSubLoot(1.0f, id), kReached);
  EXPECT_EQ(biker->DoGetDope(1.0f, id, true), kReached);
  EXPECT_EQ(biker->DoThrowTurret(1.0f, id, true), kReached);
  EXPECT_EQ(biker->DoFlee(1.0f, id, true), kReached);
}

}  // namespace
}  // namespace vehicle_testing
