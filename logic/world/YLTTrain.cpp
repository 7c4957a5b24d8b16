#include "logic/world/YLTTrain.h"

#include "base/LumoClass.h"

namespace {

LumoClassOf<YLTTrain> classOfYLTTrain(kVersion_1_6_0_6, "YLTTrain", "YLTCar");
LumoClassOf<YLTTrainConducter> classOfYLTTrainConducter(kVersion_1_6_0_6, "YLTTrainConducter", "YLUnit");

// The record's kind of a train.
constexpr int32_t kTrainKind = 1;

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

YLTTrainConducter::YLTTrainConducter() = default;

const char* YLTTrainConducter::GetClassName() const { return "YLTTrainConducter"; }

YLTDriver* YLTTrainConducter::AsDriver() { return this; }

int32_t YLTTrainConducter::GetDriverTid() const { return GetTid(); }
