#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlFixture.h"
#include "framework/LumoButton.h"
#include "framework/LumoCell.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "runtime/GraphicFiles.h"
#include "support/MediaWriters.h"

namespace framework_testing {
namespace {

constexpr sRGB kGrey{128, 128, 128};
constexpr uint32_t kEscape = 27;

// A button that counts the sounds it is told of.
class SoundingButton : public RecordingControl<LumoButton> {
 public:
  void DoPlaySound() override {
    ++soundsPlayed;
    RecordingControl<LumoButton>::DoPlaySound();
  }
  int soundsPlayed = 0;
};

// A running level with four 20 x 20 looks ("n.bmp" red, "h.bmp" green,
// "d.bmp" grey, "p.bmp" blue) and sound mixed at 8000 frames a second.
class ButtonTest : public ControlFixture {
 protected:
  static constexpr uint32_t kRate = 8000;

  void SetUp() override {
    ControlFixture::SetUp();
    Profile()["DirectSound/SamplesPerSec"] = "8000";
    Profile()["DirectSound/Channels"] = "1";
    Profile()["DirectSound/BitsPerSample"] = "16";
    StartWithLevel();
    WritePicture("n.bmp", kControlRed);
    WritePicture("h.bmp", kControlGreen);
    WritePicture("d.bmp", kGrey);
    WritePicture("p.bmp", kControlBlue);
    WriteSound("click.wav", 200);
    WriteSound("hover.wav", 50);
    WriteSound("dead.wav", 50);
    cell = AddCell(0, 0, 400, 300);
  }

  static void WritePicture(const char* name, const sRGB& colour) {
    GraphicHandle graphic = CreateGraphic(20, 20, colour);
    ASSERT_NE(graphic, nullptr);
    ASSERT_TRUE(SaveGraphic(graphic, name));
    DestroyGraphic(graphic);
  }

  static void WriteSound(const std::string& file, uint32_t milliseconds) {
    const std::vector<int16_t> samples(milliseconds * (kRate / 1000), 1000);
    testing_support::WriteBytes(file,
                                testing_support::PcmWave(1, kRate, 16, testing_support::Samples16(samples)));
  }

  // A button defined at (x, y) with the four looks, in a running cell.
  SoundingButton* AddButton(int32_t x, int32_t y, const char* click = nullptr, const char* hover = nullptr) {
    auto* button = new SoundingButton;
    cell->Append(button);
    button->Define(x, y, true, "n.bmp", "h.bmp", "d.bmp", "p.bmp", click, hover);
    button->SetFocusable(true);
    cell->StartAnimation();
    EXPECT_TRUE(Pulse());
    return button;
  }

  // The colour presented at a point after the next pass.
  uint32_t AfterPulse(int32_t x, int32_t y) {
    EXPECT_TRUE(Pulse());
    return Presented(x, y);
  }

  static uint32_t Pixel(const sRGB& colour) { return ConvertRGB(colour); }

  LumoCell* cell = nullptr;
};

TEST_F(ButtonTest, TheLooksFollowTheMouse) {
  SoundingButton* button = AddButton(50, 50, nullptr, "hover.wav");
  MouseTo(300, 200);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kControlRed));
  MouseTo(55, 55);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kControlGreen));
  // Moving over it again plays no second hover sound.
  MouseTo(56, 56);
  MouseTo(57, 57);
  EXPECT_EQ(button->soundsPlayed, 1);
  Send({platform::MessageKind::LeftButtonDown, 0, 57, 57, platform::kButtonLeft});
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kControlBlue));
  MouseTo(300, 200);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kControlRed));
  Release(300, 200);
  EXPECT_EQ(button->executes, 0);
  // A new hover plays the sound again.
  MouseTo(55, 55);
  EXPECT_EQ(button->soundsPlayed, 2);

  // Disabled: the disabled look; a press is swallowed without focus or
  // execution.
  button->Disable();
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kGrey));
  Press(55, 55);
  Release(55, 55);
  EXPECT_EQ(AfterPulse(55, 55), Pixel(kGrey));
  EXPECT_FALSE(button->Focused);
  EXPECT_EQ(button->executes, 0);
}

TEST_F(ButtonTest, APressOnAKeyColouredPixelChangesNothing) {
  SoundingButton* button = AddButton(50, 50);
  auto* frame = static_cast<LumoSequenceNode*>(button->NormalLook->At(0));
  frame->Graphic()->SetSourceKey(kControlRed);
  MouseTo(300, 200);
  ASSERT_TRUE(Pulse());
  Press(55, 55);
  EXPECT_FALSE(button->Pressed);
  Release(55, 55);
  EXPECT_EQ(button->executes, 0);
  EXPECT_FALSE(button->Focused);
  EXPECT_EQ(button->SequenceList, button->NormalLook);
}

TEST_F(ButtonTest, ExecutionWaitsForTheClicksFeedback) {
  enum Way { MouseClick, CallExecute, HotKey, ReturnKey, EscapeKey, DefaultReturn };
  struct Case {
    const char* name;
    Way way;
    const char* click;  // the click sound
    // Executions after the click itself, then after each further pass.
    std::vector<int> executes;
    bool pressedFirst;  // the pressed look shows in the first pass after it
  };
  // The looks run at 6 frames a pulse, half the engine's rate: the
  // button's frames come every second pass.
  const Case cases[] = {
      {"a mouse click without a sound executes at once", MouseClick, nullptr, {1, 1, 1, 1, 1, 1}, false},
      {"Execute shows the pressed look two frames", CallExecute, nullptr, {0, 0, 0, 0, 1, 1}, true},
      {"the hot key shows the pressed look two frames", HotKey, nullptr, {0, 0, 0, 0, 1, 1}, true},
      {"Return on the focused button", ReturnKey, nullptr, {0, 0, 0, 0, 1, 1}, true},
      {"Escape on the cancel button", EscapeKey, nullptr, {0, 0, 0, 0, 1, 1}, true},
      {"Return on the default button", DefaultReturn, nullptr, {0, 0, 0, 0, 1, 1}, true},
      // 200 ms of sound: the action follows its end, a few passes later.
      {"a mouse click waits for the click sound", MouseClick, "click.wav", {0, 0, 0, 1, 1, 1}, true},
      {"Execute waits for the click sound", CallExecute, "click.wav", {0, 0, 0, 1, 1, 1}, true},
      // A sound that cannot start (its repeat count is 0) does not hold the
      // click for ever.
      {"an unplayable click sound", MouseClick, "dead.wav", {1, 1, 1, 1, 1, 1}, false},
      {"an unplayable click sound through Execute", CallExecute, "dead.wav", {0, 0, 0, 0, 1, 1}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundingButton* button = AddButton(50, 50, c.click);
    if (button->ClickSound != nullptr && std::string(c.click) == "dead.wav") {
      button->ClickSound->SetRepeats(0);
    }
    button->SetHotKey('B', 0);
    MouseTo(300, 200);
    ASSERT_TRUE(Pulse());
    switch (c.way) {
      case MouseClick:
        Press(55, 55);
        Release(55, 55);
        MouseTo(300, 200);
        break;
      case CallExecute:
        button->Execute();
        break;
      case HotKey:
        Key('B');
        break;
      case ReturnKey:
        button->Focus();
        Key(kReturn);
        break;
      case EscapeKey:
        button->SetExecuteMode(2);
        Key(kEscape);
        break;
      case DefaultReturn:
        button->SetExecuteMode(1);
        Key(kReturn);
        break;
    }
    std::vector<int> executes{button->executes};
    for (size_t pass = 1; pass < c.executes.size(); ++pass) {
      const uint32_t pixel = AfterPulse(55, 55);
      if (pass == 1) {
        EXPECT_EQ(pixel == Pixel(kControlBlue), c.pressedFirst);
      }
      executes.push_back(button->executes);
    }
    EXPECT_EQ(executes, c.executes);
    // Afterwards the normal look again.
    EXPECT_EQ(AfterPulse(55, 55), Pixel(kControlRed));
    DestroyObject(button);
  }
}

TEST_F(ButtonTest, ASecondClickCutsTheClickSoundShortAndDisablingStillExecutes) {
  WriteSound("long.wav", 2000);
  SoundingButton* button = AddButton(50, 50, "long.wav");
  Press(55, 55);
  Release(55, 55);
  ASSERT_TRUE(button->Clicking);
  // Past the double-click time, still within the sound.
  while (Now() < 1000 + 800) {
    ASSERT_TRUE(Pulse());
  }
  EXPECT_TRUE(button->Clicking);
  EXPECT_EQ(button->executes, 0);
  Press(55, 55);
  Release(55, 55);
  EXPECT_FALSE(button->Clicking);
  EXPECT_EQ(button->executes, 1);
  // Nothing more follows (and the next press is no double click).
  const uint32_t cut = Now();
  while (Now() < cut + 600) {
    ASSERT_TRUE(Pulse());
  }
  EXPECT_EQ(button->executes, 1);

  // Disabled while the sound plays: the action still follows its end.
  Press(55, 55);
  Release(55, 55);
  MouseTo(300, 200);
  ASSERT_TRUE(button->Clicking);
  button->Disable();
  for (int pass = 0; pass < 30; ++pass) {
    ASSERT_TRUE(Pulse());
  }
  EXPECT_FALSE(button->Clicking);
  EXPECT_EQ(button->executes, 2);
  EXPECT_EQ(Presented(55, 55), Pixel(kGrey));
}

TEST_F(ButtonTest, ADefinedButtonWithoutSoundsHasNone) {
  SoundingButton* button = AddButton(50, 50);
  EXPECT_EQ(button->ClickSound, nullptr);
  EXPECT_EQ(button->HoverSound, nullptr);
  // Looks by meaning: normal, hot, disabled, pressed.
  auto graphicName = [](LumoSequenceList* look) {
    return std::string(static_cast<LumoSequenceNode*>(look->At(0))->Graphic()->Name);
  };
  EXPECT_EQ(graphicName(button->NormalLook), "n.bmp");
  EXPECT_EQ(graphicName(button->HotLook), "h.bmp");
  EXPECT_EQ(graphicName(button->DisabledLook), "d.bmp");
  EXPECT_EQ(graphicName(button->PressedLook), "p.bmp");
  // A button on an empty canvas shows nothing and still clicks.
  auto* bare = new SoundingButton;
  cell->Append(bare);
  bare->DefineWithCanvas(100, 100, true, 20, 20, nullptr, nullptr);
  bare->StartAnimation();
  bare->Click();
  for (int pass = 0; pass < 4; ++pass) {
    EXPECT_EQ(AfterPulse(105, 105), Presented(150, 150));
  }
  EXPECT_EQ(bare->executes, 1);
}

}  // namespace
}  // namespace framework_testing
