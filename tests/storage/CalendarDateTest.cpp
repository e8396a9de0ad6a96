#include "storage/CalendarDate.h"

#include <cstdint>
#include <ctime>
#include <regex>

#include <gtest/gtest.h>

TEST(CalendarDate, LongStampOfFixedDates) {
  const struct {
    int year, month, day;
    const wchar_t* stamp;
  } cases[] = {
      {2026, 12, 5, L"Saturday, December 05, 2026"},
      {2024, 2, 29, L"Thursday, February 29, 2024"},
      {2000, 1, 1, L"Saturday, January 01, 2000"},
      {1999, 12, 31, L"Friday, December 31, 1999"},
      {2026, 3, 1, L"Sunday, March 01, 2026"},
      {2025, 6, 30, L"Monday, June 30, 2025"},
      {2026, 11, 17, L"Tuesday, November 17, 2026"},
      {999, 7, 9, L"Tuesday, July 09, 0999"},
  };
  for (const auto& c : cases) {
    CalendarDate date(c.year, c.month, c.day);
    EXPECT_EQ(date.FormatLongDate(), c.stamp);
  }
}

TEST(CalendarDate, DayNumberAndWeekday) {
  EXPECT_EQ(CalendarDate::DayNumber(1, 1, 2000), 2451545);
  EXPECT_EQ(CalendarDate::DayNumber(12, 31, 1999), 2451544);
  EXPECT_EQ(CalendarDate::DayNumber(3, 1, 2024) - CalendarDate::DayNumber(2, 28, 2024), 2);
  EXPECT_EQ(CalendarDate(2000, 1, 1).DayOfWeek(), 6);
  EXPECT_EQ(CalendarDate(2026, 12, 6).DayOfWeek(), 0);
}

TEST(CalendarDate, Validity) {
  const struct {
    int year, month, day;
    bool valid;
  } cases[] = {
      {1900, 2, 29, false}, {2000, 2, 29, true},  {2024, 2, 29, true}, {2023, 2, 29, false},
      {2023, 2, 28, true},  {2026, 4, 31, false}, {2026, 12, 31, true}, {2026, 0, 1, false},
      {2026, 13, 1, false}, {2026, 1, 0, false},  {-1, 1, 1, false},   {0, 1, 1, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CalendarDate(c.year, c.month, c.day).IsValid(), c.valid)
        << c.year << "-" << c.month << "-" << c.day;
}

TEST(CalendarDate, InvalidMonthFormatsWithoutReadingOutsideTheNames) {
  // Month 13 of 2026 counts as January 2027 for the weekday.
  EXPECT_EQ(CalendarDate(2026, 13, 1).FormatLongDate(), L"Friday,  01, 2026");
}

TEST(CalendarDate, TodayIsAValidDateInTheLongForm) {
  CalendarDate today;
  EXPECT_TRUE(today.IsValid());
  const std::wstring stamp = today.FormatLongDate();
  EXPECT_TRUE(std::regex_match(stamp, std::wregex(L"[A-Z][a-z]+day, [A-Z][a-z]+ [0-3][0-9], [0-9]{4}")))
      << std::string(stamp.begin(), stamp.end());
}

TEST(CalendarDate, MomentsTheRuntimeCannotConvertGiveTheFirstOfJanuary1970) {
  const struct {
    time_t moment;
    const char* what;
  } cases[] = {
      {-1, "a failed time()"},
      {-86400 * 365, "a clock set to 1969"},
      {INT64_MAX, "the far end of time_t"},
  };
  for (const auto& c : cases) {
    CalendarDate date(c.moment);
    EXPECT_TRUE(date.IsValid()) << c.what;
    EXPECT_EQ(date.FormatLongDate(), L"Thursday, January 01, 1970") << c.what;
  }
  // Noon UTC: the 5th in every zone within eleven hours of UTC.
  EXPECT_EQ(CalendarDate(static_cast<time_t>(1796472000)).FormatLongDate(),
            L"Saturday, December 05, 2026");
}
