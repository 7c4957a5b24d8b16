#include "logic/world/UnitRoutes.h"

#include <algorithm>
#include <cstdlib>

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
    // A route bends only at its nodes: the leg that enters the range is
    // cut at its first cell within range, and the rest of the route goes.
    int32_t fromX = unit.GetX();
    int32_t fromY = unit.GetY();
    for (PsychicPlanItem* waypoint = step->child; waypoint != nullptr; waypoint = waypoint->queue) {
      if (YLUnit::IntDistance(waypoint->Param1, waypoint->Param2, x, y) <= range) {
        const int32_t dx = waypoint->Param1 - fromX;
        const int32_t dy = waypoint->Param2 - fromY;
        const int32_t steps = std::max(std::abs(dx), std::abs(dy));
        for (int32_t index = 1; index < steps; ++index) {
          const int32_t cellX = fromX + dx * index / steps;
          const int32_t cellY = fromY + dy * index / steps;
          if (YLUnit::IntDistance(cellX, cellY, x, y) <= range) {
            waypoint->Param1 = cellX;
            waypoint->Param2 = cellY;
            break;
          }
        }
        PsychicPlanItem::DeleteTree(waypoint->queue);
        waypoint->queue = nullptr;
        break;
      }
      fromX = waypoint->Param1;
      fromY = waypoint->Param2;
    }
  }
  step->Expandable = false;
  return true;
}

int32_t TurnTowards(int32_t difference, int32_t clockwise, int32_t counterClockwise) {
  return difference > 0 ? clockwise : counterClockwise;
}
