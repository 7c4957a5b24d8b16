#include "runtime/RTS.h"

#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/DebugFormat.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/DeviceContexts.h"
#include "platform/MessageQueue.h"
#include "platform/Surface.h"
#include "platform/System.h"
#include "runtime/DebugLog.h"
#include "runtime/Display.h"
#include "runtime/RTSDevices.h"
#include "runtime/RTSState.h"
#include "runtime/RTSWindowProc.h"
#include "runtime/Timer.h"

namespace {

constexpr const char* kMutexName = "DirectLumo";
constexpr const char* kInitializationFailed = "\nRTS Initialization failed\n";

// The end offset of each field of tInformation, in order: a partial record
// is copied up to the last whole field it holds.
constexpr size_t kInformationFieldEnds[] = {
    offsetof(tInformation, size) + sizeof(uint32_t),
    offsetof(tInformation, signature) + sizeof(uint32_t),
    offsetof(tInformation, version) + sizeof(uint32_t),
    offsetof(tInformation, language) + sizeof(const char*),
    offsetof(tInformation, terminateQuery) + sizeof(tTerminateQuery),
    offsetof(tInformation, buildKind) + sizeof(const char*),
    offsetof(tInformation, taskSwitch) + sizeof(tNotifyCallback),
    offsetof(tInformation, restore) + sizeof(tNotifyCallback),
};

size_t WholeFieldBytes(size_t size) {
  size_t bytes = 0;
  for (size_t fieldEnd : kInformationFieldEnds) {
    if (fieldEnd <= size) {
      bytes = fieldEnd;
    }
  }
  return bytes;
}

// Resets the loop's state for a new start; the application record and the
// devices' hooks stay.
void ResetForStart(const tStartRecord* startRecord) {
  RTSState& state = RTS();
  state.startRecord = startRecord;
  state.destruct = nullptr;
  state.cleanUp = nullptr;
  state.keepRunning = false;
  state.looping = false;
  state.active = false;
  state.surfacesValid = false;
  state.inputOn = false;
  state.destroyed = false;
  state.closePosted = false;
  platform::GameQueue().Clear();
}

// Takes the single-instance lock. False when another instance holds it; a
// lock that cannot be made is left for the system start to report.
bool TakeInstanceLock() {
  auto lock = std::make_unique<platform::InstanceLock>(kMutexName);
  if (lock->Result() == platform::LockResult::AlreadyHeld) {
    return false;
  }
  if (lock->Held()) {
    RTS().instanceLock = std::move(lock);
  }
  return true;
}

// The common start of InitializeRTS and InitRTS: lock and devices. Answers
// 0, 2 (silently) or the shutdown's code after a failed device start.
int32_t StartRunTimeSystem(const tStartRecord* startRecord) {
  ResetForStart(startRecord);
  if (!TakeInstanceLock()) {
    return RTSGameAlreadyRunning;
  }
  const int32_t code = StartDevices();
  if (code != RTSSuccess) {
    return ShutdownRTS(kInitializationFailed, code);
  }
  return RTSSuccess;
}

int32_t SimpleTimerWait(uint32_t now) {
  const uint32_t wait = GetTimerWait(now);
  return wait > static_cast<uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(wait);
}

void PollSimpleTimer(uint32_t now) { PollTimer(now); }

// The run-time system's simple timer, unless another was set.
constexpr tLoopTimer kSimpleTimer = {IsTimerRunning, SimpleTimerWait, PollSimpleTimer};

const tLoopTimer& LoopTimer() { return RTS().timer != nullptr ? *RTS().timer : kSimpleTimer; }

bool TimerRunning() { return LoopTimer().IsRunning(); }

// The loop blocks on the queue while there is nothing to time.
bool LoopIdles() {
  const RTSState& state = RTS();
  return !TimerRunning() || !state.active || !state.surfacesValid || !state.keepRunning;
}

void DispatchPendingMessages() {
  platform::Message message;
  while (RTS().looping && platform::GameQueue().Take(message)) {
    DispatchRTSMessage(message);
  }
}

// Waits on the queue until the timer is due instead of polling the clock,
// so a running game does not hold a core. Every message wakes the loop and
// is dispatched at once; the timer's schedule is unchanged.
void RunTimerWhenDue() {
  const tLoopTimer& timer = LoopTimer();
  const int32_t wait = timer.MillisecondsUntilDue(platform::UpTimeMilliseconds());
  if (wait > 0) {
    if (platform::GameQueue().Wait(wait)) {
      DispatchPendingMessages();
    }
    return;
  }
  timer.RunIfDue(platform::UpTimeMilliseconds());
}

// The display's primary is intact or restored; nothing to check before the
// display started.
bool DisplaySurfacesIntact() {
  if (!IsDisplayStarted()) {
    return true;
  }
  return PrimarySurface() != nullptr &&
         RestoreDisplaySurfaces() == platform::ResultCode(platform::SurfaceResult::Ok);
}

void CheckSurfaces() {
  RTSState& state = RTS();
  const bool intact = state.surfaceCheck != nullptr ? state.surfaceCheck() : DisplaySurfacesIntact();
  if (!intact) {
    return;
  }
  if (state.keepRunning && state.informed && state.information.restore != nullptr) {
    state.information.restore();
  }
  state.surfacesValid = true;
}

void PostCloseOnce() {
  RTSState& state = RTS();
  state.inputOn = false;
  if (state.mainWindow && !state.closePosted) {
    state.closePosted = true;
    platform::GameQueue().Post({platform::MessageKind::Close});
  }
}

}  // namespace

RTSState& RTS() {
  static RTSState state;
  return state;
}

void SetLoopTimer(const tLoopTimer* timer) { RTS().timer = timer; }
void SetSurfaceCheck(tSurfaceCheck check) { RTS().surfaceCheck = check; }
void SetInputMessageHandler(tInputMessageHandler handler) { RTS().inputHandler = handler; }
void SetFramePoll(tFramePoll poll) { RTS().framePoll = poll; }

const char* RTSResultText(int32_t code) {
  static const char* const kTexts[] = {
      "Success",
      "Unknown failure",
      "Game already running",
      "Exception failure",
      "Game construction failure",
      "Game destruction failure",
      "Debug initialization failure",
      "Windows initialization failure",
      "DirectDraw initialization failure",
      "Input initialization failure",
      "DirectSound initialization failure",
      "DirectShow initialization failure",
      "Missing CD-ROM",
      "Game aborted",
      "Memory leak",
  };
  if (code < 0 || code >= static_cast<int32_t>(std::size(kTexts))) {
    return "Unknown failure";
  }
  return kTexts[code];
}

const char* RTSCaption() {
  const tStartRecord* start = RTS().startRecord;
  if (start == nullptr || start->className == nullptr) {
    return "LumoGame";
  }
  return start->className;
}

void HideMainWindow() {
  if (RTS().mainWindow) {
    RTS().mainWindow->Hide();
  }
}

void ShowMainWindow() {
  if (RTS().mainWindow) {
    RTS().mainWindow->Show();
  }
}

void RunGameDestruction() {
  RTSState& state = RTS();
  // Each callback is cleared before it runs: a message box raised inside it
  // shuts down again, and must not run it a second time.
  if (state.destruct != nullptr) {
    const tNotifyCallback destruct = std::exchange(state.destruct, nullptr);
    DebugMessage("\nDestructing the game...\n");
    destruct();
    DebugMessage("Game destructed\n");
  } else if (state.cleanUp != nullptr) {
    const tNotifyCallback cleanUp = std::exchange(state.cleanUp, nullptr);
    DebugMessage("\nCollecting garbage...\n");
    cleanUp();
    DebugMessage("Garbage collected\n");
  }
}

void FinalizeRTS() {
  DebugMessage("\nFinalizing the RTS...\n");
  StopDevices();
  DebugMessage("RTS finalized\n");
}

int32_t ShutdownRTS(const char* text, int32_t code) {
  RTSState& state = RTS();
  DebugMessage(text);
  state.keepRunning = false;
  state.destroyed = true;
  RunGameDestruction();
  FinalizeRTS();
  DebugMessage("\nExiting the RTS...\n");
  return ExitReport(code);
}

int32_t ExitReport(int32_t code) {
  RTS().lastExitCode = code;
  if (code == RTSDebugFailure) {
    CloseDebugLog();
    return code;
  }
  const int32_t openContexts = platform::OpenDeviceContexts();
  if (openContexts > 0) {
    DebugPrint("\nNot all DCs are destroyed (Left=%i)\n", openContexts);
    if (code == RTSSuccess) {
      code = RTSMemoryLeak;
    }
  }
  DebugPrint("\nRTS exit code %X: %s", static_cast<unsigned>(code), RTSResultText(code));
  std::string date;
  std::string time;
  if (platform::FormatLocalDateAndTime(date, time)) {
    DebugPrint(" (%s %s)\n", date.c_str(), time.c_str());
  } else {
    DebugMessage(" (Cannot show the date and time)\n");
  }
  DebugMessage("\n");
  CloseDebugLog();
  RTS().lastExitCode = code;
  return code;
}

void EndProcess(int32_t code) {
  platform::ReleaseBackend();
  std::exit(code);
}

void InformRTS(tInformation* information) {
  RTSState& state = RTS();
  if (information == nullptr) {
    return;
  }
  state.information = tInformation{};
  state.informed = true;
  // The record of a newer caller may be larger: only the fields known here
  // are taken, and the caller learns the size that was used.
  if (information->size > sizeof(tInformation)) {
    information->size = sizeof(tInformation);
  }
  std::memcpy(&state.information, information, WholeFieldBytes(information->size));
}

tRTSResult InitializeRTS(const tStartRecord* startRecord, tConstructCallback construct,
                         tNotifyCallback destruct) {
  try {
    const int32_t code = StartRunTimeSystem(startRecord);
    if (code != RTSSuccess || construct == nullptr) {
      return static_cast<tRTSResult>(code);
    }
    DebugMessage("\nConstructing the game...\n");
    if (!construct()) {
      return static_cast<tRTSResult>(ShutdownRTS("\nGame construction failed\n", RTSGameConstructionFailure));
    }
    RTS().destruct = destruct;
    DebugMessage("Game constructed\n");
    return RTSSuccess;
  } catch (...) {
    return static_cast<tRTSResult>(ShutdownRTS(kInitializationFailed, RTSExceptionFailure));
  }
}

tRTSResult InitRTS(const tStartRecord* startRecord, tNotifyCallback cleanUp) {
  try {
    const int32_t code = StartRunTimeSystem(startRecord);
    if (code == RTSSuccess) {
      RTS().cleanUp = cleanUp;
    }
    return static_cast<tRTSResult>(code);
  } catch (...) {
    return static_cast<tRTSResult>(ShutdownRTS(kInitializationFailed, RTSExceptionFailure));
  }
}

tRTSResult RunRTS() {
  RTSState& state = RTS();
  DebugMessage("\nPlaying the game...\n");
  state.keepRunning = true;
  state.looping = true;
  while (state.looping) {
    if (!state.keepRunning) {
      PostCloseOnce();
    } else if (!state.surfacesValid && state.active) {
      CheckSurfaces();
    }
    if (LoopIdles()) {
      DispatchRTSMessage(platform::GameQueue().Get());
    } else {
      RunTimerWhenDue();
    }
  }
  DebugMessage("\nExiting the main event loop...\n");
  return static_cast<tRTSResult>(ExitReport(RTSSuccess));
}

void HandleMessages() {
  RTSState& state = RTS();
  if (!state.inputOn) {
    return;
  }
  if (state.framePoll != nullptr) {
    state.framePoll();
  }
  platform::Message message;
  while (state.looping && state.inputOn && TimerRunning() && state.active && state.surfacesValid &&
         state.keepRunning && platform::GameQueue().Take(message)) {
    DispatchRTSMessage(message);
  }
}

void ExitRTS() {
  const RTSState& state = RTS();
  const tTerminateQuery query = state.informed ? state.information.terminateQuery : nullptr;
  if (query != nullptr && !query()) {
    return;
  }
  EndProcess(ShutdownRTS("Game terminated\n", RTSSuccess));
}

void AbortRTS() { EndProcess(ShutdownRTS("Game aborted\n", RTSGameAborted)); }
