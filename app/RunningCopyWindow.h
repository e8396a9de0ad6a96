// Tells the main window of a copy of this program that runs from this same
// program file. Neither the handle in the shared slot nor a window's class
// proves that: the slot lies in the program file's image, which any process
// may map and write into, and any process may register a class of the same
// name. What does is the process behind the window, when the file it runs
// is this process's own.
#pragma once

#include <windows.h>

#include <string>

class RunningCopyWindow {
 public:
  // `className` is the class the program registers for its main window.
  explicit RunningCopyWindow(const std::wstring& className);

  // True for a top-level window of the class whose process runs the same
  // program file as this one (the paths compared case-insensitively, as
  // the file system names files).
  bool IsMainWindow(HWND window) const;
  // The first such window on the desktop; null when there is none.
  HWND Find() const;

 private:
  std::wstring m_className;
  std::wstring m_programFile;
};
