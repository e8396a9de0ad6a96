#include "tests/ui/TestWindows.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr wchar_t kParentClass[] = L"KfoTestParent";

void RegisterParentClass() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kParentClass;
  if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error("cannot register the test parent class");
}

}  // namespace

TestParent::TestParent(bool visible, int x, int y, int width, int height) {
  RegisterParentClass();
  // A popup has no frame, so its client area starts where it is placed.
  m_hWnd = CreateWindowExW(0, kParentClass, L"Keyfolio test", WS_POPUP | WS_CLIPCHILDREN, x, y,
                           width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd) throw std::runtime_error("cannot create the test parent");
  SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure));
  // Shown without activation: tests outside the desktop lock must not take
  // the foreground from those that hold it.
  if (visible) {
    ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    UpdateWindow(m_hWnd);
  }
}

TestParent::~TestParent() {
  if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

bool TestParent::Received(int id, int code) const {
  return std::find(m_commands.begin(), m_commands.end(), std::make_pair(id, code)) !=
         m_commands.end();
}

LRESULT CALLBACK TestParent::Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* parent = reinterpret_cast<TestParent*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  if (parent && message == WM_COMMAND && lParam != 0)
    parent->m_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
  return DefWindowProcW(hWnd, message, wParam, lParam);
}

std::wstring ClassNameOf(HWND hWnd) {
  wchar_t name[64] = {};
  GetClassNameW(hWnd, name, 64);
  std::wstring upper = name;
  CharUpperW(&upper[0]);
  return upper;
}

RECT RectInParent(HWND hWnd) {
  RECT rect{};
  GetWindowRect(hWnd, &rect);
  MapWindowPoints(nullptr, GetParent(hWnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}
