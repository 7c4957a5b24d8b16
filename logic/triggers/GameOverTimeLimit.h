#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"

// The time limit of a multi-player game, planned for the frame at which the
// time is up; it drives the on-screen countdown "time limit" to its time.
// When it runs, the best-scoring player still playing wins (the lowest id
// among equals) and the trigger stops; with nobody playing it just stops.
class GameOverTimeLimit : public ConditionTrigger {
 public:
  GameOverTimeLimit();

  const char* GetClassName() const override;
  // "%3d: game over time limit" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  bool ShowsCountdown() override;
  // "time limit".
  const char* GetCountdownText(char* buffer, size_t size) override;
  void Execute(CLogic* logic) override;
};
