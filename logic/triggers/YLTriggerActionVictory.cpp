#include "logic/triggers/YLTriggerActionVictory.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/TriggerActionLines.h"
#include "logic/triggers/YLCustomTrigger.h"

namespace {

LumoClassOf<YLTriggerActionVictory> classOfVictory(kVersion_1_6_0_6, "YLTriggerActionVictory", "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionVictory, Team, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionVictory, Victory, PropertyInteger, "tInteger");

LumoClassOf<YLTriggerActionObjectiveVinkje> classOfObjectiveVinkje(kVersion_1_6_0_6,
                                                                   "YLTriggerActionObjectiveVinkje",
                                                                   "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionObjectiveVinkje, ObjectiveID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionObjectiveVinkje, Value, PropertyInteger, "tInteger");

}  // namespace

// ---- Victory ----

const char* YLTriggerActionVictory::GetClassName() const { return "YLTriggerActionVictory"; }

void YLTriggerActionVictory::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  team", Team);
  lines.Bool("  victory", Victory);
}

int32_t YLTriggerActionVictory::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(Team);
  lines.Bool(Victory);
  return lines.Remaining();
}

void YLTriggerActionVictory::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "victory %d %s", Team, Victory ? "win" : "loose");
  }
}

void YLTriggerActionVictory::Execute(CLogic* logic, YLCustomTrigger* trigger) {
  if (logic != nullptr) {
    logic->EndGameForPlayer(Team, Victory, trigger);
  }
  if (trigger != nullptr) {
    trigger->Frequency = 0;
  }
}

bool YLTriggerActionVictory::LoadTeam(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &Team);
}

bool YLTriggerActionVictory::SaveTeam(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &Team);
}

bool YLTriggerActionVictory::LoadVictory(LumoStream* stream, const LumoProperty*) {
  return LoadFlagInteger(stream, Victory);
}

bool YLTriggerActionVictory::SaveVictory(LumoStream* stream, const LumoProperty*) {
  return SaveFlagInteger(stream, Victory);
}

// ---- Objective tick ----

const char* YLTriggerActionObjectiveVinkje::GetClassName() const { return "YLTriggerActionObjectiveVinkje"; }

void YLTriggerActionObjectiveVinkje::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  ObjID", ObjectiveID);
  lines.Bool("  value", Value);
}

int32_t YLTriggerActionObjectiveVinkje::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(ObjectiveID);
  lines.Bool(Value);
  return lines.Remaining();
}

void YLTriggerActionObjectiveVinkje::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "objective vinkje");
  }
}

void YLTriggerActionObjectiveVinkje::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic != nullptr) {
    logic->SetVinkje(ObjectiveID, Value);
  }
}

bool YLTriggerActionObjectiveVinkje::LoadObjectiveID(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &ObjectiveID);
}

bool YLTriggerActionObjectiveVinkje::SaveObjectiveID(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &ObjectiveID);
}

bool YLTriggerActionObjectiveVinkje::LoadValue(LumoStream* stream, const LumoProperty*) {
  return LoadFlagInteger(stream, Value);
}

bool YLTriggerActionObjectiveVinkje::SaveValue(LumoStream* stream, const LumoProperty*) {
  return SaveFlagInteger(stream, Value);
}
