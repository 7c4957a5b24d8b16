#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>
#include <string>

#include "platform/Audio.h"
#include "platform/CdAudio.h"
#include "platform/Testing.h"
#include "support/MediaWriters.h"
#include "support/TempFolder.h"

using platform::Audio;
using platform::AudioResult;
using platform::CdAudio;
using platform::CdResult;
namespace hooks = platform::testing;
namespace media = testing_support;

namespace {

constexpr uint32_t kRate = 8000;

// A disc folder in the test's folder and a headless mixer to play it through.
class CdDiscTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hooks::Reset();
    hooks::UseBackend("headless");
    hooks::SetClock(1000);
    AudioResult result = AudioResult::Ok;
    mixer_ = Audio::Create(platform::GetBackend(), result);
    ASSERT_NE(mixer_, nullptr);
    ASSERT_EQ(mixer_->SetPrimaryFormat(platform::PcmFormat(1, kRate, 16)), AudioResult::Ok);
    mixer_->Start();
    hooks::CaptureAudio(true);
    disc_ = (testing_support::TestFolder() / "disc").string();
    std::filesystem::create_directory(disc_);
  }

  void TearDown() override {
    mixer_.reset();
    hooks::Reset();
  }

  // An audio track of a number of milliseconds holding one sample value.
  void AddAudioTrack(const std::string& name, uint32_t milliseconds, int16_t value) {
    const std::vector<int16_t> samples(milliseconds * kRate / 1000, value);
    media::WriteBytes(disc_ + "/" + name, media::PcmWave(1, kRate, 16, media::Samples16(samples)));
  }

  void AddDataTrack(const std::string& name) { media::WriteBytes(disc_ + "/" + name, {1, 2, 3}); }

  std::unique_ptr<CdAudio> OpenDisc() {
    CdResult result = CdResult::Ok;
    auto disc = CdAudio::Open(mixer_.get(), disc_, result);
    EXPECT_EQ(result, CdResult::Ok);
    return disc;
  }

  static std::vector<int16_t> Hear(uint32_t milliseconds) {
    hooks::StepClock(milliseconds);
    return hooks::TakeCapturedAudio();
  }

  std::shared_ptr<Audio> mixer_;
  std::string disc_;
};

TEST_F(CdDiscTest, TracksAreNumberedFilesAndOtherExtensionsAreData) {
  AddDataTrack("track01.dat");
  AddAudioTrack("Track02.WAV", 250, 1);
  AddAudioTrack("track03.wav", 1500, 1);
  AddAudioTrack("track05.wav", 100, 1);  // after a gap: not on the disc
  AddDataTrack("notes.txt");
  const auto disc = OpenDisc();
  ASSERT_NE(disc, nullptr);
  EXPECT_EQ(disc->TrackCount(), 3u);
  EXPECT_FALSE(disc->IsAudioTrack(1));
  EXPECT_TRUE(disc->IsAudioTrack(2));
  EXPECT_FALSE(disc->IsAudioTrack(4));
  EXPECT_EQ(disc->TrackLength(1), 0u);
  EXPECT_EQ(disc->TrackLength(2), 250u);
  EXPECT_EQ(disc->TrackLength(3), 1500u);
}

TEST_F(CdDiscTest, NoFolderOrNoTracksMeansNoDisc) {
  const std::string folders[] = {"", disc_ + "/missing", disc_};
  for (const std::string& folder : folders) {
    CdResult result = CdResult::Ok;
    EXPECT_EQ(CdAudio::Open(mixer_.get(), folder, result), nullptr) << folder;
    EXPECT_EQ(result, CdResult::NoDisc);
  }
}

TEST_F(CdDiscTest, PlaysTheRangeTrackAfterTrackAndSkipsDataTracks) {
  AddAudioTrack("track01.wav", 20, 100);
  AddDataTrack("track02.dat");
  AddAudioTrack("track03.wav", 20, 300);
  AddAudioTrack("track04.wav", 20, 400);
  const auto disc = OpenDisc();
  ASSERT_EQ(disc->Play(1, 3), CdResult::Ok);
  EXPECT_EQ(disc->CurrentTrack(), 1u);
  EXPECT_EQ(Hear(10)[0], 100);
  Hear(15);
  EXPECT_EQ(disc->CurrentTrack(), 3u);
  // Track 4 lies beyond the range: the music ends with track 3.
  Hear(40);
  EXPECT_EQ(disc->CurrentTrack(), 0u);
  EXPECT_FALSE(disc->IsPlaying());
  const std::vector<int16_t> after = Hear(10);
  EXPECT_EQ(after[0], 0);
}

TEST_F(CdDiscTest, PauseKeepsThePlaceAndResumeGoesOn) {
  AddAudioTrack("track01.wav", 100, 100);
  const auto disc = OpenDisc();
  EXPECT_EQ(disc->Resume(), CdResult::NoDisc);
  ASSERT_EQ(disc->Play(1, 0), CdResult::Ok);
  Hear(50);
  disc->Pause();
  EXPECT_FALSE(disc->IsPlaying());
  EXPECT_EQ(disc->CurrentTrack(), 1u);
  EXPECT_EQ(Hear(100)[0], 0);
  ASSERT_EQ(disc->Resume(), CdResult::Ok);
  const std::vector<int16_t> rest = Hear(100);
  EXPECT_EQ(rest[8 * 49], 100);
  EXPECT_EQ(rest[8 * 51], 0);
}

TEST_F(CdDiscTest, DataTracksAndUnreadableTracksDoNotPlay) {
  AddDataTrack("track01.dat");
  media::WriteBytes(disc_ + "/track02.wav", {'R', 'I', 'F', 'F'});
  const auto disc = OpenDisc();
  EXPECT_EQ(disc->Play(1, 1), CdResult::BadTrack);
  EXPECT_EQ(disc->Play(3, 3), CdResult::BadTrack);
  EXPECT_EQ(disc->Play(2, 2), CdResult::TrackUnreadable);
  EXPECT_EQ(disc->CurrentTrack(), 0u);
}

// The range plays on its own: nothing but the mixer's pulls, and each track
// starts on the frame after the one before ends. The tracks are longer than
// one streamed piece and differ in format.
TEST_F(CdDiscTest, RangePlaysToItsEndWithoutPollingAndWithoutAGap) {
  AddAudioTrack("track01.wav", 700, 100);
  media::WriteBytes(disc_ + "/track02.wav",
                    media::PcmWave(2, kRate / 2, 16, media::Samples16(std::vector<int16_t>(2 * 2000, 200))));
  media::WriteBytes(disc_ + "/track03.wav", media::PcmWave(1, kRate, 8, media::Bytes(5600, 128 + 3)));
  AddAudioTrack("track04.wav", 100, 400);
  const auto disc = OpenDisc();
  ASSERT_EQ(disc->TrackLength(2), 500u);
  ASSERT_EQ(disc->Play(1, 3), CdResult::Ok);
  std::vector<int16_t> heard;
  for (int step = 0; step < 20; ++step) {
    const std::vector<int16_t> part = Hear(100);
    heard.insert(heard.end(), part.begin(), part.end());
  }
  ASSERT_EQ(heard.size(), 16000u);
  const struct {
    size_t from;
    size_t to;
    int16_t value;
  } spans[] = {{0, 5600, 100}, {5600, 9600, 200}, {9600, 15200, 3 * 256}, {15200, 16000, 0}};
  for (const auto& span : spans) {
    for (size_t frame = span.from; frame < span.to; ++frame) {
      ASSERT_EQ(heard[frame], span.value) << "frame " << frame;
    }
  }
  EXPECT_EQ(disc->CurrentTrack(), 0u);
  EXPECT_FALSE(disc->IsPlaying());
}

// The samples are read as they play, so a track longer than the mixer's
// largest sound plays too (sparse, so the test writes almost nothing).
TEST_F(CdDiscTest, TrackLongerThanTheLargestSoundIsStreamed) {
  const uint32_t dataSize = platform::kMaximumSoundBytes + 4096;
  media::Bytes header = media::PcmWave(1, kRate, 16, media::Samples16(std::vector<int16_t>(4, 500)));
  const uint32_t riffSize = dataSize + static_cast<uint32_t>(header.size()) - 8 - 8;
  for (int shift = 0; shift < 32; shift += 8) {
    header[4 + shift / 8] = static_cast<uint8_t>(riffSize >> shift);
    header[header.size() - 8 - 4 + shift / 8] = static_cast<uint8_t>(dataSize >> shift);
  }
  const std::string path = disc_ + "/track01.wav";
  media::WriteBytes(path, header);
  std::filesystem::resize_file(path, header.size() - 8 + dataSize);
  const auto disc = OpenDisc();
  EXPECT_EQ(disc->TrackLength(1), dataSize / 16u);
  ASSERT_EQ(disc->Play(1, 1), CdResult::Ok);
  const std::vector<int16_t> heard = Hear(10);
  ASSERT_EQ(heard.size(), 80u);
  EXPECT_EQ(heard[0], 500);
  EXPECT_EQ(heard[3], 500);
  EXPECT_EQ(heard[4], 0);
  EXPECT_EQ(disc->CurrentTrack(), 1u);
}

// A data chunk cut short by the end of its file plays what is there; a track
// of the range that cannot be read is passed over.
TEST_F(CdDiscTest, CutTracksPlayWhatTheyHoldAndUnreadableOnesArePassedOver) {
  // 800 frames written, the last 400 of them cut off.
  const media::Bytes whole = media::PcmWave(1, kRate, 16, media::Samples16(std::vector<int16_t>(800, 100)));
  media::WriteBytes(disc_ + "/track01.wav", media::Bytes(whole.begin(), whole.end() - 2 * 400));
  media::WriteBytes(disc_ + "/track02.wav", {'R', 'I', 'F', 'F'});
  AddAudioTrack("track03.wav", 50, 300);
  const auto disc = OpenDisc();
  EXPECT_EQ(disc->TrackLength(1), 50u);
  ASSERT_EQ(disc->Play(1, 3), CdResult::Ok);
  const std::vector<int16_t> heard = Hear(120);
  ASSERT_EQ(heard.size(), 960u);
  EXPECT_EQ(heard[399], 100);
  EXPECT_EQ(heard[400], 300);
  EXPECT_EQ(heard[799], 300);
  EXPECT_EQ(heard[800], 0);
  EXPECT_FALSE(disc->IsPlaying());
}

// Sounds keep their mixer, and the mixer its back end: releasing them in any
// order (as static destruction at exit may) reaches nothing that is gone.
TEST_F(CdDiscTest, BackEndMixerAndSoundsMayBeReleasedInAnyOrder) {
  AddAudioTrack("track01.wav", 200, 100);
  AudioResult result = AudioResult::Ok;
  auto disc = OpenDisc();
  ASSERT_EQ(disc->Play(1, 0), CdResult::Ok);
  auto sound = mixer_->CreateBuffer(platform::PcmFormat(1, kRate, 16), 64, result);
  ASSERT_NE(sound, nullptr);
  sound->Play(true);
  Hear(10);
  // The back end goes first, then the mixer, then the sounds.
  hooks::UseBackend("headless");
  mixer_.reset();
  sound->Stop();
  sound.reset();
  EXPECT_TRUE(disc->IsPlaying());
  disc.reset();
}

}  // namespace
