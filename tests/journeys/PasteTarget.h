// Another program a person works with beside Keyfolio: the one-field window
// of PasteTargetProgram.cpp, started from beside the test program. It is
// where a copied password is pasted, and a window that can stand in front
// of Keyfolio.
#pragma once

#include <windows.h>

#include <string>

#include "tests/program/ProgramProcess.h"

class PasteTarget {
 public:
  // Starts the program and waits for its window.
  PasteTarget();
  PasteTarget(const PasteTarget&) = delete;
  PasteTarget& operator=(const PasteTarget&) = delete;

  HWND Window() const { return m_window; }
  // Clicks into the empty field and presses Ctrl+V; what the field then
  // holds.
  std::wstring PasteWithCtrlV();

 private:
  ProgramProcess m_process;
  HWND m_window = nullptr;
  HWND m_field = nullptr;
};
