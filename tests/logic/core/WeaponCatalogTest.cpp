#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/LumoClass.h"
#include "logic/core/WeaponCatalog.h"

namespace {

std::string NameOf(const YLWeapon* weapon) {
  if (weapon == nullptr) {
    return "(none)";
  }
  return weapon->GetName() != nullptr ? weapon->GetName() : "(unnamed)";
}

TEST(WeaponCatalog, GetWeaponMapsWeaponIndicesToWeapons) {
  WeaponCatalog catalog;
  const struct {
    int32_t index;
    const char* name;
  } cases[] = {
      {-1, "(none)"},      {0, "(none)"},         {1, "KickRatje"},   {12, "KickYobb"},  {13, "HitDef"},
      {14, "HitRat"},      {20, "HitBiker"},      {25, "HitYobb"},    {26, "Rat1"},      {31, "Riot1"},
      {37, "FireWork"},    {49, "Molotov"},       {45, "Skin2"},      {57, "Suit3"},     {46, "Rozav"},
      {58, "Rozav3"},      {61, "Grenade"},       {62, "(none)"},     {63, "Gun"},       {64, "Brick"},
      {65, "(none)"},      {66, "the BOMB!!!"},   {67, "Riot1"},      {68, "(none)"},    {69, "SafeCracker"},
      {70, "(none)"},      {74, "(none)"},        {75, "(none)"},     {1000, "(none)"},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(NameOf(catalog.GetWeapon(entry.index)), entry.name) << entry.index;
  }
  EXPECT_FLOAT_EQ(catalog.GetWeapon(58)->GetHealthDamage(), 0.42f);
  EXPECT_EQ(catalog.GetWeapon(67), catalog.GetWeapon(31));
}

TEST(WeaponCatalog, GetWeaponIndexAnswersTheFirstPlaceFound) {
  WeaponCatalog catalog;
  const struct {
    int32_t slot;
    int32_t index;
  } cases[] = {
      {WeaponSlot::kFireWork, 37},   {WeaponSlot::kMolotov, 49}, {WeaponSlot::kGrenade, 61},
      {WeaponSlot::kTearGas, 31},    {WeaponSlot::kGun, 63},     {WeaponSlot::kBrick, 64},
      {WeaponSlot::kBomb, 66},       {WeaponSlot::kSafeCracker, 69}, {WeaponSlot::kExplosion, 0},
      {WeaponSlot::CloseCombat(0), 0}, {WeaponSlot::CloseCombat(5), 5},
      {WeaponSlot::OfLevel(0, 0), 13}, {WeaponSlot::OfLevel(9, 3), 58},
      {WeaponSlot::OfLevel(10, 1), 35},
      // Unit type 0 has no index of its own above level 0; the formula
      // answers what the catalogue has always answered.
      {WeaponSlot::OfLevel(0, 1), 25},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(catalog.GetWeaponIndex(catalog.GetSlot(entry.slot)), entry.index) << entry.slot;
  }
  EXPECT_EQ(catalog.GetWeaponIndex(nullptr), 0);
  YLWeapon stranger;
  EXPECT_EQ(catalog.GetWeaponIndex(&stranger), 0);
}

// Every index leads back to itself, but the tear gas, which stands in two
// places, answers its first one.
TEST(WeaponCatalog, EveryWeaponIndexLeadsBackToItsWeapon) {
  WeaponCatalog catalog;
  for (int32_t index = 0; index < 100; ++index) {
    const YLWeapon* weapon = catalog.GetWeapon(index);
    if (weapon == nullptr) {
      continue;
    }
    const int32_t answer = catalog.GetWeaponIndex(weapon);
    EXPECT_EQ(catalog.GetWeapon(answer), weapon) << NameOf(weapon);
    EXPECT_EQ(answer, index == WeaponIndex::kTearGas ? 31 : index) << NameOf(weapon);
  }
}

TEST(WeaponCatalog, FourRecordsStandInTwoSlotsAndTheRestInOne) {
  WeaponCatalog catalog;
  std::set<const YLWeapon*> distinct;
  int32_t filled = 0;
  for (int32_t slot = 0; slot < WeaponSlot::kCount; ++slot) {
    if (catalog.GetSlot(slot) != nullptr) {
      ++filled;
      distinct.insert(catalog.GetSlot(slot));
    }
  }
  EXPECT_EQ(catalog.GetSlot(WeaponSlot::kEmpty), nullptr);
  EXPECT_EQ(filled, 74);
  EXPECT_EQ(distinct.size(), 70u);
  EXPECT_EQ(catalog.GetUnitWeapon(6, 1), catalog.GetSlot(WeaponSlot::kTearGas));
  EXPECT_EQ(catalog.GetUnitWeapon(12, 1), catalog.GetSlot(WeaponSlot::kFireWork));
  EXPECT_EQ(catalog.GetUnitWeapon(12, 2), catalog.GetSlot(WeaponSlot::kMolotov));
  EXPECT_EQ(catalog.GetUnitWeapon(12, 3), catalog.GetSlot(WeaponSlot::kGrenade));
  EXPECT_EQ(catalog.GetUnitWeapon(13, 0), nullptr);
  EXPECT_EQ(catalog.GetUnitWeapon(1, 4), nullptr);
  EXPECT_EQ(catalog.GetSlot(-1), nullptr);
  EXPECT_EQ(catalog.GetSlot(75), nullptr);
}

TEST(WeaponCatalog, WeaponsCarryTheirValues) {
  WeaponCatalog catalog;
  struct Expected {
    const YLWeapon* weapon;
    const char* name;
    float health, cons;
    int32_t execution, impact;
    float splat;
    int32_t range;
    bool ammo;
    int32_t price, projectile, splatType;
  };
  const Expected cases[] = {
      {catalog.GetSlot(0), "KickDef", 0.1f, 0.2f, 2, 0, 0.0f, 1, false, 0, 0, 0},
      {catalog.GetSlot(WeaponSlot::kBomb), "the BOMB!!!", 5.0f, 5.0f, 3, 200, 20.0f, 0, true, 5000, 7, 6},
      {catalog.GetSlot(WeaponSlot::kBrick), "Brick", 0.18f, 0.4f, 7, 8, 0.0f, 15, false, 0, 1, 0},
      {catalog.GetSlot(WeaponSlot::kFireWork), "FireWork", 0.6f, 1.5f, 8, 8, 3.0f, 15, true, 250, 5, 3},
      {catalog.GetSlot(WeaponSlot::kMolotov), "Molotov", 1.0f, 1.0f, 8, 8, 4.0f, 15, true, 750, 2, 4},
      {catalog.GetSlot(WeaponSlot::kGrenade), "Grenade", 1.5f, 2.0f, 8, 8, 3.0f, 15, true, 1500, 4, 5},
      {catalog.GetSlot(WeaponSlot::kGun), "Gun", 1.3f, 0.0f, 0, 0, 0.0f, 15, true, 850, 3, 0},
      {catalog.GetSlot(WeaponSlot::kSafeCracker), "SafeCracker", 0.0f, 0.0f, 18, 60, 0.0f, 0, true, 10000, 0, 8},
      {catalog.GetSlot(WeaponSlot::kTearGas), "Riot1", 0.0f, 0.0f, 7, 8, 5.0f, 15, false, 0, 8, 1},
      {catalog.GetSlot(WeaponSlot::kExplosion), "(unnamed)", 1.5f, 0.5f, 0, 0, 7.0f, 1, false, 0, 0, 9},
      {catalog.GetUnitWeapon(0, 3), "Def3", 0.0f, 0.01f, 2, 0, 0.0f, 1, false, 40, 0, 0},
      {catalog.GetUnitWeapon(7, 2), "Biker2", 0.25f, 0.45f, 2, 0, 0.0f, 1, false, 100, 0, 0},
      {catalog.GetUnitWeapon(6, 3), "Riot3", 0.05f, 0.33f, 2, 0, 0.0f, 1, false, 0, 0, 0},
      {catalog.GetUnitWeapon(10, 0), "HitLeader", 0.08f, 0.2f, 2, 0, 0.0f, 1, false, 0, 0, 0},
      {catalog.GetUnitWeapon(10, 3), "Leader3", 4.0f, 0.0f, 0, 0, 0.0f, 15, true, 1500, 3, 0},
      {catalog.GetUnitWeapon(11, 2), "Chick2", 0.02f, 0.01f, 2, 0, 0.0f, 1, false, 0, 0, 0},
      {catalog.GetUnitWeapon(5, 0), "HitPolice", 0.05f, 0.3f, 2, 0, 0.0f, 1, false, 0, 0, 0},
  };
  for (const Expected& entry : cases) {
    ASSERT_NE(entry.weapon, nullptr) << entry.name;
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(NameOf(entry.weapon), entry.name);
    EXPECT_FLOAT_EQ(entry.weapon->GetHealthDamage(), entry.health);
    EXPECT_FLOAT_EQ(entry.weapon->GetConsDamage(), entry.cons);
    EXPECT_FLOAT_EQ(entry.weapon->GetTotalDamage(), entry.health + entry.cons);
    EXPECT_EQ(entry.weapon->GetExecutionTime(), entry.execution);
    EXPECT_EQ(entry.weapon->GetImpactTime(), entry.impact);
    EXPECT_FLOAT_EQ(entry.weapon->GetSplatRange(), entry.splat);
    EXPECT_EQ(entry.weapon->GetAttackRange(), entry.range);
    EXPECT_EQ(entry.weapon->UsesAmmo(), entry.ammo);
    EXPECT_EQ(entry.weapon->GetPrice(), entry.price);
    EXPECT_EQ(entry.weapon->GetProjectileType(), entry.projectile);
    EXPECT_EQ(entry.weapon->GetSplatType(), entry.splatType);
  }
}

TEST(WeaponCatalog, InAttackRangeIncludesTheRangeItself) {
  YLWeapon weapon(0.0f, 0.0f, 0, 0, 0.0f, 15, false, 0, 0, 0);
  EXPECT_TRUE(weapon.InAttackRange(-1));
  EXPECT_TRUE(weapon.InAttackRange(15));
  EXPECT_FALSE(weapon.InAttackRange(16));
}

TEST(WeaponCatalog, WeaponRegistersSplatRangeAsAnInteger) {
  const LumoClass* record = FindClass("YLWeapon");
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->baseName, "LumoObject");
  EXPECT_EQ(record->version, kVersion_1_6_0_6);
  std::vector<std::string> names;
  for (const LumoProperty* property = record->firstProperty; property != nullptr; property = property->next) {
    names.push_back(std::string(property->fieldName) + ":" + property->typeName);
  }
  EXPECT_EQ(names, std::vector<std::string>({"HealthDamage:tSingle", "ConsDamage:tSingle", "SplatRange:tInteger",
                                             "ExecutionTime:tInteger", "ImpactTime:tInteger",
                                             "AttackRange:tInteger", "Price:tInteger", "Ammo:tBool",
                                             "SplatType:tInteger", "ProjectileType:tInteger", "Name:tCharStr"}));
}

}  // namespace
