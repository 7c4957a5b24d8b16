// The game-over and score triggers in streams and in the editor: every
// class comes back with its fields, the tagged fields are found by their
// tags, and the editor sees each class's labels in its own order.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GameOverLevelFixture.h"
#include "base/LumoClass.h"
#include "base/LumoMemoryStream.h"
#include "logic/triggers/GameOverLevel2Trigger.h"
#include "logic/triggers/GameOverLevel8Trigger.h"
#include "logic/triggers/GameOverScoreLimit.h"
#include "logic/triggers/GameOverTimeLimit.h"
#include "logic/triggers/GameOverTrigger.h"
#include "logic/triggers/GameOverTriggerSurvive.h"
#include "logic/triggers/GameOverTriggerUnitsInContainer.h"
#include "logic/triggers/ScoreTrigger.h"
#include "logic/triggers/ScoreTriggerLvl10.h"
#include "logic/triggers/ScoreTriggerLvl4.h"
#include "logic/triggers/ScoreTriggerStrategic.h"
#include "logic/triggers/tStrings.h"
#include "logic/world/YLTCar.h"

namespace game_over_testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Owned = std::unique_ptr<LumoObject, tObjectDestroyer>;

Bytes Save(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

Owned Load(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return Owned(LoadObject(&stream, nullptr));
}

Bytes Marker(const std::string& text) {
  Bytes bytes = {0, 0, 0, static_cast<uint8_t>(text.size())};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

Bytes Value(int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  return {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 8),
          static_cast<uint8_t>(bits)};
}

// Where the pattern starts in the bytes; npos when absent.
size_t Find(const Bytes& bytes, const Bytes& pattern) {
  const auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
  return found == bytes.end() ? std::string::npos : static_cast<size_t>(found - bytes.begin());
}

// Removes a tag and the 4-byte value behind it; false when absent.
bool Cut(Bytes& bytes, const std::string& tag) {
  const size_t at = Find(bytes, Marker(tag));
  if (at == std::string::npos) {
    return false;
  }
  const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(at);
  bytes.erase(from, from + static_cast<std::ptrdiff_t>(4 + tag.size() + 4));
  return true;
}

std::vector<std::string> Texts(const tStrings& list) {
  std::vector<std::string> texts;
  for (int32_t index = 0; index < list.count; ++index) {
    texts.emplace_back(list.Get(index));
  }
  return texts;
}

std::string Record(LogicPlanItem& item) {
  char buffer[YLEditableObject::kRecordStringSize] = {};
  item.GetRecordString(buffer, sizeof buffer);
  return buffer;
}

// One class of the table: an instance with every field off its default, the
// fields as a text to compare, and the record text at time 7.
struct StreamCase {
  const char* className;
  std::function<LogicPlanItem*()> make;
  std::function<std::string(LogicPlanItem&)> fields;
  uint32_t frequency;
  const char* record;
};

template <typename T>
std::string FieldsOf(LogicPlanItem& item, const std::function<std::string(T&)>& more) {
  auto* typed = dynamic_cast<T*>(&item);
  if (typed == nullptr) {
    return "not a " + std::string(item.GetClassName());
  }
  return std::to_string(item.Time) + " " + std::to_string(item.GetFrequency()) + " " + more(*typed);
}

std::string GameOverFields(GameOverTrigger& trigger) {
  return std::to_string(trigger.PID) + " " + std::to_string(trigger.LooseMsg) + " " +
         std::to_string(trigger.WinVinkje);
}

std::string Ids(const tIdList& list) {
  std::string text = "[";
  for (int32_t index = 0; index < list.count; ++index) {
    text += (index > 0 ? "," : "") + std::to_string(list[index]);
  }
  return text + "]";
}

template <typename T>
T* Made(T* item) {
  item->Time = 7;
  item->Frequency = 33;
  return item;
}

std::vector<StreamCase> StreamCases() {
  return {
      {"GameOverTrigger",
       [] {
         auto* item = Made(new GameOverTrigger(2));
         item->LooseMsg = 5;
         item->WinVinkje = 6;
         return item;
       },
       [](LogicPlanItem& item) { return FieldsOf<GameOverTrigger>(item, GameOverFields); }, 24, "  7: game over"},
      {"GameOverLevel2Trigger",
       [] {
         auto* item = Made(new GameOverLevel2Trigger);
         item->Bus = 17;
         item->WinVinkje = 2;
         return item;
       },
       [](LogicPlanItem& item) {
         return FieldsOf<GameOverLevel2Trigger>(
             item, [](GameOverLevel2Trigger& bus) { return GameOverFields(bus) + " bus " + std::to_string(bus.Bus); });
       },
       24, "  7: game over lvl 2"},
      {"GameOverLevel8Trigger",
       [] {
         auto* item = Made(new GameOverLevel8Trigger);
         item->PID = 1;
         item->WinVinkje = 9;
         return item;
       },
       [](LogicPlanItem& item) { return FieldsOf<GameOverLevel8Trigger>(item, GameOverFields); }, 24,
       "  7: game over lvl8"},
      {"GameOverTimeLimit", [] { return Made(new GameOverTimeLimit); },
       [](LogicPlanItem& item) {
         return FieldsOf<GameOverTimeLimit>(item, [](GameOverTimeLimit&) { return std::string(); });
       },
       10, "  7: game over time limit"},
      {"GameOverScoreLimit", [] { return Made(new GameOverScoreLimit(4500)); },
       [](LogicPlanItem& item) {
         return FieldsOf<GameOverScoreLimit>(item,
                                             [](GameOverScoreLimit& limit) { return std::to_string(limit.Limit); });
       },
       10, "  7: game over score limit"},
      {"ScoreTriggerStrategic", [] { return Made(new ScoreTriggerStrategic); },
       [](LogicPlanItem& item) {
         return FieldsOf<ScoreTriggerStrategic>(item, [](ScoreTriggerStrategic&) { return std::string(); });
       },
       10, "  7: strategic score trigger"},
      {"ScoreTrigger", [] { return Made(new ScoreTrigger(ParamBeerDrunk)); },
       [](LogicPlanItem& item) {
         return FieldsOf<ScoreTrigger>(item, [](ScoreTrigger& score) { return std::to_string(score.ScoringParam); });
       },
       10, "  7: contest(ParamBeerDrunk)"},
      {"ScoreTriggerLvl4",
       [] {
         auto* item = Made(new ScoreTriggerLvl4);
         item->Targets.AppendInt(12);
         item->Targets.AppendInt(-4);
         return item;
       },
       [](LogicPlanItem& item) {
         return FieldsOf<ScoreTriggerLvl4>(item, [](ScoreTriggerLvl4& score) { return Ids(score.Targets); });
       },
       10, "  7: lvl4 score"},
      {"ScoreTriggerLvl10",
       [] {
         auto* item = Made(new ScoreTriggerLvl10);
         item->Stadions.AppendInt(3);
         return item;
       },
       [](LogicPlanItem& item) {
         return FieldsOf<ScoreTriggerLvl10>(item, [](ScoreTriggerLvl10& score) { return Ids(score.Stadions); });
       },
       10, "  7: lvl10 score"},
      {"GameOverTriggerSurvive",
       [] {
         auto* item = Made(new GameOverTriggerSurvive);
         item->PID = 1;
         item->LooseMsg = 3;
         item->WinVinkje = 4;
         item->Period = 2000;
         item->UnitsCount = 5;
         item->LeadersCount = 2;
         item->WinMsg = 8;
         return item;
       },
       [](LogicPlanItem& item) {
         return FieldsOf<GameOverTriggerSurvive>(item, [](GameOverTriggerSurvive& survive) {
           return GameOverFields(survive) + " " + std::to_string(survive.Period) + " " +
                  std::to_string(survive.UnitsCount) + " " + std::to_string(survive.LeadersCount) + " " +
                  std::to_string(survive.WinMsg);
         });
       },
       24, "  7: game over: survive"},
      {"GameOverTriggerUnitsInContainer",
       [] {
         auto* item = Made(new GameOverTriggerUnitsInContainer);
         item->PID = 1;
         item->WinVinkje = 4;
         item->ContainerID = 40;
         item->UnitsCount = 6;
         item->LeadersCount = 1;
         item->WinMsg = 10;
         return item;
       },
       [](LogicPlanItem& item) {
         return FieldsOf<GameOverTriggerUnitsInContainer>(item, [](GameOverTriggerUnitsInContainer& inside) {
           return GameOverFields(inside) + " " + std::to_string(inside.ContainerID) + " " +
                  std::to_string(inside.UnitsCount) + " " + std::to_string(inside.LeadersCount) + " " +
                  std::to_string(inside.WinMsg);
         });
       },
       24, "  7: game over: unit in cont"},
  };
}

// Each class is registered under its name, made by its factory with its
// default frequency, and comes back from a stream field by field, writing
// the same bytes again.
TEST(GameOverStreams, EveryClassRoundTrips) {
  for (const StreamCase& each : StreamCases()) {
    SCOPED_TRACE(each.className);
    Owned made(CreateObject(each.className, nullptr));
    auto* fresh = dynamic_cast<LogicPlanItem*>(made.get());
    ASSERT_NE(fresh, nullptr);
    EXPECT_STREQ(fresh->GetClassName(), each.className);
    EXPECT_EQ(fresh->GetFrequency(), each.frequency);

    Owned original(each.make());
    auto& item = dynamic_cast<LogicPlanItem&>(*original);
    EXPECT_EQ(Record(item), each.record);
    const Bytes bytes = Save(item);
    Owned loaded = Load(bytes);
    auto* copy = dynamic_cast<LogicPlanItem*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->GetClassName(), each.className);
    EXPECT_EQ(each.fields(*copy), each.fields(item));
    EXPECT_EQ(Save(*copy), bytes);
  }
}

// The survival trigger's own fields follow its bases' in registration
// order: Period, UnitsCount, LeadersCount as plain values, then the tagged
// win message.
TEST(GameOverStreams, TheSurvivalTriggersBytesFollowItsRegistrationOrder) {
  GameOverTriggerSurvive trigger;
  trigger.PID = 1;
  trigger.LooseMsg = 3;
  trigger.WinVinkje = 4;
  trigger.Period = 2000;
  trigger.UnitsCount = 5;
  trigger.LeadersCount = 2;
  trigger.WinMsg = 8;
  const Bytes bytes = Save(trigger);
  Bytes expected;
  for (const Bytes& part : {Marker("PID:"), Value(1), Marker("lmsg:"), Value(3), Marker("vnkj:"), Value(4), Value(2000),
                            Value(5), Value(2), Marker("wmsg:"), Value(8)}) {
    expected.insert(expected.end(), part.begin(), part.end());
  }
  EXPECT_NE(Find(bytes, expected), std::string::npos);
  EXPECT_LT(Find(bytes, Marker("freq:")), Find(bytes, Marker("PID:")));
}

// A stream without a tag leaves that field at the class's default.
TEST(GameOverStreams, MissingTagsKeepTheDefaults) {
  const struct {
    const char* className;
    const char* tag;
    std::function<LogicPlanItem*()> make;
    std::function<int32_t(LogicPlanItem&)> field;
    int32_t expected;
  } cases[] = {
      {"GameOverLevel2Trigger", "PID:", [] { return new GameOverLevel2Trigger; },
       [](LogicPlanItem& item) { return dynamic_cast<GameOverTrigger&>(item).PID; }, 1},
      {"GameOverTrigger", "PID:", [] { return new GameOverTrigger(4); },
       [](LogicPlanItem& item) { return dynamic_cast<GameOverTrigger&>(item).PID; }, 0},
      {"GameOverTriggerSurvive", "wmsg:",
       [] {
         auto* item = new GameOverTriggerSurvive;
         item->WinMsg = 9;
         return item;
       },
       [](LogicPlanItem& item) { return dynamic_cast<GameOverTriggerSurvive&>(item).WinMsg; }, 0},
      {"GameOverTriggerUnitsInContainer", "vnkj:",
       [] {
         auto* item = new GameOverTriggerUnitsInContainer;
         item->WinVinkje = 9;
         return item;
       },
       [](LogicPlanItem& item) { return dynamic_cast<GameOverTrigger&>(item).WinVinkje; }, 0},
      {"GameOverLevel8Trigger", "freq:",
       [] {
         auto* item = new GameOverLevel8Trigger;
         item->Frequency = 3;
         return item;
       },
       [](LogicPlanItem& item) { return static_cast<int32_t>(item.GetFrequency()); }, 24},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(std::string(each.className) + " " + each.tag);
    Owned original(each.make());
    Bytes bytes = Save(dynamic_cast<LogicPlanItem&>(*original));
    ASSERT_TRUE(Cut(bytes, each.tag));
    Owned loaded = Load(bytes);
    auto* copy = dynamic_cast<LogicPlanItem*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(each.field(*copy), each.expected);
  }
}

// An id list whose stored count is larger than the stream holds fails the
// load before anything is allocated for it.
TEST(GameOverStreams, AnIdCountBeyondTheStreamFailsTheLoad) {
  for (const int32_t count : {3, 0x10000, 0x7FFFFFFF, -1}) {
    SCOPED_TRACE(count);
    ScoreTriggerLvl4 trigger;
    trigger.Targets.AppendInt(12);
    trigger.Targets.AppendInt(13);
    Bytes bytes = Save(trigger);
    const Bytes list = {0, 0, 0, 2, 0, 0, 0, 12, 0, 0, 0, 13};
    const size_t at = Find(bytes, list);
    ASSERT_NE(at, std::string::npos);
    const Bytes stored = Value(count);
    std::copy(stored.begin(), stored.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    // A record longer than its stream cannot hold the count's entries.
    bytes.resize(at + list.size());
    EXPECT_EQ(Load(bytes), nullptr);
  }
}

using GameOverReferencesTest = GameOverLevelTest;

// A loaded level keeps the bus trigger's id when it names a vehicle, and
// leaves the trigger without a bus when it names anything else.
TEST_F(GameOverReferencesTest, ALoadedBusTriggerFindsItsBusOrNone) {
  MakePlayers(2);
  auto* bus = MakeAs<YLTCar>("Vehicle021-spelersbus", 20, 20, 0, 1);
  YLThing* lamp = Make("Lamppost", 5, 5);
  ASSERT_TRUE(bus != nullptr && lamp != nullptr);
  const int32_t busId = bus->Info->Tid;
  auto* kept = new GameOverLevel2Trigger(bus);
  auto* lost = new GameOverLevel2Trigger(bus);
  lost->Bus = lamp->Info->Tid;
  Logic().InsertPlan(kept, 40);
  Logic().InsertPlan(lost, 50);

  LumoMemoryStream out;
  ASSERT_TRUE(out.OpenNew(64, 1, 0));
  ASSERT_EQ(out.SetGrowth(4096), 4096u);
  ASSERT_TRUE(LogicSave(&out));
  Bytes bytes(out.buffer, out.buffer + out.position);
  bytes.push_back(0);
  LumoMemoryStream in;
  ASSERT_TRUE(in.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  ASSERT_TRUE(LogicLoad(&in));

  std::vector<int32_t> buses;
  for (const LogicPlanItem* item = Logic().PlanLongTerm.first; item != nullptr; item = item->Next) {
    if (const auto* trigger = dynamic_cast<const GameOverLevel2Trigger*>(item)) {
      buses.push_back(trigger->Bus);
    }
  }
  EXPECT_EQ(buses, (std::vector<int32_t>{busId, 0}));
}

// The editor: each class's labels and values, and what SetProperty answers
// and changes position by position.
struct EditorCase {
  const char* className;
  std::function<LogicPlanItem*()> make;
  std::vector<std::string> labels;
  std::vector<std::string> values;
  // Set in turn: position, text, the answer.
  std::vector<std::tuple<int32_t, const char*, int32_t>> settings;
  // The values listed afterwards.
  std::vector<std::string> valuesAfter;
};

TEST(GameOverEditor, EveryClassListsAndSetsItsProperties) {
  const EditorCase cases[] = {
      {"GameOverTrigger", [] { return new GameOverTrigger(2); }, {"time", "freq", "pid", "loose msg", "win vinkje"},
       {"0", "24", "2", "0", "0"},
       {{1, "12", -4}, {2, "3", -3}, {3, "7", -2}, {4, "8", -1}, {5, "9", 0}, {8, "9", 3}},
       {"0", "12", "3", "7", "8"}},
      {"GameOverLevel2Trigger", [] { return new GameOverLevel2Trigger; },
       {"time", "freq", "pid", "loose msg", "win vinkje"}, {"0", "24", "1", "0", "0"},
       {{4, "5", -1}, {5, "17", 0}},
       {"0", "24", "1", "0", "5"}},
      {"GameOverLevel8Trigger", [] { return new GameOverLevel8Trigger; },
       {"time", "freq", "pid", "loose msg", "win vinkje"}, {"0", "24", "0", "0", "0"}, {{2, "1", -3}},
       {"0", "24", "1", "0", "0"}},
      {"GameOverTriggerSurvive", [] { return new GameOverTriggerSurvive; },
       {"time", "freq", "pid", "loose msg", "win vinkje", "leader#", "unit#", "period", "win msg"},
       {"0", "24", "0", "0", "0", "0", "0", "0", "0"},
       {{5, "2", -4}, {6, "10", -3}, {7, "3000", -2}, {8, "6", -1}, {9, "1", 0}},
       {"0", "24", "0", "0", "0", "2", "10", "3000", "6"}},
      {"GameOverTriggerUnitsInContainer", [] { return new GameOverTriggerUnitsInContainer; },
       {"time", "freq", "pid", "loose msg", "win vinkje", "container", "#leaders", "#units", "win msg"},
       {"0", "24", "0", "0", "0", "0", "0", "0", "0"},
       {{5, "44", -4}, {6, "1", -3}, {7, "4", -2}, {8, "12", -1}, {9, "1", 0}},
       {"0", "24", "0", "0", "0", "44", "1", "4", "12"}},
      {"GameOverTimeLimit", [] { return new GameOverTimeLimit; }, {"time", "freq"}, {"0", "10"},
       {{1, "5", -1}, {2, "5", 0}}, {"0", "5"}},
      {"ScoreTriggerStrategic", [] { return new ScoreTriggerStrategic; }, {"time", "freq"}, {"0", "10"},
       {{1, "30", -1}, {3, "5", 1}}, {"0", "30"}},
      {"GameOverScoreLimit", [] { return new GameOverScoreLimit(300); }, {"score limit"}, {"300"},
       {{0, "750", -1}, {1, "5", 0}, {2, "5", 1}}, {"750"}},
      {"ScoreTrigger", [] { return new ScoreTrigger(ParamMoney); }, {"param"}, {"ParamMoney"},
       {{0, "7", -1}, {1, "7", 0}}, {"ParamMoney"}},
      {"ScoreTriggerLvl4",
       [] {
         auto* item = new ScoreTriggerLvl4;
         item->Targets.AppendInt(21);
         return item;
       },
       {"time", "freq", "targets#", " tgt[0]"}, {"0", "10", "1", "21"},
       {{2, "3", -1}, {5, "66", -1}, {3, "44", -3}, {6, "1", 0}, {2, "-1", -1}, {2, "4097", -1}},
       {"0", "10", "3", "44", "0", "66"}},
      {"ScoreTriggerLvl10",
       [] {
         auto* item = new ScoreTriggerLvl10;
         item->Stadions.AppendInt(8);
         item->Stadions.AppendInt(9);
         return item;
       },
       {"time", "freq", "stadions", " std[0]", " std[1]"}, {"0", "10", "2", "8", "9"},
       {{4, "19", -1}, {2, "1", -1}, {4, "5", 0}, {2, "5000", -1}, {2, "0", -1}},
       {"0", "10", "0"}},
  };
  for (const EditorCase& each : cases) {
    SCOPED_TRACE(each.className);
    Owned owned(each.make());
    auto& item = dynamic_cast<LogicPlanItem&>(*owned);
    tStrings* labels = nullptr;
    tStrings* values = nullptr;
    item.GetProperties(labels, values);
    ASSERT_TRUE(labels != nullptr && values != nullptr);
    EXPECT_EQ(Texts(*labels), each.labels);
    EXPECT_EQ(Texts(*values), each.values);
    for (const auto& [position, text, answer] : each.settings) {
      EXPECT_EQ(item.SetProperty(position, text), answer) << position << " " << text;
    }
    item.GetProperties(labels, values);
    EXPECT_EQ(Texts(*values), each.valuesAfter);
  }
}

}  // namespace
}  // namespace game_over_testing
