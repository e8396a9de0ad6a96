// Starting the program from a flash drive: the main window, the order of the
// first questions, the master password check, and the ways it ends.
#include <gtest/gtest.h>

#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

using StartupTest = ProgramTest;

RECT RectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

TEST_F(StartupTest, MainWindowIsFixedCentredAndEmptyUntilThePasswordIsRight) {
  const SiteFields bank = StoredSite(L"Bank", 1), alpha = StoredSite(L"alpha", 2);
  m_drive.PutVault(Vault(kPassword, 0, 2, {bank, alpha}));
  Keyfolio& program = Start();
  HWND main = program.MainWindow();
  EXPECT_EQ(ClassOf(main), L"KeyfolioFlashClass");
  wchar_t title[64] = {};
  GetWindowTextW(main, title, 64);
  EXPECT_STREQ(title, L"Keyfolio for Flash Drives");
  const RECT window = RectOf(main), desktop = RectOf(GetDesktopWindow());
  EXPECT_EQ(window.right - window.left, 487);
  EXPECT_EQ(window.bottom - window.top, 320);
  EXPECT_EQ(window.left, (desktop.right - 487) / 2);
  EXPECT_EQ(window.top, (desktop.bottom - 320) / 2);

  program.WaitForDialog(L"Keyfolio");
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));

  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"alpha", L"Bank"}));
  EXPECT_EQ(program.SelectedTitle(), L"alpha");
  EXPECT_EQ(program.VisibleFields(),
            (std::array<std::wstring, 4>{alpha.user, L"**", alpha.address, alpha.notes}));
}

TEST_F(StartupTest, FirstStartAsksForAMasterPasswordThenForASite) {
  Keyfolio& program = Start();
  std::vector<std::wstring> texts;
  for (const MessageBoxView& box : program.CreateMasterPassword(L"abc")) texts.push_back(box.text);
  EXPECT_EQ(texts, (std::vector<std::wstring>{
                       L"You must first create a master password for\nKeyfolio between 1 to 8 "
                       L"characters long.",
                       L"Your master password has been set. Store your master password\nin a safe "
                       L"place because it cannot be recovered.",
                       L"Next, add a site. Press the \"Add New Site\" button."}));
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));
  const VaultContents vault = ReadVaultOnDrive();
  EXPECT_EQ(vault.masterPassword, L"abc");
  EXPECT_TRUE(vault.sites.empty());
}

}  // namespace
