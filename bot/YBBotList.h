#pragma once

#include <cstdint>

#include "base/LumoList.h"

class YBBot;

// The game's computer players, saved as the "BotList" member of a save.
class YBBotList : public LumoList {
 public:
  const char* GetClassName() const override { return "YBBotList"; }

  // The first bot whose node identifier is the player; null when none.
  YBBot* GetBot(int32_t player) const;
};
