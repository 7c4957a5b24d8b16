#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/InstanceLock.h"
#include "platform/Message.h"
#include "platform/Window.h"
#include "runtime/Information.h"

// The run-time system's own state, shared by its devices; nothing outside
// the library sees it.

// The one polled timer as the main loop sees it: the run-time system's
// simple timer, unless SetLoopTimer put another in its place.
struct tLoopTimer {
  bool (*IsRunning)();                            // the timer runs
  int32_t (*MillisecondsUntilDue)(uint32_t now);  // 0 or less: due now
  void (*RunIfDue)(uint32_t now);                 // due test, re-arm, callback
};

// Checks the display's primary surface after an activation change: true
// when it is intact or was restored. Without one set, the display's own
// check runs; without a started display every check succeeds.
using tSurfaceCheck = bool (*)();
// Turns an input message into input events; true when it was handled.
using tInputMessageHandler = bool (*)(const platform::Message& message);
// Per-frame polling of keys and joysticks inside HandleMessages.
using tFramePoll = void (*)();

struct RTSState {
  const tStartRecord* startRecord = nullptr;
  tInformation information{};
  bool informed = false;

  bool keepRunning = false;    // the game may go on
  bool looping = false;        // until the quit message
  bool active = false;         // the application is the active one
  bool surfacesValid = false;  // checked after every activation change
  bool inputOn = false;        // input events are delivered
  bool destroyed = false;
  bool closePosted = false;    // the main window was told to close
  bool runningOnNT = true;     // the input start reads it

  bool windowed = false;
  int32_t screenWidth = 640;
  int32_t screenHeight = 480;
  int32_t bitsPerPixel = 16;
  int32_t screenLeft = 0;      // windowed mode: the window's outer corner
  int32_t screenTop = 0;
  int32_t mouseX = 0;          // last position of a mouse message
  int32_t mouseY = 0;

  std::unique_ptr<platform::InstanceLock> instanceLock;
  std::unique_ptr<platform::Window> mainWindow;
  tNotifyCallback cleanUp = nullptr;
  tNotifyCallback destruct = nullptr;
  int32_t lastExitCode = 0;
  std::string programFolder;  // the current folder at start-up

  const tLoopTimer* timer = nullptr;
  tSurfaceCheck surfaceCheck = nullptr;
  tInputMessageHandler inputHandler = nullptr;
  tFramePoll framePoll = nullptr;
};

RTSState& RTS();

// Null returns the loop to the simple timer.
void SetLoopTimer(const tLoopTimer* timer);
void SetSurfaceCheck(tSurfaceCheck check);
void SetInputMessageHandler(tInputMessageHandler handler);
void SetFramePoll(tFramePoll poll);

// Shuts the run-time system down with a text and a code and answers the
// exit report's code. Safe to call again while a shutdown runs.
int32_t ShutdownRTS(const char* text, int32_t code);
// Writes the exit report, closes the log and answers the final code.
int32_t ExitReport(int32_t code);
// Ends the process with a code.
[[noreturn]] void EndProcess(int32_t code);

// The caption of message boxes: the start record's class name.
const char* RTSCaption();
void HideMainWindow();
void ShowMainWindow();
