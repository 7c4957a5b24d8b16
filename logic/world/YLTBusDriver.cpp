#include "logic/world/YLTBusDriver.h"

#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/GroundMap.h"
#include "logic/core/RecordFields.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTCar.h"
#include "navigation/YLKnowledgeMap.h"

namespace {

LumoClassOf<YLTBusDriver> classOfYLTBusDriver(kVersion_1_6_0_6, "YLTBusDriver", "YLThing");
LOGIC_FIELD_PROPERTY(YLTBusDriver, LockTime, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTBusDriver, Mode, PropertyInteger, "tInteger");

constexpr int32_t kStop = 0;
constexpr int32_t kDriveOn = 15;
constexpr int32_t kTurn = 17;
constexpr int32_t kModeStanding = 5;

}  // namespace

YLTBusDriver::YLTBusDriver() = default;

const char* YLTBusDriver::GetClassName() const { return "YLTBusDriver"; }

YLTDriver* YLTBusDriver::AsDriver() { return this; }

int32_t YLTBusDriver::GetDriverTid() const { return GetTid(); }

// A negative code keeps its mode within 0-8 as well.
int32_t YLTBusDriver::SetMode(int32_t code) {
  const int32_t mode = code % kModeCount;
  Mode = mode < 0 ? mode + kModeCount : mode;
  return code / kModeCount;
}

LUMO_GENERIC_FIELD(YLTBusDriver, LockTime)
LUMO_GENERIC_FIELD(YLTBusDriver, Mode)

int32_t YLTBusDriver::Decide(int32_t ticks) {
  YLTCar* bus = GetCar();
  if (bus == nullptr || bus->Info == nullptr) {
    return LockTime;
  }
  LockTime -= ticks;
  if (Mode == kModeStanding) {
    bus->StartVehicleMove(kStop);
    return LockTime;
  }
  if (LockTime > 0) {
    return LockTime;
  }
  const int32_t x = bus->Info->X;
  const int32_t y = bus->Info->Y;
  // The route's next turn or stop, when its place has come; -1: none yet.
  int32_t move = -1;
  int32_t next = Mode;
  switch (Mode) {
    case 0:
      if (x < -16) {
        move = kTurn;
        next = 1;
      }
      break;
    case 1:
      move = kTurn;
      next = 2;
      break;
    case 2:
      if (y >= 122) {
        move = kTurn;
        next = 3;
      }
      break;
    case 3:
      move = kTurn;
      next = 4;
      break;
    case 4:
      if (y < 42) {
        move = kStop;
        next = kModeStanding;
      }
      break;
    case 6:
      if (y < 19) {
        move = kStop;
        next = kModeStanding;
      }
      break;
    case 7:
      if (x > 140) {
        move = kStop;
        next = kModeStanding;
      }
      break;
    case 8:
      if (y > 10) {
        move = kStop;
        next = kModeStanding;
      }
      break;
    default:
      break;
  }
  if (move < 0) {
    move = IsWayAheadFree() ? kDriveOn : kStop;
  }
  Mode = next;
  LockTime = bus->StartVehicleMove(move);
  return LockTime;
}

bool YLTBusDriver::IsWayAheadFree() const {
  const YLTCar* bus = GetCar();
  const CLogic* logic = GetLogic();
  const YLKnowledgeMap* grid = logic != nullptr && logic->Map != nullptr ? logic->Map->GetStratMap() : nullptr;
  if (bus == nullptr || bus->Info == nullptr || grid == nullptr) {
    return false;
  }
  const ThingInfo& info = *bus->Info;
  const int32_t facing = info.GetFacing();
  const int32_t aheadX = info.X + kDirectionX[facing];
  const int32_t aheadY = info.Y + kDirectionY[facing];
  auto isFree = [&](int32_t dx, int32_t dy) {
    const int32_t cellX = aheadX + dx;
    const int32_t cellY = aheadY + dy;
    if (!grid->IsInside(cellX, cellY)) {
      return false;
    }
    const int32_t id = grid->GetUnit(cellX, cellY);
    return id == 0 || id == info.Tid || id == GetTid();
  };
  const GroundMap* ground = info.Ground.get();
  if (ground == nullptr) {
    return isFree(0, 0);
  }
  for (int32_t n = 0; n < ground->GetPointCount(facing); ++n) {
    int32_t dx = 0;
    int32_t dy = 0;
    if (ground->GetPoint(facing, n, dx, dy) && !isFree(dx, dy)) {
      return false;
    }
  }
  return true;
}
