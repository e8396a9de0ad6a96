// The check at start-up, on the real entry dialog over a vault that holds
// "Secret12", and the reset of all data for a forgotten password.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "tests/security/PasswordFlowFixture.h"

namespace {

const wchar_t kForgotten[] =
    L"If you have forgotten your master password, there is no way to recover it. You must make a "
    L"new set of passwords with a new master password. To do this, you need to delete your "
    L"existing data. Do you want to delete your existing data now?";
const wchar_t kReallyDelete[] =
    L"This action is not reversible. Are you sure you want to delete your data?";
const wchar_t kDeleted[] =
    L"Your data has been deleted. You will now be able to create a new master password.";
const wchar_t kWrongCaption[] = L"Keyfolio for Flash Drives";

class EnterPasswordTest : public PasswordFlowTest {
 protected:
  void SetUp() override { StartWithVault(L"Secret12"); }

  int Enter() { return PasswordProtection().EnterPassword(Owner()); }
};

}  // namespace

// The entry is read up to its eighth character and compared exactly; the
// dialog comes back, empty, after every refusal.
TEST_F(EnterPasswordTest, LetsInOnlyTheEightCharactersOfThePassword) {
  struct Case {
    const wchar_t* typed;
    bool accepted;
  };
  const Case cases[] = {
      {L"Secret12", true},
      {L"Secret12XY", true},
      {L"secret12", false},
      {L"Secret1", false},
      {L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "typed \"" << std::string(c.typed, c.typed + wcslen(c.typed))
                                    << "\"");
    FlowScript script;
    script.Dialog(kEnterCaption, EnterAndOk(c.typed));
    if (!c.accepted) {
      script.Box(kWrongCaption, kNotCorrect);
      script.Dialog(kEnterCaption, [](HWND dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_PASSWORD_ENTRY), L"");
        Press(dialog, IDCANCEL);
      });
    }
    EXPECT_EQ(Enter(), c.accepted ? PasswordProtection::PASSWORD_ACCEPTED
                                  : PasswordProtection::PASSWORD_CANCELLED);
    EXPECT_TRUE(script.Finished());
    if (!c.accepted) {
      const FlowScript::Seen& box = script.Windows()[1];
      EXPECT_EQ(box.owner, Owner());
      EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
      EXPECT_EQ(box.icon, nullptr);
    }
  }
  EXPECT_EQ(StoredVault(), VaultWithSites(L"Secret12"));
}

TEST_F(EnterPasswordTest, CancelAndTheCloseBoxGive102) {
  for (const FlowScript::Action& action : {PressOnly(IDCANCEL), FlowScript::Action(CloseBox)}) {
    FlowScript script;
    script.Dialog(kEnterCaption, [&](HWND dialog) {
      Type(dialog, IDC_PASSWORD_ENTRY, L"Secret12");
      action(dialog);
    });
    EXPECT_EQ(Enter(), PasswordProtection::PASSWORD_CANCELLED);
    EXPECT_TRUE(script.Finished());
  }
}

TEST_F(EnterPasswordTest, TriesAgainUntilTheRightPassword) {
  FlowScript script;
  for (const wchar_t* wrong : {L"secret12", L"SECRET12", L"Secret13"})
    script.Dialog(kEnterCaption, EnterAndOk(wrong)).Box(kWrongCaption, kNotCorrect);
  script.Dialog(kEnterCaption, EnterAndOk(L"Secret12"));
  EXPECT_EQ(Enter(), PasswordProtection::PASSWORD_ACCEPTED);
  EXPECT_TRUE(script.Finished());
}

// Declining either question goes back to the dialog and leaves the vault,
// on disk and in memory, as it was.
TEST_F(EnterPasswordTest, HelpDeclinedDeletesNothing) {
  FlowScript script;
  script.Dialog(kEnterCaption, PressOnly(IDC_HELP_PASSWORD))
      .Box(kProgramCaption, kForgotten, IDNO)
      .Dialog(kEnterCaption, PressOnly(IDC_HELP_PASSWORD))
      .Box(kProgramCaption, kForgotten, IDYES)
      .Box(kProgramCaption, kReallyDelete, IDNO)
      .Dialog(kEnterCaption, EnterAndOk(L"Secret12"));
  EXPECT_EQ(Enter(), PasswordProtection::PASSWORD_ACCEPTED);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(StoredVault(), VaultWithSites(L"Secret12"));
  EXPECT_EQ(CurrentPassword(), L"Secret12");

  const FlowScript::Seen& question = script.Windows()[1];
  EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(question.icon, nullptr);
  EXPECT_EQ(question.owner, Owner());
  const FlowScript::Seen& warning = script.Windows()[4];
  EXPECT_EQ(warning.buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(warning.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
}

TEST_F(EnterPasswordTest, HelpAcceptedTwiceDeletesTheVaultAndGives103) {
  FlowScript script;
  script.Dialog(kEnterCaption, PressOnly(IDC_HELP_PASSWORD))
      .Box(kProgramCaption, kForgotten, IDYES)
      .Box(kProgramCaption, kReallyDelete, IDYES)
      .Box(kProgramCaption, kDeleted, IDOK, [&](HWND) {
        EXPECT_EQ(FolderContents(DataFolder()), std::vector<std::wstring>{});
      });
  EXPECT_EQ(Enter(), PasswordProtection::PASSWORD_NOT_SET);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(CurrentPassword(), L"");
  // No dialog asks for the old password any more.
  FlowScript none;
  EXPECT_EQ(Enter(), PasswordProtection::PASSWORD_NOT_SET);
  EXPECT_TRUE(none.Finished());
}

TEST_F(PasswordFlowTest, WithoutAPasswordEnterGives103AndShowsNothing) {
  StartWithoutVault();
  FlowScript none;
  EXPECT_EQ(PasswordProtection().EnterPassword(Owner()), PasswordProtection::PASSWORD_NOT_SET);
  EXPECT_TRUE(none.Finished());
  EXPECT_FALSE(FileExists(VaultPath()));
}
