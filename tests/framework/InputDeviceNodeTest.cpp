#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "MediaFixture.h"
#include "framework/LumoJoystickList.h"
#include "framework/LumoJoystickNode.h"
#include "framework/LumoMouseList.h"
#include "framework/LumoMouseNode.h"
#include "runtime/Cursor.h"
#include "support/DeviceFakes.h"

namespace framework_testing {
namespace {

namespace media = testing_support;

// A 24-bit BMP file of 2 x 2 grey pixels (written before the display
// exists).
void WriteCursorFile(const std::string& path) {
  media::Bytes bytes = {'B', 'M'};
  const uint32_t rowBytes = 8;  // 2 pixels of 3 bytes, padded to 4
  const uint32_t pixelBytes = rowBytes * 2;
  media::PutLittle32(bytes, 14 + 40 + pixelBytes);
  media::PutLittle32(bytes, 0);
  media::PutLittle32(bytes, 14 + 40);
  media::PutLittle32(bytes, 40);
  media::PutLittle32(bytes, 2);
  media::PutLittle32(bytes, 2);
  media::PutLittle16(bytes, 1);
  media::PutLittle16(bytes, 24);
  for (int field = 0; field < 6; ++field) media::PutLittle32(bytes, 0);
  for (uint32_t at = 0; at < pixelBytes; ++at) bytes.push_back(0x80);
  media::WriteBytes(path, bytes);
}

// ---- Joysticks ----

using testing_support::ThreeAxes;

class NoJoystickTest : public MediaTest {};

TEST_F(NoJoystickTest, WithoutJoysticksTheListStaysEmpty) {
  EXPECT_EQ(Engine->GetJoystickCount(), 0);
  EXPECT_EQ(Engine->FindJoystick(0), nullptr);
  ASSERT_TRUE(Engine->JoystickList);
  EXPECT_EQ(Engine->JoystickList->AddJoystick(0), nullptr);
  Engine->JoystickList->Populate();
  EXPECT_EQ(Engine->JoystickList->Count, 0);
}

// The second joystick (index 1) is attached.
class JoystickNodeTest : public MediaTest {
 protected:
  void BeforeStart() override { platform::testing::AddFakeJoystick(1, ThreeAxes()); }
};

TEST_F(JoystickNodeTest, EngineListsTheAttachedJoystickByIndex) {
  EXPECT_EQ(Engine->GetJoystickCount(), 1);
  EXPECT_EQ(Engine->FindJoystick(0), nullptr);
  LumoJoystickNode* joystick = Engine->FindJoystick(1);
  ASSERT_NE(joystick, nullptr);
  EXPECT_EQ(joystick->ID, 1u);
  ASSERT_NE(joystick->Handle(), nullptr);
  EXPECT_EQ(joystick->Handle()->ID, 1);
  // Invalid indexes add nothing.
  for (const int32_t index : {0, -1, 2, 7}) {
    EXPECT_EQ(Engine->JoystickList->AddJoystick(index), nullptr) << index;
  }
  EXPECT_EQ(Engine->GetJoystickCount(), 1);

  Engine->JoystickList->EnableAll();
  EXPECT_TRUE(joystick->Handle()->Enabled);
  Engine->JoystickList->DisableAll();
  EXPECT_FALSE(joystick->Handle()->Enabled);
}

TEST_F(JoystickNodeTest, ResetAndUnmapAllSendTheJoysticksOwnCodesAgain) {
  LumoJoystickNode* joystick = Engine->FindJoystick(1);
  ASSERT_NE(joystick, nullptr);
  // Index 1: triggers 512-515, directions 640-643.
  const std::array<int32_t, 8> codes = {512, 513, 514, 515, 640, 641, 642, 643};
  const auto mapAll = [&] {
    for (size_t at = 0; at < codes.size(); ++at) {
      EXPECT_EQ(joystick->Map(static_cast<int32_t>('A' + at), codes[at]), static_cast<int32_t>('A' + at));
    }
  };
  const auto expectUnmapped = [&] {
    for (size_t at = 0; at < codes.size(); ++at) {
      EXPECT_EQ(joystick->Handle()->Keys[at], codes[at]) << codes[at];
    }
  };
  // A code of the other joystick is not this one's.
  EXPECT_EQ(joystick->Map('Z', 256), 0);

  mapAll();
  EXPECT_EQ(joystick->Handle()->Keys[0], 'A');
  joystick->UnmapAll();
  expectUnmapped();

  mapAll();
  EXPECT_EQ(joystick->SetEmulation(JoystickEmulationKeyboard), JoystickEmulationKeyboard);
  EXPECT_EQ(joystick->SetRange(10), 10);
  joystick->Reset();
  EXPECT_EQ(joystick->GetEmulation(), JoystickEmulationNone);
  EXPECT_EQ(joystick->GetRange(), 5);
  expectUnmapped();

  // Unloading destroys the joystick.
  joystick->Unload();
  EXPECT_EQ(joystick->Data, 0u);
  EXPECT_EQ(joystick->ID, 0u);
}

// ---- Mouse pointers ----

// Cursor files "_Cursor", "Arrow" and "Hand" exist from the start; "Mouse"
// does not.
class MouseNodeTest : public MediaTest {
 protected:
  void BeforeStart() override {
    WriteCursorFile("_Cursor.bmp");
    WriteCursorFile("Arrow.bmp");
    WriteCursorFile("Hand.bmp");
  }

  static std::array<int32_t, 2> SelectedOffset() {
    std::array<int32_t, 2> offset{};
    GetCursorOffset(offset[0], offset[1]);
    return offset;
  }
};

TEST_F(MouseNodeTest, EngineStartsWithTheFirstCursorItFinds) {
  ASSERT_NE(Engine->Mouse, nullptr);
  EXPECT_STREQ(Engine->Mouse->Name, "_Cursor");
  EXPECT_EQ(Engine->GetFirstMouse(), Engine->Mouse);
  // The missing "Mouse" left no node.
  EXPECT_EQ(Engine->MouseList->FindByName("Mouse"), nullptr);
  EXPECT_EQ(Engine->MouseList->Count, 1);
}

TEST_F(MouseNodeTest, GetMouseLoadsOrDestroysAndSelectsOnlyTheFirst) {
  LumoMouseNode* first = Engine->Mouse;
  LumoMouseNode* arrow = Engine->GetMouse("Arrow");
  ASSERT_NE(arrow, nullptr);
  EXPECT_NE(arrow->Data, 0u);
  EXPECT_EQ(Engine->Mouse, first);
  EXPECT_EQ(Engine->GetMouse("arrow"), arrow);
  EXPECT_EQ(Engine->GetMouse("Missing"), nullptr);
  EXPECT_EQ(Engine->MouseList->FindByName("Missing"), nullptr);

  // With no mouse selected, the one fetched is selected.
  DestroyObject(first);
  EXPECT_EQ(Engine->Mouse, nullptr);
  EXPECT_EQ(Engine->CursorCount, 0u);
  LumoMouseNode* hand = Engine->GetMouse("Hand");
  EXPECT_EQ(Engine->Mouse, hand);
}

TEST_F(MouseNodeTest, SetMouseRefusesWhatItCannotSelect) {
  LumoMouseNode* current = Engine->Mouse;
  LumoMouseNode* arrow = Engine->GetMouse("Arrow");
  arrow->SetOffset(3, 4);
  auto* unloaded = dynamic_cast<LumoMouseNode*>(Engine->MouseList->FindOrCreate("Hand"));
  ASSERT_NE(unloaded, nullptr);
  ASSERT_EQ(unloaded->Data, 0u);
  LumoMouseList otherList;
  auto* foreign = dynamic_cast<LumoMouseNode*>(otherList.GetLoaded("Hand"));
  ASSERT_NE(foreign, nullptr);
  struct Case {
    const char* name;
    LumoMouseNode* mouse;
  };
  const Case refused[] = {
      {"none", nullptr}, {"the selected one", current}, {"no cursor", unloaded}, {"another list's", foreign}};
  for (const Case& test : refused) {
    SCOPED_TRACE(test.name);
    EXPECT_EQ(Engine->SetMouse(test.mouse), nullptr);
    EXPECT_EQ(Engine->Mouse, current);
  }
  EXPECT_EQ(Engine->SetMouse(arrow), arrow);
  EXPECT_EQ(Engine->Mouse, arrow);
  EXPECT_EQ(SelectedOffset(), (std::array<int32_t, 2>{3, 4}));
  uint32_t x = 0;
  uint32_t y = 0;
  arrow->GetOffset(x, y);
  EXPECT_EQ(x, 3u);
  EXPECT_EQ(y, 4u);

  // An unloaded node selects nothing.
  unloaded->SetOffset(9, 9);
  unloaded->Select();
  EXPECT_EQ(SelectedOffset(), (std::array<int32_t, 2>{3, 4}));
}

TEST_F(MouseNodeTest, ShowingTheCursorSelectsTheMouseAgain) {
  LumoMouseNode* arrow = Engine->GetMouse("Arrow");
  arrow->SetOffset(5, 6);
  ASSERT_EQ(Engine->SetMouse(arrow), arrow);
  SelectCursor(nullptr);
  EXPECT_EQ(SelectedOffset(), (std::array<int32_t, 2>{-1, -1}));
  Engine->SetCursorCount(0);
  Engine->ShowCursor(true);
  EXPECT_EQ(Engine->CursorCount, 1u);
  EXPECT_EQ(SelectedOffset(), (std::array<int32_t, 2>{5, 6}));
}

TEST_F(MouseNodeTest, ResumedLevelGetsItsMouseBackBeforeItsCursorCount) {
  LumoMouseNode* arrow = Engine->GetMouse("Arrow");
  LumoMouseNode* hand = Engine->GetMouse("Hand");
  ASSERT_EQ(Engine->SetMouse(arrow), arrow);
  Engine->SetCursorCount(2);
  level->Append(new RecordingAnimator("item"));
  level->SetCloseMode(LumoEngine::ClosePause);
  TestLevel* first = level;
  TestLevel* second = RunLevel("second");
  ASSERT_EQ(Engine->SetMouse(hand), hand);
  EXPECT_EQ(Engine->CursorCount, 0u);  // a started level begins hidden
  second->SetCloseMode(LumoEngine::ClosePause);
  Engine->RequestLevel(first);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Engine->Mouse, arrow);
  EXPECT_EQ(Engine->CursorCount, 2u);

  // A kept mouse freed while its level waits is not given back.
  first->SetCloseMode(LumoEngine::ClosePause);
  second->Append(new RecordingAnimator("item"));
  Engine->RequestLevel(second);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Engine->Mouse, hand);
  DestroyObject(arrow);
  EXPECT_EQ(first->SavedMouse, nullptr);
  Engine->RequestLevel(first);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Engine->Mouse, hand);
}

}  // namespace
}  // namespace framework_testing
