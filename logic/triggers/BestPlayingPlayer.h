#pragma once

#include <cstdint>
#include <optional>

class CLogic;

// The winner of a time or score limit: the player still playing (game
// state 2) with the highest ParamScore, at least `floor` when one is given;
// among equal scores the lowest id. Players that lost, won or stand apart
// (the police) take no part, whatever their score. 0 when no playing player
// qualifies. Ids are walked from 1 over the whole player table.
int32_t BestPlayingPlayer(const CLogic& logic, std::optional<int32_t> floor);
