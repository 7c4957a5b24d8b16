#include "logic/triggers/YLTriggerActionUnitsAvail.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/TriggerActionLines.h"
#include "logic/world/YLTPub.h"

namespace {

LumoClassOf<YLTriggerActionUnitsAvail> classOfUnitsAvail(kVersion_1_6_0_6, "YLTriggerActionUnitsAvail",
                                                         "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionUnitsAvail, PubID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionUnitsAvail, Units, PropertyPointer, "tPointer");

}  // namespace

const char* YLTriggerActionUnitsAvail::GetClassName() const { return "YLTriggerActionUnitsAvail"; }

void YLTriggerActionUnitsAvail::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  pub id", PubID);
  lines.List("  unit types", "   %d", Units);
}

int32_t YLTriggerActionUnitsAvail::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(PubID);
  lines.List(Units);
  return lines.Remaining();
}

void YLTriggerActionUnitsAvail::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "unit avail");
  }
}

void YLTriggerActionUnitsAvail::Execute(CLogic* logic, YLCustomTrigger*) {
  auto* pub = logic != nullptr ? dynamic_cast<YLTPub*>(logic->GetThing(PubID)) : nullptr;
  if (pub == nullptr) {
    return;
  }
  for (int32_t index = 0; index < Units.count; ++index) {
    pub->AddAvailableUnit(Units[index]);
  }
}

bool YLTriggerActionUnitsAvail::LoadPubID(LumoStream* stream, const LumoProperty* property) {
  return LoadPropertyFrom(stream, property, &PubID);
}

bool YLTriggerActionUnitsAvail::SavePubID(LumoStream* stream, const LumoProperty* property) {
  return SavePropertyTo(stream, property, &PubID);
}

bool YLTriggerActionUnitsAvail::LoadUnits(LumoStream* stream, const LumoProperty*) {
  return ReadIdList(stream, Units);
}

bool YLTriggerActionUnitsAvail::SaveUnits(LumoStream* stream, const LumoProperty*) {
  return WriteIdList(stream, Units);
}
