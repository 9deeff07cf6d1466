#include "tools/LocalClock.h"

#include <windows.h>

LocalClockReading ReadLocalClock() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalClockReading{now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                           now.wMinute, now.wSecond, now.wMilliseconds};
}
