#include <gtest/gtest.h>

#include <vector>

#include "platform/Testing.h"
#include "runtime/CdAudio.h"
#include "SoundFixture.h"

namespace hooks = platform::testing;
using platform::FaderKind;

namespace {

TEST(FaderFormulaTest, ControlValuesAndVolumesConvertBothWays) {
  struct Case {
    uint32_t minimum;
    uint32_t maximum;
    uint32_t value;
    int32_t volume;  // what the value reads as
  };
  const Case reads[] = {
      {0, 65535, 0, -100},     {0, 65535, 65535, 0},  {0, 65535, 32767, -51}, {100, 200, 150, -50},
      {100, 200, 50, -100},    {100, 200, 900, 0},    {0, 0xFFFFFFFF, 0xFFFFFFFF, 0},
      {7, 7, 7, 0},            {9, 3, 5, 0},  // no range: read as a missing fader
  };
  for (const Case& test : reads) {
    EXPECT_EQ(FaderToVolume(test.value, test.minimum, test.maximum), test.volume)
        << test.minimum << ".." << test.maximum << " at " << test.value;
  }
  const Case writes[] = {
      {0, 65535, 0, -100},  {0, 65535, 65535, 0}, {0, 65535, 32767, -50}, {100, 200, 150, -50},
      {100, 200, 100, -150}, {100, 200, 200, 40},  {0, 0xFFFFFFFF, 0xFFFFFFFF, 0}, {7, 7, 0, -10},
  };
  for (const Case& test : writes) {
    EXPECT_EQ(VolumeToFader(test.volume, test.minimum, test.maximum), test.value)
        << test.minimum << ".." << test.maximum << " for " << test.volume;
  }
}

class CdAudioTest : public SoundFixture {
 protected:
  // An audio track of the test disc: 20 milliseconds at one value.
  static void AddAudioTrack(int16_t value) {
    hooks::CdTestTrack track;
    track.format = platform::PcmFormat(1, kRate, 16);
    track.data = testing_support::Samples16(std::vector<int16_t>(160, value));
    hooks::AddCdTrack(track);
  }

  static void AddDataTrack() {
    hooks::CdTestTrack track;
    track.audio = false;
    hooks::AddCdTrack(track);
  }
};

TEST_F(CdAudioTest, LeadingDataTrackShiftsTheTrackNumbers) {
  AddDataTrack();
  AddAudioTrack(200);
  AddAudioTrack(300);
  ASSERT_TRUE(StartSound());
  EXPECT_EQ(CountCDAudio(), 2u);
  ASSERT_TRUE(PlayCDAudio(1, 1));
  EXPECT_EQ(PlayingCDAudio(), 1u);
  EXPECT_EQ(Hear(10)[0], 200);
  // The range ends with the disc's second track.
  Hear(20);
  EXPECT_EQ(PlayingCDAudio(), 0u);
  EXPECT_TRUE(Silent(Hear(10)));

  ASSERT_TRUE(PlayCDAudio(2, 0));
  EXPECT_EQ(PlayingCDAudio(), 2u);
  EXPECT_EQ(Hear(10)[0], 300);
}

TEST_F(CdAudioTest, RequiredCdAudioCountsTheTracksAtStart) {
  AddAudioTrack(1);
  AddAudioTrack(2);
  AddAudioTrack(3);
  WriteConfiguration("[Source]\nAudio=CD\n");
  ASSERT_TRUE(StartSoundDevice());
  EXPECT_TRUE(LogHas("Software requires CD-audio (Tracks=3)\n"));
  StopSoundDevice();
  EXPECT_TRUE(LogHas("MCI CD-audio device closed\n"));
}

TEST_F(CdAudioTest, WithoutADiscNothingPlaysAndStopAnswersFalse) {
  ASSERT_TRUE(StartSound());
  SetDebugLevel(DebugLevelExtended);
  EXPECT_EQ(CountCDAudio(), 0u);
  EXPECT_TRUE(LogHas("CountCDAudio() Cannot open the CD-audio track (Error="));
  EXPECT_FALSE(PlayCDAudio(1, 2));
  EXPECT_FALSE(StopCDAudio());
  EXPECT_FALSE(PauseCDAudio());
  EXPECT_FALSE(ResumeCDAudio());
  EXPECT_EQ(PlayingCDAudio(), 0u);
}

TEST_F(CdAudioTest, StopClosesTheDiscAndPauseResumeKeepThePlace) {
  AddAudioTrack(400);
  ASSERT_TRUE(StartSound());
  ASSERT_TRUE(PlayCDAudio(1, 1));
  Hear(5);
  EXPECT_TRUE(PauseCDAudio());
  EXPECT_TRUE(Silent(Hear(5)));
  EXPECT_TRUE(ResumeCDAudio());
  EXPECT_EQ(Hear(5)[0], 400);
  EXPECT_TRUE(StopCDAudio());
  EXPECT_FALSE(StopCDAudio());
  EXPECT_TRUE(Silent(Hear(5)));
}

TEST_F(CdAudioTest, VolumesFollowTheFadersFoundAtStart) {
  hooks::SetAudioFader(FaderKind::Master, {true, 0, 65535, 1, 65535});
  hooks::SetAudioFader(FaderKind::CdAudio, {true, 1000, 1000, 1, 1000});
  ASSERT_TRUE(StartSound());
  EXPECT_TRUE(LogHas("Single master volume fader detected (Volume=65535, Minimum=0, Maximum=65535, Step=1)\n"));
  EXPECT_EQ(GetMasterVolume(), 0);
  EXPECT_EQ(SetMasterVolume(-100), 0u);
  EXPECT_EQ(GetMasterVolume(), -100);
  EXPECT_EQ(SetMasterVolume(-50), 32767u);
  EXPECT_EQ(GetMasterVolume(), -51);
  // A fader without a range reads 0 instead of dividing by zero.
  EXPECT_EQ(GetCDAudioVolume(), 0);
  EXPECT_EQ(SetCDAudioVolume(-30), 0u);

  // A fader that fails after start: the read logs and gives 0.
  hooks::SetAudioFader(FaderKind::Master, {false, 0, 0, 0, 0});
  EXPECT_EQ(GetMasterVolume(), 0);
  EXPECT_TRUE(LogHas("GetMasterVolume() Cannot read the mixer's volume fader\n"));
}

TEST_F(CdAudioTest, MissingFadersGiveZero) {
  hooks::SetAudioFader(FaderKind::Master, {false, 0, 100, 1, 50});
  hooks::SetAudioFader(FaderKind::CdAudio, {false, 0, 100, 1, 50});
  ASSERT_TRUE(StartSound());
  EXPECT_TRUE(LogHas("No valid master volume fader detected or the fader failed\n"));
  EXPECT_TRUE(LogHas("No valid CD-audio volume fader detected or the fader failed\n"));
  EXPECT_EQ(GetMasterVolume(), 0);
  EXPECT_EQ(GetCDAudioVolume(), 0);
  EXPECT_EQ(SetMasterVolume(-20), 0u);
  EXPECT_EQ(SetCDAudioVolume(-20), 0u);
}

TEST_F(CdAudioTest, CdFaderScalesTheMusicOnly) {
  hooks::SetAudioFader(FaderKind::CdAudio, {true, 0, 100, 1, 100});
  AddAudioTrack(8000);
  ASSERT_TRUE(StartSound());
  EXPECT_EQ(SetCDAudioVolume(-75), 25u);
  ASSERT_TRUE(PlayCDAudio(1, 1));
  EXPECT_EQ(Hear(5)[0], 2000);
}

}  // namespace
