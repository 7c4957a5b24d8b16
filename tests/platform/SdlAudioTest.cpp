#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Audio.h"
#include "platform/Backend.h"
#include "platform/Testing.h"

namespace {

// The SDL back end's audio output on SDL's dummy audio driver: the mixer
// opens, takes a primary format and is pulled on SDL's own thread.
TEST(SdlAudioTest, MixerOpensOnTheDummyDriverAndTakesAFormat) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  platform::testing::UseBackend("sdl");
  ASSERT_STREQ(platform::GetBackend().Name(), "sdl");
  platform::AudioResult result = platform::AudioResult::Ok;
  auto mixer = platform::Audio::Create(platform::GetBackend(), result);
  ASSERT_NE(mixer, nullptr);
  EXPECT_EQ(mixer->SetPrimaryFormat(platform::PcmFormat(2, 22050, 16)), platform::AudioResult::Ok);
  EXPECT_EQ(mixer->PrimaryFormat().channels, 2);
  EXPECT_EQ(mixer->Start(), platform::AudioResult::Ok);
  auto sound = mixer->CreateBuffer(platform::PcmFormat(1, 11025, 8), 1000, result);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->Play(true), platform::AudioResult::Ok);
  EXPECT_TRUE(sound->IsPlaying());
  sound.reset();
  mixer.reset();
  platform::testing::UseBackend("headless");
}

}  // namespace
