#include "app/SingleInstanceGuard.h"

#include "app/RunningCopyWindow.h"
#include "support/DebugLog.h"
#include "ui/HandleForLog.h"

namespace {

// The section is shared between all processes of this program file (the
// linker marks it so); a copy of the file at another path has its own.
LONG SharedMainWindowHandle __attribute__((section(".shr"), shared)) = 0;

// A first copy that has just made the mutex makes its main window within a
// fraction of a second; a window that has not come by then is not coming.
constexpr DWORD kFirstCopyWaitMs = 5000;
constexpr DWORD kPollMs = 50;

const wchar_t kAlreadyRunning[] = L"Keyfolio for Flash Drives is already running.";
const wchar_t kCaption[] = L"Keyfolio for Flash Drives";

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

  HWND window = FirstCopyWindow(className);
  DebugLog(L"SingleInstanceGuard::Check: another copy runs, window %i", HandleForLog(window));
  if (!window) {
    // Ending without a word would leave the person wondering why nothing
    // opened.
    MessageBoxW(nullptr, kAlreadyRunning, kCaption, MB_OK | MB_ICONINFORMATION);
    return false;
  }
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  // A disabled main window has a modal dialog over it, the master password
  // check perhaps: that dialog comes forward, and the window stays disabled.
  // Enabling it would let the user reach the sites past the dialog.
  SetForegroundWindow(OwnPopupOf(window));
  return false;
}

// Any process may make a window owned by the first copy's main window, a
// question that passes itself off as the program's: the popup comes forward
// only when it belongs to the first copy itself.
HWND SingleInstanceGuard::OwnPopupOf(HWND window) {
  HWND popup = GetLastActivePopup(window);
  DWORD windowProcess = 0, popupProcess = 0;
  GetWindowThreadProcessId(window, &windowProcess);
  GetWindowThreadProcessId(popup, &popupProcess);
  return windowProcess != 0 && popupProcess == windowProcess ? popup : window;
}

// The published handle is taken only when it is the first copy's window,
// not one that another process wrote into the slot. A first copy that is
// still starting has published nothing yet, and its window is looked for
// until it comes.
HWND SingleInstanceGuard::FirstCopyWindow(const std::wstring& className) {
  const RunningCopyWindow firstCopy(className);
  const DWORD start = GetTickCount();
  for (;;) {
    HWND published = static_cast<HWND>(LongToHandle(ReadSharedMainWindowHandle()));
    if (firstCopy.IsMainWindow(published)) return published;
    if (HWND found = firstCopy.Find()) return found;
    if (GetTickCount() - start >= kFirstCopyWaitMs) return nullptr;
    Sleep(kPollMs);
  }
}
