// The application object: it finds the folder the program runs from, makes
// the data folder beside it, registers the main window's class, creates,
// centres and fills the one main window, and hands back the message loop.
// One object for the whole run, made before the entry function.
#pragma once

#include <windows.h>

#include <memory>

#include "app/MessageLoop.h"

class Editor;
class PostedNotifyFilter;

class WindowInitialization {
 public:
  static const wchar_t ms_szWindowClass[];
  static const wchar_t ms_szTitle[];

  static WindowInitialization& GetInstance();
  WindowInitialization(const WindowInitialization&) = delete;
  WindowInitialization& operator=(const WindowInitialization&) = delete;
  virtual ~WindowInitialization();

  // The loop to run, with the start-up check as its first message, or null
  // when the main window could not be made (after a message where the
  // failing part gave one); no window is left behind then.
  MessageLoop* Initialize(const wchar_t* commandLine, HINSTANCE instance, int showState);

  // The main window: the owner of every dialog and message box.
  HWND GetHWnd() const { return m_hWnd; }
  HINSTANCE GetHInstance() const { return m_hInstance; }

 private:
  WindowInitialization();
  bool RegisterMainWindowClass();
  void CenterOnDesktop();

  HWND m_hWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
  Editor* m_Editor;
  std::unique_ptr<MessageLoop> m_MessageLoop;
  // From the first window on: no posted WM_NOTIFY reaches the program's
  // windows (ui/ForeignNotify.h).
  std::unique_ptr<PostedNotifyFilter> m_PostedNotifyFilter;
};
