#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// Blood on the street a few frames after a blow: when it comes due, every
// listener of the logic hears the gore event with the item's place, size and
// kind. It does nothing else.
class LogicPlanGoreMsg : public LogicPlanItem {
 public:
  LogicPlanGoreMsg();
  // The size is a whole number: it is stored as a 32-bit integer.
  LogicPlanGoreMsg(int32_t x, int32_t y, int32_t size, int32_t type);

  const char* GetClassName() const override;
  // "%3d: gore msg" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // The gore event (X, Y, Size, Type) to every listener.
  void Execute(CLogic* logic) override;

  virtual bool LoadX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSize(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSize(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadType(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveType(LumoStream* stream, const LumoProperty* property);

  int32_t X = 0;
  int32_t Y = 0;
  int32_t Size = 0;
  int32_t Type = 0;
};
