#include <gtest/gtest.h>

#include <memory>

#include "CombatFixture.h"
#include "logic/core/YLAreaPropagator.h"
#include "logic/core/YLPropagatorFire.h"
#include "logic/core/YLPropagatorTearGas.h"
#include "logic/triggers/LogicPlanHurtThing.h"
#include "logic/triggers/LogicPlanWeaponItems.h"
#include "logic/world/YLTCar.h"

namespace logic_world_testing {
namespace {

class WeaponTest : public CombatTest {
 protected:
  // The attacker (player 1) at (5, 5) and a target unit (player 2) dx cells
  // east of it.
  void SetUpFight(int32_t dx, int32_t ammo = 0) {
    attacker = PutUnit(1, 1, 5, 5);
    attacker->GetUnitInfo()->Ammo = ammo;
    target = PutUnit(2, 2, 5 + dx, 5);
  }

  // A weapon of our own (the catalogue has no fire weapon, for one).
  YLWeapon* MakeWeapon(int32_t splatType, float splatRange = 3.0f, float health = 0.4f, float cons = 0.2f) {
    own.reset(new YLWeapon(health, cons, 0, 0, splatRange, 15, false, 0, 0, splatType));
    return own.get();
  }

  YLUnit* attacker = nullptr;
  YLUnit* target = nullptr;
  std::unique_ptr<YLWeapon, tObjectDestroyer> own;
};

struct FireCase {
  const char* name;
  int32_t slot;
  int32_t ammo;
  int32_t dx;                 // where the target stands
  int32_t projectileFrame;    // -1: no projectile is shown
  int32_t impactFrame;        // the frame of the impact's first event
  const char* impactEvent;    // "gore" for a blow, "splat" for a blast
};

// A weapon is fired after its execution time; a thrown thing is shown and
// lands one frame per cell later, the bomb is shown and goes off after its
// fuse, a shot and a blow land after the impact time unseen.
TEST_F(WeaponTest, AWeaponFiresAndLandsOverFrames) {
  const FireCase cases[] = {
      {"gun (shot)", WeaponSlot::kGun, 1, 6, -1, 0, "gore"},
      {"kick (no projectile)", WeaponSlot::CloseCombat(1), 0, 1, -1, 2, "gore"},
      {"brick (thrown)", WeaponSlot::kBrick, 0, 5, 7, 12, "gore"},
      {"fireworks (thrown)", WeaponSlot::kFireWork, 1, 4, 8, 12, "splat"},
      {"grenade (thrown)", WeaponSlot::kGrenade, 1, 9, 8, 17, "splat"},
      {"bomb (fuse)", WeaponSlot::kBomb, 1, 0, 3, 203, "splat"},
  };
  for (const FireCase& entry : cases) {
    SCOPED_TRACE(entry.name);
    Refresh();
    logic.Time = 0;
    logic.EmptyPlan();
    combat.events.clear();
    combat.projectileKinds.clear();
    attacker = PutUnit(1, 1, 5, 5);
    attacker->GetUnitInfo()->Ammo = entry.ammo;
    if (entry.dx != 0) {
      target = PutUnit(2, 2, 5 + entry.dx, 5);
    }
    YLWeapon* weapon = Slot(entry.slot);
    ASSERT_TRUE(logic.UseWeapon(attacker, weapon, 5 + entry.dx, 5));
    EXPECT_EQ(attacker->GetUnitInfo()->Ammo, 0);
    Run(entry.impactFrame + 1);

    const auto projectiles = combat.Of("projectile");
    if (entry.projectileFrame < 0) {
      EXPECT_TRUE(projectiles.empty());
    } else {
      ASSERT_EQ(projectiles.size(), 1u);
      EXPECT_EQ(projectiles[0].frame, static_cast<uint32_t>(entry.projectileFrame));
      EXPECT_EQ(projectiles[0].a, 5);
      EXPECT_EQ(projectiles[0].b, 5);
      EXPECT_EQ(projectiles[0].c, 5 + entry.dx);
      EXPECT_EQ(projectiles[0].d, 5);
      EXPECT_EQ(combat.projectileKinds[0], weapon->GetProjectileType());
    }
    const auto impact = combat.Of(entry.impactEvent);
    ASSERT_FALSE(impact.empty());
    EXPECT_EQ(impact[0].frame, static_cast<uint32_t>(entry.impactFrame));
  }
}

// Out of reach, or without a round for a weapon that needs one, the unit
// does not attack: nothing is planned and no round is spent.
TEST_F(WeaponTest, AnAttackOutOfReachOrWithoutAmmunitionIsRefused) {
  attacker = PutUnit(1, 1, 2, 2);
  attacker->GetUnitInfo()->Ammo = 1;
  EXPECT_FALSE(logic.UseWeapon(attacker, Slot(WeaponSlot::kBrick), 18, 2));
  EXPECT_FALSE(logic.UseWeapon(attacker, Slot(WeaponSlot::kGun), 18, 2));
  EXPECT_FALSE(logic.UseWeapon(attacker, Slot(WeaponSlot::CloseCombat(1)), 4, 2));
  EXPECT_EQ(attacker->GetUnitInfo()->Ammo, 1);
  EXPECT_TRUE(PlanIsEmpty());

  attacker->GetUnitInfo()->Ammo = 0;
  EXPECT_FALSE(logic.UseWeapon(attacker, Slot(WeaponSlot::kFireWork), 5, 2));
  EXPECT_FALSE(logic.UseWeapon(attacker, Slot(WeaponSlot::kGun), 5, 2));
  EXPECT_FALSE(logic.UseWeapon(attacker, nullptr, 2, 2));
  EXPECT_FALSE(logic.UseWeapon(nullptr, Slot(WeaponSlot::kBrick), 2, 2));
  EXPECT_TRUE(PlanIsEmpty());
  // A weapon without ammunition needs none; the reach is the truncated
  // straight-line distance: 15.56 cells are 15, 16.28 are 16.
  EXPECT_TRUE(logic.UseWeapon(attacker, Slot(WeaponSlot::kBrick), 13, 13));
  EXPECT_FALSE(logic.UseWeapon(attacker, Slot(WeaponSlot::kBrick), 14, 13));
}

// A blow hurts the thing on the target cell at once: an angry unit hits
// harder (0.7 x anger + 0.7) and is calmer after.
TEST_F(WeaponTest, ABlowHurtsTheThingOnTheCellByTheAttackersAnger) {
  SetUpFight(1);
  attacker->GetUnitInfo()->Anger = 0.5f;
  logic.ApplyWeaponImpact(MakeWeapon(0, 0.0f, 0.2f, 0.1f), 1, 6, 5);
  EXPECT_FLOAT_EQ(target->Info->Hp, 1.0f - 0.2f * 1.05f);
  EXPECT_FLOAT_EQ(attacker->GetUnitInfo()->Anger, 0.4f);
  EXPECT_TRUE(combat.Of("splat").empty());
  // An empty cell takes nothing.
  logic.ApplyWeaponImpact(own.get(), 1, 9, 9);
  EXPECT_FLOAT_EQ(attacker->GetUnitInfo()->Anger, 0.4f);
  // A thing that is no unit hits with the weapon's own strength.
  Refresh();
  YLTCar* car = Put<YLTCar>(1, 5, 5);
  target = PutUnit(2, 2, 6, 5);
  logic.ApplyWeaponImpact(own.get(), 1, 6, 5);
  EXPECT_FLOAT_EQ(target->Info->Hp, 0.8f);
  EXPECT_EQ(car->Info->Hp, 1.0f);
}

// Tear gas and fire cover the cells within the splat range, marked on the
// map as far as the map reaches, and run as propagators; only the gas is
// announced.
TEST_F(WeaponTest, TearGasAndFireMarkTheirAreaAndRun) {
  attacker = PutUnit(1, 1, 5, 5);
  const std::string logged = Logged([&] {
    logic.ApplyWeaponImpact(Slot(WeaponSlot::kTearGas), 1, 1, 1);
    logic.ApplyWeaponImpact(MakeWeapon(2, 2.0f), 1, 18, 18);
  });
  EXPECT_EQ(logged.find("invalid position"), std::string::npos);
  ASSERT_EQ(logic.Propagators->count, 2);
  auto* gas = dynamic_cast<YLPropagatorTearGas*>(logic.Propagators->At(0));
  auto* fire = dynamic_cast<YLPropagatorFire*>(logic.Propagators->At(1));
  ASSERT_NE(gas, nullptr);
  ASSERT_NE(fire, nullptr);
  EXPECT_EQ(gas->X, 1);
  EXPECT_EQ(gas->Y, 1);
  // Radius 5: 69 cells around (1, 1); radius 2: the 3 x 3 square.
  EXPECT_EQ(gas->GetArea()->GetPointCount(0), 69);
  EXPECT_EQ(fire->GetArea()->GetPointCount(0), 9);
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 20; ++x) {
      const int32_t gx = x - 1;
      const int32_t gy = y - 1;
      EXPECT_EQ(Grid().IsGassed(x, y), gx * gx + gy * gy < 25) << x << "," << y;
      EXPECT_EQ(Grid().IsOnFire(x, y), x >= 17 && x <= 19 && y >= 17 && y <= 19) << x << "," << y;
    }
  }
  const auto splats = combat.Of("splat");
  ASSERT_EQ(splats.size(), 1u);
  EXPECT_EQ(splats[0].a, 1);
  EXPECT_EQ(splats[0].b, 1);
  EXPECT_EQ(splats[0].amount, 5.0f);
  EXPECT_EQ(splats[0].c, 1);

  // The fire burns 60 frames, the gas 125; each takes its mark off the map
  // when it ends.
  Run(60);
  EXPECT_TRUE(Grid().IsOnFire(18, 18));
  Run(1);
  EXPECT_FALSE(Grid().IsOnFire(18, 18));
  EXPECT_EQ(logic.Propagators->count, 1);
  Run(64);
  EXPECT_TRUE(Grid().IsGassed(1, 1));
  Run(1);
  EXPECT_FALSE(Grid().IsGassed(1, 1));
  EXPECT_EQ(logic.Propagators->count, 0);
}

// The gas takes consciousness from every unit in it, by how sober it is,
// but not from the police nor from a prisoner.
TEST_F(WeaponTest, TearGasStunsTheUnitsInItButThePolice) {
  attacker = PutUnit(1, 3, 2, 2);
  YLUnit* sober = PutUnit(2, 1, 5, 5);
  YLUnit* doped = PutUnit(3, 1, 6, 5);
  doped->GetUnitInfo()->Dope = 0.5f;
  YLUnit* police = PutUnit(4, CLogic::kPolicePlayer, 5, 6);
  YLUnit* prisoner = PutUnit(5, 2, 4, 5);
  prisoner->Info->Status |= YLUnit::kStatusArrested;
  YLUnit* outside = PutUnit(6, 1, 15, 15);
  logic.ApplyWeaponImpact(Slot(WeaponSlot::kTearGas), 1, 5, 5);
  auto* gas = dynamic_cast<YLPropagatorTearGas*>(logic.Propagators->At(0));
  ASSERT_NE(gas, nullptr);
  ASSERT_TRUE(gas->Propagate(&logic));
  EXPECT_FLOAT_EQ(sober->GetUnitInfo()->Cons, 0.98f);
  EXPECT_FLOAT_EQ(doped->GetUnitInfo()->Cons, 0.99f);
  EXPECT_FLOAT_EQ(police->GetUnitInfo()->Cons, 1.0f);
  EXPECT_FLOAT_EQ(prisoner->GetUnitInfo()->Cons, 1.0f);
  EXPECT_FLOAT_EQ(outside->GetUnitInfo()->Cons, 1.0f);
}

// A blast reaches every thing within the splat range one frame per cell of
// its distance later, with (1 - r x r) of the weapon's damage, r being the
// distance over the range; it is announced at once with the weapon's whole
// damage and its splat type.
TEST_F(WeaponTest, ABlastReachesTheThingsAroundOneFramePerCellLater) {
  for (int32_t splat : {3, 4, 5, 6, 9}) {
    SCOPED_TRACE(splat);
    Refresh();
    logic.Time = 0;
    logic.EmptyPlan();
    combat.events.clear();
    attacker = PutUnit(1, 1, 2, 2);
    YLUnit* centre = PutUnit(2, 2, 10, 10);
    YLUnit* near = PutUnit(3, 2, 10, 12);
    auto* crate = Put<YLTPushableThing>(4, 13, 10);
    YLUnit* corner = PutUnit(5, 2, 14, 14);  // in the box, beyond the range
    logic.ApplyWeaponImpact(MakeWeapon(splat, 4.0f, 0.4f, 0.2f), 1, 10, 10);
    const auto splats = combat.Of("splat");
    ASSERT_EQ(splats.size(), 1u);
    EXPECT_FLOAT_EQ(splats[0].amount, 0.6f);
    EXPECT_EQ(splats[0].c, splat);
    // At distance 0 the blow lands at once.
    EXPECT_FLOAT_EQ(centre->Info->Hp, 0.6f);
    Run(2);
    EXPECT_EQ(near->Info->Hp, 1.0f);
    Run(1);
    EXPECT_FLOAT_EQ(near->Info->Hp, 1.0f - 0.4f * 0.75f);
    // Stunned by the blow, then a frame of coming round.
    EXPECT_NEAR(near->GetUnitInfo()->Cons, 1.0f - 0.2f * 0.75f + 0.001f, 1e-5f);
    EXPECT_EQ(crate->Info->Hp, 1.0f);
    Run(1);
    EXPECT_FLOAT_EQ(crate->Info->Hp, 1.0f - 0.4f * (1.0f - 9.0f / 16.0f));
    Run(3);
    EXPECT_EQ(corner->Info->Hp, 1.0f);
  }
}

// Splat types 7 and above 9 (and below 0) do nothing.
TEST_F(WeaponTest, OtherSplatTypesDoNothing) {
  for (int32_t splat : {7, 10, 42, -1}) {
    SCOPED_TRACE(splat);
    SetUpFight(1);
    logic.ApplyWeaponImpact(MakeWeapon(splat), 1, 6, 5);
    EXPECT_TRUE(combat.events.empty());
    EXPECT_TRUE(PlanIsEmpty());
    EXPECT_EQ(logic.Propagators->count, 0);
    EXPECT_EQ(target->Info->Hp, 1.0f);
    Refresh();
  }
}

// The impact and the firing need their attacker: an id that names nothing
// does nothing.
TEST_F(WeaponTest, AMissingAttackerDoesNothing) {
  target = PutUnit(2, 2, 6, 5);
  logic.FireWeapon(Slot(WeaponSlot::kBrick), 1, 6, 5);
  logic.ApplyWeaponImpact(Slot(WeaponSlot::kGrenade), 1, 6, 5);
  logic.ApplyWeaponImpact(Slot(WeaponSlot::kBrick), 1, 6, 5);
  EXPECT_TRUE(combat.events.empty());
  EXPECT_TRUE(PlanIsEmpty());
  EXPECT_EQ(target->Info->Hp, 1.0f);
}

}  // namespace
}  // namespace logic_world_testing

namespace logic_world_testing {
namespace {

class CombatMoveTest : public WeaponTest {
 protected:
  // The weapon of the attack the move planned: the first weapon item in the
  // plan; null when none was planned.
  YLWeapon* PlannedWeapon() const {
    for (const PlanList& bucket : logic.Plan) {
      for (LogicPlanItem* item = bucket.first; item != nullptr; item = item->Next) {
        if (auto* execute = dynamic_cast<LogicPlanWeaponExecute*>(item)) {
          return execute->GetWeapon();
        }
      }
    }
    return nullptr;
  }

  bool Perform(int32_t code, YLThing* thing) {
    return YLUnit::GetUnitMoveTable() != nullptr &&
           dynamic_cast<MoveInfo*>(YLUnit::GetUnitMoveTable()->At(code))->Perform(thing, &logic);
  }
};

// The fighting moves fire at the unit's destination: the weapon move the
// weapon of the unit's grade, the punch its type's level-0 weapon, the kick
// its type's close-combat weapon, the throw the brick (which leaves its
// hand). A thing that is no unit cannot perform them.
TEST_F(CombatMoveTest, EachFightingMoveFiresItsWeaponAtTheDestination) {
  struct Case {
    const char* name;
    int32_t code;
    int32_t slot;
  };
  const Case cases[] = {
      {"weapon", 11, WeaponSlot::OfLevel(2, 1)},
      {"fist", 12, WeaponSlot::OfLevel(2, 0)},
      {"kick", 13, WeaponSlot::CloseCombat(2)},
      {"throw", 14, WeaponSlot::kBrick},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(entry.name);
    Refresh();
    logic.EmptyPlan();
    attacker = PutUnit(1, 1, 5, 5);
    attacker->Info->Gfx = 2;  // a raver
    attacker->GetUnitInfo()->Weapon = 1;
    attacker->Info->Status |= 1u << 18;
    attacker->DestinationX = 6;
    attacker->DestinationY = 6;
    EXPECT_TRUE(Perform(entry.code, attacker));
    EXPECT_EQ(PlannedWeapon(), Slot(entry.slot));
    EXPECT_EQ((attacker->Info->Status & (1u << 18)) != 0, entry.code != 14);
    // Out of reach the move fails with its attack.
    logic.EmptyPlan();
    attacker->DestinationX = 21;
    EXPECT_FALSE(Perform(entry.code, attacker));
    EXPECT_TRUE(PlanIsEmpty());
    EXPECT_FALSE(Perform(entry.code, Put<YLThing>(2, 9, 9)));
  }
}

}  // namespace
}  // namespace logic_world_testing

#include "logic/world/Police.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLUnitLeader.h"

namespace logic_world_testing {
namespace {

// A leader hits with its weapon's own strength, however angry it is.
TEST_F(WeaponTest, ALeaderHitsWithTheWeaponsOwnStrength) {
  auto* leader = PutUnit<YLUnitLeader>(1, 1, 5, 5);
  leader->GetUnitInfo()->Anger = 0.5f;
  target = PutUnit(2, 2, 6, 5);
  logic.ApplyWeaponImpact(MakeWeapon(0, 0.0f, 0.2f, 0.1f), 1, 6, 5);
  EXPECT_FLOAT_EQ(target->Info->Hp, 0.8f);
  EXPECT_FLOAT_EQ(leader->GetUnitInfo()->Anger, 0.5f);
}

struct KickCase {
  int32_t buildingType;
  ParamEnum counter;  // 0: none
};

// A kick from inside a building that gives way (heavy damage 0.1 through
// its armour brings it to 0) pays the kicker's side the building's money and
// counts the wreck by building type.
TEST_F(CombatMoveTest, AKickFromInsideWrecksTheBuildingForItsMoney) {
  const KickCase cases[] = {{1, ParamHomesWrecked},      {2, ParamOtherBuildingsWrecked},
                            {3, ParamPubsWrecked},       {4, ParamDopeHousesWrecked},
                            {5, ParamWeaponShopsWrecked}, {6, ParamGirlsShopsWrecked},
                            {9, 0}};
  for (const KickCase& entry : cases) {
    SCOPED_TRACE(entry.buildingType);
    Refresh();
    logic.CreatePlayer(1);
    auto* building = Put<YLTBuilding>(2, 10, 10);
    building->Info->BuildingType = entry.buildingType;
    building->Info->Armor = 0.5f;
    building->Info->Hp = 0.05f;
    building->SetInfoGrade(300);
    auto* kicker = Add<TestUnit>(1, 0, 10, 10);
    kicker->Info->Owner = 1;
    building->Enter(kicker);
    const int32_t money = Param(1, ParamMoney);
    EXPECT_TRUE(Perform(13, kicker));
    EXPECT_TRUE(PlanIsEmpty());
    EXPECT_EQ(building->Info->Hp, 0.0f);
    EXPECT_NE(building->Info->Status & StatusWrecked, 0u);
    EXPECT_EQ(Param(1, ParamMoney), money + 300);
    EXPECT_EQ(building->GetInfoGrade(), 0);
    for (ParamEnum counter = ParamHomesWrecked; counter <= ParamGirlsShopsWrecked; ++counter) {
      EXPECT_EQ(Param(1, counter), counter == entry.counter ? 1 : 0) << counter;
    }
    // A wrecked building gives way no more.
    EXPECT_TRUE(Perform(13, kicker));
    EXPECT_EQ(Param(1, ParamMoney), money + 300);
  }
  // A building that stands the kick gives nothing; a side without a player
  // takes nothing either.
  Refresh();
  logic.CreatePlayer(1);
  auto* building = Put<YLTBuilding>(2, 10, 10);
  building->SetInfoGrade(300);
  auto* kicker = Add<TestUnit>(1, 0, 10, 10);
  kicker->Info->Owner = 1;
  building->Enter(kicker);
  const int32_t money = Param(1, ParamMoney);
  EXPECT_TRUE(Perform(13, kicker));
  EXPECT_GT(building->Info->Hp, 0.9f);
  EXPECT_EQ(Param(1, ParamMoney), money);
  kicker->Info->Owner = 7;
  building->Info->Hp = 0.01f;
  EXPECT_TRUE(Perform(13, kicker));
  EXPECT_EQ(building->GetInfoGrade(), 300);
}

// A leader or policeman lowers its drawn gun as it fires; a suit inside a
// bank uses its safe-cracker, once.
TEST_F(CombatMoveTest, TheWeaponMoveOfALeaderAPolicemanAndASuitInABank) {
  auto* leader = PutUnit<YLUnitLeader>(1, 1, 5, 5);
  leader->Info->Status |= 1u << 19;
  leader->DestinationX = 5;
  leader->DestinationY = 6;
  Perform(11, leader);
  EXPECT_EQ(leader->Info->Status & (1u << 19), 0u);
  auto* police = PutUnit<Police>(2, CLogic::kPolicePlayer, 8, 8);
  police->Info->Status |= 1u << 19;
  Perform(11, police);
  EXPECT_EQ(police->Info->Status & (1u << 19), 0u);

  logic.EmptyPlan();
  auto* bank = Put<YLTBank>(3, 12, 12);
  auto* suit = Add<YLUnitSuit>(4, 0, 12, 12);
  suit->Info->Owner = 1;
  suit->GetUnitInfo()->Ammo = 1;
  bank->Enter(suit);
  suit->DestinationX = 12;
  suit->DestinationY = 12;
  EXPECT_TRUE(Perform(11, suit));
  EXPECT_EQ(PlannedWeapon(), Slot(WeaponSlot::kSafeCracker));
  logic.EmptyPlan();
  suit->GetUnitInfo()->Ammo = 1;
  EXPECT_FALSE(Perform(11, suit));
  EXPECT_TRUE(PlanIsEmpty());
}

}  // namespace
}  // namespace logic_world_testing
