#pragma once

#include <cstdint>

#include "logic/world/YLTDriver.h"
#include "logic/world/YLUnitSupporter.h"

// A hard-core fan that rides and hijacks vehicles.
class YLUnitBiker : public YLUnitHardCore, public YLTDriver {
 public:
  YLUnitBiker();
  const char* GetClassName() const override;
  YLTDriver* AsDriver() override;
  int32_t GetDriverTid() const override;
};

// The civilian driver of through traffic.
class YLUnitInnocentDriver : public YLUnit, public YLTDriver {
 public:
  YLUnitInnocentDriver();
  const char* GetClassName() const override;
  YLTDriver* AsDriver() override;
  int32_t GetDriverTid() const override;

  int32_t LockTime = 0;  // ticks until the next decision
};
