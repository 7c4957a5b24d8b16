#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "RTSFixture.h"
#include "platform/InstanceLock.h"
#include "platform/Testing.h"
#include "runtime/RTS.h"
#include "runtime/StartupProfile.h"
#include "support/DebugLogReader.h"
#include "support/TempFolder.h"

namespace rts_testing {
namespace {

using testing_support::ReadDebugLogBytes;

void WriteFile(const char* name, const char* contents) {
  std::ofstream file(name, std::ios::binary);
  file << contents;
}

std::string ReadFile(const char* name) {
  std::ifstream file(name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST_F(RTSTest, SecondInstanceGetsCodeTwoAndWritesNoLog) {
  platform::InstanceLock firstInstance("DirectLumo");
  ASSERT_TRUE(firstInstance.Held());

  EXPECT_EQ(Start(), RTSGameAlreadyRunning);
  EXPECT_FALSE(std::filesystem::exists("Debug.txt"));
  EXPECT_EQ(FakeGame::constructed, 0);
  EXPECT_TRUE(platform::testing::ShownMessageBoxes().empty());
}

TEST_F(RTSTest, LockThatCannotBeCreatedFailsTheSystemStart) {
  setenv("YOB_RUNTIME_DIR", (testing_support::TestFolder() / "missing" / "folder").c_str(), 1);

  EXPECT_EQ(Start(), RTSWindowsFailure);
  const std::string log = ReadDebugLogBytes();
  EXPECT_NE(log.find("Cannot create RTS identification mutex (Name=DirectLumo)\r\n"), std::string::npos);
  EXPECT_NE(log.find("RTS exit code 7: Windows initialization failure"), std::string::npos);
  ASSERT_EQ(platform::testing::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(platform::testing::ShownMessageBoxes()[0].text,
            "Cannot create RTS identification mutex (Name=DirectLumo)\n\nYobbozers will be terminated...");
  setenv("YOB_RUNTIME_DIR", testing_support::TestFolder().c_str(), 1);
}

TEST_F(RTSTest, EachDeviceStartFailureGivesItsCodeAndExitReport) {
  struct Case {
    const char* device;
    tRTSResult code;
    const char* report;
  };
  const Case cases[] = {
      {"system", RTSWindowsFailure, "RTS exit code 7: Windows initialization failure"},
      {"display", RTSDirectDrawFailure, "RTS exit code 8: DirectDraw initialization failure"},
      {"input", RTSInputFailure, "RTS exit code 9: Input initialization failure"},
      {"sound", RTSDirectSoundFailure, "RTS exit code A: DirectSound initialization failure"},
      {"movie", RTSDirectShowFailure, "RTS exit code B: DirectShow initialization failure"},
  };
  for (const Case& failure : cases) {
    SCOPED_TRACE(failure.device);
    platform::testing::Reset();
    platform::testing::FailDeviceStart(failure.device);
    FakeGame::constructed = 0;

    EXPECT_EQ(Start(), failure.code);
    const std::string log = ReadDebugLogBytes();
    EXPECT_NE(log.find("\r\nRTS Initialization failed\r\n"), std::string::npos);
    EXPECT_NE(log.find(failure.report), std::string::npos);
    EXPECT_EQ(log.find("RTS initialized"), std::string::npos);
    EXPECT_EQ(FakeGame::constructed, 0);
    EXPECT_EQ(platform::testing::ShownMessageBoxes().size(), 1u);
    EXPECT_FALSE(platform::testing::HeadlessWindowOpen());
  }
}

TEST_F(RTSTest, StartUpLogsTheBannerAndConstructsTheGame) {
  ASSERT_EQ(Start(), RTSSuccess);
  const std::string log = ReadDebugLogBytes();
  const char* const linesInOrder[] = {
      "***** RTS (Run-Time System) of the DirectLumo Games Engine\r\n",
      "***** LumoGame RTS 1.7.8.0 (English release build)\r\n",
      "***** Using DirectX 8.0 (or better)\r\n",
      "***** Running on Linux ",
      "***** Serving the DirectLumo Games Engine 1.7.8.0 (English release build)\r\n",
      "***** Yobbozers - Terrace rampage 1.7.8.0\r\n",
      "***** Debug log (",
      "\r\nInitializing the RTS...\r\n",
      "RTS identification mutex created (Name=DirectLumo, Handle=",
      "COM library initialized\r\n",
      "Using full screen mode\r\n",
      "Main window registered, created, shown and updated",
      "DirectDraw initialized (",
      "RTS initialized\r\n",
      "\r\nConstructing the game...\r\n",
      "Game constructed\r\n",
  };
  size_t position = 0;
  for (const char* line : linesInOrder) {
    const size_t found = log.find(line, position);
    EXPECT_NE(found, std::string::npos) << "missing or out of order: " << line;
    if (found != std::string::npos) {
      position = found;
    }
  }
  EXPECT_EQ(FakeGame::constructed, 1);
  EXPECT_TRUE(platform::testing::ShownMessageBoxes().empty());
  EXPECT_TRUE(platform::testing::HeadlessWindowVisible());
  EXPECT_EQ(platform::testing::HeadlessWindowSettings().title, "Yobbozers - Terrace rampage");
}

TEST_F(RTSTest, ConstructionFailureEndsWithCodeFourWithoutDestruct) {
  FakeGame::constructResult = false;

  EXPECT_EQ(Start(), RTSGameConstructionFailure);
  EXPECT_EQ(FakeGame::constructed, 1);
  EXPECT_EQ(FakeGame::destructed, 0);
  EXPECT_NE(ReadDebugLogBytes().find("RTS exit code 4: Game construction failure"), std::string::npos);
}

TEST_F(RTSTest, ExceptionDuringConstructionEndsWithCodeThree) {
  const auto throwing = []() -> bool { throw std::runtime_error("broken"); };

  EXPECT_EQ(InitializeRTS(&kStartRecord, throwing, FakeGame::Destruct), RTSExceptionFailure);
  EXPECT_EQ(FakeGame::destructed, 0);
  EXPECT_NE(ReadDebugLogBytes().find("RTS exit code 3: Exception failure"), std::string::npos);
}

TEST_F(RTSTest, DebugSectionOfTheConfigurationSetsTheLog) {
  Profile()["Debug/Mode"] = "append";
  Profile()["Debug/Level"] = "extended";
  {
    std::FILE* earlier = std::fopen("Debug.txt", "wb");
    std::fputs("earlier run\r\n", earlier);
    std::fclose(earlier);
  }

  ASSERT_EQ(Start(), RTSSuccess);
  EXPECT_EQ(GetDebugMode(), DebugModeAppend);
  EXPECT_EQ(GetDebugLevel(), DebugLevelExtended);
  EXPECT_EQ(ReadDebugLogBytes().rfind("earlier run\r\n***** ", 0), 0u);
}

TEST_F(RTSTest, StartUpReadsAndWritesTheConfigurationFile) {
  SetStartupProfile(nullptr, nullptr);
  WriteFile("LumoYobbieDemo.ini", "[Debug]\nLevel=Maximum\nFlush=2\n[DirectDraw]\nScreenWidth=1024\n");

  ASSERT_EQ(Start(), RTSSuccess);
  EXPECT_EQ(GetDebugLevel(), DebugLevelMaximum);
  EXPECT_EQ(GetDebugFlushPolicy(), 2);
  EXPECT_EQ(platform::testing::HeadlessWindowSettings().width, 1024);
  // The missing writable entries were written with their defaults.
  const std::string contents = ReadFile("LumoYobbieDemo.ini");
  EXPECT_NE(contents.find("ScreenHeight=480"), std::string::npos);
  EXPECT_NE(contents.find("BitsPerPixel=16"), std::string::npos);
}

TEST_F(RTSTest, WindowedModeReadsThePositionAndWritesItBackAtExit) {
  SetStartupProfile(nullptr, nullptr);
  WriteFile("LumoYobbieDemo.ini",
            "[DirectDraw]\nWindowed=True\nScreenLeft=30\nScreenTop=40\nScreenWidth=1000\nScreenHeight=700\n");

  ASSERT_EQ(Start(), RTSSuccess);
  const platform::WindowSettings window = platform::testing::HeadlessWindowSettings();
  EXPECT_TRUE(window.windowed);
  EXPECT_EQ(window.left, 30);
  EXPECT_EQ(window.top, 40);
  EXPECT_EQ(window.width, 960);
  EXPECT_EQ(window.height, 720);
  EXPECT_NE(ReadDebugLogBytes().find("Using windowed mode\r\n"), std::string::npos);

  platform::testing::InjectMessage({platform::MessageKind::Move, 0, 55, 66});
  platform::testing::InjectMessage({platform::MessageKind::SystemClose});
  EXPECT_EQ(RunRTS(), RTSSuccess);
  const std::string contents = ReadFile("LumoYobbieDemo.ini");
  EXPECT_NE(contents.find("ScreenLeft=55"), std::string::npos);
  EXPECT_NE(contents.find("ScreenTop=66"), std::string::npos);
}

TEST_F(RTSTest, InformationCopiesWholeFieldsOnly) {
  const size_t full = sizeof(tInformation);
  struct Case {
    uint32_t size;
    uint32_t sizeAfter;  // the caller's size field afterwards
    bool languageKept;
    bool restoreKept;
  };
  const Case cases[] = {
      {static_cast<uint32_t>(full + 8), static_cast<uint32_t>(full), true, true},
      {static_cast<uint32_t>(full), static_cast<uint32_t>(full), true, true},
      {static_cast<uint32_t>(full - 1), static_cast<uint32_t>(full - 1), true, false},
      // Part of the language pointer only: it must not be half copied.
      {20, 20, false, false},
      {12, 12, false, false},
  };
  for (const Case& record : cases) {
    SCOPED_TRACE(record.size);
    tInformation given = {record.size, kInformationSignature, 0x01070800, "English",
                          FakeGame::TerminateQuery, "release", nullptr, FakeGame::Restore};
    InformRTS(&given);
    const tInformation& kept = RTS().information;
    EXPECT_EQ(given.size, record.sizeAfter);
    EXPECT_EQ(kept.signature, kInformationSignature);
    EXPECT_EQ(kept.version, 0x01070800u);
    EXPECT_EQ(kept.language != nullptr, record.languageKept);
    if (kept.language != nullptr) {
      EXPECT_STREQ(kept.language, "English");
    }
    EXPECT_EQ(kept.restore != nullptr, record.restoreKept);
  }
}

TEST_F(RTSTest, OldEngineVersionWarnsAboutMissingResources) {
  information_.version = 0x01050000;
  InformRTS(&information_);

  ASSERT_EQ(Start(), RTSSuccess);
  const auto boxes = platform::testing::ShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, platform::MessageBoxKind::Question);
  EXPECT_EQ(boxes[0].text, "The game does not contain any resources\n\nTerminate Yobbozers?");
  EXPECT_NE(ReadDebugLogBytes().find("(English release build)\r\nThe game does not contain any resources"),
            std::string::npos);
}

}  // namespace
}  // namespace rts_testing
