#include "app/RunningCopyWindow.h"

#include "support/ScopedHandle.h"

namespace {

// The longest path the system hands out, in characters, with its end.
constexpr DWORD kLongestPath = 32768;
// Class names are at most 256 characters long.
constexpr int kLongestClassName = 257;

std::wstring OwnProgramFile() {
  std::wstring path(kLongestPath, L'\0');
  // GetModuleFileNameW cuts a path that does not fit and answers the
  // buffer's size; no path is that long.
  const DWORD length = GetModuleFileNameW(nullptr, &path[0], kLongestPath);
  path.resize(length < kLongestPath ? length : 0);
  return path;
}

// Empty when the process cannot be asked: it has ended, or it belongs to
// someone the session may not look at.
std::wstring ProgramFileOf(DWORD processId) {
  const ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.IsValid()) return std::wstring();
  std::wstring path(kLongestPath, L'\0');
  DWORD length = kLongestPath;
  if (!QueryFullProcessImageNameW(process.Get(), 0, &path[0], &length)) return std::wstring();
  path.resize(length);
  return path;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

RunningCopyWindow::RunningCopyWindow(const std::wstring& className)
    : m_className(className), m_programFile(OwnProgramFile()) {}

bool RunningCopyWindow::IsMainWindow(HWND window) const {
  // A handle of nothing, or of a window that has gone, has no class.
  wchar_t className[kLongestClassName] = {};
  const int classLength = GetClassNameW(window, className, kLongestClassName);
  if (classLength <= 0 || !SameIgnoringCase(std::wstring(className, classLength), m_className))
    return false;
  if (GetAncestor(window, GA_PARENT) != GetDesktopWindow()) return false;
  DWORD processId = 0;
  if (!GetWindowThreadProcessId(window, &processId)) return false;
  const std::wstring programFile = ProgramFileOf(processId);
  return !programFile.empty() && !m_programFile.empty() &&
         SameIgnoringCase(programFile, m_programFile);
}

HWND RunningCopyWindow::Find() const {
  for (HWND window = nullptr;
       (window = FindWindowExW(nullptr, window, m_className.c_str(), nullptr)) != nullptr;)
    if (IsMainWindow(window)) return window;
  return nullptr;
}
