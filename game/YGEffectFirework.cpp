#include "game/YGEffectFirework.h"

#include "base/Random.h"

using namespace effect_recipe;

const char* YGEffectFirework::GetClassName() const { return "YGEffectFirework"; }

void YGEffectFirework::Spawn(LumoCell* cell) {
  for (int32_t spark = 0; spark < 12; ++spark) {
    const Direction d = RandomDirection();
    const float x = 10.0f * Fraction() * d.s;
    const float y = 10.0f * Fraction() * d.c;
    const float vx = 0.6f * Fraction() * d.s - 0.1f;
    const float vy = 0.6f * Fraction() * d.c;
    const float vz = 0.5f * Fraction();
    const int32_t sequence = RandomSigned(2);
    AddParticle(cell, sequence, 0, x, y, 0.0f, vx, vy, vz, -0.1f * vx, -0.1f * vy, 0.0f);
  }
}
