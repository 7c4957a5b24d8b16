#pragma once

#include "logic/world/YLPoliceContainer.h"
#include "logic/world/YLTCar.h"

// The riot-police bus: a car of the police side that holds 13.
class YLTMEBus : public YLTCar, public YLPoliceContainer {
 public:
  static constexpr int32_t kCapacity = 13;

  YLTMEBus();

  const char* GetClassName() const override;
};
