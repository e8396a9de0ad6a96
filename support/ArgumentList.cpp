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
