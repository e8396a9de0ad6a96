#include "support/ArgumentList.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

std::wstring ProgramFolderOf(const wchar_t* argument0) {
  wchar_t* arguments[] = {const_cast<wchar_t*>(argument0), const_cast<wchar_t*>(L"extra.dta")};
  return ArgumentList(L"prog extra.dta", 2, arguments).ProgramFolder();
}

std::wstring RunningProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.rfind(L'\\'));
}

}  // namespace

TEST(ArgumentList, ProgramFolderIsArgumentZeroUpToItsLastBackslash) {
  EXPECT_EQ(ProgramFolderOf(L"E:\\Tools\\prog.exe"), L"E:\\Tools");
  EXPECT_EQ(ProgramFolderOf(L"E:\\prog.exe"), L"E:");
  EXPECT_EQ(ProgramFolderOf(L"\\\\server\\share\\Keyfolio\\prog.exe"),
            L"\\\\server\\share\\Keyfolio");
}

TEST(ArgumentList, ArgumentZeroWithoutBackslashGivesTheRunningProgramsFolder) {
  EXPECT_EQ(ProgramFolderOf(L"prog.exe"), RunningProgramFolder());
  EXPECT_EQ(ProgramFolderOf(L""), RunningProgramFolder());
}

TEST(ArgumentList, AccessorRefusesIndicesOutsideTheList) {
  wchar_t* arguments[] = {const_cast<wchar_t*>(L"E:\\prog.exe"), const_cast<wchar_t*>(L"x")};
  ArgumentList list(L"E:\\prog.exe x", 2, arguments);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_STREQ(list.Argument(0), L"E:\\prog.exe");
  EXPECT_STREQ(list.Argument(1), L"x");
  EXPECT_EQ(list.Argument(-1), nullptr);
  EXPECT_EQ(list.Argument(2), nullptr);
}

TEST(ArgumentList, EmptyVectorStillGivesAUsableFolder) {
  ArgumentList list(L"", 0, nullptr);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Argument(0), nullptr);
  EXPECT_EQ(list.ProgramFolder(), RunningProgramFolder());
}
