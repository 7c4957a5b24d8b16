#pragma once

// What the trigger actions that create or command units share: the choice
// of a building to spawn in, the weapon grade a unit may get, and the text
// of the created units' ids that goes to an objective.

#include <cstdint>
#include <vector>

#include "logic/triggers/PropertyText.h"

class CLogic;
class LumoStream;
class YLTContainerThing;
class YLUnit;

// One of the ids that names a container thing standing in its normal state
// (state 0) whose owner is nobody (0) or team, drawn uniformly with
// RandomSigned (candidates - 1) from the candidates in list order; null,
// with no draw, when none qualifies.
YLTContainerThing* ChooseEligibleBuilding(CLogic& logic, const tIdList& ids, int32_t team);

// Units carry weapon grades 0 to 3; a stored or edited grade outside them
// is clamped before a unit gets it, the action keeping its value.
constexpr int32_t kMaxWeaponGrade = 3;
void GiveWeaponGrade(YLUnit& unit, int32_t grade);

// The unit types that carry ammunition (the leader and the yobbozer).
bool CarriesAmmunition(int32_t unitType);

// The ids of the units an action made, in creation order: "12,13,14".
class CreatedUnits {
 public:
  void Add(int32_t id) { Ids.push_back(id); }
  const std::vector<int32_t>& Get() const { return Ids; }
  // Tells the objective (when it is not 0) the ids as "%d" then ",%d"
  // each; nothing when no unit was made.
  void Send(CLogic& logic, int32_t objective) const;

 private:
  std::vector<int32_t> Ids;
};
