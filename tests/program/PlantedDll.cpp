// A DLL that someone left beside the program on the drive, copied there
// under the names of system DLLs. All it does, when a process maps it, is
// leave "<its own path>.mapped" beside itself, holding the path of the
// program that mapped it (UTF-16): a test that finds no such file knows that
// the DLL never ran. It exports nothing; Wine gives a missing import a stub
// that fails only when called, so a program that imports from the DLL's
// name still starts, and the file tells (Windows refuses to start it).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t marker[MAX_PATH + 16] = {};
  const DWORD length = GetModuleFileNameW(module, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcatW(marker, L".mapped");
  wchar_t program[MAX_PATH] = {};
  const DWORD programLength = GetModuleFileNameW(nullptr, program, MAX_PATH);
  const HANDLE file = CreateFileW(marker, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return TRUE;
  DWORD written = 0;
  WriteFile(file, program, programLength * sizeof(wchar_t), &written, nullptr);
  CloseHandle(file);
  return TRUE;
}
