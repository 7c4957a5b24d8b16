// The thing table's bookkeeping and the factories that make the things of a
// level: units, buildings, vehicles, the cup and the obstacles.

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/Police.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTBusDriver.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLTLoods.h"
#include "logic/world/YLTLvl11Fence.h"
#include "logic/world/YLTMEBus.h"
#include "logic/world/YLTPub.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLTShop.h"
#include "logic/world/YLTTrain.h"
#include "logic/world/YLUnitBiker.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitShopOwner.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

template <typename T>
using Owned = std::unique_ptr<T, tObjectDestroyer>;

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }
bool Equals(const char* text, const char* other) { return std::strcmp(text, other) == 0; }

// The unit kinds a keyword "Unit..." names, in unit-type order from 1.
constexpr const char* kUnitKeywords[] = {"Rat",   "Raver",  "Supporter", "Suit",  "Police", "Riot",
                                         "Biker", "Skin",   "Rozav",     "Leader", "Chick", "Yobbozer"};
constexpr int32_t kLeaderType = 10;
constexpr const char* kCreatedLeaderName = "bla";
// The name of a leader made without one.
constexpr const char* kPlaceholderName = "Joe Average";

// The keywords the building factory knows, with the kind each building
// gets; the first match wins.
struct BuildingKeyword {
  const char* prefix;
  int32_t kind;
};
constexpr BuildingKeyword kBuildingKeywords[] = {
    {"Public", YLTBuilding::kPublic},  {"Shop", YLTBuilding::kOther},       {"Home", YLTBuilding::kHome},
    {"Pub", YLTBuilding::kPub},        {"Weapon", YLTBuilding::kWeaponShop}, {"Dope", YLTBuilding::kDopeHouse},
    {"Girls", YLTBuilding::kGirls},    {"PDept", YLTBuilding::kPoliceDept},  {"Hotel", YLTBuilding::kHotel},
    {"Bank", YLTBuilding::kBank},
};

// The buses and their types; the truck is known by its first ten letters.
struct BusKeyword {
  const char* name;
  size_t length;
  int32_t type;
};
constexpr BusKeyword kBusKeywords[] = {{"Vehicle021-spelersbus", 21, YLTCar::kTypePlayersBus},
                                       {"Vehicle038-bus2", 15, YLTCar::kTypeBus2},
                                       {"Vehicle026-truck", 10, YLTCar::kTypeTruck}};
constexpr int32_t kBusCapacity = 40;

struct VehicleKeyword {
  const char* name;
  int32_t type;
  int32_t capacity;
};
constexpr VehicleKeyword kVehicleKeywords[] = {{"Vehicle022-Manta", YLTCar::kTypeManta, 5},
                                               {"Vehicle023-Tram", YLTCar::kTypeTram, 40},
                                               {"Vehicle020-mebus", YLTCar::kTypeRiotBus, YLTMEBus::kCapacity},
                                               {"Vehicle025-golf", YLTCar::kTypeGolf, 13}};
constexpr int32_t kOtherVehicleCapacity = 1;

constexpr const char* kTrainKeyword = "TransTrain";
constexpr const char* kRiotBusKeyword = "Vehicle020-mebus";
constexpr const char* kConducterType = "TrainConducter";
constexpr const char* kBusDriverType = "BusDriver";

constexpr int32_t kBrickType = 14;

bool MatchesBus(const char* keyword, const BusKeyword& bus) { return std::strncmp(keyword, bus.name, bus.length) == 0; }

// The driver's mode code for the bus's orientation; 0 leaves the mode as
// constructed.
int32_t BusDriverCode(uint8_t orientation, bool truck) {
  switch (orientation) {
    case 1:
      return 6;
    case 3:
      return 7;
    case 5:
      return truck ? 8 : 0;
    default:
      return 0;
  }
}

// The class of a unit type: the unit types by number, any other type by its
// name.
YLUnit* MakeUnit(const CLogic& logic, int32_t type) {
  switch (type) {
    case 1:
      return new YLUnitRat;
    case 2:
      return new YLUnitRaver;
    case 3:
      return new YLUnitSupporter;
    case 4:
      return new YLUnitSuit;
    case 5:
      return new Police;
    case 6:
      return new MEUnit;
    case 7:
      return new YLUnitBiker;
    case 8:
      // The skins are hard-core fans that pubs recruit: a player selects them.
      return new YLUnitHardCore;
    case 9:
      return new YLUnitRozav;
    case kLeaderType:
      return new YLUnitLeader;
    case 11:
      return new YLUnitChick;
    case 12:
      return new YLUnitYobb;
    default:
      break;
  }
  const char* name = logic.GetString(type);
  if (name != nullptr && StartsWith(name, "Owner")) {
    return new YLUnitShopOwner;
  }
  if (name != nullptr && StartsWith(name, "InnocentDriver")) {
    return new YLUnitInnocentDriver;
  }
  return new YLUnit;
}

YLThing* MakeBuilding(const char* keyword) {
  if (StartsWith(keyword, "Public")) {
    return new YLTBuilding;
  }
  if (StartsWith(keyword, "Shack")) {
    return new YLTLoods;
  }
  if (StartsWith(keyword, "Pub")) {
    return new YLTPub;
  }
  if (StartsWith(keyword, "Weapon")) {
    return new YLTWeaponShop;
  }
  if (StartsWith(keyword, "Dope")) {
    return new YLTDopeHouse;
  }
  if (StartsWith(keyword, "Girls")) {
    return new YLTSexShop;
  }
  if (StartsWith(keyword, "Hotel")) {
    return new YLTSuitHangout;
  }
  if (StartsWith(keyword, "Bank")) {
    return new YLTBank;
  }
  if (Equals(keyword, "PDept")) {
    return new YLTPoliceDept;
  }
  return new YLTBuilding;
}

// The building kind a keyword gives; a keyword that only begins with
// "PDept" makes no police department and counts as another building.
int32_t BuildingKind(const char* keyword) {
  if (StartsWith(keyword, "PDept") && !Equals(keyword, "PDept")) {
    return YLTBuilding::kOther;
  }
  for (const BuildingKeyword& entry : kBuildingKeywords) {
    if (StartsWith(keyword, entry.prefix)) {
      return entry.kind;
    }
  }
  return YLTBuilding::kOther;
}

YLThing* MakeObstacle(const char* keyword, uint8_t& orientation) {
  if (StartsWith(keyword, "Push")) {
    const size_t length = std::strlen(keyword);
    const char last = keyword[length - 1];
    if (last >= '0' && last <= '9') {
      orientation = static_cast<uint8_t>(last - '0');
    }
    return new YLTBaricade;
  }
  if (StartsWith(keyword, "Move")) {
    return new YLTPushableThing;
  }
  if (Equals(keyword, "Obst763_flowerfield") || Equals(keyword, "Obst776-flowerfield") ||
      Equals(keyword, "Obst777-flowerfield")) {
    return new YLTBloemBollen;
  }
  if (StartsWith(keyword, "Obst773") || StartsWith(keyword, "Obst774") || StartsWith(keyword, "Obst775")) {
    return new YLTLvl11Fence;
  }
  return new YLThing;
}

// A new record at the place, of the type and owner.
void SetUpRecord(YLThing& thing, int32_t x, int32_t y, int32_t z, uint8_t orientation, int32_t type, int32_t owner) {
  thing.CreateInfo(0);
  thing.SetX(x);
  thing.SetY(y);
  thing.SetZ(z);
  thing.SetOrientation(orientation);
  thing.SetType(type);
  thing.SetOwner(owner);
}

// Gives the thing its id; a leader's group is named after it.
void Stamp(YLThing& thing, int32_t id) {
  thing.Info->Tid = id;
  thing.ID = static_cast<uint32_t>(id);
  if (auto* leader = dynamic_cast<LeaderInfo*>(thing.Info.get())) {
    leader->Leader = id;
  }
}

}  // namespace

// ---- The thing table ----

int32_t CLogic::FindFreeThingID() const {
  const int32_t length = Things != nullptr ? Things->count : 0;
  for (int32_t id = 1; id < length; ++id) {
    if ((*Things)[id] == nullptr) {
      return id;
    }
  }
  const int32_t next = length < 1 ? 1 : length;
  return next < kMaxThings ? next : 0;
}

bool CLogic::AddThing(YLThing* thing) {
  if (thing == nullptr || thing->Info == nullptr) {
    DebugPrint("CLogic::AddThing: no thing or no record to add\n");
    return false;
  }
  const int32_t id = thing->Info->Tid;
  if (id < 1 || id >= kMaxThings) {
    DebugPrint("CLogic::AddThing: refused id %d, outside 1-%d\n", id, kMaxThings - 1);
    return false;
  }
  if (Things == nullptr) {
    Things.reset(new LumoObjects(true));
  }
  if (id < Things->count && (*Things)[id] != nullptr) {
    DebugPrint("CLogic::AddThing: refused id %d, its slot is taken\n", id);
    return false;
  }
  if (Things->count <= id && !Things->SetCount(id + 1)) {
    DebugPrint("CLogic::AddThing: the thing table cannot grow to %d\n", id + 1);
    return false;
  }
  (*Things)[id] = thing;
  thing->ID = static_cast<uint32_t>(id);
  ++ThingCount;
  const bool inside = thing->GetContainer() != nullptr || (thing->Info->Status & StatusInContainer) != 0;
  if (Map != nullptr && !inside) {
    Map->PlaceThing(thing);
  }
  if (CPlayer* player = GetPlayer(thing->GetOwner())) {
    player->OnThingOwned(true, thing);
  }
  return true;
}

YLThing* CLogic::GetThingAt(int32_t x, int32_t y) const {
  if (Map == nullptr) {
    return nullptr;
  }
  const int32_t id = Map->GetThingIDAt(x, y);
  return id != 0 ? GetThing(id) : nullptr;
}

YLThing* CLogic::FindThingAtPosition(int32_t x, int32_t y) const {
  for (int32_t id = Things != nullptr ? Things->count - 1 : -1; id >= 0; --id) {
    YLThing* thing = GetThing(id);
    if (thing != nullptr && thing->Info != nullptr && thing->Info->X == x && thing->Info->Y == y) {
      return thing;
    }
  }
  return nullptr;
}

void CLogic::RelinkThings() {
  CupID = 0;
  for (int32_t id = 1; Things != nullptr && id < Things->count; ++id) {
    if (CupID == 0 && dynamic_cast<YLTCup*>(GetThing(id)) != nullptr) {
      CupID = id;
    }
    auto* vehicle = CarOf(GetThing(id));
    const auto* record = vehicle != nullptr ? dynamic_cast<const VehicleInfo*>(vehicle->Info.get()) : nullptr;
    if (record == nullptr || record->DriverID == 0) {
      continue;
    }
    YLThing* driver = record->DriverID != id ? GetThing(record->DriverID) : nullptr;
    YLTDriver* part = driver != nullptr ? driver->AsDriver() : nullptr;
    if (part == nullptr) {
      DebugPrint("CLogic::RelinkThings: vehicle %d names driver %d, which cannot drive\n", id, record->DriverID);
      vehicle->SetDriver(nullptr);
      continue;
    }
    part->SetVehicle(vehicle);
  }
}

YLTCup* CLogic::GetCup() const { return CupID != 0 ? dynamic_cast<YLTCup*>(GetThing(CupID)) : nullptr; }

// ---- Factories ----

namespace {

// Stores a new thing under the id: it runs its set-up for its type and is
// announced. The table takes it over; false (the caller keeping it) when
// the id is refused.
bool StoreNew(CLogic& logic, YLThing& thing, int32_t id) {
  Stamp(thing, id);
  if (!logic.AddThing(&thing)) {
    return false;
  }
  thing.InitFromType();
  return true;
}

void Announce(CLogic& logic, YLThing& thing) {
  logic.NotifyThing(thing.Info.get(), logic.GetString(thing.Info->Gfx));
}

// The next free id after the given one, for a second thing made together
// with the first.
int32_t FreeIdAfter(const CLogic& logic, int32_t id) {
  const int32_t length = logic.Things != nullptr ? logic.Things->count : 0;
  for (int32_t next = id + 1; next < length; ++next) {
    if ((*logic.Things)[next] == nullptr) {
      return next;
    }
  }
  const int32_t next = length > id + 1 ? length : id + 1;
  return next < CLogic::kMaxThings ? next : 0;
}

void EnsurePlayer(CLogic& logic, int32_t owner) {
  if (owner != 0 && logic.GetPlayer(owner) == nullptr) {
    logic.CreatePlayer(owner);
  }
}

}  // namespace

ThingInfo* CLogic::CreateThing(const char* keyword, int32_t x, int32_t y, int32_t z, uint8_t orientation,
                               int32_t owner) {
  if (keyword == nullptr) {
    return nullptr;
  }
  YLThing* made = nullptr;
  if (StartsWith(keyword, "Unit")) {
    int32_t type = 0;
    for (int32_t index = 0; index < static_cast<int32_t>(std::size(kUnitKeywords)) && type == 0; ++index) {
      if (StartsWith(keyword + 4, kUnitKeywords[index])) {
        type = index + 1;
      }
    }
    if (type == kLeaderType) {
      made = CreateUnitAt(x, y, z, 0, kLeaderType, owner, kCreatedLeaderName, orientation);
    } else {
      made = CreateUnitAt(x, y, z, 0, type != 0 ? type : AddString(keyword), owner, nullptr, orientation);
    }
  } else if (StartsWith(keyword, "Innocent") || StartsWith(keyword, "Owner")) {
    made = CreateUnitAt(x, y, z, 0, AddString(keyword), owner, nullptr, orientation);
  } else if (StartsWith(keyword, "Public") || StartsWith(keyword, "Shack") ||
             std::any_of(std::begin(kBuildingKeywords), std::end(kBuildingKeywords),
                         [&](const BuildingKeyword& entry) { return StartsWith(keyword, entry.prefix); })) {
    made = CreateBuilding(x, y, z, orientation, owner, AddString(keyword), keyword);
  } else if (StartsWith(keyword, "Trans") || StartsWith(keyword, "Vehicle")) {
    made = CreateVehicle(x, y, z, orientation, owner, keyword);
  } else if (StartsWith(keyword, "Cup")) {
    const int32_t type = AddString(keyword);
    Owned<YLTCup> cup(new YLTCup(x, y));
    const int32_t id = FindFreeThingID();
    if (id != 0) {
      Stamp(*cup, id);
    }
    if (id == 0 || !AddThing(cup.get())) {
      DebugPrint("CLogic::CreateThing: no free id for %s\n", keyword);
      CupID = 0;
      return nullptr;
    }
    YLTCup* placed = cup.release();
    placed->SetType(type);
    placed->InitFromType();
    CupID = id;
    Announce(*this, *placed);
    made = placed;
  } else {
    const int32_t type = AddString(keyword);
    Owned<YLThing> thing(MakeObstacle(keyword, orientation));
    SetUpRecord(*thing, x, y, z, orientation, type, owner);
    if (StartsWith(keyword, "Scene")) {
      thing->Info->Status |= StatusScenery;
    }
    if (StartsWith(keyword, "Brick")) {
      thing->Info->BuildingType = kBrickType;
    }
    thing->BuildGroundMap();
    const int32_t id = FindFreeThingID();
    if (id == 0 || !StoreNew(*this, *thing, id)) {
      DebugPrint("CLogic::CreateThing: no free id for %s\n", keyword);
      return nullptr;
    }
    made = thing.release();
    Announce(*this, *made);
  }
  return made != nullptr ? made->Info.get() : nullptr;
}

YLThing* CLogic::CreateBuilding(int32_t x, int32_t y, int32_t z, uint8_t orientation, int32_t owner, int32_t type,
                                const char* keyword) {
  if (keyword == nullptr) {
    return nullptr;
  }
  Owned<YLThing> building(MakeBuilding(keyword));
  SetUpRecord(*building, x, y, z, orientation, type, owner);
  if (auto* kind = dynamic_cast<YLTBuilding*>(building.get())) {
    kind->SetBuildingType(BuildingKind(keyword));
  }
  building->BuildGroundMap();
  const int32_t id = FindFreeThingID();
  if (id == 0 || !StoreNew(*this, *building, id)) {
    DebugPrint("CLogic::CreateBuilding: no free id for %s\n", keyword);
    return nullptr;
  }
  YLThing* made = building.release();
  Announce(*this, *made);
  return made;
}

YLThing* CLogic::CreateVehicle(int32_t x, int32_t y, int32_t z, uint8_t orientation, int32_t owner,
                               const char* keyword) {
  if (keyword == nullptr) {
    return nullptr;
  }
  const int32_t type = AddString(keyword);
  const int32_t id = FindFreeThingID();
  if (Equals(keyword, kTrainKeyword)) {
    // The train starts off the map at its own start, its conductor with it.
    Owned<YLTTrain> train(new YLTTrain);
    train->CreateInfo(0);
    train->SetType(type);
    train->SetOwner(owner);
    train->SetVehicleType(YLTCar::kTypeTrain);
    train->OnAddToMap(Map.get());
    Owned<YLTTrainConducter> conducter(new YLTTrainConducter);
    conducter->CreateInfo(0);
    conducter->SetX(train->Info->X);
    conducter->SetY(train->Info->Y);
    conducter->SetOrientation(train->Info->Ori);
    conducter->SetType(AddString(kConducterType));
    conducter->SetOwner(owner);
    const int32_t conducterId = id != 0 ? FreeIdAfter(*this, id) : 0;
    if (conducterId == 0 || !StoreNew(*this, *train, id)) {
      DebugPrint("CLogic::CreateVehicle: no free ids for %s\n", keyword);
      return nullptr;
    }
    YLTTrain* made = train.release();
    StoreNew(*this, *conducter, conducterId);
    YLTTrainConducter* driver = conducter.release();
    driver->SetVehicle(made);
    Announce(*this, *made);
    Announce(*this, *driver);
    return made;
  }

  Owned<YLTCar> car(Equals(keyword, kRiotBusKeyword) ? new YLTMEBus : new YLTCar);
  SetUpRecord(*car, x, y, z, orientation, type, owner);
  const BusKeyword* bus = nullptr;
  for (const BusKeyword& entry : kBusKeywords) {
    if (bus == nullptr && MatchesBus(keyword, entry)) {
      bus = &entry;
    }
  }
  if (bus == nullptr) {
    int32_t vehicleType = YLTCar::kTypeCar;
    int32_t capacity = kOtherVehicleCapacity;
    for (const VehicleKeyword& entry : kVehicleKeywords) {
      if (Equals(keyword, entry.name)) {
        vehicleType = entry.type;
        capacity = entry.capacity;
      }
    }
    car->SetVehicleType(vehicleType);
    car->SetMaxItems(capacity);
    // On the map the vehicle table of the vehicles decides.
    car->OnAddToMap(Map.get());
    if (id == 0 || !StoreNew(*this, *car, id)) {
      DebugPrint("CLogic::CreateVehicle: no free id for %s\n", keyword);
      return nullptr;
    }
    YLTCar* made = car.release();
    Announce(*this, *made);
    return made;
  }

  car->SetVehicleType(bus->type);
  car->SetMaxItems(kBusCapacity);
  car->OnAddToMap(Map.get());
  Owned<YLTBusDriver> busDriver(new YLTBusDriver);
  SetUpRecord(*busDriver, x, y, z, orientation, AddString(kBusDriverType), owner);
  const int32_t code = BusDriverCode(orientation, bus->type == YLTCar::kTypeTruck);
  if (code != 0) {
    busDriver->SetMode(code);
  }
  const int32_t driverId = id != 0 ? FreeIdAfter(*this, id) : 0;
  if (driverId == 0 || !StoreNew(*this, *car, id)) {
    DebugPrint("CLogic::CreateVehicle: no free ids for %s\n", keyword);
    return nullptr;
  }
  YLTCar* made = car.release();
  StoreNew(*this, *busDriver, driverId);
  YLTBusDriver* driver = busDriver.release();
  // The driver sits in its bus: it is placed, then taken off the map. Its
  // cell is one of the bus's, which taking it off cleared, so the bus is
  // placed again.
  if (Map != nullptr) {
    Map->RemoveThing(driver);
    Map->PlaceThing(made);
  }
  driver->SetVehicle(made);
  Announce(*this, *made);
  Announce(*this, *driver);
  return made;
}

YLUnit* CLogic::CreateUnitAt(int32_t x, int32_t y, int32_t z, int32_t id, int32_t type, int32_t owner,
                             const char* name, uint8_t orientation) {
  if (type != kLeaderType && name != nullptr) {
    type = AddString(name);
  }
  if (id == 0) {
    id = FindFreeThingID();
  }
  if (id == 0) {
    DebugPrint("CLogic::CreateUnitAt: no free id for a unit of type %d\n", type);
    return nullptr;
  }
  Owned<YLUnit> unit(MakeUnit(*this, type));
  SetUpRecord(*unit, x, y, z, orientation, type, owner);
  if (auto* leader = dynamic_cast<YLUnitLeader*>(unit.get())) {
    leader->SetLeaderName(name != nullptr ? name : kPlaceholderName);
  }
  EnsurePlayer(*this, owner);
  if (!StoreNew(*this, *unit, id)) {
    return nullptr;
  }
  YLUnit* made = unit.release();
  Announce(*this, *made);
  // The kinds that take up a place (a shop's door, a group) do it now.
  if (Map != nullptr && made->GetContainer() == nullptr) {
    made->OnAddToMap(Map.get());
  }
  return made;
}

YLUnit* CLogic::CreateLeader(int32_t x, int32_t y, int32_t z, const char* name, int32_t owner) {
  return CreateUnitAt(x, y, z, 0, kLeaderType, owner, name != nullptr ? name : kPlaceholderName);
}

namespace {

// A unit made inside a container: it takes the container's entrance as its
// place, goes in before it is stored (so it is not placed on the map) and
// is announced with its entering.
YLUnit* CreateInside(CLogic& logic, int32_t type, int32_t owner, YLThing* where, const char* name) {
  auto* container = dynamic_cast<YLTContainerThing*>(where);
  if (container == nullptr || container->Info == nullptr) {
    DebugPrint("CLogic::CreateUnit: thing %d is no container for a unit of type %d\n",
               where != nullptr ? where->GetTid() : 0, type);
    return nullptr;
  }
  const int32_t id = logic.FindFreeThingID();
  if (id == 0) {
    DebugPrint("CLogic::CreateUnit: no free id for a unit of type %d\n", type);
    return nullptr;
  }
  Owned<YLUnit> unit(MakeUnit(logic, type));
  SetUpRecord(*unit, container->GetX(), container->GetY(), 0, 0, type, owner);
  if (auto* leader = dynamic_cast<YLUnitLeader*>(unit.get())) {
    leader->SetLeaderName(name != nullptr ? name : kPlaceholderName);
  }
  EnsurePlayer(logic, owner);
  Stamp(*unit, id);
  container->Enter(unit.get());
  if (!StoreNew(logic, *unit, id)) {
    container->Leave(unit.get());
    return nullptr;
  }
  YLUnit* made = unit.release();
  Announce(logic, *made);
  logic.NotifyEnter(id, container->GetTid());
  return made;
}

}  // namespace

YLUnit* CLogic::CreateUnit(int32_t type, int32_t owner, YLThing* container) {
  return CreateInside(*this, type, owner, container, nullptr);
}

YLUnit* CLogic::SpawnLeaderInBuilding(const char* name, int32_t owner, YLThing* container) {
  return CreateInside(*this, kLeaderType, owner, container, name);
}
