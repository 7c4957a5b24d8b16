#include <gtest/gtest.h>

#include <string>

#include "platform/Testing.h"
#include "runtime/Timer.h"
#include "runtime/tClock.h"

namespace {

int ticks = 0;
void CountTick() { ++ticks; }

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override { ticks = 0; }
  void TearDown() override {
    DestroyTimer(timer);
    platform::testing::ReleaseClock();
  }
  // Polls the way the main loop does: once per millisecond of hand-stepped time.
  void RunFor(uint32_t milliseconds) {
    for (uint32_t step = 0; step < milliseconds; ++step) {
      platform::testing::StepClock(1);
      PollTimer(GetSystemUpTime());
    }
  }
  TimerHandle timer = nullptr;
};

TEST_F(TimerTest, FirstTickIsImmediateThenOncePerPeriod) {
  platform::testing::SetClock(5000);
  timer = CreateTimer(CountTick, 24, 1000);
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->period, 41u);
  EXPECT_FALSE(PollTimer(GetSystemUpTime()));  // stopped
  StartTimer(timer);
  EXPECT_EQ(GetTimerWait(GetSystemUpTime()), 0u);
  EXPECT_TRUE(PollTimer(GetSystemUpTime()));
  EXPECT_FALSE(PollTimer(GetSystemUpTime()));
  EXPECT_EQ(GetTimerWait(GetSystemUpTime()), 41u);
  RunFor(40);
  EXPECT_EQ(ticks, 1);
  RunFor(1);
  EXPECT_EQ(ticks, 2);
  RunFor(41 * 10);
  EXPECT_EQ(ticks, 12);
}

TEST_F(TimerTest, TicksStayOnScheduleAcrossTheClockWrap) {
  const uint32_t starts[] = {0xFFFFFFFFu - 100, 0x80000000u - 20, 0x90000000u};
  for (const uint32_t start : starts) {
    SCOPED_TRACE(start);
    ticks = 0;
    platform::testing::SetClock(start);
    timer = CreateTimer(CountTick, 24, 1000);
    StartTimer(timer);
    EXPECT_TRUE(PollTimer(GetSystemUpTime()));  // at once, whatever the up-time
    RunFor(41 * 8);
    EXPECT_EQ(ticks, 9);
    DestroyTimer(timer);
    timer = nullptr;
  }
}

TEST_F(TimerTest, LateCallbacksAreNotMadeUp) {
  platform::testing::SetClock(100);
  timer = CreateTimer(CountTick, 10, 1000);
  StartTimer(timer);
  PollTimer(GetSystemUpTime());
  platform::testing::StepClock(1000);  // a frame that took ten periods
  EXPECT_TRUE(PollTimer(GetSystemUpTime()));
  EXPECT_FALSE(PollTimer(GetSystemUpTime()));
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(GetTimerWait(GetSystemUpTime()), 100u);
}

TEST_F(TimerTest, OnlyOneTimerExists) {
  timer = CreateTimer(CountTick, 12, 1000);
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(CreateTimer(CountTick, 24, 1000), nullptr);
  EXPECT_EQ(timer->period, 83u);
  tTimerRecord other;
  DestroyTimer(&other);  // not the timer: refused
  EXPECT_TRUE(timer->event == CountTick);
  EXPECT_EQ(CreateTimer(CountTick, 0, 1000), nullptr);
}

TEST_F(TimerTest, NewRateAppliesFromTheNextCallback) {
  platform::testing::SetClock(0);
  timer = CreateTimer(CountTick, 24, 1000);
  StartTimer(timer);
  PollTimer(GetSystemUpTime());
  SetTimer(timer, 10, 1000);
  EXPECT_EQ(GetTimerWait(GetSystemUpTime()), 41u);
  RunFor(41);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(GetTimerWait(GetSystemUpTime()), 100u);
  SetTimer(timer, 0, 1000);
  EXPECT_EQ(timer->period, 100u);
}

TEST_F(TimerTest, StartNeedsACallbackAndStopHalts) {
  timer = CreateTimer(nullptr, 24, 1000);
  StartTimer(timer);
  EXPECT_FALSE(IsTimerRunning());
  DestroyTimer(timer);
  timer = CreateTimer(CountTick, 24, 1000);
  StartTimer(timer);
  EXPECT_TRUE(IsTimerRunning());
  StopTimer(timer);
  EXPECT_FALSE(PollTimer(GetSystemUpTime()));
  EXPECT_EQ(GetTimerWait(GetSystemUpTime()), UINT32_MAX);
}

TEST(ClockTest, StampsRoundTrip) {
  const tClock clock{1999, 12, 31, 5, 23, 59, 58, 999};
  uint32_t timeStamp = 0;
  uint32_t dateStamp = 0;
  ClockToStamp(&clock, timeStamp, dateStamp);
  EXPECT_EQ(timeStamp, 86398999u);
  EXPECT_EQ(dateStamp, 1999u * 65536 + 12 * 256 + 31);
  tClock back{};
  StampToClock(timeStamp, dateStamp, &back);
  EXPECT_EQ(back.Year, 1999);
  EXPECT_EQ(back.Month, 12);
  EXPECT_EQ(back.Day, 31);
  EXPECT_EQ(back.DayOfWeek, 0);
  EXPECT_EQ(back.Hour, 23);
  EXPECT_EQ(back.Minute, 59);
  EXPECT_EQ(back.Second, 58);
  EXPECT_EQ(back.Milliseconds, 999);
}

TEST(ClockTest, FormatsAndRefusesToSetTheMachineClock) {
  const tClock clock{2001, 3, 4, 0, 13, 5, 9, 0};
  char buffer[kClockTextSize];
  EXPECT_TRUE(FormatTime(&clock, false, buffer));
  EXPECT_STREQ(buffer, "13:05:09");
  EXPECT_TRUE(FormatDate(&clock, true, buffer));
  EXPECT_NE(std::string(buffer).find("2001"), std::string::npos);
  EXPECT_NE(std::string(buffer).find("Sunday"), std::string::npos);  // 4 March 2001
  const tClock badMonth{2001, 13, 4, 0, 13, 5, 9, 0};
  EXPECT_FALSE(FormatDate(&badMonth, false, buffer));
  EXPECT_FALSE(FormatTime(nullptr, true, buffer));

  tClock now{};
  EXPECT_TRUE(GetLocalClock(&now));
  EXPECT_GE(now.Year, 2020);
  EXPECT_FALSE(GetSystemClock(nullptr));
  EXPECT_FALSE(SetSystemClock(&now));
  EXPECT_FALSE(SetLocalClock(&now));
}

}  // namespace
