// Start-up and exit of the program in processes of their own, each from a
// fresh folder as from a flash drive (see StartupChild.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/BesideThisProgram.h"
#include "tests/common/ChildProcess.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TimeBounds.h"

namespace {

class StartupTest : public ::testing::TestWithParam<const wchar_t*> {};

}  // namespace

TEST_P(StartupTest, EndsAsItShould) {
  TempFolder drive;
  const std::wstring program = drive.File(L"Keyfolio.exe");
  ASSERT_TRUE(CopyFileW(BesideThisProgram(L"app_startup_child.exe").c_str(), program.c_str(), FALSE));
  ChildProcess child(program, GetParam());
  ASSERT_TRUE(child.WaitForExit(kStepTimeoutMs)) << "the program did not end";
  const std::vector<unsigned char> output = child.Output();
  EXPECT_EQ(child.ExitCode(), 0u) << std::string(output.begin(), output.end());
  // The data folder is made beside the program, wherever it runs from.
  const DWORD attributes = GetFileAttributesW(drive.File(L"KFOdata").c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

INSTANTIATE_TEST_SUITE_P(Cases, StartupTest,
                         ::testing::Values(L"edit-windows-fail", L"exit-with-windows",
                                           L"exit-after-cancel", L"guarded-procedure",
                                           L"lock-when-idle"),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                           std::string name;
                           for (const wchar_t* c = info.param; *c; ++c)
                             name += *c == L'-' ? '_' : static_cast<char>(*c);
                           return name;
                         });
