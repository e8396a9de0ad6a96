// An empty entry in the create, confirm and change dialogs: its message, and
// the focus back on the empty field when the box closes. The focus is the
// desktop's, so this program holds the desktop lock.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "tests/common/MessagePump.h"
#include "tests/security/PasswordFlowFixture.h"

namespace {

const wchar_t kPasswordError[] = L"Password Error";
const wchar_t kLength[] = L"Master password needs to be 1 to 8 characters in length.";
const wchar_t kOldLength[] = L"Your old password needs to be between 1 to 8 characters long.";
const wchar_t kNewLength[] = L"Your new password needs to be between 1 to 8 characters long.";

class EmptyEntryFocusTest : public PasswordFlowTest {
 protected:
  void SetUp() override {
    StartWithVault(L"Secret12");
    SetForegroundWindow(Owner());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Owner(); }));
  }
};

// Fills the fields, then presses OK from the OK button, which has the focus
// as after a click; the refusal's box comes and goes inside the press. The
// dialog stays open with the focus on `emptyId`, and is then cancelled.
FlowScript::Action RefusedOk(const std::wstring& first, const std::wstring& second, int emptyId) {
  return [first, second, emptyId](HWND dialog) {
    Type(dialog, IDC_PASSWORD_ENTRY, first);
    if (GetDlgItem(dialog, IDC_NEW_PASSWORD_ENTRY)) Type(dialog, IDC_NEW_PASSWORD_ENTRY, second);
    SetFocus(GetDlgItem(dialog, IDOK));
    Press(dialog, IDOK);
    // Ended, the dialog would stay hidden.
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(dialog) != FALSE; }))
        << "the dialog ended";
    HWND empty = GetDlgItem(dialog, emptyId);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == empty; }))
        << "the focus is on control " << GetDlgCtrlID(GetFocus());
    Press(dialog, IDCANCEL);
  };
}

}  // namespace

TEST_F(EmptyEntryFocusTest, CreateAndConfirmRefuseAnEmptyEntry) {
  FlowScript script;
  script.Dialog(kCreateCaption, RefusedOk(L"", L"", IDC_PASSWORD_ENTRY))
      .Box(kPasswordError, kLength)
      .Dialog(kCreateCaption, EnterAndOk(L"abc"))
      .Dialog(kConfirmCaption, RefusedOk(L"", L"", IDC_PASSWORD_ENTRY))
      .Box(kPasswordError, kLength)
      .Dialog(kCreateCaption, PressOnly(IDCANCEL));
  PasswordProtection protection;
  EXPECT_EQ(protection.CreatePassword(Owner()), 0);
  EXPECT_EQ(protection.CreatePassword(Owner()), 0);
  EXPECT_TRUE(script.Finished());
  // The box belongs to the dialog, and says it informs.
  const FlowScript::Seen& box = script.Windows()[1];
  EXPECT_NE(box.owner, Owner());
  EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_INFORMATION));
  EXPECT_EQ(CurrentPassword(), L"Secret12");
}

TEST_F(EmptyEntryFocusTest, ChangeRefusesAnEmptyOldOrNewPassword) {
  FlowScript script;
  script.Dialog(kChangeCaption, RefusedOk(L"", L"NewPass1", IDC_PASSWORD_ENTRY))
      .Box(kPasswordError, kOldLength)
      .Dialog(kChangeCaption, RefusedOk(L"Secret12", L"", IDC_NEW_PASSWORD_ENTRY))
      .Box(kPasswordError, kNewLength)
      .Dialog(kChangeCaption, ChangeAndOk(L"Secret12", L"NewPass1"))
      .Dialog(kConfirmNewCaption, RefusedOk(L"", L"", IDC_PASSWORD_ENTRY))
      .Box(kPasswordError, kLength)
      .Dialog(kChangeCaption, PressOnly(IDCANCEL));
  PasswordProtection protection;
  for (int i = 0; i < 3; ++i) protection.ChangePassword(Owner());
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(CurrentPassword(), L"Secret12");
  EXPECT_EQ(StoredVault(), VaultWithSites(L"Secret12"));
}
