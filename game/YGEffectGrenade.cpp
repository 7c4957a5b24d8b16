#include "game/YGEffectGrenade.h"

#include "base/Random.h"

using namespace effect_recipe;

const char* YGEffectGrenade::GetClassName() const { return "YGEffectGrenade"; }

void YGEffectGrenade::Spawn(LumoCell* cell) {
  // Two rings; the first (k = 0) starts at the origin.
  for (int32_t k = 0; k < 2; ++k) {
    const float ring = static_cast<float>(k);
    const float height = static_cast<float>(4 - k);
    for (int32_t flame = 0; flame < 30; ++flame) {
      const Direction d = RandomDirection();
      const float x = 4.5f * ring * height * Fraction() * d.s;
      const float y = 4.5f * ring * height * Fraction() * d.c;
      const float z = height * Fraction();
      const float vx = x * kThirteenth;
      const float vy = y * kThirteenth;
      const float vz = Fraction() + 2.0f;
      const int32_t sequence = RandomSigned(2);
      AddParticle(cell, sequence, k, x, y, z, vx, vy, vz, -0.1f * vx, -0.1f * vy, 0.0f);
    }
  }
  // The burst, braked hard.
  for (int32_t flame = 0; flame < 15; ++flame) {
    const Direction d = RandomDirection();
    const float x = 7.0f * Fraction() * d.s;
    const float y = 7.0f * Fraction() * d.c;
    const float z = 5.0f * Fraction();
    const float vx = 1.2f * x;
    const float vy = 1.2f * y;
    const float vz = 10.0f * Fraction();
    AddParticle(cell, 7, 0, x, y, z, vx, vy, vz, -vx * kThird, -vy * kThird, -3.0f * vz);
  }
}
