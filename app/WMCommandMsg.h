// Everything the user does in the main window arrives as a WM_COMMAND: menu
// items, accelerators, the buttons, the site list's notifications, and the
// start-up command the window posts to itself. Each handler either works on
// the main window's controls (copy, open the website, mask or unmask, follow
// the list) or runs a modal dialog and then saves the vault: every change is
// on disk as soon as it is made, and nothing is saved at exit.
#pragma once

#include <windows.h>

#include <string>

class WMCommandMsg {
 public:
  WMCommandMsg() = default;
  WMCommandMsg(const WMCommandMsg&) = delete;
  WMCommandMsg& operator=(const WMCommandMsg&) = delete;
  virtual ~WMCommandMsg() = default;

  // The notification code matters only for the site list. An id the program
  // does not know is ignored. Before the start-up check has let the person
  // in, every command but that check is ignored; the check itself runs once,
  // and only once it was armed. Always 0.
  LRESULT Dispatch(HWND mainWindow, HWND control, int id, UINT notifyCode);
  // Lets the next start-up check run: the program calls it once its window
  // is built and the vault's password in force. A check that comes before,
  // from anyone, does nothing and is not remembered.
  void ArmStartupCheck();
  // Sets the View menu's check marks to match the Password field each time
  // the menu opens. Always 0.
  LRESULT WM_InitMenuPopup(HMENU popup, int position, bool systemMenu);

 private:
  void ID_Intro_Dialog(HWND mainWindow);
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
  // The master password was given, or a new one created.
  bool m_Unlocked = false;
};
