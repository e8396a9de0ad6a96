// The program's one message loop. It translates the main window's
// accelerators and dispatches; every procedure guards its own handlers, so
// what reaches the loop's own catch is only what the system raised around
// them, traced, and the loop goes on. Every modal loop of the program runs
// inside one of its dispatches, so after each one it is where no dialog is
// open: there it runs the handlers that windows registered
// (AfterMessageHandler), and it tells whether it waits, which a message that
// Windows sends meanwhile cannot tell for itself.
#pragma once

#include <windows.h>

#include <vector>

class AfterMessageHandler;

class MessageLoop {
 public:
  explicit MessageLoop(HWND mainWindow) : m_hWnd(mainWindow) {}
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;
  virtual ~MessageLoop() = default;

  // Runs until WM_QUIT and answers its exit code.
  int run();

  // `handler` runs after each message from now on, in the order of
  // registration; it outlives the loop's run.
  void AddAfterMessageHandler(AfterMessageHandler* handler);
  // True while the loop waits for its next message: a message sent to the
  // program meanwhile has nothing of the program's below it.
  bool IsWaiting() const { return m_Waiting; }

 private:
  HWND m_hWnd;
  HACCEL m_hAccelTable = nullptr;
  bool m_Waiting = false;
  std::vector<AfterMessageHandler*> m_AfterMessageHandlers;
};
