#pragma once

#include "logic/world/YLPoliceContainer.h"
#include "logic/world/YLTCar.h"

// The riot-police bus: a car of the police side that holds 13.
class YLTMEBus : public YLTCar, public YLPoliceContainer {
 public:
  static constexpr int32_t kCapacity = 13;

  YLTMEBus();

  const char* GetClassName() const override;
  // Holds 13 whatever its type bits say.
  void ApplyTypeCapacity() override;
  // Only the police side and arrested units, while there is room.
  bool CanEnter(YLUnit* unit) const override;
  // An officer who can drive takes the wheel of a bus without driver, and
  // the bus becomes the police side's.
  void Enter(YLUnit* unit) override;
};
