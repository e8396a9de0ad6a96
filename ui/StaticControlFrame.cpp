#include "ui/StaticControlFrame.h"

#include "support/DebugLog.h"

namespace {

DWORD FrameStyle(int kind) {
  const DWORD base = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case 1:
      return base | SS_WHITEFRAME;
    case 2:
      return base | SS_GRAYFRAME;
    case 3:
      return base | SS_WHITERECT;
    default:
      return base | SS_BLACKFRAME;
  }
}

}  // namespace

StaticControlFrame::StaticControlFrame(HWND parent, int id, int kind) {
  m_hWnd = CreateWindowExW(0, L"static", nullptr, FrameStyle(kind), 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd)
    DebugLog(L"StaticControlFrame::StaticControlFrame: CreateWindowExW failed, error %i",
             static_cast<int>(GetLastError()));
}
