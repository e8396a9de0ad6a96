// The raw bytes of one of this test program's own resources, as the
// resource compiler laid them out: the tests read them against the tables
// of the formats, beside what the system's loaders make of them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Empty when the module has no such resource.
std::vector<unsigned char> ModuleResource(LPCWSTR name, LPCWSTR type);

// A little-endian number at `offset`, of the width of T.
template <typename T>
T ReadLittle(const std::vector<unsigned char>& bytes, size_t offset) {
  T value = 0;
  for (size_t i = sizeof(T); i-- > 0;) value = static_cast<T>(value << 8 | bytes.at(offset + i));
  return value;
}

// The zero-terminated UTF-16 text at `offset`; `offset` moves past its end.
std::wstring ReadWideText(const std::vector<unsigned char>& bytes, size_t& offset);
