// Leaving a level: the one pass that switches from a level of N sprites
// (close mode 0, so the level and everything in it is destroyed) to an
// empty one, on the headless back end at 800 x 600 x 16. Each sprite has an
// input region, a referenced frame graphic and a reference to the level's
// sound list, so the pass destroys N regions and ends 2N references. The
// time should grow no faster than N log N: compare the three sizes, and the
// fitted complexity that Google Benchmark prints.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSprite.h"
#include "platform/Version.h"
#include "runtime/RTS.h"
#include "runtime/RTSState.h"

LUMO_PROGRAM_VERSION_RECORD(1, 7, 8, 0);

namespace {

// A level of one full-screen cell with `count` sprites spread over it,
// each with one frame of a shared named graphic and input on.
class CrowdedLevel : public LumoLevel {
 public:
  explicit CrowdedLevel(int32_t count) : count_(count) {}

  void DoPopulate() override {
    LumoLevel::DoPopulate();
    LumoGraphicNode* node = GraphicList->GetGeneratedGraphic(16, 16, sRGB{0, 200, 255}, true);
    auto* cell = new LumoCell;
    Append(cell);
    cell->SetViewport(0, 0, Engine->ScreenWidth, Engine->ScreenHeight);
    for (int32_t index = 0; index < count_; ++index) {
      auto* sprite = new LumoSprite;
      cell->Append(sprite);
      sprite->SetPosition((index * 97) % 800, (index * 61) % 600);
      LumoSequenceList* sequence = sprite->AppendSequence(Engine->FramesPerPulse, -1);
      auto* frame = static_cast<LumoSequenceNode*>(sequence->CreateItem());
      frame->SetGraphic(node);
      sequence->Append(frame);
      sprite->ResetSequence(false);
      sprite->SetInput(true);
    }
    cell->StartAnimation();
    SetCloseMode(LumoEngine::CloseDestroy);
  }

 private:
  int32_t count_;
};

const tStartRecord kStartRecord = {nullptr, "", 1, "Yobbozers", "Yobbozers - Level leave", "Bench.ini", DebugModeOff};

bool StartRunTime() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "yobbozers-level-leave-bench";
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  setenv("YOB_RUNTIME_DIR", folder.c_str(), 1);
  std::ofstream(kStartRecord.configurationName)
      << "[DirectDraw]\nScreenWidth=800\nScreenHeight=600\nBitsPerPixel=16\nVideoDrawing=False\n";
  InformRTS(&EngineInformation);
  return InitRTS(&kStartRecord, nullptr) == RTSSuccess;
}

// An empty level that is destroyed when left.
LumoLevel* AppendEmptyLevel(LumoEngine& engine) {
  auto* level = new LumoLevel;
  engine.Append(level);
  level->SetCloseMode(LumoEngine::CloseDestroy);
  return level;
}

void LeaveLevel(benchmark::State& state) {
  if (!StartRunTime()) {
    state.SkipWithError("the run-time system did not start");
    return;
  }
  auto* engine = new LumoEngine;
  PopulateObject(engine);
  engine->RequestLevel(AppendEmptyLevel(*engine));
  engine->StartAnimation();
  EnginePulse();
  const auto sprites = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto* crowded = new CrowdedLevel(sprites);
    engine->Append(crowded);
    engine->RequestLevel(crowded);
    EnginePulse();  // the switch in, and one frame drawn
    engine->RequestLevel(AppendEmptyLevel(*engine));
    state.ResumeTiming();
    EnginePulse();  // the switch out: the crowded level is destroyed
  }
  state.SetComplexityN(state.range(0));
  state.counters["seconds_per_sprite"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(sprites),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  DestroyEngine();
  ShutdownRTS("", RTSSuccess);
}

}  // namespace

BENCHMARK(LeaveLevel)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(16000)
    ->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

int main(int argc, char** argv) {
  // The benchmark never needs a display or a sound card.
  setenv("YOB_HEADLESS", "1", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
