// The weapon chain: a unit uses a weapon (UseWeapon), the planned attack
// fires it (FireWeapon) and the planned impact does what the weapon does
// where it lands (ApplyWeaponImpact). Also the kick inside a building and
// the highway traffic's stop.

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

#include "base/tCollection.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLHighwayTraffic.h"
#include "logic/core/YLPropagatorFire.h"
#include "logic/core/YLPropagatorTearGas.h"
#include "logic/triggers/LogicPlanHurtThing.h"
#include "logic/triggers/LogicPlanWeaponItems.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"

namespace {

// Projectile types: a gun's shot and a blow are not shown; the bomb is
// shown and goes off after its own fuse.
constexpr int32_t kProjectileNone = 0;
constexpr int32_t kProjectileShot = 3;
constexpr int32_t kProjectileBomb = 7;

// Splat types: what an impact does.
constexpr int32_t kSplatBlow = 0;
constexpr int32_t kSplatTearGas = 1;
constexpr int32_t kSplatFire = 2;
constexpr int32_t kSplatSafeCracker = 8;
constexpr int32_t kSplatLast = 9;

// The ambient highway cars: things whose type name begins with these
// letters are taken off when the traffic stops for good.
constexpr const char kAmbientHighwayCar[] = "AmbientA807";
constexpr float kAmbientCarEndDamage = 10.0f;
constexpr uint32_t kAmbientCarEndDelay = 200;

// How hard a kick must hit a building for it to give way.
constexpr float kKickDamage = 0.1f;

// The wreck counter of a building type 1-6 (homes, other buildings, pubs,
// dope houses, weapon shops, girls' shops).
constexpr ParamEnum kWreckCounters[] = {ParamHomesWrecked,      ParamOtherBuildingsWrecked, ParamPubsWrecked,
                                        ParamDopeHousesWrecked, ParamWeaponShopsWrecked,    ParamGirlsShopsWrecked};

// A frame count that may not be negative.
uint32_t Frames(int32_t frames) { return frames > 0 ? static_cast<uint32_t>(frames) : 0u; }

}  // namespace

CPlayer* CLogic::GetSide(int32_t owner) const { return owner != 0 ? GetPlayer(owner) : nullptr; }

void CLogic::GetFiringCell(const YLThing& thing, int32_t& x, int32_t& y) const {
  const YLUnit* unit = UnitOf(&thing);
  const YLThing* container = unit != nullptr ? unit->GetContainer() : nullptr;
  const YLThing& from = container != nullptr ? *container : thing;
  x = from.GetX();
  y = from.GetY();
}

bool CLogic::UseWeapon(YLUnit* unit, YLWeapon* weapon, int32_t x, int32_t y) {
  if (unit == nullptr || unit->Info == nullptr || weapon == nullptr) {
    return false;
  }
  // Measured from inside a container the unit's own record would put every
  // target out of reach: a suit in a bank could never work its safe.
  int32_t fromX = 0;
  int32_t fromY = 0;
  GetFiringCell(*unit, fromX, fromY);
  if (!weapon->InAttackRange(YLUnit::IntDistance(fromX, fromY, x, y))) {
    return false;
  }
  if (weapon->UsesAmmo() && !unit->UseAmmo()) {
    return false;
  }
  InsertPlan(new LogicPlanWeaponExecute(weapon, unit->GetTid(), x, y), Frames(weapon->GetExecutionTime()));
  return true;
}

void CLogic::FireWeapon(YLWeapon* weapon, int32_t attacker, int32_t x, int32_t y) {
  const YLThing* thing = GetThing(attacker);
  if (weapon == nullptr || thing == nullptr || thing->Info == nullptr) {
    return;
  }
  int32_t fromX = 0;
  int32_t fromY = 0;
  GetFiringCell(*thing, fromX, fromY);
  const int32_t projectile = weapon->GetProjectileType();
  uint32_t delay = Frames(weapon->GetImpactTime());
  if (projectile != kProjectileNone && projectile != kProjectileShot) {
    NotifyProjectile(fromX, fromY, x, y, projectile);
    if (projectile != kProjectileBomb) {
      // A thrown thing flies one cell per frame.
      delay = Frames(YLUnit::IntDistance(fromX, fromY, x, y));
    }
  }
  InsertPlan(new LogicPlanWeaponImpact(weapon, attacker, x, y, static_cast<int32_t>(Time)), delay);
}

void CLogic::ApplyWeaponImpact(YLWeapon* weapon, int32_t attacker, int32_t x, int32_t y) {
  YLThing* source = GetThing(attacker);
  if (weapon == nullptr || source == nullptr || source->Info == nullptr) {
    return;
  }
  const int32_t splat = weapon->GetSplatType();
  int32_t sourceX = 0;
  int32_t sourceY = 0;
  GetFiringCell(*source, sourceX, sourceY);
  const int32_t targetId = Map != nullptr ? Map->GetThingIDAt(x, y) : 0;

  if (splat == kSplatBlow) {
    if (GetThing(targetId) == nullptr) {
      return;
    }
    float factor = 1.0f;
    auto* unit = UnitOf(source);
    if (unit != nullptr && dynamic_cast<YLUnitLeader*>(source) == nullptr) {
      // An angry unit hits harder, and hitting calms it down.
      factor = unit->GetAngerFactor();
      unit->CalmDown();
    }
    HurtThing(targetId, weapon->GetHealthDamage() * factor, weapon->GetConsDamage() * factor, sourceX, sourceY,
              attacker);
    return;
  }

  if (splat == kSplatTearGas || splat == kSplatFire) {
    std::unique_ptr<YLAreaPropagator, tObjectDestroyer> area;
    if (splat == kSplatTearGas) {
      area.reset(new YLPropagatorTearGas);
    } else {
      area.reset(new YLPropagatorFire);
    }
    area->SetPosition(x, y);
    area->BuildArea(static_cast<int32_t>(weapon->GetSplatRange()));
    area->MarkArea(Map.get(), true);
    if (Propagators != nullptr && Propagators->Append(area.get())) {
      area.release();
    } else {
      area->MarkArea(Map.get(), false);
    }
    if (splat == kSplatTearGas) {
      NotifySplat(x, y, weapon->GetSplatRange(), splat);
    }
    return;
  }

  if (splat == kSplatSafeCracker) {
    auto* bank = dynamic_cast<YLTBank*>(GetThing(targetId));
    auto* suit = dynamic_cast<YLUnitSuit*>(source);
    if (bank != nullptr && suit != nullptr) {
      bank->Burgle(suit);
    }
    NotifySplat(x, y, weapon->GetSplatRange(), splat);
    return;
  }

  if (splat < 3 || splat > kSplatLast || splat == 7) {
    return;
  }
  // A blast: everything within the splat range is hit one frame per cell of
  // its distance later, the harder the nearer.
  const float range = weapon->GetSplatRange();
  tCollection<int32_t> hit;
  if (Map != nullptr) {
    Map->ThingsInBox(x, y, static_cast<int32_t>(range), 0, hit);
  }
  for (int32_t index = 0; index < hit.count; ++index) {
    const YLThing* thing = GetThing(hit[index]);
    if (thing == nullptr || thing->Info == nullptr) {
      continue;
    }
    const int32_t distance = YLUnit::IntDistance(thing->Info->X, thing->Info->Y, x, y);
    float ratio = 1.0f;
    if (range > 0.0f) {
      ratio = std::min(static_cast<float>(distance) / range, 1.0f);
    } else if (distance == 0) {
      ratio = 0.0f;
    }
    const float strength = 1.0f - ratio * ratio;
    InsertPlan(new LogicPlanHurtThing(hit[index], weapon->GetHealthDamage() * strength,
                                      weapon->GetConsDamage() * strength, sourceX, sourceY, attacker),
               Frames(distance));
  }
  NotifySplat(x, y, weapon->GetTotalDamage(), splat);
}

void CLogic::ApplyKick(YLUnit* unit, YLTBuilding* building) {
  if (unit == nullptr || building == nullptr || building->Info == nullptr) {
    return;
  }
  if (!building->TakeHeavyDamage(kKickDamage)) {
    return;
  }
  // The wrecking side loots the building (a shop shares its goods among
  // the units inside); a side without a player counts nothing and the
  // money stays where it is.
  CPlayer* side = GetSide(unit->GetOwner());
  if (side == nullptr) {
    return;
  }
  side->AddMoney(building->TakeMoney());
  const int32_t type = building->Info->BuildingType;
  if (type >= 1 && type <= static_cast<int32_t>(std::size(kWreckCounters))) {
    side->AddParam(kWreckCounters[type - 1], 1);
  }
}

void CLogic::StopHighwayTraffic(int32_t direction) {
  for (int32_t index = 0; Propagators != nullptr && index < Propagators->count; ++index) {
    if (auto* traffic = dynamic_cast<YLHighwayTraffic*>(Propagators->At(index))) {
      traffic->StopLane(direction);
    }
  }
  if (direction != 1) {
    return;
  }
  for (int32_t id = 1; Things != nullptr && id < Things->count; ++id) {
    const YLThing* thing = GetThing(id);
    const char* name = thing != nullptr && thing->Info != nullptr ? GetString(thing->Info->Gfx) : nullptr;
    if (name != nullptr && std::strncmp(name, kAmbientHighwayCar, sizeof kAmbientHighwayCar - 1) == 0) {
      InsertPlan(new LogicPlanHurtThing(id, kAmbientCarEndDamage, 0.0f, thing->Info->X, thing->Info->Y, id),
                 kAmbientCarEndDelay);
    }
  }
}
