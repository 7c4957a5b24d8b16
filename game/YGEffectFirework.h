#pragma once

#include "game/YGEffect.h"

// Code 3: a firework, 12 sparks at once.
class YGEffectFirework : public YGEffect {
 public:
  const char* GetClassName() const override;
  void Spawn(LumoCell* cell) override;
};
