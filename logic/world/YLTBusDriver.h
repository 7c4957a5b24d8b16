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

  virtual bool LoadLockTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLockTime(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadMode(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveMode(LumoStream* stream, const LumoProperty* property);

  int32_t LockTime = 0;  // ticks until the next decision
  int32_t Mode = 0;
};
