#include "tests/common/StartProcess.h"

#include <cstdio>

namespace {

constexpr int kAttempts = 3;

}  // namespace

BOOL StartProcess(const wchar_t* application, std::wstring& commandLine, BOOL inherit, DWORD flags,
                  const wchar_t* folder, STARTUPINFOW& startup, PROCESS_INFORMATION& process) {
  for (int attempt = 1;; ++attempt) {
    // CreateProcessW may write into the command line.
    std::wstring line = commandLine;
    if (CreateProcessW(application, &line[0], nullptr, nullptr, inherit, flags, nullptr, folder,
                       &startup, &process))
      return TRUE;
    const DWORD error = GetLastError();
    std::fprintf(stderr, "start %d of %ls failed with error %lu\n", attempt, commandLine.c_str(),
                 error);
    if (attempt == kAttempts) {
      SetLastError(error);
      return FALSE;
    }
  }
}
