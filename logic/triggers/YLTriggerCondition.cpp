#include "logic/triggers/YLTriggerCondition.h"

#include <cstdio>

#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<YLTriggerCondition> classOfYLTriggerCondition(kVersion_1_6_0_6, "YLTriggerCondition",
                                                          "YLEditableObject");

}  // namespace

const char* YLTriggerCondition::GetClassName() const { return "YLTriggerCondition"; }

void YLTriggerCondition::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "dummy condition");
  }
}

bool YLTriggerCondition::Evaluate(CLogic*) { return true; }
