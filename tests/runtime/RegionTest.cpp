#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DisplayFixture.h"
#include "runtime/Regions.h"

namespace {

class RegionTest : public DisplayFixture {
 protected:
  void SetUp() override {
    DisplayFixture::SetUp();
    ASSERT_TRUE(CreateRegionList());
  }
  void TearDown() override {
    DeleteRegionList();
    ForgetRegionCursor();
    DisplayFixture::TearDown();
  }

  // The user values from the first region to the last, and back.
  static std::vector<intptr_t> Forwards() {
    std::vector<intptr_t> values;
    for (RegionHandle region = FirstRegion(); region != nullptr; region = NextRegion(region)) {
      values.push_back(reinterpret_cast<intptr_t>(RegionOf(region)->UserValue));
    }
    return values;
  }
  static std::vector<intptr_t> Backwards() {
    std::vector<intptr_t> values;
    for (RegionHandle region = LastRegion(); region != nullptr; region = PreviousRegion(region)) {
      values.push_back(reinterpret_cast<intptr_t>(RegionOf(region)->UserValue));
    }
    return values;
  }
  static void* Value(intptr_t value) { return reinterpret_cast<void*>(value); }
};

TEST_F(RegionTest, RegionsKeepTheirOrder) {
  RegionHandle one = CreateRegion(Value(1), 0, 0, 10, 10);
  RegionHandle two = CreateRegion(Value(2), 0, 0, 10, 10);
  RegionHandle three = CreateRegion(Value(3), 0, 0, 10, 10);
  EXPECT_EQ(Forwards(), (std::vector<intptr_t>{1, 2, 3}));
  EXPECT_EQ(Backwards(), (std::vector<intptr_t>{3, 2, 1}));
  OrderRegion(one);
  EXPECT_EQ(Forwards(), (std::vector<intptr_t>{2, 3, 1}));
  EXPECT_EQ(MoveRegionBefore(two, one), nullptr);
  EXPECT_EQ(Forwards(), (std::vector<intptr_t>{1, 2, 3}));
  MoveRegionAfter(three, two);
  EXPECT_EQ(Forwards(), (std::vector<intptr_t>{1, 3, 2}));
  // A region moved next to itself, to nothing or next to no region stays.
  MoveRegionBefore(two, two);
  MoveRegionBefore(nullptr, two);
  int32_t stranger = 0;
  MoveRegionAfter(&stranger, two);
  MoveRegionBefore(one, nullptr);
  EXPECT_EQ(Forwards(), (std::vector<intptr_t>{1, 3, 2}));
  DestroyRegion(three);
  EXPECT_EQ(Backwards(), (std::vector<intptr_t>{2, 1}));
  EXPECT_EQ(NextRegion(nullptr), nullptr);
  EXPECT_EQ(PreviousRegion(one), nullptr);
}

TEST_F(RegionTest, CompareRegionAnswersOnlyForOverlaps) {
  struct Case {
    const char* name;
    int32_t left, top, width, height;  // b, against a = (10, 10, 10, 10)
    bool overlaps;
  };
  // clang-format off
  const Case cases[] = {
      {"touching on the right", 20, 10, 5, 5, false},
      {"touching on the left", 5, 10, 5, 5, false},
      {"touching below", 10, 20, 5, 5, false},
      {"touching above", 10, 5, 5, 5, false},
      {"touching at a corner", 20, 20, 5, 5, false},
      {"one pixel shared", 19, 19, 5, 5, true},
      {"inside", 12, 12, 2, 2, true},
      {"around", 0, 0, 40, 40, true},
      {"far away", 100, 100, 5, 5, false},
  };
  // clang-format on
  RegionHandle a = CreateRegion(Value(7), 10, 10, 10, 10);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    RegionHandle b = CreateRegion(Value(8), test.left, test.top, test.width, test.height);
    EXPECT_EQ(CompareRegion(a, b), test.overlaps ? Value(7) : nullptr);
    EXPECT_EQ(CompareRegion(b, a), test.overlaps ? Value(8) : nullptr);
    DestroyRegion(b);
  }
  EXPECT_EQ(CompareRegion(a, nullptr), nullptr);
  EXPECT_EQ(CompareRegion(nullptr, a), nullptr);
}

TEST_F(RegionTest, BoundsAndNullRegions) {
  RegionHandle region = CreateRegion(nullptr, 1, 2, 3, 4);
  std::vector<int32_t> bounds(4, -1);
  GetRegionBounds(region, bounds[0], bounds[1], bounds[2], bounds[3]);
  EXPECT_EQ(bounds, (std::vector<int32_t>{1, 2, 3, 4}));
  MoveRegion(region, 5, 6, 7, 8);
  GetRegionBounds(region, bounds[0], bounds[1], bounds[2], bounds[3]);
  EXPECT_EQ(bounds, (std::vector<int32_t>{5, 6, 7, 8}));
  GetRegionBounds(nullptr, bounds[0], bounds[1], bounds[2], bounds[3]);
  EXPECT_EQ(bounds, (std::vector<int32_t>{0, 0, 0, 0}));
  MoveRegion(nullptr, 0, 0, 1, 1);
  DestroyRegion(nullptr);
  DestroyRegion(region);
  DestroyRegion(region);
  EXPECT_TRUE(LogHas("GetRegionBounds() Null pointer to the region specified\n"));
  EXPECT_TRUE(LogHas("MoveRegion() Null pointer to the region specified\n"));
  EXPECT_TRUE(LogHas("DestroyRegion() Null pointer to the region specified\n"));
  EXPECT_TRUE(LogHas("DestroyRegion() Unknown region specified (Region="));
  EXPECT_EQ(RegionCount(), 0);
}

TEST_F(RegionTest, WithoutTheListEveryCallIsLoggedAndDoesNothing) {
  DeleteRegionList();
  EXPECT_EQ(CreateRegion(nullptr, 0, 0, 1, 1), nullptr);
  EXPECT_EQ(FirstRegion(), nullptr);
  EXPECT_EQ(LastRegion(), nullptr);
  int32_t stranger = 0;
  DestroyRegion(&stranger);
  EXPECT_TRUE(LogHas("CreateRegion() No region list\n"));
  EXPECT_TRUE(LogHas("DestroyRegion() No region list\n"));
  EXPECT_TRUE(LogHas("LastRegion() No region list\n"));
}

TEST_F(RegionTest, NewAndMovedRegionsWaitForTheirFirstMouseMove) {
  SetRegionsInitialized(true);
  RegionHandle region = CreateRegion(nullptr, 0, 0, 10, 10);
  EXPECT_FALSE(RegionsInitialized());
  EXPECT_EQ(RegionOf(region)->Initialized, 0);

  // Input has sent the first move with the cursor at (5, 5), inside.
  SetRegionCursor(5, 5);
  RegionOf(region)->Initialized = 1;
  RegionOf(region)->MouseInside = 1;
  SetRegionsInitialized(true);
  MoveRegion(region, 2, 2, 10, 10);  // still holds the cursor
  EXPECT_TRUE(RegionsInitialized());
  EXPECT_EQ(RegionOf(region)->Initialized, 1);
  MoveRegion(region, 50, 50, 10, 10);  // moved away from it
  EXPECT_FALSE(RegionsInitialized());
  EXPECT_EQ(RegionOf(region)->Initialized, 0);

  // Where the cursor cannot be had, a region counts as holding it.
  RegionOf(region)->MouseInside = 0;
  RegionOf(region)->Initialized = 1;
  SetRegionsInitialized(true);
  ForgetRegionCursor();
  MoveRegion(region, 100, 100, 10, 10);
  EXPECT_FALSE(RegionsInitialized());
}

TEST_F(RegionTest, RegionsDestroyedDuringAWalkAreDeletedWhenItEnds) {
  RegionHandle one = CreateRegion(Value(1), 0, 0, 10, 10);
  RegionHandle two = CreateRegion(Value(2), 0, 0, 10, 10);
  RegionHandle three = CreateRegion(Value(3), 0, 0, 10, 10);
  std::vector<intptr_t> visited;
  {
    tRegionWalk walk;
    for (RegionHandle region = LastRegion(); region != nullptr; region = PreviousRegion(region)) {
      visited.push_back(reinterpret_cast<intptr_t>(RegionOf(region)->UserValue));
      if (region == three) {
        // A callback destroys the region being visited and the next one.
        DestroyRegion(three);
        DestroyRegion(two);
        DestroyRegion(two);
      }
    }
    EXPECT_EQ(RegionCount(), 3);
    EXPECT_EQ(Forwards(), (std::vector<intptr_t>{1}));
  }
  EXPECT_EQ(visited, (std::vector<intptr_t>{3, 1}));
  EXPECT_EQ(RegionCount(), 1);
  EXPECT_EQ(FirstRegion(), one);
  EXPECT_TRUE(LogHas("DestroyRegion() Unknown region specified (Region="));
}

}  // namespace
