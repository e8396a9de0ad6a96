// The reset after a forgotten master password says only what is true: every
// file that holds sites goes, or none does, and a drive that cannot be seen
// is never said to have been wiped.
#include <gtest/gtest.h>

#include "support/ScopedHandle.h"
#include "tests/common/TempFolder.h"
#include "tests/program/Desktop.h"
#include "tests/program/ProgramTest.h"

namespace {

using ForgottenPasswordTest = ProgramTest;

const wchar_t kDeleted[] =
    L"Your data has been deleted. You will now be able to create a new master password.";

// Help, then Yes to the first question; the second one, waiting.
MessageBoxView AskToDelete(Keyfolio& program) {
  program.ClickButtonIn(program.WaitForDialog(L"Keyfolio"), L"Help");
  program.AnswerMessageBox(L"Yes");
  return program.WaitForMessageBox();
}

// A newer complete file beside a vault that another program holds: the
// write-back after the load cannot put it in the vault's place, and the
// reset cannot remove the vault. So it removes nothing, not the newer file
// either, and the next start shows the newer sites.
TEST_F(ForgottenPasswordTest, AResetThatCannotRemoveEveryFileRemovesNone) {
  const SiteFields bank = StoredSite(L"Bank", 1), mail = StoredSite(L"Mail", 2);
  m_drive.PutVault(Vault(kPassword, 0, 1, {bank}));
  WriteBytes(m_drive.DataFolder() + L"\\KFO.new", Vault(kPassword, 0, 2, {bank, mail}));
  {
    ScopedHandle holder(CreateFileW(m_drive.VaultPath().c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder.IsValid());
    Keyfolio& program = Start();
    EXPECT_EQ(program.AnswerMessageBox().text,
              L"Unable to open the selected file for saving. Check the disk.");
    program.Answer(AskToDelete(program), L"Yes");
    // The held file is named; the text is PasswordQuestionTest's.
    const MessageBoxView box = program.WaitForMessageBox();
    EXPECT_EQ(box.text.rfind(L"Your data could not be deleted.", 0), 0u);
    EXPECT_NE(box.text.find(L"\n" + m_drive.VaultPath() + L"\n"), std::wstring::npos);
    program.Answer(box, L"OK");
    program.CloseWith(program.WaitForDialog(L"Keyfolio"), L"Cancel");
    ASSERT_TRUE(program.WaitForExit());
  }
  Keyfolio& again = Start();
  again.LogIn(kPassword);
  EXPECT_EQ(again.Titles(), (std::vector<std::wstring>{L"Bank", L"Mail"}));
}

// A copy kept aside earlier holds sites too: "deleted" means it is gone.
TEST_F(ForgottenPasswordTest, AResetRemovesTheCopiesKeptAside) {
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  WriteBytes(m_drive.DataFolder() + L"\\KFO-kept-damaged-1.dta",
             Vault(L"older", 0, 1, {StoredSite(L"Shop", 1)}));
  Keyfolio& program = Start();
  program.Answer(AskToDelete(program), L"Yes");
  EXPECT_EQ(program.AnswerMessageBox().text, kDeleted);
  EXPECT_EQ(FolderContents(m_drive.DataFolder()), std::vector<std::wstring>{});
}

// The drive is pulled while the second question is asked (its data folder
// is gone): nothing can be looked at, so nothing is said to be deleted, and
// with the drive back the vault opens with its password.
TEST_F(ForgottenPasswordTest, ADrivePulledBeforeTheResetIsNotSaidToBeWiped) {
  m_drive.PutVault(Vault(kPassword, 0, 1, {StoredSite(L"Bank", 1)}));
  Keyfolio& program = Start();
  const MessageBoxView reallyDelete = AskToDelete(program);
  const std::wstring away = m_drive.ProgramFolder() + L"\\pulled";
  ASSERT_TRUE(MoveFileW(m_drive.DataFolder().c_str(), away.c_str()));
  program.Answer(reallyDelete, L"Yes");
  const MessageBoxView box = program.WaitForMessageBox();
  EXPECT_EQ(box.caption, L"Keyfolio");
  EXPECT_EQ(box.text, L"Your data could not be deleted. Keyfolio cannot reach\n" +
                          m_drive.DataFolder() +
                          L"\nThe flash drive may have been removed: put it back and try "
                          L"again.\n\nYour sites and your master password are unchanged.");
  EXPECT_TRUE(box.hasIcon);
  program.Answer(box, L"OK");
  ASSERT_TRUE(MoveFileW(away.c_str(), m_drive.DataFolder().c_str()));
  program.LogIn(kPassword);
  EXPECT_EQ(program.Titles(), std::vector<std::wstring>{L"Bank"});
}

}  // namespace
