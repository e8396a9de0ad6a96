#include "app/SessionLockWatch.h"

#include <wtsapi32.h>

#include "support/DebugLog.h"
#include "support/SystemLibrary.h"

namespace {

const wchar_t kWtsApi[] = L"wtsapi32.dll";

}  // namespace

bool WatchSessionLock(HWND window) {
  const auto watch = SystemLibrary::Function<decltype(&WTSRegisterSessionNotification)>(
      kWtsApi, "WTSRegisterSessionNotification");
  if (watch && watch(window, NOTIFY_FOR_THIS_SESSION)) return true;
  DebugLog(L"WatchSessionLock: not registered, error %i", static_cast<int>(GetLastError()));
  return false;
}

void StopWatchingSessionLock(HWND window) {
  const auto stop = SystemLibrary::Function<decltype(&WTSUnRegisterSessionNotification)>(
      kWtsApi, "WTSUnRegisterSessionNotification");
  if (stop) stop(window);
}
