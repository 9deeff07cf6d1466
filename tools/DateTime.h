// TimeOfDay, CalendarDate, DateTime: local dates and times of day, taken from
// the clock, checked, compared, printed, and counted in seconds from
// 2 January 1970, 00:00:00 local time.
//
// All values are local time as GetLocalTime and the C runtime's mktime and
// localtime see it; there is no time-zone handling of their own. Setters
// store without checking; IsValid says whether a value is in range.
// Failure channel: nothing throws except ToString (the char* "Memory
// allocation error" of the format engine). Operations that go through the
// runtime's calendar time say what they return when the value lies outside
// the range the runtime can convert.
#ifndef KESTRIN_TOOLS_DATETIME_H
#define KESTRIN_TOOLS_DATETIME_H

#include <cstdint>

#include "tools/SharedString.h"

class TimeOfDay {
 public:
  // Reads the local clock.
  TimeOfDay();
  TimeOfDay(int32_t hour, int32_t minute, int32_t second, int32_t millisecond)
      : hour(hour), minute(minute), second(second), millisecond(millisecond) {}
  virtual ~TimeOfDay() = default;
  TimeOfDay(const TimeOfDay&) = default;
  TimeOfDay& operator=(const TimeOfDay&) = default;

  int32_t Hour() const { return hour; }
  int32_t Minute() const { return minute; }
  int32_t Second() const { return second; }
  int32_t Millisecond() const { return millisecond; }
  void SetHour(int32_t value) { hour = value; }
  void SetMinute(int32_t value) { minute = value; }
  void SetSecond(int32_t value) { second = value; }
  void SetMillisecond(int32_t value) { millisecond = value; }

  // "%2d:%02d:%02d": 9:05:07 prints as " 9:05:07"; milliseconds are not shown.
  SharedString ToString() const;
  // Hour 0-23, minute and second 0-59, millisecond 0-999.
  bool IsValid() const;

  // Over (hour, minute, second, millisecond), in that order.
  bool operator==(const TimeOfDay& other) const;
  bool operator!=(const TimeOfDay& other) const { return !(*this == other); }
  bool operator<(const TimeOfDay& other) const;
  bool operator<=(const TimeOfDay& other) const { return !(other < *this); }
  bool operator>(const TimeOfDay& other) const { return other < *this; }
  bool operator>=(const TimeOfDay& other) const { return !(*this < other); }

 protected:
  int32_t hour;
  int32_t minute;
  int32_t second;
  int32_t millisecond;
};

class CalendarDate {
 public:
  // Selects a day-name table for DayName.
  enum DayNameTable {
    EnglishNames = 0,  // any value other than the two below
    RussianWindows1251 = 1,
    RussianCodePage866 = 2,
  };

  // Reads the local clock.
  CalendarDate();
  // Note the order: the reverse of the members'.
  CalendarDate(int32_t year, int32_t month, int32_t day) : day(day), month(month), year(year) {}
  virtual ~CalendarDate() = default;
  CalendarDate(const CalendarDate&) = default;
  CalendarDate& operator=(const CalendarDate&) = default;

  int32_t Year() const { return year; }
  int32_t Month() const { return month; }
  int32_t Day() const { return day; }
  void SetYear(int32_t value) { year = value; }
  void SetMonth(int32_t value) { month = value; }
  void SetDay(int32_t value) { day = value; }

  // "%2d.%02d.%4d": 5 March 2004 prints as " 5.03.2004".
  SharedString ToString() const;
  // 2 January 1971 to 31 December 2037, every year divisible by 4 a leap year.
  bool IsValid() const;

  // 0 (Sunday) to 6, and 0 (1 January) to 365, as the runtime's calendar
  // time sees the date (an out-of-range day or month rolls over as mktime
  // does); -1 when the runtime cannot convert the date.
  int32_t DayOfWeek() const;
  int32_t DayOfYear() const;
  // The full name of day `index` (Sunday = 0) from `table` (a DayNameTable
  // value; any other value is English). An index outside 0-6 means this
  // date's own day of the week; "" when that cannot be had either.
  const char* DayName(int32_t index, int32_t table) const;

  // == over all three members; the order over (year, month, day).
  bool operator==(const CalendarDate& other) const;
  bool operator!=(const CalendarDate& other) const { return !(*this == other); }
  bool operator<(const CalendarDate& other) const;
  bool operator<=(const CalendarDate& other) const { return !(other < *this); }
  bool operator>(const CalendarDate& other) const { return other < *this; }
  bool operator>=(const CalendarDate& other) const { return !(*this < other); }

 protected:
  int32_t day;
  int32_t month;
  int32_t year;
};

class DateTime : public CalendarDate, public TimeOfDay {
 public:
  // What ToSeconds returns for a value the runtime cannot convert, or whose
  // count does not fit in 32 bits.
  static constexpr int32_t kNoSeconds = INT32_MIN;

  // All seven members from one reading of the local clock.
  DateTime();
  DateTime(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second,
           int32_t millisecond)
      : CalendarDate(year, month, day), TimeOfDay(hour, minute, second, millisecond) {}
  // The clock's value, then SetFromSeconds(count); the millisecond is 0.
  // A count SetFromSeconds refuses leaves the clock's date and time.
  explicit DateTime(int32_t seconds);
  ~DateTime() override = default;
  DateTime(const DateTime&) = default;
  DateTime& operator=(const DateTime&) = default;

  const CalendarDate& Date() const { return *this; }
  const TimeOfDay& Time() const { return *this; }

  // Seconds from 2 January 1970, 00:00:00 local time (the runtime decides
  // on daylight saving); kNoSeconds when out of range.
  int32_t ToSeconds() const;
  // Date, hour, minute and second of the base instant plus `seconds`; the
  // millisecond is kept. An instant before 1 January 1970 UTC (or one the
  // runtime cannot break down) changes nothing and returns false.
  bool SetFromSeconds(int32_t seconds);

  bool IsValid() const { return CalendarDate::IsValid() && TimeOfDay::IsValid(); }

  // Equal when both parts are (milliseconds included); ordered by date,
  // then by time.
  bool operator==(const DateTime& other) const;
  bool operator!=(const DateTime& other) const { return !(*this == other); }
  bool operator<(const DateTime& other) const;
  bool operator<=(const DateTime& other) const { return !(other < *this); }
  bool operator>(const DateTime& other) const { return other < *this; }
  bool operator>=(const DateTime& other) const { return !(*this < other); }

 private:
  void SetFromClock();
};

#endif  // KESTRIN_TOOLS_DATETIME_H
