#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "framework/LumoEngine.h"
#include "framework/LumoLevel.h"
#include "runtime/Information.h"
#include "RecordingAnimators.h"
#include "support/ProfileSeam.h"

namespace framework_testing {

// The engine as the game builds it, with the game's populate hook replaced
// by the test's, and a look at every pass.
class TestEngine : public LumoEngine {
 public:
  const char* GetClassName() const override { return "TestEngine"; }

  // Runs after the engine's own populate step (the game sets its frame rate
  // and requests its first level here).
  std::function<void(TestEngine&)> populate;
  // Runs after every pass, whether it succeeded or failed.
  std::function<void()> afterPass;
  // Replaces the key-down handler when set.
  std::function<bool(tInputEvent*)> keyDown;

  void DoPopulate() override;
  void DoTimer() override;
  bool OnKeyDown(tInputEvent* event) override;
};

// Starts the run-time system headless in the test's folder (800 x 600 x 16,
// the debug log on, the clock held at 1000) with the engine's application
// record, then builds and populates a TestEngine as the game's construct
// callback does. Tear-down destroys any engine, fails when a timer or an
// input region was left behind, and resets the platform layer.
class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Settings go into Profile() (as "section/entry") before Start, which
  // also writes them to the configuration file in the test's folder.
  static std::map<std::string, std::string>& Profile() { return testing_support::Profile(); }

  // InitializeRTS with the construct and destruct callbacks of the harness;
  // true when it succeeded and the engine exists.
  bool Start();
  // The engine Start built, or null once it is gone.
  TestEngine* engine() const;

  // Steps the held clock one timer period and polls the timer: one pass
  // when the timer runs. Answers whether the pass ran.
  bool Pulse();
  // Runs the main loop (RunRTS): its timed waits step the held clock; the
  // first pass that ends at or after `milliseconds` from now posts the
  // window's close message, and so does the idle handler, which serves
  // only while the timer is off. The destruct callback deletes the engine,
  // as the game's does. Answers RunRTS's code.
  tRTSResult RunFor(uint32_t milliseconds);

  // The engine's timer period now, in milliseconds.
  uint32_t Period() const;
  static uint32_t Now();

  // Runs in the construct callback after the engine exists, before it is
  // populated.
  std::function<void(TestEngine&)> populate;
  // The start record of the harness ("LumoYobbieDemo.ini").
  static const tStartRecord kStartRecord;
};

// A level that is an item of the engine and is the one the test requests.
TestLevel* AppendLevel(LumoEngine& engine, const std::string& label);

}  // namespace framework_testing
