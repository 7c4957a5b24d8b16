#include "game/YGEffectBigBomb.h"

#include "base/Random.h"

using namespace effect_recipe;

const char* YGEffectBigBomb::GetClassName() const { return "YGEffectBigBomb"; }

void YGEffectBigBomb::Spawn(LumoCell* cell) {
  // Rings every half step, t = 0 to 23.5, two released per frame.
  for (int32_t ring = 0; ring < 48; ++ring) {
    const float t = static_cast<float>(ring) * 0.5f;
    const int32_t start = static_cast<int32_t>(t);
    for (int32_t flame = 0; flame < 80; ++flame) {
      const Direction d = RandomDirection();
      const float x = 10.0f * t * d.s;
      const float y = 10.0f * t * d.c;
      const float vx = 2.0f * d.s;
      const float vy = 2.0f * d.c;
      const float vz = 2.0f * Fraction();
      const int32_t sequence = RandomSigned(2);
      AddParticle(cell, sequence, start, x, y, 0.0f, vx, vy, vz, 0.0f, 0.0f, 0.0f);
    }
  }
  // Ten rings thrown up and out; from k = 5 on the factor is negative, so
  // they start mirrored and below the ground (and bounce up).
  for (int32_t k = 0; k < 10; ++k) {
    const float ring = static_cast<float>(k);
    const float height = static_cast<float>(4 - k);
    for (int32_t flame = 0; flame < 50; ++flame) {
      const Direction d = RandomDirection();
      const float x = 1.4f * ring * height * Fraction() * d.s;
      const float y = 1.4f * ring * height * Fraction() * d.c;
      const float z = height * Fraction();
      const float vx = x * kThirteenth;
      const float vy = y * kThirteenth;
      const float vz = 2.0f + 3.0f * Fraction();
      const int32_t sequence = RandomSigned(2);
      AddParticle(cell, sequence, k, x, y, z, vx, vy, vz, -0.1f * vx, -0.1f * vy, 0.0f);
    }
  }
}
