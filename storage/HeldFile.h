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
// The pause between two attempts: short enough that a file released a
// moment later is taken at once.
constexpr DWORD kHeldFileRetryStepMs = 50;

enum class FileCall {
  // CreateFileW, CopyFileW, DeleteFileW: a holder shows as a sharing or lock
  // violation.
  Open,
  // MoveFileExW: also as access denied, which is what Windows reports for a
  // replaced or renamed file that is open elsewhere.
  Rename,
};

// What the waiting is measured with and spent in. The program waits on the
// system's clock; a test gives its own, to count the attempts and to decide
// what happens between them instead of timing them.
struct RetryClock {
  // Milliseconds since some fixed instant.
  std::function<ULONGLONG()> now;
  // Waits about that many milliseconds.
  std::function<void(DWORD)> pause;
};

// GetTickCount64 and Sleep.
const RetryClock& SystemClock();

// Runs `call`, which returns false and sets the last error when it fails,
// again while its failure says that another program holds the file, until
// kHeldFileWaitMs have passed on `clock` since the first attempt. Between
// attempts it pauses kHeldFileRetryStepMs, less before the last. A refusal
// and the end of the wait are traced. ERROR_SUCCESS, or the Windows error
// of the last attempt.
DWORD RetryWhileHeld(FileCall kind, const std::function<bool()>& call,
                     const RetryClock& clock = SystemClock());
