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

  // Whether the biker sits at the wheel of its vehicle.
  bool DrivesNow() const;
  // Hijack of a vehicle routes to its entrance, a GotoThing on it closing
  // the expansion; a biker at the wheel that finds no route first leaves
  // its own vehicle. A Goto planned at the wheel starts the vehicle
  // driving. Then the hard-core's planning.
  bool MakePlan() override;
  // A Goto or GotoThing reached at the wheel stops the vehicle.
  void PlanReached(PsychicPlanItem* item) override;
  // The hijack of vehicle `id`: goes to it and gets in with the hijack
  // move (28); 32 once inside or for anything but a living vehicle.
  int32_t DoHijack(float motivation, int32_t id, bool fast);

  // At the wheel the attack is the drive choice at the target: it runs
  // targets over. On foot the fan's attack.
  int32_t DoAttack(float motivation, int32_t targetId, bool fast) override;
  // At the wheel the biker does not throw, pick up, loot, chant, fetch dope
  // or flee on foot: each of these answers 32 there.
  int32_t DoThrow(float motivation, int32_t target, int32_t param2, bool fast) override;
  int32_t DoPickUp(float motivation, int32_t id, bool fast) override;
  int32_t DoLoot(float motivation, int32_t id, bool fast) override;
  int32_t DoSubLoot(float motivation, int32_t id) override;
  int32_t DoChant(float motivation) override;
  int32_t DoGetDope(float motivation, int32_t id, bool fast) override;
  int32_t DoThrowTurret(float motivation, int32_t id, bool fast) override;
  int32_t DoFlee(float motivation, int32_t threatId, bool fast) override;
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
