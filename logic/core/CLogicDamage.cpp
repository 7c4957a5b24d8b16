// The damage path: a thing hurt by an attacker (HurtThing), with the sides'
// score keeping, and a moving vehicle meeting what stands in its way
// (RunOver).

#include <algorithm>
#include <vector>

#include "base/DebugFormat.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/triggers/LogicPlanGoreMsg.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"

namespace {

// Gore kinds: a bleeding unit, a damaged container.
constexpr int32_t kGoreUnit = 1;
constexpr int32_t kGoreContainer = 2;
// A unit's gore is its damage times this, at most kMaxUnitGore.
constexpr float kGorePerDamage = 2.37f;
constexpr float kMaxUnitGore = 1.0f;
// A unit carrying the cup drops it when hit from a cell nearer than this
// (squared distance).
constexpr int64_t kCupDropSquaredReach = 3;
// The share of a blow that reaches the things inside a container, times
// what its armour lets through.
constexpr float kContainerShare = 0.25f;

// Running a unit over: the gore planned, its size and kind, and what the car
// says and takes.
constexpr uint32_t kRunOverGoreDelay = 4;
constexpr int32_t kRunOverGoreSize = 2;
constexpr int32_t kRunOverSpeech = 5;
constexpr float kRunOverCarDamage = 0.1f;
constexpr int32_t kTramVehicleType = YLTPushable::kPushingVehicleType;

int32_t VehicleType(const YLThing& car) {
  return car.Info != nullptr
             ? static_cast<int32_t>((car.Info->Status & StatusVehicleTypeMask) >> kStatusVehicleTypeShift)
             : 0;
}

// An armour above 1.0 counts as 1.0: it cannot let less than nothing
// through, nor more than the whole of its own strength in a collision.
float EffectiveArmor(const ThingInfo& info) { return std::min(info.Armor, 1.0f); }

// How hard a thing hits (and is hit) in a collision: its hit points against
// its armour. At full armour it is Hp / 0.05; an armour above 1.0 would
// divide by zero at 1.05 and turn the blow negative beyond it.
float CollisionStrength(const ThingInfo& info) { return info.Hp / (1.05f - EffectiveArmor(info)); }

// The car responsible for a moving thing: a car itself, or the car at the
// end of the chain of pushers behind a pushed thing. The chain is followed
// for at most as many links as there are things, so pushers that push one
// another in a circle end the search. decided is set when the chain decides
// on its own: the id in the way is one of the pushers (answer true), or a
// link pushes nothing or is neither car nor pushed thing (answer false).
YLTCar* ResponsibleCar(const CLogic& logic, YLThing* moving, int32_t idInWay, bool& decided, bool& answer) {
  decided = false;
  const int32_t links = logic.Things != nullptr ? logic.Things->count : 0;
  YLThing* link = moving;
  for (int32_t step = 0; step <= links && link != nullptr; ++step) {
    if (auto* car = CarOf(link)) {
      return car;
    }
    auto* pushed = dynamic_cast<YLTPushableThing*>(link);
    if (pushed == nullptr || pushed->Pusher == 0) {
      break;
    }
    if (pushed->Pusher == idInWay) {
      decided = true;
      answer = true;
      return nullptr;
    }
    link = logic.GetThing(pushed->Pusher);
  }
  decided = true;
  answer = false;
  return nullptr;
}

void Count(CPlayer* side, ParamEnum parameter) {
  if (side != nullptr) {
    side->AddParam(parameter, 1);
  }
}

// A unit lost: to its own side a team kill, otherwise a frag for the side
// that killed it (when that side counts it); the unit's side loses a unit.
void CountUnitLost(CPlayer* unitSide, CPlayer* killerSide, bool killerScores) {
  if (unitSide != nullptr && unitSide == killerSide) {
    Count(unitSide, ParamTeamKills);
  } else if (killerScores) {
    Count(killerSide, ParamFrags);
  }
  Count(unitSide, ParamUnitsLost);
}

// a + b as 32-bit values add, wrapping: a stored position may hold any value.
int32_t Wrapped(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// The container's gore over its footprint, one row lower (the footprint of
// its facing), or below its own cell when it has none.
void BleedOverFootprint(CLogic& logic, const YLThing& container, float damage) {
  const ThingInfo& info = *container.Info;
  if (info.Ground == nullptr) {
    logic.NotifyGore(info.X, Wrapped(info.Y, 1), damage, kGoreContainer);
    return;
  }
  const int32_t facing = info.GetFacing();
  const int32_t points = info.Ground->GetPointCount(facing);
  for (int32_t n = 0; n < points; ++n) {
    int32_t dx = 0;
    int32_t dy = 0;
    info.Ground->GetPoint(facing, n, dx, dy);
    logic.NotifyGore(Wrapped(info.X, dx), Wrapped(Wrapped(info.Y, dy), 1), damage, kGoreContainer);
  }
}

// Whether (x, y) lies at a squared distance below kCupDropSquaredReach from
// the record's cell; far points are ruled out first, so the squares never
// overflow.
bool WithinCupReach(int32_t x, int32_t y, const ThingInfo& info) {
  const int64_t dx = static_cast<int64_t>(x) - info.X;
  const int64_t dy = static_cast<int64_t>(y) - info.Y;
  if (dx <= -kCupDropSquaredReach || dx >= kCupDropSquaredReach || dy <= -kCupDropSquaredReach ||
      dy >= kCupDropSquaredReach) {
    return false;
  }
  return dx * dx + dy * dy < kCupDropSquaredReach;
}

// A destroyed thing counts for the sides, and one that explodes when
// destroyed goes off where it stood.
void CountDestroyed(CLogic& logic, const YLThing& thing, int32_t attacker) {
  const YLThing* attackerThing = logic.GetThing(attacker);
  CPlayer* targetSide = logic.GetSide(thing.GetOwner());
  CPlayer* attackerSide = attackerThing != nullptr ? logic.GetSide(attackerThing->GetOwner()) : nullptr;
  if (attackerSide == nullptr) {
    // A suit working for nobody scores for the side that hired it.
    if (const auto* suit = dynamic_cast<const YLUnitSuit*>(attackerThing)) {
      attackerSide = logic.GetSide(suit->Last);
    }
  }
  if (attackerSide == nullptr) {
    DebugPrint("CLogic::HurtThing attacker not owned by player\n");
  }

  if (UnitOf(&thing) != nullptr) {
    CountUnitLost(targetSide, attackerSide, true);
  } else if (dynamic_cast<const YLTBuilding*>(&thing) != nullptr) {
    Count(targetSide, ParamBuildingsLost);
    Count(attackerSide, ParamBuildingsBroken);
  } else if (CarOf(&thing) != nullptr) {
    Count(attackerSide, ParamCarsDestroyed);
  } else {
    Count(attackerSide, ParamThingsDestroyed);
  }

  if ((thing.Info->Status & StatusExplodes) != 0 && logic.Weapons != nullptr) {
    logic.ApplyWeaponImpact(logic.Weapons->GetSlot(WeaponSlot::kExplosion), attacker, thing.Info->X, thing.Info->Y);
  }
}

}  // namespace

// ---- HurtThing ----

void CLogic::HurtThing(int32_t target, float damage, float stun, int32_t x, int32_t y, int32_t attacker) {
  YLThing* thing = GetThing(target);
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  if (thing->TakeDamage(damage)) {
    CountDestroyed(*this, *thing, attacker);
  }

  if (auto* unit = UnitOf(thing)) {
    // A carrier hit from within reach drops the level's cup where it stands.
    YLTCup* cup = GetCup();
    if (cup != nullptr && unit->CarriesCup() && WithinCupReach(x, y, *unit->Info)) {
      cup->Drop(*unit);
    }
    unit->Stun(stun);
    unit->Frighten(damage, attacker);
    NotifyGore(unit->Info->X, unit->Info->Y, std::min(damage * kGorePerDamage, kMaxUnitGore), kGoreUnit);
    return;
  }

  thing->Frighten(damage, attacker);
  auto* container = dynamic_cast<YLTContainerThing*>(thing);
  if (container == nullptr) {
    return;
  }
  const float share = (1.0f - EffectiveArmor(*container->Info)) * kContainerShare;
  // Things hurt inside may die and leave the list: the ids are taken first.
  std::vector<int32_t> inside;
  for (int32_t index = 0; index < container->GetContainedCount(); ++index) {
    inside.push_back(container->GetContainedID(index));
  }
  for (int32_t id : inside) {
    HurtThing(id, damage * share, stun * share, x, y, attacker);
  }
  BleedOverFootprint(*this, *container, damage);
}

// ---- RunOver ----

bool CLogic::RunOver(YLThing* moving, int32_t idInWay, int32_t x, int32_t y) {
  if (moving == nullptr || moving->Info == nullptr) {
    return false;
  }
  if (idInWay == moving->Info->Tid) {
    return true;
  }
  bool decided = false;
  bool answer = false;
  YLTCar* car = ResponsibleCar(*this, moving, idInWay, decided, answer);
  if (decided || car == nullptr || car->Info == nullptr) {
    return answer;
  }
  YLThing* inWay = idInWay > 0 ? GetThing(idInWay) : nullptr;
  if (inWay == nullptr || inWay->Info == nullptr) {
    return false;
  }
  const bool tram = VehicleType(*car) == kTramVehicleType;

  if (auto* unit = UnitOf(inWay)) {
    InsertPlan(new LogicPlanGoreMsg(x, y, kRunOverGoreSize, kGoreUnit), kRunOverGoreDelay);
    // The tram scores for nobody.
    CountUnitLost(GetSide(unit->GetOwner()), GetSide(car->GetOwner()), !tram);
    if (!tram) {
      NotifySpeech(unit->GetOwner(), unit->GetTid(), kRunOverSpeech, car->GetTid());
    }
    unit->Destroy();
    if (!tram) {
      car->TakeDamage(kRunOverCarDamage);
    }
    return true;
  }

  if (tram) {
    auto* pushable = dynamic_cast<YLTPushable*>(inWay);
    YLThing* pushed = pushable != nullptr ? pushable->GetThing() : nullptr;
    if (pushed == nullptr || pushed->Info == nullptr) {
      return false;
    }
    if ((pushed->Info->Status & StatusAlive) != 0) {
      HurtThing(pushed->GetTid(), CollisionStrength(*pushed->Info), 0.0f, car->Info->X, car->Info->Y, car->GetTid());
    }
    return pushable->PushedByVehicle(car);
  }

  if (auto* other = CarOf(inWay)) {
    HurtThing(car->GetTid(), CollisionStrength(*car->Info), 0.0f, other->Info->X, other->Info->Y, other->GetTid());
    if (other->Info != nullptr && car->Info != nullptr) {
      HurtThing(other->GetTid(), CollisionStrength(*other->Info), 0.0f, car->Info->X, car->Info->Y, car->GetTid());
    }
  }
  return false;
}
