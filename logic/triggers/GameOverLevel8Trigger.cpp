#include "logic/triggers/GameOverLevel8Trigger.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLUnit.h"

namespace {

LumoClassOf<GameOverLevel8Trigger> classOfGameOverLevel8Trigger(kVersion_1_6_0_6, "GameOverLevel8Trigger",
                                                                "GameOverTrigger");

}  // namespace

GameOverLevel8Trigger::GameOverLevel8Trigger() = default;

const char* GameOverLevel8Trigger::GetClassName() const { return "GameOverLevel8Trigger"; }

void GameOverLevel8Trigger::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: game over lvl8", static_cast<int32_t>(Time));
  }
}

void GameOverLevel8Trigger::Execute(CLogic* logic) {
  const CPlayer* opponent = logic != nullptr ? logic->GetPlayer(kOpponent) : nullptr;
  if (opponent == nullptr) {
    return;
  }
  for (int32_t number = 1; number <= kOpponentLeaders; ++number) {
    const auto* leader = UnitOf(logic->GetThing(opponent->GetLeaderID(number)));
    if (leader != nullptr && (leader->Info->Status & StatusAlive) == 0 && leader->Info->X == kLeaderLostX) {
      DeclareLoss(logic, kLostMessage);
      return;
    }
  }
  if (opponent->GetParam(ParamSelectable) < 1 && opponent->GetParam(ParamLeaders) == kOpponentLeaders) {
    DeclareWin(logic, kWonMessage);
  }
}
