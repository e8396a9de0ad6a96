#include "storage/HeldFile.h"

#include <algorithm>

#include "support/DebugLog.h"

namespace {

bool IsHeld(FileCall kind, DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
  return kind == FileCall::Rename && error == ERROR_ACCESS_DENIED;
}

}  // namespace

const RetryClock& SystemClock() {
  static const RetryClock clock{[] { return GetTickCount64(); }, [](DWORD ms) { Sleep(ms); }};
  return clock;
}

DWORD RetryWhileHeld(FileCall kind, const std::function<bool()>& call, const RetryClock& clock) {
  const ULONGLONG start = clock.now();
  for (int attempt = 1;; ++attempt) {
    if (call()) {
      if (attempt > 1) DebugLog(L"RetryWhileHeld: free at attempt %i", attempt);
      return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    if (!IsHeld(kind, error)) return error;
    const ULONGLONG waited = clock.now() - start;
    if (waited >= kHeldFileWaitMs) {
      DebugLog(L"RetryWhileHeld: still held after %i attempts, error %lu", attempt, error);
      return error;
    }
    if (attempt == 1) DebugLog(L"RetryWhileHeld: held, error %lu; waiting", error);
    clock.pause(static_cast<DWORD>(std::min<ULONGLONG>(kHeldFileRetryStepMs, kHeldFileWaitMs - waited)));
  }
}
