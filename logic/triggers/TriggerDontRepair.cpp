#include "logic/triggers/TriggerDontRepair.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTBuilding.h"

namespace {

LumoClassOf<TriggerDontRepair> classOfTriggerDontRepair(kVersion_1_6_0_6, "TriggerDontRepair", "ConditionTrigger");
LOGIC_FIELD_PROPERTY(TriggerDontRepair, Buildings, PropertyPointer, "tPointer");

}  // namespace

TriggerDontRepair::TriggerDontRepair() = default;

const char* TriggerDontRepair::GetClassName() const { return "TriggerDontRepair"; }

void TriggerDontRepair::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "don't repair");
  }
}

int32_t TriggerDontRepair::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = ConditionTrigger::SetProperty(index, text);
  // The time line set to the current frame runs the item at once, which
  // may free it: nothing of the item is touched after the base took it.
  if (index == 0) {
    return remaining;
  }
  return SetIdListProperty(Buildings, remaining, 0, text);
}

void TriggerDontRepair::BuildProperties() {
  ConditionTrigger::BuildProperties();
  ListIdList(EditorLabels(), EditorValues(), "build#", "bid[%d]", Buildings);
}

void TriggerDontRepair::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  for (int32_t index = 0; index < Buildings.count;) {
    auto* building = dynamic_cast<YLTBuilding*>(logic->GetThing(Buildings[index]));
    if (building == nullptr || building->Info == nullptr) {
      Buildings.DeleteAt(index);
      continue;
    }
    if (building->GetState() == YLTBuilding::kStateTrashed) {
      building->Info->Hp = 0.0f;
    }
    ++index;
  }
}

bool TriggerDontRepair::LoadBuildings(LumoStream* stream, const LumoProperty*) {
  return ReadIdList(stream, Buildings);
}

bool TriggerDontRepair::SaveBuildings(LumoStream* stream, const LumoProperty*) {
  return WriteIdList(stream, Buildings);
}
