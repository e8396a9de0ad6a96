// A process that a test starts: a helper program of the suite (another
// program that saves a vault or holds one of its files, the program's own
// start-up in a folder of the test's), or the packaged program as the shell
// starts it (ProgramProcess). A helper talks with the test through pipes, its
// standard input and output and its exit code, so a test waits for what it
// says and tells it when to go on, never waiting for a fixed time.
//
// The process runs in a job that ends it, with whatever it started, when
// the object goes, also when the test program itself is ended (at a time-out):
// no process outlives its test to hold a file or a name of the next one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/ScopedHandle.h"

class ChildProcess {
 public:
  // Starts the helper `program` (a file name beside the test program, or a
  // full path) with `arguments` after its quoted path. Throws StepFailed
  // when it does not start.
  ChildProcess(const std::wstring& program, const std::wstring& arguments);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  // Ends the process if it still runs.
  ~ChildProcess();

  DWORD Id() const { return m_id; }
  bool Running() const;
  // True once the process has ended within `timeoutMs`; this thread's
  // messages are dispatched meanwhile.
  bool WaitForExit(DWORD timeoutMs);
  // STILL_ACTIVE while it runs.
  DWORD ExitCode() const;
  // Ends it at once, wherever it is, and waits until it has ended.
  void Kill();
  // The visible top-level windows of the process, of `className` when it
  // is not empty; also the hidden ones when `visibleOnly` is false.
  std::vector<HWND> Windows(const std::wstring& className = L"", bool visibleOnly = true) const;

  // --- A helper's pipes
  // True once the helper has written at least `bytes` bytes that nobody
  // read yet; false when it ended first or `timeoutMs` passed.
  bool WaitForOutput(DWORD bytes, DWORD timeoutMs);
  // What it wrote and nobody read yet: all of it once it has ended, else
  // what is there now.
  std::vector<unsigned char> Output();
  // Writes `line` and a line end to its standard input.
  void Tell(const std::string& line);

 protected:
  struct Launch {
    std::wstring program;
    std::wstring commandLine;
    // Empty: the test's own.
    std::wstring folder;
    bool pipes = false;
  };
  explicit ChildProcess(const Launch& launch);

 private:
  ScopedHandle m_job;
  ScopedHandle m_process;
  DWORD m_id = 0;
  ScopedHandle m_input;
  ScopedHandle m_output;
};
