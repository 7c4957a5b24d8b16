#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "base/LumoMemoryStream.h"
#include "framework/LumoSoundList.h"
#include "framework/LumoSoundNode.h"
#include "framework/LumoSprite.h"
#include "platform/Testing.h"
#include "support/DebugLogReader.h"
#include "support/MediaWriters.h"

namespace framework_testing {

// A sprite that writes every media hook it hears into a list, and throws
// in the one the test names.
class ListeningSprite : public LumoSprite {
 public:
  const char* GetClassName() const override { return "ListeningSprite"; }

  std::vector<std::string> heard;
  std::string throwIn;

  void DoPlaySound() override { Hear("DoPlaySound"); }
  void DoStopSound() override { Hear("DoStopSound"); }
  void DoPauseSound() override { Hear("DoPauseSound"); }
  void DoResumeSound() override { Hear("DoResumeSound"); }
  void DoPlayMovie() override { Hear("DoPlayMovie"); }
  void DoStopMovie() override { Hear("DoStopMovie"); }
  void DoPauseMovie() override { Hear("DoPauseMovie"); }
  void DoResumeMovie() override { Hear("DoResumeMovie"); }
  void OnPlaySound() override { Hear("OnPlaySound"); }
  void OnStopSound() override { Hear("OnStopSound"); }
  void OnPauseSound() override { Hear("OnPauseSound"); }
  void OnResumeSound() override { Hear("OnResumeSound"); }
  void OnPlayMovie() override { Hear("OnPlayMovie"); }
  void OnStopMovie() override { Hear("OnStopMovie"); }
  void OnPauseMovie() override { Hear("OnPauseMovie"); }
  void OnResumeMovie() override { Hear("OnResumeMovie"); }

 private:
  void Hear(const std::string& hook) {
    heard.push_back(hook);
    if (hook == throwIn) {
      throw std::runtime_error(hook + " failed");
    }
  }
};

// A running engine with a current level (its sound, movie and graphic
// lists made), the debug log on and sound mixed at 8000 mono 16-bit frames
// a second (8 a millisecond), captured. Media files go into the test's
// folder, which is the program's and so the sound and graphic folder.
class MediaTest : public FrameworkTest {
 protected:
  static constexpr uint32_t kRate = 8000;
  static constexpr uint32_t kSamplesPerMillisecond = kRate / 1000;

  void SetUp() override {
    FrameworkTest::SetUp();
    Profile()["DirectSound/SamplesPerSec"] = "8000";
    Profile()["DirectSound/Channels"] = "1";
    Profile()["DirectSound/BitsPerSample"] = "16";
    BeforeStart();
    ASSERT_TRUE(Start());
    platform::testing::CaptureAudio(true);
    level = RunLevel("media");
    ASSERT_NE(level, nullptr);
    ASSERT_TRUE(level->SoundList);
    ASSERT_TRUE(level->MovieList);
  }

  // Runs before the run-time system starts (joysticks, cursor files).
  virtual void BeforeStart() {}

  // Switches a new level in; the old one closes by its close mode.
  TestLevel* RunLevel(const std::string& label) {
    TestLevel* next = AppendLevel(*Engine, label);
    Engine->RequestLevel(next);
    Engine->StartAnimation();
    EXPECT_TRUE(Pulse());
    EXPECT_EQ(Engine->Level, next);
    return next;
  }

  // A 16-bit mono WAVE file of a number of milliseconds at one value.
  static void WriteSound(const std::string& file, uint32_t milliseconds, int16_t value) {
    const std::vector<int16_t> samples(milliseconds * kSamplesPerMillisecond, value);
    testing_support::WriteBytes(
        file, testing_support::PcmWave(1, kRate, 16, testing_support::Samples16(samples)));
  }

  // The sound node of that name from the level's sound list, loaded.
  LumoSoundNode* Sound(const char* name) {
    return dynamic_cast<LumoSoundNode*>(level->SoundList->GetLoaded(name));
  }

  // What the output mixed over the next milliseconds.
  static std::vector<int16_t> Hear(uint32_t milliseconds) {
    platform::testing::StepClock(milliseconds);
    return platform::testing::TakeCapturedAudio();
  }

  static bool LogHas(const std::string& text) {
    return testing_support::ReadDebugLog().find(text) != std::string::npos;
  }

  // One object record in memory, and the object it loads back.
  static std::string RecordOf(LumoObject& object) {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(64, 1, 0));
    stream.SetGrowth(4096);
    EXPECT_TRUE(object.SaveObject(&stream, 0));
    return std::string(reinterpret_cast<const char*>(stream.buffer), stream.position);
  }

  static LumoObject* LoadRecord(const std::string& record, LumoObject* owner) {
    LumoMemoryStream stream;
    EXPECT_TRUE(stream.OpenNew(static_cast<uint32_t>(record.size()), 1, 0));
    EXPECT_TRUE(stream.WriteBlock(record.data(), static_cast<uint32_t>(record.size())));
    stream.SetPosition(0);
    return LoadObject(&stream, owner);
  }

  TestLevel* level = nullptr;
};

// A running level with a listening sprite that is an item of a list (a
// plain one unless the test makes another), so that it is told of its media.
class ListeningSpriteTest : public MediaTest {
 protected:
  void SetUp() override {
    MediaTest::SetUp();
    holder.reset(MakeHolder());
    sprite = new ListeningSprite;
    holder->Append(sprite);
  }

  void TearDown() override {
    holder.reset();
    MediaTest::TearDown();
  }

  // The list the sprite is an item of.
  virtual LumoList* MakeHolder() { return new LumoList; }

  std::unique_ptr<LumoList, tObjectDestroyer> holder;
  ListeningSprite* sprite = nullptr;
};

}  // namespace framework_testing
