#include "logic/triggers/GameOverTimeLimit.h"

#include <cstdio>

#include "logic/core/RecordFields.h"

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
