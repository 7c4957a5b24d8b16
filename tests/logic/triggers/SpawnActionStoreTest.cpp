#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

#include "base/LumoMemoryStream.h"
#include "logic/triggers/ActionLevelFixture.h"
#include "logic/triggers/LogicPlanWarpZ.h"
#include "logic/triggers/TriggerFactories.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/YLTriggerActionCommand.h"
#include "logic/triggers/YLTriggerActionLvl7TicketMan.h"
#include "logic/triggers/YLTriggerActionSpawn.h"
#include "logic/triggers/YLTriggerActionTrain.h"
#include "logic/triggers/YLTriggerActionVehicleSpawn.h"

namespace {

using namespace action_testing;

// An action made by its editor name, then given its editor lines in order.
Owned MakeAction(const char* name, const std::vector<const char*>& settings) {
  Owned action(CreateTriggerAction(name));
  auto* made = dynamic_cast<YLTriggerAction*>(action.get());
  EXPECT_NE(made, nullptr) << name;
  for (size_t index = 0; made != nullptr && index < settings.size(); ++index) {
    EXPECT_LT(made->SetProperty(static_cast<int32_t>(index), settings[index]), 0) << name << " line " << index;
  }
  return action;
}

std::vector<std::string> Lines(LumoObject* object) {
  auto* action = dynamic_cast<YLTriggerAction*>(object);
  if (action == nullptr) {
    return {"(no action)"};
  }
  const EditorLines lines = ListOf(*action);
  std::vector<std::string> joined;
  for (size_t index = 0; index < lines.labels.size(); ++index) {
    joined.push_back(lines.labels[index] + "=" + lines.values[index]);
  }
  return joined;
}

struct StoreCase {
  const char* name;
  const char* className;
  std::vector<const char*> settings;
};

const StoreCase kStoreCases[] = {
    {"spawn", "YLTriggerActionSpawn", {"2", "11", "12", "3", "2", "10", "3"}},
    {"fixedidspawn",
     "YLTriggerActionFixedIDSpawn",
     {"0", "40", "50", "2", "21", "22", "1", "7", "-5", "g", "30", "31", "1", "1.5", "h"}},
    {"fixedidspawn", "YLTriggerActionFixedIDSpawn", {"1", "2", "17", "18", "1", "4"}},
    {"command", "YLTriggerActionCommand", {"1", "0", "5", "6", "2", "1", "2", "4", "9", "a", "1", "2", "0", "2.0"}},
    {"command", "YLTriggerActionCommand", {"0", "1", "33", "0", "x", "0", "0", "1", "0.5", "e"}},
    {"vehicle spawn",
     "YLTriggerActionVehicleSpawn",
     {"Vehicle033-BabyBenz", "6", "2", "10", "11", "3", "20", "21", "5", "100", "6", "2", "1", "12"}},
    {"lvl5 vehicle spawn",
     "YLTriggerActionVehicleSpawnLvl5",
     {"Vehicle021-spelersbus", "0", "1", "1", "2", "1", "3", "4", "8", "0", "1", "0", "7", "8"}},
    {"train", "YLTriggerActionTrain", {"4", "5", "6", "2", "2", "1", "9"}},
    {"tram", "YLTriggerActionTram", {"4", "5", "6", "2", "1", "10", "11", "12", "13", "14"}},
    {"lvl7 ticketman spawn", "YLTriggerActionLvl7TicketMan", {"3", "4", "99"}},
};

// Each action, set through the editor and held by a custom trigger, comes
// back from the trigger's stored form with the same lines and bytes.
TEST(SpawnActionStore, EachActionRoundTripsInsideACustomTrigger) {
  for (const StoreCase& test : kStoreCases) {
    SCOPED_TRACE(test.name);
    Owned action = MakeAction(test.name, test.settings);
    ASSERT_NE(action, nullptr);
    EXPECT_STREQ(action->GetClassName(), test.className);
    const std::vector<std::string> before = Lines(action.get());
    YLCustomTrigger trigger;
    trigger.Actions->Append(action.release());
    const Bytes bytes = SaveBytes(trigger);
    Owned loaded = LoadBytes(bytes);
    auto* copy = dynamic_cast<YLCustomTrigger*>(loaded.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->GetActionCount(), 1);
    EXPECT_STREQ(copy->GetAction(0)->GetClassName(), test.className);
    EXPECT_EQ(Lines(copy->GetAction(0)), before);
    EXPECT_EQ(SaveBytes(*copy), bytes);
  }
}

TEST(SpawnActionStore, DefaultsAndRecordTexts) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    const char* record;
  };
  const Case cases[] = {
      {"spawn", {"  #buildings=0", "  team=0", "  unit types=0"}, "spawn"},
      {"fixedidspawn",
       {"  in building=0: false", "  x=0", "  y=0", "  unit#=0", "  team=2", "  objectveid=0", "  weapongr=0",
        "  command=n (a,e,g,h,l,s,x)"},
       "spawn with fixed ids"},
      {"command", {"  create new=0: false", "  unit ids=0", "  objective=0", "  command=n (a,e,g,h,l,s,x)"},
       "command unit"},
      {"vehicle spawn",
       {"  name=Vehicle020-mebus", "  dr type=6", "  dr team=3", "  sx=0", "  sy=0", "  ori=0", "  dx=0", "  dy=0",
        "  objective=0", "  time z=0", "  weapon=0", "  spawn#=0"},
       "vehicle spawn"},
      {"lvl5 vehicle spawn",
       {"  name=Vehicle020-mebus", "  dr type=6", "  dr team=3", "  sx=0", "  sy=0", "  ori=0", "  dx=0", "  dy=0",
        "  objective=0", "  time z=0", "  weapon=0", "  spawn#=0", "  leader1=0", "  leader2=0"},
       "lvl5 vehicle spawn"},
      {"train", {"  trainid=0", "  stationid=0", "  delay=0", "  player=0", "  unit types=0"}, "train"},
      {"tram",
       {"  trainid=0", "  stationid=0", "  delay=0", "  player=0", "  unit types=0", "  beginX=0", "  beginY=0",
        "  stopX=0", "  stopY=0"},
       "tram"},
      {"lvl7 ticketman spawn", {"  x=0", "  y=0", "  brothel=0"}, "lvl7 ticketman spawn"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    Owned action = MakeAction(test.name, {});
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(Lines(action.get()), test.lines);
    char record[YLEditableObject::kRecordStringSize];
    dynamic_cast<YLTriggerAction*>(action.get())->GetRecordString(record, sizeof record);
    EXPECT_STREQ(record, test.record);
    // The index after the last line is handed back, not taken.
    EXPECT_EQ(dynamic_cast<YLTriggerAction*>(action.get())
                  ->SetProperty(static_cast<int32_t>(test.lines.size()) + 2, "1"),
              2);
  }
}

// The editor lists the lists with their indexes and the chain step by step;
// the stream and editor orders of the train differ.
TEST(SpawnActionStore, EditorLinesOfListsAndChains) {
  Owned fixed = MakeAction("fixedidspawn", kStoreCases[1].settings);
  EXPECT_EQ(Lines(fixed.get()),
            (std::vector<std::string>{"  in building=0: false", "  x=40", "  y=50", "  unit#=2", "   type[0]=21",
                                      "   type[1]=22", "  team=1", "  objectveid=7", "  weapongr=-5",
                                      "  command=goto", "  par1=30", "  par2=31", "  fast=1: true", "  mot=1.500",
                                      "  queue=hold", "  par1=0", "  par2=0", "  fast=0: false", "  mot=1.000",
                                      "  queue=n (a,e,g,h,l,s,x)"}));
  Owned inBuilding = MakeAction("fixedidspawn", kStoreCases[2].settings);
  EXPECT_EQ(Lines(inBuilding.get()),
            (std::vector<std::string>{"  in building=1: true", "  build#=2", "   b[0]=17", "   b[1]=18", "  unit#=1",
                                      "   type[0]=4", "  team=2", "  objectveid=0", "  weapongr=0",
                                      "  command=n (a,e,g,h,l,s,x)"}));
  // Switching "in building" off puts the place 0, 0 back.
  auto* spawn = dynamic_cast<YLTriggerActionFixedIDSpawn*>(inBuilding.get());
  ASSERT_LT(spawn->SetProperty(0, "0"), 0);
  EXPECT_EQ(Lines(inBuilding.get())[1], "  x=0");
  EXPECT_EQ(spawn->Places.count, 2);

  Owned command = MakeAction("command", kStoreCases[3].settings);
  EXPECT_EQ(Lines(command.get()),
            (std::vector<std::string>{"  create new=1: true", "  in cont=0: false", "  place x=5", "  place y=6",
                                      "  types=2", "   0:=1", "   1:=2", "  team=4", "  objective=9",
                                      "  command=attack", "  par1=1", "  par2=2", "  fast=0: false", "  mot=2.000",
                                      "  queue=n (a,e,g,h,l,s,x)"}));
  Owned spawnAction = MakeAction("spawn", kStoreCases[0].settings);
  EXPECT_EQ(Lines(spawnAction.get()),
            (std::vector<std::string>{"  #buildings=2", "   ID0=11", "   ID1=12", "  team=3", "  unit types=2",
                                      "   0=10", "   1=3"}));
  Owned train = MakeAction("train", kStoreCases[7].settings);
  auto* trainAction = dynamic_cast<YLTriggerActionTrain*>(train.get());
  EXPECT_EQ(trainAction->Delay, 6);
  EXPECT_EQ(trainAction->Team, 2);
  // Stored: train, station, team, then the delay.
  const Bytes bytes = SaveBytes(*trainAction);
  const Bytes storedOrder = [] {
    Bytes order;
    for (uint32_t value : {4u, 5u, 2u, 6u, 2u, 1u, 9u}) {
      const Bytes word = BigEndian(value);
      order.insert(order.end(), word.begin(), word.end());
    }
    return order;
  }();
  EXPECT_GE(Find(bytes, storedOrder), 0);
}

// A type line's letter replaces its step, which keeps the steps behind it;
// a letter that makes no step ends the chain there; the line after the
// last step appends.
TEST(SpawnActionStore, ChainEditorReplacesAppendsAndCloses) {
  Owned action = MakeAction("command", {"0", "0", "0", "g", "1", "2", "0", "1", "h", "0", "0", "0", "1", "x"});
  auto* command = dynamic_cast<YLTriggerActionCommand*>(action.get());
  ASSERT_NE(command, nullptr);
  ASSERT_EQ(command->Command.GetCount(), 3);
  // The first step becomes an attack; hold and leave stay behind it.
  ASSERT_LT(command->SetProperty(3, "a"), 0);
  std::vector<std::string> lines = Lines(action.get());
  EXPECT_EQ(lines[3], "  command=attack");
  EXPECT_EQ(lines[4], "  par1=0");
  EXPECT_EQ(lines[8], "  queue=hold");
  EXPECT_EQ(lines[13], "  queue=leave");
  EXPECT_EQ(command->Command.GetCount(), 3);
  // "n" on the second step closes the chain after the first.
  ASSERT_LT(command->SetProperty(8, "n"), 0);
  EXPECT_EQ(command->Command.GetCount(), 1);
  lines = Lines(action.get());
  EXPECT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines.back(), "  queue=n (a,e,g,h,l,s,x)");
  // An unknown letter on the append line adds nothing.
  ASSERT_LT(command->SetProperty(8, "q"), 0);
  EXPECT_EQ(command->Command.GetCount(), 1);
  ASSERT_LT(command->SetProperty(3, "n"), 0);
  EXPECT_EQ(command->Command.GetFirst(), nullptr);
  EXPECT_EQ(Lines(action.get()).back(), "  command=n (a,e,g,h,l,s,x)");
}

TEST(SpawnActionStore, FactoryRowsOfTheseActions) {
  struct Case {
    const char* name;
    const char* className;  // null: none
  };
  const Case cases[] = {
      {"tram", "YLTriggerActionTram"},
      {"trai", "YLTriggerActionTrain"},
      {"train", "YLTriggerActionTrain"},
      {"tra", nullptr},
      {"ve", "YLTriggerActionVehicleSpawn"},
      {"vehicle spawn", "YLTriggerActionVehicleSpawn"},
      {"vx", nullptr},
      {"va", nullptr},
      {"v", nullptr},
      {"sp", "YLTriggerActionSpawn"},
      {"s", nullptr},
      {"f", "YLTriggerActionFixedIDSpawn"},
      {"c", "YLTriggerActionCommand"},
      {"lvl5", "YLTriggerActionVehicleSpawnLvl5"},
      {"lvl7", "YLTriggerActionLvl7TicketMan"},
      {"lvl6", nullptr},
  };
  for (const Case& test : cases) {
    Owned action(CreateTriggerAction(test.name));
    if (test.className == nullptr) {
      EXPECT_EQ(action, nullptr) << test.name;
    } else {
      ASSERT_NE(action, nullptr) << test.name;
      EXPECT_STREQ(action->GetClassName(), test.className) << test.name;
    }
  }
}

// A stream that lacks a tag keeps the field's default; the building ids
// without their tag are a single id.
TEST(SpawnActionStore, MissingTagsKeepTheDefaults) {
  YLTriggerActionFixedIDSpawn fixed;
  fixed.WeaponLvl = 3;
  Bytes bytes = SaveBytes(fixed);
  ASSERT_TRUE(CutTag(bytes, "wpn:"));
  bytes.erase(bytes.end() - 4, bytes.end());
  ASSERT_TRUE(CutTag(bytes, "comm:"));
  const std::ptrdiff_t chainFlag = Find(bytes, BigEndian(static_cast<uint32_t>(YLTriggerActionFixedIDSpawn::kDefaultTeam)));
  ASSERT_GE(chainFlag, 0);
  // Behind the team and the objective stands the chain's presence byte.
  bytes.erase(bytes.begin() + chainFlag + 8);
  Owned loaded = LoadBytes(bytes);
  auto* fixedCopy = dynamic_cast<YLTriggerActionFixedIDSpawn*>(loaded.get());
  ASSERT_NE(fixedCopy, nullptr);
  EXPECT_EQ(fixedCopy->WeaponLvl, 0);
  EXPECT_EQ(fixedCopy->Command.GetFirst(), nullptr);

  YLTriggerActionCommand command;
  command.ObjectiveID = 9;
  ASSERT_TRUE(command.IDs.SetCount(1));
  command.IDs[0] = 44;
  bytes = SaveBytes(command);
  ASSERT_TRUE(CutTag(bytes, "obj:"));
  const std::ptrdiff_t objective = Find(bytes, BigEndian(9));
  ASSERT_GE(objective, 0);
  bytes.erase(bytes.begin() + objective, bytes.begin() + objective + 4);
  loaded = LoadBytes(bytes);
  auto* commandCopy = dynamic_cast<YLTriggerActionCommand*>(loaded.get());
  ASSERT_NE(commandCopy, nullptr);
  EXPECT_EQ(commandCopy->ObjectiveID, 0);
  ASSERT_EQ(commandCopy->IDs.count, 1);
  EXPECT_EQ(commandCopy->IDs[0], 44);

  YLTriggerActionVehicleSpawn vehicle;
  vehicle.HideDelay = 50;
  vehicle.WeaponLvl = 2;
  bytes = SaveBytes(vehicle);
  ASSERT_TRUE(CutTag(bytes, "weap:"));
  bytes.erase(bytes.end() - 4, bytes.end());
  ASSERT_TRUE(CutTag(bytes, "xtra:"));
  bytes.erase(bytes.end() - 8, bytes.end());
  loaded = LoadBytes(bytes);
  auto* vehicleCopy = dynamic_cast<YLTriggerActionVehicleSpawn*>(loaded.get());
  ASSERT_NE(vehicleCopy, nullptr);
  EXPECT_EQ(vehicleCopy->HideDelay, 0);
  EXPECT_EQ(vehicleCopy->WeaponLvl, 0);
  EXPECT_EQ(vehicleCopy->Passengers.count, 0);

  YLTriggerActionSpawn spawn;
  ASSERT_TRUE(spawn.BuildingIDs.SetCount(1));
  spawn.BuildingIDs[0] = 321;
  spawn.Team = 4;
  bytes = SaveBytes(spawn);
  ASSERT_TRUE(CutTag(bytes, "ids:"));
  const std::ptrdiff_t count = Find(bytes, Bytes{0, 0, 0, 1, 0, 0, 1, 0x41});
  ASSERT_GE(count, 0);
  bytes.erase(bytes.begin() + count, bytes.begin() + count + 4);
  loaded = LoadBytes(bytes);
  auto* spawnCopy = dynamic_cast<YLTriggerActionSpawn*>(loaded.get());
  ASSERT_NE(spawnCopy, nullptr);
  ASSERT_EQ(spawnCopy->BuildingIDs.count, 1);
  EXPECT_EQ(spawnCopy->BuildingIDs[0], 321);
  EXPECT_EQ(spawnCopy->Team, 4);
}

// A stored chain whose first record is no plan step leaves the chain empty
// and the rest of the action readable.
TEST(SpawnActionStore, AStoredChainOfAnotherClassIsLeftEmpty) {
  YLTriggerActionCommand command;
  command.Team = 0x11223344;
  ASSERT_TRUE(command.IDs.SetCount(1));
  command.IDs[0] = 77;
  Bytes bytes = SaveBytes(command);
  const std::ptrdiff_t team = Find(bytes, BigEndian(0x11223344));
  ASSERT_GE(team, 0);
  const auto presence = static_cast<size_t>(team + 4);
  ASSERT_EQ(bytes[presence], 0);
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(16, 1, 0));
  ASSERT_EQ(stream.SetGrowth(256), 256u);
  LogicPlanWarpZ foreign(5, -3);
  ASSERT_TRUE(stream.WriteObject(&foreign));
  bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(presence));
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(presence), stream.buffer, stream.buffer + stream.position);
  Owned loaded = LoadBytes(bytes);
  auto* copy = dynamic_cast<YLTriggerActionCommand*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Command.GetFirst(), nullptr);
  ASSERT_EQ(copy->IDs.count, 1);
  EXPECT_EQ(copy->IDs[0], 77);
}

// Hostile counts neither allocate nor crash: a stored count of 10^9 fails
// the load, an edited one keeps the list and is logged.
TEST(SpawnActionStore, HugeCountsAreRefused) {
  YLTriggerActionVehicleSpawn vehicle;
  vehicle.HideDelay = 0x0A0B0C0D;
  Bytes bytes = SaveBytes(vehicle);
  const std::ptrdiff_t hide = Find(bytes, BigEndian(0x0A0B0C0D));
  ASSERT_GE(hide, 0);
  const Bytes huge = BigEndian(1000000000u);
  std::copy(huge.begin(), huge.end(), bytes.begin() + hide + 4);
  EXPECT_EQ(LoadBytes(bytes), nullptr);

  Owned action = MakeAction("spawn", {"2", "5", "6", "0", "1", "3"});
  auto* spawn = dynamic_cast<YLTriggerActionSpawn*>(action.get());
  EXPECT_LT(spawn->SetProperty(0, "1000000000"), 0);
  EXPECT_EQ(spawn->BuildingIDs.count, 2);
  EXPECT_LT(spawn->SetProperty(4, "-1"), 0);
  EXPECT_EQ(spawn->Units.count, 1);
  EXPECT_EQ(Lines(action.get()).size(), 6u);
}

// A stream older than the actions' version word holds none of their
// fields: each action loads with its defaults.
TEST(SpawnActionStore, AnOlderStreamKeepsEveryDefault) {
  for (const StoreCase& test : kStoreCases) {
    SCOPED_TRACE(test.name);
    Owned fresh = MakeAction(test.name, {});
    Owned action = MakeAction(test.name, test.settings);
    ASSERT_TRUE(fresh && action);
    LumoMemoryStream stream;
    ASSERT_TRUE(stream.OpenNew(16, 1, 0));
    ASSERT_EQ(stream.SetGrowth(256), 256u);
    ASSERT_TRUE(action->SaveObject(&stream, kVersion_1_5_1_6));
    Owned loaded = LoadBytes(Bytes(stream.buffer, stream.buffer + stream.position));
    ASSERT_NE(loaded, nullptr);
    EXPECT_STREQ(loaded->GetClassName(), test.className);
    EXPECT_EQ(Lines(loaded.get()), Lines(fresh.get()));
  }
}

}  // namespace
