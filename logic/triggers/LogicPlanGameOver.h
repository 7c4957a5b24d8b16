#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// The end of a game, planned by the logic's ScheduleGameOver: when it runs,
// its player has won. The game-over bookkeeping clears the plan around it;
// the item itself stays until the plan deletes it after its run.
class LogicPlanGameOver : public LogicPlanItem {
 public:
  LogicPlanGameOver();
  explicit LogicPlanGameOver(int32_t player);

  const char* GetClassName() const override;
  // "%3d: game over" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // The player wins (the logic's EndGameForPlayer, sparing this item).
  void Execute(CLogic* logic) override;

  virtual bool LoadPlayer(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePlayer(LumoStream* stream, const LumoProperty* property);

  int32_t Player = 0;
};
