#include "ui/StaticControlText.h"

#include "support/DebugLog.h"
#include "support/WinException.h"
#include "ui/FontManager.h"
#include "ui/HandleForLog.h"
#include "ui/ScopedGdi.h"

namespace {

DWORD LabelStyle(int alignment) {
  const DWORD base = WS_CHILD | WS_VISIBLE;
  switch (alignment) {
    case 0:
      return base | SS_LEFT;
    case 2:
      return base | SS_RIGHT;
    default:
      return base | SS_CENTER;
  }
}

}  // namespace

StaticControlText::StaticControlText(HWND parent, int id, const wchar_t* text, int alignment,
                                     int bold) {
  m_hWnd = CreateWindowExW(0, L"static", text, LabelStyle(alignment), 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd)
    DebugLog(L"StaticControlText::StaticControlText: CreateWindowExW failed, error %i",
             static_cast<int>(GetLastError()));
  const HFONT font = FontManager::GetInstance().GetFontHandle(bold ? 1 : 0);
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HBRUSH StaticControlText::OnCTLColorStatic(HDC hdc, HWND) {
  DebugLog(L"++++StaticControlText::OnCTLColorStatic");
  ::SetTextColor(hdc, RGB(0xFF, 0x00, 0xFF));
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void StaticControlText::SetTextColor() {
  DebugLog(L"StaticControlText::SetTextColor");
  WindowDC dc(m_hWnd);
  const COLORREF answer = ::SetTextColor(dc.Get(), RGB(0xFF, 0x00, 0x00));
  if (answer == CLR_INVALID) {
    const DWORD error = GetLastError();
    const std::wstring text = SystemErrorText(error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
    DebugLog(L"GetLastError: Error # %i  %s", static_cast<int>(error), text.c_str());
  }
  DebugLog(L"StaticControlText::SetTextColor: CLR_INVALID %i stcReturn %x",
           static_cast<int>(CLR_INVALID), static_cast<unsigned>(answer));
}
