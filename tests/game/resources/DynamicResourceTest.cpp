#include "ResourceFixture.h"
#include "framework/LumoGauge.h"
#include "game/YGCachedSequence.h"
#include "game/YGResourceMove.h"

namespace resource_testing {
namespace {

class DynamicResourceTest : public ResourceTest {
 protected:
  // A move whose colour-0 rows are stored; variants are made on demand.
  YGResourceMove* MoveWithRows(int32_t rows) {
    auto* move = Keep(new YGResourceMove(6, rows, 4, 0, false));
    LumoGraphicNode* graphic = AddGraphic("row", 2, 2, Rgb(7, 7, 7));
    for (int32_t row = 0; row < rows; ++row) {
      EXPECT_TRUE(move->SetSequence(row, 0, MakeList({{graphic}})));
    }
    return move;
  }
  YGCachedSequence* Variant(YGResourceMove* move, int32_t row) {
    return controller->FindCachedSequence(move->GetSequence(row, 1));
  }
  std::vector<YGCachedSequence*> Order() const {
    std::vector<YGCachedSequence*> order;
    for (LumoNode* item = controller->first; item != nullptr; item = item->next) {
      order.push_back(dynamic_cast<YGCachedSequence*>(item));
    }
    return order;
  }
};

// A referenced node goes to the end of the list; one that loses its last
// user goes before the first unused node; the first reference of all makes
// its node the first unused one.
TEST_F(DynamicResourceTest, ReferencesOrderTheControllersNodes) {
  YGResourceMove* move = MoveWithRows(3);
  YGCachedSequence* first = Variant(move, 0);
  EXPECT_EQ(controller->FirstUnused, first);
  YGCachedSequence* second = Variant(move, 1);
  YGCachedSequence* third = Variant(move, 2);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(Order(), (std::vector<YGCachedSequence*>{first, second, third}));
  first->Reference();  // the first unused moves on past it
  EXPECT_EQ(Order(), (std::vector<YGCachedSequence*>{second, third, first}));
  EXPECT_EQ(controller->FirstUnused, second);
  third->Dereference();
  EXPECT_EQ(third->Count, YGCachedSequence::kUnused);
  EXPECT_EQ(Order(), (std::vector<YGCachedSequence*>{third, second, first}));
  // Unused nodes are all kept.
  EXPECT_EQ(controller->Count, 3);
}

TEST_F(DynamicResourceTest, ClearingTheControllerZeroesItsByteCounts) {
  YGResourceMove* move = MoveWithRows(2);
  ASSERT_NE(Variant(move, 0), nullptr);
  EXPECT_GT(controller->SequenceBytes, 0);
  EXPECT_GT(controller->GraphicBytes, 0);
  controller->Clear();
  EXPECT_EQ(controller->SequenceBytes, 0);
  EXPECT_EQ(controller->GraphicBytes, 0);
  EXPECT_EQ(controller->FirstUnused, nullptr);
  EXPECT_EQ(move->GetStoredSequence(0, 1), nullptr);
}

// A loaded move adds its Bytes to the level's loader gauge, when there is
// one.
TEST_F(DynamicResourceTest, LoadedMoveAdvancesTheLoaderGauge) {
  YGResourceMove* move = MoveWithRows(1);
  const std::string record = RecordOf(*move);
  Keep(LoadRecord(record));  // no gauge: nothing to advance

  auto* gauge = new LumoGauge;
  gauge->SetMaximum(10000);
  gauge->SetProgress(100);
  level->LoaderGauge = gauge;
  Keep(LoadRecord(record));
  EXPECT_EQ(gauge->Progress, 100 + move->Bytes);
  level->LoaderGauge = nullptr;
  DestroyObject(gauge);
}

}  // namespace
}  // namespace resource_testing
