#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/LogicPlanItem.h"

// Lifts a thing off the ground or sets it back down at a planned frame (the
// traffic's cars as they enter and leave the map). Items of this kind
// outlive the clearing of the plan at the end of a game.
class LogicPlanWarpZ : public LogicPlanItem {
 public:
  LogicPlanWarpZ();
  LogicPlanWarpZ(int32_t thing, int32_t z);

  const char* GetClassName() const override;
  // "%3d: warp z" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // For the thing TID, when there is one on the map: Z 0 sets its height to
  // 0 and writes its footprint into the map again; any other Z takes its
  // footprint off the map, then sets its height. A thing inside a container
  // (an id used again may name one) is left alone: it has no footprint.
  void Execute(CLogic* logic) override;

  virtual bool LoadTID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadZ(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveZ(LumoStream* stream, const LumoProperty* property);

  int32_t TID = 0;
  int32_t Z = 0;
};
