#pragma once

#include <cstdint>

#include "game/YGEffect.h"

// Code 8: a safe cracked open: four sprays round the door, four rings of 60
// flames and a burst of 15 (555 particles). Every particle sorts one step
// above the ground (SortZ 1), in front of the safe.
class YGEffectCrackSafe : public YGEffect {
 public:
  const char* GetClassName() const override;
  void Spawn(LumoCell* cell) override;

  // 75 particles at a horizontal offset and a height (pixels), pushed
  // sideways at a speed (pixels a frame): two rings of 30 and a burst of 15.
  void SprayAt(LumoCell* cell, int32_t offset, int32_t height, float sideways);
};
