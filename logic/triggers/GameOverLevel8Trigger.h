#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/GameOverTrigger.h"

// The game over of the level fought against player 2's four leaders:
// player PID loses (speech 9) when one of those leaders lies dead at x -6,
// and wins (speech 7, WinVinkje ticked) once player 2 has all four leader
// slots used and no fan units left.
class GameOverLevel8Trigger : public GameOverTrigger {
 public:
  static constexpr int32_t kOpponent = 2;
  static constexpr int32_t kOpponentLeaders = 4;
  static constexpr int32_t kLeaderLostX = -6;
  static constexpr int32_t kLostMessage = 9;
  static constexpr int32_t kWonMessage = 7;

  GameOverLevel8Trigger();

  const char* GetClassName() const override;
  // "%3d: game over lvl8" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic) override;
};
