#include "game/YGEffectGasExplosion.h"

#include "base/Random.h"

using namespace effect_recipe;

const char* YGEffectGasExplosion::GetClassName() const { return "YGEffectGasExplosion"; }

void YGEffectGasExplosion::Spawn(LumoCell* cell) {
  // 24 rings, one every other frame, each wider than the last.
  for (int32_t ring = 0; ring < 24; ++ring) {
    const float radius = static_cast<float>(ring);
    for (int32_t flame = 0; flame < 15; ++flame) {
      const Direction d = RandomDirection();
      const float x = (1.0f + Fraction()) * radius * d.s;
      const float y = (1.0f + Fraction()) * radius * d.c;
      const float vx = 3.0f * d.s;
      const float vy = 3.0f * d.c;
      const float vz = 2.0f * Fraction();
      const int32_t sequence = RandomSigned(2);
      AddParticle(cell, sequence, 2 * ring, x, y, 0.0f, vx, vy, vz, 0.0f, 0.0f, 0.0f);
    }
  }
  for (int32_t k = 0; k < 3; ++k) {
    const float ring = static_cast<float>(k);
    const float height = static_cast<float>(4 - k);
    for (int32_t flame = 0; flame < 10; ++flame) {
      const Direction d = RandomDirection();
      const float x = 1.4f * ring * height * Fraction() * d.s;
      const float y = 1.4f * ring * height * Fraction() * d.c;
      const float z = height * Fraction();
      const float vx = 0.1f * x;
      const float vy = 0.1f * y;
      const float vz = Fraction() + 2.0f;
      const int32_t sequence = RandomSigned(2);
      AddParticle(cell, sequence, k, x, y, z, vx, vy, vz, -0.1f * vx, -0.1f * vy, 0.0f);
    }
  }
}
