#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/Backend.h"
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
};

HeadlessState& State();

}  // namespace platform::headless
