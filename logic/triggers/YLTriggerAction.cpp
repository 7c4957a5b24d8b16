#include "logic/triggers/YLTriggerAction.h"

#include <cstdio>

#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<YLTriggerAction> classOfYLTriggerAction(kVersion_1_6_0_6, "YLTriggerAction", "YLEditableObject");

}  // namespace

const char* YLTriggerAction::GetClassName() const { return "YLTriggerAction"; }

void YLTriggerAction::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "dummy action");
  }
}

void YLTriggerAction::Execute(CLogic*, YLCustomTrigger*) {}

const char* YLTriggerAction::GetCountdownText(char* buffer, size_t) { return buffer; }
