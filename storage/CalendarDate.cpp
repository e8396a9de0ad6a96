#include "storage/CalendarDate.h"

#include <ctime>

#include "support/StringFunctions.h"

namespace {

const wchar_t* const kWeekdays[7] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                     L"Thursday", L"Friday", L"Saturday"};

const wchar_t* const kMonths[13] = {L"",        L"January",  L"February", L"March",  L"April",
                                    L"May",     L"June",     L"July",     L"August", L"September",
                                    L"October", L"November", L"December"};

bool IsLeapYear(int32_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

CalendarDate::CalendarDate() : CalendarDate(time(nullptr)) {}

CalendarDate::CalendarDate(time_t moment) : m_Year(1970), m_Month(1), m_Day(1) {
  // localtime_s fills `local` or, for a moment out of its range (and for the
  // -1 that a failed time() returns), reports EINVAL where localtime would
  // return a null pointer.
  tm local = {};
  if (localtime_s(&local, &moment) == 0) {
    m_Year = local.tm_year + 1900;
    m_Month = local.tm_mon + 1;
    m_Day = local.tm_mday;
  }
  m_DayNumber = DayNumber(m_Month, m_Day, m_Year);
}

CalendarDate::CalendarDate(int32_t year, int32_t month, int32_t day)
    : m_Year(year), m_Month(month), m_Day(day), m_DayNumber(DayNumber(month, day, year)) {}

bool CalendarDate::IsValid() const {
  static const int32_t kMonthLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m_Year < 0 || m_Month < 1 || m_Month > 12 || m_Day < 1) return false;
  const int32_t length = kMonthLengths[m_Month - 1] + (m_Month == 2 && IsLeapYear(m_Year) ? 1 : 0);
  return m_Day <= length;
}

int32_t CalendarDate::DayNumber(int32_t month, int32_t day, int32_t year) {
  if (month < 3) {
    month += 12;
    year -= 1;
  }
  return day + (153 * month - 457) / 5 + 365 * year + year / 4 - year / 100 + year / 400 + 1721119;
}

int32_t CalendarDate::DayOfWeek() const {
  return static_cast<int32_t>(m_DayNumber + 1.5) % 7;
}

std::wstring CalendarDate::FormatLongDate() {
  // Only a date made from numbers can be out of range; its names stay empty
  // rather than reading outside the tables.
  const int32_t weekday = DayOfWeek();
  const wchar_t* weekdayName = weekday >= 0 && weekday < 7 ? kWeekdays[weekday] : L"";
  const wchar_t* monthName = m_Month >= 1 && m_Month <= 12 ? kMonths[m_Month] : L"";
  m_Text = FormatString(L"%s, %s %02d, %04d", weekdayName, monthName, m_Day, m_Year);
  return m_Text;
}
