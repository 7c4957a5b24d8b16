#pragma once

#include <cstdint>

#include "logic/world/YLTDriver.h"
#include "logic/world/YLUnit.h"

// An officer of the police side: measures the threat around it, shouts what
// it sees, answers attacks, arrests units and brings them in.
class Police : public YLUnit {
 public:
  // Status bits of the record.
  static constexpr uint32_t kStatusBusy = 1u << 10;      // busy with an arrest
  static constexpr uint32_t kStatusGunDrawn = 1u << 19;  // aiming
  // Speech codes of what the officer sees.
  static constexpr int32_t kSayHurt = 5;
  static constexpr int32_t kSayEnemy = 7;
  static constexpr int32_t kSayFighting = 13;
  static constexpr int32_t kSayArmed = 14;
  static constexpr int32_t kSayArmedLeader = 15;
  static constexpr int32_t kSayMolotov = 16;
  static constexpr int32_t kSayBomb = 17;
  static constexpr int32_t kSayVehicle = 18;
  static constexpr int32_t kSayBarricade = 19;
  // Answers of the arrest.
  static constexpr int32_t kMoveArrest = 30;

  Police();
  const char* GetClassName() const override;
  bool IsSelectable() const override;
  bool IsPolice() const override;

  // The officer's temperament.
  float GetNeutralFactor() const override;
  float GetFrightFactor() const override;
  float GetBeerFactor() const override;
  float GetDoubleFactor() const override;
  float GetStaminaRate() const override;
  // The officer's gun (catalogue entry 71); the riot officer's tear gas.
  YLWeapon* GetWeapon() const override;

  // Threat, CrimeCount and the speech of one look around: every perceived
  // enemy unit adds its damage x (13 - distance) / 13 and is named with what
  // it does; friends (civilians and the own side) calm; vehicles of other
  // sides are named. Threat = 1 - 1 / (1 + 4 x sum / friends) in [0, 1];
  // Fear moves 0.4 of the way to it; anger fades by 0.95.
  void AssessThreat();
  // The eight neighbour cells, then the threat.
  void ComputeUpdateModel() override;
  // A hit from a civilian or the police makes the officer step away from
  // it; a kind-9 call makes it attack the caller, pushed in front of a
  // step that matters less than 0.95.
  void ComputeReflexes() override;
  // Only the ambient chance, then a copy of the innermost step; with
  // nothing planned the idle choice.
  void ComputeIntentions() override;
  // Hurt while upright: anger 2.0 x first factor x amount of what is left;
  // a known source is named (5).
  void Frighten(float amount, int32_t sourceId) override;
  // Thrown at while upright: anger 3.0 x first factor x amount of what is
  // left.
  void HitByThrow(float amount, int32_t x, int32_t y) override;
  // Orders set the step's motivation and the officer's loyalty by action;
  // an officer busy with an arrest lets go of it.
  void ExecutePlan(PsychicPlanItem* item) override;
  // After the unit's planning: the police steps route to their target,
  // within the tear gas's range for AttackShoot and TearGas.
  bool MakePlan() override;
  // The arrest of targetId, bringing it to the police department
  // departmentId: closes in, fights it down, arrests it (30 on the first
  // try), brings it in and jails it. 32 when there is nothing (more) to do.
  int32_t DoArrest(float motivation, int32_t targetId, int32_t departmentId, bool fast);
  // The bring-in step (and its waypoints): walks to (x, y); at the
  // department there the arrest of WorstUnit goes on.
  int32_t DoBringIn(float motivation, int32_t x, int32_t y, bool fast);
  // The attack move: shoots or walks, then kicks a unit lying down or
  // punches; 32 once the target is out or inside something.
  int32_t DoAttack(float motivation, int32_t targetId, bool fast) override;
  // The shooting move: walks within the gun's range, turns (8/7), aims and
  // fires (11).
  int32_t DoShoot(float motivation, int32_t targetId, bool fast);
  // An officer stays.
  int32_t DoFlee(float motivation, int32_t threatId, bool fast) override;
  // An officer patrols as it goes anywhere: DoGoto with the same values.
  int32_t DoPatroll(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) override;
  // Investigating an alarm or a unit and assisting go to the thing.
  int32_t DoInvestigateAlarm(float motivation, int32_t id, bool fast);
  int32_t DoInvestigateUnit(float motivation, int32_t id, bool fast);
  int32_t DoAssistance(float motivation, int32_t id, bool fast);
  // With nothing planned, outside any container: one time in ten it idles
  // a while (Ambient, 0.25).
  void ChooseIdle();
  // The unit line, then " -- plisie: ..." with the threat and the worst.
  void GetDebugText(tString& text) const override;

  virtual bool LoadThreat(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveThreat(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWorstUnit(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWorstUnit(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadWorstValue(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWorstValue(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCrimeCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCrimeCount(LumoStream* stream, const LumoProperty* property);

  // The threat of a sum of enemy pressure among `friends` friends, with the
  // cases of a zero denominator written out: no friends gives 1 for any
  // non-zero sum and 0 for a zero sum; a denominator of 0 gives 0.
  static float ThreatOf(float sum, int32_t friends);

  float Threat = 0.0f;      // 0-1
  int32_t WorstUnit = 0;    // the unit the officer deals with
  float WorstValue = 0.0f;  // kept and stored; nothing computes it
  int32_t CrimeCount = 0;   // reset by every look around; nothing adds to it

 protected:
  // A unit record with status bit 17 and armour 0.3.
  ThingInfo* MakeInfo() const override;
  // The living unit an id names; null for anything else.
  YLUnit* FindUnit(int32_t id) const;
  // The officer's or riot officer's own temperament factors.
  virtual void GetFactors(float (&factors)[5]) const;
};

// Riot police: an officer who can drive the riot-police bus.
class MEUnit : public Police, public YLTDriver {
 public:
  MEUnit();
  const char* GetClassName() const override;
  YLTDriver* AsDriver() override;
  int32_t GetDriverTid() const override;
  // Only the unit's own lines.
  void GetDebugText(tString& text) const override;
  // A riot officer shrugs off what is thrown at it.
  void HitByThrow(float amount, int32_t x, int32_t y) override;

  // The marker (the unit's frustration) once the gas is thrown.
  static constexpr float kGasThrown = 0.8765f;
  // Throwing tear gas at (x, y): 32 once thrown; in the bus it gets out;
  // beyond 15 cells it walks; then draws (29), turns (5/6) to face the
  // cell and throws (11), setting the marker.
  int32_t DoTearGas(float motivation, int32_t x, int32_t y, bool fast);
  // Charging with the bus: every unit under the bus's body gets a push
  // (kind 3, 0.85); then it drives on to (x, y) as any walk.
  int32_t DoCharge(float motivation, int32_t x, int32_t y, bool fast);
  // The push of every unit under the bus's body at its position and facing.
  void Charge();
  // The nearest perceived unit of a player's side (not out, not arrested)
  // right beside the officer whose direction differs least (under five
  // eighths) from its facing; 0 for none.
  int32_t ChooseTarget() const;

  // The riot bus's weights (vehicle types 1, 2 and 6) by the goal's
  // direction; other vehicles as the biker drives them.
  void GetDriveWeights(float (&weights)[kDriveWeightCount], int32_t direction, int32_t distance,
                       int32_t vehicleType) const override;
  // At the wheel the brain's moves are the vehicle's.
  int32_t OnBrainMove(int32_t move) override;
  // At the wheel the drive choice walks.
  int32_t DoGoto(float motivation, int32_t x, int32_t y, bool fast, int32_t arrivalDistance) override;
  // An Enter into its own bus while driving it routes to the bus's
  // entrance, then Leave and GotoThing on the bus twice (the step's
  // motivation and fast flag): the officer gets out to board and the bus
  // follows. Otherwise the officer's planning.
  bool MakePlan() override;

 protected:
  // Weapon grade 1 from the start.
  ThingInfo* MakeInfo() const override;
  void GetFactors(float (&factors)[5]) const override;
};
