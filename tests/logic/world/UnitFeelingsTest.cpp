// A unit's feelings, perception, blows, arrest, consciousness cycle and a
// civilian's own choices.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "LogicMapFixture.h"
#include "LogicWorldFixture.h"
#include "base/Random.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTContainerThing.h"
#include "navigation/YLKnowledgeMap.h"

namespace logic_world_testing {
namespace {

constexpr int32_t kShopAction = 12;

// A unit whose fighting power and police answer the test chooses, and that
// writes down its slow steps.
class FeelingUnit : public TestUnit {
 public:
  float GetDamage() const override { return power; }
  bool IsPolice() const override { return police; }
  void Evolve() override {
    evolved.push_back(static_cast<int32_t>(GetLogic()->Time));
    TestUnit::Evolve();
  }
  float power = 0.0f;
  bool police = false;
  std::vector<int32_t> evolved;
};

// A building: a container with a building record that admits units as the
// test says.
class TestBuilding : public YLTContainerThing {
 public:
  bool CanEnter(YLUnit*) const override { return admits; }
  bool admits = true;

 protected:
  ThingInfo* MakeInfo() const override { return new BuildingInfo; }
};

// Records what units say.
class SpeechListener : public YLEventListener {
 public:
  void EventSpeech(int32_t owner, int32_t id, int32_t message, int32_t value) override {
    said.push_back({owner, id, message, value});
  }
  std::vector<std::vector<int32_t>> said;
};

class UnitFeelingsTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    YLUnit::InitMoveTable();
    logic.Players.reset(new LumoObjects(true));
    logic.CreatePlayer(1);
    logic.CreatePlayer(2);
    logic.CreatePlayer(CLogic::kPolicePlayer);
    logic.Propagators.reset(new LumoObjects(true));
    ASSERT_TRUE(logic.AddListener(&speech));
    SetRandomSeed(4242);
  }

  SpeechListener speech;

  FeelingUnit* Unit(int32_t id, int32_t owner, int32_t x = 5, int32_t y = 5) {
    auto* unit = Add<FeelingUnit>(id, 0, x, y);
    unit->Info->Owner = owner;
    return unit;
  }

  TestBuilding* Building(int32_t id, int32_t x, int32_t y, int32_t owner = 0, int32_t type = 1) {
    auto* building = Add<TestBuilding>(id, 0, x, y);
    building->Info->Owner = owner;
    building->Info->BuildingType = type;
    return building;
  }

  static UnitInfo& Of(YLUnit* unit) { return *unit->GetUnitInfo(); }
  int32_t Param(int32_t player, ParamEnum param) { return logic.GetPlayer(player)->GetParam(param); }
};

// ---- Feelings ----

TEST_F(UnitFeelingsTest, FeelingsOfOneSlowStep) {
  struct Case {
    float fear, anger, beer, cons, stamina;
    float fearAfter, angerAfter, beerAfter, consAfter, staminaAfter;
  };
  const Case cases[] = {
      // Without beer fear and anger fall 5 %; stamina comes back 0.8 % of what is missing.
      {0.8f, 0.4f, 0.0f, 1.0f, 0.5f, 0.8f * 0.95f, 0.4f * 0.95f, 0.0f, 1.0f, 0.5f + 0.5f * 0.8f * 0.01f},
      // Beer calms the fear, stirs the anger and dulls the mind.
      {0.5f, 0.5f, 0.5f, 1.0f, 1.0f, 0.5f * 0.95f - 0.499f * 0.1f, 0.5f * 0.95f + 0.499f * 0.08f, 0.499f,
       1.0f - 1.0f * 0.499f * 0.001f, 1.0f},
      // Fear does not go below 0, anger not above 1.
      {0.01f, 0.99f, 1.0f, 0.5f, 1.0f, 0.0f, 1.0f, 0.999f, 0.5f - 0.5f * 0.999f * 0.001f, 1.0f},
  };
  int32_t id = 5;
  for (const Case& entry : cases) {
    FeelingUnit* unit = Unit(id++, 1);
    UnitInfo& info = Of(unit);
    info.Fear = entry.fear;
    info.Anger = entry.anger;
    info.Beer = entry.beer;
    info.Cons = entry.cons;
    info.Stamina = entry.stamina;
    unit->UpdateFeelings();
    EXPECT_EQ(info.Fear, entry.fearAfter) << entry.fear;
    EXPECT_EQ(info.Anger, entry.angerAfter) << entry.anger;
    EXPECT_EQ(info.Beer, entry.beerAfter) << entry.beer;
    EXPECT_EQ(info.Cons, entry.consAfter) << entry.cons;
    EXPECT_EQ(info.Stamina, entry.staminaAfter) << entry.stamina;
  }
}

TEST_F(UnitFeelingsTest, DopeGivesStaminaWearsOffAndOverdosesAt115) {
  // The dose that is exactly 1.15 after its decrement.
  float exact = 1.151f;
  while (exact - 0.001f < 1.15f) {
    exact = std::nextafter(exact, 2.0f);
  }
  while (exact - 0.001f > 1.15f) {
    exact = std::nextafter(exact, 0.0f);
  }
  ASSERT_EQ(exact - 0.001f, 1.15f);
  const float belowOverdose = 1.149f + 0.001f;

  FeelingUnit* tired = Unit(5, 1);
  Of(tired).Stamina = 0.5f;
  Of(tired).Dope = 0.5f;
  tired->UpdateFeelings();
  EXPECT_EQ(Of(tired).Stamina, 0.5f + 0.5f * 0.8f * 0.01f + 0.5f * 0.2f);
  EXPECT_EQ(Of(tired).Dope, 0.5f - 0.001f);
  Of(tired).Dope = 0.001f;
  tired->UpdateFeelings();
  EXPECT_EQ(Of(tired).Dope, 0.0f);

  FeelingUnit* clamped = Unit(6, 1);
  Of(clamped).Dope = belowOverdose;
  clamped->UpdateFeelings();
  EXPECT_EQ(Of(clamped).Dope, 1.0f);
  EXPECT_TRUE(clamped->Info->Status & StatusAlive);
  EXPECT_EQ(Param(1, ParamUnitsLost), 0);

  FeelingUnit* overdosed = Unit(7, 1);
  Of(overdosed).Dope = exact;
  overdosed->UpdateFeelings();
  EXPECT_FALSE(overdosed->Info->Status & StatusAlive);
  EXPECT_EQ(overdosed->Info->Hp, 0.0f);
  EXPECT_EQ(Param(1, ParamUnitsLost), 1);
  EXPECT_EQ(Param(1, ParamTeamKills), 1);

  // A civilian's overdose counts for nobody (owner 0 names no player).
  FeelingUnit* civilian = Unit(8, 0);
  Of(civilian).Dope = 1.3f;
  civilian->UpdateFeelings();
  EXPECT_FALSE(civilian->Info->Status & StatusAlive);
  for (int32_t player : {1, 2, CLogic::kPolicePlayer}) {
    EXPECT_EQ(Param(player, ParamUnitsLost), player == 1 ? 1 : 0);
  }
}

TEST_F(UnitFeelingsTest, BeerFillsUpToOne) {
  FeelingUnit* unit = Unit(5, 1);
  unit->DrinkBeer(3);
  EXPECT_EQ(Of(unit).Beer, 3.0f * 0.02f * 2.0f);
  unit->DrinkBeer(100);
  EXPECT_EQ(Of(unit).Beer, 1.0f);
}

// ---- Perception ----

TEST_F(UnitFeelingsTest, ACivilianFearsUnitsOfPlayersButNotPoliceOrCivilians) {
  FeelingUnit* civilian = Unit(5, 0, 5, 5);
  FeelingUnit* supporter = Unit(6, 1, 9, 5);  // 4 cells away
  FeelingUnit* policeman = Unit(7, CLogic::kPolicePlayer, 5, 7);
  FeelingUnit* other = Unit(8, 0, 6, 5);
  for (FeelingUnit* unit : {supporter, policeman, other}) {
    unit->power = 0.5f;
    civilian->AddNeighbour(unit->GetTid());
  }
  civilian->AddNeighbour(0xFFF2);  // a blocked direction is no unit
  civilian->UpdatePerception();
  const float w = 0.5f * 1.0f / 4.0f;
  EXPECT_EQ(Of(civilian).Fear, 4.0f * w);
  EXPECT_EQ(Of(civilian).Carefulness, w);
}

TEST_F(UnitFeelingsTest, AnOwnedUnitWeighsFriendsEnemiesAndPolice) {
  struct Case {
    const char* what;
    int32_t owner;
    bool police;
    float anger;
    float fear, carefulness;
  };
  const float w = 0.5f / 2.0f;  // power 0.5, full health, 2 cells
  const float enemyCare = w;
  const float policeCare = w + (1.0f - w) * (4.0f * w);
  const Case cases[] = {
      {"friend", 1, false, 0.4f, 0.0f, 0.0f},
      {"enemy", 2, false, 0.4f, 0.4f * w * 5.0f, enemyCare},
      {"police", CLogic::kPolicePlayer, true, 0.4f, (0.4f * w * 5.0f + 0.4f * w * 2.0f) / 2.0f, policeCare},
  };
  int32_t id = 10;
  for (const Case& entry : cases) {
    FeelingUnit* unit = Unit(id, 1, 5, 5);
    FeelingUnit* seen = Unit(id + 1, entry.owner, 7, 5);
    seen->power = 0.5f;
    seen->police = entry.police;
    Of(seen).Anger = entry.anger;
    unit->AddNeighbour(id + 1);
    id += 2;
    unit->UpdatePerception();
    EXPECT_FLOAT_EQ(Of(unit).Fear, entry.fear) << entry.what;
    EXPECT_FLOAT_EQ(Of(unit).Carefulness, entry.carefulness) << entry.what;
  }

  // Friends lower the carefulness, not below 0; fear is never lowered here.
  FeelingUnit* unit = Unit(5, 1, 5, 5);
  unit->power = 0.2f;
  Of(unit).Fear = 0.9f;
  FeelingUnit* enemy = Unit(6, 2, 6, 5);
  enemy->power = 0.1f;
  FeelingUnit* mate = Unit(7, 1, 4, 5);
  mate->power = 0.5f;
  unit->AddNeighbour(6);
  unit->AddNeighbour(7);
  unit->UpdatePerception();
  EXPECT_EQ(Of(unit).Carefulness, 0.0f);
  EXPECT_EQ(Of(unit).Fear, 0.9f);
}

// ---- Blows ----

TEST_F(UnitFeelingsTest, DamageStunAndFrightFollowTheirFormulas) {
  struct Case {
    float armor, dope, fear, amount;
  };
  const Case cases[] = {{0.0f, 0.0f, 0.0f, 0.1f}, {0.3f, 0.5f, 0.5f, 0.2f}, {0.1f, 1.0f, 0.9f, 0.01f}};
  int32_t id = 5;
  for (const Case& entry : cases) {
    FeelingUnit* unit = Unit(id++, 1);
    UnitInfo& info = Of(unit);
    info.Armor = entry.armor;
    info.Dope = entry.dope;
    info.Fear = entry.fear;
    unit->TakeDamage(entry.amount);
    EXPECT_EQ(info.Hp, 1.0f - (1.0f - entry.armor) * (entry.amount * (1.0f - entry.armor) * (2.0f - entry.dope) * 0.5f));
    unit->Stun(entry.amount);
    EXPECT_EQ(info.Cons, 1.0f - (1.0f - entry.armor) * (1.0f - entry.dope) * entry.amount);
    unit->Frighten(entry.amount, 0);
    EXPECT_EQ(info.Fear, entry.fear + 2.0f * (1.0f - entry.fear) * entry.amount);
  }
}

TEST_F(UnitFeelingsTest, AHardBlowHurtsAStandingUnitAndKeepsItsBrainBusy) {
  FeelingUnit* unit = Unit(5, 1);
  unit->Stun(0.5f);
  EXPECT_EQ(unit->Info->MoveNumber, YLUnit::kMoveHurt);
  EXPECT_EQ(unit->Busy, unit->GetMoveInfo(YLUnit::kMoveHurt)->GetMoveTime(unit->Info->Gfx, unit->Info->Ori));
  ASSERT_FALSE(listener.actions.empty());
  EXPECT_EQ(listener.actions.back().move, "MoveHurt");

  // A light blow, or a walking unit, keeps its move.
  FeelingUnit* walker = Unit(6, 1);
  walker->StartMove(walker->GetMoveInfo(YLUnit::kMoveWalk));
  walker->Stun(0.5f);
  EXPECT_EQ(walker->Info->MoveNumber, YLUnit::kMoveWalk);
  FeelingUnit* touched = Unit(7, 1);
  touched->Stun(0.02f);
  EXPECT_EQ(touched->Info->MoveNumber, YLUnit::kMoveRest);

  // No blow reaches an arrested unit or one below 0.
  FeelingUnit* held = Unit(8, 1);
  held->Info->Status |= YLUnit::kStatusArrested;
  held->Stun(0.5f);
  EXPECT_EQ(Of(held).Cons, 1.0f);
}

TEST_F(UnitFeelingsTest, AFrightWithASourceIsSaid) {
  FeelingUnit* unit = Unit(5, 1);
  unit->Frighten(0.1f, 9);
  unit->Frighten(0.1f, 0);
  unit->HitByThrow(0.1f, 3, 3);
  EXPECT_EQ(speech.said, (std::vector<std::vector<int32_t>>{{1, 5, 5, 9}}));
  float fear = 0.0f;
  for (int32_t blow = 0; blow < 3; ++blow) {
    fear += 2.0f * (1.0f - fear) * 0.1f;
  }
  EXPECT_EQ(Of(unit).Fear, fear);
  // A unit lying down is not frightened.
  unit->Info->Status &= ~static_cast<uint32_t>(StatusUpright);
  unit->Frighten(0.5f, 9);
  EXPECT_EQ(Of(unit).Fear, fear);
  EXPECT_EQ(speech.said.size(), 1u);
}

TEST_F(UnitFeelingsTest, ANewUnitsRecordAndItsSupplies) {
  FeelingUnit* unit = Unit(5, 1);
  const UnitInfo& info = Of(unit);
  EXPECT_EQ(info.Status, 0x1001u);
  EXPECT_EQ(info.Ori, 7);
  EXPECT_EQ(info.Hp, 1.0f);
  EXPECT_EQ(info.Cons, 1.0f);
  EXPECT_EQ(info.Loyalty, 0.75f);
  EXPECT_EQ(info.Stamina, 1.0f);
  EXPECT_EQ(info.Situation, 1);
  EXPECT_EQ(info.Fear + info.Anger + info.Beer + info.Dope + info.Carefulness, 0.0f);
  EXPECT_EQ(info.Ammo, 0);

  EXPECT_FALSE(unit->UseAmmo());
  unit->AddAmmo(2);
  EXPECT_TRUE(unit->UseAmmo());
  EXPECT_EQ(Of(unit).Ammo, 1);
  unit->SetAmmo(7);
  EXPECT_EQ(Of(unit).Ammo, 7);
  // A stored count may hold any value: counting wraps as 32-bit values do.
  unit->SetAmmo(INT32_MIN);
  EXPECT_TRUE(unit->UseAmmo());
  EXPECT_EQ(Of(unit).Ammo, INT32_MAX);
  unit->AddAmmo(1);
  EXPECT_EQ(Of(unit).Ammo, INT32_MIN);
  EXPECT_FALSE(unit->CarriesCup());
  unit->TakeCup();
  EXPECT_TRUE(unit->CarriesCup());
  unit->DropCup();
  EXPECT_FALSE(unit->CarriesCup());

  EXPECT_FALSE(unit->IsOnBit22Cell());
  Grid().SetCell(5, 5, Grid().GetCell(5, 5) | YLKnowledgeMap::kMarkC);
  EXPECT_TRUE(unit->IsOnBit22Cell());
  EXPECT_FALSE(unit->HasActivePlan());
}

TEST_F(UnitFeelingsTest, WearingOutAndReinitialising) {
  FeelingUnit* unit = Unit(5, 1);
  Of(unit).Dope = 0.5f;
  unit->WearOut();
  EXPECT_EQ(Of(unit).Cons, 1.0f - (1.0f - 0.5f) * 0.02f);
  unit->Info->Status |= YLUnit::kStatusArrested;
  unit->WearOut();
  EXPECT_EQ(Of(unit).Cons, 1.0f - (1.0f - 0.5f) * 0.02f);

  const struct {
    int32_t type;
    float armor;
  } cases[] = {{1, 0.0f}, {2, 0.05f}, {3, 0.5f}, {5, 0.3f}, {6, 0.35f}, {7, 0.15f}, {9, 0.25f}, {10, 0.2f}, {12, 0.1f}, {13, 0.5f}};
  int32_t id = 10;
  for (const auto& entry : cases) {
    FeelingUnit* released = Unit(id++, 1);
    released->Info->Gfx = entry.type;
    released->Info->Armor = 0.5f;
    released->Frustration = 0.7f;
    released->DestinationX = 4;
    released->Reinitialise();
    EXPECT_EQ(released->Info->Armor, entry.armor) << entry.type;
    EXPECT_EQ(Of(released).Loyalty, 1.1f);
    EXPECT_EQ(released->Frustration, 0.0f);
    EXPECT_EQ(released->DestinationX, 0);
  }
}

// ---- Arrest ----

TEST_F(UnitFeelingsTest, AnArrestCountsForTheOwnerAndThePoliceAndResetsTheUnit) {
  FeelingUnit* unit = Unit(5, 2);
  Of(unit).Anger = 0.7f;
  Of(unit).Fear = 0.6f;
  Of(unit).Weapon = 2;
  Of(unit).Ammo = 4;
  Of(unit).Cons = 0.4f;
  unit->BeArrested();
  EXPECT_EQ(Param(2, ParamArrests), 1);
  EXPECT_EQ(Param(CLogic::kPolicePlayer, ParamArrests), 1);
  EXPECT_EQ(Of(unit).Anger, 0.0f);
  EXPECT_EQ(Of(unit).Fear, 0.0f);
  EXPECT_EQ(Of(unit).Weapon, 0);
  EXPECT_EQ(Of(unit).Ammo, 0);
  EXPECT_EQ(Of(unit).Cons, 1.0f);
  EXPECT_EQ(Of(unit).Carefulness, 1.0f);
  EXPECT_TRUE(unit->Info->Status & YLUnit::kStatusArrested);

  unit->ExecutePlan(new PsychicPlanGoto(9, 9, 1.0f, false));
  EXPECT_EQ(unit->Plan.child, nullptr);
  unit->ExecutePlan(new PsychicPlanJailed(1, 0, 1.0f, false));
  ASSERT_NE(unit->Plan.child, nullptr);
  EXPECT_EQ(unit->Plan.child->Action, OrderKind::kJailed);

  // A civilian's arrest reaches no player.
  FeelingUnit* civilian = Unit(6, 0);
  civilian->BeArrested();
  EXPECT_EQ(Param(CLogic::kPolicePlayer, ParamArrests), 1);
  EXPECT_TRUE(civilian->Info->Status & YLUnit::kStatusArrested);
}

// ---- Consciousness in the logic's frame ----

TEST_F(UnitFeelingsTest, AKnockedOutUnitFallsLiesAndGetsUpAtHalfConsciousness) {
  logic.Initialised = true;
  FeelingUnit* unit = Unit(5, 1);
  Map().PlaceThing(unit);
  Of(unit).Cons = 0.049f - 0.001f;
  ASSERT_TRUE(logic.Compute());
  EXPECT_FALSE(unit->Info->Status & StatusUpright);
  Of(unit).Cons = 0.05f;
  listener.actions.clear();
  int32_t frames = 0;
  while (!(unit->Info->Status & StatusUpright) && frames < 1000) {
    ASSERT_TRUE(logic.Compute());
    ++frames;
  }
  // 0.001 at a time in float arithmetic from 0.05 reaches 0.5 on the 451st frame.
  EXPECT_EQ(frames, 451);
  ASSERT_GE(listener.actions.size(), 3u);
  EXPECT_EQ(listener.actions[0].move, "MoveFall");
  EXPECT_EQ(listener.actions[1].move, "MoveOut");
  EXPECT_EQ(listener.actions.back().move, "MoveRest");
  EXPECT_EQ(unit->Info->Z, 0);
}

TEST_F(UnitFeelingsTest, AUnitWithoutHitPointsFallsThenLiesAndStaysInTheTable) {
  logic.Initialised = true;
  FeelingUnit* unit = Unit(5, 1);
  Map().PlaceThing(unit);
  unit->Plan.AddChild(new PsychicPlanGoto(9, 9, 1.0f, false));
  unit->Info->Hp = 0.0f;
  EXPECT_FALSE(unit->Propagate());
  EXPECT_EQ(unit->Info->MoveNumber, YLUnit::kMoveFall);
  EXPECT_EQ(unit->Plan.child, nullptr);
  EXPECT_TRUE(unit->Info->Status & YLUnit::kStatusPlanReplaced);
  for (int32_t frame = 0; frame < 40; ++frame) {
    EXPECT_FALSE(unit->Propagate());
  }
  EXPECT_EQ(unit->Info->MoveNumber, YLUnit::kMoveOut);
  EXPECT_EQ(unit->Info->Z, -1);
  EXPECT_EQ(logic.GetThing(5), unit);
}

TEST_F(UnitFeelingsTest, UnitsWithIdsEqualModuloTwelveEvolveOnTheSameFrames) {
  logic.Initialised = true;
  FeelingUnit* first = Unit(5, 1, 3, 3);
  FeelingUnit* second = Unit(17, 1, 12, 12);
  FeelingUnit* third = Unit(6, 1, 15, 3);
  for (int32_t frame = 0; frame < 40; ++frame) {
    ASSERT_TRUE(logic.Compute());
  }
  EXPECT_EQ(first->evolved, (std::vector<int32_t>{7, 19, 31}));
  EXPECT_EQ(second->evolved, first->evolved);
  EXPECT_EQ(third->evolved, (std::vector<int32_t>{6, 18, 30}));
}

TEST_F(UnitFeelingsTest, ASwitchedOffUnitDoesNotEvolve) {
  FeelingUnit* unit = Unit(5, 1);
  Of(unit).Fear = 0.5f;
  unit->Info->Status |= YLUnit::kStatusSwitchedOff;
  unit->YLUnit::Evolve();
  EXPECT_EQ(Of(unit).Fear, 0.5f);
}

// ---- A civilian's choices ----

TEST_F(UnitFeelingsTest, ACivilianWaitsInANeutralBuildingThenShopsInAnotherThatIsNoBank) {
  TestBuilding* home = Building(1, 2, 2);
  Building(2, 8, 8, 0, 12);  // a bank
  Building(3, 14, 14);
  FeelingUnit* civilian = Unit(4, 0);
  home->Enter(civilian);
  ASSERT_EQ(civilian->GetContainer(), home);
  int32_t steps = 0;
  while (civilian->Plan.child == nullptr && steps < 100) {
    civilian->ComputeIntentions();
    ++steps;
  }
  // 0.06 at a time passes 0.93 on the 16th step.
  EXPECT_EQ(steps, 16);
  EXPECT_EQ(civilian->Frustration, 0.0f);
  const PsychicPlanItem* enter = civilian->Plan.child;
  ASSERT_NE(enter, nullptr);
  EXPECT_EQ(enter->Action, OrderKind::kEnter);
  EXPECT_EQ(enter->Param1, 3);
  EXPECT_EQ(enter->Motivation, 0.4f);
  ASSERT_NE(enter->queue, nullptr);
  EXPECT_EQ(enter->queue->Action, kShopAction);
  EXPECT_EQ(enter->queue->Param1, 3);
  EXPECT_EQ(enter->queue->Motivation, Of(civilian).Loyalty);
}

TEST_F(UnitFeelingsTest, TheShoppingTriggerKeepsACivilianHome) {
  Building(1, 2, 2);
  Building(3, 14, 14);
  FeelingUnit* civilian = Unit(4, 0);
  civilian->Info->Status |= YLUnit::kStatusNoShopping;
  for (int32_t step = 0; step < 100; ++step) {
    civilian->ComputeIntentions();
  }
  EXPECT_EQ(civilian->Frustration, 0.0f);
  for (const PsychicPlanItem* step = civilian->Plan.child; step != nullptr; step = step->queue) {
    EXPECT_NE(step->Action, OrderKind::kEnter);
  }
}

TEST_F(UnitFeelingsTest, ARefusedDoorMakesACivilianTryTheFirstBuildingThatAdmitsIt) {
  TestBuilding* full = Building(1, 2, 2);
  full->admits = false;
  TestBuilding* closed = Building(2, 8, 8);
  closed->admits = false;
  Building(3, 14, 14);
  Building(6, 16, 16);
  FeelingUnit* civilian = Unit(4, 0);
  auto* door = new PsychicPlanEnter(1, 0, 0.4f, false);
  door->Expandable = false;
  civilian->Plan.AddChild(door);
  ASSERT_EQ(civilian->GetPlanLeaf(), door);
  for (int32_t id : {5, 2, 6, 3}) {
    civilian->AddNeighbour(id);
  }
  civilian->ComputePlanning();
  const PsychicPlanItem* leaf = civilian->Plan.child;
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->queue, nullptr);
  EXPECT_EQ(leaf->Action, OrderKind::kEnter);
  EXPECT_EQ(leaf->Param1, 6);
  EXPECT_EQ(leaf->Motivation, 0.75f);
}

TEST_F(UnitFeelingsTest, AboutOneSlowStepInFiftyACivilianOnTheMapIdles) {
  int32_t idled = 0;
  constexpr int32_t kSteps = 5000;
  FeelingUnit* civilian = Unit(4, 0);
  civilian->Info->Status |= YLUnit::kStatusNoShopping;
  for (int32_t step = 0; step < kSteps; ++step) {
    civilian->ComputeIntentions();
    if (civilian->Plan.child != nullptr) {
      EXPECT_EQ(civilian->Plan.child->Action, OrderKind::kAmbient);
      EXPECT_EQ(civilian->Plan.child->Motivation, 1.0f);
      ++idled;
      civilian->ClearPlan();
    }
  }
  EXPECT_GT(idled, kSteps / 100);
  EXPECT_LT(idled, kSteps * 3 / 100);
}

}  // namespace
}  // namespace logic_world_testing
