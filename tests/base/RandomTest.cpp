#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <set>

#include "base/Random.h"

namespace {

// The state after n steps from a seed, stepped by hand.
uint32_t Advanced(uint32_t state, int steps) {
  for (int step = 0; step < steps; ++step) {
    state = static_cast<uint32_t>((static_cast<uint64_t>(state) + 1) * 251 % 16777259);
  }
  return state;
}

class RandomTest : public ::testing::Test {
 protected:
  void SetUp() override { SetRandomSeed(0); }
};

TEST_F(RandomTest, SequenceFromZeroIsTheGeneratorsOwn) {
  EXPECT_EQ(RandomNext(), 251u);
  EXPECT_EQ(RandomNext(), 63252u);
  EXPECT_EQ(RandomNext(), 15876503u);
  EXPECT_EQ(GetRandomSeed(), 15876503u);
}

TEST_F(RandomTest, SeedIsTakenModuloThePrime) {
  const struct {
    uint32_t seed;
    uint32_t state;
  } cases[] = {{16777259, 0}, {16777258, 16777258}, {16777260, 1}, {UINT32_MAX, UINT32_MAX % 16777259}};
  for (const auto& test : cases) {
    SetRandomSeed(test.seed);
    EXPECT_EQ(GetRandomSeed(), test.state) << test.seed;
  }
}

TEST_F(RandomTest, BoundlessDrawsStillAdvanceTheState) {
  EXPECT_EQ(Random(0), 0u);
  EXPECT_EQ(GetRandomSeed(), 251u);
  EXPECT_EQ(RandomSigned(0), 0);
  EXPECT_EQ(GetRandomSeed(), 63252u);
  // n + 1 wraps to 0 for the largest n: the state itself is the answer.
  EXPECT_EQ(Random(UINT32_MAX), 15876503u);
}

// Every ranged draw lies between its bounds in either order, and small
// ranges reach both ends.
TEST_F(RandomTest, RangedDrawsAreInclusiveInBothOrders) {
  const struct {
    int32_t a;
    int32_t b;
  } cases[] = {{2, 5}, {5, 2}, {-3, -3}, {-7, 0}, {0, -7}, {INT32_MAX - 2, INT32_MAX}, {INT32_MIN + 2, INT32_MIN}};
  for (const auto& test : cases) {
    SCOPED_TRACE(testing::Message() << test.a << ".." << test.b);
    const int32_t low = test.a < test.b ? test.a : test.b;
    const int32_t high = test.a < test.b ? test.b : test.a;
    std::set<int32_t> seen;
    for (int draw = 0; draw < 500; ++draw) {
      const int32_t value = RandomRange(test.a, test.b);
      ASSERT_GE(value, low);
      ASSERT_LE(value, high);
      seen.insert(value);
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(high - low + 1));
  }
}

TEST_F(RandomTest, WidestRangesNeitherWrapNorDivideByZero) {
  // The state after one step from 0 is 251, and a span of 2^32 keeps it whole.
  EXPECT_EQ(RandomRange(INT32_MIN, INT32_MAX), INT32_MIN + 251);
  SetRandomSeed(0);
  EXPECT_EQ(RandomRange(INT32_MAX, INT32_MIN), INT32_MAX - 251);
  SetRandomSeed(0);
  EXPECT_EQ(RandomSigned(INT32_MIN), -251);
  SetRandomSeed(0);
  EXPECT_EQ(RandomSigned(INT32_MAX), 251);
  const std::function<int32_t()> wideDraws[] = {
      [] { return RandomLowBiased(INT32_MIN, INT32_MAX); },
      [] { return RandomUpperBiased(INT32_MAX, INT32_MIN); },
      [] { return RandomTriangular(INT32_MIN, INT32_MAX); },
      [] { return RandomAround(INT32_MIN, INT32_MAX, 0); },
      [] { return RandomAroundHigh(INT32_MIN, INT32_MAX, INT32_MAX); },
      [] { return RandomAroundTriangular(INT32_MIN, INT32_MAX, INT32_MIN); },
  };
  for (const auto& draw : wideDraws) {
    for (int repeat = 0; repeat < 100; ++repeat) {
      draw();  // in range by type; the sanitizer build catches overflow
    }
  }
}

struct MultiStepCase {
  const char* name;
  int steps;
  int32_t low;
  int32_t high;
  std::function<int32_t()> draw;
};

TEST_F(RandomTest, MultiStepDrawsTakeTheirStepsAndStayInRange) {
  const MultiStepCase cases[] = {
      {"low biased", 2, 10, 20, [] { return RandomLowBiased(10, 20); }},
      {"upper biased", 2, 10, 20, [] { return RandomUpperBiased(10, 20); }},
      {"triangular", 2, -5, 8, [] { return RandomTriangular(-5, 8); }},
      {"around", 3, 0, 100, [] { return RandomAround(0, 100, 30); }},
      {"around a clamped centre", 3, 0, 100, [] { return RandomAround(0, 100, 500); }},
      {"around high", 4, 0, 100, [] { return RandomAroundHigh(0, 100, 30); }},
      {"around triangular", 4, 0, 100, [] { return RandomAroundTriangular(0, 100, 70); }},
      {"range", 1, 2, 5, [] { return RandomRange(5, 2); }},
  };
  for (const MultiStepCase& test : cases) {
    SCOPED_TRACE(test.name);
    SetRandomSeed(12345);
    int32_t lowest = INT32_MAX;
    int32_t highest = INT32_MIN;
    for (int draw = 0; draw < 2000; ++draw) {
      const uint32_t before = GetRandomSeed();
      const int32_t value = test.draw();
      ASSERT_EQ(GetRandomSeed(), Advanced(before, test.steps));
      lowest = value < lowest ? value : lowest;
      highest = value > highest ? value : highest;
    }
    EXPECT_GE(lowest, test.low);
    EXPECT_LE(highest, test.high);
  }
}

TEST_F(RandomTest, LowBiasedFavoursTheLowEnd) {
  SetRandomSeed(777);
  int lowHalf = 0;
  for (int draw = 0; draw < 4000; ++draw) {
    lowHalf += RandomLowBiased(0, 99) < 50 ? 1 : 0;
  }
  EXPECT_GT(lowHalf, 2800);  // about three quarters
}

TEST_F(RandomTest, ChanceOfZeroNeverHitsAndOfHundredAlwaysDoes) {
  for (int draw = 0; draw < 1000; ++draw) {
    ASSERT_FALSE(RandomChance(0));
    ASSERT_TRUE(RandomChance(100));
  }
}

TEST_F(RandomTest, FloatDrawIsTheStateOver2To24AndCanExceedOne) {
  EXPECT_EQ(RandomFloat(), 251.0 / 16777216.0);
  SetRandomSeed(8488891);  // its next state is 16777258, the largest
  const double largest = RandomFloat();
  EXPECT_EQ(largest, 16777258.0 / 16777216.0);
  EXPECT_GT(largest, 1.0);
}

TEST_F(RandomTest, RandomizeSeedsFromTheUpTime) {
  Randomize();
  EXPECT_LT(GetRandomSeed(), 16777259u);
}

}  // namespace
