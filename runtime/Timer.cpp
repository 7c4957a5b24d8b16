#include "runtime/Timer.h"

#include <memory>

#include "base/DebugFormat.h"
#include "platform/Clock.h"
#include "runtime/DebugLevelGate.h"

namespace {

std::unique_ptr<tTimerRecord> simpleTimer;

bool CheckTimer(TimerHandle timer, const char* function) {
  if (timer == nullptr) {
    DebugPrint("%s Null pointer to the timer specified\n", function);
    return false;
  }
  return true;
}

// The clock is compared by its signed 32-bit distance, so the comparison
// stays right across the wrap of the counter (every 49.7 days) as long as the
// two readings are less than 24.8 days apart.
bool IsDue(const tTimerRecord& timer, uint32_t now) {
  return timer.due || static_cast<int32_t>(now - timer.nextTime) >= 0;
}

}  // namespace

TimerHandle CreateTimer(tTimerEvent event, uint32_t rate, uint32_t timeSpan) {
  if (simpleTimer) {
    DebugPrint("CreateTimer() Simple timer already created\n");
    return nullptr;
  }
  if (rate == 0) {
    DebugPrint("CreateTimer() Invalid rate specified (Rate=0)\n");
    return nullptr;
  }
  simpleTimer = std::make_unique<tTimerRecord>();
  simpleTimer->event = event;
  simpleTimer->rate = rate;
  simpleTimer->timeSpan = timeSpan;
  simpleTimer->period = timeSpan / rate;
  if (DebugLevelAtLeast(1)) {
    DebugPrint("CreateTimer() Simple timer created\n");
  }
  return simpleTimer.get();
}

void DestroyTimer(TimerHandle timer) {
  if (timer == nullptr) {
    DebugPrint("DestroyTimer() Null pointer to the timer specified\n");
    return;
  }
  if (timer != simpleTimer.get()) {
    DebugPrint("DestroyTimer() Invalid pointer to the timer specified\n");
    return;
  }
  simpleTimer.reset();
  if (DebugLevelAtLeast(2)) {
    DebugPrint("DestroyTimer() Simple timer destroyed\n");
  }
}

void SetTimer(TimerHandle timer, uint32_t rate, uint32_t timeSpan) {
  if (!CheckTimer(timer, "SetTimer()")) {
    return;
  }
  if (rate == 0) {
    DebugPrint("SetTimer() Invalid rate specified (Rate=0)\n");
    return;
  }
  timer->rate = rate;
  timer->timeSpan = timeSpan;
  timer->period = timeSpan / rate;
}

// The first run is marked due instead of being set for clock value 0, which
// would lie in the "future" of a clock that has run longer than 24.8 days.
void StartTimer(TimerHandle timer) {
  if (!CheckTimer(timer, "StartTimer()")) {
    return;
  }
  if (timer->event == nullptr) {
    DebugPrint("StartTimer() No timer event specified\n");
    return;
  }
  const uint32_t now = platform::UpTimeMilliseconds();
  timer->lastTime = now;
  timer->nextTime = now;
  timer->due = true;
  timer->running = true;
}

void StopTimer(TimerHandle timer) {
  if (CheckTimer(timer, "StopTimer()")) {
    timer->running = false;
  }
}

uint32_t GetSystemUpTime() { return platform::UpTimeMilliseconds(); }

bool IsTimerRunning() { return simpleTimer && simpleTimer->running; }

bool PollTimer(uint32_t now) {
  if (!IsTimerRunning() || !IsDue(*simpleTimer, now)) {
    return false;
  }
  simpleTimer->due = false;
  simpleTimer->lastTime = now;
  simpleTimer->nextTime = now + simpleTimer->period;
  // The callback may destroy or restart the timer, so nothing is touched after it.
  simpleTimer->event();
  return true;
}

uint32_t GetTimerWait(uint32_t now) {
  if (!IsTimerRunning()) {
    return UINT32_MAX;
  }
  if (IsDue(*simpleTimer, now)) {
    return 0;
  }
  return simpleTimer->nextTime - now;
}
