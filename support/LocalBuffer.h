// Owns a block that a Windows call allocated with LocalAlloc on the caller's
// behalf (FormatMessageW with FORMAT_MESSAGE_ALLOCATE_BUFFER).
#pragma once

#include <windows.h>

class LocalBuffer {
 public:
  LocalBuffer() = default;
  LocalBuffer(const LocalBuffer&) = delete;
  LocalBuffer& operator=(const LocalBuffer&) = delete;
  ~LocalBuffer() {
    if (m_text) LocalFree(m_text);
  }

  // The address to hand to the allocating call.
  wchar_t** Receive() { return &m_text; }
  const wchar_t* Text() const { return m_text; }

 private:
  wchar_t* m_text = nullptr;
};
