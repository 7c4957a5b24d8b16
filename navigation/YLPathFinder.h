#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "navigation/YLPath.h"
#include "navigation/YLPathPlanNode.h"

class YLKnowledgeMap;
class YLSector;
class YLSectorBorder;
class YLSectors;

// Plans routes through the sector map of a knowledge map with an A* search
// whose nodes are border crossings: from the sector under the start, across
// crossable borders, to the sector under the goal. Three searches: on foot,
// for vehicles, and a limited one that may cut across special borders near
// the goal. Recent routes are cached.
//
// Every route it answers is the first node of a chain that the finder owns
// (its cache, or its last vehicle path). The next query may rewrite or
// delete that chain: a caller that keeps a route copies it.
//
// The search is deterministic: its open list is a sorted array probed by a
// binary search in a fixed order (that of the collection engine's search),
// with fixed tie rules; nothing depends on addresses or on the clock.
class YLPathFinder {
 public:
  static constexpr int32_t kCacheSize = 10;
  // Limited routes share the first slots of the cache.
  static constexpr int32_t kLimitedCacheSize = 3;
  // The node pool grows by this many nodes.
  static constexpr int32_t kPoolGrowth = 10;

  YLPathFinder();
  YLPathFinder(const YLPathFinder&) = delete;
  YLPathFinder& operator=(const YLPathFinder&) = delete;
  virtual ~YLPathFinder();

  // Forgets every route (Reset), then searches in that map.
  void Attach(YLKnowledgeMap* knowledgeMap);
  // Deletes every cached route and the last vehicle path.
  void Reset();

  // The route on foot from (x1, y1) to (x2, y2); null when there is none.
  // A start outside every sector gives the straight line; a goal outside
  // every sector gives none.
  YLPathPlanNode* FindPath(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // The route on foot that may, near the goal, cut straight across borders
  // that have the special bit of the selector (bit 2 when true, bit 3 when
  // false), as long as the route is no longer than maximumLength from the
  // goal there. Searched from the goal backwards, so the ends swap roles:
  // a goal outside every sector gives the straight line, a start outside
  // every sector gives none.
  YLPathPlanNode* FindPathLimited(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                  int32_t maximumLength, bool selector);
  // The route for vehicles, over borders with the vehicle bit; not cached,
  // it replaces the last vehicle path.
  YLPathPlanNode* FindVehiclePath(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

  // The cached route in a slot (0 the most recent); null when empty.
  const YLPath* GetCachedPath(int32_t slot) const;
  // The last vehicle path; null when none.
  const YLPath* GetVehiclePath() const { return vehiclePath.get(); }
  // Puts routes kept elsewhere (a saved game) back in place of the cache and
  // the vehicle path; the routes before are deleted.
  void RestoreRoutes(std::unique_ptr<YLPath> (&routes)[kCacheSize],
                     std::unique_ptr<YLPath> vehicle);
  // The nodes the pool holds (it grows by kPoolGrowth and never shrinks).
  int32_t GetPoolCapacity() const { return static_cast<int32_t>(poolBlocks.size()) * kPoolGrowth; }
  // For tests: searches on foot and by vehicle read the map's objects
  // directly, as the limited search always does, instead of the finder's
  // copy of the map's layout. The routes are the same either way.
  void ReadMapDirectly(bool on) { readMapDirectly = on; }

 private:
  enum class SearchKind : uint8_t { Foot, Vehicle, Limited };
  struct SearchRules {
    SearchKind kind = SearchKind::Foot;
    int32_t maximumLength = 0;
    bool selector = false;
    // The search's own start, which the limited search's straight lines
    // run to.
    int32_t startX = 0;
    int32_t startY = 0;
  };
  // Where a border's node of the current search stands.
  enum class NodeState : uint8_t { Open, Closed };

  // The sector map of the attached knowledge map; null when none.
  const YLSectors* SectorMap() const;
  // The sector id under a position; 255 when none.
  uint8_t SectorUnder(int32_t x, int32_t y) const;
  YLSector* SectorWithId(uint8_t id) const;

  // ---- Cache ----
  // The index of the first cached route among the first `slots` that
  // matches; -1 when none.
  int32_t FindCached(int32_t slots, uint8_t startSector, uint8_t endSector) const;
  int32_t FindCachedLimited(uint8_t startSector, int32_t goalX, int32_t goalY) const;
  // Moves the route at slot to the front, the ones ahead of it one back.
  void MoveToFront(int32_t slot);
  // Puts a route at the front of the first `slots` entries; the route that
  // leaves the last of them is deleted.
  void PushFront(std::unique_ptr<YLPath> path, int32_t slots);

  // ---- Search ----
  // The A* search from (fromX, fromY) to (toX, toY) under the rules, inside
  // the exception guard; null when there is no route.
  std::unique_ptr<YLPath> GuardedSearch(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY,
                                        const SearchRules& rules, const char* failureMessage);
  std::unique_ptr<YLPath> Search(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY,
                                 SearchRules rules);
  // The search over the plan nodes, which every kind of search can run.
  std::unique_ptr<YLPath> SearchWithNodes(const YLSectors& sectors, int32_t fromX, int32_t fromY,
                                          int32_t toX, int32_t toY, uint8_t startSectorId,
                                          uint8_t goalSector, const SearchRules& rules);
  // Makes the route that ends at the goal, reached from the given node.
  std::unique_ptr<YLPath> FinishRoute(YLPathPlanNode* reachedFrom, int32_t toX, int32_t toY);
  // Offers the crossing of border from the node `from` (entered from sector
  // id enteredFrom for the start node, else -1) to the search.
  bool OfferCrossing(const YLSectors& sectors, YLPathPlanNode* from, YLSectorBorder* border,
                     int32_t enteredFrom, int32_t toX, int32_t toY, const SearchRules& rules);
  // The part of OfferCrossing that follows the border's index.
  bool OfferIndexedCrossing(const YLSectors& sectors, YLPathPlanNode* from, YLSectorBorder* border,
                            size_t slot, int32_t enteredFrom, int32_t toX, int32_t toY,
                            const SearchRules& rules);
  // The part of OfferCrossing that makes a node for the border.
  bool OfferNewCrossing(const YLSectors& sectors, YLPathPlanNode* from, YLSectorBorder* border,
                        size_t slot, int32_t enteredFrom, int32_t toX, int32_t toY,
                        const SearchRules& rules);
  // Whether the new node may cross its border under the rules; sets its
  // mark for the limited search.
  bool MayCross(YLPathPlanNode& node, const YLPathPlanNode& from, const SearchRules& rules) const;
  void InsertOpen(int64_t totalCost, size_t slot);
  void OfferSeenBorder(YLPathPlanNode& from, size_t slot);
  // Whether the border touches the sector the node leads into.
  static bool EntersFromSide(const YLPathPlanNode& from, const YLSectorBorder& border);
  // The index of a border in the sector map; -1 when it is not there. The
  // index the border keeps is taken when the map confirms it.
  static int32_t BorderIndex(const YLSectors& sectors, YLSectorBorder* border) {
    const uint32_t id = border->ID;
    if (id < static_cast<uint32_t>(sectors.GetBorderCount()) &&
        sectors.GetBorder(static_cast<int32_t>(id)) == border) {
      return static_cast<int32_t>(id);
    }
    return LookUpBorderIndex(sectors, border);
  }
  static int32_t LookUpBorderIndex(const YLSectors& sectors, YLSectorBorder* border);
  // Prepares the pool, the open list and the border index for a search.
  void BeginSearch();

  // ---- The layout copy and the search over it ----
  // The search on foot or by vehicle over the layout copy. It keeps, per
  // border, what the plan node of that border would hold (its point is the
  // border's middle, where such a node stays), and makes plan nodes only for
  // the route found. Its open list, ties, saturations and reconnections are
  // those of the search over nodes, so the routes are the same. Whatever that
  // search would log (a refused link, a route in a circle) makes this one
  // give up: it answers Unsupported, before any side effect, and the search
  // over nodes runs instead.
  enum class LayoutAnswer : uint8_t { Route, NoRoute, Unsupported };
  LayoutAnswer SearchLayout(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY,
                            uint8_t startSectorId, uint8_t goalSector, SearchKind kind,
                            std::unique_ptr<YLPath>& route);
  // Makes the plan nodes of the route that reaches the border at slot and
  // the route itself; Unsupported when the way back runs in a circle.
  LayoutAnswer FinishLayoutRoute(uint32_t slot, int32_t fromX, int32_t fromY, int32_t toX,
                                 int32_t toY, std::unique_ptr<YLPath>& route);
  // Whether the layout copy is that of the map as it stands, rebuilding it
  // when the map or its layout changed since; false when the map has
  // something the copy does not model (a border listed by a sector it does
  // not touch, a side outside the map, an item held twice).
  bool LayoutReady(const YLSectors& sectors);
  bool BuildLayout(const YLSectors& sectors);

  // ---- Node pool ----
  // A fresh node from the pool; null (with a log line) when it cannot grow.
  YLPathPlanNode* MakeNode(YLSectorBorder* border, int32_t x, int32_t y);
  // Gives back the node made last.
  void ReleaseLastNode();
  YLPathPlanNode& PoolNode(int32_t index) { return *poolNodes[static_cast<size_t>(index)]; }
  bool BufferAllocate();

  YLKnowledgeMap* map = nullptr;
  std::unique_ptr<YLPath> cache[kCacheSize];
  std::unique_ptr<YLPath> vehiclePath;

  // The pool: blocks of kPoolGrowth nodes, so nodes never move; poolCount
  // nodes are in use by the current search.
  std::vector<std::unique_ptr<YLPathPlanNode[]>> poolBlocks;
  // Every node of the pool blocks, in pool order.
  std::vector<YLPathPlanNode*> poolNodes;
  int32_t poolCount = 0;

  // An open node: its f, fixed while the node is open, and its border's
  // index in the map, whose node it is.
  struct OpenEntry {
    int64_t totalCost;
    uint32_t slot;
  };
  // The open list in descending f: the node to expand next is the last.
  std::vector<OpenEntry> openList;
  // Per border index of the map: its node in this search and where that
  // node stands; valid only where the stamp is this search's. One record
  // per border, so a look at a border touches one place.
  struct BorderState {
    YLPathPlanNode* node;
    uint32_t stamp;
    NodeState state;
  };
  std::vector<BorderState> borderStates;
  uint32_t searchStamp = 0;

  // The layout copy: per border of the map (by index) what the search reads
  // of it, and per sector (by index) its borders in list order, side by side
  // in one array. A border's flags change at run time and are read from the
  // border itself.
  struct LayoutBorder {
    YLSectorBorder* border;  // null for an empty slot
    int32_t midX;
    int32_t midY;
    int32_t left;  // the sides' indexes in the map's Sectors; -1 for none
    int32_t right;
    int32_t leftId;  // the sides' ids; -1 for none
    int32_t rightId;
  };
  struct LayoutEntry {
    const YLSectorBorder* border;
    uint32_t index;  // the border's index in the map
    int32_t left;
    int32_t right;
    int32_t midX;
    int32_t midY;
    uint8_t entersFromLeft;  // the side of a crossing from the listing sector
    uint8_t hasMidpoint;     // both vertices are in the map
  };
  const YLSectors* layoutMap = nullptr;
  uint64_t layoutEdits = 0;
  bool layoutUsable = false;
  std::vector<LayoutBorder> layoutBorders;
  std::vector<LayoutEntry> layoutEntries;
  // Sector s lists layoutEntries[layoutFirst[s]] up to layoutFirst[s + 1].
  std::vector<uint32_t> layoutFirst;
  // Per border index, during a search over the layout: the state of the
  // border's crossing, valid where the stamp is this search's.
  struct CrossingState {
    uint32_t stamp;
    int32_t previous;  // the border index it is reached from; -1: the start
    int32_t costFromStart;
    int32_t estimate;
    uint8_t closed;
    uint8_t entersFromLeft;
  };
  std::vector<CrossingState> crossingStates;
  std::vector<uint32_t> routeSlots;  // the way back from the goal
  bool readMapDirectly = false;
};
