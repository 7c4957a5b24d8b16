#pragma once

#include <cstdint>

#include "logic/world/YLUnit.h"

// A player's plain fan: follows a leader and answers whoever threw at it.
class YLUnitSupporter : public YLUnit {
 public:
  YLUnitSupporter();
  const char* GetClassName() const override;

  int32_t LastThrower = 0;   // the last enemy unit that threw at it
  int32_t FollowLeader = 0;  // the unit it follows
  int32_t GotoTarget = 0;    // what a follow order named
};

// A hard-core fan: one a player selects and a leader takes into its group.
class YLUnitHardCore : public YLUnitSupporter {
 public:
  YLUnitHardCore();
  const char* GetClassName() const override;
  bool IsSelectable() const override;
  // The record's leader becomes that unit's id.
  void SetLeader(int32_t leader) override;
};

// Burgles buildings.
class YLUnitRat : public YLUnitHardCore {
 public:
  YLUnitRat();
  const char* GetClassName() const override;
};

// Joins raves.
class YLUnitRaver : public YLUnitHardCore {
 public:
  YLUnitRaver();
  const char* GetClassName() const override;

  bool Raving = false;
  int32_t RaveID = 0;
  int32_t RaveCounter = 0;
};

// Builds barricades.
class YLUnitRozav : public YLUnitHardCore {
 public:
  static constexpr int32_t kNoCell = 10000;

  YLUnitRozav();
  const char* GetClassName() const override;

  int32_t BarricadeX = kNoCell;
  int32_t BarricadeY = kNoCell;
};

// Throws molotovs.
class YLUnitYobb : public YLUnitHardCore {
 public:
  YLUnitYobb();
  const char* GetClassName() const override;

  bool ThrowPending = false;
  int32_t ThrowX = 0;
  int32_t ThrowY = 0;
};
