#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// The debug log and the message boxes of the run-time system.

enum tDebugMode : int32_t {
  DebugModeOff = 0,        // no log file
  DebugModeOverwrite = 1,  // the file is created anew
  DebugModeAppend = 2,     // the file is opened or created and appended to
};

LUMOGAME_API tDebugMode GetDebugMode();
// Switches the log to a new mode; answers the mode in force afterwards.
LUMOGAME_API tDebugMode SetDebugMode(tDebugMode mode);
// Appends a text to the log; nothing happens while the log is off.
LUMOGAME_API void DebugMessage(const char* text);
// Logs the text, shows it in an error box and ends the process with code 13.
[[noreturn]] LUMOGAME_API void ErrorMessage(const char* text);
// Logs the text and asks whether to end the game; yes ends the process.
LUMOGAME_API void WarningMessage(const char* text);
