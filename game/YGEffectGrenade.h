#pragma once

#include "game/YGEffect.h"

// Code 5: a grenade, two rings of 30 flames and a burst of 15 (75 particles).
class YGEffectGrenade : public YGEffect {
 public:
  const char* GetClassName() const override;
  void Spawn(LumoCell* cell) override;
};
