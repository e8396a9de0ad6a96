// Gives the running program a command as its menu would, for
// scripts/screenshots: posts WM_COMMAND with the command id to the main
// window. Posted, so it returns at once while the program runs the dialog.
//
//   post_command.exe <command id>
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: post_command.exe <command id>\n");
    return 2;
  }
  const HWND main = FindWindowW(L"KeyfolioFlashClass", nullptr);
  const unsigned long id = std::wcstoul(argv[1], nullptr, 10);
  if (!main || !PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, 0), 0)) {
    std::fprintf(stderr, "post_command: the program's window is not there\n");
    return 1;
  }
  return 0;
}
