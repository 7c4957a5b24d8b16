#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "runtime/Config.h"
#include "runtime/IniFile.h"

namespace {

const char kFixture[] =
    "; written by hand\r\n"
    "[Test]\r\n"
    "Text=hello\r\n"
    "Empty=\r\n"
    "Number = 42\r\n"
    "Letters=12abc\r\n"
    "Spaced= - 7 \r\n"
    "Big=2147483648\r\n"
    "Enabled=0\r\n"
    "Yes=on\r\n"
    "Word=maybe\r\n"
    "\r\n"
    "[Other]\r\n"
    "Kept=1\r\n";

void WriteFixture() { std::ofstream("game.ini", std::ios::binary) << kFixture; }

std::string FileText() {
  std::ifstream file("game.ini", std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

std::optional<std::string> FileValue(const char* section, const char* entry) {
  IniFile file;
  EXPECT_TRUE(file.Load("game.ini"));
  return file.Find(section, entry);
}

enum class Kind { Text, Integer, Boolean };

struct ReadCase {
  Kind kind;
  bool writable;
  const char* entry;
  const char* preset;     // the caller's default: text, "%i" or "1"/"0"
  bool result;
  const char* value;      // the value afterwards, in the preset's form
  const char* fileValue;  // the entry in the file afterwards; null: missing
};

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFixture(); }
};

TEST_F(ConfigTest, ReadsFollowThePresetAndWritableRules) {
  const ReadCase cases[] = {
      {Kind::Text, false, "TEXT", "x", true, "hello", "hello"},
      {Kind::Text, false, "Missing", "x", false, "", nullptr},
      {Kind::Text, false, "Empty", "x", false, "", ""},
      {Kind::Text, true, "Missing", "dflt", true, "dflt", "dflt"},
      {Kind::Text, true, "Empty", "dflt", true, "dflt", "dflt"},
      {Kind::Integer, false, "number", "5", true, "42", "42"},
      {Kind::Integer, false, "Missing", "5", false, "5", nullptr},  // left as preset
      {Kind::Integer, true, "Missing", "640", true, "640", "640"},
      {Kind::Integer, true, "Empty", "-3", true, "-3", "-3"},
      {Kind::Integer, false, "Letters", "5", false, "12", "12abc"},
      {Kind::Integer, false, "Spaced", "5", true, "-7", "- 7"},
      {Kind::Integer, false, "Big", "5", false, "214748364", "2147483648"},
      {Kind::Integer, false, "Word", "5", false, "0", "maybe"},
      {Kind::Boolean, false, "Missing", "1", false, "0", nullptr},
      {Kind::Boolean, true, "Missing", "1", true, "1", "True"},
      {Kind::Boolean, true, "Empty", "0", true, "0", "False"},
      {Kind::Boolean, false, "Enabled", "1", true, "0", "0"},  // a number 0 was found
      {Kind::Boolean, true, "Enabled", "1", true, "0", "0"},
      {Kind::Boolean, false, "Yes", "0", true, "1", "on"},
      {Kind::Boolean, false, "Number", "0", true, "1", "42"},
      {Kind::Boolean, false, "Word", "1", false, "0", "maybe"},
  };
  for (const ReadCase& testCase : cases) {
    WriteFixture();
    SCOPED_TRACE(std::string(testCase.entry) + (testCase.writable ? " writable" : " read-only"));
    ConfigurationHandle configuration = OpenConfiguration("game", testCase.writable);
    ASSERT_NE(configuration, nullptr);
    std::string value;
    bool result = false;
    if (testCase.kind == Kind::Text) {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%s", testCase.preset);
      result = ReadConfigurationStr(configuration, "test", testCase.entry, buffer, sizeof buffer);
      value = buffer;
    } else if (testCase.kind == Kind::Integer) {
      int32_t number = std::atoi(testCase.preset);
      result = ReadConfigurationInt(configuration, "Test", testCase.entry, number);
      value = std::to_string(number);
    } else {
      bool flag = testCase.preset[0] == '1';
      result = ReadConfigurationBool(configuration, "Test", testCase.entry, flag);
      value = flag ? "1" : "0";
    }
    EXPECT_EQ(result, testCase.result);
    EXPECT_EQ(value, testCase.value);
    const std::optional<std::string> fileValue = FileValue("Test", testCase.entry);
    ASSERT_EQ(fileValue.has_value(), testCase.fileValue != nullptr);
    if (fileValue) {
      EXPECT_EQ(*fileValue, testCase.fileValue);
    }
    EXPECT_TRUE(CloseConfiguration(configuration));
  }
}

TEST_F(ConfigTest, TextReadsAreCutToTheBuffer) {
  ConfigurationHandle configuration = OpenConfiguration("game.ini", false);
  char buffer[4];
  EXPECT_TRUE(ReadConfigurationStr(configuration, "Test", "Text", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "hel");
  CloseConfiguration(configuration);
}

TEST_F(ConfigTest, WritesKeepEverythingElseOfTheFile) {
  ConfigurationHandle configuration = OpenConfiguration("game", false);
  EXPECT_TRUE(WriteConfigurationInt(configuration, "TEST", "number", -12));
  EXPECT_TRUE(WriteConfigurationBool(configuration, "Other", "New", true));
  EXPECT_TRUE(WriteConfigurationStr(configuration, "Fresh", "Name", "x.lmp"));
  EXPECT_TRUE(WriteConfigurationStr(configuration, "Test", "Word", nullptr));
  CloseConfiguration(configuration);

  std::string expected = kFixture;
  expected.replace(expected.find("Number = 42"), 11, "Number=-12");
  expected.erase(expected.find("Word=maybe\r\n"), 12);
  expected += "New=True\r\n\r\n[Fresh]\r\nName=x.lmp\r\n";
  EXPECT_EQ(FileText(), expected);
  // No temporary file is left beside the configuration.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(".")) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(ConfigTest, OpeningRemovesTheTemporariesAKilledWriterLeft) {
  // What a writer killed between writing and renaming leaves: "<name>.XXXXXX".
  const struct {
    const char* file;
    bool stale;
  } cases[] = {
      {"game.ini.a1B2c3", true},  {"game.ini.ZZZZZZ", true},   {"game.ini.a1B2c", false},
      {"game.ini.a1B2c3d", false}, {"game.ini.a1-2c3", false}, {"other.ini.a1B2c3", false},
  };
  for (const auto& testCase : cases) {
    std::ofstream(testCase.file, std::ios::binary) << "half a configuration";
  }
  ConfigurationHandle configuration = OpenConfiguration("game", false);
  ASSERT_NE(configuration, nullptr);
  for (const auto& testCase : cases) {
    EXPECT_EQ(std::filesystem::exists(testCase.file), !testCase.stale) << testCase.file;
  }
  CloseConfiguration(configuration);
  EXPECT_EQ(FileText(), kFixture);
}

TEST_F(ConfigTest, HandlesOnOneFileSeeEachOthersWrites) {
  ConfigurationHandle writable = OpenConfiguration("Game", true);
  ConfigurationHandle readOnly = OpenConfiguration("GAME.INI", false);
  int32_t width = 640;
  EXPECT_TRUE(ReadConfigurationInt(writable, "DirectDraw", "ScreenWidth", width));
  EXPECT_TRUE(WriteConfigurationInt(readOnly, "DirectDraw", "ScreenLeft", 17));
  int32_t left = 0;
  int32_t readWidth = 0;
  EXPECT_TRUE(ReadConfigurationInt(writable, "DirectDraw", "ScreenLeft", left));
  EXPECT_TRUE(ReadConfigurationInt(readOnly, "directdraw", "screenwidth", readWidth));
  EXPECT_EQ(left, 17);
  EXPECT_EQ(readWidth, 640);
  EXPECT_TRUE(CloseConfiguration(writable));
  EXPECT_TRUE(CloseConfiguration(readOnly));
  EXPECT_EQ(FileValue("DirectDraw", "ScreenWidth"), "640");
  EXPECT_EQ(FileValue("DirectDraw", "ScreenLeft"), "17");
}

TEST_F(ConfigTest, ExtensionIsAddedOnlyWhereTheLastComponentLacksOne) {
  const struct {
    const char* given;
    const char* used;
  } cases[] = {
      {"game", "game.ini"},
      {"folder.d\\game", "folder.d\\game.ini"},
      {"game.cfg", "game.cfg"},
      {"game.", "game..ini"},
      {"C:\\a.b\\c", "C:\\a.b\\c.ini"},
  };
  for (const auto& testCase : cases) {
    ConfigurationHandle configuration = OpenConfiguration(testCase.given, false);
    EXPECT_STREQ(GetConfigurationName(configuration), testCase.used);
    CloseConfiguration(configuration);
  }
}

TEST_F(ConfigTest, NullArgumentsAndMissingFoldersFail) {
  EXPECT_EQ(OpenConfiguration(nullptr, true), nullptr);
  EXPECT_FALSE(CloseConfiguration(nullptr));
  EXPECT_FALSE(FlushConfiguration(nullptr));
  int32_t value = 3;
  EXPECT_FALSE(ReadConfigurationInt(nullptr, "a", "b", value));
  EXPECT_EQ(value, 3);
  EXPECT_FALSE(WriteConfigurationStr(nullptr, "a", "b", "c"));

  ConfigurationHandle configuration = OpenConfiguration("no\\such\\folder\\game", true);
  ASSERT_NE(configuration, nullptr);
  EXPECT_FALSE(ReadConfigurationInt(configuration, "DirectDraw", "ScreenWidth", value));
  EXPECT_FALSE(WriteConfigurationInt(configuration, "DirectDraw", "ScreenWidth", 1));
  EXPECT_FALSE(ReadConfigurationInt(configuration, nullptr, "ScreenWidth", value));
  EXPECT_TRUE(CloseConfiguration(configuration));
}

}  // namespace
