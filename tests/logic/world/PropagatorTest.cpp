#include <gtest/gtest.h>

#include <memory>

#include "CombatFixture.h"
#include "logic/core/YLHighwayTraffic.h"
#include "logic/core/YLPropagatorFire.h"
#include "logic/core/YLPropagatorTearGas.h"
#include "logic/triggers/LogicPlanHurtThing.h"

namespace logic_world_testing {
namespace {

class PropagatorTest : public CombatTest {};

TEST_F(PropagatorTest, AnAreaHoldsTheCellsStrictlyWithinItsRadius) {
  YLPropagatorFire fire;
  const struct {
    int32_t radius;
    int32_t cells;
  } cases[] = {{0, 0}, {1, 1}, {2, 9}, {3, 25}, {5, 69}};
  for (const auto& entry : cases) {
    fire.BuildArea(entry.radius);
    EXPECT_EQ(fire.GetArea()->GetPointCount(0), entry.cells) << entry.radius;
  }
  // Column by column from the left, each from the top.
  fire.BuildArea(2);
  int32_t x = 0;
  int32_t y = 0;
  ASSERT_TRUE(fire.GetArea()->GetPoint(0, 0, x, y));
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
  ASSERT_TRUE(fire.GetArea()->GetPoint(0, 1, x, y));
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, 0);
}

// Tear gas keeps its area in its record; a fire keeps it behind its
// properties.
TEST_F(PropagatorTest, GasAndFireAreStored) {
  YLPropagatorTearGas gas;
  gas.SetPosition(4, 9);
  gas.BuildArea(3);
  gas.Time = 17;
  Bytes bytes = Save(gas);
  auto loaded = Load(bytes);
  auto* loadedGas = dynamic_cast<YLPropagatorTearGas*>(loaded.get());
  ASSERT_NE(loadedGas, nullptr);
  EXPECT_EQ(loadedGas->X, 4);
  EXPECT_EQ(loadedGas->Y, 9);
  EXPECT_EQ(loadedGas->Time, 17);
  EXPECT_EQ(loadedGas->Duration, YLPropagatorTearGas::kDuration);
  ASSERT_NE(loadedGas->GetArea(), nullptr);
  EXPECT_EQ(loadedGas->GetArea()->GetPointCount(0), 25);
  EXPECT_EQ(Save(*loadedGas), bytes);

  YLPropagatorFire fire;
  fire.SetPosition(2, 3);
  fire.BuildArea(2);
  fire.Duration = 44;
  auto loadedFire = Load(Save(fire));
  auto* burning = dynamic_cast<YLPropagatorFire*>(loadedFire.get());
  ASSERT_NE(burning, nullptr);
  EXPECT_EQ(burning->Duration, 44);
  EXPECT_EQ(burning->X, 2);
  ASSERT_NE(burning->GetArea(), nullptr);
  EXPECT_EQ(burning->GetArea()->GetPointCount(0), 9);
  burning->Time = 44;
  EXPECT_FALSE(burning->Propagate(&logic));
}

// The traffic's lanes of one direction stop; a stopped lane neither counts
// nor sends cars.
TEST_F(PropagatorTest, TheTrafficStopsTheLanesOfADirection) {
  YLHighwayTraffic traffic;
  ASSERT_EQ(traffic.CarLanes.size(), 6u);
  traffic.StopLane(5);
  for (const auto& lane : traffic.CarLanes) {
    EXPECT_EQ(lane->SpawnTimer, lane->Direction == 5 ? -1 : 0);
  }
  EXPECT_TRUE(traffic.Propagate(&logic));
  for (const auto& lane : traffic.CarLanes) {
    EXPECT_EQ(lane->SpawnTimer, lane->Direction == 5 ? -1 : 1);
  }
}

TEST_F(PropagatorTest, TheTrafficIsStoredAndADamagedCountRefused) {
  YLHighwayTraffic traffic;
  traffic.OffTheRoad.Append(12);
  traffic.OffTheRoad.Append(13);
  traffic.CarLanes[2]->Cars.Append(40);
  traffic.CarLanes[4]->SpawnTimer = -1;
  Bytes bytes = Save(traffic);
  auto loaded = Load(bytes);
  auto* copy = dynamic_cast<YLHighwayTraffic*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->OffTheRoad.count, 2);
  EXPECT_EQ(copy->OffTheRoad[1], 13);
  ASSERT_EQ(copy->CarLanes.size(), 6u);
  EXPECT_EQ(copy->CarLanes[2]->Cars.count, 1);
  EXPECT_EQ(copy->CarLanes[2]->Cars[0], 40);
  EXPECT_EQ(copy->CarLanes[3]->StartX, 16);
  EXPECT_EQ(copy->CarLanes[3]->Delay, 202);
  EXPECT_EQ(copy->CarLanes[4]->SpawnTimer, -1);
  EXPECT_EQ(Save(*copy), bytes);

  // The lanes' count, six, stands right after the two ids off the road; a
  // count far beyond the stream's end fails the load.
  const Bytes six = {0, 0, 0, 6};
  const Bytes offTheRoad = {0, 0, 0, 2, 0, 0, 0, 12, 0, 0, 0, 13};
  Bytes pattern = offTheRoad;
  pattern.insert(pattern.end(), six.begin(), six.end());
  auto found = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
  ASSERT_NE(found, bytes.end());
  found[static_cast<std::ptrdiff_t>(offTheRoad.size())] = 0x7F;
  EXPECT_EQ(Load(bytes), nullptr);
}

// Stopping the traffic by direction 1 also ends the ambient highway cars
// 200 frames later, each hurt by itself.
TEST_F(PropagatorTest, StoppingDirectionOneEndsTheAmbientHighwayCars) {
  auto* traffic = new YLHighwayTraffic;
  logic.Propagators->Append(traffic);
  YLThing* ambient = Put<YLThing>(1, 3, 3);
  ambient->Info->Gfx = logic.AddString("AmbientA807-car");
  YLThing* other = Put<YLThing>(2, 6, 6);
  other->Info->Gfx = logic.AddString("AmbientA80");

  logic.StopHighwayTraffic(5);
  EXPECT_TRUE(PlanIsEmpty());
  for (const auto& lane : traffic->CarLanes) {
    EXPECT_EQ(lane->SpawnTimer, lane->Direction == 5 ? -1 : 0);
  }

  logic.StopHighwayTraffic(1);
  for (const auto& lane : traffic->CarLanes) {
    EXPECT_EQ(lane->SpawnTimer, -1);
  }
  auto* hurt = dynamic_cast<LogicPlanHurtThing*>(logic.PlanLongTerm.first);
  ASSERT_NE(hurt, nullptr);
  EXPECT_EQ(hurt->Next, nullptr);
  EXPECT_EQ(hurt->Thing, 1);
  EXPECT_EQ(hurt->Agressor, 1);
  EXPECT_EQ(hurt->Hdamage, 10.0f);
  EXPECT_EQ(hurt->Time, 200u);
  // The traffic itself runs on meanwhile; the cars go at frame 200.
  Run(200);
  EXPECT_NE(ambient->Info->Status & StatusAlive, 0u);
  Run(1);
  EXPECT_EQ(ambient->Info->Status & StatusAlive, 0u);
  EXPECT_NE(other->Info->Status & StatusAlive, 0u);
}

}  // namespace
}  // namespace logic_world_testing
