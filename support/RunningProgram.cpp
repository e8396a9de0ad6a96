#include "support/RunningProgram.h"

#include <windows.h>

#include "support/DebugLog.h"

std::wstring RunningProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) {
      DebugLog(L"RunningProgramFolder: GetModuleFileNameW failed %lu", GetLastError());
      return std::wstring();
    }
    // A path that fills the buffer may have been cut.
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.rfind(L'\\'));
}
