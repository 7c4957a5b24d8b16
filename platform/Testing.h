#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Joystick.h"
#include "platform/Message.h"

// Hooks for tests only; nothing in the game includes this header. Apart
// from the clock and the back-end choice, they act on the headless back end.
namespace platform::testing {

// ---- Clock ----

// Freezes the millisecond clock at a value; it then moves only by StepClock
// (and by the headless back end's timed waits, which step it instead of
// sleeping).
void SetClock(uint32_t milliseconds);
// Moves the frozen clock on (freezing it first at the real time).
void StepClock(uint32_t milliseconds);
// Returns the clock to real time.
void ReleaseClock();

// ---- Back end ----

// Makes the next GetBackend choose this back end ("sdl" or "headless")
// whatever the environment says; releases the current one.
void UseBackend(const char* name);

// ---- Events ----

// Queues a device event; the headless back end delivers it at its next pump.
void InjectMessage(const Message& message);
// Called whenever the headless back end would block without a time-out; the
// handler drives the game on (injects events, steps the clock, posts).
// An empty function removes it.
void SetIdleHandler(std::function<void()> handler);

// ---- Message boxes ----

struct ShownMessageBox {
  std::string caption;
  std::string text;
  MessageBoxKind kind = MessageBoxKind::Error;
};
// Answers for the next message boxes, in order; afterwards errors answer Ok
// and questions No.
void PresetMessageBoxAnswer(MessageBoxAnswer answer);
// Every box shown so far.
std::vector<ShownMessageBox> ShownMessageBoxes();

// ---- Frames ----

struct PresentedFrame {
  int32_t width = 0;
  int32_t height = 0;
  uint32_t bitsPerPixel = 0;
  std::vector<uint8_t> pixels;  // rows without padding, top row first
};
PresentedFrame LastPresentedFrame();
// The headless window as the back end holds it.
bool HeadlessWindowOpen();
bool HeadlessWindowVisible();
WindowSettings HeadlessWindowSettings();

// ---- Devices ----

// Makes the start of a device fail ("system", "display", "input", "sound",
// "movie", or any name a device start asks about).
void FailDeviceStart(const std::string& device);
// Adds a count of open device contexts to those the surfaces hold.
void SetOpenDeviceContexts(int32_t count);

// ---- Joysticks ----

// A joystick of the headless back end, as a test sets it up.
struct FakeJoystick {
  bool present = false;
  bool readable = true;  // false: reads fail, as for an unplugged joystick
  JoystickCapabilities capabilities;
  JoystickState state;
};
// Puts a joystick into a slot (0 or 1), centred with no buttons held.
void AddFakeJoystick(int32_t slot, const JoystickCapabilities& capabilities);
// Moves its axes and sets its buttons.
void SetFakeJoystickState(int32_t slot, const JoystickState& state);
// Makes its reads fail (unplugged) or succeed again.
void SetFakeJoystickReadable(int32_t slot, bool readable);

// ---- Files ----

// Called with the path of every file or folder SyncPath is about to put on
// the disk; an empty function removes it.
void SetSyncObserver(std::function<void(const std::string& linuxPath)> observer);

// ---- All hooks ----

// Returns every hook above to its untouched state and drops pending events
// and queued messages.
void Reset();

}  // namespace platform::testing

// ---- Display and surfaces ----

#include "platform/Display.h"
#include "platform/PixelFormat.h"
#include "platform/Surface.h"

namespace platform::testing {

// Settings for displays made after the call; ResetDisplaySettings undoes them.
// The full-screen depths offered (default 16, 24 and 32).
void SetDisplayDepths(std::vector<int32_t> depths);
// The format of the 16-bit modes (default 5/6/5; Format555 for a 5/5/5 card).
void SetSixteenBitFormat(const PixelFormat& format);
// The desktop's depth, which a windowed display takes (default 32).
void SetDesktopDepth(int32_t bitsPerPixel);
// Capabilities to answer instead of the software display's own.
void SetDisplayCapabilities(const DisplayCapabilities& capabilities);
// Puts the back buffer into system memory (where it cannot be lost).
void PutBackBufferInSystemMemory(bool inSystemMemory);
// Makes the creation of the display fail.
void FailDisplayCreation(bool fail);
void ResetDisplaySettings();

// The display that exists now, or null.
Display* ActiveDisplay();

// Marks a video-memory surface lost (system memory is never lost).
void MakeSurfaceLost(Surface& surface);
// The next `times` operations on the surface answer busyResult
// (SurfaceBusy or WasStillDrawing).
void ReportSurfaceBusy(Surface& surface, uint32_t times, SurfaceResult busyResult = SurfaceResult::SurfaceBusy);
// How the surface answers Restore from now on.
void SetSurfaceRestore(Surface& surface, RestoreBehaviour behaviour);
// The stored value of a pixel (0 outside the surface).
uint32_t ReadSurfacePixel(const Surface& surface, int32_t x, int32_t y);

// The stored value of a pixel of a presented frame (0 outside it).
uint32_t PresentedPixel(const PresentedFrame& frame, int32_t x, int32_t y);

}  // namespace platform::testing

// ---- Audio, CD audio and faders ----

#include "platform/Audio.h"

namespace platform::testing {

// Starts (true) or stops keeping the headless audio output's mix; either way
// what was kept is dropped. The output mixes by the layer's clock, so a test
// hears exactly the milliseconds it steps.
void CaptureAudio(bool on);
// The mix kept since the last call, after mixing what the clock made due:
// signed 16-bit samples, channels interleaved.
std::vector<int16_t> TakeCapturedAudio();
// Whether the headless audio output is open, and its format.
bool HeadlessAudioOpen();
AudioOutputSpec HeadlessAudioSpec();

// Sets a fader of the machine's mixer (presence, range, step and value).
void SetAudioFader(FaderKind kind, const Fader& fader);

// A track of the test disc; while the test disc has tracks, every CD opened
// reads them instead of its folder.
struct CdTestTrack {
  bool audio = true;
  AudioFormat format;         // of an audio track
  std::vector<uint8_t> data;  // an audio track's samples in that format
};
void AddCdTrack(const CdTestTrack& track);
void ClearCdTracks();

// Returns the hooks of this section to their untouched state (Reset calls it).
void ResetAudioHooks();

}  // namespace platform::testing
