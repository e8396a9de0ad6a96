#include "support/SystemLibrary.h"

#include <string>

#include "support/DebugLog.h"

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32 takes the DLL and its imports from the system
// folder alone. Windows without the search flags refuses it as an invalid
// parameter; there the DLL is named by its full path, and
// LOAD_WITH_ALTERED_SEARCH_PATH searches its imports from that folder first.
HMODULE LoadFromSystemFolder(const wchar_t* dll) {
  if (HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + dll;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void SystemLibrary::RestrictSearchToSystemFolder() {
  // kernel32 is mapped into every process before the program's first line.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  DebugLog(L"SystemLibrary::RestrictSearchToSystemFolder: no SetDefaultDllDirectories");
  SetDllDirectoryW(L"");
}

FARPROC SystemLibrary::Address(const wchar_t* dll, const char* name) {
  const HMODULE module = LoadFromSystemFolder(dll);
  if (!module) {
    DebugLog(L"SystemLibrary::Address: %s not loaded, error %lu", dll,
             static_cast<unsigned long>(GetLastError()));
    return nullptr;
  }
  const FARPROC address = GetProcAddress(module, name);
  if (!address) DebugLog(L"SystemLibrary::Address: %s has no %hs", dll, name);
  return address;
}
