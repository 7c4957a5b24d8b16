#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Random.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/triggers/ActionLevelFixture.h"
#include "logic/triggers/CommandChain.h"
#include "logic/triggers/SpawnActionSupport.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/YLTriggerActionCommand.h"
#include "logic/triggers/YLTriggerActionSpawn.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTBuilding.h"

namespace {

using namespace action_testing;

void SetIds(tIdList& list, std::initializer_list<int32_t> ids) {
  list.Clear();
  if (ids.size() > 0) {
    ASSERT_TRUE(list.SetCount(static_cast<int32_t>(ids.size())));
  }
  int32_t index = 0;
  for (int32_t id : ids) {
    list[index++] = id;
  }
}

// A chain made through the editor lines of a fixed-id spawn or command.
template <typename Action>
void SetChain(Action& action, int32_t firstChainIndex, std::initializer_list<const char*> letters) {
  int32_t index = firstChainIndex;
  for (const char* letter : letters) {
    ASSERT_LT(action.SetProperty(index, letter), 0);
    index += 5;
  }
}

// The plan steps a unit was given: the plan root's queue of children.
std::vector<PsychicPlanItem*> PlanSteps(YLUnit& unit) {
  std::vector<PsychicPlanItem*> steps;
  for (PsychicPlanItem* step = unit.Plan.child; step != nullptr; step = step->queue) {
    steps.push_back(step);
  }
  return steps;
}

class SpawnActionsTest : public ActionLevelTest {};

TEST_F(SpawnActionsTest, SpawnInBuildingsOfAnotherPlayerMakesNothing) {
  YLThing* first = Make("Home1", 10, 10, 2);
  YLThing* second = Make("Home2", 20, 10, 4);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  YLTriggerActionSpawn spawn;
  SetIds(spawn.BuildingIDs, {first->GetTid(), second->GetTid()});
  SetIds(spawn.Units, {3, 1});
  spawn.Team = 1;
  const int32_t next = Logic().FindFreeThingID();
  spawn.Execute(&Logic(), nullptr);
  EXPECT_TRUE(UnitsFrom(next).empty());
}

TEST_F(SpawnActionsTest, SpawnMakesALeaderThenASupporterInsideTheBuilding) {
  auto* home = MakeAs<YLTContainerThing>("Home1", 10, 10);
  ASSERT_NE(home, nullptr);
  YLTriggerActionSpawn spawn;
  SetIds(spawn.BuildingIDs, {home->GetTid()});
  SetIds(spawn.Units, {10, 3});
  spawn.Team = 1;
  const int32_t next = Logic().FindFreeThingID();
  spawn.Execute(&Logic(), nullptr);
  const std::vector<YLUnit*> units = UnitsFrom(next);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0]->Info->Gfx, 10);
  EXPECT_TRUE(units[0]->Info->IsLeader());
  EXPECT_EQ(units[1]->Info->Gfx, 3);
  for (YLUnit* unit : units) {
    EXPECT_EQ(unit->GetOwner(), 1);
    EXPECT_EQ(unit->GetContainer(), home);
  }
  EXPECT_EQ(home->GetContainedCount(), 2);
  // A spawn tells no objective.
  EXPECT_TRUE(listener.objectives.empty());
}

// The building is drawn among the eligible ones only, by one draw over
// their number less one; one candidate is drawn too.
TEST_F(SpawnActionsTest, EligibleBuildingIsDrawnAmongTheCandidatesInListOrder) {
  auto* foreign = MakeAs<YLTContainerThing>("Home1", 10, 10, 5);
  auto* a = MakeAs<YLTContainerThing>("Home2", 20, 10);
  auto* b = MakeAs<YLTContainerThing>("Home3", 30, 10, 1);
  auto* c = MakeAs<YLTContainerThing>("Home4", 40, 10);
  ASSERT_TRUE(foreign && a && b && c);
  YLThing* scenery = Make("Obst01", 2, 2);
  tIdList ids;
  SetIds(ids, {foreign->GetTid(), 999, scenery->GetTid(), a->GetTid(), b->GetTid(), c->GetTid()});
  const YLTContainerThing* candidates[] = {a, b, c};
  for (uint32_t seed : {1u, 77u, 4242u, 99999u}) {
    SetRandomSeed(seed);
    const int32_t expected = RandomSigned(2);
    const uint32_t after = GetRandomSeed();
    SetRandomSeed(seed);
    EXPECT_EQ(ChooseEligibleBuilding(Logic(), ids, 1), candidates[expected]) << seed;
    EXPECT_EQ(GetRandomSeed(), after);
  }
  tIdList single;
  SetIds(single, {c->GetTid()});
  SetRandomSeed(5);
  RandomSigned(0);
  const uint32_t afterOne = GetRandomSeed();
  SetRandomSeed(5);
  EXPECT_EQ(ChooseEligibleBuilding(Logic(), single, 1), c);
  EXPECT_EQ(GetRandomSeed(), afterOne);
  // A building out of its normal state is not eligible.
  c->Info->MoveNumber = YLTBuilding::kStateTrashed;
  EXPECT_EQ(ChooseEligibleBuilding(Logic(), single, 1), nullptr);
}

// Units made at (40, 50) with ids 21 and 22: their ids go to the
// objective, they take the weapon grade (the yobbozer 3 more rounds) and
// each its own copy of the chain.
TEST_F(SpawnActionsTest, FixedIdSpawnAtAPlaceSendsTheNewIdsAndArmsAndCommandsEachUnit) {
  FillIdsUpTo(21);
  YLTriggerActionFixedIDSpawn spawn;
  // x, y, unit count and types, team, objective, weapon, then the chain.
  ASSERT_LT(spawn.SetProperty(1, "40"), 0);
  ASSERT_LT(spawn.SetProperty(2, "50"), 0);
  ASSERT_LT(spawn.SetProperty(3, "2"), 0);
  ASSERT_LT(spawn.SetProperty(4, "1"), 0);
  ASSERT_LT(spawn.SetProperty(5, "12"), 0);
  ASSERT_LT(spawn.SetProperty(6, "1"), 0);
  ASSERT_LT(spawn.SetProperty(7, "7"), 0);
  ASSERT_LT(spawn.SetProperty(8, "2"), 0);
  SetChain(spawn, 9, {"g", "h"});
  ASSERT_EQ(spawn.Command.GetCount(), 2);

  int32_t ammoBefore = 0;
  {
    YLUnit* probe = Logic().CreateUnitAt(1, 1, 0, 0, 12, 1, nullptr);
    ASSERT_NE(probe, nullptr);
    ammoBefore = probe->GetUnitInfo()->Ammo;
    Logic().DestroyThing(probe->Info.get());
  }
  spawn.Execute(&Logic(), nullptr);
  const std::vector<YLUnit*> units = UnitsFrom(21);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0]->GetTid(), 21);
  EXPECT_EQ(units[1]->GetTid(), 22);
  ASSERT_EQ(listener.objectives.size(), 1u);
  EXPECT_EQ(listener.objectives[0], (ObjectiveText{7, 3, "21,22"}));
  EXPECT_EQ(units[0]->Info->X, 40);
  EXPECT_EQ(units[0]->Info->Y, 50);
  for (YLUnit* unit : units) {
    EXPECT_EQ(unit->GetOwner(), 1);
    EXPECT_EQ(unit->GetUnitInfo()->Weapon, 2);
    const std::vector<PsychicPlanItem*> steps = PlanSteps(*unit);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0]->Action, OrderKind::kGoto);
    EXPECT_EQ(steps[1]->Action, OrderKind::kHold);
    EXPECT_NE(steps[0], spawn.Command.GetFirst());
  }
  EXPECT_EQ(units[1]->GetUnitInfo()->Ammo, ammoBefore + 3);
}

TEST_F(SpawnActionsTest, FixedIdSpawnAtAPlaceWithoutBothCoordinatesMakesNothingAndLogs) {
  YLTriggerActionFixedIDSpawn spawn;
  SetIds(spawn.Places, {40});
  SetIds(spawn.Units, {1, 2});
  spawn.ObjectiveID = 7;
  const int32_t next = Logic().FindFreeThingID();
  const std::string log = Logged([&] { spawn.Execute(&Logic(), nullptr); });
  EXPECT_TRUE(UnitsFrom(next).empty());
  EXPECT_TRUE(listener.objectives.empty());
  EXPECT_NE(log.find("YLTriggerActionFixedIDSpawn::Execute: the place has 1 of its two coordinates"),
            std::string::npos)
      << log;
}

TEST_F(SpawnActionsTest, FixedIdSpawnInBuildingsMakesNothingWithoutAnEligibleOne) {
  YLThing* foreign = Make("Home1", 10, 10, 3);
  YLTriggerActionFixedIDSpawn spawn;
  ASSERT_LT(spawn.SetProperty(0, "1"), 0);
  EXPECT_EQ(spawn.Places.count, 0);
  SetIds(spawn.Places, {foreign->GetTid()});
  SetIds(spawn.Units, {1});
  spawn.ObjectiveID = 7;
  const int32_t next = Logic().FindFreeThingID();
  spawn.Execute(&Logic(), nullptr);
  EXPECT_TRUE(UnitsFrom(next).empty());
  EXPECT_TRUE(listener.objectives.empty());
}

// Stored and edited grades outside 0-3 are clamped when a unit gets them;
// the action keeps its value.
TEST_F(SpawnActionsTest, WeaponGradeOutsideTheGradesIsClampedForTheUnitOnly) {
  struct Case {
    int32_t stored;
    int32_t given;
  };
  for (const Case& test : {Case{7, 3}, Case{-5, 0}, Case{3, 3}, Case{1, 1}}) {
    YLTriggerActionFixedIDSpawn spawn;
    SetIds(spawn.Places, {5 + test.stored + 10, 20});
    SetIds(spawn.Units, {1});
    spawn.WeaponLvl = test.stored;
    const int32_t next = Logic().FindFreeThingID();
    spawn.Execute(&Logic(), nullptr);
    const std::vector<YLUnit*> units = UnitsFrom(next);
    ASSERT_EQ(units.size(), 1u) << test.stored;
    EXPECT_EQ(units[0]->GetUnitInfo()->Weapon, test.given) << test.stored;
    EXPECT_EQ(spawn.WeaponLvl, test.stored);
  }
}

TEST_F(SpawnActionsTest, CommandOnABuildingAndAUnitCommandsOnlyTheUnit) {
  YLThing* home = Make("Home1", 10, 10);
  YLThing* rat = Make("UnitRat", 20, 20, 1);
  ASSERT_TRUE(home && rat);
  YLTriggerActionCommand command;
  SetIds(command.IDs, {home->GetTid(), rat->GetTid(), 4000});
  command.ObjectiveID = 9;
  // Without "create new": the ids (count and 3 entries), the objective,
  // then the chain.
  SetChain(command, 6, {"g"});
  command.Execute(&Logic(), nullptr);
  ASSERT_EQ(listener.objectives.size(), 1u);
  EXPECT_EQ(listener.objectives[0], (ObjectiveText{9, 3, std::to_string(rat->GetTid())}));
  const std::vector<PsychicPlanItem*> steps = PlanSteps(*dynamic_cast<YLUnit*>(rat));
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0]->Action, OrderKind::kGoto);
}

TEST_F(SpawnActionsTest, CommandChainGivesEachUnitFreshCopiesOnEveryRun) {
  auto* first = dynamic_cast<YLUnit*>(Make("UnitRat", 20, 20, 1));
  auto* second = dynamic_cast<YLUnit*>(Make("UnitRaver", 24, 20, 1));
  ASSERT_TRUE(first && second);
  YLTriggerActionCommand command;
  SetIds(command.IDs, {first->GetTid(), second->GetTid()});
  SetChain(command, 5, {"g", "h"});
  ASSERT_LT(command.SetProperty(6, "30"), 0);
  ASSERT_LT(command.SetProperty(7, "31"), 0);
  command.Execute(&Logic(), nullptr);
  const std::vector<PsychicPlanItem*> firstRun = PlanSteps(*first);
  const std::vector<PsychicPlanItem*> secondUnit = PlanSteps(*second);
  ASSERT_EQ(firstRun.size(), 2u);
  ASSERT_EQ(secondUnit.size(), 2u);
  EXPECT_EQ(firstRun[0]->Action, OrderKind::kGoto);
  EXPECT_EQ(firstRun[0]->Param1, 30);
  EXPECT_EQ(firstRun[0]->Param2, 31);
  EXPECT_EQ(firstRun[1]->Action, OrderKind::kHold);
  EXPECT_NE(firstRun[0], secondUnit[0]);
  EXPECT_NE(firstRun[1], secondUnit[1]);
  EXPECT_NE(firstRun[0], command.Command.GetFirst());
  EXPECT_EQ(command.Command.GetCount(), 2);

  command.Execute(&Logic(), nullptr);
  const std::vector<PsychicPlanItem*> secondRun = PlanSteps(*first);
  ASSERT_FALSE(secondRun.empty());
  EXPECT_EQ(secondRun[0]->Action, OrderKind::kGoto);
  EXPECT_EQ(command.Command.GetCount(), 2);
}

TEST_F(SpawnActionsTest, CommandMakesNewUnitsAtAPlaceOrInsideAContainerOnly) {
  auto* home = MakeAs<YLTContainerThing>("Home1", 10, 10);
  YLThing* scenery = Make("Obst01", 3, 3);
  ASSERT_TRUE(home && scenery);
  YLTriggerActionCommand command;
  command.New = true;
  command.Team = 2;
  SetIds(command.IDs, {1, 2});
  command.Place1 = 30;
  command.Place2 = 31;
  int32_t next = Logic().FindFreeThingID();
  command.Execute(&Logic(), nullptr);
  std::vector<YLUnit*> units = UnitsFrom(next);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0]->Info->X, 30);
  EXPECT_EQ(units[0]->GetOwner(), 2);

  command.InContainer = true;
  command.Place1 = home->GetTid();
  next = Logic().FindFreeThingID();
  command.Execute(&Logic(), nullptr);
  units = UnitsFrom(next);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[1]->GetContainer(), home);

  command.Place1 = scenery->GetTid();
  next = Logic().FindFreeThingID();
  command.Execute(&Logic(), nullptr);
  EXPECT_TRUE(UnitsFrom(next).empty());
}

// A planned custom trigger whose spawn action was set through the
// trigger's editor lines: nothing appears before its first run, the
// foreign building never takes anyone, the leader comes before the
// supporter.
TEST_F(SpawnActionsTest, SpawnOfAPlannedTriggerMakesItsUnitsWhenTheTriggerFires) {
  auto* foreign = MakeAs<YLTContainerThing>("Home1", 10, 10, 2);
  auto* home = MakeAs<YLTContainerThing>("Home2", 20, 10);
  ASSERT_TRUE(foreign && home);
  auto trigger = std::make_unique<YLCustomTrigger>();
  // From the condition count on: no condition, one action and its lines.
  const std::vector<std::string> settings = {"0", "1", "spawn", "2", std::to_string(foreign->GetTid()),
                                             std::to_string(home->GetTid()), "1", "2", "10", "3"};
  for (size_t index = 0; index < settings.size(); ++index) {
    ASSERT_LT(trigger->SetProperty(static_cast<int32_t>(index) + 5, settings[index].c_str()), 0) << index;
  }
  const int32_t next = Logic().FindFreeThingID();
  Logic().InsertPlan(trigger.release(), 10);
  Run(10);
  EXPECT_TRUE(UnitsFrom(next).empty());
  Run(1);
  const std::vector<YLUnit*> units = UnitsFrom(next);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0]->Info->Gfx, 10);
  EXPECT_EQ(units[1]->Info->Gfx, 3);
  EXPECT_EQ(units[0]->GetContainer(), home);
  EXPECT_EQ(units[1]->GetOwner(), 1);
  EXPECT_EQ(foreign->GetContainedCount(), 0);
  // The trigger fired once: the team gains no more units (the level's
  // ambient traffic brings units of its own meanwhile).
  Run(30);
  int32_t teamUnits = 0;
  for (YLUnit* unit : UnitsFrom(next)) {
    teamUnits += unit->GetOwner() == 1 ? 1 : 0;
  }
  EXPECT_EQ(teamUnits, 2);
}

}  // namespace
