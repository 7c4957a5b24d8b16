// One whole engine pass (EnginePulse: the background fill, the level's
// passes, HandleMessages, presenting) at 800 x 600 x 16 on the headless back
// end. The level holds N animators, each rendering a 32 x 32 graphic node
// into the screen viewport at a fixed position spread over the screen, a few
// of them across its edges. Keyed blits, and blended nodes on both lock
// paths (the render buffer locked directly, or a scratch copy of the block).
// RealSprites runs the same spread with real sprites in one full-screen
// cell: each keyed frame is drawn through the cell's viewport, its input
// region moved to the top, and its frame stepped; reported against the
// 41.7 ms budget of a frame at 24 frames a second.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/LumoCell.h"
#include "framework/LumoEngine.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "framework/LumoSprite.h"
#include "platform/Version.h"
#include "runtime/RTS.h"
#include "runtime/RTSState.h"

LUMO_PROGRAM_VERSION_RECORD(1, 7, 8, 0);

namespace {

enum class NodeKind { Keyed, BlendedLocked, BlendedScratch, Sprites };

// Stands in for a sprite: one node drawn at a fixed place every frame.
class Stand : public LumoAnimator {
 public:
  Stand(LumoGraphicNode* node, int32_t x, int32_t y) : node_(node), x_(x), y_(y) {}
  void DoAnimateFrame() override { node_->RenderTo(Engine->ScreenViewport, x_, y_); }

 private:
  LumoGraphicNode* node_;
  int32_t x_;
  int32_t y_;
};

class BenchLevel : public LumoLevel {
 public:
  BenchLevel(int32_t count, NodeKind kind) : count_(count), kind_(kind) {}

  void DoPopulate() override {
    LumoLevel::DoPopulate();
    SetBackgroundColour(sRGB{40, 80, 120});
    LumoGraphicNode* node = GraphicList->GetGeneratedGraphic(32, 32, sRGB{0, 200, 255}, true);
    for (int32_t y = 8; y < 24; ++y) {
      node->SetPixel(y, y, ConvertRGB(sRGB{255, 0, 255}));
    }
    if (kind_ == NodeKind::Keyed) {
      node->SetTransparent();
    } else {
      node->SetAlphaFactor(160);
    }
    LumoCell* cell = nullptr;
    if (kind_ == NodeKind::Sprites) {
      cell = new LumoCell;
      Append(cell);
      cell->SetViewport(0, 0, Engine->ScreenWidth, Engine->ScreenHeight);
    }
    for (int32_t index = 0; index < count_; ++index) {
      // A spread that leaves some nodes across the right and bottom edges.
      const int32_t x = (index * 97) % 820 - 10;
      const int32_t y = (index * 61) % 620 - 10;
      if (cell == nullptr) {
        Append(new Stand(node, x, y));
        continue;
      }
      auto* sprite = new LumoSprite;
      cell->Append(sprite);
      sprite->SetPosition(x, y);
      LumoSequenceList* sequence = sprite->AppendSequence(Engine->FramesPerPulse, -1);
      auto* frame = static_cast<LumoSequenceNode*>(sequence->CreateItem());
      frame->SetGraphic(node);
      sequence->Append(frame);
      sprite->ResetSequence(false);
      sprite->SetInput(true);
    }
    if (cell != nullptr) {
      cell->StartAnimation();
    }
  }

 private:
  int32_t count_;
  NodeKind kind_;
};

const tStartRecord kStartRecord = {nullptr, "", 1, "Yobbozers", "Yobbozers - Engine pass", "Bench.ini", DebugModeOff};

bool StartRunTime(bool videoDrawing) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "yobbozers-engine-pass-bench";
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  setenv("YOB_RUNTIME_DIR", folder.c_str(), 1);
  std::ofstream(kStartRecord.configurationName)
      << "[DirectDraw]\nScreenWidth=800\nScreenHeight=600\nBitsPerPixel=16\nVideoDrawing="
      << (videoDrawing ? "True" : "False") << "\nDirectBlending=False\n";
  InformRTS(&EngineInformation);
  return InitRTS(&kStartRecord, nullptr) == RTSSuccess;
}

void EnginePass(benchmark::State& state, NodeKind kind) {
  if (!StartRunTime(kind == NodeKind::BlendedLocked)) {
    state.SkipWithError("the run-time system did not start");
    return;
  }
  auto* engine = new LumoEngine;
  PopulateObject(engine);
  auto* level = new BenchLevel(static_cast<int32_t>(state.range(0)), kind);
  engine->Append(level);
  engine->RequestLevel(level);
  engine->StartAnimation();
  EnginePulse();  // the switch and the first frame
  for (auto _ : state) {
    EnginePulse();
  }
  const double frames = static_cast<double>(state.iterations());
  state.counters["frames_per_second"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
  state.counters["seconds_per_node"] =
      benchmark::Counter(frames * static_cast<double>(state.range(0)), benchmark::Counter::kIsRate |
                                                                           benchmark::Counter::kInvert);
  state.counters["scratch_graphics"] = level->GraphicList->ScratchCount();
  state.counters["share_of_41.7ms_budget"] =
      benchmark::Counter(frames * 0.0417, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  DestroyEngine();
  ShutdownRTS("", RTSSuccess);
}

void KeyedNodes(benchmark::State& state) { EnginePass(state, NodeKind::Keyed); }
void BlendedNodesLocked(benchmark::State& state) { EnginePass(state, NodeKind::BlendedLocked); }
void BlendedNodesScratch(benchmark::State& state) { EnginePass(state, NodeKind::BlendedScratch); }
void RealSprites(benchmark::State& state) { EnginePass(state, NodeKind::Sprites); }

}  // namespace

BENCHMARK(KeyedNodes)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BlendedNodesLocked)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BlendedNodesScratch)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(RealSprites)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // The benchmark never needs a display or a sound card.
  setenv("YOB_HEADLESS", "1", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
