#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/seeds/Seeds.h"
#include "platform/FileSystem.h"
#include "runtime/Config.h"

namespace {

// A configuration as the game leaves it: written entry by entry through the
// configuration's own writers.
void WriteStartupConfiguration(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / "written-startup.ini";
  std::filesystem::remove(path);
  const std::string name = platform::GameFileName(path.string());
  const ConfigurationHandle configuration = OpenConfiguration(name.c_str(), true);
  WriteConfigurationStr(configuration, "Debug", "Mode", "Overwrite");
  WriteConfigurationStr(configuration, "Debug", "Level", "Maximum");
  WriteConfigurationInt(configuration, "Debug", "Flush", 3);
  WriteConfigurationInt(configuration, "DirectDraw", "ScreenWidth", 800);
  WriteConfigurationInt(configuration, "DirectDraw", "ScreenHeight", 600);
  WriteConfigurationBool(configuration, "DirectDraw", "Windowed", true);
  WriteConfigurationInt(configuration, "DirectDraw", "ScreenLeft", -12);
  WriteConfigurationStr(configuration, "Source", "Data", "D:\\Data\\");
  WriteConfigurationStr(configuration, "Game", "Name", "\"Terrace rampage\"");
  CloseConfiguration(configuration);
}

// Defaults written back by a writable handle into a file that lacked them.
void WriteDefaultsConfiguration(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / "written-defaults.ini";
  std::filesystem::remove(path);
  const std::string name = platform::GameFileName(path.string());
  const ConfigurationHandle configuration = OpenConfiguration(name.c_str(), true);
  int32_t width = 640;
  ReadConfigurationInt(configuration, "DirectDraw", "ScreenWidth", width);
  bool windowed = false;
  ReadConfigurationBool(configuration, "DirectDraw", "Windowed", windowed);
  char text[32] = "Append";
  ReadConfigurationStr(configuration, "Debug", "Mode", text, sizeof text);
  WriteConfigurationStr(configuration, "Debug", "Level", nullptr);
  CloseConfiguration(configuration);
}

constexpr char kNulText[] = "[Debug]\0\nMode=App\0end\n[Game\0]\nName=x\n";

// Damaged and unusual texts, made by hand.
struct HandMadeSeed {
  const char* name;
  std::string text;
};

const HandMadeSeed kHandMadeSeeds[] = {
    {"damaged-crlf.ini", "[Debug]\r\nMode=Append\r\n\r\n[DirectDraw]\r\nScreenWidth = 1024 \r\n"},
    {"damaged-unterminated.ini", "[Debug\nMode=Append\n[DirectDraw]ScreenWidth=1\n[]\n=\n"},
    {"damaged-no-final-line-end.ini", "[Game]\nName=\"unclosed\n[Debug]\nLevel="},
    {"damaged-text-before-section.ini", "Mode=Append\n; comment=1\n[debug]\nMODE=Overwrite\nmode=Append\n"},
    {"damaged-numbers.ini",
     "[DirectDraw]\nScreenWidth=-\t 2147483648\nWindowed=  -0 \nScreenLeft=99999999999\n"},
    {"damaged-quotes.ini", "[Game]\nName=\"\n[Source]\nData=''\n[Debug]\nMode=\"Append'\n"},
    {"damaged-nul-bytes.ini", std::string(kNulText, sizeof kNulText - 1)},
    {"damaged-empty.ini", ""},
    {"damaged-only-line-ends.ini", "\n\r\n\r\r\n\n"},
    {"damaged-long-line.ini", "[Game]\nName=" + std::string(5000, 'x') + "\n"},
};

}  // namespace

void WriteConfigSeeds(const std::filesystem::path& folder) {
  WriteStartupConfiguration(folder);
  WriteDefaultsConfiguration(folder);
  for (const HandMadeSeed& seed : kHandMadeSeeds) {
    WriteSeed(folder, seed.name, seed.text);
  }
}
