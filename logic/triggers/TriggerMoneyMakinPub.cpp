#include "logic/triggers/TriggerMoneyMakinPub.h"

#include <cstdio>

#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<TriggerMoneyMakinPub> classOfTriggerMoneyMakinPub(kVersion_1_6_0_6, "TriggerMoneyMakinPub",
                                                              "ConditionTrigger");

}  // namespace

TriggerMoneyMakinPub::TriggerMoneyMakinPub() : ConditionTrigger(kPubFrequency) {}

const char* TriggerMoneyMakinPub::GetClassName() const { return "TriggerMoneyMakinPub"; }

void TriggerMoneyMakinPub::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: money makin pub", static_cast<int32_t>(Time));
  }
}
