// The logic map's proximity search as the logic runs it: every unit asks what
// surrounds it within 20 cells (1,000 units among 4,000 things on a 256 x 256
// map). The map finds the start of the X range by binary search; the second
// case walks the sorted list from its head to the same range, as a search
// without that lookup would, for comparison.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "base/LumoObjects.h"
#include "logic/core/CLogic.h"
#include "logic/core/CMap.h"
#include "logic/world/YLThing.h"
#include "logic/world/YLUnit.h"

namespace {

constexpr int32_t kMapSize = 256;
constexpr int32_t kThings = 4000;
constexpr int32_t kUnits = 1000;
constexpr int32_t kRadius = 20;

class BenchUnit : public YLUnit {
 public:
  int32_t Move() override { return 0; }
  int32_t OnBrainMove(int32_t) override { return 0; }
};

struct Scene {
  Scene() {
    logic.Things.reset(new LumoObjects(true));
    logic.Map.reset(new CMap);
    logic.Map->Init(kMapSize, kMapSize);
    YLThing::SetLogicContext(logic.Map.get(), &logic);
    logic.Things->SetCount(kThings + 1);
    std::mt19937 random(20261210);
    for (int32_t id = 1; id <= kThings; ++id) {
      YLThing* thing = id <= kUnits ? static_cast<YLThing*>(new BenchUnit) : new YLThing;
      thing->CreateInfo(0);
      thing->Info->Tid = id;
      thing->Info->X = static_cast<int32_t>(random() % kMapSize);
      thing->Info->Y = static_cast<int32_t>(random() % kMapSize);
      (*logic.Things)[id] = thing;
      logic.Map->PlaceThing(thing);
      if (id <= kUnits) {
        units.push_back(thing);
      }
    }
  }
  ~Scene() {
    logic.Things.reset();
    logic.Map.reset();
    YLThing::SetLogicContext(nullptr, nullptr);
  }

  CLogic logic;
  std::vector<YLThing*> units;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void CollectObstaclesOfEveryUnit(benchmark::State& state) {
  Scene& scene = TheScene();
  tCollection<int32_t> list;
  int64_t found = 0;
  for (auto _ : state) {
    for (YLThing* unit : scene.units) {
      scene.logic.Map->CollectObstacles(unit, kRadius, list);
      found += list.count;
    }
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * kUnits);
}
BENCHMARK(CollectObstaclesOfEveryUnit)->Unit(benchmark::kMicrosecond);

// The same box collected by walking the list from its head.
void WalkFromTheListHead(benchmark::State& state) {
  Scene& scene = TheScene();
  const CMapSector& sector = *scene.logic.Map->GetSector(0);
  tCollection<int32_t> list;
  int64_t found = 0;
  for (auto _ : state) {
    for (YLThing* unit : scene.units) {
      list.Clear();
      const int32_t x = unit->Info->X;
      const int32_t y = unit->Info->Y;
      for (const CMapSector::Entry& entry : sector.GetThings()) {
        if (entry.x > x + kRadius) {
          break;
        }
        if (entry.x >= x - kRadius && entry.thing != unit && entry.y >= y - kRadius && entry.y <= y + kRadius &&
            (entry.thing->Info->Status & StatusAlive) != 0) {
          list.AppendInt(entry.tid);
        }
      }
      found += list.count;
    }
  }
  benchmark::DoNotOptimize(found);
  state.SetItemsProcessed(state.iterations() * kUnits);
}
BENCHMARK(WalkFromTheListHead)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
