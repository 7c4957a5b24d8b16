#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "RTSFixture.h"
#include "base/DebugFormat.h"
#include "platform/Audio.h"
#include "platform/Testing.h"
#include "runtime/CdAudio.h"
#include "runtime/Sounds.h"
#include "runtime/RTS.h"
#include "support/DebugLogReader.h"

namespace rts_testing {
namespace {

using testing_support::ReadDebugLogBytes;

TEST_F(RTSTest, ExitWithYesEndsTheProcessWithCodeZero) {
  const int code = RunInChild([this] {
    Start();
    ExitRTS();
  });

  EXPECT_EQ(code, 0);
  const std::string log = ReadDebugLogBytes();
  EXPECT_NE(log.find("Game terminated\r\n\r\nDestructing the game...\r\nGame destructed\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("\r\nExiting the RTS...\r\n\r\nRTS exit code 0: Success"), std::string::npos);
}

// A program may return from main with the run-time system still started:
// the static destruction that follows, in whatever order, must not crash,
// with music and a sound playing through the mixer.
TEST_F(RTSTest, ProgramEndingWithoutExitLeavesQuietly) {
  const int code = RunInChild([this] {
    platform::testing::CdTestTrack track;
    track.format = platform::PcmFormat(1, 8000, 16);
    track.data.assign(16000, 1);
    platform::testing::AddCdTrack(track);
    platform::testing::AddCdTrack(track);
    if (Start() != RTSSuccess || SoundMixer() == nullptr) {
      std::_Exit(2);
    }
    if (!PlayCDAudio(1, 0)) {
      std::_Exit(3);
    }
    platform::AudioResult result = platform::AudioResult::Ok;
    static std::unique_ptr<platform::SoundBuffer> sound =
        SoundMixer()->CreateBuffer(platform::PcmFormat(1, 8000, 16), 64, result);
    sound->Play(true);
    platform::testing::StepClock(100);
    platform::GetBackend().UpdateAudio();
    std::exit(0);
  });
  EXPECT_EQ(code, 0);
}

TEST_F(RTSTest, ExitWithNoReturnsAndTheGameGoesOn) {
  ASSERT_EQ(Start(), RTSSuccess);
  FakeGame::agreeToTerminate = false;

  ExitRTS();
  EXPECT_EQ(FakeGame::queries, 1);
  EXPECT_EQ(FakeGame::destructed, 0);
  EXPECT_TRUE(platform::testing::HeadlessWindowOpen());
}

TEST_F(RTSTest, AbortEndsTheProcessWithCodeThirteen) {
  const int code = RunInChild([this] {
    Start();
    AbortRTS();
  });

  EXPECT_EQ(code, RTSGameAborted);
  EXPECT_NE(ReadDebugLogBytes().find("Game aborted\r\n\r\nDestructing the game..."), std::string::npos);
  EXPECT_NE(ReadDebugLogBytes().find("RTS exit code D: Game aborted"), std::string::npos);
}

TEST_F(RTSTest, LeftDeviceContextsTurnATerminatedGameIntoMemoryLeak) {
  const int code = RunInChild([this] {
    Start();
    platform::testing::SetOpenDeviceContexts(3);
    ExitRTS();
  });

  EXPECT_EQ(code, RTSMemoryLeak);
  EXPECT_NE(ReadDebugLogBytes().find("Not all DCs are destroyed (Left=3)"), std::string::npos);
}

TEST_F(RTSTest, ErrorMessageLogsShowsTheBoxAndEndsWithCodeThirteen) {
  const int code = RunInChild([this] {
    Start();
    ErrorPrint("Something broke (Code=%i)\n", 42);
  });

  EXPECT_EQ(code, RTSGameAborted);
  const std::string log = ReadDebugLogBytes();
  EXPECT_NE(log.find("Something broke (Code=42)\r\nGame aborted\r\n"), std::string::npos);
  EXPECT_EQ(CountOf(log, "Destructing the game"), 1);
}

TEST_F(RTSTest, ErrorBoxDuringDestructionRunsTheDestructCallbackOnce) {
  const int code = RunInChild([this] {
    FakeGame::onDestruct = [] {
      DebugPrint("destruct callback ran\n");
      ErrorPrint("Destruction failed\n");
    };
    Start();
    ExitRTS();
  });

  EXPECT_EQ(code, RTSGameAborted);
  const std::string log = ReadDebugLogBytes();
  EXPECT_EQ(CountOf(log, "destruct callback ran"), 1);
  EXPECT_EQ(CountOf(log, "Constructing the game"), 1);
  EXPECT_NE(log.find("Destruction failed\r\nGame aborted\r\n"), std::string::npos);
  EXPECT_NE(log.find("RTS exit code D: Game aborted"), std::string::npos);
}

TEST_F(RTSTest, WarningAnsweredYesEndsTheGame) {
  const int code = RunInChild([this] {
    Start();
    platform::testing::PresetMessageBoxAnswer(platform::MessageBoxAnswer::Yes);
    WarningPrint("Low on beer\n");
  });

  EXPECT_EQ(code, RTSGameAborted);
  EXPECT_NE(ReadDebugLogBytes().find("Low on beer\r\nGame aborted\r\n"), std::string::npos);
}

TEST_F(RTSTest, WarningAnsweredNoShowsTheWindowAgainAndReturns) {
  ASSERT_EQ(Start(), RTSSuccess);

  WarningPrint("Low on beer\n");
  const auto boxes = platform::testing::ShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Yobbozers");
  EXPECT_EQ(boxes[0].text, "Low on beer\n\nTerminate Yobbozers?");
  EXPECT_TRUE(platform::testing::HeadlessWindowVisible());
  EXPECT_EQ(FakeGame::destructed, 0);
}

TEST_F(RTSTest, CleanUpRunsAtShutdownWithoutAConstructStep) {
  static int cleanUps = 0;
  cleanUps = 0;
  ASSERT_EQ(InitRTS(&kStartRecord, [] { ++cleanUps; }), RTSSuccess);
  platform::testing::InjectMessage({platform::MessageKind::SystemClose});

  EXPECT_EQ(RunRTS(), RTSSuccess);
  EXPECT_EQ(cleanUps, 1);
  const std::string log = ReadDebugLogBytes();
  EXPECT_NE(log.find("\r\nCollecting garbage...\r\nGarbage collected\r\n"), std::string::npos);
  EXPECT_EQ(log.find("Constructing the game"), std::string::npos);
}

}  // namespace
}  // namespace rts_testing
