#include "logic/triggers/GameOverTimeLimit.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/BestPlayingPlayer.h"

namespace {

LumoClassOf<GameOverTimeLimit> classOfGameOverTimeLimit(kVersion_1_6_0_6, "GameOverTimeLimit", "ConditionTrigger");

}  // namespace

GameOverTimeLimit::GameOverTimeLimit() = default;

const char* GameOverTimeLimit::GetClassName() const { return "GameOverTimeLimit"; }

void GameOverTimeLimit::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: game over time limit", static_cast<int32_t>(Time));
  }
}

bool GameOverTimeLimit::ShowsCountdown() { return true; }

const char* GameOverTimeLimit::GetCountdownText(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "time limit");
  }
  return buffer;
}

// The best score is looked for among the playing players only, starting
// from the first one's score: a player who lost, or the police, cannot win
// on the time, and scores below 0 still find a winner.
void GameOverTimeLimit::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  if (const int32_t winner = BestPlayingPlayer(*logic, std::nullopt)) {
    logic->EndGameForPlayer(winner, true, this);
  }
  Frequency = 0;
}
