#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <queue>
#include <random>
#include <tuple>
#include <vector>

#include "PathMapDrawing.h"
#include "navigation/YLPathFinder.h"

namespace {

using path_testing::DrawnMap;
using path_testing::GenerateMap;
using path_testing::ReadRoute;
using path_testing::RoutePoint;

constexpr uint32_t kSeed = 20261210;
constexpr int32_t kSectorCount = 255;
constexpr int32_t kBlocks = 48;
constexpr int32_t kCellSize = 4;
constexpr int32_t kQueries = 400;

struct Query {
  int32_t x1, y1, x2, y2;
};

std::vector<Query> MakeQueries(uint32_t seed, int32_t count) {
  std::mt19937 random(seed);
  const uint32_t extent = kBlocks * kCellSize;
  std::vector<Query> queries;
  for (int32_t index = 0; index < count; ++index) {
    Query query{};
    query.x1 = static_cast<int32_t>(random() % extent);
    query.y1 = static_cast<int32_t>(random() % extent);
    query.x2 = static_cast<int32_t>(random() % extent);
    query.y2 = static_cast<int32_t>(random() % extent);
    queries.push_back(query);
  }
  return queries;
}

using Crossable = std::function<bool(const YLSectorBorder&)>;

void Midpoint(const YLSectors& sectors, const YLSectorBorder& border, int32_t& x, int32_t& y) {
  const YLVertex* first = sectors.GetVertex(border.A);
  const YLVertex* second = sectors.GetVertex(border.B);
  x = (first->X + second->X) / 2;
  y = (first->Y + second->Y) / 2;
}

// The shortest route over border midpoints by Dijkstra over (border, sector
// entered) with the finder's distances; -1 when the goal cannot be reached.
int64_t ShortestRoute(const DrawnMap& drawn, const Query& query, const Crossable& crossable) {
  const YLSectors& sectors = drawn.Sectors();
  const int32_t start = drawn.knowledge->GetSector(query.x1, query.y1);
  const int32_t goal = drawn.knowledge->GetSector(query.x2, query.y2);
  if (goal == kNoSector) {
    return -1;
  }
  if (start == kNoSector || start == goal) {
    return YLPathPlanNode::Distance(query.x1, query.y1, query.x2, query.y2);
  }
  // State: border index * 2 + (1 when the crossing leads into Right); the
  // goal is state -1.
  using Entry = std::tuple<int64_t, int32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
  std::vector<int64_t> best(static_cast<size_t>(sectors.GetBorderCount()) * 2,
                            std::numeric_limits<int64_t>::max());
  const auto offer = [&](const YLSectorBorder& border, const YLSector* from, int64_t cost) {
    const int32_t state = sectors.IndexOfBorder(&border) * 2 + (border.Left == from ? 1 : 0);
    if (cost < best[static_cast<size_t>(state)]) {
      best[static_cast<size_t>(state)] = cost;
      queue.emplace(cost, state);
    }
  };
  const YLSector* startSector = sectors.GetSector(start);
  for (int32_t index = 0; index < startSector->GetBorderCount(); ++index) {
    const YLSectorBorder& border = *startSector->GetBorder(index);
    if (crossable(border)) {
      int32_t x = 0, y = 0;
      Midpoint(sectors, border, x, y);
      offer(border, startSector, YLPathPlanNode::Distance(query.x1, query.y1, x, y));
    }
  }
  while (!queue.empty()) {
    const auto [cost, state] = queue.top();
    queue.pop();
    if (state < 0) {
      return cost;
    }
    if (cost > best[static_cast<size_t>(state)]) {
      continue;
    }
    const YLSectorBorder& border = *sectors.GetBorder(state / 2);
    const YLSector* into = state % 2 == 1 ? border.Right : border.Left;
    int32_t x = 0, y = 0;
    Midpoint(sectors, border, x, y);
    if (border.Touches(goal)) {
      queue.emplace(cost + YLPathPlanNode::Distance(x, y, query.x2, query.y2), -1);
    }
    for (int32_t index = 0; index < into->GetBorderCount(); ++index) {
      const YLSectorBorder& next = *into->GetBorder(index);
      if (&next != &border && crossable(next)) {
        int32_t nextX = 0, nextY = 0;
        Midpoint(sectors, next, nextX, nextY);
        offer(next, into, cost + YLPathPlanNode::Distance(x, y, nextX, nextY));
      }
    }
  }
  return -1;
}

// The sector on the other side of a border from a sector; null when the
// border does not touch it.
const YLSector* AcrossFrom(const YLSectorBorder& border, const YLSector* sector) {
  if (border.Left == sector) {
    return border.Right;
  }
  return border.Right == sector ? border.Left.Get() : nullptr;
}

// The checks every found route passes: it runs from the start to the goal;
// each crossing leaves the sector the route is in at that point, through a
// border open to the search, into the sector on the border's other side; and
// the route ends in the goal's sector.
void ExpectValidRoute(const DrawnMap& drawn, const Query& query, const YLPathPlanNode* first,
                      const std::function<bool(const YLPathPlanNode&)>& allowed) {
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->x, query.x1);
  EXPECT_EQ(first->y, query.y1);
  const YLSectors& sectors = drawn.Sectors();
  const YLSector* current = sectors.GetSector(drawn.knowledge->GetSector(query.x1, query.y1));
  const YLPathPlanNode* last = first;
  for (const YLPathPlanNode* node = first->next.get(); node != nullptr; node = node->next.get()) {
    last = node;
    if (node->border == nullptr) {
      continue;
    }
    const int32_t borderIndex = sectors.IndexOfBorder(node->border);
    EXPECT_TRUE(allowed(*node)) << "border " << borderIndex;
    const YLSector* entered = AcrossFrom(*node->border, current);
    ASSERT_NE(entered, nullptr) << "border " << borderIndex << " does not leave sector "
                                << (current != nullptr ? int32_t{current->ID} : -1);
    current = entered;
  }
  EXPECT_EQ(last->x, query.x2);
  EXPECT_EQ(last->y, query.y2);
  EXPECT_EQ(current, sectors.GetSector(drawn.knowledge->GetSector(query.x2, query.y2)));
}

class PathFinderGeneratedMapTest : public ::testing::Test {
 protected:
  PathFinderGeneratedMapTest()
      : drawn(GenerateMap(kSeed, kSectorCount, kBlocks, kBlocks, kCellSize)) {
    // Two sectors walled in on every side, so some goals cannot be reached.
    for (int32_t id : {7, 77}) {
      const YLSector* sector = drawn.Sectors().GetSector(id);
      for (int32_t index = 0; index < sector->GetBorderCount(); ++index) {
        sector->GetBorder(index)->Passable = 0;
      }
    }
    finder.Attach(drawn.knowledge.get());
  }
  DrawnMap drawn;
  YLPathFinder finder;
};

TEST_F(PathFinderGeneratedMapTest, MapHasEverySectorAndClosedBorders) {
  ASSERT_EQ(drawn.Sectors().GetSectorCount(), kSectorCount);
  int32_t closed = 0;
  for (int32_t index = 0; index < drawn.Sectors().GetBorderCount(); ++index) {
    const YLSectorBorder* border = drawn.Sectors().GetBorder(index);
    closed += border->HasBothSides() && !border->IsPassable() ? 1 : 0;
  }
  EXPECT_GT(closed, 20);
}

TEST_F(PathFinderGeneratedMapTest, RoutesAreValidAndFoundExactlyWhenTheGoalCanBeReached) {
  const struct {
    const char* name;
    bool vehicle;
    Crossable crossable;
  } searches[] = {
      {"on foot", false, [](const YLSectorBorder& border) { return border.IsPassable(); }},
      {"by vehicle", true, [](const YLSectorBorder& border) { return border.IsVehiclePassable(); }},
  };
  for (const auto& search : searches) {
    int32_t found = 0;
    int32_t unreachable = 0;
    for (const Query& query : MakeQueries(kSeed + (search.vehicle ? 1 : 0), kQueries)) {
      SCOPED_TRACE(::testing::Message() << search.name << " " << query.x1 << "," << query.y1
                                        << " - " << query.x2 << "," << query.y2);
      const YLPathPlanNode* route =
          search.vehicle ? finder.FindVehiclePath(query.x1, query.y1, query.x2, query.y2)
                         : finder.FindPath(query.x1, query.y1, query.x2, query.y2);
      const int64_t shortest = ShortestRoute(drawn, query, search.crossable);
      ASSERT_EQ(route != nullptr, shortest >= 0);
      if (route == nullptr) {
        ++unreachable;
        continue;
      }
      ++found;
      ExpectValidRoute(drawn, query, route,
                       [&](const YLPathPlanNode& node) { return search.crossable(*node.border); });
    }
    EXPECT_GT(found, kQueries / 2) << search.name;
    EXPECT_GT(unreachable, 0) << search.name;
  }
}

TEST_F(PathFinderGeneratedMapTest, LimitedRoutesCrossSpecialBordersOnlyNearTheGoal) {
  std::mt19937 random(kSeed);
  int32_t specialCrossings = 0;
  for (const Query& query : MakeQueries(kSeed + 2, kQueries)) {
    const int32_t maximumLength = static_cast<int32_t>(random() % 120);
    const bool selector = random() % 2 != 0;
    SCOPED_TRACE(::testing::Message()
                 << query.x1 << "," << query.y1 << " - " << query.x2 << "," << query.y2
                 << " within " << maximumLength << " selector " << selector);
    const YLPathPlanNode* route =
        finder.FindPathLimited(query.x1, query.y1, query.x2, query.y2, maximumLength, selector);
    if (route == nullptr) {
      continue;
    }
    ExpectValidRoute(drawn, query, route, [&](const YLPathPlanNode& node) {
      if (node.border->IsPassable()) {
        return true;
      }
      ++specialCrossings;
      // Costs of the limited search are measured from the goal.
      return node.limitedCrossing != 0 && node.border->IsLimitedPassable(selector) &&
             node.costFromStart <= maximumLength;
    });
  }
  EXPECT_GT(specialCrossings, 0);
}

TEST_F(PathFinderGeneratedMapTest, SameQueriesGiveSameRoutes) {
  YLPathFinder other;
  other.Attach(drawn.knowledge.get());
  for (const Query& query : MakeQueries(kSeed + 3, kQueries)) {
    const YLPathPlanNode* mine = finder.FindPath(query.x1, query.y1, query.x2, query.y2);
    const YLPathPlanNode* theirs = other.FindPath(query.x1, query.y1, query.x2, query.y2);
    ASSERT_EQ(ReadRoute(mine, drawn.Sectors()), ReadRoute(theirs, drawn.Sectors()));
    const YLPathPlanNode* mineLimited =
        finder.FindPathLimited(query.x1, query.y1, query.x2, query.y2, 60, true);
    const YLPathPlanNode* theirsLimited =
        other.FindPathLimited(query.x1, query.y1, query.x2, query.y2, 60, true);
    ASSERT_EQ(ReadRoute(mineLimited, drawn.Sectors()), ReadRoute(theirsLimited, drawn.Sectors()));
  }
  EXPECT_EQ(finder.GetPoolCapacity() % YLPathFinder::kPoolGrowth, 0);
}

}  // namespace
