#include "game/YGEffect.h"

#include <cmath>
#include <memory>
#include <new>

#include "base/Random.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "game/YGEffectParticle.h"

YGEffect::YGEffect() = default;

const char* YGEffect::GetClassName() const { return "YGEffect"; }

void YGEffect::DeleteAll() { CleanUp(); }

YGEffectParticle* YGEffect::ParticleOf(const tNode* entry) {
  const auto* node = static_cast<const tDataNode*>(entry);
  return reinterpret_cast<YGEffectParticle*>(node->data);
}

YGEffectParticle* YGEffect::AddParticle(LumoCell* cell, int32_t sequenceIndex, int32_t startTick, double x,
                                        double y, double z, double vx, double vy, double vz, double ax,
                                        double ay, double az, int32_t sortZ) {
  auto entry = std::make_unique<tDataNode>();
  std::unique_ptr<YGEffectParticle, tObjectDestroyer> particle(new (std::nothrow) YGEffectParticle(
      sequenceIndex, startTick, -1, x, y, z, vx, vy, vz, ax, ay, az, sortZ));
  if (particle == nullptr) {
    return nullptr;
  }
  tDataNode* linked = entry.get();
  Append(entry.release());
  linked->SetData(reinterpret_cast<uintptr_t>(particle.get()));
  particle->SetEntry(linked);
  YGEffectParticle* made = particle.release();
  if (cell != nullptr) {
    cell->Append(made);
  }
  return made;
}

bool YGEffect::Step() {
  bool alive = false;
  for (tNode* entry = first; entry != nullptr; entry = entry->next) {
    if (YGEffectParticle* particle = ParticleOf(entry)) {
      // No early stop: every particle moves on every frame.
      if (particle->Step(OriginX, OriginY)) {
        alive = true;
      }
    }
  }
  return alive;
}

void YGEffect::CleanUp() {
  while (tNode* entry = first) {
    Remove(entry);
    if (YGEffectParticle* particle = ParticleOf(entry)) {
      particle->SetEntry(nullptr);
      if (Engine != nullptr) {
        Engine->DisposeObject(particle);
      } else {
        DestroyObject(particle);
      }
    }
    DestroyObject(entry);
  }
}

namespace effect_recipe {

float Fraction() { return static_cast<float>(RandomFloat()); }

Direction RandomDirection() {
  constexpr float kTurn = static_cast<float>(2.0 * 3.141592653589793);
  const float angle = Fraction() * kTurn;
  return {std::sin(angle), std::cos(angle)};
}

}  // namespace effect_recipe
