#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Testing.h"
#include "runtime/DebugLog.h"
#include "runtime/RTSState.h"
#include "runtime/Sounds.h"
#include "support/DebugLogReader.h"
#include "platform/FileSystem.h"
#include "support/MediaWriters.h"
#include "support/TempFolder.h"

// Starts the sound device alone on the headless back end, with a
// configuration "Sound.ini" in the test's folder and the debug log on. The
// output is 8000 mono frames a second (8 a millisecond) and is captured.
class SoundFixture : public ::testing::Test {
 protected:
  static constexpr uint32_t kRate = 8000;

  void SetUp() override {
    platform::testing::Reset();
    platform::testing::UseBackend("headless");
    platform::testing::SetClock(1000);
    SetDebugMode(DebugModeOverwrite);
    SetDebugLevel(DebugLevelStandard);
    RTS().startRecord = &kRecord;
  }

  void TearDown() override {
    StopSoundDevice();
    RTS().startRecord = nullptr;
    SetDebugMode(DebugModeOff);
    platform::testing::Reset();
  }

  static void WriteConfiguration(const std::string& text) {
    testing_support::WriteBytes("Sound.ini", testing_support::Bytes(text.begin(), text.end()));
  }

  // Starts sound with the test's output format and any further lines.
  static bool StartSound(const std::string& moreSettings = "") {
    WriteConfiguration("[DirectSound]\nSamplesPerSec=8000\nChannels=1\nBitsPerSample=16\n" + moreSettings);
    const bool started = StartSoundDevice();
    platform::testing::CaptureAudio(true);
    return started;
  }

  // A 16-bit mono sound file of a number of milliseconds at one value.
  static void WriteSound(const std::string& path, uint32_t milliseconds, int16_t value) {
    const std::vector<int16_t> samples(milliseconds * kRate / 1000, value);
    testing_support::WriteBytes(path, testing_support::PcmWave(1, kRate, 16, testing_support::Samples16(samples)));
  }

  // The game's absolute name of a file in the test's folder.
  static std::string GameName(const std::string& file) {
    return platform::GameFileName((testing_support::TestFolder() / file).string());
  }

  static std::vector<int16_t> Hear(uint32_t milliseconds) {
    platform::testing::StepClock(milliseconds);
    return platform::testing::TakeCapturedAudio();
  }

  static bool Silent(const std::vector<int16_t>& samples) {
    for (const int16_t sample : samples) {
      if (sample != 0) return false;
    }
    return !samples.empty();
  }

  static bool LogHas(const std::string& text) {
    return testing_support::ReadDebugLog().find(text) != std::string::npos;
  }

  static bool BoxShown(const std::string& text) {
    for (const auto& box : platform::testing::ShownMessageBoxes()) {
      if (box.text.find(text) != std::string::npos) return true;
    }
    return false;
  }

  static inline const tStartRecord kRecord = {nullptr, "", 1, "Yobbozers", "Yobbozers", "Sound.ini",
                                              DebugModeOverwrite};
};
