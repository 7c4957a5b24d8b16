#include "fuzz/LogicGame.h"

#include <cstdint>

#include "base/LumoMemoryStream.h"
#include "base/LumoObjects.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/ThingInfo.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/triggers/GameOverScoreLimit.h"
#include "logic/triggers/GameOverTimeLimit.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/LogicPlanEnterMsg.h"
#include "logic/triggers/LogicPlanGameOver.h"
#include "logic/triggers/LogicPlanGoreMsg.h"
#include "logic/triggers/LogicPlanHurtThing.h"
#include "logic/triggers/LogicPlanNotifyGameOver.h"
#include "logic/triggers/LogicPlanPickLock.h"
#include "logic/triggers/LogicPlanTechLevel.h"
#include "logic/triggers/LogicPlanWarpZ.h"
#include "logic/triggers/LogicPlanWeaponItems.h"
#include "logic/triggers/ScoreTrigger.h"
#include "logic/triggers/ScoreTriggerStrategic.h"
#include "logic/triggers/TriggerMoneyMakinPub.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

namespace {

template <typename T>
T* AddThing(CLogic& logic, int32_t id, int32_t x, int32_t y, const char* typeName) {
  auto* thing = new T;
  thing->CreateInfo(0);
  thing->Info->Tid = id;
  thing->ID = static_cast<uint32_t>(id);
  thing->Info->X = x;
  thing->Info->Y = y;
  thing->Info->Gfx = logic.AddString(typeName);
  if (logic.Things->count <= id) {
    logic.Things->SetCount(id + 1);
  }
  (*logic.Things)[id] = thing;
  ++logic.ThingCount;
  logic.Map->PlaceThing(thing);
  return thing;
}

// One item of every kind; offset spreads them over the buckets and the
// long list.
void PlanEveryItem(CLogic& logic, uint32_t offset) {
  logic.InsertPlan(new LogicPlanItem, 40 + offset);
  logic.InsertPlan(new ConditionTrigger(17), 3 + offset);
  logic.InsertPlan(new GameOverTrigger(1), 5 + offset);
  logic.InsertPlan(new LogicPlanGameOver(2), 400 + offset);
  logic.InsertPlan(new LogicPlanNotifyGameOver(1, true), 350 + offset);
  logic.InsertPlan(new LogicPlanWarpZ(1, 4), 7 + offset);
  logic.InsertPlan(new LogicPlanWarpZ(1, 0), 60 + offset);
  logic.InsertPlan(new LogicPlanTechLevel(2), 11 + offset);
  logic.InsertPlan(new GameOverTimeLimit, 3600 + offset);
  logic.InsertPlan(new GameOverScoreLimit(5000), 10 + offset);
  logic.InsertPlan(new ScoreTrigger(7), 9 + offset);
  logic.InsertPlan(new ScoreTriggerStrategic, 29 + offset);
  logic.InsertPlan(new TriggerMoneyMakinPub, 12 + offset);
  logic.InsertPlan(new LogicPlanEnterMsg(5, 3), 2 + offset);
  logic.InsertPlan(new LogicPlanPickLock(5, 3), 33 + offset);
  logic.InsertPlan(new LogicPlanGoreMsg(9, 9, 2, 1), 4 + offset);
  logic.InsertPlan(new LogicPlanHurtThing(5, 0.5f, 0.25f, 8, 8, 1), 6 + offset);
  // The brick is stored as its weapon index, slot 74 as 1000 plus its slot.
  logic.InsertPlan(new LogicPlanWeaponExecute(logic.Weapons->GetSlot(66), 5, 3, 3), 13 + offset);
  logic.InsertPlan(new LogicPlanWeaponImpact(logic.Weapons->GetSlot(74), 5, 3, 3, 0), 14 + offset);
}

}  // namespace

void StartSmallLogic(int variant) {
  LogicStart();
  LogicCreate(12, 12);
  LogicPlayer(1);
  LogicPlayer(2);
  CLogic& logic = *TheLogic();
  AddThing<YLTPushableThing>(logic, 1, 2, 2, "Push01-Crate");
  AddThing<YLTBaricade>(logic, 2, 4, 6, "Bar01-Fence");
  auto* container = AddThing<YLTContainerThing>(logic, 3, 8, 8, "Home01-House");
  container->Info->Ori = 5;
  auto* unit = AddThing<YLUnit>(logic, 5, 9, 9, "UnitRat");
  logic.Map->RemoveThing(unit);
  container->Enter(unit);
  unit->SetOwner(2);
  logic.Vinkjes.Append(1);
  logic.Vinkjes.Append(2);
  PlanEveryItem(logic, variant == 1 ? 20 : 0);
  if (variant == 2) {
    for (int32_t frame = 0; frame < 8; ++frame) {
      LogicCompute();
    }
  }
  SetRandomSeed(777);
}

std::string SavedLogic() {
  LumoMemoryStream stream;
  if (!stream.OpenNew(256, 1, 0) || stream.SetGrowth(4096) == 0 || !LogicSave(&stream)) {
    return {};
  }
  return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
}
