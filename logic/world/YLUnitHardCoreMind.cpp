// A hard-core fan's planning.

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

// A player's own pub is never looted.
constexpr int32_t kPubType = 3;
constexpr int32_t kBrickSourceType = 14;

}  // namespace

bool YLUnitHardCore::MakePlan() {
  try {
    if (YLUnitSupporter::MakePlan()) {
      return true;
    }
  } catch (...) {
    DebugPrint("YLUnitHardCore::MakePlan exception in YLUnitSupporter::MakePlan\n");
  }
  PsychicPlanItem* step = GetPlanLeaf();
  const CLogic* logic = GetLogic();
  const UnitInfo* info = GetUnitInfo();
  if (step == nullptr || logic == nullptr || info == nullptr || !step->Expandable) {
    return false;
  }
  switch (step->Action) {
    case OrderKind::kLoot: {
      const auto* building = dynamic_cast<const YLTBuilding*>(logic->GetThing(step->Param1));
      if (building == nullptr) {
        return false;
      }
      if (building->GetOwner() == GetOwner() && building->Info->BuildingType == kPubType) {
        step->Unlink();
        PsychicPlanItem::DeleteTree(step);
        return false;
      }
      const int32_t id = step->Param1;
      step->AddChild(new PsychicPlanGotoThing(id, 0, info->Loyalty, step->Fast));
      step->AddChild(new PsychicPlanLeave(id, 0, info->Loyalty, step->Fast));
      step->AddChild(new PsychicPlanSubLoot(id, 0, info->Loyalty, step->Fast));
      step->Expandable = false;
      return MakePlan();
    }
    case OrderKind::kPatroll:
      if (!PlanPath(GetX(), GetY(), step->Param1, step->Param2, step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    case OrderKind::kTurret:
    case OrderKind::kGetDope: {
      const YLThing* target = step->Param1 != 0 ? logic->GetThing(step->Param1) : nullptr;
      if (step->Action == OrderKind::kTurret &&
          (target == nullptr || target->Info == nullptr || target->Info->BuildingType != kBrickSourceType)) {
        step->Param1 = 0;
        target = nullptr;
      }
      if (target == nullptr || !PlanPath(GetX(), GetY(), target->GetX(), target->GetY(), step, 0)) {
        return false;
      }
      step->Expandable = false;
      return true;
    }
    case OrderKind::kGetMoney:
      return true;
    default:
      return false;
  }
}
