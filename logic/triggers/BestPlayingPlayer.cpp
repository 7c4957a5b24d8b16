#include "logic/triggers/BestPlayingPlayer.h"

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"

int32_t BestPlayingPlayer(const CLogic& logic, std::optional<int32_t> floor) {
  int32_t winner = 0;
  int32_t best = 0;
  for (int32_t id = 1; id <= logic.GetPlayerCount(); ++id) {
    const CPlayer* player = logic.GetPlayer(id);
    if (player == nullptr || player->GetParam(ParamState) != CPlayer::kStatePlaying) {
      continue;
    }
    const int32_t score = player->GetParam(ParamScore);
    if (floor.has_value() && score < *floor) {
      continue;
    }
    if (winner == 0 || score > best) {
      winner = id;
      best = score;
    }
  }
  return winner;
}
