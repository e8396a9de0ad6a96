#include "ui/DpiScale.h"

#include "support/SystemLibrary.h"
#include "ui/ScopedGdi.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

DpiScale DpiScale::OfWindow(HWND window) {
  static const auto getDpiForWindow =
      SystemLibrary::Function<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  // GetDpiForWindow answers 0 for null and for a handle that is not a window.
  if (getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) return DpiScale(dpi);
  }
  const WindowDC screen(nullptr);
  return DpiScale(static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY)));
}

// AdjustWindowRectEx measures with the system's DPI, which is the only one
// where the ForDpi function is missing.
SIZE DpiScale::Frame(DWORD style, bool menu, DWORD exStyle) const {
  static const auto adjustForDpi = SystemLibrary::Function<AdjustWindowRectExForDpiFunction>(
      L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{};
  if (!adjustForDpi || !adjustForDpi(&rect, style, menu, exStyle, m_dpi))
    AdjustWindowRectEx(&rect, style, menu, exStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}
