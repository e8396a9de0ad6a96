// Real windows around the dialogs under test: an owner at a known place, and
// a record of the controls the dialog manager asks the system to create.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A visible top-level window. Its class is global, so it can carry any
// instance handle: the dialogs take theirs from their owner.
class TestOwner {
 public:
  explicit TestOwner(RECT rect = {200, 150, 700, 550}, HINSTANCE instance = nullptr);
  TestOwner(const TestOwner&) = delete;
  TestOwner& operator=(const TestOwner&) = delete;
  ~TestOwner();

  HWND Get() const { return m_hWnd; }

 private:
  HWND m_hWnd = nullptr;
};

// Child windows as requested (HCBT_CREATEWND, before the system adjusts a
// style) while the recorder lives, on this thread.
class CreationRecorder {
 public:
  struct Created {
    std::wstring windowClass;
    std::wstring text;
    int id;
    DWORD style;
    DWORD exStyle;
  };

  CreationRecorder();
  CreationRecorder(const CreationRecorder&) = delete;
  CreationRecorder& operator=(const CreationRecorder&) = delete;
  ~CreationRecorder();

  const std::vector<Created>& Children() const { return m_children; }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

  HHOOK m_hook;
  std::vector<Created> m_children;
};

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);
