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
  // Bound already: the window keeps the procedure it had before the first
  // binding. Saving the framework's own procedure as the old one would make
  // every forwarded message call itself without end.
  if (m_wndProcSaved.count(hWnd)) {
    WindowBaseClass*& bound = m_windowObjects[hWnd];
    WindowBaseClass* const previous = bound;
    bound = object;
    if (previous && previous != object) previous->DetachHWND(hWnd);
    return;
  }
  m_windowObjects[hWnd] = object;
  const WNDPROC oldProc = SwapProcedure(hWnd, newProc);
  if (!oldProc) {
    DebugLog(L"InstanceSubclasser::Subclass: the procedure of hWnd %i cannot be replaced, error %i",
             HandleForLog(hWnd), static_cast<int>(GetLastError()));
    m_windowObjects.erase(hWnd);
    object->DetachHWND(hWnd);
    return;
  }
  m_wndProcSaved[hWnd] = SavedProcedure{oldProc, newProc};
}

LRESULT InstanceSubclasser::CallOldProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto saved = m_wndProcSaved.find(hWnd);
  if (saved == m_wndProcSaved.end() || !saved->second.previous) {
    DebugLog(L"InstanceSubclasser::CallOldProc: No m_wndProcSaved hWnd %i", HandleForLog(hWnd));
    return 0;
  }
  const WNDPROC oldProc = saved->second.previous;
  if (message == WM_DESTROY) {
    RemoveSubclass(hWnd);
  } else if (message == WM_NCDESTROY && !RemoveSubclass(hWnd)) {
    // The window is gone once this message returns; an entry kept for it
    // would name a dead handle that a new window may get.
    Forget(hWnd);
  }
  return CallWindowProcW(oldProc, hWnd, message, wParam, lParam);
}

bool InstanceSubclasser::RemoveSubclass(HWND hWnd) {
  const auto saved = m_wndProcSaved.find(hWnd);
  // Without a saved procedure there is nothing to put back: installing a
  // null procedure would kill the window.
  if (saved == m_wndProcSaved.end()) return false;
  // Subclassed over since: the window stays bound until it is destroyed.
  const WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
  if (current != saved->second.installed) return false;
  // A window whose procedure could not be put back still routes its messages
  // through FrameworkWndProc, which needs both entries.
  if (!SwapProcedure(hWnd, saved->second.previous)) return false;
  Forget(hWnd);
  return true;
}

void InstanceSubclasser::Forget(HWND hWnd) {
  WindowBaseClass* const object = GetWindowObject(hWnd);
  m_windowObjects.erase(hWnd);
  m_wndProcSaved.erase(hWnd);
  if (object) object->DetachHWND(hWnd);
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
