#include "runtime/Config.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "base/DebugFormat.h"
#include "base/TextUtils.h"
#include "platform/FileSystem.h"
#include "runtime/DebugLevelGate.h"
#include "runtime/FileNames.h"
#include "runtime/IniFile.h"

struct tConfigurationRecord {
  std::string fileName;  // the game name, ".ini" appended as needed
  bool writable = false;
  bool changed = false;  // a default was written since opening
};

namespace {

constexpr uint32_t kIntegerTextSize = 4096;

bool Loaded(const tConfigurationRecord& configuration, IniFile& file, std::string& path) {
  const std::optional<std::string> mapped = platform::MapFileName(configuration.fileName.c_str());
  if (!mapped) {
    DebugPrint("Configuration file name cannot be used (Name=%s)\n", configuration.fileName.c_str());
    return false;
  }
  path = *mapped;
  if (!file.Load(path)) {
    DebugPrint("Cannot read the configuration file (Name=%s)\n", configuration.fileName.c_str());
    return false;
  }
  return true;
}

std::optional<std::string> LookUp(const tConfigurationRecord& configuration, const char* section,
                                  const char* entry) {
  IniFile file;
  std::string path;
  if (!Loaded(configuration, file, path)) {
    return std::nullopt;
  }
  return file.Find(section, entry);
}

// Sets (or, for a null value, removes) one entry and replaces the file.
bool Update(const tConfigurationRecord& configuration, const char* section, const char* entry,
            const char* value) {
  IniFile file;
  std::string path;
  if (!Loaded(configuration, file, path)) {
    return false;
  }
  if (value == nullptr) {
    file.Remove(section, entry);
  } else {
    file.Set(section, entry, value);
  }
  return file.Save(path);
}

bool IsBlank(char character) { return character == ' ' || character == '\t'; }

const char* SkipBlanks(const char* text) {
  while (IsBlank(*text)) {
    ++text;
  }
  return text;
}

// Blanks, an optional "-", blanks, digits. The value is 0 before the digits
// are counted; on overflow it keeps what was accumulated before the digit that
// would pass 2^31 - 1. The accumulation is checked before it is made, so the
// check itself cannot overflow.
bool ParseInteger(const char* text, int32_t& value) {
  text = SkipBlanks(text);
  const bool negative = *text == '-';
  if (negative) {
    text = SkipBlanks(text + 1);
  }
  int32_t magnitude = 0;
  bool anyDigit = false;
  bool overflow = false;
  for (; *text >= '0' && *text <= '9'; ++text) {
    const int32_t digit = *text - '0';
    if (magnitude > (INT32_MAX - digit) / 10) {
      overflow = true;
      break;
    }
    magnitude = magnitude * 10 + digit;
    anyDigit = true;
  }
  value = negative ? -magnitude : magnitude;
  return anyDigit && !overflow && (*text == '\0' || IsBlank(*text));
}

bool CheckHandle(ConfigurationHandle configuration, const char* function) {
  if (configuration == nullptr) {
    DebugPrint("%s NULL pointer to the configuration specified\n", function);
    return false;
  }
  return true;
}

bool CheckNames(const char* section, const char* entry, const char* function) {
  if (section == nullptr || entry == nullptr) {
    DebugPrint("%s NULL pointer to the section or entry specified\n", function);
    return false;
  }
  return true;
}

void CopyText(char* buffer, uint32_t size, const std::string& text) {
  const size_t length = std::min<size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

// Writes the default held in the buffer for a missing or empty entry.
bool WriteDefault(ConfigurationHandle configuration, const char* section, const char* entry,
                  const char* buffer) {
  const std::string defaultText = buffer;
  if (!Update(*configuration, section, entry, defaultText.c_str())) {
    DebugPrint(
        "ReadConfigurationStr() Cannot write the default value to the configuration file "
        "(Name=%s, Section=%s, Entry=%s, Default=%s)\n",
        configuration->fileName.c_str(), section, entry, defaultText.c_str());
    return false;
  }
  configuration->changed = true;
  return true;
}

bool WriteEntry(ConfigurationHandle configuration, const char* section, const char* entry,
                const char* text, const char* function) {
  if (!CheckHandle(configuration, function) || !CheckNames(section, entry, function)) {
    return false;
  }
  if (!Update(*configuration, section, entry, text)) {
    DebugPrint(
        "WriteConfigurationStr() Cannot write a value to the configuration file (Name=%s, "
        "Section=%s, Entry=%s)\n",
        configuration->fileName.c_str(), section, entry);
    return false;
  }
  return true;
}

}  // namespace

ConfigurationHandle OpenConfiguration(const char* name, bool writable) {
  if (name == nullptr) {
    DebugPrint("OpenConfiguration() NULL pointer to the name specified\n");
    return nullptr;
  }
  auto configuration = std::unique_ptr<tConfigurationRecord>(new (std::nothrow)
                                                                 tConfigurationRecord);
  if (!configuration) {
    DebugPrint("OpenConfiguration() Out of memory (Name=%s)\n", name);
    return nullptr;
  }
  configuration->fileName = name;
  configuration->fileName = WithDefaultExtension(configuration->fileName, ".ini");
  configuration->writable = writable;
  // A writer killed between writing its temporary and renaming it over the
  // file left the temporary behind; the file itself is whole either way.
  if (const std::optional<std::string> path = platform::MapFileName(configuration->fileName.c_str())) {
    platform::RemoveStaleTemporaries(*path);
  }
  return configuration.release();
}

bool CloseConfiguration(ConfigurationHandle configuration) {
  const std::unique_ptr<tConfigurationRecord> owned(configuration);
  const bool flushed = FlushConfiguration(configuration);
  if (configuration == nullptr) {
    DebugPrint("CloseConfiguration() NULL pointer to the configuration specified\n");
  }
  return flushed;
}

bool FlushConfiguration(ConfigurationHandle configuration) {
  return CheckHandle(configuration, "FlushConfiguration()");
}

bool ReadConfigurationStr(ConfigurationHandle configuration, const char* section,
                          const char* entry, char* buffer, uint32_t size) {
  if (!CheckHandle(configuration, "ReadConfigurationStr()") ||
      !CheckNames(section, entry, "ReadConfigurationStr()")) {
    return false;
  }
  if (buffer == nullptr || size == 0) {
    DebugPrint("ReadConfigurationStr() NULL pointer to the buffer specified\n");
    return false;
  }
  const std::optional<std::string> value = LookUp(*configuration, section, entry);
  if (value && !value->empty()) {
    CopyText(buffer, size, *value);
    return true;
  }
  if (configuration->writable) {
    return WriteDefault(configuration, section, entry, buffer);
  }
  buffer[0] = '\0';
  if (DebugLevelAtLeast(3)) {
    DebugPrint(
        "ReadConfigurationStr() Cannot read a value from the configuration file (Name=%s, "
        "Section=%s, Entry=%s)\n",
        configuration->fileName.c_str(), section, entry);
  }
  return false;
}

bool ReadConfigurationInt(ConfigurationHandle configuration, const char* section,
                          const char* entry, int32_t& value) {
  if (!CheckHandle(configuration, "ReadConfigurationInt()")) {
    return false;
  }
  char text[kIntegerTextSize] = "";
  if (configuration->writable) {
    std::snprintf(text, sizeof text, "%i", value);
  }
  if (!ReadConfigurationStr(configuration, section, entry, text, sizeof text)) {
    return false;
  }
  return ParseInteger(text, value);
}

bool ReadConfigurationBool(ConfigurationHandle configuration, const char* section,
                           const char* entry, bool& value) {
  if (!CheckHandle(configuration, "ReadConfigurationBool()")) {
    return false;
  }
  char text[kIntegerTextSize] = "";
  if (configuration->writable) {
    std::snprintf(text, sizeof text, "%s", value ? "True" : "False");
  } else {
    value = false;
  }
  if (!ReadConfigurationStr(configuration, section, entry, text, sizeof text)) {
    value = false;
    return false;
  }
  const char* word = SkipBlanks(text);
  if (CompareNoCase(word, "True") == 0 || CompareNoCase(word, "On") == 0) {
    value = true;
    return true;
  }
  if (CompareNoCase(word, "False") == 0 || CompareNoCase(word, "Off") == 0) {
    value = false;
    return true;
  }
  // A number is read as its value, so "Enabled=0" is a false that was found;
  // any other text counts as missing.
  int32_t number = 0;
  const bool isNumber = ParseInteger(word, number);
  value = isNumber && number != 0;
  return isNumber;
}

bool WriteConfigurationStr(ConfigurationHandle configuration, const char* section,
                           const char* entry, const char* text) {
  return WriteEntry(configuration, section, entry, text, "WriteConfigurationStr()");
}

bool WriteConfigurationInt(ConfigurationHandle configuration, const char* section,
                           const char* entry, int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%i", value);
  return WriteEntry(configuration, section, entry, text, "WriteConfigurationInt()");
}

bool WriteConfigurationBool(ConfigurationHandle configuration, const char* section,
                            const char* entry, bool value) {
  return WriteEntry(configuration, section, entry, value ? "True" : "False",
                    "WriteConfigurationBool()");
}

const char* GetConfigurationName(ConfigurationHandle configuration) {
  return configuration == nullptr ? nullptr : configuration->fileName.c_str();
}
