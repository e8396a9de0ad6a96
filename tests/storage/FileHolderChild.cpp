// Another program that holds a file, as a virus scanner or a backup tool
// does: opens the file named on its command line with no sharing at all,
// writes one byte to its standard output once it holds it, keeps it for the
// milliseconds given, then closes it and ends.
#include <windows.h>

#include <cwchar>

#include "support/ScopedHandle.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  ScopedHandle file(CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.IsValid()) return 3;
  const char held = 'H';
  DWORD written = 0;
  if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), &held, 1, &written, nullptr)) return 4;
  Sleep(static_cast<DWORD>(wcstoul(argv[2], nullptr, 10)));
  return 0;
}
