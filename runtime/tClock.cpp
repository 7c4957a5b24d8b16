#include "runtime/tClock.h"

#include <cstdio>
#include <ctime>

#include "base/DebugFormat.h"

namespace {

bool FillClock(tClock* clock, bool local) {
  if (clock == nullptr) {
    return false;
  }
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm parts;
  if ((local ? localtime_r(&now.tv_sec, &parts) : gmtime_r(&now.tv_sec, &parts)) == nullptr) {
    return false;
  }
  clock->Year = static_cast<uint16_t>(parts.tm_year + 1900);
  clock->Month = static_cast<uint8_t>(parts.tm_mon + 1);
  clock->Day = static_cast<uint8_t>(parts.tm_mday);
  clock->DayOfWeek = static_cast<uint8_t>(parts.tm_wday);
  clock->Hour = static_cast<uint8_t>(parts.tm_hour);
  clock->Minute = static_cast<uint8_t>(parts.tm_min);
  clock->Second = static_cast<uint8_t>(parts.tm_sec);
  clock->Milliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
  return true;
}

// The broken-down form of a clock for formatting; false when a field is out
// of range. The day of the week is worked out from the date, so a clock made
// from stamps (day of week 0) still names the right day.
bool ToParts(const tClock& clock, std::tm& parts) {
  if (clock.Month < 1 || clock.Month > 12 || clock.Day < 1 || clock.Day > 31 ||
      clock.Hour > 23 || clock.Minute > 59 || clock.Second > 60 || clock.Year < 1601) {
    return false;
  }
  parts = std::tm{};
  parts.tm_year = clock.Year - 1900;
  parts.tm_mon = clock.Month - 1;
  parts.tm_mday = clock.Day;
  parts.tm_hour = clock.Hour;
  parts.tm_min = clock.Minute;
  parts.tm_sec = clock.Second;
  std::tm normalised = parts;
  if (timegm(&normalised) == -1) {
    return false;
  }
  parts.tm_wday = normalised.tm_wday;
  parts.tm_yday = normalised.tm_yday;
  return true;
}

bool Format(const tClock* clock, const char* format, char* buffer) {
  std::tm parts;
  if (clock == nullptr || buffer == nullptr || !ToParts(*clock, parts)) {
    return false;
  }
  return std::strftime(buffer, kClockTextSize, format, &parts) > 0;
}

bool RefuseClockChange(const tClock* clock, const char* function) {
  if (clock != nullptr) {
    DebugPrint("%s The game does not set the machine's clock\n", function);
  }
  return false;
}

}  // namespace

bool GetSystemClock(tClock* clock) { return FillClock(clock, false); }

bool GetLocalClock(tClock* clock) { return FillClock(clock, true); }

bool SetSystemClock(const tClock* clock) { return RefuseClockChange(clock, "SetSystemClock()"); }

bool SetLocalClock(const tClock* clock) { return RefuseClockChange(clock, "SetLocalClock()"); }

bool FormatTime(const tClock* clock, bool userFormat, char* buffer) {
  return Format(clock, userFormat ? "%X" : "%H:%M:%S", buffer);
}

bool FormatDate(const tClock* clock, bool longForm, char* buffer) {
  return Format(clock, longForm ? "%A, %d %B %Y" : "%x", buffer);
}

void ClockToStamp(const tClock* clock, uint32_t& timeStamp, uint32_t& dateStamp) {
  if (clock == nullptr) {
    return;
  }
  timeStamp = ((clock->Hour * 60u + clock->Minute) * 60u + clock->Second) * 1000u +
              clock->Milliseconds;
  dateStamp = clock->Year * 65536u + clock->Month * 256u + clock->Day;
}

void StampToClock(uint32_t timeStamp, uint32_t dateStamp, tClock* clock) {
  if (clock == nullptr) {
    return;
  }
  clock->Year = static_cast<uint16_t>(dateStamp >> 16);
  clock->Month = static_cast<uint8_t>(dateStamp >> 8);
  clock->Day = static_cast<uint8_t>(dateStamp);
  clock->DayOfWeek = 0;
  clock->Hour = static_cast<uint8_t>(timeStamp / 3600000);
  clock->Minute = static_cast<uint8_t>(timeStamp / 60000 % 60);
  clock->Second = static_cast<uint8_t>(timeStamp / 1000 % 60);
  clock->Milliseconds = static_cast<uint16_t>(timeStamp % 1000);
}
