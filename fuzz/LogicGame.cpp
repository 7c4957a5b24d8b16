#include "fuzz/LogicGame.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/LumoMemoryStream.h"
#include "base/LumoObjects.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/TriggerExports.h"
#include "logic/core/WeaponCatalog.h"
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
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTPushable.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

namespace {

constexpr int32_t kTriggerKinds[] = {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};

constexpr const char* kConditionNames[] = {
    "alive", "bank robber",    "building trashed", "cup owner",
    "dead",  "fighting",       "in building",      "in sector",
    "param", "team in sector", "thing status",     "whole team in sector",
};

constexpr const char* kActionNames[] = {
    "available",
    "bot task",
    "command",
    "disable",
    "enable",
    "fixedidspawn",
    "insertplan",
    "lvl5 vehicle spawn",
    "lvl7 ticketman spawn",
    "make obj",
    "ov",
    "objective",
    "passableborder",
    "spawn",
    "stop traffic",
    "setbankloot",
    "set player param",
    "set trigger property",
    "tram",
    "train",
    "victory",
    "vehicle spawn",
};

// Sets the count line, then each slot's type line, found by its label after
// the count line.
bool SetSlots(YLCustomTrigger& trigger, const char* countLabel,
              std::span<const char* const> names) {
  const int32_t countLine = EditorLine(trigger, countLabel);
  if (countLine < 0) {
    return false;
  }
  trigger.SetProperty(countLine, std::to_string(names.size()).c_str());
  for (size_t slot = 0; slot < names.size(); ++slot) {
    char label[32];
    std::snprintf(label, sizeof label, " %d: type:", static_cast<int32_t>(slot));
    const int32_t typeLine = EditorLine(trigger, label, countLine);
    if (typeLine < 0) {
      return false;
    }
    trigger.SetProperty(typeLine, names[slot]);
  }
  return true;
}

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
  // The player counts what it owns, as CreateThing's owner would be counted;
  // a load counts again and must find the same.
  unit->SetOwner(2);
  if (CPlayer* owner = logic.GetPlayer(2)) {
    owner->OnThingOwned(true, unit);
  }
  logic.Vinkjes.Append(1);
  logic.Vinkjes.Append(2);
  PlanEveryItem(logic, variant == 1 ? 20 : 0);
  if (variant == 3) {
    PlanEveryTriggerClass();
  }
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

std::span<const int32_t> EveryTriggerKind() {
  return kTriggerKinds;
}
std::span<const char* const> EveryConditionName() {
  return kConditionNames;
}
std::span<const char* const> EveryActionName() {
  return kActionNames;
}

int32_t EditorLine(LogicPlanItem& item, const char* label, int32_t from) {
  tStrings* labels = nullptr;
  tStrings* values = nullptr;
  item.GetProperties(labels, values);
  for (int32_t line = from < 0 ? 0 : from; line < labels->count; ++line) {
    const char* text = labels->Get(line);
    if (text != nullptr && std::strcmp(text, label) == 0) {
      return line;
    }
  }
  return -1;
}

YLCustomTrigger* PlanCustomTrigger() {
  LogicPlanItem* item = CreateTrigger(14);
  auto* trigger = dynamic_cast<YLCustomTrigger*>(item);
  if (trigger == nullptr) {
    DeleteTrigger(item);
    return nullptr;
  }
  InsertTrigger(trigger);
  return trigger;
}

bool SetConditions(YLCustomTrigger& trigger, std::span<const char* const> names) {
  if (!SetSlots(trigger, "#conditions", names)) {
    return false;
  }
  for (size_t slot = 0; slot < names.size(); ++slot) {
    if (trigger.GetCondition(static_cast<int32_t>(slot)) == nullptr) {
      return false;
    }
  }
  return trigger.GetConditionCount() == static_cast<int32_t>(names.size());
}

bool SetActions(YLCustomTrigger& trigger, std::span<const char* const> names) {
  if (!SetSlots(trigger, "#actions", names)) {
    return false;
  }
  for (size_t slot = 0; slot < names.size(); ++slot) {
    if (trigger.GetAction(static_cast<int32_t>(slot)) == nullptr) {
      return false;
    }
  }
  return trigger.GetActionCount() == static_cast<int32_t>(names.size());
}

void PlanEveryTriggerClass() {
  for (const int32_t kind : kTriggerKinds) {
    InsertTrigger(CreateTrigger(kind));
  }
  if (YLCustomTrigger* checking = PlanCustomTrigger()) {
    checking->SetProperty(1, "5");
    checking->SetProperty(EditorLine(*checking, "trigerid"), "41");
    checking->SetProperty(EditorLine(*checking, "enable#"), "3");
    SetConditions(*checking, kConditionNames);
  }
  if (YLCustomTrigger* acting = PlanCustomTrigger()) {
    acting->SetProperty(0, "20");
    acting->SetProperty(EditorLine(*acting, "trigerid"), "42");
    SetActions(*acting, kActionNames);
  }
}
