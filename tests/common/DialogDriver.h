// Drives a modal dialog from inside its own modal loop. Code under test that
// shows a dialog does not return until the dialog is closed, so the test
// hands its steps over beforehand: a DialogDriver made on the test's thread
// takes the next dialog ("#32770") that this thread shows, calls the test's
// action with it once the dialog's modal loop runs, and ends the dialog with
// kEndedByDriver if the action and whatever it posted left it open.
//
// Drivers made one after another take the dialogs in the order they are
// shown, so a dialog that opens another (a nested modal loop) is driven by
// the first driver and the inner one by the second. A dialog shown again
// after a nested one closes is not taken twice. Message boxes are "#32770"
// windows too: make a driver only for a dialog the test expects, and answer
// the boxes with a MessageBoxAnswerer.
//
// The action runs from a thread timer that the modal loop dispatches, once
// the dialog shows: a dialog whose template is not WS_VISIBLE is shown by
// its modal loop when the queue first runs empty, and an action that pumped
// messages before then would keep it hidden, though active and with the
// focus, for as long as it ran. The
// check for an open dialog runs from a second timer, which the loop delivers
// only once the messages that the action posted (a WM_KEYDOWN for the dialog
// manager, a WM_CLOSE) have been handled.
#pragma once

#include <windows.h>

#include <functional>

class DialogDriver {
 public:
  // The result of a dialog that the driver had to end.
  static constexpr INT_PTR kEndedByDriver = 0x4B44;

  explicit DialogDriver(std::function<void(HWND dialog)> action);
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  ~DialogDriver();

  // The dialog taken, null while none was.
  HWND Dialog() const { return m_dialog; }
  bool ActionRan() const { return m_actionRan; }
  // True when the dialog was still open after the action and the driver
  // ended it.
  bool EndedByDriver() const { return m_endedByDriver; }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK ActionTimer(HWND, UINT, UINT_PTR id, DWORD);
  static void CALLBACK SettleTimer(HWND, UINT, UINT_PTR id, DWORD);
  void Take(HWND dialog);
  void RunAction();
  void Settle();

  std::function<void(HWND dialog)> m_action;
  HWND m_dialog = nullptr;
  UINT_PTR m_actionTimer = 0;
  UINT_PTR m_settleTimer = 0;
  ULONGLONG m_showDeadline = 0;
  ULONGLONG m_settleDeadline = 0;
  bool m_actionRan = false;
  bool m_endedByDriver = false;
};
