// What the program's tests open instead of a browser: registered as the
// shell's handler of web addresses and of .htm pages, this program appends
// the address or file it was given, and a line break, to "<its own
// path>.opened" (UTF-16) and ends. The test reads which addresses the
// program under test handed to the shell, and in which order.
#include <windows.h>

#include <cwchar>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  wcscat(path, L".opened");
  const std::wstring line = std::wstring(__argc > 1 ? __wargv[1] : L"") + L"\n";
  // Two copies started at once both append their line.
  HANDLE record = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (record == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL wrote = WriteFile(
      record, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(record);
  return wrote ? 0 : 1;
}
