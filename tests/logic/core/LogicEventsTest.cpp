#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/ThingInfo.h"
#include "logic/core/YLEventListener.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

// Writes down every event it hears as a line; throws on the event named in
// `failing`.
class LineListener : public YLEventListener {
 public:
  LineListener(const char* name, std::vector<std::string>& heard) : lines(heard) { SetName(name); }

  void EventMap(const void*) override { Hear("Map"); }
  void EventAction(int32_t id, const MoveStep*) override { Hear("Action " + std::to_string(id)); }
  void EventExit(int32_t unit, int32_t container) override {
    Hear("Exit " + std::to_string(unit) + " " + std::to_string(container));
  }
  void EventSpeech(int32_t kind, int32_t subject, int32_t message, int32_t value) override {
    Hear("Speech " + std::to_string(kind) + " " + std::to_string(subject) + " " + std::to_string(message) + " " +
         std::to_string(value));
  }
  void EventSelection(int32_t player, int32_t id, int32_t selected) override {
    Hear("Selection " + std::to_string(player) + " " + std::to_string(id) + " " + std::to_string(selected));
  }
  void EventGore(int32_t x, int32_t y, float amount, int32_t kind) override {
    Hear("Gore " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(amount) + " " +
         std::to_string(kind));
  }
  void EventSplat(int32_t x, int32_t y, float amount, int32_t kind) override {
    Hear("Splat " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(amount) + " " +
         std::to_string(kind));
  }
  void EventParameter(int32_t player, ParamEnum parameter, int32_t value) override {
    Hear("Parameter " + std::to_string(player) + " " + std::to_string(parameter) + " " + std::to_string(value));
  }
  void EventProjectile(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override {
    Hear("Projectile " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + " " +
         std::to_string(d) + " " + std::to_string(e));
  }
  void EventTimer(int32_t player, int32_t frames, const char* label) override {
    Hear("Timer " + std::to_string(player) + " " + std::to_string(frames) + " " + label);
  }
  void EventUnknownOrder(int32_t length, const void*) override { Hear("UnknownOrder " + std::to_string(length)); }
  void EventSetObjectiveValue(int32_t objective, int32_t value, const char* text) override {
    Hear("Objective " + std::to_string(objective) + " " + std::to_string(value) + " " + text);
  }
  void EventNewTask(int32_t task, const char* text) override { Hear("Task " + std::to_string(task) + " " + text); }

  std::string failing;

 private:
  void Hear(const std::string& line) {
    lines.push_back(std::string(Name) + ": " + line);
    if (!failing.empty() && line.rfind(failing, 0) == 0) {
      throw std::runtime_error(line);
    }
  }
  std::vector<std::string>& lines;
};

// Writes down the things and type names it hears.
class ThingCapture : public YLEventListener {
 public:
  void EventThing(ThingInfo* info, const char* typeName) override {
    infos.push_back(info);
    names.push_back(typeName != nullptr ? typeName : "(null)");
  }
  std::vector<const ThingInfo*> infos;
  std::vector<std::string> names;
};

class LogicEventsTest : public ::testing::Test {
 protected:
  void SetUp() override { logic.Listeners.reset(new LumoList); }
  void TearDown() override { logic.DetachListeners(); }

  std::vector<std::string> heard;
  LineListener first{"first", heard};
  LineListener second{"second", heard};
  CLogic logic;
};

TEST(LogicStringLibrary, StartsWithTheSixteenUnitTypeNames) {
  CLogic logic;
  const char* names[] = {"not_used",  "UnitRat",    "UnitRaver",     "UnitSupporter", "UnitSuit",  "UnitPolice",
                         "UnitRiotsquad", "UnitBiker", "UnitSkin",   "UnitRozav",     "UnitLeader", "UnitChick",
                         "UnitYobbozer", "Innocent1", "Innocent2",  "Innocent3"};
  ASSERT_EQ(logic.GetStringCount(), 16);
  for (int32_t index = 0; index < 16; ++index) {
    EXPECT_STREQ(logic.GetString(index), names[index]);
  }
  EXPECT_EQ(logic.GetString(16), nullptr);
  EXPECT_EQ(logic.GetString(-1), nullptr);
  EXPECT_EQ(logic.AddString("UnitRozav"), 9);
  EXPECT_EQ(logic.AddString("Shop01"), 16);
  EXPECT_EQ(logic.AddString("shop01"), 17);
  EXPECT_EQ(logic.AddString("Shop01"), 16);
  EXPECT_EQ(logic.AddString(nullptr), -1);
  EXPECT_STREQ(logic.GetString(17), "shop01");
  EXPECT_EQ(logic.GetThing(1), nullptr);
}

TEST(LogicThingTable, LooksThingsUpById) {
  CLogic logic;
  logic.Things.reset(new LumoObjects(true));
  logic.Things->SetCount(3);
  (*logic.Things)[2] = new LumoObjects;  // not a thing
  EXPECT_EQ(logic.GetThing(2), nullptr);
  EXPECT_EQ(logic.GetThing(1), nullptr);
  EXPECT_EQ(logic.GetThing(3), nullptr);
  EXPECT_EQ(logic.GetThing(-1), nullptr);
}

TEST_F(LogicEventsTest, WithoutListenersEveryDispatcherReturns) {
  logic.NotifySpeech(1, 2, 3, 4);
  CLogic bare;
  bare.NotifyMap(nullptr);
  EXPECT_FALSE(bare.AddListener(&first));
  EXPECT_TRUE(heard.empty());
}

TEST_F(LogicEventsTest, EveryListenerHearsEachEventInListOrder) {
  ASSERT_TRUE(logic.AddListener(&first));
  ASSERT_TRUE(logic.AddListener(&second));
  EXPECT_FALSE(logic.AddListener(&second));
  EXPECT_FALSE(logic.AddListener(nullptr));
  logic.NotifyMap(nullptr);
  logic.NotifyAction(4, nullptr);
  logic.NotifyExit(5, 6);
  logic.NotifySpeech(1, 2, 3, 4);
  logic.NotifySelection(1, 9, 1);
  logic.NotifyGore(1, 2, 0.5f, 1);
  logic.NotifySplat(3, 4, 1.5f, 8);
  logic.NotifyParameter(2, 13, 400);
  logic.NotifyProjectile(1, 2, 3, 4, 5);
  logic.NotifyTimer(1, 30, "bus");
  logic.NotifyUnknownOrder(12, nullptr);
  logic.NotifySetObjectiveValue(3, 2, "flag");
  logic.NotifyNewTask(7, "go");
  const std::vector<std::string> events = {"Map",
                                           "Action 4",
                                           "Exit 5 6",
                                           "Speech 1 2 3 4",
                                           "Selection 1 9 1",
                                           "Gore 1 2 0.500000 1",
                                           "Splat 3 4 1.500000 8",
                                           "Parameter 2 13 400",
                                           "Projectile 1 2 3 4 5",
                                           "Timer 1 30 bus",
                                           "UnknownOrder 12",
                                           "Objective 3 2 flag",
                                           "Task 7 go"};
  std::vector<std::string> expected;
  for (const std::string& event : events) {
    expected.push_back("first: " + event);
    expected.push_back("second: " + event);
  }
  EXPECT_EQ(heard, expected);
}

// A listener that throws is named in the log; the listeners after it still
// hear the event, and nothing reaches the caller, so a display fault cannot
// cut one machine's frame short.
TEST_F(LogicEventsTest, ThrowingListenerIsLoggedAndTheOthersStillHear) {
  ASSERT_TRUE(logic.AddListener(&first));
  ASSERT_TRUE(logic.AddListener(&second));
  first.failing = "Speech";
  ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  EXPECT_NO_THROW(logic.NotifySpeech(1, 2, 3, 4));
  EXPECT_NO_THROW(logic.NotifySpeech(5, 6, 7, 8));
  logic.NotifyGore(1, 1, 1.0f, 1);
  SetDebugMode(DebugModeOff);
  EXPECT_EQ(heard, (std::vector<std::string>{"first: Speech 1 2 3 4", "second: Speech 1 2 3 4",
                                             "first: Speech 5 6 7 8", "second: Speech 5 6 7 8",
                                             "first: Gore 1 1 1.000000 1", "second: Gore 1 1 1.000000 1"}));
  const std::string log = testing_support::ReadDebugLog();
  EXPECT_NE(log.find("CLogic exception in first->EventSpeech\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("CLogic exception in second->"), std::string::npos) << log;
}

// A thing without a type name ("0") is announced with a null name.
TEST_F(LogicEventsTest, ThingNamedZeroComesWithoutName) {
  ThingCapture capture;
  ASSERT_TRUE(logic.AddListener(&capture));
  ThingInfo info;
  logic.NotifyThing(&info, "0");
  logic.NotifyThing(&info, "UnitRat");
  logic.NotifyThing(&info, "07");
  logic.NotifyThing(nullptr, nullptr);
  EXPECT_EQ(capture.names, (std::vector<std::string>{"(null)", "UnitRat", "07", "(null)"}));
  EXPECT_EQ(capture.infos, (std::vector<const ThingInfo*>{&info, &info, &info, nullptr}));
}

// Objective ticks grow the table to the tick, and each setting is said.
TEST_F(LogicEventsTest, VinkjeGrowsTheTicksAndIsSaid) {
  ASSERT_TRUE(logic.AddListener(&first));
  EXPECT_TRUE(logic.SetVinkje(5, true));
  ASSERT_EQ(logic.Vinkjes.count, 6);
  for (int32_t tick = 0; tick < 5; ++tick) {
    EXPECT_EQ(logic.Vinkjes[tick], 0) << tick;
  }
  EXPECT_EQ(logic.Vinkjes[5], CLogic::kVinkjeDone);
  EXPECT_TRUE(logic.SetVinkje(2, false));
  EXPECT_EQ(logic.Vinkjes[2], CLogic::kVinkjeNotDone);
  EXPECT_EQ(logic.Vinkjes.count, 6);
  EXPECT_TRUE(logic.SetVinkje(255, true));
  EXPECT_EQ(logic.Vinkjes.count, 256);
  ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  EXPECT_FALSE(logic.SetVinkje(-1, true));
  EXPECT_FALSE(logic.SetVinkje(256, true));
  SetDebugMode(DebugModeOff);
  EXPECT_EQ(logic.Vinkjes.count, 256);
  EXPECT_EQ(heard, (std::vector<std::string>{"first: Speech 0 5 21 1", "first: Speech 0 2 21 0",
                                             "first: Speech 0 255 21 1"}));
  const std::string log = testing_support::ReadDebugLog();
  EXPECT_NE(log.find("no objective tick -1"), std::string::npos) << log;
  EXPECT_NE(log.find("no objective tick 256"), std::string::npos) << log;
}

TEST_F(LogicEventsTest, BuildingMessageIsSpeechThreeEight) {
  ASSERT_TRUE(logic.AddListener(&first));
  logic.SayBuildingMessage(42);
  EXPECT_EQ(heard, (std::vector<std::string>{"first: Speech 3 42 8 0"}));
}

// The listeners belong to the game program: a logic that ends lets go of
// them without freeing them.
TEST_F(LogicEventsTest, EndingLogicLeavesListenersAlive) {
  {
    CLogic other;
    other.Listeners.reset(new LumoList);
    ASSERT_TRUE(other.AddListener(&first));
  }
  EXPECT_EQ(first.parent, nullptr);
  EXPECT_TRUE(logic.AddListener(&first));
}

}  // namespace
