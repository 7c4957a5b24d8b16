#include "logic/triggers/LogicPlanGameOver.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<LogicPlanGameOver> classOfLogicPlanGameOver(kVersion_1_6_0_6, "LogicPlanGameOver", "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanGameOver, Player, PropertyInteger, "tInteger");

}  // namespace

LogicPlanGameOver::LogicPlanGameOver() = default;
LogicPlanGameOver::LogicPlanGameOver(int32_t player) : Player(player) {}

const char* LogicPlanGameOver::GetClassName() const { return "LogicPlanGameOver"; }

void LogicPlanGameOver::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: game over", static_cast<int32_t>(Time));
  }
}

void LogicPlanGameOver::Execute(CLogic* logic) {
  if (logic != nullptr) {
    logic->EndGameForPlayer(Player, true, this);
  }
}

LUMO_GENERIC_FIELD(LogicPlanGameOver, Player)
