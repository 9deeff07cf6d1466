// Dates and times of day: validity, printing, comparisons, day names and the
// seconds count, the last under several time zones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "tools/DateTime.h"

namespace {

// Puts the C runtime into the time zone described by a POSIX-style TZ text
// ("JST-9", "PST8PDT") and restores the previous setting when it goes. Both
// glibc and Wine's msvcrt read such a text when the runtime is told to.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    const char* old = std::getenv("TZ");
    hadOld = old != nullptr;
    if (hadOld)
      previous = old;
    Set(zone);
  }
  ~ScopedTimeZone() { Set(hadOld ? previous.c_str() : nullptr); }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  static void Set(const char* zone) {
#ifdef _WIN32
    std::string setting = std::string("TZ=") + (zone != nullptr ? zone : "");
    _putenv(setting.c_str());
    _tzset();
#else
    if (zone != nullptr)
      setenv("TZ", zone, 1);
    else
      unsetenv("TZ");
    tzset();
#endif
  }

  bool hadOld = false;
  std::string previous;
};

// The runtime's calendar time of a local date at midnight: shows that a zone
// really took effect.
long long LocalMidnight(int year, int month, int day) {
  struct tm parts = {};
  parts.tm_mday = day;
  parts.tm_mon = month - 1;
  parts.tm_year = year - 1900;
  parts.tm_isdst = -1;
  return static_cast<long long>(std::mktime(&parts));
}

struct DateCase {
  int year, month, day;
  bool valid;
};

TEST(CalendarDate, Validity) {
  const DateCase cases[] = {
      {2004, 2, 29, true},  {2003, 2, 29, false}, {2003, 2, 28, true},   {2000, 2, 29, true},
      {2004, 4, 31, false}, {2004, 4, 30, true},  {1971, 1, 2, true},    {1971, 1, 1, false},
      {1971, 1, 0, false},  {1970, 6, 15, false}, {2038, 1, 1, false},   {2037, 12, 31, true},
      {2004, 0, 1, false},  {2004, 13, 1, false}, {2004, 12, 32, false}, {2004, 1, 0, false},
      {2004, 1, -1, false}, {1971, 2, 1, true},
  };
  for (const DateCase& c : cases) {
    EXPECT_EQ(CalendarDate(c.year, c.month, c.day).IsValid(), c.valid)
        << c.year << "-" << c.month << "-" << c.day;
  }
  EXPECT_TRUE(DateTime(2004, 2, 29, 23, 59, 59, 999).IsValid());
  EXPECT_FALSE(DateTime(2003, 2, 29, 12, 0, 0, 0).IsValid());
  EXPECT_FALSE(DateTime(2004, 2, 29, 24, 0, 0, 0).IsValid());
}

TEST(TimeOfDay, Validity) {
  EXPECT_TRUE(TimeOfDay(23, 59, 59, 999).IsValid());
  EXPECT_TRUE(TimeOfDay(0, 0, 0, 0).IsValid());
  EXPECT_FALSE(TimeOfDay(24, 0, 0, 0).IsValid());
  EXPECT_FALSE(TimeOfDay(12, 60, 0, 0).IsValid());
  EXPECT_FALSE(TimeOfDay(12, 0, 60, 0).IsValid());
  EXPECT_FALSE(TimeOfDay(12, 0, 0, 1000).IsValid());
  EXPECT_FALSE(TimeOfDay(12, 0, 0, -1).IsValid());
  EXPECT_FALSE(TimeOfDay(-1, 0, 0, 0).IsValid());
}

TEST(DateTimeText, PadsTheFirstFieldWithABlank) {
  EXPECT_STREQ(CalendarDate(2004, 12, 12).ToString().c_str(), "12.12.2004");
  EXPECT_STREQ(CalendarDate(2005, 1, 1).ToString().c_str(), " 1.01.2005");
  EXPECT_STREQ(CalendarDate(2004, 3, 5).ToString().c_str(), " 5.03.2004");
  EXPECT_STREQ(TimeOfDay(9, 5, 7, 999).ToString().c_str(), " 9:05:07");
  EXPECT_STREQ(TimeOfDay(23, 59, 0, 0).ToString().c_str(), "23:59:00");
  const DateTime both(2004, 3, 5, 9, 5, 7, 0);
  EXPECT_STREQ(both.CalendarDate::ToString().c_str(), " 5.03.2004");
  EXPECT_STREQ(both.TimeOfDay::ToString().c_str(), " 9:05:07");
}

TEST(DateTimeOrder, ComparesYearFirstAndMillisecondsLast) {
  EXPECT_LT(CalendarDate(2004, 12, 31), CalendarDate(2005, 1, 1));
  EXPECT_GT(CalendarDate(2005, 1, 1), CalendarDate(2004, 12, 31));
  EXPECT_LT(CalendarDate(2005, 1, 31), CalendarDate(2005, 2, 1));
  EXPECT_EQ(CalendarDate(2005, 1, 1), CalendarDate(2005, 1, 1));
  EXPECT_NE(CalendarDate(2005, 1, 1), CalendarDate(2005, 1, 2));
  EXPECT_LE(CalendarDate(2005, 1, 1), CalendarDate(2005, 1, 1));
  EXPECT_GE(CalendarDate(2005, 1, 1), CalendarDate(2005, 1, 1));

  EXPECT_LT(TimeOfDay(9, 59, 59, 999), TimeOfDay(10, 0, 0, 0));
  EXPECT_LT(TimeOfDay(10, 0, 0, 1), TimeOfDay(10, 0, 0, 2));

  const DateTime early(2004, 7, 15, 14, 31, 59, 100);
  const DateTime late(2004, 7, 15, 14, 31, 59, 101);
  EXPECT_NE(early, late);
  EXPECT_FALSE(early == late);
  EXPECT_LT(early, late);
  EXPECT_LE(early, late);
  EXPECT_GT(late, early);
  EXPECT_GE(late, early);
  EXPECT_EQ(early, DateTime(2004, 7, 15, 14, 31, 59, 100));
  // The date decides before the time does.
  EXPECT_LT(DateTime(2004, 7, 14, 23, 0, 0, 0), DateTime(2004, 7, 15, 1, 0, 0, 0));
}

TEST(CalendarDate, DayOfWeekAndYear) {
  EXPECT_EQ(CalendarDate(2004, 3, 1).DayOfWeek(), 1);    // a Monday
  EXPECT_EQ(CalendarDate(2005, 1, 1).DayOfWeek(), 6);    // a Saturday
  EXPECT_EQ(CalendarDate(2037, 12, 31).DayOfWeek(), 4);  // a Thursday
  EXPECT_EQ(CalendarDate(2005, 1, 1).DayOfYear(), 0);
  EXPECT_EQ(CalendarDate(2004, 12, 31).DayOfYear(), 365);
  EXPECT_EQ(CalendarDate(2003, 12, 31).DayOfYear(), 364);
  // In a zone with daylight saving, a summer date keeps its day.
  ScopedTimeZone zone("EST5EDT");
  EXPECT_EQ(CalendarDate(2004, 7, 15).DayOfWeek(), 4);
  EXPECT_EQ(CalendarDate(2004, 7, 15).DayOfYear(), 196);
}

TEST(CalendarDate, DayNameTables) {
  const CalendarDate monday(2004, 3, 1);
  EXPECT_STREQ(monday.DayName(7, 3), "Monday");
  EXPECT_STREQ(monday.DayName(-1, 0), "Monday");
  EXPECT_STREQ(monday.DayName(6, 0), "Saturday");
  // Sunday from either Russian table, whatever the date.
  EXPECT_STREQ(monday.DayName(0, 1), "\xC2\xEE\xF1\xEA\xF0\xE5\xF1\xE5\xED\xFC\xE5");
  EXPECT_STREQ(monday.DayName(0, 2), "\x82\xAE\xE1\xAA\xE0\xA5\xE1\xA5\xAD\xEC\xA5");
  // Monday's own name in both Russian encodings.
  EXPECT_STREQ(monday.DayName(99, 1), "\xCF\xEE\xED\xE5\xE4\xE5\xEB\xFC\xED\xE8\xEA");
  EXPECT_STREQ(monday.DayName(99, 2), "\x8F\xAE\xAD\xA5\xA4\xA5\xAB\xEC\xAD\xA8\xAA");
  EXPECT_STREQ(monday.DayName(3, -5), "Wednesday");
}

TEST(DateTimeSeconds, ThirdJanuaryIsOneDayInEveryZone) {
  // Each zone is checked to have taken effect: the base instant moves.
  const char* const zones[] = {"UTC0", "JST-9", "PST8PDT", "EST5EDT", "NZST-12", "IST-5:30"};
  long long previousBase = 0;
  for (const char* name : zones) {
    ScopedTimeZone zone(name);
    const long long base = LocalMidnight(1970, 1, 2);
    EXPECT_NE(base, previousBase) << name;
    previousBase = base;
    EXPECT_EQ(DateTime(1970, 1, 3, 0, 0, 0, 0).ToSeconds(), 86400) << name;
    EXPECT_EQ(DateTime(1970, 1, 2, 0, 0, 0, 0).ToSeconds(), 0) << name;
    EXPECT_EQ(DateTime(1970, 1, 2, 0, 0, 1, 0).ToSeconds(), 1) << name;
  }
}

TEST(DateTimeSeconds, RoundTripKeepsAllButTheMilliseconds) {
  const DateTime values[] = {
      DateTime(1971, 1, 2, 0, 0, 0, 0),      DateTime(2004, 2, 29, 12, 34, 56, 789),
      DateTime(2003, 7, 15, 14, 31, 59, 1),  DateTime(2037, 12, 31, 23, 59, 59, 999),
      DateTime(1999, 12, 31, 23, 59, 59, 0),
  };
  for (const char* name : {"UTC0", "EST5EDT", "JST-9"}) {
    ScopedTimeZone zone(name);
    for (const DateTime& value : values) {
      const int32_t count = value.ToSeconds();
      ASSERT_NE(count, DateTime::kNoSeconds) << name << " " << value.CalendarDate::ToString().c_str();
      DateTime back(2010, 1, 1, 0, 0, 0, 555);
      EXPECT_TRUE(back.SetFromSeconds(count));
      EXPECT_EQ(back, DateTime(value.Year(), value.Month(), value.Day(), value.Hour(), value.Minute(),
                               value.Second(), 555))
          << name << " " << count;
      const DateTime fromCount(count);
      EXPECT_EQ(fromCount, DateTime(value.Year(), value.Month(), value.Day(), value.Hour(), value.Minute(),
                                    value.Second(), 0))
          << name << " " << count;
    }
  }
}

TEST(DateTimeSeconds, OutOfTheRuntimeRangeReadsNothingUndefined) {
  ScopedTimeZone zone("JST-9");
  // Local midnight of 1 January 1970 lies before the runtime's epoch here.
  EXPECT_EQ(DateTime(1970, 1, 1, 0, 0, 0, 0).ToSeconds(), DateTime::kNoSeconds);
  EXPECT_EQ(DateTime(1960, 5, 5, 0, 0, 0, 0).ToSeconds(), DateTime::kNoSeconds);
  // A count too large for 32 bits.
  EXPECT_EQ(DateTime(2100, 1, 1, 0, 0, 0, 0).ToSeconds(), DateTime::kNoSeconds);

  DateTime value(2004, 7, 15, 14, 31, 59, 7);
  EXPECT_FALSE(value.SetFromSeconds(-86400));
  EXPECT_EQ(value, DateTime(2004, 7, 15, 14, 31, 59, 7));
  EXPECT_FALSE(value.SetFromSeconds(INT32_MIN));
  EXPECT_EQ(value, DateTime(2004, 7, 15, 14, 31, 59, 7));

  const CalendarDate early(1960, 5, 5);
  EXPECT_EQ(early.DayOfWeek(), -1);
  EXPECT_EQ(early.DayOfYear(), -1);
  EXPECT_STREQ(early.DayName(9, 0), "");
  EXPECT_STREQ(early.DayName(2, 0), "Tuesday");

  // The last count: after 2037 in every zone. A 64-bit time_t holds it; a
  // 32-bit one (msvcrt on i686) ends before, and the value stays as it was.
  DateTime last(2000, 1, 1, 0, 0, 0, 0);
  if (sizeof(time_t) > 4) {
    EXPECT_TRUE(last.SetFromSeconds(INT32_MAX));
    EXPECT_EQ(last.Year(), 2038);
  } else {
    EXPECT_FALSE(last.SetFromSeconds(INT32_MAX));
    EXPECT_EQ(last, DateTime(2000, 1, 1, 0, 0, 0, 0));
  }
}

TEST(DateTimeClock, ConstructorsReadTheClock) {
  const DateTime now;
  EXPECT_TRUE(now.IsValid()) << now.CalendarDate::ToString().c_str() << " "
                             << now.TimeOfDay::ToString().c_str();
  const CalendarDate today;
  // Midnight may pass in between; the date can only move forward.
  EXPECT_LE(now.Date(), today);
  EXPECT_TRUE(TimeOfDay().IsValid());
  const DateTime fromCount(86400);
  EXPECT_EQ(fromCount.Millisecond(), 0);
}

}  // namespace
