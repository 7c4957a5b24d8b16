#pragma once

#include <array>
#include <cstdint>

#include "base/tList.h"

class LumoCell;
class LumoSequenceList;
class YGEffect;

// The running level's effects: a list of tDataNode entries whose data is a
// YGEffect. It builds the eight animation sequences that every particle
// shares, makes effects by their codes in the layer cell, steps them once a
// level frame and removes each one whose particles have all ended. One
// manager exists at a time.
class YGEffectManager : public tList {
 public:
  static constexpr int kSequenceCount = 8;

  // Only when no manager exists does this one become the current manager:
  // it keeps the layer and the rate (frames of one pulse; the divisor of
  // the particles' accelerations) and builds the shared sequences from the
  // current level's graphic list. A second manager stays idle and makes no
  // effects.
  YGEffectManager(LumoCell* layer, int32_t rate);
  // Cleans up the effects still running and releases the eight sequences;
  // the current manager is none afterwards.
  ~YGEffectManager() override;

  const char* GetClassName() const override;
  // The running effects end as a manager step ends them (OnEffectEnd,
  // CleanUp, destroyed), then the shared sequences are released: so no
  // particle is left in the layer showing a freed sequence.
  void Free() override;
  // Every effect is ended and destroyed with its entry.
  void DeleteAll() override;

  // Runs when an effect has ended, before its CleanUp; empty here (the
  // game's manager takes the particles out of the thing layer's draw order).
  virtual void OnEffectEnd(YGEffect* effect);

  // The effect of a code at a ground point (level pixels), spawned into the
  // layer and appended; null for an unknown code (1 tear gas, 3 firework,
  // 4 molotov, 5 grenade, 6 big bomb, 8 cracked safe, 9 gas explosion are
  // known) or for a manager that is not the current one.
  YGEffect* CreateEffect(int32_t code, int32_t x, int32_t y);
  // One frame of every effect, first to last; an effect that answers false
  // is ended: OnEffectEnd, CleanUp, destroyed, its entry unlinked and
  // destroyed. Answers true.
  bool Step();

  // The shared sequence of that row, or null.
  LumoSequenceList* Sequence(int32_t index) const;

  LumoCell* Layer = nullptr;  // receives the particles
  // Shared by all particles, indexed by their SequenceIndex; owned.
  std::array<LumoSequenceList*, kSequenceCount> EffectSequences{};

 private:
  // Frames are the current level's graphics, provided by name as plain
  // graphics and made transparent: rows 0-2 "explo<n>00<ff>" (10 frames),
  // rows 3-6 "teargas<n>00<ff>" (13 frames, the middle ones thrice), row 7
  // "explo400<ff>" (7 frames).
  void BuildSequences();
  void ReleaseSequences();
  // Unlinks the entry and ends its effect as a step does.
  void EndEffect(tNode* entry);
};

// The current manager (set by the manager that was made while none existed,
// cleared when it goes); particles take their sequences from it.
extern YGEffectManager* EffectManager;
// The divisor of the particles' accelerations: the frames of one pulse. 24
// before any manager exists.
extern int32_t EffectRate;
