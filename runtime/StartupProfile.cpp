#include "runtime/StartupProfile.h"

#include <string>

#include "runtime/Config.h"

namespace {

constexpr uint32_t kEntryBufferSize = 4096;

// The configuration file itself, through a read-only handle for reads and a
// writable one for writes, each open only for the one entry.
bool ReadFromConfiguration(const char* fileName, const char* section, const char* entry, std::string& value) {
  ConfigurationHandle configuration = OpenConfiguration(fileName, false);
  if (configuration == nullptr) {
    return false;
  }
  char buffer[kEntryBufferSize] = {};
  const bool found = ReadConfigurationStr(configuration, section, entry, buffer, sizeof buffer);
  CloseConfiguration(configuration);
  value = buffer;
  return found;
}

bool WriteToConfiguration(const char* fileName, const char* section, const char* entry, const char* value) {
  ConfigurationHandle configuration = OpenConfiguration(fileName, true);
  if (configuration == nullptr) {
    return false;
  }
  const bool written = WriteConfigurationStr(configuration, section, entry, value);
  CloseConfiguration(configuration);
  return written;
}

tProfileReader profileReader = ReadFromConfiguration;
tProfileWriter profileWriter = WriteToConfiguration;

}  // namespace

void SetStartupProfile(tProfileReader reader, tProfileWriter writer) {
  profileReader = reader != nullptr ? reader : ReadFromConfiguration;
  profileWriter = writer != nullptr ? writer : WriteToConfiguration;
}

bool ReadStartupText(const char* fileName, const char* section, const char* entry, std::string& value) {
  value.clear();
  if (profileReader == nullptr || fileName == nullptr) {
    return false;
  }
  return profileReader(fileName, section, entry, value) && !value.empty();
}

bool WriteStartupText(const char* fileName, const char* section, const char* entry, const char* value) {
  if (profileWriter == nullptr || fileName == nullptr) {
    return false;
  }
  return profileWriter(fileName, section, entry, value);
}
