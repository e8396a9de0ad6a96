// Everything the user does in the main window arrives as a WM_COMMAND: menu
// items, accelerators, the buttons, the site list's notifications, and the
// start-up command the window posts to itself. Each handler either works on
// the main window's controls (copy, open the website, mask or unmask, follow
// the list) or runs a modal dialog and then saves the vault: every change is
// on disk as soon as it is made, and nothing is saved at exit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/ProgramLock.h"

class PasswordProtection;

class WMCommandMsg {
 public:
  WMCommandMsg() = default;
  WMCommandMsg(const WMCommandMsg&) = delete;
  WMCommandMsg& operator=(const WMCommandMsg&) = delete;
  virtual ~WMCommandMsg() = default;

  // The notification code matters only for the site list. An id the program
  // does not know is ignored. Before the start-up check has let the person
  // in, and from the moment a lock begins until the question lets them in
  // again, every command but that check is ignored; the check itself runs
  // once, and only once it was armed. Always 0.
  LRESULT Dispatch(HWND mainWindow, HWND control, int id, UINT notifyCode);
  // Lets the next start-up check run: the program calls it once its window
  // is built and the vault's password in force. A check that comes before,
  // from anyone, does nothing and is not remembered.
  void ArmStartupCheck();
  // Sets the View menu's check marks to match the Password field each time
  // the menu opens. Always 0.
  LRESULT WM_InitMenuPopup(HMENU popup, int position, bool systemMenu);

  // Begins a lock (ProgramLock::Request): File > Lock, the idle time,
  // Windows locking the session, sleep. Nothing while locked.
  void RequestLock(HWND mainWindow);
  // Completes a lock that began, where no dialog of the program is open
  // below the caller: the clipboard's copy goes, the window is emptied and
  // the vault wiped from memory. The question is then due.
  void SealLock(HWND mainWindow);
  // From the main loop, after each message: seals a lock that began and
  // asks the question that is due, over the main window.
  void CompleteLock(HWND mainWindow);

 private:
  void ID_Intro_Dialog(HWND mainWindow);
  // The start-up question again, each password checked against the vault
  // read from the drive then; the site chosen before is chosen again.
  void AskAfterLock(HWND mainWindow);
  // What the question's answer leads to, at start-up and after a lock.
  void LetIn(HWND mainWindow, PasswordProtection& protection, int result);
  void ShowSites();
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

  enum class StartupCheck { Unarmed, Armed, Ran };
  StartupCheck m_StartupCheck = StartupCheck::Unarmed;
  // Unlocked once the master password was given, or a new one created.
  ProgramLock m_Lock;
  // The site chosen when the lock came, by its key: no text of it is kept.
  int32_t m_ChosenKey = 0;
  bool m_QuestionDue = false;
};
