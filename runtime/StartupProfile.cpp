#include "runtime/StartupProfile.h"

#include <cstdlib>
#include <string>

#include "base/TextUtils.h"
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

// Reads a decimal number after blanks; false when there are no digits.
bool ParseInteger(const std::string& text, int32_t& value) {
  const char* cursor = text.c_str();
  while (*cursor == ' ' || *cursor == '\t') {
    ++cursor;
  }
  char* end = nullptr;
  const long long number = std::strtoll(cursor, &end, 10);
  if (end == cursor || number < INT32_MIN || number > INT32_MAX) {
    return false;
  }
  value = static_cast<int32_t>(number);
  return true;
}

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

void ReadStartupInt(const char* fileName, const char* section, const char* entry, int32_t& value) {
  std::string text;
  if (ReadStartupText(fileName, section, entry, text)) {
    ParseInteger(text, value);
  }
}

void ReadStartupIntWritable(const char* fileName, const char* section, const char* entry, int32_t& value) {
  std::string text;
  if (ReadStartupText(fileName, section, entry, text)) {
    ParseInteger(text, value);
    return;
  }
  WriteStartupText(fileName, section, entry, std::to_string(value).c_str());
}

bool ReadStartupBool(const char* fileName, const char* section, const char* entry, bool defaultValue) {
  std::string text;
  if (!ReadStartupText(fileName, section, entry, text)) {
    return defaultValue;
  }
  const size_t start = text.find_first_not_of(" \t");
  const std::string word = start == std::string::npos ? std::string() : text.substr(start);
  if (CompareNoCase(word.c_str(), "True") == 0 || CompareNoCase(word.c_str(), "On") == 0) {
    return true;
  }
  if (CompareNoCase(word.c_str(), "False") == 0 || CompareNoCase(word.c_str(), "Off") == 0) {
    return false;
  }
  int32_t number = 0;
  return ParseInteger(word, number) && number != 0;
}
