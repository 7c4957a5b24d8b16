// Officers: the threat of what they see and what they shout, the arrest of
// a unit from the first blow to the jail, and the reflexes.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/Random.h"
#include "LogicThingsFixture.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/MoveInfo.h"
#include "logic/world/Police.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/core/GroundMap.h"
#include "logic/world/YLTBuilding.h"
#include "logic/world/YLTMEBus.h"
#include "logic/world/YLUnitLeader.h"

namespace {

using logic_things_testing::LogicThingsTest;
using logic_things_testing::ThingListener;

constexpr int32_t kPolice = CLogic::kPolicePlayer;
constexpr int32_t kFans = 1;

class SpeechListener : public ThingListener {
 public:
  void EventSpeech(int32_t, int32_t subjectId, int32_t message, int32_t value) override {
    speech.push_back({subjectId, message, value});
  }
  std::vector<std::vector<int32_t>> speech;
};

// A unit that does not run off on its own (no danger reflexes, no idling):
// it stands until an officer's steps move it.
class StandingUnit : public YLUnit {
 public:
  void ComputeIntentions() override {}
};

class PoliceTest : public LogicThingsTest {
 protected:
  void SetUp() override {
    LogicThingsTest::SetUp();
    ASSERT_TRUE(logic.AddListener(&speaker));
  }
  Police* MakeOfficer(int32_t x, int32_t y) {
    return dynamic_cast<Police*>(logic.CreateUnitAt(x, y, 0, 0, 5, kPolice, nullptr));
  }
  YLUnit* MakeUnit(int32_t type, int32_t x, int32_t y, int32_t owner) {
    return logic.CreateUnitAt(x, y, 0, 0, type, owner, nullptr);
  }
  YLUnit* MakeStanding(int32_t x, int32_t y, int32_t owner) {
    auto* unit = new StandingUnit;
    unit->CreateInfo(0);
    unit->Info->Tid = logic.FindFreeThingID();
    unit->Info->X = x;
    unit->Info->Y = y;
    unit->Info->Owner = owner;
    if (!logic.AddThing(unit)) {
      DestroyObject(unit);
      return nullptr;
    }
    return unit;
  }
  // The messages the officer said, in order.
  std::vector<int32_t> Said(const Police& officer) const {
    std::vector<int32_t> messages;
    for (const std::vector<int32_t>& entry : speaker.speech) {
      if (entry[0] == officer.GetTid()) {
        messages.push_back(entry[1]);
      }
    }
    return messages;
  }
  int32_t Param(int32_t player, ParamEnum param) {
    CPlayer* side = logic.GetPlayer(player);
    return side != nullptr ? side->GetParam(param) : -1;
  }

  SpeechListener speaker;
};

TEST_F(PoliceTest, TheThreatOfAZeroDenominatorIsWrittenOut) {
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    float sum;
    int32_t friends;
    float threat;
  };
  const Case cases[] = {
      {0.5f, 0, 1.0f},    // sum / 0 = infinity: 1 - 0
      {-0.5f, 0, 1.0f},   // minus infinity: 1 + 0
      {0.0f, 0, 0.0f},    // 0 / 0 is not a number: 0
      {-0.5f, 2, 0.0f},   // 1 - 1/0 = minus infinity: clamped
      {-0.25f, 2, 0.0f},  // 1 - 1/0.5 = -1: clamped
      {0.25f, 1, 0.5f},   // 1 - 1/2
      {inf, 1, 1.0f},
  };
  for (const Case& entry : cases) {
    SCOPED_TRACE(std::to_string(entry.sum) + " / " + std::to_string(entry.friends));
    EXPECT_FLOAT_EQ(Police::ThreatOf(entry.sum, entry.friends), entry.threat);
  }
}

struct SeenUnit {
  int32_t type;
  int32_t dx;
  int32_t owner;
  int32_t move;  // -1: none
};

struct ThreatCase {
  const char* name;
  std::vector<SeenUnit> seen;
  std::vector<int32_t> speech;
  bool noFriends;  // threat 1 expected
};

TEST_F(PoliceTest, AnOfficersThreatFearAndSpeechFollowWhatItSees) {
  const ThreatCase cases[] = {
      {"nothing", {}, {}, false},
      {"one armed fan, no friend", {{3, 3, kFans, 11}}, {7, 14}, true},
      {"an armed leader and a friend", {{10, 3, kFans, 11}, {3, 1, 0, -1}}, {7, 15}, false},
      {"fists, kicks and throws", {{3, 2, kFans, 12}, {3, 4, kFans, 13}, {3, 6, kFans, 14}, {3, -1, kPolice, -1}},
       {7, 13, 7, 13, 7, 13}, false},
      {"a barricade, a bomb, a molotov", {{3, 2, kFans, 23}, {3, 4, kFans, 25}, {3, 6, kFans, 27}, {3, -2, 0, -1}},
       {7, 19, 7, 17, 7, 16}, false},
      {"an enemy at 13 cells adds nothing", {{3, 13, kFans, -1}, {3, -1, 0, -1}}, {7}, false},
      {"an enemy beyond 13 cells lowers the sum", {{3, 16, kFans, -1}, {3, -1, 0, -1}}, {7}, false},
  };
  int32_t row = 2;
  for (const ThreatCase& entry : cases) {
    SCOPED_TRACE(entry.name);
    const int32_t y = row;
    row += 3;
    Police* officer = MakeOfficer(8, y);
    ASSERT_NE(officer, nullptr);
    officer->GetUnitInfo()->Anger = 0.5f;
    float sum = 0.0f;
    int32_t friends = 0;
    for (const SeenUnit& seen : entry.seen) {
      YLUnit* unit = MakeUnit(seen.type, 8 + seen.dx, y, seen.owner);
      ASSERT_NE(unit, nullptr);
      unit->SetWeaponGrade(1);
      if (seen.move >= 0) {
        unit->Info->Move = unit->GetMoveInfo(seen.move);
      }
      officer->AddNeighbour(unit->GetTid());
      if (seen.owner == 0 || seen.owner == kPolice) {
        ++friends;
      } else {
        sum += unit->GetDamage() * static_cast<float>(13 - std::abs(seen.dx)) / 13.0f;
      }
    }
    officer->AddNeighbour(0xFFF3);  // a direction code is skipped
    officer->CrimeCount = 9;
    officer->AssessThreat();
    float expected = 0.0f;
    if (entry.noFriends) {
      expected = 1.0f;
    } else if (friends > 0) {
      expected = std::fmax(0.0f, 1.0f - 1.0f / (1.0f + 4.0f * sum / static_cast<float>(friends)));
    }
    EXPECT_NEAR(officer->Threat, expected, 1e-5f);
    EXPECT_NEAR(officer->GetUnitInfo()->Fear, 0.4f * expected, 1e-5f);
    EXPECT_FLOAT_EQ(officer->GetUnitInfo()->Anger, 0.5f * 0.95f);
    EXPECT_EQ(officer->CrimeCount, 0);
    EXPECT_EQ(Said(*officer), entry.speech);
  }
}

TEST_F(PoliceTest, TheDebugLineShowsTwoDecimalsOnlyForTheOfficer) {
  Police* officer = MakeOfficer(5, 5);
  officer->Threat = 0.4567f;
  officer->WorstUnit = 12;
  officer->WorstValue = 1.5f;
  officer->CrimeCount = 3;
  tString text;
  officer->GetDebugText(text);
  EXPECT_NE(std::string(text.text).find(" -- plisie: thr:0.46, worst:12(1.50), cnt:3\n"), std::string::npos)
      << text.text;
  auto* riot = dynamic_cast<MEUnit*>(MakeUnit(6, 8, 8, kPolice));
  ASSERT_NE(riot, nullptr);
  riot->GetDebugText(text);
  EXPECT_EQ(std::string(text.text).find("plisie"), std::string::npos);
}

// The officer closes in, fights the target down, answers 30 once, arrests
// it (both busy/marked, one arrest counted for each side), brings it to the
// department, where it is jailed and the officer is free again.
TEST_F(PoliceTest, AnOfficerArrestsAUnitBringsItInAndItIsJailed) {
  const ThingInfo* deptInfo = logic.CreateThing("PDept", 24, 8, 0, 0, kPolice);
  ASSERT_NE(deptInfo, nullptr);
  YLThing* dept = Thing(deptInfo);
  Police* officer = MakeOfficer(6, 8);
  ASSERT_NE(logic.CreatePlayer(kFans), nullptr);
  YLUnit* target = MakeStanding(10, 8, kFans);
  ASSERT_TRUE(officer != nullptr && target != nullptr);
  officer->GetUnitInfo()->Ammo = 0;  // no rounds: it fights with its fists
  const int32_t fansArrests = Param(kFans, ParamArrests);
  const int32_t policeArrests = Param(kPolice, ParamArrests);
  officer->ExecutePlan(new PsychicPlanArrest(target->GetTid(), dept->GetTid(), 1.0f, false));

  int32_t arrestMoves = 0;
  int32_t previousMove = -1;
  bool bothMarked = false;
  bool fought = false;
  for (int32_t frame = 0; frame < 6000 && (target->Info->Status & StatusAlive) != 0; ++frame) {
    logic.Compute();
    const int32_t move = officer->Info->Move != nullptr ? officer->Info->Move->code : -1;
    if (move == Police::kMoveArrest && previousMove != Police::kMoveArrest) {
      ++arrestMoves;
    }
    fought = fought || move == 12 || move == 13 || move == 11;
    previousMove = move;
    bothMarked = bothMarked || ((officer->Info->Status & Police::kStatusBusy) != 0 &&
                                (target->Info->Status & YLUnit::kStatusArrested) != 0);
  }
  EXPECT_TRUE(fought);
  EXPECT_EQ(arrestMoves, 1);
  EXPECT_TRUE(bothMarked);
  EXPECT_EQ(Param(kFans, ParamArrests), fansArrests + 1);
  EXPECT_EQ(Param(kPolice, ParamArrests), policeArrests + 1);
  EXPECT_EQ(target->Info->Status & StatusAlive, 0u);
  EXPECT_EQ(target->Info->X, -6);
  EXPECT_EQ(officer->Info->Status & Police::kStatusBusy, 0u);
}

TEST_F(PoliceTest, AnArrestAimedAtSomethingThatIsNoUnitEnds) {
  Police* officer = MakeOfficer(6, 8);
  const ThingInfo* pub = logic.CreateThing("Pub1", 7, 8, 0, 0, 0);
  ASSERT_NE(pub, nullptr);
  EXPECT_EQ(officer->DoArrest(1.0f, pub->Tid, 0, false), YLUnit::kReached);
  EXPECT_EQ(officer->DoArrest(1.0f, 3999, 0, false), YLUnit::kReached);
  EXPECT_EQ(officer->WorstUnit, 3999);
}

TEST_F(PoliceTest, ACallMakesTheOfficerAttackOnlyWhenItsStepMattersLess) {
  Police* officer = MakeOfficer(6, 8);
  YLUnit* caller = MakeUnit(3, 12, 8, kFans);
  for (const float motivation : {0.5f, 0.95f}) {
    SCOPED_TRACE(motivation);
    officer->ExecutePlan(new PsychicPlanStandBy(0, 0, 0.0f, false));
    officer->Plan.child->Motivation = motivation;
    ASSERT_TRUE(logic.SendUnitMessage(caller, officer->GetTid(), 9, 1.0f));
    officer->ComputeReflexes();
    const PsychicPlanItem* first = officer->Plan.child;
    ASSERT_NE(first, nullptr);
    if (motivation < 0.95f) {
      EXPECT_EQ(first->Action, OrderKind::kAttack);
      EXPECT_EQ(first->Param1, caller->GetTid());
      EXPECT_FLOAT_EQ(first->Motivation, 0.95f);
      EXPECT_TRUE(first->Fast);
    } else {
      EXPECT_EQ(first->Action, OrderKind::kStandBy);
    }
  }
}

TEST_F(PoliceTest, ACiviliansHitMakesTheOfficerStepAwayFromIt) {
  Police* officer = MakeOfficer(6, 8);
  YLUnit* civilian = MakeUnit(0, 7, 9, 0);
  YLUnit* fan = MakeUnit(3, 5, 7, kFans);
  ASSERT_TRUE(civilian != nullptr && fan != nullptr);
  ASSERT_TRUE(logic.SendUnitMessage(fan, officer->GetTid(), 3, 0.7f));
  officer->ComputeReflexes();
  EXPECT_NE(officer->GetPlanLeaf()->Action, OrderKind::kFuckOff);
  ASSERT_TRUE(logic.SendUnitMessage(civilian, officer->GetTid(), 3, 0.7f));
  officer->ComputeReflexes();
  const PsychicPlanItem* first = officer->Plan.child;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Action, OrderKind::kFuckOff);
  EXPECT_EQ(first->Param1, 7);
  EXPECT_EQ(first->Param2, 9);
  EXPECT_FLOAT_EQ(first->Motivation, 0.7f);
}


// ---- Riot police ----

TEST_F(PoliceTest, ARiotOfficerDrawsTurnsAndThrowsTearGasOnce) {
  auto* riot = dynamic_cast<MEUnit*>(MakeUnit(6, 10, 10, kPolice));
  ASSERT_NE(riot, nullptr);
  EXPECT_EQ(riot->GetUnitInfo()->Weapon, 1);
  riot->Info->Ori = 0;
  const int32_t propagators = logic.Propagators->count;
  std::vector<int32_t> moves;
  for (int32_t step = 0; step < 8; ++step) {
    const int32_t move = riot->DoTearGas(0.8f, 14, 10, false);
    moves.push_back(move);
    if (move == 29) {
      ASSERT_TRUE(dynamic_cast<MoveInfo*>(YLUnit::GetUnitMoveTable()->At(29))->Perform(riot, &logic));
    } else if (move == 5 || move == 6) {
      riot->Info->Ori = static_cast<uint8_t>((riot->Info->Ori + (move == 5 ? 1 : 7)) & 7);
    } else {
      break;
    }
  }
  EXPECT_EQ(moves, (std::vector<int32_t>{29, 5, 5, 11}));
  EXPECT_FLOAT_EQ(riot->Frustration, MEUnit::kGasThrown);
  EXPECT_EQ(riot->DestinationX, 14);
  EXPECT_EQ(riot->DestinationY, 10);
  ASSERT_TRUE(dynamic_cast<MoveInfo*>(YLUnit::GetUnitMoveTable()->At(11))->Perform(riot, &logic));
  for (int32_t frame = 0; frame < 40 && logic.Propagators->count == propagators; ++frame) {
    logic.PropagatePlan();
    ++logic.Time;
  }
  EXPECT_GT(logic.Propagators->count, propagators);
  EXPECT_EQ(riot->DoTearGas(0.8f, 14, 10, false), YLUnit::kReached);
}

struct WeightCase {
  int32_t direction;
  int32_t distance;
  float weights[7];
};

TEST_F(PoliceTest, TheRiotBusWeightsFollowTheGoalsDirectionAndDistance) {
  auto* riot = dynamic_cast<MEUnit*>(MakeUnit(6, 10, 10, kPolice));
  ASSERT_NE(riot, nullptr);
  const WeightCase cases[] = {
      {0, 10, {0, 1.0f, 0.3f, 0.3f, 0, 0, 0}},   {1, 10, {0, 0.3f, 1.0f, 0, 0, 0, 0}},
      {2, 10, {0, 0.3f, 1.0f, 0, 0, 0, 0}},      {2, 3, {0, 0.1f, 1.0f, 0, 0, 0.3f, 0}},
      {3, 10, {0, 0, 0.1f, 0, 0.3f, 1.0f, 0.1f}}, {4, 10, {0, 0, 0, 0, 0.7f, 1.0f, 1.0f}},
      {-4, 10, {0, 0, 0, 0, 0.7f, 1.0f, 1.0f}},  {-3, 10, {0, 0, 0, 0.1f, 0.3f, 0.1f, 1.0f}},
      {-2, 10, {0, 0.3f, 0, 1.0f, 0, 0, 0}},     {-2, 3, {0, 0.1f, 0, 1.0f, 0, 0, 0.3f}},
      {-1, 10, {0, 0.3f, 0, 1.0f, 0, 0, 0}},
  };
  for (const int32_t type : {1, 2, 6}) {
    for (const WeightCase& entry : cases) {
      float weights[YLTDriver::kDriveWeightCount] = {9, 9, 9, 9, 9, 9, 9};
      riot->GetDriveWeights(weights, entry.direction, entry.distance, type);
      for (int32_t index = 0; index < YLTDriver::kDriveWeightCount; ++index) {
        EXPECT_FLOAT_EQ(weights[index], entry.weights[index])
            << "type " << type << " direction " << entry.direction << " distance " << entry.distance << " weight "
            << index;
      }
    }
  }
}

TEST_F(PoliceTest, AChargePushesEveryUnitUnderTheBusesBody) {
  const ThingInfo* busInfo = logic.CreateThing("Vehicle020-mebus", 12, 12, 0, 0, kPolice);
  ASSERT_NE(busInfo, nullptr);
  auto* bus = dynamic_cast<YLTMEBus*>(Thing(busInfo));
  ASSERT_NE(bus, nullptr);
  auto* riot = dynamic_cast<MEUnit*>(MakeUnit(6, 8, 8, kPolice));
  ASSERT_TRUE(logic.EnterThing(riot->Info.get(), bus->Info.get()));
  ASSERT_TRUE(riot->IsDriving());
  if (bus->Info->Ground == nullptr) {
    bus->Info->Ground.reset(new GroundMap);
  }
  const int32_t facing = bus->Info->GetFacing();
  for (const int32_t dy : {2, 3}) {
    if (!bus->Info->Ground->HasPoint(facing, 0, dy)) {
      bus->Info->Ground->AddPoint(facing, 0, dy);
    }
  }
  YLUnit* under = MakeStanding(12, 14, kFans);
  YLUnit* alsoUnder = MakeStanding(12, 15, 0);
  YLUnit* beside = MakeStanding(16, 14, kFans);
  ASSERT_TRUE(under != nullptr && alsoUnder != nullptr && beside != nullptr);
  riot->Charge();
  for (YLUnit* pushed : {under, alsoUnder}) {
    ASSERT_EQ(pushed->GetStimulusCount(), 1);
    EXPECT_EQ(pushed->GetStimulus(0)->kind, 3);
    EXPECT_FLOAT_EQ(pushed->GetStimulus(0)->strength, 0.85f);
    EXPECT_EQ(pushed->GetStimulus(0)->source, riot->GetTid());
  }
  EXPECT_EQ(beside->GetStimulusCount(), 0);
}

}  // namespace

namespace {

// The riot bus on a free road, heading north: the goal's direction picks
// the move of the riot weights (drive on 15, the drive turns 16/17, the
// reverse turns 19/20); a goal about behind is one of the two reverse
// turns; a goal within the tolerance or nearer than 2 cells ends the drive.
TEST_F(PoliceTest, TheRiotBusDrivesTowardItsGoalByTheRiotWeights) {
  const ThingInfo* busInfo = logic.CreateThing("Vehicle020-mebus", 16, 16, 0, 0, kPolice);
  ASSERT_NE(busInfo, nullptr);
  auto* bus = dynamic_cast<YLTMEBus*>(Thing(busInfo));
  auto* riot = dynamic_cast<MEUnit*>(MakeUnit(6, 8, 8, kPolice));
  ASSERT_TRUE(bus != nullptr && riot != nullptr);
  ASSERT_TRUE(logic.EnterThing(riot->Info.get(), bus->Info.get()));
  ASSERT_TRUE(riot->IsDriving());
  bus->Info->Ori = 0;
  const struct {
    int32_t dx;
    int32_t dy;
    int32_t tolerance;
    std::vector<int32_t> moves;
  } cases[] = {
      {0, -8, 0, {15}},       // ahead
      {6, -6, 0, {16}},       // ahead right
      {7, 0, 0, {16}},        // right, far
      {3, 0, 0, {16}},        // right, near
      {5, 5, 0, {19}},        // behind right
      {0, 7, 0, {19, 20}},    // behind: the two reverse turns weigh the same
      {-5, 5, 0, {20}},       // behind left
      {-7, 0, 0, {17}},       // left
      {-3, 0, 0, {17}},       // left, near
      {-6, -6, 0, {17}},      // ahead left
      {0, -8, 8, {32}},       // within the tolerance
      {1, 0, 0, {32}},        // nearer than 2
  };
  for (const auto& entry : cases) {
    const int32_t move = riot->ChooseDriveMove(16 + entry.dx, 16 + entry.dy, entry.tolerance);
    EXPECT_NE(std::find(entry.moves.begin(), entry.moves.end(), move), entry.moves.end())
        << "goal (" << entry.dx << ", " << entry.dy << ") gave " << move;
  }
}

// At the wheel of its bus an Enter into it means getting out and aboard:
// the route to the entrance, then Leave and GotoThing on the bus twice.
TEST_F(PoliceTest, ARiotOfficerDrivingItsBusPlansToLeaveAndBoardItTwice) {
  const ThingInfo* busInfo = logic.CreateThing("Vehicle020-mebus", 16, 16, 0, 0, kPolice);
  ASSERT_NE(busInfo, nullptr);
  auto* bus = dynamic_cast<YLTMEBus*>(Thing(busInfo));
  auto* riot = dynamic_cast<MEUnit*>(MakeUnit(6, 8, 8, kPolice));
  auto* walker = dynamic_cast<MEUnit*>(MakeUnit(6, 4, 8, kPolice));
  ASSERT_TRUE(bus != nullptr && riot != nullptr && walker != nullptr);
  ASSERT_TRUE(logic.EnterThing(riot->Info.get(), bus->Info.get()));
  ASSERT_TRUE(riot->IsDriving());
  const int32_t id = bus->GetTid();
  riot->ExecutePlan(new PsychicPlanEnter(id, 0, 0.8f, true));
  ASSERT_NE(riot->Plan.child, nullptr);
  std::vector<const PsychicPlanItem*> children;
  for (const PsychicPlanItem* child = riot->Plan.child->child; child != nullptr; child = child->queue) {
    children.push_back(child);
  }
  ASSERT_GE(children.size(), 5u);
  EXPECT_EQ(children.front()->Action, OrderKind::kGoto);
  const int32_t expected[] = {OrderKind::kLeave, OrderKind::kGotoThing, OrderKind::kLeave, OrderKind::kGotoThing};
  for (size_t index = 0; index < 4; ++index) {
    const PsychicPlanItem& step = *children[children.size() - 4 + index];
    EXPECT_EQ(step.Action, expected[index]) << index;
    EXPECT_EQ(step.Param1, id) << index;
    EXPECT_FLOAT_EQ(step.Motivation, 0.8f) << index;
    EXPECT_TRUE(step.Fast) << index;
  }
  // An officer on foot just walks to the bus.
  walker->ExecutePlan(new PsychicPlanEnter(id, 0, 0.8f, true));
  ASSERT_NE(walker->Plan.child, nullptr);
  for (const PsychicPlanItem* child = walker->Plan.child->child; child != nullptr; child = child->queue) {
    EXPECT_EQ(child->Action, OrderKind::kGoto);
  }
}

// Patrolling, investigating and assisting walk an officer to their goal;
// any other unit drops such steps at once.
TEST_F(PoliceTest, AnOfficerWalksItsPatrolAndInvestigationSteps) {
  Police* officer = MakeOfficer(4, 4);
  YLUnit* civilian = MakeStanding(4, 8, 0);
  YLUnit* target = MakeStanding(20, 20, kFans);
  ASSERT_TRUE(officer != nullptr && civilian != nullptr && target != nullptr);
  const int32_t id = target->GetTid();
  officer->ComputeUpdateModel();  // the free cells around it
  PsychicPlanPatroll patrol(20, 4, 0.3f, false);
  PsychicPlanPatroll patrolHere(4, 4, 0.3f, false);
  PsychicPlanInvestigateAlarm alarm(id, 0, 0.5f, false);
  PsychicPlanInvestigateUnit unit(id, 0, 0.5f, false);
  PsychicPlanAssistance assistance(id, 0, 1.1f, true);
  for (PsychicPlanItem* step : std::vector<PsychicPlanItem*>{&patrol, &alarm, &unit, &assistance}) {
    const int32_t move = step->Execute(officer);
    EXPECT_TRUE(move == YLUnit::kMoveWalk || move == YLUnit::kMoveRun || move == YLUnit::kMoveTurnClockwise ||
                move == YLUnit::kMoveTurnCounterClockwise)
        << step->GetClassName() << " gave " << move;
    EXPECT_EQ(step->Execute(civilian), YLUnit::kReached) << step->GetClassName();
  }
  EXPECT_EQ(patrolHere.Execute(officer), YLUnit::kReached);
}

// With nothing planned an officer on the street idles (Ambient, 0.25) one
// time in ten, after the unit's own ambient chance drew; inside a
// container, or with a plan, it does not.
TEST_F(PoliceTest, AnOfficerWithNothingPlannedIdlesOneTimeInTen) {
  Police* officer = MakeOfficer(10, 10);
  ASSERT_NE(officer, nullptr);
  int32_t idled = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    SetRandomSeed(seed);
    const double ambientDraw = RandomFloat();
    const bool expected = !(ambientDraw > 0.6 && ambientDraw < 0.62) && RandomFloat() < 0.1;
    officer->ClearPlan();
    officer->ClearMove();
    SetRandomSeed(seed);
    officer->ComputeIntentions();
    const PsychicPlanItem* top = officer->Plan.child;
    const bool idles = top != nullptr && top->Action == OrderKind::kAmbient && top->Motivation == 0.25f;
    EXPECT_EQ(idles, expected) << "seed " << seed;
    idled += idles ? 1 : 0;
  }
  EXPECT_GT(idled, 5);
  EXPECT_LT(idled, 40);
  // Busy with a step: no idling.
  auto* patrol = new PsychicPlanPatroll(20, 10, 0.3f, false);
  patrol->Expandable = false;
  for (uint32_t seed = 1; seed <= 50; ++seed) {
    officer->ClearPlan();
    officer->Plan.AddChild(patrol->Clone());
    SetRandomSeed(seed);
    officer->ComputeIntentions();
    for (const PsychicPlanItem* top = officer->Plan.child; top != nullptr; top = top->queue) {
      EXPECT_FALSE(top->Action == OrderKind::kAmbient && top->Motivation == 0.25f) << seed;
    }
  }
  DestroyObject(patrol);
}

}  // namespace

namespace {

TEST_F(PoliceTest, AHitFromACivilianInACarMakesTheOfficerStepAwayFromTheCar) {
  Police* officer = MakeOfficer(6, 8);
  const ThingInfo* carInfo = logic.CreateThing("Vehicle032-BMWblue", 10, 12, 0, 0, 0);
  YLUnit* civilian = MakeUnit(0, 4, 4, 0);
  ASSERT_TRUE(officer != nullptr && carInfo != nullptr && civilian != nullptr);
  ASSERT_TRUE(logic.EnterThing(civilian->Info.get(), Thing(carInfo)->Info.get()));
  ASSERT_TRUE(logic.SendUnitMessage(civilian, officer->GetTid(), 3, 0.6f));
  officer->ComputeReflexes();
  const PsychicPlanItem* first = officer->Plan.child;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Action, OrderKind::kFuckOff);
  EXPECT_EQ(first->Param1, 10);
  EXPECT_EQ(first->Param2, 12);
  EXPECT_FLOAT_EQ(first->Motivation, 0.6f);
}

}  // namespace
