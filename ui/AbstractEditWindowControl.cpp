#include "ui/AbstractEditWindowControl.h"

#include "support/DebugLog.h"
#include "ui/HandleForLog.h"

HWND AbstractEditWindowControl::GetCheckedHWnd() const {
  if (!IsWindow(m_hWnd)) DebugLog(L"Not a window handle m_hWnd %i", HandleForLog(m_hWnd));
  return m_hWnd;
}
