#pragma once

// A generated level for timing the logic, made through the logic's exports
// as the game program makes one: a 256 x 256 map with a knowledge map of
// 255 sectors, buildings of every kind (pubs and police departments among
// them), obstacles, vehicles, the highway's lanes, four players and units of
// every kind the thing factory makes. Every placement and every order comes
// from the level's own fixed-seed generator, never the logic's, so a level
// of a given size is the same in every run.

#include <cstdint>
#include <random>
#include <vector>

namespace logic_bench {

// The level in the one logic of the library; the constructor starts it,
// the destructor stops it.
class BenchLevel {
 public:
  // Things on the map that are not units and not buildings.
  static constexpr int32_t kObstacles = 1500;
  // Repeating plan items: every 1 to 60 frames.
  static constexpr int32_t kPlanItems = 300;
  static constexpr int32_t kMapSize = 256;

  explicit BenchLevel(int32_t units);
  ~BenchLevel();
  BenchLevel(const BenchLevel&) = delete;
  BenchLevel& operator=(const BenchLevel&) = delete;

  // Before a frame: each player gives one batch of its units a new order,
  // so every unit is ordered about every 30 frames.
  void GiveOrders();
  // GiveOrders, then one frame of the logic.
  void Frame();

  int32_t Units() const { return unitCount; }

 private:
  struct Side {
    int32_t player = 0;
    std::vector<int32_t> units;
    size_t next = 0;  // the first unit of the next batch
  };

  void BuildMap();
  void PlaceBuildings();
  void PlaceObstacles();
  void PlaceVehicles();
  void PlaceUnits(int32_t units);
  void PlanRepeatingItems();
  int32_t Cell() { return static_cast<int32_t>(random() % kMapSize); }
  int32_t Pick(const std::vector<int32_t>& ids) {
    return ids.empty() ? 0 : ids[random() % ids.size()];
  }
  void Select(const Side& side, size_t first, size_t count);
  void OrderGang(size_t index);
  void OrderPolice(const Side& side);

  std::mt19937 random;
  int32_t unitCount = 0;
  std::vector<Side> sides;
  std::vector<int32_t> pubs;
  std::vector<int32_t> shops;
  std::vector<int32_t> enterable;
  std::vector<int32_t> civilians;
};

}  // namespace logic_bench
