#pragma once

#include <cstdint>

#include "logic/core/UnitInfo.h"
#include "logic/world/YLUnitSupporter.h"

// A gang's leader: heads a group of hard-core fans and carries the gang's
// dope. Its record is a leader record with a name and the group.
class YLUnitLeader : public YLUnitHardCore {
 public:
  // The group keeps one slot free of its record's sixteen.
  static constexpr int32_t kMaxMembers = 15;

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

  int32_t BankID = 0;  // the bank chosen for the bomb
  bool BombPlaced = false;
  int32_t Last = 0;

 protected:
  ThingInfo* MakeInfo() const override;
};
