// Vehicles: their type, capacity and body from their name, who may get in
// and who takes the wheel, driving down the road with everyone inside, and
// the scripted bus driver's route.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "VehicleFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/GroundMap.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTBusDriver.h"
#include "logic/world/YLTMEBus.h"
#include "logic/world/YLTTrain.h"
#include "logic/world/YLUnitBiker.h"

namespace vehicle_testing {
namespace {

constexpr float kDefaultArmor = -1.0f;

struct NameCase {
  const char* name;
  int32_t type;
  int32_t capacity;
  int32_t exitX;
  int32_t exitY;
  float armor;
  // Body cells per facing 0-7, not counting the own cell every map holds.
  int32_t cells[8];
};

const NameCase kNames[] = {
    {"Vehicle022-Manta", 1, 7, 0, 0, kDefaultArmor, {7, 7, 7, 7, 7, 7, 7, 7}},
    {"Vehicle020-mebus", 2, 13, 0, 0, 0.6f, {7, 7, 7, 7, 7, 7, 7, 7}},
    {"Vehicle023-Tram", 4, 150, 0, 0, kDefaultArmor, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"Vehicle021-spelersbus", 5, 40, 0, 2, kDefaultArmor, {1, 33, 1, 33, 1, 33, 1, 1}},
    {"Vehicle025-golf", 6, 5, 0, 0, kDefaultArmor, {7, 7, 7, 7, 7, 7, 7, 7}},
    {"Vehicle038-bus2", 7, 40, 0, 0, kDefaultArmor, {1, 33, 1, 33, 1, 33, 1, 1}},
    {"Vehicle026-truck", 5, 40, 0, 0, kDefaultArmor, {0, 0, 0, 0, 0, 14, 0, 0}},
    {"Vehicle032-BMWblue", 0, 1, 0, 0, kDefaultArmor, {7, 7, 7, 7, 7, 7, 7, 7}},
};

int32_t BodyCells(const GroundMap& ground, int32_t facing) { return ground.GetPointCount(facing) - 1; }

class VehiclesTest : public VehicleTest {};

TEST_F(VehiclesTest, TheNameGivesTypeCapacityEntranceArmourAndBody) {
  for (const NameCase& entry : kNames) {
    auto* car = MakeAs<YLTCar>(entry.name, 20, 20);
    ASSERT_NE(car, nullptr) << entry.name;
    const ContainerInfo* info = car->GetContainerInfo();
    EXPECT_EQ(car->GetVehicleType(), entry.type) << entry.name;
    EXPECT_EQ(info->GetMaxItems(), entry.capacity) << entry.name;
    EXPECT_EQ(info->ExitX, entry.exitX) << entry.name;
    EXPECT_EQ(info->ExitY, entry.exitY) << entry.name;
    EXPECT_FLOAT_EQ(info->Armor, entry.armor == kDefaultArmor ? VehicleInfo().Armor : entry.armor) << entry.name;
    ASSERT_NE(info->Ground, nullptr);
    for (int32_t facing = 0; facing < 8; ++facing) {
      EXPECT_EQ(BodyCells(*info->Ground, facing), entry.cells[facing]) << entry.name << " facing " << facing;
    }
    DestroyThing(car->Info.get());
  }
  auto* train = MakeAs<YLTTrain>("TransTrain", 0, 0);
  ASSERT_NE(train, nullptr);
  EXPECT_EQ(train->GetVehicleType(), YLTCar::kTypeTrain);
  EXPECT_EQ(train->GetContainerInfo()->GetMaxItems(), 150);
}

TEST_F(VehiclesTest, ACarsBackFacingsAreItsFrontFacingsTurnedHalfRound) {
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 20, 20);
  const GroundMap& ground = *car->Info->Ground;
  for (int32_t facing = 0; facing < 4; ++facing) {
    for (int32_t n = 0; n < ground.GetPointCount(facing); ++n) {
      int32_t dx = 0;
      int32_t dy = 0;
      ASSERT_TRUE(ground.GetPoint(facing, n, dx, dy));
      EXPECT_TRUE(ground.HasPoint(facing + 4, -dx, -dy)) << facing << ": " << dx << "," << dy;
    }
  }
  EXPECT_TRUE(ground.HasPoint(1, 3, -1));
  EXPECT_TRUE(ground.HasPoint(5, -3, 1));
}

TEST_F(VehiclesTest, ALoadSetsTheTypesCapacityAgainAndTheRiotBusHolds13) {
  auto* manta = MakeAs<YLTCar>("Vehicle022-Manta", 10, 10);
  auto* car = MakeAs<YLTCar>("Vehicle032-BMWblue", 10, 20);
  auto* riot = MakeAs<YLTMEBus>("Vehicle020-mebus", 10, 30);
  const int32_t ids[3] = {manta->GetTid(), car->GetTid(), riot->GetTid()};
  manta->SetMaxItems(3);
  car->SetMaxItems(4);  // a car of default capacity keeps what it had
  riot->SetVehicleType(YLTCar::kTypeCar);
  riot->SetMaxItems(2);
  ASSERT_TRUE(SaveAndLoad());
  const int32_t expected[3] = {7, 4, YLTMEBus::kCapacity};
  for (int32_t index = 0; index < 3; ++index) {
    auto* loaded = dynamic_cast<YLTCar*>(Logic().GetThing(ids[index]));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetContainerInfo()->GetMaxItems(), expected[index]) << index;
  }
}

TEST_F(VehiclesTest, TheRiotBusAdmitsOnlyThePoliceAndArrestedAndTakesItsDriversSide) {
  auto* bus = MakeAs<YLTMEBus>("Vehicle020-mebus", 20, 20, 0, 0);
  auto* fan = MakeAs<YLUnit>("UnitSupporter", 10, 10, 0, 1);
  auto* officer = MakeAs<YLUnit>("UnitRiot", 12, 10, 0, 3);
  EXPECT_FALSE(bus->CanEnter(fan));
  EXPECT_TRUE(bus->CanEnter(officer));
  fan->Info->Status |= YLTCar::kStatusArrested;
  EXPECT_TRUE(bus->CanEnter(fan));
  ASSERT_TRUE(EnterThing(officer->GetUnitInfo(), bus->GetContainerInfo()));
  ASSERT_NE(officer->AsDriver(), nullptr);
  EXPECT_EQ(bus->GetDriver(), officer->AsDriver());
  EXPECT_EQ(bus->GetOwner(), 3);
  EXPECT_EQ(dynamic_cast<const VehicleInfo*>(bus->Info.get())->DriverID, officer->GetTid());
  bus->SetMaxItems(1);
  EXPECT_FALSE(bus->CanEnter(fan));  // full
}

// A vehicle taking its driver's side is counted by that side and no more by
// the one it had: each side counts the things it owns, as a reload of the
// game counts them, and keeps doing so when the vehicle is destroyed.
TEST_F(VehiclesTest, AVehicleTakingItsDriversSideIsCountedByThatSideAlone) {
  ASSERT_TRUE(LogicPlayer(1));
  ASSERT_TRUE(LogicPlayer(2));
  const struct {
    const char* vehicle;
    int32_t vehicleOwner;
    const char* driver;
    int32_t driverOwner;
  } cases[] = {
      {"Vehicle022-Manta", 0, "UnitBiker", 1},
      {"Vehicle022-Manta", 2, "UnitBiker", 1},
      {"Vehicle020-mebus", 0, "UnitRiot", 3},
  };
  const int32_t players[] = {1, 2, 3};
  // What each side owns among the things of the game.
  const auto checkCounts = [&](const char* when) {
    for (const int32_t player : players) {
      int32_t owned = 0;
      for (int32_t id = 1; id < Logic().Things->count; ++id) {
        const YLThing* thing = Logic().GetThing(id);
        owned += thing != nullptr && thing->GetOwner() == player ? 1 : 0;
      }
      ASSERT_NE(Logic().GetPlayer(player), nullptr);
      EXPECT_EQ(Logic().GetPlayer(player)->GetParam(ParamThings), owned) << when << ", player " << player;
    }
  };
  int32_t x = 6;
  for (const auto& each : cases) {
    SCOPED_TRACE(std::string(each.vehicle) + " of " + std::to_string(each.vehicleOwner));
    auto* vehicle = MakeAs<YLTCar>(each.vehicle, x, 20, 0, each.vehicleOwner);
    auto* driver = MakeAs<YLUnit>(each.driver, x, 10, 0, each.driverOwner);
    ASSERT_TRUE(vehicle != nullptr && driver != nullptr);
    x += 12;
    ASSERT_TRUE(EnterThing(driver->GetUnitInfo(), vehicle->GetContainerInfo()));
    ASSERT_EQ(vehicle->GetOwner(), each.driverOwner);
  }
  checkCounts("driven");
  ASSERT_TRUE(SaveAndLoad());
  checkCounts("loaded");
  for (int32_t id = 1; id < Logic().Things->count; ++id) {
    if (auto* vehicle = dynamic_cast<YLTCar*>(Logic().GetThing(id))) {
      DestroyThing(vehicle->Info.get());
    }
  }
  checkCounts("destroyed");
}

TEST_F(VehiclesTest, ADriverLeavingHandsTheWheelToTheNextWhoCanDrive) {
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 20, 20, 0, 0);
  auto* first = MakeAs<YLUnitBiker>("UnitBiker", 10, 10, 0, 1);
  auto* passenger = MakeAs<YLUnit>("UnitSupporter", 12, 10, 0, 1);
  auto* second = MakeAs<YLUnitBiker>("UnitBiker", 14, 10, 0, 1);
  ASSERT_TRUE(EnterThing(first->GetUnitInfo(), car->GetContainerInfo()));
  ASSERT_TRUE(EnterThing(passenger->GetUnitInfo(), car->GetContainerInfo()));
  ASSERT_TRUE(EnterThing(second->GetUnitInfo(), car->GetContainerInfo()));
  EXPECT_EQ(car->GetOwner(), 1);
  EXPECT_TRUE(first->IsDriving());
  EXPECT_EQ(first->GetSituation(), 5);
  tString text;
  car->GetDebugText(text);
  EXPECT_EQ(std::string(text.text), "car - driven by " + std::to_string(first->GetTid()) + " (3)\n");
  car->Info->Status |= YLTCar::kStatusDoorsClosed;
  car->Leave(first);
  EXPECT_EQ(first->GetVehicle(), nullptr);
  EXPECT_TRUE(second->IsDriving());
  EXPECT_EQ((car->Info->Status & YLTCar::kStatusDoorsClosed), 0u);
  EXPECT_EQ(dynamic_cast<const VehicleInfo*>(car->Info.get())->DriverID, second->GetTid());
  car->Leave(second);
  car->GetDebugText(text);
  EXPECT_EQ(std::string(text.text), "car - not driven (1)\n");
  EXPECT_EQ(car->GetDriver(), nullptr);
}

TEST_F(VehiclesTest, ClosedDoorsKeepOutAllButTheDriverAndTheArrested) {
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 20, 20, 0, 0);
  auto* biker = MakeAs<YLUnitBiker>("UnitBiker", 10, 10, 0, 1);
  auto* other = MakeAs<YLUnit>("UnitSupporter", 12, 10, 0, 1);
  ASSERT_TRUE(EnterThing(biker->GetUnitInfo(), car->GetContainerInfo()));
  car->Info->Status |= YLTCar::kStatusDoorsClosed;
  EXPECT_FALSE(car->CanEnter(other));
  EXPECT_TRUE(car->CanEnter(biker));
  other->Info->Status |= YLTCar::kStatusArrested;
  EXPECT_TRUE(car->CanEnter(other));
  other->Info->Status &= ~YLTCar::kStatusArrested;
  car->Info->Status &= ~YLTCar::kStatusDoorsClosed;
  EXPECT_TRUE(car->CanEnter(other));
  // Nobody pushes a car with someone inside; an empty one moves.
  EXPECT_FALSE(car->Push(other));
  EXPECT_FLOAT_EQ(car->GetDamage(), 10.0f);
}

// A civilian at the wheel of a car on a free road, heading east.
class CivilianDrivingTest : public VehicleTest {
 protected:
  void SetUp() override {
    VehicleTest::SetUp();
    StopTraffic();
    car = MakeAs<YLTCar>("Vehicle032-BMWblue", 6, 20, 2, 0);
    driver = MakeAs<YLUnitInnocentDriver>("InnocentDriver", 5, 5, 0, 0);
    ASSERT_NE(car, nullptr);
    ASSERT_NE(driver, nullptr);
    car->SetMaxItems(2);
    ASSERT_TRUE(EnterThing(driver->GetUnitInfo(), car->GetContainerInfo()));
    ASSERT_TRUE(driver->IsDriving());
  }
  std::vector<HeardMove> CarMoves() const {
    std::vector<HeardMove> moves;
    for (const HeardMove& move : listener.moves) {
      if (move.id == car->GetTid() && move.code == 15) {
        moves.push_back(move);
      }
    }
    return moves;
  }

  YLTCar* car = nullptr;
  YLUnitInnocentDriver* driver = nullptr;
};

TEST_F(CivilianDrivingTest, TheCarDrivesDownTheRoadAtTheDriveMovesPaceWithEveryoneInside) {
  auto* passenger = MakeAs<YLUnit>("Innocent", 5, 7, 0, 0);
  ASSERT_TRUE(EnterThing(passenger->GetUnitInfo(), car->GetContainerInfo()));
  Run(40);
  const std::vector<HeardMove> moves = CarMoves();
  const int32_t pace = YLTCar::GetVehicleMove(15)->GetMoveTime(car->Info->Gfx, 2);
  ASSERT_GE(moves.size(), 5u);
  for (size_t index = 0; index < moves.size(); ++index) {
    EXPECT_EQ(moves[index].x, moves[0].x + static_cast<int32_t>(index)) << index;
    EXPECT_EQ(moves[index].y, 20);
  }
  EXPECT_EQ(car->Info->X, moves.back().x);
  EXPECT_EQ(static_cast<int32_t>(moves.size()), (40 - 2) / pace);
  for (const YLThing* rider : {static_cast<YLThing*>(driver), static_cast<YLThing*>(passenger)}) {
    EXPECT_EQ(rider->Info->X, car->Info->X);
    EXPECT_EQ(rider->Info->Y, car->Info->Y);
    EXPECT_EQ(rider->Info->Ori & 7, 2);
  }
}

TEST_F(CivilianDrivingTest, TheCarStopsBeforeABlockedCellAndRunsOverAUnit) {
  Make("Obst01", 16, 20);
  auto* walker = MakeAs<YLUnit>("UnitSupporter", 12, 21, 0, 1);
  Run(60);
  EXPECT_EQ(car->Info->X, 12);  // its front stands just before the obstacle
  EXPECT_EQ(walker->Info->Hp, 0.0f);
  EXPECT_EQ(walker->Info->Status & StatusAlive, 0u);
}

TEST_F(VehiclesTest, APassengerRidesAlongWhileItsDriverGoesItsWay) {
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 20, 20, 2, 0);
  auto* biker = MakeAs<YLUnitBiker>("UnitBiker", 10, 10, 0, 1);
  auto* passenger = MakeAs<YLUnit>("UnitSupporter", 12, 10, 0, 1);
  ASSERT_TRUE(EnterThing(biker->GetUnitInfo(), car->GetContainerInfo()));
  ASSERT_TRUE(EnterThing(passenger->GetUnitInfo(), car->GetContainerInfo()));
  auto go = [](YLUnit& unit, int32_t x, int32_t y) {
    auto* step = new PsychicPlanGoto(x, y, 1.0f, false);
    step->Expandable = false;
    unit.ExecutePlan(step);
  };
  go(*biker, 40, 20);
  go(*passenger, 40, 20);
  EXPECT_EQ(passenger->DoGoto(1.0f, 40, 20, false, 0), 32);  // the driver brings it
  go(*passenger, 40, 30);
  EXPECT_NE(passenger->DoGoto(1.0f, 40, 30, false, 0), 32);  // it gets out
  // The driver itself steers: the drive choice answers.
  EXPECT_EQ(biker->DoGoto(1.0f, 40, 20, false, 0), 15);
}

TEST_F(VehiclesTest, ADriverInACarIsMadeWayForByAnySide) {
  auto* car = MakeAs<YLTCar>("Vehicle022-Manta", 20, 20, 2, 1);
  auto* biker = MakeAs<YLUnitBiker>("UnitBiker", 10, 10, 0, 1);
  auto* stranger = MakeAs<YLUnit>("Innocent", 30, 30, 0, 0);
  ASSERT_TRUE(EnterThing(biker->GetUnitInfo(), car->GetContainerInfo()));
  stranger->ResetStimuli();
  ASSERT_TRUE(Logic().SendUnitMessage(biker, stranger->GetTid(), 3, 0.8f));
  stranger->ComputeReflexes();
  ASSERT_NE(stranger->Plan.child, nullptr);
  EXPECT_EQ(stranger->Plan.child->Action, OrderKind::kFuckOff);
}

TEST_F(VehiclesTest, ABusDriverStoresTheModeOfItsCode) {
  YLTBusDriver driver;
  EXPECT_EQ(driver.SetMode(23), 2);
  EXPECT_EQ(driver.Mode, 5);
}

TEST_F(VehiclesTest, ABusInModeZeroTurnsPastTheEdgeThenRunsItsRouteToItsStop) {
  auto* bus = MakeAs<YLTCar>("Vehicle021-spelersbus", 30, 30, 6, 0);
  ASSERT_NE(bus, nullptr);
  auto* driver = dynamic_cast<YLTBusDriver*>(bus->GetDriver());
  ASSERT_NE(driver, nullptr);
  driver->Mode = 0;
  driver->LockTime = 0;
  EXPECT_GT(driver->Decide(1), 0);
  EXPECT_EQ(bus->Info->MoveNumber, 15);  // the way ahead is free: on
  EXPECT_EQ(driver->Mode, 0);
  struct Step {
    int32_t x, y, mode, move;
  };
  const Step route[] = {
      {-17, 30, 1, 17}, {-17, 30, 2, 17}, {-17, 130, 3, 17}, {-17, 130, 4, 17}, {-17, 41, 5, 0},
  };
  for (const Step& step : route) {
    bus->Info->X = step.x;
    bus->Info->Y = step.y;
    driver->LockTime = 0;
    driver->Decide(1);
    EXPECT_EQ(driver->Mode, step.mode) << step.x << "," << step.y;
    EXPECT_EQ(bus->Info->MoveNumber, step.move) << step.x << "," << step.y;
  }
  bus->StartVehicleMove(15);
  driver->Decide(1);
  EXPECT_EQ(bus->Info->MoveNumber, 0);  // standing in mode 5
}

TEST_F(VehiclesTest, ABusStopsWhenTheWayAheadIsTaken) {
  auto* bus = MakeAs<YLTCar>("Vehicle021-spelersbus", 30, 30, 5, 0);
  auto* driver = dynamic_cast<YLTBusDriver*>(bus->GetDriver());
  ASSERT_NE(driver, nullptr);
  driver->Mode = 2;
  EXPECT_TRUE(driver->IsWayAheadFree());
  Make("Obst01", 28, 33);
  EXPECT_FALSE(driver->IsWayAheadFree());
  driver->LockTime = 0;
  driver->Decide(1);
  EXPECT_EQ(bus->Info->MoveNumber, 0);
}

}  // namespace
}  // namespace vehicle_testing

namespace vehicle_testing {
namespace {

// The riot bus is a police container: a unit jailed there walks to it,
// gets in and leaves the game; a car of no police side lets it go.
TEST_F(VehiclesTest, AUnitJailedInTheRiotBusGetsInAndLeavesTheGame) {
  StopTraffic();
  auto* bus = MakeAs<YLTMEBus>("Vehicle020-mebus", 20, 20, 0, 3);
  auto* car = MakeAs<YLTCar>("Vehicle032-BMWblue", 30, 30, 0, 0);
  auto* held = MakeAs<YLUnit>("UnitSupporter", 14, 19, 2, 1);
  auto* freed = MakeAs<YLUnit>("UnitSupporter", 34, 30, 2, 1);
  ASSERT_NE(bus, nullptr);
  ASSERT_NE(car, nullptr);
  ASSERT_NE(held, nullptr);
  ASSERT_NE(freed, nullptr);
  for (YLUnit* unit : {held, freed}) {
    unit->Info->Status |= YLUnit::kStatusArrested;
  }
  held->ExecutePlan(new PsychicPlanJailed(bus->GetTid(), 0, 1.0f, false));
  freed->ExecutePlan(new PsychicPlanJailed(car->GetTid(), 0, 1.0f, false));
  for (int32_t frame = 0; frame < 400 && (held->Info->Status & StatusAlive) != 0; ++frame) {
    Run(1);
  }
  EXPECT_EQ(held->Info->Status & StatusAlive, 0u);
  EXPECT_EQ(held->Info->Z, -6);
  EXPECT_NE(std::find(listener.entries.begin(), listener.entries.end(),
                      std::vector<int32_t>{held->GetTid(), bus->GetTid()}),
            listener.entries.end());
  EXPECT_EQ(freed->Info->Status & YLUnit::kStatusArrested, 0u);
  EXPECT_NE(freed->Info->Status & StatusAlive, 0u);
  EXPECT_EQ(freed->GetContainer(), nullptr);
}

}  // namespace
}  // namespace vehicle_testing
