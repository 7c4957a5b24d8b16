// The start crews of a game of several players, and a side that gives up
// and runs for the level's edge.

#include <string>
#include <vector>

#include "LogicThingsFixture.h"
#include "base/Random.h"
#include "logic/core/UnitInfo.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace {

using logic_things_testing::LogicThingsTest;

struct Placed {
  int32_t x;
  int32_t y;
  int32_t type;
};

class StartCrewTest : public LogicThingsTest {
 protected:
  // Every unit of the player in id order: its cell and unit type.
  std::vector<Placed> UnitsOf(int32_t player) {
    std::vector<Placed> units;
    for (int32_t id = 1; id < logic.Things->count; ++id) {
      auto* unit = dynamic_cast<YLUnit*>(logic.GetThing(id));
      if (unit != nullptr && unit->GetOwner() == player) {
        units.push_back({unit->Info->X, unit->Info->Y, unit->Info->Gfx});
      }
    }
    return units;
  }

  YLUnitLeader* LeaderAt(int32_t x, int32_t y) { return dynamic_cast<YLUnitLeader*>(logic.GetThingAt(x, y)); }
};

bool operator==(const Placed& a, const Placed& b) { return a.x == b.x && a.y == b.y && a.type == b.type; }

TEST_F(StartCrewTest, OneCrewFillsItsSquareColumnByColumnLeaderFirst) {
  logic.CreateStartCrew(1, 10, 10, 1);
  const std::vector<Placed> expected = {{8, 8, 10}, {8, 9, 1}, {8, 10, 2}, {8, 11, 7}, {9, 8, 9}, {9, 9, 12}};
  EXPECT_EQ(UnitsOf(1), expected);
  YLUnitLeader* leader = LeaderAt(8, 8);
  ASSERT_NE(leader, nullptr);
  const LeaderInfo* info = leader->GetLeaderInfo();
  EXPECT_STREQ(info->LeaderName, "Knuckles");
  EXPECT_EQ(info->GroupSize, 5);
  for (int32_t member = 0; member < info->GroupSize; ++member) {
    const auto* unit = logic.GetThing(info->Group[member]);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(dynamic_cast<const UnitInfo*>(unit->Info.get())->Leader, info->Tid);
  }
  CPlayer* player = logic.GetPlayer(1);
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(player->GetLeaderCount(), 1);
  EXPECT_EQ(player->GetParam(ParamSelectable), 6);
}

TEST_F(StartCrewTest, TwoCrewsSearchAWiderSquareAndTheSecondLeaderLeadsTheRest) {
  logic.CreateStartCrew(2, 10, 10, 2);
  const std::vector<Placed> units = UnitsOf(2);
  ASSERT_EQ(units.size(), 12u);
  EXPECT_EQ(units[0], (Placed{7, 7, 10}));
  EXPECT_EQ(units[4], (Placed{7, 11, 9}));
  EXPECT_EQ(units[5], (Placed{8, 7, 12}));
  EXPECT_EQ(units[6], (Placed{8, 8, 10}));
  EXPECT_EQ(units[11], (Placed{9, 8, 12}));
  YLUnitLeader* first = LeaderAt(7, 7);
  YLUnitLeader* second = LeaderAt(8, 8);
  ASSERT_NE(second, nullptr);
  EXPECT_STREQ(second->GetLeaderInfo()->LeaderName, "Moose");
  EXPECT_EQ(first->GetLeaderInfo()->GroupSize, 5);
  EXPECT_EQ(second->GetLeaderInfo()->GroupSize, 5);
  EXPECT_EQ(dynamic_cast<UnitInfo*>(logic.GetThingAt(8, 9)->Info.get())->Leader, second->GetTid());
}

TEST_F(StartCrewTest, TakenAndBlockedCellsAreSkipped) {
  ASSERT_NE(logic.CreateThing("Lamppost", 8, 9, 0, 0, 0), nullptr);
  logic.Map->GetStratMap()->SetOccupied(8, 10, true);
  logic.CreateStartCrew(1, 10, 10, 1);
  const std::vector<Placed> expected = {{8, 8, 10}, {8, 11, 1}, {9, 8, 2}, {9, 9, 7}, {9, 10, 9}, {9, 11, 12}};
  EXPECT_EQ(UnitsOf(1), expected);
}

TEST_F(StartCrewTest, UnitsThatFindNoCellAreNotMade) {
  logic.CreateStartCrew(1, 0, 0, 1);
  const std::vector<Placed> expected = {{0, 0, 10}, {0, 1, 1}, {1, 0, 2}, {1, 1, 7}};
  EXPECT_EQ(UnitsOf(1), expected);
}

TEST_F(StartCrewTest, CrewCountsOutsideOneToEightMakeNothing) {
  for (const int32_t crews : {0, 9, -1}) {
    const std::string log = Logged([&] { logic.CreateStartCrew(crews, 10, 10, 1); });
    EXPECT_NE(log.find("CLogic::CreateStartCrew: no start crew of " + std::to_string(crews)), std::string::npos);
  }
  EXPECT_EQ(logic.ThingCount, 0);
  EXPECT_EQ(logic.GetPlayer(1), nullptr);
  logic.CreateStartCrew(8, 16, 16, 1);
  EXPECT_EQ(UnitsOf(1).size(), 48u);
}

// ---- Running away ----

class RunAwayTest : public LogicThingsTest {
 protected:
  void SetUp() override {
    LogicThingsTest::SetUp();
    logic.CreatePlayer(1);
    logic.CreatePlayer(2);
    logic.CreatePlayer(4);
  }

  // A border of the grid's sector map from (ax, ay) to (bx, by) with one
  // sector, or two.
  void AddBorder(int32_t ax, int32_t ay, int32_t bx, int32_t by, bool twoSides = false) {
    YLSectors& sectors = *logic.Map->GetStratMap()->GetSectors();
    if (sectors.GetSectorCount() == 0) {
      ASSERT_TRUE(sectors.AppendSector(new YLSector));
      ASSERT_TRUE(sectors.AppendSector(new YLSector));
    }
    ASSERT_TRUE(sectors.AppendVertex(new YLVertex(ax, ay)));
    ASSERT_TRUE(sectors.AppendVertex(new YLVertex(bx, by)));
    auto* border = new YLSectorBorder;
    border->SetA(sectors.GetVertexCount() - 2);
    border->SetB(sectors.GetVertexCount() - 1);
    border->SetLeft(sectors.GetSector(0));
    border->SetRight(twoSides ? sectors.GetSector(1) : nullptr);
    ASSERT_TRUE(sectors.AppendBorder(border));
  }

  YLUnit* Unit(int32_t x, int32_t owner) { return logic.CreateUnitAt(x, 20, 0, 0, 1, owner, nullptr); }

  // The order at the top of the unit's plan.
  static const PsychicPlanItem* Order(YLUnit* unit) { return unit->Plan.child; }

  GameOverTrigger* TriggerIn(int32_t bucket) {
    for (LogicPlanItem* item = logic.Plan[bucket].first; item != nullptr; item = item->Next) {
      if (auto* trigger = dynamic_cast<GameOverTrigger*>(item)) {
        return trigger;
      }
    }
    return nullptr;
  }
};

TEST_F(RunAwayTest, EachUnitRunsForTheMiddleOfABorderDrawnInIdOrder) {
  AddBorder(0, 0, 31, 0);     // on the edge: midpoint (15, 0)
  AddBorder(5, 5, 10, 5);     // inside the map: no way out
  AddBorder(31, 0, 31, 31);   // on the edge: midpoint (31, 15)
  AddBorder(0, 31, 0, 0, true);  // two sides: no way out
  AddBorder(0, 31, 5, 31);    // on the edge: midpoint (2, 31)
  std::vector<YLUnit*> runners = {Unit(3, 1), Unit(5, 1), Unit(7, 1), Unit(9, 1)};
  YLUnit* other = Unit(11, 2);

  SetRandomSeed(1234);
  std::vector<int32_t> draws;
  for (size_t index = 0; index < runners.size(); ++index) {
    draws.push_back(RandomSigned(2));
  }
  SetRandomSeed(1234);
  logic.RunAway(1);

  const int32_t midpoints[3][2] = {{15, 0}, {31, 15}, {2, 31}};
  for (size_t index = 0; index < runners.size(); ++index) {
    const PsychicPlanItem* order = Order(runners[index]);
    ASSERT_NE(order, nullptr) << index;
    EXPECT_EQ(order->Action, 57);
    EXPECT_FLOAT_EQ(order->Motivation, 2.0f);
    EXPECT_TRUE(order->Fast);
    // The unit heads for the midpoint by the way out it expanded the order
    // into.
    const PsychicPlanItem* escape = order->child;
    ASSERT_NE(escape, nullptr);
    EXPECT_EQ(escape->Param1, midpoints[draws[index]][0]) << index;
    EXPECT_EQ(escape->Param2, midpoints[draws[index]][1]) << index;
  }
  EXPECT_EQ(Order(other), nullptr);
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamState), CPlayer::kStateLost);
  EXPECT_EQ(logic.GetPlayer(2)->GetParam(ParamState), CPlayer::kStatePlaying);
}

TEST_F(RunAwayTest, WithoutAnEscapeBorderNoUnitRuns) {
  AddBorder(5, 5, 10, 5);
  AddBorder(0, 0, 31, 0, true);
  AddBorder(0, 0, 5, 10);  // one vertex on the edge, the other inside
  YLUnit* runner = Unit(3, 1);
  logic.RunAway(1);
  EXPECT_EQ(Order(runner), nullptr);
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamState), CPlayer::kStateLost);
}

TEST_F(RunAwayTest, TheNearGameOverTriggersMakeWayForOneDueInSevenFrames) {
  logic.InsertPlan(new GameOverTrigger(1), 3);
  logic.InsertPlan(new GameOverTrigger(2), 5);
  auto* distant = new GameOverTrigger(1);
  logic.InsertPlan(distant, 100);
  const uint32_t now = logic.Time;
  logic.RunAway(1);
  EXPECT_EQ(TriggerIn(static_cast<int32_t>((now + 3) % CLogic::kPlanSize)), nullptr);
  ASSERT_NE(TriggerIn(static_cast<int32_t>((now + 5) % CLogic::kPlanSize)), nullptr);
  EXPECT_EQ(TriggerIn(static_cast<int32_t>((now + 5) % CLogic::kPlanSize))->PID, 2);
  GameOverTrigger* fresh = TriggerIn(static_cast<int32_t>((now + 7) % CLogic::kPlanSize));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->PID, 1);
  EXPECT_EQ(fresh->Time, now + 7);
  bool kept = false;
  for (LogicPlanItem* item = logic.PlanLongTerm.first; item != nullptr; item = item->Next) {
    kept = kept || item == distant;
  }
  EXPECT_TRUE(kept);
}

}  // namespace
