// Frames of the logic as a game runs them, on a generated 256 x 256 level
// (see LogicBenchLevel.h) holding 250, 500, 1,000 or 2,000 units of every
// kind, 1,500 obstacles, buildings, vehicles, the highway's traffic and 300
// repeating plan items. Four players order a batch of their units before
// every frame, so the units keep walking, fighting, entering, chanting and
// arresting. One iteration is 60 frames, a whole number of rounds of the
// units' 12-frame perception and the plan's 30 buckets; the counters give
// the time per frame and per unit per frame. The time should grow linearly
// with the units.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "LogicBenchLevel.h"

namespace {

constexpr int32_t kFramesPerIteration = 60;

void LogicFrame(benchmark::State& state) {
  const auto units = static_cast<int32_t>(state.range(0));
  auto level = std::make_unique<logic_bench::BenchLevel>(units);
  // A minute of game first: the units have perceived, been ordered and
  // set off, and the highway has its cars.
  for (int32_t frame = 0; frame < 4 * kFramesPerIteration; ++frame) {
    level->Frame();
  }
  for (auto _ : state) {
    for (int32_t frame = 0; frame < kFramesPerIteration; ++frame) {
      level->Frame();
    }
  }
  const double made = static_cast<double>(level->Units());
  state.counters["units"] = made;
  // Seconds per frame and per unit-frame: the rate of frames, inverted.
  state.counters["frame"] = benchmark::Counter(kFramesPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                                        benchmark::Counter::kInvert);
  state.counters["unit"] = benchmark::Counter(kFramesPerIteration * made,
                                              benchmark::Counter::kIsIterationInvariantRate |
                                                  benchmark::Counter::kInvert);
  state.SetItemsProcessed(state.iterations() * kFramesPerIteration);
}

BENCHMARK(LogicFrame)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
