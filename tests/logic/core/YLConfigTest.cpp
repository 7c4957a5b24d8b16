#include <gtest/gtest.h>

#include "logic/core/YLConfig.h"

namespace {

TEST(YLConfig, GetUnitCostAnswersThePriceOfTheTypeOr100) {
  YLConfig config;
  config.Init("config.txt");
  const struct {
    int32_t type;
    int32_t cost;
  } cases[] = {
      {0, 100},  {1, 200}, {2, 250},   {3, 100},  {4, 5000},  {5, 100},          {6, 100},
      {7, 350},  {8, 100}, {9, 500},   {10, 100}, {11, 500},  {12, 300},         {13, 100},
      {100, 100}, {-1, 100}, {-2147483647 - 1, 100}, {2147483647, 100},
  };
  for (const auto& entry : cases) {
    EXPECT_EQ(config.GetUnitCost(entry.type), entry.cost) << entry.type;
  }
}

TEST(YLConfig, ANewConfigurationHasEmptyTablesAndTheBeerSliderAt500) {
  YLConfig config;
  EXPECT_EQ(config.GetBeerSlider(), 500);
  EXPECT_EQ(config.GetUnitRowCount(), 0);
  EXPECT_EQ(config.GetUnitCost(4), 100);
  EXPECT_EQ(config.GetBuildingMoney(3), 1);
  EXPECT_FLOAT_EQ(config.GetBuildingArmor(3), 0.5f);
}

TEST(YLConfig, InitBuildsThirteenRowsWithTheirFactors) {
  YLConfig config;
  config.Init(nullptr);
  config.Init(nullptr);
  ASSERT_EQ(config.GetUnitRowCount(), 13);
  EXPECT_EQ(config.UnitTable[9].type, 9);
  EXPECT_FLOAT_EQ(config.UnitTable[9].factor, 0.3f);
  EXPECT_FLOAT_EQ(config.UnitTable[6].factor, 0.4f);
  EXPECT_EQ(config.UnitTable[6].value, 0);
}

TEST(YLConfig, BuildingLookupsTakeTheFirstRowOfTheGraphic) {
  YLConfig config;
  config.BuildingTable = {{4, 300, 0.7f}, {4, 999, 0.1f}, {5, 20, 0.2f}};
  EXPECT_EQ(config.GetBuildingMoney(4), 300);
  EXPECT_FLOAT_EQ(config.GetBuildingArmor(4), 0.7f);
  EXPECT_EQ(config.GetBuildingMoney(5), 20);
  EXPECT_EQ(config.GetBuildingMoney(6), 1);
  EXPECT_FLOAT_EQ(config.GetBuildingArmor(6), 0.5f);
}

}  // namespace
