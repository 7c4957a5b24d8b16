#include "navigation/YLPathPlanNode.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "base/DebugFormat.h"
#include "navigation/YLSectors.h"

namespace {

constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();
// Crossing points move only on borders at least this long (squared: 4 units).
constexpr int64_t kShortestMovableBorderSquared = 16;
// How far inside its ends a straightened crossing stays, in map units.
constexpr int32_t kCrossingMargin = 2;
// Where a straight line that misses a border is put back, in map units.
constexpr int32_t kMissedBorderInset = 1;
// Coordinates beyond this are refused by the intersection, so its 64-bit
// cross products cannot overflow; levels are a few thousand units wide.
constexpr int64_t kLargestIntersectionCoordinate = int64_t{1} << 30;

int32_t SaturatedSum(int64_t first, int64_t second) {
  const int64_t sum = first + second;
  if (sum > kLargest) {
    return kLargest;
  }
  if (sum < std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(sum);
}

// 0.5 added, then truncated towards zero; the range of 32 bits kept.
int32_t RoundCoordinate(double value) {
  const double shifted = value + 0.5;
  if (!(shifted < 2147483647.0)) {
    return kLargest;
  }
  if (!(shifted > -2147483648.0)) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(shifted);
}

// A border's two ends in the given map.
struct Segment {
  int64_t ax, ay, bx, by;
  int64_t Dx() const { return bx - ax; }
  int64_t Dy() const { return by - ay; }
  bool XDominant() const { return std::llabs(Dx()) >= std::llabs(Dy()); }
};

bool GetSegment(const YLSectors& sectors, const YLSectorBorder* border, Segment& segment) {
  if (border == nullptr) {
    return false;
  }
  const YLVertex* first = sectors.GetVertex(border->A);
  const YLVertex* second = sectors.GetVertex(border->B);
  if (first == nullptr || second == nullptr) {
    return false;
  }
  segment = {first->X, first->Y, second->X, second->Y};
  return true;
}

bool InIntersectionRange(int64_t value) {
  return value > -kLargestIntersectionCoordinate && value < kLargestIntersectionCoordinate;
}

// Where the line through (x1, y1) and (x2, y2) meets the border's line,
// rounded. False for parallel lines, a line of one point, or a degenerate
// border.
bool IntersectWithBorder(const Segment& border, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                         int32_t& x, int32_t& y) {
  for (int64_t value : {x1, y1, x2, y2, border.ax, border.ay, border.bx, border.by}) {
    if (!InIntersectionRange(value)) {
      return false;
    }
  }
  const int64_t lineDx = x2 - x1;
  const int64_t lineDy = y2 - y1;
  const int64_t denominator = border.Dx() * lineDy - border.Dy() * lineDx;
  if (denominator == 0) {
    return false;
  }
  // The meeting point as a fraction of the border from its end A.
  const int64_t numerator = (x1 - border.ax) * lineDy - (y1 - border.ay) * lineDx;
  const double along = static_cast<double>(numerator) / static_cast<double>(denominator);
  x = RoundCoordinate(static_cast<double>(border.ax) + along * static_cast<double>(border.Dx()));
  y = RoundCoordinate(static_cast<double>(border.ay) + along * static_cast<double>(border.Dy()));
  return true;
}

// Puts the point on the border at the given coordinate of its dominant axis,
// the other coordinate following the border's slope.
void PlaceAlongBorder(const Segment& border, int64_t dominant, int32_t& x, int32_t& y) {
  if (border.XDominant()) {
    x = static_cast<int32_t>(dominant);
    y = RoundCoordinate(static_cast<double>(border.ay) + static_cast<double>(dominant - border.ax) *
                                                             static_cast<double>(border.Dy()) /
                                                             static_cast<double>(border.Dx()));
  } else {
    y = static_cast<int32_t>(dominant);
    x = RoundCoordinate(static_cast<double>(border.ax) + static_cast<double>(dominant - border.ay) *
                                                             static_cast<double>(border.Dx()) /
                                                             static_cast<double>(border.Dy()));
  }
}

// The border's extent along its dominant axis and the point's coordinate on it.
struct AxisSpan {
  int64_t low, high, value;
};

AxisSpan SpanOf(const Segment& border, int32_t x, int32_t y) {
  if (border.XDominant()) {
    return {std::min(border.ax, border.bx), std::max(border.ax, border.bx), x};
  }
  return {std::min(border.ay, border.by), std::max(border.ay, border.by), y};
}

// Keeps a crossing at least kCrossingMargin inside both ends.
void KeepInsideBorder(const Segment& border, int32_t& x, int32_t& y) {
  const AxisSpan span = SpanOf(border, x, y);
  int64_t value = span.value;
  if (value < span.low + kCrossingMargin) {
    value = span.low + kCrossingMargin;
  }
  if (value > span.high - kCrossingMargin) {
    value = span.high - kCrossingMargin;
  }
  if (value != span.value) {
    PlaceAlongBorder(border, value, x, y);
  }
}

// A point beyond either end is put kMissedBorderInset inside it; false then.
bool WithinBorder(const Segment& border, int32_t& x, int32_t& y) {
  const AxisSpan span = SpanOf(border, x, y);
  if (span.value < span.low) {
    PlaceAlongBorder(border, span.low + kMissedBorderInset, x, y);
    return false;
  }
  if (span.value > span.high) {
    PlaceAlongBorder(border, span.high - kMissedBorderInset, x, y);
    return false;
  }
  return true;
}

}  // namespace

YLPathPlanNode::YLPathPlanNode(YLSectorBorder* crossedBorder, int32_t pointX, int32_t pointY)
    : border(crossedBorder), x(pointX), y(pointY) {}

YLPathPlanNode::~YLPathPlanNode() {
  std::unique_ptr<YLPathPlanNode> rest = std::move(next);
  while (rest != nullptr) {
    rest = std::move(rest->next);
  }
}

uint64_t YLPathPlanNode::CorrectRoot(uint64_t root, uint64_t squares) {
  while (root * root > squares) {
    --root;
  }
  while ((root + 1) * (root + 1) <= squares) {
    ++root;
  }
  return root;
}

void YLPathPlanNode::ReportRefusedLink() { DebugPrint("\n**** error ****\n"); }

void YLPathPlanNode::ReportUnknownSide() {
  DebugPrint("YLPathPlanNode::ConnectPrevious error in algoritm!!!\n");
}

bool YLPathPlanNode::ConnectPreviousInSector(YLPathPlanNode* previousNode, int32_t sectorId) {
  if (previousNode != nullptr && previousNode->previous == this) {
    ReportRefusedLink();
    return false;
  }
  previous = previousNode;
  if (border == nullptr) {
    return true;
  }
  if (border->Left != nullptr && border->Left->ID == sectorId) {
    entersFromLeft = 1;
  } else if (border->Right != nullptr && border->Right->ID == sectorId) {
    entersFromLeft = 0;
  } else {
    ReportUnknownSide();
  }
  return true;
}

void YLPathPlanNode::SetEstimate(int32_t goalX, int32_t goalY) {
  costFromStart = GetCostFromStart();
  estimate = Distance(x, y, goalX, goalY);
}

void YLPathPlanNode::RefreshCosts() {
  for (YLPathPlanNode* node = this; node != nullptr; node = node->next.get()) {
    node->costFromStart = node->GetCostFromStart();
  }
}

int32_t YLPathPlanNode::GetLength() const {
  int64_t length = 0;
  for (const YLPathPlanNode* node = this; node->next != nullptr; node = node->next.get()) {
    length = SaturatedSum(length, Distance(node->x, node->y, node->next->x, node->next->y));
  }
  return static_cast<int32_t>(length);
}

int32_t YLPathPlanNode::GetNodeCount() const {
  int32_t count = 0;
  for (const YLPathPlanNode* node = this; node != nullptr; node = node->next.get()) {
    ++count;
  }
  return count;
}

void YLPathPlanNode::GetCrossingPoint(const YLSectors& sectors) {
  if (previous == nullptr || next == nullptr) {
    return;
  }
  GetCrossingPointTowards(sectors, previous->x, previous->y, next->x, next->y);
}

void YLPathPlanNode::GetCrossingPointTowards(const YLSectors& sectors, int32_t x1, int32_t y1,
                                             int32_t x2, int32_t y2) {
  Segment segment{};
  if (!GetSegment(sectors, border, segment)) {
    return;
  }
  if (segment.Dx() * segment.Dx() + segment.Dy() * segment.Dy() < kShortestMovableBorderSquared) {
    return;
  }
  int32_t crossingX = 0;
  int32_t crossingY = 0;
  if (!IntersectWithBorder(segment, x1, y1, x2, y2, crossingX, crossingY)) {
    return;
  }
  KeepInsideBorder(segment, crossingX, crossingY);
  x = crossingX;
  y = crossingY;
}

// Used by the limited search with (x, y) its start: a chain whose points can
// lie on one straight line to (x, y) may cut across special borders there.
// During a search no node has a next one, so every node of the chain counts
// as the last and lines up the nodes before it on its own line.
bool YLPathPlanNode::StraightensTo(const YLSectors& sectors, int32_t targetX, int32_t targetY) {
  if (previous == nullptr || previous->previous == nullptr) {
    return true;
  }
  if (next == nullptr) {
    for (YLPathPlanNode* node = previous; node->previous != nullptr; node = node->previous) {
      node->GetCrossingPointTowards(sectors, x, y, targetX, targetY);
    }
  }
  if (!previous->StraightensTo(sectors, targetX, targetY)) {
    return false;
  }
  Segment segment{};
  if (!GetSegment(sectors, border, segment)) {
    return false;
  }
  int32_t crossingX = 0;
  int32_t crossingY = 0;
  if (!IntersectWithBorder(segment, previous->x, previous->y, targetX, targetY, crossingX,
                           crossingY)) {
    return false;
  }
  const bool within = WithinBorder(segment, crossingX, crossingY);
  x = crossingX;
  y = crossingY;
  return within;
}
