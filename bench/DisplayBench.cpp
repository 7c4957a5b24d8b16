#include <benchmark/benchmark.h>

#include <cstdlib>

#include "runtime/Display.h"
#include "runtime/Graphics.h"

namespace {

// A full-screen 16-bit display of the benchmark's size, flipping or drawing
// through the off-screen render surface.
bool StartFrameDisplay(const benchmark::State& state, bool backBlitting) {
  tDisplaySettings settings;
  settings.ScreenWidth = static_cast<int32_t>(state.range(0));
  settings.ScreenHeight = static_cast<int32_t>(state.range(1));
  settings.BitsPerPixel = 16;
  settings.BackBlitting = backBlitting;
  return StartDisplay(settings);
}

void FillFrame(benchmark::State& state) {
  if (!StartFrameDisplay(state, true)) {
    state.SkipWithError("the display did not start");
    return;
  }
  uint8_t shade = 0;
  for (auto _ : state) {
    FillGraphic(GetBackground(), sRGB{shade, static_cast<uint8_t>(shade + 1), 7});
    ++shade;
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1) * 2);
  StopDisplay();
}

void FillAndPresentFrame(benchmark::State& state, bool backBlitting) {
  if (!StartFrameDisplay(state, backBlitting)) {
    state.SkipWithError("the display did not start");
    return;
  }
  uint8_t shade = 0;
  for (auto _ : state) {
    BeginScreenUpdate();
    FillGraphic(GetBackground(), sRGB{shade, 0, 255});
    EndScreenUpdate();
    ++shade;
  }
  state.SetItemsProcessed(state.iterations());
  StopDisplay();
}

void FillAndFlipFrame(benchmark::State& state) { FillAndPresentFrame(state, true); }
void FillAndBlitFrame(benchmark::State& state) { FillAndPresentFrame(state, false); }

}  // namespace

BENCHMARK(FillFrame)->Args({640, 480})->Args({800, 600});
BENCHMARK(FillAndFlipFrame)->Args({640, 480})->Args({800, 600});
BENCHMARK(FillAndBlitFrame)->Args({640, 480})->Args({800, 600});

int main(int argc, char** argv) {
  // The benchmark never needs a display.
  setenv("YOB_HEADLESS", "1", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
