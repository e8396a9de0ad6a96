#include "app/WndProcMessagesBase.h"

#include "app/Editor.h"
#include "support/DebugLog.h"
#include "ui/ForeignNotify.h"
#include "ui/HandleForLog.h"

LRESULT WndProcMessagesBase::WM_Command(HWND, WPARAM, LPARAM) {
  return 0;
}

LRESULT WndProcMessagesBase::WM_Create(HWND hWnd, WPARAM, LPARAM) {
  DebugLog(L"WndProcMessagesBase::WM_Create  hWnd %i", HandleForLog(hWnd));
  return 0;
}

LRESULT WndProcMessagesBase::WM_SetFocus(HWND, WPARAM, LPARAM) {
  return 0;
}

LRESULT WndProcMessagesBase::WM_DrawItem(HWND, WPARAM, LPARAM) {
  return 1;
}

// The trace line is all the main window does with a notification, so one
// from another process, whose address means nothing here, is not read.
LRESULT WndProcMessagesBase::WM_Notify(HWND, WPARAM, LPARAM lParam) {
  if (const NMHDR* header = NotifyHeaderForLog(lParam))
    DebugLog(L"WndProcMessagesBase::WM_Notify: hwndFrom %i idFrom %i code %x",
             HandleForLog(header->hwndFrom), static_cast<int>(header->idFrom), header->code);
  return 0;
}

LRESULT WndProcMessagesBase::WM_Paint(HWND hWnd, WPARAM, LPARAM) {
  BeginPaint(hWnd, &m_ps);
  EndPaint(hWnd, &m_ps);
  return 0;
}

LRESULT WndProcMessagesBase::WM_Close(HWND hWnd, WPARAM, LPARAM) {
  DebugLog(L"WndProcMessagesBase::WM_Close");
  DestroyWindow(hWnd);
  return 0;
}

LRESULT WndProcMessagesBase::WM_QueryEndSession(HWND, WPARAM, LPARAM) {
  DebugLog(L"WM_QUERYENDSESSION");
  return 1;
}

LRESULT WndProcMessagesBase::WM_Destroy(HWND, WPARAM, LPARAM) {
  DebugLog(L"WM_DESTROY");
  PostQuitMessage(0);
  return 0;
}

LRESULT WndProcMessagesBase::WM_LButtonDown(HWND, WPARAM, LPARAM) {
  DebugLog(L"WndProcMessagesBase::WM_LButtonDown()");
  return 0;
}

LRESULT WndProcMessagesBase::WM_LButtonUp(HWND, WPARAM, LPARAM) {
  return 0;
}

LRESULT WndProcMessagesBase::WM_Sizing(HWND, WPARAM, LPARAM) {
  return 1;
}

LRESULT WndProcMessagesBase::WM_GetMinMaxInfo(HWND hWnd, WPARAM, LPARAM lParam) {
  FillMinMaxInfo(hWnd, reinterpret_cast<MINMAXINFO*>(lParam));
  return 0;
}

LRESULT WndProcMessagesBase::WM_NCHitTest(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hWnd, WM_NCHITTEST, wParam, lParam);
}

LRESULT WndProcMessagesBase::WM_CtlColorStatic(HWND, WPARAM, LPARAM) {
  return 0;
}

void WndProcMessagesBase::FillMinMaxInfo(HWND hWnd, MINMAXINFO* info) {
  RECT rect{};
  GetWindowRect(hWnd, &rect);
  info->ptMaxSize = {rect.right - rect.left, rect.bottom - rect.top};
  info->ptMaxPosition = {rect.left, rect.top};
  const SIZE size = Editor::GetInstance().Layout().WindowSize(hWnd);
  info->ptMinTrackSize = {size.cx, size.cy};
  info->ptMaxTrackSize = info->ptMinTrackSize;
}
