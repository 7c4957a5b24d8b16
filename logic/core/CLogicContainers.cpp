// Moving things, taking units into containers and out again, removing
// things from the game, burglary, and the moves that reach every unit around
// one: flirting, chanting and raving.

#include <algorithm>
#include <vector>

#include "base/DebugFormat.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/triggers/LogicPlanEnterMsg.h"
#include "logic/triggers/LogicPlanPickLock.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTLvl11Fence.h"
#include "logic/world/YLUnit.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

// Where a unit that goes into a container is kept.
constexpr int32_t kOffMap = -6;
// The listeners hear of an entry once the enter move (6 frames) has played.
constexpr uint32_t kEnterMessageDelay = 6;
// A rat's burgle move lasts 80 frames; the lock is picked at its end.
constexpr uint32_t kPickLockDelay = 80;
// Where a thing that is removed from the game leaves its container to.
constexpr int32_t kRemovedX = -1;
constexpr int32_t kRemovedY = -1;
constexpr int32_t kRemovedZ = 1;
// A unit set aside from its player's count.
constexpr uint32_t kStatusInactive = 0x200000;

constexpr int32_t kFlirtRadius = 8;
constexpr int32_t kChantRadius = 8;
constexpr int32_t kRaveRadius = 10;
constexpr int32_t kStimulusFlirt = 4;
constexpr int32_t kStimulusChant = 1;
constexpr float kStimulusStrength = 1.0f;

// The thing whose record this is; null when its id names another.
YLThing* ThingOf(const CLogic& logic, const ThingInfo* info) {
  if (info == nullptr) {
    return nullptr;
  }
  YLThing* thing = logic.GetThing(info->Tid);
  return thing != nullptr && thing->Info.get() == info ? thing : nullptr;
}

bool IsInside(const YLThing& thing) {
  return thing.GetContainer() != nullptr || (thing.Info->Status & StatusInContainer) != 0;
}

// Whether the owner's player counts the thing now, as a reload would count
// it: a unit while it lives and is not set aside, anything else while it is
// in the thing table.
bool StillCounted(const YLThing& thing) {
  if (UnitOf(&thing) == nullptr) {
    return true;
  }
  return (thing.Info->Status & StatusAlive) != 0 && (thing.Info->Status & kStatusInactive) == 0;
}

// The ids of the living things within radius cells of the thing, the
// blocked-direction codes left out.
std::vector<int32_t> ThingsAround(const CLogic& logic, const YLThing& thing, int32_t radius) {
  std::vector<int32_t> ids;
  if (logic.Map == nullptr) {
    return ids;
  }
  tCollection<int32_t> around;
  logic.Map->CollectObstacles(&thing, radius, around);
  for (int32_t index = 0; index < around.count; ++index) {
    if (around[index] > 0 && around[index] < CMap::kBlockedCode) {
      ids.push_back(around[index]);
    }
  }
  return ids;
}

// The container standing on a cell: the thing the map records there, or
// else the one whose record stands there.
YLTContainerThing* ContainerAt(const CLogic& logic, int32_t x, int32_t y) {
  if (auto* container = dynamic_cast<YLTContainerThing*>(logic.GetThingAt(x, y))) {
    return container;
  }
  return dynamic_cast<YLTContainerThing*>(logic.FindThingAtPosition(x, y));
}

}  // namespace

// ---- Moving ----

bool CLogic::MoveThing(ThingInfo* info, int32_t x, int32_t y, int32_t z, uint8_t orientation) {
  YLThing* thing = ThingOf(*this, info);
  if (thing == nullptr) {
    return false;
  }
  try {
    // A thing inside a container keeps off the map: placing it would put it
    // on the map and in its container at once.
    const bool inside = IsInside(*thing);
    if (Map != nullptr && !inside) {
      Map->RemoveThing(thing);
    }
    thing->SetX(x);
    thing->SetY(y);
    thing->SetZ(z);
    thing->SetOrientation(orientation);
    if (Map != nullptr && !inside) {
      Map->PlaceThing(thing);
    }
  } catch (...) {
    DebugPrint("exception in CLogic::MoveThing(%d,%d,%d,%d)\n", x, y, z, static_cast<int32_t>(orientation));
    throw;
  }
  return true;
}

void CLogic::MoveThingOffMap(YLUnit* unit) {
  if (unit == nullptr || unit->Info == nullptr) {
    return;
  }
  if (Map != nullptr) {
    Map->RemoveThing(unit);
  }
  std::fill(std::begin(unit->AvoidMap), std::end(unit->AvoidMap), 0.0f);
  std::fill(std::begin(unit->ObstacleMap), std::end(unit->ObstacleMap), 0.0f);
  unit->ClearPerception();
  unit->SetX(kOffMap);
  unit->SetY(kOffMap);
  unit->SetZ(kOffMap);
}

// ---- Containers ----

bool CLogic::EnterThing(ThingInfo* unitInfo, ThingInfo* containerInfo) {
  auto* unit = UnitOf(ThingOf(*this, unitInfo));
  auto* container = dynamic_cast<YLTContainerThing*>(ThingOf(*this, containerInfo));
  if (unit == nullptr || container == nullptr || !container->CanEnter(unit)) {
    return false;
  }
  return PlaceInside(unitInfo, containerInfo);
}

bool CLogic::PlaceInside(ThingInfo* unitInfo, ThingInfo* containerInfo) {
  auto* unit = UnitOf(ThingOf(*this, unitInfo));
  auto* container = dynamic_cast<YLTContainerThing*>(ThingOf(*this, containerInfo));
  // A unit already inside something would end up in two containers.
  if (unit == nullptr || container == nullptr || IsInside(*unit)) {
    return false;
  }
  if (Map != nullptr) {
    Map->RemoveThing(unit);
  }
  container->Enter(unit);
  NotifyEnter(unit->GetTid(), container->GetTid());
  return true;
}

bool CLogic::LeaveThing(ThingInfo* unitInfo, int32_t x, int32_t y, int32_t z, uint8_t orientation) {
  auto* unit = UnitOf(ThingOf(*this, unitInfo));
  auto* container = unit != nullptr ? dynamic_cast<YLTContainerThing*>(unit->GetContainer()) : nullptr;
  if (container == nullptr) {
    return false;
  }
  // The container's own door is the way out, not a taken cell: a shop
  // owner steps out onto it.
  if (z == 0 && Map != nullptr && Map->GetThingIDAt(x, y) != 0 && Map->GetThingIDAt(x, y) != container->GetTid()) {
    return false;
  }
  container->Leave(unit);
  unit->SetX(x);
  unit->SetY(y);
  unit->SetZ(z);
  unit->SetOrientation(orientation);
  if (Map != nullptr) {
    Map->PlaceThing(unit);
  }
  NotifyExit(unit->GetTid(), container->GetTid());
  return true;
}

bool CLogic::EnterContainer(YLUnit* unit, int32_t x, int32_t y) {
  if (unit == nullptr || unit->Info == nullptr || IsInside(*unit)) {
    return false;
  }
  YLTContainerThing* container = ContainerAt(*this, x, y);
  if (container == nullptr || !container->CanEnter(unit)) {
    return false;
  }
  MoveThingOffMap(unit);
  container->Enter(unit);
  InsertPlan(new LogicPlanEnterMsg(unit->GetTid(), container->GetTid()), kEnterMessageDelay);
  return true;
}

bool CLogic::ExitContainer(YLUnit* unit, int32_t x, int32_t y) {
  auto* container = unit != nullptr ? dynamic_cast<YLTContainerThing*>(unit->GetContainer()) : nullptr;
  if (container == nullptr || Map == nullptr || !Map->IsWalkable(x, y) || Map->GetThingIDAt(x, y) != 0) {
    return false;
  }
  container->Leave(unit);
  unit->SetX(x);
  unit->SetY(y);
  unit->SetZ(0);
  Map->PlaceThing(unit);
  NotifyExit(unit->GetTid(), container->GetTid());
  return true;
}

// ---- Removing ----

void CLogic::DestroyThing(ThingInfo* info) {
  YLThing* thing = ThingOf(*this, info);
  if (thing == nullptr) {
    return;
  }
  const int32_t id = info->Tid;
  if (auto* container = dynamic_cast<YLTContainerThing*>(thing)) {
    std::vector<int32_t> held;
    for (int32_t index = 0; index < container->GetContainedCount(); ++index) {
      held.push_back(container->GetContainedID(index));
    }
    for (auto each = held.rbegin(); each != held.rend(); ++each) {
      if (YLThing* inside = GetThing(*each)) {
        DestroyThing(inside->Info.get());
      }
    }
  }
  if (thing->GetContainer() != nullptr) {
    LeaveThing(info, kRemovedX, kRemovedY, kRemovedZ, 0);
  }
  // The player is told first, as a death tells it, so its counters match
  // those a reload of the game would count.
  if (StillCounted(*thing)) {
    if (CPlayer* player = GetPlayer(thing->GetOwner())) {
      player->OnThingOwned(false, thing);
    }
  }
  if ((info->Status & StatusAlive) != 0) {
    --ThingCount;
  }
  if (id == CupID) {
    CupID = 0;
  }
  (*Things)[id] = nullptr;
  if (Map != nullptr) {
    Map->RemoveThing(thing);
  }
  DestroyObject(thing);
}

void CLogic::ConnectBorderToBaricade(int32_t id, int32_t border) {
  YLThing* thing = GetThing(id);
  if (auto* barricade = dynamic_cast<YLTBaricade*>(thing)) {
    barricade->SetBorder(border);
  } else if (auto* fence = dynamic_cast<YLTLvl11Fence*>(thing)) {
    fence->SetBorder(border);
  }
}

// ---- Burglary ----

bool CLogic::StartBurgle(YLUnit* unit, int32_t x, int32_t y) {
  if (unit == nullptr || unit->Info == nullptr) {
    return false;
  }
  auto* building = dynamic_cast<YLTBuilding*>(ContainerAt(*this, x, y));
  if (building == nullptr) {
    return false;
  }
  InsertPlan(new LogicPlanPickLock(unit->GetTid(), building->GetTid()), kPickLockDelay);
  return true;
}

// A thief that died or went elsewhere while it picked the lock takes
// nothing.
void CLogic::FinishBurgle(int32_t buildingId, int32_t thiefId) {
  auto* building = dynamic_cast<YLTBuilding*>(GetThing(buildingId));
  auto* thief = UnitOf(GetThing(thiefId));
  if (building == nullptr || thief == nullptr || building->GetBuildingInfo() == nullptr ||
      (thief->Info->Status & StatusAlive) == 0 || IsInside(*thief)) {
    return;
  }
  if (CPlayer* player = GetPlayer(thief->GetOwner())) {
    BuildingInfo& record = *building->GetBuildingInfo();
    const int32_t money = record.Money;
    record.Money = 0;
    player->AddMoney(money);
    player->AddParam(ParamBurglaries, 1);
  }
  MoveThingOffMap(thief);
  building->Enter(thief);
  NotifyEnter(thief->GetTid(), building->GetTid());
}

// ---- Moves that reach every unit around ----

bool CLogic::DoFlirt(YLThing* chick) {
  if (dynamic_cast<YLUnitChick*>(chick) == nullptr || chick->Info == nullptr) {
    return false;
  }
  const int32_t source = chick->GetTid();
  for (const int32_t id : ThingsAround(*this, *chick, kFlirtRadius)) {
    YLThing* thing = GetThing(id);
    if (auto* unit = UnitOf(thing)) {
      unit->AddStimulus(source, kStimulusFlirt, kStimulusStrength);
    } else if (auto* container = dynamic_cast<YLTContainerThing*>(thing)) {
      for (int32_t index = 0; index < container->GetContainedCount(); ++index) {
        if (YLUnit* inside = container->GetContainedThing(index)) {
          inside->AddStimulus(source, kStimulusFlirt, kStimulusStrength);
        }
      }
    }
  }
  return true;
}

bool CLogic::DoChant(YLThing* leader) {
  if (dynamic_cast<YLUnitLeader*>(leader) == nullptr || leader->Info == nullptr) {
    return false;
  }
  for (const int32_t id : ThingsAround(*this, *leader, kChantRadius)) {
    if (auto* unit = UnitOf(GetThing(id))) {
      unit->AddStimulus(leader->GetTid(), kStimulusChant, kStimulusStrength);
    }
  }
  return true;
}

bool CLogic::DoRave(YLThing* raver, int32_t kind, float strength) {
  if (raver == nullptr || raver->Info == nullptr) {
    return false;
  }
  for (const int32_t id : ThingsAround(*this, *raver, kRaveRadius)) {
    if (auto* unit = UnitOf(GetThing(id))) {
      unit->AddStimulus(raver->GetTid(), kind, strength);
    }
  }
  return true;
}
