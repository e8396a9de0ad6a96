// One start of the program as a process of its own, as the shell would start
// it: its command line is its path alone, and it runs in its own folder. It
// is a ChildProcess (ended with the object, and with the test program) that
// talks with the test through its windows only.
#pragma once

#include <string>

#include "tests/common/ChildProcess.h"

class ProgramProcess : public ChildProcess {
 public:
  // Starts `program`. Its argument 0 is `argumentZero` when given, as
  // whoever starts a program may choose. Throws StepFailed when it does
  // not start.
  explicit ProgramProcess(const std::wstring& program, const std::wstring& argumentZero = L"");
};
