#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "FrameworkFixture.h"
#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSprite.h"
#include "platform/MessageQueue.h"
#include "platform/Testing.h"
#include "runtime/Graphics.h"
#include "runtime/RTSState.h"
#include "runtime/RTSWindowProc.h"
#include "support/DebugLogReader.h"

namespace framework_testing {

// A nameless graphic node of its own in one colour, which the frame showing
// it frees.
inline LumoGraphicNode* MadeGraphic(int32_t width, int32_t height, const sRGB& colour) {
  auto* node = new LumoGraphicNode;
  node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(width, height, colour)));
  return node;
}

// A frame of the graphic at the offset, shown for duration due frames.
inline LumoSequenceNode* AddFrame(LumoSequenceList& sequence, LumoGraphicNode* graphic, int32_t left = 0,
                                  int32_t top = 0, uint32_t duration = 1) {
  auto* frame = static_cast<LumoSequenceNode*>(sequence.CreateItem());
  frame->SetGraphic(graphic);
  frame->SetOffset(left, top);
  frame->SetDuration(duration);
  sequence.Append(frame);
  return frame;
}

// The format with the object's address in its one "%p".
inline std::string Line(const char* format, const void* object) {
  char text[512];
  std::snprintf(text, sizeof text, format, object);
  return text;
}

inline bool LogHas(const std::string& text) {
  return testing_support::ReadDebugLog().find(text) != std::string::npos;
}

// The running engine with one current level; cells are made in it and
// input arrives as window messages.
class SpriteFixture : public FrameworkTest {
 protected:
  void StartWithLevel() {
    populate = [this](TestEngine& engine) {
      level = AppendLevel(engine, "level");
      engine.RequestLevel(level);
    };
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Pulse());
    ASSERT_EQ(Engine->Level, level);
    // The window is active and its surfaces intact, as the main loop finds
    // them after an activation, so input is delivered.
    Send({platform::MessageKind::Activate, 1});
    RTS().surfacesValid = true;
  }

  template <typename Cell = LumoCell>
  Cell* AddCell(int32_t left, int32_t top, int32_t width, int32_t height) {
    auto* cell = new Cell;
    level->Append(cell);
    cell->SetViewport(left, top, width, height);
    return cell;
  }

  // A sprite of the cell at (x, y) with one endless sequence of one frame,
  // at the engine's rate (every frame due).
  template <typename Sprite = LumoSprite>
  Sprite* AddSprite(LumoCell& cell, int32_t x, int32_t y, LumoGraphicNode* graphic) {
    auto* sprite = new Sprite;
    cell.Append(sprite);
    sprite->SetPosition(x, y);
    AddFrame(*sprite->AppendSequence(Engine->FramesPerPulse, -1), graphic);
    sprite->ResetSequence(false);
    return sprite;
  }

  // Injects a device event and dispatches what the queue then holds.
  static void Send(const platform::Message& message) {
    platform::testing::InjectMessage(message);
    platform::Message taken;
    while (platform::GameQueue().Take(taken)) {
      DispatchRTSMessage(taken);
    }
  }
  static void MouseTo(int32_t x, int32_t y) { Send({platform::MessageKind::MouseMove, 0, x, y, 0}); }
  // A press reaches only regions the cursor entered: the cursor moves there first.
  static void Press(int32_t x, int32_t y) {
    MouseTo(x, y);
    Send({platform::MessageKind::LeftButtonDown, 0, x, y, platform::kButtonLeft});
  }
  static void Release(int32_t x, int32_t y) { Send({platform::MessageKind::LeftButtonUp, 0, x, y, 0}); }

  static uint32_t Presented(int32_t x, int32_t y) {
    return platform::testing::PresentedPixel(platform::testing::LastPresentedFrame(), x, y);
  }

  TestLevel* level = nullptr;
};

}  // namespace framework_testing
