#include "tests/common/ProcedureWindow.h"

#include "tests/common/StepFailed.h"

ProcedureWindow::ProcedureWindow(const wchar_t* className, WNDPROC procedure, DWORD style,
                                 HWND parent) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw StepFailed("the window class could not be registered");
  m_window = CreateWindowExW(0, className, L"", style, 0, 0, 100, 100, parent, nullptr,
                             windowClass.hInstance, nullptr);
  if (!m_window) throw StepFailed("the window could not be made");
}

ProcedureWindow::~ProcedureWindow() {
  if (IsWindow(m_window)) DestroyWindow(m_window);
}
