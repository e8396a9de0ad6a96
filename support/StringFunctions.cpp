#include "support/StringFunctions.h"

#include <cstdarg>
#include <cstdio>

std::wstring FormatString(const wchar_t* format, ...) {
  if (!format) return std::wstring();
  constexpr size_t kCapacity = 1024;
  wchar_t buffer[kCapacity] = {};
  va_list args;
  va_start(args, format);
  // Returns the count written, or -1 when the text was cut; a text of
  // exactly kCapacity characters comes back as kCapacity with no terminator.
  const int count = _vsnwprintf(buffer, kCapacity, format, args);
  va_end(args);
  if (count <= 0 || static_cast<size_t>(count) >= kCapacity) return std::wstring();
  return std::wstring(buffer, static_cast<size_t>(count));
}

void MakeUpper(std::wstring& text) {
  for (wchar_t& unit : text) unit = UpperUnit(unit);
}
