// One start of the program as a process of its own, as the shell would start
// it: its command line is its path alone. The process is ended when the
// object goes, whatever the test did, so that no copy outlives its test and
// blocks the next one's start; it runs in a job that ends it, and whatever
// it started, also when the test program itself is ended (at a time-out).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/ScopedHandle.h"

class ProgramProcess {
 public:
  // Starts `program`. Its argument 0, from which the program takes its
  // folder, is `argumentZero` when given: a program that a drive cannot
  // hold can be told it runs from there.
  explicit ProgramProcess(const std::wstring& program, const std::wstring& argumentZero = L"");
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;
  ~ProgramProcess();

  DWORD Id() const { return m_id; }
  bool Running() const;
  // True once the process has ended within `timeoutMs`.
  bool WaitForExit(DWORD timeoutMs);
  // STILL_ACTIVE while it runs.
  DWORD ExitCode() const;
  void Kill();

  // The visible top-level windows of the process, of `className` when it
  // is not empty; also the hidden ones when `visibleOnly` is false.
  std::vector<HWND> Windows(const std::wstring& className = L"", bool visibleOnly = true) const;

 private:
  ScopedHandle m_job;
  ScopedHandle m_process;
  DWORD m_id = 0;
};
