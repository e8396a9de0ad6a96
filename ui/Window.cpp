#include "ui/Window.h"

#include <windowsx.h>

#include "support/DebugLog.h"
#include "ui/ForeignNotify.h"
#include "ui/HandleForLog.h"
#include "ui/InstanceSubclasser.h"

Window::~Window() {
  // A window the registry let go is no longer named here; the check covers
  // a handle set without binding (the labels) whose window went with its
  // parent.
  if (IsWindow(m_hWnd)) {
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  }
}

void Window::AttachHWND(HWND hWnd) {
  if (!IsWindow(hWnd)) {
    DebugLog(L"Window::AttachHWND: Not a window handle");
    return;
  }
  m_hWnd = hWnd;
  InstanceSubclasser::GetInstance().Subclass(hWnd, FrameworkWndProc, this);
}

void Window::DetachHWND(HWND hWnd) {
  if (m_hWnd == hWnd) m_hWnd = nullptr;
}

LRESULT Window::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT Window::Forward(UINT message, WPARAM wParam, LPARAM lParam) {
  return InstanceSubclasser::GetInstance().CallOldProc(m_hWnd, message, wParam, lParam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      OnDestroy();
      break;
    case WM_KILLFOCUS:
      OnKillFocus();
      break;
    case WM_SYSCOLORCHANGE:
      OnSysColorChange();
      break;
    // A timer without a callback of its own comes to the window; one with a
    // callback never reaches a window procedure (DispatchMessageW calls the
    // callback instead).
    case WM_TIMER:
      OnTimer(static_cast<UINT>(wParam));
      break;
    case WM_SETTINGCHANGE:
      onSettingChange(reinterpret_cast<const wchar_t*>(lParam));
      break;
    case WM_NOTIFY:
      return OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam));
    case WM_KEYDOWN:
      wParam = OnKeyDown(LOWORD(wParam), static_cast<LONG>(lParam));
      break;
    case WM_CHAR:
      wParam = OnChar(static_cast<wchar_t>(LOWORD(wParam)), static_cast<LONG>(lParam));
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // GET_X_LPARAM/GET_Y_LPARAM take the words as signed: a captured mouse
      // left of or above the client area gives negative coordinates.
      OnLButtonDown(message == WM_LBUTTONDBLCLK, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                    static_cast<UINT>(wParam));
      break;
    default:
      break;
  }
  return Forward(message, wParam, lParam);
}

HWND Window::SetFocus() {
  return ::SetFocus(m_hWnd);
}

void Window::onSettingChange(const wchar_t* section) {
  DebugLog(L"WindowBaseClass::onSettingChange: pszSection %s", section ? section : L"(null)");
}

// The header is traced only when it is this thread's (ui/ForeignNotify.h),
// and forwarded as it came.
LRESULT Window::OnNotify(int id, NMHDR* header) {
  DebugLog(L"WindowBaseClass::OnNotify: m_hWnd %i", HandleForLog(m_hWnd));
  if (const NMHDR* own = NotifyHeaderForLog(reinterpret_cast<LPARAM>(header)))
    DebugLog(L"WindowBaseClass::OnNotify: hwndFrom %i idFrom %i code %x",
             HandleForLog(own->hwndFrom), static_cast<int>(own->idFrom), own->code);
  return Forward(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(header));
}

void Window::OnLButtonDown(bool doubleClick, int x, int y, UINT keyFlags) {
  DebugLog(L"WindowBaseClass::OnLButtonDown: fDoubleClick %i x %i y %i keyFlags %i",
           doubleClick ? 1 : 0, x, y, static_cast<int>(keyFlags));
}

void Window::OnSysColorChange() {
  DebugLog(L"WindowBaseClass::OnSysColorChange: ");
}

void Window::OnTimer(UINT id) {
  DebugLog(L"WindowBaseClass::OnTimer: id %i", static_cast<int>(id));
}

wchar_t Window::OnChar(wchar_t charCode, LONG keyData) {
  DebugLog(L"WindowBaseClass::OnChar: m_hWnd %i  chCharCode %i lKeyData %i", HandleForLog(m_hWnd),
           static_cast<int>(charCode), static_cast<int>(keyData));
  return charCode;
}

WORD Window::OnKeyDown(WORD keyCode, LONG keyData) {
  DebugLog(L"WindowBaseClass::OnKeyDown: m_hWnd %i  chCharCode %i lKeyData %i",
           HandleForLog(m_hWnd), static_cast<int>(keyCode), static_cast<int>(keyData));
  return keyCode;
}
