#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// The notice that a player's game is over, won or lost, planned by the
// logic's game-over bookkeeping a few seconds after the decision so the
// last moments still play out.
//
// Running it tells the game through the logic's game-over notice, which
// comes with the logic's exports and event dispatch; until then the item is
// planned, stored and loaded, and its run does nothing.
class LogicPlanNotifyGameOver : public LogicPlanItem {
 public:
  LogicPlanNotifyGameOver();
  // The flag is kept in Victory's low byte.
  LogicPlanNotifyGameOver(int32_t player, bool won);

  const char* GetClassName() const override;
  // "%3d: notify game over" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;

  // Whether the notice tells of a win: Victory's low byte.
  bool IsVictory() const { return (Victory & 0xFF) != 0; }

  virtual bool LoadPlayer(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePlayer(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadVictory(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveVictory(LumoStream* stream, const LumoProperty* property);

  int32_t Player = 0;
  int32_t Victory = 0;
};
