#pragma once

#include <cstdint>

#include "logic/core/UnitInfo.h"

class CLogic;
class CMap;
class YLTContainerThing;
class YLWeapon;
#include "logic/world/YLUnitSupporter.h"

// A gang's leader: heads a group of hard-core fans and carries the gang's
// dope. Its record is a leader record with a name and the group.
class YLUnitLeader : public YLUnitHardCore {
 public:
  // The group keeps one slot free of its record's sixteen.
  static constexpr int32_t kMaxMembers = 15;
  // The doses a leader carries at most (the record keeps them in a byte).
  static constexpr int32_t kMaxDopeDoses = 99;

  YLUnitLeader();
  const char* GetClassName() const override;

  // The leader record; null when the record is of another kind.
  LeaderInfo* GetLeaderInfo() const;
  // The name in the record (the node's own SetName names the node).
  void SetLeaderName(const char* name);
  // Takes a hard-core unit that is no leader into the group; true when it
  // is a member afterwards. A full group takes no one.
  bool AddGroupMember(YLUnit* unit);
  // Takes the unit out of the group, closing the gap; true also when it was
  // no member.
  bool RemoveGroupMember(const YLUnit* unit);
  // The same for a unit known by its id only (one that is gone).
  bool RemoveGroupMemberID(int32_t id);
  // Adds n doses to the gang's dope. A total above 99 is stored as 99 with
  // a log line; a negative n is refused (logged, false).
  bool AddDopeUnits(int32_t n);
  // A unit of the leader's owner takes one dose: true when there was one.
  bool UseDopeDose(const YLThing* caller);
  // On entering the map, members that are no longer living hard-core units
  // of the leader's owner leave the group (the list is compacted).
  bool OnAddToMap(CMap* map) override;
  // The shooting move: walks until the target is within the gun's range,
  // turns (7/8) to face it, draws (29), then fires (11) at its cell. 32
  // without a living target, a weapon grade or a gun, or for a target
  // playing its ambient move.
  int32_t DoShoot(float motivation, int32_t targetId, bool fast);
  // After the hard-core's planning: AttackShoot routes to within the gun's
  // range of its target; GetDope needs no planning.
  bool MakePlan() override;
  // The leader chants (16) where a fan would walk to whom it follows;
  // under a group step it first calls its own units around together.
  int32_t DoChant(float motivation) override;
  // With nothing planned the leader holds its ground (Hold, 0.25).
  void ChooseIdle() override;
  Temperament GetTemperament() const override;
  // Punches where a fan would use its weapon.
  int32_t GetAttackMove(int32_t move) const override;

 protected:
  // A leader record of armour 0.2, named "<name>".
  ThingInfo* MakeInfo() const override;
};

// Flirts with enemy units and charms them for a while.
class YLUnitChick : public YLUnitHardCore {
 public:
  YLUnitChick();
  const char* GetClassName() const override;
  Temperament GetTemperament() const override;
  // Uses its weapon where a fan would punch or kick.
  int32_t GetAttackMove(int32_t move) const override;

  // The grade (also the weapon grade) and the flirts it allows: 2 at grade
  // 0, 4 at grade 1, 8 above.
  void SetGrade(int32_t grade);
  // True, counting one flirt, while flirts are left.
  bool MayFlirt();
  // The Flirt a charmed unit starts with: 1.015, 1.0225 or 1.03 by grade.
  float GetCharm() const;
  // The flirt step: walks until the target is within 8 cells, then flirts
  // (21) once for the step, its flirts counted anew; 32 after that or
  // without a living target.
  int32_t DoFlirt(float motivation, int32_t targetId, bool fast);
  // Flirt routes to its target; a GotoThing in front of a Flirt at a
  // target 8 or more cells away is dropped (the flirt walks itself).
  bool MakePlan() override;
  // A unit that perceives the flirt of the chick `chickId`: when that is a
  // living chick of another owner with flirts left, the unit (a fan) is
  // charmed: bit 20, Flirt = the chick's charm, anger, fear and loyalty x
  // 0.3. True when it was charmed.
  static bool Charm(YLUnit& unit, int32_t chickId);
  // "chick grade<g> flirted <used> of <allowed>".
  void GetDebugText(tString& text) const override;
  // The grade, the flirts used and allowed, behind "flirt:".
  virtual bool LoadFlirt(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFlirt(LumoStream* stream, const LumoProperty* property);

  int32_t Grade = 0;  // 0, 1 or 2
  int32_t FlirtsUsed = 0;
  int32_t FlirtsAllowed = 0;
};

// Plants a bomb in a bank; starts with one round.
class YLUnitSuit : public YLUnitHardCore {
 public:
  YLUnitSuit();
  const char* GetClassName() const override;
  Temperament GetTemperament() const override;
  // Uses its weapon where a fan would punch or kick.
  int32_t GetAttackMove(int32_t move) const override;

  // What the suit has used of its two weapons.
  static constexpr uint8_t kArmed = 0;
  static constexpr uint8_t kBombUsed = 1;
  static constexpr uint8_t kBankWeaponUsed = 2;

  // The bomb weapon (catalogue entry 65) and the bank weapon (entry 72):
  // each is handed out only while the suit has used neither, and handing
  // it out marks it used, so a suit fires one of them once. Null without
  // a catalogue or once used.
  YLWeapon* TakeBombWeapon(const CLogic* logic);
  YLWeapon* TakeBankWeapon(const CLogic* logic);
  // Take the weapon and fire it at (x, y) through CLogic::UseWeapon; a shot
  // the logic refuses gives the weapon back, so the suit may try again.
  bool FireBombWeapon(CLogic* logic, int32_t x, int32_t y);
  bool FireBankWeapon(CLogic* logic, int32_t x, int32_t y);
  bool IsBombPlaced() const { return BombFlag != kArmed; }
  // The motivation of the Enter step the suit pushes into its bank.
  static constexpr float kBankEnterMotivation = 0.98765f;
  // The bomb step at (x, y): walks there; a bank there becomes the chosen
  // bank and the suit goes in; inside it fires the bank weapon (11) at the
  // bank once and waits until it is alone there (32). Without a bank it
  // sets off the bomb (25). 32 once the bomb is used elsewhere.
  int32_t DoBomb(float motivation, int32_t x, int32_t y, bool fast);
  // Bomb routes to its cell.
  bool MakePlan() override;
  // A suit whose bomb step ends inside its bank with the bank weapon used
  // works for nobody from then on (owner 0).
  void PlanReached(PsychicPlanItem* item) override;
  // Once the bomb is placed an order of exactly the bank Enter's
  // motivation (its own Enter, pushed before) is dropped.
  void ExecutePlan(PsychicPlanItem* item) override;
  // The chosen bank while it is a living bank; null otherwise.
  YLTContainerThing* GetBank() const;
  // Sold to a player again by a hangout: it works for that player (Last),
  // both weapons are back, one round, full health and consciousness.
  void Rearm(int32_t playerId);

  // "data:", the bank and the flag (one byte); "last:" and Last.
  virtual bool LoadData(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveData(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadLast(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveLast(LumoStream* stream, const LumoProperty* property);

  int32_t BankID = 0;       // the bank chosen for the bomb
  uint8_t BombFlag = kArmed;
  int32_t Last = 0;         // the player that hired it

 protected:
  ThingInfo* MakeInfo() const override;

 private:
  // Fires a weapon just taken; a refused shot hands it back.
  bool FireOnce(CLogic* logic, YLWeapon* weapon, int32_t x, int32_t y);
};
