#pragma once

#include <cstdint>

#include "base/LumoObjects.h"
#include "bot/YBThing.h"

class YBCrew;
class YBIdentifierList;
class YBObjective;
class YBTask;
class YBUnit;

// The real units behind one crew: the unit records (not owned), the sectors
// where they are and where they head, their task and their objective. It
// lives outside the search tree; its crew is the one that stands for it in
// the current root.
class YBCrewAssignment : public LumoObjects {
 public:
  // Units whose sector lies farther than this less 35 / count from the
  // assignment's stray from it.
  static constexpr int32_t kStrayDistance = 50;
  static constexpr int32_t kStrayShrink = 35;

  YBCrewAssignment() : LumoObjects(false) {}

  const char* GetClassName() const override { return "YBCrewAssignment"; }
  // Clears the units' assignment and lets go of crew and task.
  void OnFree() override;
  void DoAbortReferenceTo(LumoObject* other) override;

  YBUnit* GetUnit(int32_t index) const { return static_cast<YBUnit*>(At(index)); }
  bool HasUnit(const YBUnit* unit) const;
  // Appends the unit; its assignment becomes this one.
  void AddUnit(YBUnit* unit);
  // Only for a unit of this assignment: removes every occurrence and clears
  // its assignment.
  void RemoveUnit(YBUnit* unit);
  // Takes every unit of another assignment.
  void TakeUnits(YBCrewAssignment* other);
  // Replaces the units by those of the listed identifiers the controller
  // knows as units; then updates the crew from them.
  void SetUnits(const YBIdentifierList* list);
  // The sectors from the units' positions and moves; strays leave. Answers
  // true.
  bool Update();

  // The crew (held by reference). A crew that no situation made yet
  // belongs to this assignment.
  void SetCrew(YBCrew* crew);
  // The task (held by reference, not owned).
  void SetTask(YBTask* task);
  // The crew's player, 0 without a crew.
  int32_t GetPlayer() const;
  // The crew's identifier, -1 without a crew.
  int32_t GetCrewID() const;

  YBCrew* Crew = nullptr;
  int16_t Sector = -1;
  int16_t DestinationSector = -1;
  YBTask* Task = nullptr;
  YBObjective* Objective = nullptr;

 private:
  // Takes the unit out of the walk's list without touching the others.
  void Drop(YBUnit* unit);
};
