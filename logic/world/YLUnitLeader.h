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

 protected:
  // A leader record of armour 0.2, named "<name>".
  ThingInfo* MakeInfo() const override;
};

// Flirts with enemy units and charms them for a while.
class YLUnitChick : public YLUnitHardCore {
 public:
  YLUnitChick();
  const char* GetClassName() const override;

  int32_t Grade = 0;  // 0, 1 or 2
  int32_t FlirtsUsed = 0;
  int32_t FlirtsAllowed = 0;
};

// Plants a bomb in a bank; starts with one round.
class YLUnitSuit : public YLUnitHardCore {
 public:
  YLUnitSuit();
  const char* GetClassName() const override;

  int32_t BankID = 0;  // the bank chosen for the bomb
  bool BombPlaced = false;
  int32_t Last = 0;

 protected:
  ThingInfo* MakeInfo() const override;
};
