// File > "Back Up Vault...": a copy of the vault file, byte for byte as it
// is on the drive, in a place the person chooses off the drive, checked by
// reading it back. A flash drive is easily lost or broken, and with it the
// only copy of every password.
#pragma once

#include <windows.h>

class BackUpVaultCommand {
 public:
  static void Run(HWND mainWindow);
};
