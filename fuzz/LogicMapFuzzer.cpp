// The logic map and the players: the input is the bytes of a memory stream,
// read as one object record (a logic map with its sectors, knowledge map and
// cached routes, or a player of either side), then a short script of what
// the game does with the loaded object.
//
// A loaded object must save and load again into one that saves the same
// bytes. Then a small world of things is built around it and the script
// runs: on a map, things are placed, moved, lifted, killed and removed, and
// routes are asked for; on a player, the things register with their owner,
// die, change owner, and groups are selected. After every step the map's
// searches must answer what a walk over the things answers, and the
// player's selection and leaders must name what they promise.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoClass.h"
#include "base/LumoObjects.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzStreams.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLPathPlanNode.h"
#include "navigation/YLSectors.h"

namespace {

using ObjectOwner = std::unique_ptr<LumoObject, tObjectDestroyer>;

// Units that never think: the script moves them.
class QuietUnit : public YLUnit {
 public:
  int32_t Move() override { return 0; }
  int32_t OnBrainMove(int32_t) override { return 0; }
};

class SelectableUnit : public QuietUnit {
 public:
  bool IsSelectable() const override { return true; }
};

class LeaderUnit : public SelectableUnit {
 protected:
  ThingInfo* MakeInfo() const override {
    auto* info = new LeaderInfo;
    info->Status = kStatusNewUnit;
    return info;
  }
};

class PoliceUnit : public SelectableUnit {
 public:
  bool IsPolice() const override { return true; }
};

void RequireClasses() {
  static const bool checked = [] {
    // Naming the classes links their class records in from the library.
    ObjectOwner map(new CMap);
    ObjectOwner sector(new CMapSector);
    ObjectOwner player(new CPlayer);
    ObjectOwner police(new YLPlayerPolice);
    for (const char* name : {"CMap", "CMapSector", "CPlayer", "YLPlayerPolice", "YLKnowledgeMap"}) {
      FuzzRequire(FindClass(name) != nullptr, "every class of the map's and players' records is registered");
    }
    YLTPushableThing::InitMoveTable();
    return true;
  }();
  (void)checked;
}

// The script after the record: steps of a fixed size, read while whole.
class Script {
 public:
  Script(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Next(uint8_t (&step)[4]) {
    if (at_ + 4 > size_ || steps_ >= kMaxSteps) {
      return false;
    }
    std::copy_n(data_ + at_, 4, step);
    at_ += 4;
    ++steps_;
    return true;
  }

 private:
  static constexpr int32_t kMaxSteps = 64;
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  int32_t steps_ = 0;
};

// A logic with a thing table, shared with every thing while it lives.
class World {
 public:
  World() {
    logic.Things.reset(new LumoObjects(true));
    YLThing::SetLogicContext(nullptr, &logic);
  }
  ~World() {
    // The things go first: a thing being freed tells the map to forget it.
    logic.Things.reset();
    logic.Map.reset();
    YLThing::SetLogicContext(nullptr, nullptr);
  }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  template <typename T>
  T* Add(int32_t id, int32_t x, int32_t y) {
    auto* thing = new T;
    thing->CreateInfo(0);
    thing->Info->Tid = id;
    thing->Info->X = x;
    thing->Info->Y = y;
    if (logic.Things->count <= id) {
      logic.Things->SetCount(id + 1);
    }
    (*logic.Things)[id] = thing;
    return thing;
  }
  YLThing* Thing(int32_t id) const { return logic.GetThing(id); }
  int32_t Count() const { return logic.Things->count; }

  CLogic logic;
};

// ---- The map ----

constexpr int32_t kMapThings = 8;
// Larger grids are not copied: the copy would only slow the run down.
constexpr int64_t kCopiedCells = 256 * 256;

void GiveFootprint(YLThing* thing, const std::vector<std::pair<int32_t, int32_t>>& points) {
  thing->Info->Ground.reset(new GroundMap);
  for (int32_t ori = 0; ori < GroundMap::kOrientations; ++ori) {
    for (const auto& point : points) {
      thing->Info->Ground->AddPoint(ori, point.first, point.second);
    }
  }
}

bool IsUnitOrCar(const YLThing* thing) {
  return dynamic_cast<const YLUnit*>(thing) != nullptr || dynamic_cast<const YLTCar*>(thing) != nullptr;
}

bool IsAlive(const YLThing* thing) { return (thing->Info->Status & StatusAlive) != 0; }

std::vector<int32_t> Ids(const tCollection<int32_t>& list) {
  return std::vector<int32_t>(list.items, list.items + list.count);
}

// What the map's searches must answer, by a walk over the list.
void CheckMap(const CMap& map, World& world) {
  const CMapSector* sector = map.GetSector(0);
  FuzzRequire(sector != nullptr, "a map in use has its list");
  const auto& things = sector->GetThings();
  for (size_t index = 1; index < things.size(); ++index) {
    const auto& before = things[index - 1];
    const auto& after = things[index];
    FuzzRequire(before.x < after.x || (before.x == after.x && before.y < after.y) ||
                    (before.x == after.x && before.y == after.y && before.tid < after.tid),
                "the list stays sorted");
  }
  int32_t listed = 0;
  for (int32_t id = 1; id < world.Count(); ++id) {
    const YLThing* thing = world.Thing(id);
    if (thing != nullptr && map.IsListed(thing)) {
      ++listed;
    }
  }
  FuzzRequire(listed == sector->GetThingCount(), "every entry is a listed thing, once");
  for (const auto& entry : things) {
    FuzzRequire(entry.thing != nullptr && world.Thing(entry.tid) == entry.thing && map.IsListed(entry.thing),
                "every entry names its listed thing");
  }

  const YLKnowledgeMap* grid = map.GetStratMap();
  const YLSectors* sectors = grid != nullptr ? grid->GetSectors() : nullptr;
  for (int32_t id = 0; id < 256; ++id) {
    std::vector<int32_t> expected;
    if (sectors != nullptr && sectors->GetSector(id) != nullptr) {
      for (int32_t tid = 1; tid < world.Count(); ++tid) {
        const YLThing* thing = world.Thing(tid);
        if (thing != nullptr && map.IsListed(thing) && thing->Info->Z == 0 && IsUnitOrCar(thing) &&
            grid->GetSector(thing->Info->X, thing->Info->Y) == id) {
          expected.push_back(tid);
        }
      }
    }
    tCollection<int32_t> paths;
    paths.AppendInt(-5);
    map.GetSectorPaths(id, paths);
    FuzzRequire(Ids(paths) == expected, "each sector lists exactly the units and cars standing in it");
  }
}

// A box and the obstacles around a thing, against the list walked whole.
void CheckSearches(const CMap& map, const YLThing* around, int32_t x, int32_t y, int32_t r) {
  const auto& things = map.GetSector(0)->GetThings();
  std::vector<int32_t> expected;
  for (const auto& entry : things) {
    if (std::llabs(int64_t{entry.x} - x) <= r && std::llabs(int64_t{entry.y} - y) <= r && IsAlive(entry.thing)) {
      expected.push_back(entry.tid);
    }
  }
  tCollection<int32_t> found;
  map.ThingsInBox(x, y, r, 0, found);
  FuzzRequire(Ids(found) == expected, "a box holds what the list holds there");

  // The nearest unit, the first in list order among equals.
  const YLUnit* nearest = nullptr;
  int32_t nearestDistance = 0;
  for (const auto& entry : things) {
    const auto* unit = dynamic_cast<const YLUnit*>(entry.thing);
    const int32_t distance = YLPathPlanNode::Distance(x, y, entry.x, entry.y);
    if (unit != nullptr && (nearest == nullptr || distance < nearestDistance)) {
      nearest = unit;
      nearestDistance = distance;
    }
  }
  FuzzRequire(map.FindUnitNear(x, y) == nearest, "the unit found near is the nearest, first in list order");
  if (around == nullptr) {
    return;
  }

  // The blocked neighbours in their fixed order, then the ids.
  const YLKnowledgeMap* grid = map.GetStratMap();
  std::vector<int32_t> obstacles;
  if (grid != nullptr) {
    const int32_t neighbours[8][3] = {{-1, -1, 7}, {0, -1, 0}, {1, -1, 1}, {-1, 0, 6},
                                      {1, 0, 2},   {-1, 1, 5}, {0, 1, 4},  {1, 1, 3}};
    for (const auto& neighbour : neighbours) {
      if (grid->IsOccupied(around->Info->X + neighbour[0], around->Info->Y + neighbour[1])) {
        obstacles.push_back(CMap::kBlockedCode + neighbour[2]);
      }
    }
  }
  map.CollectObstacles(around, r, found);
  const std::vector<int32_t> collected = Ids(found);
  FuzzRequire(collected.size() >= obstacles.size() &&
                  std::equal(obstacles.begin(), obstacles.end(), collected.begin()),
              "the blocked neighbours come first, in their order");
  std::vector<int32_t> ids(collected.begin() + static_cast<std::ptrdiff_t>(obstacles.size()), collected.end());
  std::vector<int32_t> near;
  for (const auto& entry : things) {
    if (entry.thing != around && std::llabs(int64_t{entry.x} - around->Info->X) <= r &&
        std::llabs(int64_t{entry.y} - around->Info->Y) <= r && IsAlive(entry.thing)) {
      near.push_back(entry.tid);
    }
  }
  FuzzRequire(ids == near, "the obstacles hold the other living things near");
}

int32_t Coordinate(uint8_t value) { return static_cast<int32_t>(value) - 8; }

void RunMap(CMap* loaded, const uint8_t* script, size_t scriptSize) {
  World world;
  world.logic.Map.reset(loaded);
  CMap& map = *loaded;
  YLThing::SetLogicContext(&map, &world.logic);
  const YLKnowledgeMap* grid = map.GetStratMap();

  world.Add<QuietUnit>(1, 2, 2);
  world.Add<QuietUnit>(2, 5, 3);
  world.Add<YLTCar>(3, 8, 8);
  auto* house = world.Add<YLTContainerThing>(4, 12, 4);
  house->GetContainerInfo()->SetEntranceRel(0, 2);
  GiveFootprint(house, {{1, 0}, {0, 1}, {1, 1}});
  GiveFootprint(world.Add<YLThing>(5, 3, 12), {{0, 1}, {0, 2}});
  world.Add<YLThing>(6, 20, 2);
  world.Add<QuietUnit>(7, 25, 14);
  world.Add<YLTCar>(8, 1, 20);
  for (int32_t id = 1; id <= kMapThings; id += 2) {
    map.PlaceThing(world.Thing(id));
  }
  CheckMap(map, world);

  Script steps(script, scriptSize);
  uint8_t step[4];
  YLPathFinder& finder = map.GetPathFinder();
  while (steps.Next(step)) {
    YLThing* thing = world.Thing(1 + step[1] % kMapThings);
    const int32_t x = Coordinate(step[2]);
    const int32_t y = Coordinate(step[3]);
    switch (step[0] % 10) {
      case 0:
        thing->Info->X = x;
        thing->Info->Y = y;
        map.PlaceThing(thing);
        break;
      case 1:
        // As the movers do: the map first, the record when the map lets it.
        if (world.logic.UpdateThingOnMap(thing, x, y, static_cast<uint8_t>(step[1] >> 4))) {
          thing->SetX(x);
          thing->SetY(y);
          thing->Info->Ori = static_cast<uint8_t>((step[1] >> 4) & 7);
        }
        break;
      case 2:
        map.RemoveThing(thing);
        break;
      case 3:
        map.RemoveFromCells(thing);
        break;
      case 4:
        // Lifted or put down where it stands, as a jump or a fall does.
        map.RemoveThing(thing);
        thing->Info->Z = step[2] % 3;
        map.PlaceThing(thing);
        break;
      case 5:
        thing->Info->Status ^= StatusAlive;
        break;
      case 6:
        finder.FindPath(thing->Info->X, thing->Info->Y, x, y);
        break;
      case 7:
        if ((step[1] & 1) != 0) {
          finder.FindVehiclePath(thing->Info->X, thing->Info->Y, x, y);
        } else {
          finder.FindPathLimited(thing->Info->X, thing->Info->Y, x, y, step[3], (step[1] & 2) != 0);
        }
        break;
      case 8:
        map.SetBorderPassable(step[2], (step[3] & 1) != 0);
        if ((step[3] & 2) != 0) {
          map.ResetPaths();
        }
        break;
      case 9:
        if (grid != nullptr && (step[2] & 1) != 0 && int64_t{grid->GetWidth()} * grid->GetHeight() <= kCopiedCells) {
          // The same map again, as a level's map reloaded: every listing
          // moves to it.
          ObjectOwner copy(ReloadRecord(SavedRecord(*map.StratMap), *map.StratMap));
          map.SetStratMap(static_cast<YLKnowledgeMap*>(copy.release()));
          grid = map.GetStratMap();
        }
        CheckSearches(map, thing, x, y, step[3] % 24);
        map.GetObstacleAt(thing, step[2] % 5 - 2, step[3] % 5 - 2);
        map.GetObstacleNear(thing, step[2] % 5 - 2, step[3] % 5 - 2);
        break;
    }
    CheckMap(map, world);
  }
  CheckSearches(map, world.Thing(1), 6, 6, 10);

  // The map as the game would save it now, with the routes it has learnt.
  const std::string record = SavedRecord(map);
  ObjectOwner reloaded(ReloadRecord(record, map));
  FuzzRequire(SavedRecord(*reloaded) == record, "a map in use saves and reloads to the same bytes");

  // Routes asked of the reloaded map come out as the map in use answers
  // them: its cache decides as the saved one would have.
  auto& copy = static_cast<CMap&>(*reloaded);
  const YLKnowledgeMap* copyGrid = copy.GetStratMap();
  FuzzRequire((grid == nullptr) == (copyGrid == nullptr), "a reloaded map has a grid when the saved one had");
  if (grid == nullptr) {
    return;
  }
  const auto route = [](const YLPathPlanNode* node, const YLKnowledgeMap& on) {
    std::vector<int32_t> points;
    for (int32_t guard = 0; node != nullptr && guard < 4096; node = node->next.get(), ++guard) {
      points.push_back(node->x);
      points.push_back(node->y);
      points.push_back(node->border != nullptr ? on.GetSectors()->IndexOfBorder(node->border) : -1);
    }
    return points;
  };
  YLPathFinder& copyFinder = copy.GetPathFinder();
  for (int32_t query = 0; query < kMapThings; ++query) {
    const ThingInfo& from = *world.Thing(1 + query)->Info;
    const ThingInfo& to = *world.Thing(kMapThings - query)->Info;
    FuzzRequire(route(finder.FindPath(from.X, from.Y, to.X, to.Y), *grid) ==
                    route(copyFinder.FindPath(from.X, from.Y, to.X, to.Y), *copyGrid),
                "a reloaded map finds the routes the saved one finds");
    FuzzRequire(route(finder.FindPathLimited(to.X, to.Y, from.X, from.Y, 30, query % 2 == 0), *grid) ==
                    route(copyFinder.FindPathLimited(to.X, to.Y, from.X, from.Y, 30, query % 2 == 0), *copyGrid),
                "a reloaded map finds the limited routes the saved one finds");
  }
  FuzzRequire(route(finder.GetVehiclePath() != nullptr ? finder.GetVehiclePath()->GetFirst() : nullptr, *grid) ==
                  route(copyFinder.GetVehiclePath() != nullptr ? copyFinder.GetVehiclePath()->GetFirst() : nullptr,
                        *copyGrid),
              "a reloaded map keeps the vehicle path");
}

// ---- The players ----

// Every selected id names a living, selectable thing of the player, once;
// every numbered leader is a leader of the player, each under one number.
void CheckPlayer(const CPlayer& player, const World& world) {
  FuzzRequire(player.GetParams().count == CPlayer::kParamCount, "the table holds its 36 entries");
  for (int32_t index = 0; index < player.Selection.count; ++index) {
    const int32_t id = player.Selection[index];
    FuzzRequire(index == 0 || player.Selection[index - 1] < id, "the selection is sorted, each id once");
    const YLThing* thing = world.Thing(id);
    FuzzRequire(thing != nullptr && thing->IsSelectable() && thing->GetOwner() == player.ID && IsAlive(thing),
                "a selected id names a living selectable thing of the player");
  }
  // The leader count is a parameter that the table's writers may set to
  // anything; the numbers asked for still name leaders only.
  std::vector<int32_t> seen;
  for (int32_t number = -1; number <= CPlayer::kMaxLeaders + 2; ++number) {
    const int32_t id = player.GetLeaderID(number);
    if (id == 0) {
      continue;
    }
    const YLThing* thing = world.Thing(id);
    FuzzRequire(thing != nullptr && thing->Info->IsLeader() && thing->GetOwner() == player.ID,
                "a numbered leader is a leader of the player");
    FuzzRequire(std::find(seen.begin(), seen.end(), id) == seen.end(), "a leader holds one number");
    seen.push_back(id);
  }
}

void RunPlayer(CPlayer* loaded, const uint8_t* script, size_t scriptSize) {
  World world;
  ObjectOwner owner(loaded);
  CPlayer& player = *loaded;
  const int32_t id = player.ID;
  const int32_t other = id + 1;

  // The things a saved game brings back: leaders with groups (stale and
  // foreign members among them), units of the counted kinds, the police's
  // plain officers and riot squad, a unit of another side, a plain thing.
  const auto leader = [&](int32_t tid, uint8_t number, const std::vector<int32_t>& group) {
    auto* unit = world.Add<LeaderUnit>(tid, tid, tid);
    auto& info = static_cast<LeaderInfo&>(*unit->Info);
    info.GroupID = number;
    for (const int32_t member : group) {
      info.Group[info.GroupSize++] = member;
    }
    unit->Info->Owner = id;
    unit->Info->Gfx = 10;
  };
  const auto unit = [&](auto* made, int32_t side, int32_t type) {
    made->Info->Owner = side;
    made->Info->Gfx = type;
  };
  leader(1, 3, {2, 3, 7, 12, 0, -4, 5000});
  unit(world.Add<SelectableUnit>(2, 2, 2), id, 1);
  unit(world.Add<SelectableUnit>(3, 3, 3), id, 11);
  leader(4, 3, {5, 6, 2});
  unit(world.Add<PoliceUnit>(5, 5, 5), id, YLPlayerPolice::kPoliceType);
  unit(world.Add<PoliceUnit>(6, 6, 6), id, YLPlayerPolice::kPoliceType + 1);
  unit(world.Add<SelectableUnit>(7, 7, 7), other, 4);
  unit(world.Add<YLThing>(8, 8, 8), id, 0);
  for (int32_t tid = 9; tid <= 20; ++tid) {
    leader(tid, static_cast<uint8_t>(tid % 12), {tid - 1, tid + 1});
  }
  unit(world.Add<SelectableUnit>(21, 21, 21), id, 12);
  world.Thing(3)->Info->Status = 0;  // died before the save

  // Registered in id order, as a loaded logic does.
  std::vector<bool> registered(static_cast<size_t>(world.Count()), false);
  for (int32_t tid = 1; tid < world.Count(); ++tid) {
    YLThing* thing = world.Thing(tid);
    if (thing->GetOwner() == id && IsAlive(thing)) {
      player.OnThingOwned(true, thing);
      registered[static_cast<size_t>(tid)] = true;
    }
  }
  CheckPlayer(player, world);

  Script steps(script, scriptSize);
  uint8_t step[4];
  while (steps.Next(step)) {
    const int32_t value = static_cast<int32_t>(uint32_t{step[2]} << 24 | uint32_t{step[3]} << 16 | step[2]);
    const int32_t tid = 1 + step[1] % (world.Count() - 1);
    YLThing* thing = world.Thing(tid);
    switch (step[0] % 12) {
      case 0:
        player.SelectGroup(step[1]);
        break;
      case 1:
        player.AddGroupToSelection(step[1]);
        break;
      case 2:
        player.DeselectGroup(step[1]);
        break;
      case 3:
        player.SelectThing(tid);
        break;
      case 4:
        player.Deselect(tid);
        break;
      case 5:
        player.SelectOnly((step[2] & 1) != 0 ? tid : 0);
        break;
      case 6:
        player.SetParam(static_cast<int8_t>(step[1]), value);
        break;
      case 7:
        player.AddParam(static_cast<int8_t>(step[1]), value);
        player.AddMoney(-value);
        break;
      case 8:
        // A death: the thing stays with its owner, and the owner hears.
        if (registered[static_cast<size_t>(tid)] && IsAlive(thing)) {
          // The count may hold anything a table writer set; a death never
          // takes it below 0.
          const int32_t living = player.GetParam(ParamLivingLeaders);
          thing->Info->Status &= ~StatusAlive;
          player.OnThingOwned(false, thing);
          const int32_t after = player.GetParam(ParamLivingLeaders);
          FuzzRequire(after <= living && after >= std::min(living, 0), "living leaders never fall below 0");
        }
        break;
      case 9:
        // A unit that is no leader changes sides (a suit bought or let go).
        if (thing->Info->IsLeader() || !IsAlive(thing)) {
          break;
        }
        if (registered[static_cast<size_t>(tid)]) {
          thing->SetOwner(other);
          player.OnThingOwned(false, thing);
          registered[static_cast<size_t>(tid)] = false;
        } else {
          thing->SetOwner(id);
          player.OnThingOwned(true, thing);
          registered[static_cast<size_t>(tid)] = true;
        }
        break;
      case 10:
        player.ReportAll();
        for (int32_t index = -1; index <= player.Selection.count; ++index) {
          player.GetSelectedUnit(index);
        }
        break;
      case 11:
        player.DeselectAll();
        break;
    }
    CheckPlayer(player, world);
  }

  // The player as the game would save it now: it loads back with its id
  // and table (less what the things count again), and a loaded player
  // saves as it loaded.
  const std::string record = SavedRecord(player);
  ObjectOwner reloaded(ReloadRecord(record, player));
  auto& again = static_cast<CPlayer&>(*reloaded);
  FuzzRequire(again.ID == player.ID && again.GetMoney() == player.GetMoney(), "a player keeps its id and money");
  const std::string loadedRecord = SavedRecord(again);
  ObjectOwner twice(ReloadRecord(loadedRecord, again));
  FuzzRequire(SavedRecord(*twice) == loadedRecord, "a reloaded player saves the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RequireClasses();
  FuzzInputStream input(data, size);
  if (!input.Usable()) {
    return 0;
  }
  ObjectOwner loaded(LoadObject(&input.stream, nullptr));
  if (loaded == nullptr) {
    return 0;
  }
  const size_t used = std::min<size_t>(static_cast<size_t>(std::max(input.stream.GetPosition(), 0)), size);
  if (dynamic_cast<CMap*>(loaded.get()) == nullptr && dynamic_cast<CPlayer*>(loaded.get()) == nullptr) {
    return 0;
  }
  // The object goes on as its reloaded copy: the copy's sector map, loaded
  // last, is the current one, as the map of a loaded game is.
  const std::string record = SavedRecord(*loaded);
  ObjectOwner reloaded(ReloadRecord(record, *loaded));
  FuzzRequire(SavedRecord(*reloaded) == record, "a reloaded map or player saves the same bytes");
  loaded.reset();
  if (auto* map = dynamic_cast<CMap*>(reloaded.get())) {
    for (int32_t index = 0; index < map->GetSectorCount(); ++index) {
      FuzzRequire(map->GetSector(index) == nullptr || map->GetSector(index)->GetThingCount() == 0,
                  "a loaded map's sectors list no thing");
    }
    FuzzRequire(map->GetSectorCount() >= 1, "a loaded map has a sector");
    RunMap(static_cast<CMap*>(reloaded.release()), data + used, size - used);
    return 0;
  }
  auto* player = static_cast<CPlayer*>(reloaded.get());
  FuzzRequire(player->Selection.count == 0 && player->Money == 0 && player->GetLeaderCount() == 0,
              "a loaded player has no selection, no old money and no leader");
  RunPlayer(static_cast<CPlayer*>(reloaded.release()), data + used, size - used);
  return 0;
}
