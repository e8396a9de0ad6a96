#include "support/SystemLibrary.h"

#include <windows.h>
#include <bcrypt.h>
#include <commctrl.h>
#include <ntsecapi.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/common/TempFolder.h"

namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& unit : text) unit = towlower(unit);
  return text;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return Lower(std::wstring(folder, length)) + L"\\";
}

// The file of the module that holds `address`.
std::wstring ModuleFileOf(void (*address)()) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<const wchar_t*>(address), &module))
    return L"";
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return Lower(std::wstring(path, length));
}

template <typename FunctionPointer>
void (*Generic(FunctionPointer function))() {
  return reinterpret_cast<void (*)()>(function);
}

// The functions that the program takes this way, each from the system folder.
TEST(SystemLibrary, TakesTheProgramsFunctionsFromTheSystemFolder) {
  const struct {
    const char* name;
    void (*function)();
  } cases[] = {
      {"InitCommonControlsEx",
       Generic(SystemLibrary::Function<decltype(&InitCommonControlsEx)>(L"comctl32.dll",
                                                                         "InitCommonControlsEx"))},
      {"ShellExecuteW", Generic(SystemLibrary::Function<decltype(&ShellExecuteW)>(
                            L"shell32.dll", "ShellExecuteW"))},
      {"BCryptGenRandom", Generic(SystemLibrary::Function<decltype(&BCryptGenRandom)>(
                              L"bcrypt.dll", "BCryptGenRandom"))},
      {"SystemFunction036", Generic(SystemLibrary::Function<decltype(&RtlGenRandom)>(
                                L"advapi32.dll", "SystemFunction036"))},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.function, nullptr) << c.name;
    EXPECT_EQ(ModuleFileOf(c.function).rfind(SystemFolder(), 0), 0u)
        << c.name << " from " << ::testing::PrintToString(ModuleFileOf(c.function));
  }
  EXPECT_EQ(SystemLibrary::Function<FARPROC>(L"kernel32.dll", "NoSuchFunctionAnywhere"), nullptr);
  EXPECT_EQ(SystemLibrary::Function<FARPROC>(L"no-such-dll-kfo.dll", "Anything"), nullptr);
}

// A DLL that the ordinary search finds (here in the current folder, which
// that search takes after the system folders) is not one that it takes.
TEST(SystemLibrary, TakesNothingFromOutsideTheSystemFolder) {
  TempFolder folder;
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  // A program file maps as a DLL; it exports nothing.
  ASSERT_TRUE(CopyFileW(self, folder.File(L"kfo-planted.dll").c_str(), FALSE));
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
  const HMODULE found = LoadLibraryW(L"kfo-planted.dll");
  const bool foundOutside = found != nullptr;
  if (found) FreeLibrary(found);
  const FARPROC taken = SystemLibrary::Function<FARPROC>(L"kfo-planted.dll", "GetTickCount");
  const HMODULE left = GetModuleHandleW(L"kfo-planted.dll");
  SetCurrentDirectoryW(previous);
  ASSERT_TRUE(foundOutside) << "the ordinary search did not find the DLL: the test proves nothing";
  EXPECT_EQ(taken, nullptr);
  EXPECT_EQ(left, nullptr);
}

}  // namespace
