#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// The one "simple timer" that drives the game: the main loop polls the
// millisecond clock and runs the timer's callback when it is due. There is no
// timer thread; the callback runs on the game thread.

using tTimerEvent = void (*)();

struct tTimerRecord {
  tTimerEvent event = nullptr;
  uint32_t rate = 0;      // frames per time span
  uint32_t timeSpan = 0;  // milliseconds
  uint32_t period = 0;    // milliseconds, time span / rate
  uint32_t lastTime = 0;  // clock when the callback last ran
  uint32_t nextTime = 0;  // clock when it runs next
  bool running = false;
  bool due = false;  // set by StartTimer: the next poll runs the callback
};
using TimerHandle = tTimerRecord*;

// Creates the timer, stopped; null when one exists already (the first one is
// left untouched) or for a rate of 0. Destroy it with DestroyTimer.
LUMOGAME_API TimerHandle CreateTimer(tTimerEvent event, uint32_t rate, uint32_t timeSpan);
LUMOGAME_API void DestroyTimer(TimerHandle timer);
// A running timer keeps its next time; the new period counts from the next
// callback on. A rate of 0 is refused and the timer keeps its settings.
LUMOGAME_API void SetTimer(TimerHandle timer, uint32_t rate, uint32_t timeSpan);
// The callback runs at the next poll, then once per period.
LUMOGAME_API void StartTimer(TimerHandle timer);
LUMOGAME_API void StopTimer(TimerHandle timer);
// The millisecond clock since the system started; wraps after about 49.7 days.
LUMOGAME_API uint32_t GetSystemUpTime();

// ---- For the main loop ----

// True while a timer exists and runs.
bool IsTimerRunning();
// Runs the callback when the timer runs and is due at the clock value now, then
// arms the next run one period after now (missed periods are not made up).
// True when the callback ran.
bool PollTimer(uint32_t now);
// Milliseconds from now until the timer is due: 0 when due, and 0xFFFFFFFF
// while no timer runs.
uint32_t GetTimerWait(uint32_t now);
