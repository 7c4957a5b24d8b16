#include "logic/world/YLTCar.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/world/YLUnit.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/GroundMap.h"
#include "logic/world/MoveInfoKinds.h"

namespace {

LumoClassOf<YLTCar> classOfYLTCar(kVersion_1_6_0_6, "YLTCar", "YLTContainerThing");

struct Cell {
  int32_t dx;
  int32_t dy;
};

// The car body of facings 0-3; facings 4-7 are these turned half round.
constexpr Cell kCarBody[4][7] = {
    {{0, -1}, {0, -2}, {0, -3}, {1, 0}, {1, -1}, {1, -2}, {1, -3}},
    {{1, 1}, {1, 0}, {1, -1}, {2, -2}, {2, -1}, {2, 0}, {3, -1}},
    {{0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}, {3, 0}, {3, 1}},
    {{-1, 1}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {1, 3}, {2, 2}},
};

// The long buses' diagonal body, as columns dx with their first and last dy.
struct Column {
  int32_t dx;
  int32_t firstDy;
  int32_t lastDy;
};
constexpr Column kLongBusBody[] = {{1, 1, 1},   {0, 0, 2},   {-1, -1, 3}, {-2, 0, 4}, {-3, 1, 5},
                                   {-4, 2, 6},  {-5, 3, 7},  {-6, 4, 6},  {-7, 5, 5}};

constexpr Cell kTruckBody[] = {{1, -1}, {0, 0},  {0, -1}, {0, -2}, {-1, 1},  {-1, 0}, {-1, -1},
                               {-2, 2}, {-2, 1}, {-2, 0}, {-3, 3}, {-3, 2}, {-3, 1}, {-4, 2}};

// The vehicles by name: their type and what the type gives them. A
// capacity of 0 keeps the one the vehicle has.
struct NamedVehicle {
  const char* name;
  int32_t type;
};
constexpr NamedVehicle kNamedVehicles[] = {
    {"Vehicle022-Manta", YLTCar::kTypeManta},        {"Vehicle020-mebus", YLTCar::kTypeRiotBus},
    {"TransTrain", YLTCar::kTypeTrain},               {"Vehicle023-Tram", YLTCar::kTypeTram},
    {"Vehicle021-spelersbus", YLTCar::kTypePlayersBus}, {"Vehicle025-golf", YLTCar::kTypeGolf},
    {"Vehicle038-bus2", YLTCar::kTypeBus2},
};
struct TypeCapacity {
  int32_t type;
  int32_t capacity;
};
constexpr TypeCapacity kTypeCapacities[] = {{YLTCar::kTypeManta, 7},
                                            {YLTCar::kTypeRiotBus, 13},
                                            {YLTCar::kTypeTrain, 150},
                                            {YLTCar::kTypeTram, 150},
                                            {YLTCar::kTypeGolf, 5}};
// The players' bus is entered two cells south of its position.
constexpr int32_t kPlayersBusExitY = 2;
// What a vehicle weighs in a fight.
constexpr float kVehicleDamage = 10.0f;
constexpr int32_t kFirstVehicleMove = 15;

constexpr uint32_t kTruckMask = 0xF5FFFFFFu;
constexpr uint32_t kBusBits = 0x5000000u;
constexpr float kRiotBusArmor = 0.6f;

void BuildBody(GroundMap& ground, int32_t type) {
  switch (type) {
    case YLTCar::kTypeCar:
    case YLTCar::kTypeManta:
    case YLTCar::kTypeRiotBus:
    case YLTCar::kTypeGolf:
      for (int32_t facing = 0; facing < 4; ++facing) {
        for (const Cell& cell : kCarBody[facing]) {
          ground.AddPoint(facing, cell.dx, cell.dy);
          ground.AddPoint(facing + 4, -cell.dx, -cell.dy);
        }
      }
      break;
    case YLTCar::kTypePlayersBus:
    case YLTCar::kTypeBus2:
      for (const Column& column : kLongBusBody) {
        for (int32_t dy = column.firstDy; dy <= column.lastDy; ++dy) {
          ground.AddPoint(5, column.dx, dy);
          ground.AddPoint(1, column.dx, dy);
          ground.AddPoint(3, -column.dx, dy);
        }
      }
      for (const int32_t facing : {0, 2, 4, 6, 7}) {
        ground.AddPoint(facing, 1, 1);
      }
      break;
    case YLTCar::kTypeTruck:
      for (const Cell& cell : kTruckBody) {
        ground.AddPoint(5, cell.dx, cell.dy);
      }
      break;
    default:
      break;  // the train and the tram have no body of their type
  }
}

}  // namespace

YLTCar::YLTCar() = default;

bool YLTCar::OnAddToMap(CMap*) {
  const CLogic* logic = GetLogic();
  const char* name = logic != nullptr && Info != nullptr ? logic->GetString(Info->Gfx) : nullptr;
  for (const NamedVehicle& entry : kNamedVehicles) {
    if (name != nullptr && std::strcmp(name, entry.name) == 0) {
      SetVehicleType(entry.type);
      break;
    }
  }
  ApplyTypeCapacity();
  return true;
}

void YLTCar::ApplyTypeCapacity() {
  if (Info == nullptr) {
    return;
  }
  const int32_t type = GetVehicleType();
  for (const TypeCapacity& entry : kTypeCapacities) {
    if (entry.type == type) {
      SetMaxItems(entry.capacity);
    }
  }
  if (type == kTypeRiotBus) {
    Info->Armor = kRiotBusArmor;
  }
  // The truck's bits read as the players' bus too, but it keeps its own
  // entrance: only the players' bus is entered behind.
  ContainerInfo* container = GetContainerInfo();
  const CLogic* logic = GetLogic();
  const char* name = logic != nullptr ? logic->GetString(Info->Gfx) : nullptr;
  if (container != nullptr && type == kTypePlayersBus && name != nullptr &&
      std::strcmp(name, "Vehicle021-spelersbus") == 0) {
    container->ExitX = 0;
    container->ExitY = kPlayersBusExitY;
  }
}

bool YLTCar::PlaceKindD() const { return true; }

bool YLTCar::CanEnter(YLUnit* unit) const {
  if (unit == nullptr || Info == nullptr || !YLTContainerThing::CanEnter(unit)) {
    return false;
  }
  const YLTDriver* driver = GetDriver();
  return Info->MoveNumber == 1 || driver == nullptr || (Info->Status & kStatusDoorsClosed) == 0 ||
         driver == unit->AsDriver() || (unit->Info != nullptr && (unit->Info->Status & kStatusArrested) != 0);
}

void YLTCar::Enter(YLUnit* unit) {
  if (unit == nullptr) {
    return;
  }
  YLTDriver* part = unit->AsDriver();
  if (GetDriver() == nullptr && part != nullptr) {
    part->SetVehicle(this);
    TakeOwner(unit->GetOwner());
  }
  YLTContainerThing::Enter(unit);
}

void YLTCar::TakeOwner(int32_t owner) {
  const int32_t old = GetOwner();
  if (old == owner) {
    return;
  }
  CLogic* logic = GetLogic();
  const bool counted = logic != nullptr && Info != nullptr && logic->GetThing(Info->Tid) == this;
  if (CPlayer* player = counted ? logic->GetPlayer(old) : nullptr) {
    player->OnThingOwned(false, this);
  }
  SetOwner(owner);
  if (CPlayer* player = counted ? logic->GetPlayer(owner) : nullptr) {
    player->OnThingOwned(true, this);
  }
}

void YLTCar::Leave(YLUnit* unit) {
  const bool wasDriver = unit != nullptr && GetDriver() != nullptr && GetDriver() == unit->AsDriver();
  YLTContainerThing::Leave(unit);
  if (!wasDriver) {
    return;
  }
  unit->AsDriver()->SetVehicle(nullptr);
  if (Info != nullptr) {
    Info->Status &= ~kStatusDoorsClosed;
  }
  for (int32_t index = 0; index < GetContainedCount(); ++index) {
    YLUnit* next = GetContainedThing(index);
    if (YLTDriver* part = next != nullptr ? next->AsDriver() : nullptr) {
      part->SetVehicle(this);
      break;
    }
  }
}

float YLTCar::GetDamage() const { return kVehicleDamage; }

void YLTCar::GetDebugText(tString& text) const {
  const YLTDriver* driver = GetDriver();
  char line[64];
  if (driver != nullptr) {
    std::snprintf(line, sizeof line, "car - driven by %d (%d)\n", driver->GetDriverTid(), GetContainedCount());
  } else {
    std::snprintf(line, sizeof line, "car - not driven (%d)\n", GetContainedCount());
  }
  text = line;
}

bool YLTCar::Push(YLThing* pusher) {
  if (GetContainedCount() > 0 && UnitOf(pusher) != nullptr) {
    return false;
  }
  return YLTPushable::Push(pusher);
}

bool YLTCar::Propagate() {
  if (Info != nullptr && Info->MoveNumber >= kFirstVehicleMove && GetMoveInfo(Info->MoveNumber) != nullptr) {
    MoveInfo* move = GetMoveInfo(Info->MoveNumber);
    const MoveStep step = move->MakeStep(Info->X, Info->Y, Info->GetFacing());
    if (GetTime() >= move->GetMoveTime(Info->Gfx, Info->Ori) && move->Perform(this, GetLogic())) {
      SetX(step.x);
      SetY(step.y);
      SetOrientation(static_cast<uint8_t>((Info->Ori & ~7) | step.facing));
      CarryAlong();
      StartMove(move);
      ReportAction();
    }
  }
  if (!YLTContainerThing::Propagate()) {
    return false;
  }
  TickPush();
  if (YLTDriver* driver = GetDriver()) {
    driver->Decide(1);
  }
  return true;
}

// Everyone inside and the driver stand where the vehicle stands.
void YLTCar::CarryAlong() {
  for (int32_t index = 0; index < GetContainedCount(); ++index) {
    if (YLUnit* unit = GetContainedThing(index)) {
      unit->SetX(Info->X);
      unit->SetY(Info->Y);
      unit->SetOrientation(Info->Ori);
    }
  }
  if (YLThing* driver = GetDriver() != nullptr ? GetDriver()->GetDriverThing() : nullptr) {
    driver->SetX(Info->X);
    driver->SetY(Info->Y);
    driver->SetOrientation(Info->Ori);
  }
}

bool YLTCar::DoLoadFrom(LumoStream* stream) {
  if (!YLTContainerThing::DoLoadFrom(stream)) {
    return false;
  }
  ApplyTypeCapacity();
  return LoadPushState(stream);
}

bool YLTCar::DoSaveTo(LumoStream* stream) { return YLTContainerThing::DoSaveTo(stream) && SavePushState(stream); }

const char* YLTCar::GetClassName() const { return "YLTCar"; }

YLThing* YLTCar::GetThing() { return this; }

int32_t YLTCar::GetDrivableTid() const { return GetTid(); }

void YLTCar::SetDriver(YLTDriver* driver) {
  YLTDrivable::SetDriver(driver);
  if (auto* info = dynamic_cast<VehicleInfo*>(Info.get())) {
    info->DriverID = driver != nullptr ? driver->GetDriverTid() : 0;
  }
}

ThingInfo* YLTCar::MakeInfo() const { return new VehicleInfo; }

void YLTCar::SetVehicleType(int32_t type) {
  if (Info == nullptr) {
    return;
  }
  const uint32_t bits = (static_cast<uint32_t>(type) << kStatusVehicleTypeShift) & StatusVehicleTypeMask;
  Info->Status = (Info->Status & ~static_cast<uint32_t>(StatusVehicleTypeMask)) | bits;
  if (type == kTypeTruck) {
    Info->Status = (Info->Status & kTruckMask) | kBusBits;
  }
  Info->Ground.reset(new GroundMap);
  BuildBody(*Info->Ground, type);
  if (type == kTypeRiotBus) {
    Info->Armor = kRiotBusArmor;
  }
}

int32_t YLTCar::GetVehicleType() const {
  if (Info == nullptr) {
    return 0;
  }
  return static_cast<int32_t>((Info->Status & StatusVehicleTypeMask) >> kStatusVehicleTypeShift);
}

MoveInfo* YLTCar::GetVehicleMove(int32_t code) {
  static CarDriveInfo drive;
  static CarMoveCWInfo driveClockwise;
  static CarMoveCCWInfo driveCounterClockwise;
  static CarReverseInfo reverse;
  static CarReverseCWInfo reverseClockwise;
  static CarReverseCCWInfo reverseCounterClockwise;
  static MoveInfo* const moves[] = {&drive,   &driveClockwise,   &driveCounterClockwise,
                                    &reverse, &reverseClockwise, &reverseCounterClockwise};
  constexpr int32_t kFirst = 15;
  if (code < kFirst || code >= kFirst + static_cast<int32_t>(std::size(moves))) {
    return nullptr;
  }
  return moves[code - kFirst];
}

MoveInfo* YLTCar::GetMoveInfo(int32_t number) const {
  if (MoveInfo* move = GetVehicleMove(number)) {
    return move;
  }
  return YLTContainerThing::GetMoveInfo(number);
}

// A vehicle already making that move goes on with it: a driver who keeps
// its course would otherwise hold the vehicle at the move's first frame.
int32_t YLTCar::StartVehicleMove(int32_t code) {
  MoveInfo* move = GetMoveInfo(code);
  if (move == nullptr || Info == nullptr) {
    return 0;
  }
  if (code >= kFirstVehicleMove && Info->Move == move) {
    return move->GetMoveTime(Info->Gfx, Info->Ori);
  }
  return StartMove(move);
}

void YLTCar::InitMoveTable() {
  for (int32_t code = kFirstVehicleMove;; ++code) {
    MoveInfo* move = GetVehicleMove(code);
    if (move == nullptr) {
      break;
    }
    move->SetDefaults();
  }
}
