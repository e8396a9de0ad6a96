// A second copy of the vault, off the drive: the vault file exactly as it is
// on the drive, byte for byte (scrambled as the vault is, and opened by the
// same master password), written where the person chose in one step, then
// read back and compared, since a backup that was never checked may be no
// backup at all. To restore it, the person copies it into KFOdata as KFO.dta
// while Keyfolio is ended.
#pragma once

#include <windows.h>

#include <string>

class VaultBackup {
 public:
  enum Step {
    VB_Done,
    // The vault file could not be read.
    VB_ReadVault,
    // The backup could not be written.
    VB_Write,
    // It was written, but did not read back the same: it has been removed,
    // unless `leftOver` names it.
    VB_Verify,
  };

  struct Result {
    Step step = VB_Done;
    DWORD error = ERROR_SUCCESS;
    // VB_Write: the partial copy when it may still be there (SafeFileWriter).
    // VB_Verify: the copy when it could not be removed.
    std::wstring leftOver;
  };

  // Copies the file `vault` to `target` (full paths).
  static Result Copy(const std::wstring& vault, const std::wstring& target);
  // "KFO backup 2026-12-05.dta" for that day.
  static std::wstring DefaultName(int year, int month, int day);
};
