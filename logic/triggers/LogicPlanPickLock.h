#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// The end of a burglary: once the thief has picked the lock, the building's
// money goes to the thief's player and the thief goes in.
class LogicPlanPickLock : public LogicPlanItem {
 public:
  LogicPlanPickLock();
  LogicPlanPickLock(int32_t thiefId, int32_t buildingId);

  const char* GetClassName() const override;
  // "%3d: pick lock" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic) override;

  virtual bool LoadBuilding(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBuilding(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadThief(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveThief(LumoStream* stream, const LumoProperty* property);

  int32_t Thief = 0;
  int32_t Building = 0;
};
