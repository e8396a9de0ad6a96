// Passwords pass through ordinary strings; a string that held one is wiped
// before its memory goes back to the heap.
#pragma once

#include <windows.h>

#include <string>

inline void SecureWipe(std::wstring& text) {
  if (!text.empty()) SecureZeroMemory(&text[0], text.size() * sizeof(wchar_t));
  text.clear();
}

// Wipes a string of the caller's when the scope ends, on every exit path.
class ScopedWipe {
 public:
  explicit ScopedWipe(std::wstring& text) : m_text(text) {}
  ScopedWipe(const ScopedWipe&) = delete;
  ScopedWipe& operator=(const ScopedWipe&) = delete;
  ~ScopedWipe() { SecureWipe(m_text); }

 private:
  std::wstring& m_text;
};
