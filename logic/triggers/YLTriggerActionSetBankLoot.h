#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/YLTriggerAction.h"

// Marks one unit as the bank's robber: every unit of the thing table loses
// the marker, then the unit ID gets it, so at most one unit carries it.
class YLTriggerActionSetBankLoot : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  ID".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "setbankloot".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveID(LumoStream* stream, const LumoProperty* property);

  int32_t ID = 0;
};
