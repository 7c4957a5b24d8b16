#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>

#include "navigation/YLPathPlanNode.h"
#include "navigation/YLSectors.h"

namespace {

using SectorMapOwner = std::unique_ptr<YLSectors, tObjectDestroyer>;

TEST(PathPlanNodeTest, DistanceIsTheTruncatedRootOfSixtyFourBitSquares) {
  constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();
  constexpr int32_t kSmallest = std::numeric_limits<int32_t>::min();
  const struct {
    int32_t x1, y1, x2, y2, expected;
  } cases[] = {
      {0, 0, 0, 0, 0},
      {0, 0, 3, 4, 5},
      {7, 3, 4, -1, 5},                       // either direction, negative coordinates
      {0, 0, 1, 1, 1},                        // 1.414 truncated
      {0, 0, 46341, 46341, 65536},            // the squares pass 32 bits
      {0, 0, 99999, 99999, 141419},           // 141419.9
      {kSmallest, 0, kLargest, 0, kLargest},  // beyond 32 bits: the largest value
      {0, kSmallest, 0, 0, kLargest},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(YLPathPlanNode::Distance(entry.x1, entry.y1, entry.x2, entry.y2), entry.expected)
        << entry.x1 << "," << entry.y1 << " - " << entry.x2 << "," << entry.y2;
  }
}

// One border between vertices (ax, ay) and (bx, by) in a map of its own.
struct BorderFixture {
  BorderFixture(int32_t ax, int32_t ay, int32_t bx, int32_t by) : sectors(new YLSectors) {
    sectors->AppendVertex(new YLVertex(ax, ay));
    sectors->AppendVertex(new YLVertex(bx, by));
    border = new YLSectorBorder;
    border->SetA(0);
    border->SetB(1);
    sectors->AppendBorder(border);
  }
  SectorMapOwner sectors;
  YLSectorBorder* border = nullptr;
};

// A chain previous -> crossing -> next, owned by the first node.
struct ChainFixture {
  ChainFixture(YLSectorBorder* border, int32_t crossingX, int32_t crossingY, int32_t fromX,
               int32_t fromY, int32_t toX, int32_t toY)
      : first(std::make_unique<YLPathPlanNode>(nullptr, fromX, fromY)) {
    first->next = std::make_unique<YLPathPlanNode>(border, crossingX, crossingY);
    crossing = first->next.get();
    crossing->previous = first.get();
    crossing->next = std::make_unique<YLPathPlanNode>(nullptr, toX, toY);
    crossing->next->previous = crossing;
  }
  std::unique_ptr<YLPathPlanNode> first;
  YLPathPlanNode* crossing = nullptr;
};

TEST(PathPlanNodeTest, CrossingPointMeetsTheLineRoundedAndKeptInsideTheBorder) {
  const struct {
    const char* name;
    int32_t ax, ay, bx, by;          // the border
    int32_t fromX, fromY, toX, toY;  // the previous and next points
    int32_t expectedX, expectedY;
  } cases[] = {
      {"diagonal through a vertical border", 10, 0, 10, 20, 0, 0, 20, 20, 10, 10},
      {"half rounds up", 10, 0, 10, 20, 0, 0, 20, 7, 10, 4},
      {"a third rounds down", 10, 0, 10, 20, 0, 0, 30, 10, 10, 3},
      {"negative half rounds towards zero", 0, -20, 0, 20, -10, 0, 10, -5, 0, -2},
      {"truncation, not flooring", 0, -20, 0, 20, -10, 0, 15, -3, 0, 0},
      {"closer than 2 to an end", 10, 0, 10, 20, 0, 0, 20, 2, 10, 2},
      {"beyond an end", 10, 0, 10, 20, 0, 0, 20, -20, 10, 2},
      {"beyond the far end", 10, 0, 10, 20, 0, 40, 20, 40, 10, 18},
      {"sloped border follows its slope", 0, 0, 20, 10, 30, 20, 30, 0, 18, 9},
      {"parallel line keeps the point", 10, 0, 10, 20, 5, 0, 5, 20, 10, 10},
      {"border shorter than 4 keeps the point", 10, 0, 10, 3, 0, 0, 20, 0, 10, 10},
      {"border of exactly 4 moves", 10, 0, 10, 4, 0, 0, 20, 4, 10, 2},
  };
  for (const auto& entry : cases) {
    BorderFixture fixture(entry.ax, entry.ay, entry.bx, entry.by);
    ChainFixture chain(fixture.border, 10, 10, entry.fromX, entry.fromY, entry.toX, entry.toY);
    chain.crossing->GetCrossingPoint(*fixture.sectors);
    EXPECT_EQ(chain.crossing->x, entry.expectedX) << entry.name;
    EXPECT_EQ(chain.crossing->y, entry.expectedY) << entry.name;
  }
}

TEST(PathPlanNodeTest, CrossingPointNeedsBothNeighbours) {
  BorderFixture fixture(10, 0, 10, 20);
  YLPathPlanNode alone(fixture.border, 10, 10);
  alone.GetCrossingPoint(*fixture.sectors);
  EXPECT_EQ(alone.x, 10);
  EXPECT_EQ(alone.y, 10);
  alone.GetCrossingPointTowards(*fixture.sectors, 0, 0, 20, 6);
  EXPECT_EQ(alone.x, 10);
  EXPECT_EQ(alone.y, 3);
}

TEST(PathPlanNodeTest, ChainMeasuresLengthAndCountFromANode) {
  BorderFixture fixture(10, 0, 10, 20);
  ChainFixture chain(fixture.border, 10, 4, 7, 0, 13, 8);
  EXPECT_EQ(chain.first->GetNodeCount(), 3);
  EXPECT_EQ(chain.crossing->GetNodeCount(), 2);
  EXPECT_EQ(chain.first->GetLength(), 5 + 5);
  EXPECT_EQ(chain.crossing->GetLength(), 5);
  chain.crossing->SetEstimate(13, 8);
  EXPECT_EQ(chain.crossing->costFromStart, 5);
  EXPECT_EQ(chain.crossing->estimate, 5);
}

TEST(PathPlanNodeTest, ConnectingRefusesATwoNodeCircle) {
  YLPathPlanNode first(nullptr, 0, 0);
  YLPathPlanNode second(nullptr, 3, 4);
  EXPECT_TRUE(second.ConnectPrevious(&first));
  EXPECT_FALSE(first.ConnectPrevious(&second));
  EXPECT_EQ(first.previous, nullptr);
}

TEST(PathPlanNodeTest, SidesFollowTheSectorTheCrossingIsEnteredFrom) {
  BorderFixture fixture(10, 0, 10, 20);
  YLSector left;
  left.SetID(4);
  YLSector right;
  right.SetID(9);
  fixture.border->SetLeft(&left);
  fixture.border->SetRight(&right);
  YLPathPlanNode start(nullptr, 5, 5);
  YLPathPlanNode crossing(fixture.border, 10, 10);
  crossing.ConnectPreviousInSector(&start, 9);
  EXPECT_EQ(crossing.NextSector(), &left);
  EXPECT_EQ(crossing.PreviousSector(), &right);
  crossing.ConnectPreviousInSector(&start, 4);
  EXPECT_EQ(crossing.NextSector(), &right);
  EXPECT_EQ(crossing.PreviousSector(), &left);
  fixture.border->SetLeft(nullptr);
  fixture.border->SetRight(nullptr);
}

TEST(PathPlanNodeTest, DeletingTheFirstNodeDeletesALongChain) {
  auto first = std::make_unique<YLPathPlanNode>();
  YLPathPlanNode* tail = first.get();
  for (int32_t index = 0; index < 100000; ++index) {
    tail->next = std::make_unique<YLPathPlanNode>(nullptr, index, 0);
    tail->next->previous = tail;
    tail = tail->next.get();
  }
  EXPECT_EQ(first->GetNodeCount(), 100001);
  first.reset();  // a recursive deletion would exhaust the stack
}

}  // namespace
