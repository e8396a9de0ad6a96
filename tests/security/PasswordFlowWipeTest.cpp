// Every flow in turn, while every block the program frees is looked into for
// a master password. The passwords have eight characters: a string keeps no
// more than seven in itself, so these pass through the heap.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "tests/common/FreedMemoryWatch.h"
#include "tests/security/PasswordFlowFixture.h"

namespace {

// What a freed string buffer keeps of a password that was never wiped. A
// string that is cleared before it goes (one moved from, or one that took
// over the buffer of a string moved into) has its first unit overwritten by
// the terminator, so the watch looks for the rest of the password and the
// terminator after it: eight units, there whether the string was cleared or
// not.
std::wstring Remains(const std::wstring& password) {
  return password.substr(1) + L'\0';
}

const wchar_t kDeleted[] =
    L"Your data has been deleted. You will now be able to create a new master password.";

class PasswordFlowWipeTest : public PasswordFlowTest {};

}  // namespace

TEST_F(PasswordFlowWipeTest, NoFreedBlockHoldsAMasterPassword) {
  // No four characters in a row of these stand in any text of the program
  // ("Pass" would match "Password Incorrect"): the watch counts any four.
  const std::wstring passwords[] = {L"Qz7vKw2m", L"Nb4xTy9r", L"Hj3cRe8p", L"Wf6uLo1d"};
  StartWithVault(passwords[0]);
  std::vector<std::wstring> remains;
  for (const std::wstring& password : passwords) remains.push_back(Remains(password));
  const std::wstring dataFolder = DataFolder();
  const std::wstring away = DataFolder() + L"-away";
  // The script holds copies of what it types: it is written, and goes,
  // while nothing is watched.
  FlowScript script;
  script.Dialog(kEnterCaption, EnterAndOk(passwords[3]))
      .Box(L"Keyfolio for Flash Drives", kNotCorrect)
      .Dialog(kEnterCaption, EnterAndOk(passwords[0]))
      // A change that is saved.
      .Dialog(kChangeCaption, ChangeAndOk(passwords[0], passwords[1]))
      .Dialog(kConfirmNewCaption, EnterAndOk(passwords[1]))
      .Box(L"New Password Set", kChanged)
      // One whose save fails.
      .Dialog(kChangeCaption, ChangeAndOk(passwords[1], passwords[2]))
      .Dialog(kConfirmNewCaption, EnterAndOk(passwords[2]))
      .Box(kProgramCaption, kOpenForSaveFailed)
      // A wrong old password.
      .Dialog(kChangeCaption, ChangeAndOk(passwords[0], passwords[2]))
      .Box(L"Password Incorrect", kOldNotCorrect, IDCANCEL)
      // The reset, and a new password.
      .Dialog(kEnterCaption, PressOnly(IDC_HELP_PASSWORD))
      .Box(kProgramCaption,
           L"If you have forgotten your master password, there is no way to recover it. You must "
           L"make a new set of passwords with a new master password. To do this, you need to "
           L"delete your existing data. Do you want to delete your existing data now?",
           IDYES)
      .Box(kProgramCaption,
           L"This action is not reversible. Are you sure you want to delete your data?", IDYES)
      .Box(kProgramCaption, kDeleted)
      .Dialog(kCreateCaption, EnterAndOk(passwords[2]))
      .Dialog(kConfirmCaption, EnterAndOk(passwords[2]))
      .Box(kProgramCaption, kCreated);

  int entered = 0;
  int reset = 0;
  int created = 0;
  bool movedAway = false;
  bool movedBack = false;
  FreedMemoryWatch watch;
  for (const std::wstring& remain : remains) watch.Watch(remain);
  entered = PasswordProtection().EnterPassword(Owner());
  PasswordProtection().ChangePassword(Owner());
  movedAway = MoveFileW(dataFolder.c_str(), away.c_str());
  PasswordProtection().ChangePassword(Owner());
  movedBack = MoveFileW(away.c_str(), dataFolder.c_str());
  PasswordProtection().ChangePassword(Owner());
  reset = PasswordProtection().EnterPassword(Owner());
  created = PasswordProtection().CreatePassword(Owner());
  watch.Stop();

  EXPECT_EQ(watch.Findings(), 0);
  EXPECT_TRUE(script.Finished());
  EXPECT_TRUE(movedAway);
  EXPECT_TRUE(movedBack);
  EXPECT_EQ(entered, PasswordProtection::PASSWORD_ACCEPTED);
  EXPECT_EQ(reset, PasswordProtection::PASSWORD_NOT_SET);
  EXPECT_EQ(created, 1);
  EXPECT_EQ(CurrentPassword(), passwords[2]);
}
