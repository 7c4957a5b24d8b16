#include "logic/core/TriggerExports.h"

#include <vector>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "logic/core/CLogic.h"
#include "logic/triggers/LogicPlanItem.h"

namespace {

// The class of each trigger kind.
struct TriggerClass {
  tTriggerType type;
  const char* className;
};

constexpr TriggerClass kTriggerClasses[] = {
    {3, "TriggerSpawnInBuilding"},
    {4, "TriggerSpawnLeaderInBuilding"},
    {5, "TriggerPlayerBus"},
    {6, "TriggerTrainArrival"},
    {7, "YLTriggerTram"},
    {8, "ScoreTriggerStrategic"},
    {9, "GameOverTrigger"},
    {10, "GameOverLevel8Trigger"},
    {11, "GameOverTriggerUnitsInContainer"},
    {12, "GameOverTimeLimit"},
    {13, "LogicPlanTechLevel"},
    {14, "YLCustomTrigger"},
    {15, "ScoreTriggerLvl4"},
    {16, "ScoreTriggerLvl10"},
    {17, "TriggerDontRepair"},
    {18, "TriggerShoppingInnocents"},
};

// The last frame at which parked items may still be released: later, the
// release would plan them past the parking frame again.
constexpr uint32_t kLastReleaseFrame = 99999969;

const char* ClassOfType(tTriggerType type) {
  for (const TriggerClass& entry : kTriggerClasses) {
    if (entry.type == type) {
      return entry.className;
    }
  }
  return nullptr;
}

}  // namespace

LogicPlanItem* CreateTrigger(tTriggerType type) {
  const CLogic* logic = TheLogic();
  if (logic == nullptr) {
    return nullptr;
  }
  LogicPlanItem* item = nullptr;
  if (const char* className = ClassOfType(type)) {
    LumoObject* made = CreateObject(className, nullptr);
    item = dynamic_cast<LogicPlanItem*>(made);
    if (item == nullptr) {
      DebugPrint("CreateTrigger: no plan item of the class %s for the kind %d\n", className,
                 static_cast<int>(type));
      if (made != nullptr) {
        DestroyObject(made);
      }
      return nullptr;
    }
  } else {
    item = new LogicPlanItem;
  }
  item->Time = logic->Time + kCreatedTriggerDelay;
  return item;
}

void InsertTrigger(LogicPlanItem* item) {
  CLogic* logic = TheLogic();
  if (logic == nullptr || item == nullptr) {
    return;
  }
  logic->InsertPlan(item, item->Time - logic->Time);
}

void RemoveTrigger(LogicPlanItem* item) {
  if (CLogic* logic = TheLogic()) {
    logic->RemovePlan(item);
  }
}

void DeleteTrigger(LogicPlanItem* item) {
  CLogic* logic = TheLogic();
  if (logic == nullptr || item == nullptr) {
    return;
  }
  logic->RemovePlan(item);
  if (item->PlanSlot != LogicPlanItem::kNotPlanned) {
    // Still linked into a list of another logic: freeing it would leave
    // that list pointing at freed memory.
    DebugPrint("DeleteTrigger: the item is planned in another logic\n");
    return;
  }
  // Freeing an item frees the chain behind it: an unplanned item owns none.
  item->Next = nullptr;
  logic->DeletePlanItem(item);
}

LogicPlanItem* GetShortPlan(int32_t bucket) {
  const CLogic* logic = TheLogic();
  if (logic == nullptr || bucket < 0 || bucket >= CLogic::kPlanSize) {
    return nullptr;
  }
  return logic->Plan[bucket].first;
}

LogicPlanItem* GetLongPlan() {
  const CLogic* logic = TheLogic();
  return logic != nullptr ? logic->PlanLongTerm.first : nullptr;
}

int32_t GetLogicPlanSize() { return TheLogic() != nullptr ? CLogic::kPlanSize : 0; }

void PlanLvl1TrainTriggersNow() {
  CLogic* logic = TheLogic();
  if (logic == nullptr || logic->Time > kLastReleaseFrame) {
    return;
  }
  // The parked items are taken first, so an item planned again behind the
  // one being moved is never moved twice.
  std::vector<LogicPlanItem*> parked;
  for (LogicPlanItem* item = logic->PlanLongTerm.first; item != nullptr; item = item->Next) {
    if (item->Time >= kParkedFrame) {
      parked.push_back(item);
    }
  }
  for (LogicPlanItem* item : parked) {
    logic->RemovePlan(item);
    // Taken apart so nothing wraps: the delay is due - (kParkedFrame - 1).
    const uint32_t delay = item->Time - (kParkedFrame - 1);
    item->Time = delay + logic->Time;
    logic->InsertPlan(item, delay);
  }
  logic->UpdateTimer();
}
