#include <gtest/gtest.h>

#include "CombatFixture.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTPushable.h"

namespace logic_world_testing {
namespace {

constexpr int32_t kTram = 4;

class RunOverTest : public CombatTest {
 protected:
  // A car of that owner at (x, y) facing east; vehicle type 4 makes it the
  // tram.
  YLTCar* PutCar(int32_t id, int32_t owner, int32_t x, int32_t y, int32_t vehicleType = 0) {
    YLTCar* car = Put<YLTCar>(id, x, y);
    car->Info->Owner = owner;
    car->Info->Ori = 2;
    car->Info->Armor = 0.0f;
    car->Info->Status |= static_cast<uint32_t>(vehicleType) << kStatusVehicleTypeShift;
    return car;
  }
};

struct RunOverCase {
  const char* name;
  int32_t carOwner;
  int32_t vehicleType;
  int32_t unitOwner;
  // Parameters 2 (frags), 3 (units lost), 4 (team kills) of players 1 and 2.
  int32_t player1[3];
  int32_t player2[3];
  bool speech;
  float carHp;
};

// A car runs a unit over: the unit dies, its side loses a unit, the car's
// side scores a frag (a team kill for its own unit), the driver shouts and
// the car takes a little damage; the tram scores for nobody, says nothing
// and takes no damage. A side without a player counts nothing, and two
// sides without players are not the same side.
TEST_F(RunOverTest, ACarRunsAUnitOver) {
  const RunOverCase cases[] = {
      {"own side", 1, 0, 1, {0, 1, 1}, {0, 0, 0}, true, 0.9f},
      {"other side", 1, 0, 2, {1, 0, 0}, {0, 1, 0}, true, 0.9f},
      {"tram over another side", 1, kTram, 2, {0, 0, 0}, {0, 1, 0}, false, 1.0f},
      {"tram over its own side", 1, kTram, 1, {0, 1, 1}, {0, 0, 0}, false, 1.0f},
      {"civilian car over a civilian", 0, 0, 0, {0, 0, 0}, {0, 0, 0}, true, 0.9f},
      {"civilian car over a side", 0, 0, 2, {0, 0, 0}, {0, 1, 0}, true, 0.9f},
      {"side over a civilian", 2, 0, 0, {0, 0, 0}, {1, 0, 0}, true, 0.9f},
      {"two owners without players", 7, 0, 7, {0, 0, 0}, {0, 0, 0}, true, 0.9f},
  };
  for (const RunOverCase& entry : cases) {
    SCOPED_TRACE(entry.name);
    Refresh();
    logic.Time = 0;
    logic.EmptyPlan();
    logic.CreatePlayer(1);
    logic.CreatePlayer(2);
    combat.events.clear();
    YLTCar* car = PutCar(1, entry.carOwner, 5, 5, entry.vehicleType);
    YLUnit* unit = PutUnit(2, entry.unitOwner, 6, 5);

    EXPECT_TRUE(logic.RunOver(car, 2, 6, 5));

    EXPECT_EQ(unit->Info->Status & StatusAlive, 0u);
    EXPECT_EQ(unit->Info->Hp, 0.0f);
    EXPECT_FLOAT_EQ(car->Info->Hp, entry.carHp);
    const ParamEnum params[] = {ParamFrags, ParamUnitsLost, ParamTeamKills};
    for (int32_t index = 0; index < 3; ++index) {
      EXPECT_EQ(Param(1, params[index]), entry.player1[index]) << "parameter " << params[index];
      EXPECT_EQ(Param(2, params[index]), entry.player2[index]) << "parameter " << params[index];
    }
    const auto speech = combat.Of("speech");
    ASSERT_EQ(speech.size(), entry.speech ? 1u : 0u);
    if (entry.speech) {
      EXPECT_EQ(speech[0].a, entry.unitOwner);
      EXPECT_EQ(speech[0].b, 2);
      EXPECT_EQ(speech[0].c, 5);
      EXPECT_EQ(speech[0].d, 1);
    }
    // The blood follows four frames later where the unit stood.
    EXPECT_TRUE(combat.Of("gore").empty());
    Run(5);
    const auto gore = combat.Of("gore");
    ASSERT_EQ(gore.size(), 1u);
    EXPECT_EQ(gore[0].frame, 4u);
    EXPECT_EQ(gore[0].a, 6);
    EXPECT_EQ(gore[0].b, 5);
    EXPECT_EQ(gore[0].amount, 2.0f);
    EXPECT_EQ(gore[0].c, 1);
  }
}

// The tram hurts a pushable thing by the thing's own strength and pushes
// it; the answer is the push's. Any other car is stopped by it unhurt.
TEST_F(RunOverTest, TheTramHurtsAndPushesAPushableThing) {
  YLTCar* tram = PutCar(1, 1, 5, 5, kTram);
  auto* crate = Put<YLTPushableThing>(2, 6, 5);
  crate->Info->Armor = 0.05f;
  EXPECT_TRUE(logic.RunOver(tram, 2, 6, 5));
  // Hp / (1.05 - Armor) = 1.0 takes (1 - Armor) of it.
  EXPECT_NEAR(crate->Info->Hp, 0.05f, 1e-5f);
  EXPECT_EQ(crate->Info->X, 7);
  EXPECT_EQ(crate->Pusher, 1);

  // Pushed against a wall the push is refused, and so is the tram; the
  // crate is hurt all the same.
  Refresh();
  tram = PutCar(1, 1, 5, 5, kTram);
  crate = Put<YLTPushableThing>(2, 6, 5);
  Grid().SetOccupied(7, 5, true);
  EXPECT_FALSE(logic.RunOver(tram, 2, 6, 5));
  EXPECT_NEAR(crate->Info->Hp, 1.0f - 1.0f / 1.05f, 1e-6f);
  EXPECT_EQ(crate->Info->X, 6);

  // A crate that no longer lives is pushed unhurt.
  Refresh();
  tram = PutCar(1, 1, 5, 5, kTram);
  crate = Put<YLTPushableThing>(2, 6, 5);
  crate->Info->Status &= ~StatusAlive;
  crate->Info->Hp = 0.5f;
  EXPECT_TRUE(logic.RunOver(tram, 2, 6, 5));
  EXPECT_EQ(crate->Info->Hp, 0.5f);
  EXPECT_EQ(crate->Info->X, 7);

  // A car that is not the tram is refused and nothing is hurt.
  Refresh();
  YLTCar* car = PutCar(1, 1, 5, 5);
  crate = Put<YLTPushableThing>(2, 6, 5);
  EXPECT_FALSE(logic.RunOver(car, 2, 6, 5));
  EXPECT_EQ(crate->Info->Hp, 1.0f);
  EXPECT_EQ(car->Info->Hp, 1.0f);
  EXPECT_EQ(crate->Info->X, 6);
}

// The tram meeting a car hurts and pushes it like any pushable thing.
TEST_F(RunOverTest, TheTramPushesACar) {
  YLTCar* tram = PutCar(1, 1, 5, 5, kTram);
  YLTCar* car = PutCar(2, 2, 6, 5);
  car->Info->Armor = 0.55f;
  EXPECT_TRUE(logic.RunOver(tram, 2, 6, 5));
  EXPECT_NEAR(car->Info->Hp, 1.0f - 0.45f * 2.0f, 1e-5f);
  EXPECT_EQ(car->Info->X, 7);
  EXPECT_EQ(tram->Info->Hp, 1.0f);
}

// Two cars that meet are both hurt, each by its own strength, the moving
// one first, and the move is refused. Each bleeds as a container, with the
// whole blow.
TEST_F(RunOverTest, TwoCarsThatMeetAreBothHurtAndStop) {
  YLTCar* moving = PutCar(1, 1, 5, 5);
  YLTCar* other = PutCar(2, 2, 6, 5);
  moving->Info->Armor = 0.5f;
  other->Info->Hp = 0.5f;
  EXPECT_FALSE(logic.RunOver(moving, 2, 6, 5));
  EXPECT_NEAR(moving->Info->Hp, 1.0f - 0.5f / 0.55f, 1e-5f);
  EXPECT_NEAR(other->Info->Hp, 0.5f - 0.5f / 1.05f, 1e-5f);
  const auto gore = combat.Of("gore");
  ASSERT_EQ(gore.size(), 2u);
  EXPECT_EQ(gore[0].a, 5);
  EXPECT_EQ(gore[0].b, 6);
  EXPECT_NEAR(gore[0].amount, 1.0f / 0.55f, 1e-5f);
  EXPECT_EQ(gore[0].c, 2);
  EXPECT_EQ(gore[1].a, 6);
  EXPECT_NEAR(gore[1].amount, 0.5f / 1.05f, 1e-5f);
}

// An armour above 1.0 counts as 1.0 in a collision: the blow is Hp / 0.05,
// not a negative one that would destroy the car its armour should protect.
TEST_F(RunOverTest, AnArmourAboveOneCountsAsOne) {
  YLTCar* moving = PutCar(1, 1, 5, 5);
  YLTCar* other = PutCar(2, 2, 6, 5);
  moving->Info->Armor = 1.2f;
  other->Info->Armor = 1.0f;
  EXPECT_FALSE(logic.RunOver(moving, 2, 6, 5));
  const auto gore = combat.Of("gore");
  ASSERT_EQ(gore.size(), 2u);
  EXPECT_NEAR(gore[0].amount, 20.0f, 1e-4f);
  EXPECT_NEAR(gore[1].amount, 20.0f, 1e-4f);
  EXPECT_NE(moving->Info->Status & StatusAlive, 0u);
  EXPECT_EQ(other->Info->Hp, 1.0f);
}

// A thing in the way that is neither unit nor car stops a car; so does an
// id that names nothing.
TEST_F(RunOverTest, AnythingElseStopsTheCar) {
  YLTCar* car = PutCar(1, 1, 5, 5);
  Put<YLThing>(2, 6, 5);
  EXPECT_FALSE(logic.RunOver(car, 2, 6, 5));
  EXPECT_FALSE(logic.RunOver(car, 0, 6, 5));
  EXPECT_FALSE(logic.RunOver(car, 99, 6, 5));
  EXPECT_TRUE(combat.events.empty());
}

}  // namespace
}  // namespace logic_world_testing
