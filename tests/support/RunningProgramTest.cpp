#include "support/RunningProgram.h"

#include <windows.h>

#include <cstdlib>

#include <gtest/gtest.h>

// Argument 0 is whatever the starter chose; the folder is where the running
// file is.
TEST(RunningProgram, FolderIsTheRunningFilesWhateverArgumentZeroSays) {
  wchar_t* const own = __wargv[0];
  wchar_t elsewhere[] = L"C:\\elsewhere\\support_tests.exe";
  __wargv[0] = elsewhere;
  const std::wstring folder = RunningProgramFolder();
  __wargv[0] = own;
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'\\');
  EXPECT_NE(folder, L"C:\\elsewhere");
  const std::wstring beside = folder + L"\\support_tests.exe";
  EXPECT_NE(GetFileAttributesW(beside.c_str()), INVALID_FILE_ATTRIBUTES) << "no program there";
}
