#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/ConditionTrigger.h"
#include "logic/triggers/PropertyText.h"

// Keeps buildings down: every 10 frames each listed building that stands
// trashed has its hit points set to 0, so it never mends. Ids that no
// longer name a building are dropped from the list.
class TriggerDontRepair : public ConditionTrigger {
 public:
  TriggerDontRepair();

  const char* GetClassName() const override;
  // "don't repair", without the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // After time and frequency: the count of Buildings, then its entries.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // The base's pairs, then "build#" and one "bid[k]" per building.
  void BuildProperties() override;
  void Execute(CLogic* logic) override;

  // An id list.
  virtual bool LoadBuildings(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBuildings(LumoStream* stream, const LumoProperty* property);

  tIdList Buildings;
};
