#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "platform/Testing.h"
#include "runtime/Timer.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

using Hooks = std::vector<std::string>;
using testing_support::ReadDebugLog;

std::string LevelText(const LumoLevel* level) {
  char text[64];
  std::snprintf(text, sizeof text, "(Level=%p:TestLevel)", static_cast<const void*>(level));
  return text;
}

bool Has(const Hooks& hooks, const std::string& hook) {
  for (const std::string& entry : hooks) {
    if (entry == hook) {
      return true;
    }
  }
  return false;
}

// Two levels, "old" current and running with one item, "new" waiting; each
// level adds one item when it is populated.
class LevelSwitchTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    populate = [this](TestEngine& engine) {
      oldLevel = AddLevel(engine, "old");
      newLevel = AddLevel(engine, "new");
      engine.RequestLevel(oldLevel);
    };
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Pulse());
    ASSERT_EQ(Engine->Level, oldLevel);
    HookLog().clear();
  }

  static TestLevel* AddLevel(LumoEngine& engine, const std::string& label) {
    TestLevel* level = AppendLevel(engine, label);
    level->populate = [label](TestLevel& populated) { populated.Append(new RecordingAnimator(label + "Item")); };
    return level;
  }

  // Requests a level and runs the pass that switches it in.
  void SwitchTo(TestLevel* level) {
    HookLog().clear();
    ASSERT_EQ(Engine->RequestLevel(level), level);
    EXPECT_EQ(Engine->Flags & LumoEngine::kLevelRequestedFlag, LumoEngine::kLevelRequestedFlag);
    ASSERT_TRUE(Pulse());
    EXPECT_EQ(Engine->Flags & LumoEngine::kLevelRequestedFlag, 0u);
  }

  TestLevel* oldLevel = nullptr;
  TestLevel* newLevel = nullptr;
};

TEST_F(LevelSwitchTest, CloseModesCloseTheOldLevelAndTheNewOneStartsOrResumes) {
  struct Case {
    uint32_t mode;
    const char* opening;  // the close's first log line, "" for none
    const char* closing;
    Hooks hooks;           // the old level's close hooks
    bool keepsItems;
  };
  const Case cases[] = {
      {0, "LumoEngine::Select() Destroying level... ", "LumoEngine::Select() Level destroyed\n", {"OnDestroy"}, false},
      {1, "LumoEngine::Select() Emptying level... ", "LumoEngine::Select() Level Emptied\n",
       {"OnEmpty", "ClearSources"}, false},
      {2, "LumoEngine::Select() Freezing level... ", "LumoEngine::Select() Level frozen\n",
       {"OnFreeze", "OnPause", "UnloadSources"}, true},
      {3, "LumoEngine::Select() Pausing level... ", "LumoEngine::Select() Level paused\n", {"OnPause"}, true},
      {7, "", "", {}, true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.mode);
    TearDown();
    SetUp();
    oldLevel->SetCloseMode(test.mode);
    const std::string oldText = LevelText(oldLevel);
    const size_t logBefore = ReadDebugLog().size();

    SwitchTo(newLevel);

    const std::string log = ReadDebugLog().substr(logBefore);
    const Hooks oldHooks = HooksOf("old");
    // Every mode pauses the old level first; other modes close nothing more.
    ASSERT_GE(oldHooks.size(), 2u);
    EXPECT_EQ(oldHooks[0], "DoPauseAnimation");
    EXPECT_EQ(oldHooks[1], "CanClose");
    for (const char* hook : {"OnDestroy", "OnEmpty", "OnFreeze", "OnPause", "UnloadSources"}) {
      bool expected = false;
      for (const std::string& wanted : test.hooks) {
        expected = expected || wanted == hook;
      }
      EXPECT_EQ(Has(oldHooks, hook), expected) << hook;
    }
    for (const Case& other : cases) {
      if (*other.opening != '\0') {
        const bool expected = other.mode == test.mode;
        EXPECT_EQ(log.find(std::string(other.opening) + oldText + "\n") != std::string::npos, expected) << log;
        EXPECT_EQ(log.find(other.closing) != std::string::npos, expected) << log;
      }
    }
    EXPECT_NE(log.find("LumoEngine::Select() Starting level... " + LevelText(newLevel) + "\n"), std::string::npos);
    EXPECT_NE(log.find("LumoEngine::Select() Level started\n"), std::string::npos);
    EXPECT_EQ(Engine->Level, newLevel);
    EXPECT_EQ(Engine->NewLevel, nullptr);
    EXPECT_TRUE(Engine->Animating);
    EXPECT_TRUE(newLevel->Animating);
    const Hooks newHooks = HooksOf("new");
    EXPECT_TRUE(Has(newHooks, "OnReset"));
    EXPECT_TRUE(Has(newHooks, "DoPopulate"));
    EXPECT_EQ(newLevel->Count, 1);
    if (test.mode == 0) {
      EXPECT_EQ(Engine->Count, 1);  // the old level is gone
      continue;
    }
    EXPECT_FALSE(oldLevel->Animating);
    EXPECT_EQ(oldLevel->Count, test.keepsItems ? 1 : 0);

    // Back to the old level: one that kept its items resumes, an emptied one
    // starts again.
    SwitchTo(oldLevel);
    const std::string back = ReadDebugLog();
    const Hooks again = HooksOf("old");
    EXPECT_EQ(Engine->Level, oldLevel);
    EXPECT_TRUE(oldLevel->Animating);
    if (test.keepsItems) {
      EXPECT_NE(back.find("LumoEngine::Select() Resuming level... " + LevelText(oldLevel) + "\n"),
                std::string::npos);
      EXPECT_NE(back.find("LumoEngine::Select() Level resumed\n"), std::string::npos);
      EXPECT_TRUE(Has(again, "LoadSources"));
      EXPECT_TRUE(Has(again, "DoResumeAnimation"));
      EXPECT_TRUE(Has(again, "OnContinue"));
      EXPECT_FALSE(Has(again, "OnReset"));
      EXPECT_FALSE(Has(again, "DoPopulate"));
    } else {
      EXPECT_TRUE(Has(again, "OnReset"));
      EXPECT_TRUE(Has(again, "DoPopulate"));
      EXPECT_EQ(oldLevel->Count, 1);
    }
  }
}

TEST_F(LevelSwitchTest, LevelThatRefusesToCloseStaysCurrentAndTheRequestIsDropped) {
  oldLevel->script.answers["CanClose"] = false;

  SwitchTo(newLevel);

  EXPECT_EQ(Engine->Level, oldLevel);
  EXPECT_EQ(Engine->NewLevel, nullptr);
  EXPECT_TRUE(Engine->Animating);
  EXPECT_TRUE(oldLevel->Animating);
  EXPECT_TRUE(HooksOf("new").empty());
  EXPECT_TRUE(Has(HooksOf("old"), "DoResumeAnimation"));
  // The same pass animated the old level, and the timer runs on.
  EXPECT_TRUE(Has(HooksOf("oldItem"), "DoAnimateFrame"));
  HookLog().clear();
  ASSERT_TRUE(Pulse());
  EXPECT_TRUE(Has(HooksOf("oldItem"), "DoAnimateFrame"));
}

TEST_F(LevelSwitchTest, RequestsOfNoneOrTheCurrentLevelAreIgnoredAndALaterRequestWins) {
  EXPECT_EQ(Engine->RequestLevel(nullptr), nullptr);
  EXPECT_EQ(Engine->RequestLevel(oldLevel), nullptr);
  EXPECT_EQ(Engine->NewLevel, nullptr);
  EXPECT_EQ(Engine->Flags & LumoEngine::kLevelRequestedFlag, 0u);

  TestLevel* third = AddLevel(*Engine, "third");
  EXPECT_EQ(Engine->RequestLevel(newLevel), newLevel);
  SwitchTo(third);

  EXPECT_EQ(Engine->Level, third);
  EXPECT_TRUE(HooksOf("new").empty());
  EXPECT_EQ(newLevel->Count, 0);
}

TEST_F(LevelSwitchTest, ResumedLevelGetsItsOwnLowerFrameRateBack) {
  oldLevel->SetCloseMode(LumoEngine::ClosePause);
  newLevel->SetCloseMode(LumoEngine::ClosePause);
  newLevel->populate = [](TestLevel& populated) {
    populated.Append(new RecordingAnimator("newItem"));
    Engine->SetFramesPerPulse(24);
  };
  EXPECT_EQ(Engine->FramesPerPulse, 12u);
  SwitchTo(newLevel);
  EXPECT_EQ(Engine->FramesPerPulse, 24u);
  EXPECT_EQ(Period(), 41u);

  SwitchTo(oldLevel);

  EXPECT_EQ(Engine->FramesPerPulse, 12u);
  EXPECT_EQ(Period(), 83u);
  // Resuming the engine started the timer again, due at once; then it runs
  // at the restored period: no tick before 83 ms are up.
  EXPECT_TRUE(PollTimer(Now()));
  platform::testing::StepClock(82);
  EXPECT_FALSE(PollTimer(Now()));
  platform::testing::StepClock(1);
  EXPECT_TRUE(PollTimer(Now()));
}

TEST_F(LevelSwitchTest, PausedLevelGivesBackTheEngineSettingsItKept) {
  oldLevel->SetCloseMode(LumoEngine::ClosePause);
  newLevel->SetCloseMode(LumoEngine::ClosePause);
  Engine->SetCursorCount(3);
  Engine->SetPulseDuration(2000);
  LumoFontNode* first = Engine->FontList->ConfigureFont("First", 8, 4, 1, 8);
  LumoFontNode* kept = Engine->FontList->ConfigureFont("Kept", 8, 4, 1, 8);
  Engine->SetFont(kept);
  ASSERT_TRUE(Pulse());
  const uint32_t frameCounter = Engine->FrameCounter;
  const uint32_t frame = Engine->Frame;
  newLevel->populate = [&](TestLevel&) {
    Engine->SetPulseDuration(500);
    Engine->SetFont(first);
  };
  SwitchTo(newLevel);
  EXPECT_EQ(Engine->CursorCount, 0u);  // the new level was reset
  ASSERT_TRUE(Pulse());
  ASSERT_TRUE(Pulse());

  SwitchTo(oldLevel);

  EXPECT_EQ(Engine->CursorCount, 3u);
  EXPECT_EQ(Engine->PulseDuration, 2000u);
  EXPECT_EQ(Engine->Font, kept);
  // Counted on from the kept values by the pass that switched back.
  EXPECT_EQ(Engine->FrameCounter, frameCounter + 1);
  EXPECT_EQ(Engine->Frame, (frame + 1) % 12);

  // A kept font freed while its level waits is forgotten: the first font
  // comes back in its place.
  SwitchTo(newLevel);
  DestroyObject(kept);
  EXPECT_EQ(oldLevel->SavedFont, nullptr);
  SwitchTo(oldLevel);
  EXPECT_EQ(Engine->Font, first);
}

TEST_F(LevelSwitchTest, AFaultDuringASwitchLeavesALevelCurrentAndTheEngineRunning) {
  struct Case {
    const char* name;
    uint32_t closeMode;
    bool newFails;       // the hook that throws is the new level's (else the old one's)
    const char* hook;
    bool newHasItems;    // the new level is resumed rather than started
    bool newBecomesCurrent;
  };
  const Case cases[] = {
      {"old OnDestroy", 0, false, "OnDestroy", false, false},
      {"old OnEmpty", 1, false, "OnEmpty", false, false},
      {"old OnFreeze", 2, false, "OnFreeze", false, false},
      {"old OnPause", 3, false, "OnPause", false, false},
      {"new OnReset", 3, true, "OnReset", false, true},
      {"new DoPopulate", 1, true, "DoPopulate", false, true},
      {"new OnContinue", 3, true, "OnContinue", true, true},
      {"new LoadSources", 2, true, "LoadSources", true, true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    TearDown();
    SetUp();
    oldLevel->SetCloseMode(test.closeMode);
    if (test.newHasItems) {
      newLevel->Append(new RecordingAnimator("newItem"));
    }
    (test.newFails ? newLevel : oldLevel)->script.throwIn = test.hook;

    SwitchTo(newLevel);

    LumoLevel* current = test.newBecomesCurrent ? static_cast<LumoLevel*>(newLevel) : oldLevel;
    const std::string currentLabel = test.newBecomesCurrent ? "new" : "old";
    EXPECT_EQ(Engine->Level, current);
    EXPECT_EQ(Engine->NewLevel, nullptr);
    EXPECT_TRUE(Engine->Animating);
    EXPECT_TRUE(current->Animating);
    // The timer runs on: the next pass comes and runs the current level.
    HookLog().clear();
    ASSERT_TRUE(Pulse());
    EXPECT_TRUE(Has(HooksOf(currentLabel), "DoTimer"));
    if (test.newHasItems || !test.newBecomesCurrent) {
      EXPECT_TRUE(Has(HooksOf(currentLabel + "Item"), "DoAnimateFrame"));
    }

    // A later request is switched in as usual.
    oldLevel->script.throwIn.clear();
    newLevel->script.throwIn.clear();
    oldLevel->SetCloseMode(3);
    newLevel->SetCloseMode(3);
    TestLevel* other = test.newBecomesCurrent ? oldLevel : newLevel;
    SwitchTo(other);
    EXPECT_EQ(Engine->Level, other);
    EXPECT_TRUE(Engine->Animating);
    HookLog().clear();
    ASSERT_TRUE(Pulse());
    EXPECT_TRUE(Has(HooksOf(test.newBecomesCurrent ? "old" : "new"), "DoTimer"));
  }
}

TEST_F(LevelSwitchTest, AFaultDuringPostPopulateLeavesTheEngineRunning) {
  for (const char* hook : {"DoPostPopulate", "OnPostPopulate"}) {
    SCOPED_TRACE(hook);
    oldLevel->script.throwIn = hook;
    Engine->SetPostPopulating(true);
    HookLog().clear();

    ASSERT_TRUE(Pulse());

    EXPECT_TRUE(Has(HooksOf("old"), hook));
    EXPECT_FALSE(Engine->PostPopulating);
    EXPECT_TRUE(Engine->Animating);
    EXPECT_TRUE(oldLevel->Animating);
    HookLog().clear();
    ASSERT_TRUE(Pulse());
    EXPECT_TRUE(Has(HooksOf("oldItem"), "DoAnimateFrame"));
  }
}

}  // namespace
}  // namespace framework_testing
