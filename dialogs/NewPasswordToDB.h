// The Add Site dialog, and through EditPasswordToDB the Edit Site dialog:
// five fields, of which the title and the password are required (Edit Site
// lets a site without a password keep none). On OK the dialog hands the site
// to the site set, which refuses a title another site has; the set tells the
// user, and the dialog stays open with everything as typed. The caller saves
// the vault once the dialog has closed, whatever its result.
#pragma once

#include <windows.h>

#include <string>

#include "dialogbase/DialogBase.h"
#include "storage/PasswordRecStruct.h"

class NewPasswordToDB : public DialogBase {
 public:
  // Shows the Add Site dialog over `parent` and returns when it is closed;
  // GetResult() is 1 when a site was added, 2 when the user cancelled.
  explicit NewPasswordToDB(HWND parent);
  // The fields read last may hold a password.
  ~NewPasswordToDB() override;

  int GetTemplateID() const override;
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override;
  // Overwrites the Password field before it goes (WipeFieldText).
  void OnDestroy() override;

  // Reads and checks the five fields and hands the site over; true when the
  // dialog may close.
  bool ReadEditFields();

 protected:
  // For the Edit Site dialog, which runs the dialog itself.
  NewPasswordToDB() = default;

  // Hands m_Record to the site set: false when the set refused it (and has
  // told the user).
  virtual bool ApplyRecord();
  // Whether OK needs a password in the field: a new site does.
  virtual bool PasswordRequired() const { return true; }

  std::wstring m_strTitle;
  std::wstring m_strUserName;
  std::wstring m_strPassword;
  std::wstring m_strWebsiteURL;
  std::wstring m_strNotes;
  PasswordRecStruct m_Record;

 private:
  void FillPasswordFromGenerator();
  void WipeFields();
};
