// LocalClock: the platform seam through which the date and time values read
// the system's local wall clock.
#ifndef KESTRIN_TOOLS_LOCALCLOCK_H
#define KESTRIN_TOOLS_LOCALCLOCK_H

#include <cstdint>

// One reading of the local clock; month 1 to 12, day 1 to 31.
struct LocalClockReading {
  int32_t year;
  int32_t month;
  int32_t day;
  int32_t hour;
  int32_t minute;
  int32_t second;
  int32_t millisecond;
};

// GetLocalTime on Windows; the C library's local time elsewhere.
LocalClockReading ReadLocalClock();

#endif  // KESTRIN_TOOLS_LOCALCLOCK_H
