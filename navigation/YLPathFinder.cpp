#include "navigation/YLPathFinder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "base/DebugFormat.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace {

// The middle of a border in the given map: the signed integer halving of the
// sum of its vertices' coordinates. False when a vertex is missing.
bool BorderMidpoint(const YLSectors& sectors, const YLSectorBorder& border, int32_t& x,
                    int32_t& y) {
  const YLVertex* first = sectors.GetVertex(border.A);
  const YLVertex* second = sectors.GetVertex(border.B);
  if (first == nullptr || second == nullptr) {
    return false;
  }
  x = static_cast<int32_t>((static_cast<int64_t>(first->X) + second->X) / 2);
  y = static_cast<int32_t>((static_cast<int64_t>(first->Y) + second->Y) / 2);
  return true;
}

// Whether a crossing at (x, y) reached from `from` may cost less from the
// start than the existing node: false when even the lower bound of its cost,
// the larger of the two coordinate steps (no root is shorter), reaches the
// existing cost. The bound is saturated as the costs are.
bool MayBeCheaper(const YLPathPlanNode& from, int32_t x, int32_t y,
                  const YLPathPlanNode& existing) {
  const int64_t dx = std::llabs(static_cast<int64_t>(x) - from.x);
  const int64_t dy = std::llabs(static_cast<int64_t>(y) - from.y);
  const int64_t bound =
      std::min<int64_t>(from.costFromStart + std::max(dx, dy), std::numeric_limits<int32_t>::max());
  return existing.costFromStart > bound;
}

}  // namespace

YLPathFinder::YLPathFinder() = default;

YLPathFinder::~YLPathFinder() = default;

void YLPathFinder::Attach(YLKnowledgeMap* knowledgeMap) {
  Reset();
  map = knowledgeMap;
}

void YLPathFinder::Reset() {
  for (std::unique_ptr<YLPath>& path : cache) {
    path.reset();
  }
  vehiclePath.reset();
}

void YLPathFinder::RestoreRoutes(std::unique_ptr<YLPath> (&routes)[kCacheSize],
                                 std::unique_ptr<YLPath> vehicle) {
  for (int32_t slot = 0; slot < kCacheSize; ++slot) {
    cache[slot] = std::move(routes[slot]);
  }
  vehiclePath = std::move(vehicle);
}

const YLPath* YLPathFinder::GetCachedPath(int32_t slot) const {
  return slot >= 0 && slot < kCacheSize ? cache[slot].get() : nullptr;
}

// ---- The map ----

const YLSectors* YLPathFinder::SectorMap() const {
  return map != nullptr ? map->GetSectors() : nullptr;
}

uint8_t YLPathFinder::SectorUnder(int32_t x, int32_t y) const {
  return map != nullptr ? static_cast<uint8_t>(map->GetSector(x, y)) : kNoSector;
}

YLSector* YLPathFinder::SectorWithId(uint8_t id) const {
  const YLSectors* sectors = SectorMap();
  return sectors != nullptr && id != kNoSector ? sectors->GetSector(id) : nullptr;
}

int32_t YLPathFinder::LookUpBorderIndex(const YLSectors& sectors, YLSectorBorder* border) {
  const auto isIndexOf = [&](uint32_t id) {
    return id < static_cast<uint32_t>(sectors.GetBorderCount()) &&
           sectors.GetBorder(static_cast<int32_t>(id)) == border;
  };
  // A border not yet asked for learns its index from the current map; when
  // that is this map, every later search takes the quick way.
  if (GetCurrentSectorMap() == &sectors && isIndexOf(border->GetID())) {
    return static_cast<int32_t>(border->ID);
  }
  return sectors.IndexOfBorder(border);
}

// ---- Queries and the cache ----

YLPathPlanNode* YLPathFinder::FindPath(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int32_t slot = FindCached(kCacheSize, SectorUnder(x1, y1), SectorUnder(x2, y2));
  if (slot >= 0) {
    MoveToFront(slot);
    YLPath& path = *cache[0];
    path.first->x = x1;
    path.first->y = y1;
    path.last->x = x2;
    path.last->y = y2;
    return path.GetFirst();
  }
  std::unique_ptr<YLPath> path = GuardedSearch(x1, y1, x2, y2, SearchRules{}, "exception in A*\n");
  if (path == nullptr) {
    return nullptr;
  }
  PushFront(std::move(path), kCacheSize);
  return cache[0]->GetFirst();
}

YLPathPlanNode* YLPathFinder::FindPathLimited(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                              int32_t maximumLength, bool selector) {
  const int32_t slot = FindCachedLimited(SectorUnder(x1, y1), x2, y2);
  if (slot >= 0) {
    MoveToFront(slot);
    YLPath& path = *cache[0];
    path.first->x = x1;
    path.first->y = y1;
    return path.GetFirst();
  }
  // Searched from the goal, so the special crossings and the length that
  // allows them are measured from the goal's side.
  const SearchRules rules{SearchKind::Limited, maximumLength, selector, 0, 0};
  std::unique_ptr<YLPath> path = GuardedSearch(x2, y2, x1, y1, rules, "exception in A*\n");
  if (path == nullptr) {
    return nullptr;
  }
  path->Reverse();
  PushFront(std::move(path), kLimitedCacheSize);
  return cache[0]->GetFirst();
}

YLPathPlanNode* YLPathFinder::FindVehiclePath(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  vehiclePath.reset();
  const SearchRules rules{SearchKind::Vehicle, 0, false, 0, 0};
  vehiclePath = GuardedSearch(x1, y1, x2, y2, rules, "exception in A* for vehicles\n");
  return vehiclePath != nullptr ? vehiclePath->GetFirst() : nullptr;
}

int32_t YLPathFinder::FindCached(int32_t slots, uint8_t startSector, uint8_t endSector) const {
  if (map == nullptr) {
    return -1;
  }
  for (int32_t slot = 0; slot < slots && cache[slot] != nullptr; ++slot) {
    if (cache[slot]->StartSector(*map) == startSector &&
        cache[slot]->EndSector(*map) == endSector) {
      return slot;
    }
  }
  return -1;
}

int32_t YLPathFinder::FindCachedLimited(uint8_t startSector, int32_t goalX, int32_t goalY) const {
  if (map == nullptr) {
    return -1;
  }
  for (int32_t slot = 0; slot < kLimitedCacheSize && cache[slot] != nullptr; ++slot) {
    const YLPath& path = *cache[slot];
    if (path.StartSector(*map) == startSector && path.last->x == goalX && path.last->y == goalY) {
      return slot;
    }
  }
  return -1;
}

void YLPathFinder::MoveToFront(int32_t slot) {
  std::unique_ptr<YLPath> path = std::move(cache[slot]);
  for (int32_t index = slot; index > 0; --index) {
    cache[index] = std::move(cache[index - 1]);
  }
  cache[0] = std::move(path);
}

void YLPathFinder::PushFront(std::unique_ptr<YLPath> path, int32_t slots) {
  cache[slots - 1].reset();
  MoveToFront(slots - 1);
  cache[0] = std::move(path);
}

// ---- The search ----

std::unique_ptr<YLPath> YLPathFinder::GuardedSearch(int32_t fromX, int32_t fromY, int32_t toX,
                                                    int32_t toY, const SearchRules& rules,
                                                    const char* failureMessage) {
  try {
    return Search(fromX, fromY, toX, toY, rules);
  } catch (...) {
    DebugPrint("%s", failureMessage);
    return nullptr;
  }
}

void YLPathFinder::BeginSearch() {
  poolCount = 0;
  openList.clear();
  const size_t borderCount = static_cast<size_t>(SectorMap()->GetBorderCount());
  if (borderStates.size() < borderCount) {
    borderStates.resize(borderCount, BorderState{nullptr, 0, NodeState::Open});
  }
  if (crossingStates.size() < borderCount) {
    crossingStates.resize(borderCount, CrossingState{0, -1, 0, 0, 0, 0});
  }
  ++searchStamp;
  if (searchStamp == 0) {
    // After 2^32 searches the stamps start again from a clean slate.
    for (BorderState& state : borderStates) {
      state.stamp = 0;
    }
    for (CrossingState& state : crossingStates) {
      state.stamp = 0;
    }
    searchStamp = 1;
  }
}

std::unique_ptr<YLPath> YLPathFinder::Search(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY,
                                             SearchRules rules) {
  rules.startX = fromX;
  rules.startY = fromY;
  const YLSectors* sectors = SectorMap();
  const uint8_t goalSector = SectorUnder(toX, toY);
  if (sectors == nullptr || goalSector == kNoSector) {
    return nullptr;
  }
  const uint8_t startSectorId = SectorUnder(fromX, fromY);
  if (rules.kind != SearchKind::Limited && !readMapDirectly && startSectorId != goalSector &&
      SectorWithId(startSectorId) != nullptr && LayoutReady(*sectors)) {
    std::unique_ptr<YLPath> route;
    if (SearchLayout(fromX, fromY, toX, toY, startSectorId, goalSector, rules.kind, route) !=
        LayoutAnswer::Unsupported) {
      return route;
    }
  }
  return SearchWithNodes(*sectors, fromX, fromY, toX, toY, startSectorId, goalSector, rules);
}

std::unique_ptr<YLPath> YLPathFinder::SearchWithNodes(const YLSectors& sectorMap, int32_t fromX,
                                                      int32_t fromY, int32_t toX, int32_t toY,
                                                      uint8_t startSectorId, uint8_t goalSector,
                                                      const SearchRules& rules) {
  const YLSectors* sectors = &sectorMap;
  BeginSearch();
  YLPathPlanNode* start = MakeNode(nullptr, fromX, fromY);
  if (start == nullptr) {
    return nullptr;
  }
  start->limitedCrossing = rules.kind == SearchKind::Limited ? 1 : 0;
  const YLSector* startSector = SectorWithId(startSectorId);
  // Outside every sector, or already in the goal's: the straight line.
  if (startSector == nullptr || startSectorId == goalSector) {
    return FinishRoute(start, toX, toY);
  }
  for (int32_t index = 0; index < startSector->GetBorderCount(); ++index) {
    if (!OfferCrossing(*sectors, start, startSector->GetBorder(index), startSectorId, toX, toY,
                       rules)) {
      return nullptr;
    }
  }
  // The flag a border needs to be crossed; the limited search decides per
  // crossing.
  const uint8_t requiredFlag = rules.kind == SearchKind::Foot      ? BorderPassable
                               : rules.kind == SearchKind::Vehicle ? BorderVehicles
                                                                   : 0;
  while (!openList.empty()) {
    const uint32_t slot = openList.back().slot;
    openList.pop_back();
    borderStates[slot].state = NodeState::Closed;
    YLPathPlanNode* current = borderStates[slot].node;
    if (current->border->Touches(goalSector)) {
      return FinishRoute(current, toX, toY);
    }
    const YLSector* into = current->NextSector();
    const YLSector* cameFrom = current->PreviousSector();
    if (into == nullptr || into->Borders == nullptr) {
      continue;
    }
    for (tNode* entry = into->Borders->first; entry != nullptr; entry = entry->next) {
      YLSectorBorder* border = YLSector::BorderOfNode(entry);
      if (border == nullptr) {
        continue;
      }
      // Its own border, a border of the sector it came from, and one the
      // rules do not let it cross are passed over; the tests are combined
      // without branches, since their outcome follows no pattern.
      const bool passedOver =
          (border == current->border) |
          ((cameFrom != nullptr) & ((border->Left == cameFrom) | (border->Right == cameFrom))) |
          ((requiredFlag != 0) & ((border->Left == nullptr) | (border->Right == nullptr) |
                                  ((border->Passable & requiredFlag) == 0)));
      if (passedOver) {
        continue;
      }
      const int32_t index = BorderIndex(*sectors, border);
      if (index >= 0 && !OfferIndexedCrossing(*sectors, current, border, static_cast<size_t>(index),
                                              -1, toX, toY, rules)) {
        return nullptr;
      }
    }
  }
  return nullptr;
}

// ---- The layout copy and the search over it ----

bool YLPathFinder::LayoutReady(const YLSectors& sectors) {
  if (layoutMap != &sectors || layoutEdits != GetSectorLayoutEdits()) {
    layoutUsable = BuildLayout(sectors);
  }
  return layoutUsable;
}

bool YLPathFinder::BuildLayout(const YLSectors& sectors) {
  // Taken first: an edit made while the copy is built leaves it stale.
  layoutMap = &sectors;
  layoutEdits = GetSectorLayoutEdits();
  layoutBorders.clear();
  layoutEntries.clear();
  layoutFirst.clear();

  // The sectors by address, to give each side its index in the map; an
  // address held twice makes the copy unusable (the order by address only
  // serves the look-up, never a decision).
  std::vector<std::pair<const YLSector*, int32_t>> sectorIndexes;
  for (int32_t index = 0; index < sectors.GetSectorCount(); ++index) {
    if (const YLSector* sector = sectors.GetSector(index); sector != nullptr) {
      sectorIndexes.emplace_back(sector, index);
    }
  }
  std::sort(sectorIndexes.begin(), sectorIndexes.end());
  for (size_t index = 1; index < sectorIndexes.size(); ++index) {
    if (sectorIndexes[index].first == sectorIndexes[index - 1].first) {
      return false;
    }
  }
  // The index of a side; -1 for none, -2 for a sector the map does not hold.
  const auto sideIndex = [&](const YLSector* side) -> int32_t {
    if (side == nullptr) {
      return -1;
    }
    const auto found =
        std::lower_bound(sectorIndexes.begin(), sectorIndexes.end(), side,
                         [](const std::pair<const YLSector*, int32_t>& entry,
                            const YLSector* wanted) { return entry.first < wanted; });
    return found != sectorIndexes.end() && found->first == side ? found->second : -2;
  };

  std::vector<const YLSectorBorder*> borderAddresses;
  layoutBorders.reserve(static_cast<size_t>(sectors.GetBorderCount()));
  for (int32_t index = 0; index < sectors.GetBorderCount(); ++index) {
    YLSectorBorder* border = sectors.GetBorder(index);
    LayoutBorder item{border, 0, 0, -1, -1, -1, -1};
    if (border != nullptr) {
      borderAddresses.push_back(border);
      BorderMidpoint(sectors, *border, item.midX, item.midY);
      item.left = sideIndex(border->Left);
      item.right = sideIndex(border->Right);
      if (item.left == -2 || item.right == -2) {
        return false;
      }
      item.leftId = border->Left != nullptr ? border->Left->ID.Get() : -1;
      item.rightId = border->Right != nullptr ? border->Right->ID.Get() : -1;
    }
    layoutBorders.push_back(item);
  }
  std::sort(borderAddresses.begin(), borderAddresses.end());
  if (std::adjacent_find(borderAddresses.begin(), borderAddresses.end()) != borderAddresses.end()) {
    return false;
  }

  layoutFirst.reserve(static_cast<size_t>(sectors.GetSectorCount()) + 1);
  for (int32_t index = 0; index < sectors.GetSectorCount(); ++index) {
    layoutFirst.push_back(static_cast<uint32_t>(layoutEntries.size()));
    const YLSector* sector = sectors.GetSector(index);
    const tDataList* list = sector != nullptr ? sector->Borders.Get() : nullptr;
    for (const tNode* node = list != nullptr ? list->first : nullptr; node != nullptr;
         node = node->next) {
      YLSectorBorder* border = YLSector::BorderOfNode(node);
      // Both searches pass over an empty node and a border outside the map.
      const int32_t borderIndex = border != nullptr ? BorderIndex(sectors, border) : -1;
      if (borderIndex < 0) {
        continue;
      }
      // A crossing from this sector enters from its Left when that is this
      // sector, else from its Right; a border that touches neither is not
      // modelled.
      const bool fromLeft = border->Left == sector;
      if (!fromLeft && border->Right != sector) {
        return false;
      }
      const LayoutBorder& item = layoutBorders[static_cast<size_t>(borderIndex)];
      int32_t midX = 0;
      int32_t midY = 0;
      const bool hasMidpoint = BorderMidpoint(sectors, *border, midX, midY);
      layoutEntries.push_back(LayoutEntry{
          border, static_cast<uint32_t>(borderIndex), item.left, item.right, midX, midY,
          static_cast<uint8_t>(fromLeft ? 1 : 0), static_cast<uint8_t>(hasMidpoint ? 1 : 0)});
    }
  }
  layoutFirst.push_back(static_cast<uint32_t>(layoutEntries.size()));
  return true;
}

YLPathFinder::LayoutAnswer YLPathFinder::SearchLayout(int32_t fromX, int32_t fromY, int32_t toX,
                                                      int32_t toY, uint8_t startSectorId,
                                                      uint8_t goalSector, SearchKind kind,
                                                      std::unique_ptr<YLPath>& route) {
  BeginSearch();
  const uint32_t stamp = searchStamp;
  const uint8_t requiredFlag = kind == SearchKind::Foot ? BorderPassable : BorderVehicles;
  CrossingState* states = crossingStates.data();
  const LayoutEntry* entries = layoutEntries.data();
  const auto saturated = [](int64_t sum) {
    return static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
  };

  // The crossings out of the start sector, each entered from it by its id.
  for (uint32_t at = layoutFirst[startSectorId]; at < layoutFirst[startSectorId + 1u]; ++at) {
    const LayoutEntry& entry = entries[at];
    if (entry.left < 0 || entry.right < 0 || (entry.border->Passable & requiredFlag) == 0 ||
        entry.hasMidpoint == 0) {
      continue;
    }
    const LayoutBorder& border = layoutBorders[entry.index];
    uint8_t entersFromLeft = 0;
    if (border.leftId == startSectorId) {
      entersFromLeft = 1;
    } else if (border.rightId != startSectorId) {
      return LayoutAnswer::Unsupported;  // the side is unknown: logged there
    }
    CrossingState& state = states[entry.index];
    if (state.stamp == stamp) {
      return LayoutAnswer::Unsupported;  // listed twice: logged there
    }
    const int32_t cost = YLPathPlanNode::Distance(fromX, fromY, entry.midX, entry.midY);
    const int32_t estimate = YLPathPlanNode::Distance(entry.midX, entry.midY, toX, toY);
    state = CrossingState{stamp, -1, cost, estimate, 0, entersFromLeft};
    InsertOpen(static_cast<int64_t>(cost) + estimate, entry.index);
  }

  while (!openList.empty()) {
    const uint32_t slot = openList.back().slot;
    openList.pop_back();
    CrossingState& current = states[slot];
    current.closed = 1;
    const LayoutBorder& border = layoutBorders[slot];
    if (border.leftId == goalSector || border.rightId == goalSector) {
      return FinishLayoutRoute(slot, fromX, fromY, toX, toY, route);
    }
    const int32_t into = current.entersFromLeft != 0 ? border.right : border.left;
    const int32_t cameFrom = current.entersFromLeft != 0 ? border.left : border.right;
    if (into < 0) {
      continue;
    }
    const int32_t fromPointX = border.midX;
    const int32_t fromPointY = border.midY;
    const int32_t fromCost = current.costFromStart;
    const uint32_t end = layoutFirst[static_cast<size_t>(into) + 1];
    for (uint32_t at = layoutFirst[static_cast<size_t>(into)]; at < end; ++at) {
      const LayoutEntry& entry = entries[at];
      // Its own border, a border of the sector it came from, and one the
      // rules do not let it cross are passed over; the tests are combined
      // without branches, since their outcome follows no pattern.
      const bool passedOver =
          (entry.index == slot) |
          ((cameFrom >= 0) & ((entry.left == cameFrom) | (entry.right == cameFrom))) |
          (entry.left < 0) | (entry.right < 0) | ((entry.border->Passable & requiredFlag) == 0);
      if (passedOver) {
        continue;
      }
      CrossingState& state = states[entry.index];
      if (state.stamp == stamp) {
        // Met before: it takes the new way when that costs less from the
        // start (see OfferSeenBorder).
        const int64_t dx = std::llabs(static_cast<int64_t>(entry.midX) - fromPointX);
        const int64_t dy = std::llabs(static_cast<int64_t>(entry.midY) - fromPointY);
        if (state.costFromStart <= saturated(fromCost + std::max(dx, dy))) {
          continue;
        }
        const int32_t cost = saturated(static_cast<int64_t>(YLPathPlanNode::Distance(
                                           fromPointX, fromPointY, entry.midX, entry.midY)) +
                                       fromCost);
        if (cost < state.costFromStart) {
          if (current.previous == static_cast<int32_t>(entry.index)) {
            return LayoutAnswer::Unsupported;  // a refused link: logged there
          }
          state.previous = static_cast<int32_t>(slot);
          state.entersFromLeft = entry.entersFromLeft;
          if (state.closed != 0) {
            state.costFromStart = cost;
          }
        }
        continue;
      }
      if (entry.hasMidpoint == 0) {
        continue;
      }
      const int32_t cost = saturated(static_cast<int64_t>(YLPathPlanNode::Distance(
                                         fromPointX, fromPointY, entry.midX, entry.midY)) +
                                     fromCost);
      const int32_t estimate = YLPathPlanNode::Distance(entry.midX, entry.midY, toX, toY);
      state =
          CrossingState{stamp, static_cast<int32_t>(slot), cost, estimate, 0, entry.entersFromLeft};
      InsertOpen(static_cast<int64_t>(cost) + estimate, entry.index);
    }
  }
  return LayoutAnswer::NoRoute;
}

YLPathFinder::LayoutAnswer YLPathFinder::FinishLayoutRoute(uint32_t slot, int32_t fromX,
                                                           int32_t fromY, int32_t toX, int32_t toY,
                                                           std::unique_ptr<YLPath>& route) {
  // The way back; longer than the map has borders only when it runs in a
  // circle.
  routeSlots.clear();
  for (int32_t at = static_cast<int32_t>(slot); at >= 0;
       at = crossingStates[static_cast<size_t>(at)].previous) {
    if (routeSlots.size() >= layoutBorders.size()) {
      return LayoutAnswer::Unsupported;
    }
    routeSlots.push_back(static_cast<uint32_t>(at));
  }
  YLPathPlanNode* node = MakeNode(nullptr, fromX, fromY);
  for (auto at = routeSlots.rbegin(); node != nullptr && at != routeSlots.rend(); ++at) {
    const LayoutBorder& border = layoutBorders[*at];
    const CrossingState& state = crossingStates[*at];
    YLPathPlanNode* crossing = MakeNode(border.border, border.midX, border.midY);
    if (crossing != nullptr) {
      crossing->previous = node;
      crossing->costFromStart = state.costFromStart;
      crossing->estimate = state.estimate;
      crossing->entersFromLeft = state.entersFromLeft;
    }
    node = crossing;
  }
  route = node != nullptr ? FinishRoute(node, toX, toY) : nullptr;
  return route != nullptr ? LayoutAnswer::Route : LayoutAnswer::NoRoute;
}

inline bool YLPathFinder::OfferCrossing(const YLSectors& sectors, YLPathPlanNode* from,
                                        YLSectorBorder* border, int32_t enteredFrom, int32_t toX,
                                        int32_t toY, const SearchRules& rules) {
  if (border == nullptr) {
    return true;
  }
  if (rules.kind == SearchKind::Foot && !border->IsPassable()) {
    return true;
  }
  if (rules.kind == SearchKind::Vehicle && !border->IsVehiclePassable()) {
    return true;
  }
  const int32_t index = BorderIndex(sectors, border);
  if (index < 0) {
    return true;
  }
  return OfferIndexedCrossing(sectors, from, border, static_cast<size_t>(index), enteredFrom, toX,
                              toY, rules);
}

inline bool YLPathFinder::OfferIndexedCrossing(const YLSectors& sectors, YLPathPlanNode* from,
                                               YLSectorBorder* border, size_t slot,
                                               int32_t enteredFrom, int32_t toX, int32_t toY,
                                               const SearchRules& rules) {
  if (rules.kind != SearchKind::Limited && enteredFrom < 0 &&
      borderStates[slot].stamp == searchStamp && EntersFromSide(*from, *border)) {
    OfferSeenBorder(*from, slot);
    return true;
  }
  return OfferNewCrossing(sectors, from, border, slot, enteredFrom, toX, toY, rules);
}

bool YLPathFinder::OfferNewCrossing(const YLSectors& sectors, YLPathPlanNode* from,
                                    YLSectorBorder* border, size_t slot, int32_t enteredFrom,
                                    int32_t toX, int32_t toY, const SearchRules& rules) {
  int32_t midX = 0;
  int32_t midY = 0;
  if (!BorderMidpoint(sectors, *border, midX, midY)) {
    return true;
  }
  YLPathPlanNode* node = MakeNode(border, midX, midY);
  if (node == nullptr) {
    return false;
  }
  const bool connected = enteredFrom >= 0 ? node->ConnectPreviousInSector(from, enteredFrom)
                                          : node->ConnectPrevious(from);
  // The limited search's rule reads the cost from the start; the estimate
  // is only wanted for a node that is kept.
  node->costFromStart = node->GetCostFromStart();
  if (!connected || !MayCross(*node, *from, rules)) {
    ReleaseLastNode();
    return true;
  }
  BorderState& state = borderStates[slot];
  if (state.stamp != searchStamp) {
    // Measured from the border's middle, where the node was made: the
    // limited search's rule may have moved its point since.
    node->estimate = YLPathPlanNode::Distance(midX, midY, toX, toY);
    state = BorderState{node, searchStamp, NodeState::Open};
    InsertOpen(node->GetTotalCost(), slot);
    return true;
  }
  // The border has a node already: it takes the new way when that is
  // cheaper. An open node keeps its place in the open list and its costs; a
  // closed one has its costs refreshed. Both nodes stand for the same border
  // and so carry the same estimate (from its middle to the goal): comparing
  // the costs from the start compares their f.
  YLPathPlanNode& existing = *state.node;
  if (node->costFromStart < existing.costFromStart && existing.ConnectPrevious(node->previous) &&
      state.state == NodeState::Closed) {
    existing.RefreshCosts();
  }
  ReleaseLastNode();
  return true;
}

// A border that has a node in this search, offered again on foot or by
// vehicle, from a node whose next sector the border touches. What a fresh
// node would do, without making one: the rules let every such crossing
// pass, the estimate is the existing node's, so the existing node takes the
// new way when it costs less from the start. On foot and by vehicle a node
// stays at the border's middle, where it was made, so its point is the one a
// fresh node would take.
inline void YLPathFinder::OfferSeenBorder(YLPathPlanNode& from, size_t slot) {
  BorderState& state = borderStates[slot];
  YLPathPlanNode& existing = *state.node;
  const int32_t midX = existing.x;
  const int32_t midY = existing.y;
  if (!MayBeCheaper(from, midX, midY, existing)) {
    return;  // not even the shortest conceivable step makes it cheaper
  }
  const int64_t sum = static_cast<int64_t>(YLPathPlanNode::Distance(from.x, from.y, midX, midY)) +
                      from.costFromStart;
  const int32_t cost =
      static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
  if (cost < existing.costFromStart && existing.ConnectPrevious(&from) &&
      state.state == NodeState::Closed) {
    existing.RefreshCosts();
  }
}

bool YLPathFinder::EntersFromSide(const YLPathPlanNode& from, const YLSectorBorder& border) {
  const YLSector* side = from.NextSector();
  // Either side may match as often as the other: no branch to guess.
  return (side != nullptr) & ((border.Left == side) | (border.Right == side));
}

bool YLPathFinder::MayCross(YLPathPlanNode& node, const YLPathPlanNode& from,
                            const SearchRules& rules) const {
  if (rules.kind != SearchKind::Limited) {
    return true;  // the border's bit was tested before the node was made
  }
  node.limitedCrossing = 0;
  if (from.limitedCrossing != 0 && node.StraightensTo(*SectorMap(), rules.startX, rules.startY) &&
      node.costFromStart <= rules.maximumLength && node.border->IsLimitedPassable(rules.selector)) {
    node.limitedCrossing = 1;
    return true;
  }
  return node.border->IsPassable();
}

void YLPathFinder::InsertOpen(int64_t totalCost, size_t slot) {
  // A binary search over descending f, probing the middle of the whole list
  // and then of the half left: the new node goes directly behind the first
  // node of equal f that a probe meets, so a newer node is usually taken
  // first; with no equal f, behind every larger f and before every smaller.
  const int32_t count = static_cast<int32_t>(openList.size());
  const OpenEntry* entries = openList.data();
  int32_t low = 0;
  int32_t high = count - 1;
  while (low <= high) {
    const int32_t middle = (low + high) / 2;
    const int64_t probed = entries[middle].totalCost;
    if (probed == totalCost) {
      low = middle + 1;
      break;
    }
    if (probed > totalCost) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  openList.emplace_back();
  OpenEntry* moved = openList.data() + low;
  std::memmove(moved + 1, moved, static_cast<size_t>(count - low) * sizeof(OpenEntry));
  *moved = OpenEntry{totalCost, static_cast<uint32_t>(slot)};
}

std::unique_ptr<YLPath> YLPathFinder::FinishRoute(YLPathPlanNode* reachedFrom, int32_t toX,
                                                  int32_t toY) {
  YLPathPlanNode* goal = MakeNode(nullptr, toX, toY);
  if (goal == nullptr) {
    return nullptr;
  }
  goal->ConnectPrevious(reachedFrom);
  goal->SetEstimate(toX, toY);
  auto path = std::make_unique<YLPath>();
  if (!path->SetFrom(goal)) {
    return nullptr;
  }
  return path;
}

// ---- The node pool ----

inline YLPathPlanNode* YLPathFinder::MakeNode(YLSectorBorder* border, int32_t x, int32_t y) {
  if (poolCount == GetPoolCapacity() && !BufferAllocate()) {
    return nullptr;
  }
  YLPathPlanNode& node = PoolNode(poolCount);
  ++poolCount;
  node.Reinitialise(border, x, y);
  return &node;
}

void YLPathFinder::ReleaseLastNode() {
  if (poolCount > 0) {
    --poolCount;
  }
}

bool YLPathFinder::BufferAllocate() {
  const int32_t size = GetPoolCapacity() + kPoolGrowth;
  try {
    auto block = std::make_unique<YLPathPlanNode[]>(kPoolGrowth);
    poolNodes.reserve(poolNodes.size() + kPoolGrowth);
    poolBlocks.reserve(poolBlocks.size() + 1);
    for (int32_t index = 0; index < kPoolGrowth; ++index) {
      poolNodes.push_back(&block[index]);
    }
    poolBlocks.push_back(std::move(block));
  } catch (const std::bad_alloc&) {
    DebugPrint("YLPathFinder::BufferAllocate null returned by new (size=%d)\n", size);
    return false;
  }
  return true;
}
