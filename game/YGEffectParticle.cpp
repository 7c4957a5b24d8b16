#include "game/YGEffectParticle.h"

#include "base/tList.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "game/YGEffectManager.h"

namespace {

// Truncation toward zero, as the sort keys and the placement use it.
int32_t Truncate(double value) { return static_cast<int32_t>(value); }

}  // namespace

YGEffectParticle::YGEffectParticle(int32_t sequenceIndex, int32_t startTick, int32_t endTick, double x, double y,
                                   double z, double vx, double vy, double vz, double ax, double ay, double az,
                                   int32_t sortZ)
    : SequenceIndex(sequenceIndex),
      StartTick(startTick),
      EndTick(endTick),
      X(x),
      Y(y),
      Z(z),
      VX(vx),
      VY(vy),
      VZ(vz),
      AX(ax),
      AY(ay),
      AZ(az),
      SortX(Truncate(x)),
      SortY(Truncate(y)),
      SortZ(sortZ) {
  Flags |= kOwnSortKeysFlag;
  // A particle plays no sound. Letting go of the level's sound list at once
  // (the newest referrer, found first) keeps thousands of particles out of
  // that list's referrers, which every later disposal would search.
  Keep(SoundList, static_cast<LumoSoundList*>(nullptr));
}

YGEffectParticle::~YGEffectParticle() { ForgetEntry(); }

const char* YGEffectParticle::GetClassName() const { return "YGEffectParticle"; }

void YGEffectParticle::ForgetEntry() {
  if (Entry != nullptr) {
    Entry->data = 0;
    Entry = nullptr;
  }
}

void YGEffectParticle::DoFree() {
  ForgetEntry();
  // The shown sequence belongs to the effect manager, which may go first.
  SetSequence(nullptr);
  LumoSprite::DoFree();
}

void YGEffectParticle::OnSelectFrame() {
  LumoSprite::OnSelectFrame();
  if (!Alive) {
    StopAnimation();
  }
  if (EndTick < 0 && SequenceNode != nullptr && SequenceList != nullptr && SequenceList->last != nullptr &&
      SequenceNode == SequenceList->last) {
    InFlight = false;
    Alive = false;
  }
}

bool YGEffectParticle::Step(int32_t originX, int32_t originY) {
  if (InFlight) {
    // Each velocity is updated before its position.
    VX += AX / EffectRate;
    X += VX;
    VY += AY / EffectRate;
    Y += VY;
    VZ += AZ / EffectRate;
    Z += VZ;
    if (Z < 0.0) {
      // A bounce off the ground at half speed.
      Z = -Z;
      VZ = VZ * -0.5;
    }
  }
  if (StartTick >= 0 && Tick == StartTick) {
    LumoSequenceList* sequence = EffectManager != nullptr ? EffectManager->Sequence(SequenceIndex) : nullptr;
    if (sequence != nullptr && sequence->last != nullptr) {
      InFlight = true;
      SetSequence(sequence);
      StartAnimation();
    } else {
      // Nothing to show (no manager, or a row without frames): the particle
      // would never reach a last frame and hold its effect for ever.
      Alive = false;
    }
  } else if (EndTick >= 1 && Tick == EndTick) {
    StopAnimation();
    InFlight = false;
    Alive = false;
  }
  if (InFlight) {
    SortX = Truncate(X) + originX;
    SortY = originY - Truncate(Y * 0.5);
    SetPosition(SortX, SortY - Truncate(Z));
  }
  ++Tick;
  return Alive;
}
