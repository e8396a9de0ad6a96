#include "tests/journeys/JourneyTest.h"

#include <windows.h>

#include "tests/program/Desktop.h"

namespace {

const SiteEntry kWork = {L"Work VPN", L"j.doe", L"Vpn#2026", L"https://vpn.example.com/",
                         L"token on the key ring"};
const SiteEntry kBank = {L"bank", L"jane.doe@example.com", L"s3cr\u00e9t pw",
                         L"https://bank.example/", L"card ends 1234\r\nPIN not kept here"};
// Its password comes from the generator.
const SiteEntry kMail = {L"Mail", L"jane", L"", L"https://mail.example/", L""};

const wchar_t* const kWeekdays[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                    L"Thursday", L"Friday", L"Saturday"};
const wchar_t* const kMonths[] = {L"January",   L"February", L"March",    L"April",
                                  L"May",       L"June",     L"July",     L"August",
                                  L"September", L"October",  L"November", L"December"};

void AddSite(Keyfolio& program, const SiteEntry& site) {
  HWND dialog = program.WaitForDialog(L"Add Site");
  program.FillSite(dialog, site);
  program.CloseWith(dialog, L"OK");
  program.WaitUntilIdle();
}

// The generator's defaults: eight characters of all four kinds.
std::wstring AddSiteWithGeneratedPassword(Keyfolio& program, const SiteEntry& site) {
  HWND dialog = program.WaitForDialog(L"Add Site");
  program.TypeInto(program.EditBeside(dialog, L"Title:"), site.title);
  program.TypeInto(program.EditBeside(dialog, L"User Name:"), site.user);
  program.TypeInto(program.EditBeside(dialog, L"Website URL:"), site.address);
  program.ClickButtonIn(dialog, L"Generate");
  program.CloseWith(program.WaitForDialog(L"Generate Password"), L"Generate Password");
  HWND password = program.EditBeside(dialog, L"Password:");
  Expect([&] { return !TextOf(password).empty(); }, "the generated password in the field");
  const std::wstring generated = TextOf(password);
  program.CloseWith(dialog, L"OK");
  program.WaitUntilIdle();
  return generated;
}

void CloseWithTheCloseBox(Keyfolio& program) {
  BringToFront(program.MainWindow());
  ClickAt(PointOfPart(program.MainWindow(), HTCLOSE));
  ASSERT_TRUE(program.WaitForExit()) << "the program did not end";
  EXPECT_EQ(program.Process().ExitCode(), 0u);
}

std::wstring Masked(const std::wstring& password) {
  return std::wstring(password.size(), L'*');
}

}  // namespace

std::wstring JourneyTest::TodaysStamp() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  wchar_t stamp[64] = {};
  swprintf(stamp, 64, L"%ls, %ls %02d, %04d", kWeekdays[now.wDayOfWeek], kMonths[now.wMonth - 1],
           now.wDay, now.wYear);
  return stamp;
}

bool JourneyTest::IsToday(const std::wstring& stamp) const {
  return stamp == m_firstDay || stamp == TodaysStamp();
}

SiteFields Stored(const SiteEntry& entry, int32_t key, const std::wstring& created,
                  const std::wstring& modified) {
  return {entry.title, entry.user, entry.password, entry.address,
          entry.notes, created,    modified,       key};
}

void JourneyTest::FirstDay() {
  SiteEntry mail = kMail;
  {
    Keyfolio& program = Start();
    EXPECT_EQ(program.AnswerMessageBox().text,
              L"You must first create a master password for\nKeyfolio between 1 to 8 characters "
              L"long.");
    HWND create = program.WaitForDialog(L"Create Master Password");
    program.TypeInto(program.EditsIn(create).at(0), kFirstDayPassword);
    program.CloseWith(create, L"OK");
    // A slip of the Shift key.
    HWND confirm = program.WaitForDialog(L"Confirm Master Password");
    program.TypeInto(program.EditsIn(confirm).at(0), L"tulip#42");
    program.CloseWith(confirm, L"OK");
    const MessageBoxView mismatch = program.AnswerMessageBox();
    EXPECT_EQ(mismatch.caption, L"Password Incorrect");
    EXPECT_EQ(mismatch.text, L"The two passwords you entered do not match.");
    create = program.WaitForDialog(L"Create Master Password");
    EXPECT_EQ(TextOf(program.EditsIn(create).at(0)), kFirstDayPassword);
    program.CloseWith(create, L"OK");
    confirm = program.WaitForDialog(L"Confirm Master Password");
    EXPECT_EQ(TextOf(program.EditsIn(confirm).at(0)), L"");
    program.TypeInto(program.EditsIn(confirm).at(0), kFirstDayPassword);
    program.CloseWith(confirm, L"OK");
    EXPECT_EQ(program.AnswerMessageBox().text,
              L"Your master password has been set. Store your master password\nin a safe place "
              L"because it cannot be recovered.");
    EXPECT_EQ(program.AnswerMessageBox().text,
              L"Next, add a site. Press the \"Add New Site\" button.");
    program.WaitUntilIdle();
    EXPECT_EQ(ReadVaultOnDrive().masterPassword, kFirstDayPassword);

    program.ClickMainButton(L"Add New Site");
    AddSite(program, kWork);
    program.ChooseShortcut({VK_CONTROL, 'N'});
    AddSite(program, kBank);
    program.ChooseMenu(L"File", L"Add New Site...");
    mail.password = AddSiteWithGeneratedPassword(program, mail);
    EXPECT_EQ(mail.password.size(), 8u);
    for (wchar_t unit : mail.password) EXPECT_TRUE(unit > L' ' && unit < 0x7F) << unit;
    EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"bank", L"Mail", L"Work VPN"}));
    EXPECT_EQ(program.SelectedTitle(), L"Mail");
    CloseWithTheCloseBox(program);
  }

  Keyfolio& again = Start();
  again.EnterMasterPassword(L"Tulip#24");
  const MessageBoxView refused = again.AnswerMessageBox();
  EXPECT_EQ(refused.caption, L"Keyfolio for Flash Drives");
  EXPECT_EQ(refused.text, L"The master password you entered is not correct.");
  EXPECT_TRUE(again.Titles().empty());
  again.LogIn(kFirstDayPassword);
  EXPECT_EQ(again.Titles(), (std::vector<std::wstring>{L"bank", L"Mail", L"Work VPN"}));
  const SiteEntry shown = again.ShownSite();
  EXPECT_EQ(shown.title, kBank.title);
  EXPECT_EQ(shown.user, kBank.user);
  EXPECT_EQ(shown.password, Masked(kBank.password));
  EXPECT_EQ(shown.address, kBank.address);
  EXPECT_EQ(shown.notes, kBank.notes);
  again.ChooseMenu(L"File", L"Exit");
  ASSERT_TRUE(again.WaitForExit());

  const VaultContents vault = ReadVaultOnDrive();
  EXPECT_EQ(vault.masterPassword, kFirstDayPassword);
  EXPECT_EQ(vault.flag, 0u);
  EXPECT_EQ(vault.lastKey, 3u);
  ASSERT_EQ(vault.sites.size(), 3u);
  const std::wstring day = vault.sites[0].created;
  EXPECT_TRUE(IsToday(day)) << testing::PrintToString(day);
  EXPECT_EQ(vault.sites,
            (std::vector<SiteFields>{Stored(kBank, 2, day, day), Stored(mail, 3, day, day),
                                     Stored(kWork, 1, day, day)}));
  EXPECT_EQ(FolderContents(m_drive.DataFolder()), std::vector<std::wstring>{L"KFO.dta"});
}
