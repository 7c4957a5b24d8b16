// Trigger actions inside custom triggers that the logic's plan runs: the
// trigger's end, edits of the firing trigger from its own actions, the
// insert-plan hand-over, borders and traffic, hostile values.

#include <string>
#include <vector>

#include "../../navigation/PathMapDrawing.h"
#include "TriggerActionFixture.h"
#include "logic/core/CMap.h"
#include "logic/triggers/LogicPlanHurtThing.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLPathFinder.h"
#include "navigation/YLSectors.h"

namespace {

using trigger_action_testing::AddAction;
using trigger_action_testing::Lines;
using trigger_action_testing::NewTrigger;

class ActionPlanTest : public trigger_action_testing::TriggerActionTest {
 protected:
  void Run(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      ASSERT_TRUE(logic.Compute());
    }
  }
  // The heard events of a kind, e.g. "task".
  std::vector<std::string> Heard(const std::string& kind) const {
    std::vector<std::string> found;
    for (const std::string& line : actions.heard) {
      if (line.rfind(kind + " ", 0) == 0) {
        found.push_back(line);
      }
    }
    return found;
  }
};

// ---- The firing trigger's end ----

TEST_F(ActionPlanTest, VictoryEndsARepeatingTrigger) {
  YLCustomTrigger* trigger = NewTrigger(4, 3);
  AddAction(*trigger, "victory", {"2", "0"});
  AddAction(*trigger, "bot task", {"1", "won"});
  logic.InsertPlan(trigger, 3);
  Run(30);
  EXPECT_EQ(logic.FindTrigger(4), nullptr) << "the plan deleted it after its run";
  EXPECT_EQ(Heard("task"), (std::vector<std::string>{"task 1 won"}));
  EXPECT_EQ(Player(1).GetParam(ParamState), CPlayer::kStateWon);
  EXPECT_EQ(Player(2).GetParam(ParamState), CPlayer::kStateLost);
}

TEST_F(ActionPlanTest, ATriggerThatDisablesItselfStaysPlannedAndQuiet) {
  YLCustomTrigger* trigger = NewTrigger(4, 3);
  AddAction(*trigger, "disable", {"0"});
  AddAction(*trigger, "bot task", {"1", "once"});
  logic.InsertPlan(trigger, 3);
  Run(60);
  EXPECT_EQ(logic.FindTrigger(4), trigger);
  EXPECT_EQ(trigger->EnableCount, YLCustomTrigger::kRepeatBit);
  EXPECT_EQ(Heard("task"), (std::vector<std::string>{"task 1 once"}));
}

// ---- Edits of the firing trigger from its own actions ----
// The slots of a trigger without conditions: 6 the action count, 7 the
// first action's type; a set-trigger-property action has three lines.

// The action replaces its own slot: it is destroyed inside the setter,
// with the text it handed over.
TEST_F(ActionPlanTest, AnActionReplacingItsOwnSlot) {
  YLCustomTrigger* trigger = NewTrigger(4, 3);
  AddAction(*trigger, "set trigger property", {"4", "7", "victory"});
  logic.InsertPlan(trigger, 3);
  Run(4);
  auto* replaced = dynamic_cast<YLTriggerActionVictory*>(trigger->GetAction(0));
  ASSERT_NE(replaced, nullptr);
  EXPECT_EQ(logic.FindTrigger(4), trigger);
  EXPECT_EQ(Lines(*replaced), (std::vector<std::string>{"  team=0", "  victory=1: true"}));
}

// An action that empties its own trigger's action slots, then reads its
// own fields as an action written without care would.
class SlotEmptyingAction : public YLTriggerAction {
 public:
  ~SlotEmptyingAction() override { ++destroyed; }
  const char* GetClassName() const override { return "SlotEmptyingAction"; }
  void Execute(CLogic*, YLCustomTrigger* trigger) override {
    trigger->SetProperty(6, "0");
    destroyedInsideTheRun = destroyed;
    stillHere = label == "emptier";
  }
  std::string label = "emptier";
  static inline int destroyed = 0;
  static inline int destroyedInsideTheRun = -1;
  static inline bool stillHere = false;
};

// What the setter removes from a running trigger, the running action among
// it, lives until the run ends, and is destroyed then.
TEST_F(ActionPlanTest, WhatTheSetterRemovesLivesUntilTheRunEnds) {
  SlotEmptyingAction::destroyed = 0;
  SlotEmptyingAction::destroyedInsideTheRun = -1;
  SlotEmptyingAction::stillHere = false;
  YLCustomTrigger* trigger = NewTrigger(4, 3);
  ASSERT_LT(trigger->SetProperty(6, "2"), 0);
  trigger->Actions->items[0] = new SlotEmptyingAction;
  trigger->Actions->items[1] = new SlotEmptyingAction;
  logic.InsertPlan(trigger, 3);
  Run(4);
  EXPECT_EQ(SlotEmptyingAction::destroyedInsideTheRun, 0);
  EXPECT_TRUE(SlotEmptyingAction::stillHere);
  EXPECT_EQ(SlotEmptyingAction::destroyed, 2);
  EXPECT_EQ(trigger->GetActionCount(), 0);
}

// Emptying the action slots destroys the running action and the ones after
// it, which then do not run.
TEST_F(ActionPlanTest, AnActionEmptyingTheActionSlots) {
  YLCustomTrigger* trigger = NewTrigger(4, 3);
  AddAction(*trigger, "bot task", {"1", "before"});
  AddAction(*trigger, "set trigger property", {"4", "6", "0"});
  AddAction(*trigger, "bot task", {"1", "after"});
  logic.InsertPlan(trigger, 3);
  Run(30);
  EXPECT_EQ(trigger->GetActionCount(), 0);
  EXPECT_EQ(Heard("task"), (std::vector<std::string>{"task 1 before"}));
}

// Setting the time to the current frame runs the trigger inside its own
// run; that nested run returns at once, so the actions before the setter
// run once in the firing. The trigger then stays planned as its repeat bit
// says.
TEST_F(ActionPlanTest, AnActionReplanningItsTriggerNow) {
  for (const int32_t enableCount : {1, 3}) {
    SCOPED_TRACE(enableCount);
    actions.heard.clear();
    YLCustomTrigger* trigger = NewTrigger(4, enableCount);
    AddAction(*trigger, "bot task", {"1", "ran"});
    const uint32_t due = logic.Time + 3;
    AddAction(*trigger, "set trigger property", {"4", "0", std::to_string(due)});
    logic.InsertPlan(trigger, 3);
    Run(4);
    EXPECT_EQ(Heard("task"), (std::vector<std::string>{"task 1 ran"}));
    if (enableCount == 3) {
      ASSERT_EQ(logic.FindTrigger(4), trigger);
      logic.DeletePlanItem(trigger);
    } else {
      EXPECT_EQ(logic.FindTrigger(4), nullptr);
    }
  }
}

// Two triggers that set each other's time to now: the second runs inside
// the first, and its setting of the first, still running, returns at once,
// so the chain ends with each having run once.
TEST_F(ActionPlanTest, TriggersReplanningEachOtherNow) {
  YLCustomTrigger* first = NewTrigger(4, 3);
  YLCustomTrigger* second = NewTrigger(5, 3);
  const std::string due = std::to_string(logic.Time + 3);
  AddAction(*first, "bot task", {"1", "first"});
  AddAction(*first, "set trigger property", {"5", "0", due});
  AddAction(*second, "bot task", {"1", "second"});
  AddAction(*second, "set trigger property", {"4", "0", due});
  logic.InsertPlan(first, 3);
  logic.InsertPlan(second, 60);
  Run(4);
  EXPECT_EQ(Heard("task"), (std::vector<std::string>{"task 1 first", "task 1 second"}));
  EXPECT_EQ(logic.FindTrigger(4), first);
  EXPECT_EQ(logic.FindTrigger(5), second);
}

// Ending the firing trigger through its frequency line.
TEST_F(ActionPlanTest, AnActionEndingItsTrigger) {
  YLCustomTrigger* trigger = NewTrigger(4, 3);
  AddAction(*trigger, "set trigger property", {"4", "1", "0"});
  AddAction(*trigger, "bot task", {"1", "last"});
  logic.InsertPlan(trigger, 3);
  Run(30);
  EXPECT_EQ(logic.FindTrigger(4), nullptr);
  EXPECT_EQ(Heard("task"), (std::vector<std::string>{"task 1 last"}));
}

// ---- Insert plan ----

TEST_F(ActionPlanTest, InsertPlanHandsItsTriggerOverOnce) {
  YLCustomTrigger* outer = NewTrigger(4, 3);
  YLTriggerAction* action = AddAction(*outer, "insertplan", {"5", "c"});
  ASSERT_NE(action, nullptr);
  auto& insert = dynamic_cast<YLTriggerActionInsertPlan&>(*action);
  const std::vector<std::string> fresh = Lines(insert);
  // The inner trigger's own lines follow the plan line: its time, its
  // frequency, its number...
  EXPECT_EQ(insert.SetProperty(4, "6"), -1);
  EXPECT_EQ(insert.SetProperty(5, "1"), -1);
  EXPECT_EQ(insert.SetProperty(8, "1"), -1);
  EXPECT_EQ(insert.SetProperty(9, "bot task"), -1);
  EXPECT_LT(insert.SetProperty(10, "1"), 0);
  EXPECT_LT(insert.SetProperty(11, "inner"), 0);
  // Its time is kept without planning it: the action still holds it.
  EXPECT_EQ(insert.SetProperty(2, std::to_string(logic.Time).c_str()), -1);
  EXPECT_EQ(logic.FindTrigger(6), nullptr);
  EXPECT_TRUE(Heard("task").empty());
  const std::vector<std::string> lines = Lines(insert);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "  delay=5");
  EXPECT_EQ(lines[1], "  plan=" + std::to_string(logic.Time).insert(0, 3 - std::to_string(logic.Time).size(), ' ') +
                          ": custom trigger 6");
  EXPECT_EQ(lines[2], "time=" + std::to_string(logic.Time));
  EXPECT_EQ(lines[4], "trigerid=6");
  EXPECT_EQ(fresh.size(), 2u + 7u) << "the fresh inner trigger's lines follow";

  // In the outer trigger's editor list the held trigger's lines follow the
  // plan line there too.
  tStrings* labels = nullptr;
  tStrings* values = nullptr;
  outer->GetProperties(labels, values);
  int32_t planLine = -1;
  for (int32_t line = 0; line < labels->count; ++line) {
    if (std::string(labels->Get(line)) == "  plan") {
      planLine = line;
    }
  }
  ASSERT_GE(planLine, 0);
  ASSERT_EQ(labels->count, values->count);
  ASSERT_LT(planLine + 3, labels->count);
  EXPECT_STREQ(labels->Get(planLine + 1), "time");
  EXPECT_STREQ(labels->Get(planLine + 3), "trigerid");
  EXPECT_STREQ(values->Get(planLine + 3), "6");

  logic.InsertPlan(outer, 3);
  Run(4);
  YLCustomTrigger* inner = logic.FindTrigger(6);
  ASSERT_NE(inner, nullptr) << "joined the plan on the first run";
  EXPECT_EQ(insert.Plan, nullptr);
  EXPECT_EQ(Lines(insert), (std::vector<std::string>{"  delay=5", "  plan=n (b,c)"}));
  // Saved without it: as an action that never held one.
  YLTriggerActionInsertPlan empty;
  empty.Delay = 5;
  EXPECT_EQ(trigger_action_testing::SaveBytes(insert), trigger_action_testing::SaveBytes(empty));

  // The second run does nothing; the inner trigger runs once, 5 frames on.
  Run(60);
  EXPECT_EQ(Heard("task"), (std::vector<std::string>{"task 1 inner"}));
  EXPECT_EQ(logic.FindTrigger(6), nullptr);
  // Destroying the outer trigger leaves what the plan had alone.
  logic.DeletePlanItem(outer);
}

TEST_F(ActionPlanTest, InsertPlanLettersAndRemainders) {
  YLTriggerActionInsertPlan insert;
  EXPECT_EQ(insert.SetProperty(1, "x"), -1);
  EXPECT_EQ(insert.Plan, nullptr);
  EXPECT_EQ(insert.SetProperty(3, "1"), 1) << "no item: the lines end at the plan line";
  EXPECT_EQ(insert.SetProperty(1, "custom"), -1);
  ASSERT_NE(dynamic_cast<YLCustomTrigger*>(insert.Plan.get()), nullptr);
  EXPECT_EQ(insert.SetProperty(1, "n"), -1);
  EXPECT_EQ(insert.Plan, nullptr);
  EXPECT_EQ(insert.SetProperty(1, nullptr), -1);
  EXPECT_EQ(insert.Plan, nullptr);
}

// ---- Borders and traffic ----

// A route found while a border was open is dropped when the border closes.
TEST_F(ActionPlanTest, ClosingABorderDropsTheRoutesThroughIt) {
  path_testing::DrawnMap drawn = path_testing::DrawMap({"AB"}, 10);
  logic.Map->SetStratMap(drawn.knowledge.release());
  YLSectors* sectors = logic.Map->GetStratMap()->GetSectors();
  YLSectorBorder* border = sectors->GetSector(0)->FindBorderToID(1);
  ASSERT_NE(border, nullptr);
  const int32_t borderId = sectors->IndexOfBorder(border);
  YLPathFinder& finder = logic.Map->GetPathFinder();
  ASSERT_NE(finder.FindPath(5, 5, 15, 5), nullptr);
  ASSERT_NE(finder.GetCachedPath(0), nullptr);

  auto close = trigger_action_testing::MakeAction("YLTriggerActionBorderPassable");
  close->SetProperty(0, std::to_string(borderId).c_str());
  close->SetProperty(1, "0");
  close->Execute(&logic, nullptr);
  EXPECT_FALSE(border->IsPassable());
  EXPECT_EQ(finder.GetCachedPath(0), nullptr);
  EXPECT_EQ(finder.FindPath(5, 5, 15, 5), nullptr);

  close->SetProperty(1, "1");
  close->Execute(&logic, nullptr);
  EXPECT_TRUE(border->IsPassable());
  EXPECT_NE(finder.FindPath(5, 5, 15, 5), nullptr);

  // A border the map does not have changes nothing.
  close->SetProperty(0, "99");
  close->Execute(&logic, nullptr);
  close->SetProperty(0, "-1");
  close->Execute(&logic, nullptr);
  EXPECT_NE(finder.GetCachedPath(0), nullptr);
}

// Direction 1 also ends the ambient highway cars, 200 frames on.
TEST_F(ActionPlanTest, StoppingTrafficEndsTheAmbientCarsForDirectionOne) {
  auto* ambient = new YLThing;
  ambient->CreateInfo(0);
  int32_t id = 1;
  while (id < logic.Things->count && (*logic.Things)[id] != nullptr) {
    ++id;
  }
  ambient->Info->Tid = id;
  ambient->Info->Gfx = logic.AddString("AmbientA807-car");
  if (id >= logic.Things->count) {
    ASSERT_TRUE(logic.Things->SetCount(id + 1));
  }
  (*logic.Things)[id] = ambient;

  auto stop = trigger_action_testing::MakeAction("YLTriggerActionStopTraffic");
  auto plannedEnd = [&]() -> LogicPlanHurtThing* {
    for (LogicPlanItem* item = logic.PlanLongTerm.first; item != nullptr; item = item->Next) {
      if (auto* hurt = dynamic_cast<LogicPlanHurtThing*>(item)) {
        return hurt;
      }
    }
    return nullptr;
  };
  stop->SetProperty(0, "5");
  stop->Execute(&logic, nullptr);
  EXPECT_EQ(plannedEnd(), nullptr);
  stop->SetProperty(0, "1");
  stop->Execute(&logic, nullptr);
  LogicPlanHurtThing* hurt = plannedEnd();
  ASSERT_NE(hurt, nullptr);
  EXPECT_EQ(hurt->Thing, id);
  EXPECT_EQ(hurt->Time, logic.Time + 200);
}

// ---- Made things ----

TEST_F(ActionPlanTest, MakeObjectMakesAThingByKeyword) {
  auto make = trigger_action_testing::MakeAction("YLTriggerActionMakeObj");
  const int32_t before = CountThings();
  make->Execute(&logic, nullptr);
  EXPECT_EQ(CountThings(), before) << "no keyword: nothing";
  trigger_action_testing::SetLines(*make, {"12", "14", "258", "2", "Pub1"});
  listener.things.clear();
  make->Execute(&logic, nullptr);
  ASSERT_EQ(CountThings(), before + 1);
  ASSERT_FALSE(listener.things.empty());
  YLThing* made = logic.GetThing(listener.things.front());
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Info->X, 12);
  EXPECT_EQ(made->Info->Y, 14);
  EXPECT_EQ(made->Info->Ori, 2) << "the lowest byte of the orientation";
  EXPECT_EQ(made->GetOwner(), 2);
}

// ---- Hostile values ----

TEST_F(ActionPlanTest, APlayerParameterOutsideTheTableDoesNothingAndLogs) {
  for (const char* parameter : {"40", "36", "-1"}) {
    SCOPED_TRACE(parameter);
    for (const char* mode : {"1", "0"}) {
      auto set = trigger_action_testing::MakeAction("YLTriggerActionSetPlayerParam");
      trigger_action_testing::SetLines(*set, {"1", parameter, "5", mode});
      actions.heard.clear();
      const std::string logged = Logged([&] { set->Execute(&logic, nullptr); });
      EXPECT_NE(logged.find("has no parameter " + std::string(parameter)), std::string::npos) << logged;
      EXPECT_TRUE(actions.heard.empty());
      EXPECT_EQ(Player(1).GetParams().count, CPlayer::kParamCount);
    }
  }
}

TEST_F(ActionPlanTest, AnObjectiveTickOutsideTheTableIsRefused) {
  auto tick = trigger_action_testing::MakeAction("YLTriggerActionObjectiveVinkje");
  trigger_action_testing::SetLines(*tick, {"-1", "1"});
  actions.heard.clear();
  tick->Execute(&logic, nullptr);
  trigger_action_testing::SetLines(*tick, {"1000000000", "1"});
  tick->Execute(&logic, nullptr);
  EXPECT_TRUE(Heard("speech").empty());
}

}  // namespace
