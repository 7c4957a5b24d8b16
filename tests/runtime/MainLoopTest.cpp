#include <gtest/gtest.h>

#include <string>

#include "RTSFixture.h"
#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "platform/Testing.h"
#include "runtime/RTS.h"
#include "runtime/Timer.h"
#include "support/DebugLogReader.h"

namespace rts_testing {
namespace {

using platform::Message;
using platform::MessageKind;
using testing_support::ReadDebugLogBytes;

TEST_F(RTSTest, LoopBlocksWhileInactiveAndResumesOnActivation) {
  ASSERT_EQ(Start(), RTSSuccess);
  FakeTimer::Start();
  // The shown window activated the game; it loses activation right away.
  platform::testing::InjectMessage({MessageKind::Activate, 0});
  int idleCalls = 0;
  int ticksWhenBlocked = -1;
  platform::testing::SetIdleHandler([&] {
    ++idleCalls;
    if (idleCalls == 1) {
      ticksWhenBlocked = FakeTimer::ticks;
      // Time passes while inactive: still no tick may run.
      platform::testing::StepClock(5000);
      return;
    }
    EXPECT_EQ(FakeTimer::ticks, ticksWhenBlocked);
    platform::testing::InjectMessage({MessageKind::Activate, 1});
  });
  FakeTimer::onTick = [&](int tick) {
    if (tick == ticksWhenBlocked + 3) {
      platform::testing::InjectMessage({MessageKind::SystemClose});
    }
  };

  EXPECT_EQ(RunRTS(), RTSSuccess);
  EXPECT_GE(idleCalls, 2);
  EXPECT_EQ(ticksWhenBlocked, 1);
  EXPECT_EQ(FakeTimer::ticks, ticksWhenBlocked + 3);
  // Each activation checked the surfaces and called the restore callback.
  EXPECT_EQ(FakeGame::restored, 2);
}

TEST_F(RTSTest, TimerTicksFollowThePeriodOfTheClockWithoutSpinning) {
  ASSERT_EQ(Start(), RTSSuccess);
  FakeTimer::Start();
  FakeTimer::period = 41;
  const uint32_t startTime = platform::UpTimeMilliseconds();
  FakeTimer::onTick = [](int tick) {
    if (tick == 25) {
      platform::testing::InjectMessage({MessageKind::SystemClose});
    }
  };

  EXPECT_EQ(RunRTS(), RTSSuccess);
  // The first tick runs at once; the loop waited the period before each of
  // the other 24 (the held clock moves only by those waits).
  EXPECT_EQ(platform::UpTimeMilliseconds() - startTime, 24u * 41u);
}

// The run-time system's own simple timer drives the loop, also across the
// wrap of the 32-bit clock.
TEST_F(RTSTest, SimpleTimerRunsOnScheduleAcrossTheClockWrap) {
  static int ticks = 0;
  ticks = 0;
  ASSERT_EQ(Start(), RTSSuccess);
  platform::testing::SetClock(0xFFFFFFFFu - 100u);
  TimerHandle timer = CreateTimer(
      [] {
        if (++ticks == 6) {
          platform::testing::InjectMessage({MessageKind::SystemClose});
        }
      },
      24, 1000);
  ASSERT_NE(timer, nullptr);
  StartTimer(timer);

  EXPECT_EQ(RunRTS(), RTSSuccess);
  DestroyTimer(timer);
  EXPECT_EQ(ticks, 6);
  EXPECT_EQ(platform::UpTimeMilliseconds(), 0xFFFFFFFFu - 100u + 5u * 41u);
}

TEST_F(RTSTest, ClosingWhileTheQueryAnswersNoKeepsTheGameRunning) {
  ASSERT_EQ(Start(), RTSSuccess);
  FakeTimer::Start();
  FakeGame::agreeToTerminate = false;
  bool windowOpenAfterRefusal = false;
  FakeTimer::onTick = [&](int tick) {
    if (tick == 1) {
      platform::testing::InjectMessage({MessageKind::SystemClose});
      platform::testing::InjectMessage({MessageKind::Close});
    }
    if (tick == 4) {
      windowOpenAfterRefusal = platform::testing::HeadlessWindowOpen();
      FakeGame::agreeToTerminate = true;
      platform::testing::InjectMessage({MessageKind::Close});
    }
  };

  EXPECT_EQ(RunRTS(), RTSSuccess);
  EXPECT_TRUE(windowOpenAfterRefusal);
  EXPECT_EQ(FakeTimer::ticks, 4);
  EXPECT_EQ(FakeGame::queries, 3);
  EXPECT_FALSE(platform::testing::HeadlessWindowOpen());
  const std::string log = ReadDebugLogBytes();
  EXPECT_EQ(CountOf(log, "System request to terminate the game\r\n"), 1);
  EXPECT_EQ(CountOf(log, "External request to terminate the game\r\n"), 2);
  EXPECT_NE(log.find("\r\nPlaying the game...\r\n"), std::string::npos);
}

TEST_F(RTSTest, ClosedGameIsDestructedOnceAndReportsSuccess) {
  ASSERT_EQ(Start(), RTSSuccess);
  platform::testing::InjectMessage({MessageKind::SystemClose});

  EXPECT_EQ(RunRTS(), RTSSuccess);
  EXPECT_EQ(FakeGame::constructed, 1);
  EXPECT_EQ(FakeGame::destructed, 1);
  const std::string log = ReadDebugLogBytes();
  const char* const linesInOrder[] = {
      "System request to terminate the game\r\n", "\r\nDestructing the game...\r\n", "Game destructed\r\n",
      "\r\nFinalizing the RTS...\r\n", "COM library closed\r\n", "RTS finalized\r\n",
      "\r\nExiting the main event loop...\r\n", "\r\nRTS exit code 0: Success (",
  };
  size_t position = 0;
  for (const char* line : linesInOrder) {
    const size_t found = log.find(line, position);
    EXPECT_NE(found, std::string::npos) << "missing or out of order: " << line;
    if (found != std::string::npos) {
      position = found;
    }
  }
  EXPECT_EQ(log.substr(log.size() - 5), ")\r\n\r\n");
}

TEST_F(RTSTest, OpenDeviceContextsAtExitTurnSuccessIntoMemoryLeak) {
  ASSERT_EQ(Start(), RTSSuccess);
  platform::testing::SetOpenDeviceContexts(2);
  platform::testing::InjectMessage({MessageKind::SystemClose});

  EXPECT_EQ(RunRTS(), RTSMemoryLeak);
  const std::string log = ReadDebugLogBytes();
  EXPECT_NE(log.find("\r\nNot all DCs are destroyed (Left=2)\r\n"), std::string::npos);
  EXPECT_NE(log.find("RTS exit code E: Memory leak"), std::string::npos);
}

TEST_F(RTSTest, InputReachesTheGameOnlyWithValidSurfacesAndInputOn) {
  static int delivered = 0;
  delivered = 0;
  ASSERT_EQ(Start(), RTSSuccess);
  // In place of the input device's own handler, which the start installed.
  SetInputMessageHandler([](const Message&) {
    ++delivered;
    return true;
  });
  FakeTimer::Start();
  FakeTimer::onTick = [](int tick) {
    if (tick == 1) {
      platform::testing::InjectMessage({MessageKind::KeyDown, 'A'});
    }
    if (tick == 2) {
      RTS().inputOn = true;
      platform::testing::InjectMessage({MessageKind::KeyDown, 'B'});
      HandleMessages();
    }
    if (tick == 3) {
      platform::testing::InjectMessage({MessageKind::SystemClose});
    }
  };

  EXPECT_EQ(RunRTS(), RTSSuccess);
  SetInputMessageHandler(nullptr);
  EXPECT_EQ(delivered, 1);
}

}  // namespace
}  // namespace rts_testing
