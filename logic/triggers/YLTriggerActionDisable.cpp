#include "logic/triggers/YLTriggerActionDisable.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/TriggerActionLines.h"
#include "logic/triggers/YLCustomTrigger.h"

namespace {

LumoClassOf<YLTriggerActionDisable> classOfDisable(kVersion_1_6_0_6, "YLTriggerActionDisable", "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionDisable, ID, PropertyInteger, "tInteger");

LumoClassOf<YLTriggerActionEnable> classOfEnable(kVersion_1_6_0_6, "YLTriggerActionEnable", "YLTriggerActionDisable");

}  // namespace

// ---- Disable ----

const char* YLTriggerActionDisable::GetClassName() const { return "YLTriggerActionDisable"; }

void YLTriggerActionDisable::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  id", ID);
}

int32_t YLTriggerActionDisable::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(ID);
  return lines.Remaining();
}

void YLTriggerActionDisable::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "disable");
  }
}

YLCustomTrigger* YLTriggerActionDisable::FindTarget(CLogic* logic, YLCustomTrigger* trigger) const {
  if (ID == 0) {
    return trigger;
  }
  return logic != nullptr ? logic->FindTrigger(ID) : nullptr;
}

void YLTriggerActionDisable::Execute(CLogic* logic, YLCustomTrigger* trigger) {
  if (YLCustomTrigger* target = FindTarget(logic, trigger)) {
    target->SetEnabled(false);
  }
}

LUMO_GENERIC_FIELD(YLTriggerActionDisable, ID)

// ---- Enable ----

const char* YLTriggerActionEnable::GetClassName() const { return "YLTriggerActionEnable"; }

void YLTriggerActionEnable::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "enable");
  }
}

void YLTriggerActionEnable::Execute(CLogic* logic, YLCustomTrigger* trigger) {
  if (YLCustomTrigger* target = FindTarget(logic, trigger)) {
    target->SetEnabled(true);
  }
}
