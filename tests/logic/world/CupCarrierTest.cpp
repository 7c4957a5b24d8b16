// The cup game's cup is never lost: a carrier that dies or is jailed inside
// a building drops it where the other players can still reach it.

#include <gtest/gtest.h>

#include <cstdlib>

#include "ExportLevelFixture.h"
#include "base/tCollection.h"
#include "logic/core/CMap.h"
#include "logic/core/CPlayer.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTCup.h"

namespace export_level_testing {
namespace {

constexpr int32_t kGameCup = 1;
// One crew each, money, minutes, score limit.
constexpr int32_t kSettings[] = {1, 5000, 20, 50};
// Start places of the two seats, then the cup's.
constexpr int32_t kPlaces[] = {6, 6, 26, 26, 10, 12};
constexpr int32_t kCupId = 1;
constexpr int32_t kCarrierId = 2;  // the first seat's leader
constexpr int32_t kRivalId = 8;    // the second seat's leader

class CupCarrierTest : public ExportLevelTest {
 protected:
  void SetUp() override {
    ExportLevelTest::SetUp();
    tCollection<int32_t> settings;
    for (int32_t value : kSettings) {
      settings.Append(value);
    }
    tCollection<int32_t> places;
    for (int32_t value : kPlaces) {
      places.Append(value);
    }
    LogicSetupMultiPlayerGame(kGameCup, 2, &settings, &places);
    cup = dynamic_cast<YLTCup*>(Logic().GetThing(kCupId));
    carrier = dynamic_cast<YLUnit*>(Logic().GetThing(kCarrierId));
    rival = dynamic_cast<YLUnit*>(Logic().GetThing(kRivalId));
    ASSERT_NE(cup, nullptr);
    ASSERT_NE(carrier, nullptr);
    ASSERT_NE(rival, nullptr);
    ASSERT_EQ(rival->GetOwner(), 2);
  }

  // The first seat's leader walks to the cup and picks it up.
  void TakeTheCup() {
    SelectOnly(1, kCarrierId);
    ASSERT_TRUE(Give(GenerateGotoThingOrder(1, kCupId, false, false)));
    for (int32_t frame = 0; frame < 400 && cup->Info->Owner != kCarrierId; ++frame) {
      Run(1);
    }
    ASSERT_EQ(cup->Info->Owner, kCarrierId);
  }

  // The cup lies on the map, on a cell of its own next to (x, y).
  void ExpectCupOnTheGroundBeside(int32_t x, int32_t y) {
    EXPECT_EQ(cup->Info->Owner, 0);
    EXPECT_LE(std::abs(cup->Info->X - x), 1) << cup->Info->X;
    EXPECT_LE(std::abs(cup->Info->Y - y), 1) << cup->Info->Y;
    EXPECT_EQ(Logic().Map->GetThingIDAt(cup->Info->X, cup->Info->Y), kCupId);
  }

  // The second seat's leader goes for the cup; whoever gets there first
  // (the first seat's crew may be nearer) carries it and scores with it.
  void ExpectTheCupScoresAgain() {
    const int32_t scoresBefore = GetPlayerParam(1, ParamScore) + GetPlayerParam(2, ParamScore);
    SelectOnly(2, kRivalId);
    ASSERT_TRUE(Give(GenerateGotoThingOrder(2, kCupId, false, true)));
    Run(600);
    YLUnit* holder = cup->GetCarrier();
    ASSERT_NE(holder, nullptr);
    EXPECT_NE(holder->Info->Status & StatusAlive, 0u);
    EXPECT_GT(GetPlayerParam(1, ParamScore) + GetPlayerParam(2, ParamScore), scoresBefore);
  }

  YLTCup* cup = nullptr;
  YLUnit* carrier = nullptr;
  YLUnit* rival = nullptr;
};

TEST_F(CupCarrierTest, ACupGameStaysWinnableAfterItsCarrierDiesInABreakingPub) {
  YLThing* pub = Make("Pub01-Bulldog", 12, 18);
  ASSERT_NE(pub, nullptr);
  TakeTheCup();
  ASSERT_TRUE(Give(GenerateEnterOrder(1, pub->GetTid(), false, false)));
  for (int32_t frame = 0; frame < 400 && carrier->GetContainer() != pub; ++frame) {
    Run(1);
  }
  ASSERT_EQ(carrier->GetContainer(), pub);

  // A blow that brings the pub to its breaking point: the next frame it
  // breaks and the units inside die.
  Logic().HurtThing(pub->GetTid(), 10.0f, 0.0f, 12, 19, 0);
  Run(2);
  ASSERT_EQ(carrier->Info->Status & StatusAlive, 0u);
  ExpectCupOnTheGroundBeside(pub->GetX(), pub->GetY());
  // The pub keeps its door: the cup lies beside it, not on it.
  EXPECT_EQ(Logic().Map->GetThingIDAt(pub->GetX(), pub->GetY()), pub->GetTid());
  ExpectTheCupScoresAgain();
}

TEST_F(CupCarrierTest, AJailedCarrierLeavesTheCupAtTheDoorItWasTakenIn) {
  YLThing* station = Make("PDept", 20, 10);
  ASSERT_NE(station, nullptr);
  TakeTheCup();
  // The carrier is brought in as an officer brings in an arrested unit.
  carrier->Info->Status |= YLUnit::kStatusArrested;
  ASSERT_TRUE(EnterThing(carrier->GetUnitInfo(), dynamic_cast<ContainerInfo*>(station->Info.get())));
  carrier->DoJailed(1.0f, station->GetTid(), false);
  Run(2);
  ExpectCupOnTheGroundBeside(station->GetX(), station->GetY());
  ExpectTheCupScoresAgain();
}

}  // namespace
}  // namespace export_level_testing
