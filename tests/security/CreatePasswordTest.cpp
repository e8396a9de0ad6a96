// The creation of a first master password, on the real create and confirm
// dialogs, over a data folder that holds no vault yet.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/Editor.h"
#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "tests/security/PasswordFlowFixture.h"

namespace {

class CreatePasswordTest : public PasswordFlowTest {
 protected:
  void SetUp() override { StartWithoutVault(); }

  int Create() { return PasswordProtection().CreatePassword(Owner()); }
};

}  // namespace

// The field takes eight characters of the ten typed, and the vault on disk
// holds them by the time the user is told.
TEST_F(CreatePasswordTest, StoresAndSavesThePasswordBeforeSayingSo) {
  FlowScript script;
  script
      .Dialog(kCreateCaption,
              [](HWND dialog) {
                Type(dialog, IDC_PASSWORD_ENTRY, L"NewPass1XY");
                EXPECT_EQ(FieldText(dialog, IDC_PASSWORD_ENTRY), L"NewPass1");
                Press(dialog, IDOK);
              })
      .Dialog(kConfirmCaption, EnterAndOk(L"NewPass1"))
      .Box(kProgramCaption, kCreated, IDOK,
           [&](HWND) { EXPECT_EQ(StoredVault(), VaultWithoutSites(L"NewPass1")); });
  EXPECT_EQ(Create(), 1);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(CurrentPassword(), L"NewPass1");
  EXPECT_EQ(script.Windows()[2].owner, Owner());
}

// After a mismatch the create dialog shows the first entry again, and the
// confirm dialog opens empty every time.
TEST_F(CreatePasswordTest, AMismatchAsksForBothAgain) {
  FlowScript script;
  script.Dialog(kCreateCaption, EnterAndOk(L"abc"))
      .Dialog(kConfirmCaption, EnterAndOk(L"abC"))
      .Box(L"Password Incorrect", kNoMatch)
      .Dialog(kCreateCaption,
              [](HWND dialog) {
                EXPECT_EQ(FieldText(dialog, IDC_PASSWORD_ENTRY), L"abc");
                Press(dialog, IDOK);
              })
      .Dialog(kConfirmCaption,
              [](HWND dialog) {
                EXPECT_EQ(FieldText(dialog, IDC_PASSWORD_ENTRY), L"");
                Type(dialog, IDC_PASSWORD_ENTRY, L"abc");
                Press(dialog, IDOK);
              })
      .Box(kProgramCaption, kCreated);
  EXPECT_EQ(Create(), 1);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(CurrentPassword(), L"abc");
  EXPECT_EQ(StoredVault(), VaultWithoutSites(L"abc"));
}

// Cancel in the confirm dialog goes back to the create dialog with the
// first entry; Cancel there sets nothing and writes nothing.
TEST_F(CreatePasswordTest, CancelInConfirmGoesBackAndCancelInCreateGivesZero) {
  for (const FlowScript::Action& cancel : {PressOnly(IDCANCEL), FlowScript::Action(CloseBox)}) {
    FlowScript script;
    script.Dialog(kCreateCaption, EnterAndOk(L"abc"))
        .Dialog(kConfirmCaption,
                [&](HWND dialog) {
                  Type(dialog, IDC_PASSWORD_ENTRY, L"abc");
                  cancel(dialog);
                })
        .Dialog(kCreateCaption, [&](HWND dialog) {
          EXPECT_EQ(FieldText(dialog, IDC_PASSWORD_ENTRY), L"abc");
          cancel(dialog);
        });
    EXPECT_EQ(Create(), 0);
    EXPECT_TRUE(script.Finished());
  }
  EXPECT_EQ(CurrentPassword(), L"");
  EXPECT_FALSE(FileExists(VaultPath()));
}

// A save that fails (the data folder is gone) has told the user; no success
// follows it. The program goes on with the new password, and the next save
// that can write writes it.
TEST_F(CreatePasswordTest, AFailedSaveShowsNoSuccessAndTheNextSaveStoresThePassword) {
  ASSERT_TRUE(RemoveDirectoryW(DataFolder().c_str()));
  FlowScript script;
  script.Dialog(kCreateCaption, EnterAndOk(L"abc"))
      .Dialog(kConfirmCaption, EnterAndOk(L"abc"))
      .Box(kProgramCaption, kOpenForSaveFailed);
  EXPECT_EQ(Create(), 1);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(CurrentPassword(), L"abc");

  ASSERT_TRUE(CreateDirectoryW(DataFolder().c_str(), nullptr));
  EXPECT_TRUE(Editor::GetInstance().SaveFileValues());
  EXPECT_EQ(StoredVault(), VaultWithoutSites(L"abc"));
}
