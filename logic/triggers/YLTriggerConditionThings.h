#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLTriggerCondition.h"

class LumoProperty;
class LumoStream;

// The conditions that count listed things: buildings trashed, things alive
// and things dead. Empty lists answer false.

// One of the listed buildings is broken (its state is not the normal one)
// or has no grade left.
class YLTriggerConditionBuildingsTrashed : public YLTriggerCondition {
 public:
  const char* GetClassName() const override;
  // "  #buildings" (the count), "   ID%d" per building.
  void ListProperties(tStrings& labels, tStrings& values) override;
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  bool Evaluate(CLogic* logic) override;

  virtual bool LoadBuildingIDs(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBuildingIDs(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCount(LumoStream* stream, const LumoProperty* property);

  tIdList BuildingIDs;
  int32_t Count = 0;  // stored, not used
};

// More than Count of the listed things live; the others are dropped.
class YLTriggerConditionAlive : public YLTriggerCondition {
 public:
  const char* GetClassName() const override;
  // "  treshold", "  #things" (the count), "   id[%d]" per thing.
  void ListProperties(tStrings& labels, tStrings& values) override;
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  bool Evaluate(CLogic* logic) override;

  virtual bool LoadUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCount(LumoStream* stream, const LumoProperty* property);

  tIdList Units;
  int32_t Count = 0;  // the threshold
};

// More than Count of the listed things exist and are dead; ids of things
// that are gone are dropped.
class YLTriggerConditionDead : public YLTriggerConditionAlive {
 public:
  const char* GetClassName() const override;
  void GetRecordString(char* buffer, size_t size) override;
  bool Evaluate(CLogic* logic) override;
};
