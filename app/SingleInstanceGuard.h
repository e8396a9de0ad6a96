// Only one copy of the program runs in a user's session, so that two copies
// never save over each other's vault. The first copy creates a named mutex
// and keeps its handle for the whole run; the mutex is only a marker and
// nobody waits on it. A later copy finds it, brings the first copy's window
// to the front, and ends. The window is the one the first copy left in a
// data section that every process of this program file shares, once it is
// sure to be that copy's (RunningCopyWindow); otherwise it is looked for by
// its class and program file.
#pragma once

#include <windows.h>

#include <string>

// The first copy's main window, once it has one; 0 before. Window handles
// carry their whole value in 32 bits (64-bit Windows keeps them so that
// 32-bit processes can share them), so the slot is one 32-bit value.
LONG ReadSharedMainWindowHandle();
void PublishMainWindowHandle(HWND window);

class SingleInstanceGuard {
 public:
  SingleInstanceGuard() = default;
  SingleInstanceGuard(const SingleInstanceGuard&) = delete;
  SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;
  // Closes the mutex handle: the marker goes when the first copy ends.
  virtual ~SingleInstanceGuard();

  // True when this process is the first copy and may go on. A later copy
  // restores the first copy's window, brings it (or the first copy's own
  // modal dialog over it) to the front, and answers false; when no such
  // window comes within a few seconds, it says that the program is already
  // running.
  bool Check(const std::wstring& className, const std::wstring& suffix);

 private:
  // Null when no window of the first copy came in time.
  static HWND FirstCopyWindow(const std::wstring& className);
  // The first copy's last active popup when the first copy made it, else
  // its main window.
  static HWND OwnPopupOf(HWND window);

  HANDLE m_hMutex = nullptr;
};
