#include "logic/triggers/LogicPlanEnterMsg.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnit.h"

namespace {

// The stream order of the properties is their registration order here.
LumoClassOf<LogicPlanEnterMsg> classOfLogicPlanEnterMsg(kVersion_1_6_0_6, "LogicPlanEnterMsg", "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanEnterMsg, Container, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanEnterMsg, Thing, PropertyInteger, "tInteger");

}  // namespace

LogicPlanEnterMsg::LogicPlanEnterMsg() = default;
LogicPlanEnterMsg::LogicPlanEnterMsg(int32_t unitId, int32_t containerId) : Thing(unitId), Container(containerId) {}

const char* LogicPlanEnterMsg::GetClassName() const { return "LogicPlanEnterMsg"; }

void LogicPlanEnterMsg::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: enter msg", static_cast<int32_t>(Time));
  }
}

void LogicPlanEnterMsg::PrintToLog() {
  DebugPrint("entermsg ");
  LogicPlanItem::PrintToLog();
}

// Told only while the ids still name a unit and a container.
void LogicPlanEnterMsg::Execute(CLogic* logic) {
  if (logic != nullptr && UnitOf(logic->GetThing(Thing)) != nullptr &&
      dynamic_cast<YLTContainerThing*>(logic->GetThing(Container)) != nullptr) {
    logic->NotifyEnter(Thing, Container);
  }
}

LUMO_GENERIC_FIELD(LogicPlanEnterMsg, Container)
LUMO_GENERIC_FIELD(LogicPlanEnterMsg, Thing)
