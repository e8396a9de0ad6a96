// Where each dialog puts the keyboard focus when it opens. The focus belongs
// to the active window of the desktop, so these tests lock the desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dialogs/AboutDialog.h"
#include "dialogs/DeletePasswordInDB.h"
#include "dialogs/DialogTemplates.h"
#include "dialogs/EditPasswordToDB.h"
#include "dialogs/NewPasswordToDB.h"
#include "security/GeneratePassword.h"
#include "support/ResourceIds.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/MessagePump.h"
#include "tests/dialogs/DialogSites.h"
#include "tests/dialogs/DialogTestWindows.h"
#include "ui/FontManager.h"
#include "ui/HotLinkText.h"

namespace {

TEST(DialogFocus, EachDialogOpensWithTheFocusWhereTheUserStarts) {
  InitDialogTemplates();
  ASSERT_NE(RegisterHotLinkClass(GetModuleHandleW(nullptr), IDC_HAND_CURSOR_NAME, 0), 0);
  TestOwner owner;
  FontManager::GetInstance().CreateFonts(owner.Get());
  RecordingEditor editor;
  PutSites({MakeSite(L"Bank", L"bank-pw"), MakeSite(L"Mail", L"mail-pw")}, 1);
  struct Case {
    const char* what;
    std::function<void()> open;
    int focus;
  };
  const Case cases[] = {
      {"Add Site", [&] { NewPasswordToDB dialog(owner.Get()); }, IDC_SITE_TITLE},
      {"Edit Site", [&] { EditPasswordToDB dialog(owner.Get()); }, IDC_SITE_TITLE},
      {"Delete Site", [&] { DeletePasswordInDB dialog(owner.Get()); }, IDC_DELETE_LIST},
      {"Generate Password", [&] { GeneratePassword dialog(owner.Get()); }, IDC_PASSWORD_LENGTH},
      {"About", [&] { AboutDialog dialog(owner.Get()); }, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int focused = 0;
    DialogDriver driver([&](HWND dialog) {
      SetForegroundWindow(dialog);
      PumpUntil([&] { return GetFocus() && GetParent(GetFocus()) == dialog; }, 2000);
      focused = GetDlgCtrlID(GetFocus());
    });
    c.open();
    EXPECT_TRUE(driver.ActionRan());
    EXPECT_EQ(focused, c.focus);
  }
}

}  // namespace
