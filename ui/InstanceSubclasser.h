// The registry of bound windows: which object each subclassed window belongs
// to and which procedure it had before. One instance serves the whole
// program. It is made on first use and never destroyed: windows held by
// static objects are destroyed at exit, in an order against other static
// objects that nothing fixes, and each message of that destruction must still
// find the registry. A window leaves the registry while its WM_DESTROY (or
// WM_NCDESTROY) is on its way to the old procedure, so no entry ever names a
// dead window.
#pragma once

#include <windows.h>

#include <map>

class WindowBaseClass;

class InstanceSubclasser {
 public:
  static InstanceSubclasser& GetInstance();
  InstanceSubclasser(const InstanceSubclasser&) = delete;
  InstanceSubclasser& operator=(const InstanceSubclasser&) = delete;
  virtual ~InstanceSubclasser() = default;

  // Records the object first, so the first message through the new
  // procedure finds it, then swaps the procedure and keeps the old one. A
  // window bound before only gets the new object. If the system refuses the
  // swap (a window of another process) the object is forgotten again: no
  // message would ever tell the registry that window died.
  void Subclass(HWND hWnd, WNDPROC newProc, WindowBaseClass* object);
  // The old procedure's answer to the message; 0 (and a trace line) for a
  // window the registry does not hold. WM_DESTROY and WM_NCDESTROY first
  // give the window its old procedure back and drop it from the registry.
  LRESULT CallOldProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Puts the old procedure back and forgets the window. False, changing
  // nothing, when the registry does not hold the window or the system
  // refuses the swap.
  bool RemoveSubclass(HWND hWnd);
  WindowBaseClass* GetWindowObject(HWND hWnd) const;

 private:
  InstanceSubclasser() = default;

  std::map<HWND, WindowBaseClass*> m_windowObjects;
  std::map<HWND, WNDPROC> m_wndProcSaved;
};

// The object bound to a window, or null; the dialog procedure finds its
// dialog object through this.
WindowBaseClass* GetWindowObject(HWND hWnd);

// The one procedure of every bound window. It never lets an exception into
// the system: a failing handler is traced and the message gets the default
// handling, except that WM_DESTROY and WM_NCDESTROY still reach the old
// procedure so that the window leaves the registry. A window the registry
// does not hold goes to DefWindowProcW.
LRESULT CALLBACK FrameworkWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
