// The registry of bound windows: which object each subclassed window belongs
// to and which procedure it had before. One instance serves the whole
// program. It is made on first use and never destroyed: windows held by
// static objects are destroyed at exit, in an order against other static
// objects that nothing fixes, and each message of that destruction must still
// find the registry. A window leaves the registry while its WM_DESTROY is on
// its way to the old procedure, or its WM_NCDESTROY when other code has
// subclassed it over ours, so no entry ever names a dead window; the object
// that had it is told to forget the handle.
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
  // window bound before only changes hands: it keeps its procedures, and the
  // object that had it is detached (DetachHWND), so that destroying that
  // object leaves alone the window it no longer owns. If the system refuses
  // the swap (a window of another process) the object is detached and
  // forgotten again: no message would ever tell the registry that window
  // died.
  void Subclass(HWND hWnd, WNDPROC newProc, WindowBaseClass* object);
  // The old procedure's answer to the message; 0 (and a trace line) for a
  // window the registry does not hold. WM_DESTROY first hands the window
  // back (RemoveSubclass); WM_NCDESTROY, the last message of every window,
  // drops it from the registry whether it could be handed back or not.
  LRESULT CallOldProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Puts the old procedure back, forgets the window and detaches its
  // object. False, changing nothing, when the registry does not hold the
  // window, when the window's procedure is no longer the one Subclass
  // installed (a subclass installed over it later calls it in turn and would
  // be cut out of the chain), or when the system refuses the swap.
  bool RemoveSubclass(HWND hWnd);
  WindowBaseClass* GetWindowObject(HWND hWnd) const;

 private:
  struct SavedProcedure {
    // The window's procedure before it was bound.
    WNDPROC previous;
    // The one Subclass put in its place.
    WNDPROC installed;
  };

  InstanceSubclasser() = default;
  // Drops both entries and detaches the object, without touching the
  // window's procedure.
  void Forget(HWND hWnd);

  std::map<HWND, WindowBaseClass*> m_windowObjects;
  std::map<HWND, SavedProcedure> m_wndProcSaved;
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
