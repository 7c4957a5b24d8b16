// The level-script plan items as stored objects and in the editor: what
// each keeps through a stream, the stored layout of the train, the defaults
// of missing tags, damaged counts, and each one's labels, values and setter
// remainders.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "base/TextUtils.h"
#include "logic/triggers/TriggerDontRepair.h"
#include "logic/triggers/TriggerMoneyMakinPub.h"
#include "logic/triggers/TriggerPlayerBus.h"
#include "logic/triggers/TriggerShoppingInnocents.h"
#include "logic/triggers/TriggerSpawnInBuilding.h"
#include "logic/triggers/TriggerTrainArrival.h"
#include "logic/triggers/YLTriggerTram.h"
#include "logic/triggers/tStrings.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Item = std::unique_ptr<LogicPlanItem, tObjectDestroyer>;
using Loaded = std::unique_ptr<LumoObject, tObjectDestroyer>;

Bytes Save(LumoObject& object) {
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenNew(16, 1, 0));
  EXPECT_EQ(stream.SetGrowth(256), 256u);
  EXPECT_TRUE(object.SaveObject(&stream, 0));
  return Bytes(stream.buffer, stream.buffer + stream.position);
}

Loaded Load(Bytes bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream stream;
  EXPECT_TRUE(stream.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return Loaded(LoadObject(&stream, nullptr));
}

void PutU32(Bytes& bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    bytes.push_back(static_cast<uint8_t>(value >> shift));
  }
}

Bytes Marker(const std::string& text) {
  Bytes bytes;
  PutU32(bytes, static_cast<uint32_t>(text.size()));
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

std::string Ids(const tIdList& list) {
  std::string text;
  for (int32_t index = 0; index < list.count; ++index) {
    text += (index > 0 ? "," : "") + std::to_string(list[index]);
  }
  return text;
}

// Every field of an item, as one line.
std::string Fields(const LumoObject& object) {
  const auto& item = dynamic_cast<const LogicPlanItem&>(object);
  std::string text = std::string(item.GetClassName()) + " t" + std::to_string(item.Time);
  if (const auto* trigger = dynamic_cast<const ConditionTrigger*>(&item)) {
    text += " f" + std::to_string(trigger->Frequency);
  }
  if (const auto* train = dynamic_cast<const TriggerTrainArrival*>(&item)) {
    text += " types" + Ids(train->Types) + " train" + std::to_string(train->TrainID) + " station" +
            std::to_string(train->StationID) + " team" + std::to_string(train->Team);
  }
  if (const auto* tram = dynamic_cast<const YLTriggerTram*>(&item)) {
    text += " begin" + std::to_string(tram->Xbegin) + "," + std::to_string(tram->Ybegin) + " stop" +
            std::to_string(tram->Xstop) + "," + std::to_string(tram->Ystop) + " pid" + std::to_string(tram->PID);
  }
  if (const auto* repair = dynamic_cast<const TriggerDontRepair*>(&item)) {
    text += " buildings" + Ids(repair->Buildings);
  }
  if (const auto* shopping = dynamic_cast<const TriggerShoppingInnocents*>(&item)) {
    text += shopping->Shopping ? " shopping" : " not shopping";
  }
  if (const auto* spawn = dynamic_cast<const TriggerSpawnInBuilding*>(&item)) {
    text += " building" + std::to_string(spawn->Building) + " owner" + std::to_string(spawn->Owner) + " type" +
            std::to_string(spawn->Type);
  }
  if (const auto* leader = dynamic_cast<const TriggerSpawnLeaderInBuilding*>(&item)) {
    text += std::string(" name ") + (leader->Name != nullptr ? leader->Name : "(none)");
  }
  return text;
}

Item Train() {
  auto* train = new TriggerTrainArrival(17, 120);
  train->StationID = 18;
  train->Team = 4;
  train->Types.AppendInt(3);
  train->Types.AppendInt(10);
  return Item(train);
}

Item Tram() {
  auto* tram = new YLTriggerTram;
  tram->Time = 100000003;
  tram->TrainID = 21;
  tram->StationID = 22;
  tram->Team = 2;
  tram->Types.AppendInt(1);
  tram->Xbegin = -5;
  tram->Ybegin = 33;
  tram->Xstop = 40;
  tram->Ystop = 34;
  tram->PID = 2;
  return Item(tram);
}

Item Bus() {
  auto* bus = new TriggerPlayerBus;
  bus->Time = 900;
  return Item(bus);
}

Item Pubs() {
  auto* pubs = new TriggerMoneyMakinPub;
  pubs->Time = 3;
  return Item(pubs);
}

Item Repair() {
  auto* repair = new TriggerDontRepair;
  repair->Time = 31;
  repair->Frequency = 7;
  repair->Buildings.AppendInt(12);
  repair->Buildings.AppendInt(19);
  return Item(repair);
}

Item Shopping() {
  auto* shopping = new TriggerShoppingInnocents;
  shopping->Time = 44;
  shopping->Shopping = true;
  return Item(shopping);
}

Item Spawn() {
  auto* spawn = new TriggerSpawnInBuilding;
  spawn->Time = 60;
  spawn->Building = 9;
  spawn->Owner = 2;
  spawn->Type = 7;
  return Item(spawn);
}

Item Leader() {
  auto* leader = new TriggerSpawnLeaderInBuilding;
  leader->Time = 61;
  leader->Building = 8;
  leader->Owner = 1;
  SetCharStr(leader->Name, "Big Ron");
  return Item(leader);
}

struct Maker {
  const char* className;
  std::function<Item()> make;
};

const Maker kMakers[] = {
    {"TriggerTrainArrival", Train},      {"YLTriggerTram", Tram},
    {"TriggerPlayerBus", Bus},           {"TriggerMoneyMakinPub", Pubs},
    {"TriggerDontRepair", Repair},       {"TriggerShoppingInnocents", Shopping},
    {"TriggerSpawnInBuilding", Spawn},   {"TriggerSpawnLeaderInBuilding", Leader},
};

// ---- Streams ----

TEST(LevelScriptStream, EveryClassRoundTrips) {
  for (const Maker& maker : kMakers) {
    SCOPED_TRACE(maker.className);
    Item item = maker.make();
    ASSERT_STREQ(item->GetClassName(), maker.className);
    const Bytes bytes = Save(*item);
    Loaded loaded = Load(bytes);
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->GetClassName(), maker.className);
    EXPECT_EQ(Fields(*loaded), Fields(*item));
    EXPECT_EQ(Save(*loaded), bytes);
  }
}

// The train's record ends with its base's next-item flag and time, then its
// own properties in registration order: the passenger types as an id list,
// the train, the station, and the team behind its tag.
TEST(LevelScriptStream, TheTrainsBytesFollowItsRegistrationOrder) {
  Item train = Train();
  Bytes tail = {0};
  PutU32(tail, 120);
  PutU32(tail, 2);
  PutU32(tail, 3);
  PutU32(tail, 10);
  PutU32(tail, 17);
  PutU32(tail, 18);
  const Bytes tag = Marker("team:");
  tail.insert(tail.end(), tag.begin(), tag.end());
  PutU32(tail, 4);
  const Bytes bytes = Save(*train);
  ASSERT_GE(bytes.size(), tail.size());
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<std::ptrdiff_t>(tail.size())));
}

// Without the "team:" tag (and its value) a train or tram loads with team 1
// and everything else as stored.
TEST(LevelScriptStream, AMissingTeamTagGivesTeamOne) {
  for (auto make : {Train, Tram}) {
    Item item = make();
    Bytes bytes = Save(*item);
    Bytes tagged = Marker("team:");
    PutU32(tagged, static_cast<uint32_t>(dynamic_cast<TriggerTrainArrival&>(*item).Team));
    auto found = std::search(bytes.begin(), bytes.end(), tagged.begin(), tagged.end());
    ASSERT_NE(found, bytes.end());
    bytes.erase(found, found + static_cast<std::ptrdiff_t>(tagged.size()));
    Loaded loaded = Load(bytes);
    ASSERT_NE(loaded, nullptr) << item->GetClassName();
    dynamic_cast<TriggerTrainArrival&>(*item).Team = 1;
    EXPECT_EQ(Fields(*loaded), Fields(*item));
  }
}

// A stored id list whose count is larger than what the stream still holds
// fails the load before anything is allocated for it.
TEST(LevelScriptStream, AnIdListCountBeyondTheStreamFailsTheLoad) {
  const struct {
    Item (*make)();
    uint32_t count;
    uint32_t firstId;
  } cases[] = {{Train, 2, 3}, {Repair, 2, 12}, {Tram, 1, 1}};
  for (const auto& each : cases) {
    Item item = each.make();
    SCOPED_TRACE(item->GetClassName());
    Bytes bytes = Save(*item);
    Bytes list;
    PutU32(list, each.count);
    PutU32(list, each.firstId);
    auto found = std::search(bytes.begin(), bytes.end(), list.begin(), list.end());
    ASSERT_NE(found, bytes.end());
    Bytes huge;
    PutU32(huge, 0x7FFFFFFFu);
    std::copy(huge.begin(), huge.end(), found);
    EXPECT_EQ(Load(bytes), nullptr);
  }
}

// ---- The editor ----

std::vector<std::string> List(const tStrings& strings) {
  std::vector<std::string> texts;
  for (int32_t index = 0; index < strings.count; ++index) {
    texts.push_back(strings.Get(index));
  }
  return texts;
}

TEST(LevelScriptEditor, LabelsAndValues) {
  using Texts = std::vector<std::string>;
  const struct {
    Item (*make)();
    Texts labels;
    Texts values;
  } cases[] = {
      {Train, {"time", "train", "station", "team", "#units", "->0", "->1"}, {"120", "17", "18", "4", "2", "3", "10"}},
      {Tram,
       {"time", "train", "station", "team", "#units", "->0", "beginx", "beginy", "stopx", "stopy", "pid"},
       {"100000003", "21", "22", "2", "1", "1", "-5", "33", "40", "34", "2"}},
      {Bus, {"time"}, {"900"}},
      {Pubs, {"time", "freq"}, {"3", "12"}},
      {Repair, {"time", "freq", "build#", "bid[0]", "bid[1]"}, {"31", "7", "2", "12", "19"}},
      {Shopping, {"time", "freq"}, {"44", "10"}},
      {Spawn, {"time"}, {"60"}},
      {Leader, {"time"}, {"61"}},
  };
  for (const auto& each : cases) {
    Item item = each.make();
    SCOPED_TRACE(item->GetClassName());
    tStrings* labels = nullptr;
    tStrings* values = nullptr;
    item->GetProperties(labels, values);
    ASSERT_TRUE(labels != nullptr && values != nullptr);
    EXPECT_EQ(List(*labels), each.labels);
    EXPECT_EQ(List(*values), each.values);
  }
}

// Each setter takes its own positions and answers what remains; a count
// resizes the list (-1), a bad count changes nothing, a position past the
// entries changes nothing.
TEST(LevelScriptEditor, SettersAndTheirRemainders) {
  const struct {
    Item (*make)();
    int32_t index;
    const char* text;
    int32_t remainder;
    const char* fields;
  } cases[] = {
      {Train, 1, "9", -6, "TriggerTrainArrival t120 types3,10 train9 station18 team4"},
      {Train, 2, "5", -5, "TriggerTrainArrival t120 types3,10 train17 station5 team4"},
      {Train, 3, "6", -4, "TriggerTrainArrival t120 types3,10 train17 station18 team6"},
      {Train, 4, "3", -1, "TriggerTrainArrival t120 types3,10,0 train17 station18 team4"},
      {Train, 4, "0", -1, "TriggerTrainArrival t120 types train17 station18 team4"},
      {Train, 4, "-1", -1, "TriggerTrainArrival t120 types3,10 train17 station18 team4"},
      {Train, 4, "4097", -1, "TriggerTrainArrival t120 types3,10 train17 station18 team4"},
      {Train, 6, "44", -1, "TriggerTrainArrival t120 types3,44 train17 station18 team4"},
      {Train, 7, "1", 0, "TriggerTrainArrival t120 types3,10 train17 station18 team4"},
      {Tram, 4, "2", -6,
       "YLTriggerTram t100000003 types1,0 train21 station22 team2 begin-5,33 stop40,34 pid2"},
      {Tram, 6, "11", -5,
       "YLTriggerTram t100000003 types1 train21 station22 team2 begin11,33 stop40,34 pid2"},
      {Tram, 10, "4", -1,
       "YLTriggerTram t100000003 types1 train21 station22 team2 begin-5,33 stop40,34 pid4"},
      {Tram, 11, "4", 0,
       "YLTriggerTram t100000003 types1 train21 station22 team2 begin-5,33 stop40,34 pid2"},
      {Bus, 0, "950", -1, "TriggerPlayerBus t950"},
      {Bus, 1, "5", 0, "TriggerPlayerBus t900"},
      {Pubs, 1, "6", -1, "TriggerMoneyMakinPub t3 f6"},
      {Pubs, 2, "6", 0, "TriggerMoneyMakinPub t3 f12"},
      {Repair, 1, "5", -4, "TriggerDontRepair t31 f5 buildings12,19"},
      {Repair, 2, "1", -1, "TriggerDontRepair t31 f7 buildings12"},
      {Repair, 2, "-3", -1, "TriggerDontRepair t31 f7 buildings12,19"},
      {Repair, 4, "77", -1, "TriggerDontRepair t31 f7 buildings12,77"},
      {Repair, 5, "77", 0, "TriggerDontRepair t31 f7 buildings12,19"},
      {Shopping, 2, "1", 0, "TriggerShoppingInnocents t44 f10 shopping"},
      {Spawn, 1, "3", 0, "TriggerSpawnInBuilding t60 building9 owner2 type7"},
      {Leader, 1, "x", 0, "TriggerSpawnLeaderInBuilding t61 building8 owner1 type0 name Big Ron"},
  };
  for (const auto& each : cases) {
    Item item = each.make();
    SCOPED_TRACE(std::string(item->GetClassName()) + " " + std::to_string(each.index) + " " + each.text);
    EXPECT_EQ(item->SetProperty(each.index, each.text), each.remainder);
    EXPECT_EQ(Fields(*item), each.fields);
  }
}

// Record texts, countdowns and frequencies: the one-shot items run once,
// the conditions repeat; the train always shows its countdown, the tram
// only while not parked.
TEST(LevelScriptEditor, RecordTextsCountdownsAndFrequencies) {
  const struct {
    Item (*make)();
    const char* record;
    const char* countdown;  // null: none
    uint32_t frequency;
  } cases[] = {
      {Train, "120: train", "Train arival", 0},
      {Tram, "100000003: tram", nullptr, 0},
      {Bus, "900: player bus", "Playerbus arival", 0},
      {Pubs, "  3: money makin pub", nullptr, 12},
      {Repair, "don't repair", nullptr, 7},
      {Shopping, "stop shopping", nullptr, 10},
      {Spawn, " 60: unit spawn", nullptr, 0},
      {Leader, " 61: leader spawn", nullptr, 0},
  };
  for (const auto& each : cases) {
    Item item = each.make();
    SCOPED_TRACE(item->GetClassName());
    char record[64] = {};
    item->GetRecordString(record, sizeof record);
    EXPECT_STREQ(record, each.record);
    EXPECT_EQ(item->ShowsCountdown(), each.countdown != nullptr);
    if (each.countdown != nullptr) {
      char label[32] = {};
      EXPECT_STREQ(item->GetCountdownText(label, sizeof label), each.countdown);
      EXPECT_EQ(item->GetTime(), item->Time);
    }
    EXPECT_EQ(item->GetFrequency(), each.frequency);
  }
  Item tram = Tram();
  tram->Time = 99999999;
  EXPECT_TRUE(tram->ShowsCountdown());
  char label[32] = {};
  EXPECT_STREQ(tram->GetCountdownText(label, sizeof label), "Tram arival");
}

// The log line of each item: its class names from its own down to the
// plan item's time.
TEST(LevelScriptEditor, LogLines) {
  const struct {
    Item (*make)();
    const char* line;
  } cases[] = {
      {Train, "TriggerTrainArrival time=120\n"},
      {Tram, "YLTriggerTram TriggerTrainArrival time=100000003\n"},
      {Spawn, "TriggerSpawnInBuilding time=60\n"},
      {Leader, "TriggerSpawnLeaderInBuilding TriggerSpawnInBuilding time=61\n"},
      {Bus, "time=900\n"},
      {Repair, "ConditionTrigger freq=7 time=31\n"},
  };
  for (const auto& each : cases) {
    Item item = each.make();
    ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    item->PrintToLog();
    SetDebugMode(DebugModeOff);
    EXPECT_NE(testing_support::ReadDebugLog().find(each.line), std::string::npos) << each.line;
  }
}

}  // namespace
