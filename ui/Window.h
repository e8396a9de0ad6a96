// A program object bound to one window. Binding (AttachHWND) subclasses the
// window: its messages reach Dispatch, which calls the virtual handlers and
// then hands each message on to the procedure the window had before, so a
// standard control keeps working and a derived class only overrides what it
// changes. The object is not copyable: the registry knows it by address.
#pragma once

#include <windows.h>

#include "ui/WindowBaseClass.h"

class Window : public WindowBaseClass {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Destroys the window if it still exists. Its destruction messages reach
  // the defaults below: the derived parts of the object are gone by then.
  ~Window() override;

  // Binds the object to an existing window of this process. A handle that is
  // not a window is traced and changes nothing. Binding a bound window to
  // another object moves it to that object; the first object is detached.
  void AttachHWND(HWND hWnd);
  // Null until bound, and again once the registry has let the window go
  // (destroyed, or bound to another object).
  HWND GetHWnd() const { return m_hWnd; }
  // SendMessageW to the window; the controls send everything through here.
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const;

  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;
  HWND SetFocus() override;
  void onSettingChange(const wchar_t* section) override;
  LONG_PTR PassValue(LONG_PTR value) override { return value; }
  void OnDestroy() override {}
  LRESULT OnCommand(int, HWND, UINT) override { return 0; }
  LRESULT OnNotify(int id, NMHDR* header) override;
  void OnLButtonDown(bool doubleClick, int x, int y, UINT keyFlags) override;
  void OnSysColorChange() override;
  void OnTimer(UINT id) override;
  void OnSetFocus() override {}
  void OnKillFocus() override {}
  wchar_t OnChar(wchar_t charCode, LONG keyData) override;
  WORD OnKeyDown(WORD keyCode, LONG keyData) override;
  void DetachHWND(HWND hWnd) override;

 protected:
  // The message to the procedure the window had before it was bound.
  LRESULT Forward(UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
};
