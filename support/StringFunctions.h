// The two wide-string helpers that the other layers share.
#pragma once

#include <string>

// Formats with the Microsoft wide printf rules (%s takes a wide string) into
// a buffer of 1024 characters. A result that would not fit with its
// terminating zero (1024 characters or more) gives the empty string, as does
// a null format or a result of no characters.
std::wstring FormatString(const wchar_t* format, ...);

// Upper-cases a to z in place and nothing else. Titles are ordered by this,
// and the order in which a vault lists its sites must not depend on which
// C runtime or locale the program meets.
void MakeUpper(std::wstring& text);

// MakeUpper's rule for one code unit, for comparisons that fold as they go.
inline wchar_t UpperUnit(wchar_t unit) {
  return unit >= L'a' && unit <= L'z' ? static_cast<wchar_t>(unit - (L'a' - L'A')) : unit;
}
