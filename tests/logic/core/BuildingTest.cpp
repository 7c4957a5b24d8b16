// Buildings over frames: damage, breaking, trashing and repair; who may
// enter and who owns a building; the bank's burglary; the move table.

#include <ostream>
#include <string>
#include <vector>

#include "BuildingFixture.h"
#include "logic/core/YLConfig.h"
#include "logic/world/YLUnitLeader.h"

namespace {

using building_testing::BuildingTest;

constexpr int32_t kRat = 1;
constexpr int32_t kPoliceType = 5;
constexpr int32_t kSuitType = 4;

TEST_F(BuildingTest, AHitBringsItBelowTheBreakingPointAndTheNextTickBreaksItKillingAllButTheShopOwner) {
  YLTBuilding* home = MakeBuilding("Home1", 1);
  YLUnit* keeper = ShopOwnerInside(home);
  YLUnit* first = Inside(home, kRat, 1);
  YLUnit* second = Inside(home, kRat, 1);
  home->Info->Hp = 0.41f;
  home->Info->Armor = 0.5f;

  EXPECT_TRUE(home->TakeDamage(0.1f));
  EXPECT_NEAR(home->Info->Hp, 0.36f, 1e-6f);
  EXPECT_EQ(home->GetState(), YLTBuilding::kStateNormal);
  home->Frighten(0.5f, first->GetTid());
  EXPECT_EQ(home->LastAttacker, first->GetTid());

  heard.actions.clear();
  EXPECT_TRUE(home->Propagate());
  EXPECT_EQ(home->GetState(), YLTBuilding::kStateBroken);
  EXPECT_EQ(home->Info->MoveNumber, YLTBuilding::kStateBroken);
  EXPECT_EQ(heard.actions, (std::vector<std::vector<int32_t>>{{home->GetTid(), YLTBuilding::kStateBroken}}));
  EXPECT_EQ(heard.speech, (std::vector<std::vector<int32_t>>{{3, home->GetTid(), 8, 0}}));
  EXPECT_EQ(home->TakeLastAttacker(), 0);
  EXPECT_FALSE(Alive(*first));
  EXPECT_FALSE(Alive(*second));
  EXPECT_TRUE(Alive(*keeper));
  ASSERT_EQ(home->GetContainedCount(), 1);
  EXPECT_EQ(home->GetContainedThing(0), keeper);

  // Broken: damage changes nothing; it mends until above 0.95.
  const float hp = home->Info->Hp;
  EXPECT_FALSE(home->TakeDamage(0.3f));
  EXPECT_EQ(home->Info->Hp, hp);
  home->Info->Hp = 0.95f;
  home->Propagate();
  EXPECT_EQ(home->GetState(), YLTBuilding::kStateBroken);
  EXPECT_GT(home->Info->Hp, 0.95f);
  home->Propagate();
  EXPECT_EQ(home->GetState(), YLTBuilding::kStateNormal);
}

TEST_F(BuildingTest, ANormalBuildingMendsUpToFullHealthAndTheLogicsFramesDriveIt) {
  YLTBuilding* home = MakeBuilding("Home1", 0);
  home->Info->Hp = 0.99995f;
  ASSERT_TRUE(logic.Compute());
  EXPECT_EQ(home->Info->Hp, 1.0f);
  home->Info->Hp = 0.3f;
  ASSERT_TRUE(logic.Compute());
  EXPECT_EQ(home->GetState(), YLTBuilding::kStateBroken);
  EXPECT_NE(logic.GetThing(home->GetTid()), nullptr) << "a building at 0.3 stays in the game";
}

TEST_F(BuildingTest, HeavyDamageTrashesItAndItRepairsOnlyOnceEmptied) {
  YLTBuilding* home = MakeBuilding("Home1", 1);
  home->Info->Armor = 0.5f;
  home->SetInfoGrade(0);
  home->Info->Hp = 0.3f;
  home->Propagate();
  ASSERT_EQ(home->GetState(), YLTBuilding::kStateBroken);

  EXPECT_FALSE(home->TakeHeavyDamage(0.2f));
  EXPECT_TRUE(home->TakeHeavyDamage(1.0f));
  EXPECT_NE(home->Info->Status & StatusWrecked, 0u);
  EXPECT_FALSE(home->TakeHeavyDamage(1.0f)) << "nothing left to take";
  home->Propagate();
  EXPECT_EQ(home->GetState(), YLTBuilding::kStateTrashed);
  EXPECT_EQ(home->GetOwner(), 0);
  EXPECT_EQ(home->Info->Hp, 0.0f);

  YLUnit* first = Inside(home, kRat, 2);
  YLUnit* second = Inside(home, kRat, 2);
  for (int32_t tick = 0; tick < 500; ++tick) {
    home->Propagate();
  }
  EXPECT_EQ(home->GetState(), YLTBuilding::kStateTrashed);
  EXPECT_EQ(home->Info->Hp, 0.0f);

  ASSERT_TRUE(logic.LeaveThing(first->Info.get(), 3, 3, 0, 0));
  ASSERT_TRUE(logic.LeaveThing(second->Info.get(), 4, 4, 0, 0));
  int32_t ticks = 0;
  while (home->GetState() != YLTBuilding::kStateNormal && ticks < 5000) {
    home->Propagate();
    ++ticks;
  }
  EXPECT_EQ(home->GetState(), YLTBuilding::kStateNormal);
  EXPECT_EQ(home->Info->Hp, 1.0f);
  EXPECT_EQ(home->GetInfoGrade(), logic.Config->GetBuildingMoney(home->Info->Gfx));
  EXPECT_EQ(home->Info->Status & StatusWrecked, 0u);
  // 0.03 at 0.0005 a tick, then 0.97 at 0.0007 a tick.
  EXPECT_GT(ticks, 1400);
  EXPECT_LT(ticks, 1600);
}

TEST_F(BuildingTest, ATrashedBuildingWithOnlyItsShopOwnerInsideRepairs) {
  YLTBuilding* shop = MakeBuilding("Shop1", 0);
  ShopOwnerInside(shop);
  SetState(*shop, YLTBuilding::kStateTrashed);
  shop->Info->Hp = 0.0f;
  for (int32_t tick = 0; tick < 100; ++tick) {
    shop->Propagate();
  }
  EXPECT_EQ(shop->GetState(), YLTBuilding::kStateRepair);
}

TEST_F(BuildingTest, ABurgledBankIsTrashedItsBurglarCarriesTheLootAndNobodyGetsTheMoney) {
  auto* bank = MakeBuilding<YLTBank>("Bank1", 0);
  bank->SetInfoGrade(5000);
  YLUnit* rat = OnMap(kRat, 1, 3, 3);
  const int32_t money = Player(1).GetMoney();
  heard.actions.clear();
  bank->Burgle(rat);
  EXPECT_EQ(bank->GetInfoGrade(), 0);
  EXPECT_NE(rat->Info->Status & StatusBurgled, 0u);
  EXPECT_EQ(bank->GetState(), YLTBuilding::kStateTrashed);
  EXPECT_EQ(heard.actions, (std::vector<std::vector<int32_t>>{{bank->GetTid(), YLTBuilding::kStateTrashed}}));
  EXPECT_EQ(Player(1).GetMoney(), money);
  for (int32_t tick = 0; tick < 200; ++tick) {
    EXPECT_TRUE(bank->Propagate());
  }
  EXPECT_EQ(bank->GetState(), YLTBuilding::kStateTrashed) << "a bank never mends";
}

// ---- Admission ----

struct AdmissionCase {
  const char* keyword;
  int32_t state;
  int32_t owner;     // the building's owner
  int32_t occupant;  // -1: nobody inside; else the owner of the first unit inside
  int32_t type;      // the entering unit's type
  int32_t unitOwner;
  bool admitted;
};

void PrintTo(const AdmissionCase& rule, std::ostream* out) {
  *out << rule.keyword << " state " << rule.state << " owner " << rule.owner << " occupant " << rule.occupant
       << ", unit type " << rule.type << " of " << rule.unitOwner;
}

class AdmissionTest : public BuildingTest, public ::testing::WithParamInterface<AdmissionCase> {};

TEST_P(AdmissionTest, CanEnterFollowsStateOwnersTheFirstUnitInsideAndPolice) {
  const AdmissionCase& rule = GetParam();
  YLTBuilding* building = MakeBuilding(rule.keyword, rule.owner);
  if (rule.occupant >= 0) {
    Inside(building, kRat, rule.occupant);
  }
  building->SetOwner(rule.owner);
  SetState(*building, rule.state);
  YLUnit* unit = OnMap(rule.type, rule.unitOwner, 3, 3);
  EXPECT_EQ(building->CanEnter(unit), rule.admitted);
}

INSTANTIATE_TEST_SUITE_P(
    Buildings, AdmissionTest,
    ::testing::Values(
        // The repair state admits nobody, the animations nobody.
        AdmissionCase{"Home1", YLTBuilding::kStateRepair, 0, -1, kRat, 0, false},
        AdmissionCase{"Home1", YLTBuilding::kAnimBroken, 0, -1, kRat, 1, false},
        // A public building and units without owner: anyone while not full.
        AdmissionCase{"Public1", YLTBuilding::kStateNormal, 1, 1, kRat, 2, true},
        AdmissionCase{"Home1", YLTBuilding::kStateNormal, 1, 1, kRat, 0, true},
        // Broken or trashed: ownerless or the unit's own.
        AdmissionCase{"Home1", YLTBuilding::kStateBroken, 0, -1, kRat, 2, true},
        AdmissionCase{"Home1", YLTBuilding::kStateTrashed, 2, -1, kRat, 2, true},
        AdmissionCase{"Home1", YLTBuilding::kStateBroken, 1, -1, kRat, 2, false},
        // Normal: another owner needs a first occupant of its own.
        AdmissionCase{"Home1", YLTBuilding::kStateNormal, 1, -1, kRat, 2, false},
        AdmissionCase{"Home1", YLTBuilding::kStateNormal, 1, 1, kRat, 2, false},
        AdmissionCase{"Home1", YLTBuilding::kStateNormal, 1, 2, kRat, 2, true},
        AdmissionCase{"Home1", YLTBuilding::kStateNormal, 1, 1, kPoliceType, 3, true},
        AdmissionCase{"Home1", YLTBuilding::kStateNormal, 1, 1, kRat, 1, true},
        AdmissionCase{"Home1", YLTBuilding::kStateNormal, 0, -1, kRat, 1, false},
        // A bank: the police side and suits; others by the building rule.
        AdmissionCase{"Bank1", YLTBuilding::kStateNormal, 1, 1, kSuitType, 2, true},
        AdmissionCase{"Bank1", YLTBuilding::kStateRepair, 1, 1, kPoliceType, 3, true},
        AdmissionCase{"Bank1", YLTBuilding::kStateNormal, 1, 1, kRat, 2, false},
        // A suit hangout: everyone, always.
        AdmissionCase{"Hotel1", YLTBuilding::kStateRepair, 1, 1, kRat, 2, true},
        // Shops: an ownerless normal shop admits anyone.
        AdmissionCase{"Dope1", YLTBuilding::kStateNormal, 0, -1, kRat, 2, true},
        AdmissionCase{"Weapon1", YLTBuilding::kStateNormal, 1, -1, kRat, 2, false},
        AdmissionCase{"Girls1", YLTBuilding::kStateNormal, 0, -1, kRat, 1, true}));

TEST_F(BuildingTest, AFullBuildingAdmitsNobodyAndOnlyHomesTakeGuestsForTheNight) {
  YLTBuilding* home = MakeBuilding("Home1", 1);
  YLTBuilding* shop = MakeBuilding("Shop1", 1, 20, 20);
  YLUnit* unit = OnMap(kRat, 1, 3, 3);
  EXPECT_TRUE(home->CanEnterHome(unit));
  EXPECT_FALSE(shop->CanEnterHome(unit));
  home->SetMaxItems(1);
  Inside(home, kRat, 1);
  EXPECT_FALSE(home->CanEnter(unit));
  EXPECT_FALSE(home->CanEnterHome(unit));
}

TEST_F(BuildingTest, OwnershipFollowsTheUnitsThatEnterAndLeave) {
  YLTBuilding* home = MakeBuilding("Home1", 0);
  YLUnit* first = OnMap(kRat, 1, 3, 3);
  YLUnit* second = OnMap(kRat, 1, 4, 4);
  YLUnit* police = OnMap(kPoliceType, 3, 5, 5);
  home->Enter(first);
  EXPECT_EQ(home->GetOwner(), 1);
  home->Enter(second);
  home->Enter(police);
  EXPECT_EQ(home->GetOwner(), 1) << "an owned building keeps its owner";

  home->Leave(first);
  EXPECT_EQ(home->GetOwner(), 1) << "another unit of the owner is still inside";
  home->Leave(police);
  EXPECT_EQ(home->GetOwner(), 1);
  home->Leave(second);
  EXPECT_EQ(home->GetOwner(), 0) << "the last unit of the owner left";

  home->Enter(police);
  EXPECT_EQ(home->GetOwner(), 3);
}

TEST_F(BuildingTest, TheMoveTableIsBuiltByInitAndRefilledInPlace) {
  LumoObjects* table = YLTBuilding::GetBuildingMoveTable();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->count, YLTBuilding::kMoveCount);
  const std::vector<std::string> names = {"BuildingStateNormal", "BuildingStateBroken",    "BuildingStateTrashed",
                                          "BuildingStateRepair", "BuildingAnimBroken",     "BuildingAnimTrashed",
                                          "BuildingAnimBeginRepair", "BuildingAnimEndRepair"};
  for (int32_t number = 0; number < YLTBuilding::kMoveCount; ++number) {
    auto* move = dynamic_cast<MoveInfo*>(table->At(number));
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(std::string(move->name.text), names[static_cast<size_t>(number)]);
    EXPECT_EQ(move->code, number);
  }
  YLTBuilding* home = MakeBuilding("Home1", 0);
  SetState(*home, YLTBuilding::kStateTrashed);
  const MoveInfo* held = home->Info->Move;
  dynamic_cast<MoveInfo*>(table->At(2))->name = "changed";
  ASSERT_TRUE(logic.Init());
  EXPECT_EQ(YLTBuilding::GetBuildingMoveTable()->At(2), held);
  EXPECT_EQ(std::string(held->name.text), "BuildingStateTrashed");
}

}  // namespace
