// Frames of the logic as a game runs them: the plan's repeating items, every
// thing propagating, and the units perceiving what lies within 20 cells and
// evolving every 12th frame, spread by id. The level: a 256 x 256 map with
// 3,000 things that are not units and 300 repeating plan items, and 250,
// 500, 1,000 or 2,000 units, all placed from a fixed seed. The units rest
// (a bench kind that always waits), so the figures show the frame's own
// cost; the time per frame should grow linearly with the units.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>

#include "base/LumoObjects.h"
#include "base/Random.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/triggers/ConditionTrigger.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

namespace {

constexpr int32_t kMapSize = 256;
constexpr int32_t kOtherThings = 3000;
constexpr int32_t kPlanItems = 300;

// A unit that always waits.
class RestingUnit : public YLUnit {
 public:
  int32_t Move() override { return 0; }
  int32_t OnBrainMove(int32_t) override { return 0; }
  void DangerReflexes() override {}
};

// A level of the given number of units, its things and plan set up as a
// running logic holds them.
class Level {
 public:
  explicit Level(int32_t units) {
    SetRandomSeed(20261211);
    logic.Init();
    logic.Map->Init(kMapSize, kMapSize);
    logic.MakeCurrent();
    const int32_t things = units + kOtherThings;
    logic.Things->SetCount(things + 1);
    std::mt19937 random(20261211);
    for (int32_t id = 1; id <= things; ++id) {
      YLThing* thing = id <= units ? static_cast<YLThing*>(new RestingUnit) : new YLThing;
      thing->CreateInfo(0);
      thing->Info->Tid = id;
      thing->Info->X = static_cast<int32_t>(random() % kMapSize);
      thing->Info->Y = static_cast<int32_t>(random() % kMapSize);
      (*logic.Things)[id] = thing;
      logic.Map->PlaceThing(thing);
    }
    logic.ThingCount = things;
    // Repeating every 1 to 60 frames: some stay in the near buckets, the
    // others pass through the long list.
    for (int32_t index = 0; index < kPlanItems; ++index) {
      logic.InsertPlan(new ConditionTrigger(static_cast<uint32_t>(1 + index % 60)), static_cast<uint32_t>(1 + index % 29));
    }
  }
  ~Level() { logic.Reset(); }
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  CLogic logic;
};

void LogicFrame(benchmark::State& state) {
  const auto units = static_cast<int32_t>(state.range(0));
  auto level = std::make_unique<Level>(units);
  // A full round of re-plans first, so every unit has perceived once.
  for (int32_t frame = 0; frame < 12; ++frame) {
    level->logic.Compute();
  }
  for (auto _ : state) {
    level->logic.Compute();
  }
  state.counters["units"] = static_cast<double>(units);
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(LogicFrame)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
