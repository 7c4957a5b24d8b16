#pragma once

#include "logic/core/YLAreaPropagator.h"

// A fire burning over a round area for a while (a molotov's impact). Its
// cells carry the knowledge map's fire mark, which units perceive, until it
// goes out. The area is not stored: a loaded fire burns on without cells.
class YLPropagatorFire : public YLAreaPropagator {
 public:
  static constexpr int32_t kDuration = 60;

  YLPropagatorFire();

  const char* GetClassName() const override;
  // One frame: true while Time stays within Duration (the first Duration
  // frames); on the next the fire takes its mark off the map and answers
  // false.
  bool Propagate(CLogic* logic) override;

 protected:
  void SetMark(CMap& map, int32_t x, int32_t y, bool on) const override;
};
