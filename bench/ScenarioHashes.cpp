// Writes the shared scenario's state and event hashes after every frame, one
// "frame state events" line each. Usage: scenario_hashes [frames], 400 by
// default. A change that is meant only to speed the logic up must leave
// every line as it was.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "tests/logic/scenario/Scenario.h"

int main(int argc, char** argv) {
  int32_t frames = 400;
  if (argc > 1) {
    const long value = std::strtol(argv[1], nullptr, 10);
    frames = value > 0 && value <= 100000 ? static_cast<int32_t>(value) : frames;
  }
  try {
    const scenario::RunResult run = scenario::RunScenario(frames);
    for (size_t frame = 0; frame < run.frames.size(); ++frame) {
      std::printf("%zu %016" PRIx64 " %016" PRIx64 "\n", frame, run.frames[frame].state, run.frames[frame].events);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "scenario_hashes: %s\n", error.what());
    return 1;
  }
  return 0;
}
