#include "logic/core/CMap.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"
#include "navigation/YLPath.h"
#include "navigation/YLSectors.h"

namespace {

LumoClassOf<CMap> classOfCMap(kVersion_1_6_0_6, "CMap", "LumoObject");
LOGIC_FIELD_PROPERTY(CMap, Sectors, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(CMap, StratMap, PropertyObject, "tUnknown");

constexpr const char* kRoutesMarker = "paths:";
constexpr const char* kListedMarker = "listed:";
// The smallest object record: its signature, version and an empty class name.
constexpr int64_t kSmallestRecordBytes = 12;
// A stored route node: border, x, y, two costs and two flag bytes.
constexpr int64_t kRouteNodeBytes = 5 * 4 + 2;

// The neighbours of a cell in the order CollectObstacles tests them, each
// with the direction (clockwise from north) in which it lies.
struct Neighbour {
  int32_t dx;
  int32_t dy;
  int32_t direction;
};
constexpr Neighbour kNeighbours[] = {{-1, -1, 7}, {0, -1, 0}, {1, -1, 1}, {-1, 0, 6},
                                     {1, 0, 2},   {-1, 1, 5}, {0, 1, 4},  {1, 1, 3}};

bool IsAlive(const YLThing* thing) { return thing->Info != nullptr && (thing->Info->Status & StatusAlive) != 0; }

bool IsUnitOrCar(const YLThing* thing) {
  return UnitOf(thing) != nullptr || CarOf(thing) != nullptr;
}

bool ValidId(int32_t tid) { return tid >= 1 && tid < CLogic::kMaxThings; }

// Calls visit(x, y) for every footprint point of an orientation at (x, y).
// A level file may place a thing anywhere: a point past the 32-bit range is
// off the grid, and is skipped as every other off-grid cell is.
template <typename Visit>
void ForFootprint(const GroundMap& ground, int32_t x, int32_t y, int32_t ori, Visit&& visit) {
  const int32_t count = ground.GetPointCount(ori);
  for (int32_t n = 0; n < count; ++n) {
    int32_t dx = 0;
    int32_t dy = 0;
    if (!ground.GetPoint(ori, n, dx, dy)) {
      continue;
    }
    const int64_t cellX = int64_t{x} + dx;
    const int64_t cellY = int64_t{y} + dy;
    if (std::in_range<int32_t>(cellX) && std::in_range<int32_t>(cellY)) {
      visit(static_cast<int32_t>(cellX), static_cast<int32_t>(cellY));
    }
  }
}

}  // namespace

CMap::CMap() { Sectors.resize(1); }

CMap::~CMap() {
  if (YLThing::GetMap() == this) {
    YLThing::SetLogicContext(nullptr, YLThing::GetLogic());
  }
}

const char* CMap::GetClassName() const { return "CMap"; }

void CMap::DoFree() {
  while (!Sectors.empty()) {
    Sectors.pop_back();
  }
  pathFinder.Attach(nullptr);
  StratMap.reset();
  placements.clear();
  if (YLThing::GetMap() == this) {
    YLThing::SetLogicContext(nullptr, YLThing::GetLogic());
  }
  LumoObject::DoFree();
}

bool CMap::Init(int32_t width, int32_t height) {
  Sectors.clear();
  Sectors.emplace_back(new CMapSector);
  placements.clear();
  pathFinder.Attach(nullptr);
  StratMap.reset(new YLKnowledgeMap);
  if (!StratMap->Allocate(width, height)) {
    DebugPrint("CMap::Init: no grid of %d x %d cells\n", width, height);
    StratMap.reset();
    return false;
  }
  pathFinder.Attach(StratMap.get());
  return true;
}

void CMap::SetStratMap(YLKnowledgeMap* newMap) {
  if (StratMap != nullptr && newMap != nullptr && newMap != StratMap.get()) {
    const int32_t width = std::min(StratMap->GetWidth(), newMap->GetWidth());
    for (int32_t y = 0; y < StratMap->GetHeight(); ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const uint32_t word = (StratMap->GetCell(x, y) & ~(0xFFu << YLKnowledgeMap::kSectorShift)) |
                              uint32_t{newMap->GetSector(x, y)} << YLKnowledgeMap::kSectorShift;
        StratMap->SetCell(x, y, word);
        newMap->SetCell(x, y, word);
      }
    }
  }
  // The old map's sectors go with it, and with them its listings.
  for (Placement& placement : placements) {
    placement.pathSector = kNoSector;
  }
  pathFinder.Attach(nullptr);
  if (newMap != StratMap.get()) {
    StratMap.reset(newMap);
  }
  pathFinder.Attach(StratMap.get());
  for (Placement& placement : placements) {
    if (placement.thing != nullptr) {
      UpdatePaths(placement.thing, placement);
    }
  }
}

// ---- The list and the sector listings ----

CMapSector& CMap::ThingSector() {
  if (Sectors.empty()) {
    Sectors.resize(1);
  }
  if (Sectors[0] == nullptr) {
    Sectors[0].reset(new CMapSector);
  }
  return *Sectors[0];
}

CMapSector* CMap::GetSector(int32_t index) const {
  return index >= 0 && index < GetSectorCount() ? Sectors[static_cast<size_t>(index)].get() : nullptr;
}

CMap::Placement* CMap::PlacementOf(const YLThing* thing) {
  return const_cast<Placement*>(static_cast<const CMap*>(this)->PlacementOf(thing));
}

const CMap::Placement* CMap::PlacementOf(const YLThing* thing) const {
  if (thing == nullptr || thing->Info == nullptr) {
    return nullptr;
  }
  const int32_t tid = thing->Info->Tid;
  if (!ValidId(tid) || static_cast<size_t>(tid) >= placements.size()) {
    return nullptr;
  }
  const Placement& placement = placements[static_cast<size_t>(tid)];
  return placement.thing == thing ? &placement : nullptr;
}

bool CMap::IsListed(const YLThing* thing) const { return PlacementOf(thing) != nullptr; }

int32_t CMap::EntryIndex(const Placement& placement, int32_t tid) const {
  const CMapSector* sector = GetSector(0);
  return sector != nullptr ? sector->Find(placement.x, placement.y, tid) : -1;
}

void CMap::ListInSector(int32_t tid, Placement& placement, uint8_t sector) {
  YLSectors* sectors = StratMap != nullptr ? StratMap->GetSectors() : nullptr;
  YLSector* wanted = sectors != nullptr && sector != kNoSector ? sectors->GetSector(sector) : nullptr;
  const uint8_t target = wanted != nullptr ? sector : kNoSector;
  if (placement.pathSector == target) {
    return;
  }
  YLSector* old = sectors != nullptr && placement.pathSector != kNoSector ? sectors->GetSector(placement.pathSector)
                                                                           : nullptr;
  if (old != nullptr) {
    old->RemovePath(tid);
  }
  if (wanted != nullptr) {
    wanted->AddPath(tid);
  }
  placement.pathSector = target;
}

void CMap::UpdatePaths(const YLThing* thing, Placement& placement) {
  uint8_t sector = kNoSector;
  if (placement.thing != nullptr && StratMap != nullptr && thing->Info != nullptr && thing->Info->Z == 0 &&
      IsUnitOrCar(thing)) {
    sector = StratMap->GetSector(placement.x, placement.y);
  }
  ListInSector(thing->Info != nullptr ? thing->Info->Tid : 0, placement, sector);
}

void CMap::Unlist(const YLThing* thing) {
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  const int32_t tid = thing->Info->Tid;
  if (!ValidId(tid) || static_cast<size_t>(tid) >= placements.size()) {
    return;
  }
  Placement& placement = placements[static_cast<size_t>(tid)];
  if (placement.thing == nullptr) {
    return;
  }
  const int32_t index = EntryIndex(placement, tid);
  if (index >= 0) {
    ThingSector().EraseAt(index);
  }
  ListInSector(tid, placement, kNoSector);
  placement = Placement{};
}

void CMap::ForgetThing(const YLThing* thing) {
  if (IsListed(thing)) {
    Unlist(thing);
  }
}

bool CMap::MoveInList(YLThing* thing, Placement& placement, int32_t x, int32_t y) {
  if (placement.x == x && placement.y == y) {
    return true;
  }
  CMapSector& sector = ThingSector();
  const auto& things = sector.GetThings();
  for (auto at = static_cast<size_t>(sector.LowerBound(x)); at < things.size() && things[at].x == x; ++at) {
    const CMapSector::Entry& entry = things[at];
    if (entry.y != y || entry.thing == thing || !IsAlive(entry.thing)) {
      continue;
    }
    if (entry.thing->Info->Z == thing->Info->Z && entry.thing->GetContainer() != thing) {
      return false;
    }
  }
  const int32_t index = EntryIndex(placement, thing->Info->Tid);
  if (index < 0) {
    return false;
  }
  sector.MoveEntry(index, x, y);
  placement.x = x;
  placement.y = y;
  return true;
}

// ---- Placing, moving and removing ----

void CMap::WriteCells(const YLThing& thing, int32_t x, int32_t y, int32_t ori, int32_t entranceX, int32_t entranceY,
                      bool writeOwnCell) {
  YLKnowledgeMap& map = *StratMap;
  const ThingInfo& info = *thing.Info;
  const GroundMap* ground = info.Ground.get();
  if (ground == nullptr) {
    map.SetUnit(x, y, info.Tid);
    return;
  }
  if (writeOwnCell) {
    map.SetUnit(x, y, info.Tid);
  }
  map.SetMarkA(entranceX, entranceY, true);
  map.SetUnit(entranceX, entranceY, info.Tid);
  ForFootprint(*ground, x, y, ori, [&](int32_t cellX, int32_t cellY) {
    map.SetMarkB(cellX, cellY, true);
    map.SetUnit(cellX, cellY, info.Tid);
  });
}

// Only cells that still hold the thing's id are cleared: another thing may
// have taken a cell since. Clearing mark B clears mark A and the id with it.
void CMap::ClearCells(const YLThing& thing) {
  YLKnowledgeMap& map = *StratMap;
  const ThingInfo& info = *thing.Info;
  const int32_t tid = info.Tid;
  const GroundMap* ground = info.Ground.get();
  if (ground != nullptr) {
    ForFootprint(*ground, info.X, info.Y, info.Ori & 7, [&](int32_t cellX, int32_t cellY) {
      if (map.HasMarkB(cellX, cellY) && map.GetUnit(cellX, cellY) == tid) {
        map.SetMarkB(cellX, cellY, false);
      }
    });
    const int32_t entranceX = thing.GetX();
    const int32_t entranceY = thing.GetY();
    if (map.GetUnit(entranceX, entranceY) == tid) {
      map.SetMarkB(entranceX, entranceY, false);
      map.SetUnit(entranceX, entranceY, 0);
    }
  }
  if (map.GetUnit(info.X, info.Y) == tid) {
    map.SetUnit(info.X, info.Y, 0);
    RestoreCellOwner(info.X, info.Y, thing);
  }
}

// Without this a door that a unit was made on, or stepped out onto, would
// hold no id once the unit left it, and nobody could enter or fight the
// building there again. Only cells that keep a mark of some footprint are
// looked at, so a unit walking the open street costs nothing here.
void CMap::RestoreCellOwner(int32_t x, int32_t y, const YLThing& leaving) {
  YLKnowledgeMap& map = *StratMap;
  if (map.GetUnit(x, y) != 0 || (!map.HasMarkA(x, y) && !map.HasMarkB(x, y))) {
    return;
  }
  for (const Placement& placement : placements) {
    const YLThing* owner = placement.thing;
    if (owner == nullptr || owner == &leaving || owner->Info == nullptr || owner->Info->Z != 0) {
      continue;
    }
    const ThingInfo& info = *owner->Info;
    const GroundMap* ground = info.Ground.get();
    if (ground == nullptr) {
      continue;
    }
    bool covers = owner->GetX() == x && owner->GetY() == y;
    if (!covers) {
      ForFootprint(*ground, info.X, info.Y, info.Ori & 7,
                   [&](int32_t cellX, int32_t cellY) { covers = covers || (cellX == x && cellY == y); });
    }
    if (covers) {
      map.SetUnit(x, y, info.Tid);
      return;
    }
  }
}

void CMap::PlaceThing(YLThing* thing) {
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  const ThingInfo& info = *thing->Info;
  if (!ValidId(info.Tid)) {
    DebugPrint("CMap::PlaceThing: thing id %d is outside 1-%d, not placed\n", info.Tid, CLogic::kMaxThings - 1);
    return;
  }
  if (placements.size() <= static_cast<size_t>(info.Tid)) {
    placements.resize(static_cast<size_t>(info.Tid) + 1);
  }
  Placement& placement = placements[static_cast<size_t>(info.Tid)];
  if (placement.thing != nullptr && placement.thing != thing) {
    // An id reused while its former thing was still listed: that entry goes.
    Unlist(placement.thing);
  }
  if (placement.thing == thing) {
    const int32_t index = EntryIndex(placement, info.Tid);
    if (index >= 0) {
      ThingSector().MoveEntry(index, info.X, info.Y);
    }
  } else {
    ThingSector().Insert(CMapSector::Entry{info.X, info.Y, info.Tid, thing});
    placement.thing = thing;
  }
  placement.x = info.X;
  placement.y = info.Y;
  if (info.Z == 0 && StratMap != nullptr) {
    WriteCells(*thing, info.X, info.Y, info.Ori & 7, thing->GetX(), thing->GetY(), false);
  }
  UpdatePaths(thing, placement);
}

void CMap::RemoveThing(YLThing* thing) {
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  ForgetThing(thing);
  if (thing->Info->Z == 0 && StratMap != nullptr) {
    ClearCells(*thing);
  }
}

void CMap::RemoveFromCells(YLThing* thing) {
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  ForgetThing(thing);
  if (StratMap != nullptr) {
    ClearCells(*thing);
  }
}

bool CMap::MayEnter(YLThing* thing, int32_t x, int32_t y) const {
  if (StratMap->IsInside(x, y) && StratMap->IsOccupied(x, y)) {
    return false;
  }
  const int32_t id = StratMap->GetUnit(x, y);
  if (id == 0) {
    return true;
  }
  CLogic* logic = YLThing::GetLogic();
  if (logic == nullptr) {
    return id == thing->Info->Tid;
  }
  return logic->RunOver(thing, id, x, y);
}

bool CMap::MoveThing(YLThing* thing, int32_t x, int32_t y, int32_t ori) {
  Placement* placement = PlacementOf(thing);
  if (placement == nullptr) {
    return false;
  }
  if (thing->Info->Z != 0 || StratMap == nullptr) {
    const bool moved = MoveInList(thing, *placement, x, y);
    UpdatePaths(thing, *placement);
    return moved;
  }
  const int32_t newOri = ori & 7;
  if (!MayEnter(thing, x, y)) {
    return false;
  }
  const GroundMap* ground = thing->Info->Ground.get();
  if (ground != nullptr) {
    bool free = true;
    ForFootprint(*ground, x, y, newOri, [&](int32_t cellX, int32_t cellY) {
      free = free && MayEnter(thing, cellX, cellY);
    });
    if (!free) {
      return false;
    }
  }
  if (!MoveInList(thing, *placement, x, y)) {
    return false;
  }
  ClearCells(*thing);
  const auto* container = dynamic_cast<const ContainerInfo*>(thing->Info.get());
  const int32_t exitX = container != nullptr ? container->ExitX : 0;
  const int32_t exitY = container != nullptr ? container->ExitY : 0;
  WriteCells(*thing, x, y, newOri, x + exitX, y + exitY, true);
  UpdatePaths(thing, *placement);
  return true;
}

// ---- Cells ----

int32_t CMap::GetThingIDAt(int32_t x, int32_t y) const { return StratMap != nullptr ? StratMap->GetUnit(x, y) : 0; }

bool CMap::IsWalkable(int32_t x, int32_t y) const { return StratMap != nullptr && StratMap->IsFree(x, y); }

int32_t CMap::GetObstacleAt(const YLThing* thing, int32_t dx, int32_t dy) const {
  if (thing == nullptr || thing->Info == nullptr) {
    return kBlockedCode;
  }
  if (dx == 0 && dy == 0) {
    return thing->Info->Tid;
  }
  const int32_t x = thing->GetX() + dx;
  const int32_t y = thing->GetY() + dy;
  if (StratMap == nullptr) {
    return kBlockedCode;
  }
  const int32_t id = StratMap->GetUnit(x, y);
  if (id != 0) {
    return id;
  }
  return StratMap->IsFree(x, y) ? 0 : kBlockedCode;
}

int32_t CMap::GetObstacleNear(const YLThing* thing, int32_t dx, int32_t dy) const {
  if (thing == nullptr || thing->Info == nullptr || StratMap == nullptr) {
    return kBlockedCode;
  }
  const int32_t x = thing->GetX() + dx;
  const int32_t y = thing->GetY() + dy;
  const int32_t id = StratMap->GetUnit(x, y);
  if (id != 0) {
    return id;
  }
  return StratMap->IsOccupied(x, y) ? kBlockedCode : 0;
}

bool CMap::SetBorderPassable(int32_t borderId, bool passable) {
  YLSectors* sectors = StratMap != nullptr ? StratMap->GetSectors() : nullptr;
  YLSectorBorder* border = sectors != nullptr ? sectors->GetBorder(borderId) : nullptr;
  if (border == nullptr) {
    DebugPrint("CMap::SetBorderPassable: no border %d\n", borderId);
    return false;
  }
  border->SetPassable(passable);
  return true;
}

// ---- Searches ----

void CMap::GetSectorPaths(int32_t sectorId, tCollection<int32_t>& list) const {
  list.Clear();
  const YLSectors* sectors = StratMap != nullptr ? StratMap->GetSectors() : nullptr;
  const YLSector* sector = sectors != nullptr ? sectors->GetSector(sectorId) : nullptr;
  if (sector != nullptr) {
    sector->GetPaths(list);
  }
}

void CMap::ThingsInBox(int32_t x, int32_t y, int32_t r, int32_t, tCollection<int32_t>& list) const {
  list.Clear();
  AppendLivingThingsInBox(x, y, r, nullptr, list);
}

// The sector list is sorted by x, so the walk starts at the box's left edge
// and stops past its right edge.
void CMap::AppendLivingThingsInBox(int32_t x, int32_t y, int32_t r, const YLThing* skipped,
                                   tCollection<int32_t>& list) const {
  const CMapSector* sector = GetSector(0);
  if (sector == nullptr || r < 0) {
    return;
  }
  const int64_t right = int64_t{x} + r;
  const int64_t left = std::max<int64_t>(int64_t{x} - r, INT32_MIN);
  const auto& things = sector->GetThings();
  for (auto at = static_cast<size_t>(sector->LowerBound(static_cast<int32_t>(left)));
       at < things.size() && things[at].x <= right; ++at) {
    const CMapSector::Entry& entry = things[at];
    if (entry.thing != skipped && std::llabs(int64_t{entry.y} - y) <= r && IsAlive(entry.thing)) {
      list.AppendInt(entry.tid);
    }
  }
}

// The walk from the list's head stops once the list has passed x by the best
// distance found: nothing further can be strictly nearer.
YLUnit* CMap::FindUnitNear(int32_t x, int32_t y) const {
  const CMapSector* sector = GetSector(0);
  if (sector == nullptr) {
    return nullptr;
  }
  YLUnit* best = nullptr;
  int32_t bestDistance = 0;
  for (const CMapSector::Entry& entry : sector->GetThings()) {
    if (best != nullptr && int64_t{entry.x} >= int64_t{x} + bestDistance) {
      break;
    }
    auto* unit = UnitOf(entry.thing);
    if (unit == nullptr) {
      continue;
    }
    const int32_t distance = YLPathPlanNode::Distance(x, y, entry.x, entry.y);
    if (best == nullptr || distance < bestDistance) {
      best = unit;
      bestDistance = distance;
    }
  }
  return best;
}

void CMap::CollectObstacles(const YLThing* thing, int32_t r, tCollection<int32_t>& list) const {
  list.Clear();
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  const int32_t x = thing->Info->X;
  const int32_t y = thing->Info->Y;
  if (StratMap != nullptr) {
    for (const Neighbour& neighbour : kNeighbours) {
      if (StratMap->IsOccupied(x + neighbour.dx, y + neighbour.dy)) {
        list.AppendInt(kBlockedCode + neighbour.direction);
      }
    }
  }
  AppendLivingThingsInBox(x, y, r, thing, list);
}

void CMap::ResetPaths() { pathFinder.Reset(); }

// ---- Stream form ----

bool CMap::SaveSectors(LumoStream* stream, const LumoProperty*) {
  if (!stream->WriteInteger(GetSectorCount())) {
    return false;
  }
  for (const auto& sector : Sectors) {
    // An empty slot is written as an empty sector, so a reader always finds
    // the records it counts.
    CMapSector empty;
    CMapSector& record = sector != nullptr ? *sector : empty;
    if (!record.SaveObject(stream, 0)) {
      return false;
    }
  }
  return true;
}

bool CMap::LoadSectors(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  if (!stream->ReadInteger(count)) {
    DebugPrint("CMap: cannot read the sector count\n");
    return false;
  }
  const int64_t remaining = stream->GetBytesRemaining();
  if (count < 1 || (remaining >= 0 && count * kSmallestRecordBytes > remaining)) {
    DebugPrint("CMap: the sector count %d is not between 1 and what the stream holds\n", count);
    return false;
  }
  std::vector<std::unique_ptr<CMapSector, tObjectDestroyer>> loaded;
  for (int32_t index = 0; index < count; ++index) {
    std::unique_ptr<LumoObject, tObjectDestroyer> record(LoadObject(stream, nullptr));
    auto* sector = dynamic_cast<CMapSector*>(record.get());
    if (sector == nullptr) {
      DebugPrint("CMap: sector record %d is not a CMapSector\n", index);
      return false;
    }
    record.release();
    loaded.emplace_back(sector);
  }
  for (Placement& placement : placements) {
    if (placement.thing != nullptr) {
      ListInSector(placement.thing->Info->Tid, placement, kNoSector);
    }
  }
  placements.clear();
  Sectors = std::move(loaded);
  return true;
}

bool CMap::SaveStratMap(LumoStream* stream, const LumoProperty*) {
  if (!stream->WriteObject(StratMap.get()) || !WriteMarker(stream, kRoutesMarker) || !SaveRoutes(stream)) {
    return false;
  }
  // A loaded map whose listing no logic has taken yet lists no things of
  // its own: it saves the listing it read, so a load and a save give back
  // the same record.
  tCollection<int32_t> listed;
  if (hasLoadedListing) {
    for (int32_t index = 0; index < loadedListing.count; ++index) {
      listed.Append(loadedListing[index]);
    }
  } else if (const CMapSector* sector = GetSector(0)) {
    for (const CMapSector::Entry& entry : sector->GetThings()) {
      listed.Append(entry.tid);
    }
  }
  return WriteMarker(stream, kListedMarker) && WriteCountedValues(stream, listed);
}

bool CMap::TakeLoadedListing(std::vector<int32_t>& ids) {
  if (!hasLoadedListing) {
    return false;
  }
  ids.assign(loadedListing.items, loadedListing.items + loadedListing.count);
  loadedListing.Clear();
  hasLoadedListing = false;
  return true;
}

bool CMap::LoadStratMap(LumoStream* stream, const LumoProperty*) {
  LumoObject* record = nullptr;
  if (!stream->ReadObject(record)) {
    DebugPrint("CMap: cannot read the knowledge map\n");
    return false;
  }
  std::unique_ptr<LumoObject, tObjectDestroyer> owner(record);
  auto* map = dynamic_cast<YLKnowledgeMap*>(record);
  if (record != nullptr && map == nullptr) {
    DebugPrint("CMap: StratMap holds a %s, not a knowledge map\n", record->GetClassName());
    return false;
  }
  owner.release();
  pathFinder.Attach(nullptr);
  StratMap.reset(map);
  for (Placement& placement : placements) {
    placement.pathSector = kNoSector;
  }
  pathFinder.Attach(StratMap.get());
  loadedListing.Clear();
  hasLoadedListing = false;
  if (ReadMarker(stream, kRoutesMarker) && !LoadRoutes(stream)) {
    return false;
  }
  if (ReadMarker(stream, kListedMarker)) {
    int32_t count = 0;
    if (!ReadValueCount(stream, *this, "listed", false, count) || !ReadValues(stream, loadedListing, count)) {
      return false;
    }
    hasLoadedListing = true;
  }
  return true;
}

namespace {

bool SaveRoute(LumoStream* stream, const YLPath* path, const YLSectors* sectors) {
  int32_t count = 0;
  if (path != nullptr && path->GetFirst() != nullptr) {
    count = path->GetFirst()->GetNodeCount();
  }
  if (!stream->WriteInteger(count)) {
    return false;
  }
  for (const YLPathPlanNode* node = count > 0 ? path->GetFirst() : nullptr; node != nullptr;
       node = node->next.get()) {
    const int32_t border =
        node->border != nullptr && sectors != nullptr ? sectors->IndexOfBorder(node->border) : -1;
    if (!stream->WriteInteger(border) || !stream->WriteInteger(node->x) || !stream->WriteInteger(node->y) ||
        !stream->WriteInteger(node->costFromStart) || !stream->WriteInteger(node->estimate) ||
        !stream->WriteByte(node->entersFromLeft) || !stream->WriteByte(node->limitedCrossing)) {
      return false;
    }
  }
  return true;
}

bool LoadRoute(LumoStream* stream, YLSectors* sectors, std::unique_ptr<YLPath>& path) {
  int32_t count = 0;
  if (!stream->ReadInteger(count)) {
    DebugPrint("CMap: cannot read a route's node count\n");
    return false;
  }
  const int64_t remaining = stream->GetBytesRemaining();
  if (count < 0 || (remaining >= 0 && count * kRouteNodeBytes > remaining)) {
    DebugPrint("CMap: the route count %d exceeds what the stream holds\n", count);
    return false;
  }
  path.reset();
  if (count == 0) {
    return true;
  }
  auto route = std::make_unique<YLPath>();
  YLPathPlanNode* previous = nullptr;
  for (int32_t index = 0; index < count; ++index) {
    int32_t borderIndex = -1;
    auto node = std::make_unique<YLPathPlanNode>();
    if (!stream->ReadInteger(borderIndex) || !stream->ReadInteger(node->x) || !stream->ReadInteger(node->y) ||
        !stream->ReadInteger(node->costFromStart) || !stream->ReadInteger(node->estimate) ||
        !stream->ReadByte(node->entersFromLeft) || !stream->ReadByte(node->limitedCrossing)) {
      DebugPrint("CMap: a route ends early\n");
      return false;
    }
    if (borderIndex != -1) {
      node->border = sectors != nullptr ? sectors->GetBorder(borderIndex) : nullptr;
      if (node->border == nullptr) {
        DebugPrint("CMap: a route crosses border %d, which the map does not have\n", borderIndex);
        return false;
      }
    }
    node->previous = previous;
    YLPathPlanNode* added = node.get();
    if (previous == nullptr) {
      route->first = std::move(node);
    } else {
      previous->next = std::move(node);
    }
    previous = added;
  }
  route->last = previous;
  path = std::move(route);
  return true;
}

}  // namespace

bool CMap::SaveRoutes(LumoStream* stream) const {
  const YLSectors* sectors = StratMap != nullptr ? StratMap->GetSectors() : nullptr;
  for (int32_t slot = 0; slot < YLPathFinder::kCacheSize; ++slot) {
    if (!SaveRoute(stream, pathFinder.GetCachedPath(slot), sectors)) {
      return false;
    }
  }
  return SaveRoute(stream, pathFinder.GetVehiclePath(), sectors);
}

bool CMap::LoadRoutes(LumoStream* stream) {
  YLSectors* sectors = StratMap != nullptr ? StratMap->GetSectors() : nullptr;
  std::unique_ptr<YLPath> routes[YLPathFinder::kCacheSize];
  for (auto& route : routes) {
    if (!LoadRoute(stream, sectors, route)) {
      return false;
    }
  }
  std::unique_ptr<YLPath> vehicle;
  if (!LoadRoute(stream, sectors, vehicle)) {
    return false;
  }
  pathFinder.RestoreRoutes(routes, std::move(vehicle));
  return true;
}
