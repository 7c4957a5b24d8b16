// The end of a game: who won and lost, the plan cleared around the deciding
// item, and the notices planned for each player.

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/LogicPlanGameOver.h"
#include "logic/triggers/LogicPlanNotifyGameOver.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

bool CLogic::IsPlaying(int32_t player) const {
  const CPlayer* each = GetPlayer(player);
  return each != nullptr && each->GetParam(ParamState) == CPlayer::kStatePlaying;
}

void CLogic::SetGameState(int32_t player, int32_t state) {
  if (CPlayer* each = GetPlayer(player)) {
    each->SetParam(ParamState, state);
  }
}

void CLogic::PlanGameOverNotice(int32_t player, bool won) {
  InsertPlan(new LogicPlanNotifyGameOver(player, won), kGameOverNoticeDelay);
}

// Each unit of the winner gets its own copy of a chant step (chant,
// motivation 2.0, fast) through the unit's ExecutePlan, as orders reach
// units.
void CLogic::CelebrateVictory(int32_t player) {
  CelebrateWin(*this, player);
}

void CLogic::EndGameForPlayer(int32_t player, bool won, const LogicPlanItem* spared) {
  if (won) {
    SetGameState(player, CPlayer::kStateWon);
    CelebrateVictory(player);
    ClearPlan(spared);
    PlanGameOverNotice(player, true);
    for (int32_t other = 1; GetPlayer(other) != nullptr; ++other) {
      if (other != player && IsPlaying(other)) {
        SetGameState(other, CPlayer::kStateLost);
        PlanGameOverNotice(other, false);
      }
    }
    return;
  }

  SetGameState(player, CPlayer::kStateLost);
  if (SinglePlayer != 0) {
    PlanGameOverNotice(player, false);
  }
  int32_t playing = 0;
  for (int32_t each = 1; GetPlayer(each) != nullptr; ++each) {
    playing += IsPlaying(each) ? 1 : 0;
  }
  if (playing >= 2) {
    return;
  }
  // Clearing takes the notice just planned too: every player is told below.
  ClearPlan(spared);
  for (int32_t each = 1; GetPlayer(each) != nullptr; ++each) {
    if (IsPlaying(each)) {
      SetGameState(each, CPlayer::kStateWon);
      CelebrateVictory(each);
      PlanGameOverNotice(each, true);
    } else {
      PlanGameOverNotice(each, false);
    }
  }
}

void CLogic::ScheduleGameOver(int32_t player, const LogicPlanItem* spared, uint32_t delay) {
  DeletePlanItemsBut([spared](const LogicPlanItem* item) {
    return item == spared || dynamic_cast<const GameOverTrigger*>(item) == nullptr;
  });
  InsertPlan(new LogicPlanGameOver(player), delay);
}
