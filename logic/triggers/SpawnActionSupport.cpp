#include "logic/triggers/SpawnActionSupport.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/LumoStream.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/RecordFields.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnit.h"

namespace {

constexpr int32_t kLeaderType = 10;
constexpr int32_t kYobbozerType = 12;

bool IsEligible(const YLTContainerThing& building, int32_t team) {
  if (building.Info == nullptr || building.Info->MoveNumber != 0) {
    return false;
  }
  const int32_t owner = building.GetOwner();
  return owner == 0 || owner == team;
}

}  // namespace

YLTContainerThing* ChooseEligibleBuilding(CLogic& logic, const tIdList& ids, int32_t team) {
  std::vector<YLTContainerThing*> candidates;
  for (int32_t index = 0; index < ids.count; ++index) {
    auto* building = dynamic_cast<YLTContainerThing*>(logic.GetThing(ids[index]));
    if (building != nullptr && IsEligible(*building, team)) {
      candidates.push_back(building);
    }
  }
  if (candidates.empty()) {
    return nullptr;
  }
  const int32_t chosen = RandomSigned(static_cast<int32_t>(candidates.size()) - 1);
  return candidates[static_cast<size_t>(std::clamp(chosen, 0, static_cast<int32_t>(candidates.size()) - 1))];
}

void GiveWeaponGrade(YLUnit& unit, int32_t grade) { unit.SetWeaponGrade(std::clamp(grade, 0, kMaxWeaponGrade)); }

bool CarriesAmmunition(int32_t unitType) { return unitType == kYobbozerType || unitType == kLeaderType; }

void CreatedUnits::Send(CLogic& logic, int32_t objective) const {
  if (objective == 0 || Ids.empty()) {
    return;
  }
  std::string text;
  for (size_t index = 0; index < Ids.size(); ++index) {
    char number[16];
    std::snprintf(number, sizeof number, index == 0 ? "%d" : ",%d", Ids[index]);
    text += number;
  }
  logic.NotifySetObjectiveValue(objective, 3, text.c_str());
}

