#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PathMapDrawing.h"
#include "navigation/YLPathFinder.h"

namespace {

using path_testing::CrossedBorders;
using path_testing::DrawMap;
using path_testing::DrawnMap;
using path_testing::ReadRoute;
using path_testing::RoutePoint;

struct FinderFixture {
  explicit FinderFixture(const std::vector<std::string>& rows, int32_t cellSize = 10)
      : drawn(DrawMap(rows, cellSize)) {
    finder.Attach(drawn.knowledge.get());
  }
  std::vector<RoutePoint> Route(const YLPathPlanNode* first) const {
    return ReadRoute(first, drawn.Sectors());
  }
  int32_t Border(int32_t first, int32_t second) const {
    return drawn.Sectors().IndexOfBorder(drawn.BorderBetween(first, second));
  }

  DrawnMap drawn;
  YLPathFinder finder;
};

TEST(PathFinderTest, StartAndGoalInOneSectorGiveTwoNodes) {
  FinderFixture fixture({"AB"});
  const std::vector<RoutePoint> expected = {{2, 2, -1}, {7, 8, -1}};
  EXPECT_EQ(fixture.Route(fixture.finder.FindPath(2, 2, 7, 8)), expected);
  EXPECT_EQ(fixture.Route(fixture.finder.FindVehiclePath(2, 2, 7, 8)), expected);
}

TEST(PathFinderTest, StartOutsideEverySectorGivesTheStraightLine) {
  FinderFixture fixture({"A.B"});
  for (const auto& start : {std::pair{15, 5}, std::pair{-40, 3}}) {
    const std::vector<RoutePoint> expected = {{start.first, start.second, -1}, {25, 5, -1}};
    EXPECT_EQ(fixture.Route(fixture.finder.FindPath(start.first, start.second, 25, 5)), expected);
  }
}

TEST(PathFinderTest, GoalOutsideEverySectorGivesNoRoute) {
  FinderFixture fixture({"A.B"});
  EXPECT_EQ(fixture.finder.FindPath(5, 5, 15, 5), nullptr);
  EXPECT_EQ(fixture.finder.FindPath(5, 5, 500, 5), nullptr);
  EXPECT_EQ(fixture.finder.FindVehiclePath(5, 5, 15, 5), nullptr);
  EXPECT_EQ(fixture.finder.FindPathLimited(15, 5, 5, 5, 1000, true), nullptr);
}

TEST(PathFinderTest, UnattachedFinderFindsNothing) {
  YLPathFinder finder;
  EXPECT_EQ(finder.FindPath(5, 5, 15, 5), nullptr);
  EXPECT_EQ(finder.FindVehiclePath(5, 5, 15, 5), nullptr);
  EXPECT_EQ(finder.FindPathLimited(5, 5, 15, 5, 100, true), nullptr);
}

TEST(PathFinderTest, BorderFlagsDecideFootAndVehicleRoutes) {
  const struct {
    uint8_t flags;
    bool onFoot;
    bool byVehicle;
  } cases[] = {
      {15, true, true}, {0, false, false}, {1, true, false}, {2, false, true}, {12, false, false}};
  for (const auto& entry : cases) {
    FinderFixture fixture({"AB"});
    fixture.drawn.BorderBetween(0, 1)->Passable = entry.flags;
    const std::vector<RoutePoint> crossing = {
        {5, 5, -1}, {10, 5, fixture.Border(0, 1)}, {15, 5, -1}};
    const YLPathPlanNode* onFoot = fixture.finder.FindPath(5, 5, 15, 5);
    const YLPathPlanNode* byVehicle = fixture.finder.FindVehiclePath(5, 5, 15, 5);
    EXPECT_EQ(onFoot != nullptr, entry.onFoot) << int(entry.flags);
    EXPECT_EQ(byVehicle != nullptr, entry.byVehicle) << int(entry.flags);
    if (onFoot != nullptr) {
      EXPECT_EQ(fixture.Route(onFoot), crossing);
    }
    if (byVehicle != nullptr) {
      EXPECT_EQ(fixture.Route(byVehicle), crossing);
    }
  }
}

TEST(PathFinderTest, BorderWithOneSideIsNeverCrossed) {
  FinderFixture fixture({"AB"});
  YLSectorBorder* shared = fixture.drawn.BorderBetween(0, 1);
  shared->SetRight(nullptr);
  EXPECT_EQ(fixture.finder.FindPath(5, 5, 15, 5), nullptr);
  EXPECT_EQ(fixture.finder.FindVehiclePath(5, 5, 15, 5), nullptr);
  EXPECT_EQ(fixture.finder.FindPathLimited(5, 5, 15, 5, 1000, true), nullptr);
}

// A and D are joined through B and through C at the same cost: the newer of
// two open nodes of equal f is taken first, so the route goes through B.
TEST(PathFinderTest, EqualCostsTakeTheNewerCrossing) {
  FinderFixture fixture({"AB", "CD"});
  const std::vector<RoutePoint> expected = {
      {2, 2, -1}, {10, 5, fixture.Border(0, 1)}, {15, 10, fixture.Border(1, 3)}, {18, 18, -1}};
  EXPECT_EQ(fixture.Route(fixture.finder.FindPath(2, 2, 18, 18)), expected);
}

// A better way to an open crossing does not move it up the open list: F|B is
// first reached through B (f 48), then through F (f 44), but keeps its place
// behind B|C (f 46), so the search ends through A|B and B|C, 46 long, while
// the way through A|F, F|B and B|C is 44 long.
TEST(PathFinderTest, BetterWayToAnOpenCrossingIsNotTakenInTime) {
  FinderFixture fixture({"AABDD", "AABDD", "FFBDD", "EECCC"});
  const YLPathPlanNode* route = fixture.finder.FindPath(5, 5, 35, 35);
  const std::vector<RoutePoint> expected = {
      {5, 5, -1}, {20, 10, fixture.Border(0, 1)}, {25, 30, fixture.Border(1, 2)}, {35, 35, -1}};
  EXPECT_EQ(fixture.Route(route), expected);
  EXPECT_EQ(route->GetLength(), 15 + 20 + 11);
  const int32_t shorter =
      YLPathPlanNode::Distance(5, 5, 10, 20) + YLPathPlanNode::Distance(10, 20, 20, 25) +
      YLPathPlanNode::Distance(20, 25, 25, 30) + YLPathPlanNode::Distance(25, 30, 35, 35);
  EXPECT_EQ(shorter, 44);
}

TEST(PathFinderTest, RouteGoesAroundAClosedBorder) {
  FinderFixture fixture({"AB", "CD"});
  fixture.drawn.BorderBetween(0, 1)->SetPassable(false);
  const std::vector<RoutePoint> expected = {
      {2, 2, -1}, {5, 10, fixture.Border(0, 2)}, {10, 15, fixture.Border(2, 3)}, {18, 18, -1}};
  EXPECT_EQ(fixture.Route(fixture.finder.FindPath(2, 2, 18, 18)), expected);
}

TEST(PathFinderTest, DisconnectedSectorsGiveNoRoute) {
  const struct {
    std::vector<std::string> rows;
    int32_t closedFirst, closedSecond;  // a border closed on foot; -1 none
  } cases[] = {
      {{"A.B"}, -1, -1},
      {{"AB.E", "CD.F"}, -1, -1},
      {{"ABE", "CDF"}, 1, 4},
  };
  for (const auto& entry : cases) {
    FinderFixture fixture(entry.rows);
    if (entry.closedFirst >= 0) {
      fixture.drawn.BorderBetween(entry.closedFirst, entry.closedSecond)->Passable = 0;
      fixture.drawn.BorderBetween(3, 5)->Passable = 0;
    }
    const int32_t goalX = static_cast<int32_t>(entry.rows[0].size()) * 10 - 5;
    EXPECT_EQ(fixture.finder.FindPath(5, 5, goalX, 5), nullptr) << entry.rows[0];
    EXPECT_EQ(fixture.finder.FindVehiclePath(5, 5, goalX, 5), nullptr) << entry.rows[0];
  }
}

TEST(PathFinderTest, LimitedSearchCrossesSpecialBordersNearTheGoal) {
  // B|C is closed on foot; the limited search may cross it when it is within
  // the maximum length of the goal (25, 5) and has the selector's bit.
  const struct {
    uint8_t flags;
    bool selector;
    int32_t maximumLength;
    bool found;
  } cases[] = {
      {6, true, 100, true}, {6, false, 100, false}, {10, false, 100, true}, {10, true, 100, false},
      {6, true, 5, true},   {6, true, 4, false},    {2, true, 100, false},  {15, true, 0, true},
  };
  for (const auto& entry : cases) {
    FinderFixture fixture({"ABC"});
    fixture.drawn.BorderBetween(1, 2)->Passable = entry.flags;
    const YLPathPlanNode* route =
        fixture.finder.FindPathLimited(5, 5, 25, 5, entry.maximumLength, entry.selector);
    ASSERT_EQ(route != nullptr, entry.found)
        << int(entry.flags) << " " << entry.selector << " " << entry.maximumLength;
    if (route != nullptr) {
      const std::vector<RoutePoint> expected = {
          {5, 5, -1}, {10, 5, fixture.Border(0, 1)}, {20, 5, fixture.Border(1, 2)}, {25, 5, -1}};
      EXPECT_EQ(fixture.Route(route), expected);
      // Reversed: each crossing leads towards the goal.
      EXPECT_EQ(route->next->NextSector(), fixture.drawn.Sectors().GetSector(1));
      EXPECT_EQ(route->next->next->NextSector(), fixture.drawn.Sectors().GetSector(2));
    }
    // On foot (a finder of its own: the cache would answer the limited route
    // for the same two sectors).
    YLPathFinder onFoot;
    onFoot.Attach(fixture.drawn.knowledge.get());
    EXPECT_EQ(onFoot.FindPath(5, 5, 25, 5) != nullptr, (entry.flags & 1) != 0);
  }
}

// From the goal in C the way to A turns back through B: the straight line
// from A|B to the goal misses B|C, so A|B may not be cut across even though
// it has the special bit and lies within the maximum length.
TEST(PathFinderTest, LimitedSearchCutsAcrossOnlyOnAStraightLine) {
  const struct {
    uint8_t flags;  // of A|B
    bool found;
  } cases[] = {{14, false}, {15, true}};
  for (const auto& entry : cases) {
    FinderFixture fixture({"AC", "BB"});
    fixture.drawn.BorderBetween(0, 2)->Passable = 0;
    fixture.drawn.BorderBetween(0, 1)->Passable = entry.flags;
    EXPECT_EQ(fixture.finder.FindPathLimited(5, 5, 15, 5, 100, true) != nullptr, entry.found)
        << int(entry.flags);
  }
}

TEST(PathFinderTest, CacheHitMovesTheEndsOfTheCachedRoute) {
  FinderFixture fixture({"ABC"});
  const YLPathPlanNode* first = fixture.finder.FindPath(5, 5, 25, 5);
  ASSERT_NE(first, nullptr);
  const YLPathPlanNode* again = fixture.finder.FindPath(3, 7, 27, 2);
  EXPECT_EQ(again, first);
  const std::vector<RoutePoint> expected = {
      {3, 7, -1}, {10, 5, fixture.Border(0, 1)}, {20, 5, fixture.Border(1, 2)}, {27, 2, -1}};
  EXPECT_EQ(fixture.Route(again), expected);
}

// The sector ids at the ends of every cached route, most recent first.
std::vector<std::pair<int, int>> CachedEnds(const FinderFixture& fixture) {
  std::vector<std::pair<int, int>> ends;
  for (int32_t slot = 0; slot < YLPathFinder::kCacheSize; ++slot) {
    const YLPath* path = fixture.finder.GetCachedPath(slot);
    if (path != nullptr) {
      ends.emplace_back(path->StartSector(*fixture.drawn.knowledge),
                        path->EndSector(*fixture.drawn.knowledge));
    }
  }
  return ends;
}

TEST(PathFinderTest, EleventhRouteEvictsTheOldest) {
  FinderFixture fixture({"ABCDEFGHIJKL"});
  for (int32_t goal = 1; goal <= 11; ++goal) {
    ASSERT_NE(fixture.finder.FindPath(5, 5, goal * 10 + 5, 5), nullptr);
  }
  std::vector<std::pair<int, int>> expected;
  for (int goal = 11; goal >= 2; --goal) {
    expected.emplace_back(0, goal);
  }
  EXPECT_EQ(CachedEnds(fixture), expected);
  // A hit moves its route to the front; the others keep their order.
  ASSERT_NE(fixture.finder.FindPath(6, 6, 45, 5), nullptr);
  expected.erase(expected.begin() + 7);
  expected.insert(expected.begin(), {0, 4});
  EXPECT_EQ(CachedEnds(fixture), expected);
}

TEST(PathFinderTest, LimitedRoutesShareTheFirstThreeSlots) {
  FinderFixture fixture({"ABCDEFGHIJKL"});
  for (int32_t goal = 1; goal <= 5; ++goal) {
    ASSERT_NE(fixture.finder.FindPath(5, 5, goal * 10 + 5, 5), nullptr);
  }
  const YLPathPlanNode* limited = fixture.finder.FindPathLimited(5, 5, 65, 5, 100, true);
  ASSERT_NE(limited, nullptr);
  // The route that left the third slot (to D) is gone; the later slots stay.
  const std::vector<std::pair<int, int>> expected = {{0, 6}, {0, 5}, {0, 4}, {0, 2}, {0, 1}};
  EXPECT_EQ(CachedEnds(fixture), expected);

  // The same goal point from the same sector is a hit that moves the start.
  EXPECT_EQ(fixture.finder.FindPathLimited(2, 8, 65, 5, 100, true), limited);
  EXPECT_EQ(limited->x, 2);
  EXPECT_EQ(limited->y, 8);
  // Another goal point in the same sector is not.
  EXPECT_NE(fixture.finder.FindPathLimited(2, 8, 66, 5, 100, true), nullptr);
  EXPECT_EQ(fixture.finder.GetCachedPath(0)->GetLast()->x, 66);
  EXPECT_EQ(fixture.finder.GetCachedPath(1)->GetFirst(), limited);
}

TEST(PathFinderTest, AttachForgetsCachedRoutes) {
  FinderFixture fixture({"ABC"});
  ASSERT_NE(fixture.finder.FindPath(5, 5, 25, 5), nullptr);
  ASSERT_NE(fixture.finder.FindVehiclePath(5, 5, 25, 5), nullptr);
  fixture.finder.Attach(fixture.drawn.knowledge.get());
  EXPECT_EQ(fixture.finder.GetCachedPath(0), nullptr);
}

}  // namespace
