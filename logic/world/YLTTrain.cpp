#include "logic/world/YLTTrain.h"

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<YLTTrain> classOfYLTTrain(kVersion_1_6_0_6, "YLTTrain", "YLTCar");
LumoClassOf<YLTTrainConducter> classOfYLTTrainConducter(kVersion_1_6_0_6, "YLTTrainConducter", "YLUnit");

LOGIC_FIELD_PROPERTY(YLTTrainConducter, StationX, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTTrainConducter, StationY, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTTrainConducter, StationTime, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTTrainConducter, PassedStation, PropertyBool, "tBool");
LOGIC_FIELD_PROPERTY(YLTTrainConducter, Finished, PropertyBool, "tBool");
LOGIC_FIELD_PROPERTY(YLTTrainConducter, LockTime, PropertyInteger, "tInteger");

// The record's kind of a train.
constexpr int32_t kTrainKind = 1;
constexpr int32_t kOffMapBelowY = -9;
constexpr int32_t kOffMapWait = 10;
constexpr int32_t kStop = 0;
constexpr int32_t kRoll = 15;
constexpr int32_t kLeaderType = 10;
// The name of a leader who comes by train.
constexpr const char* kArrivingLeaderName = "John Doe";
// The train's own state follows this text, behind the car's.
constexpr const char* kTrainMarker = "train:";
constexpr int64_t kValueBytes = 4;

}  // namespace

YLTTrain::YLTTrain() = default;

const char* YLTTrain::GetClassName() const { return "YLTTrain"; }

void YLTTrain::CreateInfo(int32_t moveNumber) {
  YLTCar::CreateInfo(moveNumber);
  Info->X = kStartX;
  Info->Y = kStartY;
  Info->Ori = kStartOrientation;
  Info->BuildingType = kTrainKind;
}

void YLTTrain::ClearPassengerTypes() { PassengerTypes.Clear(); }

void YLTTrain::AddPassengerType(int32_t type) { PassengerTypes.AppendInt(type); }

void YLTTrain::SetStation(int32_t id) { StationID = id; }

bool YLTTrain::IsOnMap() const { return Info != nullptr && Info->Y >= kOffMapBelowY; }

bool YLTTrain::Propagate() {
  if (!YLTCar::Propagate()) {
    return false;
  }
  const auto* conducter = dynamic_cast<const YLTTrainConducter*>(GetDriver());
  if (!IsOnMap() || conducter == nullptr || Info->X != conducter->StationX || PassengerTypes.count == 0) {
    return true;
  }
  CLogic* logic = GetLogic();
  const YLThing* station = logic != nullptr && StationID != 0 ? logic->GetThing(StationID) : nullptr;
  if (station == nullptr) {
    DebugPrint("YLTTrain::Propagate station not found\n");
    return true;
  }
  while (PassengerTypes.count > 0) {
    const int32_t last = PassengerTypes.count - 1;
    const int32_t type = PassengerTypes[last];
    const YLUnit* made = logic->CreateUnitAt(station->GetX(), station->GetY(), 0, 0, type, GetOwner(),
                                             type == kLeaderType ? kArrivingLeaderName : nullptr);
    if (made == nullptr) {
      break;  // the rest wait for a later tick
    }
    PassengerTypes.DeleteAt(last);
  }
  return true;
}

bool YLTTrain::DoLoadFrom(LumoStream* stream) {
  if (!YLTCar::DoLoadFrom(stream)) {
    return false;
  }
  if (!ReadMarker(stream, kTrainMarker)) {
    return true;  // stored without its own state
  }
  int32_t count = 0;
  if (!stream->ReadInteger(count)) {
    DebugPrint("YLTTrain: cannot read the passenger count\n");
    return false;
  }
  // The count is bounded by what the stream still holds.
  const int64_t remaining = stream->GetBytesRemaining();
  if (count < 0 || (remaining >= 0 && count * kValueBytes > remaining)) {
    DebugPrint("YLTTrain: the stored passenger count %d exceeds the stream\n", count);
    return false;
  }
  tCollection<int32_t> types;
  for (int32_t index = 0; index < count; ++index) {
    int32_t type = 0;
    if (!stream->ReadInteger(type)) {
      return false;
    }
    types.AppendInt(type);
  }
  if (!stream->ReadInteger(StationID) || !stream->ReadInteger(Constant87) || !stream->ReadInteger(SecondFlag)) {
    DebugPrint("YLTTrain: cannot read the station behind \"%s\"\n", kTrainMarker);
    return false;
  }
  PassengerTypes.Clear();
  for (int32_t index = 0; index < types.count; ++index) {
    PassengerTypes.AppendInt(types[index]);
  }
  return true;
}

bool YLTTrain::DoSaveTo(LumoStream* stream) {
  if (!YLTCar::DoSaveTo(stream) || !WriteMarker(stream, kTrainMarker) ||
      !stream->WriteInteger(PassengerTypes.count)) {
    return false;
  }
  for (int32_t index = 0; index < PassengerTypes.count; ++index) {
    if (!stream->WriteInteger(PassengerTypes[index])) {
      return false;
    }
  }
  return stream->WriteInteger(StationID) && stream->WriteInteger(Constant87) && stream->WriteInteger(SecondFlag);
}

YLTTrainConducter::YLTTrainConducter() = default;

const char* YLTTrainConducter::GetClassName() const { return "YLTTrainConducter"; }

YLTDriver* YLTTrainConducter::AsDriver() { return this; }

int32_t YLTTrainConducter::GetDriverTid() const { return GetTid(); }

int32_t YLTTrainConducter::Decide(int32_t ticks) {
  auto* train = dynamic_cast<YLTTrain*>(GetCar());
  LockTime -= ticks;
  if (train == nullptr || train->Info == nullptr || LockTime > 0) {
    return LockTime;
  }
  if (!train->IsOnMap()) {
    LockTime = kOffMapWait;
    return LockTime;
  }
  if (train->Info->X == StationX) {
    if (!PassedStation) {
      train->Info->Status &= ~YLTCar::kStatusDoorsClosed;
      train->StartVehicleMove(kStop);
      PassedStation = true;
      LockTime = StationTime;
      return LockTime;
    }
    train->Info->Status |= YLTCar::kStatusDoorsClosed;
  }
  LockTime = train->StartVehicleMove(kRoll);
  return LockTime;
}

void YLTTrainConducter::ResetPassedStation() { PassedStation = false; }

LUMO_GENERIC_FIELD(YLTTrainConducter, StationX)
LUMO_GENERIC_FIELD(YLTTrainConducter, StationY)
LUMO_GENERIC_FIELD(YLTTrainConducter, StationTime)
LUMO_GENERIC_FIELD(YLTTrainConducter, PassedStation)
LUMO_GENERIC_FIELD(YLTTrainConducter, Finished)
LUMO_GENERIC_FIELD(YLTTrainConducter, LockTime)
