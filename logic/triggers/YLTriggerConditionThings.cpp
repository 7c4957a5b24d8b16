#include "logic/triggers/YLTriggerConditionThings.h"

#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/core/ThingInfo.h"
#include "logic/triggers/ConditionSupport.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLThing.h"

using namespace trigger_conditions;

namespace {

LumoClassOf<YLTriggerConditionBuildingsTrashed> classOfBuildingsTrashed(kVersion_1_6_0_6,
                                                                        "YLTriggerConditionBuildingsTrashed",
                                                                        "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionBuildingsTrashed, BuildingIDs, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerConditionBuildingsTrashed, Count, PropertyInteger, "tInteger");

LumoClassOf<YLTriggerConditionAlive> classOfAlive(kVersion_1_6_0_6, "YLTriggerConditionAlive", "YLTriggerCondition");
LOGIC_FIELD_PROPERTY(YLTriggerConditionAlive, Units, PropertyPointer, "tPointer");
LOGIC_FIELD_PROPERTY(YLTriggerConditionAlive, Count, PropertyInteger, "tInteger");

LumoClassOf<YLTriggerConditionDead> classOfDead(kVersion_1_6_0_6, "YLTriggerConditionDead", "YLTriggerConditionAlive");

}  // namespace

// ---- Buildings trashed ----

const char* YLTriggerConditionBuildingsTrashed::GetClassName() const {
  return "YLTriggerConditionBuildingsTrashed";
}

void YLTriggerConditionBuildingsTrashed::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddListLines(labels, values, "  #buildings", "   ID%d", BuildingIDs);
}

int32_t YLTriggerConditionBuildingsTrashed::SetProperty(int32_t index, const char* text) {
  return SetIdListProperty(BuildingIDs, YLTriggerCondition::SetProperty(index, text), 0, text);
}

void YLTriggerConditionBuildingsTrashed::GetRecordString(char* buffer, size_t size) {
  WriteRecord(buffer, size, "buildings trashed");
}

// A building is trashed when it has left its normal state (0) or has no
// grade left.
bool YLTriggerConditionBuildingsTrashed::Evaluate(CLogic* logic) {
  for (int32_t index = 0; index < BuildingIDs.count; ++index) {
    const auto* building = dynamic_cast<const YLTBuilding*>(FindThing(logic, BuildingIDs[index]));
    if (building != nullptr && (building->Info->MoveNumber != 0 || building->GetInfoGrade() == 0)) {
      return true;
    }
  }
  return false;
}

bool YLTriggerConditionBuildingsTrashed::LoadBuildingIDs(LumoStream* stream, const LumoProperty*) {
  return ReadIdList(stream, BuildingIDs);
}

bool YLTriggerConditionBuildingsTrashed::SaveBuildingIDs(LumoStream* stream, const LumoProperty*) {
  return WriteIdList(stream, BuildingIDs);
}

LUMO_GENERIC_FIELD(YLTriggerConditionBuildingsTrashed, Count)

// ---- Alive ----

const char* YLTriggerConditionAlive::GetClassName() const { return "YLTriggerConditionAlive"; }

void YLTriggerConditionAlive::ListProperties(tStrings& labels, tStrings& values) {
  YLTriggerCondition::ListProperties(labels, values);
  AddLine(labels, values, "  treshold", Count);
  AddListLines(labels, values, "  #things", "   id[%d]", Units);
}

int32_t YLTriggerConditionAlive::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = YLTriggerCondition::SetProperty(index, text);
  if (remaining == 0) {
    Count = ParseInt(text);
  }
  return SetIdListProperty(Units, remaining, 1, text);
}

void YLTriggerConditionAlive::GetRecordString(char* buffer, size_t size) { WriteRecord(buffer, size, "alive"); }

bool YLTriggerConditionAlive::Evaluate(CLogic* logic) {
  int32_t living = 0;
  for (int32_t index = 0; index < Units.count;) {
    const YLThing* thing = FindThing(logic, Units[index]);
    if (thing == nullptr || !IsAlive(*thing)) {
      Units.DeleteAt(index);
      continue;
    }
    if (++living > Count) {
      return true;
    }
    ++index;
  }
  return false;
}

bool YLTriggerConditionAlive::LoadUnits(LumoStream* stream, const LumoProperty*) { return ReadIdList(stream, Units); }

bool YLTriggerConditionAlive::SaveUnits(LumoStream* stream, const LumoProperty*) { return WriteIdList(stream, Units); }

LUMO_GENERIC_FIELD(YLTriggerConditionAlive, Count)

// ---- Dead ----

const char* YLTriggerConditionDead::GetClassName() const { return "YLTriggerConditionDead"; }

void YLTriggerConditionDead::GetRecordString(char* buffer, size_t size) { WriteRecord(buffer, size, "daed"); }

bool YLTriggerConditionDead::Evaluate(CLogic* logic) {
  int32_t dead = 0;
  for (int32_t index = 0; index < Units.count;) {
    const YLThing* thing = FindThing(logic, Units[index]);
    if (thing == nullptr) {
      Units.DeleteAt(index);
      continue;
    }
    if (!IsAlive(*thing) && ++dead > Count) {
      return true;
    }
    ++index;
  }
  return false;
}
