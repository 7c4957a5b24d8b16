// A unit's steering: its obstacle model, the choice and start of a move,
// going toward a cell, making way, reflexes, fleeing, fighting back, stepping
// aside, entering and leaving.

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "LogicMapFixture.h"
#include "base/Random.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnit.h"

namespace logic_world_testing {
namespace {

// Every slot has its body now: a plain unit can be made.
static_assert(!std::is_abstract_v<YLUnit>);

// A unit with a fighting power of the test's choosing, which can also write
// down where it was sent instead of steering there.
class SteeringUnit : public YLUnit {
 public:
  float GetDamage() const override { return power; }
  int32_t DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrival) override {
    if (!recordGoto) {
      return YLUnit::DoGoto(motivation, x, y, fast, arrival);
    }
    gotos.push_back({x, y, fast ? 1 : 0, arrival});
    return kMoveRest;
  }
  float power = 1.0f;
  bool recordGoto = false;
  std::vector<std::vector<int32_t>> gotos;
};

class TestContainer : public YLTContainerThing {};

class UnitSteeringTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    YLUnit::InitMoveTable();
  }

  SteeringUnit* Unit(int32_t id, int32_t x, int32_t y, int32_t facing = 0, int32_t owner = 1) {
    SteeringUnit* unit = Put<SteeringUnit>(id, x, y);
    unit->Info->Ori = static_cast<uint8_t>(facing);
    unit->Info->Owner = owner;
    return unit;
  }

  // The stimuli a unit holds, as (source, kind, strength x 100).
  static std::vector<std::vector<int32_t>> Stimuli(const YLUnit& unit) {
    std::vector<std::vector<int32_t>> all;
    for (int32_t i = 0; i < unit.GetStimulusCount(); ++i) {
      const LumoBrain::Stimulus* s = unit.GetStimulus(i);
      all.push_back({s->source, s->kind, static_cast<int32_t>(s->strength * 100.0f + 0.5f)});
    }
    return all;
  }

  // A seed whose draw at position `index` (0 first) lies above 0.5 or not.
  static uint32_t SeedWithDraw(int32_t index, bool above) {
    for (uint32_t seed = 1;; ++seed) {
      SetRandomSeed(seed);
      double r = 0.0;
      for (int32_t i = 0; i <= index; ++i) {
        r = RandomFloat();
      }
      if ((r > 0.5) == above) {
        return seed;
      }
    }
  }
};

// ---- Obstacle model, relations, desire ----

TEST_F(UnitSteeringTest, TheObstacleModelMarksFreeNeighbourCells) {
  SteeringUnit* unit = Unit(1, 10, 10);
  Unit(2, 11, 10);                       // east: a unit
  Grid().SetOccupied(10, 11, true);      // south: blocked
  unit->ComputeUpdateModel();
  const float expected[8] = {1, 1, 0, 1, 0, 1, 1, 1};
  for (int32_t d = 0; d < 8; ++d) {
    EXPECT_EQ(unit->ObstacleMap[d], expected[d]) << d;
  }
  unit->GetUnitInfo()->Situation = 3;  // nowhere a unit steers
  unit->ComputeUpdateModel();
  for (float value : unit->ObstacleMap) {
    EXPECT_EQ(value, 0.0f);
  }
}

TEST_F(UnitSteeringTest, RelationDistanceAndDirectionOfThingsAndCodes) {
  SteeringUnit* unit = Unit(1, 10, 10, 0, 1);
  Unit(2, 13, 10, 0, 1);
  Unit(3, 10, 5, 0, 2);
  Unit(4, 7, 10, 0, 0);
  EXPECT_EQ(unit->GetRelation(2), 1);
  EXPECT_EQ(unit->GetRelation(3), -1);
  EXPECT_EQ(unit->GetRelation(4), 0);
  EXPECT_EQ(unit->GetRelation(0xFFF2), 0);
  EXPECT_EQ(unit->GetRelation(40), 0);
  EXPECT_EQ(unit->GetDistanceTo(2), 3);
  EXPECT_EQ(unit->GetDistanceTo(3), 5);
  EXPECT_EQ(unit->GetDistanceTo(0xFFF4), 1);
  EXPECT_EQ(unit->GetDirectionTo(2, 0), 2);
  EXPECT_EQ(unit->GetDirectionTo(3, 2), -2);
  EXPECT_EQ(unit->GetDirectionTo(0xFFF2, 7), 3);
  EXPECT_EQ(unit->GetDirectionTo(0xFFF2, 6), -4);
}

TEST_F(UnitSteeringTest, ABlockedCellToTheWestIsTwoCounterClockwiseForAUnitFacingNorth) {
  SteeringUnit* unit = Unit(1, 10, 10, 0);
  Grid().SetOccupied(9, 10, true);
  tCollection<int32_t> list;
  Map().CollectObstacles(unit, 0, list);
  ASSERT_EQ(list.count, 1);
  EXPECT_EQ(unit->GetDirectionTo(list.items[0], 0), -2);
  EXPECT_EQ(unit->GetDirectionTo(list.items[0], 4), 2);
}

TEST_F(UnitSteeringTest, DesireFarAwayFallsWithTheTurnAndNearByTheDistance) {
  SteeringUnit* unit = Unit(1, 5, 5);
  float desire[8] = {};
  unit->GetDesire(desire, 15, 5);  // far, due east
  const float far[8] = {1.0f / 3, 0.5f, 1.0f, 0.5f, 1.0f / 3, 0.25f, 0.0f, 0.25f};
  for (int32_t d = 0; d < 8; ++d) {
    EXPECT_FLOAT_EQ(desire[d], far[d]) << d;
  }
  unit->GetDesire(desire, 7, 5);  // two cells east
  const float near[8] = {0.5f, 1.0f, 1.0f, 1.0f, 0.5f, 1.0f / 3, 1.0f / 3, 1.0f / 3};
  for (int32_t d = 0; d < 8; ++d) {
    EXPECT_FLOAT_EQ(desire[d], near[d]) << d;
  }
  unit->GetDesire(desire, 6, 6);  // a neighbour on the target: only it
  for (int32_t d = 0; d < 8; ++d) {
    EXPECT_FLOAT_EQ(desire[d], d == 3 ? 1.0f : 0.0f) << d;
  }
}

TEST_F(UnitSteeringTest, LocalForceAddsOwnAndTakesOffOtherOwnedPower) {
  SteeringUnit* unit = Unit(1, 10, 10, 0, 1);
  Unit(2, 10, 8, 0, 1)->power = 2.0f;     // own, in the 3x3 north of the north cell
  Unit(3, 11, 8, 0, 2)->power = 0.5f;     // other owner
  Unit(4, 9, 8, 0, 0)->power = 9.0f;      // no owner: not counted
  SteeringUnit* lying = Unit(5, 9, 9, 0, 2);
  lying->power = 9.0f;
  lying->StartMove(lying->GetMoveInfo(YLUnit::kMoveOut));
  EXPECT_FLOAT_EQ(unit->GetLocalForce(0, -1), 1.5f);
  EXPECT_FLOAT_EQ(unit->GetLocalForce(0, 1), 0.0f);  // the unit itself is not counted
}

// ---- The choice of a move ----

TEST_F(UnitSteeringTest, OnBrainMoveTable) {
  const struct {
    const char* name;
    int32_t code;
    int32_t current;
    int32_t situation;
    float stamina;
    float walkCost;
    bool blockedAhead;
    int32_t frames;      // -1: the duration of the heard move
    int32_t heard;       // -1: nothing announced
    int32_t situationAfter;
  } cases[] = {
      {"reached", 32, 0, 1, 1.0f, -0.005f, false, 1, -1, 1},
      {"reached later", 40, 2, 1, 1.0f, -0.005f, false, 1, -1, 1},
      {"resting on", 0, 0, 1, 1.0f, -0.005f, false, 2, -1, 1},
      {"lying on", 18, 18, 1, 1.0f, -0.005f, false, 6, -1, 1},
      {"rest", 0, 2, 1, 1.0f, -0.005f, false, -1, 0, 1},
      {"run from leg 1", 3, 0, 1, 1.0f, -0.005f, false, -1, 4, 2},
      {"run from leg 2", 3, 0, 2, 1.0f, -0.005f, false, -1, 3, 1},
      {"run in a vehicle", 3, 0, 5, 1.0f, -0.005f, false, -1, 3, 5},
      {"run elsewhere", 3, 0, 6, 1.0f, -0.005f, false, -1, 0, 6},
      {"tired run walks", 3, 0, 2, 0.0f, -0.005f, false, -1, 2, 1},
      {"tired costly walk rests", 2, 0, 1, 0.0f, 0.01f, false, -1, 0, 1},
      {"refused walk rests", 2, 0, 1, 1.0f, -0.005f, true, -1, 0, 1},
  };
  int32_t id = 1;
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    SteeringUnit* unit = Unit(id++, 10, 10, 2);
    UnitInfo* info = unit->GetUnitInfo();
    unit->StartMove(unit->GetMoveInfo(entry.current));
    info->Situation = entry.situation;
    info->Stamina = entry.stamina;
    unit->GetMoveInfo(YLUnit::kMoveWalk)->stamina = entry.walkCost;
    if (entry.blockedAhead) {
      Grid().SetOccupied(11, 10, true);
    }
    listener.actions.clear();
    const int32_t frames = unit->OnBrainMove(entry.code);
    EXPECT_EQ(info->Situation, entry.situationAfter);
    if (entry.heard < 0) {
      EXPECT_TRUE(listener.actions.empty());
      EXPECT_EQ(frames, entry.frames);
    } else {
      ASSERT_EQ(listener.actions.size(), 1u);
      const HeardAction& heard = listener.actions[0];
      EXPECT_EQ(info->MoveNumber, entry.heard);
      const MoveInfo* move = unit->GetMoveInfo(entry.heard);
      EXPECT_EQ(heard.code, move->code);
      EXPECT_EQ(frames, move->GetMoveTime(info->Gfx, info->Ori));
      // The announced step is where the unit now stands.
      EXPECT_EQ(heard.x, info->X);
      EXPECT_EQ(heard.y, info->Y);
      EXPECT_EQ(heard.facing, info->Ori);
      const bool steps = entry.heard >= 2 && entry.heard <= 4;
      EXPECT_EQ(info->X, steps ? 11 : 10);
      EXPECT_LE(info->Stamina, 1.0f);
      EXPECT_GE(info->Stamina, 0.0f);
    }
    Grid().SetOccupied(11, 10, false);
    Map().RemoveThing(unit);
  }
  YLUnit::InitMoveTable();
}

TEST_F(UnitSteeringTest, RunLegsAlternateAndStaminaStaysAtMostOne) {
  SteeringUnit* unit = Unit(1, 2, 10, 2);
  UnitInfo* info = unit->GetUnitInfo();
  std::vector<int32_t> legs;
  for (int32_t i = 0; i < 4; ++i) {
    unit->OnBrainMove(YLUnit::kMoveRun);
    legs.push_back(info->MoveNumber);
  }
  EXPECT_EQ(legs, (std::vector<int32_t>{4, 3, 4, 3}));
  EXPECT_EQ(info->X, 6);
  info->Stamina = 1.0f;
  unit->OnBrainMove(YLUnit::kMoveWalk);  // walking gives stamina back
  EXPECT_EQ(info->Stamina, 1.0f);
}

// ---- Steering toward a cell ----

TEST_F(UnitSteeringTest, GotoAtTheTargetIsDoneAndFastRunsSlowWalks) {
  SteeringUnit* unit = Unit(1, 5, 5, 2);
  unit->ComputeUpdateModel();
  EXPECT_EQ(unit->DoGoto(0.5f, 5, 5, false, 0), YLUnit::kReached);
  EXPECT_EQ(unit->DoGoto(0.5f, 15, 5, true, 0), YLUnit::kMoveRun);
  EXPECT_EQ(unit->DoGoto(0.5f, 15, 5, false, 0), YLUnit::kMoveWalk);
  EXPECT_EQ(unit->DoGoto(0.5f, 15, 5, false, 10), YLUnit::kReached);
  EXPECT_EQ(unit->DoGoto(0.5f, 5, 15, false, 0), YLUnit::kMoveTurnClockwise);
  EXPECT_EQ(unit->DoGoto(0.5f, 5, 1, false, 0), YLUnit::kMoveTurnCounterClockwise);
}

TEST_F(UnitSteeringTest, OneCellBeforeAnOccupiedTargetTheUnitOnlyTurns) {
  SteeringUnit* unit = Unit(1, 5, 5, 0);
  Unit(2, 5, 6);  // on the target, south
  unit->ComputeUpdateModel();
  for (bool above : {true, false}) {
    const uint32_t seed = SeedWithDraw(0, above);
    SetRandomSeed(seed);
    EXPECT_EQ(unit->DoGoto(0.5f, 5, 6, false, 0),
              above ? YLUnit::kMoveTurnClockwise : YLUnit::kMoveTurnCounterClockwise);
  }
  unit->Info->Ori = 2;
  EXPECT_EQ(unit->DoGoto(0.5f, 5, 6, false, 0), YLUnit::kMoveTurnClockwise);
  unit->Info->Ori = 4;
  EXPECT_EQ(unit->DoGoto(0.5f, 5, 6, false, 0), YLUnit::kReached);
  Grid().SetOccupied(6, 5, true);  // an occupied cell counts as well
  unit->Info->Ori = 2;
  EXPECT_EQ(unit->DoGoto(0.5f, 6, 5, false, 0), YLUnit::kReached);
}

TEST_F(UnitSteeringTest, ABlockedUnitRestsAtLowMotivationAndAboveAsksThreeRestingUnitsInFanOrder) {
  SteeringUnit* unit = Unit(1, 10, 10, 2);
  // Target due east; units in the fan east, south-east, north-east,
  // south; one walking unit north; the rest blocked.
  SteeringUnit* east = Unit(2, 11, 10);
  SteeringUnit* southEast = Unit(3, 11, 11);
  SteeringUnit* northEast = Unit(4, 11, 9);
  SteeringUnit* south = Unit(5, 10, 11);
  SteeringUnit* north = Unit(6, 10, 9);
  north->StartMove(north->GetMoveInfo(YLUnit::kMoveWalk));
  for (auto [x, y] : {std::pair{9, 9}, std::pair{9, 10}, std::pair{9, 11}}) {
    Grid().SetOccupied(x, y, true);
  }
  unit->ComputeUpdateModel();
  EXPECT_EQ(unit->DoGoto(0.3f, 20, 10, false, 0), YLUnit::kMoveRest);
  for (SteeringUnit* other : {east, southEast, northEast, south, north}) {
    EXPECT_EQ(other->GetStimulusCount(), 0);
  }
  EXPECT_EQ(unit->DoGoto(0.7f, 20, 10, false, 0), YLUnit::kMoveRest);
  using Stimuli_t = std::vector<std::vector<int32_t>>;
  EXPECT_EQ(Stimuli(*east), (Stimuli_t{{1, 3, 70}}));
  EXPECT_EQ(Stimuli(*southEast), (Stimuli_t{{1, 3, 70}}));
  EXPECT_EQ(Stimuli(*northEast), (Stimuli_t{{1, 3, 70}}));
  EXPECT_EQ(south->GetStimulusCount(), 0);
  EXPECT_EQ(north->GetStimulusCount(), 0);
}

TEST_F(UnitSteeringTest, ATieIsBrokenByASecondDraw) {
  SteeringUnit* unit = Unit(1, 10, 10, 2);
  Grid().SetOccupied(11, 10, true);  // east blocked: north-east and south-east tie
  unit->ComputeUpdateModel();
  for (bool above : {true, false}) {
    SetRandomSeed(SeedWithDraw(1, above));
    EXPECT_EQ(unit->DoGoto(0.5f, 20, 10, false, 0),
              above ? YLUnit::kMoveTurnClockwise : YLUnit::kMoveTurnCounterClockwise);
  }
  // Without a tie only r is drawn.
  Grid().SetOccupied(11, 10, false);
  unit->ComputeUpdateModel();
  SetRandomSeed(7);
  EXPECT_EQ(unit->DoGoto(0.5f, 20, 10, false, 0), YLUnit::kMoveWalk);
  const uint32_t after = GetRandomSeed();
  SetRandomSeed(7);
  RandomFloat();
  EXPECT_EQ(GetRandomSeed(), after);
}

// ---- Reflexes ----

TEST_F(UnitSteeringTest, AnOwnUnitsMakeWayPushesOneStepAsideOfThatStrength) {
  SteeringUnit* unit = Unit(1, 10, 10, 0, 1);
  Unit(2, 12, 10, 0, 1);
  Unit(3, 8, 10, 0, 2);
  unit->AddStimulus(3, 3, 0.9f);  // another owner's: ignored
  unit->AddStimulus(2, 3, 0.8f);
  unit->AddStimulus(2, 3, 0.95f);  // the step aside is already innermost
  unit->ComputeReflexes();
  const PsychicPlanItem* leaf = unit->GetPlanLeaf();
  ASSERT_EQ(leaf->Action, OrderKind::kFuckOff);
  EXPECT_FLOAT_EQ(leaf->Motivation, 0.8f);
  EXPECT_EQ(leaf->Param1, 12);
  EXPECT_EQ(leaf->Param2, 10);
  EXPECT_EQ(leaf->parent, &unit->Plan);
  EXPECT_EQ(leaf->queue, nullptr);
  EXPECT_EQ(unit->GetStimulusCount(), 0);
  unit->ComputeReflexes();
  ASSERT_NE(unit->GetCurrentMove(), nullptr);
  EXPECT_EQ(unit->GetCurrentMove()->Action, OrderKind::kFuckOff);
}

TEST_F(UnitSteeringTest, AUnitWhoseContainerLeftTheMapLeavesItOnce) {
  SteeringUnit* unit = Unit(1, 10, 10);
  auto* container = Add<TestContainer>(9, 0, 12, 12);
  Map().RemoveThing(unit);
  container->Enter(unit);
  unit->ComputeReflexes();
  EXPECT_EQ(unit->GetPlanLeaf(), &unit->Plan);
  container->Info->Status &= ~static_cast<uint32_t>(StatusAlive);
  unit->ComputeReflexes();
  unit->ComputeReflexes();
  const PsychicPlanItem* leaf = unit->GetPlanLeaf();
  ASSERT_EQ(leaf->Action, OrderKind::kLeave);
  EXPECT_EQ(leaf->Param1, 9);
  EXPECT_FLOAT_EQ(leaf->Motivation, 0.5f);
  EXPECT_EQ(leaf->queue, nullptr);
  EXPECT_EQ(unit->Plan.child, leaf);
  container->Leave(unit);
}

TEST_F(UnitSteeringTest, TheNearestEnemyCloserThanTenIsFledFrom) {
  const struct {
    float fear;
    int32_t enemyX;
    bool flees;
    float motivation;
    bool fast;
  } cases[] = {
      {0.5f, 14, true, 0.35f, false},
      {1.0f, 14, true, 0.7f, true},
      {1.0f, 20, false, 0.0f, false},
  };
  for (const auto& entry : cases) {
    Refresh();
    SteeringUnit* unit = Unit(1, 10, 10, 0, 1);
    unit->GetUnitInfo()->Fear = entry.fear;
    Unit(2, 11, 10, 0, 1);           // own: not a threat
    Unit(3, entry.enemyX, 10, 0, 2);
    Unit(4, 18, 10, 0, 2);           // farther enemy
    Unit(5, 10, 11, 0, 0);           // civilian
    for (int32_t id : {2, 0xFFF1, 3, 4, 5, 77}) {
      unit->AddNeighbour(id);
    }
    unit->DangerReflexes();
    const PsychicPlanItem* current = unit->GetCurrentMove();
    if (!entry.flees) {
      ASSERT_NE(current, nullptr);
      EXPECT_EQ(current->Param1, 4);  // the farther one, 8 away
      continue;
    }
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->Action, OrderKind::kFlee);
    EXPECT_EQ(current->Param1, 3);
    EXPECT_FLOAT_EQ(current->Motivation, entry.motivation);
    EXPECT_EQ(current->Fast, entry.fast);
  }
}

// ---- Fleeing and fighting back ----

TEST_F(UnitSteeringTest, FleeingTakesTheRelativeDirectionAsAnAbsoluteOne) {
  const struct {
    int32_t facing;
    int32_t x, y;
  } cases[] = {{0, 10, 12}, {2, 12, 10}};
  for (const auto& entry : cases) {
    Refresh();
    SteeringUnit* unit = Unit(1, 10, 10, entry.facing);
    Unit(2, 10, 7, 0, 2);  // north
    unit->recordGoto = true;
    unit->FleeFrom(0.6f, 2, true);
    ASSERT_EQ(unit->gotos.size(), 1u);
    EXPECT_EQ(unit->gotos[0], (std::vector<int32_t>{entry.x, entry.y, 1, 0})) << entry.facing;
  }
  Refresh();
  SteeringUnit* unit = Unit(1, 10, 10, 0);
  unit->recordGoto = true;
  unit->FleeFrom(0.6f, 0xFFF2, false);  // a blocked cell east
  EXPECT_EQ(unit->gotos.back(), (std::vector<int32_t>{8, 10, 0, 0}));
}

TEST_F(UnitSteeringTest, AnOutnumberedUnitTakesTheStrongestFreeDirectionAndRemembersIt) {
  SteeringUnit* unit = Unit(1, 10, 10, 0, 1);
  EXPECT_EQ(unit->StandGround(0.5f, 2, false), YLUnit::kReached);  // alone: not outnumbered
  Unit(2, 10, 8, 0, 2);
  Unit(3, 11, 8, 0, 2);
  Unit(4, 12, 12, 0, 1);  // a friend south-east
  unit->ComputeUpdateModel();
  EXPECT_EQ(unit->StandGround(0.5f, 2, false), YLUnit::kMoveTurnClockwise);
  EXPECT_FLOAT_EQ(unit->Frustration, 0.35f);
  unit->Info->Ori = 3;
  EXPECT_EQ(unit->StandGround(0.5f, 2, true), YLUnit::kMoveRun);
  EXPECT_EQ(unit->Frustration, 0.0f);
  // The friend's side blocked: the best of the rest (no force, first of
  // the equals drawn among them) is taken instead, never a blocked one.
  Grid().SetOccupied(11, 11, true);
  unit->ComputeUpdateModel();
  unit->StandGround(0.5f, 2, false);
  const int32_t remembered = static_cast<int32_t>(unit->Frustration * 10.0f);
  EXPECT_NE(remembered, 3);
  EXPECT_EQ(unit->ObstacleMap[remembered], 1.0f);
  EXPECT_GE(unit->GetLocalForce(kDirectionX[remembered], kDirectionY[remembered]), 0.0f);
}

TEST_F(UnitSteeringTest, ARememberedDirectionBeyondSevenIsFolded) {
  SteeringUnit* unit = Unit(1, 10, 10, 0, 1);
  const struct {
    float frustration;
    int32_t facing;
    int32_t answer;
  } cases[] = {{0.95f, 0, YLUnit::kMoveTurnClockwise}, {0.95f, 1, YLUnit::kMoveWalk},
               {0.65f, 0, YLUnit::kMoveTurnCounterClockwise}, {0.85f, 0, YLUnit::kMoveWalk}};
  for (const auto& entry : cases) {
    unit->Frustration = entry.frustration;
    unit->Info->Ori = static_cast<uint8_t>(entry.facing);
    EXPECT_EQ(unit->StandGround(0.5f, 0, false), entry.answer) << entry.frustration << " " << entry.facing;
  }
}

// ---- Stepping aside, going to things, entering and leaving ----

TEST_F(UnitSteeringTest, SteppingAsideTakesTheFirstFreeCellOfItsFan) {
  SteeringUnit* unit = Unit(1, 10, 10, 0);
  unit->recordGoto = true;
  Grid().SetOccupied(10, 11, true);  // straight away: blocked
  Unit(2, 9, 11);                    // away + 1: a unit
  unit->DoFuckOff(0.7f, 10, 9);
  ASSERT_EQ(unit->gotos.size(), 1u);
  EXPECT_EQ(unit->gotos[0], (std::vector<int32_t>{11, 11, 1, 0}));
  EXPECT_EQ(unit->DoFuckOff(0.7f, 10, 6), YLUnit::kReached);  // 4 away
  // Nothing free: the resting unit is asked.
  Grid().SetOccupied(11, 11, true);
  Grid().SetOccupied(9, 10, true);
  Grid().SetOccupied(11, 10, true);
  EXPECT_EQ(unit->DoFuckOff(0.7f, 10, 9), YLUnit::kMoveRest);
  EXPECT_EQ(Stimuli(*static_cast<SteeringUnit*>(logic.GetThing(2))), (std::vector<std::vector<int32_t>>{{1, 3, 70}}));
  Map().RemoveThing(logic.GetThing(2));
  Grid().SetOccupied(9, 11, true);
  EXPECT_EQ(unit->DoFuckOff(0.7f, 10, 9), YLUnit::kReached);
}

TEST_F(UnitSteeringTest, LeavingFacesTheFreeSideOrAsksOneUnitAndWaits) {
  SteeringUnit* unit = Unit(1, 0, 0);
  auto* container = Add<TestContainer>(9, 0, 10, 10);
  Map().RemoveThing(unit);
  container->Enter(unit);
  EXPECT_EQ(unit->DoLeave(0.5f, 8, false), YLUnit::kReached);  // not in that one
  SteeringUnit* first = Unit(2, 11, 10);
  SteeringUnit* second = Unit(3, 9, 10);
  for (float& value : unit->ObstacleMap) {
    value = 0.0f;
  }
  SetRandomSeed(99);
  const int32_t start = RandomSigned(7);
  SetRandomSeed(99);
  EXPECT_EQ(unit->DoLeave(0.5f, 9, false), YLUnit::kMoveRest);
  // Clockwise from the drawn side, east (2) comes before west (6) unless
  // the walk starts between them.
  const bool eastFirst = start <= 2 || start > 6;
  EXPECT_EQ(first->GetStimulusCount(), eastFirst ? 1 : 0);
  EXPECT_EQ(second->GetStimulusCount(), eastFirst ? 0 : 1);
  unit->ObstacleMap[3] = 1.0f;
  unit->ObstacleMap[5] = 1.0f;
  EXPECT_EQ(unit->DoLeave(0.5f, 9, false), YLUnit::kMoveLeave);
  EXPECT_EQ(unit->Info->GetFacing(), 3);
  container->Leave(unit);
}

TEST_F(UnitSteeringTest, EnteringNeedsAMarkedEntranceAndAnswersTheEnterMoveThere) {
  SteeringUnit* unit = Unit(1, 10, 10, 2);
  auto* building = Add<TestContainer>(9, 0, 11, 10);
  EXPECT_EQ(unit->DoEnter(0.5f, 9, false), YLUnit::kReached);  // no entrance mark
  EXPECT_EQ(unit->DoEnter(0.5f, 1, false), YLUnit::kReached);  // not a container
  Grid().SetMarkA(11, 10, true);
  // The building stands on its entrance: the unit faces it and goes in.
  Grid().SetOccupied(11, 10, true);
  EXPECT_EQ(unit->DoEnter(0.5f, 9, false), YLUnit::kMoveEnter);
  unit->Info->Ori = 0;
  EXPECT_EQ(unit->DoEnter(0.5f, 9, false), YLUnit::kMoveTurnClockwise);
  (void)building;
}

TEST_F(UnitSteeringTest, GoingToAThingSetsTheDestination) {
  SteeringUnit* unit = Unit(1, 2, 10, 2);
  Unit(2, 18, 10);
  unit->ComputeUpdateModel();
  EXPECT_EQ(unit->DoGotoThing(0.5f, 2, true), YLUnit::kMoveRun);
  int32_t x = 0;
  int32_t y = 0;
  unit->GetDestination(x, y);
  EXPECT_EQ(x, 18);
  EXPECT_EQ(y, 10);
  EXPECT_EQ(unit->DoGotoThing(0.5f, 3, true), YLUnit::kReached);
}

// ---- Things gone since they were seen ----

TEST_F(UnitSteeringTest, AnIdThatNamesNoThingAnyMoreIsSkipped) {
  SteeringUnit* unit = Unit(1, 10, 10, 0, 1);
  SteeringUnit* threat = Unit(2, 10, 7, 0, 1);
  Map().RemoveThing(threat);
  DestroyObject(threat);
  (*logic.Things)[2] = nullptr;
  unit->recordGoto = true;
  EXPECT_EQ(unit->FleeFrom(0.6f, 2, true), YLUnit::kReached);
  EXPECT_TRUE(unit->gotos.empty());
  unit->AddStimulus(2, 3, 0.9f);
  unit->ComputeReflexes();
  EXPECT_EQ(unit->GetPlanLeaf(), &unit->Plan);
  EXPECT_EQ(unit->GetDistanceTo(2), YLUnit::kNoThingDistance);
  EXPECT_EQ(unit->GetDirectionTo(2, 0), 0);
}

// A thing destroyed in play keeps its place in the thing table (its record
// kept, taken off the map): it is skipped like one that is gone.
TEST_F(UnitSteeringTest, AThingDestroyedSinceItWasSeenIsSkipped) {
  SteeringUnit* unit = Unit(1, 10, 10, 0, 1);
  SteeringUnit* mate = Unit(2, 10, 8, 0, 1);
  SteeringUnit* enemy = Unit(3, 13, 10, 0, 2);
  unit->GetUnitInfo()->Fear = 1.0f;
  unit->AddStimulus(2, 3, 0.9f);
  unit->AddNeighbour(3);
  mate->Destroy();
  enemy->Destroy();
  ASSERT_EQ(logic.GetThing(3), enemy);

  unit->recordGoto = true;
  EXPECT_EQ(unit->FleeFrom(0.6f, 3, true), YLUnit::kReached);
  EXPECT_EQ(unit->DoFlee(0.6f, 3, true), YLUnit::kReached);
  EXPECT_EQ(unit->DoGotoThing(0.6f, 3, true), YLUnit::kReached);
  EXPECT_TRUE(unit->gotos.empty());
  unit->ComputeReflexes();
  EXPECT_EQ(unit->GetPlanLeaf(), &unit->Plan);
  unit->DangerReflexes();
  EXPECT_EQ(unit->GetCurrentMove(), nullptr);
  EXPECT_EQ(unit->GetRelation(3), 0);
  EXPECT_EQ(unit->GetDistanceTo(3), YLUnit::kNoThingDistance);
  EXPECT_EQ(unit->GetDirectionTo(3, 0), 0);
}

// ---- Determinism ----

// Two units walking toward each other's place, past two blocked cells:
// every move they make, as listeners hear it.
class UnitSteeringRunTest : public UnitSteeringTest {
 protected:
  std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>> Run(uint32_t seed) {
    Refresh(12, 8);
    listener.actions.clear();
    SetRandomSeed(seed);
    SteeringUnit* a = Unit(1, 1, 3, 2, 1);
    SteeringUnit* b = Unit(2, 10, 4, 6, 1);
    Grid().SetOccupied(5, 2, true);
    Grid().SetOccupied(6, 5, true);
    a->OfferStep(new PsychicPlanGoto(10, 4, 0.8f, false));
    b->OfferStep(new PsychicPlanGoto(1, 3, 0.8f, true));
    for (int32_t frame = 0; frame < 400; ++frame) {
      a->Compute();
      b->Compute();
    }
    std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>> moves;
    for (const HeardAction& heard : listener.actions) {
      moves.emplace_back(heard.id, heard.x, heard.y, heard.facing, heard.code);
    }
    return moves;
  }
};

TEST_F(UnitSteeringRunTest, TwoUnitsSteeringPastEachOtherMoveAlikeInTwoRuns) {
  const auto first = Run(1234);
  const auto second = Run(1234);
  EXPECT_EQ(first, second);
  int32_t steps = 0;
  for (const auto& move : first) {
    if (std::get<4>(move) >= 2 && std::get<4>(move) <= 4) {
      ++steps;
    }
  }
  EXPECT_GE(steps, 10);
  const YLThing* a = logic.GetThing(1);
  const YLThing* b = logic.GetThing(2);
  // Both got past each other.
  EXPECT_GT(a->GetX(), 5);
  EXPECT_LT(b->GetX(), 6);
}

}  // namespace
}  // namespace logic_world_testing
