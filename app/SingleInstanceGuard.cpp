#include "app/SingleInstanceGuard.h"

#include "support/DebugLog.h"

namespace {

// The section is shared between all processes of this program file (the
// linker marks it so); a copy of the file at another path has its own.
LONG SharedMainWindowHandle __attribute__((section(".shr"), shared)) = 0;

}  // namespace

LONG ReadSharedMainWindowHandle() {
  return InterlockedCompareExchange(&SharedMainWindowHandle, 0, 0);
}

void PublishMainWindowHandle(HWND window) {
  InterlockedExchange(&SharedMainWindowHandle, HandleToLong(window));
}

SingleInstanceGuard::~SingleInstanceGuard() {
  if (m_hMutex) CloseHandle(m_hMutex);
}

bool SingleInstanceGuard::Check(const std::wstring& className, const std::wstring& suffix) {
  const std::wstring name = className + suffix;
  m_hMutex = CreateMutexW(nullptr, TRUE, name.c_str());
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  if (m_hMutex) ReleaseMutex(m_hMutex);
  if (!existed) return true;

  // A first copy still starting has not published its window: nothing to
  // bring forward, and this copy simply ends.
  const LONG published = ReadSharedMainWindowHandle();
  DebugLog(L"SingleInstanceGuard::Check: another copy runs, window %i", static_cast<int>(published));
  if (published == 0) return false;
  HWND window = static_cast<HWND>(LongToHandle(published));
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  // A disabled main window has a modal dialog over it, the master password
  // check perhaps: that dialog comes forward, and the window stays disabled.
  // Enabling it would let the user reach the sites past the dialog.
  SetForegroundWindow(GetLastActivePopup(window));
  return false;
}
