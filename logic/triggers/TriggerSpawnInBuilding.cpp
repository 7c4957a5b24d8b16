#include "logic/triggers/TriggerSpawnInBuilding.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLTBuilding.h"

namespace {

LumoClassOf<TriggerSpawnInBuilding> classOfTriggerSpawnInBuilding(kVersion_1_6_0_6, "TriggerSpawnInBuilding",
                                                                  "LogicPlanItem");
LOGIC_FIELD_PROPERTY(TriggerSpawnInBuilding, Building, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(TriggerSpawnInBuilding, Owner, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(TriggerSpawnInBuilding, Type, PropertyInteger, "tInteger");

LumoClassOf<TriggerSpawnLeaderInBuilding> classOfTriggerSpawnLeaderInBuilding(
    kVersion_1_6_0_6, "TriggerSpawnLeaderInBuilding", "TriggerSpawnInBuilding");
LOGIC_FIELD_PROPERTY(TriggerSpawnLeaderInBuilding, Name, PropertyCharStr, "tCharStr");

}  // namespace

// ---- TriggerSpawnInBuilding ----

TriggerSpawnInBuilding::TriggerSpawnInBuilding() = default;

const char* TriggerSpawnInBuilding::GetClassName() const { return "TriggerSpawnInBuilding"; }

void TriggerSpawnInBuilding::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: unit spawn", static_cast<int32_t>(Time));
  }
}

void TriggerSpawnInBuilding::PrintToLog() {
  DebugPrint("TriggerSpawnInBuilding ");
  LogicPlanItem::PrintToLog();
}

YLTBuilding* TriggerSpawnInBuilding::FindBuilding(CLogic* logic) const {
  return logic != nullptr ? dynamic_cast<YLTBuilding*>(logic->GetThing(Building)) : nullptr;
}

void TriggerSpawnInBuilding::Execute(CLogic* logic) {
  if (YLTBuilding* building = FindBuilding(logic)) {
    logic->CreateUnit(Type, Owner, building);
  }
}

LUMO_GENERIC_FIELD(TriggerSpawnInBuilding, Building)
LUMO_GENERIC_FIELD(TriggerSpawnInBuilding, Owner)
LUMO_GENERIC_FIELD(TriggerSpawnInBuilding, Type)

// ---- TriggerSpawnLeaderInBuilding ----

TriggerSpawnLeaderInBuilding::TriggerSpawnLeaderInBuilding() = default;
TriggerSpawnLeaderInBuilding::~TriggerSpawnLeaderInBuilding() { FreeCharStr(Name); }

const char* TriggerSpawnLeaderInBuilding::GetClassName() const { return "TriggerSpawnLeaderInBuilding"; }

void TriggerSpawnLeaderInBuilding::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: leader spawn", static_cast<int32_t>(Time));
  }
}

void TriggerSpawnLeaderInBuilding::PrintToLog() {
  DebugPrint("TriggerSpawnLeaderInBuilding ");
  TriggerSpawnInBuilding::PrintToLog();
}

void TriggerSpawnLeaderInBuilding::Execute(CLogic* logic) {
  if (YLTBuilding* building = FindBuilding(logic)) {
    logic->SpawnLeaderInBuilding(Name, Owner, building);
  }
}

LUMO_GENERIC_FIELD(TriggerSpawnLeaderInBuilding, Name)
