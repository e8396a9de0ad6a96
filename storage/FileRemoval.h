// Removing a set of files as one: every file goes, or none does. The vault
// can be in several files at once (the vault, a newer complete file beside
// it, copies kept aside), and a reset that took some and left another would
// bring back an older vault at the next start, or leave sites behind after
// telling the person that they are gone. So each file is first opened for
// deletion and held against other programs, and only when all of them are
// held are they marked to go, together, when the handles close.
//
// Nothing is taken as gone that was not seen to be gone: only "file not
// found", in a folder that is there, means that a file is not there. A
// drive that was pulled answers "path not found" or "not ready" for every
// name on it, and a file that cannot be looked at may well be there.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct FileRemoval {
  // ERROR_SUCCESS when none of the files is there any more. Otherwise why
  // not: ERROR_SHARING_VIOLATION or ERROR_LOCK_VIOLATION while another
  // program holds `stays`, another Windows error when it cannot be removed
  // at all (a write-protected drive, a file the user may not delete), or
  // what Windows answered when `stays` (then possibly the folder) could not
  // even be looked at (a drive that is gone).
  DWORD error = ERROR_SUCCESS;
  std::wstring stays;
  // Some of the files may be gone already: the failure came after they were
  // marked to go. False means that every file is as it was.
  bool partly = false;
};

// Removes those of `paths`, all in `folder` (no trailing backslash), that are
// there. A file held by another program is waited for as HeldFile.h says; a
// read-only file goes too.
FileRemoval RemoveTogether(const std::wstring& folder, const std::vector<std::wstring>& paths);
