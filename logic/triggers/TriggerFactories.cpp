#include "logic/triggers/TriggerFactories.h"

#include <cstddef>
#include <cstring>

#include "base/DebugFormat.h"
#include "base/LumoClass.h"
#include "logic/triggers/YLTriggerAction.h"
#include "logic/triggers/YLTriggerCondition.h"

namespace {

struct FactoryRow {
  const char* editorName;
  size_t compared;  // characters of the name compared with editorName
  const char* className;
};

constexpr FactoryRow kConditionRows[] = {
    {"alive", 1, "YLTriggerConditionAlive"},
    {"bank robber", 2, "YLTriggerConditionBankRobberStatus"},
    {"building trashed", 2, "YLTriggerConditionBuildingsTrashed"},
    {"cup owner", 1, "YLTriggerConditionCupOwnerStatus"},
    {"dead", 1, "YLTriggerConditionDead"},
    {"fighting", 1, "YLTriggerConditionFighting"},
    {"in building", 4, "YLTriggerConditionInBuilding"},
    {"in sector", 4, "YLTriggerConditionInSector"},
    {"param", 1, "YLTriggerConditionParam"},
    {"team in sector", 2, "YLTriggerConditionTeamInSector"},
    {"thing status", 2, "YLTriggerConditionThingStatus"},
    {"whole team in sector", 1, "YLTriggerConditionWholeTeamInSector"},
};

constexpr FactoryRow kActionRows[] = {
    {"available", 1, "YLTriggerActionUnitsAvail"},
    {"bot task", 1, "YLTriggerActionBotTask"},
    {"command", 1, "YLTriggerActionCommand"},
    {"disable", 1, "YLTriggerActionDisable"},
    {"enable", 1, "YLTriggerActionEnable"},
    {"fixedidspawn", 1, "YLTriggerActionFixedIDSpawn"},
    {"insertplan", 1, "YLTriggerActionInsertPlan"},
    {"lvl5 vehicle spawn", 4, "YLTriggerActionVehicleSpawnLvl5"},
    {"lvl7 ticketman spawn", 4, "YLTriggerActionLvl7TicketMan"},
    {"make obj", 1, "YLTriggerActionMakeObj"},
    {"ov", 2, "YLTriggerActionObjectiveVinkje"},
    {"objective", 1, "YLTriggerActionBotObjective"},
    {"passableborder", 1, "YLTriggerActionBorderPassable"},
    {"spawn", 2, "YLTriggerActionSpawn"},
    {"stop traffic", 2, "YLTriggerActionStopTraffic"},
    {"setbankloot", 4, "YLTriggerActionSetBankLoot"},
    {"set player param", 5, "YLTriggerActionSetPlayerParam"},
    {"set trigger property", 5, "YLTriggerActionSetTriggerProperty"},
    {"tram", 4, "YLTriggerActionTram"},
    {"train", 4, "YLTriggerActionTrain"},
    {"victory", 2, "YLTriggerActionVictory"},
    {"vehicle spawn", 2, "YLTriggerActionVehicleSpawn"},
};

// The class of the first row whose first n characters the name shares, as
// strncmp compares them: a name shorter than n differs at its terminator.
template <size_t Rows>
const char* ClassFor(const FactoryRow (&rows)[Rows], const char* name) {
  if (name == nullptr) {
    return nullptr;
  }
  for (const FactoryRow& row : rows) {
    if (std::strncmp(name, row.editorName, row.compared) == 0) {
      return row.className;
    }
  }
  return nullptr;
}

// A new object of the class when the registry makes one of kind Kind; a
// class that is not registered (yet) gives null.
template <typename Kind>
Kind* Make(const char* className, const char* kindName) {
  if (className == nullptr) {
    return nullptr;
  }
  LumoObject* made = CreateObject(className, nullptr);
  auto* object = dynamic_cast<Kind*>(made);
  if (object == nullptr && made != nullptr) {
    DebugPrint("The class %s is not a trigger %s\n", className, kindName);
    DestroyObject(made);
  }
  return object;
}

}  // namespace

YLTriggerCondition* CreateTriggerCondition(const char* name) {
  return Make<YLTriggerCondition>(ClassFor(kConditionRows, name), "condition");
}

YLTriggerAction* CreateTriggerAction(const char* name) { return Make<YLTriggerAction>(ClassFor(kActionRows, name), "action"); }
