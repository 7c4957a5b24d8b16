// The gang kinds' own steps and moves: picking up bricks, raving and joining
// a rave, and a yobb's molotov at a place.

#include "LogicThingsFixture.h"
#include "base/Random.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnitSupporter.h"

namespace {

using logic_things_testing::LogicThingsTest;

class GangKindsTest : public LogicThingsTest {
 protected:
  void SetUp() override {
    LogicThingsTest::SetUp();
    SetRandomSeed(4242);
    YLUnit::InitMoveTable();
  }
  template <typename Kind>
  Kind* Make(int32_t type, int32_t x, int32_t y, int32_t owner = 1) {
    auto* unit = dynamic_cast<Kind*>(logic.CreateUnitAt(x, y, 0, 0, type, owner, nullptr));
    EXPECT_NE(unit, nullptr);
    return unit;
  }
  bool Perform(YLUnit& unit, int32_t move) { return unit.GetMoveInfo(move)->Perform(&unit, &logic); }
};

TEST_F(GangKindsTest, ThePickUpMovePutsABrickInAFansHandOnly) {
  auto* fan = Make<YLUnitSupporter>(3, 5, 5);
  YLUnit* plain = Make<YLUnit>(13, 7, 5);
  EXPECT_TRUE(Perform(*fan, 19));
  EXPECT_NE(fan->Info->Status & YLUnitSupporter::kStatusHoldsBrick, 0u);
  EXPECT_FALSE(Perform(*plain, 19));
}

TEST_F(GangKindsTest, ARaverRavesAtTheUnitsAroundThemJoinAndTheRaveStopsAfter35Frames) {
  auto* raver = Make<YLUnitRaver>(2, 10, 10);
  auto* other = Make<YLUnitRaver>(2, 14, 10);
  auto* rave = new PsychicPlanRave(0, 0, 0.7f, false);
  other->ExecutePlan(rave);
  ASSERT_NE(other->Plan.child, nullptr);
  EXPECT_EQ(other->Plan.child->Action, OrderKind::kRave);
  EXPECT_EQ(other->GetPlanLeaf()->Execute(other), 24);

  ASSERT_TRUE(Perform(*raver, 24));
  EXPECT_TRUE(raver->Raving);
  ASSERT_GE(other->GetStimulusCount(), 1);
  other->ComputeReflexes();
  // The rave step ended and the raver joins the one that called.
  ASSERT_NE(other->Plan.child, nullptr);
  EXPECT_EQ(other->Plan.child->Action, OrderKind::kJoinRave);
  EXPECT_EQ(other->Plan.child->Param1, raver->GetTid());
  EXPECT_EQ(other->RaveID, raver->GetTid());
  EXPECT_EQ(other->Plan.child->queue, nullptr);

  for (int32_t frame = 0; frame < 35; ++frame) {
    raver->Propagate();
  }
  EXPECT_TRUE(raver->Raving);
  raver->Propagate();
  EXPECT_FALSE(raver->Raving);
  EXPECT_EQ(raver->RaveCounter, 0);
}

TEST_F(GangKindsTest, ABlowThatSwitchesARaversBrainEndsItsRave) {
  auto* raver = Make<YLUnitRaver>(2, 10, 10);
  raver->ExecutePlan(new PsychicPlanRave(0, 0, 0.7f, false));
  ASSERT_NE(raver->Plan.child, nullptr);
  raver->Stun(0.1f);  // a hard blow starts the hurt move from outside
  EXPECT_EQ(raver->Info->MoveNumber, 20);
  EXPECT_EQ(raver->Plan.child, nullptr);
  // Any other step stays.
  auto* hold = new PsychicPlanHold(0, 0, 0.7f, false);
  hold->Expandable = false;
  raver->ExecutePlan(hold);
  ASSERT_NE(raver->Plan.child, nullptr);
  raver->SetActive(3);
  EXPECT_NE(raver->Plan.child, nullptr);
}

TEST_F(GangKindsTest, AJoiningRaverDancesBesideTheRaveAndStopsWhenItIsGone) {
  auto* raver = Make<YLUnitRaver>(2, 10, 10);
  auto* joiner = Make<YLUnitRaver>(2, 10, 10 + 0);
  joiner->Info->X = 11;  // one cell off: walks now and then
  int32_t dances = 0;
  for (int32_t step = 0; step < 200; ++step) {
    const int32_t move = joiner->DoJoinRave(0.5f, raver->GetTid());
    EXPECT_NE(move, 32);
    dances += move == 31 ? 1 : 0;
  }
  EXPECT_GT(dances, 0);
  raver->Destroy();
  EXPECT_EQ(joiner->DoJoinRave(0.5f, raver->GetTid()), 32);
}

TEST_F(GangKindsTest, AYobbTurnsToThePlaceThrowsItsMolotovOnceAndIsDone) {
  auto* yobb = Make<YLUnitYobb>(12, 10, 10);
  yobb->SetOrientation(0);
  const int32_t x = 10;
  const int32_t y = 4;  // straight ahead of facing 0
  yobb->SetOrientation(static_cast<uint8_t>((YLUnit::GetDirection(10, 10, 0, x, y) + 8) % 8));
  EXPECT_EQ(yobb->DoMolotovPlace(0.8f, x, y, false), 27);
  EXPECT_TRUE(yobb->ThrowPending);
  EXPECT_EQ(yobb->ThrowX, x);
  EXPECT_EQ(yobb->ThrowY, y);
  int32_t dx = 0;
  int32_t dy = 0;
  yobb->GetDestination(dx, dy);
  EXPECT_EQ(dx, x);
  EXPECT_EQ(dy, y);
  EXPECT_EQ(yobb->DoMolotovPlace(0.8f, x, y, false), 32);
  EXPECT_FALSE(yobb->ThrowPending);

  // Facing away, it turns first; behind it, either way.
  yobb->SetOrientation(static_cast<uint8_t>((YLUnit::GetDirection(10, 10, 0, x, y) + 8 + 2) % 8));
  const int32_t turn = yobb->DoMolotovPlace(0.8f, x, y, false);
  EXPECT_TRUE(turn == 5 || turn == 6) << turn;
  yobb->SetOrientation(static_cast<uint8_t>((YLUnit::GetDirection(10, 10, 0, x, y) + 8 + 4) % 8));
  const int32_t behind = yobb->DoMolotovPlace(0.8f, x, y, false);
  EXPECT_TRUE(behind == 5 || behind == 6) << behind;
}

TEST_F(GangKindsTest, AYobbWithoutAMolotovCannotPlanAThrowAndOtherUnitsDropTheStep) {
  auto* yobb = Make<YLUnitYobb>(12, 10, 10);
  yobb->GetUnitInfo()->Ammo = 0;
  yobb->ExecutePlan(new PsychicPlanThrowMolotovPlace(20, 20, 0.8f, false));
  EXPECT_EQ(yobb->Plan.child, nullptr);
  EXPECT_EQ(yobb->GetMolotovWeapon(), nullptr);
  yobb->GetUnitInfo()->Ammo = 2;
  yobb->GetUnitInfo()->Weapon = 20;  // outside the catalogue
  EXPECT_EQ(yobb->GetMolotovWeapon(), nullptr);

  YLUnit* plain = Make<YLUnitSupporter>(3, 12, 12);
  PsychicPlanThrowMolotovPlace step(20, 20, 0.8f, false);
  EXPECT_EQ(step.Execute(plain), 32);
}

TEST_F(GangKindsTest, AThrownMolotovIsSpentAndTheYobbsGradeGoesBackToNothing) {
  auto* yobb = Make<YLUnitYobb>(12, 10, 10);
  UnitInfo& info = *yobb->GetUnitInfo();
  info.Weapon = 1;
  info.Ammo = 3;
  info.Stamina = 1.0f;
  ASSERT_NE(yobb->GetMolotovWeapon(), nullptr);
  yobb->SetOrientation(static_cast<uint8_t>((YLUnit::GetDirection(10, 10, 0, 10, 3) + 8) % 8));
  ASSERT_EQ(yobb->DoMolotovPlace(0.8f, 10, 3, false), 27);
  yobb->OnBrainMove(27);
  EXPECT_EQ(yobb->Info->Move, yobb->GetMoveInfo(27));
  EXPECT_EQ(info.Weapon, 0);
  EXPECT_EQ(yobb->DoMolotovPlace(0.8f, 10, 3, false), 32);
}

}  // namespace
