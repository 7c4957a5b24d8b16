#pragma once

#include <cstdint>
#include <memory>

#include "navigation/YLSectors.h"

// One step of a planned route: the start, a crossing of a border, or the
// goal. Routes are chains linked both ways; a chain is owned from its first
// node through `next`, so deleting the first node deletes the chain.
//
// Points are map units (cells). Costs are truncated Euclidean distances, the
// g (costFromStart) and h (estimate) of the A* search.
class YLPathPlanNode {
 public:
  YLPathPlanNode() = default;
  YLPathPlanNode(YLSectorBorder* crossedBorder, int32_t pointX, int32_t pointY);
  YLPathPlanNode(const YLPathPlanNode&) = delete;
  YLPathPlanNode& operator=(const YLPathPlanNode&) = delete;
  // Deletes the chain behind this node, one node at a time, so a long chain
  // cannot exhaust the stack.
  virtual ~YLPathPlanNode();

  // The square root of dx² + dy², truncated. The squares are taken in 64
  // bits, so no coordinate pair can overflow; a distance beyond the 32-bit
  // range answers the largest 32-bit value.
  static int32_t Distance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const uint64_t dx = AbsoluteDifference(x1, x2);
    const uint64_t dy = AbsoluteDifference(y1, y2);
    if (dx >= kOutOfRange || dy >= kOutOfRange) {
      return kLargestCost;
    }
    const uint64_t squares = dx * dx + dy * dy;  // below 2^63
    // Below 2^52 the double's root is correctly rounded and never reaches
    // the next integer, so its truncation is exact; above, integer checks
    // make it exact on every machine.
    uint64_t root = static_cast<uint64_t>(__builtin_sqrt(static_cast<double>(squares)));
    if (squares >= kExactRootLimit) {
      root = CorrectRoot(root, squares);
    }
    return root > static_cast<uint64_t>(kLargestCost) ? kLargestCost : static_cast<int32_t>(root);
  }

  // Makes previous the node this one is reached from and, for a crossing,
  // decides the side it enters from: from the previous node's NextSector.
  // Refused (false, with a log line) when previous is itself reached from
  // this node.
  bool ConnectPrevious(YLPathPlanNode* previousNode) {
    if (previousNode != nullptr && previousNode->previous == this) {
      ReportRefusedLink();
      return false;
    }
    previous = previousNode;
    if (border == nullptr || previousNode == nullptr) {
      return true;
    }
    // Entered from Left when that is where the previous node leads, else
    // from Right when that is; the side is chosen without a branch, since
    // either is as likely.
    const YLSector* from = previousNode->NextSector();
    const bool fromLeft = (from != nullptr) & (border->Left == from);
    const bool fromRight = (from != nullptr) & (border->Right == from);
    if (!fromLeft && !fromRight) {
      ReportUnknownSide();
      return true;
    }
    entersFromLeft = fromLeft ? 1 : 0;
    return true;
  }
  // The same, the side decided by the id of the sector the crossing is
  // entered from (the start node stands in no crossing).
  bool ConnectPreviousInSector(YLPathPlanNode* previousNode, int32_t sectorId);
  // costFromStart from the previous node, estimate towards the goal.
  void SetEstimate(int32_t goalX, int32_t goalY);
  // The previous node's cost plus the distance from its point; 0 at the start.
  int32_t GetCostFromStart() const {
    if (previous == nullptr) {
      return 0;
    }
    const int64_t sum =
        static_cast<int64_t>(Distance(previous->x, previous->y, x, y)) + previous->costFromStart;
    return sum > kLargestCost ? kLargestCost
                              : (sum < -kLargestCost - 1 ? -kLargestCost - 1 : static_cast<int32_t>(sum));
  }
  // f of A*, wide enough that the sum never overflows.
  int64_t GetTotalCost() const { return static_cast<int64_t>(costFromStart) + estimate; }
  // After a reconnection: costFromStart again from the previous node, and the
  // same along the chain behind.
  void RefreshCosts();
  // The sum of the distances from this node to the end of the chain.
  int32_t GetLength() const;
  // The nodes from this one to the end of the chain, this one included.
  int32_t GetNodeCount() const;
  // The sector the crossing leads into (Right when entered from Left), and
  // the one it comes from; null for the start and the goal.
  YLSector* NextSector() const {
    if (border == nullptr) {
      return nullptr;
    }
    return entersFromLeft != 0 ? border->Right : border->Left;
  }
  YLSector* PreviousSector() const {
    if (border == nullptr) {
      return nullptr;
    }
    return entersFromLeft != 0 ? border->Left : border->Right;
  }

  // Straightens the crossing towards the next leg: the point becomes where
  // the line through the previous and next points meets the border's line,
  // kept at least 2 units inside the border's ends. Only borders at least 4
  // units long move; a node without both neighbours keeps its point.
  void GetCrossingPoint(const YLSectors& sectors);
  // The same with the line through two given points.
  void GetCrossingPointTowards(const YLSectors& sectors, int32_t x1, int32_t y1, int32_t x2,
                               int32_t y2);
  // Whether the straight line from this node's point to (x, y) still passes
  // through every border crossed before it; moves the points of this node
  // and of those before it onto that line (see the implementation).
  bool StraightensTo(const YLSectors& sectors, int32_t x, int32_t y);

  // Makes this node a fresh crossing (or start, or goal) at a point, with no
  // links; used by the finder's node pool.
  void Reinitialise(YLSectorBorder* crossedBorder, int32_t pointX, int32_t pointY) {
    next.reset();
    previous = nullptr;
    border = crossedBorder;
    x = pointX;
    y = pointY;
    costFromStart = 0;
    estimate = 0;
    entersFromLeft = 0;
    limitedCrossing = 0;
  }

  static constexpr int32_t kLargestCost = 0x7FFFFFFF;
  std::unique_ptr<YLPathPlanNode> next;  // towards the goal; owned
  YLPathPlanNode* previous = nullptr;    // towards the start
  YLSectorBorder* border = nullptr;      // null for the start and the goal
  int32_t x = 0;
  int32_t y = 0;
  int32_t costFromStart = 0;
  int32_t estimate = 0;
  uint8_t entersFromLeft = 0;   // 1: reached from the border's Left sector
  uint8_t limitedCrossing = 0;  // the limited search may cross special borders here

 private:
  static constexpr uint64_t kOutOfRange = uint64_t{1} << 31;
  static constexpr uint64_t kExactRootLimit = uint64_t{1} << 52;
  static uint64_t AbsoluteDifference(int32_t first, int32_t second) {
    const int64_t difference = static_cast<int64_t>(second) - first;
    return static_cast<uint64_t>(difference < 0 ? -difference : difference);
  }
  // The root of squares from an estimate within one of it.
  static uint64_t CorrectRoot(uint64_t root, uint64_t squares);
  // The log lines of a refused link and of a crossing whose previous node
  // leads into neither of its sides.
  static void ReportRefusedLink();
  static void ReportUnknownSide();
};
