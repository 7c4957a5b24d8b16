#pragma once

// A small level made through the logic's exports (start, create, players,
// things made by keyword) and a listener that records, with the frame it
// came in, what the logic announces: speech, parameters, game overs and
// countdowns. Used by the game-over and score trigger tests.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/YLEventListener.h"
#include "logic/core/YLHighwayTraffic.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/world/YLThing.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace game_over_testing {

class RecordingListener : public YLEventListener {
 public:
  // Level messages (20) and objective ticks (21); what units and buildings
  // say is left out.
  void EventSpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value) override {
    if (message == 20 || message == 21) {
      Record("speech " + Join({kind, subjectId, message, value}));
    }
  }
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override {
    parameters.push_back(Join({player, parameter, value}));
  }
  void EventGameOver(int32_t player, int32_t won, void*) override {
    Record("over " + std::to_string(player) + (won != 0 ? " won" : " lost"));
  }
  void EventTimer(int32_t player, int32_t framesLeft, const char* label) override {
    Record("timer " + Join({player, framesLeft}) + " " + (label != nullptr ? label : ""));
  }

  // What was heard, each with " @<frame>".
  std::vector<std::string> heard;
  // Parameter reports as "player,parameter,value" (no frame: there are many).
  std::vector<std::string> parameters;

 private:
  static std::string Join(std::initializer_list<int32_t> values) {
    std::string text;
    for (const int32_t value : values) {
      text += (text.empty() ? "" : ",") + std::to_string(value);
    }
    return text;
  }
  void Record(const std::string& text) {
    const CLogic* logic = TheLogic();
    heard.push_back(text + " @" + std::to_string(logic != nullptr ? logic->Time : 0));
  }
};

class GameOverLevelTest : public ::testing::Test {
 protected:
  static constexpr int32_t kMapSize = 48;

  void SetUp() override { Restart(); }

  // A fresh level (for cases of a table): new logic, map and listener
  // record, players 1 up to lastPlayer.
  void Restart(int32_t lastPlayer = 0) {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(kMapSize, kMapSize));
    ASSERT_TRUE(LogicListener(&listener));
    SetRandomSeed(1234);
    StopTraffic();
    listener.heard.clear();
    listener.parameters.clear();
    MakePlayers(lastPlayer);
  }

  void TearDown() override {
    LogicStop();
    YLThing::SetLogicContext(nullptr, nullptr);
  }

  static CLogic& Logic() { return *TheLogic(); }
  static CPlayer& Player(int32_t id) { return *Logic().GetPlayer(id); }

  // Players 1 up to last (the police stay at 3).
  static void MakePlayers(int32_t last) {
    for (int32_t id = 1; id <= last; ++id) {
      if (id != CLogic::kPolicePlayer) {
        ASSERT_TRUE(LogicPlayer(id));
      }
    }
  }

  YLThing* Make(const char* keyword, int32_t x, int32_t y, uint8_t facing = 0, int32_t owner = 0) {
    ThingInfo* info = CreateThing(keyword, x, y, 0, facing, owner);
    EXPECT_NE(info, nullptr) << keyword;
    return info != nullptr ? Logic().GetThing(info->Tid) : nullptr;
  }
  template <typename Kind>
  Kind* MakeAs(const char* keyword, int32_t x, int32_t y, uint8_t facing = 0, int32_t owner = 0) {
    auto* made = dynamic_cast<Kind*>(Make(keyword, x, y, facing, owner));
    EXPECT_NE(made, nullptr) << keyword;
    return made;
  }

  // Closes the level's highway lanes, whose cars would drive into tests
  // that run many frames.
  static void StopTraffic() {
    for (int32_t index = 0; Logic().Propagators != nullptr && index < Logic().Propagators->count; ++index) {
      if (auto* traffic = dynamic_cast<YLHighwayTraffic*>(Logic().Propagators->At(index))) {
        traffic->StopLane(1);
        traffic->StopLane(5);
      }
    }
  }

  static void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(LogicCompute());
    }
  }

  // Every planned item as its class name and due frame, in plan order (near
  // buckets by index, then the long list).
  static std::vector<std::string> Planned() {
    std::vector<std::string> items;
    auto describe = [&](const LogicPlanItem* first) {
      for (const LogicPlanItem* item = first; item != nullptr; item = item->Next) {
        items.push_back(std::string(item->GetClassName()) + " @" + std::to_string(item->Time));
      }
    };
    for (const PlanList& list : Logic().Plan) {
      describe(list.first);
    }
    describe(Logic().PlanLongTerm.first);
    return items;
  }
  static bool IsPlanned(const std::string& className) {
    for (const std::string& item : Planned()) {
      if (item.rfind(className + " @", 0) == 0) {
        return true;
      }
    }
    return false;
  }

  // Runs body with the debug log on and answers what it logged.
  static std::string Logged(const std::function<void()>& body) {
    EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    body();
    SetDebugMode(DebugModeOff);
    return testing_support::ReadDebugLog();
  }

  RecordingListener listener;
};

}  // namespace game_over_testing
