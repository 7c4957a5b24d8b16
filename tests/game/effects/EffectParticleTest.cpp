#include <gtest/gtest.h>

#include "EffectFixture.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"

namespace effects_testing {
namespace {

// A particle of its own in the layer: sequence row 0, no end tick.
YGEffectParticle* AddParticle(LumoCell& layer, int32_t startTick, double x, double y, double z, double vx,
                              double vy, double vz, double ax, double ay, double az) {
  auto* particle = new YGEffectParticle(0, startTick, -1, x, y, z, vx, vy, vz, ax, ay, az, 0);
  layer.Append(particle);
  return particle;
}

TEST_F(EffectTest, AParticleBouncesOffTheGroundAtHalfSpeed) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  YGEffectParticle* particle = AddParticle(*layer, 0, 0, 0, 1, 0, 0, -3, 0, 0, 0);
  ASSERT_TRUE(particle->Step(0, 0));  // placed, not moved
  EXPECT_EQ(particle->Z, 1.0);
  ASSERT_TRUE(particle->Step(0, 0));
  EXPECT_EQ(particle->Z, 2.0);
  EXPECT_EQ(particle->VZ, 1.5);
}

TEST_F(EffectTest, AParticleRestsUntilItsStartTickThenIsPlacedWithoutMoving) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  YGEffectParticle* particle = AddParticle(*layer, 5, 12.7, 8.9, 3.5, 1.0, 2.0, 0.0, 0, 0, 0);
  particle->SetPosition(-50, -50);
  for (int step = 1; step <= 5; ++step) {
    SCOPED_TRACE(step);
    ASSERT_TRUE(particle->Step(100, 200));
    EXPECT_FALSE(particle->InFlight);
    EXPECT_FALSE(particle->Animating);
    EXPECT_EQ(particle->Left, -50);
    EXPECT_EQ(particle->Top, -50);
    EXPECT_EQ(particle->X, 12.7);
  }
  // The sixth step starts it where it was made: sort keys at the origin plus
  // its offsets (Y at half scale, upwards), drawn Z higher.
  ASSERT_TRUE(particle->Step(100, 200));
  EXPECT_TRUE(particle->InFlight);
  EXPECT_TRUE(particle->Animating);
  EXPECT_EQ(particle->SequenceList, manager->Sequence(0));
  EXPECT_EQ(particle->X, 12.7);
  EXPECT_EQ(particle->SortX, 112);
  EXPECT_EQ(particle->SortY, 196);
  EXPECT_EQ(particle->Left, 112);
  EXPECT_EQ(particle->Top, 193);
  // From the seventh on it moves.
  ASSERT_TRUE(particle->Step(100, 200));
  EXPECT_EQ(particle->X, 13.7);
  EXPECT_EQ(particle->Y, 10.9);
  EXPECT_EQ(particle->Left, 113);
  EXPECT_EQ(particle->Top, 200 - 5 - 3);
  EXPECT_EQ(particle->Tick, 7);
}

TEST_F(EffectTest, AccelerationsAreSharedOutOverThePulse) {
  struct Case {
    int32_t rate;
    double drop;  // of VZ per frame, for AZ = -30
  };
  StartWithLayer();
  for (const Case test : {Case{24, 1.25}, Case{12, 2.5}, Case{30, 1.0}}) {
    SCOPED_TRACE(test.rate);
    manager.reset(new YGEffectManager(layer, test.rate));
    ASSERT_EQ(EffectRate, test.rate);
    YGEffectParticle* particle = AddParticle(*layer, 0, 0, 0, 10000, 0, 0, 0, 0, 0, -30);
    particle->Step(0, 0);
    for (int frame = 1; frame <= 4; ++frame) {
      particle->Step(0, 0);
      EXPECT_EQ(particle->VZ, -test.drop * frame);
    }
    DestroyObject(particle);
    manager.reset();
  }
  // A rate that would divide by zero or turn gravity round keeps 24.
  for (const int32_t refused : {0, -24}) {
    SCOPED_TRACE(refused);
    manager.reset(new YGEffectManager(layer, refused));
    EXPECT_EQ(EffectRate, 24);
    manager.reset();
  }
}

TEST_F(EffectTest, AParticleEndsOnTheLastFrameOfItsSequenceAndStopsAtTheNext) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  // Row 7: seven frames, 1 + 1 + 1 + 1 + 10 + 10 + 10 frames long.
  auto* particle = new YGEffectParticle(7, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  layer->Append(particle);
  particle->Step(0, 0);
  LumoSequenceList* sequence = manager->Sequence(7);
  int frames = 0;
  while (particle->Alive && frames < 100) {
    ASSERT_TRUE(Pulse());
    ++frames;
  }
  EXPECT_EQ(particle->SequenceList, sequence);
  // The last frame comes after 1 + 1 + 1 + 1 + 10 + 10 frames; the pass
  // that selects it ends the particle, which still shows it.
  EXPECT_EQ(frames, 25);
  EXPECT_EQ(particle->SequenceNode, static_cast<LumoNode*>(sequence->last));
  EXPECT_FALSE(particle->InFlight);
  EXPECT_TRUE(particle->Animating);
  ASSERT_TRUE(Pulse());
  EXPECT_FALSE(particle->Animating);
  EXPECT_FALSE(particle->Step(0, 0));
}

TEST_F(EffectTest, AStartedParticleIsDrawnWithItsSharedFrameAtItsPlace) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  // explo10000 is the first graphic made: shade 0.
  const uint32_t firstFrame = ConvertRGB(sRGB{0, 40, 200});
  YGEffectParticle* resting = AddParticle(*layer, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  YGEffectParticle* started = AddParticle(*layer, 0, 6, 8, 20, 0, 0, 0, 0, 0, 0);
  resting->SetPosition(300, 300);
  resting->Step(300, 300);
  started->Step(100, 200);
  ASSERT_TRUE(Pulse());
  // Drawn at (100 + 6, 200 - 4 - 20), 8 x 8.
  EXPECT_EQ(Presented(106, 176), firstFrame);
  EXPECT_EQ(Presented(113, 183), firstFrame);
  EXPECT_NE(Presented(114, 176), firstFrame);
  EXPECT_NE(Presented(105, 176), firstFrame);
  EXPECT_NE(Presented(303, 303), firstFrame);
}

TEST_F(EffectTest, AParticleWithAnEndTickEndsThere) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  auto* particle = new YGEffectParticle(3, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  layer->Append(particle);
  for (int step = 0; step < 4; ++step) {
    ASSERT_TRUE(particle->Step(0, 0));
  }
  EXPECT_FALSE(particle->Step(0, 0));
  EXPECT_FALSE(particle->InFlight);
  EXPECT_FALSE(particle->Animating);
}

TEST_F(EffectTest, AParticleWithNothingToShowEndsInsteadOfLingering) {
  StartWithLayer();
  // No manager: no sequences.
  auto* orphan = new YGEffectParticle(0, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  layer->Append(orphan);
  EXPECT_FALSE(orphan->Step(0, 0));
  EXPECT_FALSE(orphan->InFlight);
  manager.reset(new YGEffectManager(layer, 24));
  auto* outside = new YGEffectParticle(8, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  layer->Append(outside);
  EXPECT_FALSE(outside->Step(0, 0));
}

}  // namespace
}  // namespace effects_testing
