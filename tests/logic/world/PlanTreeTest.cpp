// The plan tree: links, order of insertion, equality, deletion of long
// plans, the kinds' registration and clones, and the stored form.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LogicWorldFixture.h"
#include "base/LumoClass.h"
#include "base/LumoMemoryStream.h"
#include "logic/core/GroundMap.h"
#include "logic/core/OrderKinds.h"
#include "logic/world/PsychicPlanKinds.h"

namespace logic_world_testing {
namespace {

using Step = std::unique_ptr<PsychicPlanItem, tObjectDestroyer>;

PsychicPlanItem* MakeStep(int32_t action, int32_t param1 = 0, int32_t param2 = 0) {
  auto* step = new PsychicPlanItem(param1, param2, 0.5f, false);
  step->Action = action;
  return step;
}

// The actions of a queue, in order.
std::vector<int32_t> QueueActions(const PsychicPlanItem* first) {
  std::vector<int32_t> actions;
  for (const PsychicPlanItem* step = first; step != nullptr; step = step->queue) {
    actions.push_back(step->Action);
  }
  return actions;
}

TEST(PlanTreeTest, UnlinkOfAFirstChildHandsTheChildSlotToItsSuccessor) {
  Step root(MakeStep(0));
  PsychicPlanItem* first = MakeStep(1);
  PsychicPlanItem* second = MakeStep(2);
  root->AddChild(first);
  root->AddChild(second);
  first->AddChild(MakeStep(3));

  EXPECT_EQ(first->Unlink(), root.get());
  EXPECT_EQ(root->child, second);
  EXPECT_EQ(second->parent, root.get());
  EXPECT_EQ(first->parent, nullptr);
  EXPECT_EQ(first->queue, nullptr);
  // The unlinked step keeps its sub-plan: deleting it frees that too (the
  // sanitizer build sees a leak otherwise).
  ASSERT_NE(first->child, nullptr);
  EXPECT_EQ(first->child->Action, 3);
  DestroyObject(first);
}

TEST(PlanTreeTest, GetLeafFollowsFirstChildren) {
  Step root(MakeStep(0));
  EXPECT_EQ(root->GetLeaf(), root.get());
  PsychicPlanItem* outer = MakeStep(1);
  PsychicPlanItem* inner = MakeStep(2);
  root->AddChild(outer);
  root->AddChild(MakeStep(5));
  outer->AddChild(inner);
  outer->AddChild(MakeStep(6));
  EXPECT_EQ(root->GetLeaf(), inner);
  EXPECT_EQ(outer->GetLeaf(), inner);
}

TEST(PlanTreeTest, AddChildAppendsAndPushChildGoesInFront) {
  Step root(MakeStep(0));
  root->AddChild(MakeStep(1));
  root->AddChild(MakeStep(2));
  EXPECT_EQ(QueueActions(root->child), (std::vector<int32_t>{1, 2}));

  // A pushed step keeps its own queue; the old children follow it.
  PsychicPlanItem* pushed = MakeStep(3);
  pushed->InsertAfter(MakeStep(4));
  root->PushChild(pushed);
  EXPECT_EQ(QueueActions(root->child), (std::vector<int32_t>{3, 4, 1, 2}));
  for (const PsychicPlanItem* step = root->child; step != nullptr; step = step->queue) {
    EXPECT_EQ(step->parent, root.get()) << step->Action;
  }

  root->child->InsertAfter(MakeStep(7));
  EXPECT_EQ(QueueActions(root->child), (std::vector<int32_t>{3, 7, 4, 1, 2}));
}

TEST(PlanTreeTest, EqualsComparesActionAndParametersOnly) {
  Step one(MakeStep(5, 10, 20));
  Step other(MakeStep(5, 10, 20));
  other->Motivation = 2.0f;
  other->Fast = true;
  other->Expandable = false;
  EXPECT_TRUE(one->Equals(*other));
  other->Param2 = 21;
  EXPECT_FALSE(one->Equals(*other));
  other->Param2 = 20;
  other->Action = 7;
  EXPECT_FALSE(one->Equals(*other));
}

// Deleting a plan walks it in a loop: a queue or a tree of this size would
// exhaust the stack if each step deleted the next.
TEST(PlanTreeTest, LongQueuesAndDeepTreesAreDeletedWithoutRecursion) {
  constexpr int32_t kSteps = 300000;
  Step queue(MakeStep(0));
  PsychicPlanItem* last = queue.get();
  for (int32_t index = 0; index < kSteps; ++index) {
    last->InsertAfter(MakeStep(5, index));
    last = last->queue;
  }
  queue.reset();

  Step deep(MakeStep(0));
  PsychicPlanItem* inner = deep.get();
  for (int32_t index = 0; index < kSteps; ++index) {
    inner->AddChild(MakeStep(5, index));
    inner->child->InsertAfter(MakeStep(6, index));
    inner = inner->child;
  }
  deep->ClearChildren();
  EXPECT_EQ(deep->child, nullptr);
}

// ---- The kinds ----

struct KindCase {
  const char* name;
  int32_t action;
};

const KindCase kKinds[] = {
    {"PsychicPlanHold", 2},
    {"PsychicPlanGoto", 5},
    {"PsychicPlanFuckOff", 6},
    {"PsychicPlanGotoThing", 7},
    {"PsychicPlanAttack", 8},
    {"PsychicPlanAttackShoot", 9},
    {"PsychicPlanThrowBrick", 10},
    {"PsychicPlanThrowMolotov", 11},
    {"PsychicPlanPickUpBrick", 12},
    {"PsychicPlanShop", 12},
    {"PsychicPlanSubThrow", 13},
    {"PsychicPlanEnter", 14},
    {"PsychicPlanLoot", 15},
    {"PsychicPlanSubLoot", 16},
    {"PsychicPlanLeave", 17},
    {"PsychicPlanChant", 18},
    {"PsychicPlanBaricade", 19},
    {"PsychicPlanGetDope", 20},
    {"PsychicPlanBurgle", 21},
    {"PsychicPlanBomb", 22},
    {"PsychicPlanBerserk", 23},
    {"PsychicPlanFlirt", 24},
    {"PsychicPlanHijack", 25},
    {"PsychicPlanRave", 26},
    {"PsychicPlanPatroll", 27},
    {"PsychicPlanSpawn", 29},
    {"PsychicPlanGroup", 30},
    {"PsychicPlanFlee", 31},
    {"PsychicPlanPanic", 32},
    {"PsychicPlanBored", 33},
    {"PsychicPlanArrest", 34},
    {"PsychicPlanJailed", 35},
    {"PsychicPlanAmbient", 47},
    {"PsychicPlanInvestigateAlarm", 48},
    {"PsychicPlanInvestigateUnit", 49},
    {"PsychicPlanCordon", 50},
    {"PsychicPlanStandBy", 51},
    {"PsychicPlanCharge", 52},
    {"PsychicPlanAssistance", 53},
    {"PsychicPlanTearGas", 54},
    {"PsychicPlanJoinRave", 56},
    {"PsychicPlanRunAway", 57},
    {"PsychicPlanOut", 58},
    {"PsychicPlanThrowMolotovPlace", 59},
    {"PsychicPlanThrowTurret", 60},
    {"PsychicPlanBringIn", 61},
};

TEST(PlanKindsTest, EveryKindIsRegisteredWithItsActionAndClonesItself) {
  for (const KindCase& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    const LumoClass* record = FindClass(kind.name);
    ASSERT_NE(record, nullptr);
    EXPECT_STREQ(record->baseName, "PsychicPlanItem");
    EXPECT_EQ(record->version, kVersion_1_6_0_6);
    std::unique_ptr<LumoObject, tObjectDestroyer> made(CreateObject(kind.name, nullptr));
    auto* step = dynamic_cast<PsychicPlanItem*>(made.get());
    ASSERT_NE(step, nullptr);
    EXPECT_STREQ(step->GetClassName(), kind.name);
    EXPECT_EQ(step->Action, kind.action);
    EXPECT_TRUE(step->Expandable);

    step->Param1 = 11;
    step->Param2 = -12;
    step->Motivation = 0.625f;
    step->Fast = true;
    step->Expandable = false;
    step->AddChild(MakeStep(5));
    Step copy(step->Clone());
    EXPECT_STREQ(copy->GetClassName(), kind.name);
    EXPECT_EQ(copy->Action, kind.action);
    EXPECT_EQ(copy->Param1, 11);
    EXPECT_EQ(copy->Param2, -12);
    EXPECT_EQ(copy->Motivation, 0.625f);
    EXPECT_TRUE(copy->Fast);
    EXPECT_TRUE(copy->Expandable);
    EXPECT_EQ(copy->child, nullptr);
    EXPECT_EQ(copy->parent, nullptr);
  }
}

TEST(PlanKindsTest, KindFieldsStartAsTheKindSaysAndAreCloned) {
  PsychicPlanChant chant;
  EXPECT_EQ(chant.Period, -1);
  chant.Period = 7;
  Step chantCopy(chant.Clone());
  EXPECT_EQ(dynamic_cast<PsychicPlanChant&>(*chantCopy).Period, 7);

  PsychicPlanOut out;
  EXPECT_EQ(out.Period, 0);
  out.Period = 40;
  Step outCopy(out.Clone());
  EXPECT_EQ(dynamic_cast<PsychicPlanOut&>(*outCopy).Period, 40);

  PsychicPlanBaricade baricade;
  EXPECT_EQ(baricade.Down, 1);
  baricade.Down = 0;
  Step baricadeCopy(baricade.Clone());
  EXPECT_EQ(dynamic_cast<PsychicPlanBaricade&>(*baricadeCopy).Down, 0);

  for (PsychicPlanItem* going : {static_cast<PsychicPlanItem*>(new PsychicPlanGoto),
                                 static_cast<PsychicPlanItem*>(new PsychicPlanPatroll)}) {
    Step owner(going);
    int32_t& distance = dynamic_cast<PsychicPlanGoto*>(going) != nullptr
                            ? dynamic_cast<PsychicPlanGoto*>(going)->ArrivalDistance
                            : dynamic_cast<PsychicPlanPatroll*>(going)->ArrivalDistance;
    EXPECT_EQ(distance, 0);
    distance = 3;
    Step copy(going->Clone());
    if (auto* gotoCopy = dynamic_cast<PsychicPlanGoto*>(copy.get())) {
      EXPECT_EQ(gotoCopy->ArrivalDistance, 3);
    } else {
      EXPECT_EQ(dynamic_cast<PsychicPlanPatroll&>(*copy).ArrivalDistance, 3);
    }
  }
}

// ---- Stored form ----

// root (0) -> [Goto (5, 1, 2) -> [Chant (18, Period 4), Out (58, Period 9)],
//              Baricade (19, Down 0), Hold (2)]
Step BuildTree() {
  Step root(MakeStep(0));
  auto* going = new PsychicPlanGoto(1, 2, 0.75f, true);
  going->Expandable = false;
  auto* chant = new PsychicPlanChant(3, 4, 0.25f, false);
  chant->Period = 4;
  auto* out = new PsychicPlanOut(5, 6, 1.5f, true);
  out->Period = 9;
  auto* baricade = new PsychicPlanBaricade(7, 8, 0.5f, false);
  baricade->Down = 0;
  root->AddChild(going);
  going->AddChild(chant);
  going->AddChild(out);
  root->AddChild(baricade);
  root->AddChild(new PsychicPlanHold(9, 10, 0.1f, false));
  return root;
}

TEST(UnitPlanStreamTest, ARoundTripRebuildsEveryParentAndField) {
  Step root = BuildTree();
  const Bytes bytes = Save(*root);
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded = Load(bytes);
  auto* copy = dynamic_cast<PsychicPlanItem*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(Save(*copy), bytes);

  EXPECT_EQ(QueueActions(copy->child), (std::vector<int32_t>{5, 19, 2}));
  for (const PsychicPlanItem* step = copy->child; step != nullptr; step = step->queue) {
    EXPECT_EQ(step->parent, copy) << step->Action;
  }
  const PsychicPlanItem* going = copy->child;
  EXPECT_STREQ(going->GetClassName(), "PsychicPlanGoto");
  EXPECT_FALSE(going->Expandable);
  EXPECT_TRUE(going->Fast);
  EXPECT_EQ(going->Motivation, 0.75f);
  EXPECT_EQ(QueueActions(going->child), (std::vector<int32_t>{18, 58}));
  for (const PsychicPlanItem* step = going->child; step != nullptr; step = step->queue) {
    EXPECT_EQ(step->parent, going) << step->Action;
  }
  EXPECT_EQ(dynamic_cast<const PsychicPlanChant&>(*going->child).Period, 4);
  EXPECT_EQ(dynamic_cast<const PsychicPlanOut&>(*going->child->queue).Period, 9);
  EXPECT_EQ(dynamic_cast<const PsychicPlanBaricade&>(*going->queue).Down, 0);
  EXPECT_EQ(copy->GetLeaf()->Action, 18);
}

// An older stream has no "down:" text: the field keeps its value and the
// reader goes on from where the text would have stood.
TEST(UnitPlanStreamTest, ABaricadeWithoutDownKeepsItAndTheStreamPosition) {
  Step root = BuildTree();
  Bytes bytes = Save(*root);
  ASSERT_TRUE(Cut(bytes, "down:", 4));
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded = Load(bytes);
  auto* copy = dynamic_cast<PsychicPlanItem*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  const auto& baricade = dynamic_cast<const PsychicPlanBaricade&>(*copy->child->queue);
  EXPECT_EQ(baricade.Down, 1);
  EXPECT_EQ(baricade.Param1, 7);
  EXPECT_EQ(baricade.Param2, 8);
  // What follows the barricade was read from the right place.
  ASSERT_NE(baricade.queue, nullptr);
  EXPECT_EQ(baricade.queue->Action, 2);
  EXPECT_EQ(baricade.queue->Param1, 9);
  EXPECT_EQ(baricade.queue->Param2, 10);
}

// A queue or child whose record is of another class fails the load.
TEST(UnitPlanStreamTest, ALinkToSomethingOtherThanAStepFailsTheLoad) {
  GroundMap foreign;
  const Bytes foreignBytes = Save(foreign);
  for (bool asChild : {false, true}) {
    SCOPED_TRACE(asChild ? "child" : "queue");
    Step root(MakeStep(0));
    PsychicPlanItem* first = MakeStep(5);
    PsychicPlanItem* marked = new PsychicPlanBerserk(123, 456, 0.5f, false);
    root->AddChild(first);
    if (asChild) {
      first->AddChild(marked);
    } else {
      root->AddChild(marked);
    }
    Bytes bytes = Save(*root);
    const Bytes markedBytes = Save(*marked);
    auto found = std::search(bytes.begin(), bytes.end(), markedBytes.begin(), markedBytes.end());
    ASSERT_NE(found, bytes.end());
    const auto at = found - bytes.begin();
    bytes.erase(found, found + static_cast<std::ptrdiff_t>(markedBytes.size()));
    bytes.insert(bytes.begin() + at, foreignBytes.begin(), foreignBytes.end());
    EXPECT_EQ(Load(bytes).get(), nullptr);
  }
}

}  // namespace
}  // namespace logic_world_testing
