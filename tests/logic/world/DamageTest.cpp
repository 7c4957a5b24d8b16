#include <gtest/gtest.h>

#include <string>

#include "CombatFixture.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"

namespace logic_world_testing {
namespace {

class DamageTest : public CombatTest {};

enum class Target { Unit, Car, Thing };

struct KillCase {
  const char* name;
  Target target;
  int32_t targetOwner;
  int32_t attackerOwner;
  // Parameters 2 (frags), 3 (units lost), 4 (team kills), 26 (things) and
  // 27 (cars destroyed) of players 1 and 2 afterwards.
  int32_t player1[5];
  int32_t player2[5];
  bool loggedNoPlayer;
};

// A kill counts for the sides: a unit is a frag for the killer's side and a
// loss for its own (a team kill when both are the same side); a car or any
// other thing counts as destroyed for the attacker's side. A side without a
// player counts nothing, and two missing players are not the same side.
TEST_F(DamageTest, AKillCountsForTheSides) {
  const KillCase cases[] = {
      {"unit by its own side", Target::Unit, 1, 1, {0, 1, 1, 0, 0}, {0, 0, 0, 0, 0}, false},
      {"unit by another side", Target::Unit, 1, 2, {0, 1, 0, 0, 0}, {1, 0, 0, 0, 0}, false},
      {"civilian by a side", Target::Unit, 0, 2, {0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, false},
      {"unit by a civilian", Target::Unit, 1, 0, {0, 1, 0, 0, 0}, {0, 0, 0, 0, 0}, true},
      {"both owners without players", Target::Unit, 7, 7, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, true},
      {"car", Target::Car, 1, 2, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 1}, false},
      {"other thing", Target::Thing, 1, 2, {0, 0, 0, 0, 0}, {0, 0, 0, 1, 0}, false},
      {"car by a civilian", Target::Car, 1, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, true},
  };
  const ParamEnum params[] = {ParamFrags, ParamUnitsLost, ParamTeamKills, ParamThingsDestroyed,
                              ParamCarsDestroyed};
  for (const KillCase& entry : cases) {
    SCOPED_TRACE(entry.name);
    Refresh();
    logic.CreatePlayer(1);
    logic.CreatePlayer(2);
    PutUnit(1, entry.attackerOwner, 2, 2);
    YLThing* target = nullptr;
    switch (entry.target) {
      case Target::Unit:
        target = PutUnit(2, entry.targetOwner, 10, 10);
        break;
      case Target::Car:
        target = Put<YLTCar>(2, 10, 10);
        break;
      case Target::Thing:
        target = Put<YLThing>(2, 10, 10);
        break;
    }
    target->Info->Owner = entry.targetOwner;
    const std::string logged = Logged([&] { logic.HurtThing(2, 5.0f, 0.0f, 2, 2, 1); });
    EXPECT_EQ(target->Info->Status & StatusAlive, 0u);
    for (int32_t index = 0; index < 5; ++index) {
      EXPECT_EQ(Param(1, params[index]), entry.player1[index]) << "parameter " << params[index];
      EXPECT_EQ(Param(2, params[index]), entry.player2[index]) << "parameter " << params[index];
    }
    EXPECT_EQ(logged.find("CLogic::HurtThing attacker not owned by player\n") != std::string::npos,
              entry.loggedNoPlayer);
    // A blow that kills nothing counts nothing.
    PutUnit(3, 1, 12, 12);
    logic.HurtThing(3, 0.5f, 0.0f, 2, 2, 1);
    EXPECT_EQ(Param(1, ParamUnitsLost), entry.player1[1]);
  }
}

// A hurt unit is stunned, frightened and bleeds damage x 2.37, at most 1.0.
TEST_F(DamageTest, AHurtUnitBleedsByTheDamageUpToOne) {
  PutUnit(1, 2, 2, 2);
  YLUnit* unit = PutUnit(2, 1, 10, 10);
  logic.HurtThing(2, 0.2f, 0.3f, 2, 2, 1);
  EXPECT_FLOAT_EQ(unit->Info->Hp, 0.8f);
  EXPECT_FLOAT_EQ(unit->GetUnitInfo()->Cons, 0.7f);
  EXPECT_GT(unit->GetUnitInfo()->Fear, 0.0f);
  logic.HurtThing(2, 2.0f, 0.0f, 2, 2, 1);
  const auto gore = combat.Of("gore");
  ASSERT_EQ(gore.size(), 2u);
  EXPECT_EQ(gore[0].a, 10);
  EXPECT_EQ(gore[0].b, 10);
  EXPECT_FLOAT_EQ(gore[0].amount, 0.474f);
  EXPECT_EQ(gore[0].c, 1);
  EXPECT_EQ(gore[1].amount, 1.0f);
  // An id that names no thing is left alone.
  logic.HurtThing(99, 1.0f, 1.0f, 2, 2, 1);
  logic.HurtThing(0, 1.0f, 1.0f, 2, 2, 1);
  EXPECT_EQ(combat.Of("gore").size(), 2u);
}

// A container passes (1 - its armour) x 0.25 of the blow and the stun to
// every thing inside, and bleeds the whole blow over its footprint, one row
// lower (below its own cell without one).
TEST_F(DamageTest, AContainerPassesItsShareToWhatItHolds) {
  PutUnit(1, 2, 2, 2);
  auto* bus = Put<YLTContainerThing>(2, 10, 10);
  bus->Info->Armor = 0.2f;
  auto* first = Add<TestUnit>(3, 0, 10, 10);
  auto* second = Add<TestUnit>(4, 0, 10, 10);
  bus->Enter(first);
  bus->Enter(second);
  logic.HurtThing(2, 0.5f, 0.5f, 2, 2, 1);
  EXPECT_FLOAT_EQ(bus->Info->Hp, 1.0f - 0.8f * 0.5f);
  for (YLUnit* inside : {static_cast<YLUnit*>(first), static_cast<YLUnit*>(second)}) {
    EXPECT_FLOAT_EQ(inside->Info->Hp, 0.9f);
    EXPECT_FLOAT_EQ(inside->GetUnitInfo()->Cons, 0.9f);
  }
  auto gore = combat.Of("gore");
  ASSERT_EQ(gore.size(), 3u);  // the two inside, then the bus
  EXPECT_FLOAT_EQ(gore[0].amount, 0.1f * 2.37f);
  EXPECT_EQ(gore[2].a, 10);
  EXPECT_EQ(gore[2].b, 11);
  EXPECT_EQ(gore[2].amount, 0.5f);
  EXPECT_EQ(gore[2].c, 2);

  // With a footprint: every cell of the footprint of its facing.
  combat.events.clear();
  GiveFootprint(bus, {{1, 0}, {2, 0}});
  bus->Info->Armor = 1.0f;
  logic.HurtThing(2, 0.25f, 0.0f, 2, 2, 1);
  gore = combat.Of("gore");
  ASSERT_EQ(gore.size(), 5u);  // a share of nothing still reaches each unit
  EXPECT_EQ(gore[0].amount, 0.0f);
  const int32_t cells[3][2] = {{10, 11}, {11, 11}, {12, 11}};
  for (int32_t index = 0; index < 3; ++index) {
    EXPECT_EQ(gore[2 + index].a, cells[index][0]);
    EXPECT_EQ(gore[2 + index].b, cells[index][1]);
    EXPECT_EQ(gore[2 + index].amount, 0.25f);
  }
  EXPECT_FLOAT_EQ(first->Info->Hp, 0.9f);

  // An armour above 1.0 lets nothing through either, rather than a share
  // below nothing that would heal what is inside.
  bus->Info->Armor = 1.2f;
  logic.HurtThing(2, 0.5f, 0.5f, 2, 2, 1);
  EXPECT_FLOAT_EQ(first->Info->Hp, 0.9f);
  EXPECT_FLOAT_EQ(second->Info->Hp, 0.9f);
}

// A thing that explodes when destroyed goes off where it stood: everything
// within 7 cells is hit d frames later, by the attacker.
TEST_F(DamageTest, AnExplodingThingBlastsItsSurroundingsDFramesLater) {
  PutUnit(1, 2, 2, 2);
  YLThing* barrel = Put<YLThing>(2, 10, 10);
  barrel->Info->Status |= StatusExplodes;
  YLUnit* near = PutUnit(3, 1, 10, 13);
  YLUnit* far = PutUnit(4, 1, 10, 18);
  logic.HurtThing(2, 5.0f, 0.0f, 2, 2, 1);
  EXPECT_EQ(Param(2, ParamThingsDestroyed), 1);
  const auto splats = combat.Of("splat");
  ASSERT_EQ(splats.size(), 1u);
  EXPECT_EQ(splats[0].a, 10);
  EXPECT_EQ(splats[0].b, 10);
  EXPECT_FLOAT_EQ(splats[0].amount, 2.0f);
  EXPECT_EQ(splats[0].c, 9);
  Run(3);
  EXPECT_EQ(near->Info->Hp, 1.0f);
  Run(1);
  // 1.5 x (1 - (3/7)^2) kills it; the kill is the attacker's frag.
  EXPECT_EQ(near->Info->Status & StatusAlive, 0u);
  EXPECT_EQ(Param(2, ParamFrags), 1);
  EXPECT_EQ(Param(1, ParamUnitsLost), 1);
  Run(10);
  EXPECT_EQ(far->Info->Hp, 1.0f);
  // Without the bit nothing goes off.
  combat.events.clear();
  YLThing* crate = Put<YLThing>(5, 15, 15);
  logic.HurtThing(5, 5.0f, 0.0f, 2, 2, 1);
  EXPECT_EQ(crate->Info->Status & StatusAlive, 0u);
  EXPECT_TRUE(combat.Of("splat").empty());
}

}  // namespace
}  // namespace logic_world_testing

#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLUnitLeader.h"

namespace logic_world_testing {
namespace {

// A building brought down counts as lost for its side and broken for the
// attacker's; a suit that belongs to nobody scores for the side that hired
// it.
TEST_F(DamageTest, ABuildingAndASuitsKillCountForTheRightSides) {
  PutUnit(1, 2, 2, 2);
  auto* shop = Put<YLTBuilding>(2, 10, 10);
  shop->Info->Owner = 1;
  logic.HurtThing(2, 10.0f, 0.0f, 2, 2, 1);
  EXPECT_EQ(Param(1, ParamBuildingsLost), 1);
  EXPECT_EQ(Param(2, ParamBuildingsBroken), 1);
  EXPECT_EQ(Param(2, ParamThingsDestroyed), 0);

  auto* suit = PutUnit<YLUnitSuit>(3, 0, 4, 4);
  suit->Last = 2;
  PutUnit(4, 1, 12, 12);
  const std::string logged = Logged([&] { logic.HurtThing(4, 5.0f, 0.0f, 4, 4, 3); });
  EXPECT_EQ(Param(2, ParamFrags), 1);
  EXPECT_EQ(Param(1, ParamUnitsLost), 1);
  EXPECT_EQ(logged.find("not owned by player"), std::string::npos);
}

// The carrier of the cup drops it where it stands when the blow comes from
// a cell nearer than the square root of 3; a blow from farther leaves it
// carrying.
TEST_F(DamageTest, TheCupFallsWhenItsCarrierIsHitFromNearby) {
  auto* cup = Put<YLTCup>(1, 1, 1);
  logic.Map->RemoveThing(cup);
  logic.CupID = 1;
  YLUnit* carrier = PutUnit(2, 1, 10, 10);
  carrier->TakeCup();
  cup->Info->Owner = 2;
  cup->Info->X = -1;
  cup->Info->Y = -1;
  cup->Info->Status &= ~StatusAlive;
  cup->PossesionTimer = 9;

  logic.HurtThing(2, 0.01f, 0.0f, 12, 10, 0);
  EXPECT_TRUE(carrier->CarriesCup());
  EXPECT_EQ(cup->Info->Owner, 2);

  logic.HurtThing(2, 0.01f, 0.0f, 11, 11, 0);
  EXPECT_FALSE(carrier->CarriesCup());
  EXPECT_EQ(cup->Info->Owner, 0);
  EXPECT_EQ(cup->PossesionTimer, 0);
  EXPECT_EQ(cup->Info->X, 10);
  EXPECT_EQ(cup->Info->Y, 10);
  EXPECT_NE(cup->Info->Status & StatusAlive, 0u);
  EXPECT_TRUE(logic.Map->IsListed(cup));
}

}  // namespace
}  // namespace logic_world_testing
