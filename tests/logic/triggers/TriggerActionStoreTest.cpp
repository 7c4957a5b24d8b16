// The stored forms of the trigger actions: each round-trips inside a custom
// trigger, flags are 32-bit integers whose lowest byte is read, and hostile
// stored values load without harm. Also the action factory's editor names.

#include <algorithm>
#include <string>
#include <vector>

#include "TriggerActionFixture.h"
#include "logic/triggers/LogicPlanItem.h"

namespace {

using trigger_action_testing::AddAction;
using trigger_action_testing::Lines;
using trigger_action_testing::LoadBytes;
using trigger_action_testing::NewTrigger;
using trigger_action_testing::RecordOf;
using trigger_action_testing::SaveBytes;
using trigger_action_testing::Trigger;
using Bytes = std::vector<uint8_t>;

struct StoreCase {
  const char* editorName;
  const char* className;
  std::vector<std::string> texts;
};

const StoreCase kStoreCases[] = {
    {"objective", "YLTriggerActionBotObjective", {"3", "2", "find the van"}},
    {"bot task", "YLTriggerActionBotTask", {"2", "go home"}},
    {"bot task", "YLTriggerActionBotTask", {"2"}},
    {"disable", "YLTriggerActionDisable", {"5"}},
    {"enable", "YLTriggerActionEnable", {"-7"}},
    {"available", "YLTriggerActionUnitsAvail", {"14", "3", "1", "9", "12"}},
    {"available", "YLTriggerActionUnitsAvail", {"14"}},
    {"victory", "YLTriggerActionVictory", {"2", "0"}},
    {"victory", "YLTriggerActionVictory", {"1", "1"}},
    {"ov", "YLTriggerActionObjectiveVinkje", {"4", "1"}},
    {"passableborder", "YLTriggerActionBorderPassable", {"6", "0"}},
    {"stop traffic", "YLTriggerActionStopTraffic", {"5"}},
    {"set player param", "YLTriggerActionSetPlayerParam", {"2", "13", "-50", "0"}},
    {"set trigger property", "YLTriggerActionSetTriggerProperty", {"5", "3", "2"}},
    {"setbankloot", "YLTriggerActionSetBankLoot", {"12"}},
    {"make obj", "YLTriggerActionMakeObj", {"4", "5", "260", "2", "Pub1"}},
    {"make obj", "YLTriggerActionMakeObj", {"4", "5"}},
    {"insertplan", "YLTriggerActionInsertPlan", {"30"}},
    // The held custom trigger's number and its task action follow its
    // plan line.
    {"insertplan", "YLTriggerActionInsertPlan", {"30", "c", "", "12", "6", "1", "0", "0", "1", "bot task", "1", "x"}},
};

TEST(TriggerActionStore, EachActionRoundTripsInsideACustomTrigger) {
  for (const StoreCase& test : kStoreCases) {
    SCOPED_TRACE(std::string(test.editorName) + " " + std::to_string(test.texts.size()));
    Trigger trigger(NewTrigger(3, 1));
    YLTriggerAction* action = AddAction(*trigger, test.editorName, {});
    ASSERT_NE(action, nullptr);
    EXPECT_STREQ(action->GetClassName(), test.className);
    for (size_t index = 0; index < test.texts.size(); ++index) {
      if (!test.texts[index].empty()) {
        action->SetProperty(static_cast<int32_t>(index), test.texts[index].c_str());
      }
    }
    const std::vector<std::string> lines = Lines(*action);
    const std::string record = RecordOf(*action);
    const Bytes bytes = SaveBytes(*trigger);

    auto loaded = LoadBytes(bytes);
    auto* copy = dynamic_cast<YLCustomTrigger*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetActionCount(), 1);
    YLTriggerAction* loadedAction = copy->GetAction(0);
    ASSERT_NE(loadedAction, nullptr);
    EXPECT_STREQ(loadedAction->GetClassName(), test.className);
    EXPECT_EQ(Lines(*loadedAction), lines);
    EXPECT_EQ(RecordOf(*loadedAction), record);
    EXPECT_EQ(SaveBytes(*copy), bytes);
  }
}

// The bytes of a stored 32-bit flag, found behind the record's class name.
size_t FlagOffset(const Bytes& bytes, const std::vector<uint8_t>& before) {
  auto found = std::search(bytes.begin(), bytes.end(), before.begin(), before.end());
  EXPECT_NE(found, bytes.end());
  return static_cast<size_t>(found - bytes.begin()) + before.size();
}

// A victory saved and loaded keeps its flag: the stored u32 is 1 for a win
// and 0 for a loss, and a loader reads only its lowest byte.
TEST(TriggerActionStore, FlagsAreIntegersWhoseLowestByteIsRead) {
  YLTriggerActionVictory victory;
  victory.Team = 0x0A0B0C0D;
  for (const bool won : {true, false}) {
    victory.Victory = won;
    const Bytes bytes = SaveBytes(victory);
    // The flag is the last field, right behind the team.
    const size_t flag = FlagOffset(bytes, {0x0A, 0x0B, 0x0C, 0x0D});
    ASSERT_EQ(flag + 4, bytes.size());
    EXPECT_EQ(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(flag), bytes.end()),
              (Bytes{0, 0, 0, static_cast<uint8_t>(won ? 1 : 0)}));
  }
  const struct {
    Bytes stored;
    bool set;
  } flags[] = {{{0, 0, 0, 1}, true}, {{0, 0, 1, 0}, false}, {{0xFF, 0xFF, 0xFF, 0x00}, false}, {{0, 0, 0, 0x80}, true}};
  for (const auto& test : flags) {
    victory.Victory = true;
    Bytes bytes = SaveBytes(victory);
    std::copy(test.stored.begin(), test.stored.end(), bytes.end() - 4);
    auto loaded = LoadBytes(bytes);
    auto* copy = dynamic_cast<YLTriggerActionVictory*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Victory, test.set);
    EXPECT_EQ(copy->Team, 0x0A0B0C0D);
  }
}

// A stored count far beyond the stream fails the load before anything is
// allocated; a stored parameter number outside the table is kept and
// does nothing when run (see the plan tests).
TEST(TriggerActionStore, AHugeStoredCountFailsTheLoad) {
  YLTriggerActionUnitsAvail avail;
  avail.PubID = 0x01020304;
  ASSERT_TRUE(avail.Units.SetCount(2));
  Bytes bytes = SaveBytes(avail);
  const size_t count = FlagOffset(bytes, {0x01, 0x02, 0x03, 0x04});
  const Bytes billion = {0x3B, 0x9A, 0xCA, 0x00};
  std::copy(billion.begin(), billion.end(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
  EXPECT_EQ(LoadBytes(bytes), nullptr);
}

// An insert-plan action whose stored plan is no plan item holds none; a
// stored item with a chain behind it keeps only the item.
TEST(TriggerActionStore, AStoredPlanThatIsNoPlanItemIsNone) {
  YLTriggerActionInsertPlan insert;
  insert.Delay = 7;
  insert.Plan.reset(new LogicPlanItem);
  insert.Plan->Next = new LogicPlanItem;
  insert.Plan->Next->Time = 99;
  auto loaded = LoadBytes(SaveBytes(insert));
  auto* chained = dynamic_cast<YLTriggerActionInsertPlan*>(loaded.get());
  ASSERT_NE(chained, nullptr);
  ASSERT_NE(chained->Plan, nullptr);
  EXPECT_EQ(chained->Plan->Next, nullptr);

  // The record of a victory action in the plan's place.
  DestroyObject(insert.Plan->Next);
  insert.Plan->Next = nullptr;
  const Bytes withItem = SaveBytes(insert);
  insert.Plan.reset();
  const Bytes without = SaveBytes(insert);
  YLTriggerActionVictory victory;
  Bytes foreign = without;
  foreign.back() = 1;  // the presence byte of the plan
  const Bytes record = SaveBytes(victory);
  foreign.insert(foreign.end(), record.begin(), record.end());
  ASSERT_NE(withItem, without);
  auto wrong = LoadBytes(foreign);
  auto* none = dynamic_cast<YLTriggerActionInsertPlan*>(wrong.get());
  ASSERT_NE(none, nullptr);
  EXPECT_EQ(none->Plan, nullptr);
  EXPECT_EQ(none->Delay, 7);
}

// The factory compares only the first few characters of each editor name,
// in table order.
TEST(TriggerActionStore, TheFactoryReadsAbbreviations) {
  trigger_action_testing::LinkActionClasses();
  const struct {
    const char* name;
    const char* className;
  } cases[] = {
      {"st", "YLTriggerActionStopTraffic"},          {"stop", "YLTriggerActionStopTraffic"},
      {"set b", nullptr},                            {"setb", "YLTriggerActionSetBankLoot"},
      {"set p", "YLTriggerActionSetPlayerParam"},    {"set t", "YLTriggerActionSetTriggerProperty"},
      {"set ", nullptr},                             {"ov", "YLTriggerActionObjectiveVinkje"},
      {"o", "YLTriggerActionBotObjective"},          {"ox", "YLTriggerActionBotObjective"},
      {"a", "YLTriggerActionUnitsAvail"},            {"b", "YLTriggerActionBotTask"},
      {"d", "YLTriggerActionDisable"},               {"e", "YLTriggerActionEnable"},
      {"i", "YLTriggerActionInsertPlan"},            {"m", "YLTriggerActionMakeObj"},
      {"p", "YLTriggerActionBorderPassable"},        {"vi", "YLTriggerActionVictory"},
      {"vx", nullptr},                               {"V", nullptr},
      {"", nullptr},                                 {nullptr, nullptr},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name != nullptr ? test.name : "(null)");
    trigger_action_testing::Action made(CreateTriggerAction(test.name));
    if (test.className == nullptr) {
      EXPECT_EQ(made, nullptr);
    } else {
      ASSERT_NE(made, nullptr);
      EXPECT_STREQ(made->GetClassName(), test.className);
    }
  }
}

}  // namespace
