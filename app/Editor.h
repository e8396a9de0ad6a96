// The controller behind the main window's form: it builds the site list, the
// labels, the four read-only fields and the buttons once, loads the vault at
// start-up and saves it after every change, and shows the current site. It
// holds no site data of its own: the site set owns the sites and the vault
// header the password display flag. The dialogs reach it through
// EditorInterface, since they sit below the main window in the build.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/MainWindowLayout.h"
#include "dialogbase/EditorInterface.h"
#include "support/ErrorCodes.h"
#include "ui/AbstractEditWindowControl.h"
#include "ui/AbstractStaticControl.h"
#include "ui/EditWindowManager.h"
#include "ui/StaticControlManager.h"

class EditorUpdater;

class Editor : public EditorInterface, public EditorErrorCodes {
 public:
  enum DatabaseReadMode : int32_t {
    EDDB_Read = 2,
    EDDB_Default = 4,
  };
  enum FieldIndex {
    FIELD_UserName = 0,
    FIELD_Password = 1,
    FIELD_WebsiteAddress = 2,
    FIELD_Notes = 3,
  };

  static Editor& GetInstance();
  ~Editor() override;

  // Loads the vault, then builds every child of `mainWindow`; the list and
  // the fields stay empty until RefreshSiteList. A field that cannot be made
  // has told the user (UM_EditWindowsFailed) when its exception leaves here.
  void ConstructWindows(HWND mainWindow);
  void EditorReadDatabase();
  // Reads the vault, or starts with an empty one when it cannot be read
  // (what happened to the file is the vault file manager's to keep). 1.
  int LoadFileValues();

  // Empties the site list and the four fields, each overwritten first, and
  // wipes the sites and the master password from memory: all that a locked
  // program shows and holds of the vault. The vault file stays as it is.
  void ForgetVault();
  // Reads the vault from the drive again, for a locked program that was
  // given a password, and puts its master password in force; nothing is
  // written. False, with nothing of it held, when it cannot be read: what
  // happened is the vault file manager's to tell (GetLoadProblem).
  bool ReadVaultAgain();

  bool SaveFileValues() override;
  void RefreshSiteList() override;
  void SetMasterPassword(const std::wstring& text) override;

  // The main window's form and the DPI it is laid out for, which the window
  // sets (WM_CREATE, WM_DPICHANGED).
  MainWindowLayout& Layout() { return m_Layout; }
  // Places every child and gives it its fonts for the DPI that the main
  // window is laid out for now (Layout): after it moved to a screen of
  // another scale.
  void LayOut();
  // Shows the current site in the four fields.
  void UpdateDisplayValues();
  // Makes the site at `position` in title order the current one, selected
  // in the site list and shown in the four fields: what choosing it in the
  // list does. -1 (a list without a selection) shows no site.
  void ShowSite(int position);
  // Field 0 User Name to 3 Notes; null before ConstructWindows.
  HWND GetEditField(int index) const;
  HWND GetSiteList() const { return m_hSiteList; }
  // The vault header's password display flag: true shows it in clear.
  bool IsPasswordDisplayed() const;
  // Memory only; the caller saves.
  void SetPasswordDisplayed(int flag);
  // The Password field shows "*" per character, or the text in clear, and
  // repaints at once.
  void MaskPasswordField(bool masked);
  // The data folder, with its trailing backslash, where the vault file is.
  void SetDatabaseFolder(const std::wstring& folder);

 private:
  Editor();
  void ConstructLabels();
  void ConstructSiteList();
  void ConstructFields();
  void ConstructButtons();
  // The vault just read holds the master password that is in force now.
  void TakeStoredMasterPassword();
  void PlaceChildren();

  HWND m_hWnd = nullptr;
  MainWindowLayout m_Layout;
  EditWindowManager m_EditWindowManager;
  StaticControlManager m_StaticControlManager;
  EditorUpdater* m_EditorUpdater;
  int32_t m_ReadMode = EDDB_Default;
  std::array<std::unique_ptr<AbstractEditWindowControl>, 4> m_FieldEdits;
  std::array<std::unique_ptr<AbstractStaticControl>, 5> m_Labels;
  std::array<HWND, 4> m_Buttons{};
  HWND m_hSiteList = nullptr;
};
