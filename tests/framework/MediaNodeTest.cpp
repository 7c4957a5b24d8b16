#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "MediaFixture.h"
#include "runtime/Sounds.h"

namespace framework_testing {
namespace {

using Hooks = std::vector<std::string>;

// A node of the level's sound list on a sound of a second at 1000, and a
// listening sprite that is an item of a list (so it is told).
class SoundNodeTest : public ListeningSpriteTest {
 protected:
  void SetUp() override {
    ListeningSpriteTest::SetUp();
    WriteSound("tone.wav", 1000, 1000);
    WriteSound("blip.wav", 100, 1000);
  }
};

TEST_F(SoundNodeTest, MediaProtocolAnswersAndTellsTheReceiver) {
  struct Case {
    const char* name;
    std::function<void(LumoSoundNode&)> before;  // brings the node into its state
    std::function<bool(LumoSoundNode&)> act;
    bool answer;
    Hooks hooks;
    bool started;
    bool paused;
    bool playing;
  };
  const auto play = [this](LumoSoundNode& node) { node.Play(sprite); };
  const auto none = [](LumoSoundNode&) {};
  const Case cases[] = {
      {"play", none, [this](LumoSoundNode& node) { return node.Play(sprite); }, true,
       {"DoPlaySound", "OnPlaySound"}, true, false, true},
      {"play while playing stops first", play, [this](LumoSoundNode& node) { return node.Play(sprite); }, true,
       {"DoStopSound", "OnStopSound", "DoPlaySound", "OnPlaySound"}, true, false, true},
      {"play with Repeats 0", [](LumoSoundNode& node) { node.SetRepeats(0); },
       [this](LumoSoundNode& node) { return node.Play(sprite); }, false, {}, false, false, false},
      {"stop", play, [](LumoSoundNode& node) { return node.Stop(); }, true, {"DoStopSound", "OnStopSound"}, false,
       false, false},
      {"stop while stopped", none, [](LumoSoundNode& node) { return node.Stop(); }, false, {}, false, false, false},
      {"pause", play, [](LumoSoundNode& node) { return node.Pause(); }, true, {"DoPauseSound", "OnPauseSound"},
       false, true, false},
      {"pause while paused",
       [this](LumoSoundNode& node) {
         node.Play(sprite);
         node.Pause();
       },
       [](LumoSoundNode& node) { return node.Pause(); }, false, {}, false, true, false},
      {"resume",
       [this](LumoSoundNode& node) {
         node.Play(sprite);
         node.Pause();
       },
       [](LumoSoundNode& node) { return node.Resume(); }, true, {"DoResumeSound", "OnResumeSound"}, true, false,
       true},
      {"resume without a pause", play, [](LumoSoundNode& node) { return node.Resume(); }, false, {}, true, false,
       true},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    LumoSoundNode* node = Sound("tone");
    ASSERT_NE(node, nullptr);
    test.before(*node);
    sprite->heard.clear();
    EXPECT_EQ(test.act(*node), test.answer);
    EXPECT_EQ(sprite->heard, test.hooks);
    EXPECT_EQ(node->Started, test.started);
    EXPECT_EQ(node->Paused, test.paused);
    EXPECT_EQ(node->IsPlaying(), test.playing);
    DestroyObject(node);
  }
}

TEST_F(SoundNodeTest, PlayingAgainStartsFromTheBeginning) {
  LumoSoundNode* node = Sound("tone");
  ASSERT_TRUE(node->Play(sprite));
  Hear(50);
  EXPECT_EQ(node->Position(), 50 * 8 * 2);  // bytes of 16-bit samples
  ASSERT_TRUE(node->Play(sprite));
  EXPECT_EQ(node->Position(), 0);
  EXPECT_EQ(node->Receiver, sprite);
}

TEST_F(SoundNodeTest, NodeWithoutASoundAnswersNothing) {
  // A node without a name loads nothing.
  auto* node = dynamic_cast<LumoSoundNode*>(level->SoundList->CreateItem());
  ASSERT_NE(node, nullptr);
  level->SoundList->Append(node);
  EXPECT_EQ(node->Load(), 0u);
  EXPECT_FALSE(node->Play(sprite));
  EXPECT_FALSE(node->Stop());
  EXPECT_FALSE(node->Pause());
  EXPECT_FALSE(node->Resume());
  EXPECT_FALSE(node->IsPlaying());
  EXPECT_EQ(node->Position(), -1);
  EXPECT_EQ(node->SetPosition(8), -1);
  EXPECT_EQ(node->Size(), 0);
  EXPECT_EQ(node->Receiver, nullptr);
  EXPECT_TRUE(sprite->heard.empty());
}

TEST_F(SoundNodeTest, ReceiverOutsideAListIsNotTold) {
  auto* loose = new ListeningSprite;
  LumoSoundNode* node = Sound("tone");
  EXPECT_TRUE(node->Play(loose));
  EXPECT_TRUE(node->IsPlaying());
  EXPECT_TRUE(node->Stop());
  EXPECT_TRUE(loose->heard.empty());
  // A receiver freed while its sound plays is forgotten.
  EXPECT_TRUE(node->Play(loose));
  DestroyObject(loose);
  EXPECT_EQ(node->Receiver, nullptr);
  EXPECT_TRUE(node->Stop());
}

TEST_F(SoundNodeTest, FailingReceiverHookIsReportedAndPassedOn) {
  struct Case {
    const char* hook;
    std::function<void(LumoSoundNode&)> act;
    const char* report;
    const char* operation;
  };
  const Case cases[] = {
      {"DoPlaySound", [this](LumoSoundNode& node) { node.Play(sprite); },
       "LumoSoundNode::DoPlay() Unhandled exception during DoPlaySound() (Sender=", "Play"},
      {"OnPauseSound",
       [](LumoSoundNode& node) {
         node.Pause();
       },
       "LumoSoundNode::OnPause() Unhandled exception during OnPauseSound() (Sender=", "Pause"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.hook);
    LumoSoundNode* node = Sound("tone");
    if (std::string(test.hook) != "DoPlaySound") {
      node->Play(sprite);
    }
    sprite->throwIn = test.hook;
    EXPECT_THROW(test.act(*node), std::runtime_error);
    sprite->throwIn.clear();
    const std::string log = testing_support::ReadDebugLog();
    const size_t report = log.find(test.report);
    ASSERT_NE(report, std::string::npos);
    EXPECT_NE(log.find("Receiver=", report), std::string::npos);
    EXPECT_NE(log.find(":ListeningSprite)\n", report), std::string::npos);
    EXPECT_NE(log.find(std::string("LumoMediaNode::") + test.operation + "() Unhandled exception (Name=tone, Object=",
                       report),
              std::string::npos);
    DestroyObject(node);
  }
}

TEST_F(SoundNodeTest, CheckEndsASoundThatRanOutAndTellsItsSpriteOnce) {
  LumoSoundNode* node = Sound("blip");
  ASSERT_TRUE(node->Play(sprite));
  sprite->heard.clear();
  // The level checks its sounds in every pass; the pass at 83 ms still
  // hears it, the one at 166 ms finds it ended.
  platform::testing::TakeCapturedAudio();
  EXPECT_TRUE(Pulse());
  EXPECT_TRUE(node->Started);
  EXPECT_TRUE(sprite->heard.empty());
  EXPECT_TRUE(Pulse());
  EXPECT_FALSE(node->Started);
  EXPECT_EQ(sprite->heard, (Hooks{"DoStopSound", "OnStopSound"}));
  EXPECT_TRUE(Pulse());
  EXPECT_EQ(sprite->heard.size(), 2u);
  // What was heard: the 100 ms of the sound, then silence.
  const std::vector<int16_t> mix = platform::testing::TakeCapturedAudio();
  ASSERT_GE(mix.size(), 200u * kSamplesPerMillisecond);
  for (size_t at = 0; at < mix.size(); ++at) {
    ASSERT_EQ(mix[at], at < 100 * kSamplesPerMillisecond ? 1000 : 0) << "sample " << at;
  }
}

TEST_F(SoundNodeTest, FrozenNodeIsNotEndedAndTheThawPlaysItOn) {
  LumoSoundNode* node = Sound("blip");
  ASSERT_TRUE(node->Play(sprite));
  Hear(40);
  level->SoundList->PauseAll();
  EXPECT_TRUE(node->Frozen);
  EXPECT_TRUE(node->Started);
  EXPECT_FALSE(node->IsPlaying());
  Hear(500);
  sprite->heard.clear();
  level->SoundList->CheckAll();
  EXPECT_TRUE(node->Started);
  EXPECT_TRUE(sprite->heard.empty());
  level->SoundList->ResumeAll();
  EXPECT_FALSE(node->Frozen);
  EXPECT_TRUE(node->IsPlaying());
  // The remaining 60 ms are heard, then the check ends it.
  const std::vector<int16_t> rest = Hear(80);
  ASSERT_EQ(rest.size(), 80u * kSamplesPerMillisecond);
  EXPECT_EQ(rest[60 * kSamplesPerMillisecond - 1], 1000);
  EXPECT_EQ(rest[60 * kSamplesPerMillisecond], 0);
  level->SoundList->CheckAll();
  EXPECT_FALSE(node->Started);
  EXPECT_EQ(sprite->heard, (Hooks{"DoStopSound", "OnStopSound"}));
}

TEST_F(SoundNodeTest, ThawRestoresEveryPositionAndResumesOnlyTheFrozen) {
  LumoSoundNode* playing = Sound("tone");
  LumoSoundNode* waiting = Sound("blip");
  ASSERT_TRUE(playing->Play(sprite));
  EXPECT_EQ(waiting->SetPosition(400), 400);
  Hear(50);
  level->SoundList->PauseAll();
  EXPECT_TRUE(playing->Frozen);
  EXPECT_FALSE(waiting->Frozen);
  EXPECT_EQ(playing->LastPosition, 800);
  EXPECT_EQ(waiting->LastPosition, 400);
  playing->SetPosition(0);
  waiting->SetPosition(0);
  level->SoundList->ResumeAll();
  EXPECT_EQ(playing->Position(), 800);
  EXPECT_EQ(waiting->Position(), 400);
  EXPECT_TRUE(playing->IsPlaying());
  EXPECT_FALSE(waiting->IsPlaying());
  EXPECT_FALSE(playing->Frozen);
}

TEST_F(SoundNodeTest, StopAllStopsWithoutTellingTheReceivers) {
  LumoSoundNode* node = Sound("tone");
  ASSERT_TRUE(node->Play(sprite));
  sprite->heard.clear();
  level->SoundList->StopAll();
  EXPECT_FALSE(node->Started);
  EXPECT_FALSE(node->IsPlaying());
  EXPECT_EQ(node->Position(), 0);
  EXPECT_TRUE(sprite->heard.empty());
}

TEST_F(SoundNodeTest, UnloadingAPlayingNodeStopsItFirst) {
  LumoSoundNode* node = Sound("tone");
  ASSERT_TRUE(node->Play(sprite));
  Hear(10);
  node->Unload();
  EXPECT_EQ(node->Data, 0u);
  EXPECT_FALSE(node->Started);
  EXPECT_EQ(node->Receiver, nullptr);
  const std::vector<int16_t> after = Hear(20);
  ASSERT_FALSE(after.empty());
  for (const int16_t sample : after) {
    ASSERT_EQ(sample, 0);
  }
  EXPECT_FALSE(LogHas("Cannot stop sound"));
  // Loading again gives a fresh sound.
  EXPECT_NE(node->Load(), 0u);
  EXPECT_FALSE(node->IsPlaying());
}

TEST_F(SoundNodeTest, DuplicatesPlayAtTheSameTime) {
  LumoSoundNode* original = Sound("blip");
  LumoSoundNode* copy = level->SoundList->DuplicateSound(original);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, original);
  EXPECT_STREQ(copy->Name, "blip");
  EXPECT_EQ(copy->parent, level->SoundList.get());
  // The name still finds the original.
  EXPECT_EQ(level->SoundList->FindByName("blip"), original);
  EXPECT_EQ(level->SoundList->GetLoaded("blip"), original);

  platform::testing::TakeCapturedAudio();
  ASSERT_TRUE(original->Play(nullptr));
  const std::vector<int16_t> alone = Hear(30);
  ASSERT_TRUE(copy->Play(nullptr));
  const std::vector<int16_t> both = Hear(70);
  const std::vector<int16_t> copyAlone = Hear(30);
  const std::vector<int16_t> silence = Hear(10);
  const auto all = [](const std::vector<int16_t>& samples, int16_t value) {
    for (const int16_t sample : samples) {
      if (sample != value) return false;
    }
    return !samples.empty();
  };
  EXPECT_TRUE(all(alone, 1000));
  EXPECT_TRUE(all(both, 2000));
  EXPECT_TRUE(all(copyAlone, 1000));
  EXPECT_TRUE(all(silence, 0));

  // Not for a node of another list, nor one without a sound.
  LumoSoundList other;
  EXPECT_EQ(other.DuplicateSound(original), nullptr);
  original->Unload();
  EXPECT_EQ(level->SoundList->DuplicateSound(original), nullptr);
}

TEST_F(SoundNodeTest, StoredNodeKeepsItsRepeatsAndLoadsItsSoundAgain) {
  LumoSoundNode* node = Sound("blip");
  node->SetRepeats(-1);
  const std::string record = RecordOf(*node);
  // Data is two flags: a named sound, none with the node's bit 0 set.
  ASSERT_GE(record.size(), 2u);
  EXPECT_EQ(record.substr(record.size() - 2), std::string("\x01\x00", 2));

  std::unique_ptr<LumoObject, tObjectDestroyer> loaded(LoadRecord(record, nullptr));
  auto* copy = dynamic_cast<LumoSoundNode*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy->Name, "blip");
  EXPECT_NE(copy->Data, 0u);
  EXPECT_NE(copy->Data, node->Data);
  EXPECT_EQ(copy->Repeats, -1);
  EXPECT_FALSE(copy->Started);
  // It loops as stored: still heard after three times its length.
  ASSERT_TRUE(copy->Play(nullptr));
  Hear(300);
  EXPECT_TRUE(copy->IsPlaying());

  // Bit 0 set: only the second flag is written, and nothing is loaded.
  node->Flags |= 1;
  const std::string flagged = RecordOf(*node);
  EXPECT_EQ(flagged.substr(flagged.size() - 2), std::string("\x00\x01", 2));
  std::unique_ptr<LumoObject, tObjectDestroyer> bare(LoadRecord(flagged, nullptr));
  auto* bareNode = dynamic_cast<LumoSoundNode*>(bare.get());
  ASSERT_NE(bareNode, nullptr);
  EXPECT_EQ(bareNode->Data, 0u);
  EXPECT_EQ(bareNode->Repeats, -1);
}

TEST_F(SoundNodeTest, StoredSoundNeedsASoundListAndAFileAndAWholeRecord) {
  LumoSoundNode* node = Sound("blip");
  const std::string record = RecordOf(*node);
  // Cut inside the two flags.
  EXPECT_EQ(LoadRecord(record.substr(0, record.size() - 1), nullptr), nullptr);
  // The file has gone.
  std::remove("blip.wav");
  EXPECT_EQ(LoadRecord(record, nullptr), nullptr);
  // No running level.
  WriteSound("blip.wav", 100, 1000);
  Engine->Level = nullptr;
  EXPECT_EQ(LoadRecord(record, nullptr), nullptr);
  EXPECT_TRUE(LogHas("LumoSoundNode::LoadData() There is no sound list to load into (Name=blip, Node="));
  Engine->Level = level;
}

TEST_F(SoundNodeTest, LevelPausedAndResumedByTheEngineGoesOnWithItsSounds) {
  LumoSoundNode* node = Sound("tone");
  ASSERT_TRUE(node->Play(nullptr));
  Hear(100);
  // A level with items is resumed rather than started anew.
  level->Append(new RecordingAnimator("item"));
  level->SetCloseMode(LumoEngine::ClosePause);
  TestLevel* first = level;
  RunLevel("other");
  EXPECT_FALSE(node->IsPlaying());
  EXPECT_TRUE(node->Frozen);
  const int32_t kept = node->LastPosition;
  EXPECT_GT(kept, 0);
  Engine->Level->SetCloseMode(LumoEngine::ClosePause);
  platform::testing::TakeCapturedAudio();
  Hear(300);
  Engine->RequestLevel(first);
  ASSERT_TRUE(Pulse());
  ASSERT_EQ(Engine->Level, first);
  EXPECT_TRUE(node->IsPlaying());
  EXPECT_TRUE(node->Started);
  EXPECT_FALSE(node->Frozen);
  // It goes on from where it was: what is left of the second plays out.
  EXPECT_GE(node->Position(), kept);
  EXPECT_LT(node->Position(), kept + 200 * 16);
}

TEST_F(SoundNodeTest, DestroyedLevelStopsItsSounds) {
  LumoSoundNode* node = Sound("tone");
  ASSERT_TRUE(node->Play(sprite));
  sprite->heard.clear();
  RunLevel("next");
  EXPECT_TRUE(sprite->heard.empty());
  platform::testing::TakeCapturedAudio();
  for (const int16_t sample : Hear(20)) {
    ASSERT_EQ(sample, 0);
  }
}

}  // namespace
}  // namespace framework_testing
