#include "logic/core/WeaponCatalog.h"

#include <string>
#include <utility>

namespace {

constexpr int32_t kCloseRange = 1;
constexpr int32_t kThrowRange = 15;
constexpr int32_t kHitTime = 2;  // ticks of a close-combat attack

// Kick names of the unit types and the words of their level weapons.
constexpr const char* kKickNames[WeaponSlot::kUnitTypes] = {
    "KickDef",  "KickRatje", "KickRaver", "KickSupp",   "KickSuit",  "KickPol",  "KickRiot",
    "KickBiker", "KickSkin", "KickRozav", "KickLeader", "KickChick", "KickYobb"};
constexpr const char* kTypeWords[WeaponSlot::kUnitTypes] = {
    "Def", "Rat", "Raver", "Supp", "Suit", "Police", "Riot", "Biker", "Skin", "Rozav", "Leader", "Chick", "Yobb"};

// A close-combat weapon of one unit type at one level: its damage and price.
struct LevelWeapon {
  float health;
  float cons;
  int32_t price;
};
constexpr LevelWeapon kLevelWeapons[WeaponSlot::kUnitTypes][WeaponSlot::kLevels] = {
    {{0.0f, 0.01f, 0}, {0.0f, 0.01f, 0}, {0.0f, 0.01f, 20}, {0.0f, 0.01f, 40}},
    {{0.025f, 0.01f, 0}, {0.1f, 0.1f, 25}, {0.15f, 0.35f, 50}, {0.2f, 0.4f, 100}},
    {{0.05f, 0.1f, 0}, {0.1f, 0.1f, 25}, {0.15f, 0.35f, 50}, {0.2f, 0.4f, 100}},
    {{0.03f, 0.01f, 0}, {0.1f, 0.1f, 0}, {0.15f, 0.35f, 0}, {0.2f, 0.4f, 0}},
    {{0.025f, 0.01f, 0}, {0.025f, 0.01f, 0}, {0.025f, 0.01f, 0}, {0.025f, 0.01f, 0}},
    {{0.05f, 0.3f, 0}, {0.05f, 0.3f, 0}, {0.05f, 0.3f, 0}, {0.05f, 0.3f, 0}},
    {{0.05f, 0.33f, 0}, {}, {0.05f, 0.33f, 0}, {0.05f, 0.33f, 0}},  // level 1: the tear gas
    {{0.07f, 0.17f, 0}, {0.15f, 0.3f, 50}, {0.25f, 0.45f, 100}, {0.3f, 0.5f, 150}},
    {{0.07f, 0.2f, 0}, {0.1f, 0.3f, 0}, {0.2f, 0.4f, 0}, {0.25f, 0.4f, 0}},
    {{0.1f, 0.3f, 0}, {0.2f, 0.4f, 50}, {0.3f, 0.5f, 100}, {0.42f, 0.7f, 150}},
    {{0.08f, 0.2f, 0}, {1.0f, 0.0f, 700}, {1.7f, 0.0f, 1000}, {4.0f, 0.0f, 1500}},  // levels 1-3: guns
    {{0.02f, 0.01f, 0}, {0.02f, 0.01f, 0}, {0.02f, 0.01f, 0}, {0.02f, 0.01f, 0}},
    {{0.06f, 0.13f, 0}, {}, {}, {}},  // levels 1-3: fireworks, molotovs, grenades
};

constexpr int32_t kUnitRiot = 6;
constexpr int32_t kUnitSkin = 8;
constexpr int32_t kUnitRozav = 9;
constexpr int32_t kUnitLeader = 10;
constexpr int32_t kUnitYobbozer = 12;
constexpr int32_t kGunProjectile = 3;

// The special weapons: slot, name (null: none) and values.
struct SpecialWeapon {
  int32_t slot;
  const char* name;
  float health, cons;
  int32_t execution, impact;
  float splat;
  int32_t range;
  bool ammo;
  int32_t price, projectile, splatType;
};
constexpr SpecialWeapon kSpecials[] = {
    {WeaponSlot::kBomb, "the BOMB!!!", 5.0f, 5.0f, 3, 200, 20.0f, 0, true, 5000, 7, 6},
    {WeaponSlot::kBrick, "Brick", 0.18f, 0.4f, 7, 8, 0.0f, 15, false, 0, 1, 0},
    {WeaponSlot::kFireWork, "FireWork", 0.6f, 1.5f, 8, 8, 3.0f, 15, true, 250, 5, 3},
    {WeaponSlot::kMolotov, "Molotov", 1.0f, 1.0f, 8, 8, 4.0f, 15, true, 750, 2, 4},
    {WeaponSlot::kGrenade, "Grenade", 1.5f, 2.0f, 8, 8, 3.0f, 15, true, 1500, 4, 5},
    {WeaponSlot::kGun, "Gun", 1.3f, 0.0f, 0, 0, 0.0f, 15, true, 850, 3, 0},
    {WeaponSlot::kSafeCracker, "SafeCracker", 0.0f, 0.0f, 18, 60, 0.0f, 0, true, 10000, 0, 8},
    {WeaponSlot::kTearGas, "Riot1", 0.0f, 0.0f, 7, 8, 5.0f, 15, false, 0, 8, 1},
    {WeaponSlot::kExplosion, nullptr, 1.5f, 0.5f, 0, 0, 7.0f, 1, false, 0, 0, 9},
};

// Level weapons that are special records: the same object in both slots.
struct SharedLevelWeapon {
  int32_t unitType;
  int32_t level;
  int32_t slot;
};
constexpr SharedLevelWeapon kSharedLevelWeapons[] = {
    {kUnitRiot, 1, WeaponSlot::kTearGas},
    {kUnitYobbozer, 1, WeaponSlot::kFireWork},
    {kUnitYobbozer, 2, WeaponSlot::kMolotov},
    {kUnitYobbozer, 3, WeaponSlot::kGrenade},
};

// The name of a level weapon: "Hit" and the type word at level 0, the type
// word and the level above. Two names stand as the game has always used them.
std::string LevelWeaponName(int32_t unitType, int32_t level) {
  if (unitType == kUnitSkin && level == 3) {
    return "Suit3";
  }
  if (unitType == kUnitRozav && level == 2) {
    return "Rozav";
  }
  if (level == 0) {
    return std::string("Hit") + kTypeWords[unitType];
  }
  return kTypeWords[unitType] + std::to_string(level);
}

}  // namespace

WeaponCatalog::WeaponCatalog() {
  AddCloseCombat();
  AddSpecials();
  AddLevels();
}

YLWeapon* WeaponCatalog::Add(WeaponOwner weapon, const char* name) {
  weapon->SetName(name);
  records.push_back(std::move(weapon));
  return records.back().get();
}

void WeaponCatalog::AddCloseCombat() {
  for (int32_t type = 0; type < WeaponSlot::kUnitTypes; ++type) {
    slots[WeaponSlot::CloseCombat(type)] =
        Add(WeaponOwner(new YLWeapon(0.1f, 0.2f, kHitTime, 0, 0.0f, kCloseRange, false, 0, 0, 0)),
            kKickNames[type]);
  }
}

void WeaponCatalog::AddSpecials() {
  for (const SpecialWeapon& special : kSpecials) {
    slots[special.slot] = Add(WeaponOwner(new YLWeapon(special.health, special.cons, special.execution,
                                                       special.impact, special.splat, special.range, special.ammo,
                                                       special.price, special.projectile, special.splatType)),
                              special.name);
  }
}

void WeaponCatalog::AddLevels() {
  for (const SharedLevelWeapon& shared : kSharedLevelWeapons) {
    slots[WeaponSlot::OfLevel(shared.unitType, shared.level)] = slots[shared.slot];
  }
  for (int32_t type = 0; type < WeaponSlot::kUnitTypes; ++type) {
    for (int32_t level = 0; level < WeaponSlot::kLevels; ++level) {
      const int32_t slot = WeaponSlot::OfLevel(type, level);
      if (slots[slot] != nullptr) {
        continue;
      }
      const LevelWeapon& values = kLevelWeapons[type][level];
      const bool gun = type == kUnitLeader && level > 0;
      WeaponOwner weapon(gun ? new YLWeapon(values.health, values.cons, 0, 0, 0.0f, kThrowRange, true,
                                            values.price, kGunProjectile, 0)
                             : new YLWeapon(values.health, values.cons, kHitTime, 0, 0.0f, kCloseRange, false,
                                            values.price, 0, 0));
      slots[slot] = Add(std::move(weapon), LevelWeaponName(type, level).c_str());
    }
  }
}

YLWeapon* WeaponCatalog::GetSlot(int32_t slot) const {
  return slot >= 0 && slot < WeaponSlot::kCount ? slots[slot] : nullptr;
}

YLWeapon* WeaponCatalog::GetUnitWeapon(int32_t unitType, int32_t level) const {
  if (unitType < 0 || unitType >= WeaponSlot::kUnitTypes || level < 0 || level >= WeaponSlot::kLevels) {
    return nullptr;
  }
  return slots[WeaponSlot::OfLevel(unitType, level)];
}

YLWeapon* WeaponCatalog::GetWeapon(int32_t index) const {
  if (index >= 1 && index < WeaponSlot::kUnitTypes) {
    return slots[WeaponSlot::CloseCombat(index)];
  }
  if (index == WeaponIndex::kHitDef) {
    return GetUnitWeapon(0, 0);
  }
  if (index >= WeaponIndex::kFirstLevel && index <= WeaponIndex::kLastLevel) {
    const int32_t offset = index - WeaponIndex::kFirstLevel;
    return GetUnitWeapon(offset % WeaponIndex::kLevelStride + 1, offset / WeaponIndex::kLevelStride);
  }
  switch (index) {
    case WeaponIndex::kGun:
      return slots[WeaponSlot::kGun];
    case WeaponIndex::kBrick:
      return slots[WeaponSlot::kBrick];
    case WeaponIndex::kBomb:
      return slots[WeaponSlot::kBomb];
    case WeaponIndex::kTearGas:
      return slots[WeaponSlot::kTearGas];
    case WeaponIndex::kSafeCracker:
      return slots[WeaponSlot::kSafeCracker];
    default:
      return nullptr;
  }
}

int32_t WeaponCatalog::GetWeaponIndex(const YLWeapon* weapon) const {
  if (weapon == nullptr) {
    return WeaponIndex::kNone;
  }
  // The order of the searches decides for a record that stands in two places.
  if (weapon == slots[WeaponSlot::kSafeCracker]) {
    return WeaponIndex::kSafeCracker;
  }
  if (weapon == slots[WeaponSlot::kBrick]) {
    return WeaponIndex::kBrick;
  }
  if (weapon == slots[WeaponSlot::kBomb]) {
    return WeaponIndex::kBomb;
  }
  for (int32_t type = 0; type < WeaponSlot::kUnitTypes; ++type) {
    if (weapon == slots[WeaponSlot::CloseCombat(type)]) {
      return type;
    }
  }
  for (int32_t type = 0; type < WeaponSlot::kUnitTypes; ++type) {
    for (int32_t level = 0; level < WeaponSlot::kLevels; ++level) {
      if (weapon == slots[WeaponSlot::OfLevel(type, level)]) {
        return WeaponIndex::OfLevel(type, level);
      }
    }
  }
  if (weapon == slots[WeaponSlot::kGun]) {
    return WeaponIndex::kGun;
  }
  if (weapon == slots[WeaponSlot::kTearGas]) {
    return WeaponIndex::kTearGas;
  }
  return WeaponIndex::kNone;
}

int32_t WeaponCatalog::FindSlot(const YLWeapon* weapon) const {
  if (weapon == nullptr) {
    return -1;
  }
  for (int32_t slot = 0; slot < WeaponSlot::kCount; ++slot) {
    if (slots[slot] == weapon) {
      return slot;
    }
  }
  return -1;
}

uint32_t WeaponCatalog::GetStoredNumber(const YLWeapon* weapon) const {
  const int32_t index = GetWeaponIndex(weapon);
  if (weapon == nullptr || GetWeapon(index) == weapon) {
    return static_cast<uint32_t>(index);
  }
  const int32_t slot = FindSlot(weapon);
  return slot >= 0 ? kStoredSlotBase + static_cast<uint32_t>(slot) : static_cast<uint32_t>(WeaponIndex::kNone);
}

YLWeapon* WeaponCatalog::GetStoredWeapon(uint32_t number) const {
  if (number >= kStoredSlotBase) {
    const uint32_t slot = number - kStoredSlotBase;
    return slot < static_cast<uint32_t>(WeaponSlot::kCount) ? GetSlot(static_cast<int32_t>(slot)) : nullptr;
  }
  return GetWeapon(static_cast<int32_t>(number));
}
