#pragma once

#include <cstdint>

#include "logic/world/YLTDriver.h"
#include "logic/world/YLThing.h"

// The scripted driver of a bus: a thing, not a unit, that sits in its bus
// and drives it along a fixed route chosen by its mode (0-8).
class YLTBusDriver : public YLThing, public YLTDriver {
 public:
  static constexpr int32_t kModeCount = 9;

  YLTBusDriver();

  const char* GetClassName() const override;
  YLTDriver* AsDriver() override;
  int32_t GetDriverTid() const override;

  // Stores code % 9 as the mode and answers code / 9.
  int32_t SetMode(int32_t code);
  // Drives the bus along its route: the LockTime counts down by the ticks
  // given; once it has run out the mode's turn or stop comes when its place
  // is reached, otherwise the bus drives on while the cells one step ahead
  // are free and stops while they are not. Mode 5 stands.
  int32_t Decide(int32_t ticks) override;
  // Whether the cells the bus's body covers one step ahead are inside the
  // map and hold no other thing.
  bool IsWayAheadFree() const;

  virtual bool LoadLockTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLockTime(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMode(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMode(LumoStream* stream, const LumoProperty* property);

  int32_t LockTime = 0;  // ticks until the next decision
  int32_t Mode = 0;
};
