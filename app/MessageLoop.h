// The program's one message loop. It translates the main window's
// accelerators and dispatches; every procedure guards its own handlers, so
// what reaches the loop's own catch is only what the system raised around
// them, traced, and the loop goes on.
#pragma once

#include <windows.h>

class MessageLoop {
 public:
  explicit MessageLoop(HWND mainWindow) : m_hWnd(mainWindow) {}
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;
  virtual ~MessageLoop() = default;

  // Runs until WM_QUIT and answers its exit code.
  int run();

 private:
  HWND m_hWnd;
  HACCEL m_hAccelTable = nullptr;
};
