#pragma once

#include <cstdint>
#include <string>

namespace platform {

// ---- System facts (for the start-up banner) ----

struct SystemVersion {
  std::string name;     // the kernel's name, "Linux"
  int32_t major = 0;    // release numbers, as in 6.1.0
  int32_t minor = 0;
  int32_t build = 0;
  std::string service;  // the kernel's build text
};
SystemVersion GetSystemVersion();

// Memory in bytes; the paging file is the swap space.
struct MemoryStatus {
  uint64_t totalPhysical = 0;
  uint64_t availablePhysical = 0;
  uint64_t totalPaging = 0;
  uint64_t availablePaging = 0;
};
bool GetMemoryStatus(MemoryStatus& status);

// The language of the user's locale as a name ("English", "German", ...),
// or the locale's own name when it is not one of the known languages.
std::string GetLanguageName();

// The local date (long form, in the user's locale) and time; false when
// they cannot be formatted.
bool FormatLocalDateAndTime(std::string& date, std::string& time);

}  // namespace platform
