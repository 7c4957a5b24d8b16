#include "game/YGEffectMolotov.h"

#include "base/Random.h"

using namespace effect_recipe;

const char* YGEffectMolotov::GetClassName() const { return "YGEffectMolotov"; }

void YGEffectMolotov::Spawn(LumoCell* cell) {
  for (int32_t wave = 0; wave < 24; ++wave) {
    for (int32_t flame = 0; flame < 15; ++flame) {
      const Direction d = RandomDirection();
      const float x = static_cast<float>(RandomSigned(20)) * d.s;
      const float y = static_cast<float>(RandomSigned(20)) * d.c;
      const float lift = Fraction();
      const float vz = lift * static_cast<float>(RandomRange(1, 3));
      const int32_t sequence = RandomSigned(2);
      AddParticle(cell, sequence, wave, x, y, 0.0f, 0.0f, 0.0f, vz, 0.0f, 0.0f, 0.0f);
    }
  }
}
