#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>

#include "EffectFixture.h"
#include "base/Random.h"

namespace effects_testing {
namespace {

// The program's generator worked by hand from its definition (next =
// 251 x (state + 1) mod 16777259; a fraction is the state times 2^-24),
// seeded alike, to compute what a recipe's first particle must hold.
class HandDraws {
 public:
  explicit HandDraws(uint32_t seed) : state_(seed % 16777259u) {}
  uint32_t Next() {
    state_ = static_cast<uint32_t>((static_cast<uint64_t>(state_) + 1) * 251 % 16777259);
    return state_;
  }
  float R() { return static_cast<float>(static_cast<double>(Next()) / 16777216.0); }
  int32_t Upto(int32_t n) { return static_cast<int32_t>(Next() % static_cast<uint32_t>(n + 1)); }
  int32_t Between(int32_t low, int32_t high) { return low + Upto(high - low); }
  // The angle's sine and cosine, in floats.
  void Angle(float& s, float& c) {
    const float theta = R() * static_cast<float>(2.0 * 3.141592653589793);
    s = std::sin(theta);
    c = std::cos(theta);
  }

 private:
  uint32_t state_;
};

// What the first particle of a recipe holds.
struct Expected {
  int32_t sequence;
  int32_t start;
  float x, y, z, vx, vy, vz, ax, ay, az;
  int32_t sortZ;
};

constexpr uint32_t kSeed = 4242;

struct RecipeCase {
  int32_t code;
  const char* name;
  int32_t count;
  int32_t lowestSequence, highestSequence;
  int32_t lastStart;  // every recipe's first particles start at tick 0
  int32_t burstCount;  // particles showing row 7
  std::function<Expected(HandDraws&)> first;
};

TEST_F(EffectTest, EveryRecipeMakesItsParticlesFromTheProgramsGenerator) {
  const RecipeCase cases[] = {
      {1, "tear gas", 288, 3, 6, 23, 0,
       [](HandDraws& r) {
         float s, c;
         r.Angle(s, c);
         Expected e{};
         e.x = 10.0f * r.R() * s;
         e.y = 10.0f * r.R() * c;
         e.vx = 0.6f * r.R() * s - 0.1f;
         e.vy = 0.6f * r.R() * c;
         e.vz = 0.2f * r.R();
         e.ax = -0.1f * e.vx;
         e.ay = -0.1f * e.vy;
         e.sequence = 3 + r.Upto(2);
         return e;
       }},
      {3, "firework", 12, 0, 2, 0, 0,
       [](HandDraws& r) {
         float s, c;
         r.Angle(s, c);
         Expected e{};
         e.x = 10.0f * r.R() * s;
         e.y = 10.0f * r.R() * c;
         e.vx = 0.6f * r.R() * s - 0.1f;
         e.vy = 0.6f * r.R() * c;
         e.vz = 0.5f * r.R();
         e.ax = -0.1f * e.vx;
         e.ay = -0.1f * e.vy;
         e.sequence = r.Upto(2);
         return e;
       }},
      {4, "molotov", 360, 0, 2, 23, 0,
       [](HandDraws& r) {
         float s, c;
         r.Angle(s, c);
         Expected e{};
         e.x = static_cast<float>(r.Upto(20)) * s;
         e.y = static_cast<float>(r.Upto(20)) * c;
         const float lift = r.R();
         e.vz = lift * static_cast<float>(r.Between(1, 3));
         e.sequence = r.Upto(2);
         return e;
       }},
      {5, "grenade", 75, 0, 7, 1, 15,
       [](HandDraws& r) {
         float s, c;
         r.Angle(s, c);
         Expected e{};
         e.x = 4.5f * 0.0f * 4.0f * r.R() * s;
         e.y = 4.5f * 0.0f * 4.0f * r.R() * c;
         e.z = 4.0f * r.R();
         e.vx = e.x * (1.0f / 13.0f);
         e.vy = e.y * (1.0f / 13.0f);
         e.vz = r.R() + 2.0f;
         e.ax = -0.1f * e.vx;
         e.ay = -0.1f * e.vy;
         e.sequence = r.Upto(2);
         return e;
       }},
      {6, "big bomb", 4340, 0, 2, 23, 0,
       [](HandDraws& r) {
         float s, c;
         r.Angle(s, c);
         Expected e{};
         e.x = 10.0f * 0.0f * s;
         e.y = 10.0f * 0.0f * c;
         e.vx = 2.0f * s;
         e.vy = 2.0f * c;
         e.vz = 2.0f * r.R();
         e.sequence = r.Upto(2);
         return e;
       }},
      {8, "cracked safe", 555, 0, 7, 3, 75,
       [](HandDraws& r) {
         // The first spray, at offset -30 and height 95, still at rest.
         float s, c;
         r.Angle(s, c);
         Expected e{};
         const float x0 = 4.5f * 0.0f * 4.0f * r.R() * s;
         const float y0 = 4.5f * 0.0f * 4.0f * r.R() * c;
         e.x = x0 + -30.0f;
         e.y = y0;
         e.z = 4.0f * r.R() + 95.0f;
         e.vx = 0.0f + x0 * (1.0f / 13.0f);
         e.vy = y0 * (1.0f / 13.0f);
         e.vz = r.R() + 2.0f;
         e.ax = -0.1f * e.vx;
         e.ay = -0.1f * e.vy;
         e.sequence = r.Upto(2);
         e.sortZ = 1;
         return e;
       }},
      {9, "gas explosion", 390, 0, 2, 46, 0,
       [](HandDraws& r) {
         float s, c;
         r.Angle(s, c);
         Expected e{};
         e.x = (1.0f + r.R()) * 0.0f * s;
         e.y = (1.0f + r.R()) * 0.0f * c;
         e.vx = 3.0f * s;
         e.vy = 3.0f * c;
         e.vz = 2.0f * r.R();
         e.sequence = r.Upto(2);
         return e;
       }},
  };
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  const auto bits = [](double value) { return std::bit_cast<uint64_t>(value); };
  for (const RecipeCase& test : cases) {
    SCOPED_TRACE(test.name);
    SetRandomSeed(kSeed);
    const int32_t particlesBefore = layer->Count;
    YGEffect* effect = manager->CreateEffect(test.code, 310, 205);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->OriginX, 310);
    EXPECT_EQ(effect->OriginY, 205);
    const std::vector<YGEffectParticle*> particles = ParticlesOf(*effect);
    ASSERT_EQ(static_cast<int32_t>(particles.size()), test.count);
    EXPECT_EQ(layer->Count, particlesBefore + test.count);

    int32_t lowestSequence = 99, highestSequence = -1, lowestStart = 99, highestStart = -1, burst = 0;
    for (const YGEffectParticle* particle : particles) {
      ASSERT_EQ(particle->parent, layer);
      lowestSequence = std::min(lowestSequence, particle->SequenceIndex);
      highestSequence = std::max(highestSequence, particle->SequenceIndex);
      lowestStart = std::min(lowestStart, particle->StartTick);
      highestStart = std::max(highestStart, particle->StartTick);
      burst += particle->SequenceIndex == 7 ? 1 : 0;
      EXPECT_EQ(particle->EndTick, -1);
    }
    EXPECT_EQ(lowestSequence, test.lowestSequence);
    EXPECT_EQ(highestSequence, test.highestSequence);
    EXPECT_EQ(lowestStart, 0);
    EXPECT_EQ(highestStart, test.lastStart);
    EXPECT_EQ(burst, test.burstCount);

    HandDraws draws(kSeed);
    const Expected e = test.first(draws);
    const YGEffectParticle& first = *particles.front();
    EXPECT_EQ(first.SequenceIndex, e.sequence);
    EXPECT_EQ(first.StartTick, 0);
    EXPECT_EQ(bits(first.X), bits(e.x)) << first.X << " against " << e.x;
    EXPECT_EQ(bits(first.Y), bits(e.y)) << first.Y << " against " << e.y;
    EXPECT_EQ(bits(first.Z), bits(e.z)) << first.Z << " against " << e.z;
    EXPECT_EQ(bits(first.VX), bits(e.vx)) << first.VX << " against " << e.vx;
    EXPECT_EQ(bits(first.VY), bits(e.vy)) << first.VY << " against " << e.vy;
    EXPECT_EQ(bits(first.VZ), bits(e.vz)) << first.VZ << " against " << e.vz;
    EXPECT_EQ(bits(first.AX), bits(e.ax)) << first.AX << " against " << e.ax;
    EXPECT_EQ(bits(first.AY), bits(e.ay)) << first.AY << " against " << e.ay;
    EXPECT_EQ(bits(first.AZ), bits(e.az)) << first.AZ << " against " << e.az;
    EXPECT_EQ(first.SortX, static_cast<int32_t>(e.x));
    EXPECT_EQ(first.SortY, static_cast<int32_t>(e.y));
    EXPECT_EQ(first.SortZ, e.sortZ);
    EXPECT_NE(first.Flags & YGEffectParticle::kOwnSortKeysFlag, 0u);
    EXPECT_FALSE(first.InFlight);
    EXPECT_TRUE(first.Alive);
    EXPECT_EQ(first.Tick, 0);
  }
}

TEST_F(EffectTest, EveryParticleOfACrackedSafeSortsAboveTheGround) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  YGEffect* effect = manager->CreateEffect(8, 0, 0);
  ASSERT_NE(effect, nullptr);
  for (const YGEffectParticle* particle : ParticlesOf(*effect)) {
    ASSERT_EQ(particle->SortZ, 1);
  }
  // The four sprays come first, in their order: each opens with a ring at
  // rest at its offset and height.
  const std::vector<YGEffectParticle*> particles = ParticlesOf(*effect);
  const struct {
    double x, zFrom, zTo;
  } sprays[] = {{-30, 95, 99.1}, {15, 95, 99.1}, {-113, 80, 84.1}, {100, 80, 84.1}};
  for (int spray = 0; spray < 4; ++spray) {
    SCOPED_TRACE(spray);
    const YGEffectParticle& opening = *particles[spray * 75];
    EXPECT_EQ(opening.X, sprays[spray].x);
    EXPECT_GE(opening.Z, sprays[spray].zFrom);
    EXPECT_LE(opening.Z, sprays[spray].zTo);
    EXPECT_EQ(particles[spray * 75 + 60]->SequenceIndex, 7);
  }
}

TEST_F(EffectTest, UnknownCodesMakeNothing) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  for (const int32_t code : {0, 2, 7, 10, -1, 11}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(manager->CreateEffect(code, 100, 100), nullptr);
    EXPECT_EQ(manager->count, 0);
    EXPECT_EQ(layer->Count, 0);
  }
}

TEST_F(EffectTest, TearGasReleasesAWaveAFrameForTwentyFourFrames) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  YGEffect* effect = manager->CreateEffect(1, 400, 300);
  ASSERT_NE(effect, nullptr);
  const std::vector<YGEffectParticle*> particles = ParticlesOf(*effect);
  for (const YGEffectParticle* particle : particles) {
    if (particle->StartTick <= 12) {
      ASSERT_GE(particle->SequenceIndex, 3);
      ASSERT_LE(particle->SequenceIndex, 5);
    }
  }
  const auto inFlight = [&] {
    return std::count_if(particles.begin(), particles.end(), [](const YGEffectParticle* p) { return p->InFlight; });
  };
  for (int frame = 1; frame <= 24; ++frame) {
    SCOPED_TRACE(frame);
    ASSERT_TRUE(effect->Step());
    // A puff lasts 130 frames: none has ended yet.
    EXPECT_EQ(inFlight(), 12 * frame);
    ASSERT_TRUE(Pulse());
  }
  // The last wave started on the 24th frame, 23 frames after the first.
  for (const YGEffectParticle* particle : particles) {
    if (particle->StartTick == 23) {
      ASSERT_TRUE(particle->InFlight);
      ASSERT_EQ(particle->Tick, 24);
    }
  }
}

}  // namespace
}  // namespace effects_testing
