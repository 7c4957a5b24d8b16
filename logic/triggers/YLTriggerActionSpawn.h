#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/CommandChain.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLTriggerAction.h"

class ActionPropertyLines;
class LumoProperty;
class LumoStream;

// Units appear in one of a list of buildings: a building is drawn among
// those that stand intact and belong to nobody or to the team, and each unit
// type of the list is made inside it for the team (a leader with the
// logic's placeholder name).
class YLTriggerActionSpawn : public YLTriggerAction {
 public:
  const char* GetClassName() const override;
  // "  #buildings", "   ID%d" per building, "  team", "  unit types" and
  // "   %d" per type.
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "spawn".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  // "ids:" and an id list; a stream without the tag holds one id.
  virtual bool LoadBuildingIDs(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBuildingIDs(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTeam(LumoStream* stream, const LumoProperty* property);
  // A plain id list.
  virtual bool LoadUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnits(LumoStream* stream, const LumoProperty* property);

  tIdList BuildingIDs;
  int32_t Team = 0;
  tIdList Units;

 private:
  void Lines(ActionPropertyLines& lines);
};

// Units appear at a place (x, y) or in one of a list of buildings, each
// taking the action's weapon grade and command chain; their ids go to an
// objective.
class YLTriggerActionFixedIDSpawn : public YLTriggerAction {
 public:
  static constexpr int32_t kDefaultTeam = 2;

  // Places 0, 0, team 2.
  YLTriggerActionFixedIDSpawn();

  const char* GetClassName() const override;
  // "  in building"; "  build#" and "   b[%d]" per building, or "  x" and
  // "  y"; "  unit#" and "   type[%d]" per type; "  team"; "  objectveid";
  // "  weapongr"; then the chain's lines. Switching "  in building" empties
  // the places; switching it off puts the place 0, 0 back.
  void ListProperties(tStrings& labels, tStrings& values) override;
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "spawn with fixed ids".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;
  // A place needs both coordinates: with fewer than two entries nothing is
  // made and the action logs it.
  void Execute(CLogic* logic, YLCustomTrigger* trigger) override;

  virtual bool LoadInBuilding(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveInBuilding(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPlaces(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePlaces(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadObjectiveID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveObjectiveID(LumoStream* stream, const LumoProperty* property);
  // "comm:", then the chain's stored form.
  virtual bool LoadCommand(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCommand(LumoStream* stream, const LumoProperty* property);
  // "wpn:" and a 32-bit integer.
  virtual bool LoadWeaponLvl(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveWeaponLvl(LumoStream* stream, const LumoProperty* property);

  bool InBuilding = false;
  // x and y, or building ids.
  tIdList Places;
  tIdList Units;
  int32_t Team = kDefaultTeam;
  int32_t ObjectiveID = 0;
  CommandChain Command;
  int32_t WeaponLvl = 0;

 private:
  void Lines(ActionPropertyLines& lines);
};
