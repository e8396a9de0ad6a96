// The main window's message handlers as virtual operations, one per message,
// each taking the window and the message's parameters and answering what the
// window procedure returns. The base gives every message its plain answer;
// WndProcMessages overrides what the main window does differently. The main
// window's class has a procedure of its own (MainWndProc), not the
// framework's subclassing: it is the one window whose class the program
// registers itself.
#pragma once

#include <windows.h>

class WndProcMessagesBase {
 public:
  WndProcMessagesBase() = default;
  WndProcMessagesBase(const WndProcMessagesBase&) = delete;
  WndProcMessagesBase& operator=(const WndProcMessagesBase&) = delete;
  virtual ~WndProcMessagesBase() = default;

  virtual LRESULT WM_Command(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_Create(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_SetFocus(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_DrawItem(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_Notify(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_Paint(HWND hWnd, WPARAM wParam, LPARAM lParam);
  // Destroys the window at once: the program asks nothing at closing, since
  // every change was saved when it was made.
  virtual LRESULT WM_Close(HWND hWnd, WPARAM wParam, LPARAM lParam);
  // Always 1: the session may end.
  virtual LRESULT WM_QueryEndSession(HWND hWnd, WPARAM wParam, LPARAM lParam);
  // Posts the quit message with exit code 0.
  virtual LRESULT WM_Destroy(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_LButtonDown(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_LButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_Sizing(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_GetMinMaxInfo(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_NCHitTest(HWND hWnd, WPARAM wParam, LPARAM lParam);
  virtual LRESULT WM_CtlColorStatic(HWND hWnd, WPARAM wParam, LPARAM lParam);

 protected:
  // Pins the window at its fixed size, the one for the DPI it is laid out
  // for: the tracking sizes are that size, and maximising keeps the window
  // where and as it is.
  static void FillMinMaxInfo(HWND hWnd, MINMAXINFO* info);

  PAINTSTRUCT m_ps{};
};
