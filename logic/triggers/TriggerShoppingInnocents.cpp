#include "logic/triggers/TriggerShoppingInnocents.h"

#include <cstdio>

#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<TriggerShoppingInnocents> classOfTriggerShoppingInnocents(kVersion_1_6_0_6, "TriggerShoppingInnocents",
                                                                      "ConditionTrigger");
LOGIC_FIELD_PROPERTY(TriggerShoppingInnocents, Shopping, PropertyBool, "tBool");

}  // namespace

TriggerShoppingInnocents::TriggerShoppingInnocents() = default;

const char* TriggerShoppingInnocents::GetClassName() const { return "TriggerShoppingInnocents"; }

void TriggerShoppingInnocents::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "stop shopping");
  }
}

void TriggerShoppingInnocents::Execute(CLogic* logic) {
  if (logic == nullptr || logic->Things == nullptr) {
    return;
  }
  for (int32_t id = 1; id < logic->Things->count; ++id) {
    if (auto* unit = UnitOf(logic->GetThing(id))) {
      unit->SetStatusBit9();
    }
  }
}

LUMO_GENERIC_FIELD(TriggerShoppingInnocents, Shopping)
