#include "tests/dialogbase/DialogTestWindows.h"

namespace {

constexpr wchar_t kOwnerClass[] = L"KfoDialogTestOwner";

thread_local CreationRecorder* t_recorder = nullptr;

void RegisterOwnerClass() {
  static const ATOM atom = [] {
    WNDCLASSW windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kOwnerClass;
    return RegisterClassW(&windowClass);
  }();
  (void)atom;
}

}  // namespace

TestOwner::TestOwner(RECT rect, HINSTANCE instance) {
  RegisterOwnerClass();
  m_hWnd = CreateWindowExW(0, kOwnerClass, L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect.left,
                           rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                           nullptr, instance ? instance : GetModuleHandleW(nullptr), nullptr);
}

TestOwner::~TestOwner() {
  if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

CreationRecorder::CreationRecorder() {
  t_recorder = this;
  m_hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

CreationRecorder::~CreationRecorder() {
  UnhookWindowsHookEx(m_hook);
  t_recorder = nullptr;
}

LRESULT CALLBACK CreationRecorder::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && t_recorder) {
    const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    if (create->style & WS_CHILD) {
      // A class given as an atom has no name to compare.
      const std::wstring windowClass =
          IS_INTRESOURCE(create->lpszClass) ? L"#atom" : create->lpszClass;
      t_recorder->m_children.push_back(
          {windowClass, create->lpszName ? create->lpszName : L"",
           static_cast<int>(reinterpret_cast<INT_PTR>(create->hMenu)),
           static_cast<DWORD>(create->style), create->dwExStyle});
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}
