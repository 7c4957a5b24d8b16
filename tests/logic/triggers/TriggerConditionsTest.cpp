// The twelve trigger conditions on a small level with a sector map: what
// each answers, what it drops from its lists, its editor lines and its
// stream form.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "TriggerLevelFixture.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/UnitInfo.h"
#include "logic/triggers/YLTriggerConditionSectors.h"
#include "logic/triggers/YLTriggerConditionStatus.h"
#include "logic/triggers/YLTriggerConditionThings.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLTDriver.h"
#include "logic/world/YLTPub.h"
#include "logic/world/YLUnit.h"

namespace {

using Ids = std::vector<int32_t>;

void SetListOf(tIdList& list, const Ids& ids) {
  list.Clear();
  for (const int32_t id : ids) {
    list.Append(id);
  }
}

Ids Of(const tIdList& list) { return Ids(list.items, list.items + list.count); }

class ConditionsTest : public trigger_testing::TriggerLevelTest {
 protected:
  YLUnit* Unit(int32_t x, int32_t y, int32_t owner = 1, uint8_t facing = 0, const char* keyword = "UnitSkin") {
    return MakeAs<YLUnit>(keyword, x, y, facing, owner);
  }
  YLUnit* Inside(YLThing* container, int32_t owner = 1) {
    auto* unit = Logic().CreateUnit(Logic().AddString("UnitSkin"), owner, container);
    EXPECT_NE(unit, nullptr);
    return unit;
  }
  static int32_t Id(const YLThing* thing) { return thing->GetTid(); }
  // An id that named a thing until now.
  static int32_t Vanished(YLThing* thing) {
    const int32_t id = Id(thing);
    DestroyThing(thing->Info.get());
    EXPECT_EQ(Logic().GetThing(id), nullptr);
    return id;
  }
  static void Kill(YLThing* thing) { thing->Info->Status &= ~StatusAlive; }
  static void SetList(tIdList& list, const Ids& ids) { SetListOf(list, ids); }
  bool Holds(YLTriggerCondition& condition) { return condition.Evaluate(&Logic()); }
};

TEST_F(ConditionsTest, InBuildingAndInSectorDropWhatIsGone) {
  auto* pub = MakeAs<YLTPub>("Pub1", 30, 36);
  YLThing* lamp = Make("Lamppost", 40, 5);
  YLUnit* in1 = Inside(pub);
  YLUnit* in2 = Inside(pub);
  YLUnit* out = Unit(5, 5);
  YLUnit* near = Unit(10, 10);
  YLUnit* dead = Unit(12, 12);
  Kill(dead);
  YLUnit* far = Unit(30, 10);  // sector 1
  const int32_t gone = Vanished(Unit(6, 8));

  YLTriggerConditionInBuilding inBuilding;
  inBuilding.BuildingID = Id(lamp);
  EXPECT_FALSE(Holds(inBuilding));  // not a container
  inBuilding.BuildingID = Id(pub);
  EXPECT_TRUE(Holds(inBuilding));  // no units
  SetList(inBuilding.Units, {Id(in1), gone, Id(in2)});
  EXPECT_TRUE(Holds(inBuilding));
  EXPECT_EQ(Of(inBuilding.Units), (Ids{Id(in1), Id(in2)}));
  SetList(inBuilding.Units, {Id(in1), Id(out), gone});
  EXPECT_FALSE(Holds(inBuilding));
  EXPECT_EQ(Of(inBuilding.Units), (Ids{Id(in1), Id(out), gone}));  // stopped at the first outside

  YLTriggerConditionInSector inSector;
  EXPECT_TRUE(Holds(inSector));
  SetList(inSector.Units, {gone, Id(near), Id(dead), Id(out)});
  EXPECT_TRUE(Holds(inSector));
  EXPECT_EQ(Of(inSector.Units), (Ids{Id(near), Id(out)}));
  inSector.Units.Append(Id(far));
  EXPECT_FALSE(Holds(inSector));
  inSector.Sector = 1;
  SetList(inSector.Units, {Id(far)});
  EXPECT_TRUE(Holds(inSector));
}

TEST_F(ConditionsTest, TeamInSectorCountsTheTeamsUnitsAcrossItsSectors) {
  Unit(5, 5, 1);
  Unit(8, 5, 1);
  Unit(11, 5, 2);
  Unit(30, 5, 1);  // sector 1
  Make("Lamppost", 14, 5, 0, 1);  // not a unit
  const struct {
    Ids sectors;
    int32_t team;
    int32_t count;
    bool holds;
  } cases[] = {
      {{0}, 1, 2, true},      {{0}, 1, 3, false},    {{0, 1}, 1, 3, true}, {{0, 9}, 1, 2, true},
      {{0, 9}, 1, 3, false},  {{9, 0}, 1, 1, false}, {{0}, 2, 1, true},    {{0}, 2, 2, false},
      {{3}, 1, 1, false},     {{}, 1, 0, false},
  };
  for (const auto& each : cases) {
    YLTriggerConditionTeamInSector condition;
    SetList(condition.Sector, each.sectors);
    condition.Team = each.team;
    condition.Count = each.count;
    EXPECT_EQ(Holds(condition), each.holds) << "sectors " << each.sectors.size() << " team " << each.team
                                            << " count " << each.count;
  }
}

TEST_F(ConditionsTest, WholeTeamInSectorMatchesTheTeamsFanCount) {
  Unit(5, 5, 1);
  Unit(8, 5, 1);
  YLUnit* outside = Unit(30, 5, 1);  // sector 1
  Unit(11, 8, 2);
  ASSERT_EQ(Player(1).GetParam(ParamSelectable), 3);
  const struct {
    int32_t team;
    int32_t sector;
    bool holds;
  } cases[] = {{2, 0, true}, {2, 1, false}, {1, 0, false}, {2, 9, false}, {4, 0, false}};
  for (const auto& each : cases) {
    YLTriggerConditionWholeTeamInSector condition;
    condition.Team = each.team;
    condition.Sector = each.sector;
    EXPECT_EQ(Holds(condition), each.holds) << each.team << " in " << each.sector;
  }
  // With the fan outside gone, the team stands whole in sector 0.
  DestroyThing(outside->Info.get());
  YLTriggerConditionWholeTeamInSector condition;
  EXPECT_EQ(condition.Team, 1);
  EXPECT_TRUE(Holds(condition));
}

TEST_F(ConditionsTest, ParamComparesByOperatorAndKeepsItsNumberInTheTable) {
  Player(1).SetParam(ParamMoney, 100);
  Player(1).SetParam(35, 6);
  const struct {
    int32_t op;
    int32_t value;
    bool holds;
  } cases[] = {{0, 99, true},  {0, 100, false}, {1, 101, true}, {1, 100, false}, {2, 100, true},
               {2, 99, false}, {3, 99, true},   {3, 100, false}, {4, 100, false}, {-1, 100, false}};
  for (const auto& each : cases) {
    YLTriggerConditionParam condition;
    condition.PID = 1;
    condition.Param = ParamMoney;
    condition.Operator = each.op;
    condition.Value = each.value;
    EXPECT_EQ(Holds(condition), each.holds) << each.op << " " << each.value;
  }
  YLTriggerConditionParam condition;
  condition.PID = 1;
  condition.Operator = OperatorEqual;
  condition.Value = 100;
  EXPECT_EQ(condition.SetProperty(1, "37"), -3);
  EXPECT_EQ(condition.Param, 1);
  EXPECT_TRUE(Holds(condition));
  condition.SetProperty(1, "-1");
  EXPECT_EQ(condition.Param, 35);
  condition.Value = 6;
  EXPECT_TRUE(Holds(condition));
  condition.SetProperty(1, "72");
  EXPECT_EQ(condition.Param, 0);
  // A stored number outside the table compares 0.
  condition.Param = 40;
  condition.Value = 0;
  EXPECT_TRUE(Holds(condition));
  condition.PID = 7;  // no such player
  EXPECT_FALSE(Holds(condition));
}

struct FightCase {
  const char* name;
  int32_t move;
  int32_t fighterOwner;
  int32_t opponentOwner;  // -1: no opponent ahead
  bool police;
  bool sameSide;
  bool innocents;
  int32_t fightsize;
  bool bothFight;
  bool holds;
};

TEST_F(ConditionsTest, FightingCountsFightersFacingOpponentsTheFlagsCount) {
  const FightCase cases[] = {
      {"move 11 against another side", 11, 1, 2, true, true, true, 1, false, true},
      {"move 12", 12, 1, 2, true, true, true, 1, false, true},
      {"move 13", 13, 1, 2, true, true, true, 1, false, true},
      {"move 27", 27, 1, 2, true, true, true, 1, false, true},
      {"move 10 is no fight", 10, 1, 2, true, true, true, 1, false, false},
      {"nobody ahead", 11, 1, -1, true, true, true, 1, false, false},
      {"an innocent, counted", 11, 1, 0, false, false, true, 1, false, true},
      {"an innocent, not counted", 11, 1, 0, true, true, false, 1, false, false},
      {"the police, counted", 11, 1, 3, true, false, false, 1, false, true},
      {"the police, not counted", 11, 1, 3, false, true, true, 1, false, false},
      {"another side, no flags", 11, 1, 2, false, false, false, 1, false, true},
      {"the same side, counted", 11, 1, 1, false, true, false, 1, false, true},
      {"the same side, not counted", 11, 1, 1, true, false, true, 1, false, false},
      {"a police fighter is skipped", 11, 3, 2, true, true, true, 1, false, false},
      {"fightsize 2, one fighter", 11, 1, 2, true, true, true, 2, false, false},
      {"fightsize 2, both fight", 11, 1, 2, true, true, true, 2, true, true},
  };
  for (const FightCase& each : cases) {
    SCOPED_TRACE(each.name);
    Fresh();
    // The fighter faces east (orientation 2), the opponent stands there.
    YLUnit* fighter = Unit(5, 5, each.fighterOwner, 2, each.fighterOwner == 3 ? "UnitPolice" : "UnitSkin");
    fighter->Info->MoveNumber = each.move;
    if (each.opponentOwner >= 0) {
      YLUnit* opponent = Unit(6, 5, each.opponentOwner, 6, each.opponentOwner == 3 ? "UnitPolice" : "UnitSkin");
      ASSERT_EQ(Logic().GetThingAt(6, 5), opponent);
      if (each.bothFight) {
        opponent->Info->MoveNumber = 12;
      }
    }
    YLTriggerConditionFighting condition;
    SetList(condition.Sector, {0});
    condition.Police = each.police;
    condition.SameSide = each.sameSide;
    condition.Innocents = each.innocents;
    condition.Fightsize = each.fightsize;
    EXPECT_EQ(Holds(condition), each.holds);
    SetList(condition.Sector, {1, 2});
    EXPECT_FALSE(Holds(condition));
  }
}

struct StatusCase {
  const char* thing;  // "unit", "inside", "pub", "lamp", "car"
  int32_t param;
  int32_t op;
  float value;
  bool holds;
};

TEST_F(ConditionsTest, ThingStatusReadsEachValueOfItsKind) {
  YLUnit* unit = Unit(5, 6, 1, 3);
  auto* pub = MakeAs<YLTPub>("Pub1", 30, 36, 0, 2);
  YLUnit* inside = Inside(pub, 2);
  YLThing* lamp = Make("Lamppost", 40, 5);
  auto* car = MakeAs<YLTCar>("Vehicle021-spelersbus", 40, 20);
  unit->Info->Hp = 0.5f;
  UnitInfo& record = *unit->GetUnitInfo();
  record.Ammo = 4;
  record.Anger = 0.5f;
  record.Beer = 0.25f;
  record.Cons = 0.75f;
  record.Dope = 0.125f;
  record.Fear = 0.375f;
  record.Flirt = 0.625f;
  record.Leader = 9;
  record.Loyalty = 0.875f;
  record.Stamina = 0.3125f;
  record.Weapon = 2;
  pub->SetInfoGrade(250);
  // Recruits of the types parameters 9 to 13 read: 7, 9, 2, 12, 1.
  const int32_t types[] = {7, 9, 2, 12, 1};
  int32_t recruits[5] = {};
  for (int32_t at = 0; at < 5; ++at) {
    for (int32_t more = 0; more <= at; ++more) {
      pub->AddAvailableUnit(types[at]);
    }
    recruits[at] = pub->CountAvailableHC(types[at]);
  }
  ASSERT_NE(recruits[0], recruits[4]);
  // The bus comes with its driver; parameter 26 names it, and 0 once the
  // bus has none.
  YLTDriver* driver = car->GetDriver();
  ASSERT_NE(driver, nullptr);
  {
    YLTriggerConditionThingStatus condition;
    condition.Thing = Id(car);
    condition.Param = YLTriggerConditionThingStatus::kDriver;
    condition.Value = static_cast<float>(Id(driver->GetDriverThing()));
    EXPECT_NE(condition.Value, 0.0f);
    EXPECT_TRUE(Holds(condition));
    driver->SetVehicle(nullptr);
    ASSERT_EQ(car->GetDriver(), nullptr);
    EXPECT_FALSE(Holds(condition));
  }
  const auto thingOf = [&](const std::string& name) -> YLThing* {
    if (name == "unit") return unit;
    if (name == "inside") return inside;
    if (name == "pub") return pub;
    if (name == "lamp") return lamp;
    return car;
  };
  const StatusCase cases[] = {
      {"unit", 0, 2, 0.5f, true},   {"unit", 0, 0, 0.4f, true},   {"lamp", 0, 2, 1.0f, true},
      {"unit", 1, 2, static_cast<float>(unit->Info->MoveNumber), true},
      {"pub", 1, 2, 0, true},       {"unit", 2, 2, 1, true},       {"pub", 2, 2, 2, true},
      {"unit", 3, 2, 3, true},      {"unit", 4, 2, 5, true},       {"unit", 5, 2, 6, true},
      {"unit", 6, 2, 0, true},      {"pub", 7, 2, 1, true},        {"car", 7, 2, 0, true},
      {"unit", 7, 2, 0, false},     {"pub", 8, 2, 250, true},      {"lamp", 8, 2, 0, false},
      {"car", 8, 2, 0, false},      {"unit", 14, 2, 4, true},      {"unit", 14, 2, 4.9f, true},
      {"pub", 14, 2, 0, false},     {"unit", 15, 2, 0.5f, true},   {"unit", 16, 2, 0.25f, true},
      {"unit", 17, 2, 0.75f, true}, {"unit", 18, 2, 0.125f, true}, {"unit", 19, 2, 0.375f, true},
      {"unit", 20, 2, 0.625f, true}, {"unit", 20, 1, 0.7f, true},  {"unit", 21, 2, 9, true},
      {"unit", 22, 2, 0.875f, true}, {"unit", 23, 2, 0.3125f, true}, {"unit", 24, 2, 2, true},
      {"lamp", 24, 2, 0, false},    {"unit", 25, 2, 0, true},      {"inside", 25, 2, static_cast<float>(Id(pub)), true},
      {"pub", 25, 2, 0, false},     {"car", 26, 2, 0, true},       {"unit", 26, 2, 0, false},
      {"unit", 27, 2, 0, false},    {"unit", -1, 2, 0, false},     {"unit", 2, 4, 1, false},
      {"unit", 2, 3, 1, false},     {"unit", 2, 3, 2, true},
  };
  for (const StatusCase& each : cases) {
    YLTriggerConditionThingStatus condition;
    condition.Thing = Id(thingOf(each.thing));
    condition.Param = each.param;
    condition.Operator = each.op;
    condition.Value = each.value;
    EXPECT_EQ(Holds(condition), each.holds) << each.thing << " param " << each.param << " op " << each.op
                                            << " value " << each.value;
  }
  for (int32_t at = 0; at < 5; ++at) {
    YLTriggerConditionThingStatus condition;
    condition.Thing = Id(pub);
    condition.Param = 9 + at;
    condition.Value = static_cast<float>(recruits[at]);
    EXPECT_TRUE(Holds(condition)) << "param " << 9 + at;
    condition.Thing = Id(unit);
    EXPECT_FALSE(Holds(condition)) << "param " << 9 + at;
  }
  YLTriggerConditionThingStatus missing;
  missing.Thing = 4000;
  EXPECT_FALSE(Holds(missing));
  EXPECT_EQ(missing.Operator, 2);
}

TEST_F(ConditionsTest, BuildingsTrashedAliveAndDead) {
  auto* first = MakeAs<YLTBuilding>("Pub1", 30, 36);
  auto* second = MakeAs<YLTBuilding>("Pub2", 10, 36);
  first->SetInfoGrade(100);
  second->SetInfoGrade(100);
  YLUnit* living = Unit(5, 5);
  YLUnit* dead = Unit(8, 5);
  Kill(dead);
  const int32_t gone = Vanished(Unit(11, 5));

  YLTriggerConditionBuildingsTrashed trashed;
  EXPECT_FALSE(Holds(trashed));
  SetList(trashed.BuildingIDs, {Id(living), 4000, Id(first), Id(second)});
  EXPECT_FALSE(Holds(trashed));
  second->StartMove(second->GetMoveInfo(YLTBuilding::kStateBroken));
  EXPECT_TRUE(Holds(trashed));
  second->StartMove(second->GetMoveInfo(YLTBuilding::kStateNormal));
  first->SetInfoGrade(0);
  EXPECT_TRUE(Holds(trashed));
  EXPECT_EQ(trashed.BuildingIDs.count, 4);  // nothing dropped

  YLTriggerConditionAlive alive;
  EXPECT_FALSE(Holds(alive));
  SetList(alive.Units, {gone, Id(dead), Id(living)});
  EXPECT_TRUE(Holds(alive));  // threshold 0, one living
  EXPECT_EQ(Of(alive.Units), (Ids{Id(living)}));
  alive.Count = 1;
  EXPECT_FALSE(Holds(alive));

  YLTriggerConditionDead deadOnes;
  EXPECT_FALSE(Holds(deadOnes));
  SetList(deadOnes.Units, {Id(living), gone, Id(dead)});
  EXPECT_TRUE(Holds(deadOnes));
  EXPECT_EQ(Of(deadOnes.Units), (Ids{Id(living), Id(dead)}));
  deadOnes.Count = 1;
  EXPECT_FALSE(Holds(deadOnes));
}

TEST_F(ConditionsTest, CupOwnerStatusNeedsACarriedCup) {
  YLUnit* carrier = Unit(5, 5, 2);
  YLTriggerConditionCupOwnerStatus condition;
  condition.Param = YLTriggerConditionThingStatus::kOwner;
  condition.Value = 2;
  EXPECT_FALSE(Holds(condition));  // no cup
  auto* cup = MakeAs<YLTCup>("Cup", 20, 20);
  ASSERT_EQ(Logic().GetCup(), cup);
  EXPECT_FALSE(Holds(condition));  // nobody carries it
  EXPECT_EQ(condition.Thing, 0);
  ASSERT_TRUE(cup->SetCarrier(Id(carrier)));
  EXPECT_TRUE(Holds(condition));
  EXPECT_EQ(condition.Thing, Id(carrier));
}

TEST_F(ConditionsTest, BankRobberStatusFollowsTheNextBurglar) {
  YLUnit* bystander = Unit(2, 2, 1);
  YLUnit* first = Unit(5, 5, 1);
  YLUnit* next = Unit(8, 5, 2);
  YLTriggerConditionBankRobberStatus condition;
  condition.Param = YLTriggerConditionThingStatus::kX;
  condition.Operator = OperatorGreater;
  condition.Value = 0;
  EXPECT_FALSE(Holds(condition));  // nobody robbed a bank
  first->Info->Status |= StatusBurgled;
  next->Info->Status |= StatusBurgled;
  EXPECT_TRUE(Holds(condition));
  EXPECT_EQ(condition.Thing, Id(first));
  first->Info->Status &= ~StatusBurgled;
  EXPECT_FALSE(Holds(condition));
  EXPECT_EQ(condition.Thing, 0);
  EXPECT_TRUE(Holds(condition));
  EXPECT_EQ(condition.Thing, Id(next));
  DestroyThing(next->Info.get());
  EXPECT_FALSE(Holds(condition));
  EXPECT_EQ(condition.Thing, 0);
  EXPECT_NE(Id(bystander), 0);
}

// ---- Editor lines ----

std::vector<std::string> Texts(const tStrings& list) {
  std::vector<std::string> texts;
  for (int32_t at = 0; at < list.count; ++at) {
    texts.emplace_back(list.Get(at));
  }
  return texts;
}

TEST(ConditionEditor, EachKindListsItsLinesAndTakesThemInOrder) {
  YLTriggerConditionFighting fighting;
  // Fightsize, the sector count, two sectors, police, innocents.
  EXPECT_EQ(fighting.SetProperty(0, "3"), -4);
  EXPECT_LT(fighting.SetProperty(1, "2"), 0);
  EXPECT_LT(fighting.SetProperty(2, "4"), 0);
  EXPECT_LT(fighting.SetProperty(3, "6"), 0);
  EXPECT_EQ(fighting.SetProperty(4, "0"), -2);
  EXPECT_EQ(fighting.SetProperty(5, "0"), -1);
  EXPECT_EQ(fighting.SetProperty(6, "1"), 0);
  EXPECT_EQ(fighting.Fightsize, 3);
  EXPECT_EQ(Of(fighting.Sector), (Ids{4, 6}));
  EXPECT_FALSE(fighting.Police);
  EXPECT_TRUE(fighting.SameSide);
  EXPECT_FALSE(fighting.Innocents);

  YLTriggerConditionTeamInSector team;
  EXPECT_LT(team.SetProperty(0, "2"), 0);
  EXPECT_LT(team.SetProperty(1, "1"), 0);
  EXPECT_LT(team.SetProperty(2, "5"), 0);
  EXPECT_EQ(team.SetProperty(3, "5"), 0);
  EXPECT_EQ(team.Count, 1);

  YLTriggerConditionAlive alive;
  EXPECT_LT(alive.SetProperty(0, "2"), 0);
  EXPECT_LT(alive.SetProperty(1, "1"), 0);
  EXPECT_LT(alive.SetProperty(2, "17"), 0);
  YLTriggerConditionBuildingsTrashed trashed;
  EXPECT_LT(trashed.SetProperty(0, "1"), 0);
  EXPECT_LT(trashed.SetProperty(1, "12"), 0);
  EXPECT_EQ(trashed.SetProperty(2, "1"), 0);
  YLTriggerConditionThingStatus status;
  EXPECT_EQ(status.SetProperty(3, "1.25"), -1);
  EXPECT_EQ(status.SetProperty(2, "!="), -2);
  YLTriggerConditionInBuilding building;
  building.SetProperty(0, "8");
  building.SetProperty(1, "1");
  building.SetProperty(2, "3");
  YLTriggerConditionInSector sector;
  sector.SetProperty(0, "2");
  YLTriggerConditionWholeTeamInSector whole;
  EXPECT_EQ(whole.SetProperty(1, "4"), -1);
  YLTriggerConditionDead dead;
  YLTriggerConditionCupOwnerStatus cup;
  YLTriggerConditionBankRobberStatus robber;
  YLTriggerConditionParam param;
  param.SetProperty(2, ">");

  const struct {
    YLTriggerCondition* condition;
    const char* record;
    std::vector<std::string> labels;
    std::vector<std::string> values;
  } cases[] = {
      {&fighting, "fighting...", {"  fightsize", "  #sector", "   0", "   1", "  police", "  innocents"},
       {"3", "2", "4", "6", "0", "0"}},
      {&team, "team in sector", {"  team", "  sector#", "   0"}, {"2", "1", "5"}},
      {&whole, "whole team in sector", {"  team", "  sector"}, {"1", "4"}},
      {&alive, "alive", {"  treshold", "  #things", "   id[0]"}, {"2", "1", "17"}},
      {&dead, "daed", {"  treshold", "  #things"}, {"0", "0"}},
      {&trashed, "buildings trashed", {"  #buildings", "   ID0"}, {"1", "12"}},
      {&status, "thing status", {"  thing", "  param", "  operator", "  value"}, {"0", "0", "!=", "1.250"}},
      {&cup, "cup holder status", {"  thing", "  param", "  operator", "  value"}, {"0", "0", "=", "0.000"}},
      {&robber, "bank robber status", {"  thing", "  param", "  operator", "  value"}, {"0", "0", "=", "0.000"}},
      {&param, "player param", {"  PID", "  param", "  operator", "  value"}, {"0", "0", ">", "0"}},
      {&building, "in building", {"  building", "  unit ids", "   0"}, {"8", "1", "3"}},
      {&sector, "in sector", {"  sector", "  unit ids"}, {"2", "0"}},
  };
  for (const auto& each : cases) {
    char record[YLEditableObject::kRecordStringSize];
    each.condition->GetRecordString(record, sizeof record);
    EXPECT_STREQ(record, each.record);
    tStrings labels;
    tStrings values;
    each.condition->ListProperties(labels, values);
    EXPECT_EQ(Texts(labels), each.labels) << each.record;
    EXPECT_EQ(Texts(values), each.values) << each.record;
  }
}

// ---- Streams ----

using Bytes = std::vector<uint8_t>;
using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;

Bytes Save(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

Loaded Load(Bytes bytes) {
  bytes.push_back(0);
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return Loaded(LoadObject(&stream, nullptr));
}

Bytes Text(const std::string& text) {
  Bytes bytes = {0, 0, 0, static_cast<uint8_t>(text.size())};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

Bytes Word(uint32_t value) {
  return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value)};
}

// Removes the tag text and the `after` bytes behind it.
void CutTag(Bytes& bytes, const std::string& tag, size_t after) {
  const Bytes pattern = Text(tag);
  auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
  ASSERT_NE(found, bytes.end()) << tag;
  bytes.erase(found, found + static_cast<std::ptrdiff_t>(pattern.size() + after));
}

TEST(ConditionStream, SectorListsAndFlagsWithAndWithoutTheirTags) {
  YLTriggerConditionTeamInSector team;
  SetListOf(team.Sector, {4});
  team.Team = 2;
  team.Count = 3;
  Bytes bytes = Save(team);
  {
    Loaded loaded = Load(bytes);
    auto* copy = dynamic_cast<YLTriggerConditionTeamInSector*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Sector.count, 1);
    EXPECT_EQ(copy->Team, 2);
    EXPECT_EQ(copy->Count, 3);
  }
  // An older record holds the one sector number where the tagged list is.
  CutTag(bytes, "secs:", 4);  // the tag and the count; the one id stays
  Loaded old = Load(bytes);
  auto* oldTeam = dynamic_cast<YLTriggerConditionTeamInSector*>(old.get());
  ASSERT_NE(oldTeam, nullptr);
  ASSERT_EQ(oldTeam->Sector.count, 1);
  EXPECT_EQ(oldTeam->Sector[0], 4);
  EXPECT_EQ(oldTeam->Team, 2);
  EXPECT_EQ(oldTeam->Count, 3);

  YLTriggerConditionFighting fighting;
  SetListOf(fighting.Sector, {1, 2});
  fighting.Fightsize = 4;
  fighting.Perceive = 7;
  fighting.Police = false;
  fighting.SameSide = true;
  fighting.Innocents = false;
  Bytes fightBytes = Save(fighting);
  {
    Loaded loaded = Load(fightBytes);
    auto* copy = dynamic_cast<YLTriggerConditionFighting*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Sector.count, 2);
    EXPECT_EQ(copy->Fightsize, 4);
    EXPECT_EQ(copy->Perceive, 7);
    EXPECT_FALSE(copy->Police);
    EXPECT_TRUE(copy->SameSide);
    EXPECT_FALSE(copy->Innocents);
    // The flags end the record: police, same side, innocents.
    const Bytes tail(fightBytes.end() - 3, fightBytes.end());
    EXPECT_EQ(tail, (Bytes{0, 1, 0}));
  }
  CutTag(fightBytes, "xtra:", 3);
  Loaded noFlags = Load(fightBytes);
  auto* defaults = dynamic_cast<YLTriggerConditionFighting*>(noFlags.get());
  ASSERT_NE(defaults, nullptr);
  EXPECT_TRUE(defaults->Police);
  EXPECT_TRUE(defaults->SameSide);
  EXPECT_TRUE(defaults->Innocents);
  EXPECT_EQ(defaults->Sector.count, 2);
}

TEST(ConditionStream, TheWholeTeamRecordHoldsOnlySectorAndTeam) {
  YLTriggerCondition bare;
  const Bytes bareBytes = Save(bare);
  YLTriggerConditionWholeTeamInSector whole;
  whole.Sector = 6;
  whole.Team = 2;
  const Bytes bytes = Save(whole);
  const size_t nameGrowth = std::string("YLTriggerConditionWholeTeamInSector").size() -
                            std::string("YLTriggerCondition").size();
  EXPECT_EQ(bytes.size(), bareBytes.size() + nameGrowth + 8);
  Bytes fields = Word(6);
  const Bytes team = Word(2);
  fields.insert(fields.end(), team.begin(), team.end());
  EXPECT_EQ(Bytes(bytes.end() - 8, bytes.end()), fields);
  Loaded loaded = Load(bytes);
  auto* copy = dynamic_cast<YLTriggerConditionWholeTeamInSector*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Sector, 6);
  EXPECT_EQ(copy->Team, 2);
}

TEST(ConditionStream, EveryKindRoundTrips) {
  YLTriggerConditionInBuilding building;
  building.BuildingID = 5;
  building.Units.Append(7);
  YLTriggerConditionInSector sector;
  sector.Sector = 2;
  sector.Units.Append(9);
  YLTriggerConditionParam param;
  param.PID = 2;
  param.Param = 3;
  param.Operator = 1;
  param.Value = -6;
  YLTriggerConditionThingStatus status;
  status.Thing = 4;
  status.Value = 1.5f;
  YLTriggerConditionCupOwnerStatus cup;
  cup.Param = 21;
  YLTriggerConditionBankRobberStatus robber;
  robber.Operator = 3;
  YLTriggerConditionBuildingsTrashed trashed;
  trashed.BuildingIDs.Append(3);
  trashed.Count = 2;
  YLTriggerConditionAlive alive;
  alive.Units.Append(8);
  alive.Count = 1;
  YLTriggerConditionDead dead;
  dead.Units.Append(11);
  YLTriggerCondition* all[] = {&building, &sector, &param, &status, &cup, &robber, &trashed, &alive, &dead};
  for (YLTriggerCondition* condition : all) {
    const Bytes bytes = Save(*condition);
    Loaded loaded = Load(bytes);
    ASSERT_NE(loaded, nullptr) << condition->GetClassName();
    EXPECT_STREQ(loaded->GetClassName(), condition->GetClassName());
    EXPECT_EQ(Save(*loaded), bytes) << condition->GetClassName();
  }
}

}  // namespace
