#include "support/ArgumentList.h"

#include <windows.h>

#include <cstdlib>

#include "support/DebugLog.h"

ArgumentList::ArgumentList(const wchar_t* commandLine)
    : ArgumentList(commandLine, __wargv ? __argc : 0, __wargv) {}

ArgumentList::ArgumentList(const wchar_t* commandLine, int count, wchar_t* const* arguments)
    : m_count(count < 0 ? 0 : count), m_arguments(new const wchar_t*[m_count + 1]) {
  DebugLog(L"ArgumentList::ArgumentList: %s", commandLine ? commandLine : L"");
  for (int i = 0; i < m_count; ++i) m_arguments[i] = arguments[i];
  m_arguments[m_count] = nullptr;
}

const wchar_t* ArgumentList::Argument(int index) const {
  if (index < 0 || index >= m_count) return nullptr;
  return m_arguments[index];
}

namespace {

std::wstring RunningProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.rfind(L'\\'));
}

}  // namespace

std::wstring ArgumentList::ProgramFolder() const {
  const std::wstring program = Argument(0) ? Argument(0) : L"";
  const size_t lastBackslash = program.rfind(L'\\');
  if (lastBackslash == std::wstring::npos) return RunningProgramFolder();
  return program.substr(0, lastBackslash);
}
