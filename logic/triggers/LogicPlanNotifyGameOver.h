#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// The notice that a player's game is over, won or lost, planned by the
// logic's game-over bookkeeping a few seconds after the decision so the
// last moments still play out.
class LogicPlanNotifyGameOver : public LogicPlanItem {
 public:
  LogicPlanNotifyGameOver();
  // The flag is kept in Victory's low byte.
  LogicPlanNotifyGameOver(int32_t player, bool won);

  const char* GetClassName() const override;
  // "%3d: notify game over" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // The logic's game-over notice for the player, won or lost, with the
  // player's parameter table (null when the player is missing).
  void Execute(CLogic* logic) override;

  // Whether the notice tells of a win: Victory's low byte.
  bool IsVictory() const { return (Victory & 0xFF) != 0; }

  virtual bool LoadPlayer(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePlayer(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadVictory(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveVictory(LumoStream* stream, const LumoProperty* property);

  int32_t Player = 0;
  int32_t Victory = 0;
};
