#include <gtest/gtest.h>

#include <set>

#include "bot/YBCrew.h"
#include "bot/YBCrewAssignment.h"
#include "bot/YBCriminal.h"
#include "bot/YBIdentifierList.h"
#include "bot/YBObjective.h"
#include "bot/YBTask.h"
#include "logic/core/LogicQueries.h"
#include "logic/world/PsychicPlanItem.h"
#include "logic/world/YLUnit.h"
#include "tests/bot/BotLevelFixture.h"

namespace bot_testing {
namespace {

class CrewTest : public BotLevelTest {
 protected:
  YBObjective* AddObjective(int32_t player, float priority, std::vector<int32_t> units) {
    auto* objective = new YBObjective;
    objective->SetID(static_cast<uint32_t>(player));
    objective->Priority = priority;
    objective->Assignment = std::make_unique<YBIdentifierList>(std::move(units));
    controller->GetObjectives()->Append(objective);
    return objective;
  }
  // Gives the logic's unit a current move, as a plan step in progress.
  static void SetMove(const ThingInfo* info, int32_t kind, int32_t param1, int32_t param2) {
    auto* unit = dynamic_cast<YLUnit*>(static_cast<YLThing*>(DebugGetThing(info->Tid)));
    ASSERT_NE(unit, nullptr);
    unit->CurrentMove.reset(new PsychicPlanItem(param1, param2, 1.0f, false));
    unit->CurrentMove->Action = kind;
  }
  YBCrewAssignment* AssignmentOf(const ThingInfo* info) const { return Unit(info)->Assignment; }
};

TEST_F(CrewTest, UnitsOfOneOwnerAndSectorShareAnAssignment) {
  UnitInfo* first = MakeUnit(1, 1, 4, 4);
  UnitInfo* second = MakeUnit(2, 1, 8, 8);
  UnitInfo* other = MakeUnit(1, 2, 5, 5);
  UnitInfo* away = MakeUnit(1, 1, 30, 30);
  EXPECT_EQ(AssignmentOf(first), AssignmentOf(second));
  EXPECT_NE(AssignmentOf(first), AssignmentOf(other));
  EXPECT_NE(AssignmentOf(first), AssignmentOf(away));
  EXPECT_EQ(AssignmentOf(first)->GetPlayer(), 1);
  EXPECT_EQ(AssignmentOf(first)->Sector, 0);
  EXPECT_EQ(AssignmentOf(away)->Sector, 7);
  EXPECT_EQ(AssignmentOf(first)->count, 2);
}

TEST_F(CrewTest, TheFirstObjectiveThatWantsTheUnitDecides) {
  YBObjective* off = AddObjective(1, -1.0f, {});
  YBObjective* first = AddObjective(1, 0.5f, {});
  YBObjective* second = AddObjective(1, 0.5f, {});
  ThingInfo* made = Make("UnitSupporter", 4, 4, 1);
  for (YBObjective* objective : {off, first, second}) {
    objective->Assignment->Append(made->Tid);
  }
  controller->AddThing(made);
  YBCrewAssignment* assignment = AssignmentOf(made);
  ASSERT_NE(assignment, nullptr);
  EXPECT_EQ(assignment->Objective, first);
  EXPECT_EQ(assignment->Crew->SystemFlags & YBCrew::kObjectiveFlag, YBCrew::kObjectiveFlag);
  // A unit no objective wants joins an assignment without one.
  UnitInfo* free = MakeUnit(1, 1, 5, 5);
  EXPECT_EQ(AssignmentOf(free)->Objective, nullptr);
  EXPECT_NE(AssignmentOf(free), assignment);
}

TEST_F(CrewTest, TypesFromFifteenAndOwnersOutsideTheFourPlayersStayOut) {
  UnitInfo* innocent = MakeUnit(15, 1, 4, 4);
  UnitInfo* stranger = MakeUnit(1, 5, 4, 4);
  UnitInfo* negative = MakeUnit(1, -1, 4, 4);
  EXPECT_EQ(AssignmentOf(innocent), nullptr);
  EXPECT_EQ(AssignmentOf(stranger), nullptr);
  EXPECT_EQ(AssignmentOf(negative), nullptr);
  YBIdentifierList list({innocent->Tid, stranger->Tid});
  YBCrewAssignment* assignment = controller->AddAssigment(&list, nullptr);
  EXPECT_EQ(assignment->count, 0);
  EXPECT_EQ(assignment->GetPlayer(), -1);
  const std::string log = Log();
  const std::string line = "stays out of the crews";
  const size_t at = log.find(line);
  ASSERT_NE(at, std::string::npos) << log;
  EXPECT_EQ(log.find(line, at + 1), std::string::npos);
}

TEST_F(CrewTest, AddAssigmentTakesUnitsFromTheirAssignmentsAndLogsStrangers) {
  UnitInfo* first = MakeUnit(1, 1, 4, 4);
  UnitInfo* second = MakeUnit(2, 2, 5, 5);
  ThingInfo* pub = Make("Pub01-Bulldog", 16, 4);
  YBCrewAssignment* before = AssignmentOf(first);
  YBIdentifierList list({first->Tid, pub->Tid, second->Tid});
  YBObjective* objective = AddObjective(1, 0.2f, {});
  YBCrewAssignment* assignment = controller->AddAssigment(&list, objective);
  EXPECT_EQ(AssignmentOf(first), assignment);
  EXPECT_EQ(AssignmentOf(second), assignment);
  EXPECT_FALSE(before->HasUnit(Unit(first)));
  EXPECT_EQ(assignment->GetPlayer(), 1);
  EXPECT_EQ(assignment->Objective, objective);
  EXPECT_NE(assignment->Crew->SystemFlags & YBCrew::kObjectiveFlag, 0u);
  const std::string log = Log();
  EXPECT_NE(log.find("(BOT) YBMasterMind::AddAssigment(...) with thing " + std::to_string(pub->Tid) +
                     " that is NOT a unit.\n"),
            std::string::npos);
  EXPECT_NE(log.find("(BOT) YBMasterMind::AddAssigment(...) with units owner by different players (1 and 2)\n"),
            std::string::npos);
}

TEST_F(CrewTest, NewCrewsTakeUniqueIdentifiers) {
  MakeUnit(1, 1, 4, 4);
  MakeUnit(1, 1, 30, 30);
  MakeUnit(1, 2, 4, 4);
  YBIdentifierList none;
  controller->AddAssigment(&none, nullptr);
  controller->AddAssigment(nullptr, nullptr);
  std::set<int32_t> ids;
  for (int32_t index = 0; index < controller->GetAssignmentCount(); ++index) {
    const int32_t id = controller->GetAssignment(index)->GetCrewID();
    EXPECT_GE(id, 0);
    EXPECT_TRUE(ids.insert(id).second) << id;
    EXPECT_EQ(controller->FindAssignment(id), controller->GetAssignment(index));
  }
  EXPECT_EQ(ids.size(), 5u);
}

TEST_F(CrewTest, UpdateDropsGoneAndArrestedUnits) {
  UnitInfo* alive = MakeUnit(1, 1, 4, 4);
  UnitInfo* dead = MakeUnit(1, 1, 5, 4);
  UnitInfo* arrested = MakeUnit(1, 1, 6, 4);
  UnitInfo* vanished = MakeUnit(1, 1, 7, 4);
  YBCrewAssignment* assignment = AssignmentOf(alive);
  ASSERT_EQ(assignment->count, 4);
  dead->Hp = 0.0f;
  arrested->Status |= kStatusArrested;
  vanished->Status |= kStatusNoLongerCounts;
  EXPECT_TRUE(assignment->Update());
  EXPECT_EQ(assignment->count, 1);
  EXPECT_EQ(assignment->GetUnit(0), Unit(alive));
  for (UnitInfo* gone : {dead, arrested, vanished}) {
    EXPECT_EQ(Unit(gone)->Assignment, nullptr);
  }
}

TEST_F(CrewTest, DestinationFollowsTheUnitsMoves) {
  UnitInfo* unit = MakeUnit(1, 1, 4, 4);
  ThingInfo* target = Make("Pub01-Bulldog", 28, 28);
  YBCrewAssignment* assignment = AssignmentOf(unit);
  struct Case {
    int32_t kind, param1, param2, destination;
  };
  const Case cases[] = {
      {5, 30, 6, 2},              // a point to go to
      {7, target->Tid, 0, 0},     // a thing alone counts no destination
      {18, 0, 0, 0},              // standing: where the unit is
      {3, 30, 30, 0},             // a move without an aim
  };
  for (const Case& c : cases) {
    SetMove(unit, c.kind, c.param1, c.param2);
    assignment->Update();
    EXPECT_EQ(assignment->Sector, 0) << c.kind;
    EXPECT_EQ(assignment->DestinationSector, c.destination) << c.kind;
  }
  // A thing's place adds to the destinations that points counted: (2, 2)
  // and the pub's entrance near (28, 28) average into sector 7.
  UnitInfo* partner = MakeUnit(1, 1, 5, 5);
  assignment->AddUnit(Unit(partner));
  SetMove(unit, 5, 2, 2);
  SetMove(partner, 7, target->Tid, 0);
  assignment->Update();
  EXPECT_EQ(assignment->DestinationSector, 7);
  SetMove(partner, 18, 0, 0);
  SetMove(unit, 8, 999, 0);
  assignment->Update();
  EXPECT_EQ(assignment->DestinationSector, 0);
  EXPECT_NE(Log().find("YBCrewAssignment::Update found a plan of type 8 with no Thing in Param1=999\n"),
            std::string::npos);
}

TEST_F(CrewTest, UnitsStrayingFartherThanTheCountAllowsLeave) {
  // Three units in sector 0 and one in sector 1: the limit is 50 - 35 / 4 =
  // 42, sector 1 lies 12 away and stays; in sector 7 (33 away) also stays;
  // with two units the limit is 33 and 33 stays, so a lone unit in sector 2
  // (24) and one in the sector-less block both decide by sector only.
  UnitInfo* a = MakeUnit(1, 1, 4, 4);
  UnitInfo* b = MakeUnit(1, 1, 5, 4);
  UnitInfo* c = MakeUnit(1, 1, 6, 4);
  YBCrewAssignment* assignment = AssignmentOf(a);
  UnitInfo* near = MakeUnit(1, 1, 16, 4);
  assignment->AddUnit(Unit(near));
  UnitInfo* nowhere = MakeUnit(1, 1, 18, 18);
  assignment->AddUnit(Unit(nowhere));
  assignment->Update();
  EXPECT_TRUE(assignment->HasUnit(Unit(near)));
  EXPECT_FALSE(assignment->HasUnit(Unit(nowhere)));
  // A lone partner far away: with two units the limit is 50 - 17 = 33; the
  // opposite corner lies 33 away and stays, a unit at 34+ would leave.
  Unit(b)->Assignment->RemoveUnit(Unit(b));
  Unit(c)->Assignment->RemoveUnit(Unit(c));
  Unit(near)->Assignment->RemoveUnit(Unit(near));
  UnitInfo* corner = MakeUnit(1, 1, 30, 30);
  assignment->AddUnit(Unit(corner));
  assignment->Update();
  EXPECT_TRUE(assignment->HasUnit(Unit(corner)));
  // Bound to an objective, no unit strays.
  assignment->Objective = AddObjective(1, 0.5f, {});
  assignment->AddUnit(Unit(nowhere));
  assignment->Update();
  EXPECT_TRUE(assignment->HasUnit(Unit(nowhere)));
}

TEST_F(CrewTest, UpdateFromSumsAndAveragesTheUnits) {
  UnitInfo* rat = MakeUnit(1, 1, 4, 4);
  UnitInfo* police = MakeUnit(5, 1, 8, 6);
  UnitInfo* supporter = MakeUnit(0, 1, 6, 8);
  UnitInfo* outsider = MakeUnit(15, 1, 6, 6);
  rat->Weapon = 2;
  police->Weapon = 3;
  supporter->Loyalty = 0.5f;
  YBCrewAssignment* assignment = AssignmentOf(rat);
  assignment->AddUnit(Unit(outsider));
  controller->AddCriminal(Unit(rat), 2.0f);
  YBCrew crew;
  crew.UpdateFrom(assignment);
  EXPECT_EQ(crew.Player, 1);
  EXPECT_EQ(crew.X, 6);
  EXPECT_EQ(crew.Y, 6);
  EXPECT_FLOAT_EQ(crew.Health, rat->Hp + police->Hp + supporter->Hp);
  EXPECT_FLOAT_EQ(crew.Crime, 4.0f);  // the record's crime, twice
  EXPECT_FLOAT_EQ(crew.Support, 1.0f / 3.0f);
  EXPECT_FLOAT_EQ(crew.Loyalty, 0.5f);
  EXPECT_EQ(crew.Specials, (1u << 1) | (1u << 5) | (1u << 0));
  const float damage = GetWeaponHealthDamage(1, 2) + GetWeaponConsDamage(1, 2) + GetWeaponHealthDamage(5, 0) +
                       GetWeaponConsDamage(5, 0) + GetWeaponHealthDamage(0, supporter->Weapon) +
                       GetWeaponConsDamage(0, supporter->Weapon);
  EXPECT_FLOAT_EQ(crew.Damage, damage / 3.0f);
  EXPECT_FLOAT_EQ(crew.Speed, (1 / 8.5f + 1 / 10.5f + 1 / 8.0f + 0.1f) / 3.0f);
  EXPECT_EQ(crew.Sector, assignment->Sector);
  // Without supporters loyalty is whole; mixed owners are logged.
  supporter->Gfx = 2;
  police->Owner = 2;
  crew.UpdateFrom(assignment);
  EXPECT_FLOAT_EQ(crew.Loyalty, 1.0f);
  EXPECT_NE(Log().find("(BOT)Warning: group of mixed owner is not supported\n"), std::string::npos);
}

TEST_F(CrewTest, WeaponLevelZeroForTypesFiveSixTenAndTwelve) {
  for (int32_t type : {5, 6, 10, 12, 9}) {
    UnitInfo* unit = MakeUnit(type, 1, 4, 4);
    unit->Weapon = 3;
    YBIdentifierList list({unit->Tid});
    YBCrewAssignment* assignment = controller->AddAssigment(&list, nullptr);
    YBCrew crew;
    crew.UpdateFrom(assignment);
    const int32_t level = type == 9 ? 3 : 0;
    EXPECT_FLOAT_EQ(crew.Damage, GetWeaponHealthDamage(type, level) + GetWeaponConsDamage(type, level)) << type;
  }
}

TEST_F(CrewTest, AnEmptyAssignmentLeavesTheCrewWithoutSectors) {
  YBCrewAssignment* assignment = controller->AddAssigment(nullptr, nullptr);
  YBCrew crew;
  crew.UpdateFrom(assignment);
  EXPECT_EQ(crew.Player, -1);
  EXPECT_EQ(crew.Sector, -1);
  EXPECT_EQ(crew.Destination, -1);
  EXPECT_FLOAT_EQ(crew.Loyalty, 0.0f);
}

}  // namespace
}  // namespace bot_testing
