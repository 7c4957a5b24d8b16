#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "platform/Testing.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace framework_testing {
namespace {

using testing_support::ReadDebugLog;

class EngineSettingsTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    ASSERT_TRUE(Start());
  }

  // The engine started without a level, so its timer is off: starting it
  // again with a level requested switches the timer on, and one pass
  // switches the level in.
  bool SwitchTo(LumoLevel* level) {
    Engine->RequestLevel(level);
    Engine->StartAnimation();
    return Pulse() && Engine->Level == level;
  }
};

TEST_F(EngineSettingsTest, ConstructionAndPopulationSetTheEngineUp) {
  EXPECT_EQ(Engine, engine());
  EXPECT_EQ(Engine->ScreenWidth, 800);
  EXPECT_EQ(Engine->ScreenHeight, 600);
  EXPECT_EQ(Engine->BitsPerPixel, 16);
  EXPECT_NE(Engine->ScreenViewport, nullptr);
  EXPECT_NE(Engine->FrameTimer, nullptr);
  ASSERT_TRUE(Engine->DisposalList);
  EXPECT_EQ(Engine->FramesPerPulse, 12u);
  EXPECT_EQ(Engine->PulseDuration, 1000u);
  EXPECT_EQ(Period(), 83u);
  // Populated and activated, but with no level to run the timer stays off.
  EXPECT_TRUE(Engine->Animating);
  EXPECT_FALSE(PollTimer(Now() + 1000));
  EXPECT_NE(ReadDebugLog().find("***** Serving the DirectLumo Games Engine 1.7.8.0 (English release build)\n"),
            std::string::npos);
  EXPECT_EQ(EngineInformation.signature, kInformationSignature);
  EXPECT_EQ(EngineInformation.version, 0x01070800u);
  EXPECT_EQ(EngineInformation.terminateQuery, &QueryGameTermination);
  EXPECT_FALSE(PopulateObject(nullptr));
}

TEST_F(EngineSettingsTest, FrameRateAndPulseSettersKeepTheirRules) {
  struct Step {
    const char* name;
    bool frames;  // SetFramesPerPulse, else SetPulseDuration
    uint32_t value;
    uint32_t answer;
    uint32_t period;
  };
  const Step steps[] = {
      {"raise to 24", true, 24, 24, 41},  {"10 keeps 24", true, 10, 24, 41}, {"24 again", true, 24, 24, 41},
      {"0 resets to 12", true, 0, 12, 83}, {"2000 ms", false, 2000, 2000, 166},
      {"0 ms means 1000", false, 0, 1000, 83},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    const uint32_t answer = step.frames ? Engine->SetFramesPerPulse(step.value) : Engine->SetPulseDuration(step.value);
    EXPECT_EQ(answer, step.answer);
    EXPECT_EQ(Period(), step.period);
  }
}

TEST_F(EngineSettingsTest, UpdateTimerCompletesAPulseEveryFramesPerPulsePasses) {
  Engine->SetFramesPerPulse(24);
  LumoAnimator animator;
  std::vector<uint32_t> frames;
  uint32_t completions = 0;
  for (int pass = 0; pass < 48; ++pass) {
    const uint32_t completed = animator.UpdateTimer();
    completions += completed;
    if (completed == 1) {
      frames.push_back(animator.FrameCounter);
    }
    EXPECT_LT(animator.Frame, 24u);
  }
  EXPECT_EQ(completions, 2u);
  EXPECT_EQ(frames, (std::vector<uint32_t>{24, 48}));
}

TEST_F(EngineSettingsTest, StyleDefaultsAndSetters) {
  EXPECT_EQ(Engine->MenuFillerAllowance(), 24);
  EXPECT_EQ(Engine->OptionGutter(), 16);
  EXPECT_EQ(Engine->DefaultBevelWidth(), 4);
  EXPECT_EQ(Engine->ControlGap(), 4);
  EXPECT_EQ(Engine->ControlMargin(), 2);
  EXPECT_EQ(Engine->DefaultBevelStyle(), 33);
  const auto rgb = [](const sRGB& colour) {
    return std::vector<int>{colour.Red, colour.Green, colour.Blue};
  };
  EXPECT_EQ(rgb(Engine->TransparentKeyColour()), (std::vector<int>{255, 0, 255}));
  EXPECT_EQ(rgb(Engine->BevelColour(0)), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(rgb(Engine->BevelColour(3)), (std::vector<int>{127, 127, 127}));
  EXPECT_EQ(rgb(Engine->FaceColour()), (std::vector<int>{191, 191, 191}));
  EXPECT_EQ(rgb(Engine->LightControlColour()), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(rgb(Engine->DarkControlColour()), (std::vector<int>{127, 127, 127}));
  EXPECT_EQ(rgb(Engine->StyleColours[8]), (std::vector<int>{63, 0, 0}));

  EXPECT_EQ(Engine->SetStyleMetric3(-5), 0);
  EXPECT_EQ(Engine->DefaultBevelWidth(), 0);
  EXPECT_EQ(Engine->SetStyleMetric5(3), 3);
  EXPECT_EQ(Engine->ControlMargin(), 3);
  EXPECT_EQ(Engine->ControlGap(), 6);
  EXPECT_EQ(Engine->SetStyleMetric5(-1), 3);
  EXPECT_EQ(Engine->ControlGap(), 6);
  EXPECT_EQ(Engine->SetStyleMetric1(-7), -7);
  const sRGB face{1, 2, 3};
  EXPECT_EQ(rgb(Engine->SetStyleColour6(face)), rgb(face));
  EXPECT_EQ(rgb(Engine->FaceColour()), rgb(face));
}

TEST_F(EngineSettingsTest, LookNamesStandInTheirTableOrder) {
  ASSERT_NE(Engine->LookNames, nullptr);
  const char* const* names = Engine->LookNames;
  EXPECT_STREQ(names[0], "_BALeft");
  EXPECT_STREQ(names[1], "_BHLeft");
  EXPECT_STREQ(names[3], "_BPLeft");
  EXPECT_STREQ(names[4], "_BARight");
  EXPECT_STREQ(names[63], "_BPRefresh");
  EXPECT_STREQ(names[64], "_IAAccept");
  EXPECT_STREQ(names[71], "_IPReject");
  EXPECT_STREQ(names[72], "");
  EXPECT_STREQ(names[73], "");
  EXPECT_STREQ(names[74], "_SubMenu");
  EXPECT_STREQ(names[75], "_UnknownDisk");
  EXPECT_STREQ(names[81], "_RAMDisk");
  EXPECT_STREQ(names[82], "_ClosedFolder");
  EXPECT_STREQ(names[87], "_SystemFile");
  EXPECT_STREQ(Engine->ButtonLookName(LumoEngine::LookThumb, LumoEngine::LookStateD), "_BDThumb");
  EXPECT_STREQ(Engine->IconLookName(LumoEngine::IconReject, LumoEngine::LookStateH), "_IHReject");
  EXPECT_STREQ(Engine->SubMenuLookName(), "_SubMenu");
  EXPECT_STREQ(Engine->DriveLookName(5), "_CDROMDisk");
  EXPECT_STREQ(Engine->DriveLookName(99), "_UnknownDisk");
  EXPECT_STREQ(Engine->FileLookName(LumoEngine::HiddenFile), "_HiddenFile");
  EXPECT_EQ(Engine->LabelFont(), nullptr);
}

TEST_F(EngineSettingsTest, CloseQueryAgreesUnlessARunningLevelObjects) {
  struct RefusingLevel : TestLevel {
    bool CanQuit() override { return false; }
  };
  EXPECT_TRUE(Engine->QueryClose());  // no level
  auto* level = new RefusingLevel;
  Engine->Append(level);
  level->populate = [](TestLevel& populated) { populated.Append(new RecordingAnimator("item")); };
  ASSERT_TRUE(SwitchTo(level));
  EXPECT_FALSE(QueryGameTermination());  // the running level's CanQuit answers

  Engine->SetBusy(true);
  EXPECT_TRUE(Engine->QueryClose());
  Engine->SetBusy(false);
  level->Clear();
  EXPECT_TRUE(Engine->QueryClose());  // an empty level
}

TEST_F(EngineSettingsTest, CursorCountShowsAndHidesOnlyAcrossZero) {
  Engine->HideCursor();
  EXPECT_EQ(Engine->CursorCount, 0u);
  Engine->ShowCursor(true);
  Engine->ShowCursor(true);
  EXPECT_EQ(Engine->CursorCount, 2u);
  Engine->HideCursor();
  Engine->HideCursor();
  Engine->HideCursor();
  EXPECT_EQ(Engine->CursorCount, 0u);
  Engine->SetCursorCount(5);
  EXPECT_EQ(Engine->CursorCount, 5u);
  Engine->SetCursorPosition(40, 30);
  int32_t x = 0;
  int32_t y = 0;
  Engine->QueryCursorPosition(x, y);
  EXPECT_EQ(x, 40);
  EXPECT_EQ(y, 30);
}

TEST_F(EngineSettingsTest, LevelOutsideAnEngineRefusesToAnimate) {
  TestLevel outside("outside");
  outside.StartAnimation();

  EXPECT_FALSE(outside.Animating);
  char expected[160];
  std::snprintf(expected, sizeof expected,
                "LumoLevel::CanStartAnimation() The level is not appended to an engine (Level=%p:TestLevel)\n",
                static_cast<const void*>(&outside));
  EXPECT_NE(ReadDebugLog().find(expected), std::string::npos);
}

TEST_F(EngineSettingsTest, TaskSwitchCallbacksReachTheCurrentLevel) {
  StoreLevelMemory();  // no level yet: nothing
  TestLevel* level = AppendLevel(*Engine, "level");
  ASSERT_TRUE(SwitchTo(level));
  HookLog().clear();

  EngineInformation.taskSwitch();
  EngineInformation.restore();

  EXPECT_EQ(HooksOf("level"),
            (std::vector<std::string>{"DoStoreMemory", "OnStoreMemory", "DoRestoreMemory", "OnRestoreMemory"}));

  // A failing hook is reported twice and goes no further than the callback.
  level->script.throwIn = "DoStoreMemory";
  EngineInformation.taskSwitch();
  char expected[160];
  std::snprintf(expected, sizeof expected,
                "LumoLevel::StoreMemory() Unhandled exception during DoStoreMemory (Level=%p:TestLevel)\n"
                "StoreLevelMemory() Unhandled exception, ignored (Engine=%p:TestEngine)\n",
                static_cast<const void*>(level), static_cast<const void*>(Engine));
  EXPECT_NE(ReadDebugLog().find(expected), std::string::npos);
}

// An input callback must not let a handler's fault out of the run-time's
// message handling: it logs one line and answers "not handled".
TEST_F(EngineSettingsTest, FailingInputHandlerIsIgnoredByItsCallback) {
  engine()->keyDown = [](tInputEvent*) -> bool { throw std::runtime_error("handler"); };
  tInputEvent event{};
  EXPECT_FALSE(ForwardKeyDown(&event));
  char expected[96];
  std::snprintf(expected, sizeof expected, "ForwardKeyDown() Unhandled exception, ignored (Engine=%p:TestEngine)\n",
                static_cast<const void*>(Engine));
  EXPECT_NE(ReadDebugLog().find(expected), std::string::npos);
  engine()->keyDown = nullptr;
}

TEST_F(EngineSettingsTest, DumpsWriteTheEngineAndItsLevels) {
  SetDebugLevel(DebugLevelMaximum);
  TestLevel* level = AppendLevel(*Engine, "level");
  ASSERT_TRUE(SwitchTo(level));
  LumoGraphicNode* picture = Engine->GraphicList->ProvideGraphicAt("Debug", 0, 0);
  picture->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(20, 10, sRGB{0, 0, 255})));
  const size_t before = ReadDebugLog().size();

  Engine->DebugSystem();

  // The "Debug" picture was shown centred while the dump was written.
  const auto frame = platform::testing::LastPresentedFrame();
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 390, 295), GetColor(255, 0, 0));
  EXPECT_EQ(platform::testing::PresentedPixel(frame, 409, 304), GetColor(255, 0, 0));
  EXPECT_NE(platform::testing::PresentedPixel(frame, 410, 305), GetColor(255, 0, 0));

  const std::string log = ReadDebugLog().substr(before);
  char line[200];
  std::snprintf(line, sizeof line,
                "DUMP: TestEngine (Level=%p, NewLevel=(nil), Mouse=(nil), Font=(nil), FramesPerPulse=12, "
                "PulseDuration=1000, Developing=0, FrameCounter=1)\n",
                static_cast<const void*>(level));
  EXPECT_NE(log.find("DUMP: Dumping the engine data...\n"), std::string::npos) << log;
  EXPECT_NE(log.find(line), std::string::npos) << log;
  EXPECT_NE(log.find("DUMP: End of the engine data \nDUMP: Continuing to dump the level list...\n"),
            std::string::npos);
  EXPECT_NE(log.find("DUMP: End of the level list\n"), std::string::npos);
  // Shown while Busy, with the engine paused and then resumed.
  EXPECT_FALSE(Engine->Busy);
  EXPECT_TRUE(Engine->Animating);
  EXPECT_TRUE(level->Animating);
}

}  // namespace
}  // namespace framework_testing
