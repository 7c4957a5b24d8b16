#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class MessageQueue;
struct JoystickCapabilities;
struct JoystickState;

// ---- Back ends ----
// One back end serves the process: "sdl" (a real window through SDL2) or
// "headless" (no output; chosen when there is no display or YOB_HEADLESS=1).
// The shared code above never asks which one runs.

struct WindowSettings {
  std::string title;
  bool windowed = false;  // false: a full-screen pop-up
  int32_t left = 0;       // outer position and client size in pixels
  int32_t top = 0;
  int32_t width = 640;
  int32_t height = 480;
};

// A frame to show: rows of pixels in the given format, top row first.
struct FrameView {
  const uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;          // bytes from one row to the next
  uint32_t bitsPerPixel = 0;  // 15, 16, 24 or 32
  uint32_t redMask = 0;
  uint32_t greenMask = 0;
  uint32_t blueMask = 0;
};

enum class MessageBoxKind : uint32_t {
  Error,     // stop icon, one OK button
  Question,  // exclamation icon, Yes and No buttons
};

enum class MessageBoxAnswer : uint32_t { Ok, Yes, No };

// The audio output: signed 16-bit samples, channels interleaved.
struct AudioOutputSpec {
  int32_t samplesPerSecond = 22050;
  int32_t channels = 2;  // 1 or 2
};

// What feeds the audio output (the mixer). FillAudio may be called on the
// back end's own audio thread.
class AudioSource {
 public:
  virtual void FillAudio(int16_t* samples, uint32_t frames) = 0;

 protected:
  ~AudioSource() = default;
};

// Back ends are shared: the process's current one (GetBackend) and every
// mixer opened on it hold it, so it outlives them whatever the order of
// their release.
class Backend : public std::enable_shared_from_this<Backend> {
 public:
  virtual ~Backend() = default;

  virtual const char* Name() const = 0;

  // The one window of the process. Opening a second replaces the first.
  virtual bool OpenWindow(const WindowSettings& settings) = 0;
  virtual void CloseWindow() = 0;
  virtual void ShowWindow(bool visible) = 0;
  virtual void SetWindowTitle(const std::string& title) = 0;
  virtual void SetWindowPosition(int32_t left, int32_t top) = 0;
  // Shows a frame in the window's client area; sizes that differ are scaled.
  virtual void PresentFrame(const FrameView& frame) = 0;

  // Moves the device events that arrived since the last call into the queue.
  virtual void PumpEvents(MessageQueue& queue) = 0;
  // Blocks until a device event may be pending, Wake was called or the
  // time-out (milliseconds; negative: none) ran out.
  virtual void WaitForEvents(int32_t timeoutMilliseconds) = 0;
  // Ends a WaitForEvents early. Safe to call from any thread.
  virtual void Wake() = 0;

  // The joystick in a slot (0 or 1): its capabilities and its position now;
  // false when there is none or it cannot be read.
  virtual bool JoystickCapabilities(int32_t slot, JoystickCapabilities& capabilities) = 0;
  virtual bool ReadJoystick(int32_t slot, JoystickState& state) = 0;

  // Moves the mouse cursor to a client position; the move arrives as a
  // mouse-move message, as one made by the hand would.
  virtual void WarpMouse(int32_t x, int32_t y) = 0;

  // Shows a modal message box; answers the button chosen (Ok for errors).
  virtual MessageBoxAnswer ShowMessageBox(const std::string& caption, const std::string& text,
                                          MessageBoxKind kind) = 0;

  // ---- Audio output ----
  // Opens the output and starts pulling from the source; the requested rate
  // and channel count are replaced by what the output got. False when no
  // output can be opened. Opening again replaces the source.
  virtual bool OpenAudio(AudioOutputSpec& spec, AudioSource& source) = 0;
  virtual void CloseAudio() = 0;
  // Pulls what is due by the layer's clock when the back end has no device
  // that pulls on its own (headless); nothing otherwise. Game thread only.
  virtual void UpdateAudio() = 0;
};

// The back end of the process, chosen at the first call.
Backend& GetBackend();
// Releases the back end (and the system services it holds); the next
// GetBackend chooses again.
void ReleaseBackend();

}  // namespace platform
