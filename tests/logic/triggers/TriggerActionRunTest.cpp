// What the trigger actions do when their trigger fires, on a small level:
// two players, a pub, units on the map, a recording listener.

#include <ostream>
#include <string>
#include <vector>

#include "TriggerActionFixture.h"
#include "logic/core/ThingInfo.h"
#include "logic/triggers/LogicPlanHurtThing.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/YLTriggerActionInsertPlan.h"
#include "logic/world/YLTPub.h"

namespace {

using trigger_action_testing::Action;
using trigger_action_testing::MakeAction;

class ActionRunTest : public trigger_action_testing::TriggerActionTest {
 protected:
  static constexpr int32_t kRat = 1;
  static constexpr int32_t kSuit = 4;

  void SetUp() override {
    TriggerActionTest::SetUp();
    pub = MakeBuilding<YLTPub>("Pub1", 1);
    ASSERT_NE(pub, nullptr);
    firstUnit = OnMap(kRat, 1, 3, 3);
    secondUnit = OnMap(kRat, 2, 6, 3);
    ASSERT_NE(firstUnit, nullptr);
    ASSERT_NE(secondUnit, nullptr);
    firing.TriggerID = 9;
    firing.EnableCount = YLCustomTrigger::kEnabledBit | YLCustomTrigger::kRepeatBit;
    // Custom trigger 5 (enabled) and 7 (disabled) wait in the plan; number 6
    // is held by an insert-plan action and so cannot be found.
    planned[0] = trigger_action_testing::NewTrigger(5, 3);
    planned[1] = trigger_action_testing::NewTrigger(7, 2);
    logic.InsertPlan(planned[0], 20);
    logic.InsertPlan(planned[1], 40);
    held.SetProperty(1, "c");
    held.SetProperty(4, "6");
    held.SetProperty(5, "3");
  }

  // The text with "$pub", "$unit1" and "$unit2" replaced by their ids.
  std::string Resolve(const std::string& text) const {
    const std::pair<const char*, int32_t> names[] = {
        {"$pub", pub->GetTid()}, {"$unit1", firstUnit->GetTid()}, {"$unit2", secondUnit->GetTid()}};
    for (const auto& [name, id] : names) {
      if (text == name) {
        return std::to_string(id);
      }
    }
    return text;
  }

  // Makes the action, writes its lines and runs it for the firing trigger;
  // answers what the listener heard meanwhile.
  std::vector<std::string> Run(const char* className, const std::vector<std::string>& texts) {
    Action action = MakeAction(className);
    EXPECT_NE(action, nullptr) << className;
    if (action == nullptr) {
      return {};
    }
    for (size_t index = 0; index < texts.size(); ++index) {
      action->SetProperty(static_cast<int32_t>(index), Resolve(texts[index]).c_str());
    }
    actions.heard.clear();
    action->Execute(&logic, &firing);
    return actions.heard;
  }

  // ---- What the rows look at ----

  std::vector<std::string> Recruits() const {
    return {"rats " + std::to_string(pub->CountAvailableHC(kRat)),
            "suits " + std::to_string(pub->CountAvailableHC(kSuit))};
  }
  std::vector<std::string> Marked() const {
    std::vector<std::string> marked;
    for (const YLThing* thing : {static_cast<YLThing*>(pub), static_cast<YLThing*>(firstUnit),
                                 static_cast<YLThing*>(secondUnit)}) {
      if ((thing->Info->Status & StatusBurgled) != 0) {
        marked.push_back(std::to_string(thing->GetTid()));
      }
    }
    return marked;
  }
  std::vector<std::string> Players() {
    return {"money " + std::to_string(Player(1).GetMoney()) + " " + std::to_string(Player(2).GetMoney()),
            "state " + std::to_string(Player(1).GetParam(ParamState)) + " " +
                std::to_string(Player(2).GetParam(ParamState)),
            "frequency " + std::to_string(firing.Frequency)};
  }

  std::vector<std::string> Triggers() {
    std::vector<std::string> states;
    auto state = [](const char* name, const ConditionTrigger& trigger, int32_t enableCount) {
      return std::string(name) + " " + std::to_string(enableCount) + "/" + std::to_string(trigger.Frequency);
    };
    states.push_back(state("firing", firing, firing.EnableCount));
    for (YLCustomTrigger* trigger : planned) {
      EXPECT_EQ(logic.FindTrigger(trigger->TriggerID), trigger) << "still planned";
      states.push_back(state(std::to_string(trigger->TriggerID).c_str(), *trigger, trigger->EnableCount));
    }
    auto* kept = dynamic_cast<YLCustomTrigger*>(held.Plan.get());
    EXPECT_NE(kept, nullptr);
    if (kept != nullptr) {
      states.push_back(state("held 6", *kept, kept->EnableCount));
    }
    return states;
  }

  YLTPub* pub = nullptr;
  YLUnit* firstUnit = nullptr;
  YLUnit* secondUnit = nullptr;
  YLCustomTrigger firing;
  // Owned by the plan.
  YLCustomTrigger* planned[2] = {nullptr, nullptr};
  YLTriggerActionInsertPlan held;
};

// What a row looks at after the run, besides what was heard.
enum class Look { Nothing, Recruits, Marked, Players, Triggers };

struct RunCase {
  const char* name;
  const char* className;
  std::vector<std::string> texts;
  std::vector<std::string> heard;
  Look look;
  std::vector<std::string> state;
};

void PrintTo(const RunCase& test, std::ostream* out) { *out << test.name; }

const RunCase kRunCases[] = {
    {"Objective", "YLTriggerActionBotObjective", {"3", "2", "find the van"}, {"objective 3 2 find the van"},
     Look::Nothing, {}},
    {"ObjectiveWithoutText", "YLTriggerActionBotObjective", {"3", "2"}, {"objective 3 2 "}, Look::Nothing, {}},
    {"Task", "YLTriggerActionBotTask", {"2", "go home"}, {"task 2 go home"}, Look::Nothing, {}},
    // The pub keeps no suits and at most ten recruits of a type.
    {"PubRecruits", "YLTriggerActionUnitsAvail",
     {"$pub", "13", "4", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1"}, {}, Look::Recruits,
     {"rats 10", "suits 0"}},
    {"RecruitsOnlyInAPub", "YLTriggerActionUnitsAvail", {"$unit1", "1", "1"}, {}, Look::Recruits,
     {"rats 0", "suits 0"}},
    // A loss for player 2 leaves player 1 the winner; the firing trigger
    // ends after this run although it repeats.
    {"VictoryLoose", "YLTriggerActionVictory", {"2", "0"}, {"param 2 14 0", "param 1 14 1"}, Look::Players,
     {"money 1000 1000", "state 1 0", "frequency 0"}},
    {"VictoryWin", "YLTriggerActionVictory", {"2", "1"}, {"param 2 14 1", "param 1 14 0"}, Look::Players,
     {"money 1000 1000", "state 0 1", "frequency 0"}},
    {"MoneyUpdate", "YLTriggerActionSetPlayerParam", {"1", "1", "-50", "0"}, {"param 1 1 950"}, Look::Players,
     {"money 950 1000", "state 2 2", "frequency 10"}},
    {"MoneySet", "YLTriggerActionSetPlayerParam", {"2", "1", "300", "1"}, {"param 2 1 300"}, Look::Players,
     {"money 1000 300", "state 2 2", "frequency 10"}},
    // Set reports only a change.
    {"SetToTheSameValue", "YLTriggerActionSetPlayerParam", {"2", "1", "1000", "1"}, {}, Look::Nothing, {}},
    {"NoSuchPlayer", "YLTriggerActionSetPlayerParam", {"7", "1", "5", "0"}, {}, Look::Nothing, {}},
    // The first unit carries the mark before each bank loot row.
    {"BankLootMovesTheMark", "YLTriggerActionSetBankLoot", {"$unit2"}, {}, Look::Marked, {"$unit2"}},
    {"BankLootOnABuildingMarksNone", "YLTriggerActionSetBankLoot", {"$pub"}, {}, Look::Marked, {}},
    {"BankLootOnNoThing", "YLTriggerActionSetBankLoot", {"4095"}, {}, Look::Marked, {}},
    // Disable and enable by 0 (the firing trigger) and by number; a number
    // held only by an insert-plan action is not found.
    {"DisableItself", "YLTriggerActionDisable", {"0"}, {}, Look::Triggers,
     {"firing 2/10", "5 3/10", "7 2/10", "held 6 3/10"}},
    {"DisableByNumber", "YLTriggerActionDisable", {"5"}, {}, Look::Triggers,
     {"firing 3/10", "5 2/10", "7 2/10", "held 6 3/10"}},
    {"EnableByNumber", "YLTriggerActionEnable", {"7"}, {}, Look::Triggers,
     {"firing 3/10", "5 3/10", "7 3/10", "held 6 3/10"}},
    {"DisableAHeldNumber", "YLTriggerActionDisable", {"6"}, {}, Look::Triggers,
     {"firing 3/10", "5 3/10", "7 2/10", "held 6 3/10"}},
    {"DisableNoNumber", "YLTriggerActionDisable", {"8"}, {}, Look::Triggers,
     {"firing 3/10", "5 3/10", "7 2/10", "held 6 3/10"}},
    // Set trigger property writes a planned trigger's line as the editor.
    {"PropertyDisabledRepeating", "YLTriggerActionSetTriggerProperty", {"5", "3", "2"}, {}, Look::Triggers,
     {"firing 3/10", "5 2/10", "7 2/10", "held 6 3/10"}},
    {"PropertyBothBitsClear", "YLTriggerActionSetTriggerProperty", {"5", "3", "0"}, {}, Look::Triggers,
     {"firing 3/10", "5 0/10", "7 2/10", "held 6 3/10"}},
    {"PropertyEndsARepeatingTrigger", "YLTriggerActionSetTriggerProperty", {"5", "1", "0"}, {}, Look::Triggers,
     {"firing 3/10", "5 3/0", "7 2/10", "held 6 3/10"}},
    {"PropertyOfAHeldNumber", "YLTriggerActionSetTriggerProperty", {"6", "3", "0"}, {}, Look::Triggers,
     {"firing 3/10", "5 3/10", "7 2/10", "held 6 3/10"}},
    {"TickDone", "YLTriggerActionObjectiveVinkje", {"5", "1"}, {"speech 0 5 21 1"}, Look::Nothing, {}},
    {"TickNotDone", "YLTriggerActionObjectiveVinkje", {"5", "0"}, {"speech 0 5 21 0"}, Look::Nothing, {}},
};

class ActionRunTable : public ActionRunTest, public ::testing::WithParamInterface<RunCase> {
 protected:
  std::vector<std::string> LookAt(Look look) {
    switch (look) {
      case Look::Recruits:
        return Recruits();
      case Look::Marked:
        return Marked();
      case Look::Players:
        return Players();
      case Look::Triggers:
        return Triggers();
      case Look::Nothing:
        break;
    }
    return {};
  }
};

TEST_P(ActionRunTable, RunsAsItsTriggerFires) {
  const RunCase& test = GetParam();
  firstUnit->Info->Status |= StatusBurgled;
  EXPECT_EQ(Run(test.className, test.texts), test.heard);
  if (test.look != Look::Nothing) {
    std::vector<std::string> expected;
    for (const std::string& line : test.state) {
      expected.push_back(Resolve(line));
    }
    EXPECT_EQ(LookAt(test.look), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Actions, ActionRunTable, ::testing::ValuesIn(kRunCases),
                         [](const ::testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

}  // namespace
