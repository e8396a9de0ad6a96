// Everything the user does in the main window arrives as a WM_COMMAND: menu
// items, accelerators, the buttons, the site list's notifications, and the
// start-up command the window posts to itself. Each handler either works on
// the main window's controls (copy, open the website, mask or unmask, follow
// the list) or runs a modal dialog and then saves the vault: every change is
// on disk as soon as it is made, and nothing is saved at exit.
#pragma once

#include <windows.h>

class ProgramLock;

class WMCommandMsg {
 public:
  // Commands run only while `lock` lets them, and File > Lock requests it.
  explicit WMCommandMsg(ProgramLock& lock) : m_Lock(lock) {}
  WMCommandMsg(const WMCommandMsg&) = delete;
  WMCommandMsg& operator=(const WMCommandMsg&) = delete;
  virtual ~WMCommandMsg() = default;

  // The notification code matters only for the site list. An id the program
  // does not know is ignored. Before the start-up check has let the person
  // in, and from the moment a lock begins until the question lets them in
  // again, every command but that check is ignored; the check itself is the
  // lock's (ProgramLock::AskAtStartup). Always 0.
  LRESULT Dispatch(HWND mainWindow, HWND control, int id, UINT notifyCode);
  // Sets the View menu's check marks to match the Password field each time
  // the menu opens. Always 0.
  LRESULT WM_InitMenuPopup(HMENU popup, int position, bool systemMenu);

 private:
  // Saves after a site dialog, unless a lock ended it: then it was given
  // up, nothing changed, and locking saves nothing.
  void SaveAfterDialog();
  void AddSite(HWND mainWindow);
  void EditSite(HWND mainWindow);
  void FindSite(HWND mainWindow);
  void DeleteSite(HWND mainWindow);
  void ShowPassword(bool shown);
  void IDCB_DBPassword(UINT notifyCode);
  void CopyField(HWND mainWindow, int field);
  void OpenWebsite(HWND mainWindow);

  ProgramLock& m_Lock;
};
