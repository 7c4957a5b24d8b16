#pragma once

#include "logic/core/YLAreaPropagator.h"

// A fire burning over a round area for a while (a molotov's impact). Its
// cells carry the knowledge map's fire mark, which units perceive, until it
// goes out. Its area is stored behind its properties, after the text
// "area:", so a fire loaded while it burns still takes its mark off the map
// when it ends; a record without the text loads as a fire without cells.
class YLPropagatorFire : public YLAreaPropagator {
 public:
  static constexpr int32_t kDuration = 60;

  YLPropagatorFire();

  const char* GetClassName() const override;
  // One frame: true while Time stays within Duration (the first Duration
  // frames), false on the next; the logic's frame then takes the fire's
  // mark off the map.
  bool Propagate(CLogic* logic) override;

  // The area behind the properties: "area:" and the ground map's record.
  bool OnLoadFrom(LumoStream* stream) override;
  bool OnSaveTo(LumoStream* stream) override;

 protected:
  void SetMark(CMap& map, int32_t x, int32_t y, bool on) const override;
};
