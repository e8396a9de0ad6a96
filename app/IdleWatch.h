// Notices that the person has walked away: a time without keyboard or mouse
// input anywhere in the session, as Windows counts it (GetLastInputInfo),
// not only in this program, so that someone at work in another program is
// never locked out. One timer on the main window, set each time for the
// moment at which the limit would be reached if no input came; the input
// that came meanwhile moves that moment on. Like the clipboard's clearing
// time, the limit can be shortened by a test.
#pragma once

#include <windows.h>

#include <functional>

class IdleWatch {
 public:
  // Ten minutes without input.
  static constexpr DWORD kIdleLimitMs = 10 * 60 * 1000;

  static IdleWatch& GetInstance();
  IdleWatch(const IdleWatch&) = delete;
  IdleWatch& operator=(const IdleWatch&) = delete;
  virtual ~IdleWatch() = default;

  // From now on `onIdle` runs each time the session has been without input
  // for the limit, and again after each further limit without input;
  // `window` carries the timer, for as long as it lives.
  void Start(HWND window, std::function<void()> onIdle);

  // For tests: a shorter time without input; before Start.
  void SetIdleLimit(DWORD milliseconds) { m_LimitMs = milliseconds; }

 private:
  IdleWatch() = default;
  void Check(HWND window);
  static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

  DWORD m_LimitMs = kIdleLimitMs;
  std::function<void()> m_OnIdle;
};
