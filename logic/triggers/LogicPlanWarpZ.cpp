#include "logic/triggers/LogicPlanWarpZ.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/RecordFields.h"
#include "logic/core/ThingInfo.h"
#include "logic/world/YLThing.h"

namespace {

LumoClassOf<LogicPlanWarpZ> classOfLogicPlanWarpZ(kVersion_1_6_0_6, "LogicPlanWarpZ", "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanWarpZ, TID, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanWarpZ, Z, PropertyInteger, "tInteger");

}  // namespace

LogicPlanWarpZ::LogicPlanWarpZ() = default;
LogicPlanWarpZ::LogicPlanWarpZ(int32_t thing, int32_t z) : TID(thing), Z(z) {}

const char* LogicPlanWarpZ::GetClassName() const { return "LogicPlanWarpZ"; }

void LogicPlanWarpZ::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: warp z", static_cast<int32_t>(Time));
  }
}

void LogicPlanWarpZ::Execute(CLogic* logic) {
  YLThing* thing = logic != nullptr ? logic->GetThing(TID) : nullptr;
  if (thing == nullptr || thing->Info == nullptr || (thing->Info->Status & StatusInContainer) != 0) {
    return;
  }
  if (Z == 0) {
    thing->Info->Z = 0;
    if (logic->Map != nullptr) {
      logic->Map->PlaceThing(thing);
    }
    return;
  }
  if (logic->Map != nullptr) {
    logic->Map->RemoveThing(thing);
  }
  thing->Info->Z = Z;
}

LUMO_GENERIC_FIELD(LogicPlanWarpZ, TID)
LUMO_GENERIC_FIELD(LogicPlanWarpZ, Z)
