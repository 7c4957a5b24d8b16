// The query exports on a small level built through the logic's own exports.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "logic/core/CLogic.h"
#include "logic/core/CPlayer.h"
#include "logic/core/LogicLifecycle.h"
#include "logic/core/LogicQueries.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanItem.h"
#include "logic/world/YLUnit.h"

namespace {

class LogicQueriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LogicStart());
    ASSERT_TRUE(LogicCreate(16, 16));
    ASSERT_TRUE(LogicPlayer(1));
    ASSERT_TRUE(LogicPlayer(2));
  }
  void TearDown() override { LogicStop(); }

  static UnitInfo* Unit(const char* keyword, int32_t x, int32_t y, int32_t owner) {
    return dynamic_cast<UnitInfo*>(CreateThing(keyword, x, y, 0, 0, owner));
  }
};

TEST_F(LogicQueriesTest, BalanceValues) {
  const struct {
    const char* what;
    int32_t answer;
    int32_t expected;
  } cases[] = {
      {"unit cost of type 0", GetUnitCost(0), 100},
      {"unit cost of type 13", GetUnitCost(13), 100},
      {"unit cost of type -1", GetUnitCost(-1), 100},
      {"unit cost of type 12", GetUnitCost(12), 300},
      {"weapon cost of type 9 from 0 to 3", GetWeaponCost(9, 0, 3), 300},
      {"weapon cost of type 9 from 2 to 2", GetWeaponCost(9, 2, 2), 0},
      {"weapon cost of type 9 from 3 to 4", GetWeaponCost(9, 3, 4), 0},
      {"beer slider", GetBeerSlider(), 500},
      {"dope cost of 3", GetDopeCost(3), 300},
      {"dope cost far beyond the range", GetDopeCost(std::numeric_limits<int32_t>::max()),
       std::numeric_limits<int32_t>::max()},
      {"dope cost far below the range", GetDopeCost(std::numeric_limits<int32_t>::min()),
       std::numeric_limits<int32_t>::min()},
      {"the shop's ammunition", AmmoCost(), 666},
      {"tech level", GetTechLevel(), 3},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(entry.answer, entry.expected) << entry.what;
  }
  EXPECT_EQ(GetWeaponHealthDamage(10, 3), 4.0f);
  EXPECT_EQ(GetWeaponHealthDamage(10, 4), 0.0f);
  EXPECT_EQ(GetWeaponHealthDamage(10, -1), 0.0f);
  // A type outside 1-12 reads type 0's row.
  EXPECT_EQ(GetWeaponConsDamage(40, 0), GetWeaponConsDamage(0, 0));
}

TEST_F(LogicQueriesTest, UnitArmourByType) {
  const float expected[] = {0.0f, 0.0f, 0.05f, 0.0f, 0.0f, 0.3f, 0.35f, 0.15f, 0.0f, 0.25f, 0.2f, 0.0f, 0.1f, 0.0f};
  for (int32_t type = 0; type < 14; ++type) {
    EXPECT_EQ(GetUnitArmor(type), expected[type]) << type;
  }
  EXPECT_EQ(GetUnitArmor(-1), 0.0f);
}

// What a refill of ammunition costs: never negative, nothing for a
// yobbozer's weapon level outside 1-3.
TEST_F(LogicQueriesTest, AmmoCostOfLeadersAndYobbozers) {
  UnitInfo* leader = Unit("UnitLeader", 2, 2, 1);
  UnitInfo* yobbozer = Unit("UnitYobbozer", 4, 4, 1);
  UnitInfo* fan = Unit("UnitSupporter", 6, 6, 1);
  ASSERT_NE(leader, nullptr);
  ASSERT_NE(yobbozer, nullptr);
  ASSERT_NE(fan, nullptr);
  ASSERT_EQ(leader->Gfx, 10);
  ASSERT_EQ(yobbozer->Gfx, 12);
  const struct {
    UnitInfo* unit;
    int32_t weapon;
    int32_t ammo;
    int32_t expected;
  } cases[] = {
      {leader, 0, 6, 0},
      {leader, 0, 2, 60},
      {leader, 0, 9, 0},  // a weapon shop's loot made it overfull
      {leader, 0, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()},
      {yobbozer, 0, 0, 0},
      {yobbozer, 1, 3, 0},
      {yobbozer, 4, 0, 0},
      {yobbozer, -1, 0, 0},
      {fan, 2, 0, 0},
  };
  for (const auto& entry : cases) {
    entry.unit->Weapon = entry.weapon;
    entry.unit->Ammo = entry.ammo;
    EXPECT_EQ(AmmoCost(entry.unit->Tid), entry.expected) << entry.unit->Gfx << " " << entry.ammo;
  }
  // Level 2's price is the yobbozer's slot 63; a third per round short.
  yobbozer->Weapon = 2;
  yobbozer->Ammo = 1;
  EXPECT_GT(AmmoCost(yobbozer->Tid), 0);
  EXPECT_EQ(AmmoCost(yobbozer->Tid) % 2, 0);
  EXPECT_EQ(AmmoCost(0), 0);
  EXPECT_EQ(AmmoCost(4095), 0);
}

// Ids are bounded by the thing table's length, not by the thing count.
TEST_F(LogicQueriesTest, ThingsByIdWithinTheTable) {
  UnitInfo* first = Unit("UnitSupporter", 2, 2, 1);
  UnitInfo* second = Unit("UnitSupporter", 4, 2, 1);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  CLogic& logic = *TheLogic();
  const int32_t length = logic.Things->count;
  ASSERT_EQ(length, second->Tid + 1);
  EXPECT_EQ(DebugGetThing(0), nullptr);
  EXPECT_EQ(DebugGetThing(-3), nullptr);
  EXPECT_EQ(DebugGetThing(length), nullptr);
  EXPECT_EQ(DebugGetThing(second->Tid), static_cast<void*>(logic.GetThing(second->Tid)));
  DestroyThing(first);
  EXPECT_EQ(DebugGetThing(1), nullptr);  // an empty slot
  EXPECT_EQ(GetThingCount(), logic.ThingCount);
  ASSERT_TRUE(LogicCompute());
  ASSERT_TRUE(LogicCompute());
  EXPECT_EQ(GetFrame(), 2u);
  EXPECT_EQ(GetFrameSpeed(), GetLastComputeTime());

  auto* unit = dynamic_cast<YLUnit*>(logic.GetThing(second->Tid));
  ASSERT_NE(unit, nullptr);
  unit->CurrentMove.reset();  // whatever it chose in the frames
  EXPECT_EQ(GetCurrMove(second->Tid), nullptr);
  unit->CurrentMove.reset(new PsychicPlanItem);
  EXPECT_EQ(GetCurrMove(second->Tid), unit->CurrentMove.get());
  EXPECT_EQ(DebugGetCurrMove(DebugGetThing(second->Tid)), unit->CurrentMove.get());
  EXPECT_EQ(DebugGetPlan(DebugGetThing(second->Tid)), unit->GetPlanLeaf());
  // A pointer that is not a thing of the table is never read.
  PsychicPlanItem stranger;
  EXPECT_EQ(DebugGetCurrMove(&stranger), nullptr);
  EXPECT_EQ(DebugGetPlan(nullptr), nullptr);
  EXPECT_EQ(GetCurrMove(0), nullptr);
  EXPECT_EQ(GetCurrMove(length), nullptr);
}

TEST_F(LogicQueriesTest, CheetPlayerParamEndsTheGameForValuesOneAndZero) {
  CLogic& logic = *TheLogic();
  CheetPlayerParam(1, ParamMoney, 1);
  EXPECT_EQ(GetPlayerParam(1, ParamMoney), 1);
  EXPECT_EQ(GetPlayerParam(1, ParamState), CPlayer::kStateWon);
  EXPECT_EQ(GetPlayerParam(2, ParamState), CPlayer::kStateLost);
  EXPECT_EQ(GetPlayerParam(9, ParamMoney), 0);
  EXPECT_EQ(GetPlayerCount(), logic.GetPlayerCount());
}

TEST_F(LogicQueriesTest, CheetPlayerParamRefusesAParameterOutsideTheTableAndAMissingPlayer) {
  const int32_t before[] = {GetPlayerParam(1, ParamState), GetPlayerParam(2, ParamState)};
  CheetPlayerParam(1, 36, 1);
  CheetPlayerParam(2, -1, 0);
  CheetPlayerParam(7, ParamMoney, 1);
  CheetPlayerParam(7, ParamMoney, 0);
  EXPECT_EQ(GetPlayerParam(1, ParamState), before[0]);
  EXPECT_EQ(GetPlayerParam(2, ParamState), before[1]);
  EXPECT_NE(before[0], CPlayer::kStateWon);
  CheetPlayerParam(2, ParamScore, 5);
  EXPECT_EQ(GetPlayerParam(2, ParamScore), 5);
  EXPECT_EQ(GetPlayerParam(2, ParamState), before[1]);
}

TEST(LogicQueriesWithoutLogic, AnswerNothing) {
  ASSERT_TRUE(LogicStop());
  EXPECT_EQ(DebugGetThing(1), nullptr);
  EXPECT_EQ(GetCurrMove(1), nullptr);
  EXPECT_EQ(GetThingCount(), 0);
  EXPECT_EQ(GetFrame(), 0u);
  EXPECT_EQ(GetUnitCost(3), 0);
  EXPECT_EQ(AmmoCost(1), 0);
  EXPECT_EQ(GetPlayerParam(1, ParamMoney), 0);
  CheetPlayerParam(1, ParamMoney, 1);
  ConnectBorderToBaricade(1, 2);
}

}  // namespace
