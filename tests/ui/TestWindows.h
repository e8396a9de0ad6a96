// Real windows for the framework's tests: a top-level window that stands in
// for the main window or a dialog as the parent of controls, and records the
// notifications its children send it.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class TestParent {
 public:
  // A top-level window with its client area at (x, y) on the screen; shown
  // when `visible`.
  explicit TestParent(bool visible = false, int x = 40, int y = 40, int width = 460,
                      int height = 240);
  TestParent(const TestParent&) = delete;
  TestParent& operator=(const TestParent&) = delete;
  ~TestParent();

  HWND Get() const { return m_hWnd; }
  // (control id, notification code) of each WM_COMMAND from a child.
  const std::vector<std::pair<int, int>>& Commands() const { return m_commands; }
  bool Received(int id, int code) const;
  void ClearCommands() { m_commands.clear(); }

 private:
  static LRESULT CALLBACK Procedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
  std::vector<std::pair<int, int>> m_commands;
};

// The class name a window reports, upper-cased: class names ignore case.
std::wstring ClassNameOf(HWND hWnd);
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hWnd);
