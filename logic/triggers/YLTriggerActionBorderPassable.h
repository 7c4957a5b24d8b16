#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/YLTriggerAction.h"

// Opens or closes a border between two sectors of the logic map's
// navigation map. The path finder's cached routes are forgotten afterwards,
// so no unit keeps following a route through a border that has closed.
class YLTriggerActionBorderPassable : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  border", "  passable".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "passable border".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadBorderID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBorderID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPassable(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePassable(LumoStream* stream, const LumoProperty* property);

  // The border's index in the navigation map.
  int32_t BorderID = 0;
  bool Passable = true;
};

// Stops or restarts the highway traffic of a direction.
class YLTriggerActionStopTraffic : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  ori".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "stop traffic".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadOri(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveOri(LumoStream* stream, const LumoProperty* property);

  // The direction handed to the logic's highway traffic.
  int32_t Ori = 1;
};
