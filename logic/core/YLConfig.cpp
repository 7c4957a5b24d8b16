#include "logic/core/YLConfig.h"

#include <cstddef>

namespace {

// Price and factor per unit type, in the order of the unit-type table.
struct UnitCost {
  int32_t price;
  float factor;
};
constexpr UnitCost kUnitCosts[YLConfig::kUnitTypes] = {
    {100, 0.0f},    // 0 not_used
    {200, 0.0f},    // 1 rat
    {250, 0.0f},    // 2 raver
    {100, 0.0f},    // 3 supporter
    {5000, 0.0f},   // 4 suit
    {100, 0.25f},   // 5 police
    {100, 0.4f},    // 6 riot squad
    {350, 0.15f},   // 7 biker
    {100, 0.0f},    // 8 skin
    {500, 0.3f},    // 9 rozav
    {100, 0.15f},   // 10 leader
    {500, 0.0f},    // 11 chick
    {300, 0.0f},    // 12 yobbozer
};

}  // namespace

void YLConfig::Init(const char*) {
  UnitTable.clear();
  for (int32_t type = 0; type < kUnitTypes; ++type) {
    UnitTable.push_back(UnitRow{type, kUnitCosts[type].factor, 0, kUnitCosts[type].price});
  }
}

// A negative type is outside the table just as one past its end.
int32_t YLConfig::GetUnitCost(int32_t type) const {
  if (type < 0 || type >= GetUnitRowCount()) {
    return kDefaultUnitCost;
  }
  return UnitTable[static_cast<std::size_t>(type)].price;
}

const YLConfig::BuildingRow* YLConfig::FindBuilding(int32_t gfx) const {
  for (const BuildingRow& row : BuildingTable) {
    if (row.gfx == gfx) {
      return &row;
    }
  }
  return nullptr;
}

int32_t YLConfig::GetBuildingMoney(int32_t gfx) const {
  const BuildingRow* row = FindBuilding(gfx);
  return row != nullptr ? row->money : kDefaultBuildingMoney;
}

float YLConfig::GetBuildingArmor(int32_t gfx) const {
  const BuildingRow* row = FindBuilding(gfx);
  return row != nullptr ? row->armor : kDefaultBuildingArmor;
}
