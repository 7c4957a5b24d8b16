#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/LumoList.h"
#include "base/LumoObject.h"
#include "base/LumoObjects.h"

class LumoStream;
class LumoProperty;
class ThingInfo;
class YBBot;
class YBBotList;
class YBBuilding;
class YBContainer;
class YBCrewAssignment;
class YBCriminal;
class YBIdentifierList;
class YBObjective;
class YBSector;
class YBSituation;
class YBThing;
class YBUnit;
class YBVehicle;
class YLKnowledgeMap;
class YLPathFinder;
class YLSectors;

// The one controller of every computer player of a game: its knowledge of
// the map and the things, the crew assignments, the objectives, the
// criminal records and the search tree. The constructor makes the new
// controller the current one of the process; freeing it clears that.
class YBMasterMind : public LumoObject {
 public:
  static constexpr int32_t kPlayers = 4;
  // A cell names sectors 0-254; 255 is none.
  static constexpr int32_t kMaxSectors = 255;
  static constexpr int32_t kNoSectorDistance = 1000;
  static constexpr uint16_t kMissingSectorDistance = 65535;

  YBMasterMind();
  ~YBMasterMind() override;

  const char* GetClassName() const override { return "YBMasterMind"; }
  void OnFree() override;
  void DoAbortReferenceTo(LumoObject* other) override;

  virtual bool LoadObjectives(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveObjectives(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCriminals(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCriminals(LumoStream* stream, const LumoProperty* property);

  // The current controller; null when none.
  static YBMasterMind* GetCurrent();
  // Makes this controller the current one again, as after a load that made
  // another controller meanwhile.
  void MakeCurrent();

  // ---- Knowledge ----

  // The map arrives: sectors, path finder, distance table and empty thing
  // records; every record, crew assignment and the search tree made before
  // are released.
  void SetMap(YLKnowledgeMap* map);
  // Makes the knowledge record of a thing the logic made; a record the
  // identifier had is released first.
  YBThing* AddThing(ThingInfo* info);
  // Puts a unit into a crew assignment.
  void AddUnit(YBUnit* unit);
  // Makes one crew assignment of the listed units for an objective (or none).
  YBCrewAssignment* AddAssigment(const YBIdentifierList* list, YBObjective* objective);
  // Adds crime to a unit's criminal record, made when missing.
  YBCriminal* AddCriminal(YBUnit* unit, float amount);
  // The criminal record of a thing identifier; null when none.
  YBCriminal* GetCriminal(int32_t id) const;

  // One step of the computer players; answers true.
  bool Compute();

  // ---- Lookups ----

  YBThing* GetThing(int32_t id) const;
  YBUnit* GetUnit(int32_t id) const;
  YBBuilding* GetBuilding(int32_t id) const;
  YBContainer* GetContainer(int32_t id) const;
  YBVehicle* GetVehicle(int32_t id) const;
  int32_t GetThingRecordCount() const { return static_cast<int32_t>(Things.size()); }
  // The first container record whose container lists the thing.
  YBContainer* GetContainerOf(const YBThing* record) const;
  // The unit standing on a cell; null for none.
  YBUnit* GetUnitAt(int32_t x, int32_t y) const;
  YBSector* GetSector(int32_t index) const;
  int32_t GetSectorCount() const { return static_cast<int32_t>(Sectors.size()); }
  // The sector of a map position; null when the cell has none.
  YBSector* GetSectorAt(int32_t x, int32_t y) const;
  // The sector whose centre is nearest (squared distance, the first of
  // equal ones); null without sectors.
  YBSector* GetSectorNearestCentre(int32_t x, int32_t y) const;
  // The sector of a position, else the one whose centre is nearest.
  YBSector* GetNearestSector(int32_t x, int32_t y) const;
  // The sector of a record's GetX, GetY, and that sector's identifier (0
  // when none).
  YBSector* GetSector(const YBThing* record) const;
  int32_t GetSectorID(const YBThing* record) const;
  YBCrewAssignment* FindAssignment(int32_t crewId) const;
  YBCrewAssignment* GetAssignment(int32_t index) const;
  int32_t GetAssignmentCount() const { return static_cast<int32_t>(Assignments.size()); }
  int32_t IndexOfAssignment(const YBCrewAssignment* assignment) const;
  // Removes (and destroys) a crew assignment.
  void RemoveAssignment(YBCrewAssignment* assignment);
  // The bot playing a player index; null when none.
  YBBot* GetBot(int32_t player) const;
  // The crew identifier a new crew takes: one more than the largest held by
  // an assignment's crew or a crew of the root.
  uint32_t NextCrewID() const;

  // A route from a map position to a sector, one sector per step of the
  // path; null when the position lies in the target sector already, or
  // there is no path finder or no path. The caller owns the collection,
  // which does not own its sectors.
  std::unique_ptr<LumoObjects, tObjectDestroyer> FindRoute(int32_t x, int32_t y, const YBSector* target,
                                                           bool vehicle);

  // The distance of two sector centres; 1000 for an identifier that names
  // no sector of the table (255, negative, at or past the count). A missing
  // sector's entry reads as -1.
  int32_t GetSectorDistance(int32_t a, int32_t b) const;
  float GetSectorCloseness(int32_t a, int32_t b) const;
  // The might of the listed units; 0 for no list.
  float GetMight(const YBIdentifierList* list) const;

  // The two halves of the logic's objective-value event.
  void SetObjectiveValue(int32_t objectiveId, int32_t code, const char* text);
  void SetGlobalValue(int32_t code, int32_t player, const char* text);

  // Used by the police task.
  void AddSectorCrime(YBSector* sector, float amount);
  static void MarkNode(LumoNode* node);

  // The bots; held by reference.
  void SetBots(YBBotList* bots);
  YBBotList* GetBots() const { return Bots; }
  YLKnowledgeMap* GetMap() const { return Map; }
  int32_t GetCallCounter() const { return CallCounter; }
  int32_t GetComputeTime() const { return ComputeTime; }
  float GetMapDiagonal() const { return MapDiagonal; }
  int32_t GetMoney(int32_t player) const;
  void SetMoney(int32_t player, int32_t value);
  YBThing* GetPoliceBase() const { return PoliceBase; }
  YLPathFinder* GetPathFinder() const { return PathFinder.get(); }
  const std::vector<uint16_t>& GetDistanceTable() const { return Distances; }
  LumoList* GetObjectives() const { return Objectives.get(); }
  LumoObjects* GetCriminals() const { return Criminals.get(); }
  YBSituation* GetRoot() const { return Root; }
  // Destroys the search tree and empties the open lists; the next Compute
  // starts afresh.
  void ResetSearch();

  // The first unit of an owner outside 0-3 logs once per controller.
  bool HasValidOwner(const YBUnit* unit);

  std::unique_ptr<LumoList, tObjectDestroyer> Objectives;
  std::unique_ptr<LumoObjects, tObjectDestroyer> Criminals;
  std::vector<YBSituation*> OpenLists[kPlayers];
  int32_t CallCounter = 0;
  YLKnowledgeMap* Map = nullptr;
  YLSectors* SectorMap = nullptr;
  std::vector<YBThing*> Things;  // owned, by thing identifier
  YBBotList* Bots = nullptr;
  YBSituation* Root = nullptr;  // owned
  YBSituation* ViewedSituation = nullptr;
  std::vector<YBSector*> Sectors;               // owned, by sector index
  std::vector<YBCrewAssignment*> Assignments;  // owned
  std::unique_ptr<YLPathFinder> PathFinder;
  int32_t Money[kPlayers] = {};
  YBThing* PoliceBase = nullptr;
  std::vector<uint16_t> Distances;
  float MapDiagonal = 100.0f;
  int32_t ComputeTime = 0;
  // How many situations an open list keeps after this call's search.
  int32_t SearchBudget = 0;

 private:
  // Stops every task of every bot, so no started state holds a record.
  void StopAllTasks();
  // Takes a record out of every place that holds it and destroys it.
  void ReleaseRecord(YBThing* record);
  // Releases every record, crew assignment and sector.
  void ReleaseKnowledge();
  void BuildDistances();
  YBCrewAssignment* NewAssignment(int32_t player, int32_t sector, YBObjective* objective);
  // Units of the player (every player for -1) that SetGlobalValue marks.
  void MarkCriminal(YBUnit* unit);

  bool loggedBadOwner_ = false;
};
