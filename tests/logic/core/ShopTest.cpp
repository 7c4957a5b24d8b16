// The shops' sales and the shack: prices, the shop's quarter, the goods,
// every refusal, looting, and the stored forms of every building kind.

#include <climits>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "BuildingFixture.h"
#include "OrderPackageBytes.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/ContainerInfo.h"
#include "logic/core/OrderBuilders.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/triggers/LogicPlanTechLevel.h"
#include "logic/world/YLTLoods.h"
#include "logic/world/YLTPub.h"
#include "logic/world/YLTShop.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

using building_testing::BuildingTest;
using building_testing::Bytes;

constexpr int32_t kRat = 1;
constexpr int32_t kSuitType = 4;
constexpr int32_t kPoliceType = 5;
constexpr int32_t kLeader = 10;
constexpr int32_t kChick = 11;
constexpr int32_t kYobbozer = 12;

UnitInfo& Unit(YLUnit& unit) { return *dynamic_cast<UnitInfo*>(unit.Info.get()); }

class ShopTest : public BuildingTest {
 public:
  int32_t PriceOf(int32_t type, int32_t level) const { return logic.Weapons->GetUnitWeapon(type, level)->GetPrice(); }
  int32_t SlotPrice(int32_t slot) const { return logic.Weapons->GetSlot(slot)->GetPrice(); }
};

// Where the served unit stands.
enum class Where { kInside, kOtherShop, kOnMap };

struct SaleCase {
  const char* name;
  const char* keyword;
  int32_t type;  // the unit's type; 0 for a sale without a unit
  Where where;
  int32_t money;
  std::function<void(YLTBuilding&, YLUnit&)> prepare;
  std::function<void(YLTBuilding&, YLUnit*, CPlayer&)> sale;
  int64_t paid;   // < 0: computed by price
  std::function<int64_t(const ShopTest&)> price;
  std::function<void(YLTBuilding&, YLUnit*)> goods;  // what the customer has afterwards
};

void NoPrep(YLTBuilding&, YLUnit&) {}

void PrintTo(const SaleCase& test, std::ostream* out) { *out << test.name; }

std::string CaseName(const ::testing::TestParamInfo<SaleCase>& info) { return info.param.name; }

class SaleTest : public ShopTest, public ::testing::WithParamInterface<SaleCase> {};

TEST_P(SaleTest, ASaleTakesThePriceGivesTheShopAQuarterAndHandsOverTheGoods) {
  const SaleCase& test = GetParam();
  YLTBuilding* shop = MakeBuilding(test.keyword, 0);
  YLTBuilding* other = MakeBuilding(test.keyword, 0, 20, 20);
  YLUnit* unit = nullptr;
  if (test.type != 0) {
    const int32_t owner = test.type == kPoliceType ? CLogic::kPolicePlayer : 1;
    unit = test.where == Where::kInside      ? Inside(shop, test.type, owner)
           : test.where == Where::kOtherShop ? Inside(other, test.type, owner)
                                             : OnMap(test.type, owner, 3, 3);
    ASSERT_NE(unit, nullptr);
    test.prepare(*shop, *unit);
  }
  shop->SetInfoGrade(1000);
  Player(1).SetParam(ParamMoney, test.money);
  test.sale(*shop, unit, Player(1));
  const int64_t paid = test.paid >= 0 ? test.paid : test.price(*this);
  EXPECT_EQ(Player(1).GetMoney(), test.money - paid);
  EXPECT_EQ(shop->GetInfoGrade(), 1000 + paid / 4);
  test.goods(*shop, unit);
}

auto DopeSale = [](YLTBuilding& shop, YLUnit* unit, CPlayer& player) {
  dynamic_cast<YLTDopeHouse&>(shop).SellDopeToSelection(unit, &player);
};
auto LeaderDopeSale = [](int32_t amount) {
  return [amount](YLTBuilding& shop, YLUnit* unit, CPlayer& player) {
    dynamic_cast<YLTDopeHouse&>(shop).SellDopeToLeader(dynamic_cast<YLUnitLeader*>(unit), amount, &player);
  };
};
auto Doses = [](int32_t doses) {
  return [doses](YLTBuilding&, YLUnit* unit) {
    EXPECT_EQ(dynamic_cast<YLUnitLeader*>(unit)->GetLeaderInfo()->DopeDoses, doses);
  };
};
auto PleasureSale = [](YLTBuilding& shop, YLUnit* unit, CPlayer& player) {
  dynamic_cast<YLTSexShop&>(shop).SellPleasure(unit, &player);
};
auto UpgradeSale = [](YLTBuilding& shop, YLUnit* unit, CPlayer& player) {
  dynamic_cast<YLTWeaponShop&>(shop).Upgrade(unit, &player);
};
auto AmmoSale = [](YLTBuilding& shop, YLUnit* unit, CPlayer& player) {
  dynamic_cast<YLTWeaponShop&>(shop).SellAmmo(unit, &player);
};
auto WhoreSale = [](int32_t kind) {
  return [kind](YLTBuilding& shop, YLUnit*, CPlayer& player) {
    dynamic_cast<YLTSexShop&>(shop).SellWhore(kind, &player);
  };
};
auto SuitSale = [](YLTBuilding& shop, YLUnit*, CPlayer& player) {
  dynamic_cast<YLTSuitHangout&>(shop).SellSuit(&player);
};
auto NoPrice = [](const ShopTest&) -> int64_t { return 0; };
auto Doped = [](bool yes) {
  return [yes](YLTBuilding&, YLUnit* unit) { EXPECT_EQ(Unit(*unit).Dope > 0.0f, yes); };
};
auto Served = [](bool yes) {
  return [yes](YLTBuilding&, YLUnit* unit) { EXPECT_EQ(Unit(*unit).Stamina == 0.2f, yes); };
};
auto Armed = [](int32_t level, int32_t ammo) {
  return [level, ammo](YLTBuilding&, YLUnit* unit) {
    EXPECT_EQ(Unit(*unit).Weapon, level);
    EXPECT_EQ(Unit(*unit).Ammo, ammo);
  };
};
auto SetArms = [](int32_t level, int32_t ammo) {
  return [level, ammo](YLTBuilding&, YLUnit& unit) {
    unit.SetWeaponGrade(level);
    unit.SetAmmo(ammo);
  };
};
// The units of a type inside the shop, and what its record still offers.
auto Holds = [](int32_t type, int32_t count, int32_t offered) {
  return [type, count, offered](YLTBuilding& shop, YLUnit*) {
    int32_t found = 0;
    for (int32_t index = 0; index < shop.GetContainedCount(); ++index) {
      found += shop.GetContainedThing(index)->Info->Gfx == type ? 1 : 0;
    }
    EXPECT_EQ(found, count);
    EXPECT_EQ(shop.GetBuildingInfo()->SuitChick, offered);
  };
};

INSTANTIATE_TEST_SUITE_P(
    Shops, SaleTest,
    ::testing::Values(
        SaleCase{"DoseForAFan", "Dope1", kRat, Where::kInside, 100, NoPrep, DopeSale, 100, NoPrice, Doped(true)},
        SaleCase{"DoseTooPoor", "Dope1", kRat, Where::kInside, 99, NoPrep, DopeSale, 0, NoPrice, Doped(false)},
        SaleCase{"DoseInAnotherDopeHouse", "Dope1", kRat, Where::kOtherShop, 500, NoPrep, DopeSale, 0, NoPrice,
                 Doped(false)},
        SaleCase{"DoseNotInside", "Dope1", kRat, Where::kOnMap, 500, NoPrep, DopeSale, 0, NoPrice, Doped(false)},
        SaleCase{"DoseForPoliceIsNoHardCoreSale", "Dope1", kPoliceType, Where::kInside, 500, NoPrep, DopeSale, 0,
                 NoPrice, Doped(false)},
        SaleCase{"DopeForALeader", "Dope1", kLeader, Where::kInside, 500, NoPrep, LeaderDopeSale(5), 500, NoPrice,
                 Doses(5)},
        SaleCase{"DopeForALeaderTooPoor", "Dope1", kLeader, Where::kInside, 499, NoPrep, LeaderDopeSale(5), 0,
                 NoPrice, Doses(0)},
        SaleCase{"DopeForALeaderInAnotherDopeHouse", "Dope1", kLeader, Where::kOtherShop, 500, NoPrep,
                 LeaderDopeSale(5), 0, NoPrice, Doses(0)},
        // Beyond 99 doses the price would leave 32 bits; none is sold.
        SaleCase{"DopeForALeaderAbove99", "Dope1", kLeader, Where::kInside, 2000000000, NoPrep,
                 LeaderDopeSale(42949673), 0, NoPrice, Doses(0)},
        SaleCase{"NoDopeForALeader", "Dope1", kLeader, Where::kInside, 500, NoPrep, LeaderDopeSale(0), 0, NoPrice,
                 Doses(0)},
        SaleCase{"PleasureForAFan", "Girls1", kRat, Where::kInside, 25, NoPrep, PleasureSale, 25, NoPrice,
                 Served(true)},
        SaleCase{"PleasureTooPoor", "Girls1", kRat, Where::kInside, 24, NoPrep, PleasureSale, 0, NoPrice,
                 Served(false)},
        SaleCase{"PleasureForPoliceIsNoHardCoreSale", "Girls1", kPoliceType, Where::kInside, 500, NoPrep,
                 PleasureSale, 0, NoPrice, Served(false)},
        SaleCase{"GirlOfKind0", "Girls1", 0, Where::kInside, 200, NoPrep, WhoreSale(0), 200, NoPrice,
                 Holds(kChick, 1, 4)},
        SaleCase{"GirlOfKind1TooPoor", "Girls1", 0, Where::kInside, 499, NoPrep, WhoreSale(1), 0, NoPrice,
                 Holds(kChick, 0, 5)},
        SaleCase{"GirlOfKind2", "Girls1", 0, Where::kInside, 1000, NoPrep, WhoreSale(2), 1000, NoPrice,
                 Holds(kChick, 1, 4)},
        SaleCase{"SuitTooPoor", "Hotel1", 0, Where::kInside, 4999, NoPrep, SuitSale, 0, NoPrice,
                 Holds(kSuitType, 0, 5)},
        SaleCase{"NewSuit", "Hotel1", 0, Where::kInside, 5000, NoPrep, SuitSale, 5000, NoPrice,
                 [](YLTBuilding& shop, YLUnit* unit) {
                   Holds(kSuitType, 1, 4)(shop, unit);
                   EXPECT_EQ(dynamic_cast<YLUnitSuit*>(shop.GetContainedThing(0))->Last, 1);
                 }},
        SaleCase{"NoSuitLeft", "Hotel1", 0, Where::kInside, 5000,
                 NoPrep, [](YLTBuilding& shop, YLUnit* unit, CPlayer& player) {
                   shop.GetBuildingInfo()->SuitChick = 0;
                   SuitSale(shop, unit, player);
                 },
                 0, NoPrice, Holds(kSuitType, 0, 0)},
        SaleCase{"UpgradeToLevel1", "Weapon1", kRat, Where::kInside, 100000, NoPrep, UpgradeSale, -1,
                 [](const ShopTest& test) -> int64_t { return test.PriceOf(kRat, 1); },
                 [](YLTBuilding&, YLUnit* unit) { EXPECT_EQ(Unit(*unit).Weapon, 1); }},
        SaleCase{"UpgradeNotInside", "Weapon1", kRat, Where::kOnMap, 100000, NoPrep, UpgradeSale, 0, NoPrice,
                 Armed(0, 0)},
        SaleCase{"UpgradeAboveTheShopsLevel", "Weapon1", kRat, Where::kInside, 100000,
                 [](YLTBuilding& shop, YLUnit& unit) {
                   dynamic_cast<YLTWeaponShop&>(shop).SetTechnologyLevel(1);
                   unit.SetWeaponGrade(1);
                 },
                 UpgradeSale, 0, NoPrice, Armed(1, 0)},
        SaleCase{"UpgradeOfAChick", "Weapon1", kChick, Where::kInside, 100000, NoPrep, UpgradeSale, 0, NoPrice,
                 Armed(0, 0)},
        SaleCase{"UpgradeOfAYobbozerComesWithRounds", "Weapon1", kYobbozer, Where::kInside, 100000, NoPrep,
                 UpgradeSale, -1, [](const ShopTest& test) -> int64_t { return test.PriceOf(kYobbozer, 1); },
                 Armed(1, 3)},
        SaleCase{"UnaffordableUpgradeKeepsTheRounds", "Weapon1", kYobbozer, Where::kInside, 0, NoPrep, UpgradeSale,
                 0, NoPrice, Armed(0, 0)},
        SaleCase{"RoundsForALeader", "Weapon1", kLeader, Where::kInside, 1000, SetArms(1, 2), AmmoSale, 60, NoPrice,
                 Armed(1, 6)},
        SaleCase{"RoundsForALeaderTooPoor", "Weapon1", kLeader, Where::kInside, 59, SetArms(1, 2), AmmoSale, 0,
                 NoPrice, Armed(1, 2)},
        // Six less a hugely negative count of rounds is priced in 64 bits.
        SaleCase{"RoundsForALeaderBeyondAnyPurse", "Weapon1", kLeader, Where::kInside, 1000000000,
                 SetArms(1, INT32_MIN + 10), AmmoSale, 0, NoPrice, Armed(1, INT32_MIN + 10)},
        SaleCase{"RoundsForAnUnarmedLeader", "Weapon1", kLeader, Where::kInside, 1000, SetArms(0, 2), AmmoSale, 0,
                 NoPrice, Armed(0, 2)},
        SaleCase{"RoundsForAYobbozerByItsLevelsWeapon", "Weapon1", kYobbozer, Where::kInside, 100000,
                 SetArms(2, 1), AmmoSale, -1,
                 [](const ShopTest& test) -> int64_t {
                   return int64_t{test.SlotPrice(WeaponSlot::OfLevel(kYobbozer, 2)) / 3} * 2;
                 },
                 Armed(2, 3)}),
    CaseName);

TEST_F(ShopTest, TheYobbozersRoundsCostWhatTheirWeaponOfThatLevelPricesAndNotThePlainLevel) {
  // Slot 61 is the yobbozer's weapon of level 0; its rounds' weapon at
  // level w stands in slot 61 + w.
  EXPECT_EQ(WeaponSlot::OfLevel(kYobbozer, 0), 61);
  for (int32_t level = 1; level <= 3; ++level) {
    auto* shop = MakeBuilding<YLTWeaponShop>("Weapon1", 0, 10 + 5 * level, 10);
    YLUnit* yob = Inside(shop, kYobbozer, 1);
    yob->SetWeaponGrade(level);
    Player(1).SetParam(ParamMoney, 1000000);
    shop->SellAmmo(yob, &Player(1));
    const int64_t price = int64_t{SlotPrice(61 + level) / 3} * 3;
    EXPECT_GT(price, 0) << level;
    EXPECT_EQ(Player(1).GetMoney(), 1000000 - price) << level;
  }
}

// A civilian's type is a string-library index, past the catalogue's types.
TEST_F(ShopTest, ACivilianGetsNoWeaponFromTheShop) {
  auto* shop = MakeBuilding<YLTWeaponShop>("Weapon1", 0);
  YLUnit* civilian = Inside(shop, logic.AddString("Innocent07"), 1);
  Player(1).SetParam(ParamMoney, 100000);
  shop->Upgrade(civilian, &Player(1));
  EXPECT_EQ(Unit(*civilian).Weapon, 0);
  EXPECT_EQ(Player(1).GetMoney(), 100000);
}

TEST_F(ShopTest, AGirlOfAKindOutsideZeroToTwoIsRefusedAndAnEmptyShopSellsNone) {
  auto* shop = MakeBuilding<YLTSexShop>("Girls1", 0);
  Player(1).SetParam(ParamMoney, 100000);
  const std::string log = Logged([&] {
    shop->SellWhore(3, &Player(1));
    shop->SellWhore(-1, &Player(1));
  });
  EXPECT_NE(log.find("YLTSexShop::SellWhore: sex shop " + std::to_string(shop->GetTid()) + " has no girl of kind 3\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("has no girl of kind -1\n"), std::string::npos) << log;
  shop->GetBuildingInfo()->SuitChick = 0;
  shop->SellWhore(1, &Player(1));
  EXPECT_EQ(shop->GetContainedCount(), 0);
  EXPECT_EQ(Player(1).GetMoney(), 100000);

  shop->GetBuildingInfo()->SuitChick = 1;
  shop->SellWhore(1, &Player(1));
  ASSERT_EQ(shop->GetContainedCount(), 1);
  auto* chick = dynamic_cast<YLUnitChick*>(shop->GetContainedThing(0));
  ASSERT_NE(chick, nullptr);
  EXPECT_EQ(chick->Grade, 1);
  EXPECT_EQ(chick->FlirtsAllowed, 4);
  EXPECT_EQ(Player(1).GetMoney(), 100000 - 500);
  tString text;
  shop->GetDebugText(text);
  EXPECT_EQ(std::string(text.text), "sexshop: 0 whores\n");
}

TEST_F(ShopTest, ADopeAmountOutsideOneTo99IsRefusedAndLogged) {
  auto* house = MakeBuilding<YLTDopeHouse>("Dope1", 0);
  auto* leader = Inside<YLUnitLeader>(house, kLeader, 1);
  Player(1).SetParam(ParamMoney, 100000);
  const std::string log = Logged([&] {
    house->SellDopeToLeader(leader, 100, &Player(1));
    house->SellDopeToLeader(leader, -3, &Player(1));
  });
  const std::string prefix = "YLTDopeHouse::SellDopeToLeader: dope house " + std::to_string(house->GetTid());
  EXPECT_NE(log.find(prefix + " refuses 100 doses\n"), std::string::npos) << log;
  EXPECT_NE(log.find(prefix + " refuses -3 doses\n"), std::string::npos) << log;
  EXPECT_EQ(Player(1).GetMoney(), 100000);
  house->SellDopeToLeader(leader, 99, &Player(1));
  EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, 99);
  EXPECT_EQ(Player(1).GetMoney(), 100000 - 9900);
}

TEST_F(ShopTest, LootingTheDopeHouseDopesTheFansAndStocksTheLeader) {
  auto* house = MakeBuilding<YLTDopeHouse>("Dope1", 0);
  YLUnit* rat = Inside(house, kRat, 1);
  auto* leader = Inside<YLUnitLeader>(house, kLeader, 1);
  house->TakeMoney();
  EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, 20);
  EXPECT_EQ(Unit(*leader).Dope, 0.0f);
  EXPECT_GT(Unit(*rat).Dope, 0.0f);
  EXPECT_EQ(Player(1).GetParam(ParamDopeUsed), 2);
}

TEST_F(ShopTest, ASuitWaitingInTheHangoutChangesSidesIsRearmedAndLeaves) {
  auto* hangout = MakeBuilding<YLTSuitHangout>("Hotel1", 0);
  auto* suit = Inside<YLUnitSuit>(hangout, kSuitType, 0);
  suit->BombFlag = YLUnitSuit::kBombUsed;
  suit->SetAmmo(0);
  suit->Info->Hp = 0.5f;
  Player(1).SetParam(ParamMoney, 6000);
  hangout->SellSuit(&Player(1));
  EXPECT_EQ(suit->GetOwner(), 1);
  EXPECT_EQ(suit->Last, 1);
  EXPECT_EQ(suit->BombFlag, YLUnitSuit::kArmed);
  EXPECT_EQ(Unit(*suit).Ammo, 1);
  EXPECT_EQ(suit->Info->Hp, 1.0f);
  EXPECT_EQ(Player(1).GetMoney(), 1000);
  EXPECT_EQ(hangout->GetBuildingInfo()->SuitChick, 5) << "no new suit was made";
  const PsychicPlanItem* step = suit->Plan.child;
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(step->Action, 17);
  EXPECT_EQ(step->Param1, hangout->GetTid());
  EXPECT_FLOAT_EQ(step->Motivation, 0.8f);
}

TEST_F(ShopTest, TheWeaponShopsLevelStaysWithinZeroToThree) {
  auto* shop = MakeBuilding<YLTWeaponShop>("Weapon1", 0);
  EXPECT_EQ(shop->tech, 3);
  for (const auto& [level, kept] : std::vector<std::pair<int32_t, int32_t>>{{7, 3}, {-2, 0}, {2, 2}}) {
    shop->SetTechnologyLevel(level);
    EXPECT_EQ(shop->tech, kept) << level;
  }
}

TEST_F(ShopTest, TheTechLevelItemSetsTheLibrarysLevelAndEveryWeaponShops) {
  auto* first = MakeBuilding<YLTWeaponShop>("Weapon1", 0);
  auto* second = MakeBuilding<YLTWeaponShop>("Weapon2", 0, 20, 20);
  LogicPlanTechLevel(1).Execute(&logic);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 1);
  EXPECT_EQ(first->tech, 1);
  EXPECT_EQ(second->tech, 1);
  LogicPlanTechLevel(7).Execute(&logic);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 7);
  EXPECT_EQ(first->tech, 3);
  CLogic::SetTechnologyLevel(CLogic::kDefaultTechLevel);
}

TEST_F(ShopTest, LootingAWeaponShopArmsTheFansInsideButChicksAndSuits) {
  auto* shop = MakeBuilding<YLTWeaponShop>("Weapon1", 0);
  shop->SetTechnologyLevel(2);
  YLUnit* rat = Inside(shop, kRat, 1);
  YLUnit* leader = Inside(shop, kLeader, 1);
  YLUnit* chick = Inside(shop, kChick, 1);
  YLUnit* suit = Inside(shop, kSuitType, 1);
  leader->SetAmmo(1);
  const int32_t suitAmmo = Unit(*suit).Ammo;
  shop->SetInfoGrade(300);
  EXPECT_EQ(shop->TakeMoney(), 300);
  EXPECT_EQ(Unit(*rat).Weapon, 2);
  EXPECT_EQ(Unit(*rat).Ammo, 0);
  EXPECT_EQ(Unit(*leader).Weapon, 2);
  EXPECT_EQ(Unit(*leader).Ammo, 4);
  EXPECT_EQ(Unit(*chick).Weapon, 0);
  EXPECT_EQ(Unit(*suit).Weapon, 0);
  EXPECT_EQ(Unit(*suit).Ammo, suitAmmo);
}

TEST_F(ShopTest, AKickThatWrecksAWeaponShopFromInsideLootsItForTheKickersSide) {
  auto* shop = MakeBuilding<YLTWeaponShop>("Weapon1", 0);
  YLUnit* rat = Inside(shop, kRat, 1);
  shop->SetInfoGrade(700);
  shop->Info->Armor = 0.0f;
  shop->Info->Hp = 0.05f;
  Player(1).SetParam(ParamMoney, 0);
  logic.ApplyKick(rat, shop);
  EXPECT_NE(shop->Info->Status & StatusWrecked, 0u);
  EXPECT_EQ(Player(1).GetMoney(), 700);
  EXPECT_EQ(shop->GetInfoGrade(), 0);
  EXPECT_EQ(Unit(*rat).Weapon, YLTWeaponShop::kMaxTech);
  EXPECT_EQ(Player(1).GetParam(ParamWeaponShopsWrecked), 1);
}

TEST_F(ShopTest, LootingTheSexShopServesTheFansInside) {
  auto* shop = MakeBuilding<YLTSexShop>("Girls1", 0);
  YLUnit* rat = Inside(shop, kRat, 1);
  shop->TakeMoney();
  EXPECT_EQ(Unit(*rat).Stamina, 0.2f);
  EXPECT_EQ(Player(1).GetParam(ParamWhoresFucked), 1);
}

TEST_F(ShopTest, OrdersReachTheShopsTrade) {
  auto* shop = MakeBuilding<YLTWeaponShop>("Weapon1", 0);
  auto* pub = MakeBuilding<YLTPub>("Pub1", 1, 20, 20);
  YLUnit* rat = Inside(shop, kRat, 1);
  Player(1).SetParam(ParamMoney, 100000);
  ASSERT_TRUE(Player(1).SelectThing(rat->GetTid()));
  order_testing::Package upgrade(GenerateUpgradeSelectionOrder(1, shop->GetTid()));
  ASSERT_TRUE(AcceptOrder(upgrade.get()));
  EXPECT_EQ(Unit(*rat).Weapon, 1);
  order_testing::Package beer(GenerateGiveBeerOrder(1, pub->GetTid(), 100));
  ASSERT_TRUE(AcceptOrder(beer.get()));
  EXPECT_EQ(pub->GetContainedCount(), 1);
  EXPECT_EQ(Player(1).GetMoney(), 100000 - PriceOf(kRat, 1) - 100);
}

// ---- The shack ----

class ShackTest : public ShopTest {
 protected:
  void SetUp() override {
    ShopTest::SetUp();
    shack = MakeBuilding<YLTLoods>("Shack1", 0);
    ASSERT_NE(shack, nullptr);
  }
  ShackInfo& Stock() { return *shack->GetShackInfo(); }
  // Whether player 1 heard its money again, unchanged.
  bool MoneyReported() {
    for (const auto& heardParameter : heard.parameters) {
      if (heardParameter == std::vector<int32_t>{1, ParamMoney, Player(1).GetMoney()}) {
        return true;
      }
    }
    return false;
  }
  YLTLoods* shack = nullptr;
};

struct ShackUpgradeCase {
  int32_t type;
  int32_t weapon;  // the unit's level before
  int32_t molotovs;
  int32_t weaponCount;
  int32_t guns;
  int32_t level;  // afterwards
  int32_t ammo;   // afterwards
  int32_t molotovsLeft;
  int32_t weaponCountLeft;
  int32_t gunsLeft;
};

class ShackUpgradeTest : public ShackTest, public ::testing::WithParamInterface<ShackUpgradeCase> {};

TEST_P(ShackUpgradeTest, TheShackArmsFromItsStockByUnitType) {
  const ShackUpgradeCase& test = GetParam();
  Stock().Molotovs = test.molotovs;
  Stock().WeaponCount = test.weaponCount;
  Stock().Guns = test.guns;
  YLUnit* unit = Inside(shack, test.type, 1);
  unit->SetWeaponGrade(test.weapon);
  unit->SetAmmo(0);
  heard.parameters.clear();
  shack->Upgrade(unit);
  EXPECT_EQ(Unit(*unit).Weapon, test.level);
  EXPECT_EQ(Unit(*unit).Ammo, test.ammo);
  EXPECT_EQ(Stock().Molotovs, test.molotovsLeft);
  EXPECT_EQ(Stock().WeaponCount, test.weaponCountLeft);
  EXPECT_EQ(Stock().Guns, test.gunsLeft);
}

INSTANTIATE_TEST_SUITE_P(Shack, ShackUpgradeTest,
                         ::testing::Values(
                             // type, level, molotovs, weapons, guns -> level, ammo, molotovs, weapons, guns
                             ShackUpgradeCase{kYobbozer, 0, 2, 6, 1, 2, 2, 0, 6, 1},
                             ShackUpgradeCase{kYobbozer, 1, 5, 6, 1, 2, 3, 2, 6, 1},
                             ShackUpgradeCase{kYobbozer, 0, 0, 6, 1, 0, 0, 0, 6, 1},
                             ShackUpgradeCase{kRat, 0, 5, 1, 1, 2, 0, 5, 0, 1},
                             ShackUpgradeCase{kRat, 0, 5, 0, 1, 0, 0, 5, 0, 1},
                             ShackUpgradeCase{kRat, 3, 5, 6, 1, 3, 0, 5, 6, 1},
                             ShackUpgradeCase{kLeader, 0, 5, 6, 1, 2, 3, 5, 6, 0},
                             ShackUpgradeCase{kLeader, 0, 5, 6, 0, 0, 0, 5, 6, 0},
                             ShackUpgradeCase{kChick, 0, 5, 6, 1, 0, 0, 5, 6, 1},
                             ShackUpgradeCase{kSuitType, 0, 5, 6, 1, 0, 0, 5, 6, 1}));

TEST_F(ShackTest, EachSaleIsFreeAndTheOwnerHearsItsMoneyAgain) {
  YLUnit* rat = Inside(shack, kRat, 1);
  Player(1).SetParam(ParamMoney, 777);
  heard.parameters.clear();
  shack->SellDopeToSelection(rat);
  EXPECT_EQ(Stock().Dope, 34);
  EXPECT_GT(Unit(*rat).Dope, 0.0f);
  EXPECT_EQ(Player(1).GetMoney(), 777);
  EXPECT_TRUE(MoneyReported());

  YLUnit* police = Inside(shack, kPoliceType, CLogic::kPolicePlayer);
  shack->SellDopeToSelection(police);
  EXPECT_EQ(Stock().Dope, 34) << "no hard-core unit";

  YLUnit* leader = Inside(shack, kLeader, 1);
  leader->SetAmmo(2);
  Stock().Ammo = 3;
  heard.parameters.clear();
  shack->SellAmmo(leader);
  EXPECT_EQ(Unit(*leader).Ammo, 5);
  EXPECT_EQ(Stock().Ammo, 0);
  EXPECT_TRUE(MoneyReported());
  leader->SetAmmo(9);
  Stock().Ammo = 4;
  shack->SellAmmo(leader);
  EXPECT_EQ(Unit(*leader).Ammo, 9);
  EXPECT_EQ(Stock().Ammo, 4) << "a leader with more than six gives nothing back";

  YLUnit* yob = Inside(shack, kYobbozer, 1);
  yob->SetWeaponGrade(2);
  yob->SetAmmo(1);
  Stock().Molotovs = 1;
  shack->SellAmmo(yob);
  EXPECT_EQ(Stock().Molotovs, 0);
  EXPECT_EQ(Unit(*yob).Ammo, 3);
  EXPECT_EQ(Unit(*yob).Weapon, 2);
}

TEST_F(ShackTest, ALeaderTakesDopeUpToTheStockAndAnAmountOutsideOneTo99IsRefused) {
  auto* leader = Inside<YLUnitLeader>(shack, kLeader, 1);
  const std::string log = Logged([&] {
    shack->SellDopeToLeader(leader, 0);
    shack->SellDopeToLeader(leader, -5);
    shack->SellDopeToLeader(leader, 100);
  });
  EXPECT_NE(log.find("YLTLoods::SellDopeToLeader: shack " + std::to_string(shack->GetTid()) + " refuses -5 doses\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(Stock().Dope, 35);
  EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, 0);
  heard.parameters.clear();
  shack->SellDopeToLeader(leader, 40);
  EXPECT_EQ(Stock().Dope, 0);
  EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, 35);
  EXPECT_TRUE(MoneyReported());
}

TEST_F(ShackTest, AServedUnitMustStandInsideAndADestroyedShackLosesItsStock) {
  YLUnit* rat = OnMap(kRat, 1, 3, 3);
  shack->SellDopeToSelection(rat);
  shack->Upgrade(rat);
  EXPECT_EQ(Stock().Dope, 35);
  EXPECT_EQ(Stock().WeaponCount, 6);
  EXPECT_TRUE(shack->CanEnter(rat));
  EXPECT_FALSE(shack->PlaceKindA());
  EXPECT_TRUE(shack->PlaceKindB());
  tString text;
  shack->GetDebugText(text);
  EXPECT_EQ(std::string(text.text), "shack");
  shack->Destroy();
  EXPECT_EQ(Stock().Ammo + Stock().Dope + Stock().Guns + Stock().Molotovs + Stock().WeaponCount +
                Stock().WeaponGrade,
            0);
}

// ---- Stored forms ----

TEST_F(ShopTest, EveryBuildingKindSurvivesAStreamRoundTrip) {
  for (const char* keyword : {"Home1", "Bank1", "PDept", "Public1", "Pub1", "Dope1", "Girls1", "Hotel1", "Weapon1",
                              "Shack1"}) {
    YLThing* building = Thing(logic.CreateThing(keyword, 10, 10, 0, 0, 1));
    ASSERT_NE(building, nullptr) << keyword;
    if (auto* hangout = dynamic_cast<YLTSuitHangout*>(building)) {
      hangout->Suit = 42;
    }
    if (auto* shop = dynamic_cast<YLTWeaponShop*>(building)) {
      shop->SetTechnologyLevel(2);
    }
    if (auto* shack = dynamic_cast<YLTLoods*>(building)) {
      shack->GetShackInfo()->Guns = 9;
    }
    building->SetInfoGrade(321);
    const Bytes saved = SaveOne(*building);
    Loaded copy = LoadOne(saved);
    auto* loaded = dynamic_cast<YLThing*>(copy.get());
    ASSERT_NE(loaded, nullptr) << keyword;
    EXPECT_STREQ(loaded->GetClassName(), building->GetClassName());
    EXPECT_EQ(SaveOne(*loaded), saved) << keyword;
    EXPECT_EQ(loaded->GetInfoGrade(), building->GetInfoGrade()) << keyword;
    if (auto* hangout = dynamic_cast<YLTSuitHangout*>(loaded)) {
      EXPECT_EQ(hangout->Suit, 42);
    }
    if (auto* shop = dynamic_cast<YLTWeaponShop*>(loaded)) {
      EXPECT_EQ(shop->tech, 2);
    }
    if (auto* shack = dynamic_cast<YLTLoods*>(loaded)) {
      EXPECT_EQ(shack->GetShackInfo()->Guns, 9);
    }
    logic.DestroyThing(building->Info.get());
  }
  // The factory makes public buildings as plain ones; the class stands on
  // its own.
  YLTPublicBuilding plain;
  plain.CreateInfo(0);
  plain.SetInfoGrade(7);
  const Bytes saved = SaveOne(plain);
  Loaded copy = LoadOne(saved);
  ASSERT_NE(dynamic_cast<YLTPublicBuilding*>(copy.get()), nullptr);
  EXPECT_EQ(dynamic_cast<YLTPublicBuilding*>(copy.get())->GetInfoGrade(), 7);
  EXPECT_EQ(SaveOne(*copy), saved);
}

TEST_F(ShopTest, LoadingAWeaponShopSetsTheTechnologyLevelAndAStreamWithoutTheLevelKeepsThree) {
  auto* shop = MakeBuilding<YLTWeaponShop>("Weapon1", 0);
  shop->SetTechnologyLevel(1);
  Bytes saved = SaveOne(*shop);
  CLogic::SetTechnologyLevel(3);
  Loaded copy = LoadOne(saved);
  ASSERT_NE(dynamic_cast<YLTWeaponShop*>(copy.get()), nullptr);
  EXPECT_EQ(dynamic_cast<YLTWeaponShop*>(copy.get())->tech, 1);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 1);

  ASSERT_TRUE(Cut(saved, "tech:", 4));
  CLogic::SetTechnologyLevel(2);
  Loaded older = LoadOne(saved);
  ASSERT_NE(dynamic_cast<YLTWeaponShop*>(older.get()), nullptr);
  EXPECT_EQ(dynamic_cast<YLTWeaponShop*>(older.get())->tech, 3);
  EXPECT_EQ(CLogic::GetTechnologyLevel(), 2);
  CLogic::SetTechnologyLevel(CLogic::kDefaultTechLevel);
}

}  // namespace
