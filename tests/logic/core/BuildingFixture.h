#pragma once

// A small level for the building, pub and shop tests: the logic set up as a
// game has it, buildings made by the logic's own factory and real units
// made inside them or on the map.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LogicThingsFixture.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/CPlayer.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLUnit.h"

namespace building_testing {

using Bytes = std::vector<uint8_t>;

// Also hears the moves that things report and what they say.
class BuildingListener : public logic_things_testing::ThingListener {
 public:
  void EventAction(int32_t id, const MoveStep* action) override {
    actions.push_back({id, action != nullptr && action->move != nullptr ? action->move->code : -1});
  }
  void EventSpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value) override {
    speech.push_back({kind, subjectId, message, value});
  }
  std::vector<std::vector<int32_t>> actions;
  std::vector<std::vector<int32_t>> speech;
};

class BuildingTest : public logic_things_testing::LogicThingsTest {
 protected:
  void SetUp() override {
    LogicThingsTest::SetUp();
    ASSERT_TRUE(logic.AddListener(&heard));
    for (int32_t id : {1, 2}) {
      ASSERT_NE(logic.CreatePlayer(id), nullptr);
    }
  }

  // A building of the factory's kind for the keyword.
  template <typename Kind = YLTBuilding>
  Kind* MakeBuilding(const char* keyword, int32_t owner, int32_t x = 10, int32_t y = 10) {
    ThingInfo* info = logic.CreateThing(keyword, x, y, 0, 0, owner);
    auto* building = dynamic_cast<Kind*>(Thing(info));
    EXPECT_NE(building, nullptr) << keyword;
    return building;
  }

  // A unit of the type made inside the container.
  template <typename Kind = YLUnit>
  Kind* Inside(YLThing* container, int32_t type, int32_t owner) {
    auto* unit = dynamic_cast<Kind*>(logic.CreateUnit(type, owner, container));
    EXPECT_NE(unit, nullptr) << "type " << type;
    return unit;
  }

  // A shop owner (the factory's "Owner" kind) inside the building.
  YLUnit* ShopOwnerInside(YLThing* building) { return Inside(building, logic.AddString("Owner01"), 0); }

  YLUnit* OnMap(int32_t type, int32_t owner, int32_t x, int32_t y) {
    auto* unit = dynamic_cast<YLUnit*>(logic.CreateUnitAt(x, y, 0, 0, type, owner, nullptr));
    EXPECT_NE(unit, nullptr) << "type " << type;
    return unit;
  }

  static void SetState(YLTBuilding& building, int32_t state) { building.StartMove(building.GetMoveInfo(state)); }

  CPlayer& Player(int32_t id) { return *logic.GetPlayer(id); }

  static bool Alive(const YLThing& thing) { return (thing.Info->Status & StatusAlive) != 0; }

  static const UnitInfo& Record(const YLUnit& unit) { return *dynamic_cast<const UnitInfo*>(unit.Info.get()); }

  static Bytes SaveOne(LumoObject& object) {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(16, 1, 0));
    EXPECT_EQ(stream.SetGrowth(256), 256u);
    EXPECT_TRUE(object.SaveObject(&stream, 0));
    return Bytes(stream.buffer, stream.buffer + stream.position);
  }
  using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;
  static Loaded LoadOne(Bytes bytes) {
    bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
    return Loaded(LoadObject(&stream, nullptr));
  }
  // Removes the marker text and the value bytes behind it.
  static bool Cut(Bytes& bytes, const std::string& marker, size_t valueBytes) {
    Bytes pattern = {0, 0, 0, static_cast<uint8_t>(marker.size())};
    pattern.insert(pattern.end(), marker.begin(), marker.end());
    auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
    if (found == bytes.end()) {
      return false;
    }
    bytes.erase(found, found + static_cast<std::ptrdiff_t>(pattern.size() + valueBytes));
    return true;
  }

  BuildingListener heard;
};

}  // namespace building_testing
