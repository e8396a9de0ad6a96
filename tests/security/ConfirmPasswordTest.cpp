// The master password asked again before the sites are exported: the entry
// dialog of the start-up without its "&Help" button, over a vault that holds
// "Secret12". Nothing here may lead to the forgotten-password reset.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "tests/security/PasswordFlowFixture.h"

namespace {

const wchar_t kWrongCaption[] = L"Keyfolio for Flash Drives";

class ConfirmPasswordTest : public PasswordFlowTest {
 protected:
  void SetUp() override { StartWithVault(L"Secret12"); }

  bool Confirm() { return PasswordProtection().ConfirmMasterPassword(Owner()); }
};

RECT ClientRectOf(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

TEST_F(ConfirmPasswordTest, AsksUntilTheRightPasswordWithoutHelp) {
  FlowScript script;
  script.Dialog(kEnterCaption, [](HWND dialog) {
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_HELP_PASSWORD)));
    // OK and Cancel in the middle of the row, as far from either side.
    RECT client{};
    GetClientRect(dialog, &client);
    const LONG left = ClientRectOf(dialog, IDOK).left;
    const LONG right = client.right - ClientRectOf(dialog, IDCANCEL).right;
    EXPECT_LE(std::abs(left - right), 2) << left << " " << right;
    // The hidden button's command, posted by whatever, leads nowhere.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_HELP_PASSWORD, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(dialog));
    EnterAndOk(L"secret12")(dialog);
  });
  script.Box(kWrongCaption, kNotCorrect);
  script.Dialog(kEnterCaption, EnterAndOk(L"Secret12"));
  EXPECT_TRUE(Confirm());
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(StoredVault(), VaultWithSites(L"Secret12"));
}

TEST_F(ConfirmPasswordTest, CancelAndTheCloseBoxRefuse) {
  for (const FlowScript::Action& action : {PressOnly(IDCANCEL), FlowScript::Action(CloseBox)}) {
    FlowScript script;
    script.Dialog(kEnterCaption, [&](HWND dialog) {
      Type(dialog, IDC_PASSWORD_ENTRY, L"Secret12");
      action(dialog);
    });
    EXPECT_FALSE(Confirm());
    EXPECT_TRUE(script.Finished());
  }
  EXPECT_EQ(CurrentPassword(), L"Secret12");
  EXPECT_EQ(StoredVault(), VaultWithSites(L"Secret12"));
}
