// The highway traffic of a level: its lanes' timing, sending new and reused
// cars with their civilian drivers, the underpass, and its stored form.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "VehicleFixture.h"
#include "base/LumoMemoryStream.h"
#include "base/LumoObjects.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/YLHighwayTraffic.h"
#include "logic/world/YLUnitBiker.h"

namespace vehicle_testing {
namespace {

using Lane = YLHighwayTraffic::YLHighwayLane;

class HighwayTrafficTest : public VehicleTest {
 protected:
  YLHighwayTraffic& Traffic() {
    YLHighwayTraffic* found = nullptr;
    for (int32_t index = 0; Logic().Propagators != nullptr && index < Logic().Propagators->count; ++index) {
      if (auto* traffic = dynamic_cast<YLHighwayTraffic*>(Logic().Propagators->At(index))) {
        found = traffic;
      }
    }
    EXPECT_NE(found, nullptr);
    return *found;
  }
  Lane& FirstLane() { return *Traffic().CarLanes[0]; }
  // Only the first lane runs.
  void KeepFirstLaneOnly() {
    for (size_t index = 1; index < Traffic().CarLanes.size(); ++index) {
      Traffic().CarLanes[index]->SpawnTimer = Lane::kStopped;
    }
  }
  // A car off the road, standing where no lane passes.
  int32_t ParkedCar(int32_t x) {
    YLThing* car = Make("Vehicle033-BabyBenz", x, 40, 2);
    return car != nullptr ? car->GetTid() : 0;
  }
  // The first lane runs on the map from (40, 10) to the south-west, and a
  // wall across the map at x = 30 stops its cars.
  void BlockTheStreet() {
    Lane& lane = FirstLane();
    lane.StartX = 40;
    lane.StartY = 10;
    lane.EndX = 2;
    lane.EndY = 40;
    lane.Delay = 100000;  // this street has no underpass
    for (int32_t y = 0; y < kMapSize; ++y) {
      Grid().SetOccupied(30, y, true);
    }
  }
  int32_t CountCars() {
    int32_t count = 0;
    for (int32_t id = 1; id < Logic().Things->count; ++id) {
      count += dynamic_cast<YLTCar*>(Logic().GetThing(id)) != nullptr ? 1 : 0;
    }
    return count;
  }
};

TEST_F(HighwayTrafficTest, EveryNewLevelHasItsTraffic) {
  int32_t traffics = 0;
  for (int32_t index = 0; index < Logic().Propagators->count; ++index) {
    traffics += dynamic_cast<YLHighwayTraffic*>(Logic().Propagators->At(index)) != nullptr ? 1 : 0;
  }
  EXPECT_EQ(traffics, 1);
  EXPECT_EQ(Traffic().CarLanes.size(), 6u);
}

TEST_F(HighwayTrafficTest, AStoppedLaneSendsNothingAndKeepsItsPassedCars) {
  FirstLane().EndX = 10;
  const int32_t passed = ParkedCar(2);  // west of lane 1's end
  Traffic().StopLane(5);
  Traffic().StopLane(1);
  FirstLane().Cars.Append(passed);
  Run(100);
  EXPECT_EQ(FirstLane().Cars.count, 1);
  EXPECT_EQ(Traffic().OffTheRoad.count, 0);
  EXPECT_EQ(CountCars(), 1);
  FirstLane().SpawnTimer = 0;
  Run(1);
  EXPECT_EQ(FirstLane().Cars.count, 0);  // once open, the passed car leaves the road
  ASSERT_EQ(Traffic().OffTheRoad.count, 1);
  EXPECT_EQ(Traffic().OffTheRoad[0], passed);
}

TEST_F(HighwayTrafficTest, NoCarComesWithinFifteenFramesOfTheLast) {
  KeepFirstLaneOnly();
  // Were the lane to draw in its pause, one of these rounds would send a car.
  for (int32_t round = 0; round < 12; ++round) {
    Traffic().SpawnCar(Logic(), FirstLane());
    const int32_t cars = FirstLane().Cars.count;
    Run(14);
    EXPECT_EQ(FirstLane().SpawnTimer, 14);
    EXPECT_EQ(FirstLane().Cars.count, cars) << round;
  }
  // Past the pause the lane draws each frame and, one time in 15, sends.
  Run(300);
  EXPECT_GT(FirstLane().Cars.count, 12);
}

TEST_F(HighwayTrafficTest, FiveCarsOffTheRoadStillMakeANewCarSixAreReused) {
  KeepFirstLaneOnly();
  for (int32_t index = 0; index < 5; ++index) {
    Traffic().OffTheRoad.Append(ParkedCar(2 + 2 * index));
  }
  const int32_t before = CountCars();
  Traffic().SpawnCar(Logic(), FirstLane());
  EXPECT_EQ(CountCars(), before + 1);
  EXPECT_EQ(Traffic().OffTheRoad.count, 5);
  const int32_t made = FirstLane().Cars[0];
  auto* car = dynamic_cast<YLTCar*>(Logic().GetThing(made));
  ASSERT_NE(car, nullptr);
  EXPECT_EQ(car->Info->X, FirstLane().StartX);
  EXPECT_EQ(car->Info->Y, FirstLane().StartY);
  EXPECT_EQ(car->Info->Ori & 7, 5);
  EXPECT_NE(dynamic_cast<YLUnitInnocentDriver*>(car->GetDriver()), nullptr);

  Traffic().OffTheRoad.Append(ParkedCar(14));
  const int32_t cars = CountCars();
  Traffic().SpawnCar(Logic(), FirstLane());
  EXPECT_EQ(CountCars(), cars);  // one of the six is sent again
  EXPECT_EQ(Traffic().OffTheRoad.count, 5);
  ASSERT_EQ(FirstLane().Cars.count, 2);
  auto* reused = dynamic_cast<YLTCar*>(Logic().GetThing(FirstLane().Cars[1]));
  ASSERT_NE(reused, nullptr);
  EXPECT_EQ(reused->Info->X, FirstLane().StartX);
  EXPECT_NE(reused->GetDriver(), nullptr);
}

// An id off the road may name something else by the time it is picked: a
// unit that took the id, a wreck, nothing. None is sent down the road.
TEST_F(HighwayTrafficTest, AnIdOffTheRoadThatNoLongerNamesALivingCarGivesANewCar) {
  KeepFirstLaneOnly();
  auto* unit = MakeAs<YLUnit>("UnitSupporter", 30, 30, 0, 1);
  YLThing* wreck = Make("Vehicle034-Jeep", 30, 40);
  wreck->Destroy();
  const int32_t stale[] = {unit->GetTid(), wreck->GetTid(), 4000};
  for (int32_t round = 0; round < 6; ++round) {
    Traffic().OffTheRoad.Append(stale[round % 3]);
  }
  const int32_t before = CountCars();
  Traffic().SpawnCar(Logic(), FirstLane());
  EXPECT_EQ(CountCars(), before + 1);
  ASSERT_EQ(FirstLane().Cars.count, 1);
  const int32_t sent = FirstLane().Cars[0];
  EXPECT_NE(sent, unit->GetTid());
  EXPECT_NE(sent, wreck->GetTid());
  EXPECT_EQ(unit->Info->X, 30);  // the unit stays where it was
  EXPECT_EQ(wreck->Info->Y, 40);
}

TEST_F(HighwayTrafficTest, ALaneForgetsIdsThatNoLongerNameItsCars) {
  KeepFirstLaneOnly();
  auto* unit = MakeAs<YLUnit>("UnitSupporter", 0, 30, 0, 1);  // west of the end: "passed"
  FirstLane().Cars.Append(unit->GetTid());
  Run(1);
  EXPECT_EQ(FirstLane().Cars.count, 0);
  EXPECT_EQ(Traffic().OffTheRoad.count, 0);
}

TEST_F(HighwayTrafficTest, WithoutAFreeIdNothingIsSent) {
  KeepFirstLaneOnly();
  ASSERT_TRUE(Logic().Things->SetCount(CLogic::kMaxThings));
  for (int32_t id = 1; id < CLogic::kMaxThings; ++id) {
    if ((*Logic().Things)[id] == nullptr) {
      auto* thing = new YLThing;
      thing->CreateInfo(0);
      thing->Info->Tid = id;
      (*Logic().Things)[id] = thing;
    }
  }
  const std::string logged = Logged([&] { Traffic().SpawnCar(Logic(), FirstLane()); });
  EXPECT_EQ(FirstLane().Cars.count, 0);
  EXPECT_EQ(FirstLane().SpawnTimer, 0);
  EXPECT_NE(logged.find("YLHighwayTraffic: no car can be made"), std::string::npos) << logged;
}

TEST_F(HighwayTrafficTest, ACarWithoutRoomForADriverWaitsOffTheRoad) {
  KeepFirstLaneOnly();
  for (int32_t index = 0; index < 6; ++index) {
    Traffic().OffTheRoad.Append(ParkedCar(2 + 2 * index));
  }
  ASSERT_TRUE(Logic().Things->SetCount(CLogic::kMaxThings));
  for (int32_t id = 1; id < CLogic::kMaxThings; ++id) {
    if ((*Logic().Things)[id] == nullptr) {
      auto* thing = new YLThing;
      thing->CreateInfo(0);
      thing->Info->Tid = id;
      (*Logic().Things)[id] = thing;
    }
  }
  Traffic().SpawnCar(Logic(), FirstLane());
  EXPECT_EQ(FirstLane().Cars.count, 0);
  EXPECT_EQ(Traffic().OffTheRoad.count, 6);  // taken out and put back
}

TEST_F(HighwayTrafficTest, ACarSinksUnderTheBridgeAndComesUpWhileItsDriverHeadsForTheEnd) {
  KeepFirstLaneOnly();
  FirstLane().SpawnTimer = Lane::kStopped;  // no second car
  const Lane& lane = FirstLane();
  Traffic().SpawnCar(Logic(), FirstLane());
  ASSERT_EQ(lane.Cars.count, 1);
  auto* car = dynamic_cast<YLTCar*>(Logic().GetThing(lane.Cars[0]));
  ASSERT_NE(car, nullptr);
  auto* driver = dynamic_cast<YLUnit*>(car->GetDriver()->GetDriverThing());
  ASSERT_NE(driver, nullptr);
  ASSERT_NE(driver->Plan.child, nullptr);
  EXPECT_EQ(driver->Plan.child->Action, OrderKind::kGoto);
  EXPECT_EQ(driver->Plan.child->Param1, lane.EndX);
  EXPECT_EQ(driver->Plan.child->Param2, lane.EndY);
  EXPECT_FLOAT_EQ(driver->Plan.child->Motivation, 1.0f);
  const int32_t sink = lane.Delay / 2;
  const int32_t rise = (lane.Delay + 38) / 2;
  int32_t sankAt = -1;
  int32_t roseAt = -1;
  for (int32_t frame = 1; frame <= rise + 2; ++frame) {
    Run(1);
    if (sankAt < 0 && car->Info->Z == -3) {
      sankAt = frame;
    }
    if (sankAt >= 0 && roseAt < 0 && car->Info->Z == 0) {
      roseAt = frame;
    }
  }
  // Sent between two frames, the car's times count from the coming frame.
  EXPECT_EQ(sankAt, sink + 1);
  EXPECT_EQ(roseAt, rise + 1);
}

TEST_F(HighwayTrafficTest, LanesAndCarsOffTheRoadSurviveASavedGame) {
  KeepFirstLaneOnly();
  Traffic().OffTheRoad.Append(ParkedCar(20));
  Traffic().SpawnCar(Logic(), FirstLane());
  Traffic().CarLanes[2]->SpawnTimer = 9;
  const int32_t sent = FirstLane().Cars[0];
  ASSERT_TRUE(SaveAndLoad());
  ASSERT_EQ(Traffic().OffTheRoad.count, 1);
  ASSERT_EQ(FirstLane().Cars.count, 1);
  EXPECT_EQ(FirstLane().Cars[0], sent);
  EXPECT_EQ(Traffic().CarLanes[2]->SpawnTimer, 9);
  EXPECT_EQ(Traffic().CarLanes[1]->SpawnTimer, Lane::kStopped);
  auto* car = dynamic_cast<YLTCar*>(Logic().GetThing(sent));
  ASSERT_NE(car, nullptr);
  EXPECT_NE(dynamic_cast<YLUnitInnocentDriver*>(car->GetDriver()), nullptr);  // relinked from its DriverID
}

}  // namespace
}  // namespace vehicle_testing

namespace vehicle_testing {
namespace {

struct StuckLaneCase {
  const char* name;
  bool wallAcrossTheStreet;  // otherwise the lane runs off the map
  int32_t mostCars;
  // Whether stuck cars are sent down the lane again. The queue before the
  // wall ends in wrecks (cars run into those that stand), the last on the
  // start, where the lane then sends nothing more.
  bool sendsAgain;
};

void PrintTo(const StuckLaneCase& entry, std::ostream* out) { *out << entry.name; }

class StuckLaneTest : public HighwayTrafficTest, public ::testing::WithParamInterface<StuckLaneCase> {};

// Cars that never pass their lane's end used to be made every 30 frames or
// so, each with a driver, until the thing table was full.
TEST_P(StuckLaneTest, ALaneWhoseCarsNeverPassItsEndKeepsABoundedNumberOfCars) {
  KeepFirstLaneOnly();
  if (GetParam().wallAcrossTheStreet) {
    BlockTheStreet();
  }
  int32_t most = 0;
  int32_t leftTheRoad = 0;
  int32_t reused = 0;
  for (int32_t frame = 0; frame < 10000; ++frame) {
    const int32_t offTheRoad = Traffic().OffTheRoad.count;
    Run(1);
    leftTheRoad += Traffic().OffTheRoad.count > offTheRoad ? 1 : 0;
    reused += Traffic().OffTheRoad.count < offTheRoad ? 1 : 0;
    if (frame % 50 == 0) {
      most = std::max(most, CountCars());
    }
  }
  most = std::max(most, CountCars());
  // What the lane holds between its start and where it is stuck, and at
  // most six cars waiting off the road; each car has its driver.
  EXPECT_LE(most, GetParam().mostCars);
  EXPECT_LE(Logic().Things->count, 2 * GetParam().mostCars + 1);
  EXPECT_GT(leftTheRoad, 0);  // a stuck car leaves the lane
  if (GetParam().sendsAgain) {
    EXPECT_GT(reused, 0);
  }
}

const StuckLaneCase kStuckLanes[] = {{"WallAcrossTheStreet", true, 8, false}, {"OffTheMap", false, 30, true}};

INSTANTIATE_TEST_SUITE_P(Lanes, StuckLaneTest, ::testing::ValuesIn(kStuckLanes),
                         [](const auto& info) { return std::string(info.param.name); });

struct BlockedStartCase {
  const char* name;
  bool onTheMap;  // otherwise the lane keeps its start off the map
  bool wreck;
};

void PrintTo(const BlockedStartCase& entry, std::ostream* out) { *out << entry.name; }

class BlockedStartTest : public HighwayTrafficTest, public ::testing::WithParamInterface<BlockedStartCase> {};

TEST_P(BlockedStartTest, NoCarIsSentWhileACarOrAWreckStandsOnTheLanesStart) {
  KeepFirstLaneOnly();
  Lane& lane = FirstLane();
  if (GetParam().onTheMap) {
    lane.StartX = 40;
    lane.StartY = 10;
  }
  YLThing* parked = Make("Vehicle033-BabyBenz", 40, 40, 5);
  ASSERT_NE(parked, nullptr);
  ASSERT_TRUE(MoveThing(parked->Info.get(), lane.StartX, lane.StartY, 0, 5));
  if (GetParam().wreck) {
    parked->Destroy();
  }
  const int32_t before = CountCars();
  Run(600);
  EXPECT_EQ(CountCars(), before);
  EXPECT_EQ(lane.Cars.count, 0);
  ASSERT_TRUE(MoveThing(parked->Info.get(), 40, 40, 0, 5));
  Run(600);
  EXPECT_GT(lane.Cars.count, 0);  // once the start is free the lane sends again
}

const BlockedStartCase kBlockedStarts[] = {
    {"CarOnTheMap", true, false}, {"WreckOnTheMap", true, true}, {"WreckOffTheMap", false, true}};

INSTANTIATE_TEST_SUITE_P(Starts, BlockedStartTest, ::testing::ValuesIn(kBlockedStarts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HighwayTrafficTest, HowLongACarHasStoodSurvivesASavedGame) {
  KeepFirstLaneOnly();
  BlockTheStreet();
  Traffic().SpawnCar(Logic(), FirstLane());
  ASSERT_EQ(FirstLane().Cars.count, 1);
  const int32_t car = FirstLane().Cars[0];
  Run(Traffic().kStuckFrames - 100);  // it reaches the wall within 100 frames
  ASSERT_EQ(FirstLane().StandingCars.count(car), 1u);
  const int32_t stood = FirstLane().StandingCars.at(car).frames;
  EXPECT_GT(stood, 400);
  ASSERT_TRUE(SaveAndLoad());
  ASSERT_EQ(FirstLane().StandingCars.count(car), 1u);
  EXPECT_EQ(FirstLane().StandingCars.at(car).frames, stood);
  Run(Traffic().kStuckFrames - stood - 1);
  EXPECT_EQ(FirstLane().StandingCars.count(car), 1u);
  EXPECT_EQ(Traffic().OffTheRoad.count, 0);
  Run(1);
  EXPECT_EQ(FirstLane().StandingCars.count(car), 0u);
  ASSERT_GE(Traffic().OffTheRoad.count, 1);
  EXPECT_EQ(Traffic().OffTheRoad[0], car);
}

// The saved game as bytes, and a load of bytes; both through the exports.
std::vector<uint8_t> SavedGame() {
  LumoMemoryStream out;
  EXPECT_TRUE(out.OpenNew(64, 1, 0));
  EXPECT_EQ(out.SetGrowth(4096), 4096u);
  EXPECT_TRUE(LogicSave(&out));
  return std::vector<uint8_t>(out.buffer, out.buffer + out.position);
}

bool LoadGame(std::vector<uint8_t> bytes) {
  bytes.push_back(0);  // a stream needs a block; the spare byte stays unread
  LumoMemoryStream in;
  EXPECT_TRUE(in.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  return LogicLoad(&in);
}

TEST_F(HighwayTrafficTest, ADamagedCountOfStandingCarsFailsTheLoadWithALogLine) {
  KeepFirstLaneOnly();
  BlockTheStreet();
  Traffic().SpawnCar(Logic(), FirstLane());
  Run(100);
  ASSERT_FALSE(FirstLane().StandingCars.empty());
  const std::vector<uint8_t> saved = SavedGame();
  const std::string marker = "still:";
  std::vector<uint8_t> pattern = {0, 0, 0, static_cast<uint8_t>(marker.size())};
  pattern.insert(pattern.end(), marker.begin(), marker.end());
  const auto found = std::search(saved.begin(), saved.end(), pattern.begin(), pattern.end());
  ASSERT_NE(found, saved.end());
  // Behind the marker: the lane count, then the first lane's value count.
  const size_t firstCount = static_cast<size_t>(found - saved.begin()) + pattern.size() + 4;
  const uint32_t damaged[] = {0x7fffffffu, 0xffffffffu, 3u};
  for (const uint32_t value : damaged) {
    SCOPED_TRACE(value);
    std::vector<uint8_t> bytes = saved;
    for (size_t at = 0; at < 4; ++at) {
      bytes[firstCount + at] = static_cast<uint8_t>(value >> (24 - 8 * at));
    }
    bool loaded = true;
    const std::string logged = Logged([&] { loaded = LoadGame(bytes); });
    EXPECT_FALSE(loaded);
    EXPECT_NE(logged.find("YLHighwayTraffic"), std::string::npos) << logged;
  }
  EXPECT_TRUE(LoadGame(saved));
}

}  // namespace
}  // namespace vehicle_testing
