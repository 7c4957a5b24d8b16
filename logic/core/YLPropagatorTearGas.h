#pragma once

#include "logic/core/YLAreaPropagator.h"

// A cloud of tear gas over a round area for a while (the riot police's
// grenade). Its cells carry the knowledge map's gas mark, and every frame
// each unit standing in it, but the police's, loses consciousness unless it
// is held by the police; dope protects.
class YLPropagatorTearGas : public YLAreaPropagator {
 public:
  static constexpr int32_t kDuration = 125;
  // Consciousness a sober unit loses per frame in the gas.
  static constexpr float kConsPerFrame = 0.02f;

  YLPropagatorTearGas();

  const char* GetClassName() const override;
  // One frame: while Time stays within Duration, the units in the cloud
  // suffer it and the answer is true; on the next frame the gas takes its
  // mark off the map and answers false.
  bool Propagate(CLogic* logic) override;

  // The area as an embedded object.
  virtual bool LoadGroundmap(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveGroundmap(LumoStream* stream, const LumoProperty* property);

 protected:
  void SetMark(CMap& map, int32_t x, int32_t y, bool on) const override;
};
