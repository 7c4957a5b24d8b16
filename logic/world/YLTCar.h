#pragma once

#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTPushable.h"

// A car: a container that is driven over the map and that a tram can push.
// Here it is what the map and the collision check of moving things know of
// it: a kind of its own, a vehicle record, and the push state.
class YLTCar : public YLTContainerThing, public YLTPushable {
 public:
  YLTCar();

  const char* GetClassName() const override;
  YLThing* GetThing() override;

 protected:
  // A vehicle record.
  ThingInfo* MakeInfo() const override;
};
