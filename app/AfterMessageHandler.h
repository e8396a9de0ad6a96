// What a window has the program's message loop do after each message that
// the loop dispatched: there, every modal loop that ran inside the dispatch
// has returned, and nothing of the program is open below. The loop knows
// only this interface, as a message loop knows the idle handlers and message
// filters that windows register with it, and nothing of the windows
// themselves (MessageLoop::AddAfterMessageHandler).
#pragma once

class AfterMessageHandler {
 public:
  AfterMessageHandler() = default;
  AfterMessageHandler(const AfterMessageHandler&) = delete;
  AfterMessageHandler& operator=(const AfterMessageHandler&) = delete;
  virtual ~AfterMessageHandler() = default;

  // Runs on the loop's thread, outside every window procedure: it guards its
  // own work, as a procedure does.
  virtual void AfterMessage() = 0;
};
