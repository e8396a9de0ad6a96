// Every dialogue about the master password: the check at start-up, the
// creation of a first one, its change, and the reset of all data when it is
// forgotten. It owns no storage: the current master password is held by the
// options (Initialization) and stored in the vault header through the
// editor. A fresh object is made on the stack for each use.
//
// Typed passwords live in fixed 9-character buffers (8 characters and the
// terminator: an entry longer than 8 is cut, not refused) that are wiped
// when they go, as is every string here that held a password, and the
// dialogs' entry fields, when the dialog goes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class PasswordProtection {
 public:
  enum EnterResult {
    PASSWORD_ACCEPTED = 100,
    PASSWORD_CANCELLED = 102,
    PASSWORD_NOT_SET = 103,
  };

  PasswordProtection() = default;
  PasswordProtection(const PasswordProtection&) = delete;
  PasswordProtection& operator=(const PasswordProtection&) = delete;
  // Wipes the working copy: it is needed only while a flow runs.
  virtual ~PasswordProtection();

  // Refreshes the working copy from the options; true when there is a
  // master password.
  bool HasPassword();
  // Asks until the right password is typed, the user cancels, or the data
  // were deleted through "&Help". A dialog that cannot be shown counts as
  // cancelled.
  int EnterPassword(HWND owner);
  // The same question for a locked program, which holds no vault in memory:
  // each password given is checked against the vault that `readVault` reads
  // from the drive then, and a wrong one leaves nothing of it (`forgetVault`
  // wipes it). A vault that cannot be read (`readVault` false, after telling
  // the person why) asks again; one without a master password is
  // PASSWORD_NOT_SET, as at start-up.
  int EnterPasswordToUnlock(HWND owner, const std::function<bool()>& readVault,
                            const std::function<void()>& forgetVault);
  // Asks for the master password once more before something that lays
  // every password open (an export), in the start-up's entry dialog without
  // its "&Help" button: the forgotten-password reset has no place there.
  // Asks again after a wrong one. True for the right password; false when
  // the person cancelled or the dialog could not be shown.
  bool ConfirmMasterPassword(HWND owner);
  // 1 when a password was set (also when its save failed: the program goes
  // on with it and every later save tries again), 0 when the user cancelled
  // or a dialog could not be shown.
  int CreatePassword(HWND owner);
  // A failed save keeps the old password in force, as the vault on disk has
  // it, and shows no success.
  void ChangePassword(HWND owner);
  // 0 when the data were deleted: every file that held sites is seen to be
  // gone. 1 when the user declined, or when a file stays or cannot be seen
  // to be gone (the user has been told which and why).
  int ForgottenPasswordHelp(HWND owner);
  // The menu's "Change Master Password..." command.
  void OnCommand(HWND owner, int id);

 private:
  // Stores a new password everywhere it is held, and saves the vault. False
  // when the save failed (the user has been told).
  bool StorePassword(const wchar_t* password);
  // The question until it is answered; with `readVault`, as for a locked
  // program (EnterPasswordToUnlock).
  int AskUntilAnswered(HWND owner, const std::function<bool()>& readVault,
                       const std::function<void()>& forgetVault);

  static std::wstring m_strPassword;
};
