#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "platform/Testing.h"
#include "runtime/CdAudio.h"
#include "runtime/Timer.h"
#include "support/MediaWriters.h"

namespace framework_testing {
namespace {

int CountOf(const std::vector<std::string>& hooks, const std::string& hook) {
  int count = 0;
  for (const std::string& entry : hooks) {
    count += entry == hook ? 1 : 0;
  }
  return count;
}

// A running level at 12 frames per pulse (a check every 6 frames) and a test
// disc of two audio tracks of 100 ms each, mixed at 8000 frames a second.
class LevelAudioTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    restartFrames.clear();
    trackBefore = 0;
    Profile()["DirectSound/SamplesPerSec"] = "8000";
    Profile()["DirectSound/Channels"] = "1";
    Profile()["DirectSound/BitsPerSample"] = "16";
    for (int16_t value : {1000, 2000}) {
      platform::testing::CdTestTrack track;
      track.format = platform::PcmFormat(1, 8000, 16);
      track.data = testing_support::Samples16(std::vector<int16_t>(800, value));
      platform::testing::AddCdTrack(track);
    }
    populate = [this](TestEngine& engine) {
      level = AppendLevel(engine, "level");
      level->populate = [](TestLevel& populated) { populated.Append(new RecordingAnimator("item")); };
      engine.RequestLevel(level);
      // Notes each pass that started the range again, with the engine's
      // frame count of that pass.
      level->script.actions["DoTimer"] = [this] {
        trackBefore = PlayingCDAudio();
        frameOfPass = Engine->FrameCounter;
      };
    };
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Pulse());
  }

  // A pass after the mixer played the period's sound.
  void SoundPulse() {
    platform::testing::StepClock(Period());
    platform::testing::TakeCapturedAudio();
    ASSERT_TRUE(PollTimer(Now()));
    if (trackBefore == 0 && PlayingCDAudio() != 0) {
      restartFrames.push_back(frameOfPass);
    }
  }

  TestLevel* level = nullptr;
  uint32_t trackBefore = 0;
  uint32_t frameOfPass = 0;
  std::vector<uint32_t> restartFrames;
};

TEST_F(LevelAudioTest, RepeatCountsPlayTheRangeThatOftenCheckedTwiceAPulse) {
  struct Case {
    int32_t repeats;
    size_t restarts;  // within 40 passes
    bool playingAfter;
    int stops;
  };
  const Case cases[] = {
      {1, 0, false, 1},
      {3, 2, false, 1},
      {-1, 6, true, 0},
      {0, 0, true, 0},  // played once, then not watched
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.repeats);
    TearDown();
    SetUp();
    HookLog().clear();

    ASSERT_TRUE(level->PlayAudio(1, 1, test.repeats));
    EXPECT_EQ(PlayingCDAudio(), 1u);
    for (int pass = 0; pass < 40; ++pass) {
      SoundPulse();
    }

    EXPECT_EQ(restartFrames.size(), test.restarts);
    for (uint32_t frame : restartFrames) {
      EXPECT_EQ(frame % 6, 0u) << frame;
    }
    EXPECT_EQ(level->AudioPlaying, test.playingAfter);
    EXPECT_EQ(level->AudioRepeats, test.playingAfter ? test.repeats : 0);
    EXPECT_EQ(CountOf(HooksOf("level"), "OnPlayAudio"), 1);
    EXPECT_EQ(CountOf(HooksOf("level"), "OnStopAudio"), test.stops);
  }
}

TEST_F(LevelAudioTest, RangeThatCannotBeStartedAgainEndsThePlayBack) {
  ASSERT_TRUE(level->PlayAudio(1, 2, 5));
  // The disc goes away while the level still watches it.
  StopCDAudio();
  platform::testing::ClearCdTracks();

  for (int pass = 0; pass < 6; ++pass) {
    SoundPulse();
  }

  EXPECT_FALSE(level->AudioPlaying);
  EXPECT_EQ(level->AudioRepeats, 0);
  EXPECT_EQ(CountOf(HooksOf("level"), "OnStopAudio"), 1);
}

TEST_F(LevelAudioTest, StopPauseAndResumeRunTheirHooksOnlyWhenTheyChangeSomething) {
  level->StopAudio();
  level->PauseAudio();
  EXPECT_EQ(CountOf(HooksOf("level"), "OnStopAudio"), 0);

  ASSERT_TRUE(level->PlayAudio(2, 2, 1));
  EXPECT_EQ(level->IsAudioPlaying(), 2u);
  EXPECT_EQ(level->CountAudio(), 2u);
  level->PauseAudio();
  EXPECT_FALSE(level->AudioPlaying);
  level->ResumeAudio();
  EXPECT_TRUE(level->AudioPlaying);
  EXPECT_EQ(level->IsAudioPlaying(), 2u);
  level->StopAudio();
  EXPECT_FALSE(level->AudioPlaying);
  EXPECT_EQ(level->AudioRepeatCount, 0);
  EXPECT_EQ(level->IsAudioPlaying(), 0u);
  EXPECT_EQ(CountOf(HooksOf("level"), "OnStopAudio"), 1);
}

}  // namespace
}  // namespace framework_testing
