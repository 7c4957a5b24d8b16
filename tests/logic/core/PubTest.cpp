// The pub: recruits and beer for its owner, its count in the owner's
// ParamPubs through every change of owner, and its stored form.

#include <string>
#include <vector>

#include "BuildingFixture.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/YLConfig.h"
#include "logic/world/YLTPub.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

using building_testing::BuildingTest;
using building_testing::Bytes;

constexpr int32_t kRat = 1;
constexpr int32_t kRaver = 2;
constexpr int32_t kSupporter = 3;
constexpr int32_t kBulch = 9;

class PubTest : public BuildingTest {
 protected:
  YLTPub* OwnedPub(int32_t owner = 1) { return MakeBuilding<YLTPub>("Pub1", owner); }
  PubInfo& Record(YLTPub& pub) { return *pub.GetPubInfo(); }
  int32_t CountInside(const YLTPub& pub, int32_t type) const {
    int32_t count = 0;
    for (int32_t index = 0; index < pub.GetContainedCount(); ++index) {
      count += pub.GetContainedThing(index)->Info->Gfx == type ? 1 : 0;
    }
    return count;
  }
};

TEST_F(PubTest, ARecruitNeedsItsPriceAndACounterAndIsPaidOnceItStandsInside) {
  YLTPub* pub = OwnedPub();
  const int32_t price = logic.Config->GetUnitCost(kRat);
  ASSERT_EQ(price, 200);
  const int32_t pubMoney = pub->GetInfoGrade();

  Player(1).SetParam(ParamMoney, 199);
  pub->AddAvailableUnit(kRat);
  pub->SellUnit(kRat, &Player(1));
  EXPECT_EQ(pub->GetContainedCount(), 0);

  Player(1).SetParam(ParamMoney, 200);
  pub->SellUnit(kRaver, &Player(1));
  EXPECT_EQ(pub->GetContainedCount(), 0) << "no raver to recruit";
  EXPECT_EQ(Player(1).GetMoney(), 200);

  pub->SellUnit(kRat, &Player(1));
  ASSERT_EQ(CountInside(*pub, kRat), 1);
  EXPECT_EQ(pub->GetContainedThing(0)->GetOwner(), 1);
  EXPECT_EQ(Player(1).GetMoney(), 0);
  EXPECT_EQ(pub->GetInfoGrade(), pubMoney + 50);
  EXPECT_EQ(pub->CountAvailableHC(kRat), 0);
}

TEST_F(PubTest, ARecruitThatCannotBeMadeCostsNothing) {
  YLTPub* pub = OwnedPub();
  pub->AddAvailableUnit(kRat);
  Player(1).SetParam(ParamMoney, 1000);
  FillTable(0);
  pub->SellUnit(kRat, &Player(1));
  EXPECT_EQ(pub->GetContainedCount(), 0);
  EXPECT_EQ(Player(1).GetMoney(), 1000);
  EXPECT_EQ(pub->CountAvailableHC(kRat), 1);
}

TEST_F(PubTest, AUnitTypeThePubDoesNotSellIsRefusedAndLogged) {
  YLTPub* pub = OwnedPub();
  Player(1).SetParam(ParamMoney, 100000);
  const std::string log = Logged([&] { pub->SellUnit(4, &Player(1)); });
  EXPECT_NE(log.find("YLTPub::SellUnit: pub " + std::to_string(pub->GetTid()) + " sells no unit of type 4\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(Player(1).GetMoney(), 100000);
  EXPECT_EQ(pub->GetContainedCount(), 0);
}

TEST_F(PubTest, TheRecruitCounterOfATypeStopsAtTen) {
  YLTPub* pub = OwnedPub();
  for (int32_t count = 0; count < 12; ++count) {
    pub->AddAvailableUnit(kBulch);
  }
  EXPECT_EQ(pub->CountAvailableHC(kBulch), 10);
  EXPECT_EQ(Record(*pub).HCBulches, 10);
  pub->AddAvailableUnit(5);
  EXPECT_EQ(pub->CountAvailableHC(5), 0);
}

TEST_F(PubTest, BeerTurnsIntoSupportersAndIsSharedAmongTheUnitsInside) {
  YLTPub* pub = OwnedPub();
  YLUnit* guest = Inside(pub, kRat, 1);
  const int32_t pubMoney = pub->GetInfoGrade();
  Player(1).SetParam(ParamMoney, 1000);
  pub->GiveBeer(250, &Player(1));
  EXPECT_EQ(CountInside(*pub, kSupporter), 2);
  EXPECT_EQ(Record(*pub).SupporterBeer, 50);
  EXPECT_EQ(Player(1).GetMoney(), 750);
  EXPECT_EQ(pub->GetInfoGrade(), pubMoney + 62);
  // 250 among three: 83 glasses each, which fill a fan up; the hard-core
  // guest's player counts its glasses.
  EXPECT_EQ(building_testing::BuildingTest::Record(*guest).Beer, 1.0f);
  EXPECT_EQ(Player(1).GetParam(ParamBeerDrunk), 83);
}

TEST_F(PubTest, BeerForMoreThanThePlayerHasTakesWhatItHas) {
  YLTPub* pub = OwnedPub();
  Player(1).SetParam(ParamMoney, 150);
  pub->GiveBeer(400, &Player(1));
  EXPECT_EQ(Player(1).GetMoney(), 0);
  EXPECT_EQ(Record(*pub).SupporterBeer, 50);
  Player(1).SetParam(ParamMoney, 0);
  pub->GiveBeer(400, &Player(1));
  EXPECT_EQ(Record(*pub).SupporterBeer, 50);
}

TEST_F(PubTest, BeerGivenToAnEmptyPubIsPaidAndNobodyDrinks) {
  YLTPub* pub = OwnedPub();
  Player(1).SetParam(ParamMoney, 1000);
  pub->GiveBeer(60, &Player(1));
  EXPECT_EQ(pub->GetContainedCount(), 0);
  EXPECT_EQ(Player(1).GetMoney(), 940);
  EXPECT_EQ(Record(*pub).SupporterBeer, 60);
}

TEST_F(PubTest, BeerThatCanBuyNoMoreUnitsStaysInTheAccount) {
  YLTPub* pub = OwnedPub();
  Player(1).SetParam(ParamMoney, 1000000);
  FillTable(3);
  pub->GiveBeer(1000000, &Player(1));
  EXPECT_EQ(CountInside(*pub, kSupporter), 3);
  EXPECT_EQ(Record(*pub).SupporterBeer, 1000000 - 300);
}

TEST_F(PubTest, BeerFromAnotherPlayerAtABrokenPubOrOfNoValueChangesNothing) {
  YLTPub* pub = OwnedPub();
  Player(1).SetParam(ParamMoney, 1000);
  Player(2).SetParam(ParamMoney, 1000);
  pub->GiveBeer(250, &Player(2));
  std::string log = Logged([&] {
    pub->GiveBeer(-250, &Player(1));
    pub->GiveBeer(0, &Player(1));
  });
  EXPECT_NE(log.find("YLTPub::GiveBeer: pub " + std::to_string(pub->GetTid()) + " refuses beer worth -250\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("refuses beer worth 0\n"), std::string::npos) << log;
  SetState(*pub, YLTBuilding::kStateBroken);
  pub->GiveBeer(250, &Player(1));
  EXPECT_EQ(Player(1).GetMoney(), 1000);
  EXPECT_EQ(Player(2).GetMoney(), 1000);
  EXPECT_EQ(Record(*pub).SupporterBeer, 0);
  EXPECT_EQ(pub->GetContainedCount(), 0);
}

TEST_F(PubTest, ALootedPubFillsItsSupportersAndKeepsItsOwner) {
  YLTPub* pub = OwnedPub();
  auto* fan = Inside<YLUnitSupporter>(pub, kSupporter, 1);
  pub->SetInfoGrade(400);
  EXPECT_EQ(pub->TakeMoney(), 400);
  EXPECT_EQ(pub->GetInfoGrade(), 0);
  EXPECT_FLOAT_EQ(building_testing::BuildingTest::Record(*fan).Beer, 25 * 0.02f * fan->GetBeerFactor());
  EXPECT_EQ(pub->GetOwner(), 1);
}

TEST_F(PubTest, PubAdmitsByItsOwnRuleAndKeepsItsOwnerWhenUnitsLeave) {
  YLTPub* pub = OwnedPub(0);
  YLUnit* stranger = OnMap(kRat, 2, 3, 3);
  EXPECT_TRUE(pub->CanEnter(stranger));
  ASSERT_TRUE(logic.EnterThing(stranger->Info.get(), pub->Info.get()));
  EXPECT_EQ(pub->GetOwner(), 2);
  ASSERT_TRUE(logic.LeaveThing(stranger->Info.get(), 3, 3, 0, 0));
  EXPECT_EQ(pub->GetOwner(), 2);

  SetState(*pub, YLTBuilding::kStateBroken);
  Inside(pub, kRat, 2);
  EXPECT_FALSE(pub->CanEnter(OnMap(kRat, 1, 4, 4)));
  EXPECT_TRUE(pub->CanEnter(OnMap(kRat, 2, 5, 5)));
  tString text;
  pub->GetDebugText(text);
  EXPECT_EQ(std::string(text.text), "pub -- owned by player 2\n");
}

TEST_F(PubTest, ParamPubsCountsTheOwnedPubsAfterEveryStep) {
  YLTPub* owned = OwnedPub(1);
  EXPECT_EQ(Player(1).GetParam(ParamPubs), 1) << "created owned";
  YLTPub* free = MakeBuilding<YLTPub>("Pub2", 0, 20, 20);
  EXPECT_EQ(Player(1).GetParam(ParamPubs), 1);

  YLUnit* rat = OnMap(kRat, 1, 3, 3);
  ASSERT_TRUE(logic.EnterThing(rat->Info.get(), free->Info.get()));
  EXPECT_EQ(Player(1).GetParam(ParamPubs), 2) << "an ownerless pub entered";

  owned->TakeMoney();
  owned->TakeMoney();
  EXPECT_EQ(Player(1).GetParam(ParamPubs), 2) << "looted";

  ASSERT_TRUE(logic.LeaveThing(rat->Info.get(), 3, 3, 0, 0));
  free->Info->Hp = 0.3f;
  free->Propagate();
  free->TakeHeavyDamage(10.0f);
  free->Propagate();
  ASSERT_EQ(free->GetState(), YLTBuilding::kStateTrashed);
  EXPECT_EQ(Player(1).GetParam(ParamPubs), 1) << "trashed";

  while (free->GetState() != YLTBuilding::kStateNormal) {
    free->Propagate();
  }
  YLUnit* theirs = OnMap(kRat, 2, 4, 4);
  ASSERT_TRUE(logic.EnterThing(theirs->Info.get(), free->Info.get()));
  EXPECT_EQ(Player(1).GetParam(ParamPubs), 1);
  EXPECT_EQ(Player(2).GetParam(ParamPubs), 1) << "entered again, by another player";

  owned->SetOwner(2);
  EXPECT_EQ(Player(1).GetParam(ParamPubs), 0);
  EXPECT_EQ(Player(2).GetParam(ParamPubs), 2);

  Loaded copy = LoadOne(SaveOne(logic));
  auto* loaded = dynamic_cast<CLogic*>(copy.get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetPlayer(1)->GetParam(ParamPubs), 0) << "saved and loaded";
  EXPECT_EQ(loaded->GetPlayer(2)->GetParam(ParamPubs), 2);
  // The loaded pubs stand in the building move table again.
  auto* loadedPub = dynamic_cast<YLTPub*>(loaded->GetThing(free->GetTid()));
  ASSERT_NE(loadedPub, nullptr);
  EXPECT_EQ(loadedPub->Info->Move, YLTBuilding::GetBuildingMoveTable()->At(YLTBuilding::kStateNormal));
  copy.reset();
  logic.MakeCurrent();
}

TEST_F(PubTest, APubSurvivesAStreamRoundTrip) {
  YLTPub* pub = OwnedPub();
  pub->CountRatje = 1;
  pub->CountGabber = 2;
  pub->CountYobbozer = 3;
  pub->CountBiker = 4;
  pub->CountSkin = 5;
  pub->CountRozav = 6;
  pub->AddAvailableUnit(kBulch);
  const Bytes saved = SaveOne(*pub);
  Loaded copy = LoadOne(saved);
  auto* loaded = dynamic_cast<YLTPub*>(copy.get());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->CountRatje, 1);
  EXPECT_EQ(loaded->CountGabber, 2);
  EXPECT_EQ(loaded->CountYobbozer, 3);
  EXPECT_EQ(loaded->CountBiker, 4);
  EXPECT_EQ(loaded->CountSkin, 5);
  EXPECT_EQ(loaded->CountRozav, 6);
  EXPECT_EQ(loaded->CountAvailableHC(kBulch), 1);
  EXPECT_EQ(SaveOne(*loaded), saved);
}

}  // namespace
