#include "logic/triggers/LogicPlanTechLevel.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTShop.h"

namespace {

LumoClassOf<LogicPlanTechLevel> classOfLogicPlanTechLevel(kVersion_1_6_0_6, "LogicPlanTechLevel", "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanTechLevel, Level, PropertyInteger, "tInteger");

}  // namespace

LogicPlanTechLevel::LogicPlanTechLevel() : Level(CLogic::kDefaultTechLevel) {}
LogicPlanTechLevel::LogicPlanTechLevel(int32_t level) : Level(level) {}

const char* LogicPlanTechLevel::GetClassName() const { return "LogicPlanTechLevel"; }

void LogicPlanTechLevel::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: tech level", static_cast<int32_t>(Time));
  }
}

int32_t LogicPlanTechLevel::SetProperty(int32_t index, const char* text) {
  const int32_t remaining = LogicPlanItem::SetProperty(index, text);
  if (remaining == 0) {
    Level = ParseInt(text);
  }
  return remaining - 1;
}

void LogicPlanTechLevel::BuildProperties() {
  LogicPlanItem::BuildProperties();
  EditorLabels().Add("lvl");
  EditorValues().Add(FormatInt(Level).text);
}

// The library's level, then every weapon shop's own (kept within 0-3), the
// last thing first.
void LogicPlanTechLevel::Execute(CLogic* logic) {
  CLogic::SetTechnologyLevel(Level);
  if (logic == nullptr || logic->Things == nullptr) {
    return;
  }
  for (int32_t id = logic->Things->count - 1; id >= 1; --id) {
    if (auto* shop = dynamic_cast<YLTWeaponShop*>(logic->GetThing(id))) {
      shop->SetTechnologyLevel(Level);
    }
  }
}

LUMO_GENERIC_FIELD(LogicPlanTechLevel, Level)
