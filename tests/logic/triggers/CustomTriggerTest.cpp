// The custom trigger in a running plan, in the editor and in streams, and
// the condition factory.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TriggerLevelFixture.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/TriggerExports.h"
#include "logic/triggers/TriggerFactories.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/YLTriggerConditionSectors.h"
#include "logic/triggers/YLTriggerConditionStatus.h"
#include "logic/triggers/YLTriggerConditionThings.h"
#include "logic/triggers/tStrings.h"

namespace {

using trigger_testing::RecordingAction;
using trigger_testing::RecordingCondition;
using Bytes = std::vector<uint8_t>;
using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;
using Journal = std::vector<std::string>;

class CustomTriggerTest : public trigger_testing::TriggerLevelTest {
 protected:
  // A trigger made by the editor's export, planned 31 frames ahead.
  YLCustomTrigger* Plan(int32_t enableCount, int32_t message = 0) {
    auto* trigger = dynamic_cast<YLCustomTrigger*>(CreateTrigger(14));
    EXPECT_NE(trigger, nullptr);
    trigger->EnableCount = enableCount;
    trigger->InterfaceMsg = message;
    InsertTrigger(trigger);
    return trigger;
  }
  Journal& Heard() { return listener.heard; }
};

TEST_F(CustomTriggerTest, WithoutConditionsItFiresOnceSpeakingBeforeItsFirstAction) {
  YLCustomTrigger* trigger = Plan(1, 77);
  trigger->Actions->Append(new RecordingAction("first", Heard()));
  trigger->Actions->Append(nullptr);
  trigger->Actions->Append(new RecordingAction("second", Heard()));
  Run(60);
  EXPECT_EQ(Heard(), (Journal{"speech 1,0,20,77 @31", "action first @31", "action second @31"}));
  EXPECT_FALSE(IsPlanned("YLCustomTrigger"));
}

TEST_F(CustomTriggerTest, RepeatingItFiresEveryFrequencyFramesAndSendsNoMessageZero) {
  YLCustomTrigger* trigger = Plan(3);
  trigger->Frequency = 7;
  trigger->Conditions->Append(new RecordingCondition("always", Heard(), true));
  trigger->Actions->Append(new RecordingAction("a", Heard()));
  Run(46);
  EXPECT_EQ(Heard(), (Journal{"asked always @31", "action a @31", "asked always @38", "action a @38",
                              "asked always @45", "action a @45"}));
  EXPECT_TRUE(IsPlanned("YLCustomTrigger"));
}

TEST_F(CustomTriggerTest, DisabledItStaysPlannedUntilEnabled) {
  YLCustomTrigger* trigger = Plan(0);
  trigger->Conditions->Append(new RecordingCondition("c", Heard(), true));
  trigger->Actions->Append(new RecordingAction("a", Heard()));
  Run(60);
  EXPECT_TRUE(Heard().empty());
  const std::vector<std::string> planned = Planned();
  ASSERT_NE(std::find(planned.begin(), planned.end(), "YLCustomTrigger @61"), planned.end());
  trigger->SetEnabled(true);
  EXPECT_EQ(trigger->EnableCount, 1);
  Run(10);
  EXPECT_EQ(Heard(), (Journal{"asked c @61", "action a @61"}));
  EXPECT_FALSE(IsPlanned("YLCustomTrigger"));

  // The accessor leaves the repeat bit alone.
  YLCustomTrigger loose;
  loose.EnableCount = 3;
  loose.SetEnabled(false);
  EXPECT_EQ(loose.EnableCount, 2);
  loose.SetEnabled(true);
  EXPECT_EQ(loose.EnableCount, 3);
}

TEST_F(CustomTriggerTest, AFalseConditionEndsTheRunBeforeTheNextIsAsked) {
  YLCustomTrigger* trigger = Plan(1);
  trigger->Frequency = 10;
  trigger->Conditions->Append(new RecordingCondition("A", Heard(), false));
  trigger->Conditions->Append(new RecordingCondition("B", Heard(), true));
  trigger->Actions->Append(new RecordingAction("a", Heard()));
  Run(42);
  EXPECT_EQ(Heard(), (Journal{"asked A @31", "asked A @41"}));
  EXPECT_TRUE(IsPlanned("YLCustomTrigger"));
  // With A true, both are asked in order, an empty slot between them skipped.
  dynamic_cast<RecordingCondition*>(trigger->GetCondition(0))->answer = true;
  trigger->Conditions->Insert(1, nullptr);
  Run(10);
  EXPECT_EQ(Heard(), (Journal{"asked A @31", "asked A @41", "asked A @51", "asked B @51", "action a @51"}));
}

TEST_F(CustomTriggerTest, AThrowingActionEndsTheRun) {
  YLCustomTrigger* trigger = Plan(3);
  trigger->Actions->Append(new RecordingAction("first", Heard()));
  trigger->Actions->Append(new RecordingAction("broken", Heard(), true));
  trigger->Actions->Append(new RecordingAction("third", Heard()));
  Run(31);
  EXPECT_THROW(LogicCompute(), std::runtime_error);
  EXPECT_EQ(Heard(), (Journal{"action first @31", "action broken @31"}));
  // The plan drops the broken trigger and the level goes on without it.
  EXPECT_FALSE(IsPlanned("YLCustomTrigger"));
  Run(20);
  EXPECT_EQ(Heard(), (Journal{"action first @31", "action broken @31"}));
}

TEST_F(CustomTriggerTest, TheCountdownLabelIsTheFirstAnActionWrites) {
  YLCustomTrigger trigger;
  Journal journal;
  char label[32] = "stale";
  EXPECT_STREQ(trigger.GetCountdownText(label, sizeof label), "");
  auto* silent = new RecordingAction("silent", journal);
  auto* first = new RecordingAction("first", journal);
  auto* second = new RecordingAction("second", journal);
  first->countdown = "bus";
  second->countdown = "train";
  trigger.Actions->Append(silent);
  trigger.Actions->Append(nullptr);
  trigger.Actions->Append(first);
  trigger.Actions->Append(second);
  EXPECT_STREQ(trigger.GetCountdownText(label, sizeof label), "bus");
  EXPECT_FALSE(trigger.ShowsCountdown());
}

// ---- The editor ----

std::vector<std::string> Texts(const tStrings& list) {
  std::vector<std::string> texts;
  for (int32_t at = 0; at < list.count; ++at) {
    texts.emplace_back(list.Get(at));
  }
  return texts;
}

struct Listing {
  std::vector<std::string> labels;
  std::vector<std::string> values;
};

Listing List(YLCustomTrigger& trigger) {
  tStrings* labels = nullptr;
  tStrings* values = nullptr;
  trigger.GetProperties(labels, values);
  return {Texts(*labels), Texts(*values)};
}

TEST(CustomTriggerEditor, NumbersItsLinesThroughCountsAndTypes) {
  YLCustomTrigger trigger;
  trigger.Time = 120;
  Listing fresh = List(trigger);
  EXPECT_EQ(fresh.labels, (std::vector<std::string>{"time", "freq", "trigerid", "enable#", "int msg", "#conditions",
                                                    "#actions"}));
  EXPECT_EQ(fresh.values, (std::vector<std::string>{"120", "10", "0", "1", "0", "0", "0"}));
  // Fresh: 2 TriggerID, 3 EnableCount, 4 InterfaceMsg, 5 condition count,
  // 6 action count (no slots yet), beyond: a remainder.
  EXPECT_LT(trigger.SetProperty(2, "7"), 0);
  EXPECT_LT(trigger.SetProperty(3, "3"), 0);
  EXPECT_LT(trigger.SetProperty(4, "12"), 0);
  EXPECT_EQ(trigger.SetProperty(7, "5"), 0);
  EXPECT_LT(trigger.SetProperty(6, "2"), 0);
  EXPECT_EQ(trigger.GetActionCount(), 2);
  EXPECT_LT(trigger.SetProperty(6, "0"), 0);
  EXPECT_EQ(trigger.SetProperty(9, "5"), 2);
  EXPECT_LT(trigger.SetProperty(5, "3"), 0);
  Listing slots = List(trigger);
  EXPECT_EQ(slots.labels, (std::vector<std::string>{"time", "freq", "trigerid", "enable#", "int msg", "#conditions",
                                                    " 0: type:", " 1: type:", " 2: type:", "#actions"}));
  EXPECT_EQ(slots.values, (std::vector<std::string>{"120", "10", "7", "3", "12", "3", "n (type name)",
                                                    "n (type name)", "n (type name)", "0"}));
  // Slot 0 becomes a player param: its four lines follow its type line.
  EXPECT_LT(trigger.SetProperty(6, "param"), 0);
  EXPECT_LT(trigger.SetProperty(7, "2"), 0);    // PID
  EXPECT_LT(trigger.SetProperty(8, "37"), 0);   // param, kept modulo 36
  EXPECT_LT(trigger.SetProperty(9, "<"), 0);    // operator
  EXPECT_LT(trigger.SetProperty(10, "-4"), 0);  // value
  EXPECT_LT(trigger.SetProperty(12, "whole"), 0);  // slot 2's type
  EXPECT_LT(trigger.SetProperty(13, "5"), 0);      // its team
  EXPECT_LT(trigger.SetProperty(14, "9"), 0);      // its sector
  EXPECT_LT(trigger.SetProperty(15, "2"), 0);      // the action count
  EXPECT_LT(trigger.SetProperty(16, "no such action"), 0);
  EXPECT_EQ(trigger.SetProperty(18, "1"), 0);  // past everything
  EXPECT_EQ(trigger.SetProperty(21, "1"), 3);
  auto* param = dynamic_cast<YLTriggerConditionParam*>(trigger.GetCondition(0));
  ASSERT_NE(param, nullptr);
  EXPECT_EQ(param->PID, 2);
  EXPECT_EQ(param->Param, 1);
  EXPECT_EQ(param->Operator, 1);
  EXPECT_EQ(param->Value, -4);
  auto* whole = dynamic_cast<YLTriggerConditionWholeTeamInSector*>(trigger.GetCondition(2));
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(whole->Team, 5);
  EXPECT_EQ(whole->Sector, 9);
  Listing typed = List(trigger);
  EXPECT_EQ(typed.labels, (std::vector<std::string>{"time", "freq", "trigerid", "enable#", "int msg",
                                                    "#conditions", " 0: type:", "  PID", "  param", "  operator",
                                                    "  value", " 1: type:", " 2: type:", "  team", "  sector",
                                                    "#actions", " 0: type:", " 1: type:"}));
  EXPECT_EQ(typed.values, (std::vector<std::string>{"120", "10", "7", "3", "12", "3", "player param", "2", "1",
                                                    "<", "-4", "n (type name)", "whole team in sector", "5", "9",
                                                    "2", "n (type name)", "n (type name)"}));
}

TEST(CustomTriggerEditor, ShrinkingDestroysAndGrowingAddsEmptySlots) {
  YLCustomTrigger trigger;
  Journal journal;
  for (const char* name : {"kept", "second", "third"}) {
    trigger.Conditions->Append(new RecordingCondition(name, journal, true));
  }
  ASSERT_EQ(RecordingCondition::alive, 3);
  EXPECT_LT(trigger.SetProperty(5, "1"), 0);
  EXPECT_EQ(RecordingCondition::alive, 1);
  EXPECT_LT(trigger.SetProperty(5, "3"), 0);
  ASSERT_EQ(trigger.GetConditionCount(), 3);
  EXPECT_NE(trigger.GetCondition(0), nullptr);
  EXPECT_EQ(trigger.GetCondition(1), nullptr);
  EXPECT_EQ(trigger.GetCondition(2), nullptr);
  EXPECT_EQ(List(trigger).values[8], "n (type name)");
  // Setting a slot's type replaces what it held.
  EXPECT_LT(trigger.SetProperty(6, "alive"), 0);
  EXPECT_EQ(RecordingCondition::alive, 0);
  EXPECT_STREQ(trigger.GetCondition(0)->GetClassName(), "YLTriggerConditionAlive");
  EXPECT_LT(trigger.SetProperty(6, "unknown"), 0);
  EXPECT_EQ(trigger.GetCondition(0), nullptr);

  // Counts no editor may set change nothing.
  for (const char* count : {"-1", "4097", "100000000"}) {
    EXPECT_LT(trigger.SetProperty(5, count), 0) << count;
    EXPECT_EQ(trigger.GetConditionCount(), 3) << count;
  }
  EXPECT_LT(trigger.SetProperty(9, "4096"), 0);
  EXPECT_EQ(trigger.GetActionCount(), 4096);
  EXPECT_LT(trigger.SetProperty(9, "4097"), 0);
  EXPECT_EQ(trigger.GetActionCount(), 4096);
  EXPECT_LT(trigger.SetProperty(9, "0"), 0);
  EXPECT_EQ(trigger.GetActionCount(), 0);
}

TEST(CustomTriggerEditor, RecordStringsWithAndWithoutNumber) {
  YLCustomTrigger trigger;
  trigger.Time = 120;
  char record[64];
  trigger.GetRecordString(record, sizeof record);
  EXPECT_STREQ(record, "120: custom trigger");
  trigger.TriggerID = 7;
  trigger.GetRecordString(record, sizeof record);
  EXPECT_STREQ(record, "120: custom trigger 7");
  EXPECT_EQ(trigger.GetTriggerID(), 7);
  trigger.Time = 5;
  trigger.TriggerID = -2;
  trigger.GetRecordString(record, sizeof record);
  EXPECT_STREQ(record, "  5: custom trigger -2");
}

// ---- The condition factory ----

TEST(ConditionFactory, MatchesTheFirstRowOnItsCharacters) {
  const struct {
    const char* name;
    const char* made;  // null: none
  } cases[] = {
      {"alive", "YLTriggerConditionAlive"},
      {"a", "YLTriggerConditionAlive"},
      {"anything", "YLTriggerConditionAlive"},
      {"bank robber", "YLTriggerConditionBankRobberStatus"},
      {"ba", "YLTriggerConditionBankRobberStatus"},
      {"bu", "YLTriggerConditionBuildingsTrashed"},
      {"b", nullptr},
      {"bx", nullptr},
      {"c", "YLTriggerConditionCupOwnerStatus"},
      {"d", "YLTriggerConditionDead"},
      {"f", "YLTriggerConditionFighting"},
      {"in building", "YLTriggerConditionInBuilding"},
      {"in b", "YLTriggerConditionInBuilding"},
      {"in s", "YLTriggerConditionInSector"},
      {"in x", nullptr},
      {"in ", nullptr},
      {"in", nullptr},
      {"i", nullptr},
      {"p", "YLTriggerConditionParam"},
      {"th", "YLTriggerConditionThingStatus"},
      {"te", "YLTriggerConditionTeamInSector"},
      {"t", nullptr},
      {"tx", nullptr},
      {"w", "YLTriggerConditionWholeTeamInSector"},
      {"Alive", nullptr},
      {"x", nullptr},
      {"", nullptr},
      {nullptr, nullptr},
  };
  for (const auto& each : cases) {
    const std::string name = each.name != nullptr ? each.name : "(null)";
    Loaded made(CreateTriggerCondition(each.name));
    if (each.made == nullptr) {
      EXPECT_EQ(made, nullptr) << name;
    } else {
      ASSERT_NE(made, nullptr) << name;
      EXPECT_STREQ(made->GetClassName(), each.made) << name;
    }
  }
  EXPECT_EQ(CreateTriggerAction(nullptr), nullptr);
  EXPECT_EQ(CreateTriggerAction(""), nullptr);
}

// ---- Streams ----

Bytes Save(LumoObject& object, uint32_t version = 0) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, version));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

Loaded Load(Bytes bytes) {
  bytes.push_back(0);
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return Loaded(LoadObject(&stream, nullptr));
}

template <typename Kind>
Kind* As(const Loaded& loaded) {
  auto* object = dynamic_cast<Kind*>(loaded.get());
  EXPECT_NE(object, nullptr);
  return object;
}

TEST(CustomTriggerStream, ATriggerRoundTripsWithItsNestedConditionsAndActions) {
  YLCustomTrigger trigger;
  trigger.Time = 300;
  trigger.Frequency = 4;
  trigger.TriggerID = 5;
  trigger.EnableCount = 3;
  trigger.InterfaceMsg = 9;
  auto* param = new YLTriggerConditionParam;
  param->PID = 1;
  param->Param = 2;
  param->Operator = 0;
  param->Value = 3;
  auto* fighting = new YLTriggerConditionFighting;
  fighting->Sector.Append(1);
  fighting->Sector.Append(2);
  fighting->SameSide = false;
  auto* status = new YLTriggerConditionThingStatus;
  status->Value = 2.5f;
  trigger.Conditions->Append(param);
  trigger.Conditions->Append(nullptr);
  trigger.Conditions->Append(fighting);
  trigger.Conditions->Append(status);
  trigger.Actions->Append(new YLTriggerAction);
  trigger.Actions->Append(nullptr);

  const Bytes bytes = Save(trigger);
  Loaded loaded = Load(bytes);
  auto* copy = As<YLCustomTrigger>(loaded);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Time, 300u);
  EXPECT_EQ(copy->Frequency, 4u);
  EXPECT_EQ(copy->TriggerID, 5);
  EXPECT_EQ(copy->EnableCount, 3);
  EXPECT_EQ(copy->InterfaceMsg, 9);
  ASSERT_EQ(copy->GetConditionCount(), 4);
  EXPECT_EQ(copy->GetCondition(1), nullptr);
  auto* loadedParam = dynamic_cast<YLTriggerConditionParam*>(copy->GetCondition(0));
  ASSERT_NE(loadedParam, nullptr);
  EXPECT_EQ(loadedParam->Param, 2);
  EXPECT_EQ(loadedParam->Value, 3);
  auto* loadedFighting = dynamic_cast<YLTriggerConditionFighting*>(copy->GetCondition(2));
  ASSERT_NE(loadedFighting, nullptr);
  ASSERT_EQ(loadedFighting->Sector.count, 2);
  EXPECT_EQ(loadedFighting->Sector[1], 2);
  EXPECT_TRUE(loadedFighting->Police);
  EXPECT_FALSE(loadedFighting->SameSide);
  auto* loadedStatus = dynamic_cast<YLTriggerConditionThingStatus*>(copy->GetCondition(3));
  ASSERT_NE(loadedStatus, nullptr);
  EXPECT_FLOAT_EQ(loadedStatus->Value, 2.5f);
  ASSERT_EQ(copy->GetActionCount(), 2);
  EXPECT_NE(copy->GetAction(0), nullptr);
  EXPECT_EQ(copy->GetAction(1), nullptr);
  EXPECT_EQ(Save(*copy), bytes);
}

TEST(CustomTriggerStream, AnOlderStreamKeepsTheDefaults) {
  YLCustomTrigger trigger;
  trigger.TriggerID = 5;
  trigger.EnableCount = 2;
  trigger.InterfaceMsg = 9;
  trigger.Conditions->Append(new YLTriggerConditionParam);
  Loaded loaded = Load(Save(trigger, kVersion_1_5_1_6));
  auto* copy = As<YLCustomTrigger>(loaded);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->TriggerID, 0);
  EXPECT_EQ(copy->EnableCount, 1);
  EXPECT_EQ(copy->InterfaceMsg, 0);
  EXPECT_EQ(copy->GetConditionCount(), 0);
  EXPECT_EQ(copy->GetActionCount(), 0);
}

TEST(CustomTriggerStream, AnElementOfAnotherClassLoadsAsAnEmptySlot) {
  YLCustomTrigger trigger;
  trigger.Conditions->Append(new YLTriggerConditionAlive);
  trigger.Conditions->Append(new YLTriggerAction);  // not a condition
  trigger.Actions->Append(new YLTriggerConditionDead);  // not an action
  trigger.Actions->Append(new YLTriggerAction);
  const Bytes bytes = Save(trigger);
  Loaded loaded;
  EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  loaded = Load(bytes);
  SetDebugMode(DebugModeOff);
  const std::string log = testing_support::ReadDebugLog();
  auto* copy = As<YLCustomTrigger>(loaded);
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->GetConditionCount(), 2);
  EXPECT_NE(copy->GetCondition(0), nullptr);
  EXPECT_EQ((*copy->Conditions)[1], nullptr);
  ASSERT_EQ(copy->GetActionCount(), 2);
  EXPECT_EQ((*copy->Actions)[0], nullptr);
  EXPECT_NE(copy->GetAction(1), nullptr);
  EXPECT_NE(log.find("the stored conditions slot 1 holds a YLTriggerAction"), std::string::npos) << log;
  EXPECT_NE(log.find("the stored actions slot 0 holds a YLTriggerConditionDead"), std::string::npos) << log;
}

}  // namespace
