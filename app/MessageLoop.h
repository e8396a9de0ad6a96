// The program's one message loop. It translates the main window's
// accelerators and dispatches; every procedure guards its own handlers, so
// what reaches the loop's own catch is only what the system raised around
// them, traced, and the loop goes on. Every modal loop of the program runs
// inside one of its dispatches, so after each one it is where no dialog is
// open: there a lock is completed.
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

  // True while the loop waits for its next message: a message sent to the
  // program meanwhile has nothing of the program's below it.
  static bool IsWaiting() { return ms_Waiting; }

 private:
  HWND m_hWnd;
  HACCEL m_hAccelTable = nullptr;
  static bool ms_Waiting;
};
