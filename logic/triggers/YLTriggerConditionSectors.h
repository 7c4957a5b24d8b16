#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLTriggerCondition.h"

class LumoProperty;
class LumoStream;

// The conditions on where units are: in a building, in a sector, a team's
// units in sectors, a team's whole crew of fans in a sector, and fights
// going on in sectors. Unit lists name thing ids; ids that no longer name a
// thing are dropped from them while evaluating, and stay dropped.

// Every listed unit is inside the building.
class YLTriggerConditionInBuilding : public YLTriggerCondition {
 public:
  const char* GetClassName() const override;
  // "  building", then "  unit ids" (the count) and "   %d" per unit.
  void ListProperties(tStrings& labels, tStrings& values) override;
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  // False unless BuildingID names a container; true with no units.
  bool Evaluate(CLogic* logic) override;

  virtual bool LoadBuildingID(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBuildingID(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnits(LumoStream* stream, const LumoProperty* property);

  int32_t BuildingID = 0;
  tIdList Units;
};

// Every listed living unit stands in the sector; dead units are dropped too.
class YLTriggerConditionInSector : public YLTriggerCondition {
 public:
  const char* GetClassName() const override;
  // "  sector", then "  unit ids" (the count) and "   %d" per unit.
  void ListProperties(tStrings& labels, tStrings& values) override;
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  bool Evaluate(CLogic* logic) override;

  virtual bool LoadSector(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSector(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadUnits(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveUnits(LumoStream* stream, const LumoProperty* property);

  int32_t Sector = 0;
  tIdList Units;
};

// At least Count units of the team stand in the listed sectors together.
class YLTriggerConditionTeamInSector : public YLTriggerCondition {
 public:
  const char* GetClassName() const override;
  // "  team", then "  sector#" (the count) and "   %d" per sector. Count
  // is not edited.
  void ListProperties(tStrings& labels, tStrings& values) override;
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  // False at once for a sector the sector map does not have.
  bool Evaluate(CLogic* logic) override;

  // The text "secs:" and the id list; a stream without the text holds one
  // sector number, which becomes a list of one.
  virtual bool LoadSector(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSector(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCount(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCount(LumoStream* stream, const LumoProperty* property);

  tIdList Sector;
  int32_t Team = 0;
  int32_t Count = 1;
};

// The team's fans standing in the sector are exactly as many as the team
// has (its player's parameter 18).
class YLTriggerConditionWholeTeamInSector : public YLTriggerCondition {
 public:
  const char* GetClassName() const override;
  // "  team", "  sector".
  void ListProperties(tStrings& labels, tStrings& values) override;
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  bool Evaluate(CLogic* logic) override;

  virtual bool LoadSector(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSector(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTeam(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTeam(LumoStream* stream, const LumoProperty* property);

  int32_t Sector = 0;
  int32_t Team = 1;
};

// At least Fightsize units in the listed sectors are fighting an opponent
// the flags count. Units of the police are never looked at.
class YLTriggerConditionFighting : public YLTriggerCondition {
 public:
  // The moves of a unit that fights.
  static constexpr int32_t kFightMoves[] = {11, 12, 13, 27};

  const char* GetClassName() const override;
  // "  fightsize", "  #sector" (the count), "   %d" per sector, "  police",
  // "  innocents". The same-side flag has no line.
  void ListProperties(tStrings& labels, tStrings& values) override;
  int32_t SetProperty(int32_t index, const char* text) override;
  void GetRecordString(char* buffer, size_t size) override;
  bool Evaluate(CLogic* logic) override;

  // As the team-in-sector condition's sectors.
  virtual bool LoadSector(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveSector(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadFightsize(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveFightsize(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadPerceive(LumoStream* stream, const LumoProperty* property);
  virtual bool SavePerceive(LumoStream* stream, const LumoProperty* property);
  // The text "xtra:" and three flag bytes: police, same side, innocents. A
  // stream without the text keeps the flags set.
  virtual bool LoadBools(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveBools(LumoStream* stream, const LumoProperty* property);

  tIdList Sector;
  int32_t Fightsize = 1;
  int32_t Perceive = 0;  // stored, not used
  bool Police = true;    // opponents of the police count
  bool SameSide = true;  // opponents of the unit's own side count
  bool Innocents = true;  // opponents without an owner count
};
