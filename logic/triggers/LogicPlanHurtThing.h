#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// A blow that lands later: the blast of an explosion reaching a thing a few
// frames after it went off, or the end of a highway car. When it comes due
// the logic hurts the thing (CLogic::HurtThing) with the stored damage and
// stun, from the stored source cell, by the aggressor. A thing id that names
// no thing any more is left alone there.
class LogicPlanHurtThing : public LogicPlanItem {
 public:
  LogicPlanHurtThing();
  LogicPlanHurtThing(int32_t thing, float healthDamage, float consDamage, int32_t sourceX, int32_t sourceY,
                     int32_t aggressor);

  const char* GetClassName() const override;
  // "%3d: hurt thing" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic) override;
  // "hurtdelay " and the base's line.
  void PrintToLog() override;

  virtual bool LoadThing(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveThing(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadAgressor(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveAgressor(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadHdamage(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveHdamage(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCdamage(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCdamage(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSx(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSx(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadSy(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSy(LumoStream* stream, const LumoProperty* property);

  int32_t Thing = 0;
  float Hdamage = 0.0f;  // hit points
  float Cdamage = 0.0f;  // consciousness (the stun)
  int32_t Sx = 0;        // where the blow comes from
  int32_t Sy = 0;
  int32_t Agressor = 0;
};
