// File > "Back Up Vault...": a copy of the vault file, byte for byte as it
// is on the drive, in a place the person chooses off the drive, checked by
// reading it back. A flash drive is easily lost or broken, and with it the
// only copy of every password.
#pragma once

#include <windows.h>

#include <string>

#include "exchange/VaultBackup.h"

class BackUpVaultCommand {
 public:
  static void Run(HWND mainWindow);
  // What the box says when the backup of `vault` to `path` failed: only
  // what was seen, so never that nothing is there when something may be.
  static std::wstring FailureMessage(const VaultBackup::Result& result, const std::wstring& vault,
                                     const std::wstring& path);
};
