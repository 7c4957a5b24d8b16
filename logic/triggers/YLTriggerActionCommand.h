#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/CommandChain.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLTriggerAction.h"

class ActionPropertyLines;
class LumoProperty;
class LumoStream;

// Gives a chain of plan steps to units: to existing units by id, or to new
// units made at a place or inside a container; their ids go to an
// objective.
class YLTriggerActionCommand : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  create new"; with it "  in cont", then "  build id" or "  place x"
  // and "  place y", "  types" and "   %d:" per type, "  team"; without it
  // "  unit ids" and "   %d:" per id; then "  objective" and the chain.
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "command unit".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadNew(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveNew(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadInContainer(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveInContainer(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPlace1(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePlace1(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPlace2(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePlace2(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTeam(LumoStream* stream, const LumoProperty* property);
  // The chain's stored form.
  virtual bool LoadCommand(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCommand(LumoStream* stream, const LumoProperty* property);
  // "obj:", the objective as a 32-bit integer, then the id list; a stream
  // without the tag holds only the list.
  virtual bool LoadIDs(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveIDs(LumoStream* stream, const LumoProperty* property);

  bool New = false;
  bool InContainer = false;
  // The container's id, or the place's x.
  int32_t Place1 = 0;
  // The place's y.
  int32_t Place2 = 0;
  int32_t Team = 0;
  CommandChain Command;
  // Unit types to make (New), or the ids of existing units.
  tIdList IDs;
  int32_t ObjectiveID = 0;

 private:
  void Lines(ActionPropertyLines& lines);
};
