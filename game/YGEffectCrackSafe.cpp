#include "game/YGEffectCrackSafe.h"

#include <cmath>

#include "base/Random.h"

using namespace effect_recipe;

namespace {

// Every particle of a cracked safe sorts in front of the safe.
constexpr int32_t kSortAboveGround = 1;

}  // namespace

const char* YGEffectCrackSafe::GetClassName() const { return "YGEffectCrackSafe"; }

void YGEffectCrackSafe::SprayAt(LumoCell* cell, int32_t offset, int32_t height, float sideways) {
  const float left = static_cast<float>(offset);
  const float up = static_cast<float>(height);
  for (int32_t k = 0; k < 2; ++k) {
    const float ring = static_cast<float>(k);
    const float rise = static_cast<float>(4 - k);
    for (int32_t flame = 0; flame < 30; ++flame) {
      const Direction d = RandomDirection();
      const float x0 = 4.5f * ring * rise * Fraction() * d.s;
      const float y0 = 4.5f * ring * rise * Fraction() * d.c;
      const float z = rise * Fraction() + up;
      const float vx = sideways + x0 * kThirteenth;
      const float vy = y0 * kThirteenth;
      const float vz = Fraction() + 2.0f;
      const int32_t sequence = RandomSigned(2);
      AddParticle(cell, sequence, k, x0 + left, y0, z, vx, vy, vz, -0.1f * vx, -0.1f * vy, 0.0f,
                  kSortAboveGround);
    }
  }
  for (int32_t flame = 0; flame < 15; ++flame) {
    const Direction d = RandomDirection();
    const float x0 = 7.0f * Fraction() * d.s;
    const float y0 = 7.0f * Fraction() * d.c;
    const float z = 5.0f * Fraction() + up;
    const float vx = 1.2f * x0;
    const float vy = std::fabs(1.2f * y0);
    const float vz = 10.0f * Fraction() - 5.0f;
    AddParticle(cell, 7, 0, x0 + left, y0, z, vx, vy, vz, -vx * kThird, -vy * kThird, -3.0f * std::fabs(vz),
                kSortAboveGround);
  }
}

void YGEffectCrackSafe::Spawn(LumoCell* cell) {
  SprayAt(cell, -30, 95, 0.0f);
  SprayAt(cell, 15, 95, 0.0f);
  SprayAt(cell, -113, 80, -2.0f);
  SprayAt(cell, 100, 80, 2.0f);
  for (int32_t k = 0; k < 4; ++k) {
    for (int32_t flame = 0; flame < 60; ++flame) {
      const Direction d = RandomDirection();
      const float x = 11.2f * Fraction() * d.s;
      const float y0 = 6.0f * Fraction() * d.c;
      const float z = 30.0f * Fraction();
      const float vx = 0.2f * x;
      const float drift = std::fabs(0.2f * y0);
      const float vz = 1.0f + 3.0f * Fraction();
      const int32_t sequence = RandomSigned(2);
      AddParticle(cell, sequence, k, x, y0 + 20.0f, z, vx, drift - 2.0f, vz, -0.1f * vx, -0.1f * drift, 0.0f,
                  kSortAboveGround);
    }
  }
  for (int32_t flame = 0; flame < 15; ++flame) {
    const Direction d = RandomDirection();
    const float x0 = 7.0f * Fraction() * d.s;
    const float y0 = 7.0f * Fraction() * d.c;
    const float z = 5.0f * Fraction();
    const float vx = 1.2f * x0;
    const float vy = 1.2f * y0;
    const float vz = 10.0f * Fraction();
    AddParticle(cell, 7, 0, x0, y0 + 20.0f, z, vx, vy, vz, -vx * kThird, -vy * kThird, -3.0f * vz,
                kSortAboveGround);
  }
}
