#include "game/YGEffectTearGas.h"

#include "base/Random.h"

using namespace effect_recipe;

const char* YGEffectTearGas::GetClassName() const { return "YGEffectTearGas"; }

void YGEffectTearGas::Spawn(LumoCell* cell) {
  for (int32_t wave = 0; wave < 24; ++wave) {
    for (int32_t puff = 0; puff < 12; ++puff) {
      const Direction d = RandomDirection();
      const float x = 10.0f * Fraction() * d.s;
      const float y = 10.0f * Fraction() * d.c;
      const float vx = 0.6f * Fraction() * d.s - 0.1f;
      const float vy = 0.6f * Fraction() * d.c;
      const float vz = 0.2f * Fraction();
      const int32_t sequence = 3 + RandomSigned(wave <= 12 ? 2 : 3);
      AddParticle(cell, sequence, wave, x, y, 0.0f, vx, vy, vz, -0.1f * vx, -0.1f * vy, 0.0f);
    }
  }
}
