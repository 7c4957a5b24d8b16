#include "logic/triggers/LogicPlanNotifyGameOver.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<LogicPlanNotifyGameOver> classOfLogicPlanNotifyGameOver(kVersion_1_6_0_6, "LogicPlanNotifyGameOver",
                                                                    "LogicPlanItem");
LOGIC_FIELD_PROPERTY(LogicPlanNotifyGameOver, Player, PropertyInteger, "tInteger");
LOGIC_FIELD_PROPERTY(LogicPlanNotifyGameOver, Victory, PropertyInteger, "tInteger");

}  // namespace

LogicPlanNotifyGameOver::LogicPlanNotifyGameOver() = default;
LogicPlanNotifyGameOver::LogicPlanNotifyGameOver(int32_t player, bool won) : Player(player), Victory(won ? 1 : 0) {}

const char* LogicPlanNotifyGameOver::GetClassName() const { return "LogicPlanNotifyGameOver"; }

void LogicPlanNotifyGameOver::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: notify game over", static_cast<int32_t>(Time));
  }
}

void LogicPlanNotifyGameOver::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  CPlayer* player = logic->GetPlayer(Player);
  logic->NotifyGameOver(Player, IsVictory(), player != nullptr ? &player->Params : nullptr);
}

LUMO_GENERIC_FIELD(LogicPlanNotifyGameOver, Player)
LUMO_GENERIC_FIELD(LogicPlanNotifyGameOver, Victory)
