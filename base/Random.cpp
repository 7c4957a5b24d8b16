#include "base/Random.h"

#include "runtime/Timer.h"

namespace {

// The state of this build's generator, always below the modulus.
uint32_t RandomState = 0;

// One step; the product stays below 2^32 because the state is below the
// modulus (16777259 x 251 = 4211092009).
uint32_t Step(uint32_t state) { return (state + 1) * kRandomMultiplier % kRandomModulus; }

// A value between from and to inclusive (in either order) for a drawn state:
// from plus (or minus) the state modulo the span. The span is worked out in
// 64 bits, where the widest ranges neither wrap nor give 0.
int64_t Between(uint32_t state, int64_t from, int64_t to) {
  if (to >= from) {
    return from + static_cast<int64_t>(state % static_cast<uint64_t>(to - from + 1));
  }
  return from - static_cast<int64_t>(state % static_cast<uint64_t>(from - to + 1));
}

// The steps of one multi-step draw: each takes the previous step's state,
// and the generator's state is written once, when the draw ends.
class Draws {
 public:
  Draws() : state_(RandomState) {}
  Draws(const Draws&) = delete;
  Draws& operator=(const Draws&) = delete;
  ~Draws() { RandomState = state_; }

  int64_t Between(int64_t from, int64_t to) {
    state_ = Step(state_);
    return ::Between(state_, from, to);
  }

 private:
  uint32_t state_;
};

// The triangular sum over low..high: two draws over the two halves.
int64_t TriangularSum(Draws& draws, int64_t low, int64_t high) {
  const int64_t span = high - low;
  const int64_t half = span / 2;  // truncated toward zero, as signed division
  const int64_t first = draws.Between(0, half);
  return low + first + draws.Between(0, span - half);
}

struct AroundBounds {
  int64_t low;
  int64_t high;
};

// c clamped into a..b; high drawn between c and b, then low between a and c.
AroundBounds DrawAround(Draws& draws, int32_t a, int32_t b, int32_t c) {
  int64_t centre = c;
  if (centre < a) {
    centre = a;
  }
  if (centre > b) {
    centre = b;
  }
  const int64_t high = centre + draws.Between(0, static_cast<int64_t>(b) - centre);
  const int64_t low = a + draws.Between(0, centre - a);
  return {low, high};
}

}  // namespace

void Randomize() { SetRandomSeed(GetSystemUpTime()); }

void SetRandomSeed(uint32_t seed) { RandomState = seed % kRandomModulus; }

uint32_t GetRandomSeed() { return RandomState; }

uint32_t RandomNext() {
  RandomState = Step(RandomState);
  return RandomState;
}

uint32_t Random(uint32_t n) {
  const uint32_t state = RandomNext();
  // n + 1 wraps to 0 for the largest n: every state is in range then.
  return n == UINT32_MAX ? state : state % (n + 1);
}

int32_t RandomSigned(int32_t n) { return static_cast<int32_t>(Between(RandomNext(), 0, n)); }

int32_t RandomRange(int32_t a, int32_t b) { return static_cast<int32_t>(Between(RandomNext(), a, b)); }

int32_t RandomLowBiased(int32_t a, int32_t b) {
  Draws draws;
  const int64_t reach = draws.Between(0, static_cast<int64_t>(b) - a);
  return static_cast<int32_t>(draws.Between(a, a + reach));
}

int32_t RandomUpperBiased(int32_t a, int32_t b) {
  Draws draws;
  const int64_t middle = draws.Between(a, b);
  return static_cast<int32_t>(draws.Between(middle, b));
}

int32_t RandomTriangular(int32_t a, int32_t b) {
  Draws draws;
  return static_cast<int32_t>(TriangularSum(draws, a, b));
}

int32_t RandomAround(int32_t a, int32_t b, int32_t c) {
  Draws draws;
  const AroundBounds bounds = DrawAround(draws, a, b, c);
  return static_cast<int32_t>(draws.Between(bounds.low, bounds.high));
}

int32_t RandomAroundHigh(int32_t a, int32_t b, int32_t c) {
  Draws draws;
  const AroundBounds bounds = DrawAround(draws, a, b, c);
  const int64_t middle = draws.Between(bounds.low, bounds.high);
  return static_cast<int32_t>(draws.Between(middle, bounds.high));
}

int32_t RandomAroundTriangular(int32_t a, int32_t b, int32_t c) {
  Draws draws;
  const AroundBounds bounds = DrawAround(draws, a, b, c);
  return static_cast<int32_t>(TriangularSum(draws, bounds.low, bounds.high));
}

bool RandomChance(int32_t percent) { return static_cast<int32_t>(RandomNext() % 100) < percent; }

double RandomFloat() { return static_cast<double>(RandomNext()) / 16777216.0; }
