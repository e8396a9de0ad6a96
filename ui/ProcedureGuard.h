// The one boundary between the program's handlers and user32. A window or
// dialog procedure is called by the system, and on 64-bit Windows an
// exception that unwinds through the system's frames is undefined behaviour
// (Wine happens to carry it back to the caller of DispatchMessageW, Windows
// may terminate the process). So every procedure of the program runs its work
// through GuardProcedure: whatever the work throws is traced here and the
// message gets the answer the procedure chose for a failure.
#pragma once

#include <windows.h>

#include <utility>

// Writes one trace line for the exception being handled, naming the procedure
// and the message: "FrameworkWndProc: message 0x0111: exception caught: ...".
// Call only inside a catch block; it never throws.
void TraceProcedureException(const wchar_t* procedure, UINT message) noexcept;

// `work()` when it returns; when it throws, the trace line and then
// `onFailure()`, which must not throw itself.
template <typename Work, typename Failure>
LRESULT GuardProcedure(const wchar_t* procedure, UINT message, Work&& work,
                       Failure&& onFailure) noexcept {
  try {
    return std::forward<Work>(work)();
  } catch (...) {
    TraceProcedureException(procedure, message);
  }
  return std::forward<Failure>(onFailure)();
}
