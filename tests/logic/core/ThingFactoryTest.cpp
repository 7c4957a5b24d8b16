// The thing factory and the thing table's bookkeeping: which class and
// record a level's keyword makes, the vehicles with their drivers, and what
// happens when no id is free.

#include <cstring>
#include <string>

#include "LogicThingsFixture.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/YLTBusDriver.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTContainerThing.h"
#include "logic/world/YLTCup.h"
#include "logic/world/YLTTrain.h"
#include "logic/world/YLUnit.h"

namespace {

using logic_things_testing::LogicThingsTest;

struct FactoryCase {
  const char* keyword;
  const char* className;
  int32_t type;  // -1: the keyword's own new entry of the string library
  uint32_t statusBits;
  int32_t buildingType;  // -1: not checked
  int32_t orientation;
};

class ThingFactory : public LogicThingsTest, public ::testing::WithParamInterface<FactoryCase> {};

TEST_P(ThingFactory, MakesTheKindTheKeywordNames) {
  const FactoryCase& entry = GetParam();
  const int32_t libraryBefore = logic.GetStringCount();
  ThingInfo* info = logic.CreateThing(entry.keyword, 10, 12, 0, 4, 0);
  ASSERT_NE(info, nullptr);
  YLThing* thing = Thing(info);
  ASSERT_NE(thing, nullptr);
  EXPECT_STREQ(thing->GetClassName(), entry.className);
  const int32_t type = entry.type >= 0 ? entry.type : libraryBefore;
  EXPECT_EQ(info->Gfx, type);
  EXPECT_STREQ(logic.GetString(info->Gfx), entry.type >= 0 ? logic.GetString(entry.type) : entry.keyword);
  EXPECT_EQ(info->Status & entry.statusBits, entry.statusBits);
  if (entry.buildingType >= 0) {
    EXPECT_EQ(info->BuildingType, entry.buildingType);
  }
  EXPECT_EQ(info->Ori, entry.orientation);
  EXPECT_EQ(info->X, 10);
  EXPECT_EQ(info->Y, 12);
  EXPECT_EQ(logic.ThingCount, 1);
  ASSERT_EQ(listener.things.size(), 1u);
  EXPECT_EQ(listener.things[0], info->Tid);
  EXPECT_EQ(listener.names[0], logic.GetString(info->Gfx));
}

constexpr uint32_t kUnitBits = StatusAlive | StatusUpright;

INSTANTIATE_TEST_SUITE_P(
    Keywords, ThingFactory,
    ::testing::Values(FactoryCase{"UnitRaver", "YLUnitRaver", 2, kUnitBits, -1, 4},
                      FactoryCase{"UnitRatty", "YLUnitRat", 1, kUnitBits, -1, 4},
                      FactoryCase{"UnitSkin", "YLUnitHardCore", 8, kUnitBits, -1, 4},
                      FactoryCase{"UnitRiotsquad", "MEUnit", 6, kUnitBits, -1, 4},
                      FactoryCase{"UnitLeader", "YLUnitLeader", 10, kUnitBits, -1, 4},
                      FactoryCase{"UnitGhost", "YLUnit", -1, kUnitBits, -1, 4},
                      FactoryCase{"Owner3", "YLUnitShopOwner", -1, kUnitBits, -1, 4},
                      FactoryCase{"InnocentDriver", "YLUnitInnocentDriver", -1, kUnitBits, -1, 4},
                      FactoryCase{"Innocent15-Suit", "YLUnit", -1, kUnitBits, -1, 4},
                      FactoryCase{"Public1", "YLTBuilding", -1, StatusAlive, 9, 4},
                      FactoryCase{"Home2", "YLTBuilding", -1, StatusAlive, 1, 4},
                      FactoryCase{"Pub1", "YLTPub", -1, StatusAlive | StatusSellsToUnits, 3, 4},
                      FactoryCase{"Weapon", "YLTWeaponShop", -1, StatusAlive, 5, 4},
                      FactoryCase{"Dope", "YLTDopeHouse", -1, StatusAlive, 4, 4},
                      FactoryCase{"Girls", "YLTSexShop", -1, StatusAlive, 6, 4},
                      FactoryCase{"Hotel", "YLTSuitHangout", -1, StatusAlive, 7, 4},
                      FactoryCase{"Bank", "YLTBank", -1, StatusAlive, 12, 4},
                      FactoryCase{"PDept", "YLTPoliceDept", -1, StatusAlive, 13, 4},
                      FactoryCase{"PDept2", "YLTBuilding", -1, StatusAlive, 2, 4},
                      FactoryCase{"Shack", "YLTLoods", -1, StatusAlive, -1, 4},
                      FactoryCase{"Pushbarrier3", "YLTBaricade", -1, StatusAlive, -1, 3},
                      FactoryCase{"Pushbarrier", "YLTBaricade", -1, StatusAlive, -1, 4},
                      FactoryCase{"Movecrate", "YLTPushableThing", -1, StatusAlive, 11, 4},
                      FactoryCase{"Obst763_flowerfield", "YLTBloemBollen", -1, StatusAlive | StatusScenery, -1, 4},
                      FactoryCase{"Obst774", "YLTLvl11Fence", -1, StatusAlive | StatusScenery, -1, 4},
                      FactoryCase{"Scenery_tree", "YLThing", -1, StatusAlive | StatusScenery, -1, 4},
                      FactoryCase{"Brick01", "YLThing", -1, StatusAlive, 14, 4},
                      FactoryCase{"Lamppost", "YLThing", -1, StatusAlive, 0, 4}));

TEST_F(LogicThingsTest, AKeywordThatMatchesNothingJoinsTheStringLibraryOnce) {
  const int32_t before = logic.GetStringCount();
  ASSERT_NE(logic.CreateThing("Lamppost", 1, 1, 0, 0, 0), nullptr);
  ASSERT_NE(logic.CreateThing("Lamppost", 2, 2, 0, 0, 0), nullptr);
  EXPECT_EQ(logic.GetStringCount(), before + 1);
}

TEST_F(LogicThingsTest, AUnitMadeForAnOwnerMakesItsPlayerAndCounts) {
  ASSERT_EQ(logic.GetPlayer(2), nullptr);
  ThingInfo* rat = logic.CreateThing("UnitRat", 5, 5, 0, 0, 2);
  ASSERT_NE(rat, nullptr);
  CPlayer* player = logic.GetPlayer(2);
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(player->GetParam(ParamThings), 1);
  EXPECT_EQ(player->GetParam(ParamSelectable), 1);
  EXPECT_EQ(player->GetParam(ParamRats), 1);
  EXPECT_EQ(logic.Map->GetThingIDAt(5, 5), rat->Tid);
}

TEST_F(LogicThingsTest, ALeaderFromALevelIsNamedAndLeadsItsOwnGroup) {
  ThingInfo* info = logic.CreateThing("UnitLeader", 5, 5, 0, 0, 1);
  auto* leader = dynamic_cast<LeaderInfo*>(info);
  ASSERT_NE(leader, nullptr);
  EXPECT_STREQ(leader->LeaderName, "bla");
  EXPECT_EQ(leader->Leader, leader->Tid);
  EXPECT_FLOAT_EQ(leader->Armor, 0.2f);
  EXPECT_EQ(logic.GetPlayer(1)->GetLeaderID(1), leader->Tid);
}

TEST_F(LogicThingsTest, TheCupIsTheLogicsCup) {
  EXPECT_EQ(logic.GetCup(), nullptr);
  ThingInfo* info = logic.CreateThing("Cup", 7, 8, 0, 0, 3);
  ASSERT_NE(info, nullptr);
  ASSERT_NE(logic.GetCup(), nullptr);
  EXPECT_EQ(logic.GetCup()->Info.get(), info);
  EXPECT_EQ(info->Owner, 0);  // the carrier's id, none yet
  EXPECT_FLOAT_EQ(info->Armor, 1.0f);
  EXPECT_EQ(logic.Map->GetThingIDAt(7, 8), info->Tid);
}

// ---- Vehicles ----

struct VehicleCase {
  const char* keyword;
  uint8_t orientation;
  const char* className;
  int32_t vehicleType;  // as the status bits read it
  int32_t capacity;
  int32_t driverMode;  // -1: no driver
};

class VehicleFactory : public LogicThingsTest, public ::testing::WithParamInterface<VehicleCase> {};

TEST_P(VehicleFactory, TypeCapacityAndDriver) {
  const VehicleCase& entry = GetParam();
  ThingInfo* info = logic.CreateThing(entry.keyword, 16, 16, 0, entry.orientation, 0);
  ASSERT_NE(info, nullptr);
  auto* car = dynamic_cast<YLTCar*>(Thing(info));
  ASSERT_NE(car, nullptr);
  EXPECT_STREQ(car->GetClassName(), entry.className);
  EXPECT_EQ(car->GetVehicleType(), entry.vehicleType);
  EXPECT_EQ(car->GetContainerInfo()->MaxCarry, entry.capacity);
  auto* vehicle = dynamic_cast<VehicleInfo*>(info);
  ASSERT_NE(vehicle, nullptr);
  if (entry.driverMode < 0) {
    EXPECT_EQ(car->GetDriver(), nullptr);
    EXPECT_EQ(vehicle->DriverID, 0);
    EXPECT_EQ(logic.ThingCount, 1);
    return;
  }
  auto* driver = dynamic_cast<YLTBusDriver*>(logic.GetThing(vehicle->DriverID));
  ASSERT_NE(driver, nullptr);
  EXPECT_EQ(driver->Mode, entry.driverMode);
  EXPECT_TRUE(driver->IsDriving());
  EXPECT_EQ(logic.ThingCount, 2);
  // The driver sits in its bus, off the map; the bus stands on its cells.
  EXPECT_FALSE(logic.Map->IsListed(driver));
  EXPECT_EQ(logic.Map->GetThingIDAt(16, 16), info->Tid);
  EXPECT_EQ(listener.things, (std::vector<int32_t>{info->Tid, driver->GetTid()}));
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, VehicleFactory,
    ::testing::Values(VehicleCase{"Vehicle021-spelersbus", 1, "YLTCar", 5, 40, 6},
                      VehicleCase{"Vehicle021-spelersbus", 3, "YLTCar", 5, 40, 7},
                      VehicleCase{"Vehicle021-spelersbus", 5, "YLTCar", 5, 40, 0},
                      VehicleCase{"Vehicle038-bus2", 3, "YLTCar", 7, 40, 7},
                      VehicleCase{"Vehicle038-bus2", 5, "YLTCar", 7, 40, 0},
                      // The truck is a bus: its status bits read as the players' bus.
                      VehicleCase{"Vehicle026-truck", 5, "YLTCar", 5, 40, 8},
                      VehicleCase{"Vehicle026-truck", 1, "YLTCar", 5, 40, 6},
                      VehicleCase{"Vehicle026-truck", 2, "YLTCar", 5, 40, 0},
                      VehicleCase{"Vehicle026-van", 3, "YLTCar", 5, 40, 7},
                      // Placed on the map, the vehicle's own table decides
                      // the capacity: the Manta holds 7, the tram 150, the golf 5.
                      VehicleCase{"Vehicle022-Manta", 0, "YLTCar", 1, 7, -1},
                      VehicleCase{"Vehicle023-Tram", 0, "YLTCar", 4, 150, -1},
                      VehicleCase{"Vehicle020-mebus", 0, "YLTMEBus", 2, 13, -1},
                      VehicleCase{"Vehicle025-golf", 0, "YLTCar", 6, 5, -1},
                      VehicleCase{"Vehicle099-van", 0, "YLTCar", 0, 1, -1}));

TEST_F(LogicThingsTest, TheRiotBusIsArmoured) {
  ThingInfo* info = logic.CreateThing("Vehicle020-mebus", 16, 16, 0, 0, 3);
  ASSERT_NE(info, nullptr);
  EXPECT_FLOAT_EQ(info->Armor, 0.6f);
}

TEST_F(LogicThingsTest, TheTrainComesWithItsConducter) {
  ThingInfo* info = logic.CreateThing("TransTrain", 3, 3, 0, 0, 0);
  ASSERT_NE(info, nullptr);
  auto* train = dynamic_cast<YLTTrain*>(Thing(info));
  ASSERT_NE(train, nullptr);
  EXPECT_EQ(train->GetVehicleType(), YLTCar::kTypeTrain);
  EXPECT_EQ(info->X, YLTTrain::kStartX);
  EXPECT_EQ(info->Y, YLTTrain::kStartY);
  EXPECT_EQ(info->Ori, YLTTrain::kStartOrientation);
  auto* conducter = dynamic_cast<YLTTrainConducter*>(logic.GetThing(dynamic_cast<VehicleInfo*>(info)->DriverID));
  ASSERT_NE(conducter, nullptr);
  EXPECT_TRUE(conducter->IsDriving());
  EXPECT_EQ(logic.ThingCount, 2);
  EXPECT_EQ(listener.things.size(), 2u);
}

TEST_F(LogicThingsTest, AUnitMadeInsideAContainerIsAnnouncedWithItsEntry) {
  YLThing* pub = Thing(logic.CreateThing("Pub1", 10, 10, 0, 0, 0));
  ASSERT_NE(pub, nullptr);
  YLUnit* unit = logic.CreateUnit(3, 1, pub);
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->GetContainer(), pub);
  EXPECT_FALSE(logic.Map->IsListed(unit));
  ASSERT_EQ(listener.entries.size(), 1u);
  EXPECT_EQ(listener.entries[0], (std::vector<int32_t>{unit->GetTid(), pub->GetTid()}));
  EXPECT_EQ(listener.things.back(), unit->GetTid());
  EXPECT_EQ(logic.CreateUnit(3, 1, nullptr), nullptr);
  EXPECT_EQ(logic.CreateUnit(3, 1, unit), nullptr);
}

TEST_F(LogicThingsTest, ALeaderSpawnsInABuildingWithItsName) {
  YLThing* home = Thing(logic.CreateThing("Home1", 10, 10, 0, 0, 0));
  YLUnit* leader = logic.SpawnLeaderInBuilding("Boss", 2, home);
  ASSERT_NE(leader, nullptr);
  EXPECT_STREQ(dynamic_cast<LeaderInfo*>(leader->Info.get())->LeaderName, "Boss");
  EXPECT_EQ(leader->GetContainer(), home);
}

// ---- The thing table ----

TEST_F(LogicThingsTest, FreeIdsAreTheFirstGapThenTheTableEnd) {
  EXPECT_EQ(logic.FindFreeThingID(), 1);
  ThingInfo* first = logic.CreateThing("Lamppost", 1, 1, 0, 0, 0);
  ThingInfo* second = logic.CreateThing("Lamppost", 2, 1, 0, 0, 0);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->Tid, 1);
  EXPECT_EQ(second->Tid, 2);
  EXPECT_EQ(logic.FindFreeThingID(), 3);
  std::unique_ptr<YLThing, tObjectDestroyer> taken(logic.GetThing(1));
  (*logic.Things)[1] = nullptr;
  EXPECT_EQ(logic.FindFreeThingID(), 1);
}

TEST_F(LogicThingsTest, AddThingRefusesIdsOutsideTheTableAndTakenSlots) {
  ASSERT_NE(logic.CreateThing("Lamppost", 1, 1, 0, 0, 0), nullptr);
  for (const int32_t id : {0, -1, 1, CLogic::kMaxThings, CLogic::kMaxThings + 5}) {
    std::unique_ptr<YLThing, tObjectDestroyer> thing(new YLThing);
    thing->CreateInfo(0);
    thing->Info->Tid = id;
    const std::string log = Logged([&] { EXPECT_FALSE(logic.AddThing(thing.get())) << id; });
    EXPECT_NE(log.find("CLogic::AddThing: refused id"), std::string::npos) << id;
  }
  EXPECT_EQ(logic.ThingCount, 1);
  EXPECT_EQ(CountThings(), 1);
}

TEST_F(LogicThingsTest, TheLastIdIsStillGiven) {
  FillTable(1);
  EXPECT_EQ(logic.FindFreeThingID(), CLogic::kMaxThings - 1);
  ThingInfo* info = logic.CreateThing("Lamppost", 1, 1, 0, 0, 0);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Tid, CLogic::kMaxThings - 1);
  EXPECT_EQ(logic.FindFreeThingID(), 0);
}

// With no id free, or one where a vehicle needs two, nothing is made, nothing
// is counted or heard and nothing is left over (the sanitizer sees leaks).
TEST_F(LogicThingsTest, WithoutAFreeIdNothingIsMade) {
  for (const int32_t spare : {0, 1}) {
    FillTable(spare);
    const int32_t things = CountThings();
    const char* needTwo[] = {"TransTrain", "Vehicle021-spelersbus", "Vehicle026-truck"};
    for (const char* keyword : needTwo) {
      EXPECT_EQ(logic.CreateThing(keyword, 5, 5, 0, 1, 0), nullptr) << keyword;
    }
    if (spare == 0) {
      const char* needOne[] = {"UnitRat",          "UnitLeader", "Owner1", "Public1", "Pub1", "Shack",
                               "Vehicle022-Manta", "Cup",        "Push3",  "Lamppost"};
      for (const char* keyword : needOne) {
        EXPECT_EQ(logic.CreateThing(keyword, 5, 5, 0, 1, 1), nullptr) << keyword;
      }
      EXPECT_EQ(logic.GetCup(), nullptr);
      EXPECT_EQ(logic.CreateUnitAt(5, 5, 0, 0, 1, 1, nullptr), nullptr);
    }
    EXPECT_EQ(CountThings(), things);
    EXPECT_EQ(logic.ThingCount, 0);
    EXPECT_TRUE(listener.things.empty());
    EXPECT_EQ(logic.Map->GetThingIDAt(5, 5), 0);
  }
}

TEST_F(LogicThingsTest, ThingsAreFoundByCellAndByPosition) {
  ThingInfo* low = logic.CreateThing("Lamppost", 4, 4, 0, 0, 0);
  ThingInfo* high = logic.CreateThing("UnitRat", 4, 4, 0, 0, 0);
  ASSERT_NE(high, nullptr);
  EXPECT_EQ(logic.FindThingAtPosition(4, 4)->Info.get(), high);
  EXPECT_EQ(logic.GetThingAt(4, 4)->Info.get(), high);
  EXPECT_EQ(logic.GetThingAt(9, 9), nullptr);
  EXPECT_EQ(logic.FindThingAtPosition(9, 9), nullptr);
  EXPECT_NE(low, nullptr);
}

}  // namespace
