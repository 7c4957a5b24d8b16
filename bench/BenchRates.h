#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <map>
#include <string>

// Rates of the measurements of one benchmark program, by name, for the ratios
// it prints at the end. Each rate is taken over the CPU time of the measuring
// thread, as the benchmark's own counters are: on a busy machine wall-clock
// time also counts the time other programs held the core, which would skew a
// ratio towards whichever side ran while the machine was quieter.
namespace bench_rates {

inline std::map<std::string, double>& Rates() {
  static std::map<std::string, double> rates;
  return rates;
}

// Seconds of CPU time this thread has used.
inline double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs the loop, records units per CPU second under the name and sets the
// counter of that unit.
template <typename Body>
void Measure(benchmark::State& state, const std::string& name, const char* unit,
             int64_t unitsPerIteration, Body body) {
  const double start = ThreadCpuSeconds();
  for (auto _ : state) {
    body();
  }
  const double seconds = ThreadCpuSeconds() - start;
  const double units =
      static_cast<double>(unitsPerIteration) * static_cast<double>(state.iterations());
  if (seconds > 0) {
    Rates()[name] = units / seconds;
  }
  state.counters[unit] = benchmark::Counter(units, benchmark::Counter::kIsRate);
}

// The rate recorded under a name; 0 when it was not measured.
inline double Rate(const std::string& name) {
  const auto found = Rates().find(name);
  return found != Rates().end() ? found->second : 0.0;
}

}  // namespace bench_rates
