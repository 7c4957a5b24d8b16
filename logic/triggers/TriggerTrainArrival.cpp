#include "logic/triggers/TriggerTrainArrival.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTTrain.h"

namespace {

LumoClassOf<TriggerTrainArrival> classOfTriggerTrainArrival(kVersion_1_6_0_6, "TriggerTrainArrival",
                                                            "LogicPlanItem");
LOGIC_FIELD_PROPERTY(TriggerTrainArrival, Types, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(TriggerTrainArrival, TrainID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(TriggerTrainArrival, StationID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(TriggerTrainArrival, Team, PropertyPointer, "tPointer");

constexpr const char* kTeamTag = "team:";

// Own properties before the passenger list: train, station, team.
constexpr int32_t kFieldsBeforeTypes = 3;

}  // namespace

TriggerTrainArrival::TriggerTrainArrival() = default;

TriggerTrainArrival::TriggerTrainArrival(int32_t trainId, uint32_t time) : TrainID(trainId) { Time = time; }

const char* TriggerTrainArrival::GetClassName() const { return "TriggerTrainArrival"; }

void TriggerTrainArrival::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: train", static_cast<int32_t>(Time));
  }
}

int32_t TriggerTrainArrival::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = LogicPlanItem::SetProperty(index, text);
  // The time line set to the current frame runs the item at once, which
  // may free it: nothing of the item is touched after the base took it.
  if (index == 0) {
    return remaining;
  }
  int32_t* const fields[kFieldsBeforeTypes] = {&TrainID, &StationID, &Team};
  if (remaining >= 0 && remaining < kFieldsBeforeTypes) {
    *fields[remaining] = ParseInt(text);
  }
  return SetIdListProperty(Types, remaining, kFieldsBeforeTypes, text);
}

void TriggerTrainArrival::PrintToLog() {
  DebugPrint("TriggerTrainArrival ");
  LogicPlanItem::PrintToLog();
}

bool TriggerTrainArrival::ShowsCountdown() { return true; }

const char* TriggerTrainArrival::GetCountdownText(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "Train arival");
  }
  return buffer;
}

void TriggerTrainArrival::BuildProperties() {
  LogicPlanItem::BuildProperties();
  EditorLabels().Add("train");
  EditorValues().Add(FormatInt(TrainID).text);
  EditorLabels().Add("station");
  EditorValues().Add(FormatInt(StationID).text);
  EditorLabels().Add("team");
  EditorValues().Add(FormatInt(Team).text);
  ListIdList(EditorLabels(), EditorValues(), "#units", "->%d", Types);
}

void TriggerTrainArrival::Execute(CLogic* logic) {
  auto* train = logic != nullptr ? dynamic_cast<YLTTrain*>(logic->GetThing(TrainID)) : nullptr;
  if (train == nullptr) {
    return;
  }
  train->ClearPassengerTypes();
  train->SetStation(StationID);
  train->SetOwner(Team);
  for (int32_t index = 0; index < Types.count; ++index) {
    train->AddPassengerType(Types[index]);
  }
}

bool TriggerTrainArrival::LoadTypes(LumoStream* stream, const LumoProperty*) { return ReadIdList(stream, Types); }
bool TriggerTrainArrival::SaveTypes(LumoStream* stream, const LumoProperty*) { return WriteIdList(stream, Types); }

LUMO_GENERIC_FIELD(TriggerTrainArrival, TrainID)
LUMO_GENERIC_FIELD(TriggerTrainArrival, StationID)

bool TriggerTrainArrival::LoadTeam(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kTeamTag)) {
    Team = kUntaggedTeam;
    return true;
  }
  return stream->ReadInteger(Team);
}

bool TriggerTrainArrival::SaveTeam(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kTeamTag) && stream->WriteInteger(Team);
}
