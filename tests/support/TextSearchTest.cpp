#include "support/TextSearch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (const wchar_t unit : text) {
    char hex[8];
    std::snprintf(hex, sizeof hex, unit < 0x80 ? "%c" : "<%04X>", unit);
    narrow += hex;
  }
  return narrow;
}

// Case, in every script the system's table knows, and nothing else: an
// accent is a letter of its own, a ligature is one letter, a decomposed
// letter is not its composed form, punctuation counts.
TEST(TextSearch, IgnoresCaseAndNothingElse) {
  struct Case {
    std::wstring search;
    std::wstring text;
    bool found;
  };
  const Case cases[] = {
      {L"bank", L"Bluefin Bank", true},
      {L"BANK", L"my bank account", true},
      {L"ank", L"Bank", true},
      {L"\u00E9", L"CAF\u00C9", true},            // é finds É
      {L"\u00C9t\u00E9", L"\u00E9T\u00C9", true},  // and the other way round
      {L"\u043F\u043E\u0447\u0442\u0430", L"\u041F\u041E\u0427\u0422\u0410", true},  // Cyrillic
      {L"\u03C3\u03BF\u03C6", L"\u03A3\u039F\u03A6\u0399\u0391", true},                // Greek
      {L"cafe", L"Caf\u00E9", false},       // no accent dropped
      {L"\u00E9", L"e\u0301", false},        // no composition
      {L"ae", L"\u00E6", false},             // no ligature split
      {L"ss", L"stra\u00DFe", false},        // no sharp s expanded
      {L"coop", L"co-op", false},            // no punctuation skipped
      {L"aab", L"aaab", true},               // a false start is taken up again
      {L"banking", L"bank", false},
      {L"\U00010400", L"x\U00010400y", true},  // a surrogate pair as it stands
      {L"", L"", true},
      {L"", L"anything", true},
      {L"x", L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.search) + " in " + Narrow(c.text));
    EXPECT_EQ(TextSearch(c.search).FoundIn(c.text), c.found);
  }
}

// The Windows contract the search keeps: two units are one to it exactly
// when CompareStringOrdinal ignoring case finds them equal, for every unit
// that is not a surrogate. Ordering the units by their folded form, every
// unit must compare equal to the next one when the two fold alike and less
// when they do not: the system's relation is an order, so agreeing on every
// neighbour is agreeing on every pair. LCMapStringEx makes the table and
// CompareStringOrdinal is another road to the system's upper case: should
// the two ever part, this names the units where they do.
TEST(TextSearch, FoldsAsCompareStringOrdinalIgnoresCase) {
  std::vector<wchar_t> units;
  for (unsigned unit = 1; unit < 0x10000; ++unit)
    if (unit < 0xD800 || unit >= 0xE000) units.push_back(static_cast<wchar_t>(unit));
  std::sort(units.begin(), units.end(), [](wchar_t a, wchar_t b) {
    return TextSearch::Fold(a) != TextSearch::Fold(b) ? TextSearch::Fold(a) < TextSearch::Fold(b)
                                                      : a < b;
  });
  int disagreements = 0;
  for (size_t i = 0; i + 1 < units.size() && disagreements < 10; ++i) {
    const wchar_t a = units[i], b = units[i + 1];
    const int expected = TextSearch::Fold(a) == TextSearch::Fold(b) ? CSTR_EQUAL : CSTR_LESS_THAN;
    if (CompareStringOrdinal(&a, 1, &b, 1, TRUE) != expected) {
      ADD_FAILURE() << std::hex << "units " << static_cast<unsigned>(a) << " and "
                    << static_cast<unsigned>(b) << " fold to "
                    << static_cast<unsigned>(TextSearch::Fold(a)) << " and "
                    << static_cast<unsigned>(TextSearch::Fold(b));
      ++disagreements;
    }
  }
  EXPECT_EQ(TextSearch::Fold(L'\u00E9'), L'\u00C9');
  EXPECT_EQ(TextSearch::Fold(L'\xD801'), L'\xD801');
}

}  // namespace
