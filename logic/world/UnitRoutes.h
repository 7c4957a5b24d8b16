#pragma once

#include <cstdint>

class PsychicPlanItem;
class YLUnit;

// Plans the unit's route to (x, y) under the step, cut at the first waypoint
// from which (x, y) lies within `range` cells; no route is needed when the
// unit is within range already. False when there is no route. The step
// stops being expandable on success.
bool PlanRouteWithin(YLUnit& unit, PsychicPlanItem* step, int32_t x, int32_t y, int32_t range);

// The turn towards a direction difference of -4..4 (0: facing it): the
// clockwise move for a positive one, the counter-clockwise for a negative.
int32_t TurnTowards(int32_t difference, int32_t clockwise, int32_t counterClockwise);
