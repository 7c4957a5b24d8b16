#include "logic/core/OrderBuilders.h"

#include "logic/core/OrderKinds.h"
#include "logic/core/OrderPayload.h"

namespace {

// Layout P6: player, flag A, flag B.
COrderPackage* Flags(int32_t kind, int32_t player, bool flagA, bool flagB) {
  return PayloadWriter(6).Int32(0, player).Flag(4, flagA).Flag(5, flagB).Package(kind);
}

// Layout P7: player, group, flag A, flag B.
COrderPackage* Group(int32_t kind, int32_t player, uint8_t group, bool flagA, bool flagB) {
  return PayloadWriter(7).Int32(0, player).Byte(4, group).Flag(5, flagA).Flag(6, flagB).Package(kind);
}

// Layout P8: player, shop or building.
COrderPackage* Building(int32_t kind, int32_t player, int32_t building) {
  return PayloadWriter(8).Int32(0, player).Int32(4, building).Package(kind);
}

// Layout P10: player, thing, flag A, flag B.
COrderPackage* Thing(int32_t kind, int32_t player, int32_t thing, bool flagA, bool flagB) {
  return PayloadWriter(10).Int32(0, player).Int32(4, thing).Flag(8, flagA).Flag(9, flagB).Package(kind);
}

// Layout P12: player, second and third value.
COrderPackage* Values(int32_t kind, int32_t player, int32_t second, int32_t third) {
  return PayloadWriter(12).Int32(0, player).Int32(4, second).Int32(8, third).Package(kind);
}

// Layout P14: player, x, y, flag A, flag B.
COrderPackage* Cell(int32_t kind, int32_t player, int32_t x, int32_t y, bool flagA, bool flagB) {
  return PayloadWriter(14).Int32(0, player).Int32(4, x).Int32(8, y).Flag(12, flagA).Flag(13, flagB).Package(kind);
}

}  // namespace

COrderPackage* GenerateCancelOrder(int32_t player, bool queue) { return Flags(OrderKind::kCancel, player, queue, false); }
COrderPackage* GenerateSelectionOrder(int32_t player, int32_t thing, bool add, bool select) {
  return Thing(OrderKind::kSelection, player, thing, add, select);
}
COrderPackage* GenerateGroupSelectionOrder(int32_t player, uint8_t group, bool add, bool select) {
  return Group(OrderKind::kGroupSelection, player, group, add, select);
}

// ---- Orders to a map cell ----

COrderPackage* GenerateGotoOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kGoto, player, x, y, queue, fast);
}
COrderPackage* GenerateBaricadeOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kBaricade, player, x, y, queue, fast);
}
COrderPackage* GenerateBombOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kBomb, player, x, y, queue, fast);
}
COrderPackage* GeneratePatrollOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kPatroll, player, x, y, queue, fast);
}
COrderPackage* GenerateCordonOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kCordon, player, x, y, queue, fast);
}
COrderPackage* GenerateChargeOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kCharge, player, x, y, queue, fast);
}
COrderPackage* GenerateTearGasOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kTearGas, player, x, y, queue, fast);
}
COrderPackage* GenerateArrestOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kArrest, player, x, y, queue, fast);
}
COrderPackage* GenerateThrowMolotovPlaceOrder(int32_t player, int32_t x, int32_t y, bool queue, bool fast) {
  return Cell(OrderKind::kPositionedMolotov, player, x, y, queue, fast);
}

// ---- Orders on a thing ----

COrderPackage* GenerateGotoThingOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kGotoThing, player, target, queue, fast);
}
COrderPackage* GenerateAttackOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kAttack, player, target, queue, fast);
}
COrderPackage* GenerateAttackShootOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kShoot, player, target, queue, fast);
}
COrderPackage* GenerateThrowBrickOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kThrow, player, target, queue, fast);
}
COrderPackage* GenerateThrowMolotovOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kMolotov, player, target, queue, fast);
}
COrderPackage* GenerateEnterOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kEnter, player, target, queue, fast);
}
COrderPackage* GenerateLootOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kLoot, player, target, queue, fast);
}
COrderPackage* GenerateLeaveOrder(int32_t player, int32_t container, bool queue, bool fast) {
  return Thing(OrderKind::kLeave, player, container, queue, fast);
}
COrderPackage* GenerateLeaveOrder(int32_t player, bool queue, bool fast) {
  return Thing(OrderKind::kLeave, player, 0, queue, fast);
}
COrderPackage* GenerateGetDopeOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kGetDope, player, target, queue, fast);
}
COrderPackage* GenerateBurgleOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kBurgle, player, target, queue, fast);
}
COrderPackage* GenerateFlirtOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kFlirt, player, target, queue, fast);
}
COrderPackage* GenerateHijackOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kHijack, player, target, queue, fast);
}
COrderPackage* GenerateInvestigateAlarmOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kInvestigate, player, target, queue, fast);
}
COrderPackage* GenerateInvestigateUnitOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kInvestigateUnit, player, target, queue, fast);
}
COrderPackage* GenerateAssistanceOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kAssistance, player, target, queue, fast);
}
COrderPackage* GenerateThrowTurretOrder(int32_t player, int32_t target, bool queue, bool fast) {
  return Thing(OrderKind::kTurret, player, target, queue, fast);
}
COrderPackage* GenerateAddToGroupOrder(int32_t player, int32_t leader) {
  return Thing(OrderKind::kAddToGroup, player, leader, false, false);
}

// ---- Orders without a place ----

COrderPackage* GenerateChantOrder(int32_t player, bool queue, bool fast) {
  return Flags(OrderKind::kChant, player, queue, fast);
}
COrderPackage* GenerateRaveOrder(int32_t player, bool queue, bool fast) {
  return Flags(OrderKind::kRave, player, queue, fast);
}
COrderPackage* GenerateSurrenderOrder(int32_t player) { return Flags(OrderKind::kRunAway, player, false, false); }

// ---- Buying and upgrading ----

COrderPackage* GenerateBuyOrder(int32_t player, int32_t building, int32_t unitType) {
  return Values(OrderKind::kBuyUnit, player, building, unitType);
}
COrderPackage* GenerateGiveBeerOrder(int32_t player, int32_t pub, int32_t value) {
  return Values(OrderKind::kGiveBeer, player, pub, value);
}
COrderPackage* GenerateBuyWhoreOrder(int32_t player, int32_t shop, int32_t unit) {
  return Values(OrderKind::kBuyWhore, player, shop, unit);
}
COrderPackage* GenerateBuySuitOrder(int32_t player, int32_t building) {
  return Building(OrderKind::kBuySuit, player, building);
}
COrderPackage* GenerateBuyDopeSelectionOrder(int32_t player, int32_t shop) {
  return Building(OrderKind::kBuyDopeSelection, player, shop);
}
// Layout P16: the amount (the fourth argument) goes before the leader.
COrderPackage* GenerateBuyDopeLeaderOrder(int32_t player, int32_t shop, int32_t leader, int32_t amount) {
  return PayloadWriter(16).Int32(0, player).Int32(4, shop).Int32(8, amount).Int32(12, leader).Package(
      OrderKind::kBuyDopeLeader);
}
COrderPackage* GenerateBuyPleasureSelectionOrder(int32_t player, int32_t shop) {
  return Building(OrderKind::kBuyPleasureSelection, player, shop);
}
COrderPackage* GenerateBuyPleasureUnitOrder(int32_t player, int32_t shop, int32_t unit) {
  return Values(OrderKind::kBuyPleasureUnit, player, shop, unit);
}
COrderPackage* GenerateUpgradeSelectionOrder(int32_t player, int32_t shop) {
  return Building(OrderKind::kUpgradeSelection, player, shop);
}
COrderPackage* GenerateUpgradeUnitOrder(int32_t player, int32_t shop, int32_t unit) {
  return Values(OrderKind::kUpgradeUnit, player, shop, unit);
}
COrderPackage* GenerateBuyAmmoUnitOrder(int32_t player, int32_t shop, int32_t unit) {
  return Values(OrderKind::kBuyAmmo, player, shop, unit);
}
