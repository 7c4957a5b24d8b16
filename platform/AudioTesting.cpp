#include <mutex>

#include "platform/Testing.h"
#include "platform/headless/HeadlessState.h"

namespace platform::testing {

using headless::State;

void CaptureAudio(bool on) {
  headless::PullDueAudio();
  std::lock_guard lock(State().mutex);
  State().capturingAudio = on;
  State().capturedAudio.clear();
}

std::vector<int16_t> TakeCapturedAudio() {
  headless::PullDueAudio();
  std::lock_guard lock(State().mutex);
  std::vector<int16_t> captured;
  captured.swap(State().capturedAudio);
  return captured;
}

bool HeadlessAudioOpen() {
  std::lock_guard lock(State().mutex);
  return State().audioSource != nullptr;
}

AudioOutputSpec HeadlessAudioSpec() {
  std::lock_guard lock(State().mutex);
  return State().audioSpec;
}

void ResetAudioHooks() {
  {
    std::lock_guard lock(State().mutex);
    State().capturingAudio = false;
    State().capturedAudio.clear();
  }
  SetAudioFader(FaderKind::Master, Fader{});
  SetAudioFader(FaderKind::CdAudio, Fader{});
  ClearCdTracks();
}

}  // namespace platform::testing
