#include "platform/Testing.h"

#include <algorithm>
#include <mutex>

#include "platform/DeviceContexts.h"
#include "platform/DeviceFaults.h"
#include "platform/Keyboard.h"
#include "platform/MessageQueue.h"
#include "platform/Surface.h"
#include "platform/headless/HeadlessState.h"

namespace platform {
namespace {

std::mutex faultMutex;
std::vector<std::string> refusedDevices;
int32_t presetDeviceContexts = 0;

}  // namespace

bool DeviceStartRefused(const std::string& device) {
  std::lock_guard lock(faultMutex);
  return std::find(refusedDevices.begin(), refusedDevices.end(), device) != refusedDevices.end();
}

int32_t OpenDeviceContexts() { return Surface::OpenDeviceContexts() + presetDeviceContexts; }

namespace testing {

using headless::State;

void InjectMessage(const Message& message) {
  {
    std::lock_guard lock(State().mutex);
    State().pendingEvents.push_back(message);
  }
  State().wakeSignal.notify_all();
}

void SetIdleHandler(std::function<void()> handler) {
  std::lock_guard lock(State().mutex);
  State().idleHandler = std::move(handler);
}

void PresetMessageBoxAnswer(MessageBoxAnswer answer) {
  std::lock_guard lock(State().mutex);
  State().presetAnswers.push_back(answer);
}

std::vector<ShownMessageBox> ShownMessageBoxes() {
  std::lock_guard lock(State().mutex);
  return State().shownBoxes;
}

PresentedFrame LastPresentedFrame() {
  std::lock_guard lock(State().mutex);
  return State().lastFrame;
}

bool HeadlessWindowOpen() {
  std::lock_guard lock(State().mutex);
  return State().windowOpen;
}

bool HeadlessWindowVisible() {
  std::lock_guard lock(State().mutex);
  return State().windowVisible;
}

WindowSettings HeadlessWindowSettings() {
  std::lock_guard lock(State().mutex);
  return State().window;
}

void FailDeviceStart(const std::string& device) {
  std::lock_guard lock(faultMutex);
  refusedDevices.push_back(device);
}

void SetOpenDeviceContexts(int32_t count) { presetDeviceContexts = count; }

void AddFakeJoystick(int32_t slot, const JoystickCapabilities& capabilities) {
  if (slot < 0 || slot >= kJoystickSlots) {
    return;
  }
  FakeJoystick joystick;
  joystick.present = true;
  joystick.capabilities = capabilities;
  joystick.state.x = capabilities.minimumX + (capabilities.maximumX - capabilities.minimumX) / 2;
  joystick.state.y = capabilities.minimumY + (capabilities.maximumY - capabilities.minimumY) / 2;
  joystick.state.z = capabilities.minimumZ + (capabilities.maximumZ - capabilities.minimumZ) / 2;
  std::lock_guard lock(State().mutex);
  State().joysticks[static_cast<size_t>(slot)] = joystick;
}

void SetFakeJoystickState(int32_t slot, const JoystickState& state) {
  if (slot >= 0 && slot < kJoystickSlots) {
    std::lock_guard lock(State().mutex);
    State().joysticks[static_cast<size_t>(slot)].state = state;
  }
}

void SetFakeJoystickReadable(int32_t slot, bool readable) {
  if (slot >= 0 && slot < kJoystickSlots) {
    std::lock_guard lock(State().mutex);
    State().joysticks[static_cast<size_t>(slot)].readable = readable;
  }
}

void Reset() {
  SetSyncObserver(nullptr);
  {
    std::lock_guard lock(faultMutex);
    refusedDevices.clear();
  }
  presetDeviceContexts = 0;
  {
    std::lock_guard lock(State().mutex);
    State().pendingEvents.clear();
    State().idleHandler = nullptr;
    State().presetAnswers.clear();
    State().shownBoxes.clear();
    State().lastFrame = PresentedFrame{};
    State().woken = false;
    State().joysticks.fill(FakeJoystick{});
  }
  GameQueue().Clear();
  ResetKeyStates();
  ReleaseKeyboardHook();
  ReleaseClock();
  ResetAudioHooks();
}

}  // namespace testing
}  // namespace platform
