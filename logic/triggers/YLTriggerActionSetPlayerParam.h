#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/core/YLEventListener.h"
#include "logic/triggers/YLTriggerAction.h"

// Sets a parameter of a player (Set) or adds to it (update). Only the
// parameters of the player's table (0-35) are touched: any other number is
// refused with a log line, so a stored number never grows the table.
class YLTriggerActionSetPlayerParam : public YLTriggerAction {
 public:
  // The player parameters the table names.
  static constexpr int32_t kParamNames = 36;

  const char* GetClassName() const override;
  // "  PID"; "  Param" with "  %d:%s" (the number and its name, "???" outside
  // the table); "  value"; "  mode" with "0:set" or "1:update". Writing a
  // non-zero number to the mode selects set, 0 selects update.
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "set player param".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  // The name of a player parameter; "???" for 0 and any number outside the
  // table.
  static const char* ParamName(ParamEnum parameter);

  virtual bool LoadPID(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadParam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveParam(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadValue(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveValue(LumoStream* stream, const LumoProperty* property);
  // A flag stored as a 32-bit integer whose lowest byte is read.
  virtual bool LoadSet(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSet(LumoStream* stream, const LumoProperty* property);

  // The player, counted from 1.
  int32_t PID = 1;
  ParamEnum Param = 1;
  int32_t Value = 0;
  // Set the value; else add it.
  bool Set = true;
};
