#include "logic/triggers/YLTriggerActionTrain.h"

#include <cstdio>
#include <memory>

#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/ActionPropertyLines.h"
#include "logic/triggers/TriggerTrainArrival.h"
#include "logic/triggers/YLTriggerTram.h"

namespace {

LumoClassOf<YLTriggerActionTrain> classOfYLTriggerActionTrain(kVersion_1_6_0_6, "YLTriggerActionTrain",
                                                              "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionTrain, TrainID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionTrain, StationID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionTrain, Team, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionTrain, Delay, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionTrain, Units, PropertyPointer, "tPointer");

LumoClassOf<YLTriggerActionTram> classOfYLTriggerActionTram(kVersion_1_6_0_6, "YLTriggerActionTram",
                                                            "YLTriggerActionTrain");
LOGIC_FIELD_PROPERTY(YLTriggerActionTram, BeginX, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionTram, BeginY, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionTram, StopX, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionTram, StopY, PropertyInteger, "tInteger");

void WriteRecord(char* buffer, size_t size, const char* text) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%s", text);
  }
}

void CopyIds(const tIdList& from, tIdList& to) {
  if (from.count == 0 || !to.SetCount(from.count)) {
    to.Clear();
    return;
  }
  for (int32_t index = 0; index < from.count; ++index) {
    to[index] = from[index];
  }
}

}  // namespace

// ---- Train ----

const char* YLTriggerActionTrain::GetClassName() const { return "YLTriggerActionTrain"; }

void YLTriggerActionTrain::TrainLines(ActionPropertyLines& lines) {
  lines.Int("  trainid", TrainID);
  lines.Int("  stationid", StationID);
  lines.Int("  delay", Delay);
  lines.Int("  player", Team);
  lines.IdList("  unit types", "   %d", Units);
}

void YLTriggerActionTrain::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerAction::ListProperties(labels, values);
  ActionPropertyLines lines(labels, values);
  TrainLines(lines);
}

int32_t YLTriggerActionTrain::SetProperty(int32_t index, const char* text) {
  ActionPropertyLines lines(YLTriggerAction::SetProperty(index, text), text);
  TrainLines(lines);
  return lines.Remainder();
}

void YLTriggerActionTrain::GetRecordString(char* buffer, size_t size) { WriteRecord(buffer, size, "train"); }

void YLTriggerActionTrain::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr) {
    return;
  }
  auto arrival = std::make_unique<TriggerTrainArrival>();
  arrival->TrainID = TrainID;
  arrival->StationID = StationID;
  arrival->Team = Team;
  CopyIds(Units, arrival->Types);
  logic->InsertPlan(arrival.release(), static_cast<uint32_t>(Delay));
}

bool YLTriggerActionTrain::LoadUnits(LumoStream* stream, const LumoProperty*) { return ReadIdList(stream, Units); }
bool YLTriggerActionTrain::SaveUnits(LumoStream* stream, const LumoProperty*) { return WriteIdList(stream, Units); }

LUMO_GENERIC_FIELD(YLTriggerActionTrain, TrainID)
LUMO_GENERIC_FIELD(YLTriggerActionTrain, StationID)
LUMO_GENERIC_FIELD(YLTriggerActionTrain, Team)
LUMO_GENERIC_FIELD(YLTriggerActionTrain, Delay)

// ---- Tram ----

const char* YLTriggerActionTram::GetClassName() const { return "YLTriggerActionTram"; }

void YLTriggerActionTram::TramLines(ActionPropertyLines& lines) {
  lines.Int("  beginX", BeginX);
  lines.Int("  beginY", BeginY);
  lines.Int("  stopX", StopX);
  lines.Int("  stopY", StopY);
}

void YLTriggerActionTram::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerActionTrain::ListProperties(labels, values);
  ActionPropertyLines lines(labels, values);
  TramLines(lines);
}

int32_t YLTriggerActionTram::SetProperty(int32_t index, const char* text) {
  ActionPropertyLines lines(YLTriggerActionTrain::SetProperty(index, text), text);
  TramLines(lines);
  return lines.Remainder();
}

void YLTriggerActionTram::GetRecordString(char* buffer, size_t size) { WriteRecord(buffer, size, "tram"); }

void YLTriggerActionTram::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr) {
    return;
  }
  auto tram = std::make_unique<YLTriggerTram>();
  tram->TrainID = TrainID;
  tram->Team = Team;
  tram->PID = Team;
  tram->Xbegin = BeginX;
  tram->Ybegin = BeginY;
  tram->Xstop = StopX;
  tram->Ystop = StopY;
  CopyIds(Units, tram->Types);
  logic->InsertPlan(tram.release(), static_cast<uint32_t>(Delay));
}

LUMO_GENERIC_FIELD(YLTriggerActionTram, BeginX)
LUMO_GENERIC_FIELD(YLTriggerActionTram, BeginY)
LUMO_GENERIC_FIELD(YLTriggerActionTram, StopX)
LUMO_GENERIC_FIELD(YLTriggerActionTram, StopY)
