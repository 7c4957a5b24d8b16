#include "platform/System.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace platform {

SystemVersion GetSystemVersion() {
  SystemVersion version;
  utsname names{};
  if (uname(&names) != 0) {
    version.name = "Unknown system";
    return version;
  }
  version.name = names.sysname;
  version.service = names.version;
  std::sscanf(names.release, "%d.%d.%d", &version.major, &version.minor, &version.build);
  return version;
}

bool GetMemoryStatus(MemoryStatus& status) {
  struct sysinfo facts {};
  if (sysinfo(&facts) != 0) {
    return false;
  }
  const uint64_t unit = facts.mem_unit;
  status.totalPhysical = facts.totalram * unit;
  status.availablePhysical = (facts.freeram + facts.bufferram) * unit;
  status.totalPaging = facts.totalswap * unit;
  status.availablePaging = facts.freeswap * unit;
  return true;
}

namespace {

struct LanguageName {
  const char* code;
  const char* name;
};

constexpr LanguageName kLanguages[] = {
    {"C", "English"},      {"POSIX", "English"}, {"en", "English"}, {"nl", "Dutch"},
    {"de", "German"},      {"fr", "French"},     {"es", "Spanish"}, {"it", "Italian"},
    {"pt", "Portuguese"},  {"sv", "Swedish"},    {"da", "Danish"},  {"no", "Norwegian"},
    {"nb", "Norwegian"},   {"fi", "Finnish"},    {"pl", "Polish"},  {"cs", "Czech"},
    {"ru", "Russian"},     {"ja", "Japanese"},   {"zh", "Chinese"}, {"ko", "Korean"},
};

// The locale the user asked for, as the usual variables give it.
std::string UserLocale() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') {
      return value;
    }
  }
  return "C";
}

}  // namespace

std::string GetLanguageName() {
  const std::string locale = UserLocale();
  const std::string code = locale.substr(0, locale.find_first_of("_.@"));
  for (const LanguageName& language : kLanguages) {
    if (code == language.code) {
      return language.name;
    }
  }
  return locale;
}

bool FormatLocalDateAndTime(std::string& date, std::string& time) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) {
    return false;
  }
  char dateText[128];
  char timeText[64];
  if (std::strftime(dateText, sizeof dateText, "%A, %d %B %Y", &local) == 0 ||
      std::strftime(timeText, sizeof timeText, "%H:%M:%S", &local) == 0) {
    return false;
  }
  date = dateText;
  time = timeText;
  return true;
}

}  // namespace platform
