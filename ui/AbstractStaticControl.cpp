#include "ui/AbstractStaticControl.h"

#include "support/DebugLog.h"
#include "ui/HandleForLog.h"

// The trace line names the edit control's base class: it is the text the
// program's traces have always carried here.
LRESULT AbstractStaticControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  DebugLog(L"AbstractEditWindowControl::Dispatch: m_hWnd %i", HandleForLog(m_hWnd));
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC)
    return reinterpret_cast<LRESULT>(
        OnCTLColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
  return Window::Dispatch(message, wParam, lParam);
}

void AbstractStaticControl::SetText(const wchar_t* text) {
  Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void AbstractStaticControl::Move(int x, int y, int width, int height) {
  MoveWindow(m_hWnd, x, y, width, height, TRUE);
}
