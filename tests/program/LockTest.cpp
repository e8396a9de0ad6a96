// Locking, as a person who walks away meets it: File > Lock or Ctrl+L, and
// Windows's news that the session was locked or the computer goes to sleep,
// sent to the main window as Windows sends them. The program then asks the
// master password question over an empty main window, holds none of the
// passwords in its memory (searched from outside, as any program of the same
// user can), and the right password brings the same site back. Whatever was
// open ends as if the person had given up, and nothing is saved or deleted.
#include <gtest/gtest.h>

#include "support/ResourceIds.h"
#include "tests/program/ClipboardContents.h"
#include "tests/program/Desktop.h"
#include "tests/program/LockedProgram.h"
#include "tests/program/ProcessMemory.h"

namespace {

using LockTest = ProgramTest;

struct Way {
  const char* name;
  void (*lock)(Keyfolio& program);
};

void PrintTo(const Way& way, std::ostream* out) {
  *out << way.name;
}

class LockBy : public ProgramTest, public ::testing::WithParamInterface<Way> {};

bool QuestionShows(Keyfolio& program) {
  for (HWND dialog : program.OpenDialogs())
    if (!IsMessageBox(dialog) && IsWindowEnabled(dialog)) return true;
  return false;
}

TEST_P(LockBy, EmptiesTheProgramAndTheRightPasswordBringsTheSameSiteBack) {
  const std::vector<SiteFields> sites = LockTestSites();
  const std::vector<Secret> secrets = SecretsOf(sites, kPassword);
  Keyfolio& program = StartWithSites(sites);
  program.ChooseTitle(L"Mail");
  program.ClickMainButton(L"Copy", 1);
  ASSERT_TRUE(WaitFor([&] { return ClipboardText() == sites[1].password; }));
  const std::wstring stamp = VaultStamp();
  const std::vector<int> before = CountSecrets(program, secrets);
  for (size_t i = 0; i < secrets.size(); i += 2)
    EXPECT_GT(before[i], 0) << Narrow(secrets[i].name) << ": the search finds what is there";

  GetParam().lock(program);
  ExpectLocked(program, sites);
  EXPECT_NE(ClipboardText(), sites[1].password);
  const std::vector<int> after = CountSecrets(program, secrets);
  EXPECT_EQ(after, std::vector<int>(secrets.size(), 0)) << Findings(secrets, after);

  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"Mail", L"Shop"}));
  EXPECT_EQ(program.SelectedTitle(), L"Mail");
  EXPECT_EQ(program.VisibleFields()[0], sites[1].user);
  EXPECT_EQ(VaultStamp(), stamp);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LockBy,
    ::testing::Values(
        Way{"CtrlL",
            [](Keyfolio& program) {
              program.ChooseShortcut({VK_CONTROL, 'L'}, [&] { return QuestionShows(program); });
            }},
        Way{"FileMenu",
            [](Keyfolio& program) {
              program.ChooseMenu(L"File", L"Lock", [&] { return QuestionShows(program); });
            }},
        Way{"SessionLocked", SendSessionLocked}, Way{"GoingToSleep", SendGoingToSleep}),
    [](const ::testing::TestParamInfo<Way>& info) { return info.param.name; });

// Windows may put the computer to sleep as soon as its news is answered:
// by then nothing of the vault is left, in the window or in memory.
TEST_F(LockTest, BeforeSleepNothingIsLeftOnceTheNewsIsAnswered) {
  const std::vector<SiteFields> sites = LockTestSites();
  const std::vector<Secret> secrets = SecretsOf(sites, kPassword);
  Keyfolio& program = StartWithSites(sites);
  SendGoingToSleep(program);
  EXPECT_TRUE(program.Titles().empty());
  EXPECT_EQ(program.VisibleFields(), (std::array<std::wstring, 4>{}));
  std::vector<std::wstring> texts;
  for (const Secret& secret : secrets) texts.push_back(secret.text);
  const std::vector<int> counts = CountEachInProcessMemory(program.Process().Id(), texts);
  EXPECT_EQ(counts, std::vector<int>(secrets.size(), 0)) << Findings(secrets, counts);
  ExpectLocked(program, sites);
}

// A session that put every kind of copy in memory: each site shown in
// clear, a site read in Edit Site, one added, a generated password, a copy,
// and the master password changed. Locking leaves none of them, the old
// master password nor the new.
TEST_F(LockTest, AfterASessionOfUseNothingIsLeft) {
  const std::vector<SiteFields> sites = LockTestSites();
  const SiteEntry added = {L"Added", L"added user", L"AddedPw-77xq", L"", L"added notes"};
  const wchar_t newMaster[] = L"Nm4st3r!";
  std::vector<Secret> secrets = SecretsOf(sites, kPassword);
  secrets.push_back({L"added password", added.password});
  secrets.push_back({L"new master password", newMaster});
  Keyfolio& program = StartWithSites(sites);

  program.ChooseMenu(L"View", L"Show Password", [&] { return program.PasswordChar() == 0; });
  for (const SiteFields& site : sites) program.ChooseTitle(site.title);
  program.ChooseShortcut({VK_CONTROL, 'E'});
  program.CloseWith(program.WaitForDialog(L"Edit Site"), L"Cancel");
  program.ChooseShortcut({VK_CONTROL, 'N'});
  HWND add = program.WaitForDialog(L"Add Site");
  program.FillSite(add, added);
  program.CloseWith(add, L"OK");
  program.ChooseShortcut({VK_CONTROL, 'N'});
  add = program.WaitForDialog(L"Add Site");
  program.ClickButtonIn(add, L"Generate");
  program.CloseWith(program.WaitForDialog(L"Generate Password"), L"Generate Password");
  secrets.push_back({L"generated password", program.ReadSite(add).password});
  program.CloseWith(add, L"Cancel");
  program.ClickMainButton(L"Copy", 1);
  program.ChooseMenu(L"Options", L"Change Master Password...");
  HWND change = program.WaitForDialog(L"Change Master Password");
  program.TypeInto(program.EditsIn(change).at(0), kPassword);
  program.TypeInto(program.EditsIn(change).at(1), newMaster);
  program.CloseWith(change, L"OK");
  HWND confirm = program.WaitForDialog(L"Confirm New Master Password");
  program.TypeInto(program.EditsIn(confirm).at(0), newMaster);
  program.CloseWith(confirm, L"OK");
  program.AnswerMessageBox(L"OK");

  SendGoingToSleep(program);
  ExpectLocked(program, sites);
  const std::vector<int> counts = CountSecrets(program, secrets);
  EXPECT_EQ(counts, std::vector<int>(secrets.size(), 0)) << Findings(secrets, counts);
  program.LogIn(newMaster);
  EXPECT_EQ(program.Titles().size(), sites.size() + 1);
}

TEST_F(LockTest, CancelAtTheQuestionEndsTheProgramAndSavesNothing) {
  Keyfolio& program = StartWithSites(LockTestSites());
  const std::wstring stamp = VaultStamp();
  program.ChooseShortcut({VK_CONTROL, 'L'}, [&] { return QuestionShows(program); });
  program.CloseWith(program.WaitForDialog(L"Keyfolio"), L"Cancel");
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.Process().ExitCode(), 0u);
  EXPECT_EQ(VaultStamp(), stamp);
}

// Locked, every way to lock finds nothing to do: one question, no second.
TEST_F(LockTest, ASecondLockDoesNothing) {
  const std::vector<SiteFields> sites = LockTestSites();
  Keyfolio& program = StartWithSites(sites);
  SendSessionLocked(program);
  HWND question = ExpectLocked(program, sites);
  SendSessionLocked(program);
  SendGoingToSleep(program);
  PostMessageW(program.MainWindow(), WM_COMMAND, IDM_LOCK, 0);
  PressKeys({VK_CONTROL, 'L'});
  program.WaitUntilIdle();
  EXPECT_EQ(program.OpenDialogs(), std::vector<HWND>{question});
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles().size(), sites.size());
}

// The other news of the session and of the power leave the program as it is.
TEST_F(LockTest, OtherNewsOfTheSessionAndThePowerLocksNothing) {
  Keyfolio& program = StartWithSites(LockTestSites());
  for (WPARAM change : {WTS_SESSION_UNLOCK, WTS_CONSOLE_CONNECT, WTS_SESSION_LOGON})
    SendMessageW(program.MainWindow(), WM_WTSSESSION_CHANGE, change, 0);
  for (WPARAM event : {PBT_APMQUERYSUSPEND, PBT_APMRESUMESUSPEND, PBT_APMRESUMEAUTOMATIC,
                       PBT_APMPOWERSTATUSCHANGE})
    EXPECT_EQ(SendMessageW(program.MainWindow(), WM_POWERBROADCAST, event, 0), TRUE);
  program.WaitUntilIdle();
  EXPECT_TRUE(program.OpenDialogs().empty());
  EXPECT_EQ(program.Titles().size(), 3u);
  program.ChooseShortcut({VK_CONTROL, 'E'});
  program.CloseWith(program.WaitForDialog(L"Edit Site"), L"Cancel");
}

// A window minimised would take the question out of sight with it.
TEST_F(LockTest, AMinimisedWindowComesBackWithTheQuestion) {
  const std::vector<SiteFields> sites = LockTestSites();
  Keyfolio& program = StartWithSites(sites);
  program.Minimize();
  SendSessionLocked(program);
  ExpectLocked(program, sites);
  EXPECT_FALSE(IsIconic(program.MainWindow()));
  program.LogIn(kPassword);
}

}  // namespace
