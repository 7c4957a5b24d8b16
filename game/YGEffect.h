#pragma once

#include <cstdint>

#include "base/tList.h"

class LumoCell;
class YGEffectParticle;

// One burst of particles (an explosion, a fire bomb, a tear-gas cloud ...):
// a list of tDataNode entries whose data is a YGEffectParticle. The
// particles are sprites of the cell they were spawned into; the effect only
// steps them and, at its end, disposes of them. Each subclass is one recipe
// and adds only its Spawn.
//
// Every recipe draws from the program's own random generator, never the
// logic's: effects only draw, and nothing in them changes the game.
class YGEffect : public tList {
 public:
  YGEffect();

  const char* GetClassName() const override;
  // An effect owns its particles: destroying its entries disposes of them
  // (as CleanUp does), so no particle is left showing the manager's shared
  // sequences after the effect has gone.
  void DeleteAll() override;

  // Creates the particles of the recipe in the cell.
  virtual void Spawn(LumoCell* cell) = 0;
  // One frame of every particle, first to last (all of them, whatever the
  // earlier ones answer). True while any particle is alive.
  virtual bool Step();
  // For every entry, first to last: unlinked, its particle disposed of
  // (stopped, out of the cell, deleted after the frame), the entry
  // destroyed.
  virtual void CleanUp();

  // The particle of an entry (null once that particle is gone).
  static YGEffectParticle* ParticleOf(const tNode* entry);

  int32_t OriginX = 0;  // the effect's ground point, level pixels
  int32_t OriginY = 0;

 protected:
  // A new particle with these values, appended to the effect (a new entry)
  // and to the cell, whose sprite it becomes. Null when it could not be
  // made.
  YGEffectParticle* AddParticle(LumoCell* cell, int32_t sequenceIndex, int32_t startTick, double x, double y,
                                double z, double vx, double vy, double vz, double ax, double ay, double az,
                                int32_t sortZ = 0);
};

// The recipes work in 32-bit floats, as the effects were tuned: every
// fraction is one fresh draw of the program's generator (RandomFloat)
// rounded to a float, and each value is widened to the particle's 64-bit
// fields only when the particle is made.
namespace effect_recipe {

// One fresh fraction, 0 to just above 1.
float Fraction();
// An angle of one fresh fraction of a turn, as its sine and cosine.
struct Direction {
  float s;
  float c;
};
Direction RandomDirection();
// The float factors of the divisions by 13 and by 3.
constexpr float kThirteenth = 1.0f / 13.0f;
constexpr float kThird = 1.0f / 3.0f;

}  // namespace effect_recipe
