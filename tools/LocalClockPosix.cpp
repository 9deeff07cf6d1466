// The native tree has no GetLocalTime; the C library's local time is the
// same clock as far as the date arithmetic is concerned.
#include "tools/LocalClock.h"

#include <sys/time.h>
#include <time.h>

LocalClockReading ReadLocalClock() {
  struct timeval now = {};
  gettimeofday(&now, nullptr);
  struct tm parts = {};
  time_t seconds = now.tv_sec;
  if (localtime_r(&seconds, &parts) == nullptr)
    return LocalClockReading{1970, 1, 1, 0, 0, 0, 0};
  return LocalClockReading{parts.tm_year + 1900,
                           parts.tm_mon + 1,
                           parts.tm_mday,
                           parts.tm_hour,
                           parts.tm_min,
                           parts.tm_sec,
                           static_cast<int32_t>(now.tv_usec / 1000)};
}
