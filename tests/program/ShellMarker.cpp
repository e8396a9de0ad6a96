// What the program's tests open instead of a browser: registered as the
// shell's handler of web addresses and of .htm pages, this program appends
// the address or file it was given, and a line break, to "<its own
// path>.opened", and the current folder it was started in to "<its own
// path>.folders" (UTF-16), and ends. The test reads which addresses the
// program under test handed to the shell, in which order, and where the
// shell started what opens them.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// Two copies started at once both append their line.
bool AppendLine(const std::wstring& path, const std::wstring& text) {
  const std::wstring line = text + L"\n";
  HANDLE record = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (record == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL wrote = WriteFile(
      record, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(record);
  return wrote != FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  wchar_t folder[MAX_PATH] = {};
  const DWORD folderLength = GetCurrentDirectoryW(MAX_PATH, folder);
  if (folderLength == 0 || folderLength >= MAX_PATH) return 1;
  // The folder first: a test that sees the address may read the folder.
  if (!AppendLine(std::wstring(path) + L".folders", folder)) return 1;
  return AppendLine(std::wstring(path) + L".opened", __argc > 1 ? __wargv[1] : L"") ? 0 : 1;
}
