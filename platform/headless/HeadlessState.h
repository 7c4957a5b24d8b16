#pragma once

#include <array>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/Backend.h"
#include "platform/Joystick.h"
#include "platform/Message.h"
#include "platform/Testing.h"

namespace platform::headless {

// What the headless back end holds, and what the test hooks set. It lives
// apart from the back end object, so a test can preset answers and events
// before the back end is chosen.
struct HeadlessState {
  std::mutex mutex;
  std::condition_variable wakeSignal;
  bool woken = false;
  std::deque<Message> pendingEvents;
  std::function<void()> idleHandler;
  std::deque<MessageBoxAnswer> presetAnswers;
  std::vector<testing::ShownMessageBox> shownBoxes;
  testing::PresentedFrame lastFrame;
  bool windowOpen = false;
  bool windowVisible = false;
  WindowSettings window;

  // The audio output: pulled by the layer's clock from the moment it opened.
  AudioSource* audioSource = nullptr;
  AudioOutputSpec audioSpec;
  uint32_t audioOpenedAt = 0;      // milliseconds
  uint64_t audioFramesPulled = 0;
  bool capturingAudio = false;
  std::vector<int16_t> capturedAudio;

  std::array<testing::FakeJoystick, kJoystickSlots> joysticks;
};

// Mixes (and drops, or keeps while capturing) the output the clock made due.
void PullDueAudio();

HeadlessState& State();

}  // namespace platform::headless
