// Where each dialog puts the keyboard focus when it opens. GetFocus answers
// only while the dialog is the desktop's active window, which a test program
// running beside this one can take at any moment; so the test records every
// window this thread gives the focus to (HCBT_SETFOCUS), the dialog's own
// choice and any the dialog manager makes when it is activated again.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dialogs/AboutDialog.h"
#include "dialogs/DeletePasswordInDB.h"
#include "dialogbase/DialogTemplates.h"
#include "dialogs/EditPasswordToDB.h"
#include "dialogs/FindSiteDialog.h"
#include "dialogs/NewPasswordToDB.h"
#include "security/GeneratePassword.h"
#include "support/ResourceIds.h"
#include "tests/common/DialogDriver.h"
#include "tests/dialogs/DialogSites.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "ui/FontManager.h"
#include "ui/HotLinkText.h"

namespace {

class FocusRecorder {
 public:
  FocusRecorder() {
    t_recorder = this;
    m_hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
  }
  FocusRecorder(const FocusRecorder&) = delete;
  FocusRecorder& operator=(const FocusRecorder&) = delete;
  ~FocusRecorder() {
    UnhookWindowsHookEx(m_hook);
    t_recorder = nullptr;
  }

  // The last window given the focus; losing it to another program gives
  // none and is not counted.
  HWND Last() const { return m_last; }

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SETFOCUS && wParam && t_recorder)
      t_recorder->m_last = reinterpret_cast<HWND>(wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static thread_local FocusRecorder* t_recorder;
  HHOOK m_hook;
  HWND m_last = nullptr;
};

thread_local FocusRecorder* FocusRecorder::t_recorder = nullptr;

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
      {"Find Site", [&] { FindSiteDialog dialog(owner.Get()); }, IDC_FIND_TEXT},
      {"Generate Password", [&] { GeneratePassword dialog(owner.Get()); }, IDC_PASSWORD_LENGTH},
      {"About", [&] { AboutDialog dialog(owner.Get(), L"", nullptr); }, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int focused = 0;
    FocusRecorder recorder;
    DialogDriver driver([&](HWND dialog) {
      EXPECT_EQ(GetParent(recorder.Last()), dialog);
      focused = GetDlgCtrlID(recorder.Last());
    });
    c.open();
    EXPECT_TRUE(driver.ActionRan());
    EXPECT_EQ(focused, c.focus);
  }
}

}  // namespace
