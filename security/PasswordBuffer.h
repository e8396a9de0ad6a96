// One typed master password: at most 8 characters and the terminator, as the
// password dialogs read their fields. Zero-filled when made, wiped when it
// goes or is cleared.
#pragma once

#include <windows.h>

#include <cwchar>

struct PasswordBuffer {
  static constexpr int kLength = 9;

  PasswordBuffer() = default;
  PasswordBuffer(const PasswordBuffer&) = delete;
  PasswordBuffer& operator=(const PasswordBuffer&) = delete;
  ~PasswordBuffer() { Clear(); }

  void Clear() { SecureZeroMemory(text, sizeof text); }
  bool Empty() const { return text[0] == L'\0'; }
  // Exact and case-sensitive, code unit by code unit.
  bool Equals(const wchar_t* other) const { return std::wcscmp(text, other) == 0; }

  wchar_t text[kLength] = {};
};
