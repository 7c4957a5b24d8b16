#include "logic/triggers/GameOverScoreLimit.h"

#include <cstdio>

#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/triggers/BestPlayingPlayer.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/tStrings.h"

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

int32_t GameOverScoreLimit::SetProperty(int32_t index, const char* text) {
  if (index == 0) {
    Limit = ParseInt(text);
  }
  return index - 1;
}

void GameOverScoreLimit::BuildProperties() {
  EditorLabels().Add("score limit");
  EditorValues().Add(FormatInt(Limit).text);
}

// Only playing players count: one who lost, or the police, does not end
// the game by reaching the limit.
void GameOverScoreLimit::Execute(CLogic* logic) {
  if (logic == nullptr) {
    return;
  }
  if (const int32_t winner = BestPlayingPlayer(*logic, Limit)) {
    logic->EndGameForPlayer(winner, true, this);
    Frequency = 0;
  }
}

LUMO_GENERIC_FIELD(GameOverScoreLimit, Limit)
