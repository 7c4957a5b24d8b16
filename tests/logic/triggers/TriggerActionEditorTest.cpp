// The editor lines of the trigger actions: labels and values in listing
// order, the same lines numbered from 0 when written, count lines that
// resize their lists, and the record texts.

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "TriggerActionFixture.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/YLTriggerActionInsertPlan.h"
#include "logic/triggers/YLTriggerActionMakeObj.h"
#include "logic/triggers/YLTriggerActionSetPlayerParam.h"

namespace {

using trigger_action_testing::Lines;
using trigger_action_testing::MakeAction;
using trigger_action_testing::RecordOf;
using trigger_action_testing::SetLines;

struct EditorCase {
  const char* className;
  // Written to lines 0, 1, ... in order (null: the line is not written).
  std::vector<const char*> texts;
  std::vector<std::string> lines;
  std::string record;
};

const EditorCase kEditorCases[] = {
    {"YLTriggerActionBotObjective", {}, {"  obj=0", "  param#=0", "  value= "}, "bot objective"},
    {"YLTriggerActionBotObjective",
     {"3", "2", "find the van"},
     {"  obj=3", "  param#=2", "  value=find the van"},
     "bot objective"},
    {"YLTriggerActionBotTask", {"2", "go"}, {"  player=2", "  value=go"}, "bot task"},
    {"YLTriggerActionUnitsAvail",
     {"7", "3", "1", "x", "12"},
     {"  pub id=7", "  unit types=3", "   0=1", "   1=0", "   2=12"},
     "unit avail"},
    {"YLTriggerActionVictory", {}, {"  team=0", "  victory=1: true"}, "victory 0 win"},
    {"YLTriggerActionVictory", {"2", "0"}, {"  team=2", "  victory=0: false"}, "victory 2 loose"},
    {"YLTriggerActionObjectiveVinkje", {}, {"  ObjID=0", "  value=0: false"}, "objective vinkje"},
    {"YLTriggerActionObjectiveVinkje", {"4", "7"}, {"  ObjID=4", "  value=1: true"}, "objective vinkje"},
    {"YLTriggerActionBorderPassable", {}, {"  border=0", "  passable=1: true"}, "passable border"},
    {"YLTriggerActionBorderPassable", {"6", "0"}, {"  border=6", "  passable=0: false"}, "passable border"},
    {"YLTriggerActionStopTraffic", {}, {"  ori=1"}, "stop traffic"},
    {"YLTriggerActionSetPlayerParam",
     {},
     {"  PID=1", "  Param=  1:money", "  value=0", "  mode=0:set"},
     "set player param"},
    // The mode line shows 0 for set, but writing 0 selects update.
    {"YLTriggerActionSetPlayerParam",
     {"2", "13", "-50", "0"},
     {"  PID=2", "  Param=  13:score", "  value=-50", "  mode=1:update"},
     "set player param"},
    {"YLTriggerActionSetPlayerParam",
     {nullptr, "40", nullptr, "5"},
     {"  PID=1", "  Param=  40:???", "  value=0", "  mode=0:set"},
     "set player param"},
    {"YLTriggerActionSetPlayerParam",
     {nullptr, "-1"},
     {"  PID=1", "  Param=  -1:???", "  value=0", "  mode=0:set"},
     "set player param"},
    {"YLTriggerActionSetTriggerProperty",
     {"5", "3", "2"},
     {"  triggerID=5", "  index=3", "  value=2"},
     "set trigger property"},
    {"YLTriggerActionSetBankLoot", {"12"}, {"  ID=12"}, "setbankloot"},
    {"YLTriggerActionMakeObj",
     {},
     {"  x=0", "  y=0", "  ori=0", "  owner=0", "  name= "},
     "make obj"},
    {"YLTriggerActionMakeObj",
     {"4", "5", "260", "2", "Pub1"},
     {"  x=4", "  y=5", "  ori=260", "  owner=2", "  name=Pub1"},
     "make Pub1"},
    {"YLTriggerActionInsertPlan", {"30"}, {"  delay=30", "  plan=n (b,c)"}, "insert plan"},
};

TEST(TriggerActionEditor, LinesValuesAndRecordTexts) {
  for (const EditorCase& test : kEditorCases) {
    SCOPED_TRACE(test.className);
    auto action = MakeAction(test.className);
    ASSERT_NE(action, nullptr);
    for (size_t index = 0; index < test.texts.size(); ++index) {
      if (test.texts[index] != nullptr) {
        EXPECT_LT(action->SetProperty(static_cast<int32_t>(index), test.texts[index]), 0) << index;
      }
    }
    EXPECT_EQ(Lines(*action), test.lines);
    EXPECT_EQ(RecordOf(*action), test.record);
    // An index past the lines changes nothing and comes back less the lines.
    const auto lineCount = static_cast<int32_t>(test.lines.size());
    EXPECT_EQ(action->SetProperty(lineCount + 4, "99"), 4);
    EXPECT_EQ(Lines(*action), test.lines);
  }
}

// The count line resizes its list, new entries 0 and surplus ones dropped,
// and moves the numbering of the lines after it.
TEST(TriggerActionEditor, TheCountLineResizesItsList) {
  auto action = MakeAction("YLTriggerActionUnitsAvail");
  SetLines(*action, {"7", "3", "1", "2", "9"});
  EXPECT_EQ(action->SetProperty(1, "1"), -1);
  EXPECT_EQ(Lines(*action), (std::vector<std::string>{"  pub id=7", "  unit types=1", "   0=1"}));
  EXPECT_EQ(action->SetProperty(3, "5"), 0) << "the list now ends at line 2";
  EXPECT_EQ(action->SetProperty(1, "2"), -1);
  EXPECT_EQ(Lines(*action), (std::vector<std::string>{"  pub id=7", "  unit types=2", "   0=1", "   1=0"}));
  EXPECT_EQ(action->SetProperty(1, "0"), -1);
  EXPECT_EQ(Lines(*action), (std::vector<std::string>{"  pub id=7", "  unit types=0"}));
}

// A count no list can have (a stored text of a set-trigger-property action
// may hand in anything) leaves the list as it is, without allocating.
TEST(TriggerActionEditor, AHugeOrNegativeCountKeepsTheList) {
  auto action = MakeAction("YLTriggerActionUnitsAvail");
  SetLines(*action, {"7", "2", "1", "2"});
  for (const char* count : {"1000000000", "-3", "4097"}) {
    EXPECT_LT(action->SetProperty(1, count), 0) << count;
  }
  EXPECT_EQ(Lines(*action), (std::vector<std::string>{"  pub id=7", "  unit types=2", "   0=1", "   1=2"}));
}

// A null text reads as 0 for numbers and leaves no text.
TEST(TriggerActionEditor, ANullTextReadsAsZeroOrNoText) {
  auto objective = MakeAction("YLTriggerActionBotObjective");
  SetLines(*objective, {"3", "2", "text"});
  SetLines(*objective, {nullptr, nullptr, nullptr});
  EXPECT_EQ(Lines(*objective), (std::vector<std::string>{"  obj=0", "  param#=0", "  value= "}));
}

// The keyword of a make-object action may be of any length: its record
// text is cut to the buffer it is written into.
TEST(TriggerActionEditor, AMakeObjectRecordStaysInItsBuffer) {
  YLTriggerActionMakeObj action;
  const std::string keyword(1000, 'k');
  action.SetProperty(4, keyword.c_str());
  EXPECT_EQ(RecordOf(action), "make " + std::string(YLEditableObject::kRecordStringSize - 6, 'k'));
  EXPECT_EQ(RecordOf(action, 8), "make kk");
  EXPECT_EQ(RecordOf(action, 1), "");
}

// Each player parameter has its own name; the line never reads outside the
// table.
TEST(TriggerActionEditor, PlayerParameterNames) {
  EXPECT_STREQ(YLTriggerActionSetPlayerParam::ParamName(0), "???");
  EXPECT_STREQ(YLTriggerActionSetPlayerParam::ParamName(1), "money");
  EXPECT_STREQ(YLTriggerActionSetPlayerParam::ParamName(35), "burglaries");
  for (const int32_t outside : {36, -1, INT_MIN, INT_MAX}) {
    EXPECT_STREQ(YLTriggerActionSetPlayerParam::ParamName(outside), "???") << outside;
  }
  std::vector<std::string> names;
  for (int32_t parameter = 1; parameter < YLTriggerActionSetPlayerParam::kParamNames; ++parameter) {
    names.emplace_back(YLTriggerActionSetPlayerParam::ParamName(parameter));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << "two parameters share a name";
}

}  // namespace
