// The current master password: the one value that the password dialogs, the
// vault header and the start-up code share while the program runs. It lives
// only in memory; the vault header keeps the stored copy. Empty means there
// is none. It is wiped (SecureWipe.h) before it is replaced, when it is
// cleared and at exit.
#pragma once

#include <string>

class Initialization {
 public:
  static Initialization& GetInstance();
  Initialization(const Initialization&) = delete;
  Initialization& operator=(const Initialization&) = delete;
  virtual ~Initialization();

  // A copy, the caller's to wipe.
  std::wstring GetMasterPassword() const;
  void SetMasterPassword(const std::wstring& text);
  void ClearMasterPassword();

 private:
  Initialization() = default;

  static std::wstring ms_szMasterPassword;
};
