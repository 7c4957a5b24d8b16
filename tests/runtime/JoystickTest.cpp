#include <gtest/gtest.h>

#include <string>

#include "InputFixture.h"
#include "runtime/Cursor.h"
#include "runtime/Joystick.h"
#include "support/DebugLogReader.h"
#include "support/DeviceFakes.h"

namespace {

// A joystick of three axes from 0 to 65535 and four buttons; on the
// 640 x 480 screen a pixel is 102 raw units across and 136 down.
using testing_support::ThreeAxes;

class JoystickTest : public InputFixture {
 protected:
  void SetUp() override {
    InputFixture::SetUp();
    RTS().screenWidth = 640;
    RTS().screenHeight = 480;
  }

  // Restarts input with fake joysticks in place; answers joystick 0 created
  // and enabled, or null.
  static JoystickHandle Restart(bool second = false) {
    StopInputDevice();
    platform::testing::AddFakeJoystick(0, ThreeAxes());
    if (second) {
      platform::JoystickCapabilities flat = ThreeAxes();
      flat.axes = 2;
      flat.maximumZ = 0;
      platform::testing::AddFakeJoystick(1, flat);
    }
    if (!StartInputDevice()) {
      return nullptr;
    }
    StartInput();
    InstallRecorder();
    JoystickHandle joystick = CreateJoystick(0);
    EnableJoystick(joystick);
    return joystick;
  }

  static void Set(int32_t slot, int32_t x, int32_t y, uint32_t buttons = 0) {
    platform::testing::SetFakeJoystickState(slot, {x, y, 32767, buttons});
    PollInput();
  }

  static bool LogHas(const std::string& text) {
    return testing_support::ReadDebugLog().find(text) != std::string::npos;
  }
};

TEST_F(JoystickTest, DetectionCalibratesAgainstTheScreen) {
  ASSERT_NE(Restart(true), nullptr);
  EXPECT_TRUE(LogHas(
      "Joystick 0 detected (Buttons=4, Axes=3, StepX=6553:102, StepY=6553:136, StepZ=6553:136)\n"));
  EXPECT_TRUE(LogHas(
      "Joystick 1 detected (Buttons=4, Axes=2, StepX=6553:102, StepY=6553:136, StepZ=0:0)\n"));
  EXPECT_EQ(SupportedJoysticks(), 2);
  EXPECT_TRUE(ValidJoystick(1));
  EXPECT_FALSE(ValidJoystick(2));
  // An axis narrower than the screen cannot place the cursor.
  StopInputDevice();
  platform::JoystickCapabilities narrow = ThreeAxes();
  narrow.maximumX = 600;
  platform::testing::AddFakeJoystick(0, narrow);
  ASSERT_TRUE(StartInputDevice());
  EXPECT_TRUE(LogHas("Joystick 0 calibration failure (StepX=60:0, StepY=6553:136)\n"));
  EXPECT_FALSE(ValidJoystick(0));
}

TEST_F(JoystickTest, CreateAndDestroyRefuseWhatCannotBeDone) {
  JoystickHandle joystick = Restart();
  ASSERT_NE(joystick, nullptr);
  EXPECT_EQ(CreateJoystick(2), nullptr);
  EXPECT_TRUE(LogHas("CreateJoystick() Joystick not supported (ID=2)\n"));
  EXPECT_EQ(CreateJoystick(1), nullptr);
  EXPECT_TRUE(LogHas("CreateJoystick() Joystick not detected (ID=1)\n"));
  EXPECT_EQ(CreateJoystick(0), nullptr);
  EXPECT_TRUE(LogHas("CreateJoystick() Joystick already created (ID=0)\n"));
  DestroyJoystick(joystick);
  DestroyJoystick(joystick);
  EXPECT_TRUE(LogHas("DestroyJoystick() Joystick already destroyed (ID=0)\n"));
  EnableJoystick(nullptr);
  EXPECT_TRUE(LogHas("EnableJoystick() Null pointer to the joystick specified\n"));
  EXPECT_EQ(CreateJoystick(0), joystick);
}

TEST_F(JoystickTest, RangeIsCheckedAndSetsTheStep) {
  JoystickHandle joystick = Restart();
  ASSERT_NE(joystick, nullptr);
  EXPECT_EQ(GetJoystickRange(joystick), 5);
  struct Case {
    int32_t range;
    int32_t answer;  // 0: refused
    int32_t rawX;
    int32_t expectedX;
  };
  const Case cases[] = {
      {3, 0, 0, -5},
      {65536, 0, 0, -5},
      {-4, 0, 65535, 5},
      {5, 5, 6552, -5},
      {5, 5, 6553, -4},
      {5, 5, 32767, 0},
      {4, 4, 65535, 4},
      {4, 4, 40000, 0},
      {100, 100, 0, -100},
      // A range finer than the axis: a step of one raw unit.
      {65535, 65535, 65535, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.range);
    SetJoystickRange(joystick, 5);
    EXPECT_EQ(SetJoystickRange(joystick, c.range), c.answer);
    if (c.answer == 0) {
      EXPECT_TRUE(LogHas("SetJoystickRange() Out of range (ID=0, Range=" + std::to_string(c.range) +
                         ")\n"));
      EXPECT_EQ(GetJoystickRange(joystick), 5);
    }
    Set(0, c.rawX, 32767);
    EXPECT_EQ(joystick->X, c.expectedX);
  }
  EXPECT_EQ(SetJoystickRange(nullptr, 5), 0);
  EXPECT_TRUE(LogHas("SetJoystickRange() Null pointer to the joystick specified\n"));
}

TEST_F(JoystickTest, KeyboardEmulationSendsMappedKeysAndRepeatsHeldDirections) {
  JoystickHandle joystick = Restart();
  ASSERT_NE(joystick, nullptr);
  TestRegion a{"a"};
  Add(a, 0, 0, 100, 100);
  EXPECT_EQ(SetJoystickEmulation(joystick, JoystickEmulationKeyboard), JoystickEmulationKeyboard);
  EXPECT_EQ(MapJoystick(joystick, JoystickALeft, 37), 37);
  EXPECT_EQ(MapJoystick(joystick, JoystickATrigger, 'F'), 'F');
  EXPECT_EQ(MapJoystick(joystick, JoystickBLeft, 37), 0);
  EXPECT_EQ(MapJoystick(joystick, 388, 37), 0);
  TakeSeen();
  struct Step {
    int32_t x, y;
    uint32_t buttons;
    const char* expected;
  };
  const Step steps[] = {
      {0, 32767, 0, "JoyMove:a:0:1 KeyDown:a:37:0"},
      {0, 32767, 0, "KeyDown:a:37:0"},
      {32767, 32767, 0, "JoyMove:a:0:0 KeyUp:a:37:0"},
      {32767, 65535, 1, "JoyMove:a:0:65544 KeyDown:a:387:0 JoyDown:a:70:65544 KeyDown:a:70:0"},
      {32767, 32767, 0, "JoyMove:a:0:0 KeyUp:a:387:0 JoyUp:a:70:0 KeyUp:a:70:0"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.expected);
    Set(0, step.x, step.y, step.buttons);
    EXPECT_EQ(TakeSeen(), step.expected);
  }
  EXPECT_EQ(UnmapJoystick(joystick, JoystickALeft), JoystickALeft);
  Set(0, 0, 32767);
  EXPECT_EQ(TakeSeen(), "JoyMove:a:0:1 KeyDown:a:384:0");
  // A disabled joystick is not polled.
  DisableJoystick(joystick);
  Set(0, 32767, 32767);
  EXPECT_EQ(TakeSeen(), "");
}

TEST_F(JoystickTest, MouseEmulationMovesTheCursorAndSilencesTheRealMouse) {
  JoystickHandle joystick = Restart(true);
  ASSERT_NE(joystick, nullptr);
  TestRegion a{"a"};
  Add(a, 0, 0, 100, 100);
  MoveTo(500, 400);
  EXPECT_EQ(SetJoystickEmulation(joystick, JoystickEmulationMouse), JoystickEmulationMouse);
  EXPECT_TRUE(MouseEmulation());
  EXPECT_EQ(MapJoystick(joystick, JoystickATrigger, 1), 1);
  TakeSeen();
  // The centre of the screen is no direction; pixel 50, 50 is left and front.
  Set(0, 320 * 102, 240 * 136);
  EXPECT_EQ(TakeSeen(), "JoyMove:a:0:0");
  Set(0, 50 * 102, 50 * 136, 1);
  EXPECT_EQ(TakeSeen(),
            "JoyMove:a:0:65539 Enter:a Move:a KeyDown:a:384:0 KeyDown:a:385:0 "
            "JoyDown:a:1:65539 ButtonDown:a:1:1");
  // Real moves only move the remembered position; real buttons are ignored.
  MoveTo(20, 20);
  Left(true, 20, 20);
  Left(false, 20, 20);
  EXPECT_EQ(TakeSeen(), "");
  EXPECT_EQ(LastMouseX(), 20);
  // Only one joystick emulates the mouse.
  JoystickHandle second = CreateJoystick(1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(SetJoystickEmulation(second, JoystickEmulationMouse), JoystickEmulationMouse);
  EXPECT_EQ(GetJoystickEmulation(joystick), JoystickEmulationNone);
  EXPECT_EQ(SetJoystickEmulation(joystick, JoystickEmulationKeyboard), JoystickEmulationKeyboard);
  EXPECT_TRUE(MouseEmulation());
  EXPECT_EQ(SetJoystickEmulation(second, JoystickEmulationNone), JoystickEmulationNone);
  EXPECT_FALSE(MouseEmulation());
  EXPECT_EQ(SetJoystickEmulation(second, static_cast<tJoystickEmulation>(7)),
            JoystickEmulationNone);
}

TEST_F(JoystickTest, AnUnpluggedJoystickIsReportedOnceAndWelcomedBack) {
  JoystickHandle joystick = Restart();
  ASSERT_NE(joystick, nullptr);
  platform::testing::SetFakeJoystickReadable(0, false);
  PollInput();
  PollInput();
  platform::testing::SetFakeJoystickReadable(0, true);
  PollInput();
  const std::string log = testing_support::ReadDebugLog();
  const std::string lost = "PollJoystick() Joystick disconnected (ID=0)\n";
  EXPECT_EQ(log.find(lost), log.rfind(lost));
  EXPECT_NE(log.find(lost), std::string::npos);
  EXPECT_NE(log.find("PollJoystick() Joystick reconnected (ID=0)\n"), std::string::npos);
}

TEST_F(JoystickTest, CursorPositionComesFromTheEmulatingJoystickUntilItFails) {
  JoystickHandle joystick = Restart();
  ASSERT_NE(joystick, nullptr);
  MoveTo(7, 8);
  SetJoystickEmulation(joystick, JoystickEmulationMouse);
  platform::testing::SetFakeJoystickState(0, {100 * 102, 200 * 136, 0, 0});
  int32_t x = 0;
  int32_t y = 0;
  GetCursorPosition(x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 200);
  platform::testing::SetFakeJoystickReadable(0, false);
  GetCursorPosition(x, y);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 8);
  EXPECT_EQ(GetJoystickEmulation(joystick), JoystickEmulationNone);
  EXPECT_FALSE(MouseEmulation());
  EXPECT_TRUE(LogHas("GetCursorPosition() Trying to switch off mouse emulation (Joystick=0)..."));
  EXPECT_TRUE(LogHas("GetCursorPosition() Mouse emulation switched off\n"));
}

}  // namespace
