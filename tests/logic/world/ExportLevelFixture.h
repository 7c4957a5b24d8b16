#pragma once

// A small level made only through the logic's exports, as the game program
// makes one: an open map with one sector for the path finder, players 1 and
// 2, things made by keyword, orders given by the order builders and
// AcceptOrder, frames run by LogicCompute. A listener keeps the speeches
// and the things' actions it hears.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../../navigation/PathMapDrawing.h"
#include "base/LumoMemoryStream.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/LogicQueries.h"
#include "logic/core/OrderBuilders.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/YLEventListener.h"
#include "logic/core/YLHighwayTraffic.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"
#include "navigation/YLSectors.h"

namespace export_level_testing {

struct HeardSpeech {
  int32_t kind;
  int32_t subject;
  int32_t message;
  int32_t value;
  bool operator==(const HeardSpeech&) const = default;
};

class LevelListener : public YLEventListener {
 public:
  void EventSpeech(int32_t kind, int32_t subject, int32_t message, int32_t value) override {
    speeches.push_back({kind, subject, message, value});
  }
  void EventAction(int32_t id, const MoveStep*) override { actors.push_back(id); }
  void EventSplat(int32_t, int32_t, float, int32_t kind) override { splats.push_back(kind); }

  std::vector<HeardSpeech> speeches;
  std::vector<int32_t> actors;
  std::vector<int32_t> splats;
};

class ExportLevelTest : public ::testing::Test {
 protected:
  static constexpr int32_t kMapSize = 32;

  void SetUp() override {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(kMapSize, kMapSize));
    ReplaceSectorMap();
    ASSERT_TRUE(LogicListener(&listener));
    SetRandomSeed(4321);
    StopTraffic();
  }

  void TearDown() override { LogicStop(); }

  static CLogic& Logic() { return *TheLogic(); }

  // Players 1 and 2 of a plain level; a cup game makes its own.
  static void AddPlayers() {
    ASSERT_TRUE(LogicPlayer(1));
    ASSERT_TRUE(LogicPlayer(2));
  }

  // A thing made by the factory's keyword; null (and a failure) when none.
  static YLThing* Make(const char* keyword, int32_t x, int32_t y, int32_t owner = 0, uint8_t facing = 0) {
    ThingInfo* info = CreateThing(keyword, x, y, 0, facing, owner);
    EXPECT_NE(info, nullptr) << keyword;
    return info != nullptr ? Logic().GetThing(info->Tid) : nullptr;
  }
  template <typename Kind>
  static Kind* MakeAs(const char* keyword, int32_t x, int32_t y, int32_t owner = 0, uint8_t facing = 0) {
    auto* made = dynamic_cast<Kind*>(Make(keyword, x, y, owner, facing));
    EXPECT_NE(made, nullptr) << keyword;
    return made;
  }

  // Hands a built order to the logic; the answer is AcceptOrder's.
  static bool Give(COrderPackage* package) {
    EXPECT_NE(package, nullptr);
    std::unique_ptr<COrderPackage, void (*)(COrderPackage*)> owned(package, DeleteOrderPackage);
    return package != nullptr && AcceptOrder(owned.get());
  }
  // The player's selection becomes that one thing.
  static void SelectOnly(int32_t player, int32_t id) { Give(GenerateSelectionOrder(player, id, false, true)); }

  static void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(LogicCompute());
    }
  }

  // The bytes LogicSave writes now.
  static std::vector<uint8_t> Saved() {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(64, 1, 0));
    EXPECT_EQ(stream.SetGrowth(4096), 4096u);
    EXPECT_TRUE(LogicSave(&stream));
    return std::vector<uint8_t>(stream.buffer, stream.buffer + stream.position);
  }
  static bool Load(std::vector<uint8_t> bytes) {
    bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    return LogicLoad(&stream);
  }

  LevelListener listener;

 private:
  // One sector over the whole map: every cell is reachable from every other.
  static void ReplaceSectorMap() {
    YLSectors* const running = GetCurrentSectorMap();
    std::vector<uint8_t> bytes;
    {
      path_testing::DrawnMap drawn = path_testing::DrawMap({"A"}, kMapSize);
      LumoMemoryStream out;
      ASSERT_TRUE(out.OpenNew(4096, 1, 0));
      ASSERT_NE(out.SetGrowth(4096), 0u);
      ASSERT_TRUE(drawn.knowledge->SaveObject(&out, 0));
      bytes.assign(out.buffer, out.buffer + out.position);
    }
    // Drawing made its sector map the current one; the running map's is put
    // back, as ReplacePathPlanning expects to find it.
    SetCurrentSectorMap(running);
    bytes.push_back(0);
    LumoMemoryStream in;
    ASSERT_TRUE(in.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    ReplacePathPlanning(&in);
  }

  // The level's highway would send its cars and drivers into tests that run
  // many frames.
  static void StopTraffic() {
    for (int32_t index = 0; Logic().Propagators != nullptr && index < Logic().Propagators->count; ++index) {
      if (auto* traffic = dynamic_cast<YLHighwayTraffic*>(Logic().Propagators->At(index))) {
        traffic->StopLane(1);
        traffic->StopLane(5);
      }
    }
  }
};

}  // namespace export_level_testing
