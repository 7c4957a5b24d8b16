#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "logic/core/COrderPackage.h"

// The order builders: each makes a new package of its kind (the caller owns
// it and frees it with DeleteOrderPackage). The player id comes first. For
// unit orders, queue adds the order behind the units' current orders and fast
// makes them run; for the selection orders the two flags are add and select.

COGITO_API COrderPackage* GenerateCancelOrder(int32_t player, bool queue);
COGITO_API COrderPackage* GenerateSelectionOrder(int32_t player, int32_t thing, bool add, bool select);
COGITO_API COrderPackage* GenerateGroupSelectionOrder(int32_t player, uint8_t group, bool add, bool select);

// ---- Orders to a map cell ----
COGITO_API COrderPackage* GenerateGotoOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast);
COGITO_API COrderPackage* GenerateBaricadeOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast);
COGITO_API COrderPackage* GenerateBombOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast);
COGITO_API COrderPackage* GeneratePatrollOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast);
COGITO_API COrderPackage* GenerateCordonOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast);
COGITO_API COrderPackage* GenerateChargeOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast);
COGITO_API COrderPackage* GenerateTearGasOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast);
COGITO_API COrderPackage* GenerateArrestOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast);
COGITO_API COrderPackage* GenerateThrowMolotovPlaceOrder(int32_t player, int32_t x, int32_t y, bool queue,
                                                         bool fast);

// ---- Orders on a thing ----
COGITO_API COrderPackage* GenerateGotoThingOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateAttackOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateAttackShootOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateThrowBrickOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateThrowMolotovOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateEnterOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateLootOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateLeaveOrder(int32_t player, int32_t container, bool queue, bool fast);
// Leaves whatever container the units are in (container 0).
COGITO_API COrderPackage* GenerateLeaveOrder(int32_t player, bool queue, bool fast);
COGITO_API COrderPackage* GenerateGetDopeOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateBurgleOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateFlirtOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateHijackOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateInvestigateAlarmOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateInvestigateUnitOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateAssistanceOrder(int32_t player, int32_t target, bool queue, bool fast);
COGITO_API COrderPackage* GenerateThrowTurretOrder(int32_t player, int32_t target, bool queue, bool fast);
// Puts the selected units into the leader's group (both flags 0).
COGITO_API COrderPackage* GenerateAddToGroupOrder(int32_t player, int32_t leader);

// ---- Orders without a place ----
COGITO_API COrderPackage* GenerateChantOrder(int32_t player, bool queue, bool fast);
COGITO_API COrderPackage* GenerateRaveOrder(int32_t player, bool queue, bool fast);
// The player's side gives up: every unit runs off the map (both flags 0).
COGITO_API COrderPackage* GenerateSurrenderOrder(int32_t player);

// ---- Buying and upgrading ----
// unitType is the pub's unit type; unit in the girls' order is the girl's
// kind; the other units and the leader are thing ids.
COGITO_API COrderPackage* GenerateBuyOrder(int32_t player, int32_t building, int32_t unitType);
COGITO_API COrderPackage* GenerateGiveBeerOrder(int32_t player, int32_t pub, int32_t value);
COGITO_API COrderPackage* GenerateBuyWhoreOrder(int32_t player, int32_t shop, int32_t unit);
COGITO_API COrderPackage* GenerateBuySuitOrder(int32_t player, int32_t building);
COGITO_API COrderPackage* GenerateBuyDopeSelectionOrder(int32_t player, int32_t shop);
COGITO_API COrderPackage* GenerateBuyDopeLeaderOrder(int32_t player, int32_t shop, int32_t leader, int32_t amount);
COGITO_API COrderPackage* GenerateBuyPleasureSelectionOrder(int32_t player, int32_t shop);
COGITO_API COrderPackage* GenerateBuyPleasureUnitOrder(int32_t player, int32_t shop, int32_t unit);
COGITO_API COrderPackage* GenerateUpgradeSelectionOrder(int32_t player, int32_t shop);
COGITO_API COrderPackage* GenerateUpgradeUnitOrder(int32_t player, int32_t shop, int32_t unit);
COGITO_API COrderPackage* GenerateBuyAmmoUnitOrder(int32_t player, int32_t shop, int32_t unit);
