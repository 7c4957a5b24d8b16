#pragma once

#include "game/YGEffect.h"

// Code 9: a gas explosion, 24 rings of 15 flames spreading every other frame
// and three rings of 10 (390 particles).
class YGEffectGasExplosion : public YGEffect {
 public:
  const char* GetClassName() const override;
  void Spawn(LumoCell* cell) override;
};
