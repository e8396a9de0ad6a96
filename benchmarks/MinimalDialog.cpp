// The references of the start-up benchmark. Built plain, it is the least
// that a Win32 program of this toolchain, linked as Keyfolio is, does to put
// a dialog on the screen: its one dialog has the size and the controls of
// the master password dialog, from a resource, and cancelling it ends the
// program. Three more builds add, one on top of the other, what Keyfolio does
// before its dialog shows, so that the benchmark can tell where a start's
// time goes:
//   KFO_THEMED        the program's manifest (common controls 6, visual styles);
//   KFO_PROGRAM_DLLS  the DLLs that the program maps beyond these before its
//                     dialog shows;
//   KFO_MAIN_WINDOW   a main window of the program's size, menu and controls,
//                     shown before the dialog and owning it.
#include <windows.h>

#include <initializer_list>

namespace {

constexpr int kDialogId = 1;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

#ifdef KFO_PROGRAM_DLLS
// As the program does before its dialog: the DLL search narrowed to the
// system folder, gdi32, which it imports, and the common controls, which it
// loads from there. shell32 and bcrypt wait until a page is opened or a
// password generated.
void LoadProgramDlls() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  for (const wchar_t* dll : {L"gdi32.dll", L"comctl32.dll"})
    LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}
#endif

#ifdef KFO_MAIN_WINDOW
constexpr int kMenuId = 2;

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

void Child(HWND parent, DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
           int x, int y, int width, int height) {
  CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, nullptr,
                  GetModuleHandleW(nullptr), nullptr);
}

// The program's window, as large and with as many controls, shown as it is.
HWND ShowMainWindow(HINSTANCE instance, int showState) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
  windowClass.lpszMenuName = MAKEINTRESOURCEW(kMenuId);
  windowClass.lpszClassName = L"MinimalMainWindow";
  RegisterClassExW(&windowClass);
  const HWND main = CreateWindowExW(0, L"MinimalMainWindow", L"Minimal main window",
                                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                        WS_MINIMIZEBOX,
                                    CW_USEDEFAULT, 0, 487, 320, nullptr, nullptr, instance, nullptr);
  for (int row = 0; row < 5; ++row)
    Child(main, 0, L"static", L"Label:", WS_CHILD | WS_VISIBLE | SS_RIGHT, 0, 20 + 27 * row, 120,
          22);
  Child(main, 0, L"combobox", nullptr,
        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 125, 20,
        280, 242);
  for (int row = 0; row < 4; ++row) {
    Child(main, WS_EX_WINDOWEDGE | WS_EX_NOPARENTNOTIFY, L"edit", L"",
          WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY, 125, 52 + 27 * row, 260, 22);
    Child(main, 0, L"button", L"Copy", WS_CHILD | WS_VISIBLE, 390, 52 + 27 * row, 62, 22);
  }
  ShowWindow(main, showState);
  UpdateWindow(main);
  return main;
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showState) {
  HWND owner = nullptr;
#ifdef KFO_PROGRAM_DLLS
  LoadProgramDlls();
#endif
#ifdef KFO_MAIN_WINDOW
  owner = ShowMainWindow(instance, showState);
#else
  (void)showState;
#endif
  return static_cast<int>(
      DialogBoxParamW(instance, MAKEINTRESOURCEW(kDialogId), owner, DialogProc, 0));
}
