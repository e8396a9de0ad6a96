#include "tests/program/SystemComboBox.h"

#include "tests/common/StepFailed.h"
#include "tests/program/Desktop.h"

namespace {

const wchar_t kClassName[] = L"KeyfolioTestComboHost";
// Posted to the window after the key was handled: what the key's handling
// posted came before it.
constexpr UINT kMarker = WM_APP + 1;

SystemComboBox* g_open = nullptr;

}  // namespace

SystemComboBox::SystemComboBox(const std::wstring& program) {
  g_open = this;
  // The manifest is resource 1 of the program file
  // (CREATEPROCESS_MANIFEST_RESOURCE_ID); windows made while its context is
  // active get its common controls' classes.
  ACTCTXW context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = program.c_str();
  context.lpResourceName = MAKEINTRESOURCEW(1);
  m_context = CreateActCtxW(&context);
  if (m_context == INVALID_HANDLE_VALUE) throw StepFailed("no activation context from the program");
  ULONG_PTR cookie = 0;
  ActivateActCtx(m_context, &cookie);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  // A test before this one in the same process may have registered it.
  RegisterClassW(&windowClass);
  m_window = CreateWindowExW(0, kClassName, L"Combo box host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             100, 100, 320, 200, nullptr, nullptr, instance, nullptr);
  m_list = CreateWindowExW(0, L"ComboBox", nullptr,
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP |
                               CBS_DROPDOWNLIST,
                           20, 20, 280, 242, m_window, reinterpret_cast<HMENU>(1), instance,
                           nullptr);
  DeactivateActCtx(0, cookie);
  if (!m_list) throw StepFailed("the test's own combo box was not made");
  m_listProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(m_list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
}

SystemComboBox::~SystemComboBox() {
  if (m_window) DestroyWindow(m_window);
  if (m_context != INVALID_HANDLE_VALUE) ReleaseActCtx(m_context);
  g_open = nullptr;
}

bool SystemComboBox::PassesAltF4On() {
  Retry("the test's own combo box to have Alt+F4", [&](DWORD waitMs) {
    BringToFront(m_window);
    SetFocus(m_list);
    PressKeys({VK_MENU, VK_F4});
    return WaitFor([&] { return m_keySeen; }, waitMs);
  });
  m_markerSeen = false;
  PostMessageW(m_window, kMarker, 0, 0);
  Expect([&] { return m_markerSeen; }, "the test's own window to handle its messages");
  return m_closeAsked;
}

LRESULT CALLBACK SystemComboBox::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (g_open && message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
    g_open->m_closeAsked = true;
    return 0;
  }
  if (g_open && message == kMarker) {
    g_open->m_markerSeen = true;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK SystemComboBox::ListProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  if (message == WM_SYSKEYDOWN && wParam == VK_F4) g_open->m_keySeen = true;
  return CallWindowProcW(g_open->m_listProc, window, message, wParam, lParam);
}
