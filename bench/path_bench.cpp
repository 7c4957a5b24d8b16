// Routes per second on a generated map of 255 sectors. The figure that counts
// is the searched rate: every query searched, the cache emptied first. The
// cached case only times the lookup of a route the cache holds.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "navigation/YLPathFinder.h"
#include "tests/navigation/PathMapDrawing.h"

namespace {

constexpr int32_t kBlocks = 48;
constexpr int32_t kCellSize = 4;

struct Query {
  int32_t x1, y1, x2, y2;
};

const path_testing::DrawnMap& Map() {
  static const path_testing::DrawnMap map =
      path_testing::GenerateMap(20261210, 255, kBlocks, kBlocks, kCellSize);
  return map;
}

std::vector<Query> Queries(int32_t count) {
  std::mt19937 random(7);
  const uint32_t extent = kBlocks * kCellSize;
  std::vector<Query> queries;
  for (int32_t index = 0; index < count; ++index) {
    queries.push_back(
        {static_cast<int32_t>(random() % extent), static_cast<int32_t>(random() % extent),
         static_cast<int32_t>(random() % extent), static_cast<int32_t>(random() % extent)});
  }
  return queries;
}

void RunQueries(benchmark::State& state, const std::vector<Query>& queries, bool cold,
                YLPathPlanNode* (YLPathFinder::*find)(int32_t, int32_t, int32_t, int32_t)) {
  YLPathFinder finder;
  finder.Attach(Map().knowledge.get());
  size_t next = 0;
  for (auto _ : state) {
    if (cold) {
      finder.Reset();
    }
    const Query& query = queries[next];
    next = (next + 1) % queries.size();
    benchmark::DoNotOptimize((finder.*find)(query.x1, query.y1, query.x2, query.y2));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_FindPathCold(benchmark::State& state) {
  RunQueries(state, Queries(1000), true, &YLPathFinder::FindPath);
}

// Ten queries cycling through the ten cache slots: after the first round
// every query is answered from the cache, so this times a lookup, not a
// search.
void BM_CachedRouteLookup(benchmark::State& state) {
  RunQueries(state, Queries(10), false, &YLPathFinder::FindPath);
}

void BM_FindVehiclePath(benchmark::State& state) {
  RunQueries(state, Queries(1000), false, &YLPathFinder::FindVehiclePath);
}

void BM_FindPathLimitedCold(benchmark::State& state) {
  YLPathFinder finder;
  finder.Attach(Map().knowledge.get());
  const std::vector<Query> queries = Queries(1000);
  size_t next = 0;
  for (auto _ : state) {
    finder.Reset();
    const Query& query = queries[next];
    next = (next + 1) % queries.size();
    benchmark::DoNotOptimize(
        finder.FindPathLimited(query.x1, query.y1, query.x2, query.y2, 40, true));
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_FindPathCold);
BENCHMARK(BM_CachedRouteLookup);
BENCHMARK(BM_FindVehiclePath);
BENCHMARK(BM_FindPathLimitedCold);

}  // namespace

BENCHMARK_MAIN();
