#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "InputFixture.h"
#include "platform/Keyboard.h"
#include "runtime/DisplaySeams.h"
#include "runtime/Keyboard.h"
#include "runtime/StartupProfile.h"
#include "support/DebugLogReader.h"

namespace {

using platform::MessageKind;

class InputTest : public InputFixture {};

TEST_F(InputTest, SecondReleaseDecidesBetweenDoubleClickAndClick) {
  struct Case {
    const char* name;
    uint32_t secondReleaseAfterFirstPress;  // milliseconds
    bool doubleClickHandled;
    const char* expected;  // the events of the second release
  };
  const Case cases[] = {
      {"well inside", 400, false, "ButtonUp:a:1:1 DoubleClick:a:1:1 Click:a:1:1"},
      {"at the limit", 500, false, "ButtonUp:a:1:1 DoubleClick:a:1:1 Click:a:1:1"},
      {"handled double click", 400, true, "ButtonUp:a:1:1 DoubleClick:a:1:1"},
      {"too slow", 600, false, "ButtonUp:a:1:1 Click:a:1:1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestRegion a{"a"};
    if (c.doubleClickHandled) {
      a.handles = {tInputKind::DoubleClick};
    }
    Add(a, 0, 0, 100, 100);
    MoveTo(10, 10);
    platform::testing::SetClock(1000);
    Left(true, 10, 10);
    platform::testing::SetClock(1050);
    Left(false, 10, 10);
    platform::testing::SetClock(1000 + c.secondReleaseAfterFirstPress - 50);
    Left(true, 10, 10);
    TakeSeen();
    platform::testing::SetClock(1000 + c.secondReleaseAfterFirstPress);
    Left(false, 10, 10);
    EXPECT_EQ(TakeSeen(), c.expected);
    DestroyRegion(a.handle);
  }
}

TEST_F(InputTest, ButtonDownReachesOnlyRegionsUnderTheCursorButReleaseReachesAll) {
  TestRegion lower{"lower"};
  TestRegion upper{"upper"};
  TestRegion away{"away"};
  Add(lower, 0, 0, 100, 100);
  Add(away, 200, 200, 50, 50);
  Add(upper, 0, 0, 50, 50);
  MoveTo(10, 10);
  TakeSeen();
  Left(true, 10, 10);
  EXPECT_EQ(TakeSeen(), "ButtonDown:upper:1:1 ButtonDown:lower:1:1");
  Left(false, 10, 10);
  EXPECT_EQ(
      TakeSeen(),
      "ButtonUp:upper:1:1 ButtonUp:away:1:1 ButtonUp:lower:1:1 Click:upper:1:1 Click:lower:1:1");
  // A press handled by the upper region is the only one that can click.
  upper.handles = {tInputKind::ButtonDown};
  Left(true, 10, 10);
  Left(false, 10, 10);
  EXPECT_EQ(TakeSeen(),
            "ButtonDown:upper:1:1 ButtonUp:upper:1:1 ButtonUp:away:1:1 ButtonUp:lower:1:1 "
            "DoubleClick:upper:1:1 Click:upper:1:1");
  // Released somewhere else: no click.
  Left(true, 10, 10);
  MoveTo(300, 300);
  TakeSeen();
  Left(false, 300, 300);
  EXPECT_EQ(TakeSeen(), "ButtonUp:upper:1:1 ButtonUp:away:1:1 ButtonUp:lower:1:1");
}

TEST_F(InputTest, EnterAndLeaveFollowOverlappingRegionsInOrder) {
  TestRegion lower{"lower"};
  TestRegion upper{"upper"};
  Add(lower, 0, 0, 100, 100);
  Add(upper, 50, 50, 100, 100);
  struct Step {
    int32_t x, y;
    const char* expected;
  };
  const Step steps[] = {
      {10, 10, "Enter:lower Move:lower"},
      // Into the upper region while still inside the lower one: no leave.
      {60, 60, "Enter:upper Move:upper Move:lower"},
      {120, 120, "Leave:lower Move:upper"},
      {300, 300, "Leave:upper"},
      // Into both at once, then out of both: bottom region first each time.
      {70, 70, "Enter:lower Enter:upper Move:upper Move:lower"},
      {-5, 400, "Leave:lower Leave:upper"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.expected);
    MoveTo(step.x, step.y);
    EXPECT_EQ(TakeSeen(), step.expected);
  }
  // A handled move stops at the upper region.
  upper.handles = {tInputKind::MouseMove};
  MoveTo(60, 60);
  EXPECT_EQ(TakeSeen(), "Enter:lower Enter:upper Move:upper");
}

TEST_F(InputTest, EventsCarryModifierAndButtonFlags) {
  TestRegion a{"a"};
  Add(a, 0, 0, 100, 100);
  MoveTo(10, 10);
  TakeSeen();
  struct Step {
    MessageKind kind;
    uint32_t value;
    uint32_t buttons;
    const char* expected;
  };
  const Step steps[] = {
      {MessageKind::KeyDown, 'A', 0, "KeyDown:a:65:0"},
      // The Shift key's own press carries no Shift flag; the next key does.
      {MessageKind::KeyDown, 16, 0, "KeyDown:a:16:0"},
      {MessageKind::KeyDown, 'A', 0, "KeyDown:a:65:4"},
      {MessageKind::KeyDown, 17, 0, "KeyDown:a:17:4"},
      {MessageKind::KeyUp, 'A', 0, "KeyUp:a:65:12"},
      {MessageKind::Character, 'a', 0, "Character:a:97:0"},
      {MessageKind::MiddleButtonDown, 0, 4 | 8, "ButtonDown:a:4:28"},
      {MessageKind::KeyUp, 16, 0, "KeyUp:a:16:8"},
      {MessageKind::KeyUp, 17, 0, "KeyUp:a:17:0"},
      {MessageKind::SystemKeyDown, 18, 0, "KeyDown:a:18:0"},
      {MessageKind::RightButtonDown, 0, 16, "ButtonDown:a:2:50"},
      {MessageKind::SystemKeyUp, 18, 0, "KeyUp:a:18:0"},
      // The Windows key flags other keys, not itself.
      {MessageKind::KeyDown, 91, 0, "KeyDown:a:91:0"},
      {MessageKind::KeyDown, 'B', 0, "KeyDown:a:66:64"},
      {MessageKind::LeftButtonUp, 0, 0, "ButtonUp:a:1:65"},
      {MessageKind::KeyUp, 91, 0, "KeyUp:a:91:0"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.expected);
    Send({step.kind, step.value, 10, 10, step.buttons});
    const std::string seen = TakeSeen();
    EXPECT_EQ(seen.substr(0, seen.find(' ')), step.expected);
  }
}

TEST_F(InputTest, NothingIsDeliveredWhileInputIsOffOrSurfacesAreInvalid) {
  TestRegion a{"a"};
  Add(a, 0, 0, 100, 100);
  StopInput();
  Key(true, 'A');
  StartInput();
  RTS().surfacesValid = false;
  Key(true, 'B');
  RTS().surfacesValid = true;
  EXPECT_EQ(TakeSeen(), "");
  Key(true, 'C');
  EXPECT_EQ(TakeSeen(), "KeyDown:a:67:0");
  // A null callback switches its event off; a null record is refused.
  tInputEvents none{};
  SetInputHandlers(&none);
  Key(true, 'D');
  EXPECT_EQ(TakeSeen(), "");
  SetInputHandlers(nullptr);
  EXPECT_NE(testing_support::ReadDebugLog().find(
                "SetInputHandlers() Null pointer to the input events specified\n"),
            std::string::npos);
}

TEST_F(InputTest, DeliverySurvivesCallbacksThatChangeTheRegionList) {
  struct Case {
    const char* name;
    // Run by the top region's callback; the regions are bottom, middle, top.
    std::function<void(InputFixture::TestRegion*)> change;
    const char* expected;
  };
  const Case cases[] = {
      {"destroys the next region", [](TestRegion* regions) { DestroyRegion(regions[1].handle); },
       "KeyDown:top:65:0 KeyDown:bottom:65:0"},
      {"destroys every region",
       [](TestRegion* regions) {
         for (int index = 0; index < 3; ++index)
           DestroyRegion(regions[index].handle);
       },
       "KeyDown:top:65:0"},
      {"reorders the regions",
       [](TestRegion* regions) {
         OrderRegion(regions[0].handle);
         OrderRegion(regions[2].handle);
       },
       "KeyDown:top:65:0 KeyDown:middle:65:0 KeyDown:bottom:65:0"},
      {"makes a region", [](TestRegion*) { CreateRegion(nullptr, 0, 0, 10, 10); },
       "KeyDown:top:65:0 KeyDown:middle:65:0 KeyDown:bottom:65:0"},
      {"deletes the region list", [](TestRegion*) { DeleteRegionList(); }, "KeyDown:top:65:0"},
      {"renews the region list",
       [](TestRegion*) {
         DeleteRegionList();
         CreateRegionList();
       },
       "KeyDown:top:65:0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(CreateRegionList());
    TestRegion regions[3] = {{"bottom"}, {"middle"}, {"top"}};
    for (TestRegion& region : regions) {
      Add(region, 0, 0, 100, 100);
    }
    bool changed = false;
    regions[2].action = [&](tInputKind) {
      if (!std::exchange(changed, true))
        c.change(regions);
    };
    Key(true, 'A');
    EXPECT_EQ(TakeSeen(), c.expected);
    DeleteRegionList();
  }
}

TEST_F(InputTest, MouseDispatchSurvivesRegionsDestroyedByTheirCallbacks) {
  // Every region destroys itself and its neighbours at its first call.
  TestRegion regions[4] = {{"r0"}, {"r1"}, {"r2"}, {"r3"}};
  for (int index = 0; index < 4; ++index) {
    Add(regions[index], 0, 0, 100, 100);
    regions[index].action = [&regions, index](tInputKind) {
      DestroyRegion(regions[index].handle);
      if (index > 0)
        DestroyRegion(regions[index - 1].handle);
      if (index < 3)
        DestroyRegion(regions[index + 1].handle);
    };
  }
  MoveTo(10, 10);
  Left(true, 10, 10);
  Left(false, 10, 10);
  EXPECT_EQ(TakeSeen(), "Enter:r0 Enter:r2");
  EXPECT_EQ(RegionCount(), 0);
}

TEST_F(InputTest, RegionsMadeOrMovedLearnTheCursorAtTheNextFrame) {
  TestRegion a{"a"};
  MoveTo(20, 20);
  Add(a, 0, 0, 100, 100);
  InitializeRegionsAtCursor();
  EXPECT_EQ(TakeSeen(), "Enter:a Move:a");
  InitializeRegionsAtCursor();
  EXPECT_EQ(TakeSeen(), "");
  MoveRegion(a.handle, 200, 200, 10, 10);
  InitializeRegionsAtCursor();
  EXPECT_EQ(TakeSeen(), "Leave:a");
}

TEST_F(InputTest, KeysKeepTheirHeldAndToggleStates) {
  EXPECT_FALSE(KeyPressed(20));
  Key(true, 20);
  EXPECT_TRUE(KeyPressed(20));
  EXPECT_TRUE(KeyToggled(20));
  // Auto-repeat does not flip the toggle.
  Key(true, 20);
  Key(false, 20);
  EXPECT_FALSE(KeyPressed(20));
  EXPECT_TRUE(KeyToggled(20));
  Key(true, 20);
  Key(false, 20);
  EXPECT_FALSE(KeyToggled(20));
  // Losing activation lets go of held keys and keeps the toggles.
  Key(true, 145);
  Send({MessageKind::Activate, 0});
  EXPECT_FALSE(KeyPressed(145));
  EXPECT_TRUE(KeyToggled(145));
  EXPECT_FALSE(KeyPressed(-1));
  EXPECT_FALSE(KeyToggled(4000));
}

TEST_F(InputTest, MouseButtonsReadAsHeldKeys) {
  struct Case {
    const char* name;
    MessageKind down;
    MessageKind up;
    int32_t key;
  };
  const Case cases[] = {
      {"left", MessageKind::LeftButtonDown, MessageKind::LeftButtonUp, 1},
      {"right", MessageKind::RightButtonDown, MessageKind::RightButtonUp, 2},
      {"middle", MessageKind::MiddleButtonDown, MessageKind::MiddleButtonUp, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(KeyPressed(c.key));
    Send({c.down, 0, 10, 10});
    EXPECT_TRUE(KeyPressed(c.key));
    for (const Case& other : cases) {
      if (other.key != c.key) {
        EXPECT_FALSE(KeyPressed(other.key));
      }
    }
    Send({c.up, 0, 10, 10});
    EXPECT_FALSE(KeyPressed(c.key));
  }
  // A held button is let go when the application loses activation.
  Left(true, 10, 10);
  Send({MessageKind::Activate, 0});
  EXPECT_FALSE(KeyPressed(1));
}

TEST_F(InputTest, FramePollReleasesAWindowsKeyWhoseReleaseWasTaken) {
  TestRegion a{"a"};
  Add(a, 0, 0, 100, 100);
  Key(true, 92);
  TakeSeen();
  PollInput();
  EXPECT_EQ(TakeSeen(), "");
  // The release reaches the key state but not the game (the shell took it).
  platform::NoteDeviceMessage({MessageKind::KeyUp, 92});
  PollInput();
  EXPECT_EQ(TakeSeen(), "KeyUp:a:92:0");
  // A late release message does not release it twice.
  Key(false, 92);
  PollInput();
  EXPECT_EQ(TakeSeen(), "");
}

// ---- Start and stop of the input device ----

std::map<std::string, std::string>& Polling() {
  static std::map<std::string, std::string> entries;
  return entries;
}

bool ReadPolling(const char*, const char* section, const char* entry, std::string& value) {
  const auto found = Polling().find(std::string(section) + "/" + entry);
  if (found == Polling().end())
    return false;
  value = found->second;
  return true;
}

TEST_F(InputTest, PollingSwitchesAreReadOneByOne) {
  struct Case {
    const char* keyboard;  // null: missing
    const char* joystick;
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, "Polling (Keyboard=1, Joystick=1)\n"},
      {"False", nullptr, "Polling (Keyboard=0, Joystick=1)\n"},
      {"on", "off", "Polling (Keyboard=1, Joystick=0)\n"},
      {"1", "0", "Polling (Keyboard=1, Joystick=0)\n"},
  };
  const tStartRecord start = {nullptr,           "", 1, "Yobbozers", "Yobbozers", "Polling.ini",
                              DebugModeOverwrite};
  RTS().startRecord = &start;
  SetStartupProfile(ReadPolling, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    StopInputDevice();
    Polling().clear();
    if (c.keyboard != nullptr)
      Polling()["Polling/Keyboard"] = c.keyboard;
    if (c.joystick != nullptr)
      Polling()["Polling/Joystick"] = c.joystick;
    SetDebugMode(DebugModeOverwrite);
    ASSERT_TRUE(StartInputDevice());
    EXPECT_NE(testing_support::ReadDebugLog().find(c.expected), std::string::npos);
    EXPECT_EQ(KeyboardPolling(), std::string(c.expected).find("Keyboard=1") != std::string::npos);
    EXPECT_EQ(JoystickPolling(), std::string(c.expected).find("Joystick=1") != std::string::npos);
  }
  SetStartupProfile(nullptr, nullptr);
  RTS().startRecord = nullptr;
}

int taskSwitches = 0;
void CountTaskSwitch() {
  ++taskSwitches;
}

TEST_F(InputTest, FullScreenTreatsLostActivationAndSwitchKeysAsTaskSwitches) {
  StopInputDevice();
  RTS().windowed = false;
  ASSERT_TRUE(StartInputDevice());
  EXPECT_NE(testing_support::ReadDebugLog().find("Keyboard hook set\n"), std::string::npos);
  RTS().informed = true;
  RTS().keepRunning = true;
  RTS().information.taskSwitch = CountTaskSwitch;
  taskSwitches = 0;
  struct Step {
    MessageKind kind;
    uint32_t value;
    int switches;  // total so far
  };
  const Step steps[] = {
      {MessageKind::KeyDown, 27, 0},       {MessageKind::KeyDown, 17, 0},
      {MessageKind::KeyDown, 27, 1},       {MessageKind::KeyUp, 17, 1},
      {MessageKind::SystemKeyDown, 18, 1}, {MessageKind::SystemKeyDown, 9, 2},
      {MessageKind::SystemKeyUp, 18, 2},   {MessageKind::KeyDown, 9, 2},
      {MessageKind::KeyDown, 91, 3},       {MessageKind::Activate, 0, 4},
  };
  for (const Step& step : steps) {
    RTS().surfacesValid = true;
    Send({step.kind, step.value});
    EXPECT_EQ(taskSwitches, step.switches) << static_cast<int>(step.kind) << " " << step.value;
  }
  StopInputDevice();
  EXPECT_NE(testing_support::ReadDebugLog().find("Keyboard hook released\n"), std::string::npos);
  Send({MessageKind::Activate, 0});
  EXPECT_EQ(taskSwitches, 4);
  RTS().information.taskSwitch = nullptr;
  RTS().informed = false;
  RTS().keepRunning = false;
  RTS().windowed = true;
  ASSERT_TRUE(StartInputDevice());
}

}  // namespace
