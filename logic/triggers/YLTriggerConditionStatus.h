#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLTriggerCondition.h"

class LumoProperty;
class LumoStream;
class YLThing;

// The conditions that compare one value with a number: a player's
// parameter, and a value of a thing (any thing, the cup's carrier, or the
// unit that robbed a bank).

// Compares parameter Param of player PID with Value.
class YLTriggerConditionParam : public YLTriggerCondition {
 public:
  const char* GetClassName() const override;
  // "  PID", "  param", "  operator" (its sign), "  value".
  void ListProperties(tStrings& labels, tStrings& values) override;
  // The parameter is kept as its non-negative remainder modulo 36.
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  // False without the player; a stored Param outside the table compares 0.
  bool Evaluate(CLogic* logic) override;

  virtual bool LoadPID(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadParam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveParam(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadOperator(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOperator(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadValue(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveValue(LumoStream* stream, const LumoProperty* property);

  int32_t PID = 0;
  int32_t Param = 0;
  int32_t Operator = 0;
  int32_t Value = 0;
};

// Compares a value of the thing Thing, chosen by Param, with Value.
class YLTriggerConditionThingStatus : public YLTriggerCondition {
 public:
  // The values Param chooses.
  enum : int32_t {
    kHp = 0,
    kMove = 1,
    kOwner = 2,
    kOrientation = 3,
    kX = 4,
    kY = 5,
    kZ = 6,
    kInside = 7,
    kGrade = 8,
    kRecruitsFirst = 9,  // 9-13: recruits of unit types 7, 9, 2, 12, 1
    kRecruitsLast = 13,
    kAmmo = 14,
    kAnger = 15,
    kBeer = 16,
    kCons = 17,
    kDope = 18,
    kFear = 19,
    kFlirt = 20,
    kLeader = 21,
    kLoyalty = 22,
    kStamina = 23,
    kWeapon = 24,
    kContainer = 25,
    kDriver = 26,
  };

  const char* GetClassName() const override;
  // "  thing", "  param", "  operator" (its sign), "  value" ("%.3f").
  void ListProperties(tStrings& labels, tStrings& values) override;
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  // False without the thing, for a Param it does not know, or for a thing
  // of a kind the value does not apply to.
  bool Evaluate(CLogic* logic) override;

  virtual bool LoadThing(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveThing(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadParam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveParam(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadOperator(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOperator(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadValue(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveValue(LumoStream* stream, const LumoProperty* property);

  int32_t Thing = 0;
  int32_t Param = 0;
  int32_t Operator = OperatorEqual;
  float Value = 0.0f;

 protected:
  // The thing status comparison on Thing as it stands.
  bool EvaluateStatus(CLogic* logic);
};

// The thing status of the unit carrying the cup.
class YLTriggerConditionCupOwnerStatus : public YLTriggerConditionThingStatus {
 public:
  const char* GetClassName() const override;
  void GetRecordString(char* buffer, size_t size) override;
  // False without a cup or while nobody carries it.
  bool Evaluate(CLogic* logic) override;
};

// The thing status of the unit that robbed a bank (status bit 8): the first
// such unit by id is followed until it loses the bit.
class YLTriggerConditionBankRobberStatus : public YLTriggerConditionThingStatus {
 public:
  const char* GetClassName() const override;
  void GetRecordString(char* buffer, size_t size) override;
  bool Evaluate(CLogic* logic) override;
};
