#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SpriteFixture.h"
#include "framework/LumoControl.h"
#include "runtime/Keyboard.h"

namespace framework_testing {

constexpr sRGB kControlRed{0, 0, 255};
constexpr sRGB kControlBlue{255, 0, 0};
constexpr sRGB kControlGreen{0, 255, 0};

// Key codes the tests press.
constexpr uint32_t kTab = 9;
constexpr uint32_t kShiftKey = 16;
constexpr uint32_t kControlKey = 17;
constexpr uint32_t kAltKey = 18;
constexpr uint32_t kF1 = 112;
constexpr uint32_t kF10 = 121;
constexpr uint32_t kReturn = 13;

// A control that writes what reaches its hooks into a list.
template <typename Base = LumoControl>
class RecordingControl : public Base {
 public:
  const char* GetClassName() const override { return "RecordingControl"; }

  std::vector<std::string> heard;
  std::vector<int32_t> keysDown;  // codes that reached the key-down hooks
  std::vector<int32_t> keysUp;
  int executes = 0;
  int popUps = 0;

  bool OnKeyDown(tInputEvent* event) override {
    keysDown.push_back(event->Code);
    return Base::OnKeyDown(event);
  }
  bool OnKeyUp(tInputEvent* event) override {
    keysUp.push_back(event->Code);
    return Base::OnKeyUp(event);
  }
  void OnExecute() override {
    ++executes;
    heard.push_back("OnExecute");
    Base::OnExecute();
  }
  void OnPopUp() override {
    ++popUps;
    Base::OnPopUp();
  }
  void OnComplete() override { heard.push_back("OnComplete"); }
  void OnCatch(LumoSprite* dropped) override {
    heard.push_back("OnCatch");
    Base::OnCatch(dropped);
  }
};

// The sprite fixture with controls: each a coloured square that takes
// input, focusable and enabled.
class ControlFixture : public SpriteFixture {
 protected:
  void TearDown() override {
    EnableControlKeys();
    SpriteFixture::TearDown();
  }

  template <typename Control = RecordingControl<>>
  Control* AddControl(LumoCell& cell, int32_t x, int32_t y, int32_t size = 20, const sRGB& colour = kControlRed) {
    auto* control = AddSprite<Control>(cell, x, y, MadeGraphic(size, size, colour));
    control->SetInput(true);
    control->SetFocusable(true);
    control->Enable();
    return control;
  }

  static void KeyDown(uint32_t key) { Send({platform::MessageKind::KeyDown, key}); }
  static void KeyUp(uint32_t key) { Send({platform::MessageKind::KeyUp, key}); }
  static void Key(uint32_t key) {
    KeyDown(key);
    KeyUp(key);
  }
  // A key with a modifier held.
  static void KeyWith(uint32_t modifier, uint32_t key) {
    KeyDown(modifier);
    Key(key);
    KeyUp(modifier);
  }
  static void MoveHolding(int32_t x, int32_t y) {
    Send({platform::MessageKind::MouseMove, 0, x, y, platform::kButtonLeft});
  }
};

}  // namespace framework_testing
