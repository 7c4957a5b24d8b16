#include "logic/core/YLHighwayTraffic.h"

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLThing.h"

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
      const YLThing* car = logic != nullptr ? logic->GetThing(lane->Cars[index]) : nullptr;
      if (car != nullptr && car->Info != nullptr && HasPassedEnd(*lane, car->Info->X)) {
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

void YLHighwayTraffic::SpawnCar(CLogic&, YLHighwayLane& lane) { lane.SpawnTimer = 0; }

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
