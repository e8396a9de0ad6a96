// The change of the master password from the menu, on the real change and
// confirm-new dialogs, over a vault that holds "Secret12".
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Editor.h"
#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "support/ResourceIds.h"
#include "tests/security/PasswordFlowFixture.h"

namespace {

const wchar_t kPasswordIncorrect[] = L"Password Incorrect";

class ChangePasswordTest : public PasswordFlowTest {
 protected:
  void SetUp() override { StartWithVault(L"Secret12"); }

  // As the menu's command runs it.
  void Change() { PasswordProtection().OnCommand(Owner(), IDM_MASTERPASSWORD_CHANGE); }

  // The change dialog that comes back shows both entries as they were read.
  static FlowScript::Action ExpectFieldsThenCancel(const std::wstring& oldPassword,
                                                   const std::wstring& newPassword) {
    return [oldPassword, newPassword](HWND dialog) {
      EXPECT_EQ(FieldText(dialog, IDC_PASSWORD_ENTRY), oldPassword);
      EXPECT_EQ(FieldText(dialog, IDC_NEW_PASSWORD_ENTRY), newPassword);
      Press(dialog, IDCANCEL);
    };
  }

  void ExpectUnchanged() {
    EXPECT_EQ(CurrentPassword(), L"Secret12");
    EXPECT_EQ(StoredVault(), VaultWithSites(L"Secret12"));
  }
};

}  // namespace

TEST_F(ChangePasswordTest, AWrongOldPasswordOffersRetryWithBothFieldsAsTyped) {
  FlowScript script;
  script.Dialog(kChangeCaption, ChangeAndOk(L"secret12", L"NewPass1"))
      .Box(kPasswordIncorrect, kOldNotCorrect, IDRETRY)
      .Dialog(kChangeCaption,
              [](HWND dialog) {
                EXPECT_EQ(FieldText(dialog, IDC_PASSWORD_ENTRY), L"secret12");
                EXPECT_EQ(FieldText(dialog, IDC_NEW_PASSWORD_ENTRY), L"NewPass1");
                Press(dialog, IDOK);
              })
      .Box(kPasswordIncorrect, kOldNotCorrect, IDCANCEL);
  Change();
  EXPECT_TRUE(script.Finished());
  const FlowScript::Seen& box = script.Windows()[1];
  EXPECT_EQ(box.buttons, (std::vector<int>{IDRETRY, IDCANCEL}));
  EXPECT_EQ(box.owner, Owner());
  ExpectUnchanged();
}

// A confirmation that differs, and Cancel in the confirm-new dialog, both
// go back to the change dialog with what was typed there.
TEST_F(ChangePasswordTest, AMismatchOrCancelInConfirmGoesBackToTheChangeDialog) {
  {
    FlowScript script;
    script.Dialog(kChangeCaption, ChangeAndOk(L"Secret12", L"NewPass1"))
        .Dialog(kConfirmNewCaption, EnterAndOk(L"NewPass2"))
        .Box(kPasswordIncorrect, kNoMatch)
        .Dialog(kChangeCaption, ExpectFieldsThenCancel(L"Secret12", L"NewPass1"));
    Change();
    EXPECT_TRUE(script.Finished());
  }
  {
    FlowScript script;
    script.Dialog(kChangeCaption, ChangeAndOk(L"Secret12", L"NewPass1"))
        .Dialog(kConfirmNewCaption,
                [](HWND dialog) {
                  Type(dialog, IDC_PASSWORD_ENTRY, L"NewPass1");
                  Press(dialog, IDCANCEL);
                })
        .Dialog(kChangeCaption, ExpectFieldsThenCancel(L"Secret12", L"NewPass1"));
    Change();
    EXPECT_TRUE(script.Finished());
  }
  ExpectUnchanged();
}

// Only eight characters of each entry count: the old one is read up to its
// eighth, the new field takes no more. The vault holds the new password
// when the success shows, and read again from disk it refuses the old one.
TEST_F(ChangePasswordTest, StoresTheNewPasswordAndTheOldOneNoLongerOpensTheVault) {
  {
    FlowScript script;
    script.Dialog(kChangeCaption, ChangeAndOk(L"Secret12XY", L"NewPass1XY"))
        .Dialog(kConfirmNewCaption, EnterAndOk(L"NewPass1"))
        .Box(L"New Password Set", kChanged, IDOK,
             [&](HWND) { EXPECT_EQ(StoredVault(), VaultWithSites(L"NewPass1")); });
    Change();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.Windows()[2].owner, Owner());
    EXPECT_EQ(CurrentPassword(), L"NewPass1");
  }
  Editor::GetInstance().LoadFileValues();
  ASSERT_EQ(CurrentPassword(), L"NewPass1");
  FlowScript script;
  script.Dialog(kEnterCaption, EnterAndOk(L"Secret12"))
      .Box(L"Keyfolio for Flash Drives", kNotCorrect)
      .Dialog(kEnterCaption, EnterAndOk(L"NewPass1"));
  EXPECT_EQ(PasswordProtection().EnterPassword(Owner()), PasswordProtection::PASSWORD_ACCEPTED);
  EXPECT_TRUE(script.Finished());
}

// The data folder is gone while the change is saved, as when the drive is
// pulled out: the user has seen the save's message and sees no success, and
// the password in force is still the one the vault on disk holds.
TEST_F(ChangePasswordTest, AFailedSaveKeepsTheOldPasswordInForce) {
  const std::wstring away = DataFolder() + L"-away";
  ASSERT_TRUE(MoveFileW(DataFolder().c_str(), away.c_str()));
  {
    FlowScript script;
    script.Dialog(kChangeCaption, ChangeAndOk(L"Secret12", L"NewPass1"))
        .Dialog(kConfirmNewCaption, EnterAndOk(L"NewPass1"))
        .Box(kProgramCaption, kOpenForSaveFailed);
    Change();
    EXPECT_TRUE(script.Finished());
  }
  ASSERT_TRUE(MoveFileW(away.c_str(), DataFolder().c_str()));
  ExpectUnchanged();
  // The vault header holds the old password again: the next save writes it.
  EXPECT_TRUE(Editor::GetInstance().SaveFileValues());
  EXPECT_EQ(StoredVault(), VaultWithSites(L"Secret12"));

  FlowScript script;
  script.Dialog(kEnterCaption, EnterAndOk(L"Secret12"));
  EXPECT_EQ(PasswordProtection().EnterPassword(Owner()), PasswordProtection::PASSWORD_ACCEPTED);
  EXPECT_TRUE(script.Finished());
}
