// Every flow in turn, while every block the program frees is looked into for
// a master password. The passwords have eight characters: a string keeps no
// more than seven in itself, so these pass through the heap. And the flows'
// entry fields, watched until they go.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "tests/common/FieldTextWatch.h"
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

// `action`, with the dialog's fields watched from the start.
FlowScript::Action Watching(std::initializer_list<std::pair<FieldTextWatch*, int>> fields,
                            FlowScript::Action action) {
  const std::vector<std::pair<FieldTextWatch*, int>> watched(fields);
  return [watched, action](HWND dialog) {
    for (const auto& field : watched) field.first->Attach(GetDlgItem(dialog, field.second));
    action(dialog);
  };
}

}  // namespace

// What was typed, right or wrong, does not stay in a field's memory: every
// entry field of the password dialogs is overwritten in place and emptied
// before it goes.
TEST_F(PasswordFlowWipeTest, EveryEntryFieldIsOverwrittenBeforeItGoes) {
  StartWithVault(L"Qz7vKw2m");
  FieldTextWatch wrong, right, old, fresh, confirm;
  FlowScript script;
  script.Dialog(kEnterCaption, Watching({{&wrong, IDC_PASSWORD_ENTRY}}, EnterAndOk(L"Wr0ngPw1")))
      .Box(L"Keyfolio for Flash Drives", kNotCorrect)
      .Dialog(kEnterCaption, Watching({{&right, IDC_PASSWORD_ENTRY}}, EnterAndOk(L"Qz7vKw2m")))
      .Dialog(kChangeCaption,
              Watching({{&old, IDC_PASSWORD_ENTRY}, {&fresh, IDC_NEW_PASSWORD_ENTRY}},
                       ChangeAndOk(L"Qz7vKw2m", L"Nb4xTy9r")))
      .Dialog(kConfirmNewCaption,
              Watching({{&confirm, IDC_PASSWORD_ENTRY}}, EnterAndOk(L"Nb4xTy9r")))
      .Box(L"New Password Set", kChanged);
  EXPECT_EQ(PasswordProtection().EnterPassword(Owner()), PasswordProtection::PASSWORD_ACCEPTED);
  PasswordProtection().ChangePassword(Owner());
  EXPECT_TRUE(script.Finished());
  const struct {
    const char* name;
    const FieldTextWatch& watch;
    const wchar_t* typed;
  } fields[] = {{"wrong entry", wrong, L"Wr0ngPw1"}, {"right entry", right, L"Qz7vKw2m"},
                {"old password", old, L"Qz7vKw2m"},  {"new password", fresh, L"Nb4xTy9r"},
                {"confirmation", confirm, L"Nb4xTy9r"}};
  for (const auto& field : fields) {
    EXPECT_TRUE(field.watch.Destroyed()) << field.name;
    EXPECT_TRUE(field.watch.OverwrittenInPlace(field.typed))
        << field.name << ": " << testing::PrintToString(field.watch.Texts());
  }
}

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
