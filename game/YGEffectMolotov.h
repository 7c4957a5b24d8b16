#pragma once

#include "game/YGEffect.h"

// Code 4: a fire bomb, 24 waves of 15 flames rising from a ring of up to 20
// pixels (360 particles).
class YGEffectMolotov : public YGEffect {
 public:
  const char* GetClassName() const override;
  void Spawn(LumoCell* cell) override;
};
