#include "ui/InstanceSubclasser.h"

#include "support/DebugLog.h"
#include "ui/HandleForLog.h"
#include "ui/ProcedureGuard.h"
#include "ui/WindowBaseClass.h"

namespace {

// SetWindowLongPtrW answers the previous value, 0 on failure; a window never
// has a null procedure, so 0 is always a failure here.
WNDPROC SwapProcedure(HWND hWnd, WNDPROC procedure) {
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

}  // namespace

InstanceSubclasser& InstanceSubclasser::GetInstance() {
  // Deliberately never deleted (see the header); the process's end frees it.
  static InstanceSubclasser* const instance = new InstanceSubclasser();
  return *instance;
}

void InstanceSubclasser::Subclass(HWND hWnd, WNDPROC newProc, WindowBaseClass* object) {
  m_windowObjects[hWnd] = object;
  // Bound already: the window keeps the procedure it had before the first
  // binding. Saving the framework's own procedure as the old one would make
  // every forwarded message call itself without end.
  if (m_wndProcSaved.count(hWnd)) return;
  const WNDPROC oldProc = SwapProcedure(hWnd, newProc);
  if (!oldProc) {
    DebugLog(L"InstanceSubclasser::Subclass: the procedure of hWnd %i cannot be replaced, error %i",
             HandleForLog(hWnd), static_cast<int>(GetLastError()));
    m_windowObjects.erase(hWnd);
    return;
  }
  m_wndProcSaved[hWnd] = oldProc;
}

LRESULT InstanceSubclasser::CallOldProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto saved = m_wndProcSaved.find(hWnd);
  if (saved == m_wndProcSaved.end() || !saved->second) {
    DebugLog(L"InstanceSubclasser::CallOldProc: No m_wndProcSaved hWnd %i", HandleForLog(hWnd));
    return 0;
  }
  const WNDPROC oldProc = saved->second;
  if (message == WM_DESTROY || message == WM_NCDESTROY) RemoveSubclass(hWnd);
  return CallWindowProcW(oldProc, hWnd, message, wParam, lParam);
}

bool InstanceSubclasser::RemoveSubclass(HWND hWnd) {
  const auto saved = m_wndProcSaved.find(hWnd);
  // Without a saved procedure there is nothing to put back: installing a
  // null procedure would kill the window.
  if (saved == m_wndProcSaved.end()) return false;
  // A window whose procedure could not be put back still routes its messages
  // through FrameworkWndProc, which needs both entries.
  if (!SwapProcedure(hWnd, saved->second)) return false;
  m_windowObjects.erase(hWnd);
  m_wndProcSaved.erase(saved);
  return true;
}

WindowBaseClass* InstanceSubclasser::GetWindowObject(HWND hWnd) const {
  const auto found = m_windowObjects.find(hWnd);
  return found == m_windowObjects.end() ? nullptr : found->second;
}

WindowBaseClass* GetWindowObject(HWND hWnd) {
  return InstanceSubclasser::GetInstance().GetWindowObject(hWnd);
}

LRESULT CALLBACK FrameworkWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardProcedure(
      L"FrameworkWndProc", message,
      [&] {
        WindowBaseClass* object = GetWindowObject(hWnd);
        if (!object) return DefWindowProcW(hWnd, message, wParam, lParam);
        return object->Dispatch(message, wParam, lParam);
      },
      [&] {
        // The handler failed before or after forwarding; only the two
        // destruction messages must still get through, or the registry would
        // keep a window that is about to die. A window already released has
        // nothing saved.
        if ((message == WM_DESTROY || message == WM_NCDESTROY) && GetWindowObject(hWnd))
          return InstanceSubclasser::GetInstance().CallOldProc(hWnd, message, wParam, lParam);
        return DefWindowProcW(hWnd, message, wParam, lParam);
      });
}
