#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/LumoObject.h"
#include "logic/core/YLWeapon.h"

// Two numberings of the weapons live side by side and must not be mixed:
//  - a catalogue slot (WeaponSlot) is a weapon's place in the catalogue's
//    75 slots: 0-12 the close-combat weapons of the unit types, then four
//    levels per unit type, then the special weapons;
//  - a weapon index (WeaponIndex) is the number orders, plan items and the
//    game program use: GetWeapon takes it and GetWeaponIndex answers it.
// A unit's own weapon is its unit type and its weapon level (0-3), which
// WeaponCatalog::GetUnitWeapon turns into the weapon.
namespace WeaponSlot {
constexpr int32_t kCount = 75;
constexpr int32_t kUnitTypes = 13;  // unit types 0-12
constexpr int32_t kLevels = 4;      // weapon levels 0-3
constexpr int32_t kFirstLevel = 13;
constexpr int32_t kBomb = 65;
constexpr int32_t kBrick = 66;
constexpr int32_t kFireWork = 67;
constexpr int32_t kMolotov = 68;
constexpr int32_t kGrenade = 69;
constexpr int32_t kEmpty = 70;  // never filled
constexpr int32_t kGun = 71;
constexpr int32_t kSafeCracker = 72;
constexpr int32_t kTearGas = 73;
// The explosion of a thing that explodes when destroyed; the damage path
// takes it by slot, it has no weapon index.
constexpr int32_t kExplosion = 74;

// The close-combat weapon of a unit type (0-12).
constexpr int32_t CloseCombat(int32_t unitType) { return unitType; }
// The weapon of a unit type (0-12) at a level (0-3).
constexpr int32_t OfLevel(int32_t unitType, int32_t level) { return kFirstLevel + kLevels * unitType + level; }
}  // namespace WeaponSlot

namespace WeaponIndex {
constexpr int32_t kNone = 0;
constexpr int32_t kHitDef = 13;  // the level-0 weapon of unit type 0
constexpr int32_t kFirstLevel = 14;
constexpr int32_t kLastLevel = 61;
constexpr int32_t kGun = 63;
constexpr int32_t kBrick = 64;
constexpr int32_t kBomb = 66;
constexpr int32_t kTearGas = 67;
constexpr int32_t kSafeCracker = 69;
constexpr int32_t kLevelStride = 12;  // unit types 1-12 per level

// The index of the weapon of a unit type at a level: 13 + type + 12 x level.
// Unit types 1-12 fill 14-61; type 0 has an index (13) only at level 0.
constexpr int32_t OfLevel(int32_t unitType, int32_t level) { return kHitDef + unitType + kLevelStride * level; }
}  // namespace WeaponIndex

// The weapon catalogue: every unit type's weapons and the special weapons,
// built from constants. Four records (tear gas, fireworks, molotovs and
// grenades) stand in two slots each; the catalogue owns every record once.
class WeaponCatalog {
 public:
  WeaponCatalog();
  WeaponCatalog(const WeaponCatalog&) = delete;
  WeaponCatalog& operator=(const WeaponCatalog&) = delete;

  // The weapon of a weapon index; null for an index that names none.
  YLWeapon* GetWeapon(int32_t index) const;
  // The weapon index of a weapon (the first place found for one that stands
  // in two); 0 for null or a weapon without an index.
  int32_t GetWeaponIndex(const YLWeapon* weapon) const;
  // The weapon in a catalogue slot; null outside 0-74 and for the empty slot.
  YLWeapon* GetSlot(int32_t slot) const;
  // A unit's weapon: its unit type (0-12) at its weapon level (0-3); null
  // outside those ranges.
  YLWeapon* GetUnitWeapon(int32_t unitType, int32_t level) const;
  // The first catalogue slot that holds the weapon; -1 for null or a weapon
  // of no slot.
  int32_t FindSlot(const YLWeapon* weapon) const;

  // ---- The number a planned weapon is stored as ----
  // Planned weapon items store their weapon as its weapon index. Some
  // records have no index that leads back to them (the type-0 kick and
  // weapons, the explosion), and their index would reload as no weapon or
  // as another record; such a weapon is stored as kStoredSlotBase plus its
  // slot instead, which no weapon index reaches.
  static constexpr uint32_t kStoredSlotBase = 1000;
  // The weapon index when GetWeapon of it answers the weapon, else
  // kStoredSlotBase + its slot; 0 for null.
  uint32_t GetStoredNumber(const YLWeapon* weapon) const;
  // The weapon a stored number names; null for a number that names none.
  YLWeapon* GetStoredWeapon(uint32_t number) const;

 private:
  using WeaponOwner = std::unique_ptr<YLWeapon, tObjectDestroyer>;
  // Takes ownership of a new record and names it.
  YLWeapon* Add(WeaponOwner weapon, const char* name);
  void AddCloseCombat();
  void AddSpecials();
  void AddLevels();

  std::vector<WeaponOwner> records;
  YLWeapon* slots[WeaponSlot::kCount] = {};
};
