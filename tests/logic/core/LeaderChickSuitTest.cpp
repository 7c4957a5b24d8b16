// The leader's group and shooting, the chick's flirt and charm, and the
// suit's walk into a bank, on small levels built with the logic's exports.

#include <string>
#include <vector>

#include "LogicThingsFixture.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLWeapon.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLUnitLeader.h"

namespace {

using logic_things_testing::LogicThingsTest;

constexpr int32_t kOwner = 1;
constexpr int32_t kEnemy = 2;
constexpr uint32_t kGunDrawn = 1u << 19;
constexpr uint32_t kCharmed = 1u << 20;

class LeaderChickSuitTest : public LogicThingsTest {
 protected:
  template <typename Kind>
  Kind* Make(int32_t type, int32_t x, int32_t y, int32_t owner = kOwner) {
    auto* unit = dynamic_cast<Kind*>(logic.CreateUnitAt(x, y, 0, 0, type, owner, nullptr));
    EXPECT_NE(unit, nullptr) << "type " << type;
    return unit;
  }
  YLUnitLeader* MakeLeader(int32_t x, int32_t y, int32_t owner = kOwner) {
    return dynamic_cast<YLUnitLeader*>(logic.CreateLeader(x, y, 0, "Boss", owner));
  }
  static std::vector<int32_t> GroupOf(const YLUnitLeader& leader) {
    const LeaderInfo* info = leader.GetLeaderInfo();
    return std::vector<int32_t>(info->Group, info->Group + info->GroupSize);
  }
  bool Perform(int32_t code, YLThing* thing) {
    auto* move = dynamic_cast<MoveInfo*>(YLUnit::GetUnitMoveTable()->At(code));
    return move != nullptr && move->Perform(thing, &logic);
  }
};

TEST_F(LeaderChickSuitTest, AGroupTakesHardCoreUnitsThatAreNoLeadersUpToFifteen) {
  YLUnitLeader* leader = MakeLeader(2, 2);
  ASSERT_NE(leader, nullptr);
  auto* first = Make<YLUnitHardCore>(8, 3, 2);
  struct Case {
    const char* name;
    YLUnit* unit;
    bool added;
    int32_t size;
  };
  const Case cases[] = {
      {"hard-core", first, true, 1},
      {"the same again", first, true, 1},
      {"another leader", MakeLeader(4, 2), false, 1},
      {"a plain fan", Make<YLUnit>(3, 5, 2), false, 1},
      {"a chick", Make<YLUnit>(11, 6, 2), true, 2},
      {"nothing", nullptr, false, 2},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(leader->AddGroupMember(entry.unit), entry.added);
    EXPECT_EQ(leader->GetLeaderInfo()->GroupSize, entry.size);
  }
  for (int32_t x = 2; leader->GetLeaderInfo()->GroupSize < YLUnitLeader::kMaxMembers; ++x) {
    ASSERT_TRUE(leader->AddGroupMember(Make<YLUnit>(8, x, 6)));
  }
  auto* sixteenth = Make<YLUnit>(8, 20, 8);
  EXPECT_FALSE(leader->AddGroupMember(sixteenth));
  EXPECT_EQ(leader->GetLeaderInfo()->GroupSize, 15);
  EXPECT_EQ(sixteenth->GetUnitInfo()->Leader, 0);

  // A loaded record may hold sixteen: the last one can be taken out too.
  LeaderInfo* info = leader->GetLeaderInfo();
  info->Group[15] = sixteenth->GetTid();
  info->GroupSize = 16;
  EXPECT_FALSE(leader->AddGroupMember(Make<YLUnit>(8, 21, 8)));
  ASSERT_TRUE(leader->RemoveGroupMemberID(sixteenth->GetTid()));
  EXPECT_EQ(info->GroupSize, 15);
  EXPECT_EQ(info->Group[15], 0);
}

TEST_F(LeaderChickSuitTest, EnteringTheMapDropsMembersThatAreNotTheLeadersOwnHardCoreUnits) {
  YLUnitLeader* leader = MakeLeader(2, 2);
  auto* own = Make<YLUnitHardCore>(8, 3, 2);
  auto* other = Make<YLUnitHardCore>(8, 4, 2, kEnemy);
  auto* plain = Make<YLUnit>(3, 5, 2);
  auto* second = Make<YLUnitHardCore>(8, 6, 2);
  LeaderInfo* info = leader->GetLeaderInfo();
  const int32_t ids[] = {own->GetTid(), other->GetTid(), 999, plain->GetTid(), second->GetTid()};
  for (const int32_t id : ids) {
    info->Group[info->GroupSize++] = id;
  }
  leader->OnAddToMap(logic.Map.get());
  EXPECT_EQ(GroupOf(*leader), (std::vector<int32_t>{own->GetTid(), second->GetTid()}));
  EXPECT_EQ(info->Group[2], 0);
}

// The leader turns towards its target with 7/8, draws (29), then fires
// (11) at the target's cell; out of range it walks.
TEST_F(LeaderChickSuitTest, ALeaderTurnsDrawsThenFiresWithinRange) {
  YLUnitLeader* leader = MakeLeader(10, 10);
  auto* target = Make<YLUnit>(3, 13, 10, kEnemy);
  ASSERT_TRUE(leader != nullptr && target != nullptr);
  leader->SetWeaponGrade(1);
  ASSERT_NE(leader->GetWeapon(), nullptr);
  ASSERT_LT(3, leader->GetWeapon()->GetAttackRange());
  leader->Info->Ori = 0;  // north; the target lies east
  std::vector<int32_t> moves;
  for (int32_t step = 0; step < 6; ++step) {
    const int32_t move = leader->DoShoot(1.0f, target->GetTid(), false);
    moves.push_back(move);
    if (move == 7) {
      leader->Info->Ori = static_cast<uint8_t>((leader->Info->Ori + 1) & 7);
    } else if (move == 8) {
      leader->Info->Ori = static_cast<uint8_t>((leader->Info->Ori + 7) & 7);
    } else if (move == 29) {
      ASSERT_TRUE(Perform(29, leader));
      EXPECT_NE(leader->Info->Status & kGunDrawn, 0u);
    } else {
      break;
    }
  }
  EXPECT_EQ(moves, (std::vector<int32_t>{7, 7, 29, 11}));
  EXPECT_EQ(leader->DestinationX, 13);
  EXPECT_EQ(leader->DestinationY, 10);

  // Without a weapon grade or a living target there is nothing to shoot.
  leader->SetWeaponGrade(0);
  EXPECT_EQ(leader->DoShoot(1.0f, target->GetTid(), false), YLUnit::kReached);
  leader->SetWeaponGrade(1);
  EXPECT_EQ(leader->DoShoot(1.0f, 4000, false), YLUnit::kReached);

  // Far away it walks (or turns to walk) instead.
  auto* far = Make<YLUnit>(3, 10, 10 + leader->GetWeapon()->GetAttackRange() + 4, kEnemy);
  const int32_t walk = leader->DoShoot(1.0f, far->GetTid(), false);
  EXPECT_NE(walk, 11);
  EXPECT_NE(walk, 29);
  EXPECT_NE(walk, YLUnit::kReached);
}

TEST_F(LeaderChickSuitTest, AnAttackShootOrderOfALeaderRoutesToWithinTheGunsRange) {
  YLUnitLeader* leader = MakeLeader(2, 2);
  auto* target = Make<YLUnit>(3, 28, 2, kEnemy);
  leader->ExecutePlan(new PsychicPlanAttackShoot(target->GetTid(), 0, 1.0f, false));
  const PsychicPlanItem* step = leader->Plan.child;
  ASSERT_NE(step, nullptr);
  EXPECT_EQ(step->Action, OrderKind::kShoot);
  EXPECT_FALSE(step->Expandable);
  const PsychicPlanItem* last = step->child;
  ASSERT_NE(last, nullptr);
  while (last->queue != nullptr) {
    last = last->queue;
  }
  const int32_t range = logic.Weapons->GetSlot(WeaponSlot::kGun)->GetAttackRange();
  EXPECT_LE(YLUnit::IntDistance(last->Param1, last->Param2, 28, 2), range);
  EXPECT_GT(YLUnit::IntDistance(last->Param1, last->Param2, 28, 2), range - 2);
}

// One flirt of a grade-0 chick charms at most two of three enemy fans
// around; the next flirt counts anew.
TEST_F(LeaderChickSuitTest, AGradeZeroChickCharmsAtMostTwoFansPerFlirt) {
  auto* chick = Make<YLUnitChick>(11, 10, 10, kEnemy);
  ASSERT_NE(chick, nullptr);
  chick->SetGrade(0);
  std::vector<YLUnitSupporter*> fans;
  for (int32_t index = 0; index < 3; ++index) {
    fans.push_back(Make<YLUnitSupporter>(3, 12 + index, 12));
    fans.back()->GetUnitInfo()->Anger = 1.0f;
  }
  auto* own = Make<YLUnitSupporter>(3, 9, 9, kEnemy);
  auto* far = Make<YLUnitSupporter>(3, 25, 25);

  auto flirt = [&]() {
    EXPECT_EQ(chick->DoFlirt(1.0f, fans[0]->GetTid(), false), 21);
    EXPECT_EQ(chick->DoFlirt(1.0f, fans[0]->GetTid(), false), YLUnit::kReached);  // once per step
    ASSERT_TRUE(Perform(21, chick));
    int32_t charmed = 0;
    for (YLUnitSupporter* fan : {fans[0], fans[1], fans[2], own, far}) {
      fan->ComputeReflexes();
    }
    for (YLUnitSupporter* fan : fans) {
      charmed += (fan->Info->Status & kCharmed) != 0 ? 1 : 0;
    }
    EXPECT_EQ(charmed, 2);
    EXPECT_EQ(own->Info->Status & kCharmed, 0u);
    EXPECT_EQ(far->Info->Status & kCharmed, 0u);
  };
  flirt();
  for (YLUnitSupporter* fan : fans) {
    if ((fan->Info->Status & kCharmed) != 0) {
      EXPECT_FLOAT_EQ(fan->GetUnitInfo()->Flirt, 1.015f);
      EXPECT_FLOAT_EQ(fan->GetUnitInfo()->Anger, 0.3f);
      fan->Info->Status &= ~kCharmed;
    }
  }
  chick->Alreadythere = 0;  // a new flirt step
  flirt();
}

TEST_F(LeaderChickSuitTest, AChickFarFromItsTargetWalksAndAFlirtStepEndsWithoutALivingTarget) {
  auto* chick = Make<YLUnitChick>(11, 2, 2, kEnemy);
  auto* fan = Make<YLUnitSupporter>(3, 25, 2);
  const int32_t walk = chick->DoFlirt(1.0f, fan->GetTid(), false);
  EXPECT_NE(walk, 21);
  EXPECT_NE(walk, YLUnit::kReached);
  EXPECT_EQ(chick->Alreadythere, 0);
  EXPECT_EQ(chick->DoFlirt(1.0f, 3000, false), YLUnit::kReached);
}

// A suit walks to the bank, goes in, fires the bank weapon once, and once
// alone in the bank its bomb step ends and it works for nobody.
TEST_F(LeaderChickSuitTest, ASuitWalksIntoTheBankFiresItsBankWeaponOnceAndThenBelongsToNobody) {
  const ThingInfo* bankInfo = logic.CreateThing("Bank1", 20, 16, 0, 0, 0);
  ASSERT_NE(bankInfo, nullptr);
  auto* bank = dynamic_cast<YLTBank*>(Thing(bankInfo));
  ASSERT_NE(bank, nullptr);
  auto* suit = Make<YLUnitSuit>(4, 6, 6);
  ASSERT_NE(suit, nullptr);
  suit->ExecutePlan(new PsychicPlanBomb(bank->GetX(), bank->GetY(), 0.9f, false));
  bool entered = false;
  for (int32_t frame = 0; frame < 3000 && suit->GetOwner() != 0; ++frame) {
    logic.Compute();
    entered = entered || suit->GetContainer() == bank;
  }
  EXPECT_TRUE(entered);
  EXPECT_EQ(suit->BankID, bank->GetTid());
  EXPECT_EQ(suit->BombFlag, YLUnitSuit::kBankWeaponUsed);
  EXPECT_EQ(suit->GetContainer(), bank);
  EXPECT_EQ(suit->GetOwner(), 0);
}

}  // namespace

namespace {

TEST_F(LeaderChickSuitTest, ALeaderWithNothingPlannedHoldsItsGround) {
  YLUnitLeader* leader = MakeLeader(10, 10);
  ASSERT_NE(leader, nullptr);
  leader->ClearPlan();
  leader->ChooseIdle();
  ASSERT_NE(leader->Plan.child, nullptr);
  EXPECT_EQ(leader->Plan.child->Action, OrderKind::kHold);
  EXPECT_FLOAT_EQ(leader->Plan.child->Motivation, 0.25f);
  // A planned leader keeps its plan.
  leader->ExecutePlan(new PsychicPlanGoto(20, 10, 0.6f, false));
  ASSERT_NE(leader->Plan.child, nullptr);
  leader->ChooseIdle();
  EXPECT_EQ(leader->Plan.child->Action, OrderKind::kGoto);
}

TEST_F(LeaderChickSuitTest, ALeaderChantingUnderAGroupStepCallsItsOwnUnitsTogether) {
  YLUnitLeader* leader = MakeLeader(10, 10);
  auto* fan = Make<YLUnitSupporter>(3, 12, 10);
  auto* enemy = Make<YLUnit>(3, 14, 10, kEnemy);
  ASSERT_TRUE(leader != nullptr && fan != nullptr && enemy != nullptr);
  leader->ClearPerception();
  leader->AddNeighbour(fan->GetTid());
  leader->AddNeighbour(enemy->GetTid());
  for (const bool group : {false, true}) {
    fan->ResetStimuli();
    enemy->ResetStimuli();
    leader->ClearPlan();
    if (group) {
      auto* step = new PsychicPlanGroup(0, 0, 1.0f, false);
      step->Expandable = false;
      leader->Plan.AddChild(step);
    }
    EXPECT_EQ(leader->DoChant(0.7f), 16) << group;
    ASSERT_EQ(fan->GetStimulusCount(), group ? 1 : 0);
    EXPECT_EQ(enemy->GetStimulusCount(), 0);
    if (group) {
      EXPECT_EQ(fan->GetStimulus(0)->kind, 1);
      EXPECT_EQ(fan->GetStimulus(0)->source, leader->GetTid());
      EXPECT_FLOAT_EQ(fan->GetStimulus(0)->strength, 0.7f);
    }
  }
}

TEST_F(LeaderChickSuitTest, ASuitWithItsBombPlacedDropsItsOwnBankEnter) {
  struct Case {
    uint8_t flag;
    float motivation;
    bool executed;
  };
  const Case cases[] = {
      {YLUnitSuit::kBombUsed, YLUnitSuit::kBankEnterMotivation, false},
      {YLUnitSuit::kBankWeaponUsed, YLUnitSuit::kBankEnterMotivation, false},
      {YLUnitSuit::kBankWeaponUsed, 0.5f, true},
      {YLUnitSuit::kArmed, YLUnitSuit::kBankEnterMotivation, true},
  };
  auto* suit = Make<YLUnitSuit>(4, 10, 10);
  ASSERT_NE(suit, nullptr);
  for (const Case& entry : cases) {
    suit->BombFlag = entry.flag;
    auto* hold = new PsychicPlanHold(0, 0, 0.3f, false);
    hold->Expandable = false;
    suit->ExecutePlan(hold);
    ASSERT_NE(suit->Plan.child, nullptr);
    // An Enter into a thing that is gone needs no route.
    suit->ExecutePlan(new PsychicPlanEnter(999, 0, entry.motivation, true));
    ASSERT_NE(suit->Plan.child, nullptr);
    EXPECT_EQ(suit->Plan.child->Action, entry.executed ? OrderKind::kEnter : OrderKind::kHold)
        << int(entry.flag) << " " << entry.motivation;
  }
}

TEST_F(LeaderChickSuitTest, AFanHitByTheChickThatCharmedItBacksAwayFromHer) {
  auto* chick = Make<YLUnitChick>(11, 10, 10, kEnemy);
  auto* other = Make<YLUnitChick>(11, 10, 14, kEnemy);
  auto* charmed = Make<YLUnitSupporter>(3, 12, 10);
  auto* plain = Make<YLUnitSupporter>(3, 12, 12);
  ASSERT_TRUE(chick != nullptr && other != nullptr && charmed != nullptr && plain != nullptr);
  chick->SetGrade(0);
  other->SetGrade(0);
  ASSERT_TRUE(YLUnitChick::Charm(*charmed, chick->GetTid()));
  for (YLUnitSupporter* fan : {charmed, plain}) {
    fan->ClearPlan();
    fan->ResetStimuli();
    ASSERT_TRUE(logic.SendUnitMessage(chick, fan->GetTid(), 3, 0.7f));
    ASSERT_TRUE(logic.SendUnitMessage(other, fan->GetTid(), 3, 0.9f));
    fan->ComputeReflexes();
  }
  ASSERT_NE(charmed->Plan.child, nullptr);
  EXPECT_EQ(charmed->Plan.child->Action, OrderKind::kFuckOff);
  EXPECT_EQ(charmed->Plan.child->Param1, 10);
  EXPECT_EQ(charmed->Plan.child->Param2, 10);
  EXPECT_FLOAT_EQ(charmed->Plan.child->Motivation, 0.7f);
  for (const PsychicPlanItem* step = plain->Plan.child; step != nullptr; step = step->queue) {
    EXPECT_NE(step->Action, OrderKind::kFuckOff);  // neither chick charmed it
  }
}

TEST_F(LeaderChickSuitTest, AFlirtFromTheChickThatCharmedItLastStartsTheCharmAnew) {
  auto* chick = Make<YLUnitChick>(11, 10, 10, kEnemy);
  auto* fan = Make<YLUnitSupporter>(3, 12, 10);
  ASSERT_TRUE(chick != nullptr && fan != nullptr);
  chick->SetGrade(0);
  ASSERT_TRUE(YLUnitChick::Charm(*fan, chick->GetTid()));
  EXPECT_FLOAT_EQ(fan->GetUnitInfo()->Flirt, chick->GetCharm());
  ASSERT_TRUE(chick->MayFlirt());  // her second and last flirt
  EXPECT_FALSE(YLUnitChick::Charm(*fan, chick->GetTid()));
  EXPECT_FLOAT_EQ(fan->GetUnitInfo()->Flirt, 0.0f);  // the charm fades out
  chick->FlirtsUsed = 0;
  EXPECT_TRUE(YLUnitChick::Charm(*fan, chick->GetTid()));
  EXPECT_FLOAT_EQ(fan->GetUnitInfo()->Flirt, chick->GetCharm());
}

}  // namespace
