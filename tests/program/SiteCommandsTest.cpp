// Adding, editing and deleting sites through the menu, the accelerators and
// the buttons, as the vault on the drive records them.
#include <gtest/gtest.h>

#include "tests/program/Desktop.h"
#include "tests/program/ProcessMemory.h"
#include "tests/program/ProgramTest.h"

namespace {

using SiteCommandsTest = ProgramTest;

std::wstring Masked(const std::wstring& password) {
  return std::wstring(password.size(), L'*');
}

struct Route {
  const char* name;
  void (*open)(Keyfolio& program);
};

void PrintTo(const Route& route, std::ostream* out) {
  *out << route.name;
}

class AddSiteRoute : public ProgramTest, public ::testing::WithParamInterface<Route> {};

// Deletes the one site left with Ctrl+D: the list and the fields are empty.
void DeleteTheLastSite(Keyfolio& program) {
  program.ChooseShortcut({VK_CONTROL, 'D'});
  HWND dialog = program.WaitForDialog(L"Delete Site");
  program.ClickButtonIn(dialog, L"Delete");
  program.Answer(program.WaitForMessageBox(), L"Yes");
  program.WaitForClose(dialog);
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));
}

TEST_P(AddSiteRoute, AddsTheSiteShowsItAndSavesIt) {
  const SiteFields bank = StoredSite(L"Bank", 1);
  Keyfolio& program = StartWithSites({bank});
  GetParam().open(program);
  HWND dialog = program.WaitForDialog(L"Add Site");
  const SiteEntry mail = {L"Mail", L"me@example.com", L"s3cret!", L"https://mail.example.com/",
                          L"first line\r\nsecond line"};
  program.FillSite(dialog, mail);
  program.CloseWith(dialog, L"OK");

  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"Mail"}));
  const SiteEntry shown = program.ShownSite();
  EXPECT_EQ(shown.title, mail.title);
  EXPECT_EQ(shown.user, mail.user);
  EXPECT_EQ(shown.password, Masked(mail.password));
  EXPECT_EQ(shown.address, mail.address);
  EXPECT_EQ(shown.notes, mail.notes);
  const VaultContents vault = ReadVaultOnDrive();
  ASSERT_EQ(vault.sites.size(), 2u);
  EXPECT_EQ(vault.sites[0], bank);
  const SiteFields& added = vault.sites[1];
  EXPECT_EQ(EntryOf(added).title, mail.title);
  EXPECT_EQ(added.user, mail.user);
  EXPECT_EQ(added.password, mail.password);
  EXPECT_EQ(added.address, mail.address);
  EXPECT_EQ(added.notes, mail.notes);
  EXPECT_FALSE(added.created.empty());
  EXPECT_EQ(added.modified, added.created);
  EXPECT_EQ(added.key, 2);
  EXPECT_EQ(vault.lastKey, 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Routes, AddSiteRoute,
    ::testing::Values(
        Route{"CtrlN",
              [](Keyfolio& program) {
                program.ChooseShortcut({VK_CONTROL, 'N'});
              }},
        Route{"FileMenu",
              [](Keyfolio& program) { program.ChooseMenu(L"File", L"Add New Site..."); }},
        Route{"Button", [](Keyfolio& program) { program.ClickMainButton(L"Add New Site"); }}),
    [](const ::testing::TestParamInfo<Route>& info) { return info.param.name; });

TEST_F(SiteCommandsTest, CancelledAddChangesNothingButStillSaves) {
  const SiteFields bank = StoredSite(L"Bank", 1);
  Keyfolio& program = StartWithSites({bank});
  const std::wstring before = VaultStamp();
  program.ChooseShortcut({VK_CONTROL, 'N'});
  HWND dialog = program.WaitForDialog(L"Add Site");
  program.FillSite(dialog, {L"Mail", L"me", L"pw", L"", L""});
  program.CloseWith(dialog, L"Cancel");
  EXPECT_TRUE(WaitFor([&] { return VaultStamp() != before; })) << "the vault was not rewritten";
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
  EXPECT_EQ(ReadVaultOnDrive().sites, std::vector<SiteFields>{bank});

  DeleteTheLastSite(program);
  EXPECT_TRUE(ReadVaultOnDrive().sites.empty());
}

TEST_F(SiteCommandsTest, EditKeepsTheTitleAndChangesTheRest) {
  const SiteFields bank = StoredSite(L"Bank", 1), mail = StoredSite(L"Mail", 2);
  Keyfolio& program = StartWithSites({bank, mail});
  program.ChooseShortcut({VK_CONTROL, 'E'});
  HWND dialog = program.WaitForDialog(L"Edit Site");
  const SiteEntry shown = program.ReadSite(dialog);
  EXPECT_EQ(shown.title, bank.title);
  EXPECT_EQ(shown.password, bank.password);
  EXPECT_EQ(shown.notes, bank.notes);
  SiteEntry changed = EntryOf(bank);
  changed.user = L"new user";
  changed.password = L"new password";
  program.FillSite(dialog, changed);
  program.CloseWith(dialog, L"OK");

  EXPECT_EQ(program.ShownSite().user, L"new user");
  const VaultContents vault = ReadVaultOnDrive();
  ASSERT_EQ(vault.sites.size(), 2u);
  EXPECT_EQ(vault.sites[0].title, L"Bank");
  EXPECT_EQ(vault.sites[0].user, L"new user");
  EXPECT_EQ(vault.sites[0].password, L"new password");
  EXPECT_EQ(vault.sites[0].created, bank.created);
  EXPECT_EQ(vault.sites[0].key, bank.key);
  EXPECT_EQ(vault.sites[1], mail);
}

TEST_F(SiteCommandsTest, EditRefusesAnotherSitesTitleAndKeepsTheDialog) {
  const SiteFields bank = StoredSite(L"Bank", 1), mail = StoredSite(L"Mail", 2);
  Keyfolio& program = StartWithSites({bank, mail});
  program.ChooseMenu(L"Edit", L"Edit Site...");
  HWND dialog = program.WaitForDialog(L"Edit Site");
  SiteEntry taken = EntryOf(bank);
  taken.title = L"MAIL";
  program.FillSite(dialog, taken);
  program.ClickButtonIn(dialog, L"OK");
  const MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(box.caption, L"Keyfolio");
  EXPECT_EQ(box.text, L"A site with that title already exists.");
  program.Answer(box, L"OK");
  ASSERT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(program.ReadSite(dialog).title, L"MAIL");
  program.CloseWith(dialog, L"Cancel");
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"Mail"}));
  EXPECT_EQ(ReadVaultOnDrive().sites, (std::vector<SiteFields>{bank, mail}));
}

// A deleted site's password is left nowhere in the program's memory, also
// not in the Password field that showed it: a field keeps its buffer past a
// shorter text, and the next site's shorter password would leave the rest
// of the deleted one behind its end there.
TEST_F(SiteCommandsTest, ADeletedSitesPasswordIsLeftNowhereInTheProgram) {
  const std::wstring deleted = L"Gq5wXz8vKj3mRt7y";
  // What the next site's password, three characters long, and its end
  // would not cover.
  const std::wstring rest = deleted.substr(4);
  Keyfolio& program =
      StartWithSites({StoredSite(L"Alpha", 1, deleted), StoredSite(L"Beta", 2, L"b2c")});
  const DWORD process = program.Process().Id();
  ASSERT_GT(CountInProcessMemory(process, rest), 0) << "the search finds what is there";
  program.ChooseShortcut({VK_CONTROL, 'D'});
  HWND dialog = program.WaitForDialog(L"Delete Site");
  program.ClickButtonIn(dialog, L"Delete");
  program.Answer(program.WaitForMessageBox(), L"Yes");
  program.WaitForClose(dialog);
  ASSERT_EQ(program.Titles(), std::vector<std::wstring>{L"Beta"});
  ASSERT_EQ(program.VisibleFields()[1], L"***");
  program.WaitUntilIdle();
  EXPECT_EQ(CountInProcessMemory(process, rest), 0);
}

TEST_F(SiteCommandsTest, DeleteAsksAboutTheChosenSite) {
  const SiteFields bank = StoredSite(L"Bank", 1), mail = StoredSite(L"Mail", 2);
  Keyfolio& program = StartWithSites({bank, mail});
  program.ChooseShortcut({VK_CONTROL, 'D'});
  HWND dialog = program.WaitForDialog(L"Delete Site");
  HWND list = FindWindowExW(dialog, nullptr, L"ListBox", nullptr);
  ASSERT_EQ(ListItems(list), (std::vector<std::wstring>{L"Bank", L"Mail"}));

  // The list opens on the site the main window shows; No keeps the dialog.
  program.ClickButtonIn(dialog, L"Delete");
  MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(Says(box), (BoxSays{L"Delete Verification",
                                L"Site:  Bank\nAre you sure you want to delete this site?",
                                {L"Yes", L"No"}}));
  program.Answer(box, L"No");
  ASSERT_TRUE(IsWindowVisible(dialog));

  // A double click asks the same about the site clicked.
  BringToFront(dialog);
  DoubleClickAt(ListItemPoint(list, 1));
  box = program.WaitForMessageBox();
  EXPECT_EQ(box.text, L"Site:  Mail\nAre you sure you want to delete this site?");
  program.Answer(box, L"Yes");
  program.WaitForClose(dialog);

  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
  EXPECT_EQ(ReadVaultOnDrive().sites, std::vector<SiteFields>{bank});

  DeleteTheLastSite(program);
  EXPECT_TRUE(ReadVaultOnDrive().sites.empty());
}

struct EmptyCase {
  const char* name;
  void (*command)(Keyfolio& program);
  const wchar_t* message;
};

void PrintTo(const EmptyCase& empty, std::ostream* out) {
  *out << empty.name;
}

class NoSites : public ProgramTest, public ::testing::WithParamInterface<EmptyCase> {};

TEST_P(NoSites, SayThereIsNothingOpenNoDialogAndSaveNothing) {
  Keyfolio& program = StartWithSites({});
  const std::wstring before = VaultStamp();
  GetParam().command(program);
  const MessageBoxView box = program.AnswerMessageBox();
  EXPECT_EQ(Says(box), (BoxSays{L"Keyfolio", GetParam().message, {L"OK"}}));
  program.WaitUntilIdle();
  EXPECT_TRUE(program.OpenDialogs().empty());
  EXPECT_EQ(VaultStamp(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, NoSites,
    ::testing::Values(
        EmptyCase{"EditByCtrlE",
                  [](Keyfolio& program) {
                    program.ChooseShortcut({VK_CONTROL, 'E'});
                  },
                  L"There are no sites to edit."},
        EmptyCase{"EditByMenu",
                  [](Keyfolio& program) { program.ChooseMenu(L"Edit", L"Edit Site..."); },
                  L"There are no sites to edit."},
        EmptyCase{"DeleteByCtrlD",
                  [](Keyfolio& program) {
                    program.ChooseShortcut({VK_CONTROL, 'D'});
                  },
                  L"There are no sites to delete."},
        EmptyCase{"DeleteByMenu",
                  [](Keyfolio& program) { program.ChooseMenu(L"File", L"Delete Site..."); },
                  L"There are no sites to delete."},
        // Before the master password is asked: there is nothing to lay open.
        EmptyCase{"ExportByMenu",
                  [](Keyfolio& program) { program.ChooseMenu(L"File", L"Export Sites..."); },
                  L"There are no sites to export."},
        EmptyCase{"FindByCtrlF",
                  [](Keyfolio& program) {
                    program.ChooseShortcut({VK_CONTROL, 'F'});
                  },
                  L"There are no sites to find."}),
    [](const ::testing::TestParamInfo<EmptyCase>& info) { return info.param.name; });

}  // namespace
