#pragma once

#include <cstdint>
#include <string>

#include "base/LumoExport.h"

// The debug log "Debug.txt" in the current folder, and the message boxes of
// the run-time system.

enum tDebugMode : int32_t {
  DebugModeOff = 0,        // no log file
  DebugModeOverwrite = 1,  // the file is created anew
  DebugModeAppend = 2,     // the file is opened or created and appended to
};

// Only stored here; code that writes detail tests it first.
enum tDebugLevel : int32_t {
  DebugLevelMinimum = 0,
  DebugLevelStandard = 1,
  DebugLevelMedium = 2,
  DebugLevelExtended = 3,
  DebugLevelMaximum = 4,
};

LUMOGAME_API tDebugMode GetDebugMode();
// Switches the log to a new mode (closing and reopening "Debug.txt"); answers
// the mode in force afterwards, 0 when the file cannot be opened.
LUMOGAME_API tDebugMode SetDebugMode(tDebugMode mode);
LUMOGAME_API tDebugLevel GetDebugLevel();
LUMOGAME_API tDebugLevel SetDebugLevel(tDebugLevel level);
// Appends a text to the log, every line feed written as carriage return and
// line feed, then applies the flush policy; nothing happens without a log.
// Safe from any thread: each text goes in whole, and one that arrives after
// the log was closed is dropped.
LUMOGAME_API void DebugMessage(const char* text);
// Logs the text, shows it in an error box and ends the process with code 13
// (or 14 when device contexts were left open).
[[noreturn]] LUMOGAME_API void ErrorMessage(const char* text);
// Logs the text and asks whether to end the game; yes ends the process.
LUMOGAME_API void WarningMessage(const char* text);

// ---- Inside the run-time system ----

// The "Debug" section of the configuration as read: Flush, Level and Mode,
// each empty when the entry is missing or empty.
struct DebugSettings {
  std::string flush;
  std::string level;
  std::string mode;
};

// The first step of the start-up: resets the log (mode 0, level Standard,
// flush after every write), then applies the settings; a Mode other than
// "Overwrite" or "Append" takes the start record's default mode instead.
void StartDebugLog(const DebugSettings& settings, tDebugMode defaultMode);
// Closes the log file; the mode becomes 0.
void CloseDebugLog();
// The flush policy in force: -1 after every write, 0 never, N after every
// N+1 writes.
int32_t GetDebugFlushPolicy();
// Formats and logs a text, hides the main window and shows the error box of
// ErrorMessage, then returns: the caller reports its failure.
void FailureBox(const char* format, ...) __attribute__((format(printf, 1, 2)));
