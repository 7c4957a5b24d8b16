#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "LogicMapFixture.h"
#include "logic/world/MoveInfoKinds.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTLvl11Fence.h"

namespace logic_world_testing {
namespace {

class MapTest : public LogicMapTest {};

// ---- What surrounds a thing ----

// Each blocked neighbour gives the blocked code plus the direction in which
// it lies, so a unit reading the code as a direction finds that cell.
TEST_F(MapTest, CollectObstaclesGivesEachBlockedNeighboursDirection) {
  TestUnit* unit = Put<TestUnit>(1, 10, 10);
  const struct {
    int32_t dx;
    int32_t dy;
    int32_t code;
  } cases[] = {{-1, -1, 0xFFF7}, {0, -1, 0xFFF0}, {1, -1, 0xFFF1}, {-1, 0, 0xFFF6},
               {1, 0, 0xFFF2},   {-1, 1, 0xFFF5}, {0, 1, 0xFFF4},  {1, 1, 0xFFF3}};
  tCollection<int32_t> list;
  std::vector<int32_t> allCodes;
  for (const auto& entry : cases) {
    Grid().SetOccupied(10 + entry.dx, 10 + entry.dy, true);
    Map().CollectObstacles(unit, 0, list);
    EXPECT_EQ(Ids(list), std::vector<int32_t>{entry.code}) << entry.dx << "," << entry.dy;
    const int32_t direction = entry.code - CMap::kBlockedCode;
    EXPECT_EQ(kDirectionX[direction], entry.dx);
    EXPECT_EQ(kDirectionY[direction], entry.dy);
    Grid().SetOccupied(10 + entry.dx, 10 + entry.dy, false);
    allCodes.push_back(entry.code);
  }
  for (const auto& entry : cases) {
    Grid().SetOccupied(10 + entry.dx, 10 + entry.dy, true);
  }
  Put<YLThing>(3, 13, 12);
  Put<YLThing>(2, 7, 10);
  Put<YLThing>(4, 14, 10)->Info->Status = 0;  // dead: left out
  Put<YLThing>(5, 20 - 1, 10);               // beyond the radius
  Map().CollectObstacles(unit, 3, list);
  std::vector<int32_t> expected = allCodes;
  expected.insert(expected.end(), {2, 3});
  EXPECT_EQ(Ids(list), expected);
}

TEST_F(MapTest, ObstacleQueriesAtOwnCellBlockedCellOutsideAndEntrance) {
  auto* house = Add<YLTContainerThing>(1, 0, 5, 5);
  house->GetContainerInfo()->SetEntranceRel(1, 0);  // the entrance is (6, 5)
  Map().PlaceThing(house);
  Grid().SetOccupied(5, 5, true);
  Grid().SetOccupied(6, 4, true);
  Put<YLThing>(2, 7, 5);
  Grid().SetMarkB(6, 7, true);  // under a footprint, no id
  const struct {
    const char* name;
    int32_t dx;
    int32_t dy;
    int32_t at;
    int32_t near;
  } cases[] = {
      {"own place", 0, 0, 1, 0},  // the entrance cell is free
      {"blocked", 0, -1, 0xFFF0, 0xFFF0},
      {"another thing", 1, 0, 2, 2},
      {"free", 0, 1, 0, 0},
      {"under a footprint", 0, 2, 0xFFF0, 0},
      {"outside the grid", -7, 0, 0xFFF0, 0xFFF0},
      {"the house's own cell, blocked", -1, 0, 1, 1},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(Map().GetObstacleAt(house, entry.dx, entry.dy), entry.at) << entry.name;
    EXPECT_EQ(Map().GetObstacleNear(house, entry.dx, entry.dy), entry.near) << entry.name;
  }
  // At (0, 0) a thing answers itself even on a blocked cell.
  YLThing* post = Put<YLThing>(3, 5, 4);
  Grid().SetOccupied(5, 4, true);
  EXPECT_EQ(Map().GetObstacleAt(post, 0, 0), 3);
  EXPECT_EQ(Map().GetObstacleNear(post, 0, 0), 3);
  EXPECT_EQ(Map().GetThingIDAt(7, 5), 2);
  EXPECT_EQ(Map().GetThingIDAt(-1, 5), 0);
  EXPECT_TRUE(Map().IsWalkable(0, 0));
  EXPECT_FALSE(Map().IsWalkable(6, 4));
  EXPECT_FALSE(Map().IsWalkable(20, 0));
}

// ---- Footprints ----

TEST_F(MapTest, FootprintsMoveAndStayWhole) {
  const std::vector<std::pair<int32_t, int32_t>> block = {{1, 0}, {0, 1}, {1, 1}};
  const struct {
    const char* name;
    std::function<YLThing*()> prepare;  // answers the thing to move
    int32_t toX;
    int32_t toY;
    bool answer;
    bool cellsKept;
  } cases[] = {
      {"a building blocked by an occupied cell",
       [&]() {
         auto* house = Add<YLTContainerThing>(1, 0, 4, 4);
         GiveFootprint(house, block);
         Map().PlaceThing(house);
         Grid().SetOccupied(7, 6, true);
         return house;
       },
       6, 5, false, true},
      {"onto its own cell",
       [&]() {
         auto* house = Add<YLTContainerThing>(1, 0, 4, 4);
         GiveFootprint(house, block);
         Map().PlaceThing(house);
         return house;
       },
       4, 4, true, true},
      {"another living thing's cell",
       [&]() {
         Put<YLThing>(2, 9, 9);
         return Put<TestUnit>(1, 8, 9);
       },
       9, 9, false, true},
      {"another living thing listed on the cell",
       [&]() {
         YLThing* other = Put<YLThing>(2, 9, 9);
         Grid().SetUnit(9, 9, 0);  // listed there, its cell since taken from it
         (void)other;
         return Put<TestUnit>(1, 8, 9);
       },
       9, 9, false, true},
      {"a dead thing's listing does not stop it",
       [&]() {
         YLThing* other = Put<YLThing>(2, 9, 9);
         Grid().SetUnit(9, 9, 0);
         other->Info->Status = 0;
         return Put<TestUnit>(1, 8, 9);
       },
       9, 9, true, false},
  };
  for (const auto& entry : cases) {
    Refresh();
    YLThing* moving = entry.prepare();
    const std::vector<uint32_t> before = Cells();
    const std::vector<int32_t> listedBefore = Listed();
    EXPECT_EQ(logic.UpdateThingOnMap(moving, entry.toX, entry.toY, moving->Info->Ori), entry.answer) << entry.name;
    EXPECT_EQ(Cells() == before, entry.cellsKept) << entry.name;
    if (!entry.answer) {
      EXPECT_EQ(Listed(), listedBefore) << entry.name;
    }
  }
}

// The old footprint loses only the cells that still hold the mover's id; a
// cell another thing has taken since keeps that thing.
TEST_F(MapTest, MoveClearsOnlyItsOwnCells) {
  auto* house = Add<YLTContainerThing>(1, 0, 4, 4);
  house->GetContainerInfo()->SetEntranceRel(0, 2);
  GiveFootprint(house, {{1, 0}, {0, 1}, {1, 1}});
  Map().PlaceThing(house);
  EXPECT_TRUE(Grid().HasMarkA(4, 6));
  EXPECT_EQ(Grid().GetUnit(4, 6), 1);
  Grid().SetUnit(5, 5, 9);  // taken by another id
  ASSERT_TRUE(MoveTo(house, 10, 4));
  EXPECT_EQ(Grid().GetUnit(5, 5), 9);
  EXPECT_TRUE(Grid().HasMarkB(5, 5));
  for (const auto& cell : {std::pair{4, 4}, {5, 4}, {4, 5}, {4, 6}}) {
    EXPECT_EQ(Grid().GetCell(cell.first, cell.second) & 0x3FFFFF, 0u) << cell.first << "," << cell.second;
  }
  for (const auto& cell : {std::pair{10, 4}, {11, 4}, {10, 5}, {11, 5}}) {
    EXPECT_EQ(Grid().GetUnit(cell.first, cell.second), 1);
    EXPECT_TRUE(Grid().HasMarkB(cell.first, cell.second));
  }
  EXPECT_TRUE(Grid().HasMarkA(10, 6));
  EXPECT_EQ(Grid().GetUnit(10, 6), 1);
  // Taken off again, the house leaves no mark behind.
  Map().RemoveThing(house);
  for (const auto& cell : {std::pair{10, 4}, {11, 4}, {10, 5}, {11, 5}, {10, 6}}) {
    EXPECT_EQ(Grid().GetCell(cell.first, cell.second) & 0x3FFFFF, 0u) << cell.first << "," << cell.second;
  }
  EXPECT_TRUE(Listed().empty());
}

TEST_F(MapTest, PlacingTwiceLeavesOneEntry) {
  YLThing* crate = Put<YLThing>(4, 3, 3);
  Put<YLThing>(2, 3, 3)->Info->Z = 1;
  crate->Info->X = 8;
  Map().PlaceThing(crate);
  Map().PlaceThing(crate);
  EXPECT_EQ(Listed(), (std::vector<int32_t>{2, 4}));
  EXPECT_EQ(Grid().GetUnit(8, 3), 4);
  EXPECT_EQ(Map().GetSector(0)->GetThings()[1].x, 8);
  Map().RemoveThing(crate);
  EXPECT_EQ(Listed(), (std::vector<int32_t>{2}));
  // A thing freed while listed leaves the list.
  YLThing* stray = Put<YLThing>(5, 1, 1);
  Place(5, nullptr);
  DestroyObject(stray);
  EXPECT_EQ(Listed(), (std::vector<int32_t>{2}));
}

// A thing above the ground keeps its cells off the grid: only its list
// entry moves.
TEST_F(MapTest, ThingAboveTheGroundOnlyMovesInTheList) {
  YLThing* bird = Add<YLThing>(3, 0, 2, 2);
  bird->Info->Z = 4;
  Map().PlaceThing(bird);
  EXPECT_EQ(Grid().GetUnit(2, 2), 0);
  Grid().SetOccupied(6, 2, true);
  EXPECT_TRUE(MoveTo(bird, 6, 2));
  EXPECT_EQ(Map().GetSector(0)->GetThings()[0].x, 6);
  EXPECT_EQ(Grid().GetUnit(6, 2), 0);
  YLThing* unplaced = Add<YLThing>(4, 0, 1, 1);
  EXPECT_FALSE(logic.UpdateThingOnMap(unplaced, 2, 1, 0));
}

// ---- Searches against brute force ----

TEST_F(MapTest, SearchesOnTwoThousandThingsEqualBruteForce) {
  Refresh(200, 200);
  std::mt19937 random(1234);
  std::vector<YLThing*> things;
  for (int32_t id = 1; id <= 2000; ++id) {
    const int32_t x = static_cast<int32_t>(random() % 200);
    const int32_t y = static_cast<int32_t>(random() % 200);
    YLThing* thing = random() % 3 == 0 ? static_cast<YLThing*>(Add<TestUnit>(id, 0, x, y)) : Add<YLThing>(id, 0, x, y);
    if (random() % 10 == 0) {
      thing->Info->Status = 0;
    }
    things.push_back(thing);
  }
  // Placed in a shuffled order: the list's order is the position's.
  std::vector<YLThing*> order = things;
  std::shuffle(order.begin(), order.end(), random);
  for (YLThing* thing : order) {
    Map().PlaceThing(thing);
  }
  auto listOrder = [](const YLThing* first, const YLThing* second) {
    return std::tie(first->Info->X, first->Info->Y, first->Info->Tid) <
           std::tie(second->Info->X, second->Info->Y, second->Info->Tid);
  };
  std::sort(things.begin(), things.end(), listOrder);
  tCollection<int32_t> list;
  for (int query = 0; query < 60; ++query) {
    const int32_t x = static_cast<int32_t>(random() % 220) - 10;
    const int32_t y = static_cast<int32_t>(random() % 220) - 10;
    const int32_t r = static_cast<int32_t>(random() % 25);
    std::vector<int32_t> inBox;
    for (const YLThing* thing : things) {
      if (std::abs(thing->Info->X - x) <= r && std::abs(thing->Info->Y - y) <= r &&
          (thing->Info->Status & StatusAlive) != 0) {
        inBox.push_back(thing->Info->Tid);
      }
    }
    Map().ThingsInBox(x, y, r, 0, list);
    EXPECT_EQ(Ids(list), inBox) << x << "," << y << " r " << r;

    const YLThing* centre = things[random() % things.size()];
    std::vector<int32_t> around;
    const int32_t neighbours[][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    for (const auto& neighbour : neighbours) {
      const int32_t cellX = centre->Info->X + neighbour[0];
      const int32_t cellY = centre->Info->Y + neighbour[1];
      if (cellX < 0 || cellY < 0 || cellX >= 200 || cellY >= 200) {
        for (int32_t direction = 0; direction < 8; ++direction) {
          if (kDirectionX[direction] == neighbour[0] && kDirectionY[direction] == neighbour[1]) {
            around.push_back(CMap::kBlockedCode + direction);
          }
        }
      }
    }
    for (const YLThing* thing : things) {
      if (thing != centre && std::abs(thing->Info->X - centre->Info->X) <= r &&
          std::abs(thing->Info->Y - centre->Info->Y) <= r && (thing->Info->Status & StatusAlive) != 0) {
        around.push_back(thing->Info->Tid);
      }
    }
    Map().CollectObstacles(centre, r, list);
    EXPECT_EQ(Ids(list), around) << centre->Info->Tid;

    const YLThing* nearest = nullptr;
    int32_t best = 0;
    for (const YLThing* thing : things) {
      if (dynamic_cast<const YLUnit*>(thing) == nullptr) {
        continue;
      }
      const int32_t distance = YLPathPlanNode::Distance(x, y, thing->Info->X, thing->Info->Y);
      if (nearest == nullptr || distance < best) {
        nearest = thing;
        best = distance;
      }
    }
    EXPECT_EQ(Map().FindUnitNear(x, y), nearest) << x << "," << y;
  }
}

TEST_F(MapTest, FindUnitNearWithoutUnitsAnswersNone) {
  Put<YLThing>(1, 3, 3);
  EXPECT_EQ(Map().FindUnitNear(3, 3), nullptr);
  TestUnit* unit = Put<TestUnit>(2, 15, 15);
  EXPECT_EQ(Map().FindUnitNear(3, 3), unit);
}

// ---- The units and cars standing in each sector ----

class SectorPathsTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    // Sector 0 covers x 0-9, sector 1 x 10-19, ten rows.
    path_testing::DrawnMap drawn = path_testing::DrawMap({"AB"}, 10);
    Map().SetStratMap(drawn.knowledge.release());
  }

  // What each sector must list: the listed units and cars standing at height
  // 0, by the sector of their record's cell.
  void ExpectExact(const std::string& step) {
    const YLSectors& sectors = *Grid().GetSectors();
    for (int32_t sector = 0; sector < sectors.GetSectorCount(); ++sector) {
      std::vector<int32_t> expected;
      for (int32_t id = 1; id < logic.Things->count; ++id) {
        const YLThing* thing = logic.GetThing(id);
        if (thing != nullptr && Map().IsListed(thing) && thing->Info->Z == 0 &&
            (dynamic_cast<const YLUnit*>(thing) != nullptr || dynamic_cast<const YLTCar*>(thing) != nullptr) &&
            Grid().GetSector(thing->Info->X, thing->Info->Y) == sector) {
          expected.push_back(id);
        }
      }
      tCollection<int32_t> listed;
      Map().GetSectorPaths(sector, listed);
      EXPECT_EQ(Ids(listed), expected) << step << ", sector " << sector;
    }
  }
};

TEST_F(SectorPathsTest, SectorListingsStayExact) {
  TestUnit* walker = Put<TestUnit>(1, 8, 5);
  Put<TestUnit>(2, 12, 5);
  auto* car = Put<YLTCar>(3, 15, 2);
  Put<YLThing>(4, 5, 5);  // a plain thing is never listed
  ExpectExact("placed");
  ASSERT_TRUE(MoveTo(walker, 9, 5));
  ExpectExact("within its sector");
  ASSERT_TRUE(MoveTo(walker, 10, 5));
  ExpectExact("across the border");
  ASSERT_TRUE(MoveTo(walker, 9, 6));
  ExpectExact("back again");
  car->Info->Status = 0;  // a wreck stays where it is
  ExpectExact("a wreck");
  walker->Info->Status = 0;
  Map().RemoveThing(walker);
  ExpectExact("dead and off the map");
  Place(1, nullptr);
  DestroyObject(walker);
  ExpectExact("destroyed");
  TestUnit* newcomer = Put<TestUnit>(1, 16, 7);  // the id again
  ExpectExact("the id reused");
  newcomer->Info->Z = 2;
  ASSERT_TRUE(MoveTo(newcomer, 17, 7));
  ExpectExact("above the ground");
  newcomer->Info->Z = 0;
  Map().PlaceThing(newcomer);
  ExpectExact("back on the ground");
  Grid().SetSector(12, 5, kNoSector);
  TestUnit* second = dynamic_cast<TestUnit*>(logic.GetThing(2));
  ASSERT_TRUE(MoveTo(second, 11, 5));
  ExpectExact("onto a cell of no sector");

  // A new map with its sector border further east: the same things are
  // listed again under the new sectors, and nothing stays under the old.
  path_testing::DrawnMap wider = path_testing::DrawMap({"AAB"}, 10);
  Map().SetStratMap(wider.knowledge.release());
  ExpectExact("after a new map");
  EXPECT_EQ(Grid().GetUnit(15, 2), 3);
  ASSERT_TRUE(MoveTo(second, 25, 5));
  ExpectExact("moving in the new map");

  // The list asked for is always emptied, also for a sector that does not
  // exist.
  tCollection<int32_t> list;
  list.AppendInt(77);
  Map().GetSectorPaths(9, list);
  EXPECT_EQ(list.count, 0);
}

// A new knowledge map starts without the old map's routes.
TEST_F(SectorPathsTest, NewKnowledgeMapForgetsTheCachedRoutes) {
  ASSERT_NE(Map().GetPathFinder().FindPath(2, 2, 17, 8), nullptr);
  ASSERT_NE(Map().GetPathFinder().FindVehiclePath(2, 2, 17, 8), nullptr);
  path_testing::DrawnMap other = path_testing::DrawMap({"AB"}, 10);
  Map().SetStratMap(other.knowledge.release());
  EXPECT_EQ(Map().GetPathFinder().GetCachedPath(0), nullptr);
  EXPECT_EQ(Map().GetPathFinder().GetVehiclePath(), nullptr);
}

// ---- Moves through the logic ----

TEST_F(MapTest, MovingKindsMoveTheThingOnTheMap) {
  TestUnit* unit = Put<TestUnit>(1, 5, 5);
  unit->Info->Ori = 2;
  MoveInfoWalk walk;
  EXPECT_TRUE(walk.Perform(unit, &logic));
  EXPECT_EQ(Grid().GetUnit(6, 5), 1);
  EXPECT_EQ(Grid().GetUnit(5, 5), 0);
  unit->SetX(6);
  Grid().SetOccupied(7, 5, true);
  EXPECT_FALSE(walk.Perform(unit, &logic));
  EXPECT_EQ(Grid().GetUnit(6, 5), 1);
  MoveInfoCW turn;
  EXPECT_TRUE(turn.Perform(unit, &logic));
}

TEST_F(MapTest, PushesMoveThePushedThing) {
  auto* crate = Add<YLTPushableThing>(2, 0, 10, 10);
  crate->Info->Ori = 0;
  Map().PlaceThing(crate);
  TestUnit* pusher = Put<TestUnit>(3, 9, 10);
  pusher->Info->Ori = 2;
  ASSERT_TRUE(crate->Push(pusher));
  EXPECT_EQ(crate->Info->X, 11);
  EXPECT_EQ(crate->Info->Y, 10);
  EXPECT_EQ(crate->Info->MoveNumber, YLThing::kMovePushFirst + 2);
  ASSERT_FALSE(listener.actions.empty());
  EXPECT_EQ(listener.actions.back().move, "ObjectMove2");
  for (const auto& cell : {std::pair{11, 10}, {10, 9}, {10, 10}, {11, 9}}) {
    EXPECT_EQ(Grid().GetUnit(cell.first, cell.second), 2) << cell.first << "," << cell.second;
  }
  EXPECT_EQ(Grid().GetUnit(9, 9), 0);

  // A tram pushes in its own direction; another vehicle does not.
  for (int tick = 0; tick < 4; ++tick) {
    crate->TickPush();
  }
  auto* tram = Put<YLTCar>(5, 11, 7);
  tram->Info->Ori = 4;
  tram->Info->Status = StatusAlive | (4u << kStatusVehicleTypeShift);
  ASSERT_TRUE(crate->PushedByVehicle(tram));
  EXPECT_EQ(crate->Info->X, 11);
  EXPECT_EQ(crate->Info->Y, 11);
  EXPECT_EQ(crate->Pusher, 5);
}

TEST_F(MapTest, ToggleTwiceRestoresTheBarricade) {
  path_testing::DrawnMap drawn = path_testing::DrawMap({"AB"}, 10);
  Map().SetStratMap(drawn.knowledge.release());
  YLSectorBorder* border = Grid().GetSectors()->GetSector(0)->FindBorderToID(1);
  ASSERT_NE(border, nullptr);
  const int32_t borderId = Grid().GetSectors()->IndexOfBorder(border);
  ASSERT_GT(borderId, 0);
  auto* barricade = Add<YLTBaricade>(1, 0, 10, 4);
  GiveFootprint(barricade, {{0, 1}, {0, 2}});
  Map().PlaceThing(barricade);
  barricade->SetBorder(borderId);
  EXPECT_FALSE(border->IsPassable());
  EXPECT_EQ(Map().GetPathFinder().FindPath(5, 5, 15, 5), nullptr);
  TestUnit* rozav = Put<TestUnit>(2, 9, 4);
  rozav->Info->Ori = 2;
  const std::vector<uint32_t> standing = Cells();

  barricade->Toggle(rozav);
  EXPECT_TRUE(border->IsPassable());
  EXPECT_FALSE(Map().IsListed(barricade));
  EXPECT_EQ(Grid().GetUnit(10, 5), 0);
  EXPECT_NE(Map().GetPathFinder().FindPath(5, 5, 15, 5), nullptr);
  EXPECT_NE(Map().GetPathFinder().GetCachedPath(0), nullptr);
  for (int tick = 0; tick < 11; ++tick) {
    barricade->Propagate();
  }
  EXPECT_EQ(barricade->Info->Z, -1);

  barricade->Toggle(rozav);
  EXPECT_FALSE(border->IsPassable());
  EXPECT_TRUE(Map().IsListed(barricade));
  EXPECT_EQ(barricade->Info->Z, 0);
  EXPECT_EQ(Cells(), standing);
  // The route found while the border was open is forgotten.
  EXPECT_EQ(Map().GetPathFinder().GetCachedPath(0), nullptr);
  EXPECT_EQ(Map().GetPathFinder().FindPath(5, 5, 15, 5), nullptr);
}

TEST_F(MapTest, FenceOpensItsBorderWhenItFalls) {
  path_testing::DrawnMap drawn = path_testing::DrawMap({"AB"}, 10);
  Map().SetStratMap(drawn.knowledge.release());
  YLSectorBorder* border = Grid().GetSectors()->GetSector(0)->FindBorderToID(1);
  const int32_t borderId = Grid().GetSectors()->IndexOfBorder(border);
  auto* fence = Put<YLTLvl11Fence>(1, 10, 3);
  fence->SetBorder(borderId);
  EXPECT_FALSE(border->IsPassable());
  fence->Destroy();
  EXPECT_TRUE(border->IsPassable());
  fence->SetBorder(borderId);
  EXPECT_TRUE(border->IsPassable());
}

// ---- Running over ----

TEST_F(MapTest, RunOverFollowsThePushersToACar) {
  auto* first = Put<YLTPushableThing>(1, 2, 2);
  auto* second = Put<YLTPushableThing>(2, 5, 2);
  TestUnit* unit = Put<TestUnit>(3, 8, 2);
  auto* car = Put<YLTCar>(4, 12, 2);
  const struct {
    const char* name;
    int32_t firstPusher;
    int32_t secondPusher;
    YLThing* moving;
    int32_t inWay;
    bool answer;
  } cases[] = {
      {"its own cell", 0, 0, unit, 3, true},
      {"a unit in the way of a unit", 0, 0, unit, 1, false},
      {"pushed by nobody", 0, 0, first, 3, false},
      {"the pusher itself", 3, 0, first, 3, true},
      {"pushed by a unit", 3, 0, first, 9, false},
      {"a chain back to the pusher", 2, 3, first, 3, true},
      {"a chain to a car", 2, 4, first, 9, false},
      {"a car against a pushable thing", 0, 0, car, 1, false},
      {"pushers in a circle", 2, 1, first, 9, false},
      {"a pusher that is no thing", 77, 0, first, 9, false},
      // Last: the unit does not survive it.
      {"a car over a unit", 0, 0, car, 3, true},
  };
  for (const auto& entry : cases) {
    first->Pusher = entry.firstPusher;
    second->Pusher = entry.secondPusher;
    EXPECT_EQ(logic.RunOver(entry.moving, entry.inWay, 0, 0), entry.answer) << entry.name;
  }
}

}  // namespace
}  // namespace logic_world_testing

namespace logic_world_testing {
namespace {

// ---- The map's stream form ----

class MapStreamTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    // A on the left, D on the right, B and C between them one above the
    // other: a route from A to D goes through B or C.
    path_testing::DrawnMap drawn = path_testing::DrawMap({"ABD", "ACD"}, 10);
    Map().SetStratMap(drawn.knowledge.release());
  }

  static std::vector<std::tuple<int32_t, int32_t, bool>> Route(const YLPathPlanNode* node) {
    std::vector<std::tuple<int32_t, int32_t, bool>> points;
    for (; node != nullptr; node = node->next.get()) {
      points.emplace_back(node->x, node->y, node->border != nullptr);
    }
    return points;
  }

  std::unique_ptr<CMap, tObjectDestroyer> LoadMap(const Bytes& bytes) {
    auto loaded = Load(bytes);
    auto* map = dynamic_cast<CMap*>(loaded.get());
    if (map != nullptr) {
      loaded.release();
    }
    return std::unique_ptr<CMap, tObjectDestroyer>(map);
  }
};

// The cached routes decide the next answers between the same sectors: here
// the route through B stays the answer after the border from A to B closed
// (its closing did not forget the routes), so a loaded map must answer
// through B as the saved one would have.
TEST_F(MapStreamTest, RouteQueryAfterALoadAnswersAsWithoutIt) {
  YLPathFinder& finder = Map().GetPathFinder();
  ASSERT_NE(finder.FindPath(3, 3, 27, 3), nullptr);
  ASSERT_NE(finder.FindPath(3, 13, 17, 13), nullptr);
  Grid().GetSectors()->GetSector(0)->FindBorderToID(1)->SetPassable(false);
  {
    YLPathFinder fresh;
    fresh.Attach(Map().GetStratMap());
    const auto throughC = Route(fresh.FindPath(8, 1, 22, 9));
    ASSERT_EQ(throughC.size(), 4u);
    EXPECT_EQ(std::get<1>(throughC[1]), 15);
  }
  ASSERT_NE(finder.FindVehiclePath(2, 2, 28, 18), nullptr);
  const Bytes bytes = Save(Map());
  auto loaded = LoadMap(bytes);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetSectorCount(), 1);
  ASSERT_NE(loaded->GetStratMap(), nullptr);
  EXPECT_EQ(loaded->GetStratMap()->GetWidth(), 30);
  YLPathFinder& loadedFinder = loaded->GetPathFinder();
  const auto expected = Route(finder.FindPath(8, 1, 22, 9));
  ASSERT_EQ(expected.size(), 4u);
  EXPECT_EQ(std::get<1>(expected[1]), 5);
  EXPECT_EQ(Route(loadedFinder.FindPath(8, 1, 22, 9)), expected);
  for (int32_t slot = 0; slot < YLPathFinder::kCacheSize; ++slot) {
    const YLPath* before = finder.GetCachedPath(slot);
    const YLPath* after = loadedFinder.GetCachedPath(slot);
    ASSERT_EQ(before == nullptr, after == nullptr) << slot;
    if (before != nullptr) {
      EXPECT_EQ(Route(after->GetFirst()), Route(before->GetFirst())) << slot;
    }
  }
  EXPECT_EQ(Route(loadedFinder.GetVehiclePath()->GetFirst()), Route(finder.GetVehiclePath()->GetFirst()));

  // A stream without the routes loads with none.
  Bytes older = bytes;
  const Bytes marker = MarkerBytes("paths:");
  const auto found = std::search(older.begin(), older.end(), marker.begin(), marker.end());
  ASSERT_NE(found, older.end());
  older.erase(found, older.end());
  auto withoutRoutes = LoadMap(older);
  ASSERT_NE(withoutRoutes, nullptr);
  EXPECT_EQ(withoutRoutes->GetPathFinder().GetCachedPath(0), nullptr);
  EXPECT_EQ(withoutRoutes->GetPathFinder().GetVehiclePath(), nullptr);
}

void PutInteger(Bytes& bytes, size_t at, int32_t value) {
  for (int shift = 0; shift < 4; ++shift) {
    bytes[at + static_cast<size_t>(shift)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (24 - 8 * shift));
  }
}

size_t Find(const Bytes& bytes, const Bytes& pattern) {
  const auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
  return static_cast<size_t>(found - bytes.begin());
}

TEST_F(MapStreamTest, LoadRefusesDamagedCountsAndRecords) {
  ASSERT_NE(Map().GetPathFinder().FindPath(3, 3, 27, 3), nullptr);
  const Bytes bytes = Save(Map());
  // The sector count stands just before the first sector record.
  const size_t sectorCount = Find(bytes, MarkerBytes("CMapSector")) - 12;
  const size_t firstRoute = Find(bytes, MarkerBytes("paths:")) + 10;
  ASSERT_LT(firstRoute, bytes.size());
  const struct {
    const char* name;
    std::function<void(Bytes&)> damage;
    const char* line;
  } cases[] = {
      {"no sector", [&](Bytes& b) { PutInteger(b, sectorCount, 0); }, "sector count 0"},
      {"a negative sector count", [&](Bytes& b) { PutInteger(b, sectorCount, -3); }, "sector count -3"},
      {"more sectors than bytes", [&](Bytes& b) { PutInteger(b, sectorCount, 0x1000000); }, "sector count 16777216"},
      {"a sector record of another class",
       [&](Bytes& b) {
         const size_t at = Find(b, MarkerBytes("CMapSector")) + 4;
         std::copy_n("LumoObject", 10, b.begin() + static_cast<std::ptrdiff_t>(at));
       },
       "is not a CMapSector"},
      {"a knowledge map of another class",
       [&](Bytes& b) {
         const size_t at = Find(b, MarkerBytes("YLKnowledgeMap")) + 4;
         std::copy_n("YLSectorBorder", 14, b.begin() + static_cast<std::ptrdiff_t>(at));
       },
       "not a knowledge map"},
      {"a route count beyond the stream", [&](Bytes& b) { PutInteger(b, firstRoute, 0x7FFFFFFF); },
       "route count 2147483647"},
      {"a negative route count", [&](Bytes& b) { PutInteger(b, firstRoute, -1); }, "route count -1"},
      {"a route across a missing border", [&](Bytes& b) { PutInteger(b, firstRoute + 26, 999); }, "border 999"},
  };
  for (const auto& entry : cases) {
    Bytes damaged = bytes;
    entry.damage(damaged);
    std::unique_ptr<CMap, tObjectDestroyer> loaded;
    const std::string log = Logged([&] { loaded = LoadMap(damaged); });
    EXPECT_EQ(loaded, nullptr) << entry.name;
    EXPECT_NE(log.find(entry.line), std::string::npos) << entry.name << ": " << log;
  }
}

}  // namespace
}  // namespace logic_world_testing
