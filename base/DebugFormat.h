#pragma once

// printf-style formatters that hand one bounded text (at most 4,095
// characters) to the run-time system's debug log and message boxes.

constexpr int kFormatBufferSize = 4096;

// True while the run-time system's debug log is on.
bool IsDebugMode();
// Appends the text to the debug log; does nothing while the log is off.
// A log line may be built from several calls; the last carries the "\n".
void DebugPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Shows the text in an error box and ends the process (code 13).
void ErrorPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Shows the text in a warning box that asks whether to end the game.
void WarningPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));
