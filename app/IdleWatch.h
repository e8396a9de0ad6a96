// Notices that the person has walked away: a time without keyboard or mouse
// input anywhere in the session, as Windows counts it (GetLastInputInfo),
// not only in this program, so that someone at work in another program is
// never locked out. One timer on the window that it is started on, set each
// time for the moment at which the limit would be reached if no input came;
// the input that came meanwhile moves that moment on. Like the clipboard's
// clearing time, the limit can be shortened by a test.
#pragma once

#include <windows.h>

#include <functional>

class IdleWatch {
 public:
  // Ten minutes without input.
  static constexpr DWORD kIdleLimitMs = 10 * 60 * 1000;

  IdleWatch() = default;
  IdleWatch(const IdleWatch&) = delete;
  IdleWatch& operator=(const IdleWatch&) = delete;
  // The timer goes with the watch.
  virtual ~IdleWatch();

  // From now on `onIdle` runs each time the session has been without input
  // for the limit, and again after each further limit without input;
  // `window` carries the timer, for as long as both live.
  void Start(HWND window, std::function<void()> onIdle);

  // For tests: a shorter time without input; before Start.
  void SetIdleLimit(DWORD milliseconds) { m_LimitMs = milliseconds; }

 private:
  void SetTimerFor(DWORD milliseconds);
  void Check();
  static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

  DWORD m_LimitMs = kIdleLimitMs;
  HWND m_Window = nullptr;
  std::function<void()> m_OnIdle;
};
