#include "LogicBenchLevel.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "base/LumoMemoryStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/OrderBuilders.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/YLHighwayTraffic.h"
#include "logic/triggers/ConditionTrigger.h"
#include "tests/navigation/PathMapDrawing.h"

namespace logic_bench {
namespace {

constexpr uint32_t kSeed = 20261211;
// The map's sectors: 64 x 64 blocks of 4 x 4 cells.
constexpr int32_t kBlocks = 64;
constexpr int32_t kCellSize = 4;
constexpr int32_t kSectors = 255;

// The gang players and the police (the logic's own police player).
constexpr std::array<int32_t, 3> kGangPlayers = {1, 2, 4};
constexpr int32_t kPolicePlayer = 3;

// Buildings of every kind the factory knows; each keyword is placed a few
// times over the map.
constexpr std::array<const char*, 12> kBuildings = {"Pub01",       "Pub02-Irish", "Shop01",   "Home01",
                                                     "Weapon01",    "Dope01",      "Girls01",  "PDept",
                                                     "Hotel01",     "Bank01",      "Public01", "Shack01"};
constexpr int32_t kEachBuilding = 6;  // at 1,000 units

constexpr std::array<const char*, 6> kObstacleKeywords = {"Obst001-tree", "Push01-Crate", "Scene01-lamp",
                                                          "Brick01",      "Move01-bin",   "Obst763_flowerfield"};

// Vehicles standing on the map: cars, the buses with their drivers, the
// riot bus, and the train with its conductor.
constexpr std::array<const char*, 8> kVehicles = {
    "Vehicle022-Manta", "Vehicle025-golf",  "Vehicle021-spelersbus", "Vehicle038-bus2",
    "Vehicle026-truck", "Vehicle020-mebus", "Vehicle023-Tram",       "TransTrain"};

// The units a gang player owns, in turn: fans of every kind, hard-core
// kinds, leaders, chicks and suits.
constexpr std::array<const char*, 10> kGangUnits = {"UnitSupporter", "UnitRat",   "UnitRaver",    "UnitSkin",
                                                    "UnitBiker",     "UnitRozav", "UnitYobbozer", "UnitLeader",
                                                    "UnitChick",     "UnitSuit"};
constexpr std::array<const char*, 2> kPoliceUnits = {"UnitPolice", "UnitRiot"};
// Units of nobody: shop owners, drivers and civilians.
constexpr std::array<const char*, 3> kCivilianUnits = {"OwnerShop01", "InnocentDriver", "Innocent01"};

// Of every 20 units: 13 of the gangs, 4 police, 3 of nobody.
constexpr int32_t kShareRound = 20;
constexpr int32_t kGangShare = 13;
constexpr int32_t kPoliceShare = 4;

// A batch: about a thirtieth of a side's units, at least one. Of a batch,
// at most this many take the player's order together.
constexpr size_t kBatchDivisor = 30;
constexpr size_t kOrderedTogether = 3;

// The map's blocks along a side for that many units: 64 at 1,000 units, the
// area in step with the units.
int32_t BlocksFor(int32_t units) {
  const int64_t area = static_cast<int64_t>(kBlocks) * kBlocks * std::max(units, 1) / 1000;
  int32_t side = 1;
  while (static_cast<int64_t>(side + 1) * (side + 1) <= area) {
    ++side;
  }
  return std::max(side, 16);
}

// Lanes of the highway's traffic lie on this many cells' margin inside the map.
constexpr int32_t kLaneMargin = 8;
constexpr int32_t kLaneSpacing = 4;

// Applies a package from an order builder and frees it; a refused order
// (a dead target, a unit that cannot) changes nothing.
void Apply(COrderPackage* package) {
  if (package != nullptr) {
    AcceptOrder(package);
    DeleteOrderPackage(package);
  }
}

int32_t IdOf(const ThingInfo* info) { return info != nullptr ? info->Tid : 0; }

}  // namespace

BenchLevel::BenchLevel(int32_t units)
    : random(kSeed), mapSize(BlocksFor(units) * kCellSize), perThousand(std::max(units, 1)) {
  if (!LogicStart() || !LogicCreate(mapSize, mapSize)) {
    throw std::runtime_error("the logic cannot start a level");
  }
  BuildMap();
  LayLanesOnTheMap();
  for (int32_t player : kGangPlayers) {
    LogicPlayer(player);
  }
  PlaceBuildings();
  PlaceObstacles();
  PlaceVehicles();
  PlaceUnits(units);
  PlanRepeatingItems();
}

BenchLevel::~BenchLevel() { LogicStop(); }

void BenchLevel::BuildMap() {
  const int32_t blocks = mapSize / kCellSize;
  const path_testing::DrawnMap drawn = path_testing::GenerateMap(kSeed, kSectors, blocks, blocks, kCellSize);
  LumoMemoryStream written;
  if (!written.OpenNew(4096, 1, 0)) {
    throw std::runtime_error("no stream for the knowledge map");
  }
  written.SetGrowth(1 << 16);
  if (!drawn.knowledge->SaveObject(&written, 0)) {
    throw std::runtime_error("the knowledge map cannot be written");
  }
  // A stream needs a block; the spare byte stays unread.
  std::vector<uint8_t> bytes(written.buffer, written.buffer + written.position);
  bytes.push_back(0);
  LumoMemoryStream read;
  if (!read.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0)) {
    throw std::runtime_error("the knowledge map cannot be read back");
  }
  ReplacePathPlanning(&read);
}

// The game's lanes start off a map of its own size; here each lane runs
// along a diagonal from one side of the map to the other, inside it, so its
// cars can reach the end and leave the road to be sent again.
void BenchLevel::LayLanesOnTheMap() {
  LumoObjects* propagators = TheLogic()->Propagators.get();
  for (int32_t index = 0; propagators != nullptr && index < propagators->count; ++index) {
    auto* traffic = dynamic_cast<YLHighwayTraffic*>(propagators->At(index));
    if (traffic == nullptr) {
      continue;
    }
    const int32_t far = mapSize - 5 * kLaneMargin;
    for (size_t lane = 0; lane < traffic->CarLanes.size(); ++lane) {
      YLHighwayTraffic::YLHighwayLane& laid = *traffic->CarLanes[lane];
      const int32_t offset = static_cast<int32_t>(lane) * kLaneSpacing;
      const bool southWest = laid.Direction == 5;
      laid.StartX = southWest ? far + offset : kLaneMargin + offset;
      laid.StartY = southWest ? kLaneMargin : far;
      laid.EndX = southWest ? kLaneMargin + offset : far + offset;
      laid.EndY = southWest ? far : kLaneMargin;
    }
  }
}

void BenchLevel::PlaceBuildings() {
  const int32_t rounds = std::max<int32_t>(1, kEachBuilding * perThousand / 1000);
  for (int32_t round = 0; round < rounds; ++round) {
    for (const char* keyword : kBuildings) {
      // Drawn one by one: the order of a call's arguments is the compiler's
      // choice, and the level must be the same under every compiler.
      const auto facing = static_cast<uint8_t>(random() % 8);
      const int32_t y = Cell();
      const int32_t x = Cell();
      const int32_t id = IdOf(CreateThing(keyword, x, y, 0, facing, 0));
      if (id == 0) {
        continue;
      }
      const std::string name = keyword;
      if (name.rfind("Pub", 0) == 0) {
        pubs.push_back(id);
      } else if (name.rfind("Shop", 0) == 0 || name.rfind("Weapon", 0) == 0 || name.rfind("Bank", 0) == 0) {
        shops.push_back(id);
      }
      enterable.push_back(id);
    }
  }
}

void BenchLevel::PlaceObstacles() {
  // Beyond 1,000 units the obstacles stay as many: the thing table holds
  // 4,096 things, and 2,000 units with twice the obstacles would not fit.
  const int32_t obstacles = kObstacles * std::min(perThousand, 1000) / 1000;
  for (int32_t index = 0; index < obstacles; ++index) {
    const auto facing = static_cast<uint8_t>(random() % 8);
    const int32_t y = Cell();
    const int32_t x = Cell();
    CreateThing(kObstacleKeywords[index % kObstacleKeywords.size()], x, y, 0, facing, 0);
  }
}

void BenchLevel::PlaceVehicles() {
  for (const char* keyword : kVehicles) {
    const int32_t owner = std::string(keyword) == "Vehicle020-mebus" ? kPolicePlayer : 0;
    const auto facing = static_cast<uint8_t>(2 * (random() % 4) + 1);
    const int32_t y = Cell();
    const int32_t x = Cell();
    CreateThing(keyword, x, y, 0, facing, owner);
  }
}

void BenchLevel::PlaceUnits(int32_t units) {
  sides.resize(kGangPlayers.size() + 1);
  for (size_t index = 0; index < kGangPlayers.size(); ++index) {
    sides[index].player = kGangPlayers[index];
  }
  Side& police = sides.back();
  police.player = kPolicePlayer;
  int32_t gang = 0;
  int32_t officers = 0;
  int32_t others = 0;
  for (int32_t index = 0; index < units; ++index) {
    const int32_t share = index % kShareRound;
    const char* keyword = nullptr;
    Side* side = nullptr;
    if (share < kGangShare) {
      side = &sides[static_cast<size_t>(gang) % kGangPlayers.size()];
      keyword = kGangUnits[static_cast<size_t>(gang / static_cast<int32_t>(kGangPlayers.size())) % kGangUnits.size()];
      ++gang;
    } else if (share < kGangShare + kPoliceShare) {
      side = &police;
      keyword = kPoliceUnits[static_cast<size_t>(officers++) % kPoliceUnits.size()];
    } else {
      keyword = kCivilianUnits[static_cast<size_t>(others++) % kCivilianUnits.size()];
    }
    const int32_t owner = side != nullptr ? side->player : 0;
    const auto facing = static_cast<uint8_t>(random() % 8);
    const int32_t y = Cell();
    const int32_t x = Cell();
    const int32_t id = IdOf(CreateThing(keyword, x, y, 0, facing, owner));
    if (id == 0) {
      continue;
    }
    ++unitCount;
    (side != nullptr ? side->units : civilians).push_back(id);
  }
}

void BenchLevel::PlanRepeatingItems() {
  CLogic* logic = TheLogic();
  // Repeating every 1 to 60 frames: some stay in the near buckets, the
  // others pass through the long list.
  for (int32_t index = 0; index < kPlanItems; ++index) {
    logic->InsertPlan(new ConditionTrigger(static_cast<uint32_t>(1 + index % 60)),
                      static_cast<uint32_t>(1 + index % 29));
  }
}

void BenchLevel::Select(const Side& side, size_t first, size_t count) {
  for (size_t offset = 0; offset < count; ++offset) {
    const int32_t unit = side.units[(first + offset) % side.units.size()];
    Apply(GenerateSelectionOrder(side.player, unit, offset != 0, true));
  }
}

void BenchLevel::OrderGang(size_t index) {
  const Side& side = sides[index];
  const bool fast = random() % 3 == 0;
  // Any other side, the police among them.
  const Side& enemies = sides[(index + 1 + random() % (sides.size() - 1)) % sides.size()];
  switch (random() % 10) {
    case 0:
      Apply(GenerateAttackOrder(side.player, Pick(enemies.units), false, fast));
      break;
    case 1:
      Apply(GenerateThrowBrickOrder(side.player, Pick(enemies.units), false, fast));
      break;
    case 2:
      Apply(GenerateEnterOrder(side.player, Pick(pubs), false, fast));
      break;
    case 3:
      Apply(GenerateLootOrder(side.player, Pick(shops), false, fast));
      break;
    case 4:
      Apply(GenerateChantOrder(side.player, false, fast));
      break;
    case 5:
      Apply(GenerateBuyOrder(side.player, Pick(pubs), 3));
      break;
    case 6:
      Apply(GenerateGotoThingOrder(side.player, Pick(civilians), false, fast));
      break;
    default: {
      const int32_t y = Cell();
      const int32_t x = Cell();
      Apply(GenerateGotoOrder(side.player, x, y, false, fast));
      break;
    }
  }
}

void BenchLevel::OrderPolice(const Side& side) {
  const bool fast = random() % 3 == 0;
  const int32_t x = Cell();
  const int32_t y = Cell();
  switch (random() % 8) {
    case 0:
      Apply(GenerateArrestOrder(side.player, x, y, false, fast));
      break;
    case 1:
      Apply(GenerateChargeOrder(side.player, x, y, false, fast));
      break;
    case 2:
      Apply(GeneratePatrollOrder(side.player, x, y, false, fast));
      break;
    case 3:
      Apply(GenerateCordonOrder(side.player, x, y, false, fast));
      break;
    default:
      Apply(GenerateGotoOrder(side.player, x, y, false, fast));
      break;
  }
}

void BenchLevel::Scatter(const Side& side, size_t first, size_t count) {
  for (size_t offset = 0; offset < count; ++offset) {
    const int32_t unit = side.units[(first + offset) % side.units.size()];
    Apply(GenerateSelectionOrder(side.player, unit, false, true));
    const int32_t y = Cell();
    const int32_t x = Cell();
    Apply(GenerateGotoOrder(side.player, x, y, false, false));
  }
}

void BenchLevel::GiveOrders() {
  for (size_t index = 0; index < sides.size(); ++index) {
    Side& side = sides[index];
    if (side.units.empty()) {
      continue;
    }
    const size_t count = std::max<size_t>(1, side.units.size() / kBatchDivisor);
    const size_t together = std::min(count, kOrderedTogether);
    Select(side, side.next, together);
    if (side.player == kPolicePlayer) {
      OrderPolice(side);
    } else {
      OrderGang(index);
    }
    Scatter(side, side.next + together, count - together);
    side.next = (side.next + count) % side.units.size();
  }
}

void BenchLevel::Frame() {
  GiveOrders();
  LogicCompute();
}

}  // namespace logic_bench
