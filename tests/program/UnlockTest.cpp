// The way back into a locked program: each password given is checked
// against the vault as the drive holds it then, which another copy of the
// program may have rewritten meanwhile (in another Windows session, on the
// same drive) or which may be out of reach (the drive pulled during sleep,
// another program holding the file, the file damaged). A vault that cannot
// be read is said so, and the program stays locked until it can be read:
// it never offers an empty vault that a later save would write over the
// person's own.
#include <gtest/gtest.h>

#include "support/ScopedHandle.h"
#include "tests/program/Desktop.h"
#include "tests/program/LockedProgram.h"

namespace {

class UnlockTest : public ProgramTest {
 protected:
  // The program with LockTestSites, `chosen` chosen, locked by Windows's
  // news that the session was locked.
  Keyfolio& StartLocked(const std::wstring& chosen) {
    Keyfolio& program = StartWithSites(m_sites);
    program.ChooseTitle(chosen);
    SendSessionLocked(program);
    ExpectLocked(program, m_sites);
    return program;
  }

  const std::vector<SiteFields> m_sites = LockTestSites();
};

constexpr wchar_t kNotCorrect[] = L"The master password you entered is not correct.";

void GiveWrongPassword(Keyfolio& program, const std::wstring& password) {
  program.EnterMasterPassword(password);
  const MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(box.text, kNotCorrect);
  program.Answer(box, L"OK");
}

// Nothing of the vault read for a wrong password is left.
TEST_F(UnlockTest, AWrongPasswordIsRefusedAndLeavesNothingInMemory) {
  const std::vector<Secret> secrets = SecretsOf(m_sites, kPassword);
  Keyfolio& program = StartLocked(L"Bank");
  const std::wstring stamp = VaultStamp();
  GiveWrongPassword(program, L"pa55word");
  ExpectLocked(program, m_sites);
  const std::vector<int> counts = CountSecrets(program, secrets);
  EXPECT_EQ(counts, std::vector<int>(secrets.size(), 0)) << Findings(secrets, counts);
  EXPECT_EQ(VaultStamp(), stamp) << "a wrong password writes nothing";
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles().size(), m_sites.size());
}

// Another copy changed the master password and the sites: the new
// password opens what it wrote, the old one no longer does, and the site
// chosen before, still there under its key, is chosen again.
TEST_F(UnlockTest, AVaultRewrittenByAnotherCopyIsReadAsItIsNow) {
  Keyfolio& program = StartLocked(L"Shop");
  SiteFields shop = m_sites[2];
  shop.user = L"changed user";
  const std::vector<SiteFields> rewritten = {StoredSite(L"Alpha", 4), m_sites[0], shop};
  m_drive.PutVault(Vault(L"n3wPass", 0, 4, rewritten));
  const std::wstring stamp = VaultStamp();

  GiveWrongPassword(program, kPassword);
  program.LogIn(L"n3wPass");
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Alpha", L"Bank", L"Shop"}));
  EXPECT_EQ(program.SelectedTitle(), L"Shop");
  EXPECT_EQ(program.VisibleFields()[0], L"changed user");
  EXPECT_EQ(VaultStamp(), stamp) << "unlocking writes nothing";
}

// The site chosen before is gone: the first one is chosen, as at start-up.
TEST_F(UnlockTest, WithTheChosenSiteGoneTheFirstIsChosen) {
  Keyfolio& program = StartLocked(L"Mail");
  m_drive.PutVault(Vault(kPassword, 0, 3, {m_sites[0], m_sites[2]}));
  program.LogIn(kPassword);
  EXPECT_EQ(program.SelectedTitle(), L"Bank");
}

struct Unreadable {
  const char* name;
  // Makes the vault unreadable for as long as what it returns lives.
  std::shared_ptr<void> (*spoil)(const FlashDrive& drive);
  const wchar_t* what;
};

void PrintTo(const Unreadable& unreadable, std::ostream* out) {
  *out << unreadable.name;
}

class UnreadableWhileLocked : public UnlockTest,
                              public ::testing::WithParamInterface<Unreadable> {};

// Puts `bytes` in the vault's place for as long as the result lives, then
// the vault back as it was.
std::shared_ptr<void> ReplaceVault(const FlashDrive& drive, const Bytes& bytes) {
  const Bytes vault = drive.VaultBytes();
  if (bytes.empty())
    DeleteFileW(drive.VaultPath().c_str());
  else
    drive.PutVault(bytes);
  return std::shared_ptr<void>(nullptr, [&drive, vault](void*) { drive.PutVault(vault); });
}

TEST_P(UnreadableWhileLocked, IsSaidSoAndTheProgramStaysLockedUntilItCanBeRead) {
  Keyfolio& program = StartLocked(L"Mail");
  {
    const std::shared_ptr<void> spoiled = GetParam().spoil(m_drive);
    const std::vector<std::wstring> files = FolderContents(m_drive.DataFolder());
    program.EnterMasterPassword(kPassword);
    const MessageBoxView box = program.WaitForMessageBox();
    EXPECT_EQ(box.caption, L"Keyfolio");
    EXPECT_EQ(box.text, std::wstring(GetParam().what) +
                            L"\n\nNothing was changed or deleted. Keyfolio stays locked: give "
                            L"your master password again once the file can be read, or press "
                            L"Cancel to end Keyfolio.");
    EXPECT_TRUE(box.hasIcon);
    program.Answer(box, L"OK");
    ExpectLocked(program, m_sites);
    EXPECT_EQ(FolderContents(m_drive.DataFolder()), files) << "nothing written, moved or kept";
  }
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), (std::vector<std::wstring>{L"Bank", L"Mail", L"Shop"}));
  EXPECT_EQ(program.SelectedTitle(), L"Mail");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, UnreadableWhileLocked,
    ::testing::Values(
        Unreadable{"DrivePulled",
                   [](const FlashDrive& drive) { return ReplaceVault(drive, {}); },
                   L"Keyfolio could not find your data file KFO.dta. The flash drive may have "
                   L"been removed."},
        Unreadable{"Damaged",
                   [](const FlashDrive& drive) {
                     Bytes cut = drive.VaultBytes();
                     cut.resize(30);
                     return ReplaceVault(drive, cut);
                   },
                   L"Your data file KFO.dta is damaged and could not be read."},
        Unreadable{"HeldByAnotherProgram",
                   [](const FlashDrive& drive) {
                     return std::shared_ptr<void>(
                         CreateFileW(drive.VaultPath().c_str(), GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr),
                         CloseHandle);
                   },
                   L"Keyfolio could not open your data file KFO.dta. Another program may be "
                   L"using it."}),
    [](const ::testing::TestParamInfo<Unreadable>& info) { return info.param.name; });

}  // namespace
