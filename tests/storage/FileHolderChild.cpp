// Another program that holds a file, as a virus scanner or a backup tool
// does: opens the file named on its command line with no sharing at all,
// writes "H" to its standard output once it holds it, and keeps it until a
// line comes on its standard input (or the input ends, when the test is
// gone); then closes it, writes "R" and ends. The test decides when the hold
// ends, so that what it shows never hangs on how fast either process runs.
#include <windows.h>

#include "support/ScopedHandle.h"

namespace {

bool Say(char what) {
  DWORD written = 0;
  return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), &what, 1, &written, nullptr) && written == 1;
}

// Returns at the end of a line or of the input.
void WaitForALine() {
  char unit = 0;
  DWORD read = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &unit, 1, &read, nullptr) && read == 1 &&
         unit != '\n') {
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  ScopedHandle file(CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.IsValid()) return 3;
  if (!Say('H')) return 4;
  WaitForALine();
  file.Close();
  return Say('R') ? 0 : 4;
}
