#include "logic/world/YLTShop.h"

#include <cstdio>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "base/LumoStream.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/RecordFields.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

LumoClassOf<YLTDopeHouse> classOfYLTDopeHouse(kVersion_1_6_0_6, "YLTDopeHouse", "YLTBuilding");
LumoClassOf<YLTSexShop> classOfYLTSexShop(kVersion_1_6_0_6, "YLTSexShop", "YLTBuilding");
LumoClassOf<YLTSuitHangout> classOfYLTSuitHangout(kVersion_1_6_0_6, "YLTSuitHangout", "YLTBuilding");
LOGIC_FIELD_PROPERTY(YLTSuitHangout, Suit, PropertyInteger, "tInteger");
LumoClassOf<YLTWeaponShop> classOfYLTWeaponShop(kVersion_1_6_0_6, "YLTWeaponShop", "YLTBuilding");
LOGIC_FIELD_PROPERTY(YLTWeaponShop, tech, PropertyPointer, "tPointer");

constexpr const char* kTechMarker = "tech:";
constexpr int32_t kLeaderType = 10;
constexpr int32_t kChickType = 11;
constexpr int32_t kYobbozerType = 12;
// A looted dope house: doses for a fan, dope units for a leader.
constexpr int32_t kLootDoses = 2;
constexpr int32_t kLootLeaderDope = 20;
constexpr int32_t kLootRounds = 3;
// A leader holds at most this much dope, which also keeps a sale's price
// in range.
constexpr int32_t kMaxDopeSale = 99;

int32_t TypeOf(const YLUnit& unit) { return unit.Info != nullptr ? unit.Info->Gfx : 0; }

const UnitInfo* RecordOf(const YLUnit& unit) { return dynamic_cast<const UnitInfo*>(unit.Info.get()); }

YLUnitHardCore* HardCore(YLUnit* unit) { return dynamic_cast<YLUnitHardCore*>(unit); }

const WeaponCatalog* Catalog() {
  const CLogic* logic = YLThing::GetLogic();
  return logic != nullptr ? logic->Weapons.get() : nullptr;
}

}  // namespace

// ---- Shared by the shops ----

bool YLTShop::CanEnter(YLUnit* unit) const {
  if (unit != nullptr && GetState() == kStateNormal && GetOwner() == 0) {
    return !IsFull();
  }
  return BuildingCanEnter(unit);
}

bool YLTShop::Holds(const YLUnit* unit) const { return unit != nullptr && unit->GetContainer() == this; }

bool YLTShop::Charge(CPlayer* player, int64_t price) {
  if (player == nullptr || price < 0 || price > player->GetMoney()) {
    return false;
  }
  player->AddMoney(static_cast<int32_t>(-price));
  AddMoney(static_cast<int32_t>(price / 4));
  return true;
}

// ---- Dope house ----

YLTDopeHouse::YLTDopeHouse() = default;
const char* YLTDopeHouse::GetClassName() const { return "YLTDopeHouse"; }
void YLTDopeHouse::GetDebugText(tString& text) const { text = "dopehouse\n"; }

void YLTDopeHouse::SellDopeToSelection(YLUnit* unit, CPlayer* player) {
  YLUnitHardCore* fan = HardCore(unit);
  if (fan == nullptr || !fan->IsSelectable() || !Holds(fan) || !Charge(player, kDosePrice)) {
    return;
  }
  fan->TakeDope(1);
}

void YLTDopeHouse::SellDopeToLeader(YLUnitLeader* leader, int32_t amount, CPlayer* player) {
  if (leader == nullptr || !Holds(leader)) {
    return;
  }
  if (amount < 1 || amount > kMaxDopeSale) {
    DebugPrint("YLTDopeHouse::SellDopeToLeader: dope house %d refuses %d doses\n", GetTid(), amount);
    return;
  }
  if (Charge(player, int64_t{amount} * kDosePrice)) {
    leader->AddDopeUnits(amount);
  }
}

int32_t YLTDopeHouse::TakeMoney() {
  for (int32_t index = 0; index < GetContainedCount(); ++index) {
    YLUnit* unit = GetContainedThing(index);
    if (unit == nullptr || !unit->IsSelectable()) {
      continue;
    }
    if (auto* leader = dynamic_cast<YLUnitLeader*>(unit)) {
      leader->AddDopeUnits(kLootLeaderDope);
    } else if (YLUnitHardCore* fan = HardCore(unit)) {
      fan->TakeDope(kLootDoses);
    }
  }
  return YLTBuilding::TakeMoney();
}

// ---- Sex shop ----

YLTSexShop::YLTSexShop() = default;
const char* YLTSexShop::GetClassName() const { return "YLTSexShop"; }

void YLTSexShop::GetDebugText(tString& text) const {
  const BuildingInfo* info = GetBuildingInfo();
  char line[48];
  std::snprintf(line, sizeof(line), "sexshop: %d whores\n", info != nullptr ? static_cast<int>(info->SuitChick) : 0);
  text = line;
}

int32_t YLTSexShop::WhorePrice(int32_t kind) { return kind == 0 ? 200 : kind == 1 ? 500 : 1000; }

void YLTSexShop::SellWhore(int32_t kind, CPlayer* player) {
  BuildingInfo* info = GetBuildingInfo();
  if (player == nullptr || info == nullptr) {
    return;
  }
  if (kind < 0 || kind > 2) {
    DebugPrint("YLTSexShop::SellWhore: sex shop %d has no girl of kind %d\n", GetTid(), kind);
    return;
  }
  const int64_t price = WhorePrice(kind);
  if (price > player->GetMoney() || IsFull() || info->SuitChick <= 0) {
    return;
  }
  CLogic* logic = GetLogic();
  auto* chick = logic != nullptr ? dynamic_cast<YLUnitChick*>(logic->CreateUnit(kChickType, player->ID, this)) : nullptr;
  if (chick == nullptr) {
    return;
  }
  chick->SetGrade(kind);
  --info->SuitChick;
  Charge(player, price);
}

void YLTSexShop::SellPleasure(YLUnit* unit, CPlayer* player) {
  YLUnitHardCore* fan = HardCore(unit);
  if (fan == nullptr || !fan->IsSelectable() || !Holds(fan) || player == nullptr ||
      player->GetMoney() < kPleasurePrice) {
    return;
  }
  // The shop's share of 25 is 6, a quarter rounded down.
  Charge(player, kPleasurePrice);
  fan->VisitSexShop();
}

int32_t YLTSexShop::TakeMoney() {
  for (int32_t index = 0; index < GetContainedCount(); ++index) {
    YLUnit* unit = GetContainedThing(index);
    if (unit != nullptr && unit->IsSelectable()) {
      if (YLUnitHardCore* fan = HardCore(unit)) {
        fan->VisitSexShop();
      }
    }
  }
  return YLTBuilding::TakeMoney();
}

// ---- Suit hangout ----

YLTSuitHangout::YLTSuitHangout() = default;
const char* YLTSuitHangout::GetClassName() const { return "YLTSuitHangout"; }
bool YLTSuitHangout::PlaceKindC() const { return false; }
bool YLTSuitHangout::CanEnter(YLUnit*) const { return true; }

void YLTSuitHangout::GetDebugText(tString& text) const {
  const BuildingInfo* info = GetBuildingInfo();
  char line[48];
  std::snprintf(line, sizeof(line), "suithangout: %d suits\n", info != nullptr ? static_cast<int>(info->SuitChick) : 0);
  text = line;
}

void YLTSuitHangout::SellSuit(CPlayer* player) {
  BuildingInfo* info = GetBuildingInfo();
  CLogic* logic = GetLogic();
  if (player == nullptr || info == nullptr || logic == nullptr || player->GetMoney() < kSuitPrice) {
    return;
  }
  YLUnitSuit* suit = nullptr;
  for (int32_t index = 0; index < GetContainedCount() && suit == nullptr; ++index) {
    suit = dynamic_cast<YLUnitSuit*>(GetContainedThing(index));
  }
  if (suit != nullptr) {
    suit->SetOwner(player->ID);
    suit->Rearm(player->ID);
    suit->ExecutePlan(new PsychicPlanLeave(GetTid(), 0, kLeaveMotivation, false));
  } else {
    if (IsFull() || info->SuitChick <= 0) {
      return;
    }
    suit = dynamic_cast<YLUnitSuit*>(logic->CreateUnit(kSuitType, player->ID, this));
    if (suit == nullptr) {
      return;
    }
    --info->SuitChick;
    suit->Rearm(player->ID);
  }
  player->AddMoney(-kSuitPrice);
  AddMoney(kSuitPrice / 4);
}

LUMO_GENERIC_FIELD(YLTSuitHangout, Suit)

// ---- Weapon shop ----

YLTWeaponShop::YLTWeaponShop() = default;
const char* YLTWeaponShop::GetClassName() const { return "YLTWeaponShop"; }
void YLTWeaponShop::GetDebugText(tString& text) const { text = "weaponshop\n"; }

void YLTWeaponShop::SetTechnologyLevel(int32_t level) { tech = level < 0 ? 0 : level > kMaxTech ? kMaxTech : level; }

void YLTWeaponShop::Upgrade(YLUnit* unit, CPlayer* player) {
  const UnitInfo* record = unit != nullptr ? RecordOf(*unit) : nullptr;
  const WeaponCatalog* catalog = Catalog();
  if (record == nullptr || catalog == nullptr || player == nullptr || !Holds(unit) || TypeOf(*unit) == kChickType ||
      record->Weapon + 1 > tech) {
    return;
  }
  const int32_t level = record->Weapon + 1;
  // A unit type without weapons of its own (a civilian) has none to sell.
  const YLWeapon* weapon = catalog->GetUnitWeapon(TypeOf(*unit), level);
  if (weapon == nullptr || !Charge(player, weapon->GetPrice())) {
    return;
  }
  if (weapon->UsesAmmo() && record->Ammo < kUpgradeAmmo) {
    unit->SetAmmo(kUpgradeAmmo);
  }
  unit->SetWeaponGrade(level);
}

void YLTWeaponShop::SellAmmo(YLUnit* unit, CPlayer* player) {
  const UnitInfo* record = unit != nullptr ? RecordOf(*unit) : nullptr;
  if (record == nullptr || player == nullptr || !Holds(unit) || record->Weapon == 0) {
    return;
  }
  if (dynamic_cast<YLUnitLeader*>(unit) != nullptr) {
    const int64_t rounds = int64_t{kLeaderRounds} - record->Ammo;
    if (rounds > 0 && Charge(player, rounds * kLeaderRoundPrice)) {
      unit->SetAmmo(kLeaderRounds);
    }
    return;
  }
  if (TypeOf(*unit) != kYobbozerType) {
    return;
  }
  const int64_t rounds = int64_t{kYobbozerRounds} - record->Ammo;
  const WeaponCatalog* catalog = Catalog();
  // The rounds feed the weapon of the yobbozer's level, and are priced by
  // it.
  const YLWeapon* weapon = catalog != nullptr ? catalog->GetUnitWeapon(kYobbozerType, record->Weapon) : nullptr;
  if (rounds <= 0 || weapon == nullptr) {
    return;
  }
  if (Charge(player, int64_t{weapon->GetPrice() / 3} * rounds)) {
    unit->SetAmmo(kYobbozerRounds);
  }
}

int32_t YLTWeaponShop::TakeMoney() {
  for (int32_t index = 0; index < GetContainedCount(); ++index) {
    YLUnit* unit = GetContainedThing(index);
    if (unit == nullptr || !unit->IsSelectable() || TypeOf(*unit) == kChickType ||
        dynamic_cast<YLUnitSuit*>(unit) != nullptr) {
      continue;
    }
    unit->SetWeaponGrade(tech);
    if (dynamic_cast<YLUnitLeader*>(unit) != nullptr || TypeOf(*unit) == kYobbozerType) {
      unit->AddAmmo(kLootRounds);
    }
  }
  return YLTBuilding::TakeMoney();
}

bool YLTWeaponShop::Loadtech(LumoStream* stream, const LumoProperty*) {
  if (!ReadMarker(stream, kTechMarker)) {
    return true;
  }
  int32_t level = 0;
  if (!stream->ReadInteger(level)) {
    DebugPrint("YLTWeaponShop: cannot read the level behind \"%s\"\n", kTechMarker);
    return false;
  }
  SetTechnologyLevel(level);
  CLogic::SetTechnologyLevel(tech);
  return true;
}

bool YLTWeaponShop::Savetech(LumoStream* stream, const LumoProperty*) {
  return WriteMarker(stream, kTechMarker) && stream->WriteInteger(tech);
}
