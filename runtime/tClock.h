#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// A date and time of 10 bytes, laid out as the game stores it.
#pragma pack(push, 1)
struct tClock {
  uint16_t Year;
  uint8_t Month;      // 1-12
  uint8_t Day;        // 1-31
  uint8_t DayOfWeek;  // 0 Sunday - 6 Saturday
  uint8_t Hour;
  uint8_t Minute;
  uint8_t Second;
  uint16_t Milliseconds;
};
#pragma pack(pop)
static_assert(sizeof(tClock) == 10);

// Buffers given to FormatTime and FormatDate hold at least this many bytes.
constexpr uint32_t kClockTextSize = 64;

// The current UTC or local date and time; false for null.
LUMOGAME_API bool GetSystemClock(tClock* clock);
LUMOGAME_API bool GetLocalClock(tClock* clock);
// The game never sets the machine's clock: both log and answer false.
LUMOGAME_API bool SetSystemClock(const tClock* clock);
LUMOGAME_API bool SetLocalClock(const tClock* clock);
// The time in the locale's own format (userFormat true) or as 24-hour
// "hh:mm:ss"; false for null arguments or a clock out of range.
LUMOGAME_API bool FormatTime(const tClock* clock, bool userFormat, char* buffer);
// The date in a long (with the day and month names) or a short form.
LUMOGAME_API bool FormatDate(const tClock* clock, bool longForm, char* buffer);
// Time stamp: milliseconds since midnight. Date stamp: year * 65536 + month *
// 256 + day.
LUMOGAME_API void ClockToStamp(const tClock* clock, uint32_t& timeStamp, uint32_t& dateStamp);
LUMOGAME_API void StampToClock(uint32_t timeStamp, uint32_t dateStamp, tClock* clock);
