// A fan's anger among friends and enemies, its choice of a fight, its
// drinking songs and its copying of the unit it follows.

#include <vector>

#include "LogicThingsFixture.h"
#include "base/Random.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

using logic_things_testing::LogicThingsTest;

constexpr int32_t kFanX = 10;
constexpr int32_t kFanY = 10;

class SupporterMindTest : public LogicThingsTest {
 protected:
  void SetUp() override {
    LogicThingsTest::SetUp();
    SetRandomSeed(12345);
  }
  YLUnitSupporter* Fan(int32_t type = 3) {
    return dynamic_cast<YLUnitSupporter*>(logic.CreateUnitAt(kFanX, kFanY, 0, 0, type, 1, nullptr));
  }
  YLUnit* Other(int32_t x, int32_t y, int32_t owner, float anger, int32_t move = 0) {
    YLUnit* unit = logic.CreateUnitAt(x, y, 0, 0, 3, owner, nullptr);
    EXPECT_NE(unit, nullptr);
    unit->GetUnitInfo()->Anger = anger;
    unit->Info->MoveNumber = move;
    return unit;
  }
  // The top-level step of the plan; null for an empty plan.
  static const PsychicPlanItem* Top(const YLUnit& unit) { return unit.Plan.child; }
};

struct Friend {
  int32_t distance;
  float anger;
};
struct Enemy {
  float anger;
  int32_t move;
};
struct AngerCase {
  int32_t type;
  float anger;
  std::vector<Friend> friends;
  std::vector<Enemy> enemies;
  float expected;
};

TEST_F(SupporterMindTest, GroupAngerMovesAFifthOfTheWayToWhatFriendsAndEnemiesGive) {
  const AngerCase cases[] = {
      // No one around: the anger fades towards 0.
      {3, 0.5f, {}, {}, 0.4f},
      // Friends at 2 and 6 cells weigh 6 and 2, one at 9 does not count;
      // an enemy fighting with a weapon and one chanting press:
      // v = 0.04 + 0.5 x 0.76 = 0.42, then + 0.07 x 0.38 = 0.4466;
      // avg 0.6, target 0.4 x 0.4466 + 0.6.
      {3, 0.1f, {{2, 0.5f}, {6, 0.9f}, {9, 1.0f}}, {{0.5f, 11}, {0.0f, 16}}, 0.1f + (0.77864f - 0.1f) * 0.2f},
      // A rat doubles the pressure of a punch and a kick (v 0.62), capped at 1.
      {1, 0.0f, {}, {{1.0f, 12}, {0.0f, 13}}, 0.2f},
      // A calm enemy that only stands there: v = 0.1 x 0.2 x 0.8.
      {3, 0.0f, {}, {{0.2f, 0}}, 0.016f * 0.2f},
  };
  for (const AngerCase& test : cases) {
    logic.Things->SetCount(1);
    SCOPED_TRACE(test.expected);
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    YLUnitSupporter* fan = Fan(test.type);
    ASSERT_NE(fan, nullptr);
    fan->GetUnitInfo()->Anger = test.anger;
    fan->ClearPerception();
    for (const Friend& other : test.friends) {
      fan->AddNeighbour(Other(kFanX + other.distance, kFanY, 1, other.anger)->GetTid());
    }
    int32_t row = 0;
    for (const Enemy& other : test.enemies) {
      fan->AddNeighbour(Other(kFanX - 3, kFanY + 3 * row++, 2, other.anger, other.move)->GetTid());
    }
    fan->ApplyGroupAnger();
    EXPECT_NEAR(fan->GetUnitInfo()->Anger, test.expected, 1e-5f);
  }
}

TEST_F(SupporterMindTest, AFollowerWithoutLoyaltyStopsFollowingAndDropsItsPlan) {
  YLUnitSupporter* fan = Fan();
  YLUnit* leader = Other(12, 12, 1, 0.0f);
  fan->FollowLeader = leader->GetTid();
  fan->GetUnitInfo()->Loyalty = 0.009f;
  fan->Plan.AddChild(new PsychicPlanHold(0, 0, 0.2f, false));
  fan->ApplyGroupAnger();
  EXPECT_EQ(fan->FollowLeader, 0);
  EXPECT_EQ(fan->GetUnitInfo()->Loyalty, 0.0f);
  EXPECT_EQ(Top(*fan), nullptr);
}

struct AttackCase {
  float anger;
  float carefulness;
  int32_t distance;
  bool brick;
  bool otherPlan;
  int32_t action;  // 0: nothing chosen
  bool fast;
};

TEST_F(SupporterMindTest, TheAttackChoiceFollowsTheScoreOfTheNearestEnemy) {
  // Score = (Anger - Carefulness) x (10 - distance) x 0.1.
  const AttackCase cases[] = {
      {0.5f, 0.0f, 6, true, false, 0, false},                     // 0.2: nothing
      {0.7f, 0.0f, 5, true, false, OrderKind::kThrow, false},      // 0.35: a brick
      {0.7f, 0.0f, 5, false, false, 0, false},                     // 0.35 with no brick in hand
      {0.6f, 0.0f, 0, false, false, OrderKind::kAttack, false},    // 0.6: slow attack
      {0.61f, 0.0f, 0, false, false, OrderKind::kAttack, true},    // above 0.6: fast
      {0.5f, 0.0f, 4, false, false, 0, false},                     // 0.3 without a brick
      {0.5f, 0.0f, 2, false, false, OrderKind::kAttack, false},    // 0.4
      {0.9f, 0.9f, 1, false, true, OrderKind::kHold, false},       // Anger = Carefulness keeps the plan
      {0.95f, 0.1f, 1, false, true, OrderKind::kAttack, true},     // angrier than careful: 0.765
  };
  int32_t round = 0;
  for (const AttackCase& test : cases) {
    SCOPED_TRACE(round++);
    logic.Things->SetCount(1);
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    ASSERT_NE(logic.CreateThing("Brick01", kFanX - 4, kFanY - 4, 0, 0, 0), nullptr);
    YLUnitSupporter* fan = Fan();
    YLUnit* enemy = Other(kFanX + (test.distance == 0 ? 1 : test.distance), kFanY, 2, 0.0f);
    if (test.distance == 0) {
      // Closeness 1.0: the enemy stands on the fan's own cell, as one that
      // pushes into it.
      enemy->GetUnitInfo()->X = kFanX;
    }
    fan->GetUnitInfo()->Anger = test.anger;
    fan->GetUnitInfo()->Carefulness = test.carefulness;
    if (test.brick) {
      fan->Info->Status |= YLUnitSupporter::kStatusHoldsBrick;
    }
    if (test.otherPlan) {
      fan->Plan.AddChild(new PsychicPlanHold(0, 0, 0.2f, false));
    }
    fan->ClearPerception();
    fan->AddNeighbour(enemy->GetTid());
    fan->ChooseAttack();
    const PsychicPlanItem* top = Top(*fan);
    if (test.action == 0) {
      EXPECT_EQ(top, nullptr);
      continue;
    }
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Action, test.action);
    if (test.action != OrderKind::kHold) {
      EXPECT_EQ(top->Param1, enemy->GetTid());
      EXPECT_EQ(top->Fast, test.fast);
    }
  }
}

TEST_F(SupporterMindTest, WithNoEnemyInSightTheFanGoesForTheLastThrower) {
  YLUnitSupporter* fan = Fan();
  YLUnit* thrower = Other(20, 20, 2, 0.0f);
  fan->LastThrower = thrower->GetTid();
  fan->GetUnitInfo()->Anger = 0.8f;
  fan->GetUnitInfo()->Carefulness = 0.3f;
  fan->ClearPerception();
  fan->ChooseAttack();
  const PsychicPlanItem* top = Top(*fan);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->Action, OrderKind::kAttack);
  EXPECT_EQ(top->Param1, thrower->GetTid());
  EXPECT_TRUE(top->Fast);
}

TEST_F(SupporterMindTest, AFanWithBeerOfExactlyThreeTenthsNeverChants) {
  YLUnitSupporter* fan = Fan();
  fan->GetUnitInfo()->Beer = 0.3f;
  for (int32_t step = 0; step < 2000; ++step) {
    fan->ChooseChant();
  }
  EXPECT_EQ(Top(*fan), nullptr);
  fan->GetUnitInfo()->Beer = 1.0f;
  int32_t steps = 0;
  while (Top(*fan) == nullptr && steps < 5000) {
    fan->ChooseChant();
    ++steps;
  }
  ASSERT_NE(Top(*fan), nullptr);
  const int32_t action = Top(*fan)->Action;
  EXPECT_TRUE(action == OrderKind::kChant || action == OrderKind::kPassOut) << action;
}

TEST_F(SupporterMindTest, AFanCopiesItsLeadersChantOnceAndAnAttackCopyEndsTheFollowing) {
  YLUnitSupporter* fan = Fan();
  YLUnit* leader = Other(12, 10, 1, 0.0f);
  YLUnit* enemy = Other(20, 10, 2, 0.0f);
  fan->FollowLeader = leader->GetTid();
  auto* chant = new PsychicPlanChant(0, 0, 1.0f, false);
  chant->Period = 10;
  leader->Plan.AddChild(chant);
  fan->Imitate();
  const PsychicPlanItem* copy = Top(*fan);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Action, OrderKind::kChant);
  EXPECT_EQ(copy->Param1, leader->GetTid());
  EXPECT_FLOAT_EQ(copy->Motivation, 0.6f);
  fan->Imitate();
  EXPECT_EQ(Top(*fan), copy);  // an equal step is not taken twice

  leader->ClearPlan();
  leader->Plan.AddChild(new PsychicPlanAttack(enemy->GetTid(), 0, 1.0f, true));
  fan->Imitate();
  ASSERT_NE(Top(*fan), nullptr);
  EXPECT_EQ(Top(*fan)->Action, OrderKind::kAttack);
  EXPECT_EQ(fan->FollowLeader, 0);
}

TEST_F(SupporterMindTest, AFollowedBuildingIsIgnored) {
  YLUnitSupporter* fan = Fan();
  const ThingInfo* pub = logic.CreateThing("Pub1", 20, 20, 0, 0, 0);
  ASSERT_NE(pub, nullptr);
  fan->FollowLeader = pub->Tid;
  fan->Imitate();
  EXPECT_EQ(Top(*fan), nullptr);
}

TEST_F(SupporterMindTest, LootOfAnEnemyBuildingExpandsAndTheUnitsOwnPubIsDropped) {
  auto* rat = dynamic_cast<YLUnitHardCore*>(logic.CreateUnitAt(kFanX, kFanY, 0, 0, 1, 1, nullptr));
  ASSERT_NE(rat, nullptr);
  const ThingInfo* theirs = logic.CreateThing("Pub1", 20, 20, 0, 0, 2);
  const ThingInfo* ours = logic.CreateThing("Pub1", 4, 20, 0, 0, 1);
  ASSERT_NE(theirs, nullptr);
  ASSERT_NE(ours, nullptr);
  ASSERT_EQ(theirs->BuildingType, 3);

  rat->ExecutePlan(new PsychicPlanLoot(theirs->Tid, 0, 0.9f, true));
  const PsychicPlanItem* loot = Top(*rat);
  ASSERT_NE(loot, nullptr);
  EXPECT_EQ(loot->Action, OrderKind::kLoot);
  EXPECT_FALSE(loot->Expandable);
  std::vector<int32_t> actions;
  for (const PsychicPlanItem* child = loot->child; child != nullptr; child = child->queue) {
    actions.push_back(child->Action);
    EXPECT_EQ(child->Param1, theirs->Tid);
    EXPECT_TRUE(child->Fast);
    EXPECT_FLOAT_EQ(child->Motivation, rat->GetUnitInfo()->Loyalty);
  }
  EXPECT_EQ(actions, (std::vector<int32_t>{OrderKind::kGotoThing, OrderKind::kLeave, OrderKind::kGetMoney}));
  EXPECT_FALSE(loot->child->Expandable);  // routed on at once

  rat->ExecutePlan(new PsychicPlanLoot(ours->Tid, 0, 0.9f, true));
  EXPECT_EQ(Top(*rat), nullptr);
}

struct BlowCase {
  int32_t type;
  int32_t weapon;
  int32_t targetMove;
  int32_t expected;
};

TEST_F(SupporterMindTest, NextToItsTargetAFanPunchesKicksOrUsesItsWeaponAsItsKindDoes) {
  const BlowCase cases[] = {
      {3, 0, 0, 12},   {3, 1, 0, 11},  {3, 0, 15, 13}, {3, 2, 18, 13},
      {12, 1, 0, 12},  {10, 1, 0, 12}, {11, 0, 0, 11}, {11, 0, 15, 11},
      {3, 0, 1, 32},  // an idling target is left alone
  };
  for (const BlowCase& test : cases) {
    SCOPED_TRACE(test.type * 1000 + test.weapon * 100 + test.targetMove);
    logic.Things->SetCount(1);
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    auto* fan = dynamic_cast<YLUnitSupporter*>(logic.CreateUnitAt(kFanX, kFanY, 0, 0, test.type, 1, nullptr));
    ASSERT_NE(fan, nullptr);
    fan->GetUnitInfo()->Weapon = test.weapon;
    YLUnit* enemy = Other(kFanX + 1, kFanY, 2, 0.0f, test.targetMove);
    // Facing the target: no turn comes first.
    const int32_t facing = YLUnit::GetDirection(kFanX, kFanY, 0, kFanX + 1, kFanY);
    fan->SetOrientation(static_cast<uint8_t>((facing + 8) % 8));
    EXPECT_EQ(fan->DoAttack(0.8f, enemy->GetTid(), false), test.expected);
  }
}

TEST_F(SupporterMindTest, AFarTargetIsWalkedToAndAGoneOneEndsTheAttack) {
  YLUnitSupporter* fan = Fan();
  YLUnit* enemy = Other(kFanX + 6, kFanY, 2, 0.0f);
  const int32_t move = fan->DoAttack(0.8f, enemy->GetTid(), false);
  EXPECT_NE(move, 32);
  EXPECT_NE(move, 11);
  EXPECT_NE(move, 12);
  enemy->Destroy();
  EXPECT_EQ(fan->DoAttack(0.8f, enemy->GetTid(), false), 32);
  EXPECT_EQ(fan->DoAttack(0.8f, 0, false), 32);
}

}  // namespace
