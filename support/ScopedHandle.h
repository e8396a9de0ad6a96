// Owns a kernel handle (a file, for the most part) and closes it when it goes
// out of scope, so that no exit path of the file code leaves a file open.
#pragma once

#include <windows.h>

class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : m_handle(handle) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ~ScopedHandle() { Close(); }

  // Takes ownership of another handle, closing the one held before.
  void Reset(HANDLE handle) {
    Close();
    m_handle = handle;
  }

  HANDLE Get() const { return m_handle; }
  bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }

  // CloseHandle's result: false when the system reported a failure. An
  // invalid handle closes trivially.
  bool Close() {
    if (!IsValid()) return true;
    const BOOL closed = CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    return closed != FALSE;
  }

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
};
