#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/ScopedHandle.h"
#include "tests/common/BesideThisProgram.h"
#include "tests/common/StartProcess.h"

// The child's windows are destroyed by static objects after every other
// static object of its program is gone; see BoundWindowsAtExitChild.cpp.
TEST(InstanceSubclasser, OutlivesTheWindowsThatStaticObjectsDestroyAtExit) {
  std::wstring commandLine = L"\"" + BesideThisProgram(L"ui_bound_at_exit_child.exe") + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(StartProcess(nullptr, commandLine, FALSE, 0, nullptr, startup, process));
  ScopedHandle child(process.hProcess);
  CloseHandle(process.hThread);
  if (WaitForSingleObject(child.Get(), 30000) != WAIT_OBJECT_0) {
    TerminateProcess(child.Get(), 1);
    FAIL() << "the child did not end within 30 s";
  }
  DWORD exitCode = 0;
  ASSERT_TRUE(GetExitCodeProcess(child.Get(), &exitCode));
  // 0: every window went through its whole destruction; 3: a window's own
  // procedure missed WM_DESTROY or WM_NCDESTROY; else the child crashed.
  EXPECT_EQ(exitCode, 0u) << std::hex << "exit code 0x" << exitCode;
}
