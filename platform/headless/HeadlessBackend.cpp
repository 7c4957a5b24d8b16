#include "platform/headless/HeadlessBackend.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "platform/Clock.h"
#include "platform/DeviceFaults.h"
#include "platform/Keyboard.h"
#include "platform/MessageQueue.h"
#include "platform/headless/HeadlessState.h"

namespace platform::headless {

HeadlessState& State() {
  // Never destroyed: a back end released during the program's static
  // destruction (kept alive by a mixer until then) still closes its output
  // here.
  static HeadlessState& state = *new HeadlessState;
  return state;
}

void PullDueAudio() {
  AudioSource* source = nullptr;
  uint64_t missing = 0;
  uint32_t channels = 2;
  {
    std::lock_guard lock(State().mutex);
    source = State().audioSource;
    if (source == nullptr) {
      return;
    }
    const uint64_t rate = static_cast<uint64_t>(State().audioSpec.samplesPerSecond);
    const uint32_t elapsed = UpTimeMilliseconds() - State().audioOpenedAt;
    const uint64_t due = elapsed * rate / 1000;
    if (due <= State().audioFramesPulled) {
      return;
    }
    missing = due - State().audioFramesPulled;
    // A jump of the clock beyond a few seconds is dropped rather than mixed.
    const uint64_t limit = rate * 5;
    if (missing > limit) {
      State().audioFramesPulled += missing - limit;
      missing = limit;
    }
    State().audioFramesPulled += missing;
    channels = static_cast<uint32_t>(State().audioSpec.channels);
  }
  constexpr uint32_t kPullFrames = 1024;
  std::vector<int16_t> samples(static_cast<size_t>(kPullFrames) * channels);
  while (missing > 0) {
    const uint32_t frames = static_cast<uint32_t>(std::min<uint64_t>(missing, kPullFrames));
    // The mixer takes its own lock; the state's is not held meanwhile.
    source->FillAudio(samples.data(), frames);
    missing -= frames;
    std::lock_guard lock(State().mutex);
    if (State().capturingAudio) {
      State().capturedAudio.insert(State().capturedAudio.end(), samples.begin(),
                                   samples.begin() + static_cast<std::ptrdiff_t>(frames * channels));
    }
  }
}

namespace {

// Bytes per pixel of a frame, 0 for a format the layer does not know.
uint32_t BytesPerPixel(uint32_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 15:
    case 16:
      return 2;
    case 24:
      return 3;
    case 32:
      return 4;
    default:
      return 0;
  }
}

class HeadlessBackend final : public Backend {
 public:
  ~HeadlessBackend() override { CloseAudio(); }

  const char* Name() const override { return "headless"; }

  bool OpenWindow(const WindowSettings& settings) override {
    std::lock_guard lock(State().mutex);
    State().windowOpen = true;
    State().windowVisible = false;
    State().window = settings;
    return true;
  }

  void CloseWindow() override {
    std::lock_guard lock(State().mutex);
    State().windowOpen = false;
    State().windowVisible = false;
  }

  // Showing the window makes the application the active one, and hiding
  // it deactivates it, as a desktop would.
  void ShowWindow(bool visible) override {
    std::lock_guard lock(State().mutex);
    const bool wasVisible = State().windowVisible;
    State().windowVisible = visible && State().windowOpen;
    if (State().windowVisible != wasVisible) {
      State().pendingEvents.push_back({MessageKind::Activate, State().windowVisible ? 1u : 0u});
    }
  }

  void SetWindowTitle(const std::string& title) override {
    std::lock_guard lock(State().mutex);
    State().window.title = title;
  }

  void SetWindowPosition(int32_t left, int32_t top) override {
    std::lock_guard lock(State().mutex);
    State().window.left = left;
    State().window.top = top;
  }

  void PresentFrame(const FrameView& frame) override {
    const uint32_t bytesPerPixel = BytesPerPixel(frame.bitsPerPixel);
    if (frame.pixels == nullptr || bytesPerPixel == 0 || frame.width <= 0 || frame.height <= 0) {
      return;
    }
    const size_t rowBytes = static_cast<size_t>(frame.width) * bytesPerPixel;
    if (frame.pitch < 0 || static_cast<size_t>(frame.pitch) < rowBytes) {
      return;
    }
    testing::PresentedFrame copy;
    copy.width = frame.width;
    copy.height = frame.height;
    copy.bitsPerPixel = frame.bitsPerPixel;
    copy.pixels.resize(rowBytes * static_cast<size_t>(frame.height));
    for (int32_t row = 0; row < frame.height; ++row) {
      const uint8_t* source = frame.pixels + static_cast<size_t>(row) * static_cast<size_t>(frame.pitch);
      std::copy(source, source + rowBytes, copy.pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * row));
    }
    std::lock_guard lock(State().mutex);
    State().lastFrame = std::move(copy);
  }

  void PumpEvents(MessageQueue& queue) override {
    PullDueAudio();
    std::deque<Message> events;
    {
      std::lock_guard lock(State().mutex);
      events.swap(State().pendingEvents);
    }
    for (const Message& event : events) {
      NoteDeviceMessage(event);
      queue.Deliver(event);
    }
  }

  bool JoystickCapabilities(int32_t slot, platform::JoystickCapabilities& capabilities) override {
    std::lock_guard lock(State().mutex);
    const testing::FakeJoystick& joystick = State().joysticks[static_cast<size_t>(slot)];
    if (!joystick.present) {
      return false;
    }
    capabilities = joystick.capabilities;
    return true;
  }

  bool ReadJoystick(int32_t slot, JoystickState& state) override {
    std::lock_guard lock(State().mutex);
    const testing::FakeJoystick& joystick = State().joysticks[static_cast<size_t>(slot)];
    if (!joystick.present || !joystick.readable) {
      return false;
    }
    state = joystick.state;
    return true;
  }

  void WarpMouse(int32_t x, int32_t y) override {
    std::lock_guard lock(State().mutex);
    State().pendingEvents.push_back({MessageKind::MouseMove, 0, x, y, 0});
  }

  void WaitForEvents(int32_t timeoutMilliseconds) override {
    if (TakeWake()) {
      return;
    }
    // A held clock is moved on by a timed wait instead of sleeping, so tests
    // of timing run at once.
    if (IsClockHeld() && timeoutMilliseconds >= 0) {
      testing::StepClock(static_cast<uint32_t>(timeoutMilliseconds));
      return;
    }
    std::function<void()> idleHandler;
    {
      std::lock_guard lock(State().mutex);
      idleHandler = State().idleHandler;
    }
    // A test drives an idle game step by step; the caller asks again.
    if (idleHandler && timeoutMilliseconds < 0) {
      idleHandler();
      TakeWake();
      return;
    }
    std::unique_lock lock(State().mutex);
    const auto ready = [] { return State().woken || !State().pendingEvents.empty(); };
    if (timeoutMilliseconds < 0) {
      State().wakeSignal.wait(lock, ready);
    } else {
      State().wakeSignal.wait_for(lock, std::chrono::milliseconds(timeoutMilliseconds), ready);
    }
    State().woken = false;
  }

  void Wake() override {
    {
      std::lock_guard lock(State().mutex);
      State().woken = true;
    }
    State().wakeSignal.notify_all();
  }

  MessageBoxAnswer ShowMessageBox(const std::string& caption, const std::string& text,
                                  MessageBoxKind kind) override {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::lock_guard lock(State().mutex);
    State().shownBoxes.push_back({caption, text, kind});
    MessageBoxAnswer answer = kind == MessageBoxKind::Error ? MessageBoxAnswer::Ok : MessageBoxAnswer::No;
    if (!State().presetAnswers.empty()) {
      answer = State().presetAnswers.front();
      State().presetAnswers.pop_front();
    }
    return answer;
  }

  // The output mixes by the layer's clock, so tests that step the clock hear
  // exactly the milliseconds they stepped.
  bool OpenAudio(AudioOutputSpec& spec, AudioSource& source) override {
    if (DeviceStartRefused("audio output")) {
      return false;
    }
    spec.channels = spec.channels == 1 ? 1 : 2;
    spec.samplesPerSecond = std::clamp(spec.samplesPerSecond, 8000, 192000);
    std::lock_guard lock(State().mutex);
    State().audioSource = &source;
    State().audioSpec = spec;
    State().audioOpenedAt = UpTimeMilliseconds();
    State().audioFramesPulled = 0;
    return true;
  }

  void CloseAudio() override {
    std::lock_guard lock(State().mutex);
    State().audioSource = nullptr;
  }

  void UpdateAudio() override { PullDueAudio(); }

 private:
  // True (and cleared) when an event or a wake is pending.
  static bool TakeWake() {
    std::lock_guard lock(State().mutex);
    const bool ready = State().woken || !State().pendingEvents.empty();
    State().woken = false;
    return ready;
  }
};

}  // namespace

std::unique_ptr<Backend> CreateHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace platform::headless
