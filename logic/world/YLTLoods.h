#pragma once

#include "logic/world/YLTContainerThing.h"

// The weapon shack: a plain container (no building) with a stock that units
// take for free. Its record is a shack record with a footprint of its own.
class YLTLoods : public YLTContainerThing {
 public:
  YLTLoods();

  const char* GetClassName() const override;
  // A shack record and a fresh footprint.
  void CreateInfo(int32_t moveNumber) override;
  bool PlaceKindB() const override;

 protected:
  ThingInfo* MakeInfo() const override;
};
