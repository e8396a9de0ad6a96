// Another program on the desktop, for the journeys: a window with one edit
// field and nothing else, where a person pastes what they copied from
// Keyfolio. It keeps nothing and ends when its window is closed.
#include <windows.h>

namespace {

constexpr wchar_t kClass[] = L"KeyfolioJourneyPasteTarget";
constexpr int kFieldId = 100;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10, 10, 260, 24, window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)),
                      reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance, nullptr);
      return 0;
    // A window that comes to the front gives its field the keys, as an
    // editor does.
    case WM_SETFOCUS: SetFocus(GetDlgItem(window, kFieldId)); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = TargetProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClass;
  if (!RegisterClassExW(&windowClass)) return 1;
  HWND window = CreateWindowExW(0, kClass, L"Paste Target", WS_OVERLAPPEDWINDOW, 40, 40, 300, 90,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
