#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/YLTriggerAction.h"

class ActionPropertyLines;
class LumoProperty;
class LumoStream;

// The level's ticket man: a suit appears at a place for player 4, heads for
// the brothel in a hurry and becomes the one marked unit of the level.
class YLTriggerActionLvl7TicketMan : public YLTriggerAction {
 public:
  static constexpr int32_t kUnitType = 4;
  static constexpr int32_t kPlayer = 4;

  const char* GetClassName() const override;
  // "  x", "  y", "  brothel".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "lvl7 ticketman spawn".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadX(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveX(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadY(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveY(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadBrothelID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBrothelID(LumoStream* stream, const LumoProperty* property);

  int32_t X = 0;
  int32_t Y = 0;
  int32_t BrothelID = 0;

 private:
  void Lines(ActionPropertyLines& lines);
};
