#pragma once

// The functions through which the game program reads the logic's state and
// its balance values without knowing the logic's classes: things and their
// current steps, the frame counter, unit costs and armour, weapon damage and
// prices, player parameters, the technology level and two debug or cheat
// entries. They work on the running logic (TheLogic); those that need it
// answer 0 or null without one, and for a thing or player that does not
// exist. They are exported with C linkage, as the lifecycle functions are.

#include <cstdint>

#include "base/LumoExport.h"
#include "logic/core/YLEventListener.h"

class PsychicPlanItem;

extern "C" {

// The thing of that id, untyped; null for an id below 1 or at or past the
// end of the thing table.
COGITO_API void* DebugGetThing(int32_t id);
// The current step of the unit of that id (the copy of the plan step it
// carries out, which the computer player reads); null for any other thing,
// and between steps.
COGITO_API PsychicPlanItem* GetCurrMove(int32_t id);
// The innermost step of the plan of a unit handed out by DebugGetThing;
// null for a pointer that is not a unit of the thing table under its own id.
COGITO_API PsychicPlanItem* DebugGetPlan(void* unit);
// The current step of such a unit, as GetCurrMove.
COGITO_API PsychicPlanItem* DebugGetCurrMove(void* unit);
// The logic's count of things, created less died. It is only a figure to
// show: ids reach past it (a died thing's slot stays until it is freed), so
// it bounds nothing; the thing table's length does.
COGITO_API int32_t GetThingCount();
// Milliseconds the last LogicCompute took.
COGITO_API uint32_t GetFrameSpeed();
// The logic's frame counter.
COGITO_API uint32_t GetFrame();
// The price of a unit type (1-12); of type 0 for any other type.
COGITO_API int32_t GetUnitCost(int32_t type);
// The armour a unit of that type is given; 0 for the types that keep their
// own and for anything outside 1-12.
COGITO_API float GetUnitArmor(int32_t type);
// The health (consciousness) damage of a unit type's weapon at a level
// (0-3); a type outside 1-12 counts as type 0; 0 for a level outside 0-3.
COGITO_API float GetWeaponHealthDamage(int32_t type, int32_t level);
COGITO_API float GetWeaponConsDamage(int32_t type, int32_t level);
// The price of upgrading a type's weapon from one level to a higher one (the
// levels' prices from `from` + 1 to `to` summed); type 13 is the row of the
// special weapons, a type outside 1-13 counts as 0; 0 unless both levels lie
// in 0-3 and from < to.
COGITO_API int32_t GetWeaponCost(int32_t type, int32_t from, int32_t to);
COGITO_API int32_t GetBeerSlider();
// amount x 100, held within the 32-bit range.
COGITO_API int32_t GetDopeCost(int32_t amount);
// What refilling the ammunition of the unit of that id costs: for a leader
// 15 per round short of 6, for a yobbozer a third of its weapon's price per
// round short of 3; 0 for a full (or overfull) unit, any other thing, a
// yobbozer's weapon level outside 1-3, and an id that names no unit. Never
// negative, and held within the 32-bit range.
COGITO_API int32_t AmmoCost(int32_t id);
// Connects a barricade or a fence (by id) to a border of the navigation map.
COGITO_API void ConnectBorderToBaricade(int32_t id, int32_t border);
// Sets a parameter (0-35) of a player; then a value of 1 makes that player
// the winner and 0 the loser, whatever the parameter. A parameter outside
// 0-35 is refused with a log line; a missing player changes nothing.
COGITO_API void CheetPlayerParam(int32_t player, ParamEnum parameter, int32_t value);
// The player's parameter; 0 without such a player.
COGITO_API int32_t GetPlayerParam(int32_t player, ParamEnum parameter);
COGITO_API int32_t GetPlayerCount();
// The library's technology level.
COGITO_API int32_t GetTechLevel();

}  // extern "C"

// The ammunition price of the game program's shop screen: 666. Exported with
// C++ linkage, as the order builders are: C linkage would give it the same
// symbol as the per-unit form above.
COGITO_API int32_t AmmoCost();
