#include "logic/triggers/LogicPlanHurtThing.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"

namespace {

// The stream order differs from the field order.
LumoClassOf<LogicPlanHurtThing> classOfLogicPlanHurtThing(kVersion_1_6_0_6, "LogicPlanHurtThing", "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanHurtThing, Thing, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanHurtThing, Agressor, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanHurtThing, Hdamage, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(LogicPlanHurtThing, Cdamage, PropertySingle, "tSingle");
LOGIC_FIELD_PROPERTY(LogicPlanHurtThing, Sx, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanHurtThing, Sy, PropertyInteger, "tInteger");

}  // namespace

LogicPlanHurtThing::LogicPlanHurtThing() = default;
LogicPlanHurtThing::LogicPlanHurtThing(int32_t thing, float healthDamage, float consDamage, int32_t sourceX,
                                       int32_t sourceY, int32_t aggressor)
    : Thing(thing), Hdamage(healthDamage), Cdamage(consDamage), Sx(sourceX), Sy(sourceY), Agressor(aggressor) {}

const char* LogicPlanHurtThing::GetClassName() const { return "LogicPlanHurtThing"; }

void LogicPlanHurtThing::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: hurt thing", static_cast<int32_t>(Time));
  }
}

void LogicPlanHurtThing::Execute(CLogic* logic) {
  if (logic != nullptr) {
    logic->HurtThing(Thing, Hdamage, Cdamage, Sx, Sy, Agressor);
  }
}

void LogicPlanHurtThing::PrintToLog() {
  DebugPrint("hurtdelay ");
  LogicPlanItem::PrintToLog();
}

LUMO_GENERIC_FIELD(LogicPlanHurtThing, Thing)
LUMO_GENERIC_FIELD(LogicPlanHurtThing, Agressor)
LUMO_GENERIC_FIELD(LogicPlanHurtThing, Hdamage)
LUMO_GENERIC_FIELD(LogicPlanHurtThing, Cdamage)
LUMO_GENERIC_FIELD(LogicPlanHurtThing, Sx)
LUMO_GENERIC_FIELD(LogicPlanHurtThing, Sy)
