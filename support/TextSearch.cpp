#include "support/TextSearch.h"

#include <windows.h>

#include <algorithm>
#include <array>

#include "support/DebugLog.h"

namespace {

constexpr size_t kUnits = 0x10000;
constexpr wchar_t kFirstSurrogate = 0xD800;
constexpr wchar_t kAfterSurrogates = 0xE000;

using FoldTable = std::array<wchar_t, kUnits>;

// Upper-cases the units [first, end) of the table in one call. The invariant
// locale without LCMAP_LINGUISTIC_CASING is the system's own table, the one
// that CompareStringOrdinal ignores case by; upper and lower case map one
// unit to one unit, so the output lines up with the input.
void UpperCaseRange(FoldTable& table, size_t first, size_t end) {
  const int count = static_cast<int>(end - first);
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, &table[first], count, &table[first],
                    count, nullptr, nullptr, 0) != count)
    DebugLog(L"TextSearch: units %x to %x keep their case", static_cast<int>(first),
             static_cast<int>(end - 1));
}

FoldTable MakeFoldTable() {
  FoldTable table;
  for (size_t unit = 0; unit < kUnits; ++unit) table[unit] = static_cast<wchar_t>(unit);
  // Surrogates alone are no characters and have no case: they stay, and so
  // the ranges around them go to the system on their own. Unit 0 stays too.
  UpperCaseRange(table, 1, kFirstSurrogate);
  UpperCaseRange(table, kAfterSurrogates, kUnits);
  return table;
}

const FoldTable& Table() {
  static const FoldTable table = MakeFoldTable();
  return table;
}

}  // namespace

wchar_t TextSearch::Fold(wchar_t unit) {
  return Table()[unit];
}

TextSearch::TextSearch(const std::wstring& text) : m_folded(text) {
  for (wchar_t& unit : m_folded) unit = Fold(unit);
}

bool TextSearch::FoundIn(const std::wstring& text) const {
  // std::search finds an empty text only in a text that is not empty.
  if (m_folded.empty()) return true;
  const FoldTable& table = Table();
  return std::search(text.begin(), text.end(), m_folded.begin(), m_folded.end(),
                     [&table](wchar_t unit, wchar_t folded) { return table[unit] == folded; }) !=
         text.end();
}
