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

  // The biker's weights: on the Manta and the golf every move starts at
  // 0.05, then the goal's direction sets its own; on the tram only a goal
  // about ahead (within one eighth) drives it on; other vehicles: none.
  void GetDriveWeights(float (&weights)[kDriveWeightCount], int32_t direction, int32_t distance,
                       int32_t vehicleType) const override;
  // The target of its Attack step and that target's side; never its own
  // side; always a player's side other than the civilians (0) and police
  // (3); the police from Anger 0.5, civilians from Anger 0.2.
  bool IsDriveTarget(const YLUnit& unit) const override;

  // At the wheel the brain's moves are the vehicle's.
  int32_t OnBrainMove(int32_t move) override;
  // Driving: the drive choice, or out of a vehicle that no longer lives.
  int32_t DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) override;
};

// The civilian driver of through traffic.
class YLUnitInnocentDriver : public YLUnit, public YLTDriver {
 public:
  YLUnitInnocentDriver();
  const char* GetClassName() const override;
  YLTDriver* AsDriver() override;
  int32_t GetDriverTid() const override;

  // It always drives on: at LockTime 0 the vehicle starts the drive move,
  // whose duration is the new LockTime; each decision counts it down.
  int32_t Decide(int32_t ticks) override;
  // In a vehicle it drives on (15); on foot as any unit.
  int32_t DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) override;
  // In a vehicle the driving is the decision's: the unit itself rests.
  int32_t OnBrainMove(int32_t move) override;

  virtual bool LoadLockTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLockTime(LumoStream* stream, const LumoProperty* property);

  int32_t LockTime = 0;  // ticks until the next decision
};
