#include "app/IdleWatch.h"

#include <algorithm>

#include "support/DebugLog.h"
#include "ui/ProcedureGuard.h"

IdleWatch::~IdleWatch() {
  if (m_Window) KillTimer(m_Window, reinterpret_cast<UINT_PTR>(this));
}

void IdleWatch::Start(HWND window, std::function<void()> onIdle) {
  m_Window = window;
  m_OnIdle = std::move(onIdle);
  SetTimerFor(m_LimitMs);
}

// A timer's callback is told only the window and the timer's id: the id is
// the watch's address, which no other timer of the window can have (theirs
// are small numbers).
void IdleWatch::SetTimerFor(DWORD milliseconds) {
  const UINT delay = std::max<DWORD>(milliseconds, USER_TIMER_MINIMUM);
  if (!SetTimer(m_Window, reinterpret_cast<UINT_PTR>(this), delay, OnTimer))
    DebugLog(L"IdleWatch: no timer, error %i", static_cast<int>(GetLastError()));
}

// The tick counts are unsigned: their difference is the time between them
// also when the count wrapped round (every 49.7 days) since the input. A
// session whose last input cannot be had counts as in use.
void IdleWatch::Check() {
  LASTINPUTINFO input = {sizeof input, 0};
  const DWORD idle = GetLastInputInfo(&input) ? GetTickCount() - input.dwTime : 0;
  if (idle < m_LimitMs) {
    SetTimerFor(m_LimitMs - idle);
    return;
  }
  SetTimerFor(m_LimitMs);
  m_OnIdle();
}

// DispatchMessageW calls a timer's callback itself, past every window
// procedure's guard. The timer is set again before anything can throw.
void CALLBACK IdleWatch::OnTimer(HWND, UINT message, UINT_PTR id, DWORD) {
  GuardProcedure(
      L"IdleWatch::OnTimer", message,
      [&]() -> LRESULT {
        reinterpret_cast<IdleWatch*>(id)->Check();
        return 0;
      },
      []() -> LRESULT { return 0; });
}
