// A window of the test's own thread whose messages go to a procedure of the
// test's, for a test that watches what reaches a window; destroyed with the
// object.
#pragma once

#include <windows.h>

class ProcedureWindow {
 public:
  // Registers `className` for `procedure` (once per test program) and makes
  // a window of it. Throws StepFailed when it cannot be made.
  ProcedureWindow(const wchar_t* className, WNDPROC procedure, DWORD style = WS_POPUP,
                  HWND parent = nullptr);
  ProcedureWindow(const ProcedureWindow&) = delete;
  ProcedureWindow& operator=(const ProcedureWindow&) = delete;
  ~ProcedureWindow();

  HWND Get() const { return m_window; }

 private:
  HWND m_window = nullptr;
};
