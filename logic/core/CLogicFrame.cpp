// The logic's life: setting up, emptying, the frame step, players and the
// death of a thing.

#include <limits>

#include "base/DebugFormat.h"
#include "base/tString.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"
#include "logic/core/YLPlayerPolice.h"
#include "logic/core/YLPropagator.h"
#include "logic/core/YLPropagatorFire.h"
#include "logic/world/ThingDebugSource.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

namespace {

// Units perceive and re-plan once in this many frames, spread by id.
constexpr uint32_t kEvolvePeriod = 12;
// How far around itself a unit perceives.
constexpr int32_t kPerceptionRadius = 20;
// The growth step of the perceived list, in ids.
constexpr int32_t kPerceptionGrowth = 256;
// A unit set aside from its player's count.
constexpr uint32_t kStatusInactive = 0x200000;

void LogThingInfo(const YLThing& thing) {
  DebugPrint("-->thinginfo:\n");
  tString text;
  thing.GetDebugText(text);
  DebugPrint("%s", text.text != nullptr ? text.text : "");
}

// The brain's view for this re-plan: what shares the unit's container, or
// else what the map sees around it.
void Perceive(CLogic& logic, YLUnit& unit) {
  unit.ClearPerception();
  if (auto* container = dynamic_cast<YLTContainerThing*>(unit.GetContainer())) {
    const int32_t count = container->GetContainedCount();
    for (int32_t index = 0; index < count; ++index) {
      unit.AddNeighbour(container->GetContainedID(index));
    }
    return;
  }
  if (logic.Map == nullptr) {
    return;
  }
  // Grown in large steps: a unit in a crowd perceives a hundred things and
  // more, and each step of the default size is one more reallocation.
  tCollection<int32_t> around(nullptr, nullptr, nullptr, kPerceptionGrowth);
  logic.Map->CollectObstacles(&unit, kPerceptionRadius, around);
  unit.SetNeighbours(around);
}

}  // namespace

CLogic* TheLogic() { return YLThing::GetLogic(); }

void CLogic::MakeCurrent() {
  YLThing::SetLogicContext(Map.get(), this);
  ThingInfo::SetDebugSource(&ThingDebugSource::Instance());
}

void CLogic::OnFree() {
  Reset();
  LumoObject::OnFree();
}

namespace {

int32_t technologyLevel = CLogic::kDefaultTechLevel;

}  // namespace

int32_t CLogic::GetTechnologyLevel() { return technologyLevel; }
void CLogic::SetTechnologyLevel(int32_t level) { technologyLevel = level; }

bool CLogic::Init() {
  EmptyPlan();
  Players.reset(new LumoObjects(true));
  Things.reset(new LumoObjects(true));
  Propagators.reset(new LumoObjects(true));
  DetachListeners();
  Listeners.reset(new LumoList);
  Weapons = std::make_unique<WeaponCatalog>();
  Initialised = true;
  ThingCount = 0;
  Time = 0;
  Config = std::make_unique<YLConfig>();
  Config->Init("config.txt");
  Map.reset(new CMap);
  MakeCurrent();
  CreatePlayer(kPolicePlayer);
  YLTPushableThing::InitMoveTable();
  YLUnit::InitMoveTable();
  YLTCar::InitMoveTable();
  YLTBuilding::InitMoveTable();
  return true;
}

void CLogic::Reset() {
  Initialised = false;
  Time = 0;
  ThingCount = 0;
  EmptyPlan();
  DetachListeners();
  Listeners.reset();
  Propagators.reset();
  // The things leave the map before it goes.
  Things.reset();
  Players.reset();
  Config.reset();
  Map.reset();
  if (YLThing::GetLogic() == this) {
    MakeCurrent();
  }
  Weapons.reset();
  Vinkjes.Clear();
  CupID = 0;
  SinglePlayer = 1;
  SetTechnologyLevel(kDefaultTechLevel);
  StringLibrary.resize(kUnitTypeNames);
}

bool CLogic::Compute() {
  if (!Initialised) {
    return true;
  }
  try {
    PropagatePlan();
  } catch (...) {
    DebugPrint("CLogic::Compute(%d) exception in PropagatePlan()\n", static_cast<int32_t>(Time));
    throw;
  }
  for (int32_t id = 1; Things != nullptr && id < Things->count; ++id) {
    YLThing* thing = GetThing(id);
    if (thing == nullptr) {
      continue;
    }
    auto* unit = UnitOf(thing);
    if (unit != nullptr && (Time + static_cast<uint32_t>(id)) % kEvolvePeriod == 0 &&
        (thing->Info->Status & StatusAlive) != 0) {
      try {
        Perceive(*this, *unit);
        unit->Evolve();
      } catch (...) {
        DebugPrint("CLogic::Compute(%d) exception in unit%d->Evolve\n", static_cast<int32_t>(Time), id);
        LogThingInfo(*thing);
        throw;
      }
    }
    try {
      // A thing that answers false stays: only its destruction frees its id.
      thing->Propagate();
    } catch (...) {
      DebugPrint("CLogic::Compute(%d) exception in thing%d->propagate\n", static_cast<int32_t>(Time), id);
      LogThingInfo(*thing);
      throw;
    }
  }
  for (int32_t index = 0; Propagators != nullptr && index < Propagators->count;) {
    auto* propagator = dynamic_cast<YLPropagator*>(Propagators->At(index));
    if (propagator == nullptr || !propagator->Propagate(this)) {
      // A fire that went out takes its mark off the map.
      if (auto* fire = dynamic_cast<YLPropagatorFire*>(propagator)) {
        fire->MarkArea(Map.get(), false);
      }
      Propagators->DeleteAt(index);
      continue;
    }
    ++index;
  }
  ++Time;
  return true;
}

CPlayer* CLogic::CreatePlayer(int32_t id) {
  // The table grows to id + 1 entries, which the largest int cannot name.
  if (id < 1 || id == std::numeric_limits<int32_t>::max()) {
    DebugPrint("CLogic::CreatePlayer: no player can have the id %d\n", id);
    return nullptr;
  }
  if (Players == nullptr) {
    Players.reset(new LumoObjects(true));
  }
  std::unique_ptr<CPlayer, tObjectDestroyer> player(id == kPolicePlayer ? new YLPlayerPolice : new CPlayer);
  player->OnCreated(id);
  if (Players->count <= id && !Players->SetCount(id + 1)) {
    return nullptr;
  }
  LumoObject* replaced = (*Players)[id];
  (*Players)[id] = player.get();
  if (replaced != nullptr) {
    DestroyObject(replaced);
  }
  return player.release();
}

void CLogic::ThingDied(YLThing* thing) {
  if (thing == nullptr || thing->Info == nullptr) {
    return;
  }
  try {
    --ThingCount;
    auto* unit = UnitOf(thing);
    auto* container = unit != nullptr ? dynamic_cast<YLTContainerThing*>(unit->GetContainer()) : nullptr;
    // A carrier that dies drops the cup while it still knows its container:
    // once out of it its place is off the map, and so would be the cup.
    YLTCup* cup = GetCup();
    if (unit != nullptr && cup != nullptr && unit->CarriesCup() && cup->GetCarrier() == unit) {
      cup->Drop(*unit);
    }
    if (container != nullptr) {
      container->Leave(unit);
    } else if (Map != nullptr && CarOf(thing) == nullptr) {
      Map->RemoveThing(thing);
    }
    if (unit != nullptr && (thing->Info->Status & kStatusInactive) == 0) {
      if (CPlayer* player = GetPlayer(thing->GetOwner())) {
        player->OnThingOwned(false, thing);
      }
    }
  } catch (...) {
    DebugPrint("exception in CLogic::ThingDied(");
    DebugPrint("%d)\n", thing->Info->Tid);
    throw;
  }
}
