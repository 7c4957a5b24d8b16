#include "logic/world/YLTPushable.h"

#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/GroundMap.h"
#include "logic/core/RecordFields.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/MoveInfoKinds.h"

namespace {

LumoClassOf<YLTPushableThing> classOfYLTPushableThing(kVersion_1_6_0_6, "YLTPushableThing", "YLThing");

constexpr const char* kPushMarker = "push:";
constexpr int32_t kPushableBuildingType = 11;

struct Offset {
  int32_t x;
  int32_t y;
};

// The pushable footprint beside the own cell: a square for the straight
// orientations, a slanted block for the diagonal ones.
constexpr Offset kStraightFootprint[] = {{0, 0}, {-1, -1}, {-1, 0}, {0, -1}};
constexpr Offset kFootprintOneFive[] = {{1, 0}, {0, -1}, {0, 0}, {-1, 0}, {0, 1}, {-1, 1}, {-2, 1}, {-1, 2}};
constexpr Offset kFootprintThreeSeven[] = {{-1, 0}, {0, -1}, {0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 1}, {1, 2}};

template <size_t N>
void AddFootprint(GroundMap& map, int32_t orientation, const Offset (&points)[N]) {
  for (const Offset& point : points) {
    map.AddPoint(orientation, point.x, point.y);
  }
}

// The plain moves of the table: name and length in frames (0: the default).
struct PlainMove {
  int32_t number;
  const char* name;
  uint8_t length;
};
constexpr PlainMove kPlainMoves[] = {
    {YLThing::kMoveRest, "ObjectRest", 0},           {YLThing::kMoveTrashed, "ObjectTrashed", 0},
    {YLThing::kMoveFallForward, "ObjectFallForward", 10}, {YLThing::kMoveDownForward, "ObjectDownForward", 0},
    {YLThing::kMoveFallBack, "ObjectFallBack", 10},   {YLThing::kMoveDownBack, "ObjectDownBack", 0},
    {YLThing::kMoveAmbient, "ObjectAmbient", 50},
};

void FillPlainMove(MoveInfo& move, const PlainMove& entry) {
  move.SetDefaults();
  move.name = entry.name;
  move.code = entry.number;
  if (entry.length != 0) {
    move.SetAllTimes(entry.length);
  }
}

}  // namespace

// ---- The push state ----

YLTPushable::YLTPushable() = default;
YLTPushable::~YLTPushable() = default;

void YLTPushable::TickPush() {
  if (PushCounter <= 0) {
    return;
  }
  --PushCounter;
  if (PushCounter > 0) {
    return;
  }
  Pusher = 0;
  YLThing* thing = GetThing();
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  const bool alive = (thing->Info->Status & StatusAlive) != 0;
  thing->StartMove(thing->GetMoveInfo(alive ? YLThing::kMoveRest : YLThing::kMoveTrashed));
}

// The push move of a direction sets the counter and the pusher before the
// map is asked, so a refused push still runs its counter down.
bool YLTPushable::StartPush(int32_t direction, int32_t lengthType, uint8_t lengthOrientation, int32_t pusherId) {
  YLThing* thing = GetThing();
  if (thing == nullptr || thing->Info == nullptr) {
    return false;
  }
  MoveInfo* move = thing->GetMoveInfo(YLThing::kMovePushFirst + direction);
  if (move == nullptr) {
    return false;
  }
  PushCounter = move->GetMoveTime(lengthType, lengthOrientation);
  Pusher = pusherId;

  ThingInfo& info = *thing->Info;
  const int32_t dx = move->GetDeltaX(info.Ori);
  const int32_t dy = move->GetDeltaY(info.Ori);
  CLogic* logic = YLThing::GetLogic();
  if (logic == nullptr || !logic->UpdateThingOnMap(thing, info.X + dx, info.Y + dy, info.Ori)) {
    return false;
  }
  thing->StartMove(move);
  thing->ReportAction();
  thing->SetX(info.X + dx);
  thing->SetY(info.Y + dy);
  return true;
}

bool YLTPushable::Push(YLThing* pusher) {
  if (PushCounter > 0 || pusher == nullptr || pusher->Info == nullptr) {
    return false;
  }
  const ThingInfo& by = *pusher->Info;
  return StartPush(by.Ori % 8, by.Gfx, by.Ori, by.Tid);
}

bool YLTPushable::PushedByVehicle(YLThing* vehicle) {
  if (PushCounter > 0 || vehicle == nullptr || vehicle->Info == nullptr) {
    return false;
  }
  const ThingInfo& by = *vehicle->Info;
  const auto vehicleType = static_cast<int32_t>((by.Status & StatusVehicleTypeMask) >> kStatusVehicleTypeShift);
  if (vehicleType != kPushingVehicleType) {
    return false;
  }
  const int32_t direction = by.Ori % 8;
  return StartPush(direction, 0, static_cast<uint8_t>(direction), by.Tid);
}

bool YLTPushable::SavePushState(LumoStream* stream) const {
  return stream->WriteInteger(PushCounter) && WriteMarker(stream, kPushMarker) && stream->WriteInteger(Pusher);
}

bool YLTPushable::LoadPushState(LumoStream* stream) {
  if (!stream->ReadInteger(PushCounter)) {
    return false;
  }
  if (!ReadMarker(stream, kPushMarker)) {
    return true;
  }
  return stream->ReadInteger(Pusher);
}

// ---- YLTPushableThing ----

YLTPushableThing::YLTPushableThing() = default;

const char* YLTPushableThing::GetClassName() const { return "YLTPushableThing"; }

YLThing* YLTPushableThing::GetThing() { return this; }

bool YLTPushableThing::Propagate() {
  if (!YLThing::Propagate()) {
    return false;
  }
  TickPush();
  return true;
}

void YLTPushableThing::CreateInfo(int32_t moveNumber) {
  YLThing::CreateInfo(moveNumber);
  auto* map = new GroundMap;
  Info->Ground.reset(map);
  AddFootprint(*map, 0, kStraightFootprint);
  AddFootprint(*map, 2, kStraightFootprint);
  AddFootprint(*map, 4, kStraightFootprint);
  AddFootprint(*map, 6, kStraightFootprint);
  AddFootprint(*map, 1, kFootprintOneFive);
  AddFootprint(*map, 5, kFootprintOneFive);
  AddFootprint(*map, 3, kFootprintThreeSeven);
  AddFootprint(*map, 7, kFootprintThreeSeven);
  Info->BuildingType = kPushableBuildingType;
}

void YLTPushableThing::GetDebugText(tString& text) const { text = "pushable\n"; }

// The push state follows the thing's fields.
bool YLTPushableThing::DoLoadFrom(LumoStream* stream) {
  return YLThing::DoLoadFrom(stream) && LoadPushState(stream);
}

bool YLTPushableThing::DoSaveTo(LumoStream* stream) { return YLThing::DoSaveTo(stream) && SavePushState(stream); }

void YLTPushableThing::InitMoveTable() {
  auto& table = PlainMoveTableSlot();
  if (table == nullptr) {
    table.reset(new LumoObjects(true));
  }
  // Missing entries are made; existing ones are refilled in place, because
  // records of running things point at them.
  if (table->count < kPlainMoveCount) {
    table->SetCount(kPlainMoveCount);
  }
  for (int32_t direction = 0; direction < kDirectionCount; ++direction) {
    const int32_t number = kMovePushFirst + direction;
    auto* push = dynamic_cast<MoveInfoPush*>(table->At(number));
    if (push == nullptr) {
      DestroyObject(table->At(number));
      push = new MoveInfoPush(direction);
      (*table)[number] = push;
    } else {
      push->SetDefaults();
    }
  }
  for (const PlainMove& entry : kPlainMoves) {
    auto* move = dynamic_cast<MoveInfo*>(table->At(entry.number));
    if (move == nullptr) {
      DestroyObject(table->At(entry.number));
      move = new MoveInfo;
      (*table)[entry.number] = move;
    }
    FillPlainMove(*move, entry);
  }
}
