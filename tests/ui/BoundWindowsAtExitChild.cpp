// A program that ends with bound windows still alive: it binds windows to
// window objects held by static objects, as the program's singletons hold
// its controls, and returns from main. The objects are built before any
// other static object of the program and so are destroyed after all of them;
// their windows are destroyed then, and every message of that destruction
// must still find the registry. The last object to go checks that each
// window's own procedure saw its WM_DESTROY and WM_NCDESTROY; exit code 0
// means a clean exit, 3 a window that did not get them, anything else a
// crash.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "ui/InstanceSubclasser.h"
#include "ui/Window.h"

namespace {

constexpr int kWindows = 6;

int g_destroyed = 0;
int g_ncDestroyed = 0;

LRESULT CALLBACK OwnProcedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) ++g_destroyed;
  if (message == WM_NCDESTROY) ++g_ncDestroyed;
  return DefWindowProcW(hWnd, message, wParam, lParam);
}

// Destroyed last: judges what the destruction of the windows left behind.
struct ExitCheck {
  ~ExitCheck() {
    if (g_destroyed != kWindows || g_ncDestroyed != kWindows) {
      std::fprintf(stderr, "bound windows at exit: %d WM_DESTROY, %d WM_NCDESTROY of %d\n",
                   g_destroyed, g_ncDestroyed, kWindows);
      std::_Exit(3);
    }
  }
};

class Holder {
 public:
  Window m_windows[kWindows];
};

}  // namespace

// Built first and destroyed last of all the program's static objects, in
// this order: the check, then the windows.
__attribute__((init_priority(101))) ExitCheck g_check;
__attribute__((init_priority(102))) Holder g_holder;

int main() {
  // A crash must end the process with its code, not wait in a debugger.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = OwnProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KfoBoundAtExit";
  if (!RegisterClassW(&windowClass)) return 2;
  for (Window& window : g_holder.m_windows) {
    HWND hWnd = CreateWindowExW(0, L"KfoBoundAtExit", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 50,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hWnd) return 2;
    window.AttachHWND(hWnd);
    if (GetWindowObject(hWnd) != &window) return 2;
  }
  return 0;
}
