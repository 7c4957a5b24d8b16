#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/LumoObject.h"
#include "base/tCollection.h"
#include "logic/core/CMapSector.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLPathFinder.h"

class YLThing;
class YLUnit;

// The logic's picture of where things stand: the level's knowledge map
// (whose cells record which thing stands where and which cells are blocked),
// the path finder on it, and the list of placed things sorted by position for
// the proximity searches. Every thing is placed, moved and removed through it.
//
// The map also keeps, for each thing id, where it listed the thing, so the
// ids standing in each navigation sector (the sectors' Paths) stay exact: a
// unit or car is listed once, in the sector of the cell it stands on, while
// it is on the map at height 0.
class CMap : public LumoObject {
 public:
  // A blocked neighbour cell in CollectObstacles is this plus the direction
  // (0-7, clockwise from north) in which it lies; GetObstacleAt and
  // GetObstacleNear answer this for a blocked cell.
  static constexpr int32_t kBlockedCode = 0xFFF0;

  // One empty sector slot, no knowledge map, a path finder.
  CMap();
  ~CMap() override;

  const char* GetClassName() const override;
  // Frees the sectors (last first), the knowledge map and the path finder's
  // routes.
  void DoFree() override;

  // A new sector and a new knowledge map of width x height cells (the path
  // finder attached to it). False when the grid cannot be made.
  bool Init(int32_t width, int32_t height);
  // Replaces the knowledge map by newMap (the map takes it): the new map
  // keeps each old cell's occupation under its own sector ids, the placed
  // units and cars are listed again in its sectors, and the path finder
  // starts on it with no cached route.
  void SetStratMap(YLKnowledgeMap* newMap);
  YLKnowledgeMap* GetStratMap() const { return StratMap.get(); }
  YLPathFinder& GetPathFinder() { return pathFinder; }

  // ---- Things on the map ----

  // Lists the thing at its record's position and, at height 0, writes its
  // cells. A thing listed already keeps its one entry, moved to its
  // position; its cells are written again.
  void PlaceThing(YLThing* thing);
  // Takes the thing off the list and, at height 0, clears its cells where
  // they hold its id.
  void RemoveThing(YLThing* thing);
  // Moves a placed thing's cells and list entry to (x, y) with orientation
  // ori; the thing's record is not changed (its caller sets it). False, with
  // nothing changed, when a target cell is blocked, another thing there may
  // not be run over, or another thing stands on the cell in the list.
  bool MoveThing(YLThing* thing, int32_t x, int32_t y, int32_t ori);
  // Takes the thing off the list and clears its cells where they hold its
  // id, whatever its height.
  void RemoveFromCells(YLThing* thing);
  // Forgets a thing that is being freed: its entry and its sector listing
  // go, so nothing keeps its address.
  void ForgetThing(const YLThing* thing);

  // ---- Cells ----

  // The id standing on the cell; 0 when free or outside the grid.
  int32_t GetThingIDAt(int32_t x, int32_t y) const;
  bool IsWalkable(int32_t x, int32_t y) const;
  // What stands at the thing's position (its entrance for a container) plus
  // (dx, dy): the id on the cell, kBlockedCode when the cell is outside the
  // grid or not free, else 0. (0, 0) answers the thing's own id.
  int32_t GetObstacleAt(const YLThing* thing, int32_t dx, int32_t dy) const;
  // The same without the (0, 0) rule; an empty cell answers kBlockedCode
  // only when it is occupied (outside the grid counts as occupied).
  int32_t GetObstacleNear(const YLThing* thing, int32_t dx, int32_t dy) const;
  // Makes a border of the navigation map passable or not; false when the
  // map has no such border.
  bool SetBorderPassable(int32_t borderId, bool passable);

  // ---- Searches ----

  // Empties list and copies the ids standing in the navigation sector into
  // it; nothing more for a sector that does not exist.
  void GetSectorPaths(int32_t sectorId, tCollection<int32_t>& list) const;
  // Empties list, then appends every living listed thing within r cells
  // (each axis) of (x, y), in list order. The fourth argument is not used.
  void ThingsInBox(int32_t x, int32_t y, int32_t r, int32_t ignored, tCollection<int32_t>& list) const;
  // The listed unit nearest to (x, y) by truncated distance, the first in
  // list order among equals; null when the list holds no unit.
  YLUnit* FindUnitNear(int32_t x, int32_t y) const;
  // Empties list, then appends kBlockedCode plus the direction of each
  // occupied neighbour of the thing's cell (north-west, north, north-east,
  // west, east, south-west, south, south-east, in that order), then the ids
  // of the other living listed things within r cells, in list order.
  void CollectObstacles(const YLThing* thing, int32_t r, tCollection<int32_t>& list) const;
  // Forgets the path finder's cached routes (a border changed).
  void ResetPaths();

  // ---- Sectors ----

  int32_t GetSectorCount() const { return static_cast<int32_t>(Sectors.size()); }
  CMapSector* GetSector(int32_t index) const;
  // True when the thing has an entry in the list.
  bool IsListed(const YLThing* thing) const;

  // ---- Stream form ----

  // The count, then each sector as a whole object record.
  virtual bool LoadSectors(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSectors(LumoStream* stream, const LumoProperty* property);
  // The knowledge map as an embedded object, then the text "paths:" and the
  // path finder's cached routes and vehicle path; without the text the
  // finder starts with no route. Then the text "listed:", the count and the
  // ids of the listed things in list order (a thing lifted off the map is
  // not listed, and a load must not list it again); a loaded map whose
  // listing no logic has taken yet saves the ids it read.
  virtual bool LoadStratMap(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveStratMap(LumoStream* stream, const LumoProperty* property);
  // After a load: whether the record held the listed ids, and if so those
  // ids (the logic places exactly these things); the map forgets them.
  bool TakeLoadedListing(std::vector<int32_t>& ids);

  std::vector<std::unique_ptr<CMapSector, tObjectDestroyer>> Sectors;
  std::unique_ptr<YLKnowledgeMap, tObjectDestroyer> StratMap;

 private:
  // Appends the ids of the living listed things within r of (x, y) on both
  // axes, in list order, leaving out the skipped one.
  void AppendLivingThingsInBox(int32_t x, int32_t y, int32_t r, const YLThing* skipped,
                               tCollection<int32_t>& list) const;

  // Where the map keeps a thing, by id.
  struct Placement {
    const YLThing* thing = nullptr;  // null: not listed
    int32_t x = 0;
    int32_t y = 0;
    uint8_t pathSector = kNoSector;  // the navigation sector listing the id
  };

  // The sector whose list holds the things; made when missing.
  CMapSector& ThingSector();
  // The thing's placement; null for an id outside 1-4095 or a thing that is
  // not the one listed under its id.
  Placement* PlacementOf(const YLThing* thing);
  const Placement* PlacementOf(const YLThing* thing) const;
  int32_t EntryIndex(const Placement& placement, int32_t tid) const;
  // Takes the thing's entry off the list (and its sector listing).
  void Unlist(const YLThing* thing);
  // The list part of a move: false when another living thing at (x, y) with
  // the same height is not inside the moving thing.
  bool MoveInList(YLThing* thing, Placement& placement, int32_t x, int32_t y);
  // Lists the id in the sector of its cell when it is a unit or car standing
  // at height 0, and nowhere otherwise.
  void UpdatePaths(const YLThing* thing, Placement& placement);
  void ListInSector(int32_t tid, Placement& placement, uint8_t sector);
  // Writes the thing's cells for a position and orientation; writeOwnCell
  // also writes (x, y) when the thing has a ground map.
  void WriteCells(const YLThing& thing, int32_t x, int32_t y, int32_t ori, int32_t entranceX, int32_t entranceY,
                  bool writeOwnCell);
  // Clears the cells that hold the thing's id at its record's position.
  void ClearCells(const YLThing& thing);
  // A cleared cell that lies on another thing's entrance or footprint (a
  // unit made on a building's door, one that stepped out onto it) gets
  // that thing's id back, the first such thing by id.
  void RestoreCellOwner(int32_t x, int32_t y, const YLThing& leaving);
  // Whether the cell may be entered by the moving thing.
  bool MayEnter(YLThing* thing, int32_t x, int32_t y) const;
  bool SaveRoutes(LumoStream* stream) const;
  bool LoadRoutes(LumoStream* stream);

  std::vector<Placement> placements;  // by thing id
  // The listed ids a load read, until the logic takes them.
  tCollection<int32_t> loadedListing;
  bool hasLoadedListing = false;
  YLPathFinder pathFinder;
};
