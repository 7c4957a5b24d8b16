#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/MessageQueue.h"
#include "platform/Testing.h"
#include "runtime/DebugLog.h"
#include "runtime/Input.h"
#include "runtime/RTSState.h"
#include "runtime/RTSWindowProc.h"
#include "runtime/Regions.h"

// Input started on the headless back end with the clock held at 1000, and
// callbacks that record every event as "Kind:region:code:flags" (moves,
// enters and leaves as "Kind:region"). A test region answers true for the
// kinds it handles and may run an action when it is called.
class InputFixture : public ::testing::Test {
 protected:
  struct TestRegion {
    TestRegion(const char* regionName) : name(regionName) {}  // NOLINT: lists of regions read best
    std::string name;
    std::vector<tInputKind> handles;
    std::function<void(tInputKind)> action;
    RegionHandle handle = nullptr;
  };

  void SetUp() override {
    platform::testing::Reset();
    platform::testing::UseBackend("headless");
    platform::testing::SetClock(1000);
    SetDebugMode(DebugModeOverwrite);
    RTS().windowed = true;
    ASSERT_TRUE(StartInputDevice());
    RTS().surfacesValid = true;
    StartInput();
    InstallRecorder();
    Seen().clear();
  }

  // The recording callbacks (input start clears the callbacks).
  static void InstallRecorder() {
    const tInputEvents events = {Record<tInputKind::KeyDown>,
                                 Record<tInputKind::KeyUp>,
                                 Record<tInputKind::Character>,
                                 Record<tInputKind::Click>,
                                 Record<tInputKind::DoubleClick>,
                                 Record<tInputKind::ButtonDown>,
                                 Record<tInputKind::ButtonUp>,
                                 Record<tInputKind::MouseMove>,
                                 Record<tInputKind::MouseEnter>,
                                 Record<tInputKind::MouseLeave>,
                                 Record<tInputKind::JoystickButtonDown>,
                                 Record<tInputKind::JoystickButtonUp>,
                                 Record<tInputKind::JoystickMove>};
    SetInputHandlers(&events);
  }

  void TearDown() override {
    StopInputDevice();
    ForgetRegionCursor();
    RTS().surfacesValid = false;
    RTS().windowed = false;
    SetDebugMode(DebugModeOff);
    platform::testing::Reset();
  }

  static std::vector<std::string>& Seen() {
    static std::vector<std::string> seen;
    return seen;
  }

  // The events seen since the last call, joined by blanks.
  static std::string TakeSeen() {
    std::string joined;
    for (const std::string& event : Seen()) {
      joined += (joined.empty() ? "" : " ") + event;
    }
    Seen().clear();
    return joined;
  }

  static void Add(TestRegion& region, int32_t left, int32_t top, int32_t width, int32_t height) {
    region.handle = CreateRegion(&region, left, top, width, height);
  }

  // Injects a device event and dispatches what the queue then holds.
  static void Send(const platform::Message& message) {
    platform::testing::InjectMessage(message);
    platform::Message taken;
    while (platform::GameQueue().Take(taken)) {
      DispatchRTSMessage(taken);
    }
  }
  static void Key(bool down, uint32_t key) {
    Send({down ? platform::MessageKind::KeyDown : platform::MessageKind::KeyUp, key});
  }
  static void MoveTo(int32_t x, int32_t y, uint32_t buttons = 0) {
    Send({platform::MessageKind::MouseMove, 0, x, y, buttons});
  }
  static void Left(bool down, int32_t x, int32_t y, uint32_t buttons = 0) {
    Send({down ? platform::MessageKind::LeftButtonDown : platform::MessageKind::LeftButtonUp, 0, x,
          y, buttons});
  }

  static const char* KindName(tInputKind kind) {
    static const char* const kNames[] = {
        "KeyDown", "KeyUp", "Character", "Click",   "DoubleClick", "ButtonDown", "ButtonUp",
        "Move",    "Enter", "Leave",     "JoyDown", "JoyUp",       "JoyMove"};
    return kNames[static_cast<int>(kind)];
  }

  template <tInputKind kKind>
  static bool Record(tInputEvent* event) {
    auto* region = static_cast<TestRegion*>(event->User);
    std::string entry = std::string(KindName(kKind)) + ":" + region->name;
    const bool positional = kKind == tInputKind::MouseMove || kKind == tInputKind::MouseEnter ||
                            kKind == tInputKind::MouseLeave;
    if (!positional) {
      entry += ":" + std::to_string(event->Code) + ":" + std::to_string(event->Flags);
    }
    Seen().push_back(entry);
    const bool handled =
        std::find(region->handles.begin(), region->handles.end(), kKind) != region->handles.end();
    if (region->action) {
      region->action(kKind);
    }
    return handled;
  }
};
