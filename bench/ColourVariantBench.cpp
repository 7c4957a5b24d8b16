// Making one colour variant of a move through YGResourceMove::GetSequence:
// 8 directions x 10 frames of 48 x 48 pixels at 800 x 600 x 16 on the
// headless back end, recoloured through the frames' colour masks (a figure
// whose shirt, about a third of its pixels, takes the player colour) or,
// without MaskColor, dithered see-through. A variant is made in the middle
// of a frame the first time a player's unit shows that move, so each time
// is reported against the 41.7 ms budget of a frame at 24 frames a second.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoLevel.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"
#include "game/YGColorMask.h"
#include "game/YGDynamicResourceController.h"
#include "game/YGResourceMove.h"
#include "platform/Version.h"
#include "runtime/RTS.h"
#include "runtime/RTSState.h"

LUMO_PROGRAM_VERSION_RECORD(1, 7, 8, 0);

namespace {

constexpr int32_t kDirections = 8;
constexpr int32_t kFrames = 10;
constexpr int32_t kSize = 48;

const tStartRecord kStartRecord = {nullptr, "", 1, "Yobbozers", "Yobbozers - Colour variants", "Bench.ini",
                                   DebugModeOff};

bool StartRunTime() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "yobbozers-colour-variant-bench";
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  setenv("YOB_RUNTIME_DIR", folder.c_str(), 1);
  std::ofstream(kStartRecord.configurationName)
      << "[DirectDraw]\nScreenWidth=800\nScreenHeight=600\nBitsPerPixel=16\n";
  InformRTS(&EngineInformation);
  return InitRTS(&kStartRecord, nullptr) == RTSSuccess;
}

sRGB Colour(uint8_t red, uint8_t green, uint8_t blue) {
  sRGB colour;
  colour.Red = red;
  colour.Green = green;
  colour.Blue = blue;
  return colour;
}

// A figure on the transparent colour: a head, a shirt and legs.
LumoGraphicNode* FigureFrame(LumoGraphicList& graphics, int32_t index) {
  const std::string name = "figure" + std::to_string(index);
  LumoGraphicNode* node = graphics.ProvideGraphicAt(name.c_str(), -kSize / 2, -kSize);
  node->SetData(reinterpret_cast<uintptr_t>(CreateGraphic(kSize, kSize, Colour(255, 0, 255))));
  GraphicHandle graphic = node->Graphic();
  for (int32_t y = 0; y < kSize; ++y) {
    for (int32_t x = 12 + index % 3; x < 36 + index % 3; ++x) {
      const sRGB colour = y < 12 ? Colour(230, 190, 150) : y < 30 ? Colour(240, 240, 240) : Colour(40, 40, 90);
      SetGraphicPixel(graphic, x, y, ConvertRGB(colour));
    }
  }
  return node;
}

// The shirt's pixels of the figure.
YGColorMask* ShirtMask(int32_t index) {
  GraphicHandle mask = CreateGraphic(kSize, kSize, sRGB{});
  for (int32_t y = 12; y < 30; ++y) {
    for (int32_t x = 12 + index % 3; x < 36 + index % 3; ++x) {
      SetGraphicPixel(mask, x, y, ConvertRGB(Colour(255, 255, 255)));
    }
  }
  auto* made = new YGColorMask(mask);
  DestroyGraphic(mask);
  return made;
}

void MakeVariant(benchmark::State& state, bool maskColor) {
  if (!StartRunTime()) {
    state.SkipWithError("the run-time system did not start");
    return;
  }
  auto* engine = new LumoEngine;
  PopulateObject(engine);
  auto* level = new LumoLevel;
  engine->Append(level);
  level->Populate();
  engine->Level = level;
  auto* controller = new YGDynamicResourceController;
  controller->MakeCurrent();
  auto* move = new YGResourceMove(0, kDirections, 8, 0, false);
  move->MaskColor = maskColor;
  for (int32_t direction = 0; direction < kDirections; ++direction) {
    auto* list = new LumoSequenceList;
    for (int32_t frame = 0; frame < kFrames; ++frame) {
      auto* node = static_cast<LumoSequenceNode*>(list->CreateItem());
      node->SetGraphic(FigureFrame(*level->GraphicList, direction * kFrames + frame));
      list->Append(node);
      if (maskColor) {
        move->SetMask(node, ShirtMask(frame));
      }
    }
    move->SetSequence(direction, 0, list);
  }
  int32_t colour = 1;
  for (auto _ : state) {
    for (int32_t direction = 0; direction < kDirections; ++direction) {
      benchmark::DoNotOptimize(move->GetSequence(direction, colour));
    }
    state.PauseTiming();
    controller->Clear();  // the variant goes, so the next round makes it again
    engine->DisposalList->Clear();
    colour = colour % 7 + 1;
    state.ResumeTiming();
  }
  const double variants = static_cast<double>(state.iterations());
  state.counters["pixels_per_second"] =
      benchmark::Counter(variants * kDirections * kFrames * kSize * kSize, benchmark::Counter::kIsRate);
  state.counters["share_of_41.7ms_budget"] =
      benchmark::Counter(variants * 0.0417, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  DestroyObject(controller);
  DestroyObject(move);
  DestroyEngine();
  ShutdownRTS("", RTSSuccess);
}

void MaskedVariant(benchmark::State& state) { MakeVariant(state, true); }
void DitheredVariant(benchmark::State& state) { MakeVariant(state, false); }

}  // namespace

BENCHMARK(MaskedVariant)->Unit(benchmark::kMillisecond);
BENCHMARK(DitheredVariant)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  // The benchmark never needs a display or a sound card.
  setenv("YOB_HEADLESS", "1", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
