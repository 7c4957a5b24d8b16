#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/Audio.h"
#include "platform/Testing.h"

using platform::Audio;
using platform::AudioFormat;
using platform::AudioResult;
using platform::FaderKind;
using platform::PcmFormat;
using platform::SoundBuffer;
namespace hooks = platform::testing;

namespace {

constexpr uint32_t kRate = 8000;  // output frames per second: 8 per millisecond

// A headless mixer whose output is captured; the held clock decides how much
// is mixed, so each test hears exactly the milliseconds it steps.
class MixerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hooks::Reset();
    hooks::UseBackend("headless");
    hooks::SetClock(1000);
    AudioResult result = AudioResult::Ok;
    mixer_ = Audio::Create(platform::GetBackend(), result);
    ASSERT_NE(mixer_, nullptr);
    UseOutput(1);
  }

  void TearDown() override {
    sounds_.clear();
    mixer_.reset();
    hooks::Reset();
  }

  void UseOutput(uint16_t channels) {
    ASSERT_EQ(mixer_->SetPrimaryFormat(PcmFormat(channels, kRate, 16)), AudioResult::Ok);
    ASSERT_EQ(mixer_->Start(), AudioResult::Ok);
    hooks::CaptureAudio(true);
  }

  // A 16-bit sound of the given samples (interleaved when stereo).
  SoundBuffer& Sound(const std::vector<int16_t>& samples, uint16_t channels = 1, uint32_t rate = kRate) {
    std::vector<uint8_t> bytes;
    for (const int16_t sample : samples) {
      bytes.push_back(static_cast<uint8_t>(sample));
      bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8));
    }
    return SoundOf(PcmFormat(channels, rate, 16), bytes);
  }

  SoundBuffer& SoundOf(const AudioFormat& format, const std::vector<uint8_t>& bytes) {
    AudioResult result = AudioResult::Ok;
    auto buffer = mixer_->CreateBuffer(format, static_cast<uint32_t>(bytes.size()), result);
    EXPECT_EQ(result, AudioResult::Ok);
    EXPECT_EQ(buffer->Fill(bytes.data(), static_cast<uint32_t>(bytes.size())), AudioResult::Ok);
    sounds_.push_back(std::move(buffer));
    return *sounds_.back();
  }

  static std::vector<int16_t> Hear(uint32_t milliseconds) {
    hooks::StepClock(milliseconds);
    return hooks::TakeCapturedAudio();
  }

  static bool Silent(const std::vector<int16_t>& samples) {
    for (const int16_t sample : samples) {
      if (sample != 0) return false;
    }
    return true;
  }

  std::shared_ptr<Audio> mixer_;
  std::vector<std::unique_ptr<SoundBuffer>> sounds_;
};

int32_t Attenuated(int32_t sample, int32_t hundredths) {
  return static_cast<int32_t>(sample * std::pow(10.0, hundredths / 2000.0));
}

TEST_F(MixerTest, OutputMixesTheMillisecondsTheClockMoved) {
  EXPECT_EQ(Hear(5).size(), 5u * 8u);
  EXPECT_EQ(Hear(0).size(), 0u);
}

TEST_F(MixerTest, VolumeInHundredthsOfADecibelScalesTheSound) {
  struct Case {
    int32_t volume;
    int32_t expected;
  };
  const Case cases[] = {{0, 16000}, {-600, Attenuated(16000, -600)}, {-2000, 1600}, {-10000, 0}};
  for (const Case& test : cases) {
    SoundBuffer& sound = Sound(std::vector<int16_t>(80, 16000));
    ASSERT_EQ(sound.SetVolume(test.volume), AudioResult::Ok);
    ASSERT_EQ(sound.Play(false), AudioResult::Ok);
    const std::vector<int16_t> heard = Hear(5);
    ASSERT_EQ(heard.size(), 40u);
    EXPECT_NEAR(heard[10], test.expected, 2) << "volume " << test.volume;
    sound.Stop();
  }
}

TEST_F(MixerTest, VolumeAndPanAreKeptAsGivenAndRefusedOutsideTheirRange) {
  SoundBuffer& sound = Sound({1, 2, 3});
  struct Case {
    int32_t value;
    AudioResult result;
  };
  const Case volumes[] = {{-1, AudioResult::Ok}, {-9999, AudioResult::Ok}, {1, AudioResult::InvalidParameters},
                          {-10001, AudioResult::InvalidParameters}};
  for (const Case& test : volumes) {
    ASSERT_EQ(sound.SetVolume(-5), AudioResult::Ok);
    EXPECT_EQ(sound.SetVolume(test.value), test.result);
    int32_t stored = 0;
    sound.GetVolume(stored);
    EXPECT_EQ(stored, test.result == AudioResult::Ok ? test.value : -5);
  }
  const Case pans[] = {{-10000, AudioResult::Ok}, {10000, AudioResult::Ok}, {-3, AudioResult::Ok},
                       {10001, AudioResult::InvalidParameters}};
  for (const Case& test : pans) {
    ASSERT_EQ(sound.SetPan(7), AudioResult::Ok);
    EXPECT_EQ(sound.SetPan(test.value), test.result);
    int32_t stored = 0;
    sound.GetPan(stored);
    EXPECT_EQ(stored, test.result == AudioResult::Ok ? test.value : 7);
  }
}

TEST_F(MixerTest, PanAttenuatesOnlyTheFarSide) {
  UseOutput(2);
  struct Case {
    int32_t pan;
    int32_t left;
    int32_t right;
  };
  const Case cases[] = {
      {0, 12000, 12000},
      {-10000, 12000, 0},
      {10000, 0, 12000},
      {-600, 12000, Attenuated(12000, -600)},
      {2000, 1200, 12000},
  };
  for (const Case& test : cases) {
    SoundBuffer& sound = Sound(std::vector<int16_t>(80, 12000));
    ASSERT_EQ(sound.SetPan(test.pan), AudioResult::Ok);
    sound.Play(false);
    const std::vector<int16_t> heard = Hear(2);
    ASSERT_EQ(heard.size(), 2u * 16u);
    EXPECT_NEAR(heard[4], test.left, 2) << "pan " << test.pan;
    EXPECT_NEAR(heard[5], test.right, 2) << "pan " << test.pan;
    sound.Stop();
  }
}

TEST_F(MixerTest, EightBitStereoAndOtherRatesReachTheOutput) {
  // 8-bit samples are unsigned around 128.
  SoundBuffer& eightBit = SoundOf(PcmFormat(1, kRate, 8), std::vector<uint8_t>(40, 192));
  eightBit.Play(false);
  EXPECT_EQ(Hear(1)[3], 64 * 256);
  eightBit.Stop();

  // Stereo into a mono output: the two channels are averaged.
  SoundBuffer& stereo = Sound({1000, 3000, 1000, 3000, 1000, 3000, 1000, 3000, 1000, 3000}, 2);
  stereo.Play(false);
  EXPECT_EQ(Hear(1)[2], 2000);
  stereo.Stop();

  // Half the output rate: each source frame lasts two output frames, with
  // the frame between interpolated.
  SoundBuffer& slow = Sound({0, 1000, 2000, 3000, 4000, 5000, 6000, 7000}, 1, kRate / 2);
  slow.Play(false);
  const std::vector<int16_t> heard = Hear(1);
  EXPECT_EQ(heard[0], 0);
  EXPECT_EQ(heard[1], 500);
  EXPECT_EQ(heard[2], 1000);
  EXPECT_EQ(heard[6], 3000);
}

TEST_F(MixerTest, LoudResampledSoundIsInterpolatedWithoutOverflow) {
  // Full-scale swings at three eighths of the output rate: every output
  // frame lies between two source frames 65535 apart, most of them more
  // than half way.
  std::vector<int16_t> samples;
  for (int at = 0; at < 30; ++at) {
    samples.push_back(at % 2 == 0 ? 32767 : -32768);
  }
  SoundBuffer& loud = Sound(samples, 1, kRate * 3 / 8);
  loud.Play(false);
  const std::vector<int16_t> heard = Hear(8);
  ASSERT_EQ(heard.size(), 64u);
  for (size_t frame = 0; frame < 64; ++frame) {
    const double position = static_cast<double>(frame) * 3.0 / 8.0;
    const size_t index = static_cast<size_t>(position);
    const double fraction = position - static_cast<double>(index);
    const double here = samples[index];
    const double next = samples[std::min(index + 1, samples.size() - 1)];
    EXPECT_NEAR(heard[frame], here + (next - here) * fraction, 1.0) << "frame " << frame;
  }
}

TEST_F(MixerTest, LoopedSoundKeepsPlayingAndStoppedSoundIsSilent) {
  SoundBuffer& sound = Sound({5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000});  // one millisecond
  sound.Play(true);
  const std::vector<int16_t> looped = Hear(50);
  ASSERT_EQ(looped.size(), 400u);
  for (const int16_t sample : looped) {
    ASSERT_EQ(sample, 5000);
  }
  EXPECT_TRUE(sound.IsPlaying());
  sound.Stop();
  EXPECT_FALSE(sound.IsPlaying());
  EXPECT_TRUE(Silent(Hear(20)));
}

TEST_F(MixerTest, SinglePlayEndsAtTheStartSoItCanBePlayedAgain) {
  SoundBuffer& sound = Sound(std::vector<int16_t>(16, 7000));  // two milliseconds
  sound.Play(false);
  const std::vector<int16_t> first = Hear(5);
  EXPECT_EQ(first[15], 7000);
  EXPECT_EQ(first[16], 0);
  EXPECT_FALSE(sound.IsPlaying());
  uint32_t position = 99;
  sound.GetPosition(position);
  EXPECT_EQ(position, 0u);
  sound.Play(false);
  EXPECT_EQ(Hear(1)[0], 7000);
}

TEST_F(MixerTest, PositionIsInBytesOnFrameBoundariesAndStopKeepsIt) {
  std::vector<int16_t> ramp(80);
  for (size_t at = 0; at < ramp.size(); ++at) ramp[at] = static_cast<int16_t>(at * 10);
  SoundBuffer& sound = Sound(ramp);
  ASSERT_EQ(sound.SetPosition(21), AudioResult::Ok);  // inside frame 10
  sound.Play(false);
  EXPECT_EQ(Hear(1)[0], 100);
  sound.Stop();
  uint32_t position = 0;
  sound.GetPosition(position);
  EXPECT_EQ(position, (10u + 8u) * 2u);
  EXPECT_EQ(sound.SetPosition(161), AudioResult::InvalidParameters);
}

TEST_F(MixerTest, DuplicatesShareTheDataAndKeepTheirOwnPosition) {
  std::vector<int16_t> ramp(800);
  for (size_t at = 0; at < ramp.size(); ++at) ramp[at] = static_cast<int16_t>(at);
  SoundBuffer& original = Sound(ramp);
  AudioResult result = AudioResult::Ok;
  std::unique_ptr<SoundBuffer> duplicate = mixer_->Duplicate(original, result);
  ASSERT_NE(duplicate, nullptr);
  EXPECT_EQ(duplicate->Size(), original.Size());

  original.Play(false);
  Hear(10);
  duplicate->Play(false);
  Hear(5);
  uint32_t originalPosition = 0;
  uint32_t duplicatePosition = 0;
  original.GetPosition(originalPosition);
  duplicate->GetPosition(duplicatePosition);
  EXPECT_EQ(originalPosition, 15u * 8u * 2u);
  EXPECT_EQ(duplicatePosition, 5u * 8u * 2u);

  // New data reaches both; only the duplicate plays now.
  original.Stop();
  const std::vector<uint8_t> loud(1600, 0x10);
  original.Fill(loud.data(), static_cast<uint32_t>(loud.size()));
  EXPECT_EQ(Hear(1)[0], 0x1010);
}

TEST_F(MixerTest, FollowerStartsWhenItsLeaderEnds) {
  SoundBuffer& leader = Sound(std::vector<int16_t>(8, 1000));
  SoundBuffer& follower = Sound(std::vector<int16_t>(800, 2000));
  leader.SetFollower(&follower);
  leader.Play(false);
  Hear(50);
  EXPECT_FALSE(leader.IsPlaying());
  EXPECT_TRUE(follower.IsPlaying());
  EXPECT_EQ(Hear(1)[0], 2000);
}

TEST_F(MixerTest, MasterFaderScalesEverythingAndCdFaderOnlyCdSounds) {
  hooks::SetAudioFader(FaderKind::Master, {true, 0, 100, 1, 50});
  hooks::SetAudioFader(FaderKind::CdAudio, {true, 0, 100, 1, 25});
  SoundBuffer& effect = Sound(std::vector<int16_t>(80, 8000));
  SoundBuffer& music = Sound(std::vector<int16_t>(80, 8000));
  music.SetFaderGroup(FaderKind::CdAudio);
  effect.Play(false);
  EXPECT_EQ(Hear(1)[0], 4000);
  effect.Stop();
  music.Play(false);
  EXPECT_EQ(Hear(1)[0], 1000);
  music.Stop();
  // A fader without a range, or an absent one, leaves the sound as it is.
  hooks::SetAudioFader(FaderKind::Master, {true, 10, 10, 1, 10});
  hooks::SetAudioFader(FaderKind::CdAudio, {false, 0, 100, 1, 0});
  music.Play(false);
  EXPECT_EQ(Hear(1)[0], 8000);
}

TEST_F(MixerTest, FaderValuesAreClampedToTheirRangeAndAbsentFadersRefused) {
  hooks::SetAudioFader(FaderKind::Master, {true, 100, 200, 1, 150});
  EXPECT_TRUE(Audio::SetFaderValue(FaderKind::Master, 500));
  EXPECT_EQ(Audio::GetFader(FaderKind::Master).value, 200u);
  EXPECT_TRUE(Audio::SetFaderValue(FaderKind::Master, 3));
  EXPECT_EQ(Audio::GetFader(FaderKind::Master).value, 100u);
  hooks::SetAudioFader(FaderKind::CdAudio, {false, 0, 100, 1, 0});
  EXPECT_FALSE(Audio::SetFaderValue(FaderKind::CdAudio, 50));
}

TEST_F(MixerTest, BuffersOnlyInPlayablePcmAndOfBoundedSize) {
  struct Case {
    AudioFormat format;
    uint32_t size;
    AudioResult result;
  };
  AudioFormat adpcm = PcmFormat(1, 22050, 4);
  adpcm.formatTag = 2;
  const Case cases[] = {
      {PcmFormat(2, 44100, 16), 400, AudioResult::Ok},
      {adpcm, 400, AudioResult::BadFormat},
      {PcmFormat(3, 22050, 16), 400, AudioResult::BadFormat},
      {PcmFormat(1, 22050, 24), 400, AudioResult::BadFormat},
      {PcmFormat(1, 0, 16), 400, AudioResult::BadFormat},
      {PcmFormat(1, 22050, 16), platform::kMaximumSoundBytes + 2, AudioResult::OutOfMemory},
  };
  for (const Case& test : cases) {
    AudioResult result = AudioResult::Ok;
    const auto buffer = mixer_->CreateBuffer(test.format, test.size, result);
    EXPECT_EQ(result, test.result);
    EXPECT_EQ(buffer != nullptr, test.result == AudioResult::Ok);
  }
}

TEST(AudioOutputTest, MixerCannotBeMadeWithoutAnOutput) {
  hooks::Reset();
  hooks::UseBackend("headless");
  hooks::FailDeviceStart("audio output");
  AudioResult result = AudioResult::Ok;
  EXPECT_EQ(Audio::Create(platform::GetBackend(), result), nullptr);
  EXPECT_EQ(result, AudioResult::NoDriver);
  EXPECT_FALSE(hooks::HeadlessAudioOpen());
  hooks::Reset();
}

}  // namespace
