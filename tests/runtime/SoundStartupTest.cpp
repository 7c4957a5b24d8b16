#include <gtest/gtest.h>

#include <string>

#include "RTSFixture.h"
#include "platform/Testing.h"
#include "runtime/Movies.h"
#include "runtime/RTS.h"
#include "runtime/Sounds.h"
#include "support/DebugLogReader.h"
#include "support/MediaWriters.h"

namespace {

using rts_testing::RTSTest;
using testing_support::ReadDebugLog;

void WriteGameConfiguration(const std::string& text) {
  testing_support::WriteBytes("LumoYobbieDemo.ini", testing_support::Bytes(text.begin(), text.end()));
}

TEST_F(RTSTest, StartUpCreatesSoundAndMovieListsAndAMissingMovieStopsNothing) {
  ASSERT_EQ(Start(), RTSSuccess);
  int32_t width = 0;
  int32_t height = 0;
  int32_t duration = 0;
  EXPECT_EQ(OpenMovie("intro.avi", width, height, duration), nullptr);
  EXPECT_EQ(ShutdownRTS("Game terminated\n", RTSSuccess), RTSSuccess);
  const std::string log = ReadDebugLog();
  const size_t soundList = log.find("Sound list created\n");
  const size_t movieList = log.find("Movie list created\n");
  ASSERT_NE(soundList, std::string::npos);
  ASSERT_NE(movieList, std::string::npos);
  EXPECT_LT(soundList, movieList);
  EXPECT_LT(movieList, log.find("RTS initialized\n"));
  EXPECT_NE(log.find("OpenMovie() Cannot open the movie (Name=intro.avi"), std::string::npos);
  // Shutdown deletes the movie list before the sound it plays through.
  const size_t movieListDeleted = log.find("Movie list deleted\n");
  ASSERT_NE(movieListDeleted, std::string::npos);
  EXPECT_LT(movieListDeleted, log.find("Sound list deleted\n"));
  EXPECT_LT(log.find("Sound list deleted\n"), log.find("DirectSound released\n"));
}

TEST_F(RTSTest, RequiredSoundThatIsDisabledEndsTheStartWithCodeTen) {
  WriteGameConfiguration("[DirectSound]\nEnabled=False\nRequired=True\n");
  EXPECT_EQ(Start(), RTSDirectSoundFailure);
  const std::string log = ReadDebugLog();
  EXPECT_NE(log.find("The sound is disabled, but sound is required for the game\n"), std::string::npos);
  EXPECT_NE(log.find("RTS exit code A: DirectSound initialization failure"), std::string::npos);
}

TEST_F(RTSTest, DisabledSoundLeavesTheGameRunningWithoutSounds) {
  WriteGameConfiguration("[DirectSound]\nEnabled=False\n");
  ASSERT_EQ(Start(), RTSSuccess);
  EXPECT_FALSE(SoundEnabled());
  EXPECT_EQ(LoadSound("boom"), nullptr);
  EXPECT_NE(ReadDebugLog().find("Movie list created\n"), std::string::npos);
}

}  // namespace
