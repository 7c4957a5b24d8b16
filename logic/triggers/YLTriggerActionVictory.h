#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/YLTriggerAction.h"

// Ends the game for a player, a win when Victory is set, else a loss (the
// other players' results follow from the logic's rules), and ends the
// firing trigger after this run, also when it repeats.
class YLTriggerActionVictory : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  team", "  victory".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "victory %d win" or "victory %d loose" with the team.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTeam(LumoStream* stream, const LumoProperty* property);
  // A flag stored as a 32-bit integer whose lowest byte is read.
  virtual bool LoadVictory(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveVictory(LumoStream* stream, const LumoProperty* property);

  int32_t Team = 0;
  bool Victory = true;
};

// Sets an objective tick done or not done; the game hears it as speech.
class YLTriggerActionObjectiveVinkje : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  ObjID", "  value".
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "objective vinkje".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadObjectiveID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveObjectiveID(LumoStream* stream, const LumoProperty* property);
  // A flag stored as a 32-bit integer whose lowest byte is read.
  virtual bool LoadValue(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveValue(LumoStream* stream, const LumoProperty* property);

  int32_t ObjectiveID = 0;
  // Done.
  bool Value = false;
};
