#pragma once

#include <map>
#include <string>

#include "runtime/StartupProfile.h"

namespace testing_support {

// A configuration held in memory, read and written through the start-up's
// profile seam in place of the configuration file. Keys are "section/entry".
inline std::map<std::string, std::string>& Profile() {
  static std::map<std::string, std::string> profile;
  return profile;
}

inline bool ReadProfileEntry(const char*, const char* section, const char* entry, std::string& value) {
  const auto found = Profile().find(std::string(section) + "/" + entry);
  if (found == Profile().end()) {
    return false;
  }
  value = found->second;
  return true;
}

inline bool WriteProfileEntry(const char*, const char* section, const char* entry, const char* value) {
  Profile()[std::string(section) + "/" + entry] = value;
  return true;
}

// Empties the held configuration and puts it in place of the file.
inline void UseProfileInMemory() {
  Profile().clear();
  SetStartupProfile(ReadProfileEntry, WriteProfileEntry);
}

// Returns the start-up to the configuration file.
inline void UseProfileFile() { SetStartupProfile(nullptr, nullptr); }

}  // namespace testing_support
