#include "logic/triggers/GameOverScoreLimit.h"

#include <cstdio>

#include "logic/core/RecordFields.h"

namespace {

LumoClassOf<GameOverScoreLimit> classOfGameOverScoreLimit(kVersion_1_6_0_6, "GameOverScoreLimit", "ConditionTrigger");
LOGIC_FIELD_PROPERTY(GameOverScoreLimit, Limit, PropertyInteger, "tInteger");

}  // namespace

GameOverScoreLimit::GameOverScoreLimit() = default;
GameOverScoreLimit::GameOverScoreLimit(int32_t limit) : Limit(limit) {}

const char* GameOverScoreLimit::GetClassName() const { return "GameOverScoreLimit"; }

void GameOverScoreLimit::GetRecordString(char* buffer, size_t size) {
  if (buffer != nullptr && size > 0) {
    std::snprintf(buffer, size, "%3d: game over score limit", static_cast<int32_t>(Time));
  }
}

LUMO_GENERIC_FIELD(GameOverScoreLimit, Limit)
