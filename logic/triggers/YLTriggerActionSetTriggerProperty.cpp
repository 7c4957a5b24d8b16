#include "logic/triggers/YLTriggerActionSetTriggerProperty.h"

#include <cstdio>
#include <string>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/TriggerActionLines.h"
#include "logic/triggers/YLCustomTrigger.h"

namespace {

LumoClassOf<YLTriggerActionSetTriggerProperty> classOfSetTriggerProperty(kVersion_1_6_0_6,
                                                                         "YLTriggerActionSetTriggerProperty",
                                                                         "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionSetTriggerProperty, TriggerID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionSetTriggerProperty, Index, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(YLTriggerActionSetTriggerProperty, Value, PropertyCharStr, "tCharStr");

}  // namespace

YLTriggerActionSetTriggerProperty::YLTriggerActionSetTriggerProperty() = default;
YLTriggerActionSetTriggerProperty::~YLTriggerActionSetTriggerProperty() { FreeCharStr(Value); }

const char* YLTriggerActionSetTriggerProperty::GetClassName() const { return "YLTriggerActionSetTriggerProperty"; }

void YLTriggerActionSetTriggerProperty::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  triggerID", TriggerID);
  lines.Int("  index", Index);
  lines.Text("  value", Value);
}

int32_t YLTriggerActionSetTriggerProperty::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(TriggerID);
  lines.Int(Index);
  lines.Text(Value);
  return lines.Remaining();
}

void YLTriggerActionSetTriggerProperty::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "set trigger property");
  }
}

// The trigger may be the one running this action, and the line written may
// be this very action's slot: the trigger keeps what its setter removes
// until its run ends, but the text is still copied first and nothing of the
// action is touched after the setter returns. (A time set to the current
// frame runs the trigger at once; when that is the trigger running this
// action, the nested run returns at once.)
void YLTriggerActionSetTriggerProperty::Execute(CLogic* logic, YLCustomTrigger*) {
  YLCustomTrigger* target = logic != nullptr ? logic->FindTrigger(TriggerID) : nullptr;
  if (target == nullptr) {
    return;
  }
  const bool hasText = Value != nullptr;
  const std::string text = hasText ? Value : "";
  target->SetProperty(Index, hasText ? text.c_str() : nullptr);
}

LUMO_GENERIC_FIELD(YLTriggerActionSetTriggerProperty, TriggerID)
LUMO_GENERIC_FIELD(YLTriggerActionSetTriggerProperty, Index)
LUMO_GENERIC_FIELD(YLTriggerActionSetTriggerProperty, Value)
