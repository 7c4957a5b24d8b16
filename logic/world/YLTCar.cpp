#include "logic/world/YLTCar.h"

#include <iterator>

#include "base/LumoClass.h"
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

int32_t YLTCar::StartVehicleMove(int32_t code) {
  MoveInfo* move = GetMoveInfo(code);
  if (move == nullptr) {
    return 0;
  }
  return StartMove(move);
}
