// The player's barricade order through the exports: it names a cell, and
// the rozav works the barricade standing there.

#include <gtest/gtest.h>

#include "ExportLevelFixture.h"
#include "logic/world/YLTBaricade.h"
#include "logic/world/YLUnitSupporter.h"

namespace export_level_testing {
namespace {

class BarricadeOrderTest : public ExportLevelTest {
 protected:
  void SetUp() override {
    ExportLevelTest::SetUp();
    AddPlayers();
    // The first thing made, so its id is 1.
    barricade = MakeAs<YLTBaricade>("Push01-Fence2", 16, 16);
    rozav = MakeAs<YLUnitRozav>("UnitRozav", 16, 24, 1);
    ASSERT_NE(barricade, nullptr);
    ASSERT_NE(rozav, nullptr);
    ASSERT_EQ(barricade->GetTid(), 1);
  }

  void OrderBarricade(int32_t x, int32_t y) {
    SelectOnly(1, rozav->GetTid());
    ASSERT_TRUE(Give(GenerateBaricadeOrder(1, x, y, false, false)));
  }

  YLTBaricade* barricade = nullptr;
  YLUnitRozav* rozav = nullptr;
};

TEST_F(BarricadeOrderTest, ARozavOrderedToABarricadesCellKnocksItDown) {
  OrderBarricade(16, 16);
  Run(400);
  EXPECT_TRUE(barricade->Cleaned);
}

// A pushable crate on the ordered cell (any cell of its footprint) is
// pushed away from the rozav's side.
TEST_F(BarricadeOrderTest, ARozavOrderedToACrateCellPushesTheCrate) {
  YLThing* crate = Make("Move01-Crate", 8, 8);
  ASSERT_NE(crate, nullptr);
  OrderBarricade(7, 7);
  Run(400);
  EXPECT_FALSE(crate->GetX() == 8 && crate->GetY() == 8) << crate->GetX() << "," << crate->GetY();
  EXPECT_FALSE(barricade->Cleaned);
}

// The order's first value is a column, not a thing: a cell with no
// barricade on it gives the rozav nothing to do, even where the column's
// number is some thing's id.
TEST_F(BarricadeOrderTest, AnOrderToACellWithoutABarricadeLeavesEveryBarricadeStanding) {
  OrderBarricade(barricade->GetTid(), 24);
  Run(400);
  EXPECT_FALSE(barricade->Cleaned);
}

// The worked barricade survives a save and load of the running game with
// the rozav's step half done.
TEST_F(BarricadeOrderTest, ABarricadeOrderCarriesOnAfterSaveAndLoad) {
  OrderBarricade(16, 16);
  Run(20);
  ASSERT_TRUE(Load(Saved()));
  Run(400);
  auto* loaded = dynamic_cast<YLTBaricade*>(Logic().GetThing(1));
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(loaded->Cleaned);
}

}  // namespace
}  // namespace export_level_testing
