#include "logic/triggers/YLTriggerActionSetBankLoot.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/core/ThingInfo.h"
#include "logic/triggers/TriggerActionLines.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<YLTriggerActionSetBankLoot> classOfSetBankLoot(kVersion_1_6_0_6, "YLTriggerActionSetBankLoot",
                                                           "YLTriggerAction");
LOGIC_FIELD_PROPERTY(YLTriggerActionSetBankLoot, ID, PropertyInteger, "tInteger");

}  // namespace

const char* YLTriggerActionSetBankLoot::GetClassName() const { return "YLTriggerActionSetBankLoot"; }

void YLTriggerActionSetBankLoot::ListProperties(tStrings& labels, tStrings& values) {
  ActionLineLister lines(labels, values);
  lines.Int("  ID", ID);
}

int32_t YLTriggerActionSetBankLoot::SetProperty(int32_t index, const char* text) {
  ActionLineSetter lines(index, text);
  lines.Int(ID);
  return lines.Remaining();
}

void YLTriggerActionSetBankLoot::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "setbankloot");
  }
}

void YLTriggerActionSetBankLoot::Execute(CLogic* logic, YLCustomTrigger*) {
  if (logic == nullptr) {
    return;
  }
  for (int32_t id = 1; logic->Things != nullptr && id < logic->Things->count; ++id) {
    auto* unit = UnitOf(logic->GetThing(id));
    if (unit != nullptr && unit->Info != nullptr) {
      unit->Info->Status &= ~static_cast<uint32_t>(StatusBurgled);
    }
  }
  auto* robber = UnitOf(logic->GetThing(ID));
  if (robber != nullptr && robber->Info != nullptr) {
    robber->Info->Status |= StatusBurgled;
  }
}

LUMO_GENERIC_FIELD(YLTriggerActionSetBankLoot, ID)
