// The one drive choice of a unit at the wheel: the biker's weights by the
// goal's direction, whom it drives at, and the choice of the vehicle move
// laid against the knowledge map.

#include <gtest/gtest.h>

#include "VehicleFixture.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnitBiker.h"

namespace vehicle_testing {
namespace {

constexpr int32_t kBikerOwner = 1;
constexpr int32_t kReached = 32;

struct WeightCase {
  int32_t vehicleType;
  int32_t direction;
  float weights[7];
};

// On the Manta and golf every move starts at 0.05; the tram only follows a
// goal about ahead; other vehicles give nothing.
const WeightCase kWeightCases[] = {
    {YLTCar::kTypeManta, 0, {0, 1.0f, 0.3f, 0.3f, 0.0f, 0.05f, 0.05f}},
    {YLTCar::kTypeManta, 1, {0, 0.3f, 1.0f, 0.05f, 0.05f, 0.05f, 0.05f}},
    {YLTCar::kTypeGolf, 2, {0, 0.1f, 1.0f, 0.05f, 0.05f, 0.3f, 0.05f}},
    {YLTCar::kTypeManta, 3, {0, 0.05f, 0.1f, 0.05f, 0.3f, 1.0f, 0.05f}},
    {YLTCar::kTypeManta, 4, {0, 0.0f, 0.05f, 0.05f, 0.7f, 1.0f, 1.0f}},
    {YLTCar::kTypeGolf, -4, {0, 0.0f, 0.05f, 0.05f, 0.7f, 1.0f, 1.0f}},
    {YLTCar::kTypeManta, -3, {0, 0.05f, 0.05f, 0.1f, 0.3f, 0.05f, 1.0f}},
    {YLTCar::kTypeManta, -2, {0, 0.1f, 0.05f, 1.0f, 0.05f, 0.05f, 0.3f}},
    {YLTCar::kTypeManta, -1, {0, 0.3f, 0.05f, 1.0f, 0.05f, 0.05f, 0.05f}},
    {YLTCar::kTypeTram, 1, {0, 1.0f, 0, 0, 0, 0, 0}},
    {YLTCar::kTypeTram, -1, {0, 1.0f, 0, 0, 0, 0, 0}},
    {YLTCar::kTypeTram, 2, {0, 0, 0, 0, 0, 0, 0}},
    {YLTCar::kTypeTram, -2, {0, 0, 0, 0, 0, 0, 0}},
    {YLTCar::kTypeCar, 0, {0, 0, 0, 0, 0, 0, 0}},
    {YLTCar::kTypeRiotBus, 0, {0, 0, 0, 0, 0, 0, 0}},
};

class DriveChoiceTest : public VehicleTest {
 protected:
  void SetUp() override {
    VehicleTest::SetUp();
    car = MakeAs<YLTCar>("Vehicle022-Manta", 20, 20, 2, kBikerOwner);
    biker = MakeAs<YLUnitBiker>("UnitBiker", 5, 5, 0, kBikerOwner);
    ASSERT_NE(car, nullptr);
    ASSERT_NE(biker, nullptr);
    biker->SetVehicle(car);
  }
  void SetAnger(float anger) { biker->GetUnitInfo()->Anger = anger; }

  YLTCar* car = nullptr;
  YLUnitBiker* biker = nullptr;
};

TEST_F(DriveChoiceTest, BikerWeightsFollowTheGoalsDirection) {
  for (const WeightCase& entry : kWeightCases) {
    float weights[YLTDriver::kDriveWeightCount] = {9, 9, 9, 9, 9, 9, 9};
    biker->GetDriveWeights(weights, entry.direction, 10, entry.vehicleType);
    for (int32_t index = 0; index < YLTDriver::kDriveWeightCount; ++index) {
      EXPECT_FLOAT_EQ(weights[index], entry.weights[index])
          << "type " << entry.vehicleType << " direction " << entry.direction << " weight " << index;
    }
  }
}

TEST_F(DriveChoiceTest, BikerDrivesAtOtherSidesByItsAnger) {
  struct Case {
    const char* keyword;
    int32_t owner;
    float anger;
    bool hostile;
  };
  const Case cases[] = {
      {"Innocent", 0, 0.3f, true},        {"Innocent", 0, 0.1f, false},
      {"UnitPolice", 3, 0.3f, false},     {"UnitPolice", 3, 0.5f, true},
      {"UnitSupporter", 2, 0.0f, true},   {"UnitSupporter", kBikerOwner, 1.0f, false},
  };
  for (const Case& entry : cases) {
    auto* unit = MakeAs<YLUnit>(entry.keyword, 30, 30, 0, entry.owner);
    ASSERT_NE(unit, nullptr);
    SetAnger(entry.anger);
    EXPECT_EQ(biker->IsDriveTarget(*unit), entry.hostile) << entry.keyword << " anger " << entry.anger;
    DestroyThing(unit->Info.get());
  }
}

TEST_F(DriveChoiceTest, TheTargetOfItsAttackAndThatTargetsSideAreDrivenAt) {
  auto* officer = MakeAs<YLUnit>("UnitPolice", 30, 30, 0, 3);
  auto* colleague = MakeAs<YLUnit>("UnitPolice", 32, 30, 0, 3);
  auto* civilian = MakeAs<YLUnit>("Innocent", 34, 30, 0, 0);
  SetAnger(0.0f);
  biker->OfferStep(new PsychicPlanAttack(officer->GetTid(), 0, 1.0f, false));
  ASSERT_NE(biker->GetCurrentMove(), nullptr);
  EXPECT_TRUE(biker->IsDriveTarget(*officer));
  EXPECT_TRUE(biker->IsDriveTarget(*colleague));
  EXPECT_FALSE(biker->IsDriveTarget(*civilian));
}

TEST_F(DriveChoiceTest, AFreeRoadDrivesOnAndTheGoalEndsTheDrive) {
  EXPECT_EQ(biker->ChooseDriveMove(35, 20, 0), 15);
  EXPECT_EQ(biker->ChooseDriveMove(20, 20, 0), kReached);  // there
  EXPECT_EQ(biker->ChooseDriveMove(21, 20, 0), kReached);  // nearer than 2
  EXPECT_EQ(biker->ChooseDriveMove(35, 20, 15), kReached);  // within the tolerance
  EXPECT_EQ(biker->ChooseDriveMove(35, 20, 14), 15);
}

TEST_F(DriveChoiceTest, AWallAheadLeavesTheTurnThatMissesIt) {
  Grid().SetOccupied(24, 20, true);  // ahead: driving on is blocked
  SetRandomSeed(7);
  const int32_t first = biker->ChooseDriveMove(35, 20, 0);
  EXPECT_TRUE(first == 16 || first == 17) << first;
  Grid().SetOccupied(24, 19, true);  // where the left turn would go
  EXPECT_EQ(biker->TestDriveMove(17), YLTDriver::kMoveBlocked);
  EXPECT_EQ(biker->TestDriveMove(16), YLTDriver::kMoveFree);
  EXPECT_EQ(biker->ChooseDriveMove(35, 20, 0), 16);
}

TEST_F(DriveChoiceTest, EqualBestMovesAreDrawnByTheGenerator) {
  Grid().SetOccupied(24, 20, true);
  int32_t seen[2] = {};
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    SetRandomSeed(seed);
    const uint32_t before = GetRandomSeed();
    const int32_t answer = biker->ChooseDriveMove(35, 20, 0);
    ASSERT_TRUE(answer == 16 || answer == 17);
    ++seen[answer - 16];
    SetRandomSeed(before);
    EXPECT_EQ(answer, 16 + RandomSigned(1)) << "seed " << seed;
  }
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
}

TEST_F(DriveChoiceTest, AThingThatIsNoUnitBlocksAndAStrangerBlocks) {
  Make("Obst01", 24, 21);
  EXPECT_EQ(biker->TestDriveMove(15), YLTDriver::kMoveBlocked);
  SetAnger(0.0f);
  auto* civilian = MakeAs<YLUnit>("Innocent", 23, 18, 0, 0);
  ASSERT_NE(civilian, nullptr);
  EXPECT_EQ(biker->TestDriveMove(17), YLTDriver::kMoveBlocked);  // a civilian it spares
  SetAnger(0.3f);
  EXPECT_EQ(biker->TestDriveMove(17), YLTDriver::kMoveFree);  // a civilian it runs over
}

TEST_F(DriveChoiceTest, ItsOwnSideInTheWayIsAskedToMakeWayAndTheCarStops) {
  auto* mate = MakeAs<YLUnit>("UnitSupporter", 24, 20, 0, kBikerOwner);
  ASSERT_NE(mate, nullptr);
  mate->ResetStimuli();
  EXPECT_EQ(biker->TestDriveMove(15), YLTDriver::kMoveRunsIntoUnits);
  EXPECT_EQ(biker->ChooseDriveMove(35, 20, 0), 0);
  ASSERT_EQ(mate->GetStimulusCount(), 1);
  EXPECT_EQ(mate->GetStimulus(0)->source, biker->GetTid());
  EXPECT_EQ(mate->GetStimulus(0)->kind, YLTDriver::kMakeWayKind);
  EXPECT_FLOAT_EQ(mate->GetStimulus(0)->strength, 0.8f);
}

TEST_F(DriveChoiceTest, NothingLeftToDriveStops) {
  for (int32_t y = 17; y <= 24; ++y) {
    Grid().SetOccupied(24, y, true);
    Grid().SetOccupied(25, y, true);
    Grid().SetOccupied(19, y, true);
    Grid().SetOccupied(18, y, true);
  }
  EXPECT_EQ(biker->ChooseDriveMove(35, 20, 0), 0);
  biker->SetVehicle(nullptr);
  EXPECT_EQ(biker->ChooseDriveMove(35, 20, 0), kReached);  // no vehicle to drive
}

}  // namespace
}  // namespace vehicle_testing
