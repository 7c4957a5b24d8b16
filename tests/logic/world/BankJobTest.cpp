// A suit's bank job through the exports: ordered to bomb a bank, the suit
// walks to it, goes in, works the safe from inside, and the bank is robbed;
// the level's trigger that looks for a bank robber fires.

#include <gtest/gtest.h>

#include <algorithm>

#include "ExportLevelFixture.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/CPlayer.h"
#include "logic/core/TriggerExports.h"
#include "logic/triggers/PropertyText.h"
#include "logic/triggers/YLCustomTrigger.h"
#include "logic/triggers/YLTriggerConditionStatus.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/YLUnitLeader.h"

namespace export_level_testing {
namespace {

constexpr int32_t kBankX = 20;
constexpr int32_t kBankY = 20;
constexpr int32_t kBankMoney = 5000;
constexpr int32_t kRobberMessage = 42;
// The move that fires a unit's weapon.
constexpr int32_t kWeaponMove = 11;
// The speech a custom trigger makes as it fires: kind 1 about nobody,
// message 20 with the trigger's interface message.
constexpr HeardSpeech kRobberFound{1, 0, 20, kRobberMessage};

class BankJobTest : public ExportLevelTest {
 protected:
  void SetUp() override {
    ExportLevelTest::SetUp();
    AddPlayers();
    bank = MakeAs<YLTBank>("Bank01-Central", kBankX, kBankY);
    suit = MakeAs<YLUnitSuit>("UnitSuit", 14, 26, 1);
    ASSERT_NE(bank, nullptr);
    ASSERT_NE(suit, nullptr);
    bank->GetBuildingInfo()->Money = kBankMoney;
  }

  // A level trigger that speaks once some unit has robbed a bank and
  // stands alive.
  static void PlanRobberTrigger() {
    auto* trigger = dynamic_cast<YLCustomTrigger*>(CreateTrigger(14));
    ASSERT_NE(trigger, nullptr);
    trigger->InterfaceMsg = kRobberMessage;
    trigger->Frequency = 5;
    auto* robber = new YLTriggerConditionBankRobberStatus;
    robber->Param = YLTriggerConditionThingStatus::kHp;
    robber->Operator = OperatorGreater;
    robber->Value = 0.0f;
    trigger->Conditions->Append(robber);
    InsertTrigger(trigger);
  }

  bool HeardRobberFound() const {
    return std::find(listener.speeches.begin(), listener.speeches.end(), kRobberFound) != listener.speeches.end();
  }

  YLTBank* bank = nullptr;
  YLUnitSuit* suit = nullptr;
};

TEST_F(BankJobTest, ASuitOrderedToBombABankRobsItAndTheRobberTriggerFires) {
  PlanRobberTrigger();
  const int32_t moneyBefore = GetPlayerParam(1, ParamMoney);
  SelectOnly(1, suit->GetTid());
  ASSERT_TRUE(Give(GenerateBombOrder(1, kBankX, kBankY, false, false)));
  Run(100);
  ASSERT_FALSE(HeardRobberFound()) << "the trigger must not fire before the job";
  Run(500);

  EXPECT_EQ(bank->GetBuildingInfo()->Money, 0);
  EXPECT_NE(suit->Info->Status & StatusBurgled, 0u);
  EXPECT_EQ(bank->GetState(), YLTBuilding::kStateTrashed);
  EXPECT_NE(std::find(listener.actors.begin(), listener.actors.end(), bank->GetTid()), listener.actors.end());
  EXPECT_NE(std::find(listener.splats.begin(), listener.splats.end(), 8), listener.splats.end());
  // The money goes to nobody, not even the suit's side.
  EXPECT_EQ(GetPlayerParam(1, ParamMoney), moneyBefore);
  EXPECT_TRUE(HeardRobberFound());
}

// A shot the logic refuses (out of range) leaves the suit its weapon for a
// later try.
TEST_F(BankJobTest, ARefusedShotDoesNotUseUpTheSuitsWeapon) {
  suit->DestinationX = 1;
  suit->DestinationY = 1;
  ASSERT_TRUE(Logic().EnterContainer(suit, kBankX, kBankY));
  MoveInfo* weapon = suit->GetMoveInfo(kWeaponMove);
  ASSERT_NE(weapon, nullptr);
  EXPECT_FALSE(weapon->Perform(suit, &Logic()));
  EXPECT_EQ(suit->BombFlag, YLUnitSuit::kArmed);
  EXPECT_EQ(suit->GetUnitInfo()->Ammo, 1);

  suit->DestinationX = bank->GetX();
  suit->DestinationY = bank->GetY();
  EXPECT_TRUE(weapon->Perform(suit, &Logic()));
  EXPECT_EQ(suit->BombFlag, YLUnitSuit::kBankWeaponUsed);
}

}  // namespace
}  // namespace export_level_testing
