#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "PageFixture.h"
#include "framework/LumoEditBox.h"
#include "runtime/GraphicFiles.h"
#include "runtime/Keyboard.h"

namespace framework_testing {

constexpr sRGB kCaretColour{40, 220, 90};

// An edit box that counts its frames and what reached its hooks.
class CountingEditBox : public LumoEditBox {
 public:
  const char* GetClassName() const override { return "CountingEditBox"; }
  void DoSelectFrame() override {
    ++frames;
    LumoEditBox::DoSelectFrame();
  }
  void OnChange() override { ++changes; }
  void OnAccept() override { ++accepts; }
  void OnExecute() override { ++executes; }
  void OnReject() override { ++rejects; }

  int frames = 0;
  int changes = 0;
  int accepts = 0;
  int executes = 0;
  int rejects = 0;
};

// The page fixture with edit boxes of the test font on black, their caret
// in kCaretColour, and typing sent as key and character messages.
class EditBoxFixture : public PageFixture {
 protected:
  void TearDown() override {
    EnableControlKeys();
    PageFixture::TearDown();
  }

  // A box of the cell defined with the test font; the cell animates.
  CountingEditBox* AddBox(int32_t width, int32_t height, int32_t left = 0, int32_t top = 0, int32_t period = 4) {
    auto* box = new CountingEditBox;
    cell->Append(box);
    box->Define(left, top, width, height, period, kCaretColour, kPaper, font, true);
    cell->StartAnimation();
    return box;
  }

  // Engine passes until the box has run one more frame of its own.
  bool Frame(CountingEditBox& box) {
    const int before = box.frames;
    for (int pass = 0; pass < 64 && box.frames == before; ++pass) {
      if (!Pulse()) {
        return false;
      }
    }
    return box.frames != before;
  }

  // The scroll bars' and refresh button's looks as pictures, for boxes
  // that grow a bar.
  static void WriteBarLooks() {
    for (const char* kind : {"Left", "Right", "Up", "Down", "Thumb"}) {
      for (const char state : {'A', 'H', 'D', 'P'}) {
        const std::string name = std::string("_B") + state + kind + ".bmp";
        GraphicHandle graphic = CreateGraphic(10, 10, sRGB{0, 128, 128});
        ASSERT_NE(graphic, nullptr);
        ASSERT_TRUE(SaveGraphic(graphic, name.c_str()));
        DestroyGraphic(graphic);
      }
    }
  }

  static void KeyDown(uint32_t key) { Send({platform::MessageKind::KeyDown, key}); }
  static void KeyUp(uint32_t key) { Send({platform::MessageKind::KeyUp, key}); }
  static void Key(uint32_t key) {
    KeyDown(key);
    KeyUp(key);
  }
  static void KeyWith(uint32_t modifier, uint32_t key) {
    KeyDown(modifier);
    Key(key);
    KeyUp(modifier);
  }
  static void Character(uint8_t code) { Send({platform::MessageKind::Character, code}); }
  // Each character as its character message.
  static void Type(const std::string& text) {
    for (const char c : text) {
      Character(static_cast<uint8_t>(c));
    }
  }

  static std::string TextOf(LumoEditBox& box) {
    char text[LumoEditBox::kTextSize];
    return box.GetText(text);
  }

  // The caret's column: every row of the line in the caret colour.
  static bool CaretDrawnAt(LumoPage& page, int32_t x, int32_t y) {
    const uint32_t caret = ConvertRGB(kCaretColour);
    for (int32_t row = 0; row < kLineHeight; ++row) {
      if (page.Graphic->GetPixel(x, y + row) != caret) {
        return false;
      }
    }
    return true;
  }
  static int CaretPixels(LumoPage& page) {
    const uint32_t caret = ConvertRGB(kCaretColour);
    int count = 0;
    for (int32_t y = 0; y < page.Graphic->Height; ++y) {
      for (int32_t x = 0; x < page.Graphic->Width; ++x) {
        count += page.Graphic->GetPixel(x, y) == caret ? 1 : 0;
      }
    }
    return count;
  }

  static constexpr uint32_t kBackspace = 8;
  static constexpr uint32_t kEnter = 13;
  static constexpr uint32_t kShift = 16;
  static constexpr uint32_t kEscape = 27;
  static constexpr uint32_t kPageUp = 33;
  static constexpr uint32_t kPageDown = 34;
  static constexpr uint32_t kEnd = 35;
  static constexpr uint32_t kHome = 36;
  static constexpr uint32_t kLeft = 37;
  static constexpr uint32_t kUp = 38;
  static constexpr uint32_t kRight = 39;
  static constexpr uint32_t kDown = 40;
  static constexpr uint32_t kDelete = 46;
  static constexpr uint32_t kTabKey = 9;
};

}  // namespace framework_testing
