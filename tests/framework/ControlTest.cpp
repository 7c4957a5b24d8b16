#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlFixture.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoMouseNode.h"
#include "support/MediaWriters.h"

namespace framework_testing {
namespace {

// A 24-bit BMP file of 2 x 2 grey pixels, for a cursor.
void WriteCursorFile(const std::string& path) {
  namespace media = testing_support;
  media::Bytes bytes = {'B', 'M'};
  const uint32_t pixelBytes = 8 * 2;  // two rows of 2 pixels, padded to 4 bytes
  media::PutLittle32(bytes, 14 + 40 + pixelBytes);
  media::PutLittle32(bytes, 0);
  media::PutLittle32(bytes, 14 + 40);
  media::PutLittle32(bytes, 40);
  media::PutLittle32(bytes, 2);
  media::PutLittle32(bytes, 2);
  media::PutLittle16(bytes, 1);
  media::PutLittle16(bytes, 24);
  for (int field = 0; field < 6; ++field) {
    media::PutLittle32(bytes, 0);
  }
  bytes.insert(bytes.end(), pixelBytes, 0x80);
  media::WriteBytes(path, bytes);
}

class ControlTest : public ControlFixture {
 protected:
  // Three controls side by side in one animating cell, attached in order.
  void StartWithThree() {
    StartWithLevel();
    cell = AddCell(0, 0, 400, 300);
    first = AddControl(*cell, 10, 10);
    second = AddControl(*cell, 40, 10);
    third = AddControl(*cell, 70, 10);
    cell->StartAnimation();
    ASSERT_TRUE(Pulse());
  }

  // Which of the three holds the focus (its index), -1 for none.
  int FocusedIndex() const {
    const RecordingControl<>* controls[] = {first, second, third};
    int found = -1;
    for (int index = 0; index < 3; ++index) {
      if (controls[index]->Focused) {
        EXPECT_EQ(found, -1) << "two controls of one cell are focused";
        found = index;
      }
    }
    return found;
  }

  LumoCell* cell = nullptr;
  RecordingControl<>* first = nullptr;
  RecordingControl<>* second = nullptr;
  RecordingControl<>* third = nullptr;
};

// A control that takes Tab as its own key while focused, as a multi-line
// edit box types it.
class TabTaker : public RecordingControl<> {
 public:
  bool DoKeyDown(tInputEvent* event) override {
    if (Focused && event->Code == kTab) {
      ++tabs;
      return true;
    }
    return RecordingControl<>::DoKeyDown(event);
  }
  int tabs = 0;
};

TEST_F(ControlTest, TheCellKeepsItsControlsInAttachOrderAndCompletesThemAtActivation) {
  StartWithThree();
  ASSERT_EQ(cell->FocusList->Count, 3);
  // A plain sprite takes no place in the order; a control attached again
  // keeps its one place.
  AddSprite(*cell, 0, 0, MadeGraphic(2, 2, kControlBlue));
  cell->Remove(second);
  cell->Append(second);
  EXPECT_EQ(cell->FocusList->Count, 3);
  EXPECT_EQ(cell->GetFirstFocus(true), first);
  EXPECT_EQ(cell->GetLastFocus(true), third);

  cell->OnActivate();
  cell->DoActivate();
  for (const RecordingControl<>* control : {first, second, third}) {
    EXPECT_EQ(control->heard, (std::vector<std::string>{"OnComplete"}));
  }
  // A control freed elsewhere leaves the order.
  DestroyObject(third);
  EXPECT_EQ(cell->FocusList->Count, 2);
  EXPECT_EQ(cell->GetLastFocus(true), second);
}

TEST_F(ControlTest, TabAndShiftTabWalkTheUsableControlsInAttachOrder) {
  StartWithThree();
  RecordingControl<>* fourth = AddControl(*cell, 100, 10);
  RecordingControl<>* fifth = AddControl(*cell, 130, 10);
  fourth->StartAnimation();
  fifth->StartAnimation();
  ASSERT_TRUE(Pulse());
  fourth->Disable();
  fifth->PreventAnimation();  // hidden
  first->Focus();
  ASSERT_EQ(FocusedIndex(), 0);

  const int forward[] = {1, 2, 0, 1};
  for (int expected : forward) {
    Key(kTab);
    ASSERT_TRUE(Pulse());
    EXPECT_EQ(FocusedIndex(), expected);
  }
  const int backward[] = {0, 2, 1};
  for (int expected : backward) {
    KeyWith(kShiftKey, kTab);
    ASSERT_TRUE(Pulse());
    EXPECT_EQ(FocusedIndex(), expected);
  }
  EXPECT_FALSE(fourth->Focused);
  EXPECT_FALSE(fifth->Focused);
}

TEST_F(ControlTest, OtherModifiersWithTabAreUnhandledUnlessTheRunTimeMapsThem) {
  StartWithThree();
  first->Focus();
  DisableControlKeys();
  KeyWith(kControlKey, kTab);
  KeyWith(kAltKey, kTab);
  EXPECT_EQ(FocusedIndex(), 0);
  tInputEvent event{first, static_cast<int32_t>(kTab), InputControl};
  EXPECT_FALSE(first->KeyDown(&event));

  // The run-time makes a plain Tab of Ctrl+Tab, which moves on.
  EnableControlKeys();
  KeyWith(kControlKey, kTab);
  EXPECT_EQ(FocusedIndex(), 1);
}

TEST_F(ControlTest, OneTabIsHandledOnceWithTheKeyMappingOn) {
  StartWithThree();
  first->Focus();
  Key(kTab);
  EXPECT_EQ(FocusedIndex(), 1);
  KeyWith(kShiftKey, kTab);
  EXPECT_EQ(FocusedIndex(), 0);

  auto* taker = AddControl<TabTaker>(*cell, 10, 50);
  taker->StartAnimation();
  ASSERT_TRUE(Pulse());
  taker->Focus();
  Key(kTab);
  KeyWith(kShiftKey, kTab);
  // Shift+Tab is the same key to the taker, mapped or not: two keys, two tabs.
  EXPECT_EQ(taker->tabs, 2);
}

TEST_F(ControlTest, TabReachesTheFocusedControlBelowAnUnfocusedOne) {
  StartWithThree();
  first->Focus();
  // A cell above, with a control covering the three that holds no focus.
  LumoCell* above = AddCell(0, 0, 400, 300);
  RecordingControl<>* covering = AddControl(*above, 0, 0, 200);
  above->StartAnimation();
  ASSERT_TRUE(Pulse());
  Key(kTab);
  EXPECT_EQ(FocusedIndex(), 1);
  EXPECT_EQ(covering->keysDown, (std::vector<int32_t>{static_cast<int32_t>(kTab)}));
  EXPECT_FALSE(covering->Focused);
}

TEST_F(ControlTest, DisablingTheFocusedControlHandsTheFocusOn) {
  StartWithThree();
  second->Focus();
  second->Disable();
  EXPECT_EQ(FocusedIndex(), 2);
  // With no other usable control the focus goes nowhere.
  first->Disable();
  third->Disable();
  EXPECT_EQ(FocusedIndex(), -1);
  EXPECT_EQ(cell->GetFocusedControl(), nullptr);
  // Enabling every control focuses the one asked for.
  EXPECT_EQ(cell->EnableAll(second), second);
  EXPECT_EQ(FocusedIndex(), 1);
  EXPECT_EQ(cell->ReleaseFocus(), second);
  EXPECT_EQ(FocusedIndex(), -1);
  // Without a control to focus the first usable one takes it.
  EXPECT_EQ(cell->EnableAll(nullptr), first);
}

TEST_F(ControlTest, DisableAndEnableByTagReturnTheFocus) {
  StartWithThree();
  first->SetTag(5);
  third->SetTag(5);
  third->Focus();
  EXPECT_EQ(cell->Disable(5), third);
  EXPECT_FALSE(first->Enabled);
  EXPECT_FALSE(third->Enabled);
  EXPECT_EQ(FocusedIndex(), 1);
  // A control outside the cell falls back to the focused one.
  RecordingControl<> stranger;
  EXPECT_EQ(cell->Enable(5, &stranger), second);
  EXPECT_TRUE(first->Enabled);
}

TEST_F(ControlTest, AHotKeyExecutesAnUnfocusedControl) {
  StartWithThree();
  first->Focus();
  third->SetHotKey('K', InputControl);
  Key('K');
  EXPECT_EQ(third->executes, 0);
  KeyWith(kControlKey, 'K');
  EXPECT_EQ(third->executes, 1);
  EXPECT_EQ(FocusedIndex(), 0);
  // A disabled control does not answer to its hot key.
  third->Disable();
  KeyWith(kControlKey, 'K');
  EXPECT_EQ(third->executes, 1);
}

TEST_F(ControlTest, MappedKeysReachTheControlAndTheMenuKeyPopsUp) {
  StartWithThree();
  first->Focus();
  Key(kF1);
  EXPECT_EQ(first->keysDown.back(), KeyCodeHelp);

  for (RecordingControl<>* control : {first, second, third}) {
    control->keysDown.clear();
    control->keysUp.clear();
  }
  Key(KeyCodePopUp);
  KeyWith(kAltKey, kF10);  // mapped to the menu key
  for (const RecordingControl<>* control : {first, second, third}) {
    for (int32_t code : control->keysDown) {
      EXPECT_NE(code, KeyCodePopUp);
    }
    for (int32_t code : control->keysUp) {
      EXPECT_NE(code, KeyCodePopUp);
    }
  }
  // Each release pops up the first control the key reaches.
  EXPECT_EQ(first->popUps + second->popUps + third->popUps, 2);
  // A disabled control does not pop up.
  tInputEvent release{first, KeyCodePopUp, 0};
  first->Disable();
  const int before = first->popUps;
  EXPECT_TRUE(first->KeyUp(&release));
  EXPECT_EQ(first->popUps, before);
}

TEST_F(ControlTest, APressAndAMoveWithAButtonHeldDragFromThePressPoint) {
  StartWithLevel();
  cell = AddCell(0, 0, 400, 300);
  RecordingControl<>* dragged = AddControl(*cell, 10, 10);
  RecordingControl<>* target = AddControl(*cell, 200, 200, 40, kControlBlue);
  dragged->ArmDragging(1);
  cell->StartAnimation();
  ASSERT_TRUE(Pulse());

  // A release without a move re-arms.
  Press(15, 15);
  EXPECT_EQ(dragged->PressState, LumoControl::PressPending);
  EXPECT_TRUE(dragged->IsPressPending());
  Release(15, 15);
  EXPECT_EQ(dragged->PressState, LumoControl::PressArmed);
  EXPECT_FALSE(dragged->Dragging);

  // A move without a button held does not drag.
  Press(15, 15);
  MouseTo(16, 16);
  EXPECT_FALSE(dragged->Dragging);
  EXPECT_EQ(dragged->PressState, LumoControl::PressArmed);

  Press(15, 15);
  MoveHolding(17, 18);
  ASSERT_TRUE(dragged->Dragging);
  EXPECT_EQ(dragged->PressState, LumoControl::PressDragging);
  EXPECT_EQ((std::vector<int32_t>{dragged->GrabOffsetX, dragged->GrabOffsetY}), (std::vector<int32_t>{5, 5}));
  MoveHolding(215, 215);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ((std::vector<int32_t>{dragged->Left, dragged->Top}), (std::vector<int32_t>{210, 210}));

  // The target takes drops: the release lands the control on it.
  target->SetAcceptsDrops(true);
  Release(215, 215);
  EXPECT_FALSE(dragged->Dragging);
  EXPECT_EQ(dragged->PressState, LumoControl::PressArmed);
  EXPECT_EQ(target->heard, (std::vector<std::string>{"OnCatch"}));
  EXPECT_EQ(dragged->Cell(), cell);
  EXPECT_EQ((std::vector<int32_t>{dragged->Left, dragged->Top}), (std::vector<int32_t>{210, 210}));
}

TEST_F(ControlTest, ADisabledControlSwallowsAPressWithoutTakingTheFocus) {
  StartWithThree();
  second->Disable();
  Press(45, 15);
  EXPECT_EQ(FocusedIndex(), -1);
  Press(15, 15);
  EXPECT_EQ(FocusedIndex(), 0);
  // A press on a key-coloured pixel is not the control's.
  first->SequenceNode->Graphic()->SetSourceKey(kControlRed);
  Press(75, 15);
  EXPECT_EQ(FocusedIndex(), 2);
  Press(15, 15);
  EXPECT_EQ(FocusedIndex(), 2);
}

TEST_F(ControlTest, AlignmentInAPlainCell) {
  struct Case {
    int32_t alignment;
    int32_t left, top, width, height;
  };
  // A 400 x 300 cell, size 30, the default bevel's margin m = 4.
  const Case cases[] = {
      {1, 4, 4, 30, 292},
      {2, 4, 4, 392, 30},
      {3, 400 - 8 - 30, 4, 30, 292},
      {4, 4, 300 - 8 - 30, 392, 30},
  };
  StartWithThree();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alignment);
    int32_t left = -1;
    int32_t top = -1;
    int32_t width = -1;
    int32_t height = -1;
    ASSERT_TRUE(first->AlignBounds(c.alignment, 30, false, left, top, width, height));
    EXPECT_EQ((std::vector<int32_t>{left, top, width, height}),
              (std::vector<int32_t>{c.left, c.top, c.width, c.height}));
    EXPECT_EQ(first->Alignment, c.alignment);
    EXPECT_EQ(first->AlignedSize, 30);
    EXPECT_EQ(first->Margin, 4);
    EXPECT_EQ(first->Gap, 8);
    EXPECT_EQ(first->AlignOffset, 33);
  }
  int32_t left = -1;
  int32_t top = -1;
  int32_t width = -1;
  int32_t height = -1;
  EXPECT_FALSE(second->AlignBounds(0, 30, false, left, top, width, height));
  EXPECT_EQ(left, -1);
  EXPECT_EQ(second->Margin, 0);
}

TEST_F(ControlTest, EnableAndDisableRunTheirHooksOnce) {
  struct Counting : RecordingControl<> {
    void OnEnable() override { heard.push_back("OnEnable"); }
    void OnDisable() override { heard.push_back("OnDisable"); }
    void DoEnable() override {
      if (undo) {
        Disable();
      }
    }
    bool undo = false;
  };
  StartWithLevel();
  cell = AddCell(0, 0, 400, 300);
  auto* control = AddSprite<Counting>(*cell, 0, 0, MadeGraphic(4, 4, kControlRed));
  auto* part = AddSprite<Counting>(*cell, 0, 0, MadeGraphic(4, 4, kControlRed));
  ASSERT_NE(control->Body->AttachSprite(part), nullptr);
  control->Enable();
  control->Enable();
  EXPECT_TRUE(part->Enabled);
  control->Disable();
  control->Disable();
  EXPECT_FALSE(part->Enabled);
  EXPECT_EQ(control->heard, (std::vector<std::string>{"OnEnable", "OnDisable"}));
  // An OnEnable is skipped when DoEnable disabled the control again.
  control->heard.clear();
  control->undo = true;
  control->Enable();
  EXPECT_FALSE(control->Enabled);
  EXPECT_EQ(control->heard, (std::vector<std::string>{"OnDisable"}));
}

TEST_F(ControlTest, AHotMouseShowsOverTheControlAndTheFirstMouseComesBack) {
  WriteCursorFile("_Cursor.bmp");
  WriteCursorFile("Hand.bmp");
  StartWithThree();
  LumoMouseNode* first_mouse = Engine->GetFirstMouse();
  ASSERT_NE(first_mouse, nullptr);
  LumoMouseNode* hand = Engine->GetMouse("Hand");
  ASSERT_NE(hand, nullptr);
  EXPECT_EQ(Engine->Mouse, first_mouse);
  second->SetHotMouse(hand);
  MouseTo(45, 15);
  EXPECT_EQ(Engine->Mouse, hand);
  MouseTo(300, 200);
  EXPECT_EQ(Engine->Mouse, first_mouse);
  // A disabled control shows no hot mouse.
  second->Disable();
  MouseTo(45, 15);
  EXPECT_EQ(Engine->Mouse, first_mouse);
}

}  // namespace
}  // namespace framework_testing
