// Answers the message boxes that code under test shows on this thread, so a
// modal box never blocks the suite. A WH_CBT hook sees each box as it is
// activated, records its caption, text and owner, and presses a button.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class MessageBoxAnswerer {
 public:
  struct Box {
    std::wstring caption;
    std::wstring text;
    HWND owner;
    bool hasIcon;
    // The icon shown: a system icon (LoadIconW(nullptr, IDI_...)) is one
    // shared handle, so it compares equal. Null when there is none.
    HICON icon;
    // The ids of its buttons (IDOK, IDYES, ...), in the box's own order.
    std::vector<int> buttons;
  };

  enum Scope {
    // Dialogs are left to the test (a DialogDriver, say).
    BoxesOnly,
    // Every "#32770" window, dialogs too: for a test that only needs the
    // whole sequence ended, a dialog recorded with an empty text.
    BoxesAndDialogs,
  };

  // Presses `button` (IDOK, IDCANCEL, ...) in every box. One answerer per
  // thread at a time.
  explicit MessageBoxAnswerer(int button = IDOK, Scope scope = BoxesOnly);
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;
  ~MessageBoxAnswerer();

  const std::vector<Box>& Boxes() const { return m_boxes; }
  // The texts of the boxes answered so far, in order.
  std::vector<std::wstring> Texts() const;

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  void Answer(HWND box);

  int m_button;
  Scope m_scope;
  HHOOK m_hook;
  std::vector<Box> m_boxes;
  std::vector<HWND> m_answered;
};
