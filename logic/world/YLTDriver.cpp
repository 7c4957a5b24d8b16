#include "logic/world/YLTDriver.h"

#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/GroundMap.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLUnit.h"
#include "navigation/YLKnowledgeMap.h"

YLTDriver::YLTDriver() = default;

YLTDriver::~YLTDriver() {
  if (Vehicle != nullptr && Vehicle->GetDriver() == this) {
    Vehicle->SetDriver(nullptr);
  }
  Vehicle = nullptr;
}

void YLTDriver::SetVehicle(YLTDrivable* vehicle) {
  if (Vehicle != nullptr && Vehicle != vehicle && Vehicle->GetDriver() == this) {
    Vehicle->SetDriver(nullptr);
  }
  Vehicle = vehicle;
  if (Vehicle != nullptr) {
    Vehicle->SetDriver(this);
  }
}

bool YLTDriver::IsDriving() const { return Vehicle != nullptr && Vehicle->GetDriver() == this; }

YLTDrivable::YLTDrivable() = default;

// Only the link is cleared: the vehicle's own record is going away with it.
YLTDrivable::~YLTDrivable() {
  if (Driver != nullptr && Driver->Vehicle == this) {
    Driver->Vehicle = nullptr;
  }
  Driver = nullptr;
}

void YLTDrivable::SetDriver(YLTDriver* driver) {
  // A driver replaced by another keeps no link to this vehicle.
  if (Driver != nullptr && Driver != driver && Driver->Vehicle == this) {
    Driver->Vehicle = nullptr;
  }
  Driver = driver;
}

// ---- The drive choice ----

namespace {

constexpr int32_t kReached = 32;
constexpr int32_t kLastDriveMove = 20;
constexpr int32_t kMoveLeave = 10;
constexpr int32_t kSituationInVehicle = 5;

// Calls `visit` with each offset the vehicle's body covers with that facing,
// in ground-map order, until it answers false; a vehicle without a ground
// map covers its own cell.
template <typename Visit>
bool ForBody(const ThingInfo& info, int32_t facing, Visit&& visit) {
  const GroundMap* ground = info.Ground.get();
  if (ground == nullptr) {
    return visit(0, 0);
  }
  const int32_t count = ground->GetPointCount(facing);
  for (int32_t n = 0; n < count; ++n) {
    int32_t dx = 0;
    int32_t dy = 0;
    if (ground->GetPoint(facing, n, dx, dy) && !visit(dx, dy)) {
      return false;
    }
  }
  return true;
}

}  // namespace

YLTCar* YLTDriver::GetCar() const { return dynamic_cast<YLTCar*>(Vehicle); }

YLThing* YLTDriver::GetDriverThing() const { return dynamic_cast<YLThing*>(const_cast<YLTDriver*>(this)); }

void YLTDriver::GetDriveWeights(float (&weights)[kDriveWeightCount], int32_t, int32_t, int32_t) const {
  for (float& weight : weights) {
    weight = 0.0f;
  }
}

bool YLTDriver::IsDriveTarget(const YLUnit&) const { return false; }

int32_t YLTDriver::Decide(int32_t) { return 0; }

int32_t YLTDriver::TestDriveMove(int32_t code) const {
  const YLTCar* car = GetCar();
  const CLogic* logic = YLThing::GetLogic();
  const MoveInfo* move = YLTCar::GetVehicleMove(code);
  if (car == nullptr || car->Info == nullptr || logic == nullptr || logic->Map == nullptr || move == nullptr ||
      code < kFirstDriveMove) {
    return kMoveBlocked;
  }
  const YLKnowledgeMap* grid = logic->Map->GetStratMap();
  if (grid == nullptr) {
    return kMoveBlocked;
  }
  const ThingInfo& info = *car->Info;
  const int32_t facing = info.GetFacing();
  const int32_t newFacing = WrapDirection(facing + move->turn);
  const int32_t newX = info.X + move->GetDeltaX(facing);
  const int32_t newY = info.Y + move->GetDeltaY(facing);
  const YLThing* self = GetDriverThing();
  const int32_t owner = self != nullptr ? self->GetOwner() : 0;
  int32_t result = kMoveFree;
  ForBody(info, newFacing, [&](int32_t dx, int32_t dy) {
    const int32_t cellX = newX + dx;
    const int32_t cellY = newY + dy;
    // A wall where the body does not stand already stops the move; one it
    // already overlaps (its own cells, a kerb it stands on) does not.
    if (grid->IsOccupied(cellX, cellY) && !grid->IsOccupied(info.X + dx, info.Y + dy)) {
      result = kMoveBlocked;
      return false;
    }
    const int32_t id = grid->GetUnit(cellX, cellY);
    if (id == 0 || id == info.Tid) {
      return true;
    }
    const YLThing* thing = logic->GetThing(id);
    if (thing == nullptr) {
      return true;  // a stale id: nothing stands there any more
    }
    const auto* unit = UnitOf(thing);
    if (unit == nullptr) {
      result = kMoveBlocked;
      return false;
    }
    if (IsDriveTarget(*unit)) {
      return true;  // driven at: the run-over check deals with it
    }
    if (unit->GetOwner() == owner) {
      result = kMoveRunsIntoUnits;
      return true;
    }
    result = kMoveBlocked;
    return false;
  });
  return result;
}

int32_t YLTDriver::ChooseDriveMove(int32_t x, int32_t y, int32_t tolerance) {
  YLTCar* car = GetCar();
  CLogic* logic = YLThing::GetLogic();
  if (car == nullptr || car->Info == nullptr || logic == nullptr || logic->Map == nullptr) {
    return kReached;
  }
  const YLKnowledgeMap* grid = logic->Map->GetStratMap();
  const ThingInfo& info = *car->Info;
  if (info.X == x && info.Y == y) {
    return kReached;
  }
  const int32_t distance = YLUnit::IntDistance(info.X, info.Y, x, y);
  if (distance == 1 && (grid == nullptr || grid->IsOccupied(x, y))) {
    return kReached;
  }
  if (distance < 2 || distance <= tolerance) {
    return kReached;
  }
  float weights[kDriveWeightCount] = {};
  GetDriveWeights(weights, YLUnit::GetDirection(info.X, info.Y, info.GetFacing(), x, y), distance,
                  car->GetVehicleType());
  // A weight of 0 is no wish to make the move: with nothing better the
  // vehicle stops rather than wander.
  float best = 0.0f;
  int32_t collected[kDriveWeightCount] = {};
  int32_t results[kDriveWeightCount] = {};
  int32_t count = 0;
  for (int32_t code = kFirstDriveMove; code <= kLastDriveMove; ++code) {
    const float weight = weights[code - kFirstDriveMove + 1];
    if (weight <= 0.0f || weight < best) {
      continue;
    }
    const int32_t result = TestDriveMove(code);
    if (result == kMoveBlocked) {
      continue;
    }
    if (weight > best) {
      best = weight;
      count = 0;
    }
    collected[count] = code;
    results[count] = result;
    ++count;
  }
  if (count == 0) {
    return 0;
  }
  bool runsInto = false;
  for (int32_t index = 0; index < count; ++index) {
    runsInto = runsInto || results[index] == kMoveRunsIntoUnits;
  }
  if (runsInto) {
    AskToMakeWay(collected, results, count);
    return 0;
  }
  return collected[RandomSigned(count - 1)];
}

// Every thing in the cells that a move running into units would cover is
// asked to make way.
void YLTDriver::AskToMakeWay(const int32_t* codes, const int32_t* results, int32_t count) const {
  const YLTCar* car = GetCar();
  CLogic* logic = YLThing::GetLogic();
  const YLKnowledgeMap* grid = logic != nullptr && logic->Map != nullptr ? logic->Map->GetStratMap() : nullptr;
  if (car == nullptr || car->Info == nullptr || grid == nullptr) {
    return;
  }
  const ThingInfo& info = *car->Info;
  const YLThing* self = GetDriverThing();
  for (int32_t index = 0; index < count; ++index) {
    const MoveInfo* move = YLTCar::GetVehicleMove(codes[index]);
    if (results[index] != kMoveRunsIntoUnits || move == nullptr) {
      continue;
    }
    const int32_t facing = info.GetFacing();
    const int32_t newFacing = WrapDirection(facing + move->turn);
    const int32_t newX = info.X + move->GetDeltaX(facing);
    const int32_t newY = info.Y + move->GetDeltaY(facing);
    ForBody(info, newFacing, [&](int32_t dx, int32_t dy) {
      const int32_t id = grid->GetUnit(newX + dx, newY + dy);
      if (id != 0 && id != info.Tid) {
        logic->SendUnitMessage(self, id, kMakeWayKind, kMakeWayStrength);
      }
      return true;
    });
  }
}

// ---- Units at the wheel ----

bool YLTDriver::WheelBrainMove(int32_t code, int32_t& answer) {
  auto* unit = UnitOf(GetDriverThing());
  if (Vehicle == nullptr || unit == nullptr) {
    return false;
  }
  if (code == kMoveLeave) {
    Vehicle->StartVehicleMove(0);
    answer = unit->YLUnit::OnBrainMove(kMoveLeave);
    return true;
  }
  unit->YLUnit::OnBrainMove(0);
  answer = Vehicle->StartVehicleMove(code);
  return true;
}

bool YLTDriver::WheelGoto(float motivation, int32_t x, int32_t y, bool, int32_t arrivalDistance, int32_t& answer) {
  auto* unit = UnitOf(GetDriverThing());
  if (unit == nullptr || unit->GetSituation() != kSituationInVehicle) {
    return false;
  }
  const YLTCar* car = GetCar();
  if (IsDriving() && car != nullptr && (car->Info == nullptr || (car->Info->Status & StatusAlive) == 0)) {
    answer = unit->DoLeave(motivation, car->GetTid(), false);
    return true;
  }
  answer = ChooseDriveMove(x, y, arrivalDistance);
  return true;
}
