#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "MediaFixture.h"
#include "framework/LumoCell.h"
#include "framework/LumoCommandList.h"
#include "framework/LumoCommandNode.h"
#include "framework/LumoSequenceList.h"

namespace framework_testing {
namespace {

using Hooks = std::vector<std::string>;

// Sprites made while the level runs take its sound list; a sprite is an item
// of a cell, so it is told of its sounds and may animate.
class SoundSequenceTest : public ListeningSpriteTest {
 protected:
  void SetUp() override {
    ListeningSpriteTest::SetUp();
    WriteSound("walk.wav", 1000, 1000);
    WriteSound("run.wav", 1000, 2000);
  }

  LumoList* MakeHolder() override { return new LumoCell; }
};

TEST_F(SoundSequenceTest, SequenceWithSoundTakesTheNamedSoundAndItsRepeats) {
  EXPECT_EQ(sprite->SoundList, level->SoundList.get());
  LumoSequenceList* walk = sprite->AppendSequenceWithSound("walk", -1, 0, 2);
  ASSERT_NE(walk, nullptr);
  EXPECT_STREQ(walk->Name, "walk");
  EXPECT_EQ(walk->Repeats, 2);
  ASSERT_NE(walk->Sound(), nullptr);
  EXPECT_EQ(walk->Sound(), level->SoundList->FindByName("walk"));
  EXPECT_EQ(walk->Data, reinterpret_cast<uintptr_t>(walk->Sound()));
  EXPECT_EQ(walk->Sound()->Repeats, -1);
  // An unknown sound leaves the sequence without one.
  LumoSequenceList* quiet = sprite->AppendSequenceWithSound("nothing", 1, 0, 1);
  ASSERT_NE(quiet, nullptr);
  EXPECT_EQ(quiet->Sound(), nullptr);
  EXPECT_EQ(level->SoundList->FindByName("nothing"), nullptr);
  // A sprite made without a running level has no sound list.
  LumoLevel* running = Engine->Level;
  Engine->Level = nullptr;
  std::unique_ptr<LumoSprite, tObjectDestroyer> loose(new LumoSprite);
  Engine->Level = running;
  LumoSequenceList* plain = loose->AppendSequenceWithSound("walk", 1, 0, 1);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->Name, nullptr);
  EXPECT_EQ(plain->Sound(), nullptr);
}

TEST_F(SoundSequenceTest, AnimatingSpriteSwitchingSequencesSwitchesTheirSounds) {
  LumoSequenceList* walk = sprite->AppendSequenceWithSound("walk", 1, 0, -1);
  LumoSequenceList* run = sprite->AppendSequenceWithSound("run", 1, 0, -1);
  LumoSequenceList* alsoRun = sprite->AppendSequence(0, -1);
  alsoRun->SetSound(run->Sound());
  LumoSoundNode* walking = walk->Sound();
  LumoSoundNode* running = run->Sound();

  // Not animating: the sounds are left alone.
  ASSERT_TRUE(walking->Play(sprite));
  sprite->heard.clear();
  sprite->SetSequence(run);
  EXPECT_EQ(sprite->SequenceList, run);
  EXPECT_TRUE(walking->IsPlaying());
  EXPECT_FALSE(running->IsPlaying());
  EXPECT_TRUE(sprite->heard.empty());

  sprite->SetSequence(walk);
  sprite->StartAnimation();
  ASSERT_TRUE(sprite->Animating);
  sprite->heard.clear();
  sprite->SetSequence(run);
  EXPECT_EQ(sprite->SequenceList, run);
  EXPECT_FALSE(walking->IsPlaying());
  EXPECT_TRUE(running->IsPlaying());
  EXPECT_EQ(running->Receiver, sprite);
  EXPECT_EQ(sprite->heard, (Hooks{"DoStopSound", "OnStopSound", "DoPlaySound", "OnPlaySound"}));
  platform::testing::TakeCapturedAudio();
  for (const int16_t sample : Hear(10)) {
    ASSERT_EQ(sample, 2000);
  }

  // The same sound goes on as it was.
  Hear(40);
  const int32_t position = running->Position();
  sprite->heard.clear();
  sprite->SetSequence(alsoRun);
  EXPECT_EQ(sprite->SequenceList, alsoRun);
  EXPECT_EQ(running->Position(), position);
  EXPECT_TRUE(sprite->heard.empty());
}

TEST_F(SoundSequenceTest, SequenceLetsGoOfItsSound) {
  LumoSequenceList* walk = sprite->AppendSequenceWithSound("walk", 1, 0, -1);
  LumoSoundNode* walking = walk->Sound();
  ASSERT_TRUE(walking->Play(sprite));
  // A new sound: the old one loses its receiver and stops.
  walk->SetSound(nullptr);
  EXPECT_EQ(walk->Data, 0u);
  EXPECT_EQ(walking->Receiver, nullptr);
  EXPECT_FALSE(walking->IsPlaying());
  // A sound freed first is forgotten.
  walk->SetSound(walking);
  DestroyObject(walking);
  EXPECT_EQ(walk->Sound(), nullptr);
  EXPECT_EQ(walk->Data, 0u);
  // A freed sequence stops its named sound, which stays in its list.
  LumoSequenceList* run = sprite->AppendSequenceWithSound("run", 1, 0, -1);
  LumoSoundNode* running = run->Sound();
  ASSERT_TRUE(running->Play(nullptr));
  DestroyObject(run);
  EXPECT_EQ(level->SoundList->FindByName("run"), running);
  EXPECT_FALSE(running->IsPlaying());
}

TEST_F(SoundSequenceTest, StoredSequenceFindsItsSoundInTheRunningLevel) {
  std::unique_ptr<LumoSequenceList, tObjectDestroyer> walk(new LumoSequenceList);
  walk->SetSound(Sound("walk"));
  const std::string record = RecordOf(*walk);
  walk.reset();
  // The sound list no longer holds it: the load loads it again.
  DestroyObject(level->SoundList->FindByName("walk"));
  std::unique_ptr<LumoObject, tObjectDestroyer> loaded(LoadRecord(record, nullptr));
  auto* copy = dynamic_cast<LumoSequenceList*>(loaded.get());
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy->Sound(), nullptr);
  EXPECT_EQ(copy->Sound(), level->SoundList->FindByName("walk"));
  EXPECT_NE(copy->Sound()->Data, 0u);
  // A name that yields no sound refuses the load.
  std::remove("walk.wav");
  DestroyObject(level->SoundList->FindByName("walk"));
  EXPECT_EQ(LoadRecord(record, nullptr), nullptr);
  EXPECT_TRUE(LogHas("LumoSequenceList::LoadData() The sound cannot be found (Name=walk, List="));
  EXPECT_EQ(level->SoundList->FindByName("walk"), nullptr);
}

TEST_F(SoundSequenceTest, SoundCommandsDriveTheSoundForTheirSprite) {
  LumoSoundNode* walking = Sound("walk");
  std::unique_ptr<LumoCommandList, tObjectDestroyer> commands(new LumoCommandList);
  ASSERT_NE(commands->AddSound(1, LumoCommandNode::kPlay, walking, sprite), nullptr);
  ASSERT_NE(commands->AddSound(2, LumoCommandNode::kPause, walking, sprite), nullptr);
  ASSERT_NE(commands->AddSound(3, LumoCommandNode::kResume, walking, sprite), nullptr);
  ASSERT_NE(commands->AddSound(4, LumoCommandNode::kStop, walking, sprite), nullptr);
  ASSERT_NE(commands->AddSound(5, 9, walking, sprite), nullptr);
  struct Step {
    uint32_t frame;
    Hooks hooks;
    bool playing;
  };
  const Step steps[] = {
      {1, {"DoPlaySound", "OnPlaySound"}, true},
      {2, {"DoPauseSound", "OnPauseSound"}, false},
      {3, {"DoResumeSound", "OnResumeSound"}, true},
      {4, {"DoStopSound", "OnStopSound"}, false},
      {5, {}, false},  // an unknown media command does nothing
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.frame);
    sprite->heard.clear();
    commands->Check(step.frame);
    EXPECT_EQ(sprite->heard, step.hooks);
    EXPECT_EQ(walking->IsPlaying(), step.playing);
    EXPECT_EQ(walking->Receiver, sprite);
  }

  // Without a sound node there is no sound command.
  EXPECT_EQ(commands->AddSound(6, LumoCommandNode::kPlay, nullptr, sprite), nullptr);
  LumoCommandNode loose;
  loose.DefineSound(7, LumoCommandNode::kPlay, nullptr, sprite);
  EXPECT_EQ(loose.Kind, LumoCommandNode::kUser);
  EXPECT_EQ(loose.Frame, 0u);

  // The command forgets a sound freed first.
  LumoCommandNode* command = commands->FindByFrame(1);
  DestroyObject(walking);
  EXPECT_EQ(command->SoundNode, nullptr);
}

}  // namespace
}  // namespace framework_testing
