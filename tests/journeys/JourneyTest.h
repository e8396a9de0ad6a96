// The fixture of the journeys: a person's days with the program, each on a
// fresh flash drive, driven from outside as ProgramTest drives it. The first
// day is a member, because the footprint test walks it again.
#pragma once

#include <string>

#include "tests/program/ProgramTest.h"

class JourneyTest : public ProgramTest {
 protected:
  // From a drive with nothing but the program: the master password made
  // (one mismatch on the way), three sites added (one with a generated
  // password), the program closed; started again, a wrong password, then
  // the right one; the sites as typed. Ends with the program closed.
  void FirstDay();

  // True when `stamp` is the program's stamp of a day this test ran on: a
  // journey that crosses midnight has two.
  bool IsToday(const std::wstring& stamp) const;

  static constexpr wchar_t kFirstDayPassword[] = L"Tulip#42";

 private:
  const std::wstring m_firstDay = TodaysStamp();

  static std::wstring TodaysStamp();
};

// The texts of a site as typed, with the key and the dates the vault gives it.
SiteFields Stored(const SiteEntry& entry, int32_t key, const std::wstring& created,
                  const std::wstring& modified);
