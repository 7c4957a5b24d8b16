#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "runtime/Information.h"
#include "runtime/RTSState.h"
#include "support/ChildProcess.h"
#include "support/ProfileSeam.h"

namespace rts_testing {

using testing_support::Profile;
using testing_support::RunInChild;

// A timer that the main loop sees through its seam: due at once when
// started, then every period milliseconds of the (held) clock.
struct FakeTimer {
  static inline bool running = false;
  static inline bool armed = false;
  static inline uint32_t period = 40;
  static inline uint32_t next = 0;
  static inline int ticks = 0;
  static inline std::function<void(int)> onTick;

  static void Start();
  static const tLoopTimer kLoopTimer;
};

// The game's side of a start: counts its callbacks, answers the terminate
// query from a setting.
struct FakeGame {
  static inline int constructed = 0;
  static inline int destructed = 0;
  static inline int restored = 0;
  static inline int queries = 0;
  static inline bool agreeToTerminate = true;
  static inline bool constructResult = true;
  static inline std::function<void()> onDestruct;

  static bool Construct();
  static void Destruct();
  static bool TerminateQuery();
  static void Restore();
};

// Counts the occurrences of a text in another.
int CountOf(const std::string& text, const std::string& part);

// Every test starts with a clean run-time system on the headless back end,
// with the game's application record given and the held clock at 1000.
class RTSTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // InitializeRTS with the game's start record and the fake game.
  tRTSResult Start();

  static const tStartRecord kStartRecord;
  tInformation information_{};
};

}  // namespace rts_testing
