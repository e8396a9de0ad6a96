// One copy per session: a second start brings the running copy forward and
// ends; two starts at once leave one copy.
#include <gtest/gtest.h>

#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

using SingleInstanceTest = ProgramTest;

// A window of another program, in front of the running copy when the
// second start comes.
class OtherProgramWindow {
 public:
  OtherProgramWindow()
      : m_window(CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 20, 20, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr),
                                 nullptr)) {
    BringToFront(m_window);
  }
  OtherProgramWindow(const OtherProgramWindow&) = delete;
  OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;
  ~OtherProgramWindow() { DestroyWindow(m_window); }

 private:
  HWND m_window;
};

// Main windows of the program on the whole desktop, whichever copy made them.
int MainWindowsOnTheDesktop() {
  int count = 0;
  for (HWND window = nullptr;
       (window = FindWindowExW(nullptr, window, Keyfolio::kMainClass, nullptr)) != nullptr;)
    ++count;
  return count;
}

void StartASecondCopy(const FlashDrive& drive) {
  ProgramProcess second(drive.ProgramPath());
  ASSERT_TRUE(second.WaitForExit(kStepTimeoutMs));
  EXPECT_EQ(second.ExitCode(), 0u);
}

TEST_F(SingleInstanceTest, SecondStartBringsTheRunningCopyToTheFront) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  {
    OtherProgramWindow other;
    StartASecondCopy(m_drive);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; }));
  }
  EXPECT_EQ(MainWindowsOnTheDesktop(), 1);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

TEST_F(SingleInstanceTest, SecondStartRestoresAMinimisedCopy) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  program.Minimize();
  StartASecondCopy(m_drive);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(main) && GetForegroundWindow() == main; }));
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(MainWindowsOnTheDesktop(), 1);
}

// Enabling the main window under the master password dialog would let the
// sites be reached past the password.
TEST_F(SingleInstanceTest, SecondStartDuringThePasswordCheckBringsTheCheckForward) {
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  Keyfolio& program = Start();
  HWND check = program.WaitForDialog(L"Keyfolio");
  {
    OtherProgramWindow other;
    StartASecondCopy(m_drive);
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == check; }));
  }
  EXPECT_FALSE(IsWindowEnabled(program.MainWindow()));
  EXPECT_TRUE(program.Titles().empty());
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

TEST_F(SingleInstanceTest, TwoStartsAtOnceLeaveOneCopy) {
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  ProgramProcess first(m_drive.ProgramPath()), second(m_drive.ProgramPath());
  ASSERT_TRUE(WaitFor([&] { return !first.Running() || !second.Running(); }));
  ProgramProcess& ended = first.Running() ? second : first;
  ProgramProcess& running = first.Running() ? first : second;
  EXPECT_EQ(ended.ExitCode(), 0u);
  // The copy that runs goes on to its password check.
  EXPECT_TRUE(WaitFor([&] { return running.Windows(L"#32770").size() == 1; }));
  EXPECT_TRUE(running.Running());
  EXPECT_EQ(MainWindowsOnTheDesktop(), 1);
}

}  // namespace
