#pragma once

#include "game/YGEffect.h"

// Code 6: a big bomb, 48 spreading rings of 80 flames and ten rings of 50
// thrown up and out (4,340 particles).
class YGEffectBigBomb : public YGEffect {
 public:
  const char* GetClassName() const override;
  void Spawn(LumoCell* cell) override;
};
