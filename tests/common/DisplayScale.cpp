#include "tests/common/DisplayScale.h"

#include <cstdlib>

namespace {

// The SDK declares it only for Windows 10 1703 on.
constexpr UINT kGetDpiScaledSize = 0x02E4;

}  // namespace

UINT TestDpi() {
  const char* dpi = std::getenv("KFO_DPI");
  return dpi ? static_cast<UINT>(std::atoi(dpi)) : 96;
}

SIZE FrameAt(HWND window, UINT dpi) {
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  const auto adjust = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  RECT frame{};
  if (adjust)
    adjust(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
           GetMenu(window) != nullptr, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)),
           dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

SIZE AskedSizeAt(HWND window, UINT dpi) {
  SIZE size{};
  if (!SendMessageW(window, kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size))) return {};
  return size;
}

RECT ChangeDpi(HWND window, UINT dpi) {
  const SIZE size = AskedSizeAt(window, dpi);
  RECT place{};
  GetWindowRect(window, &place);
  place.right = place.left + size.cx;
  place.bottom = place.top + size.cy;
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
  return place;
}
