#include "runtime/DebugLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "base/DebugFormat.h"
#include "base/TextUtils.h"
#include "platform/Backend.h"
#include "runtime/Files.h"
#include "runtime/Information.h"
#include "runtime/RTSState.h"

namespace {

constexpr const char* kLogName = "Debug.txt";
// The log keeps its own buffer large enough that only the flush policy
// (or a full buffer) decides when text reaches the file.
constexpr size_t kLogBufferSize = 64 * 1024;

struct LogState {
  FileHandle file = nullptr;
  tDebugMode mode = DebugModeOff;
  tDebugLevel level = DebugLevelStandard;
  int32_t flushPolicy = -1;
  int32_t flushCountdown = 0;
};

LogState logState;

// The server and search threads log too. One lock covers every use of the
// log's state (write, flush, open, close), so lines never interleave and a
// line logged while the game thread closes the log is dropped rather than
// written through a closed handle. It is recursive because the file layer
// logs its own failures while the log is being opened.
std::recursive_mutex logMutex;
using LogLock = std::lock_guard<std::recursive_mutex>;

void CloseLog() {
  if (logState.file != nullptr) {
    FileHandle file = logState.file;
    logState.file = nullptr;
    CloseFile(file);
  }
}

// Overwrite mode empties the file, append mode writes behind what is there.
// The handle is stored only once it is ready, so the file layer's own log
// lines about a failed open are not written into a half-opened log.
bool OpenLog(tDebugMode mode) {
  FileHandle file = OpenFile(kLogName, FileModeWrite, mode == DebugModeOverwrite ? OpenModeCreate : OpenModeAlways,
                             ShareModeDenyNone);
  if (file == nullptr) {
    return false;
  }
  SetFileBuffer(file, kLogBufferSize);
  if (mode != DebugModeOverwrite && SeekFile(file, 0, SeekModeEnd) < 0) {
    CloseFile(file);
    return false;
  }
  logState.file = file;
  return true;
}

// Writes the text with every line feed expanded to carriage return and
// line feed.
void WriteExpanded(const char* text) {
  const char* runStart = text;
  for (const char* cursor = text; *cursor != '\0'; ++cursor) {
    if (*cursor == '\n') {
      WriteFileExactly(logState.file, runStart, static_cast<uint32_t>(cursor - runStart));
      WriteFileExactly(logState.file, "\r\n", 2);
      runStart = cursor + 1;
    }
  }
  WriteFileExactly(logState.file, runStart, static_cast<uint32_t>(std::strlen(runStart)));
}

// A countdown above 0 counts down; at 0 the file is flushed and a positive
// policy starts the countdown again, so a policy N flushes every N+1 writes.
void ApplyFlushPolicy() {
  if (logState.flushPolicy == 0) {
    return;
  }
  if (logState.flushCountdown > 0) {
    --logState.flushCountdown;
    return;
  }
  FlushFile(logState.file);
  if (logState.flushPolicy > 0) {
    logState.flushCountdown = logState.flushPolicy;
  }
}

int32_t FlushPolicyFrom(const std::string& text) {
  if (text.empty() || CompareNoCase(text.c_str(), "Always") == 0) {
    return -1;
  }
  if (CompareNoCase(text.c_str(), "Off") == 0 || CompareNoCase(text.c_str(), "False") == 0) {
    return 0;
  }
  // A text that is no number (such as "True") reads as 0.
  const long number = std::strtol(text.c_str(), nullptr, 10);
  if (number < 0) {
    return -1;
  }
  return number > INT32_MAX ? INT32_MAX : static_cast<int32_t>(number);
}

tDebugLevel LevelFrom(const std::string& text) {
  static const char* const kLevelNames[] = {"Minimum", "Standard", "Medium", "Extended", "Maximum"};
  for (int32_t level = 0; level < 5; ++level) {
    if (CompareNoCase(text.c_str(), kLevelNames[level]) == 0) {
      return static_cast<tDebugLevel>(level);
    }
  }
  return DebugLevelStandard;
}

tDebugMode ModeFrom(const std::string& text, tDebugMode defaultMode) {
  if (CompareNoCase(text.c_str(), "Overwrite") == 0) {
    return DebugModeOverwrite;
  }
  if (CompareNoCase(text.c_str(), "Append") == 0) {
    return DebugModeAppend;
  }
  return defaultMode;
}

// The error box of ErrorMessage and of the failure box: the main window is
// hidden first, so the box is not covered by a full-screen game.
void ShowErrorBox(const char* text) {
  HideMainWindow();
  const std::string caption = RTSCaption();
  const std::string message = std::string(text) + "\n" + caption + " will be terminated...";
  platform::GetBackend().ShowMessageBox(caption, message, platform::MessageBoxKind::Error);
}

}  // namespace

tDebugMode GetDebugMode() {
  const LogLock lock(logMutex);
  return logState.mode;
}

tDebugMode SetDebugMode(tDebugMode mode) {
  const LogLock lock(logMutex);
  if (mode == logState.mode) {
    return logState.mode;
  }
  CloseLog();
  logState.mode = DebugModeOff;
  if ((mode == DebugModeOverwrite || mode == DebugModeAppend) && OpenLog(mode)) {
    logState.mode = mode;
  }
  return logState.mode;
}

tDebugLevel GetDebugLevel() {
  const LogLock lock(logMutex);
  return logState.level;
}

tDebugLevel SetDebugLevel(tDebugLevel level) {
  const LogLock lock(logMutex);
  logState.level = level;
  return level;
}

void DebugMessage(const char* text) {
  const LogLock lock(logMutex);
  if (logState.file == nullptr || text == nullptr) {
    return;
  }
  WriteExpanded(text);
  ApplyFlushPolicy();
}

void ErrorMessage(const char* text) {
  const char* message = text != nullptr ? text : "";
  DebugMessage(message);
  ShowErrorBox(message);
  EndProcess(ShutdownRTS("Game aborted\n", RTSGameAborted));
}

void WarningMessage(const char* text) {
  const char* message = text != nullptr ? text : "";
  DebugMessage(message);
  HideMainWindow();
  const std::string caption = RTSCaption();
  const std::string question = std::string(message) + "\nTerminate " + caption + "?";
  const platform::MessageBoxAnswer answer =
      platform::GetBackend().ShowMessageBox(caption, question, platform::MessageBoxKind::Question);
  if (answer == platform::MessageBoxAnswer::Yes) {
    EndProcess(ShutdownRTS("Game aborted\n", RTSGameAborted));
  }
  ShowMainWindow();
}

void StartDebugLog(const DebugSettings& settings, tDebugMode defaultMode) {
  const LogLock lock(logMutex);
  CloseLog();
  logState = LogState{};
  logState.flushPolicy = FlushPolicyFrom(settings.flush);
  logState.flushCountdown = logState.flushPolicy > 0 ? logState.flushPolicy : 0;
  logState.level = LevelFrom(settings.level);
  SetDebugMode(ModeFrom(settings.mode, defaultMode));
}

void CloseDebugLog() {
  const LogLock lock(logMutex);
  CloseLog();
  logState.mode = DebugModeOff;
}

int32_t GetDebugFlushPolicy() {
  const LogLock lock(logMutex);
  return logState.flushPolicy;
}

void FailureBox(const char* format, ...) {
  char text[kFormatBufferSize];
  va_list arguments;
  va_start(arguments, format);
  if (std::vsnprintf(text, sizeof text, format, arguments) < 0) {
    text[0] = '\0';
  }
  va_end(arguments);
  DebugMessage(text);
  ShowErrorBox(text);
}
