// A person's days with the program, each from a fresh flash drive: what
// they type and click, what they see, and what the vault then holds.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include "support/ScopedHandle.h"
#include "tests/journeys/JourneyTest.h"
#include "tests/journeys/PasteTarget.h"
#include "tests/program/ClipboardContents.h"
#include "tests/program/Desktop.h"

namespace {

constexpr wchar_t kNewPassword[] = L"n3w&Safe";

// Copies of the program running on the whole desktop, whichever drive
// they came from.
int RunningCopies() {
  ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  int copies = 0;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry))
    if (_wcsicmp(entry.szExeFile, L"Keyfolio.exe") == 0) ++copies;
  return copies;
}

void StartAnotherCopy(const FlashDrive& drive) {
  ProgramProcess copy(drive.ProgramPath());
  ASSERT_TRUE(copy.WaitForExit(kStepTimeoutMs)) << "the second copy stays";
  EXPECT_EQ(copy.ExitCode(), 0u);
}

TEST_F(JourneyTest, FirstDay) {
  FirstDay();
}

TEST_F(JourneyTest, AWorkingSession) {
  const SiteFields bank = StoredSite(L"Bank", 1, L"b4nk!Pw"), mail = StoredSite(L"Mail", 2),
                   shop = StoredSite(L"Shop", 3), work = StoredSite(L"Work", 4);
  Keyfolio& program = StartWithSites({bank, mail, shop, work});

  program.ChooseTitle(L"Shop");
  program.ChooseMenu(L"Edit", L"Edit Site...");
  HWND edit = program.WaitForDialog(L"Edit Site");
  const SiteEntry inDialog = program.ReadSite(edit);
  EXPECT_EQ(inDialog.title, shop.title);
  EXPECT_EQ(inDialog.password, shop.password);
  program.TypeInto(program.EditBeside(edit, L"Title:"), L"Online Shop");
  program.CloseWith(edit, L"OK");
  program.WaitUntilIdle();
  EXPECT_EQ(program.Titles(),
            (std::vector<std::wstring>{L"Bank", L"Mail", L"Online Shop", L"Work"}));
  EXPECT_EQ(program.SelectedTitle(), L"Online Shop");
  SiteFields onlineShop = shop;
  onlineShop.title = L"Online Shop";
  onlineShop.modified = ReadVaultOnDrive().sites.at(2).modified;
  EXPECT_TRUE(IsToday(onlineShop.modified)) << testing::PrintToString(onlineShop.modified);
  EXPECT_EQ(ReadVaultOnDrive().sites, (std::vector<SiteFields>{bank, mail, onlineShop, work}));

  program.ChooseShortcut({VK_CONTROL, 'D'});
  HWND remove = program.WaitForDialog(L"Delete Site");
  HWND list = FindWindowExW(remove, nullptr, L"ListBox", nullptr);
  BringToFront(remove);
  ClickAt(ListItemPoint(list, 1));
  Expect([&] { return Ask(list, LB_GETCURSEL) == 1; }, "Mail to be chosen in the list");
  for (const wchar_t* answer : {L"No", L"Yes"}) {
    program.ClickButtonIn(remove, L"Delete");
    const MessageBoxView box = program.WaitForMessageBox();
    EXPECT_EQ(box.caption, L"Delete Verification");
    EXPECT_EQ(box.text, L"Site:  Mail\nAre you sure you want to delete this site?");
    program.Answer(box, answer);
    if (std::wstring(answer) == L"No") {
      program.WaitUntilIdle();
      EXPECT_TRUE(IsWindowVisible(remove)) << "No closed the dialog";
      EXPECT_EQ(ReadVaultOnDrive().sites.size(), 4u);
    }
  }
  program.WaitForClose(remove);
  program.WaitUntilIdle();
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"Online Shop", L"Work"}));
  EXPECT_EQ(ReadVaultOnDrive().sites, (std::vector<SiteFields>{bank, onlineShop, work}));

  program.ChooseTitle(L"Bank");
  EXPECT_EQ(program.VisibleFields()[1], L"*******");
  PutClipboardText(L"copied before");
  program.ClickMainButton(L"Copy", 1);
  program.WaitForInputHandled();
  {
    PasteTarget other;
    EXPECT_EQ(other.PasteWithCtrlV(), bank.password);
  }

  program.ChooseMenu(L"View", L"Show Password", [&] { return program.PasswordChar() == 0; });
  EXPECT_EQ(TextOf(program.Field(1)), bank.password);
  program.WaitUntilIdle();
  EXPECT_EQ(ReadVaultOnDrive().flag, 1u);
  program.ChooseMenu(L"View", L"Hide Password", [&] { return program.PasswordChar() == L'*'; });
  program.WaitUntilIdle();
  EXPECT_EQ(ReadVaultOnDrive().flag, 0u);

  program.ChooseMenu(L"Options", L"Change Master Password...");
  HWND change = program.WaitForDialog(L"Change Master Password");
  program.TypeInto(program.EditsIn(change).at(0), L"Pa55wort");
  program.TypeInto(program.EditsIn(change).at(1), kNewPassword);
  program.ClickButtonIn(change, L"OK");
  const MessageBoxView wrongOld = program.WaitForMessageBox();
  EXPECT_EQ(Says(wrongOld), (BoxSays{L"Password Incorrect",
                                     L"The old password you entered is not correct.",
                                     {L"Retry", L"Cancel"}}));
  program.Answer(wrongOld, L"Retry");
  change = program.WaitForDialog(L"Change Master Password");
  EXPECT_EQ(TextOf(program.EditsIn(change).at(0)), L"Pa55wort");
  EXPECT_EQ(TextOf(program.EditsIn(change).at(1)), kNewPassword);
  program.TypeInto(program.EditsIn(change).at(0), kPassword);
  program.CloseWith(change, L"OK");
  HWND confirm = program.WaitForDialog(L"Confirm New Master Password");
  program.TypeInto(program.EditsIn(confirm).at(0), kNewPassword);
  program.CloseWith(confirm, L"OK");
  const MessageBoxView changed = program.WaitForMessageBox();
  EXPECT_EQ(changed.caption, L"New Password Set");
  EXPECT_EQ(ReadVaultOnDrive().masterPassword, kNewPassword) << "not saved when the box shows";
  program.Answer(changed, L"OK");
  program.ChooseShortcut({VK_MENU, VK_F4});
  ASSERT_TRUE(program.WaitForExit());

  Keyfolio& again = Start();
  again.EnterMasterPassword(kPassword);
  EXPECT_EQ(again.AnswerMessageBox().text, L"The master password you entered is not correct.");
  again.LogIn(kNewPassword);
  EXPECT_EQ(again.Titles(), (std::vector<std::wstring>{L"Bank", L"Online Shop", L"Work"}));
  EXPECT_EQ(again.PasswordChar(), L'*');
  const VaultContents vault = ReadVaultOnDrive();
  EXPECT_EQ(vault.masterPassword, kNewPassword);
  EXPECT_EQ(vault.sites, (std::vector<SiteFields>{bank, onlineShop, work}));
}

TEST_F(JourneyTest, AForgottenPassword) {
  m_drive.PutVault(Vault(kPassword, 1, 2, {StoredSite(L"Bank", 1), StoredSite(L"Mail", 2)}));
  Keyfolio& program = Start();

  // Second thoughts at the last question keep everything.
  program.ClickButtonIn(program.WaitForDialog(L"Keyfolio"), L"Help");
  const MessageBoxView first = program.WaitForMessageBox();
  EXPECT_EQ(Says(first),
            (BoxSays{L"Keyfolio",
                     L"If you have forgotten your master password, there is no way to recover "
                     L"it. You must make a new set of passwords with a new master password. To "
                     L"do this, you need to delete your existing data. Do you want to delete "
                     L"your existing data now?",
                     {L"Yes", L"No"}}));
  program.Answer(first, L"Yes");
  const MessageBoxView second = program.WaitForMessageBox();
  EXPECT_EQ(second.text,
            L"This action is not reversible. Are you sure you want to delete your data?");
  program.Answer(second, L"No");
  EXPECT_EQ(ReadVaultOnDrive().sites.size(), 2u);

  program.ClickButtonIn(program.WaitForDialog(L"Keyfolio"), L"Help");
  program.AnswerMessageBox(L"Yes");
  program.AnswerMessageBox(L"Yes");
  const MessageBoxView deleted = program.WaitForMessageBox();
  EXPECT_EQ(deleted.text,
            L"Your data has been deleted. You will now be able to create a new master password.");
  EXPECT_EQ(FolderContents(m_drive.DataFolder()), std::vector<std::wstring>{});
  program.Answer(deleted, L"OK");
  program.CreateMasterPassword(L"n3w");
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));
  const VaultContents vault = ReadVaultOnDrive();
  EXPECT_EQ(vault.masterPassword, L"n3w");
  EXPECT_TRUE(vault.sites.empty());
  EXPECT_EQ(FolderContents(m_drive.DataFolder()), std::vector<std::wstring>{L"KFO.dta"});
  program.ChooseMenu(L"File", L"Exit");
  ASSERT_TRUE(program.WaitForExit());

  Keyfolio& again = Start();
  again.EnterMasterPassword(kPassword);
  EXPECT_EQ(again.AnswerMessageBox().text, L"The master password you entered is not correct.");
  again.LogIn(L"n3w");
  EXPECT_TRUE(again.Titles().empty());
}

TEST_F(JourneyTest, TwoCopies) {
  Keyfolio& program = StartWithSites({StoredSite(L"Bank", 1)});
  HWND main = program.MainWindow();
  PasteTarget other;
  BringToFront(other.Window());
  StartAnotherCopy(m_drive);
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == main; })) << "not brought forward";
  EXPECT_EQ(RunningCopies(), 1);

  BringToFront(main);
  ClickAt(PointOfPart(main, HTREDUCE));
  ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; })) << "not minimised";
  BringToFront(other.Window());
  StartAnotherCopy(m_drive);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(main) && GetForegroundWindow() == main; }))
      << "not restored and brought forward";
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(RunningCopies(), 1);

  // The copy brought forward takes the keys at once.
  PressKeys({VK_CONTROL, 'N'});
  program.CloseWith(program.WaitForDialog(L"Add Site"), L"Cancel");
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

}  // namespace
