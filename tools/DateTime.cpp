#include "tools/DateTime.h"

#include <ctime>
#include <limits>

#include "tools/Format.h"
#include "tools/LocalClock.h"

namespace {

// The Windows runtime's calendar time starts at 1 January 1970 UTC: mktime
// and localtime fail before it. Other runtimes go further back; they are held
// to the same range so that a value converts alike everywhere.
bool MakeCalendarTime(struct tm parts, time_t* result) {
  const time_t made = std::mktime(&parts);
  if (made < 0)  // also the runtime's failure value, -1
    return false;
  *result = made;
  return true;
}

bool BreakDownLocal(time_t when, struct tm* parts) {
  if (when < 0)
    return false;
#ifdef _WIN32
  // msvcrt keeps the breakdown per thread; copy it out at once.
  const struct tm* shared = std::localtime(&when);
  if (shared == nullptr)
    return false;
  *parts = *shared;
  return true;
#else
  return localtime_r(&when, parts) != nullptr;
#endif
}

struct tm Breakdown(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second,
                    int daylightSaving) {
  struct tm parts = {};
  parts.tm_sec = second;
  parts.tm_min = minute;
  parts.tm_hour = hour;
  parts.tm_mday = day;
  parts.tm_mon = month - 1;
  parts.tm_year = year - 1900;
  parts.tm_isdst = daylightSaving;
  return parts;
}

// 2 January 1970, 00:00:00 local time: a day after the runtime's epoch, so
// that it exists in every time zone.
bool BaseInstant(time_t* base) { return MakeCalendarTime(Breakdown(1970, 1, 2, 0, 0, 0, -1), base); }

// The date at local midnight as the runtime breaks it down again.
bool BreakDownDate(int32_t year, int32_t month, int32_t day, struct tm* parts) {
  time_t midnight;
  return MakeCalendarTime(Breakdown(year, month, day, 0, 0, 0, 0), &midnight) &&
         BreakDownLocal(midnight, parts);
}

const char* const kDayNamesWindows1251[7] = {
    "\xC2\xEE\xF1\xEA\xF0\xE5\xF1\xE5\xED\xFC\xE5",  // Воскресенье
    "\xCF\xEE\xED\xE5\xE4\xE5\xEB\xFC\xED\xE8\xEA",  // Понедельник
    "\xC2\xF2\xEE\xF0\xED\xE8\xEA",                  // Вторник
    "\xD1\xF0\xE5\xE4\xE0",                          // Среда
    "\xD7\xE5\xF2\xE2\xE5\xF0\xE3",                  // Четверг
    "\xCF\xFF\xF2\xED\xE8\xF6\xE0",                  // Пятница
    "\xD1\xF3\xE1\xE1\xEE\xF2\xE0",                  // Суббота
};

const char* const kDayNamesCodePage866[7] = {
    "\x82\xAE\xE1\xAA\xE0\xA5\xE1\xA5\xAD\xEC\xA5",  // Воскресенье
    "\x8F\xAE\xAD\xA5\xA4\xA5\xAB\xEC\xAD\xA8\xAA",  // Понедельник
    "\x82\xE2\xAE\xE0\xAD\xA8\xAA",                  // Вторник
    "\x91\xE0\xA5\xA4\xA0",                          // Среда
    "\x97\xA5\xE2\xA2\xA5\xE0\xA3",                  // Четверг
    "\x8F\xEF\xE2\xAD\xA8\xE6\xA0",                  // Пятница
    "\x91\xE3\xA1\xA1\xAE\xE2\xA0",                  // Суббота
};

const char* const kDayNamesEnglish[7] = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
};

const int32_t kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

}  // namespace

// --- TimeOfDay ---

TimeOfDay::TimeOfDay() {
  const LocalClockReading now = ReadLocalClock();
  hour = now.hour;
  minute = now.minute;
  second = now.second;
  millisecond = now.millisecond;
}

SharedString TimeOfDay::ToString() const { return MakeFormatted("%2d:%02d:%02d", hour, minute, second); }

bool TimeOfDay::IsValid() const {
  return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59 &&
         millisecond >= 0 && millisecond <= 999;
}

bool TimeOfDay::operator==(const TimeOfDay& other) const {
  return hour == other.hour && minute == other.minute && second == other.second &&
         millisecond == other.millisecond;
}

bool TimeOfDay::operator<(const TimeOfDay& other) const {
  if (hour != other.hour)
    return hour < other.hour;
  if (minute != other.minute)
    return minute < other.minute;
  if (second != other.second)
    return second < other.second;
  return millisecond < other.millisecond;
}

// --- CalendarDate ---

CalendarDate::CalendarDate() {
  const LocalClockReading now = ReadLocalClock();
  day = now.day;
  month = now.month;
  year = now.year;
}

SharedString CalendarDate::ToString() const { return MakeFormatted("%2d.%02d.%4d", day, month, year); }

bool CalendarDate::IsValid() const {
  if (year <= 1970 || year >= 2038)
    return false;
  if (month < 1 || month > 12)
    return false;
  // The first day of 1971 is outside the range too.
  if (year == 1971 && month == 1 && day < 2)
    return false;
  int32_t length = kMonthLengths[month - 1];
  // Every fourth year is a leap year within 1971-2037 (2000 included).
  if (month == 2 && year % 4 == 0)
    length = 29;
  return day >= 1 && day <= length;
}

int32_t CalendarDate::DayOfWeek() const {
  struct tm parts;
  return BreakDownDate(year, month, day, &parts) ? parts.tm_wday : -1;
}

int32_t CalendarDate::DayOfYear() const {
  struct tm parts;
  return BreakDownDate(year, month, day, &parts) ? parts.tm_yday : -1;
}

const char* CalendarDate::DayName(int32_t index, int32_t table) const {
  if (index < 0 || index > 6) {
    index = DayOfWeek();
    if (index < 0 || index > 6)
      return "";
  }
  switch (table) {
    case RussianWindows1251:
      return kDayNamesWindows1251[index];
    case RussianCodePage866:
      return kDayNamesCodePage866[index];
    default:
      return kDayNamesEnglish[index];
  }
}

bool CalendarDate::operator==(const CalendarDate& other) const {
  return day == other.day && month == other.month && year == other.year;
}

bool CalendarDate::operator<(const CalendarDate& other) const {
  if (year != other.year)
    return year < other.year;
  if (month != other.month)
    return month < other.month;
  return day < other.day;
}

// --- DateTime ---

DateTime::DateTime() : CalendarDate(0, 0, 0), TimeOfDay(0, 0, 0, 0) { SetFromClock(); }

DateTime::DateTime(int32_t seconds) : CalendarDate(0, 0, 0), TimeOfDay(0, 0, 0, 0) {
  SetFromClock();
  SetFromSeconds(seconds);
  millisecond = 0;
}

void DateTime::SetFromClock() {
  const LocalClockReading now = ReadLocalClock();
  year = now.year;
  month = now.month;
  day = now.day;
  hour = now.hour;
  minute = now.minute;
  second = now.second;
  millisecond = now.millisecond;
}

int32_t DateTime::ToSeconds() const {
  time_t base;
  time_t own;
  if (!BaseInstant(&base) || !MakeCalendarTime(Breakdown(year, month, day, hour, minute, second, -1), &own))
    return kNoSeconds;
  const long long count = static_cast<long long>(own) - static_cast<long long>(base);
  if (count <= kNoSeconds || count > INT32_MAX)
    return kNoSeconds;
  return static_cast<int32_t>(count);
}

bool DateTime::SetFromSeconds(int32_t seconds) {
  time_t base;
  struct tm parts;
  if (!BaseInstant(&base))
    return false;
  // Summed in 64 bits: where the runtime's time_t has 32 (msvcrt on i686),
  // counts beyond January 2038 do not fit, and wrapping round would be
  // undefined.
  const long long when = static_cast<long long>(base) + seconds;
  if (when > std::numeric_limits<time_t>::max() || !BreakDownLocal(static_cast<time_t>(when), &parts))
    return false;
  second = parts.tm_sec;
  minute = parts.tm_min;
  hour = parts.tm_hour;
  day = parts.tm_mday;
  month = parts.tm_mon + 1;
  year = parts.tm_year + 1900;
  return true;
}

bool DateTime::operator==(const DateTime& other) const {
  return Date() == other.Date() && Time() == other.Time();
}

bool DateTime::operator<(const DateTime& other) const {
  if (Date() != other.Date())
    return Date() < other.Date();
  return Time() < other.Time();
}
