#include "logic/world/UnitRoutes.h"

#include "logic/world/PsychicPlanItem.h"
#include "logic/world/YLUnit.h"

bool PlanRouteWithin(YLUnit& unit, PsychicPlanItem* step, int32_t x, int32_t y, int32_t range) {
  if (step == nullptr) {
    return false;
  }
  if (YLUnit::IntDistance(unit.GetX(), unit.GetY(), x, y) > range) {
    if (!unit.PlanPath(unit.GetX(), unit.GetY(), x, y, step, 0)) {
      return false;
    }
    for (PsychicPlanItem* waypoint = step->child; waypoint != nullptr; waypoint = waypoint->queue) {
      if (YLUnit::IntDistance(waypoint->Param1, waypoint->Param2, x, y) <= range) {
        PsychicPlanItem::DeleteTree(waypoint->queue);
        waypoint->queue = nullptr;
        break;
      }
    }
  }
  step->Expandable = false;
  return true;
}

int32_t TurnTowards(int32_t difference, int32_t clockwise, int32_t counterClockwise) {
  return difference > 0 ? clockwise : counterClockwise;
}
