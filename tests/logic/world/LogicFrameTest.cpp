#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "LogicMapFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/core/YLPropagator.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/world/ThingDebugSource.h"
#include "logic/world/YLTContainerThing.h"

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

// Inside a container a unit perceives what the container holds, itself
// included, and nothing of the map around it.
TEST_F(LogicFrameTest, AUnitInAContainerPerceivesTheContainersContents) {
  auto* container = Put<YLTContainerThing>(2, 10, 10);
  for (const int32_t id : {9, 5, 17}) {
    container->Enter(Add<JournalUnit>(id));
  }
  // On the map beside where the unit's record says it stands.
  Put<JournalUnit>(30, 5, 6);
  for (int32_t frame = 0; frame < 8; ++frame) {
    ASSERT_TRUE(logic.Compute());
  }
  std::vector<std::string> evolved;
  for (const std::string& line : journal) {
    if (line.rfind("e5@", 0) == 0) {
      evolved.push_back(line);
    }
  }
  EXPECT_EQ(evolved, (std::vector<std::string>{"e5@7:9,5,17,"}));
}

// A plan item that writes down the frame it runs in; a repeating one plans
// itself again after its frequency.
class FrameItem : public ConditionTrigger {
 public:
  FrameItem(const char* name, uint32_t frequency) : ConditionTrigger(frequency), name(name) {}
  void Execute(CLogic* logic) override { journal.push_back(std::string(name) + "@" + std::to_string(logic->Time)); }
  const char* name;
};

// Through the frame: items run at their exact frames, before the things of
// that frame, whether they waited in a bucket or in the long list.
TEST_F(LogicFrameTest, PlanItemsRunAtTheirFramesBeforeTheThings) {
  Put<JournalUnit>(5, 4, 4);
  logic.InsertPlan(new FrameItem("d7", 0), 7);
  logic.InsertPlan(new FrameItem("d29", 0), 29);
  logic.InsertPlan(new FrameItem("d30", 0), 30);
  logic.InsertPlan(new FrameItem("d59", 0), 59);
  logic.InsertPlan(new FrameItem("f45", 45), 45);
  for (int32_t frame = 0; frame < 140; ++frame) {
    ASSERT_TRUE(logic.Compute());
  }
  std::vector<std::string> runs;
  std::string beforeEvolve;
  for (size_t index = 0; index < journal.size(); ++index) {
    const std::string& line = journal[index];
    if (line[0] == 'd' || line[0] == 'f') {
      runs.push_back(line);
    }
    if (line.rfind("e5@7:", 0) == 0 && index > 0) {
      beforeEvolve = journal[index - 1];
    }
  }
  EXPECT_EQ(runs, (std::vector<std::string>{"d7@7", "d29@29", "d30@30", "f45@45", "d59@59", "f45@90", "f45@135"}));
  EXPECT_EQ(beforeEvolve, "d7@7");
  EXPECT_EQ(logic.PlanLongTerm.first->Time, 180u);
}

// A step that fails is logged with the frame and, for a thing, its id and
// debug text; the exception goes on and the frame does not count.
class FailingUnit : public JournalUnit {
 public:
  void Evolve() override {
    if (failEvolve) {
      throw std::runtime_error("evolve");
    }
  }
  bool Propagate() override {
    if (failPropagate) {
      throw std::runtime_error("propagate");
    }
    return true;
  }
  void GetDebugText(tString& text) const override { text = "failing unit\n"; }
  bool failEvolve = false;
  bool failPropagate = false;
};

class FailingItem : public LogicPlanItem {
 public:
  void Execute(CLogic*) override { throw std::runtime_error("item"); }
};

TEST_F(LogicFrameTest, AFailingStepIsLoggedWithTheFrameAndTheThing) {
  FailingUnit* unit = Put<FailingUnit>(5, 4, 4);
  // The unit evolves in frames 7, 19, 31, ...; the item is due in frame 37.
  const struct {
    const char* name;
    std::function<void()> arrange;
    uint32_t frame;
    std::string logged;
  } cases[] = {
      {"a plan item", [&] { logic.InsertPlan(new FailingItem, 30); }, 37,
       "CLogic::PropagatePlan exception in currplan->Execute:( 37: LogicPlanItem)\n"
       "CLogic::Compute(37) exception in PropagatePlan()\n"},
      {"a unit's evolve", [&] { unit->failEvolve = true; }, 7,
       "CLogic::Compute(7) exception in unit5->Evolve\n-->thinginfo:\nfailing unit\n"},
      {"a thing's propagation", [&] { unit->failPropagate = true; }, 7,
       "CLogic::Compute(7) exception in thing5->propagate\n-->thinginfo:\nfailing unit\n"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.name);
    logic.Time = 7;
    unit->failEvolve = false;
    unit->failPropagate = false;
    each.arrange();
    uint32_t failedAt = 0;
    const std::string logged = Logged([&] {
      for (int32_t frame = 0; frame < 40 && failedAt == 0; ++frame) {
        const uint32_t now = logic.Time;
        try {
          logic.Compute();
        } catch (const std::runtime_error&) {
          failedAt = now;
          EXPECT_EQ(logic.Time, now);
        }
      }
    });
    EXPECT_EQ(failedAt, each.frame);
    EXPECT_NE(logged.find(each.logged), std::string::npos) << logged;
  }
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

// Freeing the logic through the framework empties it as Reset does; a new
// or reset logic puts the library's technology level back to 3.
TEST(LogicLife, FreeingResetsAndTheTechnologyLevelStartsAtThree) {
  CLogic::SetTechnologyLevel(1);
  auto logic = std::make_unique<CLogic>();
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 3);
  ASSERT_TRUE(logic->Init());
  logic->InsertPlan(new LogicPlanItem, 50);
  CLogic::SetTechnologyLevel(0);
  logic->Free();
  EXPECT_FALSE(logic->Initialised);
  EXPECT_EQ(logic->Players, nullptr);
  EXPECT_EQ(logic->PlanLongTerm.first, nullptr);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 3);
}

// A running logic lets the things' records name their types in their debug
// texts.
TEST(LogicLife, TheRunningLogicGivesRecordsTheirTypeNames) {
  ThingInfo::SetDebugSource(nullptr);
  CLogic logic;
  ASSERT_TRUE(logic.Init());
  auto* unit = new TestUnit;
  unit->CreateInfo(0);
  unit->Info->Tid = 4;
  unit->Info->Gfx = 1;
  logic.Things->SetCount(5);
  (*logic.Things)[4] = unit;
  tString text;
  unit->Info->DebugPrint(text);
  EXPECT_NE(std::string(text.text).find("thing4, UnitRat(1)"), std::string::npos) << text.text;
}

}  // namespace
}  // namespace logic_world_testing
