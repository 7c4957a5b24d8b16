#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "MediaFixture.h"
#include "game/YG2DSoundController.h"
#include "game/YG2DSoundNode.h"

namespace {

using framework_testing::MediaTest;

// A sprite that wants to know which positional sound ended, and can be made
// to fail while it hears it.
class StopListener : public LumoSprite, public YG2DSoundReceiver {
 public:
  const char* GetClassName() const override { return "StopListener"; }
  void OnStopSound(YG2DSoundNode* node) override {
    stopped.push_back(node);
    if (fail) {
      throw std::runtime_error("listener failed");
    }
  }
  using LumoSprite::OnStopSound;

  std::vector<YG2DSoundNode*> stopped;
  bool fail = false;
};

// A node whose device check fails.
class BrokenCheckNode : public YG2DSoundNode {
 public:
  bool IsMediaPlaying() override { throw std::runtime_error("device check failed"); }
};

using ControllerOwner = std::unique_ptr<YG2DSoundController, tObjectDestroyer>;

// A running level and a positional sound controller of the test's own with
// two sounds: "hum" (2 s) and "blip" (50 ms), both at 1000.
class PositionalSoundTest : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    WriteSound("hum.wav", 2000, 1000);
    WriteSound("blip.wav", 50, 1000);
    controller.reset(new YG2DSoundController);
  }
  void TearDown() override {
    controller.reset();
    MediaTest::TearDown();
  }

  YG2DSoundNode* Node(const char* name) { return dynamic_cast<YG2DSoundNode*>(controller->GetLoaded(name)); }

  ControllerOwner controller;
};

TEST_F(PositionalSoundTest, TheFactoryMakesUnplacedPositionalNodes) {
  std::unique_ptr<LumoNode, tObjectDestroyer> item(controller->CreateItem());
  auto* node = dynamic_cast<YG2DSoundNode*>(item.get());
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->PositionX, 0);
  EXPECT_EQ(node->PositionY, 0);
  EXPECT_EQ(node->CopyCount, 0u);
  EXPECT_EQ(node->Source, nullptr);
  EXPECT_FALSE(node->Duplicate);
}

// Volume (-100 silent to 0) and pan (-100 left to 100 right) of a sound
// placed relative to the listener.
TEST_F(PositionalSoundTest, VolumeAndPanFollowTheDistanceFromTheListener) {
  struct Case {
    const char* name;
    int32_t dx, dy;
    float factor;
    double scale;  // the level's effects scale
    int32_t volume;
    int32_t pan;  // unchanged (from the case before) when silent
  };
  const Case cases[] = {
      {"at the listener: gain clamped, full scale", 0, 0, 1.0f, 1.0, 0, 0},
      {"600 right, still clamped", 600, 0, 1.0f, 1.0, 0, 15},
      {"clamped gain at half scale", 600, 0, 1.0f, 0.5, -50, 15},
      {"673 at half scale: barely below 1", 673, 0, 1.0f, 0.5, -50, 16},
      {"800 right: the level falls", 800, 0, 1.0f, 1.0, -11, 17},
      {"1000 right", 1000, 0, 1.0f, 1.0, -30, 17},
      {"1000 left pans left", -1000, 0, 1.0f, 1.0, -30, -17},
      {"500 down counts as 1000", 0, 500, 1.0f, 1.0, -30, 0},
      {"500 up counts as 1000", 0, -500, 1.0f, 1.0, -30, 0},
      {"500 right is clamped", 500, 0, 1.0f, 1.0, 0, 12},
      {"factor 0.5 halves the gain", 1000, 0, 0.5f, 1.0, -65, 8},
      {"both axes", 400, 300, 1.0f, 1.0, -4, 9},
      {"1803 is just heard", 1803, 0, 1.0f, 1.0, -99, 0},
      {"1804 is silent", 1804, 0, 1.0f, 1.0, -100, 0},
      {"far off is silent", 5000, 0, 1.0f, 1.0, -100, 0},
  };
  controller->SetListener(1000, 1000);
  YG2DSoundNode* node = Node("hum");
  ASSERT_NE(node, nullptr);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    controller->SetEffectsScale(test.scale);
    ASSERT_TRUE(node->PlayAt(1000 + test.dx, 1000 + test.dy, test.factor, nullptr));
    EXPECT_EQ(node->Volume(), test.volume);
    EXPECT_EQ(node->Pan(), test.pan);
  }
}

TEST_F(PositionalSoundTest, TheEffectsScaleStaysWithinTheDevicesRange) {
  const struct {
    double given;
    double kept;
  } cases[] = {{0.25, 0.25}, {1.0, 1.0}, {2.0, 1.0}, {-1.0, 0.0}, {std::nan(""), 0.0}};
  YG2DSoundNode* node = Node("hum");
  for (const auto& test : cases) {
    SCOPED_TRACE(test.given);
    controller->SetEffectsScale(test.given);
    EXPECT_EQ(controller->EffectsScale, test.kept);
    ASSERT_TRUE(node->PlayAt(0, 0, 1.0f, nullptr));
    EXPECT_EQ(node->Volume(), static_cast<int32_t>((1.0 - test.kept) * -100.0));
  }
}

TEST_F(PositionalSoundTest, ANodeOutsideAControllerIsHeardFromItsOwnPlace) {
  auto* loose = new YG2DSoundNode;
  level->SoundList->Append(loose);
  loose->SetName("hum");
  ASSERT_NE(loose->Load(), 0u);
  ASSERT_TRUE(loose->PlayAt(5000, 5000, 0.5f, nullptr));
  // Gain 1.7 x 0.5, centred.
  EXPECT_EQ(loose->Volume(), -15);
  EXPECT_EQ(loose->Pan(), 0);
}

TEST_F(PositionalSoundTest, MovingTheSoundOrItsFactorSetsItsMixAgain) {
  YG2DSoundNode* node = Node("hum");
  ASSERT_TRUE(node->PlayAt(1000, 0, 1.0f, nullptr));
  EXPECT_EQ(node->Volume(), -30);
  node->SetPosition2D(-800, 0);
  EXPECT_EQ(node->Volume(), -11);
  EXPECT_EQ(node->Pan(), -17);
  node->SetFactor(0.5f);
  EXPECT_EQ(node->Volume(), -55);
  EXPECT_EQ(node->Pan(), -8);
  // Update hears it from its own place: centred, gain 0.85 at factor 0.5.
  node->Update();
  EXPECT_EQ(node->Volume(), -15);
  EXPECT_EQ(node->Pan(), 0);
}

TEST_F(PositionalSoundTest, SetListenerMixesOnlyThePlayingSoundsAgain) {
  YG2DSoundNode* playing = Node("hum");
  YG2DSoundNode* stopped = Node("blip");
  ASSERT_TRUE(playing->PlayAt(1000, 0, 1.0f, nullptr));
  ASSERT_TRUE(stopped->PlayAt(1000, 0, 1.0f, nullptr));
  ASSERT_TRUE(stopped->Stop());
  ASSERT_EQ(playing->Volume(), -30);
  ASSERT_EQ(stopped->Volume(), -30);

  controller->SetListener(200, 0);
  EXPECT_EQ(controller->ListenerX, 200);
  EXPECT_EQ(playing->Volume(), -11);
  EXPECT_EQ(playing->Pan(), 17);
  EXPECT_EQ(stopped->Volume(), -30);
  EXPECT_EQ(stopped->Pan(), 17);
}

TEST_F(PositionalSoundTest, ACopyPlaysBesideItsSourceAndGoesAtTheFrameStepAfterItEnds) {
  YG2DSoundNode* source = Node("blip");
  // A positive count plays a sound once; the copy still takes it over.
  source->SetRepeats(2);
  ASSERT_TRUE(source->PlayAt(0, 0, 1.0f, nullptr));
  Hear(30);
  ASSERT_TRUE(source->IsPlaying());

  YG2DSoundNode* copy = controller->DuplicateSound(source);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Source, source);
  EXPECT_TRUE(copy->Duplicate);
  EXPECT_EQ(copy->Repeats, 2);
  EXPECT_EQ(source->CopyCount, 1u);
  EXPECT_EQ(controller->Count, 2);
  ASSERT_TRUE(copy->PlayAt(300, 0, 1.0f, nullptr));
  EXPECT_TRUE(source->IsPlaying());
  EXPECT_TRUE(copy->IsPlaying());

  // The source (50 ms) ends first; the copy plays on, so the step keeps it,
  // and the source is no duplicate to be disposed of.
  Hear(30);
  controller->Step();
  EXPECT_FALSE(source->Started);
  EXPECT_TRUE(copy->IsPlaying());
  EXPECT_EQ(controller->Count, 2);
  EXPECT_EQ(source->CopyCount, 1u);

  Hear(30);
  ASSERT_FALSE(copy->IsPlaying());
  // Ended but not yet stepped: still counted.
  EXPECT_EQ(source->CopyCount, 1u);
  controller->Step();
  EXPECT_EQ(controller->Count, 1);
  EXPECT_EQ(source->CopyCount, 0u);
  EXPECT_EQ(controller->first, source);
}

TEST_F(PositionalSoundTest, ACopyWhoseSourceWasFreedEndsWithoutTouchingIt) {
  YG2DSoundNode* source = Node("blip");
  ASSERT_TRUE(source->PlayAt(0, 0, 1.0f, nullptr));
  YG2DSoundNode* copy = controller->DuplicateSound(source);
  ASSERT_NE(copy, nullptr);
  ASSERT_TRUE(copy->PlayAt(0, 0, 1.0f, nullptr));

  DestroyObject(source);
  EXPECT_EQ(copy->Source, nullptr);
  // Ending and disposing of the copy touches nothing of the freed source
  // (the sanitizer build would report it).
  Hear(100);
  controller->Step();
  EXPECT_EQ(controller->Count, 0);
  ASSERT_TRUE(Pulse());
}

TEST_F(PositionalSoundTest, AnEndedSoundTellsAPositionalReceiverWhichNodeItWas) {
  auto holder = std::unique_ptr<LumoList, tObjectDestroyer>(new LumoList);
  auto* receiver = new StopListener;
  holder->Append(receiver);
  YG2DSoundNode* node = Node("blip");
  ASSERT_TRUE(node->PlayAt(0, 0, 1.0f, receiver));
  Hear(100);
  controller->CheckAll();
  ASSERT_EQ(receiver->stopped.size(), 1u);
  EXPECT_EQ(receiver->stopped[0], node);

  // A started node that has no device handle counts as ended.
  YG2DSoundNode* hum = Node("hum");
  ASSERT_TRUE(hum->PlayAt(0, 0, 1.0f, receiver));
  hum->Unload();
  hum->SetReceiver(receiver);
  hum->Started = true;
  controller->CheckAll();
  EXPECT_FALSE(hum->Started);
  ASSERT_EQ(receiver->stopped.size(), 2u);
  EXPECT_EQ(receiver->stopped[1], hum);
}

TEST_F(PositionalSoundTest, FaultsInTheCheckAndTheStopHookAreLoggedAndGoNoFurther) {
  auto holder = std::unique_ptr<LumoList, tObjectDestroyer>(new LumoList);
  auto* receiver = new StopListener;
  receiver->fail = true;
  holder->Append(receiver);
  YG2DSoundNode* node = Node("hum");
  ASSERT_TRUE(node->PlayAt(0, 0, 1.0f, receiver));
  EXPECT_NO_THROW(node->Stop());
  EXPECT_EQ(receiver->stopped.size(), 1u);
  EXPECT_TRUE(LogHas("(INT) Ignored exception in YG2DSoundNode::OnStop()\n"));

  auto* broken = new BrokenCheckNode;
  controller->Append(broken);
  broken->SetName("hum");
  ASSERT_NE(broken->Load(), 0u);
  broken->Started = true;
  EXPECT_NO_THROW(broken->Check());
  EXPECT_TRUE(LogHas("Ignored exception in YG2DSoundNode::DoCheck()\n"));
  EXPECT_FALSE(LogHas("LumoMediaNode::Check() Unhandled exception"));
}

}  // namespace
