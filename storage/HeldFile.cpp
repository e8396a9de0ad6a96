#include "storage/HeldFile.h"

#include <algorithm>

namespace {

// Short enough that a file released a moment later is taken at once.
constexpr ULONGLONG kRetryStepMs = 50;

bool IsHeld(FileCall kind, DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return true;
  return kind == FileCall::Rename && error == ERROR_ACCESS_DENIED;
}

}  // namespace

DWORD RetryWhileHeld(FileCall kind, const std::function<bool()>& call) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (call()) return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    const ULONGLONG waited = GetTickCount64() - start;
    if (!IsHeld(kind, error) || waited >= kHeldFileWaitMs) return error;
    Sleep(static_cast<DWORD>(std::min(kRetryStepMs, kHeldFileWaitMs - waited)));
  }
}
