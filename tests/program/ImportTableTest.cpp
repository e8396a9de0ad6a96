// The packaged program imports only DLLs that Windows always maps from its
// system folder (its known DLLs), so that a DLL of the same name left beside
// the program on the drive is never mapped at its start. Every other DLL it
// loads itself, from the system folder, once its first statement has
// narrowed the search. shell32 and ole32 are known DLLs too, but they load
// DLLs by name that are not; they are left out on purpose.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "tests/common/TempFolder.h"
#include "tests/program/ImportedDlls.h"

namespace {

const wchar_t kPackagedProgram[] = KFO_PACKAGED_PROGRAM_FOLDER L"\\Keyfolio.exe";

const std::set<std::string> kKnownDlls = {"advapi32.dll", "gdi32.dll", "kernel32.dll",
                                          "msvcrt.dll",   "ntdll.dll", "user32.dll"};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

TEST(ImportTable, TheProgramImportsOnlyKnownDlls) {
  const std::vector<std::string> dlls = ImportedDlls(ReadBytes(kPackagedProgram));
  // Every program imports kernel32: a reader that found nothing would pass.
  EXPECT_TRUE(std::any_of(dlls.begin(), dlls.end(),
                          [](const std::string& dll) { return Lower(dll) == "kernel32.dll"; }));
  for (const std::string& dll : dlls)
    EXPECT_EQ(kKnownDlls.count(Lower(dll)), 1u)
        << dll << " is imported but is not one of the DLLs that Windows maps from its own folder";
}

}  // namespace
