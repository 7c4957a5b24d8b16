#pragma once

// A generated level for timing the logic, made through the logic's exports
// as the game program makes one: a map with a knowledge map of 255 sectors,
// buildings of every kind (pubs and police departments among them),
// obstacles, vehicles, the highway's lanes, four players and units of every
// kind the thing factory makes. The map is 256 x 256 cells at 1,000 units and
// grows with the units, as do the buildings and (up to 1,000 units) the
// obstacles, so the units around a unit are as many at every size. Every placement and every order
// comes from the level's own fixed-seed generator, never the logic's, so a
// level of a given size is the same in every run.

#include <cstdint>
#include <random>
#include <vector>

namespace logic_bench {

// The level in the one logic of the library; the constructor starts it,
// the destructor stops it.
class BenchLevel {
 public:
  // Things on the map that are not units and not buildings, per 1,000 units.
  static constexpr int32_t kObstacles = 1500;
  // Repeating plan items: every 1 to 60 frames.
  static constexpr int32_t kPlanItems = 300;
  // The map's side in cells at 1,000 units.
  static constexpr int32_t kMapSize = 256;

  explicit BenchLevel(int32_t units);
  ~BenchLevel();
  BenchLevel(const BenchLevel&) = delete;
  BenchLevel& operator=(const BenchLevel&) = delete;

  // Before a frame: each player gives one batch of its units new orders,
  // so every unit is ordered about every 30 frames. A few of the batch take
  // one of the player's orders together; each of the others walks alone to
  // a cell of its own, so the units spread over the map again instead of
  // gathering where the orders send them.
  void GiveOrders();
  // GiveOrders, then one frame of the logic.
  void Frame();

  int32_t Units() const { return unitCount; }
  int32_t MapSize() const { return mapSize; }

 private:
  struct Side {
    int32_t player = 0;
    std::vector<int32_t> units;
    size_t next = 0;  // the first unit of the next batch
  };

  void BuildMap();
  void PlaceBuildings();
  void LayLanesOnTheMap();
  void PlaceObstacles();
  void PlaceVehicles();
  void PlaceUnits(int32_t units);
  void PlanRepeatingItems();
  int32_t Cell() { return static_cast<int32_t>(random() % static_cast<uint32_t>(mapSize)); }
  int32_t Pick(const std::vector<int32_t>& ids) {
    return ids.empty() ? 0 : ids[random() % ids.size()];
  }
  void Select(const Side& side, size_t first, size_t count);
  void OrderGang(size_t index);
  void OrderPolice(const Side& side);
  void Scatter(const Side& side, size_t first, size_t count);

  std::mt19937 random;
  int32_t unitCount = 0;
  int32_t mapSize = kMapSize;
  // Per 1,000 units, the share of kObstacles and of the buildings placed.
  int32_t perThousand = 1000;
  std::vector<Side> sides;
  std::vector<int32_t> pubs;
  std::vector<int32_t> shops;
  std::vector<int32_t> enterable;
  std::vector<int32_t> civilians;
};

}  // namespace logic_bench
