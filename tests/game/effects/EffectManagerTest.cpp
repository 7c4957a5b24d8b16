#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EffectFixture.h"
#include "base/Random.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoSequenceList.h"
#include "framework/LumoSequenceNode.h"

namespace effects_testing {
namespace {

struct Row {
  std::vector<std::string> names;
  std::vector<uint32_t> durations;
};

// The frames of a row: its graphics' names and durations, in order.
Row RowOf(const LumoSequenceList& sequence) {
  Row row;
  for (const LumoNode* node = sequence.first; node != nullptr; node = node->next) {
    const auto* frame = dynamic_cast<const LumoSequenceNode*>(node);
    row.names.push_back(frame != nullptr && frame->Graphic() != nullptr && frame->Graphic()->Name != nullptr
                            ? frame->Graphic()->Name
                            : "(none)");
    row.durations.push_back(frame != nullptr ? frame->Duration : 0);
  }
  return row;
}

std::vector<std::string> Names(const char* prefix, std::initializer_list<int> frames) {
  std::vector<std::string> names;
  for (const int frame : frames) {
    names.push_back(prefix + std::string(frame < 10 ? "0" : "") + std::to_string(frame));
  }
  return names;
}

TEST_F(EffectTest, TheEightSharedSequencesShowTheEffectGraphicsInTheirOrderAndTimes) {
  StartWithLayer();
  const int32_t graphicsBefore = level->GraphicList->Count;
  manager.reset(new YGEffectManager(layer, 24));
  EXPECT_EQ(EffectManager, manager.get());

  const std::vector<uint32_t> explosion = {3, 3, 3, 3, 1, 1, 1, 1, 1, 1};
  const std::vector<uint32_t> gas(13, 10);
  const std::initializer_list<int> tenFrames = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::initializer_list<int> gasFrames = {0, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 6};
  const Row expected[] = {
      {Names("explo100", tenFrames), explosion},
      {Names("explo200", tenFrames), explosion},
      {Names("explo300", tenFrames), explosion},
      {Names("teargas100", gasFrames), gas},
      {Names("teargas200", gasFrames), gas},
      {Names("teargas300", gasFrames), gas},
      {Names("teargas400", gasFrames), gas},
      {Names("explo400", {0, 1, 2, 3, 4, 5, 6}), {1, 1, 1, 1, 10, 10, 10}},
  };
  for (int index = 0; index < YGEffectManager::kSequenceCount; ++index) {
    SCOPED_TRACE(index);
    const LumoSequenceList* sequence = manager->Sequence(index);
    ASSERT_NE(sequence, nullptr);
    const Row row = RowOf(*sequence);
    EXPECT_EQ(row.names, expected[index].names);
    EXPECT_EQ(row.durations, expected[index].durations);
    EXPECT_EQ(sequence->FramesPerPulse, 24u);
    EXPECT_EQ(sequence->Repeats, -1);
    for (const LumoNode* node = sequence->first; node != nullptr; node = node->next) {
      const auto* frame = static_cast<const LumoSequenceNode*>(node);
      EXPECT_EQ(frame->Graphic()->SourceKey.Mode, KeyColor);
      EXPECT_EQ(frame->Left, 0);
      EXPECT_EQ(frame->Top, 0);
    }
  }
  EXPECT_EQ(manager->Sequence(-1), nullptr);
  EXPECT_EQ(manager->Sequence(8), nullptr);
  // The graphics were the level's own, found by name; none was added, and
  // the list takes no stored graphic nodes afterwards.
  EXPECT_EQ(level->GraphicList->Count, graphicsBefore);
  EXPECT_EQ(level->GraphicList->Flags & LumoGraphicList::kAllowStoredFlag, 0u);
}

TEST_F(EffectTest, ASecondManagerStaysIdleWhileTheFirstLives) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  ManagerOwner second(new YGEffectManager(layer, 12));
  EXPECT_EQ(EffectManager, manager.get());
  EXPECT_EQ(EffectRate, 24);
  EXPECT_EQ(second->Sequence(0), nullptr);
  EXPECT_EQ(second->CreateEffect(3, 0, 0), nullptr);
  EXPECT_EQ(layer->Count, 0);
  second.reset();
  EXPECT_EQ(EffectManager, manager.get());
  EXPECT_NE(manager->CreateEffect(3, 0, 0), nullptr);
  manager.reset();
  EXPECT_EQ(EffectManager, nullptr);
}

// A manager that notes, when an effect ends, what the effect and the layer
// still hold.
class WatchingManager : public YGEffectManager {
 public:
  WatchingManager(LumoCell* layer, int32_t rate) : YGEffectManager(layer, rate), layer(layer) {}
  void OnEffectEnd(YGEffect* effect) override {
    ended.push_back(effect);
    entriesAtEnd.push_back(effect->count);
    layerAtEnd.push_back(layer->Count);
  }
  LumoCell* layer;
  std::vector<YGEffect*> ended;
  std::vector<int32_t> entriesAtEnd;
  std::vector<int32_t> layerAtEnd;
};

TEST_F(EffectTest, AnEffectWhoseParticlesAllEndedGoesAtTheNextStepAndItsParticlesAfterTheFrame) {
  StartWithLayer();
  auto* watching = new WatchingManager(layer, 24);
  manager.reset(watching);
  YGEffect* effect = manager->CreateEffect(3, 400, 300);
  ASSERT_NE(effect, nullptr);
  const std::vector<YGEffectParticle*> particles = ParticlesOf(*effect);
  const auto allEnded = [&] {
    for (const YGEffectParticle* particle : particles) {
      if (particle->Alive) {
        return false;
      }
    }
    return true;
  };
  int frames = 0;
  while (!allEnded() && frames < 100) {
    Frame();
    ++frames;
  }
  ASSERT_TRUE(allEnded());
  // A firework's rows reach their last frames after 3 + 3 + 3 + 3 + 5 x 1
  // frames; the pass that selects it ends the particle.
  EXPECT_EQ(frames, 18);
  EXPECT_EQ(manager->count, 1);
  EXPECT_TRUE(watching->ended.empty());

  const int32_t disposedBefore = Engine->DisposalList->Count;
  manager->Step();
  EXPECT_EQ(manager->count, 0);
  ASSERT_EQ(watching->ended.size(), 1u);
  EXPECT_EQ(watching->ended[0], effect);
  // OnEffectEnd ran before the clean-up: the particles were all still there.
  EXPECT_EQ(watching->entriesAtEnd[0], 12);
  EXPECT_EQ(watching->layerAtEnd[0], 12);
  // Then they left the layer and wait for the end of the frame.
  EXPECT_EQ(layer->Count, 0);
  EXPECT_EQ(Engine->DisposalList->Count, disposedBefore + 12);
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Engine->DisposalList->Count, 0);
}

TEST_F(EffectTest, StepGoesOnPastAnEffectItEnds) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  YGEffect* first = manager->CreateEffect(3, 0, 0);
  YGEffect* second = manager->CreateEffect(3, 100, 0);
  for (YGEffectParticle* particle : ParticlesOf(*first)) {
    particle->Alive = false;
    particle->StartTick = -1;
  }
  EXPECT_TRUE(manager->Step());
  EXPECT_EQ(manager->count, 1);
  // The second effect was stepped in the same pass.
  EXPECT_EQ(ParticlesOf(*second).front()->Tick, 1);
  EXPECT_EQ(layer->Count, 12);
}

TEST_F(EffectTest, SixHundredFramesOfFireBombsLeaveTheGraphicsAsTheyWere) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  const int32_t graphicsBefore = level->GraphicList->Count;
  std::vector<Row> rowsBefore;
  for (int index = 0; index < YGEffectManager::kSequenceCount; ++index) {
    rowsBefore.push_back(RowOf(*manager->Sequence(index)));
  }
  SetRandomSeed(7);
  int32_t made = 0;
  for (int frame = 0; frame < 600; ++frame) {
    if (frame % 10 == 0) {
      ASSERT_NE(manager->CreateEffect(4, 200 + frame % 400, 300), nullptr);
      ++made;
    }
    Frame();
  }
  EXPECT_EQ(made, 60);
  int extra = 0;
  while (manager->count > 0 && extra < 200) {
    Frame();
    ++extra;
  }
  EXPECT_EQ(manager->count, 0);
  EXPECT_EQ(layer->Count, 0);
  EXPECT_EQ(Engine->DisposalList->Count, 0);
  EXPECT_EQ(level->GraphicList->Count, graphicsBefore);
  for (int index = 0; index < YGEffectManager::kSequenceCount; ++index) {
    SCOPED_TRACE(index);
    const Row row = RowOf(*manager->Sequence(index));
    EXPECT_EQ(row.names, rowsBefore[index].names);
    EXPECT_EQ(row.durations, rowsBefore[index].durations);
    for (const LumoNode* node = manager->Sequence(index)->first; node != nullptr; node = node->next) {
      const LumoGraphicNode* graphic = static_cast<const LumoSequenceNode*>(node)->Graphic();
      ASSERT_NE(graphic, nullptr);
      EXPECT_NE(graphic->Data, 0u);
    }
  }
}

// Particles play no sound: thousands of them must not join the referrers
// of the level's sound list, which every disposal would then search.
TEST_F(EffectTest, ParticlesKeepNoHoldOnTheLevelsSoundList) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  const auto referrers = [&] {
    return level->SoundList->references ? level->SoundList->references->count : 0;
  };
  const int32_t before = referrers();
  ASSERT_NE(manager->CreateEffect(6, 400, 300), nullptr);
  EXPECT_EQ(referrers(), before);
}

TEST_F(EffectTest, DestroyingTheManagerWithRunningEffectsLeavesNoParticle) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  ASSERT_NE(manager->CreateEffect(6, 400, 300), nullptr);
  ASSERT_NE(manager->CreateEffect(1, 200, 300), nullptr);
  for (int frame = 0; frame < 5; ++frame) {
    Frame();
  }
  ASSERT_EQ(layer->Count, 4340 + 288);
  manager.reset();
  EXPECT_EQ(EffectManager, nullptr);
  EXPECT_EQ(layer->Count, 0);
  // The disposed particles go at the end of the frame; the sanitizer build
  // reports any that is left or touched after its shared sequence went.
  ASSERT_TRUE(Pulse());
  EXPECT_EQ(Engine->DisposalList->Count, 0);
}

// A manager that writes the effects it ends into a list outside itself.
class EndCountingManager : public YGEffectManager {
 public:
  EndCountingManager(LumoCell* layer, std::vector<int32_t>& ended) : YGEffectManager(layer, 24), ended(ended) {}
  void OnEffectEnd(YGEffect* effect) override { ended.push_back(effect->count); }
  std::vector<int32_t>& ended;
};

TEST_F(EffectTest, EffectsStillRunningWhenTheManagerGoesEndAsAStepEndsThem) {
  StartWithLayer();
  std::vector<int32_t> ended;
  manager.reset(new EndCountingManager(layer, ended));
  ASSERT_NE(manager->CreateEffect(3, 100, 100), nullptr);
  ASSERT_NE(manager->CreateEffect(5, 300, 100), nullptr);
  Frame();
  manager.reset();
  // Each was told before its particles went, so the game's thing layer can
  // take them out of its draw order first.
  EXPECT_EQ(ended, (std::vector<int32_t>{12, 75}));
  EXPECT_EQ(layer->Count, 0);
}

TEST_F(EffectTest, ALayerFreedBeforeTheManagerLeavesItNothingToTouch) {
  StartWithLayer();
  manager.reset(new YGEffectManager(layer, 24));
  YGEffect* effect = manager->CreateEffect(5, 400, 300);
  ASSERT_NE(effect, nullptr);
  Frame();
  DestroyObject(layer);
  layer = nullptr;
  // The particles went with their cell; the effect's entries forgot them.
  for (const YGEffectParticle* particle : ParticlesOf(*effect)) {
    EXPECT_EQ(particle, nullptr);
  }
  EXPECT_TRUE(manager->Step());
  EXPECT_EQ(manager->count, 0);
  manager.reset();
}

}  // namespace
}  // namespace effects_testing
