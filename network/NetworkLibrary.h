#pragma once

#include <cstdint>

// Start-up, clean-up and the debug messages of the network library.

// The library's entry routine: starts the socket service when the library
// is loaded (attach) and cleans it up when it is unloaded. Always true.
bool StartNetworkLibrary(bool attach);
// Starts the socket service; nothing when it runs already.
void WSA_Startup();
// Ends the socket service: joins every thread of the library, closes every
// socket it opened and frees its records; nothing when it was not started.
// No handler of the game is called.
void WSA_Cleanup();
// The socket service runs (between WSA_Startup and WSA_Cleanup).
bool NetworkStarted();

// Writes the debug message of a socket service error number (10000 and up)
// with the label of the step that failed.
void ReportSocketError(int32_t code, const char* label);
// ReportSocketError with the current errno, mapped to the service's number.
void ReportLastSocketError(const char* label);
// Formats a message into 4096 bytes and writes it to the debug log, only
// while the run-time system keeps a log; answers its debug mode.
int32_t PrintNetworkMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
