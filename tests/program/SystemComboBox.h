// A drop-down list like the program's site list, in a top-level window of the
// test's own and made with the common controls that the program's manifest
// asks for: what the system's own combo box does with a key, with no code of
// the program's on the way. For a test that must tell the program's part in
// a key's way from the system's.
#pragma once

#include <windows.h>

#include <string>

class SystemComboBox {
 public:
  // `program`: the program file whose manifest names the common controls.
  // One at a time.
  explicit SystemComboBox(const std::wstring& program);
  SystemComboBox(const SystemComboBox&) = delete;
  SystemComboBox& operator=(const SystemComboBox&) = delete;
  ~SystemComboBox();

  // Presses Alt+F4 with the list focused, until the list has the key, and
  // tells whether the list passed it on: whether its top-level window was
  // asked to close (WM_SYSCOMMAND SC_CLOSE, which this window refuses).
  bool PassesAltF4On();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HANDLE m_context = INVALID_HANDLE_VALUE;
  HWND m_window = nullptr;
  HWND m_list = nullptr;
  WNDPROC m_listProc = nullptr;
  bool m_keySeen = false;
  bool m_closeAsked = false;
  bool m_markerSeen = false;
};
