#include "tests/logic/scenario/Scenario.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>

#include "../../navigation/PathMapDrawing.h"
#include "base/LumoMemoryStream.h"
#include "base/tCollection.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/LogicQueries.h"
#include "logic/core/OrderBuilders.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/TriggerExports.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/MoveInfo.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace scenario {
namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("scenario: " + what); }

// ---- The level ----

// The sectors, 12 x 12 cells each; the dot is a block without a sector, so
// ways from the north-east to the west go round it.
const std::vector<std::string> kSectorRows = {"ABCD", "EF.G", "HIJK", "LMNO"};
constexpr int32_t kSectorCells = 12;

// The cup game's settings: one crew each, money, minutes, score limit.
constexpr int32_t kCrews = 1;
constexpr int32_t kMoney = 5000;
constexpr int32_t kMinutes = 20;
constexpr int32_t kScoreLimit = 50;
constexpr int32_t kGameCup = 1;
// Start places of the two seats, then the cup's.
constexpr int32_t kStartPlaces[] = {8, 8, 40, 40, 6, 40};

// The ids the script addresses things by. The set-up places the cup first,
// then the start crews (leader, rat, raver, biker, rozav, yobbozer of each
// seat), then come the things in the order of kLayout; a bus and a train
// take a second id for their driver.
constexpr int32_t kCup = 1;
constexpr int32_t kCrewOne = 2;  // leader; members 3-7
constexpr int32_t kCrewTwo = 8;  // leader; members 9-13
constexpr int32_t kSetUpThings = 13;
enum Id : int32_t {
  kPub = 14,
  kShop,
  kHome,
  kWeaponShop,
  kDopeHouse,
  kGirls,
  kPoliceDept,
  kHotel,
  kBank,
  kShack,
  kPublic,
  kSecondPub,
  kTree,
  kLamp,
  kBrick,
  kCrate,
  kBarricade,
  kFlowers,
  kFence,
  kManta,
  kGolf,
  kPlayersBus,
  kPlayersBusDriver,
  kRiotBus,
  kTrain,
  kTrainConducter,
  kLeaderFour,
  kSupporterFour,
  kSecondSupporterFour,
  kSkinFour,
  kChickFour,
  kSuitFour,
  kYobbFour,
  kRaverFour,
  kPoliceOne,
  kPoliceTwo,
  kRiot,
  kInnocent,
  kSecondInnocent,
  kShopOwner,
  kLastId = kShopOwner
};

struct Placement {
  const char* keyword;
  int32_t x;
  int32_t y;
  uint8_t orientation;
  int32_t owner;
  int32_t id;
};

// Every building kind the factory knows, obstacles of every class, the
// vehicles, and units of player 4, the police and nobody.
const Placement kLayout[] = {
    {"Pub01-Bulldog", 2, 28, 0, 0, kPub},
    {"Shop01-Bakery", 8, 28, 0, 0, kShop},
    {"Home01-House", 14, 28, 0, 0, kHome},
    {"Weapon01-Guns", 34, 44, 0, 0, kWeaponShop},
    {"Dope01-Coffeeshop", 26, 28, 0, 0, kDopeHouse},
    {"Girls01-Club", 32, 28, 0, 0, kGirls},
    {"PDept", 40, 28, 0, 0, kPoliceDept},
    {"Hotel01-Ritz", 2, 44, 0, 0, kHotel},
    {"Bank01-Central", 8, 44, 0, 0, kBank},
    {"Shack01-Kiosk", 14, 44, 0, 0, kShack},
    {"Public01-Toilet", 20, 44, 0, 0, kPublic},
    {"Pub02-Anchor", 42, 4, 1, 0, kSecondPub},
    {"Obst01-Tree", 44, 14, 0, 0, kTree},
    {"Scene01-Lamp", 4, 18, 0, 0, kLamp},
    {"Brick01", 16, 16, 0, 0, kBrick},
    {"Move01-Crate", 18, 18, 0, 0, kCrate},
    {"Push01-Fence2", 20, 22, 0, 0, kBarricade},
    {"Obst776-flowerfield", 10, 20, 0, 0, kFlowers},
    {"Obst773-fence", 46, 20, 0, 0, kFence},
    {"Vehicle022-Manta", 10, 36, 2, 0, kManta},
    {"Vehicle025-golf", 16, 38, 2, 0, kGolf},
    {"Vehicle021-spelersbus", 30, 38, 3, 0, kPlayersBus},
    {"Vehicle020-mebus", 42, 34, 2, kPolicePlayer, kRiotBus},
    {"TransTrain", 0, 0, 2, 0, kTrain},
    {"UnitLeader", 20, 8, 3, 4, kLeaderFour},
    {"UnitSupporter", 21, 8, 3, 4, kSupporterFour},
    {"UnitSupporter", 22, 8, 3, 4, kSecondSupporterFour},
    {"UnitSkin", 20, 10, 3, 4, kSkinFour},
    {"UnitChick", 21, 10, 3, 4, kChickFour},
    {"UnitSuit", 22, 10, 3, 4, kSuitFour},
    {"UnitYobbozer", 20, 6, 3, 4, kYobbFour},
    {"UnitRaver", 22, 6, 3, 4, kRaverFour},
    {"UnitPolice", 40, 31, 0, kPolicePlayer, kPoliceOne},
    {"UnitPolice", 41, 31, 0, kPolicePlayer, kPoliceTwo},
    {"UnitRiot", 42, 31, 0, kPolicePlayer, kRiot},
    {"Innocent01-Granny", 20, 34, 0, 0, kInnocent},
    {"Innocent02-Postman", 26, 20, 4, 0, kSecondInnocent},
    {"Owner01-Baker", 9, 30, 0, 0, kShopOwner},
};

// ---- The editor ----

// Writes properties of a plan item as the level editor does: it lists the
// item, finds a line by its label and writes the line's new value by its
// position. Labels are matched without their leading spaces, from the line
// after the last one written, so repeated labels (a slot's " 0:") are
// written in the order they come.
class Editor {
 public:
  explicit Editor(LogicPlanItem* item) : item_(item) {}

  Editor& Set(const char* label, const char* text) {
    tStrings* labels = nullptr;
    tStrings* values = nullptr;
    item_->GetProperties(labels, values);
    for (int32_t index = cursor_; labels != nullptr && index < labels->count; ++index) {
      const char* line = labels->Get(index);
      while (*line == ' ') {
        ++line;
      }
      if (std::strcmp(line, label) == 0) {
        if (item_->SetProperty(index, text) >= 0) {
          Fail(std::string("the line ") + label + " took no value");
        }
        cursor_ = index + 1;
        return *this;
      }
    }
    std::string listing;
    for (int32_t index = 0; labels != nullptr && values != nullptr && index < labels->count; ++index) {
      listing += std::string("\n  ") + labels->Get(index) + "=" + values->Get(index);
    }
    Fail(std::string("no line ") + label + " to write after line " + std::to_string(cursor_) + listing);
  }
  Editor& Set(const char* label, int32_t value) { return Set(label, std::to_string(value).c_str()); }

 private:
  LogicPlanItem* item_;
  int32_t cursor_ = 0;
};

// The trigger kinds of CreateTrigger.
constexpr int32_t kTrainArrivalKind = 6;
constexpr int32_t kCustomKind = 14;

LogicPlanItem* MakeTrigger(int32_t kind) {
  LogicPlanItem* item = CreateTrigger(kind);
  if (item == nullptr) {
    Fail("CreateTrigger(" + std::to_string(kind) + ") made nothing");
  }
  return item;
}

// A custom trigger that, while player 1 has money, every 40 frames spawns
// a supporter and a skin for player 4 in the second pub, sends two new
// ravers of player 4 to the map's middle and raises a message.
void PlanSpawnTrigger() {
  LogicPlanItem* item = MakeTrigger(kCustomKind);
  Editor(item)
      .Set("time", 45)
      .Set("freq", 40)
      .Set("trigerid", 1)
      .Set("enable#", 3)
      .Set("int msg", 5)
      .Set("#conditions", 1)
      .Set("0: type:", "param")
      .Set("PID", 1)
      .Set("param", 1)
      .Set("operator", ">")
      .Set("value", 0)
      .Set("#actions", 2)
      .Set("0: type:", "spawn")
      .Set("#buildings", 1)
      .Set("ID0", kSecondPub)
      .Set("team", 4)
      .Set("unit types", 2)
      .Set("0", 3)
      .Set("1", 8)
      .Set("1: type:", "command")
      .Set("create new", 1)
      .Set("in cont", 0)
      .Set("place x", 44)
      .Set("place y", 44)
      .Set("types", 2)
      .Set("0:", 2)
      .Set("1:", 2)
      .Set("team", 4)
      .Set("objective", 3)
      .Set("command", "g")
      .Set("par1", 20)
      .Set("par2", 40);
  InsertTrigger(item);
}

// A custom trigger without conditions that, at frame 40, makes two
// yobbozers of player 2 armed with molotovs.
void PlanArmouryTrigger() {
  LogicPlanItem* item = MakeTrigger(kCustomKind);
  Editor(item)
      .Set("time", 40)
      .Set("trigerid", 3)
      .Set("#actions", 1)
      .Set("0: type:", "fixedidspawn")
      .Set("in building", 0)
      .Set("x", 30)
      .Set("y", 33)
      .Set("unit#", 2)
      .Set("type[0]", 12)
      .Set("type[1]", 12)
      .Set("team", 2)
      .Set("weapongr", 2);
  InsertTrigger(item);
}

// A custom trigger that ends player 4's game, lost, at frame 280 (its
// money is always below the bound).
void PlanVictoryTrigger() {
  LogicPlanItem* item = MakeTrigger(kCustomKind);
  Editor(item)
      .Set("time", 280)
      .Set("freq", 25)
      .Set("trigerid", 2)
      .Set("enable#", 1)
      .Set("#conditions", 1)
      .Set("0: type:", "param")
      .Set("PID", 4)
      .Set("param", 1)
      .Set("operator", "<")
      .Set("value", 1000000000)
      .Set("#actions", 1)
      .Set("0: type:", "victory")
      .Set("team", 4)
      .Set("victory", 0);
  InsertTrigger(item);
}

// The train arrives at frame 70 with two passengers for player 2, let out
// at the home.
void PlanTrainArrival() {
  LogicPlanItem* item = MakeTrigger(kTrainArrivalKind);
  Editor(item)
      .Set("time", 70)
      .Set("train", kTrain)
      .Set("station", kHome)
      .Set("team", 2)
      .Set("#units", 2)
      .Set("->0", 1)
      .Set("->1", 12);
  InsertTrigger(item);
}

// A plain item far ahead, so the plan's long list holds something.
void PlanFarItem() {
  LogicPlanItem* item = MakeTrigger(0);
  Editor(item).Set("time", 5000);
  InsertTrigger(item);
}

std::string SectorMapBytes() {
  // Drawing a map makes its sector map the current one: the running map's
  // is put back, as ReplacePathPlanning expects to find it.
  YLSectors* const running = GetCurrentSectorMap();
  std::string bytes;
  {
    path_testing::DrawnMap drawn = path_testing::DrawMap(kSectorRows, kSectorCells);
    LumoMemoryStream stream;
    if (!stream.OpenNew(4096, 1, 0) || stream.SetGrowth(4096) == 0 || !drawn.knowledge->SaveObject(&stream, 0)) {
      SetCurrentSectorMap(running);
      Fail("the sector map could not be written");
    }
    bytes.assign(reinterpret_cast<const char*>(stream.buffer), stream.position);
  }
  SetCurrentSectorMap(running);
  return bytes;
}

// A memory stream over a copy of bytes (with a spare byte: a stream needs a
// block even for no bytes).
class ReadStream {
 public:
  explicit ReadStream(const std::string& bytes) : copy_(bytes.begin(), bytes.end()) {
    copy_.push_back(0);
    if (!stream_.OpenBuffer(copy_.data(), static_cast<uint32_t>(bytes.size()), 1, 0)) {
      Fail("a stream over the bytes could not be opened");
    }
  }
  LumoStream* get() { return &stream_; }

 private:
  std::vector<uint8_t> copy_;
  LumoMemoryStream stream_;
};

void Place(const Placement& placement) {
  ThingInfo* info = CreateThing(placement.keyword, placement.x, placement.y, 0, placement.orientation,
                                placement.owner);
  if (info == nullptr) {
    Fail(std::string("CreateThing made no ") + placement.keyword);
  }
  if (info->Tid != placement.id) {
    Fail(std::string(placement.keyword) + " got the id " + std::to_string(info->Tid) + ", the script expects " +
         std::to_string(placement.id));
  }
}

// ---- The script ----

// The script's own generator: xorshift64*, seeded from the frame number.
class ScriptRandom {
 public:
  explicit ScriptRandom(int32_t frame) : state_(0x9e3779b97f4a7c15ull ^ (static_cast<uint64_t>(frame) * 0xbf58476d1ce4e5b9ull)) {
    if (state_ == 0) {
      state_ = 1;
    }
    Next();
  }
  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545f4914f6cdd1dull;
  }
  // 0 .. bound - 1.
  int32_t Below(int32_t bound) { return static_cast<int32_t>(Next() % static_cast<uint64_t>(bound)); }
  template <size_t N>
  int32_t Pick(const int32_t (&choices)[N]) {
    return choices[Below(static_cast<int32_t>(N))];
  }

 private:
  uint64_t state_;
};

struct Side {
  int32_t player;
  int32_t units[8];
  int32_t unitCount;
  int32_t leader;
};

const Side kSides[] = {
    {1, {2, 3, 4, 5, 6, 7}, 6, kCrewOne},
    {2, {8, 9, 10, 11, 12, 13}, 6, kCrewTwo},
    {4,
     {kLeaderFour, kSupporterFour, kSecondSupporterFour, kSkinFour, kChickFour, kSuitFour, kYobbFour, kRaverFour},
     8,
     kLeaderFour},
};

// Things the units are sent to.
constexpr int32_t kEnterable[] = {kPub, kHome, kShack, kPublic, kHotel, kManta, kGolf, kPlayersBus, kSecondPub};
constexpr int32_t kLootable[] = {kShop, kWeaponShop, kBank, kShack, kGirls, kDopeHouse, kHome};
constexpr int32_t kBuildings[] = {kPub,   kShop,  kHome,  kWeaponShop, kDopeHouse, kGirls,
                                  kHotel, kBank,  kShack, kPublic,     kSecondPub, kPoliceDept};
constexpr int32_t kCivilians[] = {kInnocent, kSecondInnocent, kShopOwner, kPoliceOne, kPoliceTwo, kRiot};

// Holds a package made by a builder and hands it to the logic.
void Apply(COrderPackage* package) {
  if (package == nullptr) {
    Fail("an order builder made nothing");
  }
  std::unique_ptr<COrderPackage, void (*)(COrderPackage*)> owned(package, DeleteOrderPackage);
  // A refused order (a unit that died, a shop that is shut) is part of the
  // game: the logic answers and the script goes on.
  AcceptOrder(owned.get());
}

// An enemy unit of the side: another side's unit, or the police and
// bystanders.
int32_t EnemyOf(const Side& side, ScriptRandom& random) {
  const int32_t pick = random.Below(3);
  if (pick == 2) {
    return random.Pick(kCivilians);
  }
  const Side& other = kSides[(static_cast<size_t>(&side - kSides) + 1 + static_cast<size_t>(pick)) % 3];
  return other.units[random.Below(other.unitCount)];
}

// Selects one to three of the side's units, the first replacing the
// selection; sometimes a whole leader's group.
void SelectSome(const Side& side, ScriptRandom& random) {
  if (random.Below(5) == 0) {
    Apply(GenerateGroupSelectionOrder(side.player, 1, false, true));
    return;
  }
  const int32_t count = 1 + random.Below(3);
  for (int32_t index = 0; index < count; ++index) {
    Apply(GenerateSelectionOrder(side.player, side.units[random.Below(side.unitCount)], index > 0, true));
  }
}

void GiveOrder(const Side& side, ScriptRandom& random) {
  const int32_t player = side.player;
  const bool queue = random.Below(4) == 0;
  const bool fast = random.Below(3) == 0;
  const int32_t x = 1 + random.Below(kMapSize - 2);
  const int32_t y = 1 + random.Below(kMapSize - 2);
  switch (random.Below(24)) {
    case 0:
    case 1:
    case 2:
      Apply(GenerateGotoOrder(player, x, y, queue, fast));
      break;
    case 3:
    case 4:
      Apply(GenerateAttackOrder(player, EnemyOf(side, random), queue, fast));
      break;
    case 5:
      Apply(GenerateThrowBrickOrder(player, EnemyOf(side, random), queue, fast));
      break;
    case 6:
      Apply(GenerateThrowMolotovOrder(player, random.Pick(kBuildings), queue, fast));
      break;
    case 7:
      Apply(GenerateThrowMolotovPlaceOrder(player, x, y, queue, fast));
      break;
    case 8:
      Apply(GenerateLootOrder(player, random.Pick(kLootable), queue, fast));
      break;
    case 9:
      Apply(GenerateEnterOrder(player, random.Pick(kEnterable), queue, fast));
      break;
    case 10: {
      // Drawn one by one: the order of a call's arguments is the compiler's
      // choice, and the script must be the same under every compiler.
      const int32_t beers = 1 + random.Below(3) * 2;
      const int32_t pub = random.Below(2) == 0 ? kPub : kSecondPub;
      Apply(GenerateBuyOrder(player, pub, beers));
      break;
    }
    case 11:
      Apply(GenerateChantOrder(player, queue, fast));
      break;
    case 12:
      Apply(GenerateRaveOrder(player, queue, fast));
      break;
    case 13:
      Apply(GeneratePatrollOrder(player, x, y, queue, fast));
      break;
    case 14:
      Apply(GenerateLeaveOrder(player, queue, fast));
      break;
    case 15:
      Apply(GenerateGiveBeerOrder(player, kPub, 1 + random.Below(3)));
      break;
    case 16:
      Apply(GenerateUpgradeSelectionOrder(player, kWeaponShop));
      break;
    case 17:
      Apply(GenerateBuyDopeSelectionOrder(player, kDopeHouse));
      break;
    case 18:
      Apply(GenerateHijackOrder(player, random.Below(2) == 0 ? kManta : kGolf, queue, fast));
      break;
    case 19:
      Apply(GenerateAttackOrder(player, random.Pick(kBuildings), queue, fast));
      break;
    case 20:
      Apply(GenerateFlirtOrder(player, kChickFour, queue, fast));
      break;
    case 21:
      Apply(GenerateBurgleOrder(player, random.Pick(kLootable), queue, fast));
      break;
    case 22:
      Apply(GenerateGotoThingOrder(player, kCup, queue, fast));
      break;
    default:
      Apply(GenerateAddToGroupOrder(player, side.leader));
      break;
  }
}

// Orders at fixed frames that make sure the game has its fights, a fire,
// a loot, a purchase and units in buildings and vehicles early on.
void PlayFixedActs(int32_t frame) {
  const auto only = [](int32_t player, int32_t unit) { Apply(GenerateSelectionOrder(player, unit, false, true)); };
  const auto all = [](int32_t player) { Apply(GenerateGroupSelectionOrder(player, 255, false, true)); };
  switch (frame) {
    case 2:
      all(1);
      Apply(GenerateAttackOrder(1, kSupporterFour, false, true));
      break;
    case 4:
      all(4);
      Apply(GenerateAttackOrder(4, kCrewOne, false, false));
      break;
    case 6:
      only(2, 10);
      Apply(GenerateThrowMolotovOrder(2, kGirls, false, true));
      break;
    case 9:
      only(2, 11);
      Apply(GenerateLootOrder(2, kDopeHouse, false, true));
      break;
    case 12:
      only(2, 9);
      Apply(GenerateThrowMolotovPlaceOrder(2, 30, 33, false, true));
      break;
    case 15:
      only(2, 12);
      Apply(GenerateEnterOrder(2, kPlayersBus, false, false));
      break;
    case 18:
      only(4, kSecondSupporterFour);
      Apply(GenerateThrowBrickOrder(4, 4, false, true));
      break;
    case 24:
      only(2, 13);
      Apply(GenerateHijackOrder(2, kGolf, false, true));
      break;
    case 30:
      // The riot officer gasses player 2's crew: a cloud that drifts for a
      // while.
      only(kPolicePlayer, kRiot);
      Apply(GenerateTearGasOrder(kPolicePlayer, 38, 39, false, true));
      // The police's group selection knows only its plain officers, so the
      // deselection of all groups would not reach the riot officer: it is
      // deselected by itself.
      Apply(GenerateSelectionOrder(kPolicePlayer, kRiot, false, false));
      break;
    case 40:
      Apply(GenerateBuyOrder(1, kPub, 3));
      break;
    case 52:
      // Among player 2's units now are the two yobbozers with molotovs that
      // the armoury trigger made: a fire.
      all(2);
      Apply(GenerateThrowMolotovPlaceOrder(2, 28, 36, false, true));
      break;
    case 90:
      all(2);
      Apply(GenerateThrowMolotovOrder(2, kGirls, false, false));
      break;
    case 44:
      all(2);
      Apply(GenerateChantOrder(2, false, false));
      break;
    default:
      break;
  }
}

}  // namespace

// ---- Starting ----

namespace {

// The level, built into the logic LogicStart has just started.
void BuildLevel() {
  if (!LogicCreate(kMapSize, kMapSize)) {
    Fail("LogicCreate failed");
  }
  {
    ReadStream stream(SectorMapBytes());
    ReplacePathPlanning(stream.get());
  }

  tCollection<int32_t> settings;
  for (int32_t value : {kCrews, kMoney, kMinutes, kScoreLimit}) {
    settings.Append(value);
  }
  tCollection<int32_t> places;
  for (int32_t value : kStartPlaces) {
    places.Append(value);
  }
  LogicSetupMultiPlayerGame(kGameCup, 2, &settings, &places);
  if (GetThingCount() != kSetUpThings) {
    Fail("the set-up made " + std::to_string(GetThingCount()) + " things, the script expects " +
         std::to_string(kSetUpThings));
  }
  if (!LogicPlayer(4)) {
    Fail("LogicPlayer(4) failed");
  }
  for (const Placement& placement : kLayout) {
    Place(placement);
  }
  // The barricade and the fence stand in borders of the sector map, which
  // open when they fall.
  ConnectBorderToBaricade(kBarricade, 4);
  ConnectBorderToBaricade(kFence, 7);
  PlanSpawnTrigger();
  PlanVictoryTrigger();
  PlanArmouryTrigger();
  PlanTrainArrival();
  PlanFarItem();
}

}  // namespace

void StartScenario() {
  if (!LogicStart()) {
    Fail("LogicStart failed");
  }
  BuildLevel();
}

void ApplyScriptedOrders(int32_t frame) {
  PlayFixedActs(frame);
  ScriptRandom random(frame);
  for (const Side& side : kSides) {
    // Besides the fixed acts each player gives an order about one frame in
    // ten, so most orders are carried out for a while before the next.
    if (random.Below(10) != 0) {
      continue;
    }
    if (random.Below(3) != 0) {
      SelectSome(side, random);
    }
    GiveOrder(side, random);
  }
  if (AllDeselected(frame)) {
    for (const Side& side : kSides) {
      Apply(GenerateGroupSelectionOrder(side.player, 255, false, false));
    }
  }
}

bool AllDeselected(int32_t frame) { return frame >= 0 && (frame % 25 == 7 || frame % 60 == 0); }

// ---- Hashes and saves ----

uint64_t HashBytes(const void* data, size_t length, uint64_t hash) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (size_t index = 0; index < length; ++index) {
    hash ^= bytes[index];
    hash *= 0x100000001b3ull;
  }
  return hash;
}

std::string SavedBytes() {
  LumoMemoryStream stream;
  if (!stream.OpenNew(1 << 16, 1, 0) || stream.SetGrowth(1 << 16) == 0 || !LogicSave(&stream)) {
    return {};
  }
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

uint64_t StateHash() {
  const std::string bytes = SavedBytes();
  if (bytes.empty()) {
    Fail("LogicSave failed");
  }
  return HashBytes(bytes.data(), bytes.size());
}

bool LoadBytes(const std::string& bytes) {
  ReadStream stream(bytes);
  return LogicLoad(stream.get());
}

// ---- The recording listener ----

void RecordingListener::Mix(const char* kind, std::initializer_list<int64_t> values, const std::string& text) {
  ++count_;
  hash_ = HashBytes(kind, std::strlen(kind) + 1, hash_);
  for (int64_t value : values) {
    uint8_t little[8];
    for (int32_t shift = 0; shift < 8; ++shift) {
      little[shift] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * shift));
    }
    hash_ = HashBytes(little, sizeof little, hash_);
  }
  const uint32_t length = static_cast<uint32_t>(text.size());
  hash_ = HashBytes(&length, sizeof length, hash_);
  hash_ = HashBytes(text.data(), text.size(), hash_);
  if (keepLines_) {
    std::string line = kind;
    for (int64_t value : values) {
      line += " " + std::to_string(value);
    }
    if (!text.empty()) {
      line += " [" + (text.size() > 40 ? "#" + std::to_string(HashBytes(text.data(), text.size())) : text) + "]";
    }
    lines_.push_back(line);
  }
}

namespace {

int64_t Bits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::string Text(const char* text) { return text != nullptr ? std::string(text) : std::string("(null)"); }

// A thing record by the bytes it stores.
std::string RecordBytes(ThingInfo* info) {
  if (info == nullptr) {
    return "(null)";
  }
  LumoMemoryStream stream;
  if (!stream.OpenNew(256, 1, 0) || stream.SetGrowth(256) == 0 || !info->SaveObject(&stream, 0)) {
    return "(unsaved)";
  }
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}

}  // namespace

void RecordingListener::EventMap(const void* grid) {
  const auto* map = static_cast<const YLKnowledgeMap*>(grid);
  Mix("map", {map != nullptr, map != nullptr ? map->GetWidth() : 0, map != nullptr ? map->GetHeight() : 0});
}

void RecordingListener::EventThing(ThingInfo* info, const char* typeName) {
  Mix("thing", {info != nullptr ? info->Tid : -1}, Text(typeName) + "|" + RecordBytes(info));
}

void RecordingListener::EventAction(int32_t id, const MoveStep* action) {
  if (action == nullptr) {
    Mix("action", {id, -1});
    return;
  }
  const MoveInfo* move = action->move;
  Mix("action", {id, action->x, action->y, action->facing, move != nullptr ? move->code : -1},
      move != nullptr && move->name.text != nullptr ? move->name.text : "");
}

void RecordingListener::EventEnter(int32_t unitId, int32_t containerId) { Mix("enter", {unitId, containerId}); }
void RecordingListener::EventExit(int32_t unitId, int32_t containerId) { Mix("exit", {unitId, containerId}); }
void RecordingListener::EventSpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value) {
  Mix("speech", {kind, subjectId, message, value});
}
void RecordingListener::EventSelection(int32_t player, int32_t id, int32_t selected) {
  Mix("selection", {player, id, selected});
}
void RecordingListener::EventGore(int32_t x, int32_t y, float amount, int32_t kind) {
  Mix("gore", {x, y, Bits(amount), kind});
}
void RecordingListener::EventSplat(int32_t x, int32_t y, float amount, int32_t kind) {
  Mix("splat", {x, y, Bits(amount), kind});
}
void RecordingListener::EventParameter(int32_t player, ParamEnum parameter, int32_t value) {
  Mix("parameter", {player, parameter, value});
}
void RecordingListener::EventProjectile(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY, int32_t kind) {
  Mix("projectile", {fromX, fromY, toX, toY, kind});
}
void RecordingListener::EventGameOver(int32_t player, int32_t won, void* passThrough) {
  Mix("gameover", {player, won, passThrough != nullptr});
}
void RecordingListener::EventTimer(int32_t player, int32_t framesLeft, const char* label) {
  Mix("timer", {player, framesLeft}, Text(label));
}
void RecordingListener::EventUnknownOrder(int32_t length, const void* payload) {
  const bool readable = payload != nullptr && length > 0;
  Mix("unknown", {length},
      readable ? std::string(static_cast<const char*>(payload), static_cast<size_t>(length)) : std::string());
}
void RecordingListener::EventSetObjectiveValue(int32_t objective, int32_t value, const char* text) {
  Mix("objective", {objective, value}, Text(text));
}
void RecordingListener::EventNewTask(int32_t task, const char* text) { Mix("task", {task}, Text(text)); }

uint64_t RecordingListener::TakeFrameHash() {
  const uint64_t hash = hash_;
  hash_ = 0xcbf29ce484222325ull;
  count_ = 0;
  return hash;
}

std::vector<std::string> RecordingListener::TakeLines() {
  std::vector<std::string> lines;
  lines.swap(lines_);
  return lines;
}

// ---- Runs ----

namespace {

// The runs' own listener, attached to whichever logic runs.
RecordingListener& RunListener() {
  static RecordingListener listener;
  return listener;
}

void Attach() {
  RecordingListener& listener = RunListener();
  if (listener.parent == nullptr && !LogicListener(&listener)) {
    Fail("LogicListener failed");
  }
}

// Runs until the frame counter reaches endFrame.
void RunTo(int32_t endFrame, const RunOptions& options, RunResult& result) {
  RecordingListener& listener = RunListener();
  for (int32_t frame = static_cast<int32_t>(GetFrame()); frame < endFrame; ++frame) {
    ApplyScriptedOrders(frame);
    if (!LogicCompute()) {
      Fail("LogicCompute failed at frame " + std::to_string(frame));
    }
    FrameHashes hashes;
    hashes.events = listener.TakeFrameHash();
    const bool last = frame + 1 == endFrame;
    bool keep = false;
    for (int32_t wanted : options.keepSavesAt) {
      keep = keep || wanted == frame;
    }
    if (options.hashEveryFrame || last || keep) {
      const std::string bytes = SavedBytes();
      if (bytes.empty()) {
        Fail("LogicSave failed at frame " + std::to_string(frame));
      }
      hashes.state = HashBytes(bytes.data(), bytes.size());
      if (keep) {
        for (size_t index = 0; index < options.keepSavesAt.size(); ++index) {
          if (options.keepSavesAt[index] == frame) {
            result.saves[index] = bytes;
          }
        }
      }
      if (last) {
        result.finalState = hashes.state;
      }
    }
    result.frames.push_back(hashes);
  }
}

}  // namespace

RunResult RunScenario(int32_t frames, const RunOptions& options) {
  RunResult result;
  result.saves.resize(options.keepSavesAt.size());
  if (!LogicStart()) {
    Fail("LogicStart failed");
  }
  Attach();
  BuildLevel();
  RunTo(frames, options, result);
  return result;
}

RunResult ContinueFromSave(const std::string& saved, int32_t endFrame, const RunOptions& options) {
  RunResult result;
  result.saves.resize(options.keepSavesAt.size());
  if (!LoadBytes(saved)) {
    Fail("LogicLoad refused the saved bytes");
  }
  Attach();
  // The load tells the listeners what the game holds: not part of a frame.
  RunListener().TakeFrameHash();
  RunTo(endFrame, options, result);
  return result;
}

// ---- Comparing ----

std::string DescribeFirstDifference(const std::string& expected, const std::string& actual) {
  size_t offset = 0;
  while (offset < expected.size() && offset < actual.size() && expected[offset] == actual[offset]) {
    ++offset;
  }
  if (offset == expected.size() && offset == actual.size()) {
    return {};
  }
  // The nearest run of at least four printable characters before the
  // offset: a marker text or a class name, as far as one tells.
  std::string context;
  size_t end = std::min(offset, expected.size());
  while (end > 0 && context.empty()) {
    size_t start = end;
    while (start > 0 && expected[start - 1] >= 0x21 && expected[start - 1] <= 0x7e) {
      --start;
    }
    if (end - start >= 4) {
      context = expected.substr(start, end - start);
    }
    end = start == end ? end - 1 : start;
  }
  char line[160];
  const int expectedByte = offset < expected.size() ? static_cast<uint8_t>(expected[offset]) : -1;
  const int actualByte = offset < actual.size() ? static_cast<uint8_t>(actual[offset]) : -1;
  std::snprintf(line, sizeof line, "first difference at byte %zu of %zu/%zu: %d != %d", offset, expected.size(),
                actual.size(), expectedByte, actualByte);
  return std::string(line) + (context.empty() ? "" : ", after \"" + context + "\"");
}

int32_t FirstDifferentFrame(const std::vector<FrameHashes>& expected, const std::vector<FrameHashes>& actual) {
  const size_t common = std::min(expected.size(), actual.size());
  for (size_t index = 0; index < common; ++index) {
    if (!(expected[index] == actual[index])) {
      return static_cast<int32_t>(index);
    }
  }
  return expected.size() == actual.size() ? -1 : static_cast<int32_t>(common);
}

}  // namespace scenario
