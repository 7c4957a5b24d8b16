#pragma once

// A small level for the computer player's tests, made through the logic's
// exports as the game makes one: a 36 x 36 map of eight sectors around a
// block without one, players 1 to 3 (3 the police), the controller, a bot
// for each player index 0-3 and both listeners registered with the logic.
// The debug log is on, so tests read the "(BOT)" lines.
//
//   A B C      sector ids 0 1 2, centres (6,6) (18,6) (30,6)
//   D . E                 3 - 4         (6,18)   -    (30,18)
//   F G H                 5 6 7         (6,30) (18,30) (30,30)

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "bot/YBBot.h"
#include "bot/YBBotList.h"
#include "bot/YBKnowledgeListener.h"
#include "bot/YBMasterMind.h"
#include "bot/YBTaskListener.h"
#include "bot/YBThing.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/UnitInfo.h"
#include "navigation/YLSectors.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"
#include "tests/navigation/PathMapDrawing.h"

namespace bot_testing {

inline const std::vector<std::string> kRows = {"ABC", "D.E", "FGH"};
constexpr int32_t kCell = 12;
constexpr int32_t kMapSize = 36;

// The centre cell of a sector of the drawing, by id.
inline std::pair<int32_t, int32_t> CentreOf(int32_t sector) {
  static const std::pair<int32_t, int32_t> centres[] = {{6, 6},   {18, 6},  {30, 6},  {6, 18},
                                                        {30, 18}, {6, 30},  {18, 30}, {30, 30}};
  return centres[sector];
}

// The bytes of a knowledge map, drawn from rows; the running sector map is
// put back afterwards, as the logic expects to find it.
inline std::string MapBytes(const std::vector<std::string>& rows, int32_t cell) {
  YLSectors* const running = GetCurrentSectorMap();
  std::string bytes;
  {
    path_testing::DrawnMap drawn = path_testing::DrawMap(rows, cell);
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(4096, 1, 0));
    stream.SetGrowth(4096);
    EXPECT_TRUE(drawn.knowledge->SaveObject(&stream, 0));
    bytes.assign(reinterpret_cast<const char*>(stream.buffer), stream.position);
  }
  SetCurrentSectorMap(running);
  return bytes;
}

// Hands a drawn map to the running logic, which tells its listeners.
inline void ReplaceMap(const std::vector<std::string>& rows, int32_t cell) {
  std::string bytes = MapBytes(rows, cell);
  bytes.push_back('\0');
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  ReplacePathPlanning(&stream);
}

class BotLevelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDebugMode(DebugModeOverwrite);
    ASSERT_TRUE(LogicStart());
    controller = new YBMasterMind;
    bots = new YBBotList;
    for (int32_t player = 0; player < 4; ++player) {
      auto* bot = new YBBot;
      bot->SetID(static_cast<uint32_t>(player));
      bots->Append(bot);
    }
    knowledge = new YBKnowledgeListener;
    tasks = new YBTaskListener;
    knowledge->SetController(controller);
    knowledge->SetBots(bots);
    tasks->SetBots(bots);
    ASSERT_TRUE(LogicListener(knowledge));
    ASSERT_TRUE(LogicListener(tasks));
    ASSERT_TRUE(LogicCreate(kMapSize, kMapSize));
    for (int32_t player : {1, 2, 3}) {
      ASSERT_TRUE(LogicPlayer(player));
    }
    ReplaceMap(kRows, kCell);
  }

  void TearDown() override {
    DestroyObject(controller);
    DestroyObject(bots);
    LogicStop();
    DestroyObject(knowledge);
    DestroyObject(tasks);
    SetDebugMode(DebugModeOff);
  }

  // A thing made by the logic, which tells the listeners.
  ThingInfo* Make(const char* keyword, int32_t x, int32_t y, int32_t owner = 0) {
    ThingInfo* info = CreateThing(keyword, x, y, 0, 0, owner);
    EXPECT_NE(info, nullptr) << keyword;
    return info;
  }
  // A unit of a type (its Gfx) for an owner at a place; the record's
  // type is set after the logic made it, so every type can be tried.
  UnitInfo* MakeUnit(int32_t type, int32_t owner, int32_t x, int32_t y) {
    ThingInfo* info = Make("UnitSupporter", x, y, owner);
    UnitInfo* unit = info != nullptr ? info->AsUnitInfo() : nullptr;
    EXPECT_NE(unit, nullptr);
    if (unit != nullptr) {
      unit->Gfx = type;
      unit->Owner = owner;
      // The record is told again with its type, as the logic does when a
      // thing changes; the controller makes the record afresh.
      controller->AddThing(unit);
    }
    return unit;
  }
  YBUnit* Unit(const ThingInfo* info) const { return controller->GetUnit(info->Tid); }
  YBBot* Bot(int32_t player) const { return bots->GetBot(player); }

  static std::string Log() {
    SetDebugMode(DebugModeOff);
    std::string text = testing_support::ReadDebugLog();
    SetDebugMode(DebugModeAppend);
    return text;
  }

  YBMasterMind* controller = nullptr;
  YBBotList* bots = nullptr;
  YBKnowledgeListener* knowledge = nullptr;
  YBTaskListener* tasks = nullptr;
};

}  // namespace bot_testing
