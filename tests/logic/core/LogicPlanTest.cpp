#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "PlanTestItems.h"
#include "base/LumoList.h"
#include "logic/core/CLogic.h"
#include "logic/core/YLEventListener.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/world/YLThing.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace {

using plan_testing::JournalItem;
using plan_testing::Journal;

class TimerListener : public YLEventListener {
 public:
  void EventTimer(int32_t player, int32_t framesLeft, const char* label) override {
    heard.push_back(std::to_string(player) + " " + std::to_string(framesLeft) + " " + label);
  }
  std::vector<std::string> heard;
};

class LogicPlanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    JournalItem::alive = 0;
    logic.Listeners.reset(new LumoList);
    ASSERT_TRUE(logic.AddListener(&listener));
  }
  void TearDown() override {
    logic.DetachListeners();
    logic.ClearPlan(nullptr);
    EXPECT_EQ(JournalItem::alive, 0);
  }

  JournalItem* Make(const std::string& name, uint32_t frequency = 0, int32_t runs = 1) {
    return new JournalItem(name, journal, frequency, runs);
  }

  // Runs frames until the counter passes lastFrame, as the logic's frame
  // does: the plan first, the counter last.
  void RunFrames(uint32_t lastFrame) {
    while (logic.Time <= lastFrame) {
      logic.PropagatePlan();
      ++logic.Time;
    }
  }

  static std::string Logged(const std::function<void()>& body) {
    EXPECT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
    body();
    SetDebugMode(DebugModeOff);
    return testing_support::ReadDebugLog();
  }

  CLogic logic;
  TimerListener listener;
  Journal journal;
};

// ---- Timing ----

struct Insertion {
  uint32_t frame;  // inserted before this frame's plan runs
  const char* name;
  uint32_t delay;
  uint32_t frequency;
  int32_t runs;
};

struct TimingCase {
  const char* behaviour;
  std::vector<Insertion> insertions;
  uint32_t lastFrame;
  Journal expected;
};

TEST_F(LogicPlanTest, RunsEveryItemAtItsFrame) {
  const TimingCase cases[] = {
      {"delay 0 runs at once", {{0, "now", 0, 0, 1}}, 3, {"now@0"}},
      {"29 at frame 0 runs in 29, 30 in 30", {{0, "near", 29, 0, 1}, {0, "far", 30, 0, 1}}, 40,
       {"near@29", "far@30"}},
      {"a long item due at remainder 29 runs in that frame after bucket 29",
       {{0, "long", 59, 0, 1}, {30, "near", 29, 0, 1}}, 70, {"near@59", "long@59"}},
      {"30 at a frame of remainder 29 runs 30 frames later", {{29, "edge", 30, 0, 1}}, 70, {"edge@59"}},
      {"one bucket runs last in, first out", {{0, "a", 5, 0, 1}, {0, "b", 5, 0, 1}}, 10, {"b@5", "a@5"}},
      {"equal long times: after an equal head, before an equal later item",
       {{0, "h", 40, 0, 1}, {0, "x", 40, 0, 1}, {0, "y", 40, 0, 1}, {0, "z", 35, 0, 1}}, 50,
       {"z@35", "x@40", "y@40", "h@40"}},
      {"frequency 10 from frame 100", {{100, "t", 10, 10, 3}}, 140, {"t@110", "t@120", "t@130"}},
      {"frequency 45 through the long list, on remainder 29", {{14, "f", 45, 45, 4}}, 200,
       {"f@59", "f@104", "f@149", "f@194"}},
  };
  for (const TimingCase& each : cases) {
    SCOPED_TRACE(each.behaviour);
    logic.Time = 0;
    journal.clear();
    while (logic.Time <= each.lastFrame) {
      for (const Insertion& insertion : each.insertions) {
        if (insertion.frame == logic.Time) {
          logic.InsertPlan(Make(insertion.name, insertion.frequency, insertion.runs), insertion.delay);
        }
      }
      logic.PropagatePlan();
      ++logic.Time;
    }
    EXPECT_EQ(journal, each.expected);
    EXPECT_EQ(JournalItem::alive, 0);
  }
}

TEST_F(LogicPlanTest, DelayZeroRunsInsideInsertPlanAndRepeatsByItsFrequency) {
  logic.Time = 7;
  logic.InsertPlan(Make("once"), 0);
  EXPECT_EQ(journal, (Journal{"once@7"}));
  EXPECT_EQ(JournalItem::alive, 0);

  JournalItem* again = Make("again", 3, 2);
  logic.InsertPlan(again, 0);
  EXPECT_EQ(logic.Plan[10].first, again);
  RunFrames(20);
  EXPECT_EQ(journal, (Journal{"once@7", "again@7", "again@10"}));
}

// ---- The countdown ----

TEST_F(LogicPlanTest, CountdownReportsTheFirstItemInBucketOrder) {
  logic.Time = 20;
  logic.InsertPlan(Make("quiet"), 3);
  logic.UpdateTimer();
  EXPECT_TRUE(listener.heard.empty());

  JournalItem* later = Make("later");  // due 35, bucket 5
  later->countdown = true;
  JournalItem* sooner = Make("sooner");  // due 25, bucket 25
  sooner->countdown = true;
  logic.InsertPlan(later, 15);
  logic.InsertPlan(sooner, 5);
  EXPECT_EQ(listener.heard, (std::vector<std::string>{"1 15 later", "1 15 later"}));

  listener.heard.clear();
  RunFrames(40);
  // "sooner" ends at 25 and "later" is still found first; an ending item is
  // told while it still stands in its bucket, with 0 frames left.
  EXPECT_EQ(listener.heard, (std::vector<std::string>{"1 10 later", "1 0 later"}));
}

// ---- Execute acting on the plan ----

struct ActionCase {
  const char* behaviour;
  std::function<void(CLogic&, JournalItem&, JournalItem* follower)> action;
  Journal expected;
};

TEST_F(LogicPlanTest, ExecuteMayChangeThePlanAroundTheRunningItem) {
  JournalItem* taken = nullptr;
  const ActionCase cases[] = {
      {"deletes itself", [](CLogic& plan, JournalItem& self, JournalItem*) { plan.DeletePlanItem(&self); },
       {"runner@5", "follower@5"}},
      {"hands itself to a taker",
       [&taken](CLogic& plan, JournalItem& self, JournalItem*) {
         plan.RemovePlan(&self);
         taken = &self;
       },
       {"runner@5", "follower@5"}},
      {"re-times itself once",
       [](CLogic& plan, JournalItem& self, JournalItem*) {
         if (self.runsLeft == 2) {
           plan.InsertPlan(&self, 7);
         }
       },
       {"runner@5", "follower@5", "runner@12", "runner@17"}},
      {"clears the plan", [](CLogic& plan, JournalItem&, JournalItem*) { plan.ClearPlan(nullptr); }, {"runner@5"}},
      {"clears the plan but itself",
       [](CLogic& plan, JournalItem& self, JournalItem*) { plan.ClearPlan(&self); },
       {"runner@5", "runner@10", "runner@15"}},
      {"deletes the item behind it",
       [](CLogic& plan, JournalItem& self, JournalItem* follower) {
         if (self.runsLeft == 2) {
           plan.DeletePlanItem(follower);
         }
       },
       {"runner@5", "runner@10", "runner@15"}},
  };
  for (const ActionCase& each : cases) {
    SCOPED_TRACE(each.behaviour);
    logic.Time = 0;
    journal.clear();
    taken = nullptr;
    JournalItem* follower = Make("follower");
    JournalItem* runner = Make("runner", 5, 3);
    runner->action = [&each, follower](CLogic& plan, JournalItem& self) { each.action(plan, self, follower); };
    logic.InsertPlan(follower, 5);
    logic.InsertPlan(runner, 5);
    RunFrames(30);
    EXPECT_EQ(journal, each.expected);
    if (taken != nullptr) {
      EXPECT_EQ(taken->PlanSlot, LogicPlanItem::kNotPlanned);
      EXPECT_EQ(JournalItem::alive, 1);
      DestroyObject(taken);
    }
    EXPECT_EQ(JournalItem::alive, 0);
  }
}

TEST_F(LogicPlanTest, TheRunningItemStaysLinkedForSearches) {
  JournalItem* runner = Make("runner");
  runner->TriggerID = 77;
  runner->countdown = true;
  const YLCustomTrigger* found = nullptr;
  runner->action = [&found](CLogic& plan, JournalItem&) {
    found = plan.FindTrigger(77);
    plan.UpdateTimer();
  };
  logic.InsertPlan(runner, 4);
  listener.heard.clear();
  RunFrames(4);
  EXPECT_EQ(found, runner);
  EXPECT_EQ(listener.heard.front(), "1 0 runner");
  EXPECT_EQ(logic.FindTrigger(77), nullptr);
}

// ---- Removing ----

TEST_F(LogicPlanTest, RemovePlanFindsALongItemDueWithinTheWindow) {
  JournalItem* item = Make("long");
  logic.InsertPlan(item, 45);
  RunFrames(19);  // now at frame 20, the item is due in 25 frames
  logic.RemovePlan(item);
  EXPECT_EQ(logic.PlanLongTerm.first, nullptr);
  EXPECT_EQ(item->PlanSlot, LogicPlanItem::kNotPlanned);
  DestroyObject(item);
  RunFrames(60);
  EXPECT_TRUE(journal.empty());

  logic.RemovePlan(nullptr);
  JournalItem* loose = Make("loose");
  logic.RemovePlan(loose);  // in no list: left alone
  DestroyObject(loose);
}

TEST_F(LogicPlanTest, InsertingAPlannedItemMovesIt) {
  JournalItem* item = Make("moved");
  logic.InsertPlan(item, 5);
  logic.InsertPlan(item, 8);
  logic.InsertPlan(item, 40);
  logic.InsertPlan(item, 9);
  RunFrames(50);
  EXPECT_EQ(journal, (Journal{"moved@9"}));
}

// ---- The long list's order ----

TEST_F(LogicPlanTest, AnItemOfThePastWaitsBehindTheLongList) {
  YLThing::SetLogicContext(nullptr, &logic);
  logic.Time = 100;
  JournalItem* past = Make("past");
  logic.InsertPlan(past, 3);
  // Setting a time before the current frame parks the item; it never runs.
  EXPECT_LT(past->SetProperty(0, "50"), 0);
  EXPECT_EQ(past->Time, 50u);
  EXPECT_EQ(past->PlanSlot, LogicPlanItem::kLongTermSlot);
  logic.InsertPlan(Make("future"), 40);
  EXPECT_NE(logic.PlanLongTerm.first, past);
  RunFrames(400);
  EXPECT_EQ(journal, (Journal{"future@140"}));
  EXPECT_EQ(logic.PlanLongTerm.first, past);
  YLThing::SetLogicContext(nullptr, nullptr);
}

// ---- Faults ----

TEST_F(LogicPlanTest, AThrowingItemIsDeletedAndTheNextFrameGoesOn) {
  JournalItem* follower = Make("follower");
  JournalItem* thrower = Make("thrower", 5, 3);
  thrower->action = [](CLogic&, JournalItem&) { throw std::runtime_error("broken item"); };
  logic.InsertPlan(follower, 5);
  logic.InsertPlan(thrower, 5);
  RunFrames(4);
  const std::string log = Logged([&] { EXPECT_THROW(logic.PropagatePlan(), std::runtime_error); });
  EXPECT_NE(log.find("CLogic::PropagatePlan exception in currplan->Execute:(  5: custom trigger)\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(JournalItem::alive, 1);
  // The logic's next step repeats the frame: it runs the rest of the bucket.
  EXPECT_NO_THROW(logic.PropagatePlan());
  EXPECT_EQ(journal, (Journal{"thrower@5", "follower@5"}));
  EXPECT_EQ(JournalItem::alive, 0);

  JournalItem* now = Make("now", 5, 3);
  now->action = [](CLogic&, JournalItem&) { throw std::runtime_error("broken at once"); };
  const std::string nowLog = Logged([&] { EXPECT_THROW(logic.InsertPlan(now, 0), std::runtime_error); });
  EXPECT_NE(nowLog.find("CLogic::InsertPlan exception in plan->Execute:\n"), std::string::npos) << nowLog;
  EXPECT_EQ(JournalItem::alive, 0);
}

TEST_F(LogicPlanTest, AThrowingItemThatLeftThePlanStaysWithItsTaker) {
  JournalItem* taken = nullptr;
  JournalItem* thrower = Make("thrower");
  thrower->action = [&taken](CLogic& plan, JournalItem& self) {
    plan.RemovePlan(&self);
    taken = &self;
    throw std::runtime_error("taken, then broken");
  };
  logic.InsertPlan(thrower, 2);
  EXPECT_THROW(RunFrames(2), std::runtime_error);
  ASSERT_EQ(taken, thrower);
  EXPECT_EQ(JournalItem::alive, 1);
  DestroyObject(taken);
}

// ---- Freeing ----

TEST(PlanChain, FreeingAChainLoopsAndTheDestructorLeavesTheChain) {
  JournalItem::alive = 0;
  Journal journal;
  // Deep enough that one nested free per item would overflow the stack.
  constexpr int32_t kLength = 300000;
  auto* head = new JournalItem("head", journal);
  for (int32_t index = 1; index < kLength; ++index) {
    auto* item = new JournalItem("item", journal);
    item->Next = head;
    head = item;
  }
  EXPECT_EQ(JournalItem::alive, kLength);
  LogicPlanItem* rest = head->Next;
  delete head;
  EXPECT_EQ(JournalItem::alive, kLength - 1);
  DestroyObject(rest);
  EXPECT_EQ(JournalItem::alive, 0);
}

}  // namespace
