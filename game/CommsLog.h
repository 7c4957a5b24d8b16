#pragma once

// The comms layer's log lines.

// A "*MP*" trace line: written only at the Maximum debug level, where a
// network game's every step is wanted.
void CommsTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A peer's fault or a refused call: always written while the log is on,
// since it explains a closed connection or a missing player.
void CommsFault(const char* format, ...) __attribute__((format(printf, 1, 2)));
