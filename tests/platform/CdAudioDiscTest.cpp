#include <gtest/gtest.h>

#include <memory>
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

  std::unique_ptr<Audio> mixer_;
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

}  // namespace
