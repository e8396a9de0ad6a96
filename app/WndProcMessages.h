// What the main window does with its messages where the plain answers of
// WndProcMessagesBase do not serve, and its procedure. One static object
// serves the one main window; commands go to its WMCommandMsg member. It
// holds what the window keeps for its life: the lock (ProgramLock), which
// its commands, Windows's news and the idle watch request, and its icons.
#pragma once

#include <windows.h>

#include "app/IdleWatch.h"
#include "app/ProgramLock.h"
#include "app/WMCommandMsg.h"
#include "app/WndProcMessagesBase.h"
#include "ui/DpiScale.h"
#include "ui/ProgramIcon.h"

class MessageLoop;

class WndProcMessages : public WndProcMessagesBase {
 public:
  static WndProcMessages& GetInstance();

  LRESULT WM_Command(HWND hWnd, WPARAM wParam, LPARAM lParam) override;
  // Hands the data folder to the vault, makes the hot-link class, the fonts
  // and icons for the window's DPI and the dialog tables, and trims the
  // system menu.
  LRESULT WM_Create(HWND hWnd, WPARAM wParam, LPARAM lParam) override;
  // Lets the owner-drawn child that the record names draw itself, when the
  // request comes from this thread; any other goes to the default handling.
  LRESULT WM_DrawItem(HWND hWnd, WPARAM wParam, LPARAM lParam) override;
  // Both buttons capture the mouse until they are released.
  LRESULT WM_LButtonDown(HWND hWnd, WPARAM wParam, LPARAM lParam) override;
  LRESULT WM_LButtonUp(HWND hWnd, WPARAM wParam, LPARAM lParam) override;
  // Labels and read-only fields: black text on the button face.
  LRESULT WM_CtlColorStatic(HWND hWnd, WPARAM wParam, LPARAM lParam) override;

  LRESULT WM_Size(HWND hWnd, WPARAM wParam, LPARAM lParam);
  // The session ends (wParam TRUE): a copy leaves the clipboard now, since
  // Windows may end the process as soon as this returns. 0.
  LRESULT WM_EndSession(HWND hWnd, WPARAM wParam, LPARAM lParam);
  LRESULT WM_CtlColorEdit(HWND hWnd, WPARAM wParam, LPARAM lParam);
  LRESULT WM_InitMenuPopup(HWND hWnd, WPARAM wParam, LPARAM lParam);
  // Windows locked the session (WTS_SESSION_LOCK): the program locks. 0.
  LRESULT WM_WtsSessionChange(HWND hWnd, WPARAM wParam, LPARAM lParam);
  // The computer is going to sleep (PBT_APMSUSPEND): the program locks.
  // TRUE, which grants every request.
  LRESULT WM_PowerBroadcast(HWND hWnd, WPARAM wParam, LPARAM lParam);
  // The session's changes stop coming; then as the base.
  LRESULT WM_Destroy(HWND hWnd, WPARAM wParam, LPARAM lParam) override;
  // The size the window asks for at the DPI to come: its own fixed size for
  // that DPI, not the one Windows would scale from the present size.
  LRESULT WM_GetDpiScaledSize(HWND hWnd, WPARAM wParam, LPARAM lParam);
  // The window's screen has another scale now (it was moved to another
  // monitor, or the scale was changed): the window takes the rectangle that
  // Windows gives and lays its children out, with their fonts, for the new
  // DPI.
  LRESULT WM_DpiChanged(HWND hWnd, WPARAM wParam, LPARAM lParam);

  // Lets the start-up check run (ProgramLock::ArmStartupQuestion).
  void ArmStartupCheck() { m_Lock.ArmStartupQuestion(); }
  // The loop that runs the window completes its locks
  // (ProgramLock::CompleteIn).
  void RunIn(MessageLoop& loop);
  // From now on Windows locking the session and the idle time lock the
  // program, as File > Lock and sleep do.
  void WatchForLocks(HWND hWnd);
  // For tests: a shorter time without input before the program locks;
  // before WatchForLocks.
  void SetIdleLimit(DWORD milliseconds) { m_IdleWatch.SetIdleLimit(milliseconds); }

 private:
  WndProcMessages() = default;
  void SetWindowIcons(HWND hWnd, DpiScale scale);

  // Locked until the master password was given, or a new one created.
  ProgramLock m_Lock;
  WMCommandMsg m_WMCommandMsg{m_Lock};
  IdleWatch m_IdleWatch;
  // The icons the window shows, at the sizes for its DPI; the class has
  // them at the system's.
  ProgramIcon m_SmallIcon;
  ProgramIcon m_LargeIcon;
};

// The main window class's procedure. No exception leaves it: a failing
// handler is traced, a failed WM_CREATE refuses the window, and any other
// message gets the default handling.
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
