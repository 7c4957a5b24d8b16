#pragma once

#include <cstdint>

#include "base/LumoObject.h"
#include "base/tString.h"

class CLogic;
class MoveInfo;
class YLThing;

// The eight map directions, clockwise from north, with y growing southward.
constexpr int32_t kDirectionCount = 8;
constexpr int32_t kDirectionX[kDirectionCount] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int32_t kDirectionY[kDirectionCount] = {-1, -1, 0, 1, 1, 1, 0, -1};

// A direction index of any value brought into 0-7.
constexpr int32_t WrapDirection(int32_t direction) { return direction & (kDirectionCount - 1); }

// The number of unit types that have their own durations.
constexpr int32_t kMoveTimeTypes = 13;

// One step of a thing about to be performed, and the record that listeners
// get with EventAction: where the thing stands (or will stand), its facing
// and the move. A thing reporting its own move gives its position and Ori.
struct MoveStep {
  int32_t x = 0;
  int32_t y = 0;
  int32_t facing = 0;
  const MoveInfo* move = nullptr;
};

// One elementary move: its animation name, code, durations per unit type,
// displacement, turn and stamina cost, and what it does when performed. One
// object per move is shared by every thing that plays it.
class MoveInfo : public LumoObject {
 public:
  MoveInfo();

  const char* GetClassName() const override;

  // Frames the move lasts for a unit type; bit 0 of flags marks a diagonal
  // facing for the kinds that have diagonal times.
  virtual uint8_t GetMoveTime(int32_t type, int32_t flags) const;
  // The displacement for a facing (taken modulo 8).
  virtual int32_t GetDeltaX(int32_t facing) const;
  virtual int32_t GetDeltaY(int32_t facing) const;
  // The move's effect on the game; the base does nothing and answers true.
  virtual bool Perform(YLThing* thing, CLogic* logic);

  // Sets the time of one unit type; a type outside 0-12 sets entry 0.
  void SetTime(int32_t type, uint8_t frames);
  void SetAllTimes(uint8_t frames);
  // Puts every field back to the kind's construction state; the tables that
  // share this object are refilled through it instead of making new objects.
  virtual void SetDefaults();

  // The step a thing at (x, y) facing `facing` takes with this move.
  MoveStep MakeStep(int32_t x, int32_t y, int32_t facing) const;

  tString name;
  int32_t code = 0;
  int8_t step = 0;
  int8_t turn = 0;
  uint8_t times[kMoveTimeTypes] = {};
  float stamina = -0.01f;

 protected:
  // The time of a unit type with types outside 0-12 taken as entry 0.
  uint8_t TimeOfType(int32_t type) const;
  // The vehicle rules of the base time for types outside 0-12.
  uint8_t VehicleMoveTime(int32_t type) const;
  void SetTimes(const uint8_t (&values)[kMoveTimeTypes]);
};

// A move with separate durations for diagonal facings.
class MoveInfoDiagonal : public MoveInfo {
 public:
  MoveInfoDiagonal();

  const char* GetClassName() const override;
  uint8_t GetMoveTime(int32_t type, int32_t flags) const override;
  void SetDefaults() override;

  // Sets the diagonal time of one unit type; a type outside 0-12 sets entry 0.
  void SetDiagonalTime(int32_t type, uint8_t frames);
  void SetAllDiagonalTimes(uint8_t frames);

  uint8_t diagonalTimes[kMoveTimeTypes] = {};

 protected:
  uint8_t DiagonalTimeOfType(int32_t type) const;
  void SetDiagonalTimes(const uint8_t (&values)[kMoveTimeTypes]);
};

// Answers whether a unit-type index lies inside the per-type tables.
constexpr bool IsTimedType(int32_t type) { return type >= 0 && type < kMoveTimeTypes; }
