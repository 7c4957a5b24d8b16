// Frames of the logic as a game runs them, on a generated level (see
// LogicBenchLevel.h) holding 250, 500, 1,000 or 2,000 units of every kind,
// with obstacles, buildings, vehicles, the highway's traffic and 300
// repeating plan items. The map grows with the units, so the things near a
// unit stay as many at every size. Four players order a batch of their
// units before every frame, so the units keep walking, fighting, entering,
// chanting and arresting, and the rest of every batch is scattered over the
// streets again.
//
// Every size is timed in the same two windows of the same game, frames
// 241-540 and 1,141-1,440: a benchmark that let the library choose how many
// frames to run would time the small levels over many more frames, later in
// the game, than the large ones. Each window has its counters: the time per
// frame and per unit per frame, in seconds of this thread's processor time,
// so that other programs on a shared machine weigh less on the figures. The time should grow linearly with the
// units, and stay the same from the first window to the second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <memory>

#include "LogicBenchLevel.h"

namespace {

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Window {
  int32_t first;
  int32_t last;
  const char* frameCounter;
  const char* unitCounter;
};

constexpr Window kWindows[] = {
    {241, 540, "frame_241_540", "unit_241_540"},
    {1141, 1440, "frame_1141_1440", "unit_1141_1440"},
};

void LogicFrame(benchmark::State& state) {
  const auto units = static_cast<int32_t>(state.range(0));
  double windowSeconds[2] = {0.0, 0.0};
  int32_t made = 0;
  for (auto _ : state) {
    auto level = std::make_unique<logic_bench::BenchLevel>(units);
    made = level->Units();
    int32_t frame = 1;
    double iterationSeconds = 0.0;
    for (size_t window = 0; window < 2; ++window) {
      for (; frame < kWindows[window].first; ++frame) {
        level->Frame();
      }
      const double start = ThreadSeconds();
      for (; frame <= kWindows[window].last; ++frame) {
        level->Frame();
      }
      const double spent = ThreadSeconds() - start;
      windowSeconds[window] += spent;
      iterationSeconds += spent;
    }
    state.SetIterationTime(iterationSeconds);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["units"] = made;
  for (size_t window = 0; window < 2; ++window) {
    const double frames = kWindows[window].last - kWindows[window].first + 1;
    const double perFrame = windowSeconds[window] / (iterations * frames);
    state.counters[kWindows[window].frameCounter] = perFrame;
    state.counters[kWindows[window].unitCounter] = made > 0 ? perFrame / made : 0.0;
  }
}

// One level per size is enough: each window is 300 frames of the same game.
BENCHMARK(LogicFrame)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
