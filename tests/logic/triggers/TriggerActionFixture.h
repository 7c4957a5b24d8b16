#pragma once

// A small level for the trigger action tests (the logic set up as a game
// has it, two players, buildings and units made by the logic's own
// factories) with a listener that records, as text, the events the actions
// of custom triggers send; and helpers that make an action by its class
// name, write its editor lines and read them back.

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>
#include <string>
#include <utility>
#include <vector>

#include "../core/BuildingFixture.h"
#include "base/LumoMemoryStream.h"
#include "base/LumoObject.h"
#include "logic/core/YLEventListener.h"
#include "logic/triggers/TriggerFactories.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/YLTriggerAction.h"
#include "logic/triggers/YLTriggerActionDisable.h"
#include "logic/triggers/YLTriggerActionBorderPassable.h"
#include "logic/triggers/YLTriggerActionBotObjective.h"
#include "logic/triggers/YLTriggerActionInsertPlan.h"
#include "logic/triggers/YLTriggerActionMakeObj.h"
#include "logic/triggers/YLTriggerActionSetBankLoot.h"
#include "logic/triggers/YLTriggerActionSetPlayerParam.h"
#include "logic/triggers/YLTriggerActionSetTriggerProperty.h"
#include "logic/triggers/YLTriggerActionUnitsAvail.h"
#include "logic/triggers/YLTriggerActionVictory.h"
#include "logic/triggers/tStrings.h"

namespace trigger_action_testing {

class ActionListener : public YLEventListener {
 public:
  void EventSetObjectiveValue(int32_t objective, int32_t value, const char* text) override {
    heard.push_back("objective " + std::to_string(objective) + " " + std::to_string(value) + " " +
                    (text != nullptr ? text : "(null)"));
  }
  void EventNewTask(int32_t task, const char* text) override {
    heard.push_back("task " + std::to_string(task) + " " + (text != nullptr ? text : "(null)"));
  }
  // Objective ticks and level messages; what units say is left out.
  void EventSpeech(int32_t kind, int32_t subjectId, int32_t message, int32_t value) override {
    if (message == 20 || message == 21) {
      heard.push_back("speech " + std::to_string(kind) + " " + std::to_string(subjectId) + " " +
                      std::to_string(message) + " " + std::to_string(value));
    }
  }
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override {
    heard.push_back("param " + std::to_string(player) + " " + std::to_string(parameter) + " " +
                    std::to_string(value));
  }
  std::vector<std::string> heard;
};

using Action = std::unique_ptr<YLTriggerAction, tObjectDestroyer>;

// The test program links the logic's archive piece by piece: naming each
// action class pulls its registration in with it.
inline void LinkActionClasses() {
  static const std::type_info* const classes[] = {
      &typeid(YLTriggerActionBotObjective),   &typeid(YLTriggerActionBotTask),
      &typeid(YLTriggerActionUnitsAvail),     &typeid(YLTriggerActionVictory),
      &typeid(YLTriggerActionObjectiveVinkje), &typeid(YLTriggerActionBorderPassable),
      &typeid(YLTriggerActionStopTraffic),    &typeid(YLTriggerActionSetPlayerParam),
      &typeid(YLTriggerActionSetTriggerProperty), &typeid(YLTriggerActionSetBankLoot),
      &typeid(YLTriggerActionMakeObj),        &typeid(YLTriggerActionInsertPlan),
      &typeid(YLTriggerActionDisable),        &typeid(YLTriggerActionEnable),
  };
  EXPECT_NE(classes[0], nullptr);
}

// A new action of the registered class; null when the class is unknown.
inline Action MakeAction(const char* className) {
  LinkActionClasses();
  return Action(dynamic_cast<YLTriggerAction*>(CreateObject(className, nullptr)));
}

// Writes texts[i] to editor line i, in order.
inline void SetLines(YLEditableObject& object, const std::vector<const char*>& texts) {
  for (size_t index = 0; index < texts.size(); ++index) {
    object.SetProperty(static_cast<int32_t>(index), texts[index]);
  }
}

// The editor lines as "label=value".
inline std::vector<std::string> Lines(YLEditableObject& object) {
  tStrings labels;
  tStrings values;
  object.ListProperties(labels, values);
  EXPECT_EQ(labels.count, values.count);
  std::vector<std::string> lines;
  for (int32_t index = 0; index < labels.count; ++index) {
    lines.push_back(std::string(labels.Get(index)) + "=" + values.Get(index));
  }
  return lines;
}

// The object's record as a stream stores it.
inline std::vector<uint8_t> SaveBytes(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return std::vector<uint8_t>(stream.buffer, stream.buffer + stream.position);
}

inline std::unique_ptr<LumoObject, tObjectDestroyer> LoadBytes(std::vector<uint8_t> bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return std::unique_ptr<LumoObject, tObjectDestroyer>(LoadObject(&stream, nullptr));
}

inline std::string RecordOf(YLEditableObject& object, size_t size = YLEditableObject::kRecordStringSize) {
  std::vector<char> buffer(size + 1, '#');
  object.GetRecordString(buffer.data(), size);
  EXPECT_EQ(buffer[size], '#') << "the record ran past its buffer";
  return std::string(buffer.data());
}

using Trigger = std::unique_ptr<YLCustomTrigger, tObjectDestroyer>;

// A custom trigger with that number and enable word, no conditions and no
// actions yet.
inline YLCustomTrigger* NewTrigger(int32_t id, int32_t enableCount) {
  LinkActionClasses();
  auto* trigger = new YLCustomTrigger;
  trigger->TriggerID = id;
  trigger->EnableCount = enableCount;
  return trigger;
}

// Appends an action slot through the trigger's own editor lines (the count,
// then the slot's type by editor name) and writes the action's lines.
inline YLTriggerAction* AddAction(YLCustomTrigger& trigger, const char* editorName,
                                  const std::vector<std::string>& texts) {
  const int32_t slot = trigger.GetActionCount();
  // 0 time, 1 frequency, 2 number, 3 enable word, 4 message, then the
  // condition count (the tests' triggers have no conditions), the action
  // count and each action slot's type and lines.
  int32_t index = 7;
  for (int32_t before = 0; before < slot; ++before) {
    index += 1 + (trigger.GetAction(before) != nullptr ? static_cast<int32_t>(Lines(*trigger.GetAction(before)).size()) : 0);
  }
  EXPECT_LT(trigger.SetProperty(6, std::to_string(slot + 1).c_str()), 0);
  EXPECT_LT(trigger.SetProperty(index, editorName), 0);
  YLTriggerAction* action = trigger.GetAction(slot);
  EXPECT_NE(action, nullptr) << editorName;
  if (action != nullptr) {
    for (size_t line = 0; line < texts.size(); ++line) {
      action->SetProperty(static_cast<int32_t>(line), texts[line].c_str());
    }
  }
  return action;
}

class TriggerActionTest : public building_testing::BuildingTest {
 protected:
  void SetUp() override {
    BuildingTest::SetUp();
    ASSERT_TRUE(logic.AddListener(&actions));
  }

  ActionListener actions;
};

}  // namespace trigger_action_testing
