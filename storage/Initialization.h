// The current master password: the one value that the password dialogs, the
// vault header and the start-up code share while the program runs. It lives
// only in memory; the vault header keeps the stored copy. Empty means there
// is none.
#pragma once

#include <string>

class Initialization {
 public:
  static Initialization& GetInstance();
  Initialization(const Initialization&) = delete;
  Initialization& operator=(const Initialization&) = delete;
  virtual ~Initialization();

  std::wstring GetMasterPassword() const;
  void SetMasterPassword(const std::wstring& text);
  void ClearMasterPassword();

 private:
  Initialization() = default;

  static std::wstring ms_szMasterPassword;
};
