#pragma once

// A logic set up as a game has it (players, things, a map of 32 x 32 free
// cells) with a listener that records the things, entries and exits it
// hears, for the tests of making, moving and removing things.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/YLEventListener.h"
#include "logic/world/YLThing.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace logic_things_testing {

class ThingListener : public YLEventListener {
 public:
  void EventThing(ThingInfo* info, const char* typeName) override {
    things.push_back(info != nullptr ? info->Tid : -1);
    names.push_back(typeName != nullptr ? typeName : "");
  }
  void EventEnter(int32_t unitId, int32_t containerId) override { entries.push_back({unitId, containerId}); }
  void EventExit(int32_t unitId, int32_t containerId) override { exits.push_back({unitId, containerId}); }
  void EventGore(int32_t x, int32_t y, float amount, int32_t kind) override {
    gores.push_back({x, y, static_cast<int32_t>(amount * 1000.0f), kind});
  }
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override {
    parameters.push_back({player, parameter, value});
  }

  std::vector<int32_t> things;
  std::vector<std::string> names;
  std::vector<std::vector<int32_t>> entries;
  std::vector<std::vector<int32_t>> exits;
  std::vector<std::vector<int32_t>> gores;
  std::vector<std::vector<int32_t>> parameters;
};

class LogicThingsTest : public ::testing::Test {
 protected:
  static constexpr int32_t kMapSize = 32;

  void SetUp() override {
    ASSERT_TRUE(logic.Init());
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    ASSERT_TRUE(logic.AddListener(&listener));
  }

  void TearDown() override { logic.DetachListeners(); }

  YLThing* Thing(const ThingInfo* info) { return info != nullptr ? logic.GetThing(info->Tid) : nullptr; }

  // Fills every free slot below kMaxThings but the last `spare` ones with a
  // plain thing off the map.
  void FillTable(int32_t spare) {
    ASSERT_TRUE(logic.Things->SetCount(CLogic::kMaxThings));
    for (int32_t id = 1; id < CLogic::kMaxThings - spare; ++id) {
      if ((*logic.Things)[id] != nullptr) {
        continue;
      }
      auto* thing = new YLThing;
      thing->CreateInfo(0);
      thing->Info->Tid = id;
      (*logic.Things)[id] = thing;
    }
  }

  int32_t CountThings() const {
    int32_t count = 0;
    for (int32_t id = 1; id < logic.Things->count; ++id) {
      count += logic.GetThing(id) != nullptr ? 1 : 0;
    }
    return count;
  }

  // Runs body with the debug log on and answers what it logged.
  static std::string Logged(const std::function<void()>& body) {
    EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    body();
    SetDebugMode(DebugModeOff);
    return testing_support::ReadDebugLog();
  }

  CLogic logic;
  ThingListener listener;
};

}  // namespace logic_things_testing
