#pragma once

// A small level made through the logic's exports (start, create, things
// made by keyword), with a listener that records what the logic announces,
// for the vehicle, driver and traffic tests.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/YLEventListener.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLUnit.h"
#include "navigation/YLKnowledgeMap.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace vehicle_testing {

struct HeardMove {
  int32_t id;
  int32_t x;
  int32_t y;
  int32_t facing;
  int32_t code;
};

class VehicleListener : public YLEventListener {
 public:
  void EventAction(int32_t id, const MoveStep* action) override {
    if (action != nullptr && action->move != nullptr) {
      moves.push_back({id, action->x, action->y, action->facing, action->move->code});
    }
  }
  void EventThing(ThingInfo* info, const char* name) override {
    things.push_back(info != nullptr ? info->Tid : -1);
    names.push_back(name != nullptr ? name : "");
  }
  void EventEnter(int32_t unit, int32_t container) override { entries.push_back({unit, container}); }
  void EventExit(int32_t unit, int32_t container) override { exits.push_back({unit, container}); }

  std::vector<HeardMove> moves;
  std::vector<int32_t> things;
  std::vector<std::string> names;
  std::vector<std::vector<int32_t>> entries;
  std::vector<std::vector<int32_t>> exits;
};

class VehicleTest : public ::testing::Test {
 protected:
  static constexpr int32_t kMapSize = 48;

  void SetUp() override {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(kMapSize, kMapSize));
    ASSERT_TRUE(LogicListener(&listener));
    SetRandomSeed(1234);
  }

  void TearDown() override {
    LogicStop();
    YLThing::SetLogicContext(nullptr, nullptr);
  }

  CLogic& Logic() { return *TheLogic(); }
  YLKnowledgeMap& Grid() { return *Logic().Map->GetStratMap(); }

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

  // The running logic saved through the exports and loaded again; false
  // when either fails.
  static bool SaveAndLoad() {
    LumoMemoryStream out;
    EXPECT_TRUE(out.OpenNew(64, 1, 0));
    EXPECT_EQ(out.SetGrowth(4096), 4096u);
    if (!LogicSave(&out)) {
      return false;
    }
    std::vector<uint8_t> bytes(out.buffer, out.buffer + out.position);
    bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
    LumoMemoryStream in;
    EXPECT_TRUE(in.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    return LogicLoad(&in);
  }

  // Runs the logic's frame `frames` times.
  static void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(LogicCompute());
    }
  }

  // Runs body with the debug log on and answers what it logged.
  static std::string Logged(const std::function<void()>& body) {
    EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    body();
    SetDebugMode(DebugModeOff);
    return testing_support::ReadDebugLog();
  }

  VehicleListener listener;
};

}  // namespace vehicle_testing
