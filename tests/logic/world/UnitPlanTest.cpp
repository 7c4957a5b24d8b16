// A unit's plan: which action slot each step calls, orders replacing the
// plan, steps reached, offers, planning, the base unit's own actions and the
// geometry the steps use.

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../../navigation/PathMapDrawing.h"
#include "LogicMapFixture.h"
#include "LogicWorldFixture.h"
#include "base/LumoClass.h"
#include "base/LumoObjects.h"
#include "base/Random.h"
#include "logic/core/BuildingInfo.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/WeaponCatalog.h"
#include "logic/core/YLConfig.h"
#include "logic/world/MoveInfoKinds.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTContainerThing.h"

namespace logic_world_testing {
namespace {

using Step = std::unique_ptr<PsychicPlanItem, tObjectDestroyer>;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[256];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return text;
}

// A unit that writes down every action slot a step calls, with its
// arguments, and answers `answer`.
class RecordingUnit : public TestUnit {
 public:
  int32_t Note(const std::string& call) {
    calls.push_back(call);
    return answer;
  }
  int32_t DoGoto(float m, int32_t x, int32_t y, bool f, int32_t a) override {
    return Note(Format("DoGoto(%g,%d,%d,%d,%d)", m, x, y, f, a));
  }
  int32_t DoGotoThing(float m, int32_t id, bool f) override { return Note(Format("DoGotoThing(%g,%d,%d)", m, id, f)); }
  int32_t DoFlee(float m, int32_t id, bool f) override { return Note(Format("DoFlee(%g,%d,%d)", m, id, f)); }
  int32_t DoEnter(float m, int32_t id, bool f) override { return Note(Format("DoEnter(%g,%d,%d)", m, id, f)); }
  int32_t DoLoot(float m, int32_t id, bool f) override { return Note(Format("DoLoot(%g,%d,%d)", m, id, f)); }
  int32_t DoLeave(float m, int32_t id, bool f) override { return Note(Format("DoLeave(%g,%d,%d)", m, id, f)); }
  int32_t DoAttack(float m, int32_t id, bool f) override { return Note(Format("DoAttack(%g,%d,%d)", m, id, f)); }
  int32_t DoChant(float m) override { return Note(Format("DoChant(%g)", m)); }
  int32_t DoThrow(float m, int32_t t, int32_t p, bool f) override {
    return Note(Format("DoThrow(%g,%d,%d,%d)", m, t, p, f));
  }
  int32_t DoSubLoot(float m, int32_t id) override { return Note(Format("DoSubLoot(%g,%d)", m, id)); }
  int32_t DoPatroll(float m, int32_t x, int32_t y, bool f, int32_t a) override {
    return Note(Format("DoPatroll(%g,%d,%d,%d,%d)", m, x, y, f, a));
  }
  int32_t DoPickUp(float m, int32_t id, bool f) override { return Note(Format("DoPickUp(%g,%d,%d)", m, id, f)); }
  int32_t DoFuckOff(float m, int32_t x, int32_t y) override { return Note(Format("DoFuckOff(%g,%d,%d)", m, x, y)); }
  int32_t DoLedAway(float m, int32_t id, bool f) override { return Note(Format("DoLedAway(%g,%d,%d)", m, id, f)); }
  int32_t DoJailed(float m, int32_t id, bool f) override { return Note(Format("DoJailed(%g,%d,%d)", m, id, f)); }
  int32_t DoIdle() override { return Note("DoIdle()"); }
  int32_t DoShop(int32_t id) override { return Note(Format("DoShop(%d)", id)); }
  int32_t DoRunAway(int32_t x, int32_t y) override { return Note(Format("DoRunAway(%d,%d)", x, y)); }
  int32_t StandGround(float m, int32_t id, bool f) override { return Note(Format("StandGround(%g,%d,%d)", m, id, f)); }
  int32_t FleeFrom(float m, int32_t id, bool f) override { return Note(Format("FleeFrom(%g,%d,%d)", m, id, f)); }
  void DoAmbient() override { calls.push_back("DoAmbient()"); }
  // A kind that can chant plans a chant step, as the supporters do.
  bool MakePlan() override {
    if (acceptChant && GetPlanLeaf()->Action == OrderKind::kChant) {
      return true;
    }
    return YLUnit::MakePlan();
  }

  std::vector<std::string> calls;
  int32_t answer = 7;
  bool acceptChant = false;
};

class PoliceUnit : public TestUnit {
 public:
  bool IsPolice() const override { return true; }
};

class Container : public YLTContainerThing {};

// One thing a listener heard a unit say.
struct Said {
  int32_t owner;
  int32_t id;
  int32_t message;
  int32_t value;
  bool operator==(const Said&) const = default;
};

class SpeechListener : public YLEventListener {
 public:
  void EventSpeech(int32_t kind, int32_t subject, int32_t message, int32_t value) override {
    said.push_back({kind, subject, message, value});
  }
  std::vector<Said> said;
};

void PrintTo(const Said& said, std::ostream* out) {
  *out << "(" << said.owner << "," << said.id << "," << said.message << "," << said.value << ")";
}

// The unit test: a logic with a thing table, the unit move table, players 1
// and 2, and a listener for speech.
class UnitPlanTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    YLUnit::InitMoveTable();
    logic.Players.reset(new LumoObjects(true));
    logic.CreatePlayer(1);
    logic.CreatePlayer(2);
    logic.CreatePlayer(CLogic::kPolicePlayer);
    ASSERT_TRUE(logic.AddListener(&speech));
    SetRandomSeed(4242);
  }

  RecordingUnit* Unit(int32_t id = 5, int32_t owner = 1, int32_t x = 5, int32_t y = 5) {
    auto* unit = Put<RecordingUnit>(id, x, y);
    unit->Info->Owner = owner;
    return unit;
  }

  template <typename Kind>
  static Kind* MakeStep(int32_t param1, int32_t param2, float motivation = 0.5f, bool fast = true) {
    return new Kind(param1, param2, motivation, fast);
  }

  static std::vector<int32_t> PlanActions(YLUnit& unit) {
    std::vector<int32_t> actions;
    for (const PsychicPlanItem* step = unit.Plan.child; step != nullptr; step = step->queue) {
      actions.push_back(step->Action);
    }
    return actions;
  }

  SpeechListener speech;
};

// ---- Which slot each step calls ----

struct RouteCase {
  const char* kind;
  const char* call;  // "" when no slot is called
  int32_t answer;    // the unit answers 7 from every slot
};

const RouteCase kRoutes[] = {
    {"PsychicPlanHold", "", 0},
    {"PsychicPlanGoto", "DoGoto(0.5,11,22,1,0)", 7},
    {"PsychicPlanFuckOff", "DoFuckOff(0.5,11,22)", 7},
    {"PsychicPlanGotoThing", "DoGotoThing(0.5,11,1)", 7},
    {"PsychicPlanAttack", "DoAttack(0.5,11,1)", 7},
    {"PsychicPlanThrowBrick", "DoThrow(0.5,11,22,1)", 7},
    {"PsychicPlanPickUpBrick", "DoPickUp(0.5,11,1)", 7},
    {"PsychicPlanShop", "DoShop(11)", 7},
    {"PsychicPlanSubThrow", "DoThrow(0.5,11,22,1)", 7},
    {"PsychicPlanEnter", "DoEnter(0.5,11,1)", 7},
    {"PsychicPlanLoot", "DoLoot(0.5,11,1)", 7},
    {"PsychicPlanSubLoot", "DoSubLoot(0.5,11)", 7},
    {"PsychicPlanLeave", "DoLeave(0.5,11,1)", 7},
    {"PsychicPlanChant", "DoChant(0.5)", 7},
    {"PsychicPlanBerserk", "", 32},
    {"PsychicPlanPatroll", "DoPatroll(0.5,11,22,1,0)", 7},
    {"PsychicPlanSpawn", "", 32},
    {"PsychicPlanGroup", "", 0},
    {"PsychicPlanFlee", "DoFlee(0.5,11,1)", 7},
    {"PsychicPlanPanic", "", 0},
    {"PsychicPlanBored", "", 0},
    {"PsychicPlanArrest", "DoLedAway(0.5,11,1)", 7},
    {"PsychicPlanJailed", "DoJailed(0.5,11,1)", 7},
    {"PsychicPlanAmbient", "DoIdle()", 7},
    {"PsychicPlanRunAway", "DoRunAway(11,22)", 7},
    // Steps that need a unit class of their own end at once on this one.
    {"PsychicPlanAttackShoot", "", 32},
    {"PsychicPlanThrowMolotov", "", 32},
    {"PsychicPlanBaricade", "", 32},
    {"PsychicPlanGetDope", "", 32},
    {"PsychicPlanBurgle", "", 32},
    {"PsychicPlanBomb", "", 32},
    {"PsychicPlanFlirt", "", 32},
    {"PsychicPlanHijack", "", 32},
    {"PsychicPlanRave", "", 32},
    {"PsychicPlanInvestigateAlarm", "", 32},
    {"PsychicPlanInvestigateUnit", "", 32},
    {"PsychicPlanCordon", "", 32},
    {"PsychicPlanStandBy", "", 32},
    {"PsychicPlanCharge", "", 32},
    {"PsychicPlanAssistance", "", 32},
    {"PsychicPlanTearGas", "", 32},
    {"PsychicPlanJoinRave", "", 32},
    {"PsychicPlanThrowMolotovPlace", "", 32},
    {"PsychicPlanThrowTurret", "", 32},
    {"PsychicPlanBringIn", "", 32},
};

TEST_F(UnitPlanTest, EachStepCallsItsSlotWithItsArguments) {
  RecordingUnit* unit = Unit();
  for (const RouteCase& route : kRoutes) {
    SCOPED_TRACE(route.kind);
    std::unique_ptr<LumoObject, tObjectDestroyer> made(CreateObject(route.kind, nullptr));
    auto* step = dynamic_cast<PsychicPlanItem*>(made.get());
    ASSERT_NE(step, nullptr);
    step->Param1 = 11;
    step->Param2 = 22;
    step->Motivation = 0.5f;
    step->Fast = true;
    unit->calls.clear();
    EXPECT_EQ(step->Execute(unit), route.answer);
    EXPECT_EQ(unit->calls, route.call[0] == '\0' ? std::vector<std::string>{} : std::vector<std::string>{route.call});
  }
}

TEST_F(UnitPlanTest, ASpawnedUnitInsideAContainerWalksOut) {
  RecordingUnit* unit = Unit();
  auto* container = Put<Container>(9, 10, 10);
  container->Enter(unit);
  ASSERT_EQ(unit->GetContainer(), container);
  PsychicPlanSpawn spawn(0, 0, 0.25f, false);
  EXPECT_EQ(spawn.Execute(unit), 7);
  EXPECT_EQ(unit->calls, std::vector<std::string>{"DoLeave(0.25,9,0)"});
}

TEST_F(UnitPlanTest, ChantGoesOnUntilItsPeriodIsZero) {
  RecordingUnit* unit = Unit();
  PsychicPlanChant chant(0, 0, 0.5f, false);
  ASSERT_EQ(chant.Period, -1);
  EXPECT_EQ(chant.Execute(unit), 7);
  chant.Period = 0;
  EXPECT_EQ(chant.Execute(unit), 32);
  EXPECT_EQ(unit->calls, std::vector<std::string>{"DoChant(0.5)"});
}

// The copy carried out falls, then lies, counting down the plan's own step.
TEST_F(UnitPlanTest, OutCountsDownThePlansOwnStep) {
  RecordingUnit* unit = Unit();
  auto* out = MakeStep<PsychicPlanOut>(0, 0);
  out->Period = 2;
  unit->Plan.AddChild(out);
  Step copy(out->Clone());
  const auto& running = dynamic_cast<const PsychicPlanOut&>(*copy);

  EXPECT_EQ(copy->Execute(unit), YLUnit::kMoveFall);
  EXPECT_EQ(out->Period, 2);
  unit->StartMove(unit->GetMoveInfo(YLUnit::kMoveFall));
  EXPECT_EQ(copy->Execute(unit), YLUnit::kMoveOut);
  unit->StartMove(unit->GetMoveInfo(YLUnit::kMoveOut));
  EXPECT_EQ(copy->Execute(unit), YLUnit::kMoveOut);
  EXPECT_EQ(out->Period, 0);
  EXPECT_EQ(running.Period, 2);
  dynamic_cast<PsychicPlanOut&>(*copy).Period = -1;
  EXPECT_EQ(copy->Execute(unit), 32);
}

TEST_F(UnitPlanTest, ABurgleStepOfAUnitThatIsNoRatIsDroppedAtItsFirstRun) {
  RecordingUnit* unit = Unit();
  unit->ExecutePlan(MakeStep<PsychicPlanBurgle>(99, 0));
  ASSERT_NE(unit->GetCurrentMove(), nullptr);
  EXPECT_EQ(PlanActions(*unit), std::vector<int32_t>{OrderKind::kBurgle});
  EXPECT_EQ(unit->Move(), 0);
  EXPECT_EQ(unit->GetCurrentMove(), nullptr);
  EXPECT_EQ(unit->Plan.child, nullptr);
  EXPECT_EQ(speech.said, (std::vector<Said>{{1, 5, 3, OrderKind::kBurgle}, {1, 5, 2, OrderKind::kBurgle}}));
}

// ---- Orders ----

TEST_F(UnitPlanTest, AnOrderReplacesThePlanAndIsAnnounced) {
  RecordingUnit* unit = Unit();
  auto* container = Put<Container>(9, 10, 10);
  container->Enter(unit);
  unit->Plan.AddChild(MakeStep<PsychicPlanHold>(1, 2));
  unit->Alreadythere = 1;
  unit->GetUnitInfo()->Loyalty = 0.8f;

  unit->ExecutePlan(MakeStep<PsychicPlanLeave>(0, 0, 0.0f));
  EXPECT_EQ(PlanActions(*unit), std::vector<int32_t>{OrderKind::kLeave});
  const PsychicPlanItem* step = unit->Plan.child;
  EXPECT_EQ(step->Param1, 9);  // a Leave without container takes the unit's
  EXPECT_EQ(step->Motivation, 0.8f);
  EXPECT_EQ(unit->Alreadythere, 0);
  ASSERT_NE(unit->GetCurrentMove(), nullptr);
  EXPECT_NE(unit->GetCurrentMove(), step);
  EXPECT_TRUE(unit->GetCurrentMove()->Equals(*step));
  EXPECT_EQ(unit->Info->Status & YLUnit::kStatusPlanReplaced, 0u);
  EXPECT_EQ(speech.said, (std::vector<Said>{{1, 5, 3, OrderKind::kLeave}}));

  // An order the base unit cannot plan is refused and dropped.
  speech.said.clear();
  unit->ExecutePlan(MakeStep<PsychicPlanAttack>(3, 0));
  EXPECT_EQ(unit->Plan.child, nullptr);
  EXPECT_EQ(speech.said, (std::vector<Said>{{1, 5, 4, OrderKind::kAttack}, {1, 5, 2, OrderKind::kAttack}}));

  // A spawn is announced as such and not planned.
  speech.said.clear();
  unit->ExecutePlan(MakeStep<PsychicPlanSpawn>(0, 0));
  EXPECT_EQ(PlanActions(*unit), std::vector<int32_t>{OrderKind::kSpawn});
  EXPECT_EQ(speech.said, (std::vector<Said>{{1, 5, 1, 0}}));
}

TEST_F(UnitPlanTest, AnOrderStopsTheAmbientMoveFirst) {
  RecordingUnit* unit = Unit();
  unit->StartMove(unit->GetMoveInfo(YLUnit::kMoveAmbient));
  listener.actions.clear();
  unit->ExecutePlan(MakeStep<PsychicPlanHold>(0, 0));
  ASSERT_EQ(listener.actions.size(), 1u);
  EXPECT_EQ(listener.actions[0].code, YLUnit::kMoveRest);
  EXPECT_EQ(unit->Busy, unit->GetMoveInfo(YLUnit::kMoveRest)->GetMoveTime(unit->Info->Gfx, unit->Info->Ori));
}

TEST_F(UnitPlanTest, AReachedTopLevelStepIsAnnouncedAndANestedOneIsNot) {
  RecordingUnit* unit = Unit();
  auto* outer = MakeStep<PsychicPlanLeave>(4, 0);
  outer->Expandable = false;
  auto* waypoint = MakeStep<PsychicPlanGoto>(6, 6);
  waypoint->Expandable = false;
  outer->AddChild(waypoint);
  unit->Plan.AddChild(outer);
  unit->OfferStep(waypoint->Clone());
  unit->answer = 32;

  EXPECT_EQ(unit->Move(), 0);
  EXPECT_TRUE(speech.said.empty());
  EXPECT_EQ(unit->GetCurrentMove(), nullptr);
  EXPECT_EQ(unit->GetPlanLeaf(), outer);

  unit->OfferStep(outer->Clone());
  unit->Alreadythere = 1;
  EXPECT_EQ(unit->Move(), 0);
  EXPECT_EQ(unit->Alreadythere, 0);
  EXPECT_EQ(unit->Plan.child, nullptr);
  EXPECT_EQ(speech.said, (std::vector<Said>{{1, 5, 2, OrderKind::kLeave}}));
}

TEST_F(UnitPlanTest, PlanReachedOfAStepThatIsNotInnermostChangesNothing) {
  RecordingUnit* unit = Unit();
  auto* outer = MakeStep<PsychicPlanLeave>(4, 0);
  outer->AddChild(MakeStep<PsychicPlanGoto>(6, 6));
  unit->Plan.AddChild(outer);
  unit->Plan.AddChild(MakeStep<PsychicPlanHold>(1, 1));
  unit->OfferStep(MakeStep<PsychicPlanLeave>(4, 0));

  PsychicPlanLeave sameAsOuter(4, 0, 0.1f, false);
  PsychicPlanHold sameAsQueued(1, 1, 0.1f, false);
  unit->PlanReached(&sameAsOuter);
  unit->PlanReached(&sameAsQueued);
  EXPECT_EQ(PlanActions(*unit), (std::vector<int32_t>{OrderKind::kLeave, OrderKind::kHold}));
  EXPECT_EQ(unit->GetPlanLeaf()->Action, OrderKind::kGoto);
  EXPECT_NE(unit->GetCurrentMove(), nullptr);
  EXPECT_TRUE(speech.said.empty());
}

// Orders an arrested unit (but Jailed), a unit running away, or one that is
// down or off the map does not take are deleted: the sanitizer build reports
// any that is kept by nobody.
TEST_F(UnitPlanTest, IgnoredOrdersAreDeleted) {
  RecordingUnit* unit = Unit();
  unit->Info->Status |= YLUnit::kStatusArrested;
  unit->ExecutePlan(MakeStep<PsychicPlanGoto>(1, 1));
  EXPECT_EQ(unit->Plan.child, nullptr);
  unit->InsertPlanItem(MakeStep<PsychicPlanHold>(1, 1));
  EXPECT_EQ(unit->Plan.child, nullptr);
  EXPECT_TRUE(speech.said.empty());
  unit->ExecutePlan(MakeStep<PsychicPlanJailed>(3, 0));
  EXPECT_EQ(PlanActions(*unit), std::vector<int32_t>{OrderKind::kJailed});
  EXPECT_EQ(speech.said, (std::vector<Said>{{1, 5, 3, OrderKind::kJailed}}));

  RecordingUnit* down = Unit(6);
  down->Info->Status &= ~StatusUpright;
  down->ExecutePlan(MakeStep<PsychicPlanHold>(1, 1));
  EXPECT_EQ(down->Plan.child, nullptr);

  RecordingUnit* off = Unit(7);
  off->Info->Status |= YLUnit::kStatusSwitchedOff;
  off->InsertPlanItem(MakeStep<PsychicPlanHold>(1, 1));
  off->ExecutePlan(MakeStep<PsychicPlanHold>(1, 1));
  EXPECT_EQ(off->Plan.child, nullptr);

  // A unit lying knocked out takes an order as an inserted step, unless it
  // is arrested.
  RecordingUnit* out = Unit(8);
  out->Plan.AddChild(MakeStep<PsychicPlanOut>(0, 0));
  out->Info->Status |= YLUnit::kStatusArrested;
  out->ExecutePlan(MakeStep<PsychicPlanHold>(1, 1));
  EXPECT_EQ(out->Plan.child, nullptr);
  out->Info->Status &= ~YLUnit::kStatusArrested;
  out->Plan.AddChild(MakeStep<PsychicPlanOut>(0, 0));
  out->ExecutePlan(MakeStep<PsychicPlanHold>(1, 1));
  EXPECT_EQ(PlanActions(*out), std::vector<int32_t>{OrderKind::kHold});
}

TEST_F(UnitPlanTest, AnArrestOrderArrestsTheUnit) {
  RecordingUnit* unit = Unit();
  unit->Plan.AddChild(MakeStep<PsychicPlanHold>(1, 1));
  unit->GetUnitInfo()->Anger = 0.5f;
  unit->ExecutePlan(MakeStep<PsychicPlanArrest>(12, 0));
  EXPECT_EQ(PlanActions(*unit), std::vector<int32_t>{OrderKind::kArrested});
  EXPECT_NE(unit->Info->Status & YLUnit::kStatusArrested, 0u);
  EXPECT_NE(unit->Info->Status & YLUnit::kStatusPlanReplaced, 0u);
  EXPECT_EQ(unit->GetUnitInfo()->Anger, 0.0f);
  EXPECT_EQ(unit->GetUnitInfo()->Carefulness, 1.0f);
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamArrests), 1);
  EXPECT_EQ(logic.GetPlayer(CLogic::kPolicePlayer)->GetParam(ParamArrests), 1);
}

// Running away: the unit is cleared of its mood, runs to the way out and
// takes no other order until the step ends.
TEST_F(UnitPlanTest, RunAwayMarksItsParametersAndIgnoresLaterOrders) {
  struct Case {
    int32_t x, y, markedX, markedY;
  };
  const Case cases[] = {{0, 15, -1, 15}, {12, 0, 12, -1}, {12, 15, 13, 16}};
  int32_t id = 5;
  for (const Case& test : cases) {
    SCOPED_TRACE(test.x * 100 + test.y);
    RecordingUnit* unit = Unit(id++);
    unit->GetUnitInfo()->Fear = 0.2f;
    unit->GetUnitInfo()->Stamina = 0.1f;
    unit->ExecutePlan(MakeStep<PsychicPlanRunAway>(test.x, test.y, 2.0f, true));
    const PsychicPlanItem* step = unit->Plan.child;
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->Action, OrderKind::kRunAway);
    EXPECT_EQ(step->Param1, test.markedX);
    EXPECT_EQ(step->Param2, test.markedY);
    EXPECT_FALSE(step->Expandable);
    ASSERT_NE(step->child, nullptr);
    EXPECT_EQ(step->child->Action, OrderKind::kGoto);
    EXPECT_EQ(step->child->Param1, test.x);
    EXPECT_EQ(step->child->Param2, test.y);
    EXPECT_EQ(step->child->Motivation, 2.0f);
    EXPECT_TRUE(step->child->Fast);
    EXPECT_EQ(unit->GetUnitInfo()->Fear, 1.0f);
    EXPECT_EQ(unit->GetUnitInfo()->Stamina, 1.0f);

    unit->ExecutePlan(MakeStep<PsychicPlanHold>(1, 1));
    unit->ExecutePlan(MakeStep<PsychicPlanRunAway>(3, 3));
    EXPECT_EQ(PlanActions(*unit), std::vector<int32_t>{OrderKind::kRunAway});
  }
}

struct OfferCase {
  float current;  // negative: no current step
  float offered;
  bool taken;
};

TEST_F(UnitPlanTest, AnOfferedStepNeedsAtLeastTheCurrentMotivation) {
  const OfferCase cases[] = {
      {-1.0f, 0.0f, true}, {0.5f, 0.5f, true}, {0.5f, 0.6f, true}, {0.5f, 0.4f, false}, {-1.0f, -0.1f, false},
  };
  int32_t id = 5;
  for (const OfferCase& test : cases) {
    SCOPED_TRACE(test.current * 10 + test.offered);
    RecordingUnit* unit = Unit(id, 1, id, 5);
    ++id;
    unit->ClearMove();
    if (test.current >= 0.0f) {
      unit->OfferStep(MakeStep<PsychicPlanHold>(1, 1, test.current));
    }
    unit->DestinationX = 3;
    unit->DestinationY = 4;
    // The unit owns the offered copy either way (the sanitizer build sees
    // a refused one leak otherwise).
    EXPECT_EQ(unit->OfferStep(MakeStep<PsychicPlanGoto>(2, 2, test.offered)), test.taken);
    if (test.taken) {
      EXPECT_EQ(unit->GetCurrentMove()->Action, OrderKind::kGoto);
      EXPECT_EQ(unit->DestinationX, 0);
      EXPECT_EQ(unit->DestinationY, 0);
    } else {
      EXPECT_EQ(unit->DestinationX, 3);
      if (test.current >= 0.0f) {
        EXPECT_EQ(unit->GetCurrentMove()->Action, OrderKind::kHold);
      }
    }
  }
}

TEST_F(UnitPlanTest, InsertedStepsTakeTheLoyaltyAndArePlannedWhenInnermost) {
  RecordingUnit* unit = Unit();
  unit->GetUnitInfo()->Loyalty = 0.6f;
  auto* leave = MakeStep<PsychicPlanLeave>(0, 0, 0.1f);
  unit->InsertPlanItem(leave);
  EXPECT_EQ(leave->Motivation, 0.6f);
  unit->Frustration = 0.5f;
  unit->InsertPlanItem(MakeStep<PsychicPlanHold>(0, 0, 0.1f));
  EXPECT_EQ(unit->Frustration, 0.5f);  // not innermost: not planned
  unit->PushPlanItem(MakeStep<PsychicPlanAmbient>(0, 0));
  EXPECT_EQ(unit->Frustration, 0.0f);
  EXPECT_EQ(PlanActions(*unit), (std::vector<int32_t>{OrderKind::kAmbient, OrderKind::kLeave, OrderKind::kHold}));
  unit->ClearPlan();
  EXPECT_EQ(unit->Plan.child, nullptr);
  EXPECT_NE(unit->Info->Status & YLUnit::kStatusPlanReplaced, 0u);
}

// ---- Planning a path ----

TEST_F(UnitPlanTest, AGotoGetsOneWaypointPerPathNodeAfterTheFirst) {
  path_testing::DrawnMap drawn = path_testing::DrawMap({"ABC", ".D."}, 10);
  Map().SetStratMap(drawn.knowledge.release());
  RecordingUnit* unit = Unit(5, 1, 5, 5);
  unit->ExecutePlan(MakeStep<PsychicPlanGoto>(15, 15, 0.75f, true));
  const PsychicPlanItem* step = unit->Plan.child;
  ASSERT_NE(step, nullptr);
  EXPECT_FALSE(step->Expandable);

  // The route as the path finder gives it again (from its cache).
  const YLPathPlanNode* route = Map().GetPathFinder().FindPath(5, 5, 15, 15);
  ASSERT_NE(route, nullptr);
  std::vector<std::pair<int32_t, int32_t>> expected;
  for (const YLPathPlanNode* node = route->next.get(); node != nullptr; node = node->next.get()) {
    expected.emplace_back(node->x, node->y);
  }
  ASSERT_GE(expected.size(), 2u);
  EXPECT_EQ(expected.back(), std::make_pair(15, 15));
  std::vector<std::pair<int32_t, int32_t>> waypoints;
  for (const PsychicPlanItem* child = step->child; child != nullptr; child = child->queue) {
    EXPECT_STREQ(child->GetClassName(), "PsychicPlanGoto");
    EXPECT_FALSE(child->Expandable);
    EXPECT_EQ(child->Motivation, 0.75f);
    EXPECT_TRUE(child->Fast);
    EXPECT_EQ(child->parent, step);
    waypoints.emplace_back(child->Param1, child->Param2);
  }
  EXPECT_EQ(waypoints, expected);
  EXPECT_EQ(speech.said, (std::vector<Said>{{1, 5, 3, OrderKind::kGoto}}));
}

TEST_F(UnitPlanTest, AnUnreachableGoalDropsTheOrder) {
  path_testing::DrawnMap drawn = path_testing::DrawMap({"A.B"}, 10);
  Map().SetStratMap(drawn.knowledge.release());
  RecordingUnit* unit = Unit(5, 1, 5, 5);
  auto* going = MakeStep<PsychicPlanGoto>(25, 5);
  unit->Plan.AddChild(going);
  EXPECT_FALSE(unit->MakePlan());
  EXPECT_TRUE(going->Expandable);
  EXPECT_EQ(going->child, nullptr);
  unit->ClearPlan();

  unit->ExecutePlan(MakeStep<PsychicPlanGoto>(25, 5));
  EXPECT_EQ(unit->Plan.child, nullptr);
  EXPECT_EQ(unit->GetCurrentMove(), nullptr);
  ASSERT_FALSE(speech.said.empty());
  EXPECT_EQ(speech.said[0], (Said{1, 5, 4, OrderKind::kGoto}));
}

// ---- The base unit's own actions ----

TEST_F(UnitPlanTest, ShoppingAddsTenToFiftyFiveToTheBuildingsGrade) {
  RecordingUnit* unit = Unit();
  auto* shop = Put<Container>(9, 10, 10);
  shop->Info.reset(new BuildingInfo);
  shop->Info->Tid = 9;
  shop->SetInfoGrade(100);
  EXPECT_EQ(shop->GetInfoGrade(), 100);

  // Outside the building nothing is drawn.
  SetRandomSeed(77);
  EXPECT_EQ(unit->YLUnit::DoShop(9), 32);
  EXPECT_EQ(GetRandomSeed(), 77u);
  EXPECT_EQ(shop->GetInfoGrade(), 100);

  shop->Enter(unit);
  for (uint32_t seed : {1u, 77u, 4242u, 16777000u}) {
    SetRandomSeed(seed);
    const int32_t expected = RandomSigned(45) + 10;
    SetRandomSeed(seed);
    const int32_t before = shop->GetInfoGrade();
    EXPECT_EQ(unit->YLUnit::DoShop(9), 32);
    const int32_t added = shop->GetInfoGrade() - before;
    EXPECT_EQ(added, expected);
    EXPECT_GE(added, 10);
    EXPECT_LE(added, 55);
  }
  // A stored grade at the top of the range wraps as a 32-bit value does
  // (the sanitizer build halts on a signed overflow).
  shop->SetInfoGrade(INT32_MAX);
  SetRandomSeed(1);
  const int32_t expected = RandomSigned(45) + 10;
  SetRandomSeed(1);
  EXPECT_EQ(unit->YLUnit::DoShop(9), 32);
  EXPECT_EQ(shop->GetInfoGrade(), INT32_MIN + expected - 1);
  // A thing without a building's record has no grade.
  EXPECT_EQ(unit->GetInfoGrade(), 0);
}

TEST_F(UnitPlanTest, RunningAwayTurnsTowardTheWayOutAndLeavesThere) {
  RecordingUnit* unit = Unit(5, 1, 5, 5);
  unit->Info->Ori = 0;
  EXPECT_EQ(unit->YLUnit::DoRunAway(5, 0), YLUnit::kMoveRun);
  EXPECT_EQ(unit->YLUnit::DoRunAway(9, 5), YLUnit::kMoveTurnClockwiseAgain);
  EXPECT_EQ(unit->YLUnit::DoRunAway(0, 5), YLUnit::kMoveTurnCounterClockwiseAgain);
  EXPECT_EQ(unit->YLUnit::DoRunAway(5, 9), YLUnit::kMoveTurnClockwiseAgain);  // behind: +4

  logic.ThingCount = 1;
  unit->GetUnitInfo()->Stamina = 0.7f;
  EXPECT_EQ(unit->YLUnit::DoRunAway(5, 5), YLUnit::kMoveOut);
  EXPECT_EQ(unit->Info->Hp, 0.0f);
  EXPECT_EQ(unit->Info->Status & StatusAlive, 0u);
  EXPECT_EQ(unit->GetUnitInfo()->Stamina, 0.0f);
  EXPECT_EQ(logic.ThingCount, 0);
  EXPECT_FALSE(Map().IsListed(unit));
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamUnitsLost), 1);
  EXPECT_EQ(logic.GetPlayer(1)->GetParam(ParamTeamKills), 1);

  // A civilian's owner names no player: nothing is counted.
  RecordingUnit* civilian = Unit(6, 0, 7, 7);
  EXPECT_EQ(civilian->YLUnit::DoRunAway(7, 7), YLUnit::kMoveOut);
}

// Idling: each run adds a draw times 0.1 plus 0.05 to the frustration; below
// 0.2 the unit rests, below 0.3 it plays its ambient move, below 0.5 it
// rests again, and from 0.5 on it is done.
TEST_F(UnitPlanTest, IdleThresholds) {
  SetRandomSeed(31337);
  const float added = static_cast<float>(RandomFloat()) * 0.1f + 0.05f;
  struct Case {
    float reached;
    int32_t answer;
  };
  const Case cases[] = {{0.199f, 0}, {0.201f, 1}, {0.299f, 1}, {0.301f, 0}, {0.499f, 0}, {0.501f, 32}};
  RecordingUnit* unit = Unit();
  for (const Case& test : cases) {
    SCOPED_TRACE(test.reached);
    unit->Frustration = test.reached - added;
    SetRandomSeed(31337);
    EXPECT_EQ(unit->YLUnit::DoIdle(), test.answer);
    EXPECT_EQ(unit->Frustration, test.answer == 32 ? 0.0f : unit->Frustration);
  }
}

TEST_F(UnitPlanTest, FleeingFightsBackWithinThreeCellsAndRunsFromFarther) {
  RecordingUnit* unit = Unit(5, 1, 5, 5);
  Put<TestUnit>(6, 8, 5);
  Put<TestUnit>(7, 9, 5);
  EXPECT_EQ(unit->YLUnit::DoFlee(0.5f, 6, true), 7);
  EXPECT_EQ(unit->YLUnit::DoFlee(0.5f, 7, false), 7);
  EXPECT_EQ(unit->YLUnit::DoFlee(0.5f, YLUnit::kDirectionCodes + 2, true), 7);
  EXPECT_EQ(unit->YLUnit::DoFlee(0.5f, 99, true), 32);  // no such thing
  EXPECT_EQ(unit->calls, (std::vector<std::string>{"StandGround(0.5,6,1)", "FleeFrom(0.5,7,0)",
                                                    "StandGround(0.5,65522,1)"}));
}

TEST_F(UnitPlanTest, ALedAwayUnitFollowsItsPolicemanWhileHeHoldsIt) {
  RecordingUnit* unit = Unit(5, 1, 5, 5);
  unit->Info->Status |= YLUnit::kStatusArrested;
  auto* police = Put<PoliceUnit>(6, 9, 5);
  auto* civilian = Put<TestUnit>(7, 6, 6);
  civilian->Info->Status |= YLUnit::kStatusArrested;

  // A thing that is no policeman, or one that holds nobody, lets go.
  EXPECT_EQ(unit->YLUnit::DoLedAway(0.5f, 7, true), 32);
  EXPECT_EQ(unit->Info->Status & YLUnit::kStatusArrested, 0u);
  unit->Info->Status |= YLUnit::kStatusArrested;
  EXPECT_EQ(unit->YLUnit::DoLedAway(0.5f, 6, true), 32);
  EXPECT_EQ(unit->Info->Status & YLUnit::kStatusArrested, 0u);

  police->Info->Status |= YLUnit::kStatusArrested;
  EXPECT_EQ(unit->YLUnit::DoLedAway(0.5f, 6, true), 7);
  MoveTo(police, 6, 5);
  EXPECT_EQ(unit->YLUnit::DoLedAway(0.5f, 6, false), 0);
  EXPECT_EQ(unit->calls, std::vector<std::string>{"DoGotoThing(0.5,6,1)"});

  // Jailed anywhere but a police container lets the unit go.
  unit->Info->Status |= YLUnit::kStatusArrested;
  EXPECT_EQ(unit->YLUnit::DoJailed(0.5f, 6, true), 32);
  EXPECT_EQ(unit->Info->Status & YLUnit::kStatusArrested, 0u);
}

TEST_F(UnitPlanTest, TheAmbientMoveRunsTheUnitsAmbientSlot) {
  RecordingUnit* unit = Unit();
  EXPECT_TRUE(unit->GetMoveInfo(YLUnit::kMoveAmbient)->Perform(unit, &logic));
  EXPECT_EQ(unit->calls, std::vector<std::string>{"DoAmbient()"});
}

// ---- The winners ----

// Every unit of the winner gets a chant step of its own; the sanitizer build
// sees a step shared by two units freed twice.
TEST_F(UnitPlanTest, EachUnitOfAWinnerHoldsItsOwnChantStep) {
  std::vector<RecordingUnit*> winners = {Unit(5, 1, 2, 2), Unit(6, 1, 4, 4), Unit(8, 1, 6, 6)};
  RecordingUnit* loser = Unit(7, 2, 8, 8);
  for (RecordingUnit* unit : winners) {
    unit->acceptChant = true;
  }
  loser->acceptChant = true;
  CelebrateWin(logic, 1);
  std::vector<const PsychicPlanItem*> seen;
  for (RecordingUnit* unit : winners) {
    const PsychicPlanItem* step = unit->Plan.child;
    ASSERT_NE(step, nullptr);
    EXPECT_STREQ(step->GetClassName(), "PsychicPlanChant");
    EXPECT_EQ(step->Action, OrderKind::kChant);
    EXPECT_EQ(step->Motivation, 2.0f);
    EXPECT_TRUE(step->Fast);
    EXPECT_EQ(step->queue, nullptr);
    ASSERT_NE(unit->GetCurrentMove(), nullptr);
    EXPECT_EQ(unit->GetCurrentMove()->Action, OrderKind::kChant);
    for (const PsychicPlanItem* other : seen) {
      EXPECT_NE(step, other);
      EXPECT_NE(unit->GetCurrentMove(), other);
    }
    seen.push_back(step);
    seen.push_back(unit->GetCurrentMove());
  }
  EXPECT_EQ(loser->Plan.child, nullptr);
  EXPECT_EQ(speech.said.size(), winners.size());
}

// ---- Debug text ----

TEST_F(UnitPlanTest, DebugTextShowsTheCurrentStepAndThePlan) {
  RecordingUnit* unit = Unit();
  tString text;
  unit->GetDebugText(text);
  EXPECT_STREQ(text.text, "===NO MOVE?===\n");

  auto* outer = MakeStep<PsychicPlanLeave>(4, 0, 0.5f);
  outer->AddChild(MakeStep<PsychicPlanGoto>(6, 7, 0.25f));
  auto* odd = MakeStep<PsychicPlanHold>(1, 2, 1.0f);
  odd->Action = 77;  // a loaded plan may hold any action
  outer->child->InsertAfter(odd);
  unit->Plan.AddChild(outer);
  unit->OfferStep(MakeStep<PsychicPlanGoto>(6, 7, 0.25f));
  unit->GetDebugText(text);
  EXPECT_STREQ(text.text,
               "-current->goto mot=0.250000, p1=6,p2=7\n"
               "-plan->goto mot=0.250000, p1=6,p2=7\n"
               "-plan-> mot=1.000000, p1=1,p2=2\n");
}

// ---- Geometry ----

TEST(UnitGeometryTest, GetDirection) {
  struct Case {
    int32_t x2, y2, facing, direction;
  };
  const Case cases[] = {
      {1, -1, 0, 1}, {2, -1, 0, 2}, {2, 1, 0, 3}, {0, 0, 0, 4}, {0, -5, 0, 0},  {-5, 0, 0, -2},
      {-3, -3, 0, -1}, {0, 5, 0, 4}, {0, -5, 7, 1}, {-5, 0, 1, -3}, {0, 5, 1, 3}, {0, 5, 7, -3},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(std::to_string(test.x2) + "," + std::to_string(test.y2) + " facing " + std::to_string(test.facing));
    EXPECT_EQ(YLUnit::GetDirection(0, 0, test.facing, test.x2, test.y2), test.direction);
  }
  EXPECT_EQ(YLUnit::IntDistance(0, 0, 3, 4), 5);
  EXPECT_EQ(YLUnit::IntDistance(0, 0, 2, 2), 2);
}

// Gives the thing exactly these footprint cells in every orientation.
void SetFootprint(YLThing* thing, const std::vector<std::pair<int32_t, int32_t>>& points) {
  thing->Info->Ground.reset(new GroundMap);
  for (int32_t ori = 0; ori < GroundMap::kOrientations; ++ori) {
    thing->Info->Ground->RemovePoint(ori, 0, 0);
    for (const auto& point : points) {
      thing->Info->Ground->AddPoint(ori, point.first, point.second);
    }
  }
}

TEST_F(UnitPlanTest, NearestPointOfAFootprint) {
  auto* thing = Add<TestUnit>(9, 0, 10, 10);
  thing->Info->Ori = 2;
  int32_t x = 0;
  int32_t y = 0;
  // No footprint: the thing's position.
  YLUnit::GetNearestPoint(thing, 0, 0, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(10, 10));

  // Three cells in a row beside the point: their middle.
  SetFootprint(thing, {{1, -1}, {1, 0}, {1, 1}, {4, 0}});
  SetRandomSeed(5);
  YLUnit::GetNearestPoint(thing, 10, 10, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(11, 10));
  EXPECT_EQ(GetRandomSeed(), 5u);

  // One nearest cell is still drawn for.
  SetFootprint(thing, {{0, 0}, {3, 0}});
  SetRandomSeed(5);
  YLUnit::GetNearestPoint(thing, 14, 10, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(13, 10));
  SetRandomSeed(5);
  RandomNext();
  const uint32_t afterOneDraw = GetRandomSeed();
  SetRandomSeed(5);
  YLUnit::GetNearestPoint(thing, 14, 10, x, y);
  EXPECT_EQ(GetRandomSeed(), afterOneDraw);

  // A stored position at the edge of the range: the cells wrap as 32-bit
  // values do (the sanitizer build halts on a signed overflow).
  thing->Info->X = INT32_MAX;
  SetFootprint(thing, {{1, 0}});
  YLUnit::GetNearestPoint(thing, INT32_MIN, 10, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(INT32_MIN, 10));
  thing->Info->X = 10;

  // Two equally near: one of them, by the draw.
  SetFootprint(thing, {{-1, 0}, {1, 0}});
  for (uint32_t seed : {3u, 4u, 5u, 6u}) {
    SetRandomSeed(seed);
    const int32_t chosen = RandomSigned(1);
    SetRandomSeed(seed);
    YLUnit::GetNearestPoint(thing, 10, 5, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(chosen == 0 ? 9 : 11, 10));
  }

  // Nothing nearer than 15: the position, without a draw.
  SetRandomSeed(5);
  YLUnit::GetNearestPoint(thing, 40, 40, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(10, 10));
  EXPECT_EQ(GetRandomSeed(), 5u);
}

// ---- The unit move table ----

TEST_F(UnitPlanTest, TheUnitMoveTableHoldsEveryCodeAndIsRefilledInPlace) {
  struct Case {
    int32_t number;
    const char* name;
    int32_t code;
  };
  const Case named[] = {{0, "MoveRest", 0},   {3, "MoveRunLeft", 3}, {4, "MoveRunRight", 4},
                        {15, "MoveFall", 15}, {17, "MoveDope", 17},  {18, "MoveOut", 18},
                        {20, "MoveHurt", 20}, {26, "MoveBerserk", 26}, {28, "MoveHijack", 28},
                        {31, "MoveJoinRave", 2}};
  std::vector<const MoveInfo*> before;
  for (int32_t number = 0; number < YLUnit::kUnitMoveCount; ++number) {
    ASSERT_NE(YLUnit::GetUnitMoveTable()->At(number), nullptr) << number;
    before.push_back(dynamic_cast<const MoveInfo*>(YLUnit::GetUnitMoveTable()->At(number)));
  }
  RecordingUnit* unit = Unit();
  EXPECT_EQ(unit->GetMoveInfo(YLUnit::kUnitMoveCount), nullptr);
  for (const Case& test : named) {
    const MoveInfo* move = unit->GetMoveInfo(test.number);
    ASSERT_NE(move, nullptr);
    EXPECT_STREQ(move->name.text, test.name);
    EXPECT_EQ(move->code, test.code);
  }
  EXPECT_EQ(unit->GetMoveInfo(7)->code, 5);
  EXPECT_EQ(unit->GetMoveInfo(8)->code, 6);
  EXPECT_EQ(unit->GetMoveInfo(15)->GetMoveTime(0, 0), 8);
  EXPECT_EQ(unit->GetMoveInfo(15)->GetMoveTime(10, 0), 11);
  EXPECT_EQ(unit->GetMoveInfo(17)->GetMoveTime(11, 0), 26);
  EXPECT_EQ(unit->GetMoveInfo(20)->GetMoveTime(8, 0), 1);
  EXPECT_EQ(unit->GetMoveInfo(31)->GetMoveTime(2, 0), 8);
  EXPECT_EQ(unit->GetMoveInfo(31)->GetMoveTime(2, 1), 10);
  EXPECT_EQ(unit->GetMoveInfo(31)->stamina, -0.005f);

  // A move started from entry 7 is stored as entry 7.
  unit->StartMove(unit->GetMoveInfo(7));
  EXPECT_EQ(unit->Info->MoveNumber, 7);

  YLUnit::InitMoveTable();
  for (int32_t number = 0; number < YLUnit::kUnitMoveCount; ++number) {
    EXPECT_EQ(YLUnit::GetUnitMoveTable()->At(number), before[static_cast<size_t>(number)]) << number;
  }
  EXPECT_STREQ(unit->GetMoveInfo(31)->name.text, "MoveJoinRave");
}

TEST_F(UnitPlanTest, TakingTheUnitOffEmptiesItsFeelings) {
  RecordingUnit* unit = Unit();
  logic.ThingCount = 1;
  UnitInfo& info = *unit->GetUnitInfo();
  info.Beer = 0.5f;
  info.Fear = 0.5f;
  info.Ammo = 3;
  unit->Destroy();
  EXPECT_EQ(info.Beer, 0.0f);
  EXPECT_EQ(info.Fear, 0.0f);
  EXPECT_EQ(info.Cons, 0.0f);
  EXPECT_EQ(info.Loyalty, 0.0f);
  EXPECT_EQ(info.Ammo, 0);
  EXPECT_EQ(info.Hp, 0.0f);
  EXPECT_EQ(info.Status & StatusAlive, 0u);
  EXPECT_EQ(logic.ThingCount, 0);
}

// ---- Failures ----

// A step whose execution fails, and a unit whose planning fails.
class FailingGoto : public PsychicPlanGoto {
 public:
  FailingGoto() : PsychicPlanGoto(1, 2, 0.5f, false) {}
  int32_t Execute(YLUnit*) override { throw std::runtime_error("step"); }
};

class FailingPlanner : public RecordingUnit {
 public:
  bool MakePlan() override { throw std::runtime_error("plan"); }
};

TEST_F(UnitPlanTest, FailuresOfStepsAndPlanningAreLoggedAndTheUnitGoesOn) {
  RecordingUnit* unit = Unit();
  unit->OfferStep(new FailingGoto);
  std::string log = Logged([&] { EXPECT_EQ(unit->Move(), 0); });
  EXPECT_NE(log.find("YLUnit5::Move() exception while executing move goto(1,2)\n"), std::string::npos) << log;

  auto* planner = Put<FailingPlanner>(6, 8, 8);
  planner->Plan.AddChild(MakeStep<PsychicPlanHold>(3, 3));
  PsychicPlanHold reached(3, 3, 0.5f, false);
  log = Logged([&] { planner->PlanReached(&reached); });
  EXPECT_NE(log.find("YLUnit::PlanReached : exception in makeplan\n"), std::string::npos) << log;
  EXPECT_EQ(planner->Plan.child, nullptr);
}

// ---- Per-type tables ----

TEST_F(UnitPlanTest, WeaponsAndPricesComeFromTheTablesOfTheUnitsType) {
  logic.Weapons = std::make_unique<WeaponCatalog>();
  logic.Config = std::make_unique<YLConfig>();
  logic.Config->Init("config.txt");
  RecordingUnit* unit = Unit();
  unit->Info->Gfx = 3 + 13;  // type 3, by the type modulo 13
  unit->SetWeaponGrade(2);
  const YLWeapon* weapon = logic.Weapons->GetUnitWeapon(3, 2);
  ASSERT_NE(weapon, nullptr);
  EXPECT_EQ(unit->GetWeapon(), weapon);
  EXPECT_EQ(unit->GetDamage(), weapon->GetTotalDamage());
  YLWeapon* row[4] = {};
  unit->GetWeaponRow(row);
  for (int32_t level = 0; level < 4; ++level) {
    EXPECT_EQ(row[level], logic.Weapons->GetUnitWeapon(3, level)) << level;
  }
  EXPECT_EQ(unit->GetPrice(), logic.Config->GetUnitCost(3));
  unit->GetUnitInfo()->Anger = 0.5f;
  EXPECT_FLOAT_EQ(unit->GetAngerFactor(), 1.05f);
  unit->CalmDown();
  EXPECT_FLOAT_EQ(unit->GetUnitInfo()->Anger, 0.4f);
  EXPECT_EQ(unit->GetStaminaRate(), 0.8f);
  EXPECT_EQ(unit->GetFrightFactor(), 2.0f);
  EXPECT_EQ(unit->GetNeutralFactor(), 0.0f);
}

}  // namespace
}  // namespace logic_world_testing
