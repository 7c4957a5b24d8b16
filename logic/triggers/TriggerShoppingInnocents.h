#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"

// Stops the shoppers: every 10 frames every unit of the thing table is
// marked (status bit 9) so that it no longer picks a shop by itself.
class TriggerShoppingInnocents : public ConditionTrigger {
 public:
  TriggerShoppingInnocents();

  const char* GetClassName() const override;
  // "stop shopping", without the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // Walks the whole thing table: its length, not the count of things alive,
  // bounds the ids, so no unit of a high id is missed after deaths.
  void Execute(CLogic* logic) override;

  virtual bool LoadShopping(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveShopping(LumoStream* stream, const LumoProperty* property);

  // Stored, never used by the run.
  bool Shopping = false;
};
