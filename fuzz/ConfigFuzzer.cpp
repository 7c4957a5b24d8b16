// The configuration file: the input is the file's text. Its parsed form is
// searched for the entries the run-time system reads at start-up, edited and
// printed again in memory; then the file itself goes through the public
// functions: a read-only handle reads texts, integers and booleans, a
// writable one writes a default for a missing entry, sets and removes
// entries (each rewriting the file), and the rewritten file is read again.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzFiles.h"
#include "runtime/Config.h"
#include "runtime/IniFile.h"

namespace {

struct EntryName {
  const char* section;
  const char* entry;
};

// Entries the seeds hold, so mutations keep finding them.
constexpr EntryName kEntries[] = {
    {"Debug", "Mode"},         {"Debug", "Level"},    {"Debug", "Flush"},
    {"DirectDraw", "ScreenWidth"}, {"DirectDraw", "Windowed"}, {"Source", "Data"},
    {"Game", "Name"},          {"Game", ""},          {"", "Empty"},
};

void EditInMemory(const uint8_t* data, size_t size) {
  IniFile file;
  file.Parse(std::string(reinterpret_cast<const char*>(data), size));
  for (const EntryName& name : kEntries) {
    file.Find(name.section, name.entry);
  }
  file.Set("Debug", "Mode", "Append");
  file.Set("New section", "Entry", "");
  file.Remove("Game", "Name");
  IniFile again;
  again.Parse(file.Text());
  again.Find("Debug", "Mode");
}

void ReadEntry(ConfigurationHandle configuration, const EntryName& name) {
  char text[256] = "Default";
  ReadConfigurationStr(configuration, name.section, name.entry, text, sizeof text);
  char shortText[4] = "";
  ReadConfigurationStr(configuration, name.section, name.entry, shortText, sizeof shortText);
  int32_t number = 640;
  ReadConfigurationInt(configuration, name.section, name.entry, number);
  bool flag = true;
  ReadConfigurationBool(configuration, name.section, name.entry, flag);
}

// Every function call reads the file again, so the file passes keep to a few
// entries and the in-memory pass covers the rest.
void ReadOnly(const std::string& name) {
  const ConfigurationHandle configuration = OpenConfiguration(name.c_str(), false);
  ReadEntry(configuration, {"DirectDraw", "ScreenWidth"});
  ReadEntry(configuration, {"Debug", "Mode"});
  CloseConfiguration(configuration);
}

void ReadAndWrite(const std::string& name) {
  const ConfigurationHandle configuration = OpenConfiguration(name.c_str(), true);
  int32_t width = 640;
  ReadConfigurationInt(configuration, "DirectDraw", "ScreenWidth", width);
  bool windowed = false;
  ReadConfigurationBool(configuration, "DirectDraw", "Windowed", windowed);
  WriteConfigurationInt(configuration, "DirectDraw", "ScreenWidth", -2147483647 - 1);
  WriteConfigurationStr(configuration, "Game", "Name", "[Fuzz]=\"value\"");
  WriteConfigurationStr(configuration, "Debug", "Mode", nullptr);
  CloseConfiguration(configuration);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EditInMemory(data, size);
  const std::string name = WriteFuzzFile("Fuzz.ini", data, size);
  ReadOnly(name);
  ReadAndWrite(name);
  ReadOnly(name);
  return 0;
}
