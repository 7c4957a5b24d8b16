#include "logic/core/YLHighwayTraffic.h"

#include <iterator>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
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

bool YLHighwayTraffic::Propagate(CLogic* logic) {
  for (auto& lane : CarLanes) {
    if (lane->SpawnTimer < 0) {
      continue;
    }
    // Counted as 32-bit values wrap: a stored timer may hold any value.
    lane->SpawnTimer = static_cast<int32_t>(static_cast<uint32_t>(lane->SpawnTimer) + 1u);
    for (int32_t index = 0; index < lane->Cars.count;) {
      // An id that no longer names a living car of the lane is forgotten.
      const YLThing* car = logic != nullptr ? LivingCar(*logic, lane->Cars[index]) : nullptr;
      if (car == nullptr && logic != nullptr) {
        lane->Cars.DeleteAt(index);
        continue;
      }
      if (car != nullptr && HasPassedEnd(*lane, car->Info->X)) {
        OffTheRoad.Append(lane->Cars[index]);
        lane->Cars.DeleteAt(index);
        continue;
      }
      ++index;
    }
    if (lane->SpawnTimer > kSpawnPause && RandomSigned(kSpawnPause) == 0 && logic != nullptr) {
      SpawnCar(*logic, *lane);
    }
  }
  return true;
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
