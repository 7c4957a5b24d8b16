// The game-over triggers on small levels: who loses or wins, when, with
// which speech, and what is left of the plan afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GameOverLevelFixture.h"
#include "logic/core/TriggerExports.h"
#include "logic/triggers/GameOverLevel2Trigger.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/GameOverTriggerSurvive.h"
#include "logic/triggers/GameOverTriggerUnitsInContainer.h"
#include "logic/triggers/LogicPlanWarpZ.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLUnit.h"

namespace game_over_testing {
namespace {

using GameOverTriggerTest = GameOverLevelTest;

// The check runs every 24 frames: a player whose last fan unit dies loses
// at the next check, player 1 hears its loss message, the notices follow 60
// frames later, and the clearing spares the calling trigger (deleted after
// its run) and the warps.
TEST_F(GameOverTriggerTest, APlayerWhoseLastFanUnitDiesLosesWithinOneCheck) {
  const struct {
    int32_t player;
    int32_t looseMsg;
    std::vector<std::string> speech;
  } cases[] = {
      {1, 12, {"speech 1,0,20,12 @48"}},
      {1, 0, {}},
      {2, 12, {}},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.player * 100 + each.looseMsg);
    Restart(2);
    YLThing* fan = Make("UnitSkin", 10, 10, 0, each.player);
    ASSERT_NE(fan, nullptr);
    ASSERT_EQ(Player(each.player).GetParam(ParamSelectable), 1);
    Make("UnitSkin", 20, 20, 0, 3 - each.player);
    auto* trigger = new GameOverTrigger(each.player);
    trigger->LooseMsg = each.looseMsg;
    Logic().InsertPlan(trigger, 24);
    Logic().InsertPlan(new LogicPlanWarpZ(99, 0), 200);
    Logic().InsertPlan(new LogicPlanItem, 200);

    Run(30);  // the first check at 24 finds a fan unit
    EXPECT_TRUE(IsPlanned("GameOverTrigger"));
    Logic().HurtThing(fan->Info->Tid, 100.0f, 0.0f, 11, 10, 0);
    ASSERT_EQ(fan->Info->Status & StatusAlive, 0u);
    ASSERT_EQ(Player(each.player).GetParam(ParamSelectable), 0);
    Run(19);  // the check at 48
    std::vector<std::string> expected = each.speech;
    EXPECT_EQ(listener.heard, expected);
    EXPECT_EQ(Player(each.player).GetParam(ParamState), CPlayer::kStateLost);
    EXPECT_EQ(Player(3 - each.player).GetParam(ParamState), CPlayer::kStateWon);
    EXPECT_EQ(Planned(), (std::vector<std::string>{"LogicPlanNotifyGameOver @108", "LogicPlanNotifyGameOver @108",
                                                   "LogicPlanNotifyGameOver @108", "LogicPlanWarpZ @200"}));
    Run(60);
    const std::string winner = std::to_string(3 - each.player);
    for (const std::string& notice : {"over " + std::to_string(each.player) + " lost @108", "over " + winner + " won @108"}) {
      EXPECT_NE(std::find(listener.heard.begin(), listener.heard.end(), notice), listener.heard.end()) << notice;
    }
  }
}

class GameOverBusTest : public GameOverLevelTest {
 protected:
  void SetUp() override {
    GameOverLevelTest::SetUp();
    MakePlayers(2);
    Make("UnitSkin", 30, 30, 0, 1);
    Make("UnitSkin", 34, 30, 0, 2);
  }
  // The level's own game-over trigger of player 1 and the bus's, planned
  // for the next frame.
  GameOverLevel2Trigger* PlanBusTrigger(const YLTCar* bus) {
    Logic().InsertPlan(new GameOverTrigger(1), 5);
    Logic().InsertPlan(new GameOverTrigger(2), 6);
    auto* trigger = new GameOverLevel2Trigger(bus);
    trigger->WinVinkje = 2;
    Logic().InsertPlan(trigger, 1);
    return trigger;
  }
};

// Driving off the top (facing 1, above row 41) says 14, ticks the objective,
// frees every other game-over trigger and plans the win 60 frames on.
TEST_F(GameOverBusTest, DrivingOffTheTopWinsSixtyFramesLater) {
  auto* bus = MakeAs<YLTCar>("Vehicle021-spelersbus", 20, 40, 1, 1);
  ASSERT_NE(bus, nullptr);
  ASSERT_EQ(bus->Info->GetFacing(), 1);
  PlanBusTrigger(bus);
  Run(2);
  EXPECT_EQ(listener.heard, (std::vector<std::string>{"speech 1,0,20,14 @1", "speech 0,2,21,1 @1"}));
  EXPECT_FALSE(IsPlanned("GameOverTrigger"));
  EXPECT_FALSE(IsPlanned("GameOverLevel2Trigger"));
  const std::vector<std::string> planned = Planned();
  EXPECT_NE(std::find(planned.begin(), planned.end(), "LogicPlanGameOver @61"), planned.end());
  EXPECT_EQ(Player(1).GetParam(ParamState), CPlayer::kStatePlaying);
  Run(59);
  EXPECT_EQ(Player(1).GetParam(ParamState), CPlayer::kStatePlaying);
  Run(1);
  EXPECT_EQ(Player(1).GetParam(ParamState), CPlayer::kStateWon);
  EXPECT_EQ(Player(2).GetParam(ParamState), CPlayer::kStateLost);
}

// Anywhere else, or facing another way, the bus drives on and the trigger
// keeps checking.
TEST_F(GameOverBusTest, ABusStillOnTheMapDecidesNothing) {
  const struct {
    int32_t y;
    uint8_t facing;
  } cases[] = {{41, 1}, {40, 0}, {40, 2}, {10, 5}};
  for (const auto& each : cases) {
    auto* bus = MakeAs<YLTCar>("Vehicle021-spelersbus", 10, each.y, each.facing, 1);
    ASSERT_NE(bus, nullptr);
    GameOverLevel2Trigger trigger(bus);
    trigger.Execute(&Logic());
    EXPECT_EQ(trigger.Frequency, GameOverTrigger::kGameOverFrequency) << each.y << " " << int{each.facing};
    DestroyThing(bus->Info.get());
  }
  EXPECT_TRUE(listener.heard.empty());
}

// The logic frees a removed bus and may give its id to the next thing: the
// trigger finds the id empty, or holding no vehicle, and player 1 loses with
// speech 13.
TEST_F(GameOverBusTest, ARemovedBusLosesTheGame) {
  for (const bool reused : {false, true}) {
    SCOPED_TRACE(reused);
    SetUp();
    listener.heard.clear();
    auto* bus = MakeAs<YLTCar>("Vehicle021-spelersbus", 20, 20, 0, 1);
    ASSERT_NE(bus, nullptr);
    const int32_t id = bus->Info->Tid;
    PlanBusTrigger(bus);
    DestroyThing(bus->Info.get());
    if (reused) {
      YLThing* other = Make("Lamppost", 5, 5);
      ASSERT_NE(other, nullptr);
      ASSERT_EQ(other->Info->Tid, id);
    }
    Run(2);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"speech 1,0,20,13 @1"}));
    EXPECT_EQ(Player(1).GetParam(ParamState), CPlayer::kStateLost);
    EXPECT_FALSE(IsPlanned("GameOverLevel2Trigger"));
  }
}

// Without a bus the trigger only logs, at construction and at each run.
TEST_F(GameOverBusTest, NoBusOnlyLogs) {
  GameOverLevel2Trigger* trigger = nullptr;
  const std::string made = Logged([&] { trigger = new GameOverLevel2Trigger(nullptr); });
  EXPECT_NE(made.find("GameOverLevel2Trigger constructor: no bus!!!\n"), std::string::npos);
  EXPECT_EQ(trigger->PID, 1);
  Logic().InsertPlan(trigger, 1);
  const std::string ran = Logged([&] { Run(2); });
  EXPECT_NE(ran.find("GameOverLevel2Trigger::Execute() not properly initialized\n"), std::string::npos);
  EXPECT_TRUE(listener.heard.empty());
  EXPECT_TRUE(IsPlanned("GameOverLevel2Trigger"));
  EXPECT_EQ(Player(1).GetParam(ParamState), CPlayer::kStatePlaying);
}

// Each game-over kind names itself in the log before its bases' lines.
TEST_F(GameOverTriggerTest, PrintToLogNamesTheClassBeforeItsBases) {
  const std::string bases = "GameOverTrigger ConditionTrigger freq=24 time=5\n";
  GameOverTrigger plain;
  GameOverLevel2Trigger bus;
  GameOverTriggerSurvive survive;
  GameOverTriggerUnitsInContainer inside;
  const struct {
    LogicPlanItem* item;
    std::string line;
  } cases[] = {
      {&plain, bases},
      {&bus, "GameOverLevel2Trigger " + bases},
      {&survive, "GameOverTriggerSurvive " + bases},
      {&inside, "GameOverTriggerUnitsInContainer " + bases},
  };
  for (const auto& each : cases) {
    each.item->Time = 5;
    EXPECT_EQ(Logged([&] { each.item->PrintToLog(); }), each.line);
  }
}

}  // namespace
}  // namespace game_over_testing
