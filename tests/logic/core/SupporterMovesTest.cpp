// A fan's reflexes and idling, its bricks, its fights and the hard-core
// kinds' own moves, on small levels made with the logic's own exports.

#include <algorithm>
#include <memory>
#include <vector>

#include "LogicThingsFixture.h"
#include "base/Random.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLWeapon.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"
#include "logic/world/YLTBaricade.h"
#include "navigation/YLKnowledgeMap.h"
#include "navigation/YLSectors.h"

namespace {

using logic_things_testing::LogicThingsTest;

constexpr int32_t kOwner = 1;
constexpr int32_t kEnemy = 2;

class SupporterMovesTest : public LogicThingsTest {
 protected:
  void SetUp() override {
    LogicThingsTest::SetUp();
    SetRandomSeed(777);
    YLUnit::InitMoveTable();
  }
  template <typename Kind = YLUnitSupporter>
  Kind* Make(int32_t type, int32_t x, int32_t y, int32_t owner = kOwner) {
    auto* unit = dynamic_cast<Kind*>(logic.CreateUnitAt(x, y, 0, 0, type, owner, nullptr));
    EXPECT_NE(unit, nullptr) << "type " << type;
    return unit;
  }
  YLUnitLeader* MakeLeader(int32_t x, int32_t y) {
    return dynamic_cast<YLUnitLeader*>(logic.CreateLeader(x, y, 0, "Boss", kOwner));
  }
  static const PsychicPlanItem* Top(const YLUnit& unit) { return unit.Plan.child; }
  // Runs the logic's own plan for a number of frames: weapons strike late.
  void RunFrames(int32_t frames) {
    for (int32_t frame = 0; frame < frames; ++frame) {
      logic.PropagatePlan();
      ++logic.Time;
    }
  }
  static void Face(YLUnit& unit, int32_t x, int32_t y) {
    const int32_t direction = YLUnit::GetDirection(unit.GetX(), unit.GetY(), 0, x, y);
    unit.SetOrientation(static_cast<uint8_t>((direction + 8) % 8));
  }
};

// ---- Reflexes ----

TEST_F(SupporterMovesTest, ACallFromAnOwnUnitMakesAFanMoreLoyalAndItFollowsTheCaller) {
  auto* fan = Make(3, 10, 10);
  auto* caller = Make(3, 12, 10);
  auto* stranger = Make(3, 8, 10, kEnemy);
  fan->GetUnitInfo()->Loyalty = 0.9f;
  fan->AddStimulus(stranger->GetTid(), 1, 1.0f);
  fan->AddStimulus(caller->GetTid(), 1, 1.0f);
  fan->ComputeReflexes();
  EXPECT_FLOAT_EQ(fan->GetUnitInfo()->Loyalty, 1.0f);
  EXPECT_EQ(fan->FollowLeader, caller->GetTid());
  // With nothing to do it stands in a Hold.
  ASSERT_NE(fan->GetCurrentMove(), nullptr);
  EXPECT_EQ(fan->GetCurrentMove()->Action, OrderKind::kHold);
  EXPECT_FLOAT_EQ(fan->GetCurrentMove()->Motivation, 0.2f);

  // Another owner's call and a call heard by a leader change nothing.
  auto* other = Make(3, 10, 14);
  other->GetUnitInfo()->Loyalty = 0.5f;
  other->AddStimulus(stranger->GetTid(), 1, 1.0f);
  other->ComputeReflexes();
  EXPECT_FLOAT_EQ(other->GetUnitInfo()->Loyalty, 0.5f);
  EXPECT_EQ(other->FollowLeader, 0);
  YLUnitLeader* leader = MakeLeader(14, 14);
  ASSERT_NE(leader, nullptr);
  const float loyalty = leader->GetUnitInfo()->Loyalty;
  leader->AddStimulus(caller->GetTid(), 1, 1.0f);
  leader->ComputeReflexes();
  EXPECT_FLOAT_EQ(leader->GetUnitInfo()->Loyalty, loyalty);
  EXPECT_EQ(leader->FollowLeader, 0);
}

TEST_F(SupporterMovesTest, AChantUnderAGroupOrderCallsTheOwnUnitsAround) {
  auto* fan = Make(3, 10, 10);
  auto* mate = Make(3, 11, 10);
  auto* enemy = Make(3, 9, 10, kEnemy);
  fan->Plan.AddChild(new PsychicPlanGroup(0, 0, 1.0f, false));
  fan->ClearPerception();
  fan->AddNeighbour(mate->GetTid());
  fan->AddNeighbour(enemy->GetTid());
  EXPECT_EQ(fan->DoChant(1.0f), 16);
  ASSERT_EQ(mate->GetStimulusCount(), 1);
  EXPECT_EQ(mate->GetStimulus(0)->source, fan->GetTid());
  EXPECT_EQ(mate->GetStimulus(0)->kind & 0xFF, 1);
  EXPECT_EQ(enemy->GetStimulusCount(), 0);
}

// ---- Idling ----

TEST_F(SupporterMovesTest, AnIdleFanWalksToTheCrowdShiftedTheWayMostOfItWalks) {
  int32_t ambient = 0;
  int32_t walks = 0;
  for (int32_t round = 0; round < 60; ++round) {
    logic.Things->SetCount(1);
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    auto* fan = Make(3, 10, 10);
    fan->ClearPerception();
    // Offsets (4, 0), (6, 1), (5, -1): mean (5, 0); all three walk east.
    const int32_t offsets[3][2] = {{4, 0}, {6, 1}, {5, -1}};
    for (const auto& offset : offsets) {
      YLUnit* walker = Make<YLUnit>(13, 10 + offset[0], 10 + offset[1], 0);
      walker->Info->MoveNumber = 2;
      walker->SetOrientation(2);
      fan->AddNeighbour(walker->GetTid());
    }
    fan->ChooseIdle();
    const PsychicPlanItem* top = Top(*fan);
    ASSERT_NE(top, nullptr);
    EXPECT_FLOAT_EQ(top->Motivation, 0.25f);
    if (top->Action == OrderKind::kAmbient) {
      ++ambient;
      continue;
    }
    ASSERT_EQ(top->Action, OrderKind::kGoto);
    EXPECT_EQ(top->Param1, 16);
    EXPECT_EQ(top->Param2, 10);
    EXPECT_TRUE(top->Fast);
    ++walks;
  }
  EXPECT_GT(ambient, 0);
  EXPECT_GT(walks, ambient);
}

TEST_F(SupporterMovesTest, AnIdleFanWithNoOneAroundStandsStill) {
  int32_t counts[3] = {};
  for (int32_t round = 0; round < 400; ++round) {
    logic.Things->SetCount(1);
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    auto* fan = Make(3, 10, 10);
    fan->ClearPerception();
    const int32_t move = fan->ChooseStandStill();
    ASSERT_TRUE(move == 7 || move == 1 || move == 8) << move;
    counts[move == 7 ? 0 : (move == 1 ? 1 : 2)]++;
    ASSERT_NE(Top(*fan), nullptr);
    EXPECT_EQ(Top(*fan)->Action, OrderKind::kHold);
    EXPECT_FLOAT_EQ(Top(*fan)->Motivation, 0.35f);
  }
  // 45 %, 10 % and 45 %.
  EXPECT_GT(counts[0], 140);
  EXPECT_GT(counts[2], 140);
  EXPECT_GT(counts[1], 15);
  EXPECT_LT(counts[1], 70);
}

TEST_F(SupporterMovesTest, AnIdleHardCoreFanGoesToItsLeaderWithinSevenCellsOnly) {
  YLUnitLeader* leader = MakeLeader(10, 10);
  ASSERT_NE(leader, nullptr);
  auto* near = Make<YLUnitHardCore>(8, 17, 10);
  auto* far = Make<YLUnitHardCore>(8, 18, 10);
  near->GetUnitInfo()->Leader = leader->GetTid();
  far->GetUnitInfo()->Leader = leader->GetTid();
  near->ChooseIdle();
  far->ChooseIdle();
  const auto* go = dynamic_cast<const PsychicPlanGoto*>(Top(*near));
  ASSERT_NE(go, nullptr);
  EXPECT_EQ(go->Param1, 10);
  EXPECT_EQ(go->Param2, 10);
  EXPECT_EQ(go->ArrivalDistance, 2);
  EXPECT_FLOAT_EQ(go->Motivation, 0.25f);
  EXPECT_EQ(Top(*far), nullptr);
}

// ---- Bricks ----

TEST_F(SupporterMovesTest, GivenAThrowAFanFetchesABrickWalksWithinRangeTurnsAndThrows) {
  auto* fan = Make(3, 4, 10);
  const ThingInfo* brick = logic.CreateThing("Brick01", 8, 10, 0, 0, 0);
  ASSERT_NE(brick, nullptr);
  YLUnit* enemy = Make<YLUnit>(3, 26, 10, kEnemy);
  fan->GetUnitInfo()->Stamina = 1.0f;
  fan->ExecutePlan(new PsychicPlanThrowBrick(enemy->GetTid(), 0, 0.8f, false));
  ASSERT_NE(Top(*fan), nullptr);
  ASSERT_EQ(Top(*fan)->Action, OrderKind::kThrow);
  EXPECT_EQ(Top(*fan)->Param2, brick->Tid);  // the source within 20 cells

  std::vector<int32_t> moves;
  int32_t pickedAt = -1;
  int32_t throwX = -1;
  for (int32_t frame = 0; frame < 1500 && throwX < 0; ++frame) {
    const int32_t before = fan->Info->MoveNumber;
    fan->GetUnitInfo()->Stamina = 1.0f;
    fan->Propagate();
    const int32_t move = fan->Info->MoveNumber;
    if (move != before || moves.empty()) {
      moves.push_back(move);
    }
    if (move == 19 && pickedAt < 0) {
      pickedAt = fan->GetX();
      EXPECT_LE(YLUnit::IntDistance(fan->GetX(), fan->GetY(), 8, 10), 1);
    }
    if (move == 14) {
      throwX = fan->GetX();
    }
  }
  ASSERT_GE(pickedAt, 0) << "never picked a brick up";
  ASSERT_GE(moves.size(), 4u);
  ASSERT_GE(throwX, 0) << "never threw";
  // Within 15 cells of the target, facing it; the brick has left the hand
  // and the marker paces the next throw.
  EXPECT_LE(YLUnit::IntDistance(fan->GetX(), fan->GetY(), 26, 10), 15);
  EXPECT_EQ(YLUnit::GetDirection(fan->GetX(), fan->GetY(), fan->Info->GetFacing(), 26, 10), 0);
  EXPECT_EQ(fan->Info->Status & YLUnitSupporter::kStatusHoldsBrick, 0u);
  EXPECT_GE(fan->Frustration, 0.2f);
  EXPECT_LT(fan->Frustration, 0.45f);
}

TEST_F(SupporterMovesTest, TheMarkerMakesAThrowerWaitATenthAtATime) {
  auto* fan = Make(3, 10, 10);
  YLUnit* enemy = Make<YLUnit>(3, 10, 4, kEnemy);
  Face(*fan, 10, 4);
  fan->Info->Status |= YLUnitSupporter::kStatusHoldsBrick;
  fan->Frustration = 0.35f;
  std::vector<int32_t> answers;
  for (int32_t call = 0; call < 4; ++call) {
    answers.push_back(fan->DoThrow(0.8f, enemy->GetTid(), 0, false));
  }
  EXPECT_EQ(answers, (std::vector<int32_t>{0, 0, 0, 14}));
  int32_t x = 0;
  int32_t y = 0;
  fan->GetDestination(x, y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 4);
  // Without a brick and without a source the step is done; so is a throw
  // at an idling or a gone target.
  fan->Info->Status &= ~YLUnitSupporter::kStatusHoldsBrick;
  fan->Frustration = 0.0f;
  EXPECT_EQ(fan->DoThrow(0.8f, enemy->GetTid(), 0, false), 32);
  enemy->Info->MoveNumber = 1;
  EXPECT_EQ(fan->DoThrow(0.8f, enemy->GetTid(), 0, false), 32);
  EXPECT_EQ(fan->DoThrow(0.8f, 0, 0, false), 32);
}

TEST_F(SupporterMovesTest, AHardCoreFanThrowsAtTheNearestUprightEnemyOrAnEnemyCar) {
  auto* skin = Make<YLUnitHardCore>(8, 10, 10);
  YLUnit* lying = Make<YLUnit>(3, 12, 10, kEnemy);
  lying->Info->Status &= ~StatusUpright;
  YLUnit* upright = Make<YLUnit>(3, 16, 10, kEnemy);
  Make<YLUnit>(3, 11, 10, kOwner);  // a friend is never a target
  EXPECT_EQ(skin->FindThrowTarget(), upright->GetTid());

  auto sub = std::make_unique<PsychicPlanSubThrow>(0, 0, 0.8f, false);
  skin->CurrentMove.reset(sub.release());
  Face(*skin, 16, 10);
  EXPECT_EQ(skin->DoThrow(0.8f, 0, 0, false), 14);
  EXPECT_GE(skin->Frustration, 0.4f);
  EXPECT_LT(skin->Frustration, 1.4f);
  int32_t x = 0;
  int32_t y = 0;
  skin->GetDestination(x, y);
  EXPECT_EQ(x, 16);
  EXPECT_EQ(y, 10);

  const ThingInfo* car = logic.CreateThing("Vehicle022-Manta", 10, 20, 0, 0, kEnemy);
  ASSERT_NE(car, nullptr);
  EXPECT_EQ(skin->FindThrowTarget(), car->Tid);
}

TEST_F(SupporterMovesTest, ALooterEntersAnOpenBuildingAndKicksItInsideUntilItIsTrashed) {
  auto* skin = Make<YLUnitHardCore>(8, 10, 10);
  // An ownerless pub admits anyone while it stands; the bank belongs to the other side.
  const ThingInfo* pub = logic.CreateThing("Pub1", 20, 20, 0, 0, 0);
  const ThingInfo* bank = logic.CreateThing("Bank", 4, 24, 0, 0, kEnemy);
  ASSERT_NE(pub, nullptr);
  ASSERT_NE(bank, nullptr);
  const int32_t outside = skin->DoSubLoot(0.8f, pub->Tid);
  EXPECT_NE(outside, 32);
  EXPECT_NE(outside, 13);
  EXPECT_EQ(skin->DoLoot(0.8f, bank->Tid, false), 32);
  ASSERT_TRUE(logic.EnterThing(skin->Info.get(), logic.GetThing(pub->Tid)->Info.get()));
  EXPECT_EQ(skin->DoSubLoot(0.8f, pub->Tid), 13);
  EXPECT_EQ(skin->DoLoot(0.8f, pub->Tid, false), 13);
  logic.GetThing(pub->Tid)->Info->Status |= 1u << 29;
  EXPECT_EQ(skin->DoSubLoot(0.8f, pub->Tid), 32);
}

// ---- Fences ----

struct FenceCase {
  int32_t x;
  int32_t y;
  int32_t endX;
  int32_t endY;
};

TEST_F(SupporterMovesTest, AFenceIsAttackedFromTheEndWithTheShorterRouteTheFirstOnATie) {
  // The fence at (16, 16) facing 0 has its ends at (17, 15) and (15, 17).
  const FenceCase cases[] = {
      {10, 10, 17, 15},  // equal routes: the first end
      {20, 10, 17, 15},
      {10, 20, 15, 17},
  };
  for (const FenceCase& test : cases) {
    SCOPED_TRACE(test.x * 100 + test.y);
    logic.Things->SetCount(1);
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    const ThingInfo* fence = logic.CreateThing("Obst774", 16, 16, 0, 0, 0);
    ASSERT_NE(fence, nullptr);
    auto* fan = Make(3, test.x, test.y);
    fan->ExecutePlan(new PsychicPlanAttack(fence->Tid, 0, 0.9f, false));
    const PsychicPlanItem* attack = Top(*fan);
    ASSERT_NE(attack, nullptr);
    ASSERT_NE(attack->child, nullptr);
    const PsychicPlanItem* last = attack->child;
    while (last->queue != nullptr) {
      last = last->queue;
    }
    EXPECT_EQ(last->Param1, test.endX);
    EXPECT_EQ(last->Param2, test.endY);
  }
}

// ---- The hard-core answers ----

class SpeechListener : public YLEventListener {
 public:
  void EventSpeech(int32_t owner, int32_t subject, int32_t message, int32_t value) override {
    lines.push_back({owner, subject, message, value});
  }
  std::vector<std::vector<int32_t>> lines;
};

TEST_F(SupporterMovesTest, AHardCoreFanSentForDopeToItsLeaderJoinsItsGroupAndAnswersOnce) {
  YLUnitLeader* leader = MakeLeader(10, 10);
  ASSERT_NE(leader, nullptr);
  auto* skin = Make<YLUnitHardCore>(8, 11, 10);
  Face(*skin, 10, 10);
  PsychicPlanGetDope step(leader->GetTid(), 0, 0.8f, false);
  EXPECT_EQ(step.Execute(skin), 17);
  const LeaderInfo* group = leader->GetLeaderInfo();
  ASSERT_EQ(group->GroupSize, 1);
  EXPECT_EQ(group->Group[0], skin->GetTid());
  EXPECT_EQ(step.Execute(skin), 32);
  // Only hard-core kinds carry the step out.
  YLUnit* fan = Make(3, 12, 12);
  EXPECT_EQ(step.Execute(fan), 32);
  // A far target is walked to first.
  auto* other = Make<YLUnitHardCore>(8, 20, 20);
  const int32_t walk = other->DoGetDope(0.8f, leader->GetTid(), false);
  EXPECT_NE(walk, 17);
  EXPECT_NE(walk, 32);
}

TEST_F(SupporterMovesTest, AHardCoreFanAskedToHurtBystandersRaisesAnAlarmAboutEachEnemy) {
  SpeechListener speech;
  ASSERT_TRUE(logic.AddListener(&speech));
  auto* skin = Make<YLUnitHardCore>(8, 10, 10);
  YLUnit* mate = Make(3, 11, 10);
  YLUnit* civilian = Make<YLUnit>(13, 12, 10, 0);
  YLUnit* enemy = Make(3, 9, 10, kEnemy);
  skin->ClearPerception();
  skin->AddNeighbour(mate->GetTid());
  skin->AddNeighbour(civilian->GetTid());
  skin->AddNeighbour(enemy->GetTid());
  skin->HurtBystanders();
  const std::vector<std::vector<int32_t>> expected = {{kOwner, skin->GetTid(), 7, civilian->GetTid()},
                                                      {kOwner, skin->GetTid(), 7, enemy->GetTid()}};
  EXPECT_EQ(speech.lines, expected);
  logic.DetachListeners();
}

TEST_F(SupporterMovesTest, ATurretFetchesBricksFromItsPileAndThrowsThemAtTheNearestEnemy) {
  auto* skin = Make<YLUnitHardCore>(8, 10, 10);
  const ThingInfo* pile = logic.CreateThing("Brick01", 11, 10, 0, 0, 0);
  ASSERT_NE(pile, nullptr);
  Face(*skin, 11, 10);
  PsychicPlanThrowTurret turret(pile->Tid, 0, 0.8f, false);
  EXPECT_EQ(turret.Execute(skin), 19);
  skin->Info->Status |= YLUnitSupporter::kStatusHoldsBrick;
  EXPECT_EQ(turret.Execute(skin), 0);  // no one to throw at
  YLUnit* enemy = Make(3, 10, 3, kEnemy);
  Face(*skin, 10, 3);
  EXPECT_EQ(turret.Execute(skin), 14);
  int32_t x = 0;
  int32_t y = 0;
  skin->GetDestination(x, y);
  EXPECT_EQ(x, enemy->GetX());
  EXPECT_EQ(y, enemy->GetY());
  // Any other thing makes the step a GetDope, which has no thing left.
  YLUnit* mate = Make(3, 20, 20);
  PsychicPlanThrowTurret elsewhere(mate->GetTid(), 0, 0.8f, false);
  EXPECT_EQ(elsewhere.Execute(skin), skin->DoGetDope(0.8f, 0, false));
}

// ---- The rozav ----

struct BarricadeCase {
  int32_t x;
  int32_t side;  // the way the rozav faces the barricade
  int32_t cellX;
};

TEST_F(SupporterMovesTest, ARozavReachesTheNearerSideOfABarricadeFacesItAndKnocksItOver) {
  // The barricade at (16, 16) faces 2: its sides are (15, 16) and (17, 16).
  const BarricadeCase cases[] = {{10, 2, 15}, {22, 6, 17}};
  for (const BarricadeCase& test : cases) {
    SCOPED_TRACE(test.x);
    logic.Things->SetCount(1);
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    const ThingInfo* info = logic.CreateThing("Pushbarrier2", 16, 16, 0, 0, 0);
    ASSERT_NE(info, nullptr);
    auto* barricade = dynamic_cast<YLTBaricade*>(logic.GetThing(info->Tid));
    ASSERT_NE(barricade, nullptr);
    ASSERT_FALSE(barricade->Cleaned);
    auto* rozav = Make<YLUnitRozav>(9, test.x, 16);
    // The step names the barricade's cell, as the player's order does.
    rozav->ExecutePlan(new PsychicPlanBaricade(16, 16, 0.9f, false));
    const PsychicPlanItem* step = Top(*rozav);
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->Param2, test.side);
    EXPECT_EQ(rozav->BarricadeX, test.cellX);
    bool worked = false;
    for (int32_t frame = 0; frame < 1500 && !barricade->Cleaned; ++frame) {
      rozav->GetUnitInfo()->Stamina = 1.0f;
      rozav->Propagate();
      worked = worked || rozav->Info->MoveNumber == 23;
    }
    EXPECT_TRUE(worked);
    EXPECT_TRUE(barricade->Cleaned);
    EXPECT_EQ(rozav->GetX(), test.cellX);
    EXPECT_EQ(rozav->GetY(), 16);
    EXPECT_EQ(rozav->Info->GetFacing(), test.side);
    // The barricade's state now differs from the step's: the step is done.
    EXPECT_EQ(rozav->DoBaricade(0.9f, info->Tid, test.side, false, false), 32);
  }
}

TEST_F(SupporterMovesTest, ARozavWithNoReachableSideGetsNoRouteYetItsStepIsPlanned) {
  const ThingInfo* info = logic.CreateThing("Pushbarrier2", 16, 16, 0, 0, 0);
  ASSERT_NE(info, nullptr);
  YLKnowledgeMap* grid = logic.Map->GetStratMap();
  grid->SetSector(15, 16, kNoSector);
  grid->SetSector(17, 16, kNoSector);
  auto* rozav = Make<YLUnitRozav>(9, 10, 16);
  rozav->Plan.AddChild(new PsychicPlanBaricade(16, 16, 0.9f, false));
  EXPECT_TRUE(rozav->MakePlan());
  const PsychicPlanItem* step = Top(*rozav);
  ASSERT_NE(step, nullptr);
  EXPECT_FALSE(step->Expandable);
  EXPECT_EQ(step->child, nullptr);
  EXPECT_EQ(rozav->BarricadeX, YLUnitRozav::kNoCell);
}

TEST_F(SupporterMovesTest, ARozavAsksOnlyAUnitStandingOnItsCellToMakeWay) {
  const ThingInfo* info = logic.CreateThing("Pushbarrier2", 16, 16, 0, 0, 0);
  ASSERT_NE(info, nullptr);
  auto* rozav = Make<YLUnitRozav>(9, 14, 16);
  YLUnit* blocker = Make<YLUnit>(13, 15, 16, 0);
  Face(*rozav, 15, 16);
  EXPECT_EQ(rozav->DoBaricade(0.9f, info->Tid, 2, false, false), 0);
  ASSERT_EQ(blocker->GetStimulusCount(), 1);
  EXPECT_EQ(blocker->GetStimulus(0)->kind & 0xFF, 3);
  EXPECT_EQ(blocker->GetStimulus(0)->source, rozav->GetTid());
  // A thing that is no unit gets no message, and the rozav waits.
  logic.Map->RemoveThing(blocker);
  const ThingInfo* crate = logic.CreateThing("Lamppost", 15, 16, 0, 0, 0);
  ASSERT_NE(crate, nullptr);
  rozav->BarricadeX = YLUnitRozav::kNoCell;
  EXPECT_EQ(rozav->DoBaricade(0.9f, info->Tid, 2, false, false), 0);
}

// ---- Fights ----

TEST_F(SupporterMovesTest, AnAttackerClosesInAndHitsUntilTheEnemyIsHurt) {
  for (const int32_t weapon : {0, 1}) {
    SCOPED_TRACE(weapon);
    logic.Things->SetCount(1);
    ASSERT_TRUE(logic.Map->Init(kMapSize, kMapSize));
    auto* fan = Make(3, 10, 10);
    fan->GetUnitInfo()->Weapon = weapon;
    YLUnit* enemy = Make<YLUnit>(3, 16, 10, kEnemy);
    fan->ExecutePlan(new PsychicPlanAttack(enemy->GetTid(), 0, 0.9f, false));
    ASSERT_NE(Top(*fan), nullptr);
    std::vector<int32_t> blows;
    for (int32_t frame = 0; frame < 1500 && enemy->Info->Hp >= 1.0f; ++frame) {
      fan->GetUnitInfo()->Stamina = 1.0f;
      const int32_t before = fan->Info->MoveNumber;
      fan->Propagate();
      RunFrames(1);
      const int32_t move = fan->Info->MoveNumber;
      if (move != before && move >= 11 && move <= 13) {
        blows.push_back(move);
      }
    }
    EXPECT_LT(enemy->Info->Hp, 1.0f);
    ASSERT_FALSE(blows.empty());
    EXPECT_EQ(blows.front(), weapon != 0 ? 11 : 12);
    EXPECT_LE(YLUnit::IntDistance(fan->GetX(), fan->GetY(), enemy->GetX(), enemy->GetY()), 1);
  }
}

// ---- The rat and the yobb ----

TEST_F(SupporterMovesTest, ARatEntersNearAnEntranceBurglesFartherAndIsDoneInsideItsBuilding) {
  auto* rat = Make<YLUnitRat>(1, 10, 10);
  // Its own side's home, so the building admits it once it is at the door.
  const ThingInfo* home = logic.CreateThing("Home2", 20, 10, 0, 0, kOwner);
  ASSERT_NE(home, nullptr);
  PsychicPlanBurgle step(home->Tid, 0, 0.8f, false);
  EXPECT_EQ(step.Execute(rat), 22);
  rat->Info->X = 18;
  EXPECT_EQ(step.Execute(rat), 9);
  ASSERT_TRUE(logic.EnterThing(rat->Info.get(), logic.GetThing(home->Tid)->Info.get()));
  EXPECT_EQ(step.Execute(rat), 32);
  YLUnit* other = Make(3, 5, 5);
  EXPECT_EQ(rat->DoBurgle(0.8f, other->GetTid(), false), 32);
  EXPECT_EQ(step.Execute(other), 32);  // only a rat burgles
}

TEST_F(SupporterMovesTest, AYobbThrowsAMolotovAtAThingOnceFacingItWithinRange) {
  auto* yobb = Make<YLUnitYobb>(12, 10, 10);
  YLUnit* enemy = Make<YLUnit>(3, 10, 3, kEnemy);
  PsychicPlanThrowMolotov step(enemy->GetTid(), 0, 0.8f, false);
  Face(*yobb, 10, 3);
  EXPECT_EQ(step.Execute(yobb), 27);
  EXPECT_TRUE(yobb->ThrowPending);
  EXPECT_NE(yobb->Info->Status & YLUnitSupporter::kStatusHoldsBrick, 0u);
  int32_t x = 0;
  int32_t y = 0;
  yobb->GetDestination(x, y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 3);
  EXPECT_EQ(step.Execute(yobb), 32);
  EXPECT_FALSE(yobb->ThrowPending);
  // Facing away it turns; out of reach it walks; no yobb, no molotov.
  yobb->Frustration = 0.0f;
  Face(*yobb, 12, 10);
  const int32_t turn = step.Execute(yobb);
  EXPECT_TRUE(turn == 5 || turn == 6) << turn;
  enemy->Info->Y = 30;
  enemy->Info->X = 30;
  yobb->Frustration = 0.0f;
  const int32_t walk = step.Execute(yobb);
  EXPECT_NE(walk, 27);
  EXPECT_NE(walk, 32);
  EXPECT_EQ(step.Execute(Make(3, 20, 20)), 32);
}

TEST_F(SupporterMovesTest, AYobbsBlowCalmsItAndStrikesTheCellInFrontWithItsOwnWeapon) {
  auto* yobb = Make<YLUnitYobb>(12, 10, 10);
  YLUnit* enemy = Make<YLUnit>(3, 10, 9, kEnemy);
  yobb->SetOrientation(0);  // facing (10, 9)
  UnitInfo& info = *yobb->GetUnitInfo();
  info.Weapon = 2;
  info.Anger = 0.9f;
  info.Stamina = 1.0f;
  const YLWeapon* weapon = yobb->GetWeapon();
  ASSERT_NE(weapon, nullptr);
  EXPECT_EQ(weapon, logic.Weapons->GetSlot(61));
  yobb->OnBrainMove(12);
  EXPECT_FLOAT_EQ(info.Anger, std::max(0.9f - 3.0f * weapon->GetTotalDamage(), 0.0f));
  RunFrames(60);
  EXPECT_LT(enemy->Info->Hp, 1.0f);
}

}  // namespace
