// The windows a master password flow is expected to show, in order. A flow
// runs dialogs and message boxes one after another, each in a modal loop of
// its own, and returns only at its end; so the test writes down beforehand
// what will come: a dialog with its caption and what to do in it, a message
// box with its caption and text and the button to press. Each step is a
// DialogDriver, so the steps take the windows ("#32770", dialogs and boxes
// alike) in the order they are shown, and each checks that its window is the
// one it expects. A window that does not match is cancelled instead of acted
// on, and so is any window after the last step: a flow that shows something
// unexpected fails at once, never waits for ever, and one that keeps showing
// windows ends the test program.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/DialogDriver.h"

class FlowScript {
 public:
  using Action = std::function<void(HWND window)>;

  // A window as it was when its step took it.
  struct Seen {
    bool isBox;
    std::wstring caption;
    // A box's text; empty for a dialog.
    std::wstring text;
    // The ids of a box's buttons, in creation order.
    std::vector<int> buttons;
    // A box's icon, null when it shows none.
    HICON icon;
    HWND owner;
  };

  FlowScript();
  FlowScript(const FlowScript&) = delete;
  FlowScript& operator=(const FlowScript&) = delete;
  ~FlowScript();

  // The next window is a dialog with this caption; `action` runs inside its
  // modal loop, and the dialog must have ended when it returns.
  FlowScript& Dialog(const std::wstring& caption, Action action);
  // The next window is a message box with this caption and text; `look`
  // runs while it shows, then `button` is pressed.
  FlowScript& Box(const std::wstring& caption, const std::wstring& text, int button = IDOK,
                  Action look = {});

  // Every window taken so far, the unexpected ones included.
  const std::vector<Seen>& Windows() const { return m_seen; }
  // Success when every step took its window and nothing else was shown.
  ::testing::AssertionResult Finished() const;

 private:
  struct Step {
    bool isBox;
    std::wstring caption;
    std::wstring text;
    int button;
    Action action;
    std::unique_ptr<DialogDriver> driver;
  };

  void Add(std::unique_ptr<Step> step);
  void Take(size_t index, HWND window);
  void TakeUnexpected(HWND window);
  void ArmGuard();

  std::vector<std::unique_ptr<Step>> m_steps;
  size_t m_taken = 0;
  // The driver that takes any window after the last step; remade as steps
  // are added, so that it always waits behind them.
  std::unique_ptr<DialogDriver> m_guard;
  std::vector<std::unique_ptr<DialogDriver>> m_usedGuards;
  std::vector<Seen> m_seen;
  int m_unexpected = 0;
};

// What a test does in a dialog: typing goes to the field as WM_CHAR, one
// character at a time, as the keyboard's would, so the field's own limit
// applies; a button is pressed with the WM_COMMAND it sends. Neither needs
// the focus, which other programs of the desktop may hold.
void Type(HWND dialog, int fieldId, const std::wstring& text);
void Press(HWND dialog, int buttonId);
// The close box: the system command, which the dialog manager turns into
// IDCANCEL.
void CloseBox(HWND dialog);
std::wstring FieldText(HWND dialog, int fieldId);
