#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "SectorMapFixture.h"
#include "runtime/DebugLog.h"
#include "support/DebugLogReader.h"

namespace navigation_testing {
namespace {

std::vector<int32_t> BorderIndexesOf(const YLSectors& map, const YLSector& sector) {
  std::vector<int32_t> indexes;
  for (int32_t position = 0; position < sector.GetBorderCount(); ++position) {
    indexes.push_back(map.IndexOfBorder(sector.GetBorder(position)));
  }
  return indexes;
}

std::vector<const void*> DataOf(const tDataList* list) {
  std::vector<const void*> values;
  for (const tNode* node = list != nullptr ? list->first : nullptr; node != nullptr;
       node = node->next) {
    values.push_back(reinterpret_cast<const void*>(static_cast<const tDataNode*>(node)->data));
  }
  return values;
}

TEST(SectorBorder, FlagTestsNeedASectorOnBothSides) {
  SectorMapOwner map = MakeTwoSquares();
  YLSector* left = map->GetSector(0);
  YLSector* right = map->GetSector(1);
  const struct {
    YLSector* left;
    YLSector* right;
    uint8_t flags;
    bool foot, vehicles, limitedSelected, limitedUnselected;
  } cases[] = {
      {left, right, 15, true, true, true, true},
      {left, nullptr, 15, false, false, false, false},
      {nullptr, right, 15, false, false, false, false},
      {nullptr, nullptr, 15, false, false, false, false},
      {left, right, 0, false, false, false, false},
      {left, right, BorderVehicles, false, true, false, false},
      {left, right, BorderLimitedSelected, false, false, true, false},
      {left, right, BorderLimitedUnselected | BorderPassable, true, false, false, true},
  };
  for (const auto& entry : cases) {
    YLSectorBorder border;
    border.SetLeft(entry.left);
    border.SetRight(entry.right);
    border.Passable = entry.flags;
    const int flags = entry.flags;
    EXPECT_EQ(border.IsPassable(), entry.foot) << flags;
    EXPECT_EQ(border.IsVehiclePassable(), entry.vehicles) << flags;
    EXPECT_EQ(border.IsLimitedPassable(true), entry.limitedSelected) << flags;
    EXPECT_EQ(border.IsLimitedPassable(false), entry.limitedUnselected) << flags;
  }
}

TEST(SectorBorder, SettersChangeOneBitEach) {
  YLSectorBorder border;
  EXPECT_EQ(border.Passable, 15);
  border.SetPassable(false);
  EXPECT_EQ(border.Passable, 14);
  border.SetVehiclePassable(false);
  border.SetLimitedPassable(true, false);
  EXPECT_EQ(border.Passable, 8);
  border.SetLimitedPassable(false, false);
  border.SetPassable(true);
  EXPECT_EQ(border.Passable, 1);
}

TEST(SectorBorder, GeometryComesFromTheCurrentMapsVertices) {
  SectorMapOwner map = MakeTwoSquares();
  ASSERT_TRUE(map->AppendVertex(new YLVertex(-3, 4)));
  ASSERT_TRUE(map->AppendVertex(new YLVertex(0, 0)));
  const struct {
    int32_t a, b;
    bool found;
    int32_t midX, midY, length;
  } cases[] = {
      {1, 2, true, 10, 5, 10},  {4, 5, true, 20, 5, 10},
      {6, 7, true, -1, 2, 5},  // signed halving truncates towards zero
      {0, 6, true, -1, 2, 5},   {0, 42, false, 0, 0, 0},
      {-1, -1, false, 0, 0, 0},
  };
  for (const auto& entry : cases) {
    YLSectorBorder border;
    border.SetA(entry.a);
    border.SetB(entry.b);
    int32_t x = 99;
    int32_t y = 99;
    EXPECT_EQ(border.GetMidpoint(x, y), entry.found) << entry.a << "-" << entry.b;
    EXPECT_EQ(x, entry.midX) << entry.a << "-" << entry.b;
    EXPECT_EQ(y, entry.midY) << entry.a << "-" << entry.b;
    EXPECT_EQ(border.GetLength(), entry.length) << entry.a << "-" << entry.b;
  }
}

TEST(SectorBorder, IdIsTheIndexInTheCurrentMapAndStaysOnceKnown) {
  SectorMapOwner map = MakeTwoSquares();
  EXPECT_EQ(map->GetBorder(5)->ID, kUnsetBorderID);
  EXPECT_EQ(map->GetBorder(5)->GetID(), 5u);
  YLSectorBorder stranger;
  EXPECT_EQ(stranger.GetID(), kUnsetBorderID);
  EXPECT_TRUE(map->GetBorder(1)->Touches(0));
  EXPECT_TRUE(map->GetBorder(1)->Touches(1));
  EXPECT_FALSE(map->GetBorder(0)->Touches(1));
}

TEST(Sector, LooksUpItsBordersAndNeighbours) {
  SectorMapOwner map = MakeTwoSquares();
  const YLSector& first = *map->GetSector(0);
  const YLSector& second = *map->GetSector(1);
  EXPECT_EQ(BorderIndexesOf(*map, second), (std::vector<int32_t>{4, 5, 6, 1}));
  EXPECT_EQ(second.GetBorder(4), nullptr);
  EXPECT_EQ(second.GetBorder(-1), nullptr);
  EXPECT_EQ(second.IndexOfBorder(map->GetBorder(1)), 3);
  EXPECT_EQ(second.IndexOfBorder(map->GetBorder(0)), -1);
  EXPECT_EQ(second.IndexOfBorderWithVertex(2), 2);
  EXPECT_EQ(second.IndexOfBorderWithVertex(3), -1);
  EXPECT_EQ(first.FindBorderTo(&second), map->GetBorder(1));
  EXPECT_EQ(second.FindBorderTo(&first), map->GetBorder(1));
  EXPECT_EQ(first.FindBorderToID(1), map->GetBorder(1));
  EXPECT_EQ(first.FindBorderToID(0), nullptr);
  int32_t x = 0;
  int32_t y = 0;
  EXPECT_TRUE(second.GetCentre(x, y));
  EXPECT_EQ(x, 15);
  EXPECT_EQ(y, 5);
}

TEST(Sector, CentreOfASectorWithoutBordersIsTheOrigin) {
  SectorMapOwner map = MakeTwoSquares();
  YLSector empty;
  int32_t x = 7;
  int32_t y = 7;
  EXPECT_FALSE(empty.GetCentre(x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(Sector, OwnBordersFillsLeftThenRightAndKeepsFullBorders) {
  SectorMapOwner map = MakeTwoSquares();
  YLSectorBorder open;
  YLSectorBorder half;
  half.SetLeft(map->GetSector(0));
  YLSectorBorder full;
  full.SetLeft(map->GetSector(0));
  full.SetRight(map->GetSector(1));
  YLSector owner;
  for (YLSectorBorder* border : {&open, &half, &full}) {
    ASSERT_TRUE(owner.AddBorder(border));
  }
  ASSERT_EQ(SetDebugMode(DebugModeOverwrite), DebugModeOverwrite);
  owner.OwnBorders();
  SetDebugMode(DebugModeOff);
  EXPECT_EQ(open.Left, &owner);
  EXPECT_EQ(open.Right, nullptr);
  EXPECT_EQ(half.Right, &owner);
  EXPECT_EQ(full.Left, map->GetSector(0));
  EXPECT_EQ(full.Right, map->GetSector(1));
  EXPECT_NE(testing_support::ReadDebugLog().find("YLSector::OwnBorders(): Not ok!"),
            std::string::npos);
}

TEST(Sector, PathsStaySortedWithoutDuplicates) {
  YLSector sector;
  for (int32_t id : {7, -2, 30, 7, 0}) {
    EXPECT_TRUE(sector.AddPath(id));
  }
  EXPECT_TRUE(sector.RemovePath(30));
  EXPECT_FALSE(sector.RemovePath(31));
  tCollection<int32_t> copy;
  ASSERT_EQ(sector.GetPaths(copy), 3);
  EXPECT_EQ((std::vector<int32_t>(copy.items, copy.items + copy.count)),
            (std::vector<int32_t>{-2, 0, 7}));
}

TEST(SectorMap, FindsVerticesBordersAndNeighbours) {
  SectorMapOwner map = MakeTwoSquares();
  EXPECT_EQ(map->FindVertex(20, 10), 5);
  EXPECT_EQ(map->FindVertex(20, 11), -1);
  EXPECT_EQ(map->FindBorderByVertices(2, 1), 1);
  EXPECT_EQ(map->FindBorderByVertices(1, 2), 1);
  EXPECT_EQ(map->FindBorderByVertices(0, 2), -1);
  EXPECT_EQ(map->IndexOfBorder(nullptr), -1);
  EXPECT_EQ(map->GetSector(2), nullptr);
  EXPECT_EQ(map->GetVertex(-1), nullptr);

  tSectorList adjacent = map->GetAdjacentSectors(map->GetSector(0));
  EXPECT_EQ(DataOf(adjacent.get()), (std::vector<const void*>{map->GetSector(1)}));
  tSectorList between = map->FindBordersBetween(map->GetSector(1), map->GetSector(0));
  EXPECT_EQ(DataOf(between.get()), (std::vector<const void*>{map->GetBorder(1)}));
}

TEST(SectorMap, TheLastCreatedMapIsCurrentUntilItIsFreed) {
  SectorMapOwner first(new YLSectors);
  EXPECT_EQ(GetCurrentSectorMap(), first.get());
  SectorMapOwner second(new YLSectors);
  EXPECT_EQ(GetCurrentSectorMap(), second.get());
  first.reset();
  EXPECT_EQ(GetCurrentSectorMap(), second.get());
  second.reset();
  EXPECT_EQ(GetCurrentSectorMap(), nullptr);
}

// Every operation that changes the layout counts as an edit; a flag change,
// a border's ID being learnt and an operation that changes nothing do not.
TEST(SectorMap, LayoutEditsAreCountedAndFlagChangesAreNot) {
  SectorMapOwner map = MakeTwoSquares();
  YLSectorBorder* border = map->GetBorder(1);
  YLSector* sector = map->GetSector(0);
  const struct {
    const char* what;
    std::function<void()> change;
    bool counted;
  } cases[] = {
      {"vertex x", [&] { map->GetVertex(0)->SetX(-5); }, true},
      {"vertex y", [&] { map->GetVertex(0)->SetY(-5); }, true},
      {"vertex x again", [&] { map->GetVertex(0)->SetX(-5); }, false},
      {"border vertex a", [&] { border->SetA(0); }, true},
      {"border vertex b", [&] { border->SetB(3); }, true},
      {"border left", [&] { border->SetLeft(nullptr); }, true},
      {"border right", [&] { border->SetRight(sector); }, true},
      {"sector id", [&] { sector->SetID(9); }, true},
      {"sector gets a border", [&] { EXPECT_TRUE(sector->AddBorder(map->GetBorder(4))); }, true},
      {"sector's border replaced", [&] { sector->ReplaceBorder(map->GetBorder(4), border); }, true},
      // A copy of vertex 5, which the merge then joins with it.
      {"vertex appended", [&] { EXPECT_TRUE(map->AppendVertex(new YLVertex(20, 10))); }, true},
      {"border appended", [&] { EXPECT_TRUE(map->AppendBorder(new YLSectorBorder)); }, true},
      {"sector appended", [&] { EXPECT_TRUE(map->AppendSector(new YLSector)); }, true},
      {"merge", [&] { map->Merge(); }, true},
      {"border closed", [&] { border->SetPassable(false); }, false},
      {"flags written", [&] { border->Passable = 3; }, false},
      {"border id learnt", [&] { map->GetBorder(2)->GetID(); }, false},
      {"sector walkable", [&] { sector->SetWalkable(); }, false},
      {"map saved", [&] { SaveRecord(*map); }, false},
  };
  for (const auto& entry : cases) {
    const uint64_t before = GetSectorLayoutEdits();
    entry.change();
    EXPECT_EQ(GetSectorLayoutEdits() > before, entry.counted) << entry.what;
  }
  const uint64_t beforeLoad = GetSectorLayoutEdits();
  EXPECT_NE(LoadRecord(SaveRecord(*map)), nullptr);
  EXPECT_GT(GetSectorLayoutEdits(), beforeLoad) << "load";
  const uint64_t beforeFree = GetSectorLayoutEdits();
  map.reset();
  EXPECT_GT(GetSectorLayoutEdits(), beforeFree) << "free";
}

}  // namespace
}  // namespace navigation_testing
