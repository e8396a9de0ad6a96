// The Generate Password dialog, opened by the site dialogs' "&Generate"
// button. The user picks a length of 4 to 64 and at least one character
// class; the dialog makes the password with PasswordGenerator and keeps it
// for the site dialog, which reads it once the dialog has closed. Every
// opening starts from length 8 with all four classes chosen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dialogbase/DialogBase.h"

class RandomSource;

class GeneratePassword : public DialogBase {
 public:
  // Shows the dialog over `parent` and returns when it is closed. The
  // password's numbers come from RandomSource::GetInstance(), or from
  // `source`, which must outlive the dialog.
  explicit GeneratePassword(HWND parent);
  GeneratePassword(HWND parent, RandomSource& source);
  // Wipes the password it kept.
  ~GeneratePassword() override;

  // The generated password; empty when the user cancelled.
  const std::wstring& GetPassword() const { return m_Password; }

  int GetTemplateID() const override;
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override;

 private:
  // Reads the length and the classes into ms_Selections and makes the
  // password; false, after telling the user why, when there is none.
  bool Generate();

  // The choices of the last Generate: classes 0-3 (1 chosen), the length at
  // GP_PASSWORDLENGTH, -1 for an entry not read yet.
  static std::vector<int32_t> ms_Selections;

  RandomSource& m_Source;
  std::wstring m_Password;
};
