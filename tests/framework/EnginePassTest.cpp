#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "platform/Testing.h"
#include "runtime/Display.h"
#include "runtime/Graphics.h"
#include "runtime/Regions.h"
#include "support/ChildProcess.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

using Hooks = std::vector<std::string>;
using testing_support::ReadDebugLog;

// True when every entry of `expected` appears in `log` in the same order.
bool InOrder(const Hooks& log, const Hooks& expected) {
  size_t at = 0;
  for (const std::string& entry : log) {
    if (at < expected.size() && entry == expected[at]) {
      ++at;
    }
  }
  return at == expected.size();
}

std::string Pointer(const void* object) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", object);
  return text;
}

// An animator that says when it is deleted.
class Watched : public RecordingAnimator {
 public:
  Watched(std::string label, bool& deleted) : RecordingAnimator(std::move(label)), deleted_(deleted) {}
  ~Watched() override { deleted_ = true; }

 private:
  bool& deleted_;
};

// A level with one input region over the whole screen, released with it.
class RegionLevel : public TestLevel {
 public:
  RegionLevel() : TestLevel("level") { region = CreateRegion(this, 0, 0, 800, 600); }
  ~RegionLevel() override { DestroyRegion(region); }
  RegionHandle region = nullptr;
};

class EnginePassTest : public FrameworkTest {
 protected:
  // The engine requests one level whose populate step adds one recording
  // item; answers the level once the engine exists.
  void RequestOneLevel(std::function<void(TestLevel&)> build = nullptr) {
    populate = [this, build](TestEngine& engine) {
      level = AppendLevel(engine, "level");
      level->populate = [this, build](TestLevel& populated) {
        item = new RecordingAnimator("item");
        populated.Append(item);
        if (build) {
          build(populated);
        }
      };
      engine.RequestLevel(level);
    };
  }

  TestLevel* level = nullptr;
  RecordingAnimator* item = nullptr;
  int frames = 0;
};

TEST_F(EnginePassTest, PulseSwitchesPostPopulatesAndDrawsOneFrameOfTheLevel) {
  const sRGB red{0, 0, 255};
  bool victimDeleted = false;
  bool victimAliveAfterDisposal = false;
  uint32_t backgroundSeenByTheLevel = 0;
  Watched* victim = nullptr;
  RequestOneLevel([&](TestLevel& populated) {
    populated.SetBackgroundColour(red);
    victim = new Watched("victim", victimDeleted);
    populated.Append(victim);
    Engine->SetPostPopulating(true);
    item->script.actions["OnTimer"] = [&] { backgroundSeenByTheLevel = GetGraphicPixel(GetBackground(), 1, 1); };
    item->script.actions["DoAnimateFrame"] = [&] {
      SetGraphicPixel(GetBackground(), 5, 5, GetColor(0, 255, 0));
      Engine->DisposeObject(victim);
    };
    item->script.actions["DoNextFrame"] = [&] {
      victimAliveAfterDisposal = !victimDeleted && victim->parent != level;
    };
  });
  ASSERT_TRUE(Start());
  EXPECT_EQ(Period(), 83u);

  ASSERT_TRUE(Pulse());

  EXPECT_EQ(Engine->Level, level);
  EXPECT_TRUE(InOrder(HookLog(), {"level:OnReset", "level:DoPopulate", "level:DoPostPopulate",
                                  "level:OnPostPopulate", "level:DoTimer", "item:DoTimer", "item:OnTimer",
                                  "item:UpdateTimer", "level:OnSelectFrame", "item:OnSelectFrame",
                                  "item:DoSelectFrame", "item:DoPrepareFrame", "level:DoAnimateFrame",
                                  "item:DoAnimateFrame", "item:DoNextFrame", "level:DoNextFrame"}));
  // The background was laid before the level's timer pass, and the frame
  // was presented after the animation.
  EXPECT_EQ(backgroundSeenByTheLevel, GetColor(255, 0, 0));
  const platform::testing::PresentedFrame frame = platform::testing::LastPresentedFrame();
  EXPECT_EQ(frame.width, 800);
  EXPECT_EQ(frame.height, 600);
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 1, 1), GetColor(255, 0, 0));
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 5, 5), GetColor(0, 255, 0));
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 799, 599), GetColor(255, 0, 0));
  // Disposed of during the frame: out of its list at once, deleted after it.
  EXPECT_TRUE(victimAliveAfterDisposal);
  EXPECT_TRUE(victimDeleted);
  EXPECT_EQ(Engine->DisposalList->Count, 0);
  EXPECT_EQ(Engine->FrameCounter, 1u);
  EXPECT_EQ(level->FrameCounter, 1u);
}

TEST_F(EnginePassTest, KeyInjectedDuringAFrameReachesOnKeyDownInsideThatFrame) {
  populate = [this](TestEngine& engine) {
    auto* regionLevel = new RegionLevel;
    engine.Append(regionLevel);
    level = regionLevel;
    regionLevel->populate = [this](TestLevel& populated) {
      item = new RecordingAnimator("item");
      populated.Append(item);
      item->script.actions["DoAnimateFrame"] = [this] {
        if (++frames == 3) {
          platform::testing::InjectMessage({platform::MessageKind::KeyDown, 'K'});
        }
      };
    };
    engine.RequestLevel(regionLevel);
  };
  ASSERT_TRUE(Start());
  void* keyRegionUser = nullptr;
  int32_t key = 0;
  engine()->keyDown = [&](tInputEvent* event) {
    HookLog().push_back("engine:OnKeyDown");
    keyRegionUser = event->User;
    key = event->Code;
    return true;
  };
  const void* levelAddress = level;

  EXPECT_EQ(RunFor(400), RTSSuccess);

  EXPECT_EQ(key, 'K');
  EXPECT_EQ(keyRegionUser, levelAddress);
  EXPECT_TRUE(InOrder(HookLog(), {"item:DoAnimateFrame", "item:DoNextFrame", "engine:OnKeyDown",
                                  "level:DoNextFrame"}));
  // Exactly once, in the third frame: after its animation, before its end.
  int seen = 0;
  for (size_t at = 0; at < HookLog().size(); ++at) {
    if (HookLog()[at] == "engine:OnKeyDown") {
      ++seen;
      ASSERT_GE(at, 2u);
      EXPECT_EQ(HookLog()[at - 1], "item:DoNextFrame");
      EXPECT_EQ(HookLog()[at + 1], "level:DoNextFrame");
    }
  }
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(Engine, nullptr);  // the destruct callback deleted it
}

TEST_F(EnginePassTest, MainLoopTicksOncePerPeriodAndNeverCatchesUp) {
  std::vector<uint32_t> passes;
  RequestOneLevel([&](TestLevel&) {
    item->script.actions["OnTimer"] = [&] {
      passes.push_back(Now());
      if (passes.size() == 4) {
        Engine->SetFramesPerPulse(24);
      }
      if (passes.size() == 7) {
        platform::testing::StepClock(500);  // a frame that stalls half a second
      }
    };
  });
  ASSERT_TRUE(Start());

  EXPECT_EQ(RunFor(1000), RTSSuccess);

  ASSERT_GE(passes.size(), 10u);
  std::vector<uint32_t> gaps;
  for (size_t at = 1; at < passes.size(); ++at) {
    gaps.push_back(passes[at] - passes[at - 1]);
  }
  // The first frame ran with the switch; starting the level started the
  // timer again, due at once. The new rate takes over after the tick that
  // was already scheduled; the stall delays the next tick without a second.
  const std::vector<uint32_t> expected = {0, 83, 83, 83, 41, 41, 500, 41, 41};
  EXPECT_EQ(std::vector<uint32_t>(gaps.begin(), gaps.begin() + 9), expected);
}

TEST_F(EnginePassTest, NoLevelAndNoneRequestedEndsTheProcess) {
  RequestOneLevel();
  const int code = testing_support::RunInChild([this] {
    if (!Start() || !Pulse()) {
      std::_Exit(3);
    }
    DestroyObject(Engine->Level);
    Pulse();
    std::_Exit(4);
  });

  EXPECT_EQ(code, 0);
  const std::string log = ReadDebugLog();
  EXPECT_NE(log.find("Game terminated\n"), std::string::npos);
  EXPECT_NE(log.find("\nDestructing the game...\nGame destructed\n"), std::string::npos);
}

// Without the callback's own guard the fault would leave the timer callback
// and the main loop, and end the program.
TEST_F(EnginePassTest, FaultInAFrameIsReportedAndSkipsOnlyThatFrame) {
  RequestOneLevel();
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Pulse());
  const uint32_t framesBefore = Engine->FrameCounter;
  item->script.throwIn = "OnTimer";
  HookLog().clear();

  ASSERT_TRUE(Pulse());

  const std::string engineText = Pointer(Engine) + ":TestEngine";
  const std::string expectedReports =
      "LumoAnimator::Timer() Unhandled exception during OnTimer() (Object=" + Pointer(item) + ":LumoAnimator)\n" +
      "LumoAnimator::Timer() Unhandled exception during DoTimer() (Object=" + Pointer(level) + ":TestLevel)\n" +
      "LumoEngine::Animate() Unhandled exception during TestLevel::Timer() (FrameCounter=" +
      std::to_string(framesBefore) + ", Engine=" + engineText + ")\n" +
      "LumoEngine::DoTimer() Unhandled exception during Animate() (Engine=" + engineText + ")\n" +
      "LumoAnimator::Timer() Unhandled exception during DoTimer() (Object=" + engineText + ")\n" +
      "EnginePulse() Unhandled exception, ignored (Engine=" + engineText + ")\n";
  const std::string log = ReadDebugLog();
  EXPECT_NE(log.find(expectedReports), std::string::npos) << log;
  // The rest of the frame did not run, and the engine did not count it.
  EXPECT_EQ(HooksOf("item"), (Hooks{"DoTimer", "OnTimer"}));
  EXPECT_EQ(Engine->FrameCounter, framesBefore);

  item->script.throwIn.clear();
  HookLog().clear();
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(HooksOf("item"), (Hooks{"DoTimer", "OnTimer", "UpdateTimer", "OnSelectFrame", "DoSelectFrame",
                                    "DoPrepareFrame", "DoAnimateFrame", "DoNextFrame"}));
  EXPECT_EQ(Engine->FrameCounter, framesBefore + 1);
}

TEST_F(EnginePassTest, DisposingTwiceOrWithoutAFrameIsHarmless) {
  RequestOneLevel();
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Pulse());
  bool firstDeleted = false;
  bool secondDeleted = false;
  auto* first = new Watched("first", firstDeleted);
  auto* second = new Watched("second", secondDeleted);
  level->Append(first);
  level->Append(second);
  first->StartAnimation();
  HookLog().clear();

  Engine->DisposeObject(first);
  Engine->DisposeObject(first);
  Engine->DisposeObject(nullptr);
  Engine->DisposeObject(second);

  EXPECT_EQ(HooksOf("first"), (Hooks{"BeforeStopAnimation", "CanStopAnimation", "DoStopAnimation",
                                     "OnStopAnimation", "AfterStopAnimation"}));
  EXPECT_EQ(Engine->DisposalList->Count, 2);
  EXPECT_EQ(level->Count, 1);
  EXPECT_FALSE(firstDeleted);
  ASSERT_TRUE(Pulse());
  EXPECT_TRUE(firstDeleted);
  EXPECT_TRUE(secondDeleted);

  // Queued objects that no frame reached go with the engine.
  bool lateDeleted = false;
  auto* late = new Watched("late", lateDeleted);
  level->Append(late);
  Engine->DisposeObject(late);
  DestroyEngine();
  EXPECT_TRUE(lateDeleted);
}

}  // namespace
}  // namespace framework_testing
