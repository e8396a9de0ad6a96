#include "storage/Initialization.h"

#include "support/SecureWipe.h"

std::wstring Initialization::ms_szMasterPassword;

Initialization& Initialization::GetInstance() {
  static Initialization instance;
  return instance;
}

// The instance is made after the class-wide string and so goes before it:
// the password is wiped before its memory is freed at exit.
Initialization::~Initialization() {
  SecureWipe(ms_szMasterPassword);
}

std::wstring Initialization::GetMasterPassword() const {
  return ms_szMasterPassword;
}

void Initialization::SetMasterPassword(const std::wstring& text) {
  SecureWipe(ms_szMasterPassword);
  ms_szMasterPassword = text;
}

void Initialization::ClearMasterPassword() {
  SecureWipe(ms_szMasterPassword);
}
