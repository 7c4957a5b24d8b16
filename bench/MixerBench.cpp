#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/Audio.h"
#include "platform/Testing.h"

namespace {

// Mixes a second of 22,050 Hz stereo output from a number of playing sounds
// (mono and stereo, at rates that need resampling, with volume and pan).
void MixOneSecond(benchmark::State& state) {
  platform::testing::UseBackend("headless");
  platform::AudioResult result = platform::AudioResult::Ok;
  auto mixer = platform::Audio::Create(platform::GetBackend(), result);
  mixer->SetPrimaryFormat(platform::PcmFormat(2, 22050, 16));
  mixer->Start();
  std::vector<std::unique_ptr<platform::SoundBuffer>> sounds;
  const std::vector<uint8_t> noise(44100, 0x5A);
  for (int64_t at = 0; at < state.range(0); ++at) {
    const uint16_t channels = at % 2 == 0 ? 1 : 2;
    auto sound = mixer->CreateBuffer(platform::PcmFormat(channels, at % 3 == 0 ? 11025 : 44100, 16),
                                     static_cast<uint32_t>(noise.size()), result);
    sound->Fill(noise.data(), static_cast<uint32_t>(noise.size()));
    sound->SetVolume(-300);
    sound->SetPan(static_cast<int32_t>(at * 700 % 10000));
    sound->Play(true);
    sounds.push_back(std::move(sound));
  }
  std::vector<int16_t> output(22050 * 2);
  for (auto _ : state) {
    mixer->FillAudio(output.data(), 22050);
    benchmark::DoNotOptimize(output.data());
  }
  state.SetItemsProcessed(state.iterations() * 22050 * state.range(0));
  sounds.clear();
  mixer.reset();
}
BENCHMARK(MixOneSecond)->Arg(1)->Arg(8)->Arg(32);

}  // namespace

BENCHMARK_MAIN();
