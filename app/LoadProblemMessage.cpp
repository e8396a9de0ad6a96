#include "app/LoadProblemMessage.h"

namespace {

const wchar_t* WhatHappened(VaultFiles::KeepReason reason) {
  switch (reason) {
    case VaultFiles::KR_Unopened:
      return L"Keyfolio could not open your data file KFO.dta. Another program may be using it.";
    case VaultFiles::KR_ForeignSignature:
      return L"The file KFO.dta in your data folder is not a Keyfolio data file.";
    case VaultFiles::KR_NewerVersion:
      return L"Your data file KFO.dta was made by a newer version of Keyfolio, which this version "
             L"cannot read.";
    case VaultFiles::KR_Damaged:
      return L"Your data file KFO.dta is damaged and could not be read.";
    case VaultFiles::KR_PartlyRead:
      return L"Your data file KFO.dta is damaged: Keyfolio could read only some of your sites.";
    case VaultFiles::KR_None:
      break;
  }
  return nullptr;
}

const wchar_t kNotThere[] =
    L"Keyfolio could not find your data file KFO.dta. The flash drive may have been removed.";

}  // namespace

std::wstring LoadProblemMessage(VaultFiles::KeepReason reason, const std::wstring& keptName) {
  const wchar_t* what = WhatHappened(reason);
  if (!what) return std::wstring();
  const std::wstring kept = keptName.substr(keptName.rfind(L'\\') + 1);
  std::wstring message = what;
  message += L"\n\nThe file is not changed or deleted: Keyfolio keeps it as " + kept +
             L" in the KFOdata folder beside the program.\n\n";
  message += reason == VaultFiles::KR_PartlyRead
                 ? L"Keyfolio goes on with the sites it could read."
                 : L"Keyfolio now starts with a new, empty set of sites.";
  return message;
}

std::wstring UnlockProblemMessage(VaultFiles::KeepReason reason) {
  const wchar_t* what = WhatHappened(reason);
  std::wstring message = what ? what : kNotThere;
  message += L"\n\nNothing was changed or deleted. Keyfolio stays locked: give your master "
             L"password again once the file can be read, or press Cancel to end Keyfolio.";
  return message;
}
