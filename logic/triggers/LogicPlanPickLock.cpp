#include "logic/triggers/LogicPlanPickLock.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"

namespace {

// The stream order of the properties is their registration order here.
LumoClassOf<LogicPlanPickLock> classOfLogicPlanPickLock(kVersion_1_6_0_6, "LogicPlanPickLock", "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanPickLock, Building, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanPickLock, Thief, PropertyInteger, "tInteger");

}  // namespace

LogicPlanPickLock::LogicPlanPickLock() = default;
LogicPlanPickLock::LogicPlanPickLock(int32_t thiefId, int32_t buildingId) : Thief(thiefId), Building(buildingId) {}

const char* LogicPlanPickLock::GetClassName() const { return "LogicPlanPickLock"; }

void LogicPlanPickLock::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: pick lock", static_cast<int32_t>(Time));
  }
}

void LogicPlanPickLock::Execute(CLogic* logic) {
  if (logic != nullptr) {
    logic->FinishBurgle(Building, Thief);
  }
}

LUMO_GENERIC_FIELD(LogicPlanPickLock, Building)
LUMO_GENERIC_FIELD(LogicPlanPickLock, Thief)
