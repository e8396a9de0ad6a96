#include "app/IdleWatch.h"

#include <algorithm>

#include "support/DebugLog.h"
#include "ui/ProcedureGuard.h"

namespace {

constexpr UINT_PTR kIdleTimerId = 0x4B49;

void SetIdleTimer(HWND window, DWORD milliseconds, TIMERPROC callback) {
  const UINT delay = std::max<DWORD>(milliseconds, USER_TIMER_MINIMUM);
  if (!SetTimer(window, kIdleTimerId, delay, callback))
    DebugLog(L"IdleWatch: no timer, error %i", static_cast<int>(GetLastError()));
}

}  // namespace

IdleWatch& IdleWatch::GetInstance() {
  static IdleWatch instance;
  return instance;
}

void IdleWatch::Start(HWND window, std::function<void()> onIdle) {
  m_OnIdle = std::move(onIdle);
  SetIdleTimer(window, m_LimitMs, OnTimer);
}

// The tick counts are unsigned: their difference is the time between them
// also when the count wrapped round (every 49.7 days) since the input. A
// session whose last input cannot be had counts as in use.
void IdleWatch::Check(HWND window) {
  LASTINPUTINFO input = {sizeof input, 0};
  const DWORD idle = GetLastInputInfo(&input) ? GetTickCount() - input.dwTime : 0;
  if (idle < m_LimitMs) {
    SetIdleTimer(window, m_LimitMs - idle, OnTimer);
    return;
  }
  SetIdleTimer(window, m_LimitMs, OnTimer);
  m_OnIdle();
}

// DispatchMessageW calls a timer's callback itself, past every window
// procedure's guard. The timer is set again before anything can throw.
void CALLBACK IdleWatch::OnTimer(HWND window, UINT message, UINT_PTR, DWORD) {
  GuardProcedure(
      L"IdleWatch::OnTimer", message,
      [&]() -> LRESULT {
        GetInstance().Check(window);
        return 0;
      },
      []() -> LRESULT { return 0; });
}
