#pragma once

#include <cstdint>

// ---- Version records ----
// The run-time library and the game program each carry a file version of
// four parts (major, minor, release, build). The library's comes from the
// build; a program declares its own with LUMO_PROGRAM_VERSION_RECORD in one
// source file, and the library finds it in the running program by name.

extern "C" {
// Layout of a program's version record: the four parts, major first.
struct LumoVersionRecord {
  uint32_t parts[4];
};
}

#define LUMO_PROGRAM_VERSION_RECORD(major, minor, release, build)                    \
  extern "C" __attribute__((visibility("default"), used)) const LumoVersionRecord \
      LumoProgramVersionRecord = {{major, minor, release, build}}

namespace platform {

struct FileVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t release = 0;
  uint32_t build = 0;
};

// The run-time library's own file version.
FileVersion LibraryVersion();
// The running program's version record; false when it declares none.
bool ProgramVersion(FileVersion& version);

}  // namespace platform
