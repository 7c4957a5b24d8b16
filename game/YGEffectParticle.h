#pragma once

#include <cstdint>

#include "framework/LumoSprite.h"

class tDataNode;

// One flake of fire, smoke or gas of an effect: a sprite of the level's
// thing layer that rests invisibly until its start tick, then shows one of
// the effect manager's shared sequences and flies ballistically until the
// last frame of that sequence. It owns no frames of its own.
class YGEffectParticle : public LumoSprite {
 public:
  // Bit 31 of the sprite's flag word: the sprite carries its own sort keys,
  // which the thing layer's draw order reads instead of its position.
  static constexpr uint32_t kOwnSortKeysFlag = 0x80000000u;

  YGEffectParticle(int32_t sequenceIndex, int32_t startTick, int32_t endTick, double x, double y, double z,
                   double vx, double vy, double vz, double ax, double ay, double az, int32_t sortZ);
  // Tells the entry of its effect that it is gone, so an effect cleaned up
  // after its layer was freed touches nothing.
  ~YGEffectParticle() override;

  const char* GetClassName() const override;
  void DoFree() override;
  // While animating: a dead particle stops; one that shows the last frame
  // of its sequence (and has no end tick) ends.
  void OnSelectFrame() override;

  // One frame of the effect whose ground point is (originX, originY), in
  // level pixels. Answers whether the particle is still alive.
  bool Step(int32_t originX, int32_t originY);

  // The entry of the effect that holds this particle (its data is this
  // particle), or null.
  void SetEntry(tDataNode* entry) { Entry = entry; }

  // ---- Fields ----

  int32_t Tick = 0;        // frames stepped so far
  bool InFlight = false;   // started: moves and is placed
  bool Alive = true;
  int32_t SequenceIndex = 0;  // row of the manager's shared sequences
  int32_t StartTick = 0;
  int32_t EndTick = -1;  // -1: ends on the last frame of its sequence
  // Relative to the effect's origin: X to the right, Y into the ground plane
  // (drawn at half scale, upwards), Z the height (drawn upwards); pixels.
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
  double VX = 0.0;  // added once a frame
  double VY = 0.0;
  double VZ = 0.0;
  double AX = 0.0;  // a pulse's worth: a frame adds it divided by EffectRate
  double AY = 0.0;
  double AZ = 0.0;
  int32_t SortX = 0;  // the particle's own sort keys (level pixels)
  int32_t SortY = 0;
  int32_t SortZ = 0;

 private:
  tDataNode* Entry = nullptr;  // not owned
  void ForgetEntry();
};
