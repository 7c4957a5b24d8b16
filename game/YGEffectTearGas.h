#pragma once

#include "game/YGEffect.h"

// Code 1: a tear-gas cloud, 24 waves of 12 puffs released a frame apart; the
// first 13 waves use the three smaller puffs only (288 particles).
class YGEffectTearGas : public YGEffect {
 public:
  const char* GetClassName() const override;
  void Spawn(LumoCell* cell) override;
};
