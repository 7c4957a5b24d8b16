// The time and score limits of multi-player games, and the level game
// overs of level 8, survival and units in a container, as tables of small
// levels.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GameOverLevelFixture.h"
#include "logic/triggers/GameOverLevel8Trigger.h"
#include "logic/triggers/GameOverScoreLimit.h"
#include "logic/triggers/GameOverTimeLimit.h"
#include "logic/triggers/GameOverTriggerSurvive.h"
#include "logic/triggers/GameOverTriggerUnitsInContainer.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLUnit.h"

namespace game_over_testing {
namespace {

using GameOverLimitsTest = GameOverLevelTest;

constexpr int32_t kLost = CPlayer::kStateLost;
constexpr int32_t kPlaying = CPlayer::kStatePlaying;
constexpr int32_t kPolice = CPlayer::kStatePolice;

// Players 1 to 4 (the police at 3) with their scores and states; the winner
// of the time limit and of the score limit (0: none).
struct LimitCase {
  const char* name;
  int32_t scores[4];
  int32_t states[4];
  int32_t limit;
  int32_t timeWinner;
  int32_t scoreWinner;
};

TEST_F(GameOverLimitsTest, TimeAndScoreLimitsChooseAmongPlayingPlayers) {
  const LimitCase cases[] = {
      {"a tie goes to the lower id", {50, 50, 0, 10}, {kPlaying, kPlaying, kPolice, kPlaying}, 40, 1, 1},
      {"nobody at the limit yet", {50, 50, 0, 10}, {kPlaying, kPlaying, kPolice, kPlaying}, 60, 1, 0},
      {"limit 0 ends at once for the best", {0, 5, 0, 3}, {kPlaying, kPlaying, kPolice, kPlaying}, 0, 2, 2},
      {"a lost player's best score wins nothing", {100, 20, 0, 30}, {kLost, kPlaying, kPolice, kPlaying}, 25, 4, 4},
      {"a lost player alone at the limit", {100, 20, 0, 30}, {kLost, kPlaying, kPolice, kPlaying}, 50, 4, 0},
      {"the police's best score wins nothing", {10, 20, 999, 5}, {kPlaying, kPlaying, kPolice, kPlaying}, 15, 2, 2},
      {"the police alone at the limit", {10, 20, 999, 5}, {kPlaying, kPlaying, kPolice, kPlaying}, 500, 2, 0},
      {"every score below 0", {-5, -3, 0, -3}, {kPlaying, kPlaying, kPolice, kPlaying}, 0, 2, 0},
      {"every score below 0, a limit below them", {-5, -3, 0, -3}, {kPlaying, kPlaying, kPolice, kPlaying}, -4, 2, 2},
      {"nobody playing", {10, 20, 0, 30}, {kLost, kLost, kPolice, kLost}, 0, 0, 0},
  };
  for (const LimitCase& each : cases) {
    for (const bool timeLimit : {true, false}) {
      SCOPED_TRACE(std::string(each.name) + (timeLimit ? " (time limit)" : " (score limit)"));
      Restart(4);
      for (int32_t id = 1; id <= 4; ++id) {
        Player(id).SetParam(ParamScore, each.scores[id - 1]);
        Player(id).SetParam(ParamState, each.states[id - 1]);
      }
      ConditionTrigger* trigger = nullptr;
      if (timeLimit) {
        trigger = new GameOverTimeLimit;
      } else {
        trigger = new GameOverScoreLimit(each.limit);
      }
      Logic().InsertPlan(trigger, 5);
      Run(6);
      const int32_t winner = timeLimit ? each.timeWinner : each.scoreWinner;
      for (int32_t id = 1; id <= 4; ++id) {
        int32_t expected = each.states[id - 1];
        if (winner != 0 && expected == kPlaying) {
          expected = id == winner ? CPlayer::kStateWon : kLost;
        }
        EXPECT_EQ(Player(id).GetParam(ParamState), expected) << "player " << id;
      }
      // The time limit always ends; the score limit waits for a winner.
      const bool stillPlanned = IsPlanned(timeLimit ? "GameOverTimeLimit" : "GameOverScoreLimit");
      EXPECT_EQ(stillPlanned, !timeLimit && winner == 0);
    }
  }
}

// Player 2's four leaders against player 1. Each case kills some leaders,
// puts one of them at x -6, and tells what player 1 gets.
struct Level8Case {
  const char* name;
  int32_t leaders;            // made for player 2
  std::vector<int32_t> dead;  // leader numbers killed
  int32_t movedToTheEdge;     // leader number placed at x -6 (0 none)
  int32_t state;              // player 1's state afterwards
  std::vector<std::string> heard;
};

TEST_F(GameOverLimitsTest, LevelEightIsLostByALeaderAtTheEdgeAndWonWhenAllAreGone) {
  const Level8Case cases[] = {
      {"four leaders alive", 4, {}, 0, kPlaying, {}},
      {"a dead leader at the edge", 4, {2}, 2, kLost, {"speech 1,0,20,9 @1"}},
      {"a living leader at the edge", 4, {}, 3, kPlaying, {}},
      {"a dead leader elsewhere", 4, {1}, 0, kPlaying, {}},
      {"all four dead elsewhere", 4, {1, 2, 3, 4}, 0, CPlayer::kStateWon,
       {"speech 1,0,20,7 @1", "speech 0,5,21,1 @1"}},
      {"three leaders, all dead", 3, {1, 2, 3}, 0, kPlaying, {}},
      {"all four dead, one at the edge", 4, {1, 2, 3, 4}, 4, kLost, {"speech 1,0,20,9 @1"}},
  };
  for (const Level8Case& each : cases) {
    SCOPED_TRACE(each.name);
    Restart(2);
    Make("UnitSkin", 40, 40, 0, 1);
    std::vector<YLThing*> leaders;
    for (int32_t number = 1; number <= each.leaders; ++number) {
      leaders.push_back(Make("UnitLeader", 4 * number, 10, 0, 2));
    }
    ASSERT_EQ(Player(2).GetParam(ParamLeaders), each.leaders);
    for (const int32_t number : each.dead) {
      YLThing* leader = Logic().GetThing(Player(2).GetLeaderID(number));
      ASSERT_NE(leader, nullptr);
      Logic().HurtThing(leader->Info->Tid, 100.0f, 0.0f, leader->Info->X + 1, leader->Info->Y, 0);
      ASSERT_EQ(leader->Info->Status & StatusAlive, 0u);
    }
    if (each.movedToTheEdge != 0) {
      Logic().GetThing(Player(2).GetLeaderID(each.movedToTheEdge))->Info->X = GameOverLevel8Trigger::kLeaderLostX;
    }
    auto* trigger = new GameOverLevel8Trigger;
    trigger->PID = 1;
    trigger->WinVinkje = 5;
    Logic().InsertPlan(trigger, 1);
    Run(2);
    EXPECT_EQ(listener.heard, each.heard);
    EXPECT_EQ(Player(1).GetParam(ParamState), each.state);
    EXPECT_EQ(IsPlanned("GameOverLevel8Trigger"), each.state == kPlaying);
  }
}

struct SurviveCase {
  const char* name;
  int32_t leaders;  // made for player 1
  int32_t units;    // fan units made for player 1 besides the leaders
  int32_t leadersCount;
  int32_t unitsCount;
  int32_t looseMsg;
  int32_t winMsg;
  int32_t state;
  std::vector<std::string> heard;
};

// Checked every 24 frames from frame 24 on: a short count loses at the
// first check; held counts win at the first check after frame 50 (72). The
// countdown "Survive..." to frame 50 is told at the start and after every
// run.
TEST_F(GameOverLimitsTest, SurvivalIsWonAfterThePeriodAndLostOnAShortCount) {
  const std::vector<std::string> waiting = {"timer 1,50 Survive... @0", "timer 1,26 Survive... @24",
                                            "timer 1,2 Survive... @48"};
  auto then = [&](std::vector<std::string> more) {
    std::vector<std::string> all = waiting;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  const std::string start = waiting[0];
  const std::string told = waiting[1];
  const SurviveCase cases[] = {
      {"counts held past the period", 2, 1, 2, 3, 8, 6, CPlayer::kStateWon,
       then({"speech 1,0,20,6 @72", "speech 0,4,21,1 @72", "timer 1,-22 Survive... @72"})},
      {"a win without a message", 1, 0, 1, 1, 8, 0, CPlayer::kStateWon,
       then({"speech 0,4,21,1 @72", "timer 1,-22 Survive... @72"})},
      {"too few leaders", 1, 3, 2, 1, 8, 6, kLost, {start, "speech 1,0,20,8 @24", told}},
      {"too few units", 2, 0, 1, 3, 8, 6, kLost, {start, "speech 1,0,20,8 @24", told}},
      {"a loss without a message", 0, 0, 1, 0, 0, 6, kLost, {start, told}},
  };
  for (const SurviveCase& each : cases) {
    SCOPED_TRACE(each.name);
    Restart(2);
    Make("UnitSkin", 40, 40, 0, 2);
    for (int32_t index = 0; index < each.leaders; ++index) {
      Make("UnitLeader", 4 + 4 * index, 10, 0, 1);
    }
    for (int32_t index = 0; index < each.units; ++index) {
      Make("UnitSkin", 4 + 4 * index, 20, 0, 1);
    }
    auto* trigger = new GameOverTriggerSurvive;
    trigger->PID = 1;
    trigger->Period = 50;
    trigger->LeadersCount = each.leadersCount;
    trigger->UnitsCount = each.unitsCount;
    trigger->LooseMsg = each.looseMsg;
    trigger->WinMsg = each.winMsg;
    trigger->WinVinkje = 4;
    Logic().InsertPlan(trigger, 24);
    Run(73);
    EXPECT_EQ(listener.heard, each.heard);
    EXPECT_EQ(Player(1).GetParam(ParamState), each.state);
  }
}

struct ContainerCase {
  const char* name;
  int32_t leadersInside;
  int32_t fansInside;
  int32_t othersInside;  // units of player 2
  int32_t leadersCount;
  int32_t unitsCount;
  bool won;
};

// A leader counts as a leader and as a fan unit; units of other players do
// not count.
TEST_F(GameOverLimitsTest, UnitsInAContainerWinWhenBothCountsAreReached) {
  const ContainerCase cases[] = {
      {"leaders and fans enough", 1, 2, 0, 1, 3, true},
      {"a leader counts in both", 2, 0, 0, 2, 2, true},
      {"one fan unit short", 1, 1, 0, 1, 3, false},
      {"one leader short", 1, 3, 0, 2, 1, false},
      {"other players' units do not count", 0, 1, 3, 0, 3, false},
      {"nothing asked", 0, 0, 0, 0, 0, true},
  };
  for (const ContainerCase& each : cases) {
    SCOPED_TRACE(each.name);
    Restart(2);
    auto* bus = MakeAs<YLTCar>("Vehicle021-spelersbus", 30, 30, 0, 0);
    ASSERT_NE(bus, nullptr);
    auto enter = [&](const char* keyword, int32_t owner, int32_t count, int32_t row) {
      for (int32_t index = 0; index < count; ++index) {
        auto* unit = MakeAs<YLUnit>(keyword, 4 + 4 * index, row, 0, owner);
        ASSERT_NE(unit, nullptr);
        ASSERT_TRUE(EnterThing(unit->GetUnitInfo(), bus->GetContainerInfo())) << keyword;
      }
    };
    enter("UnitLeader", 1, each.leadersInside, 4);
    enter("UnitSkin", 1, each.fansInside, 8);
    enter("UnitSkin", 2, each.othersInside, 12);
    Make("UnitSkin", 40, 40, 0, 1);  // one outside, never counted
    auto* trigger = new GameOverTriggerUnitsInContainer;
    trigger->PID = 1;
    trigger->ContainerID = bus->Info->Tid;
    trigger->LeadersCount = each.leadersCount;
    trigger->UnitsCount = each.unitsCount;
    trigger->WinMsg = 11;
    trigger->WinVinkje = 3;
    Logic().InsertPlan(trigger, 1);
    Run(2);
    EXPECT_EQ(Player(1).GetParam(ParamState), each.won ? CPlayer::kStateWon : kPlaying);
    const std::vector<std::string> won = {"speech 1,0,20,11 @1", "speech 0,3,21,1 @1"};
    EXPECT_EQ(listener.heard, each.won ? won : std::vector<std::string>{});
  }
}

// A ContainerID that names no container logs the id and decides nothing,
// run after run.
TEST_F(GameOverLimitsTest, UnitsInContainerWithoutAContainerOnlyLogs) {
  MakePlayers(2);
  YLThing* lamp = Make("Lamppost", 10, 10);
  ASSERT_NE(lamp, nullptr);
  for (const int32_t id : {lamp->Info->Tid, 0, 777, -3}) {
    GameOverTriggerUnitsInContainer trigger;
    trigger.PID = 1;
    trigger.ContainerID = id;
    const std::string logged = Logged([&] { trigger.Execute(&Logic()); });
    EXPECT_NE(logged.find("GameOverTriggerUnitsInContainer::Execute() -> error containerID (" + std::to_string(id) +
                          ")!\n"),
              std::string::npos)
        << id;
    EXPECT_EQ(trigger.Frequency, GameOverTrigger::kGameOverFrequency);
  }
  EXPECT_EQ(Player(1).GetParam(ParamState), kPlaying);
  EXPECT_TRUE(listener.heard.empty());
}

}  // namespace
}  // namespace game_over_testing
