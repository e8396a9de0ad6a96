// A helper program of the test suite run as a second process: another
// program that saves a vault, or that holds a vault file, or the program's
// own start-up in a folder of the test's. It is built beside the test
// program (or copied where the test wants it) and talks back through its
// standard output and its exit code, so a test waits for what it says,
// never for a fixed time.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/ScopedHandle.h"

class ChildProcess {
 public:
  // Starts `program` (a file name beside the test program, or a full path)
  // with `arguments`.
  ChildProcess(const std::wstring& program, const std::wstring& arguments);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Ends the child if it still runs.
  ~ChildProcess();

  bool Started() const { return m_process.IsValid(); }

  // True once the child has written at least `bytes` bytes; false when it
  // ended first or `timeoutMs` passed.
  bool WaitForOutput(DWORD bytes, DWORD timeoutMs);
  // True once the child has ended by itself within `timeoutMs`.
  bool WaitForExit(DWORD timeoutMs);
  // The exit code of a child that has ended; STILL_ACTIVE while it runs.
  DWORD ExitCode() const;
  void Kill();

  // What the child wrote and nobody read yet, once it has ended.
  std::vector<unsigned char> Output();

 private:
  ScopedHandle m_process;
  ScopedHandle m_output;
};
