#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLTriggerAction.h"

// Gives a pub recruits: one of each listed unit type, in list order. The pub
// keeps only the types it sells and at most ten of a type.
class YLTriggerActionUnitsAvail : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  pub id", "  unit types" (the count), then one line per type labelled
  // "   %d" with its index.
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "unit avail".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadPubID(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePubID(LumoStream* stream, const LumoProperty* property);
  // An id list: the count, then the unit types.
  virtual bool LoadUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnits(LumoStream* stream, const LumoProperty* property);

  int32_t PubID = 0;
  tIdList Units;
};
