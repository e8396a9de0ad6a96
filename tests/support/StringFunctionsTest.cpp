#include "support/StringFunctions.h"

#include <gtest/gtest.h>

TEST(FormatString, FollowsTheMicrosoftWideRules) {
  EXPECT_EQ(FormatString(L"%s and %s", L"wide", L"text"), L"wide and text");
  EXPECT_EQ(FormatString(L"%02d", 5), L"05");
  EXPECT_EQ(FormatString(L"%x|%i", 0x1F, -3), L"1f|-3");
}

TEST(FormatString, KeepsResultsUpTo1023CharactersWhole) {
  const std::wstring fits(1023, L'x');
  EXPECT_EQ(FormatString(L"%s", fits.c_str()), fits);
  const std::wstring tooLong(1024, L'x');
  EXPECT_EQ(FormatString(L"%s", tooLong.c_str()), L"");
  EXPECT_EQ(FormatString(L"%s!", fits.c_str()), L"");
}

TEST(FormatString, NullFormatOrNoOutputGivesEmpty) {
  EXPECT_EQ(FormatString(nullptr), L"");
  EXPECT_EQ(FormatString(L""), L"");
  EXPECT_EQ(FormatString(L"%s", L""), L"");
}

TEST(MakeUpper, ChangesOnlyAsciiLetters) {
  // a, Z, _, 9, a with diaeresis, e acute, sharp s: only the first changes,
  // whatever the C runtime's towupper would do with the others.
  std::wstring title = L"aZ_9\u00E4\u00E9\u00DFz";
  MakeUpper(title);
  EXPECT_EQ(title, L"AZ_9\u00E4\u00E9\u00DFZ");
}

TEST(MakeUpper, LeavesEmptyAndAlreadyUpperTextAlone) {
  std::wstring empty;
  MakeUpper(empty);
  EXPECT_EQ(empty, L"");
  std::wstring upper = L"BANK 42";
  MakeUpper(upper);
  EXPECT_EQ(upper, L"BANK 42");
}
