// The leader's dope and the suit's two weapons: doses added and taken, the
// suit's bomb and bank weapon handed out once, the re-arming a hangout
// sells, and the suit's bank, flag and hiring player in its stored form.

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "LogicThingsFixture.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/world/YLUnitLeader.h"

namespace {

using logic_things_testing::LogicThingsTest;

constexpr int32_t kOwner = 1;
constexpr int32_t kSuitType = 4;

class LeaderDopeSuitTest : public LogicThingsTest {
 protected:
  YLUnitLeader* MakeLeader(int32_t x, int32_t y) {
    return dynamic_cast<YLUnitLeader*>(logic.CreateLeader(x, y, 0, "Boss", kOwner));
  }
  YLUnitSuit* MakeSuit(int32_t x, int32_t y, int32_t owner = kOwner) {
    return dynamic_cast<YLUnitSuit*>(logic.CreateUnitAt(x, y, 0, 0, kSuitType, owner, nullptr));
  }
  YLWeapon* Slot(int32_t slot) const { return logic.Weapons->GetSlot(slot); }
};

TEST_F(LeaderDopeSuitTest, DosesAddUpToNinetyNineAndOnlyAnOverflowOrANegativeCountIsLogged) {
  struct Case {
    int32_t held;
    int32_t added;
    bool accepted;
    int32_t stored;
    const char* logged;  // null: nothing
  };
  const Case cases[] = {
      {0, 99, true, 99, nullptr},
      {98, 1, true, 99, nullptr},
      {20, 0, true, 20, nullptr},
      {0, 100, true, 99, "YLUnitLeader::AddDopeUnits(): too much dope: clipped to 99\n"},
      {50, 50, true, 99, "too much dope: clipped to 99"},
      // Would overflow a plain sum.
      {1, INT_MAX, true, 99, "too much dope: clipped to 99"},
      {10, -1, false, 10, "refused"},
      {10, INT_MIN, false, 10, "refused"},
  };
  YLUnitLeader* leader = MakeLeader(4, 4);
  ASSERT_NE(leader, nullptr);
  for (const Case& entry : cases) {
    SCOPED_TRACE(std::to_string(entry.held) + " + " + std::to_string(entry.added));
    leader->GetLeaderInfo()->DopeDoses = static_cast<uint8_t>(entry.held);
    bool accepted = false;
    const std::string log = Logged([&] { accepted = leader->AddDopeUnits(entry.added); });
    EXPECT_EQ(accepted, entry.accepted);
    EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, entry.stored);
    if (entry.logged == nullptr) {
      EXPECT_EQ(log.find("AddDopeUnits"), std::string::npos) << log;
    } else {
      EXPECT_NE(log.find(entry.logged), std::string::npos) << log;
    }
  }
}

TEST_F(LeaderDopeSuitTest, OnlyAUnitOfTheLeadersOwnerTakesADoseWhileThereIsOne) {
  YLUnitLeader* leader = MakeLeader(4, 4);
  YLUnitSuit* own = MakeSuit(5, 4);
  YLUnitSuit* stranger = MakeSuit(6, 4, 2);
  ASSERT_TRUE(leader != nullptr && own != nullptr && stranger != nullptr);
  ASSERT_TRUE(leader->AddDopeUnits(1));
  EXPECT_FALSE(leader->UseDopeDose(stranger));
  EXPECT_FALSE(leader->UseDopeDose(nullptr));
  EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, 1);
  EXPECT_TRUE(leader->UseDopeDose(own));
  EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, 0);
  EXPECT_FALSE(leader->UseDopeDose(own));
  EXPECT_EQ(leader->GetLeaderInfo()->DopeDoses, 0);
}

// Whichever weapon the suit takes first, the other is gone too; re-arming
// brings both back with one round, full health and the hiring player.
TEST_F(LeaderDopeSuitTest, ASuitFiresOneOfItsTwoWeaponsOnceUntilItIsRearmed) {
  YLUnitSuit* suit = MakeSuit(4, 4);
  ASSERT_NE(suit, nullptr);
  EXPECT_EQ(suit->GetUnitInfo()->Ammo, 1);
  EXPECT_EQ(suit->TakeBombWeapon(&logic), Slot(WeaponSlot::kBomb));
  EXPECT_EQ(suit->BombFlag, YLUnitSuit::kBombUsed);
  EXPECT_EQ(suit->TakeBankWeapon(&logic), nullptr);
  EXPECT_EQ(suit->TakeBombWeapon(&logic), nullptr);

  suit->GetUnitInfo()->Ammo = 0;
  suit->Info->Hp = 0.25f;
  suit->GetUnitInfo()->Cons = 0.5f;
  suit->Rearm(2);
  EXPECT_EQ(suit->Last, 2);
  EXPECT_EQ(suit->BombFlag, YLUnitSuit::kArmed);
  EXPECT_EQ(suit->GetUnitInfo()->Ammo, 1);
  EXPECT_FLOAT_EQ(suit->Info->Hp, 1.0f);
  EXPECT_FLOAT_EQ(suit->GetUnitInfo()->Cons, 1.0f);

  EXPECT_EQ(suit->TakeBankWeapon(&logic), Slot(WeaponSlot::kSafeCracker));
  EXPECT_EQ(suit->BombFlag, YLUnitSuit::kBankWeaponUsed);
  EXPECT_EQ(suit->TakeBombWeapon(&logic), nullptr);
  EXPECT_EQ(suit->TakeBankWeapon(nullptr), nullptr);
}

TEST_F(LeaderDopeSuitTest, TheSuitsBankFlagAndHirerSurviveSaveAndLoad) {
  YLUnitSuit* suit = MakeSuit(4, 4);
  ASSERT_NE(suit, nullptr);
  suit->BankID = 77;
  suit->BombFlag = YLUnitSuit::kBankWeaponUsed;
  suit->Last = 3;
  LumoMemoryStream out;
  ASSERT_TRUE(out.OpenNew(16, 1, 0));
  ASSERT_EQ(out.SetGrowth(256), 256u);
  ASSERT_TRUE(suit->SaveObject(&out, 0));
  std::vector<uint8_t> bytes(out.buffer, out.buffer + out.position);
  bytes.push_back(0);
  LumoMemoryStream in;
  ASSERT_TRUE(in.OpenBuffer(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), 1, 0));
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded(LoadObject(&in, nullptr));
  auto* copy = dynamic_cast<YLUnitSuit*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->BankID, 77);
  EXPECT_EQ(copy->BombFlag, YLUnitSuit::kBankWeaponUsed);
  EXPECT_EQ(copy->Last, 3);
}

}  // namespace
