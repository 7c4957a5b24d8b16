#include "logic/core/LogicQueries.h"

#include <algorithm>
#include <limits>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"
#include "logic/world/YLUnit.h"

namespace {

constexpr int32_t kFirstUnitType = 1;
constexpr int32_t kLastUnitType = 12;
// The row of the special weapons in the price table.
constexpr int32_t kSpecialWeaponsRow = 13;
constexpr int32_t kLeaderType = 10;
constexpr int32_t kYobbozerType = 12;
constexpr int64_t kLeaderFullAmmo = 6;
constexpr int64_t kLeaderRoundPrice = 15;
constexpr int64_t kYobbozerFullAmmo = 3;
constexpr int32_t kYobbozerFirstLevel = 1;
constexpr int32_t kYobbozerLastLevel = 3;
// A yobbozer's weapon of level L stands in catalogue slot L + 61.
constexpr int32_t kYobbozerSlotBase = 61;
constexpr int32_t kDopePrice = 100;
constexpr int32_t kShopAmmoPrice = 666;

int32_t Saturated(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

bool IsLevel(int32_t level) { return level >= 0 && level < WeaponSlot::kLevels; }

// The unit handed out as an untyped pointer: only a unit that stands in the
// running logic's thing table under its own id counts. The table is
// searched for the pointer, so a stale or foreign pointer is never read.
YLUnit* KnownUnit(void* pointer) {
  const CLogic* logic = TheLogic();
  if (logic == nullptr || logic->Things == nullptr || pointer == nullptr) {
    return nullptr;
  }
  for (int32_t id = 1; id < logic->Things->count; ++id) {
    YLThing* thing = logic->GetThing(id);
    if (thing != nullptr && static_cast<void*>(thing) == pointer) {
      return thing->GetTid() == id ? UnitOf(thing) : nullptr;
    }
  }
  return nullptr;
}

const YLWeapon* WeaponOfLevel(int32_t type, int32_t level) {
  const CLogic* logic = TheLogic();
  if (logic == nullptr || logic->Weapons == nullptr || !IsLevel(level)) {
    return nullptr;
  }
  if (type < kFirstUnitType || type > kLastUnitType) {
    type = 0;
  }
  return logic->Weapons->GetSlot(WeaponSlot::OfLevel(type, level));
}

}  // namespace

void* DebugGetThing(int32_t id) {
  const CLogic* logic = TheLogic();
  if (logic == nullptr || logic->Things == nullptr || id < 1 || id >= logic->Things->count) {
    return nullptr;
  }
  return static_cast<void*>(logic->GetThing(id));
}

PsychicPlanItem* GetCurrMove(int32_t id) {
  const CLogic* logic = TheLogic();
  auto* unit = logic != nullptr ? UnitOf(logic->GetThing(id)) : nullptr;
  return unit != nullptr ? unit->CurrentMove.get() : nullptr;
}

PsychicPlanItem* DebugGetPlan(void* pointer) {
  YLUnit* unit = KnownUnit(pointer);
  return unit != nullptr ? unit->GetPlanLeaf() : nullptr;
}

PsychicPlanItem* DebugGetCurrMove(void* pointer) {
  YLUnit* unit = KnownUnit(pointer);
  return unit != nullptr ? unit->CurrentMove.get() : nullptr;
}

int32_t GetThingCount() {
  const CLogic* logic = TheLogic();
  return logic != nullptr ? logic->ThingCount : 0;
}

uint32_t GetFrameSpeed() { return GetLastComputeTime(); }

uint32_t GetFrame() {
  const CLogic* logic = TheLogic();
  return logic != nullptr ? logic->Time : 0;
}

int32_t GetUnitCost(int32_t type) {
  const CLogic* logic = TheLogic();
  if (logic == nullptr || logic->Config == nullptr) {
    return 0;
  }
  return logic->Config->GetUnitCost(type >= kFirstUnitType && type <= kLastUnitType ? type : 0);
}

float GetUnitArmor(int32_t type) {
  if (type < kFirstUnitType || type > kLastUnitType) {
    return 0.0f;
  }
  return std::max(YLUnit::GetTypeArmor(type), 0.0f);
}

float GetWeaponHealthDamage(int32_t type, int32_t level) {
  const YLWeapon* weapon = WeaponOfLevel(type, level);
  return weapon != nullptr ? weapon->GetHealthDamage() : 0.0f;
}

float GetWeaponConsDamage(int32_t type, int32_t level) {
  const YLWeapon* weapon = WeaponOfLevel(type, level);
  return weapon != nullptr ? weapon->GetConsDamage() : 0.0f;
}

int32_t GetWeaponCost(int32_t type, int32_t from, int32_t to) {
  const CLogic* logic = TheLogic();
  if (logic == nullptr || logic->Weapons == nullptr || !IsLevel(from) || !IsLevel(to) || from + 1 > to) {
    return 0;
  }
  if (type < kFirstUnitType || type > kSpecialWeaponsRow) {
    type = 0;
  }
  int64_t sum = 0;
  for (int32_t level = from + 1; level <= to; ++level) {
    if (const YLWeapon* weapon = logic->Weapons->GetSlot(WeaponSlot::OfLevel(type, level))) {
      sum += weapon->GetPrice();
    }
  }
  return Saturated(sum);
}

int32_t GetBeerSlider() {
  const CLogic* logic = TheLogic();
  return logic != nullptr && logic->Config != nullptr ? logic->Config->GetBeerSlider() : 0;
}

int32_t GetDopeCost(int32_t amount) { return Saturated(static_cast<int64_t>(amount) * kDopePrice); }

int32_t AmmoCost(int32_t id) {
  const CLogic* logic = TheLogic();
  const YLThing* thing = logic != nullptr && id >= 1 ? logic->GetThing(id) : nullptr;
  const auto* info = thing != nullptr ? dynamic_cast<const UnitInfo*>(thing->Info.get()) : nullptr;
  if (info == nullptr) {
    return 0;
  }
  int64_t cost = 0;
  if (info->Gfx == kLeaderType) {
    cost = (kLeaderFullAmmo - info->Ammo) * kLeaderRoundPrice;
  } else if (info->Gfx == kYobbozerType) {
    if (info->Weapon < kYobbozerFirstLevel || info->Weapon > kYobbozerLastLevel || info->Ammo >= kYobbozerFullAmmo ||
        logic->Weapons == nullptr) {
      return 0;
    }
    const YLWeapon* weapon = logic->Weapons->GetSlot(info->Weapon + kYobbozerSlotBase);
    const int64_t price = weapon != nullptr ? weapon->GetPrice() : 0;
    cost = price / 3 * (kYobbozerFullAmmo - info->Ammo);
  }
  return Saturated(std::max<int64_t>(cost, 0));
}

int32_t AmmoCost() { return kShopAmmoPrice; }

void ConnectBorderToBaricade(int32_t id, int32_t border) {
  if (CLogic* logic = TheLogic()) {
    logic->ConnectBorderToBaricade(id, border);
  }
}

void CheetPlayerParam(int32_t player, ParamEnum parameter, int32_t value) {
  CLogic* logic = TheLogic();
  if (logic == nullptr) {
    return;
  }
  if (parameter < 0 || parameter >= CPlayer::kParamCount) {
    DebugPrint("CheetPlayerParam: there is no parameter %d\n", parameter);
    return;
  }
  CPlayer* side = logic->GetPlayer(player);
  if (side == nullptr) {
    return;
  }
  side->SetParam(parameter, value);
  if (value == 1 || value == 0) {
    logic->EndGameForPlayer(player, value == 1, nullptr);
  }
}

int32_t GetPlayerParam(int32_t player, ParamEnum parameter) {
  const CLogic* logic = TheLogic();
  const CPlayer* side = logic != nullptr ? logic->GetPlayer(player) : nullptr;
  return side != nullptr ? side->GetParam(parameter) : 0;
}

int32_t GetPlayerCount() {
  const CLogic* logic = TheLogic();
  return logic != nullptr ? logic->GetPlayerCount() : 0;
}

int32_t GetTechLevel() { return CLogic::GetTechnologyLevel(); }
