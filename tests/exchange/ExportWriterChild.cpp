// A program that writes a large export again and again through
// SafeFileWriter, for a test to end it in the middle of a write: the file
// named on its command line, of the megabytes given after it, each time with
// the number of the write in its first four bytes. It writes "W" to its
// standard output as each write begins, and ends on the first failure.
#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>

#include "exchange/SafeFileWriter.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  std::string bytes(static_cast<size_t>(std::wcstoul(argv[2], nullptr, 10)) << 20, 'x');
  for (uint32_t write = 1;; ++write) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(write >> (8 * i));
    DWORD said = 0;
    if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "W", 1, &said, nullptr)) return 4;
    if (SafeFileWriter::Write(argv[1], bytes.data(), bytes.size()).error != ERROR_SUCCESS) return 3;
  }
}
