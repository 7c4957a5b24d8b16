#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LogicMapFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/LogicPlanGameOver.h"
#include "logic/triggers/LogicPlanNotifyGameOver.h"
#include "logic/triggers/LogicPlanWarpZ.h"

namespace logic_world_testing {
namespace {

class SpeechListener : public YLEventListener {
 public:
  void EventSpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value) override {
    heard.push_back(std::to_string(kind) + "," + std::to_string(subjectId) + "," + std::to_string(message) + "," +
                    std::to_string(value));
  }
  std::vector<std::string> heard;
};

class GameOverTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    logic.Players.reset(new LumoObjects(true));
    logic.Initialised = true;
    ASSERT_TRUE(logic.AddListener(&speech));
  }

  void TearDown() override {
    logic.DetachListeners();
    LogicMapTest::TearDown();
  }

  // Players 1 up to last (the police at 3), each playing.
  void MakePlayers(int32_t last) {
    for (int32_t id = 1; id <= last; ++id) {
      ASSERT_NE(logic.CreatePlayer(id), nullptr);
    }
  }

  std::vector<int32_t> States() const {
    std::vector<int32_t> states;
    for (int32_t id = 1; logic.GetPlayer(id) != nullptr; ++id) {
      states.push_back(logic.GetPlayer(id)->GetParam(ParamState));
    }
    return states;
  }

  // Every planned item, sorted: notices as "notify <player> won|lost
  // @<frame>", other items by class and frame.
  std::vector<std::string> Planned() const {
    std::vector<std::string> items;
    auto describe = [&](const LogicPlanItem* first) {
      for (const LogicPlanItem* item = first; item != nullptr; item = item->Next) {
        const std::string at = " @" + std::to_string(item->Time);
        if (const auto* notice = dynamic_cast<const LogicPlanNotifyGameOver*>(item)) {
          items.push_back("notify " + std::to_string(notice->Player) + (notice->IsVictory() ? " won" : " lost") + at);
        } else {
          items.push_back(item->GetClassName() + at);
        }
      }
    };
    for (const PlanList& list : logic.Plan) {
      describe(list.first);
    }
    describe(logic.PlanLongTerm.first);
    std::sort(items.begin(), items.end());
    return items;
  }

  SpeechListener speech;
};

struct EndCase {
  const char* name;
  int32_t players;     // ids 1 up to this one, the police at 3
  bool singlePlayer;
  int32_t player;
  bool won;
  std::vector<int32_t> states;
  std::vector<std::string> planned;
};

// Frame 10. Before the end the plan holds the deciding trigger (spared),
// two thing warps, a plain item and a repeating trigger.
TEST_F(GameOverTest, EndGameForPlayer) {
  const std::vector<std::string> cleared = {
      "GameOverTrigger @15", "LogicPlanWarpZ @15", "LogicPlanWarpZ @50",
  };
  const std::vector<std::string> untouched = {
      "ConditionTrigger @110", "GameOverTrigger @15", "LogicPlanItem @15", "LogicPlanWarpZ @15", "LogicPlanWarpZ @50",
  };
  auto with = [](std::vector<std::string> items, const std::vector<std::string>& more) {
    items.insert(items.end(), more.begin(), more.end());
    std::sort(items.begin(), items.end());
    return items;
  };
  const EndCase cases[] = {
      {"a winner beats everyone still playing", 4, false, 2, true, {0, 1, 3, 0},
       with(cleared, {"notify 1 lost @70", "notify 2 won @70", "notify 4 lost @70"})},
      {"a loser among two still playing", 4, false, 1, false, {0, 2, 3, 2}, untouched},
      {"the last one standing wins", 3, false, 1, false, {0, 1, 3},
       with(cleared, {"notify 1 lost @70", "notify 2 won @70", "notify 3 lost @70"})},
      {"single player: a loser is told at once", 4, true, 1, false, {0, 2, 3, 2},
       with(untouched, {"notify 1 lost @70"})},
      {"single player: told once when the game ends", 3, true, 1, false, {0, 1, 3},
       with(cleared, {"notify 1 lost @70", "notify 2 won @70", "notify 3 lost @70"})},
      {"a winner who played alone", 1, false, 1, true, {1}, with(cleared, {"notify 1 won @70"})},
  };
  for (const EndCase& each : cases) {
    SCOPED_TRACE(each.name);
    logic.EmptyPlan();
    logic.Players.reset(new LumoObjects(true));
    MakePlayers(each.players);
    logic.SinglePlayer = each.singlePlayer ? 1 : 0;
    logic.Time = 10;
    auto* deciding = new GameOverTrigger(each.player);
    logic.InsertPlan(deciding, 5);
    logic.InsertPlan(new LogicPlanWarpZ(9, 0), 5);
    logic.InsertPlan(new LogicPlanWarpZ(9, 4), 40);
    logic.InsertPlan(new LogicPlanItem, 5);
    logic.InsertPlan(new ConditionTrigger(3), 100);

    logic.EndGameForPlayer(each.player, each.won, deciding);
    EXPECT_EQ(States(), each.states);
    EXPECT_EQ(Planned(), each.planned);
  }
}

// A trigger of another game-over kind: ScheduleGameOver clears the whole
// family.
class LevelGameOverTrigger : public GameOverTrigger {
 public:
  const char* GetClassName() const override { return "LevelGameOverTrigger"; }
};

TEST_F(GameOverTest, ScheduleGameOverLeavesOneGameOverTriggerAndPlansTheWin) {
  MakePlayers(3);
  logic.SinglePlayer = 0;
  // Both still have fan units: the spared trigger ends nothing.
  logic.GetPlayer(1)->SetParam(ParamSelectable, 3);
  logic.GetPlayer(2)->SetParam(ParamSelectable, 3);
  auto* spared = new GameOverTrigger(1);
  logic.InsertPlan(spared, 3);
  logic.InsertPlan(new GameOverTrigger(2), 3);
  logic.InsertPlan(new LevelGameOverTrigger, 45);
  logic.InsertPlan(new ConditionTrigger(5), 4);
  logic.InsertPlan(new LogicPlanWarpZ(9, 0), 70);
  logic.ScheduleGameOver(2, spared, 60);
  EXPECT_EQ(Planned(), (std::vector<std::string>{"ConditionTrigger @4", "GameOverTrigger @3", "LogicPlanGameOver @60",
                                                 "LogicPlanWarpZ @70"}));

  // The planned win runs in frame 60: player 2 wins, the plan is cleared
  // but for the warp, and the game-over item is gone after its run.
  while (logic.Time <= 60) {
    logic.Compute();
  }
  EXPECT_EQ(States(), (std::vector<int32_t>{0, 1, 3}));
  EXPECT_EQ(Planned(),
            (std::vector<std::string>{"LogicPlanWarpZ @70", "notify 1 lost @120", "notify 2 won @120"}));
}

// The game-over trigger checks every 24 frames; once its player has no
// fan units left, player 1 hears the loss message, loses, and the trigger
// stops: the plan deletes it after that run.
TEST_F(GameOverTest, APlayerWithoutFanUnitsLosesWithinOneCheck) {
  MakePlayers(3);
  logic.SinglePlayer = 1;
  logic.GetPlayer(1)->SetParam(ParamSelectable, 4);
  auto* trigger = new GameOverTrigger(1);
  trigger->LooseMsg = 12;
  logic.InsertPlan(trigger, 1);
  logic.Compute();
  logic.Compute();
  EXPECT_EQ(States(), (std::vector<int32_t>{2, 2, 3}));
  logic.GetPlayer(1)->SetParam(ParamSelectable, 0);
  while (logic.Time <= 25) {
    logic.Compute();
  }
  EXPECT_EQ(speech.heard, (std::vector<std::string>{"1,0,20,12"}));
  EXPECT_EQ(States(), (std::vector<int32_t>{0, 1, 3}));
  EXPECT_EQ(Planned(), (std::vector<std::string>{"notify 1 lost @85", "notify 2 won @85", "notify 3 lost @85"}));
}

// Another player's loss, or a missing player, says nothing.
TEST_F(GameOverTest, TheLossMessageIsOnlyForPlayerOneAndAMissingPlayerDoesNothing) {
  MakePlayers(4);
  logic.SinglePlayer = 0;
  GameOverTrigger second(2);
  second.LooseMsg = 12;
  second.Execute(&logic);
  EXPECT_TRUE(speech.heard.empty());
  EXPECT_EQ(States(), (std::vector<int32_t>{2, 0, 3, 2}));
  EXPECT_EQ(second.Frequency, 0u);
  GameOverTrigger missing(9);
  missing.Execute(&logic);
  EXPECT_EQ(missing.Frequency, GameOverTrigger::kGameOverFrequency);
}

TEST_F(GameOverTest, AWarpLiftsAThingOffTheMapAndSetsItBack) {
  YLThing* thing = Put<TestUnit>(5, 4, 4);
  logic.InsertPlan(new LogicPlanWarpZ(5, 7), 0);
  EXPECT_EQ(thing->Info->Z, 7);
  EXPECT_EQ(Map().GetThingIDAt(4, 4), 0);
  logic.InsertPlan(new LogicPlanWarpZ(5, 0), 0);
  EXPECT_EQ(thing->Info->Z, 0);
  EXPECT_EQ(Map().GetThingIDAt(4, 4), 5);
  // Setting down what stands on the map writes the same footprint again.
  logic.InsertPlan(new LogicPlanWarpZ(5, 0), 0);
  EXPECT_EQ(Map().GetThingIDAt(4, 4), 5);
  // Nothing for an id without a thing, nor for a thing in a container.
  logic.InsertPlan(new LogicPlanWarpZ(77, 3), 0);
  thing->Info->Status |= StatusInContainer;
  logic.InsertPlan(new LogicPlanWarpZ(5, 3), 0);
  EXPECT_EQ(thing->Info->Z, 0);
  EXPECT_EQ(Map().GetThingIDAt(4, 4), 5);
}

// A unit kind that plans chant steps, as the supporters do.
class ChantingUnit : public TestUnit {
 public:
  bool MakePlan() override {
    return GetPlanLeaf()->Action == OrderKind::kChant || YLUnit::MakePlan();
  }
};

// A won game sets every unit of the winner chanting, each with a step of its
// own; the units of the players who lost keep their plans.
TEST_F(GameOverTest, AWinnersUnitsChantEachWithItsOwnStep) {
  MakePlayers(2);
  ChantingUnit* winners[] = {Put<ChantingUnit>(5, 4, 4), Put<ChantingUnit>(6, 8, 4)};
  ChantingUnit* loser = Put<ChantingUnit>(7, 12, 4);
  winners[0]->SetOwner(2);
  winners[1]->SetOwner(2);
  loser->SetOwner(1);

  logic.EndGameForPlayer(2, true, nullptr);

  for (ChantingUnit* unit : winners) {
    const PsychicPlanItem* step = unit->Plan.child;
    ASSERT_NE(step, nullptr);
    EXPECT_STREQ(step->GetClassName(), "PsychicPlanChant");
    EXPECT_EQ(step->Motivation, 2.0f);
    EXPECT_TRUE(step->Fast);
  }
  EXPECT_NE(winners[0]->Plan.child, winners[1]->Plan.child);
  EXPECT_EQ(loser->Plan.child, nullptr);
}

// The game-over items are stored with the plan: each comes back with its
// fields, and the trigger's tagged fields keep their defaults in a stream
// without their tags.
TEST_F(GameOverTest, GameOverItemsRoundTrip) {
  GameOverTrigger trigger(2);
  trigger.LooseMsg = 13;
  trigger.WinVinkje = 4;
  trigger.Time = 30;
  Bytes bytes = Save(trigger);
  auto loaded = Load(bytes);
  auto* copy = dynamic_cast<GameOverTrigger*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->PID, 2);
  EXPECT_EQ(copy->LooseMsg, 13);
  EXPECT_EQ(copy->WinVinkje, 4);
  EXPECT_EQ(copy->Frequency, GameOverTrigger::kGameOverFrequency);
  EXPECT_EQ(Save(*copy), bytes);
  ASSERT_TRUE(Cut(bytes, "lmsg:", 4));
  auto untagged = Load(bytes);
  ASSERT_NE(dynamic_cast<GameOverTrigger*>(untagged.get()), nullptr);
  EXPECT_EQ(dynamic_cast<GameOverTrigger*>(untagged.get())->LooseMsg, 0);
  EXPECT_EQ(dynamic_cast<GameOverTrigger*>(untagged.get())->WinVinkje, 4);

  LogicPlanNotifyGameOver notice(3, true);
  auto notified = Load(Save(notice));
  ASSERT_NE(dynamic_cast<LogicPlanNotifyGameOver*>(notified.get()), nullptr);
  EXPECT_EQ(dynamic_cast<LogicPlanNotifyGameOver*>(notified.get())->Player, 3);
  EXPECT_TRUE(dynamic_cast<LogicPlanNotifyGameOver*>(notified.get())->IsVictory());
  LogicPlanWarpZ warp(8, 2);
  auto warped = Load(Save(warp));
  ASSERT_NE(dynamic_cast<LogicPlanWarpZ*>(warped.get()), nullptr);
  EXPECT_EQ(dynamic_cast<LogicPlanWarpZ*>(warped.get())->TID, 8);
  EXPECT_EQ(dynamic_cast<LogicPlanWarpZ*>(warped.get())->Z, 2);
  LogicPlanGameOver over(4);
  auto ended = Load(Save(over));
  ASSERT_NE(dynamic_cast<LogicPlanGameOver*>(ended.get()), nullptr);
  EXPECT_EQ(dynamic_cast<LogicPlanGameOver*>(ended.get())->Player, 4);

  char text[64];
  trigger.GetRecordString(text, sizeof text);
  EXPECT_STREQ(text, " 30: game over");
  // The editor: time, frequency, then the trigger's three fields.
  EXPECT_EQ(trigger.SetProperty(4, "9"), -1);
  EXPECT_EQ(trigger.WinVinkje, 9);
  EXPECT_EQ(trigger.SetProperty(6, "1"), 1);
}

}  // namespace
}  // namespace logic_world_testing
