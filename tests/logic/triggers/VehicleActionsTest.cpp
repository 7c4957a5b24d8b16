#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logic/core/UnitInfo.h"
#include "logic/triggers/ActionLevelFixture.h"
#include "logic/triggers/LogicPlanItem.h"
#include "logic/triggers/TriggerTrainArrival.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/YLTriggerActionLvl7TicketMan.h"
#include "logic/triggers/YLTriggerActionTrain.h"
#include "logic/triggers/YLTriggerActionVehicleSpawn.h"
#include "logic/triggers/YLTriggerTram.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTBusDriver.h"
#include "logic/world/YLTCar.h"
#include "logic/world/YLTTrain.h"

namespace {

using namespace action_testing;

// The items of the near bucket due `delay` frames from now, front first.
std::vector<LogicPlanItem*> DueIn(CLogic& logic, uint32_t delay) {
  std::vector<LogicPlanItem*> items;
  for (LogicPlanItem* item = logic.Plan[(logic.Time + delay) % CLogic::kPlanSize].first; item != nullptr;
       item = item->Next) {
    items.push_back(item);
  }
  return items;
}

template <typename Kind>
Kind* OnlyDueIn(CLogic& logic, uint32_t delay) {
  const std::vector<LogicPlanItem*> items = DueIn(logic, delay);
  EXPECT_EQ(items.size(), 1u) << delay;
  return items.size() == 1 ? dynamic_cast<Kind*>(items[0]) : nullptr;
}

// A plan item's editor lines as "label=value".
std::vector<std::string> PlanItemLines(LogicPlanItem& item) {
  tStrings* labels = nullptr;
  tStrings* values = nullptr;
  item.GetProperties(labels, values);
  std::vector<std::string> lines;
  for (int32_t index = 0; index < labels->count; ++index) {
    lines.push_back(std::string(labels->Get(index)) + "=" + values->Get(index));
  }
  return lines;
}

class VehicleActionsTest : public ActionLevelTest {
 protected:
  YLTCar* NewestCar(int32_t from) {
    for (int32_t id = from; id < Logic().Things->count; ++id) {
      if (auto* car = dynamic_cast<YLTCar*>(Logic().GetThing(id))) {
        return car;
      }
    }
    return nullptr;
  }
};

// The vehicle sinks when the hide delay has passed and comes up again 44
// frames later.
TEST_F(VehicleActionsTest, HideDelaySinksTheVehicleAt100AndRaisesItAt144Frames) {
  YLTriggerActionVehicleSpawn spawn;
  spawn.DriverType = 0;
  spawn.SrcX = 20;
  spawn.SrcY = 20;
  ASSERT_LT(spawn.SetProperty(9, "100"), 0);
  const int32_t next = Logic().FindFreeThingID();
  spawn.Execute(&Logic(), nullptr);
  YLTCar* car = NewestCar(next);
  ASSERT_NE(car, nullptr);
  Run(100);
  EXPECT_EQ(car->Info->Z, 0);
  Run(1);
  EXPECT_EQ(car->Info->Z, YLTriggerActionVehicleSpawn::kHiddenHeight);
  Run(43);
  EXPECT_EQ(car->Info->Z, YLTriggerActionVehicleSpawn::kHiddenHeight);
  Run(1);
  EXPECT_EQ(car->Info->Z, 0);
}

TEST_F(VehicleActionsTest, WeaponLineKeepsTheSignedRemainderOfFour) {
  struct Case {
    const char* text;
    int32_t stored;
  };
  for (const Case& test : {Case{"6", 2}, Case{"-5", -1}, Case{"3", 3}, Case{"-8", 0}, Case{"x", 0}}) {
    YLTriggerActionVehicleSpawn spawn;
    EXPECT_LT(spawn.SetProperty(10, test.text), 0);
    EXPECT_EQ(spawn.WeaponLvl, test.stored) << test.text;
    EXPECT_EQ(ListOf(spawn).values[10], std::to_string(test.stored));
  }
}

// The vehicle comes without an owner; the driver at its wheel gives it its
// own. The driver heads for the destination, everyone's ids go to the
// objective, and the driver's type decides the passengers' ammunition.
TEST_F(VehicleActionsTest, VehicleSpawnSeatsItsDriverAndPassengersAndSendsTheirIds) {
  struct Case {
    int32_t driverType;
    int32_t weapon;
    bool rearmed;
    bool drives;  // a riot squad unit takes the wheel, a yobbozer does not
  };
  for (const Case& test : {Case{12, 2, true, false}, Case{6, 2, false, true}, Case{12, 0, false, false}}) {
    SCOPED_TRACE(test.driverType);
    listener.objectives.clear();
    YLTriggerActionVehicleSpawn spawn;
    SetCharStr(spawn.ResourceName, "Vehicle033-BabyBenz");
    spawn.DriverType = test.driverType;
    spawn.DriverOwner = 2;
    spawn.SrcX = 20;
    spawn.SrcY = 10 + 10 * static_cast<int32_t>(listener.things.size() % 4);
    spawn.DestX = 30;
    spawn.DestY = 31;
    spawn.ObjectiveID = 5;
    spawn.WeaponLvl = test.weapon;
    ASSERT_TRUE(spawn.Passengers.SetCount(2));
    spawn.Passengers[0] = 1;
    spawn.Passengers[1] = 12;
    const int32_t next = Logic().FindFreeThingID();
    spawn.Execute(&Logic(), nullptr);
    YLTCar* car = NewestCar(next);
    ASSERT_NE(car, nullptr);
    const std::vector<YLUnit*> units = UnitsFrom(next);
    ASSERT_EQ(units.size(), 3u);
    if (test.drives) {
      EXPECT_EQ(car->GetOwner(), 2);
      ASSERT_NE(car->GetDriver(), nullptr);
      EXPECT_EQ(car->GetDriver()->GetDriverThing(), units[0]);
    } else {
      EXPECT_EQ(car->GetOwner(), 0);
    }
    ASSERT_NE(units[0]->Plan.child, nullptr);
    EXPECT_EQ(units[0]->Plan.child->Param1, 30);
    EXPECT_EQ(units[0]->Plan.child->Param2, 31);
    std::string ids;
    for (YLUnit* unit : units) {
      EXPECT_EQ(unit->GetUnitInfo()->Weapon, test.weapon);
      EXPECT_EQ(unit->GetContainer(), car);
      ids += (ids.empty() ? "" : ",") + std::to_string(unit->GetTid());
    }
    ASSERT_EQ(listener.objectives.size(), 1u);
    EXPECT_EQ(listener.objectives[0], (ObjectiveText{5, 3, ids}));
    if (test.rearmed) {
      EXPECT_EQ(units[1]->GetUnitInfo()->Ammo, 3);
      EXPECT_EQ(units[2]->GetUnitInfo()->Ammo, 3);
    } else {
      EXPECT_NE(units[1]->GetUnitInfo()->Ammo, 3);
    }
  }
}

TEST_F(VehicleActionsTest, VehicleSpawnWithoutAResourceNameMakesNothing) {
  YLTriggerActionVehicleSpawn spawn;
  FreeCharStr(spawn.ResourceName);
  spawn.ObjectiveID = 5;
  const int32_t next = Logic().FindFreeThingID();
  spawn.Execute(&Logic(), nullptr);
  EXPECT_TRUE(UnitsFrom(next).empty());
  EXPECT_TRUE(listener.objectives.empty());
}

class LevelFiveTest : public VehicleActionsTest {
 protected:
  void SetUp() override {
    VehicleActionsTest::SetUp();
    FillIdsUpTo(YLTriggerActionVehicleSpawnLvl5::kCarId);
    car = MakeAs<YLTCar>("Vehicle021-spelersbus", 30, 30);
    ASSERT_NE(car, nullptr);
    ASSERT_EQ(car->GetTid(), YLTriggerActionVehicleSpawnLvl5::kCarId);
  }
  YLTCar* car = nullptr;
};

TEST_F(LevelFiveTest, TheCarGoesOnTheRoadForPlayerOneAndItsBusDriverTakesTheRoute) {
  auto* busDriver = dynamic_cast<YLTBusDriver*>(car->GetDriver()->GetDriverThing());
  ASSERT_NE(busDriver, nullptr);
  YLTriggerActionVehicleSpawnLvl5 spawn;
  spawn.DriverType = 0;
  spawn.Execute(&Logic(), nullptr);
  EXPECT_EQ(car->Info->X, -3);
  EXPECT_EQ(car->Info->Y, 40);
  EXPECT_EQ(car->Info->Ori, 1);
  EXPECT_EQ(car->GetOwner(), 1);
  EXPECT_EQ(busDriver->Mode, 6);
  EXPECT_EQ(busDriver->Info->X, -3);
  EXPECT_EQ(busDriver->Info->Y, 40);
}

// The two triggers are built through the editor: the filled car wins with
// both objective ticks, the car on the move loses.
TEST_F(LevelFiveTest, TwoTriggersArePlannedWithTheEditorListsOfTheLevelsEnd) {
  YLTriggerActionVehicleSpawnLvl5 spawn;
  spawn.DriverType = 6;
  spawn.DestX = 10;
  spawn.DestY = 12;
  spawn.ObjectiveID = 4;
  const int32_t next = Logic().FindFreeThingID();
  spawn.Execute(&Logic(), nullptr);
  const std::vector<YLUnit*> units = UnitsFrom(next);
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0]->GetContainer(), car);
  EXPECT_EQ(listener.objectives, (std::vector<ObjectiveText>{{4, 3, std::to_string(units[0]->GetTid())}}));

  const std::string carId = std::to_string(car->GetTid());
  auto* filled = OnlyDueIn<YLCustomTrigger>(Logic(), 3);
  auto* moving = OnlyDueIn<YLCustomTrigger>(Logic(), 4);
  ASSERT_NE(filled, nullptr);
  ASSERT_NE(moving, nullptr);
  const std::string now3 = std::to_string(Logic().Time + 3);
  const std::string now4 = std::to_string(Logic().Time + 4);
  const std::vector<std::string> filledLines = {
      "time=" + now3, "freq=10", "trigerid=0", "enable#=1", "int msg=16", "#conditions=1",
      " 0: type:=thing status", "  thing=" + carId, "  param=7", "  operator=>", "  value=0.000",
      "#actions=3", " 0: type:=victory 1 win", "  team=1", "  victory=1: true",
      " 1: type:=objective vinkje", "  ObjID=1", "  value=1: true",
      " 2: type:=objective vinkje", "  ObjID=2", "  value=1: true"};
  const std::vector<std::string> movingLines = {
      "time=" + now4, "freq=10", "trigerid=0", "enable#=1", "int msg=15", "#conditions=1",
      " 0: type:=thing status", "  thing=" + carId, "  param=1", "  operator==", "  value=1.000",
      "#actions=1", " 0: type:=victory 1 loose", "  team=1", "  victory=0: false"};
  EXPECT_EQ(PlanItemLines(*filled), filledLines);
  EXPECT_EQ(PlanItemLines(*moving), movingLines);
}

TEST_F(LevelFiveTest, NothingHappensWhenThingThreeHundredFiftyFourIsNoCar) {
  LevelFiveTest::TearDown();
  ActionLevelTest::SetUp();
  FillIdsUpTo(YLTriggerActionVehicleSpawnLvl5::kCarId + 1);
  YLTriggerActionVehicleSpawnLvl5 spawn;
  spawn.ObjectiveID = 4;
  const int32_t next = Logic().FindFreeThingID();
  spawn.Execute(&Logic(), nullptr);
  EXPECT_TRUE(UnitsFrom(next).empty());
  EXPECT_TRUE(DueIn(Logic(), 3).empty());
  EXPECT_TRUE(listener.objectives.empty());
}

TEST_F(VehicleActionsTest, TrainWithDelayZeroArrivesAtOnce) {
  auto* train = MakeAs<YLTTrain>("TransTrain", 0, 0);
  ASSERT_NE(train, nullptr);
  YLTriggerActionTrain action;
  action.TrainID = train->GetTid();
  action.StationID = 7;
  action.Team = 2;
  ASSERT_TRUE(action.Units.SetCount(2));
  action.Units[0] = 1;
  action.Units[1] = 9;
  action.Execute(&Logic(), nullptr);
  EXPECT_EQ(train->StationID, 7);
  EXPECT_EQ(train->GetOwner(), 2);
  ASSERT_EQ(train->PassengerTypes.count, 2);
  EXPECT_EQ(train->PassengerTypes[1], 9);
  for (uint32_t delay = 0; delay < CLogic::kPlanSize; ++delay) {
    for (LogicPlanItem* item : DueIn(Logic(), delay)) {
      EXPECT_EQ(dynamic_cast<TriggerTrainArrival*>(item), nullptr);
    }
  }
}

TEST_F(VehicleActionsTest, TramGetsTheTeamInBothItsTeamFieldsAndNoStation) {
  YLTriggerActionTram action;
  // Train lines: id, station, delay, player, the types; then the tram's.
  const char* settings[] = {"41", "7", "5", "2", "1", "10", "20", "21", "25", "26"};
  for (int32_t index = 0; index < 10; ++index) {
    ASSERT_LT(action.SetProperty(index, settings[index]), 0) << index;
  }
  EXPECT_EQ(action.SetProperty(10, "9"), 0);
  action.Execute(&Logic(), nullptr);
  auto* tram = OnlyDueIn<YLTriggerTram>(Logic(), 5);
  ASSERT_NE(tram, nullptr);
  EXPECT_EQ(tram->TrainID, 41);
  EXPECT_EQ(tram->StationID, 0);
  EXPECT_EQ(tram->Team, 2);
  EXPECT_EQ(tram->PID, 2);
  EXPECT_EQ(tram->Xbegin, 20);
  EXPECT_EQ(tram->Ybegin, 21);
  EXPECT_EQ(tram->Xstop, 25);
  EXPECT_EQ(tram->Ystop, 26);
  ASSERT_EQ(tram->Types.count, 1);
  EXPECT_EQ(tram->Types[0], 10);
  // The action keeps its own list.
  EXPECT_EQ(action.Units.count, 1);
}

TEST_F(VehicleActionsTest, TicketManHeadsForTheBrothelAndAloneCarriesTheMarker) {
  auto* marked = dynamic_cast<YLUnit*>(Make("UnitRat", 5, 5, 1));
  ASSERT_NE(marked, nullptr);
  marked->Info->Status |= StatusBurgled;
  YLThing* brothel = Make("Girls1", 30, 30);
  YLTriggerActionLvl7TicketMan action;
  action.X = 12;
  action.Y = 14;
  action.BrothelID = brothel->GetTid();
  const int32_t next = Logic().FindFreeThingID();
  action.Execute(&Logic(), nullptr);
  const std::vector<YLUnit*> units = UnitsFrom(next);
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0]->Info->Gfx, YLTriggerActionLvl7TicketMan::kUnitType);
  EXPECT_EQ(units[0]->GetOwner(), YLTriggerActionLvl7TicketMan::kPlayer);
  EXPECT_NE(units[0]->Info->Status & StatusBurgled, 0u);
  EXPECT_EQ(marked->Info->Status & StatusBurgled, 0u);
  ASSERT_NE(units[0]->Plan.child, nullptr);
  EXPECT_EQ(units[0]->Plan.child->Param1, brothel->GetTid());
  EXPECT_TRUE(units[0]->Plan.child->Fast);
}

}  // namespace
