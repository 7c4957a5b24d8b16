#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "RTSFixture.h"
#include "platform/Testing.h"
#include "runtime/FileNames.h"
#include "runtime/FileTypes.h"
#include "runtime/Folders.h"
#include "runtime/RTS.h"
#include "support/DebugLogReader.h"

namespace rts_testing {
namespace {

// The folders and file types read the configuration file itself.
void WriteConfiguration(const std::string& text) {
  std::ofstream("LumoYobbieDemo.ini", std::ios::binary) << text;
}

struct MissingCdCase {
  const char* source;
  const char* failure;
};

TEST_F(RTSTest, MissingCdFailsTheSystemStartWithCodeSeven) {
  const MissingCdCase cases[] = {
      {"Sound=CDROM\n", "Cannot detect the CD-ROM drive\n"},
      {"Audio=CD\n", "Cannot detect CD-audio\n"},
  };
  for (const MissingCdCase& testCase : cases) {
    SCOPED_TRACE(testCase.source);
    platform::testing::Reset();
    platform::testing::UseBackend("headless");
    WriteConfiguration(std::string("[Source]\n") + testCase.source);

    EXPECT_EQ(Start(), RTSWindowsFailure);
    const std::string log = testing_support::ReadDebugLogBytes();
    std::string logged = testCase.failure;
    logged.replace(logged.size() - 1, 1, "\r\n");
    EXPECT_NE(log.find(logged), std::string::npos);
    EXPECT_NE(log.find("RTS exit code 7: Windows initialization failure"), std::string::npos);
    ASSERT_FALSE(platform::testing::ShownMessageBoxes().empty());
    EXPECT_EQ(platform::testing::ShownMessageBoxes().back().text.rfind(testCase.failure, 0), 0u);
    EXPECT_EQ(FakeGame::constructed, 0);
  }
}

TEST_F(RTSTest, StartUpSetsTheFoldersAndFileTypesAndShutdownForgetsThem) {
  std::filesystem::create_directories("cd/media");
  WriteConfiguration(
      "[Source]\nGraphic=CDROM\nAudio=CD\nCDFolder=cd\n"
      "[Extensions]\n255=map\n[Icons]\n255=_map\n[Descriptions]\n255=Maps\n");

  ASSERT_EQ(Start(), RTSSuccess);
  char folder[kMaxPathSize] = "";
  EXPECT_TRUE(GetFolderName(FolderGraphic, folder));
  EXPECT_STREQ(folder, "D:\\Media\\");
  EXPECT_EQ(ExtractFileInfo("town.MAP"), 255);
  const std::string log = testing_support::ReadDebugLogBytes();
  EXPECT_NE(log.find("Graphic files are read from D:\\Media\\\r\n"), std::string::npos);

  ShutdownRTS("", RTSSuccess);
  EXPECT_EQ(GetCustomFileInfoCount(), 0);
  EXPECT_FALSE(GetFolderName(FolderGraphic, folder));
}

}  // namespace
}  // namespace rts_testing
