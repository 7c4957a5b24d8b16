#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogicMapFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/core/YLPropagator.h"
#include "logic/triggers/LogicPlanItem.h"

namespace logic_world_testing {
namespace {

// What the frame did, in order: "e<id>@<frame>:<neighbours>" for an
// evolve, "p<id>" for a propagate.
std::vector<std::string> journal;

class JournalUnit : public TestUnit {
 public:
  void Evolve() override {
    std::string line = "e" + std::to_string(Info->Tid) + "@" + std::to_string(GetLogic()->Time) + ":";
    for (int32_t index = 0; index < GetNeighbourCount(); ++index) {
      line += std::to_string(GetNeighbour(index)) + ",";
    }
    journal.push_back(line);
  }
  bool Propagate() override {
    journal.push_back("p" + std::to_string(Info->Tid));
    return false;  // a false answer leaves the thing where it is
  }
};

class JournalPropagator : public YLPropagator {
 public:
  JournalPropagator(const char* name, int32_t frames) : name(name), frames(frames) {}
  bool Propagate(CLogic*) override {
    journal.push_back(name);
    return --frames > 0;
  }
  const char* name;
  int32_t frames;
};

class LogicFrameTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    journal.clear();
    logic.Initialised = true;
    logic.Propagators.reset(new LumoObjects(true));
  }
};

TEST_F(LogicFrameTest, AUnitOfId5EvolvesInFrames7_19_31AndEveryThingPropagatesEachFrame) {
  Put<JournalUnit>(5, 4, 4);
  Put<JournalUnit>(6, 5, 4);
  Put<JournalUnit>(7, 15, 15)->Info->Status &= ~static_cast<uint32_t>(StatusAlive);
  for (int32_t frame = 0; frame < 32; ++frame) {
    ASSERT_TRUE(logic.Compute());
  }
  std::vector<std::string> evolved;
  int32_t propagated = 0;
  for (const std::string& line : journal) {
    if (line[0] == 'e' && line[1] == '5') {
      evolved.push_back(line);
    } else if (line[0] == 'e') {
      EXPECT_EQ(line.rfind("e6@", 0), 0u) << "a dead unit never evolves: " << line;
    } else {
      ++propagated;
    }
  }
  // The unit perceives what the map sees around it: the living unit beside
  // it, not the dead one.
  const std::vector<std::string> expected = {"e5@7:6,", "e5@19:6,", "e5@31:6,"};
  EXPECT_EQ(evolved, expected);
  EXPECT_EQ(propagated, 96);
  EXPECT_EQ(logic.Time, 32u);
  EXPECT_NE(logic.GetThing(5), nullptr);
}

TEST_F(LogicFrameTest, NothingRunsBeforeInit) {
  logic.Initialised = false;
  Put<JournalUnit>(5, 4, 4);
  EXPECT_TRUE(logic.Compute());
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(logic.Time, 0u);
}

TEST_F(LogicFrameTest, AFinishedPropagatorGoesAndTheNextStillRuns) {
  logic.Propagators->Append(new JournalPropagator("a", 1));
  logic.Propagators->Append(new JournalPropagator("b", 2));
  logic.Compute();
  logic.Compute();
  EXPECT_EQ(journal, (std::vector<std::string>{"a", "b", "b"}));
  EXPECT_EQ(logic.Propagators->count, 0);
}

TEST_F(LogicFrameTest, ADyingUnitLeavesTheMapAndItsPlayersCount) {
  logic.Players.reset(new LumoObjects(true));
  CPlayer* player = logic.CreatePlayer(1);
  JournalUnit* unit = Put<JournalUnit>(5, 4, 4);
  unit->SetOwner(1);
  player->OnThingOwned(true, unit);
  logic.ThingCount = 1;
  unit->Destroy();
  EXPECT_EQ(logic.ThingCount, 0);
  EXPECT_EQ(Map().GetThingIDAt(4, 4), 0);
  EXPECT_EQ(player->GetParam(ParamThings), 0);
  EXPECT_EQ(logic.GetThing(5), unit);
}

// A replaced player is freed (the sanitizer build reports the leak).
TEST_F(LogicFrameTest, CreatePlayerGivesThePoliceSlotAPolicePlayerAndFreesWhatItReplaces) {
  logic.Players.reset(new LumoObjects(true));
  logic.CreatePlayer(2)->AddMoney(5);
  CPlayer* second = logic.CreatePlayer(2);
  EXPECT_EQ(logic.GetPlayer(2), second);
  EXPECT_EQ(second->GetMoney(), 1000);
  EXPECT_NE(dynamic_cast<YLPlayerPolice*>(logic.CreatePlayer(CLogic::kPolicePlayer)), nullptr);
  EXPECT_EQ(logic.GetPlayerCount(), 3);
}

TEST(LogicLife, ResetLeavesTheLogicAsConstructed) {
  CLogic logic;
  ASSERT_TRUE(logic.Init());
  EXPECT_EQ(TheLogic(), &logic);
  EXPECT_NE(dynamic_cast<YLPlayerPolice*>(logic.GetPlayer(CLogic::kPolicePlayer)), nullptr);
  logic.AddString("Obst01");
  logic.Vinkjes.Append(1);
  logic.SinglePlayer = 0;
  logic.InsertPlan(new LogicPlanItem, 40);
  logic.Compute();
  logic.Reset();
  EXPECT_FALSE(logic.Initialised);
  EXPECT_EQ(logic.Time, 0u);
  EXPECT_EQ(logic.GetStringCount(), CLogic::kUnitTypeNames);
  EXPECT_EQ(logic.Vinkjes.count, 0);
  EXPECT_EQ(logic.SinglePlayer, 1);
  EXPECT_EQ(logic.PlanLongTerm.first, nullptr);
  EXPECT_EQ(logic.Players, nullptr);
  EXPECT_EQ(logic.Things, nullptr);
  ASSERT_TRUE(logic.Init());
  EXPECT_EQ(logic.GetPlayerCount(), 3);
}

}  // namespace
}  // namespace logic_world_testing
