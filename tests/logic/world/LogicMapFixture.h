#pragma once

// A logic with a map: the thing fixture plus a CMap of the logic, shared with
// every thing, and helpers that place things and read the grid back.

#include <algorithm>
#include <tuple>
#include <vector>

#include "../../navigation/PathMapDrawing.h"
#include "LogicWorldFixture.h"
#include "logic/core/CMap.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"

namespace logic_world_testing {

class LogicMapTest : public LogicWorldTest {
 protected:
  void SetUp() override {
    LogicWorldTest::SetUp();
    logic.Map.reset(new CMap);
    ASSERT_TRUE(Map().Init(20, 20));
    YLThing::SetLogicContext(logic.Map.get(), &logic);
  }

  // An empty thing table and a new map of that size.
  void Refresh(int32_t width = 20, int32_t height = 20) {
    logic.Things.reset(new LumoObjects(true));
    logic.Map.reset(new CMap);
    ASSERT_TRUE(Map().Init(width, height));
    YLThing::SetLogicContext(logic.Map.get(), &logic);
  }

  CMap& Map() { return *logic.Map; }
  YLKnowledgeMap& Grid() { return *Map().GetStratMap(); }

  // A thing of class T at id, placed on the map at (x, y).
  template <typename T>
  T* Put(int32_t id, int32_t x, int32_t y) {
    T* thing = Add<T>(id, 0, x, y);
    Map().PlaceThing(thing);
    return thing;
  }

  // Gives the thing a footprint: its own cell and the extra points, in every
  // orientation.
  static void GiveFootprint(YLThing* thing, const std::vector<std::pair<int32_t, int32_t>>& points) {
    thing->Info->Ground.reset(new GroundMap);
    for (int32_t ori = 0; ori < GroundMap::kOrientations; ++ori) {
      for (const auto& point : points) {
        thing->Info->Ground->AddPoint(ori, point.first, point.second);
      }
    }
  }

  // Every cell word of the grid, row by row.
  std::vector<uint32_t> Cells() {
    std::vector<uint32_t> words;
    for (int32_t y = 0; y < Grid().GetHeight(); ++y) {
      for (int32_t x = 0; x < Grid().GetWidth(); ++x) {
        words.push_back(Grid().GetCell(x, y));
      }
    }
    return words;
  }

  // The ids of the list in its order.
  std::vector<int32_t> Listed() {
    std::vector<int32_t> ids;
    for (const CMapSector::Entry& entry : Map().GetSector(0)->GetThings()) {
      ids.push_back(entry.tid);
    }
    return ids;
  }

  // Moves the thing on the map and, when the map lets it, its record too, as
  // the movers do.
  bool MoveTo(YLThing* thing, int32_t x, int32_t y) {
    if (!logic.UpdateThingOnMap(thing, x, y, thing->Info->Ori)) {
      return false;
    }
    thing->SetX(x);
    thing->SetY(y);
    return true;
  }

  static std::vector<int32_t> Ids(const tCollection<int32_t>& list) {
    return std::vector<int32_t>(list.items, list.items + list.count);
  }
};

}  // namespace logic_world_testing
