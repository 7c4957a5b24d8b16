#pragma once

#include <cstdint>
#include <vector>

// Unit prices and the building table of the game's balance. Built from
// constants: the file name handed to Init is not read.
class YLConfig {
 public:
  // One row per unit type (0-12); of its values only the price is read.
  struct UnitRow {
    int32_t type = 0;
    float factor = 0.0f;
    int32_t value = 0;
    int32_t price = 0;
  };
  // Money and armour of buildings of one graphic.
  struct BuildingRow {
    int32_t gfx = 0;
    int32_t money = 0;
    float armor = 0.0f;
  };

  static constexpr int32_t kUnitTypes = 13;
  static constexpr int32_t kDefaultUnitCost = 100;
  static constexpr int32_t kDefaultBuildingMoney = 1;
  static constexpr float kDefaultBuildingArmor = 0.5f;
  static constexpr int32_t kDefaultBeerSlider = 500;

  // Empty tables, beer slider 500.
  YLConfig() = default;
  virtual ~YLConfig() = default;

  // Builds the unit table; the name is ignored.
  void Init(const char* name);

  // The price of a unit type; 100 for a type outside the table.
  int32_t GetUnitCost(int32_t type) const;
  // The money (armour) of the first building row of that graphic; 1 (0.5)
  // when there is none.
  int32_t GetBuildingMoney(int32_t gfx) const;
  float GetBuildingArmor(int32_t gfx) const;
  int32_t GetBeerSlider() const { return BeerSlider; }
  int32_t GetUnitRowCount() const { return static_cast<int32_t>(UnitTable.size()); }

  std::vector<UnitRow> UnitTable;
  std::vector<BuildingRow> BuildingTable;  // nothing fills it
  int32_t BeerSlider = kDefaultBeerSlider;

 private:
  const BuildingRow* FindBuilding(int32_t gfx) const;
};
