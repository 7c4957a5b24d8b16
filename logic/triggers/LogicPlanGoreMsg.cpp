#include "logic/triggers/LogicPlanGoreMsg.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<LogicPlanGoreMsg> classOfLogicPlanGoreMsg(kVersion_1_6_0_6, "LogicPlanGoreMsg", "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanGoreMsg, X, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanGoreMsg, Y, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanGoreMsg, Size, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanGoreMsg, Type, PropertyInteger, "tInteger");

}  // namespace

LogicPlanGoreMsg::LogicPlanGoreMsg() = default;
LogicPlanGoreMsg::LogicPlanGoreMsg(int32_t x, int32_t y, int32_t size, int32_t type)
    : X(x), Y(y), Size(size), Type(type) {}

const char* LogicPlanGoreMsg::GetClassName() const { return "LogicPlanGoreMsg"; }

void LogicPlanGoreMsg::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: gore msg", static_cast<int32_t>(Time));
  }
}

void LogicPlanGoreMsg::Execute(CLogic* logic) {
  if (logic != nullptr) {
    logic->NotifyGore(X, Y, static_cast<float>(Size), Type);
  }
}

LUMO_GENERIC_FIELD(LogicPlanGoreMsg, X)
LUMO_GENERIC_FIELD(LogicPlanGoreMsg, Y)
LUMO_GENERIC_FIELD(LogicPlanGoreMsg, Size)
LUMO_GENERIC_FIELD(LogicPlanGoreMsg, Type)
