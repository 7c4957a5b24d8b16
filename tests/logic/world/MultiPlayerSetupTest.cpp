#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "LogicWorldFixture.h"
#include "base/Random.h"
#include "base/tCollection.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/triggers/GameOverScoreLimit.h"
#include "logic/triggers/GameOverTimeLimit.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/ScoreTrigger.h"
#include "logic/triggers/ScoreTriggerStrategic.h"
#include "logic/triggers/TriggerMoneyMakinPub.h"
#include "logic/world/YLTCup.h"

namespace logic_world_testing {
namespace {

class TimerLog : public YLEventListener {
 public:
  void EventTimer(int32_t player, int32_t frames, const char* label) override {
    heard.push_back(std::to_string(player) + " " + std::to_string(frames) + " " + label);
  }
  void EventThing(ThingInfo*, const char* name) override { things.push_back(name != nullptr ? name : "(null)"); }
  std::vector<std::string> heard;
  std::vector<std::string> things;
};

std::string Logged(const std::function<void()>& body) {
  EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  body();
  SetDebugMode(DebugModeOff);
  return testing_support::ReadDebugLog();
}

// A lobby's collection of the values.
struct Values {
  explicit Values(const std::vector<int32_t>& values) {
    for (int32_t value : values) {
      collection.Append(value);
    }
  }
  tCollection<int32_t>* operator&() { return &collection; }
  tCollection<int32_t> collection;
};

class MultiPlayerSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(48, 48));
    ASSERT_TRUE(LogicListener(&timers));
  }

  void TearDown() override {
    LogicStop();
    YLThing::SetLogicContext(nullptr, nullptr);
  }

  CLogic& Logic() { return *TheLogic(); }

  // Every planned item as "<class>@<frame>", buckets then the long list.
  std::vector<std::string> Planned() {
    std::vector<std::string> items;
    auto describe = [&](const LogicPlanItem* first) {
      for (const LogicPlanItem* item = first; item != nullptr; item = item->Next) {
        std::string text = std::string(item->GetClassName()) + "@" + std::to_string(item->Time);
        if (const auto* trigger = dynamic_cast<const GameOverTrigger*>(item)) {
          text += " pid " + std::to_string(trigger->PID);
        } else if (const auto* contest = dynamic_cast<const ScoreTrigger*>(item)) {
          text += " param " + std::to_string(contest->ScoringParam);
        } else if (const auto* limit = dynamic_cast<const GameOverScoreLimit*>(item)) {
          text += " limit " + std::to_string(limit->Limit);
        }
        items.push_back(text);
      }
    };
    for (const PlanList& list : Logic().Plan) {
      describe(list.first);
    }
    describe(Logic().PlanLongTerm.first);
    std::sort(items.begin(), items.end());
    return items;
  }

  int32_t UnitsOf(int32_t owner) {
    int32_t count = 0;
    for (int32_t id = 1; id < Logic().Things->count; ++id) {
      YLThing* thing = Logic().GetThing(id);
      count += thing != nullptr && dynamic_cast<YLUnit*>(thing) != nullptr && thing->GetOwner() == owner ? 1 : 0;
    }
    return count;
  }

  TimerLog timers;
};

// Four seats play as players 1, 2, 4 and 5 (3 is the police): each gets
// its money, its crew at its own start and plays; the police get nothing
// but their state. A time limit of 5 minutes is 3,600 frames, and the cup
// game's cup stands at the pair after the players'.
TEST_F(MultiPlayerSetupTest, FourSeatsPlayAsPlayersOneTwoFourAndFive) {
  Values settings({1, 500, 5, 7});
  Values positions({6, 6, 36, 6, 6, 36, 36, 36, 20, 22});
  const int32_t policeMoney = Logic().GetPlayer(CLogic::kPolicePlayer)->GetParam(ParamMoney);
  LogicSetupMultiPlayerGame(CLogic::GameCup, 4, &settings, &positions);

  EXPECT_EQ(Logic().SinglePlayer, 0);
  EXPECT_EQ(GetRandomSeed(), 666u);
  for (int32_t id : {1, 2, 4, 5}) {
    CPlayer* player = Logic().GetPlayer(id);
    ASSERT_NE(player, nullptr) << id;
    EXPECT_EQ(player->GetParam(ParamMoney), 500) << id;
    EXPECT_EQ(player->GetParam(ParamScoreCorrection), -25000) << id;
    EXPECT_EQ(player->GetParam(ParamState), CPlayer::kStatePlaying) << id;
    EXPECT_EQ(UnitsOf(id), 6) << id;
    EXPECT_EQ(player->GetLeaderCount(), 1) << id;
  }
  CPlayer* police = Logic().GetPlayer(CLogic::kPolicePlayer);
  ASSERT_NE(police, nullptr);
  EXPECT_EQ(police->GetParam(ParamState), CPlayer::kStatePolice);
  EXPECT_EQ(police->GetParam(ParamMoney), policeMoney);
  EXPECT_EQ(UnitsOf(CLogic::kPolicePlayer), 0);
  EXPECT_EQ(Logic().GetPlayer(6), nullptr);

  EXPECT_EQ(Planned(), (std::vector<std::string>{"GameOverScoreLimit@10 limit 7", "GameOverTimeLimit@3600",
                                                 "GameOverTrigger@1 pid 1", "GameOverTrigger@2 pid 2",
                                                 "GameOverTrigger@3 pid 4", "GameOverTrigger@4 pid 5",
                                                 "TriggerMoneyMakinPub@3"}));
  EXPECT_EQ(timers.heard, (std::vector<std::string>{"1 3600 time limit", "1 3600 countdown", "2 3600 countdown",
                                                    "3 3600 countdown", "4 3600 countdown", "1 3600 time limit"}));
  YLTCup* cup = Logic().GetCup();
  ASSERT_NE(cup, nullptr);
  EXPECT_EQ(cup->Info->X, 20);
  EXPECT_EQ(cup->Info->Y, 22);
  EXPECT_STREQ(Logic().GetString(cup->Info->Gfx), "CUPC000-GOLDENCUP0");
  EXPECT_EQ(Logic().Map->GetThingIDAt(20, 22), cup->Info->Tid);
  EXPECT_EQ(std::count(timers.things.begin(), timers.things.end(), "CUPC000-GOLDENCUP0"), 1);
}

// Each kind of game plans its own score trigger, at its own delay; the
// strategic game's score limit counts in thousands.
TEST_F(MultiPlayerSetupTest, EachKindOfGamePlansItsScoreTrigger) {
  struct Case {
    int32_t type;
    std::string trigger;
  };
  const Case cases[] = {{0, "ScoreTrigger@5 param 18"},
                        {2, "ScoreTrigger@9 param 7"},
                        {3, "ScoreTrigger@9 param 9"},
                        {4, "ScoreTrigger@9 param 8"},
                        {5, "ScoreTrigger@9 param 12"},
                        {6, "ScoreTriggerStrategic@9"},
                        {7, ""},
                        {-1, ""}};
  for (const Case& entry : cases) {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(48, 48));
    Values settings({0, 100, 0, 3});
    Values positions({6, 6, 36, 6, 20, 20});
    Logged([&] { LogicSetupMultiPlayerGame(entry.type, 2, &settings, &positions); });
    std::vector<std::string> expected = {
        entry.type == 6 ? "GameOverScoreLimit@10 limit 3000" : "GameOverScoreLimit@10 limit 3",
        "GameOverTrigger@1 pid 1", "GameOverTrigger@2 pid 2", "TriggerMoneyMakinPub@3"};
    if (!entry.trigger.empty()) {
      expected.push_back(entry.trigger);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Planned(), expected) << entry.type;
    EXPECT_EQ(Logic().GetCup(), nullptr) << entry.type;
    EXPECT_EQ(UnitsOf(1), 0) << "crews 0 make nothing";
  }
}

// Set-up input comes from the lobby: too few settings or a number of
// players outside its seats are refused with nothing changed; a missing
// start skips that player's crews, a missing cup position the cup; the
// products are held at the 32-bit limits.
TEST_F(MultiPlayerSetupTest, SetUpInputIsCheckedAndLogged) {
  Values three({1, 500, 5});
  Values settings({1, 500, 5, 7});
  Values positions({6, 6, 36, 6});
  std::string logged = Logged([&] {
    LogicSetupMultiPlayerGame(CLogic::GameScore, 2, &three, &positions);
    LogicSetupMultiPlayerGame(CLogic::GameScore, 2, nullptr, &positions);
    LogicSetupMultiPlayerGame(CLogic::GameScore, 5, &settings, &positions);
    LogicSetupMultiPlayerGame(CLogic::GameScore, -1, &settings, &positions);
  });
  EXPECT_EQ(Logic().SinglePlayer, 1);
  EXPECT_EQ(Planned(), std::vector<std::string>{});
  EXPECT_EQ(GetRandomSeed(), 0u);
  EXPECT_NE(logged.find("four settings are needed"), std::string::npos) << logged;
  EXPECT_NE(logged.find("5 players, the lobby seats 0-4"), std::string::npos) << logged;
  EXPECT_NE(logged.find("-1 players, the lobby seats 0-4"), std::string::npos) << logged;

  Values huge({1, 0x40000000, INT32_MAX, INT32_MAX});
  logged = Logged([&] { LogicSetupMultiPlayerGame(CLogic::GameCup, 3, &huge, &positions); });
  EXPECT_NE(logged.find("type 1, 3 players, 4 settings, 4 position values"), std::string::npos) << logged;
  EXPECT_NE(logged.find("no start position for player 4"), std::string::npos) << logged;
  EXPECT_NE(logged.find("no position for the cup"), std::string::npos) << logged;
  EXPECT_EQ(UnitsOf(1), 6);
  EXPECT_EQ(UnitsOf(2), 6);
  EXPECT_EQ(UnitsOf(4), 0);
  EXPECT_EQ(Logic().GetCup(), nullptr);
  EXPECT_EQ(Logic().GetPlayer(1)->GetParam(ParamScoreCorrection), INT32_MIN);
  ASSERT_GE(timers.heard.size(), 2u);
  EXPECT_EQ(timers.heard[1], "1 2147483647 countdown");
  ASSERT_NE(Logic().PlanLongTerm.first, nullptr);
}

// With no free thing id the cup game has no cup, and nothing is left over.
TEST_F(MultiPlayerSetupTest, WithoutAFreeIdThereIsNoCup) {
  Logic().Things->SetCount(CLogic::kMaxThings);
  for (int32_t id = 1; id < CLogic::kMaxThings; ++id) {
    auto* thing = new YLThing;
    thing->CreateInfo(0);
    thing->Info->Tid = id;
    (*Logic().Things)[id] = thing;
  }
  Values settings({0, 100, 0, 0});
  Values positions({20, 20});
  const std::string logged = Logged([&] { LogicSetupMultiPlayerGame(CLogic::GameCup, 0, &settings, &positions); });
  EXPECT_EQ(Logic().GetCup(), nullptr);
  EXPECT_EQ(Logic().CupID, 0);
  EXPECT_EQ(Logic().Things->count, CLogic::kMaxThings);
  EXPECT_NE(logged.find("no free id"), std::string::npos) << logged;
}

}  // namespace
}  // namespace logic_world_testing
