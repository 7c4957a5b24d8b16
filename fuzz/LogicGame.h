#pragma once

#include <cstdint>
#include <span>
#include <string>

class LogicPlanItem;
class YLCustomTrigger;

// A small running logic started through the library's functions, as the
// game program starts one: a map, two players, a few things (one inside a
// container), objective ticks and one item of every kind of plan item, near
// and far. The load target loads into it; the seed writer saves it.

// Starts the logic afresh and fills it. variant picks where the items wait
// (0: the near buckets and the long list as a game has them, 1: the far
// ones moved nearer, 2: a game some frames on, 3: as 0 with one trigger of
// every class the editor makes as well, see PlanEveryTriggerClass).
void StartSmallLogic(int variant);

// The kinds CreateTrigger makes a trigger class of, and 0, which it makes a
// plain plan item of.
std::span<const int32_t> EveryTriggerKind();
// One editor name per row of the condition (action) factory, so each names
// another class.
std::span<const char* const> EveryConditionName();
std::span<const char* const> EveryActionName();

// Plans, through the editor's functions, one trigger of every kind and two
// custom triggers: one holding a condition of every class (checked every 5
// frames, repeating) and one holding an action of every class, due at frame
// 20.
void PlanEveryTriggerClass();

// The position of the first editor line of the item, at from or after it,
// labelled label (see LogicPlanItem::GetProperties); -1 when none is.
int32_t EditorLine(LogicPlanItem& item, const char* label, int32_t from = 0);

// A new custom trigger planned in the running logic; null without one.
YLCustomTrigger* PlanCustomTrigger();
// Fills the trigger's condition (action) slots with the classes of the
// editor names, through the editor's lines; false when a slot stays empty.
bool SetConditions(YLCustomTrigger& trigger, std::span<const char* const> names);
bool SetActions(YLCustomTrigger& trigger, std::span<const char* const> names);

// The running logic as LogicSave writes it; empty when the save fails.
std::string SavedLogic();
