// The fighting moves a unit performs: its weapon, a punch, a kick and a
// thrown brick. Each fires a weapon of the logic's catalogue at the unit's
// destination through CLogic::UseWeapon, whose answer is the move's; a
// thing that is no unit is refused.

#include "logic/core/CLogic.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/world/MoveInfoKinds.h"
#include "logic/world/Police.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"

namespace {

// A leader's or policeman's gun is drawn (set by the draw-gun move).
constexpr uint32_t kStatusGunDrawn = 1u << 19;
// The unit holds a brick (set when it picks one up).
constexpr uint32_t kStatusBrickInHand = 1u << 18;

// The unit type that indexes the weapon tables: the record's type, modulo
// the 13 unit types.
int32_t TableType(const YLUnit& unit) {
  const int32_t type = unit.Info != nullptr ? unit.Info->Gfx % WeaponSlot::kUnitTypes : 0;
  return type < 0 ? type + WeaponSlot::kUnitTypes : type;
}

const WeaponCatalog* Catalog(const CLogic* logic) { return logic != nullptr ? logic->Weapons.get() : nullptr; }

// Fires the weapon at the unit's destination; false without a weapon.
bool FireAtDestination(CLogic* logic, YLUnit* unit, YLWeapon* weapon) {
  if (logic == nullptr || weapon == nullptr) {
    return false;
  }
  int32_t x = 0;
  int32_t y = 0;
  unit->GetDestination(x, y);
  return logic->UseWeapon(unit, weapon, x, y);
}

}  // namespace

bool MoveInfoWeapon::Perform(YLThing* thing, CLogic* logic) {
  auto* unit = UnitOf(thing);
  if (unit == nullptr || unit->Info == nullptr) {
    return false;
  }
  // A suit in a bank cracks the safe instead.
  if (auto* suit = dynamic_cast<YLUnitSuit*>(unit); suit != nullptr && dynamic_cast<YLTBank*>(suit->GetContainer())) {
    int32_t x = 0;
    int32_t y = 0;
    suit->GetDestination(x, y);
    return suit->FireBankWeapon(logic, x, y);
  }
  if (dynamic_cast<YLUnitLeader*>(unit) != nullptr || dynamic_cast<Police*>(unit) != nullptr) {
    unit->Info->Status &= ~kStatusGunDrawn;
  }
  return FireAtDestination(logic, unit, unit->GetWeapon());
}

// A punch is the level-0 weapon of the unit's type (the catalogue's "Hit"
// weapons).
bool MoveInfoFist::Perform(YLThing* thing, CLogic* logic) {
  auto* unit = UnitOf(thing);
  const WeaponCatalog* catalog = Catalog(logic);
  if (unit == nullptr || catalog == nullptr) {
    return false;
  }
  return FireAtDestination(logic, unit, catalog->GetUnitWeapon(TableType(*unit), 0));
}

// Inside a building the unit kicks the building itself; outside it kicks
// with its type's close-combat weapon (the catalogue's "Kick" weapons).
bool MoveInfoKick::Perform(YLThing* thing, CLogic* logic) {
  auto* unit = UnitOf(thing);
  const WeaponCatalog* catalog = Catalog(logic);
  if (unit == nullptr || catalog == nullptr) {
    return false;
  }
  if (auto* building = dynamic_cast<YLTBuilding*>(unit->GetContainer())) {
    logic->ApplyKick(unit, building);
    return true;
  }
  return FireAtDestination(logic, unit, catalog->GetSlot(WeaponSlot::CloseCombat(TableType(*unit))));
}

// The brick leaves the unit's hand and flies at the destination.
bool MoveInfoThrow::Perform(YLThing* thing, CLogic* logic) {
  auto* unit = UnitOf(thing);
  const WeaponCatalog* catalog = Catalog(logic);
  if (unit == nullptr || unit->Info == nullptr || catalog == nullptr) {
    return false;
  }
  unit->Info->Status &= ~kStatusBrickInHand;
  return FireAtDestination(logic, unit, catalog->GetSlot(WeaponSlot::kBrick));
}
