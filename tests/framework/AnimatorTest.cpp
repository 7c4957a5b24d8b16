#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "RecordingAnimators.h"
#include "base/LumoClass.h"
#include "base/LumoObject.h"
#include "base/LumoMemoryStream.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

using Hooks = std::vector<std::string>;

// The animator tests need no engine or display, only the debug log.
class AnimatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDebugMode(DebugModeOverwrite);
    HookLog().clear();
  }
  void TearDown() override { SetDebugMode(DebugModeOff); }

  static std::string Report(const std::string& operationAndStep, const LumoAnimator& object) {
    char text[256];
    std::snprintf(text, sizeof text, "%s (Object=%p:%s)\n", operationAndStep.c_str(),
                  static_cast<const void*>(&object), object.GetClassName());
    return text;
  }
};

enum class Operation { Start, Stop, Pause, Resume, Prevent, Force };

void RunOperation(LumoAnimator& animator, Operation operation) {
  switch (operation) {
    case Operation::Start: animator.StartAnimation(); break;
    case Operation::Stop: animator.StopAnimation(); break;
    case Operation::Pause: animator.PauseAnimation(); break;
    case Operation::Resume: animator.ResumeAnimation(); break;
    case Operation::Prevent: animator.PreventAnimation(); break;
    case Operation::Force: animator.ForceAnimation(); break;
  }
}

const Hooks kStartHooks = {"BeforeStartAnimation", "CanStartAnimation", "DoStartAnimation", "OnStartAnimation",
                           "AfterStartAnimation"};
const Hooks kStopHooks = {"BeforeStopAnimation", "CanStopAnimation", "DoStopAnimation", "OnStopAnimation",
                          "AfterStopAnimation"};

Hooks Join(std::initializer_list<Hooks> parts) {
  Hooks joined;
  for (const Hooks& part : parts) {
    joined.insert(joined.end(), part.begin(), part.end());
  }
  return joined;
}

TEST_F(AnimatorTest, ProtocolRunsItsHooksInOrder) {
  struct Case {
    const char* name;
    bool animating;
    bool prevented;
    Operation operation;
    std::map<std::string, bool> answers;
    Hooks hooks;
    bool animatingAfter;
    bool preventedAfter;
  };
  const Case cases[] = {
      {"start", false, false, Operation::Start, {}, kStartHooks, true, false},
      {"restart stops first", true, false, Operation::Start, {}, Join({kStopHooks, kStartHooks}), true, false},
      {"start while prevented", false, true, Operation::Start, {}, {}, false, true},
      {"refused start", false, false, Operation::Start, {{"CanStartAnimation", false}},
       {"BeforeStartAnimation", "CanStartAnimation"}, false, false},
      {"stop", true, false, Operation::Stop, {}, kStopHooks, false, false},
      {"stop while stopped", false, false, Operation::Stop, {}, {}, false, false},
      {"refused stop", true, false, Operation::Stop, {{"CanStopAnimation", false}},
       {"BeforeStopAnimation", "CanStopAnimation"}, true, false},
      {"start after a refused stop", true, false, Operation::Start, {{"CanStopAnimation", false}},
       {"BeforeStopAnimation", "CanStopAnimation"}, true, false},
      {"pause", true, false, Operation::Pause, {{"CanStopAnimation", false}}, {"DoPauseAnimation"}, false, false},
      {"pause while stopped", false, false, Operation::Pause, {}, {}, false, false},
      {"resume", false, false, Operation::Resume, {{"CanStartAnimation", false}}, {"DoResumeAnimation"}, true, false},
      {"resume while prevented", false, true, Operation::Resume, {}, {"DoResumeAnimation"}, false, true},
      {"resume while running", true, false, Operation::Resume, {}, {}, true, false},
      {"prevent", true, false, Operation::Prevent, {},
       Join({{"CanPreventAnimation", "DoPreventAnimation", "OnPreventAnimation"}, kStopHooks}), false, true},
      {"refused prevent", true, false, Operation::Prevent, {{"CanPreventAnimation", false}},
       {"CanPreventAnimation"}, true, false},
      {"force", false, true, Operation::Force, {},
       Join({{"CanForceAnimation", "DoForceAnimation", "OnForceAnimation"}, kStartHooks}), true, false},
      {"refused force", false, true, Operation::Force, {{"CanForceAnimation", false}}, {"CanForceAnimation"}, false,
       true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    HookLog().clear();
    RecordingAnimator animator("a");
    animator.Animating = test.animating;
    animator.AnimationPrevented = test.prevented;
    animator.script.answers = test.answers;

    RunOperation(animator, test.operation);

    EXPECT_EQ(HooksOf("a"), test.hooks);
    EXPECT_EQ(animator.Animating, test.animatingAfter);
    EXPECT_EQ(animator.AnimationPrevented, test.preventedAfter);
  }
}

// A tree of a parent with two animator items and one plain node, all running.
class AnimatorTreeTest : public AnimatorTest {
 protected:
  void SetUp() override {
    AnimatorTest::SetUp();
    parent.Append(first);
    parent.Append(new LumoNode);  // not an animator: no pass visits it
    parent.Append(second);
    parent.StartAnimation();
    HookLog().clear();
  }

  RecordingAnimator parent{"P"};
  RecordingAnimator* first = new RecordingAnimator("A");
  RecordingAnimator* second = new RecordingAnimator("B");
};

TEST_F(AnimatorTreeTest, StartingAParentStartsItsAnimatorItemsFirstToLast) {
  parent.StopAnimation();
  EXPECT_FALSE(first->Animating);
  EXPECT_FALSE(second->Animating);
  HookLog().clear();

  parent.StartAnimation();

  const Hooks expected = {"P:BeforeStartAnimation", "P:CanStartAnimation", "P:DoStartAnimation",
                          "A:BeforeStartAnimation", "A:CanStartAnimation", "A:DoStartAnimation",
                          "A:OnStartAnimation",     "A:AfterStartAnimation", "B:BeforeStartAnimation",
                          "B:CanStartAnimation",    "B:DoStartAnimation",  "B:OnStartAnimation",
                          "B:AfterStartAnimation",  "P:OnStartAnimation",  "P:AfterStartAnimation"};
  EXPECT_EQ(HookLog(), expected);
  EXPECT_TRUE(first->Animating);
  EXPECT_TRUE(second->Animating);
}

TEST_F(AnimatorTreeTest, PassesVisitTheItemsFirstToLast) {
  parent.Timer();
  parent.SelectFrame();
  parent.AnimateFrame();

  const Hooks expected = {
      "P:DoTimer",       "A:DoTimer",       "A:OnTimer",        "A:UpdateTimer",    "B:DoTimer",
      "B:OnTimer",       "B:UpdateTimer",   "P:OnTimer",        "P:UpdateTimer",    "P:OnSelectFrame",
      "P:DoSelectFrame", "A:OnSelectFrame", "A:DoSelectFrame",  "A:DoPrepareFrame", "B:OnSelectFrame",
      "B:DoSelectFrame", "B:DoPrepareFrame", "P:DoPrepareFrame", "P:DoAnimateFrame", "A:DoAnimateFrame",
      "A:DoNextFrame",   "B:DoAnimateFrame", "B:DoNextFrame",   "P:DoNextFrame"};
  EXPECT_EQ(HookLog(), expected);
  EXPECT_EQ(first->FrameCounter, 1u);
  EXPECT_EQ(first->Frame, 1u);
}

TEST_F(AnimatorTreeTest, AStoppedItemRunsNoHookInAnyPass) {
  first->StopAnimation();
  HookLog().clear();

  parent.Timer();
  parent.SelectFrame();
  parent.AnimateFrame();

  EXPECT_TRUE(HooksOf("A").empty());
  EXPECT_EQ(HooksOf("B").size(), 8u);
  EXPECT_EQ(first->FrameCounter, 0u);
}

TEST_F(AnimatorTreeTest, AnItemStoppedInOnSelectFrameIsNeitherSelectedNorAnimated) {
  first->script.actions["OnSelectFrame"] = [this] { first->StopAnimation(); };

  parent.SelectFrame();
  parent.AnimateFrame();

  EXPECT_EQ(HooksOf("A"), Join({{"OnSelectFrame"}, kStopHooks}));
  EXPECT_EQ(HooksOf("B"), (Hooks{"OnSelectFrame", "DoSelectFrame", "DoPrepareFrame", "DoAnimateFrame",
                                 "DoNextFrame"}));
}

TEST_F(AnimatorTreeTest, AParentStoppedInOnSelectFrameSelectsNoItem) {
  parent.script.actions["OnSelectFrame"] = [this] { parent.StopAnimation(); };

  parent.SelectFrame();

  EXPECT_EQ(HooksOf("P"), Join({{"OnSelectFrame"}, kStopHooks}));
  EXPECT_EQ(HooksOf("A"), kStopHooks);  // stopped with the parent, not selected
  EXPECT_EQ(HooksOf("B"), kStopHooks);
}

TEST_F(AnimatorTest, ThrowingHookIsReportedExactlyAndPassedOnWithEarlierStateKept) {
  struct Case {
    const char* hook;
    bool animating;
    Operation operation;
    const char* report;
    bool animatingAfter;
  };
  const Case cases[] = {
      {"DoStartAnimation", false, Operation::Start,
       "LumoAnimator::StartAnimation() Unhandled exception during DoStartAnimation()", true},
      {"CanStartAnimation", false, Operation::Start,
       "LumoAnimator::StartAnimation() Unhandled exception during CanStartStartAnimation()", false},
      {"CanStopAnimation", true, Operation::Start,
       "LumoAnimator::StopAnimation() Unhandled exception during CanStopStopAnimation()", true},
      {"DoStopAnimation", true, Operation::Stop,
       "LumoAnimator::StopAnimation() Unhandled exception during DoStopAnimation()", false},
      {"DoPauseAnimation", true, Operation::Pause,
       "LumoAnimator::PauseAnimation() Unhandled exception during DoPauseAnimation()", false},
      {"DoResumeAnimation", false, Operation::Resume,
       "LumoAnimator::ResumeAnimation() Unhandled exception during DoResumeAnimation()", true},
      {"OnPreventAnimation", true, Operation::Prevent,
       "LumoAnimator::PreventAnimation() Unhandled exception during OnPreventAnimation()", true},
      {"DoForceAnimation", false, Operation::Force,
       "LumoAnimator::ForceAnimation() Unhandled exception during DoForceAnimation()", false},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.hook);
    SetDebugMode(DebugModeOff);
    SetDebugMode(DebugModeOverwrite);
    RecordingAnimator animator("a");
    animator.Animating = test.animating;
    animator.AnimationPrevented = test.operation == Operation::Force;
    animator.script.throwIn = test.hook;

    EXPECT_THROW(RunOperation(animator, test.operation), std::runtime_error);

    std::string log = testing_support::ReadDebugLog();
    // A start that fails inside its stop is reported twice: by the stop and
    // by the start around it.
    EXPECT_EQ(log.rfind(Report(test.report, animator), 0), 0u) << log;
    EXPECT_EQ(animator.Animating, test.animatingAfter);
  }
}

TEST_F(AnimatorTreeTest, FailingItemIsReportedByEveryEnclosingPass) {
  second->script.throwIn = "OnTimer";

  EXPECT_THROW(parent.Timer(), std::runtime_error);

  EXPECT_EQ(testing_support::ReadDebugLog(),
            Report("LumoAnimator::Timer() Unhandled exception during OnTimer()", *second) +
                Report("LumoAnimator::Timer() Unhandled exception during DoTimer()", parent));
  // The first item's pass had run; the parent's own steps after DoTimer did not.
  EXPECT_EQ(first->FrameCounter, 1u);
  EXPECT_EQ(parent.FrameCounter, 0u);
  EXPECT_EQ(HooksOf("P"), Hooks{"DoTimer"});
}

TEST_F(AnimatorTest, NextFrameFaultKeepsItsOwnSpelling) {
  RecordingAnimator animator("a");
  animator.Animating = true;
  animator.script.throwIn = "DoNextFrame";

  EXPECT_THROW(animator.AnimateFrame(), std::runtime_error);

  EXPECT_EQ(testing_support::ReadDebugLog(),
            Report("LumoAnimator::AnimationFrame() Unhandled exception during DoNextFrame()", animator));
}

TEST_F(AnimatorTest, FrameCyclesThroughAPulseWithoutAnEngine) {
  LumoAnimator animator;
  std::vector<uint32_t> completions;
  for (int pass = 0; pass < 24; ++pass) {
    completions.push_back(animator.UpdateTimer());
    EXPECT_LT(animator.Frame, 12u);
  }
  EXPECT_EQ(animator.FrameCounter, 24u);
  EXPECT_EQ(animator.Frame, 0u);
  EXPECT_EQ(completions[10], 0u);
  EXPECT_EQ(completions[11], 1u);
  EXPECT_EQ(completions[23], 1u);
}

TEST_F(AnimatorTest, ObjectModelHooksCopyClearAndFreeTheFields) {
  LumoAnimator source;
  source.FrameCounter = 7;
  source.Frame = 3;
  source.Animating = true;
  source.AnimationPrevented = true;
  LumoAnimator copy;
  ASSERT_TRUE(copy.Assign(&source));
  EXPECT_EQ(copy.FrameCounter, 7u);
  EXPECT_EQ(copy.Frame, 3u);
  EXPECT_TRUE(copy.Animating);
  EXPECT_TRUE(copy.AnimationPrevented);

  copy.Clear();
  EXPECT_EQ(copy.FrameCounter, 0u);
  EXPECT_EQ(copy.Frame, 0u);
  EXPECT_FALSE(copy.Animating);
  EXPECT_FALSE(copy.AnimationPrevented);

  auto* freed = new LumoAnimator;
  freed->Animating = true;
  freed->Free();
  EXPECT_FALSE(freed->Animating);
  EXPECT_TRUE(freed->AnimationPrevented);
  delete freed;
}

TEST_F(AnimatorTest, StoredFieldsRoundTripThroughAnObjectStream) {
  LumoAnimator source;
  source.FrameCounter = 0x01020304;
  source.Frame = 5;
  source.Animating = true;
  LumoMemoryStream stream;
  ASSERT_TRUE(stream.OpenNew(16, 1, 0));
  stream.SetGrowth(1024);
  ASSERT_TRUE(source.SaveObject(&stream, 0));
  stream.SetPosition(0);

  LumoObject* loaded = LoadObject(&stream, nullptr);
  auto* animator = dynamic_cast<LumoAnimator*>(loaded);
  ASSERT_NE(animator, nullptr);
  EXPECT_EQ(animator->FrameCounter, 0x01020304u);
  EXPECT_EQ(animator->Frame, 5u);
  EXPECT_TRUE(animator->Animating);
  EXPECT_FALSE(animator->AnimationPrevented);
  DestroyObject(loaded);
}

}  // namespace
}  // namespace framework_testing
