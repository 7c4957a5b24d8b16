// What a unit without orders does by itself (the base unit is a civilian):
// it idles now and then and goes shopping when it is bored of waiting.

#include <vector>

#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLUnit.h"
#include "navigation/YLKnowledgeMap.h"

namespace {

// The building kind of a bank: no civilian goes shopping there.
constexpr int32_t kBankBuildingType = 12;
// Frustration a civilian without a plan gathers per slow step, and the level
// past which it leaves a neutral building.
constexpr float kFrustrationStep = 0.06f;
constexpr float kFrustrationLimit = 0.93f;
// The motivations of the chosen shopping trip and of a new door to try.
constexpr float kShoppingMotivation = 0.4f;
constexpr float kOtherDoorMotivation = 0.75f;
// The window of the ambient draw: about one slow step in fifty.
constexpr double kIdleFrom = 0.6;
constexpr double kIdleTo = 0.62;

bool IsBuilding(const YLThing* thing) {
  return thing != nullptr && thing->Info != nullptr && thing->Info->IsBuilding();
}

}  // namespace

// The draw is made on every slow step; only a unit on the map idles.
void YLUnit::MaybeIdle() {
  const double draw = RandomFloat();
  if (draw > kIdleFrom && draw < kIdleTo && Container == nullptr) {
    PushPlanItem(new PsychicPlanAmbient(0, 0, 1.0f, false));
  }
}

void YLUnit::ComputeIntentions() {
  if (HasStatus(kStatusArrested | kStatusSwitchedOff)) {
    return;
  }
  DangerReflexes();
  MaybeIdle();
  if (HasStatus(kStatusNoShopping) || Plan.child != nullptr) {
    return;
  }
  Frustration += kFrustrationStep;
  if (Frustration <= kFrustrationLimit && Container != nullptr && Container->GetOwner() == 0) {
    return;
  }
  Frustration = 0.0f;
  CLogic* logic = GetLogic();
  if (logic == nullptr || logic->Things == nullptr) {
    return;
  }
  const YLKnowledgeMap* knowledge = logic->Map != nullptr ? logic->Map->GetStratMap() : nullptr;
  std::vector<int32_t> buildings;
  for (int32_t id = 1; id < logic->Things->count; ++id) {
    const YLThing* thing = logic->GetThing(id);
    if (thing == nullptr) {
      break;
    }
    if (!IsBuilding(thing) || thing->Info->BuildingType == kBankBuildingType || thing == Container) {
      continue;
    }
    const auto* container = dynamic_cast<const YLTContainerThing*>(thing);
    const ContainerInfo* record = container != nullptr ? container->GetContainerInfo() : nullptr;
    if (record == nullptr) {
      continue;
    }
    int32_t x = 0;
    int32_t y = 0;
    record->GetEntrance(x, y);
    if (knowledge != nullptr && knowledge->IsInside(x, y)) {
      buildings.push_back(id);
    }
  }
  if (buildings.empty()) {
    return;
  }
  const int32_t chosen = buildings[static_cast<size_t>(RandomSigned(static_cast<int32_t>(buildings.size()) - 1))];
  ExecutePlan(new PsychicPlanEnter(chosen, 0, kShoppingMotivation, false));
  InsertPlanItem(new PsychicPlanShop(chosen, 0, 0.0f, false));
}

void YLUnit::ComputePlanning() {
  PsychicPlanItem* leaf = GetPlanLeaf();
  CLogic* logic = GetLogic();
  if (leaf == &Plan || leaf->Action != OrderKind::kEnter || logic == nullptr) {
    return;
  }
  auto* building = dynamic_cast<YLTContainerThing*>(logic->GetThing(leaf->Param1));
  if (building == nullptr || !IsBuilding(building) || building->CanEnter(this)) {
    return;
  }
  ClearPlan();
  for (int32_t index = 0; index < GetNeighbourCount(); ++index) {
    const int32_t id = GetNeighbour(index);
    if (id >= kDirectionCodes) {
      continue;
    }
    auto* other = dynamic_cast<YLTContainerThing*>(logic->GetThing(id));
    if (other != nullptr && IsBuilding(other) && other->CanEnter(this)) {
      ExecutePlan(new PsychicPlanEnter(id, 0, kOtherDoorMotivation, false));
      return;
    }
  }
}
