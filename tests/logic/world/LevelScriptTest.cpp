// The level scripts of the plan on small levels: trains and trams that
// bring passengers, the pubs' income, buildings kept down, shoppers stopped
// and units or leaders that appear in buildings.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "VehicleFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/TriggerExports.h"
#include "logic/core/UnitInfo.h"
#include "logic/triggers/TriggerDontRepair.h"
#include "logic/triggers/GameOverLevel2Trigger.h"
#include "logic/triggers/TriggerMoneyMakinPub.h"
#include "logic/triggers/TriggerPlayerBus.h"
#include "logic/triggers/TriggerShoppingInnocents.h"
#include "logic/triggers/TriggerSpawnInBuilding.h"
#include "logic/triggers/TriggerTrainArrival.h"
#include "logic/triggers/YLTriggerTram.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTTrain.h"

namespace vehicle_testing {
namespace {

constexpr uint32_t kShopping = 1u << 9;
constexpr uint32_t kDoorsClosed = 1u << 28;

struct HeardTimer {
  int32_t framesLeft;
  std::string label;
};

class ScriptListener : public VehicleListener {
 public:
  void EventTimer(int32_t, int32_t framesLeft, const char* label) override {
    timers.push_back({framesLeft, label != nullptr ? label : ""});
  }
  std::vector<HeardTimer> timers;
};

class LevelScriptTest : public VehicleTest {
 protected:
  void SetUp() override {
    VehicleTest::SetUp();
    ASSERT_TRUE(LogicListener(&script));
    StopTraffic();
  }

  // The units inside a container, in the order they went in, as
  // "type/owner".
  std::vector<std::string> Inside(const YLTContainerThing& container) const {
    std::vector<std::string> units;
    for (int32_t index = 0; index < container.GetContainedCount(); ++index) {
      const YLUnit* unit = container.GetContainedThing(index);
      units.push_back(std::to_string(unit->Info->Gfx) + "/" + std::to_string(unit->Info->Owner));
    }
    return units;
  }
  static const char* LeaderName(const YLThing& thing) {
    const auto* info = dynamic_cast<const LeaderInfo*>(thing.Info.get());
    return info != nullptr ? info->LeaderName : nullptr;
  }
  // Fills every free slot of the thing table up to its last id with bare
  // things, so no thing id is free.
  void FillThingTable() {
    ASSERT_TRUE(Logic().Things->SetCount(CLogic::kMaxThings));
    for (int32_t id = 1; id < CLogic::kMaxThings; ++id) {
      if ((*Logic().Things)[id] == nullptr) {
        auto* thing = new YLThing;
        thing->CreateInfo(0);
        thing->Info->Tid = id;
        (*Logic().Things)[id] = thing;
      }
    }
  }

  ScriptListener script;
};

// ---- The train ----

// The trigger sets the train up (its old list cleared, the station, the
// owner, the types in order); the train itself then brings the units for
// its new owner when it stands at its station.
TEST_F(LevelScriptTest, TheTrainTriggerSetsUpItsTrainWhichBringsTheUnits) {
  auto* train = MakeAs<YLTTrain>("TransTrain", 0, 0, 0, 1);
  ASSERT_NE(train, nullptr);
  auto* conducter = dynamic_cast<YLTTrainConducter*>(train->GetDriver());
  ASSERT_NE(conducter, nullptr);
  conducter->StationX = 12;
  conducter->StationTime = 360;
  YLThing* station = Make("Obst01", 14, 30);
  ASSERT_NE(station, nullptr);
  train->AddPassengerType(9);
  train->SetStation(77);

  auto* trigger = new TriggerTrainArrival(train->GetTid(), Logic().Time + 3);
  trigger->StationID = station->GetTid();
  trigger->Team = 2;
  trigger->Types.AppendInt(3);
  trigger->Types.AppendInt(1);
  trigger->Types.AppendInt(10);
  Logic().InsertPlan(trigger, trigger->Time - Logic().Time);
  Run(3);
  ASSERT_EQ(train->PassengerTypes.count, 1) << "not yet due";
  EXPECT_EQ(train->StationID, 77);
  Run(1);
  ASSERT_EQ(train->PassengerTypes.count, 3);
  EXPECT_EQ(train->PassengerTypes[0], 3);
  EXPECT_EQ(train->PassengerTypes[1], 1);
  EXPECT_EQ(train->PassengerTypes[2], 10);
  EXPECT_EQ(train->StationID, station->GetTid());
  EXPECT_EQ(train->GetOwner(), 2);

  const size_t before = listener.things.size();
  ASSERT_TRUE(MoveThing(train->Info.get(), 4, 20, 0, 2));
  bool arrived = false;
  for (int32_t frame = 0; frame < 100 && !arrived; ++frame) {
    Run(1);
    arrived = train->Info->X == 12 && train->Info->MoveNumber == 0;
  }
  ASSERT_TRUE(arrived);
  Run(1);
  std::vector<std::string> made;
  for (size_t index = before; index < listener.things.size(); ++index) {
    if (auto* unit = dynamic_cast<YLUnit*>(Logic().GetThing(listener.things[index]))) {
      made.push_back(std::to_string(unit->Info->Gfx) + "/" + std::to_string(unit->Info->Owner));
    }
  }
  EXPECT_EQ(made, (std::vector<std::string>{"10/2", "1/2", "3/2"}));
}

// Only a train is set up: an id of another car, of nothing or outside the
// table changes nothing.
TEST_F(LevelScriptTest, TheTrainTriggerNeedsATrain) {
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 10, 10);
  ASSERT_NE(car, nullptr);
  for (const int32_t id : {car->GetTid(), 0, 999, -4}) {
    TriggerTrainArrival trigger(id, 0);
    trigger.Team = 2;
    trigger.Types.AppendInt(3);
    trigger.Execute(&Logic());
    EXPECT_EQ(car->GetOwner(), 0) << id;
  }
}

// ---- The tram ----

class TramTest : public LevelScriptTest {
 protected:
  void SetUp() override {
    LevelScriptTest::SetUp();
    tram = MakeAs<YLTCar>("Vehicle023-Tram", 6, 6);
    ASSERT_NE(tram, nullptr);
    ASSERT_EQ(tram->GetDriver(), nullptr);
  }
  void Fill(YLTriggerTram& trigger, std::vector<int32_t> types) const {
    trigger.TrainID = tram->GetTid();
    trigger.Xbegin = 20;
    trigger.Ybegin = 30;
    trigger.Xstop = 25;
    trigger.Ystop = 31;
    trigger.PID = 2;
    for (const int32_t type : types) {
      trigger.Types.AppendInt(type);
    }
  }
  YLTTrainConducter* Conducter() const { return dynamic_cast<YLTTrainConducter*>(tram->GetDriver()); }

  YLTCar* tram = nullptr;
};

// A tram without a driver gets a new conductor bound for the stop column;
// the tram goes to its player at the begin point with its doors closed, and
// the passengers are made inside it, the last listed first (type 10 a
// leader with the placeholder name).
TEST_F(TramTest, ATramWithoutDriverGetsAConducterAndItsPassengers) {
  const int32_t things = Logic().ThingCount;
  YLTriggerTram trigger;
  Fill(trigger, {3, 10, 1});
  trigger.Execute(&Logic());

  YLTTrainConducter* conducter = Conducter();
  ASSERT_NE(conducter, nullptr);
  EXPECT_EQ(Logic().GetThing(conducter->GetTid()), conducter);
  EXPECT_EQ(conducter->StationX, 25);
  EXPECT_EQ(conducter->StationTime, 360);
  EXPECT_FALSE(conducter->PassedStation);
  EXPECT_EQ(conducter->Info->X, 20);
  EXPECT_EQ(conducter->Info->Y, 30);
  EXPECT_EQ(Logic().GetThingAt(6, 6), nullptr) << "the tram left its cell";
  EXPECT_NE(Logic().GetThingAt(20, 30), conducter) << "the conductor is off the map";

  EXPECT_EQ(tram->GetOwner(), 2);
  EXPECT_EQ(tram->Info->X, 20);
  EXPECT_EQ(tram->Info->Y, 30);
  EXPECT_NE(tram->Info->Status & kDoorsClosed, 0u);
  EXPECT_EQ(Inside(*tram), (std::vector<std::string>{"1/2", "10/2", "3/2"}));
  EXPECT_STREQ(LeaderName(*tram->GetContainedThing(1)), "Joe Average");
  EXPECT_EQ(trigger.Types.count, 0) << "each type is used up";
  EXPECT_EQ(Logic().ThingCount, things + 4);
}

// A tram that has a driver keeps it: only the station is reset (the
// conductor stops there again and stands 360 ticks); its station column
// stays.
TEST_F(TramTest, ATramWithADriverKeepsItAndOnlyHasItsStationReset) {
  YLTriggerTram first;
  Fill(first, {});
  first.Execute(&Logic());
  YLTTrainConducter* conducter = Conducter();
  ASSERT_NE(conducter, nullptr);
  conducter->StationX = 7;
  conducter->StationTime = 5;
  conducter->PassedStation = true;
  const int32_t things = Logic().ThingCount;

  YLTriggerTram second;
  Fill(second, {3});
  second.Xstop = 40;
  second.Xbegin = 22;
  second.Execute(&Logic());
  EXPECT_EQ(Conducter(), conducter);
  EXPECT_EQ(conducter->StationX, 7);
  EXPECT_EQ(conducter->StationTime, 360);
  EXPECT_FALSE(conducter->PassedStation);
  EXPECT_EQ(conducter->Info->X, 22);
  EXPECT_EQ(Logic().ThingCount, things + 1) << "only the passenger is new";
}

// With every thing id taken no conductor is made (a logged line); the tram
// still comes, without one.
TEST_F(TramTest, NoConducterIsMadeWithoutAFreeThingId) {
  FillThingTable();
  YLTriggerTram trigger;
  Fill(trigger, {3});
  const std::string logged = Logged([&] { trigger.Execute(&Logic()); });
  EXPECT_EQ(tram->GetDriver(), nullptr);
  EXPECT_NE(logged.find("YLTriggerTram::Execute: no free thing id for the conductor"), std::string::npos) << logged;
  EXPECT_EQ(tram->GetOwner(), 2);
  EXPECT_EQ(tram->Info->X, 20);
  EXPECT_EQ(tram->GetContainedCount(), 0);
}

// Parked at the parking frame the tram shows no countdown; released by
// PlanLvl1TrainTriggersNow it does, and it runs at its offset.
TEST_F(TramTest, AParkedTramShowsNoCountdownUntilReleased) {
  Run(2);
  auto* parked = new YLTriggerTram;
  parked->TrainID = tram->GetTid();
  parked->PID = 2;
  parked->Xbegin = 20;
  parked->Ybegin = 30;
  parked->Time = kParkedFrame + 4;
  EXPECT_FALSE(parked->ShowsCountdown());
  Logic().InsertPlan(parked, parked->Time - Logic().Time);
  Logic().UpdateTimer();
  EXPECT_TRUE(script.timers.empty());

  PlanLvl1TrainTriggersNow();
  ASSERT_FALSE(script.timers.empty());
  for (const HeardTimer& timer : script.timers) {
    EXPECT_EQ(timer.framesLeft, 5);
    EXPECT_EQ(timer.label, "Tram arival");
  }
  Run(5);
  EXPECT_EQ(tram->GetOwner(), 0);
  Run(1);
  EXPECT_EQ(tram->GetOwner(), 2);
  EXPECT_NE(Conducter(), nullptr);
}

// A parked tram and a repeating trigger are kept by a saved game; after the
// load the tram is released and comes with its passengers.
TEST_F(TramTest, ScriptsSurviveASavedGame) {
  auto* parked = new YLTriggerTram;
  Fill(*parked, {3, 1});
  parked->Time = kParkedFrame + 2;
  Logic().InsertPlan(parked, parked->Time - Logic().Time);
  auto* repair = new TriggerDontRepair;
  repair->Buildings.AppendInt(tram->GetTid());
  Logic().InsertPlan(repair, 5);
  const int32_t tramId = tram->GetTid();
  ASSERT_TRUE(SaveAndLoad());

  std::vector<std::string> planned;
  auto walk = [&](LogicPlanItem* item) {
    for (; item != nullptr; item = item->Next) {
      if (dynamic_cast<YLTriggerTram*>(item) != nullptr || dynamic_cast<TriggerDontRepair*>(item) != nullptr) {
        char record[64] = {};
        item->GetRecordString(record, sizeof record);
        planned.push_back(record);
      }
    }
  };
  for (PlanList& list : Logic().Plan) {
    walk(list.first);
  }
  walk(Logic().PlanLongTerm.first);
  std::sort(planned.begin(), planned.end());
  EXPECT_EQ(planned, (std::vector<std::string>{"100000002: tram", "don't repair"}));

  tram = dynamic_cast<YLTCar*>(Logic().GetThing(tramId));
  ASSERT_NE(tram, nullptr);
  PlanLvl1TrainTriggersNow();
  Run(4);
  EXPECT_EQ(tram->GetOwner(), 2);
  EXPECT_EQ(Inside(*tram), (std::vector<std::string>{"1/2", "3/2"}));
}

// ---- The players' bus ----

class PlayerBusTest : public LevelScriptTest {
 protected:
  // Bare things take ids 1 to 436, so the next thing made is 437.
  void FillBelowTheBus() {
    ASSERT_TRUE(Logic().Things->SetCount(TriggerPlayerBus::kBusId));
    for (int32_t id = 1; id < TriggerPlayerBus::kBusId; ++id) {
      if ((*Logic().Things)[id] == nullptr) {
        auto* thing = new YLThing;
        thing->CreateInfo(0);
        thing->Info->Tid = id;
        (*Logic().Things)[id] = thing;
      }
    }
  }
  // The game-over triggers of the bus level in the plan, as "bus@time".
  std::vector<std::string> BusGameOvers() {
    std::vector<std::string> found;
    auto walk = [&](const LogicPlanItem* item) {
      for (; item != nullptr; item = item->Next) {
        if (const auto* trigger = dynamic_cast<const GameOverLevel2Trigger*>(item)) {
          found.push_back(std::to_string(trigger->Bus) + "@" + std::to_string(trigger->Time));
        }
      }
    };
    for (const PlanList& list : Logic().Plan) {
      walk(list.first);
    }
    walk(Logic().PlanLongTerm.first);
    return found;
  }
};

// Thing 437, a bus, comes in at the top of the map with its doors closed,
// room for 22 and 22 civilians of nobody aboard in the fixed order; the
// level's game over watches it from 24 frames on.
TEST_F(PlayerBusTest, TheBusGets22PassengersAndItsGameOver) {
  FillBelowTheBus();
  auto* bus = MakeAs<YLTCar>("Vehicle021-spelersbus", 20, 20, 0, 1);
  ASSERT_NE(bus, nullptr);
  ASSERT_EQ(bus->GetTid(), TriggerPlayerBus::kBusId);
  ASSERT_NE(bus->GetDriver(), nullptr);
  YLThing* driver = Logic().GetThing(bus->GetDriver()->GetDriverTid());
  ASSERT_NE(driver, nullptr);
  Run(3);

  TriggerPlayerBus trigger;
  trigger.Execute(&Logic());
  EXPECT_EQ(bus->Info->X, 67);
  EXPECT_EQ(bus->Info->Y, -10);
  EXPECT_EQ(bus->Info->Z, 0);
  EXPECT_EQ(bus->Info->Ori & 7, 5);
  EXPECT_EQ(driver->Info->X, 67);
  EXPECT_EQ(driver->Info->Y, -10);
  EXPECT_NE(bus->Info->Status & kDoorsClosed, 0u);
  ASSERT_NE(bus->GetContainerInfo(), nullptr);
  EXPECT_EQ(bus->GetContainerInfo()->GetMaxItems(), 22);

  const std::string suit = std::to_string(Logic().AddString("Innocent15-suit")) + "/0";
  const std::string chick = std::to_string(Logic().AddString("Innocent16-chick")) + "/0";
  std::vector<std::string> expected;
  for (int32_t round = 0; round < 7; ++round) {
    expected.insert(expected.end(), {"3/0", suit, chick});
  }
  expected.push_back("3/0");
  EXPECT_EQ(Inside(*bus), expected);
  EXPECT_EQ(BusGameOvers(), (std::vector<std::string>{"437@" + std::to_string(Logic().Time + 24)}));
}

// Without a car at 437 (a table too short, an empty slot, another thing)
// nothing happens.
TEST_F(PlayerBusTest, WithoutTheBusNothingHappens) {
  auto* early = MakeAs<YLTCar>("Vehicle021-spelersbus", 20, 20);
  ASSERT_NE(early, nullptr);
  TriggerPlayerBus trigger;
  trigger.Execute(&Logic());
  FillBelowTheBus();
  trigger.Execute(&Logic());
  ASSERT_TRUE(Logic().Things->SetCount(TriggerPlayerBus::kBusId + 1));
  trigger.Execute(&Logic());
  YLThing* house = Make("Home1", 30, 30);
  ASSERT_NE(house, nullptr);
  ASSERT_EQ(house->GetTid(), TriggerPlayerBus::kBusId);
  trigger.Execute(&Logic());
  EXPECT_EQ(early->Info->X, 20);
  EXPECT_EQ(early->GetContainedCount(), 0);
  EXPECT_TRUE(BusGameOvers().empty());
}

// ---- The pubs, the buildings, the shoppers ----

// Every player but the police earns from its pubs.
TEST_F(LevelScriptTest, PubMoneySkipsThePolice) {
  for (const int32_t id : {1, 2, 4}) {
    ASSERT_NE(Logic().CreatePlayer(id), nullptr);
  }
  for (int32_t id = 1; id <= 4; ++id) {
    CPlayer* player = Logic().GetPlayer(id);
    ASSERT_NE(player, nullptr) << id;
    player->SetParam(ParamPubs, id);
    player->SetParam(ParamMoney, 100);
    player->SetParam(ParamScoreCorrection, 0);
  }
  TriggerMoneyMakinPub pubs;
  pubs.Execute(&Logic());
  const int32_t money[] = {105, 110, 100, 120};
  const int32_t correction[] = {-250, -500, 0, -1000};
  for (int32_t id = 1; id <= 4; ++id) {
    EXPECT_EQ(Logic().GetPlayer(id)->GetParam(ParamMoney), money[id - 1]) << id;
    EXPECT_EQ(Logic().GetPlayer(id)->GetParam(ParamScoreCorrection), correction[id - 1]) << id;
  }
  EXPECT_EQ(pubs.GetFrequency(), 12u);
}

// A trashed building's hit points go to 0 each run; others are left alone;
// an id that names no building (none, a car, one destroyed since) leaves
// the list.
TEST_F(LevelScriptTest, DontRepairKeepsTrashedBuildingsDownAndDropsRemovedOnes) {
  auto* trashed = MakeAs<YLTBuilding>("Home1", 4, 4);
  auto* standing = MakeAs<YLTBuilding>("Home1", 20, 4);
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 30, 30);
  ASSERT_TRUE(trashed != nullptr && standing != nullptr && car != nullptr);
  trashed->StartMove(trashed->GetMoveInfo(YLTBuilding::kStateTrashed));
  ASSERT_EQ(trashed->GetState(), YLTBuilding::kStateTrashed);
  trashed->Info->Hp = 0.3f;
  standing->Info->Hp = 0.7f;

  TriggerDontRepair trigger;
  for (const int32_t id : {trashed->GetTid(), 999, standing->GetTid(), car->GetTid()}) {
    trigger.Buildings.AppendInt(id);
  }
  trigger.Execute(&Logic());
  EXPECT_EQ(trashed->Info->Hp, 0.0f);
  EXPECT_EQ(standing->Info->Hp, 0.7f);
  ASSERT_EQ(trigger.Buildings.count, 2);
  EXPECT_EQ(trigger.Buildings[0], trashed->GetTid());
  EXPECT_EQ(trigger.Buildings[1], standing->GetTid());

  const int32_t standingId = standing->GetTid();
  DestroyThing(standing->Info.get());
  ASSERT_EQ(Logic().GetThing(standingId), nullptr);
  trashed->Info->Hp = 0.2f;
  trigger.Execute(&Logic());
  EXPECT_EQ(trashed->Info->Hp, 0.0f);
  ASSERT_EQ(trigger.Buildings.count, 1);
  EXPECT_EQ(trigger.Buildings[0], trashed->GetTid());
}

// Every unit of the thing table stops shopping, also those whose ids lie
// above the count of things alive after deaths; other things are left
// alone.
TEST_F(LevelScriptTest, ShoppingStopsEveryUnitOfTheTable) {
  YLThing* building = Make("Home1", 30, 30);
  ASSERT_NE(building, nullptr);
  std::vector<YLThing*> units;
  for (int32_t index = 0; index < 8; ++index) {
    units.push_back(Make("Innocent1", 2 + 2 * index, 10));
    ASSERT_NE(units.back(), nullptr);
  }
  for (int32_t index = 0; index < 5; ++index) {
    Logic().ThingDied(units[static_cast<size_t>(index)]);
  }
  YLThing* last = units.back();
  ASSERT_GE(last->GetTid(), Logic().ThingCount) << "the last unit's id lies above the count";

  TriggerShoppingInnocents trigger;
  EXPECT_EQ(trigger.GetFrequency(), 10u);
  trigger.Execute(&Logic());
  for (const YLThing* unit : units) {
    EXPECT_NE(unit->Info->Status & kShopping, 0u) << unit->GetTid();
  }
  EXPECT_EQ(building->Info->Status & kShopping, 0u);
}

// ---- Spawning ----

TEST_F(LevelScriptTest, UnitsAndLeadersAppearInBuildingsOnly) {
  auto* pub = MakeAs<YLTBuilding>("Pub1", 10, 10);
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 30, 30);
  ASSERT_TRUE(pub != nullptr && car != nullptr);

  TriggerSpawnInBuilding unit;
  unit.Building = pub->GetTid();
  unit.Owner = 2;
  unit.Type = 7;
  unit.Execute(&Logic());
  TriggerSpawnLeaderInBuilding leader;
  leader.Building = pub->GetTid();
  leader.Owner = 1;
  SetCharStr(leader.Name, "Big Ron");
  leader.Execute(&Logic());
  ASSERT_EQ(Inside(*pub), (std::vector<std::string>{"7/2", "10/1"}));
  EXPECT_STREQ(LeaderName(*pub->GetContainedThing(1)), "Big Ron");

  // An id that names no building makes no unit and no leader anywhere.
  const int32_t things = Logic().ThingCount;
  for (const int32_t id : {car->GetTid(), 0, 999}) {
    unit.Building = id;
    unit.Execute(&Logic());
    leader.Building = id;
    leader.Execute(&Logic());
  }
  EXPECT_EQ(Logic().ThingCount, things);
  EXPECT_EQ(car->GetContainedCount(), 0);
}

}  // namespace
}  // namespace vehicle_testing
