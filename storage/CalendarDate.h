// A site's date stamps are local calendar dates written out in words
// ("Saturday, December 05, 2026"). They are only stored and carried, never
// parsed back, so the text form is the whole contract.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

class CalendarDate {
 public:
  // Today, from the local clock.
  CalendarDate();
  // The local date of `moment`. A moment the C runtime cannot convert (a
  // clock set before 1970 or far beyond 3000) gives 1 January 1970, the
  // first date it knows, so that a stamp is always a valid date.
  explicit CalendarDate(time_t moment);
  CalendarDate(int32_t year, int32_t month, int32_t day);
  virtual ~CalendarDate() = default;

  // Year 0 or later, month 1 to 12, day within that month (Gregorian leap
  // years).
  bool IsValid() const;
  // The Julian day number; 1 January 2000 is 2451545.
  static int32_t DayNumber(int32_t month, int32_t day, int32_t year);
  // 0 is Sunday, 6 Saturday.
  int32_t DayOfWeek() const;
  // "%s, %s %02d, %04d": weekday, month name, day, year. Also kept in the
  // object.
  std::wstring FormatLongDate();

 private:
  int32_t m_Year;
  int32_t m_Month;
  int32_t m_Day;
  int32_t m_DayNumber;
  std::wstring m_Text;
};
