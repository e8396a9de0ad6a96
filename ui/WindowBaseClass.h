// What every framework window object offers: one entry for all the messages
// of its window (Dispatch) and the virtual handlers that Dispatch cracks the
// routed messages into. It is a pure interface so that the registry of bound
// windows and the dialog procedure can hold any window object through it;
// Window gives every operation its default.
#pragma once

#include <windows.h>

class WindowBaseClass {
 public:
  virtual ~WindowBaseClass() = default;

  // Every message of the bound window arrives here; the result is the
  // window procedure's result.
  virtual LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The window that had the keyboard focus before.
  virtual HWND SetFocus() = 0;
  // The section named by WM_SETTINGCHANGE; null when the sender named none.
  virtual void onSettingChange(const wchar_t* section) = 0;
  virtual LONG_PTR PassValue(LONG_PTR value) = 0;
  virtual void OnDestroy() = 0;
  // The result is what a dialog procedure answers for the command; a plain
  // window's Dispatch forwards the command whatever it is.
  virtual LRESULT OnCommand(int id, HWND control, UINT notifyCode) = 0;
  virtual LRESULT OnNotify(int id, NMHDR* header) = 0;
  // Coordinates are client coordinates and negative left of or above the
  // client area (a captured mouse).
  virtual void OnLButtonDown(bool doubleClick, int x, int y, UINT keyFlags) = 0;
  virtual void OnSysColorChange() = 0;
  virtual void OnTimer(UINT id) = 0;
  virtual void OnSetFocus() = 0;
  virtual void OnKillFocus() = 0;
  // The character code returned is the one the window's own procedure gets.
  virtual wchar_t OnChar(wchar_t charCode, LONG keyData) = 0;
  // Likewise for the virtual-key code.
  virtual WORD OnKeyDown(WORD keyCode, LONG keyData) = 0;
  // Called by the registry when it lets `hWnd` go: the window is being
  // destroyed, or was bound to another object. An object that still names
  // that window forgets it, so that it never destroys a window that is not
  // its own, nor a later window that gets the same handle.
  virtual void DetachHWND(HWND hWnd) = 0;
};
