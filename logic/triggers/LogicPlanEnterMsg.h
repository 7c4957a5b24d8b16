#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// Tells the listeners, once the enter move has played, that a unit went
// into a container (the unit turning to face it).
class LogicPlanEnterMsg : public LogicPlanItem {
 public:
  LogicPlanEnterMsg();
  LogicPlanEnterMsg(int32_t unitId, int32_t containerId);

  const char* GetClassName() const override;
  // "%3d: enter msg" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void PrintToLog() override;
  void Execute(CLogic* logic) override;

  virtual bool LoadContainer(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveContainer(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadThing(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveThing(LumoStream* stream, const LumoProperty* property);

  int32_t Thing = 0;      // the unit
  int32_t Container = 0;
};
