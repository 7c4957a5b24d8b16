// AcceptOrder over a small logic: which packages are applied, ignored or
// refused (a refused or ignored one leaves the saved logic as it was), and
// what the orders do to real units, selections and groups.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "../../navigation/PathMapDrawing.h"
#include "../world/LogicMapFixture.h"
#include "OrderPackageBytes.h"
#include "logic/core/COrder.h"
#include "logic/core/COrderPackage.h"
#include "logic/core/CPlayer.h"
#include "logic/core/OrderBuilders.h"
#include "logic/core/OrderKinds.h"
#include "logic/core/RecordFields.h"
#include "logic/core/UnitInfo.h"
#include "logic/world/PsychicPlanKinds.h"
#include "logic/world/YLTPub.h"
#include "logic/world/YLTShop.h"
#include "logic/world/YLUnitLeader.h"
#include "logic/world/YLUnitSupporter.h"

namespace logic_world_testing {
namespace {

using order_testing::Bytes;
using order_testing::Le;
using order_testing::Package;
using order_testing::PayloadOf;
using order_testing::operator+;

// A package of the kind with these payload bytes.
Package Raw(int16_t kind, const Bytes& payload) {
  Package package(new COrderPackage);
  package->Create(kind, payload.data(), static_cast<int32_t>(payload.size()));
  return package;
}

// Hears selections and unknown orders; throws on a selection when asked to.
class OrderListener : public YLEventListener {
 public:
  void EventSelection(int32_t player, int32_t id, int32_t selected) override {
    if (throwOnSelection) {
      throw std::runtime_error("selection");
    }
    lines.push_back("s" + std::to_string(player) + " " + std::to_string(id) + (selected != 0 ? "+" : "-"));
  }
  void EventUnknownOrder(int32_t length, const void* payload) override {
    unknown.push_back({length, payload});
  }
  std::vector<std::string> Take() {
    std::vector<std::string> taken;
    taken.swap(lines);
    return taken;
  }
  struct Unknown {
    int32_t length;
    const void* payload;
  };
  std::vector<std::string> lines;
  std::vector<Unknown> unknown;
  bool throwOnSelection = false;
};

// Players 1 and 2 and the police; ravers 5, 6 and 7 and leader 10 of player
// 1 (5 and 6 in the leader's group), raver 8 and leader 11 of player 2, a
// plain container at 20, a weapon shop at 21 and a pub at 22; a map whose
// sectors let units plan their ways.
class AcceptOrderTest : public LogicMapTest {
 protected:
  void SetUp() override {
    LogicMapTest::SetUp();
    YLUnit::InitMoveTable();
    drawn = path_testing::DrawMap({"ABC", ".D."}, 10);
    Map().SetStratMap(drawn.knowledge.release());
    logic.Players.reset(new LumoObjects(true));
    logic.Propagators.reset(new LumoObjects(true));
    logic.CreatePlayer(1);
    logic.CreatePlayer(2);
    logic.CreatePlayer(CLogic::kPolicePlayer);
    ASSERT_TRUE(logic.AddListener(&orders));
    for (int32_t id : {5, 6, 7}) {
      Unit<YLUnitRaver>(id, 1);
    }
    Unit<YLUnitRaver>(8, 2);
    auto* leader = Unit<YLUnitLeader>(10, 1);
    ASSERT_TRUE(leader->AddGroupMember(&UnitAt(5)));
    ASSERT_TRUE(leader->AddGroupMember(&UnitAt(6)));
    Unit<YLUnitLeader>(11, 2);
    Put<YLTContainerThing>(20, 12, 2);
    Put<YLTWeaponShop>(21, 14, 3);
    Put<YLTPub>(22, 24, 3);
    orders.Take();
  }

  template <typename T>
  T* Unit(int32_t id, int32_t owner) {
    T* unit = Put<T>(id, 5 + id % 3, 5);
    unit->Info->Owner = owner;
    logic.GetPlayer(owner)->OnThingOwned(true, unit);
    return unit;
  }

  CPlayer& Player(int32_t id) { return *logic.GetPlayer(id); }
  YLUnit& UnitAt(int32_t id) { return *dynamic_cast<YLUnit*>(logic.GetThing(id)); }

  std::vector<int32_t> Selected(int32_t player) { return Ids(Player(player).Selection); }

  void Select(int32_t player, std::initializer_list<int32_t> ids) {
    for (int32_t id : ids) {
      ASSERT_TRUE(Player(player).SelectThing(id)) << id;
    }
    orders.Take();
  }

  bool Accept(COrderPackage* package) {
    Package owned(package);
    return AcceptOrder(owned.get());
  }

  // The plan's top-level steps as "action (p1,p2) fast".
  std::vector<std::string> Steps(int32_t id) {
    std::vector<std::string> steps;
    for (const PsychicPlanItem* step = UnitAt(id).Plan.child; step != nullptr; step = step->queue) {
      steps.push_back(std::to_string(step->Action) + " (" + std::to_string(step->Param1) + "," +
                      std::to_string(step->Param2) + ")" + (step->Fast ? " fast" : ""));
    }
    return steps;
  }

  path_testing::DrawnMap drawn;
  OrderListener orders;
};

// The layout length of each kind that has an order.
int32_t LayoutLength(int32_t kind) {
  switch (kind) {
    case 3:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 14:
    case 15:
    case 17:
    case 20:
    case 21:
    case 24:
    case 25:
    case 28:
    case 48:
    case 49:
    case 53:
    case 60:
      return 10;
    case 4:
      return 7;
    case 5:
    case 19:
    case 22:
    case 27:
    case 50:
    case 52:
    case 54:
    case 55:
    case 59:
      return 14;
    case 36:
    case 37:
    case 38:
    case 43:
    case 45:
    case 46:
      return 12;
    case 39:
    case 40:
    case 42:
    case 44:
      return 8;
    case 41:
      return 16;
    default:
      return 6;
  }
}

// ---- Applied, ignored and refused packages ----

TEST_F(AcceptOrderTest, TheEmptyOrderOfAFrameIsAnUnknownOrderEventWithoutPayload) {
  Select(1, {5});
  const Bytes before = Save(logic);
  EXPECT_TRUE(Accept(Raw(0, {}).release()));
  ASSERT_EQ(orders.unknown.size(), 1u);
  EXPECT_EQ(orders.unknown[0].length, 0);
  EXPECT_EQ(orders.unknown[0].payload, nullptr);
  EXPECT_EQ(Save(logic), before);

  Package chat = Raw(0, {'g', 'o'});
  EXPECT_TRUE(AcceptOrder(chat.get()));
  ASSERT_EQ(orders.unknown.size(), 2u);
  EXPECT_EQ(orders.unknown[1].length, 2);
  EXPECT_EQ(orders.unknown[1].payload, chat->Data.get());
}

// Every package that is ignored or refused leaves the logic as it was: the
// saved bytes do not change, and the answer and the log say which it was.
TEST_F(AcceptOrderTest, IgnoredAndRefusedPackagesChangeNothing) {
  Select(1, {5, 6});
  Select(2, {8});
  struct Case {
    std::string name;
    Package package;
    bool answer;
    std::string logged;
  };
  std::vector<Case> cases;
  const Bytes goto1 = PayloadOf(*Package(GenerateGotoOrder(1, 15, 15, false, false)));
  for (int16_t kind : {61, 62, -1, 2, 6, 12, 13, 16, 29, 35, 47, 56, 58, 32767, -32768}) {
    cases.push_back({"kind " + std::to_string(kind), Raw(kind, goto1), true, "ignored kind " + std::to_string(kind)});
  }
  // Every layout one byte short and one byte long.
  for (int32_t kind = 1; kind <= 60; ++kind) {
    if (CreateOrder(kind) == nullptr) {
      continue;
    }
    const Bytes valid = Bytes{1, 0, 0, 0} + Bytes(static_cast<size_t>(LayoutLength(kind) - 4), 0);
    Bytes shorter(valid.begin(), valid.end() - 1);
    Bytes longer = valid + Bytes{0};
    cases.push_back({"short " + std::to_string(kind), Raw(static_cast<int16_t>(kind), shorter), false,
                     "payload length does not fit"});
    cases.push_back({"long " + std::to_string(kind), Raw(static_cast<int16_t>(kind), longer), false,
                     "payload length does not fit"});
  }
  cases.push_back({"goto of 10 bytes", Raw(5, Bytes(goto1.begin(), goto1.begin() + 10)), false, "does not fit"});
  cases.push_back({"unknown player", Package(GenerateGotoOrder(9, 15, 15, false, false)), false,
                   "player 9: the logic has no such player"});
  cases.push_back({"player 0", Package(GenerateSelectionOrder(0, 5, false, true)), false, "no such player"});
  cases.push_back({"flag A 2", Raw(5, Le({1, 15, 15}) + Bytes{2, 0}), false, "neither 0 nor 1"});
  cases.push_back({"flag B 255", Raw(3, Le({1, 7}) + Bytes{0, 255}), false, "neither 0 nor 1"});
  cases.push_back({"group flag 3", Raw(4, Le({1}) + Bytes{1, 3, 1}), false, "neither 0 nor 1"});
  cases.push_back({"pleasure for another's unit", Package(GenerateBuyPleasureUnitOrder(1, 20, 8)), false,
                   "unit belongs to another player"});
  cases.push_back({"upgrade of another's unit", Package(GenerateUpgradeUnitOrder(1, 20, 8)), false,
                   "unit belongs to another player"});
  cases.push_back({"ammo for another's leader", Package(GenerateBuyAmmoUnitOrder(1, 20, 11)), false,
                   "unit belongs to another player"});
  cases.push_back({"dope for another's leader", Package(GenerateBuyDopeLeaderOrder(1, 20, 11, 5)), false,
                   "leader belongs to another player"});
  cases.push_back({"addtogroup of another's leader", Package(GenerateAddToGroupOrder(1, 11)), false,
                   "leader belongs to another player"});
  Package negative(new COrderPackage);
  negative->Kind = 5;
  negative->Length = -14;
  cases.push_back({"negative length", std::move(negative), false, "length is negative"});
  Package missing(new COrderPackage);
  missing->Kind = 0;
  missing->Length = 4;
  cases.push_back({"missing payload", std::move(missing), false, "payload is missing"});
  cases.push_back({"addtogroup on a unit", Package(GenerateAddToGroupOrder(1, 5)), true, "OrderAddToGroup::Execute(1)"});
  cases.push_back({"addtogroup on nothing", Package(GenerateAddToGroupOrder(1, 4095)), true,
                   "OrderAddToGroup::Execute(1)"});
  cases.push_back({"buy unit at a weapon shop", Package(GenerateBuyOrder(1, 21, 1)), true, ""});
  cases.push_back({"buy unit at a container", Package(GenerateBuyOrder(1, 20, 1)), true, ""});
  cases.push_back({"buy unit at a unit", Package(GenerateBuyOrder(1, 5, 1)), true, ""});
  cases.push_back({"upgrade at a pub", Package(GenerateUpgradeUnitOrder(1, 22, 5)), true, ""});

  const Bytes before = Save(logic);
  for (Case& test : cases) {
    bool answer = !test.answer;
    const std::string log = Logged([&] { answer = AcceptOrder(test.package.get()); });
    EXPECT_EQ(answer, test.answer) << test.name;
    EXPECT_NE(log.find(test.logged), std::string::npos) << test.name << ": " << log;
    EXPECT_EQ(Save(logic), before) << test.name;
  }
  EXPECT_TRUE(orders.Take().empty());
  EXPECT_TRUE(orders.unknown.empty());
  EXPECT_EQ(Selected(1), (std::vector<int32_t>{5, 6}));
}

TEST_F(AcceptOrderTest, WithoutALogicNothingIsAccepted) {
  Package order(GenerateSelectionOrder(1, 5, false, true));
  YLThing::SetLogicContext(nullptr, nullptr);
  const std::string log = Logged([&] { EXPECT_FALSE(AcceptOrder(order.get())); });
  YLThing::SetLogicContext(logic.Map.get(), &logic);
  EXPECT_NE(log.find("there is no logic"), std::string::npos) << log;
  EXPECT_TRUE(Selected(1).empty());
  EXPECT_FALSE(AcceptOrder(nullptr));
}

// ---- Unit orders ----

TEST_F(AcceptOrderTest, AGotoReplacesTheSelectedUnitsOrdersOrQueuesBehindThem) {
  Select(1, {5, 6});
  const std::string log = Logged([&] { EXPECT_TRUE(Accept(GenerateGotoOrder(1, 15, 15, false, false))); });
  EXPECT_NE(log.find("goto::Execute(1)\n"), std::string::npos) << log;
  for (int32_t id : {5, 6}) {
    EXPECT_EQ(Steps(id), std::vector<std::string>{"5 (15,15)"}) << id;
    // Each unit owns a plan step of its own.
    EXPECT_NE(UnitAt(id).Plan.child, nullptr);
  }
  EXPECT_NE(UnitAt(5).Plan.child, UnitAt(6).Plan.child);
  EXPECT_TRUE(Steps(7).empty());
  EXPECT_TRUE(Steps(8).empty());

  EXPECT_TRUE(Accept(GenerateGotoOrder(1, 16, 4, true, true)));
  EXPECT_EQ(Steps(5), (std::vector<std::string>{"5 (15,15)", "5 (16,4) fast"}));
  EXPECT_TRUE(Accept(GenerateGotoOrder(1, 4, 4, false, true)));
  EXPECT_EQ(Steps(6), (std::vector<std::string>{"5 (4,4) fast"}));
  EXPECT_TRUE(Steps(7).empty());
}

TEST_F(AcceptOrderTest, OtherUnitOrdersReachTheSelectedUnitsAsTheirPlanSteps) {
  Select(1, {5});
  EXPECT_TRUE(Accept(GenerateCancelOrder(1, false)));
  EXPECT_EQ(Steps(5), std::vector<std::string>{"1 (0,0)"});
  EXPECT_TRUE(Accept(GenerateHijackOrder(1, 20, true, false)));
  EXPECT_TRUE(Accept(GenerateChantOrder(1, true, true)));
  EXPECT_EQ(Steps(5), (std::vector<std::string>{"1 (0,0)", "25 (20,0)", "18 (0,0) fast"}));
  EXPECT_STREQ(UnitAt(5).Plan.child->queue->GetClassName(), "PsychicPlanEnter");
  EXPECT_STREQ(UnitAt(5).Plan.child->queue->queue->GetClassName(), "PsychicPlanChant");
  EXPECT_TRUE(Accept(GenerateGotoThingOrder(1, 20, false, true)));
  EXPECT_EQ(Steps(5), std::vector<std::string>{"7 (20,0) fast"});
  EXPECT_TRUE(Steps(6).empty());
}

// ---- Selection ----

TEST_F(AcceptOrderTest, SelectionOrdersSelectAddDeselectAndEmpty) {
  struct Step {
    int32_t thing;
    bool add;
    bool select;
    std::vector<int32_t> selected;
    std::vector<std::string> heard;
  };
  const Step steps[] = {
      {6, false, true, {6}, {"s1 6+"}},                     // the thing alone
      {5, true, true, {5, 6}, {"s1 5+"}},                   // added
      {8, true, true, {5, 6}, {}},                          // another player's unit is not selected
      {5, true, false, {6}, {"s1 5-"}},                     // removed
      {6, false, false, {}, {"s1 6-"}},                     // select false deselects, add unlooked at
      {7, false, true, {7}, {"s1 7+"}},
      {10, false, true, {10}, {"s1 7-", "s1 10+"}},         // every earlier one reported deselected first
      {0, false, true, {}, {"s1 10-"}},                     // thing 0 empties the selection
      {4095, true, true, {}, {}},
  };
  for (const Step& step : steps) {
    EXPECT_TRUE(Accept(GenerateSelectionOrder(1, step.thing, step.add, step.select))) << step.thing;
    EXPECT_EQ(Selected(1), step.selected) << step.thing;
    EXPECT_EQ(orders.Take(), step.heard) << step.thing;
  }
}

TEST_F(AcceptOrderTest, GroupSelectionOrdersSelectAddAndDeselectALeadersGroup) {
  ASSERT_EQ(Player(1).GetLeaderID(1), 10);
  Select(1, {7});
  EXPECT_TRUE(Accept(GenerateGroupSelectionOrder(1, 1, true, true)));
  EXPECT_EQ(Selected(1), (std::vector<int32_t>{5, 6, 7, 10}));
  EXPECT_TRUE(Accept(GenerateGroupSelectionOrder(1, 1, false, false)));
  EXPECT_EQ(Selected(1), std::vector<int32_t>{7});
  EXPECT_TRUE(Accept(GenerateGroupSelectionOrder(1, 1, false, true)));
  EXPECT_EQ(Selected(1), (std::vector<int32_t>{5, 6, 10}));
  EXPECT_TRUE(Accept(GenerateGroupSelectionOrder(1, 255, false, true)));
  EXPECT_EQ(Selected(1), (std::vector<int32_t>{5, 6, 7, 10}));
  EXPECT_TRUE(Accept(GenerateGroupSelectionOrder(1, 2, false, true)));  // no such leader
  EXPECT_EQ(Selected(1), (std::vector<int32_t>{5, 6, 7, 10}));
  EXPECT_TRUE(Accept(GenerateGroupSelectionOrder(1, 255, true, false)));
  EXPECT_TRUE(Selected(1).empty());
  EXPECT_TRUE(Selected(2).empty());
}

// The selected units join the group of the player's leader that the
// target's record numbers; a leader does not join a group.
TEST_F(AcceptOrderTest, AddToGroupPutsTheSelectedUnitsIntoTheLeadersGroup) {
  Select(1, {6, 7, 10});
  const std::string log = Logged([&] { EXPECT_TRUE(Accept(GenerateAddToGroupOrder(1, 10))); });
  EXPECT_NE(log.find("OrderAddToGroup::Execute(1)\n"), std::string::npos) << log;
  const auto& group = static_cast<const LeaderInfo&>(*UnitAt(10).Info);
  EXPECT_EQ(std::vector<int32_t>(group.Group, group.Group + group.GroupSize), (std::vector<int32_t>{5, 6, 7}));
  EXPECT_EQ(static_cast<const LeaderInfo&>(*UnitAt(11).Info).GroupSize, 0);
}

// A surrender is no unit order for the selection: the side gives up
// through the logic, every unit of it runs for the level's edge, selected or
// not, and the other side, the last still playing, wins.
TEST_F(AcceptOrderTest, ASurrenderMakesTheWholeSideRunAndLose) {
  Select(1, {5});
  const std::string log = Logged([&] { EXPECT_TRUE(Accept(GenerateSurrenderOrder(1))); });
  EXPECT_NE(log.find("run away!!!::Execute(1)\n"), std::string::npos) << log;
  EXPECT_EQ(Player(1).GetParam(ParamState), CPlayer::kStateLost);
  EXPECT_EQ(Player(2).GetParam(ParamState), CPlayer::kStateWon);
  for (int32_t id : {5, 6, 7, 10}) {
    ASSERT_EQ(Steps(id).size(), 1u) << id;
    EXPECT_EQ(UnitAt(id).Plan.child->Action, OrderKind::kRunAway) << id;
  }
  // The winning side's raver may celebrate, but it does not run.
  for (const PsychicPlanItem* step = UnitAt(8).Plan.child; step != nullptr; step = step->queue) {
    EXPECT_NE(step->Action, OrderKind::kRunAway) << testing::PrintToString(Steps(8));
  }
}

// ---- Faults ----

// A listener that throws is the dispatcher's to log: the order still goes
// through and nothing reaches AcceptOrder's own exception path.
TEST_F(AcceptOrderTest, AThrowingListenerIsLoggedAndTheOrderGoesThrough) {
  Unit<YLUnitRaver>(128, 1);
  orders.throwOnSelection = true;
  Package order(GenerateSelectionOrder(1, 128, false, true));
  std::string log = Logged([&] { EXPECT_TRUE(AcceptOrder(order.get())); });
  orders.throwOnSelection = false;
  EXPECT_NE(log.find("->EventSelection()"), std::string::npos) << log;
  EXPECT_EQ(log.find("::AcceptOrder exception"), std::string::npos) << log;
  EXPECT_TRUE(Player(1).IsSelected(128));

  class Failing : public YLEventListener {
   public:
    void EventUnknownOrder(int32_t, const void*) override { throw std::runtime_error("chat"); }
  } failing;
  ASSERT_TRUE(logic.AddListener(&failing));
  Package chat = Raw(0, {0x7f, 0x80});
  log = Logged([&] { EXPECT_TRUE(AcceptOrder(chat.get())); });
  logic.Listeners->Remove(&failing);
  EXPECT_NE(log.find("->EventUnknownOrder()"), std::string::npos) << log;
  EXPECT_EQ(log.find("::AcceptOrder exception"), std::string::npos) << log;
  EXPECT_EQ(orders.unknown.size(), 1u);
}

// A unit that fails while it plans.
class FailingUnit : public YLUnitRaver {
 public:
  bool MakePlan() override { throw std::runtime_error("plan"); }
};

TEST_F(AcceptOrderTest, ANewOrderSwallowsAFailureAndAQueuedOneLogsAndPassesItOn) {
  Unit<FailingUnit>(9, 1);
  Select(1, {9});
  std::string log = Logged([&] { EXPECT_TRUE(Accept(GenerateGotoOrder(1, 15, 15, false, false))); });
  EXPECT_NE(log.find("exception in CPlayer::neworder"), std::string::npos) << log;
  // Queued behind nothing, the step is planned at once.
  UnitAt(9).ClearPlan();
  log = Logged([&] { EXPECT_THROW(Accept(GenerateGotoOrder(1, 15, 15, true, false)), std::runtime_error); });
  EXPECT_NE(log.find("exception in CPlayer::AddToOrderQueue"), std::string::npos) << log;
  EXPECT_NE(log.find("::AcceptOrder exception"), std::string::npos) << log;
}

// An exception in an order is reported with the package, each payload byte
// shown as a signed char widened to an int, and passed on.
TEST_F(AcceptOrderTest, AThrowingOrderIsDumpedWithItsPayloadAndPassedOn) {
  Unit<FailingUnit>(9, 1);
  Select(1, {9});
  Package order(GenerateGotoOrder(1, 128, 15, true, false));
  const std::string log = Logged([&] { EXPECT_THROW(AcceptOrder(order.get()), std::runtime_error); });
  EXPECT_NE(log.find("::AcceptOrder exception\n   op -> p="), std::string::npos) << log;
  EXPECT_NE(log.find(", t=5, l=14, data(0x"), std::string::npos) << log;
  EXPECT_NE(log.find(")=01 00 00 00 ffffff80 00 00 00 0f 00 00 00 01 00 \n"), std::string::npos) << log;
}

// ---- Plan steps ----

TEST(OrderPlanSteps, EachKindBuildsItsStepClassWithTheKindAsAction) {
  struct Case {
    int32_t kind;
    const char* className;
    int32_t param1;
    int32_t param2;
  };
  // Destination orders carry (x, y) = (3, 4), target orders the target 9.
  const Case cases[] = {
      {1, "PsychicPlanItem", 0, 0},
      {18, "PsychicPlanChant", 0, 0},
      {23, "PsychicPlanBerserk", 0, 0},
      {26, "PsychicPlanRave", 0, 0},
      {51, "PsychicPlanStandBy", 0, 0},
      {57, "PsychicPlanItem", 0, 0},
      {5, "PsychicPlanGoto", 3, 4},
      {19, "PsychicPlanBaricade", 3, 4},
      {22, "PsychicPlanBomb", 3, 4},
      {27, "PsychicPlanPatroll", 3, 4},
      {50, "PsychicPlanCordon", 3, 4},
      {52, "PsychicPlanCharge", 3, 4},
      {54, "PsychicPlanTearGas", 3, 4},
      {55, "PsychicPlanArrest", 3, 4},
      {59, "PsychicPlanThrowMolotovPlace", 3, 4},
      {7, "PsychicPlanGotoThing", 9, 0},
      {8, "PsychicPlanAttack", 9, 0},
      {9, "PsychicPlanAttackShoot", 9, 0},
      {10, "PsychicPlanThrowBrick", 9, 0},
      {11, "PsychicPlanThrowMolotov", 9, 0},
      {14, "PsychicPlanEnter", 9, 0},
      {25, "PsychicPlanEnter", 9, 0},
      {15, "PsychicPlanLoot", 9, 0},
      {17, "PsychicPlanLeave", 9, 0},
      {20, "PsychicPlanGetDope", 9, 0},
      {21, "PsychicPlanBurgle", 9, 0},
      {24, "PsychicPlanFlirt", 9, 0},
      {28, "PsychicPlanItem", 9, 0},
      {48, "PsychicPlanInvestigateAlarm", 9, 0},
      {49, "PsychicPlanInvestigateUnit", 9, 0},
      {53, "PsychicPlanAssistance", 9, 0},
      {60, "PsychicPlanThrowTurret", 9, 0},
  };
  for (const Case& test : cases) {
    for (const bool fast : {false, true}) {
      std::unique_ptr<COrder> order = CreateOrder(test.kind);
      ASSERT_NE(order, nullptr) << test.kind;
      order->FlagB = fast ? 1 : 0;
      if (auto* destination = dynamic_cast<COrderDestination*>(order.get())) {
        destination->X = 3;
        destination->Y = 4;
      } else if (auto* target = dynamic_cast<COrderTarget*>(order.get())) {
        target->Target = 9;
      }
      std::unique_ptr<PsychicPlanItem, tObjectDestroyer> step(order->BuildPlan());
      ASSERT_NE(step, nullptr) << test.kind;
      EXPECT_STREQ(step->GetClassName(), test.className) << test.kind;
      EXPECT_EQ(step->Action, test.kind);
      EXPECT_EQ(step->Param1, test.param1) << test.kind;
      EXPECT_EQ(step->Param2, test.param2) << test.kind;
      EXPECT_EQ(step->Fast, fast) << test.kind;
      EXPECT_EQ(step->Motivation, 0.0f) << test.kind;
      if (auto* chant = dynamic_cast<PsychicPlanChant*>(step.get())) {
        EXPECT_EQ(chant->Period, -1);
      }
      if (auto* baricade = dynamic_cast<PsychicPlanBaricade*>(step.get())) {
        EXPECT_EQ(baricade->Down, 1);
      }
    }
  }
}

}  // namespace
}  // namespace logic_world_testing
