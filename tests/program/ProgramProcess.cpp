#include "tests/program/ProgramProcess.h"

ProgramProcess::ProgramProcess(const std::wstring& program, const std::wstring& argumentZero)
    : ChildProcess(Launch{program,
                          L"\"" + (argumentZero.empty() ? program : argumentZero) + L"\"",
                          program.substr(0, program.rfind(L'\\')), false}) {}
