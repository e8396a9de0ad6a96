// Another program on the user's machine (a virus scanner, a backup, sync or
// indexing tool) may open one of the vault's files for a moment, most often
// just as the program starts or saves, and Windows then refuses the file to
// everyone else until that program lets go. Such a refusal is a wait, not a
// failure: the calls that open, copy, rename or remove the vault's files try
// again for a short while before they give up.
#pragma once

#include <windows.h>

#include <functional>

// How long a refusal is waited out: long enough for a scanner to look at a
// large vault, short enough that a start or a save that cannot succeed does
// not seem to hang.
constexpr DWORD kHeldFileWaitMs = 2000;

enum class FileCall {
  // CreateFileW, CopyFileW, DeleteFileW: a holder shows as a sharing or lock
  // violation.
  Open,
  // MoveFileExW: also as access denied, which is what Windows reports for a
  // replaced or renamed file that is open elsewhere.
  Rename,
};

// Runs `call`, which returns false and sets the last error when it fails,
// again while its failure says that another program holds the file, for at
// most kHeldFileWaitMs in all. ERROR_SUCCESS, or the Windows error of the
// last attempt.
DWORD RetryWhileHeld(FileCall kind, const std::function<bool()>& call);
