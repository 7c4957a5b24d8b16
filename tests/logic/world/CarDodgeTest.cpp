// The danger reflexes and cars: a unit steps off the way of the tram
// heading at it and of another side's car on the move, to the side farther
// from the car; its own side's, the civilians' and a standing car are no
// danger, nor the car it attacks.

#include <gtest/gtest.h>

#include "VehicleFixture.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanKinds.h"

namespace vehicle_testing {
namespace {

constexpr int32_t kUnitOwner = 1;
constexpr int32_t kOtherSide = 2;

class CarDodgeTest : public VehicleTest {
 protected:
  void SetUp() override {
    VehicleTest::SetUp();
    StopTraffic();
    unit = MakeAs<YLUnit>("UnitSupporter", 20, 20, 0, kUnitOwner);
    ASSERT_NE(unit, nullptr);
    unit->GetUnitInfo()->Fear = 0.0f;
  }
  // The unit sees only the car, then runs its danger reflexes.
  void Sees(const YLThing& car) {
    unit->ClearMove();
    unit->ClearPerception();
    unit->AddNeighbour(car.GetTid());
    unit->DangerReflexes();
  }

  YLUnit* unit = nullptr;
};

TEST_F(CarDodgeTest, TheTramHeadingAtTheUnitSendsItToTheLeftOnATie) {
  // Four cells south, heading north: both side cells are as far from it.
  auto* tram = MakeAs<YLTCar>("Vehicle023-Tram", 20, 24, 0, 0);
  ASSERT_NE(tram, nullptr);
  Sees(*tram);
  const PsychicPlanItem* step = unit->GetCurrentMove();
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(step->Action, OrderKind::kGoto);
  EXPECT_EQ(step->Param1, 18);  // two cells west: the car's facing + 6
  EXPECT_EQ(step->Param2, 20);
  EXPECT_FLOAT_EQ(step->Motivation, 2.0f - 0.15f * 4);
  EXPECT_FALSE(step->Fast);
}

TEST_F(CarDodgeTest, AnEnemyCarOnTheMoveSendsTheUnitToTheSideFartherFromIt) {
  // Heading north south-west of the unit: its nearest cell (18, 23) lies
  // three cells away, nearer the west side cell.
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 17, 26, 0, kOtherSide);
  ASSERT_NE(car, nullptr);
  car->StartVehicleMove(15);
  Sees(*car);
  const PsychicPlanItem* step = unit->GetCurrentMove();
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(step->Action, OrderKind::kGoto);
  EXPECT_EQ(step->Param1, 22);
  EXPECT_EQ(step->Param2, 20);
  EXPECT_FLOAT_EQ(step->Motivation, 2.0f - 0.15f * 3);
  EXPECT_TRUE(step->Fast);  // nearer than 4 cells
}

TEST_F(CarDodgeTest, OnlyTheTramComingAndAnotherSidesMovingCarAreDangers) {
  struct Case {
    const char* what;
    const char* name;
    int32_t facing;
    int32_t owner;
    bool moving;
    bool attacked;
    bool dodges;
  };
  const Case cases[] = {
      {"tram heading away", "Vehicle023-Tram", 4, 0, true, false, false},
      {"tram heading past", "Vehicle023-Tram", 2, 0, true, false, false},
      {"tram standing, heading at it", "Vehicle023-Tram", 0, 0, false, false, true},
      {"enemy car moving away", "Vehicle022-Manta", 4, kOtherSide, true, false, true},
      {"enemy car standing", "Vehicle022-Manta", 0, kOtherSide, false, false, false},
      {"own side's car moving", "Vehicle022-Manta", 0, kUnitOwner, true, false, false},
      {"civilian car moving", "Vehicle032-BMWblue", 0, 0, true, false, false},
      {"enemy car it attacks", "Vehicle022-Manta", 0, kOtherSide, true, true, false},
  };
  for (const Case& entry : cases) {
    auto* car = MakeAs<YLTCar>(entry.name, 20, 26, static_cast<uint8_t>(entry.facing), entry.owner);
    ASSERT_NE(car, nullptr);
    if (entry.moving) {
      car->StartVehicleMove(15);
    }
    unit->Plan.ClearChildren();
    if (entry.attacked) {
      auto* attack = new PsychicPlanAttack(car->GetTid(), 0, 0.5f, false);
      attack->Expandable = false;
      unit->Plan.AddChild(attack);
    }
    Sees(*car);
    const PsychicPlanItem* step = unit->GetCurrentMove();
    EXPECT_EQ(step != nullptr && step->Action == OrderKind::kGoto, entry.dodges) << entry.what;
    DestroyThing(car->Info.get());
  }
}

TEST_F(CarDodgeTest, AFleeFromANearEnemyOutweighsADistantCar) {
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 20, 40, 0, kOtherSide);
  auto* enemy = MakeAs<YLUnit>("UnitSupporter", 22, 20, 0, kOtherSide);
  ASSERT_NE(car, nullptr);
  ASSERT_NE(enemy, nullptr);
  car->StartVehicleMove(15);
  unit->GetUnitInfo()->Fear = 1.0f;
  unit->ClearMove();
  unit->ClearPerception();
  unit->AddNeighbour(car->GetTid());
  unit->AddNeighbour(enemy->GetTid());
  unit->DangerReflexes();
  // The car, 17 cells off, offers 2.0 - 2.55 < 0: refused. The enemy two
  // cells away: (11 - 2) x 1.0 x 0.1.
  const PsychicPlanItem* step = unit->GetCurrentMove();
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(step->Action, OrderKind::kFlee);
  EXPECT_FLOAT_EQ(step->Motivation, 0.9f);
}

}  // namespace
}  // namespace vehicle_testing
