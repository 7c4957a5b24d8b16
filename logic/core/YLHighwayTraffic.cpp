#include "logic/core/YLHighwayTraffic.h"

#include <iterator>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/LogicPlanWarpZ.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTDriver.h"
#include "logic/world/YLUnit.h"

namespace {

// The class registry knows the traffic's base by this spelling.
LumoClassOf<YLHighwayTraffic> classOfYLHighwayTraffic(kVersion_1_6_0_6, "YLHighwayTraffic", "YLPorapagator");
LOGIC_FIELD_PROPERTY(YLHighwayTraffic, OffTheRoad, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLHighwayTraffic, CarLanes, PropertyPointer, "tPointer");

struct LaneSetup {
  int32_t startX, startY, direction, endX, endY, delay;
};

// Three lanes toward the south-west, three toward the north-east.
constexpr LaneSetup kLanes[] = {
    {146, -3, 5, -1, 145, 56},  {150, -3, 5, 3, 145, 59},   {154, -3, 5, 7, 145, 63},
    {16, 146, 1, 150, 12, 202}, {20, 146, 1, 150, 16, 198}, {24, 146, 1, 150, 24, 194},
};

constexpr int32_t kDirectionSouthWest = 5;

// The cars of the highway, by a draw of 0-7.
constexpr const char* kCarModels[] = {"Vehicle030-Biker1",  "Vehicle031-Biker2", "Vehicle032-BMWblue",
                                      "Vehicle033-BabyBenz", "Vehicle034-Jeep",   "Vehicle035-Boxer",
                                      "Vehicle036-2CV",      "Vehicle037-Trabant"};
constexpr const char* kDriverKind = "InnocentDriver";
// Under the bridge a car sinks this low, where it blocks nothing.
constexpr int32_t kUnderpassZ = -3;
// Frames the underpass lasts beyond the lane's delay, counted twice.
constexpr int32_t kUnderpassLength = 38;
constexpr float kDriverMotivation = 1.0f;
constexpr const char* kStandingMarker = "still:";
// A standing car is stored as its id, x, y and frames.
constexpr int32_t kStandingValues = 4;

// The car an id names, when it still lives: a removed, reused or wrecked
// car is not sent again.
YLTCar* LivingCar(const CLogic& logic, int32_t id) {
  auto* car = CarOf(logic.GetThing(id));
  if (car == nullptr || car->Info == nullptr || (car->Info->Status & StatusAlive) == 0 || car->Info->Hp <= 0.0f) {
    return nullptr;
  }
  return car;
}

// Whether a car at x has passed the lane's end.
bool HasPassedEnd(const YLHighwayTraffic::YLHighwayLane& lane, int32_t x) {
  return lane.Direction == kDirectionSouthWest ? x < lane.EndX : x > lane.EndX;
}

}  // namespace

YLHighwayTraffic::YLHighwayTraffic() {
  for (const LaneSetup& setup : kLanes) {
    auto lane = std::make_unique<YLHighwayLane>();
    lane->StartX = setup.startX;
    lane->StartY = setup.startY;
    lane->Direction = setup.direction;
    lane->EndX = setup.endX;
    lane->EndY = setup.endY;
    lane->Delay = setup.delay;
    CarLanes.push_back(std::move(lane));
  }
}

const char* YLHighwayTraffic::GetClassName() const { return "YLHighwayTraffic"; }

void YLHighwayTraffic::StopLane(int32_t direction) {
  for (auto& lane : CarLanes) {
    if (lane->Direction == direction) {
      lane->SpawnTimer = YLHighwayLane::kStopped;
    }
  }
}

bool YLHighwayTraffic::StartHoldsCar(const CLogic& logic, const YLHighwayLane& lane) const {
  // A wreck counts too: a car sent onto it would crash there, and its wreck
  // make the next car crash, each one a thing more in the table.
  if (logic.Map != nullptr && CarOf(logic.GetThing(logic.Map->GetThingIDAt(lane.StartX, lane.StartY))) != nullptr) {
    return true;
  }
  // A start off the map has no cell to look at: the cars standing there
  // are found by their records.
  for (int32_t id = 1; logic.Things != nullptr && id < logic.Things->count; ++id) {
    const YLTCar* car = CarOf(logic.GetThing(id));
    if (car != nullptr && car->Info != nullptr && car->Info->X == lane.StartX && car->Info->Y == lane.StartY) {
      return true;
    }
  }
  return false;
}

bool YLHighwayTraffic::Propagate(CLogic* logic) {
  for (auto& lane : CarLanes) {
    if (lane->SpawnTimer < 0) {
      continue;
    }
    // Counted as 32-bit values wrap: a stored timer may hold any value.
    lane->SpawnTimer = static_cast<int32_t>(static_cast<uint32_t>(lane->SpawnTimer) + 1u);
    for (int32_t index = 0; index < lane->Cars.count;) {
      const int32_t id = lane->Cars[index];
      // An id that no longer names a living car of the lane is forgotten.
      const YLThing* car = logic != nullptr ? LivingCar(*logic, id) : nullptr;
      if (car == nullptr && logic != nullptr) {
        lane->Cars.DeleteAt(index);
        lane->StandingCars.erase(id);
        continue;
      }
      if (car != nullptr && (HasPassedEnd(*lane, car->Info->X) || StoodTooLong(*lane, *car))) {
        OffTheRoad.Append(id);
        lane->Cars.DeleteAt(index);
        lane->StandingCars.erase(id);
        continue;
      }
      ++index;
    }
    // Cars taken off the lane by other means are watched no longer.
    std::erase_if(lane->StandingCars, [&](const auto& entry) {
      for (int32_t index = 0; index < lane->Cars.count; ++index) {
        if (lane->Cars[index] == entry.first) {
          return false;
        }
      }
      return true;
    });
    // Without the wait for a free start, a lane whose cars never leave it
    // would make a car and a driver about every 30 frames until the thing
    // table is full.
    if (lane->SpawnTimer > kSpawnPause && RandomSigned(kSpawnPause) == 0 && logic != nullptr &&
        !StartHoldsCar(*logic, *lane)) {
      SpawnCar(*logic, *lane);
    }
  }
  return true;
}

bool YLHighwayTraffic::StoodTooLong(YLHighwayLane& lane, const YLThing& car) {
  auto [entry, added] = lane.StandingCars.try_emplace(car.Info->Tid);
  YLHighwayLane::Standing& standing = entry->second;
  if (added || standing.x != car.Info->X || standing.y != car.Info->Y) {
    standing = {car.Info->X, car.Info->Y, 0};
    return false;
  }
  ++standing.frames;
  return standing.frames >= kStuckFrames;
}

void YLHighwayTraffic::SpawnCar(CLogic& logic, YLHighwayLane& lane) {
  lane.SpawnTimer = 0;
  YLTCar* car = nullptr;
  if (OffTheRoad.count > kReuseAbove) {
    const int32_t index = RandomSigned(OffTheRoad.count - 1);
    const int32_t id = OffTheRoad[index];
    OffTheRoad.DeleteAt(index);
    car = LivingCar(logic, id);
  }
  if (car == nullptr) {
    const int32_t model = RandomSigned(static_cast<int32_t>(std::size(kCarModels)) - 1);
    car = CarOf(logic.CreateVehicle(lane.StartX, lane.StartY, 0, static_cast<uint8_t>(lane.Direction),
                                                    0, kCarModels[model]));
    if (car == nullptr) {
      DebugPrint("YLHighwayTraffic: no car can be made for the lane at %d,%d\n", lane.StartX, lane.StartY);
      return;
    }
  }
  if (car->GetDriver() == nullptr && logic.CreateUnit(logic.AddString(kDriverKind), 0, car) == nullptr) {
    // The car waits off the road until a driver can be found for it.
    OffTheRoad.Append(car->GetTid());
    return;
  }
  const int32_t id = car->GetTid();
  lane.Cars.Append(id);
  lane.StandingCars.erase(id);
  logic.MoveThing(car->Info.get(), lane.StartX, lane.StartY, 0, static_cast<uint8_t>(lane.Direction));
  logic.InsertPlan(new LogicPlanWarpZ(id, kUnderpassZ), static_cast<uint32_t>(lane.Delay / 2));
  logic.InsertPlan(new LogicPlanWarpZ(id, 0), static_cast<uint32_t>((lane.Delay + kUnderpassLength) / 2));
  YLTDriver* driver = car->GetDriver();
  if (auto* unit = UnitOf(driver != nullptr ? driver->GetDriverThing() : nullptr)) {
    unit->SetX(lane.StartX);
    unit->SetY(lane.StartY);
    unit->SetOrientation(static_cast<uint8_t>(lane.Direction));
    // The lane is the route: the step is not expanded into a path, which
    // a start off the map would not find.
    auto* step = new PsychicPlanGoto(lane.EndX, lane.EndY, kDriverMotivation, false);
    step->Expandable = false;
    unit->ExecutePlan(step);
  }
}

// ---- Stored form ----

bool YLHighwayTraffic::LoadOffTheRoad(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  return ReadValueCount(stream, *this, "OffTheRoad", false, count) && ReadValues(stream, OffTheRoad, count);
}

bool YLHighwayTraffic::SaveOffTheRoad(LumoStream* stream, const LumoProperty*) {
  return WriteCountedValues(stream, OffTheRoad);
}

bool YLHighwayTraffic::LoadCarLanes(LumoStream* stream, const LumoProperty*) {
  int32_t count = 0;
  // Each lane takes at least its seven values and its car count.
  if (!ReadValueCount(stream, *this, "CarLanes", false, count)) {
    return false;
  }
  std::vector<std::unique_ptr<YLHighwayLane>> lanes;
  for (int32_t index = 0; index < count; ++index) {
    auto lane = std::make_unique<YLHighwayLane>();
    int32_t cars = 0;
    if (!stream->ReadInteger(lane->StartX) || !stream->ReadInteger(lane->StartY) ||
        !stream->ReadInteger(lane->Direction) || !stream->ReadInteger(lane->EndX) ||
        !stream->ReadInteger(lane->EndY) || !stream->ReadInteger(lane->Delay) ||
        !stream->ReadInteger(lane->SpawnTimer) || !ReadValueCount(stream, *this, "CarLanes", false, cars) ||
        !ReadValues(stream, lane->Cars, cars)) {
      DebugPrint("YLHighwayTraffic: cannot read lane %d\n", index);
      return false;
    }
    lanes.push_back(std::move(lane));
  }
  CarLanes = std::move(lanes);
  return true;
}

bool YLHighwayTraffic::SaveCarLanes(LumoStream* stream, const LumoProperty*) {
  if (!stream->WriteInteger(static_cast<int32_t>(CarLanes.size()))) {
    return false;
  }
  for (const auto& lane : CarLanes) {
    if (!stream->WriteInteger(lane->StartX) || !stream->WriteInteger(lane->StartY) ||
        !stream->WriteInteger(lane->Direction) || !stream->WriteInteger(lane->EndX) ||
        !stream->WriteInteger(lane->EndY) || !stream->WriteInteger(lane->Delay) ||
        !stream->WriteInteger(lane->SpawnTimer) || !WriteCountedValues(stream, lane->Cars)) {
      return false;
    }
  }
  return true;
}

bool YLHighwayTraffic::OnSaveTo(LumoStream* stream) {
  if (!YLPropagator::OnSaveTo(stream) || !WriteMarker(stream, kStandingMarker) ||
      !stream->WriteInteger(static_cast<int32_t>(CarLanes.size()))) {
    return false;
  }
  for (const auto& lane : CarLanes) {
    tCollection<int32_t> values;
    for (const auto& [id, standing] : lane->StandingCars) {
      for (const int32_t value : {id, standing.x, standing.y, standing.frames}) {
        values.Append(value);
      }
    }
    if (!WriteCountedValues(stream, values)) {
      return false;
    }
  }
  return true;
}

bool YLHighwayTraffic::OnLoadFrom(LumoStream* stream) {
  for (auto& lane : CarLanes) {
    lane->StandingCars.clear();
  }
  if (!YLPropagator::OnLoadFrom(stream)) {
    return false;
  }
  if (!ReadMarker(stream, kStandingMarker)) {
    return true;
  }
  int32_t lanes = 0;
  if (!stream->ReadInteger(lanes) || lanes != static_cast<int32_t>(CarLanes.size())) {
    DebugPrint("YLHighwayTraffic: the standing cars are stored for %d lanes, not %d\n", lanes,
               static_cast<int32_t>(CarLanes.size()));
    return false;
  }
  for (auto& lane : CarLanes) {
    int32_t count = 0;
    tCollection<int32_t> values;
    if (!ReadValueCount(stream, *this, "still", false, count) || count % kStandingValues != 0 ||
        !ReadValues(stream, values, count)) {
      DebugPrint("YLHighwayTraffic: cannot read the standing cars of a lane\n");
      return false;
    }
    for (int32_t index = 0; index < count; index += kStandingValues) {
      lane->StandingCars[values[index]] = {values[index + 1], values[index + 2], values[index + 3]};
    }
  }
  return true;
}
