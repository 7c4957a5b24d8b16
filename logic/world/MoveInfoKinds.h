#pragma once

// The kinds of elementary move. Each sets its name, code, displacement,
// turn, stamina cost and durations in SetDefaults (run by its constructor
// and again whenever a table refills the shared object) and says what it
// does when performed.

#include "logic/world/MoveInfo.h"

#define MOVE_KIND_COMMON(Kind)              \
  Kind();                                   \
  const char* GetClassName() const override; \
  void SetDefaults() override;

// ---- Kinds that move or turn the thing on the map ----

class MoveInfoWalk : public MoveInfoDiagonal {
 public:
  MOVE_KIND_COMMON(MoveInfoWalk)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoRun : public MoveInfoWalk {
 public:
  MOVE_KIND_COMMON(MoveInfoRun)
};

class MoveInfoCW : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoCW)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoCCW : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoCCW)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

// The car moves: a car turns while it drives or reverses, so each has its own
// displacement. Direction indices wrap modulo 8.

// Straight on (15) one cell in the facing, and straight back (18) one cell
// against it.
class CarDriveInfo : public MoveInfoCW {
 public:
  MOVE_KIND_COMMON(CarDriveInfo)
};

class CarReverseInfo : public MoveInfoCW {
 public:
  MOVE_KIND_COMMON(CarReverseInfo)
};

class CarMoveCWInfo : public MoveInfoCW {
 public:
  MOVE_KIND_COMMON(CarMoveCWInfo)
  int32_t GetDeltaX(int32_t facing) const override;
  int32_t GetDeltaY(int32_t facing) const override;
};

class CarMoveCCWInfo : public MoveInfoCW {
 public:
  MOVE_KIND_COMMON(CarMoveCCWInfo)
  int32_t GetDeltaX(int32_t facing) const override;
  int32_t GetDeltaY(int32_t facing) const override;
};

class CarReverseCWInfo : public MoveInfoCW {
 public:
  MOVE_KIND_COMMON(CarReverseCWInfo)
  int32_t GetDeltaX(int32_t facing) const override;
  int32_t GetDeltaY(int32_t facing) const override;
};

class CarReverseCCWInfo : public MoveInfoCW {
 public:
  MOVE_KIND_COMMON(CarReverseCCWInfo)
  int32_t GetDeltaX(int32_t facing) const override;
  int32_t GetDeltaY(int32_t facing) const override;
};

// ---- Kinds that enter or leave a container ----

class MoveInfoEnter : public MoveInfoDiagonal {
 public:
  MOVE_KIND_COMMON(MoveInfoEnter)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoLeave : public MoveInfoDiagonal {
 public:
  MOVE_KIND_COMMON(MoveInfoLeave)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

// ---- Fighting ----

class MoveInfoWeapon : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoWeapon)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoFist : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoFist)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoKick : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoKick)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoThrow : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoThrow)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoMolotov : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoMolotov)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoBomb : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoBomb)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoDrawGun : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoDrawGun)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoArrest : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoArrest)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

// ---- The kinds' own actions ----

class MoveInfoChant : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoChant)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoPickUp : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoPickUp)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoFlirt : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoFlirt)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoBurgle : public MoveInfoDiagonal {
 public:
  MOVE_KIND_COMMON(MoveInfoBurgle)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoBaricade : public MoveInfoDiagonal {
 public:
  MOVE_KIND_COMMON(MoveInfoBaricade)
  // A thing whose type name begins with "Move" (a pushable thing) is worked
  // on at the barricade builder's pace, type 9's time.
  uint8_t GetMoveTime(int32_t type, int32_t flags) const override;
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoRave : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoRave)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

class MoveInfoAmbient : public MoveInfo {
 public:
  MOVE_KIND_COMMON(MoveInfoAmbient)
  bool Perform(YLThing* thing, CLogic* logic) override;
};

// ---- Pushed things ----

// A thing pushed one cell in direction `variant` (0-7), whatever its facing.
class MoveInfoPush : public MoveInfo {
 public:
  explicit MoveInfoPush(int32_t variant);
  const char* GetClassName() const override;
  void SetDefaults() override;
  int32_t GetDeltaX(int32_t facing) const override;
  int32_t GetDeltaY(int32_t facing) const override;

  int32_t GetVariant() const { return variant; }

 private:
  int32_t variant;
};

#undef MOVE_KIND_COMMON
