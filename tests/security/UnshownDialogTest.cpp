// A password dialog that the system cannot make. A WH_CBT hook refuses the
// dialog's window when it is created, as a system out of resources does;
// DialogBoxIndirectParamW then fails for real. Each flow takes that as a
// cancel: one "Insufficient memory." box, nobody let in, nothing stored, and
// no dialog asked for again.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>

#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "tests/security/PasswordFlowFixture.h"

namespace {

// Refuses every dialog window with one caption while it lives.
class DialogRefusal {
 public:
  explicit DialogRefusal(std::wstring caption) : m_caption(std::move(caption)) {
    t_refusal = this;
    m_hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  DialogRefusal(const DialogRefusal&) = delete;
  DialogRefusal& operator=(const DialogRefusal&) = delete;
  ~DialogRefusal() {
    UnhookWindowsHookEx(m_hook);
    t_refusal = nullptr;
  }
  int Refused() const { return m_refused; }

 private:
  // HCBT_CREATEWND comes before the window gets any message; a non-zero
  // answer makes CreateWindowEx fail.
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_refusal) {
      wchar_t className[16] = {};
      GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16);
      const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      if (std::wstring(className) == L"#32770" && !IS_INTRESOURCE(create->lpszName) &&
          create->lpszName && t_refusal->m_caption == create->lpszName) {
        ++t_refusal->m_refused;
        return 1;
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static thread_local DialogRefusal* t_refusal;
  std::wstring m_caption;
  HHOOK m_hook;
  int m_refused = 0;
};

thread_local DialogRefusal* DialogRefusal::t_refusal = nullptr;

enum Flow { kEnter, kCreate, kChange };

struct Case {
  const char* name;
  Flow flow;
  const wchar_t* refused;
  // The dialog before the refused one, and what is done in it.
  const wchar_t* before;
  FlowScript::Action beforeAction;
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class UnshownDialogTest : public PasswordFlowTest, public testing::WithParamInterface<Case> {};

}  // namespace

TEST_P(UnshownDialogTest, CountsAsCancel) {
  const Case& c = GetParam();
  const bool hasPassword = c.flow != kCreate;
  if (hasPassword)
    StartWithVault(L"Secret12");
  else
    StartWithoutVault();
  DialogRefusal refusal(c.refused);
  FlowScript script;
  if (c.before) script.Dialog(c.before, c.beforeAction);
  script.Box(L"Dialog Box Error", L"Insufficient memory.");

  PasswordProtection protection;
  switch (c.flow) {
    case kEnter:
      EXPECT_EQ(protection.EnterPassword(Owner()), PasswordProtection::PASSWORD_CANCELLED);
      break;
    case kCreate:
      EXPECT_EQ(protection.CreatePassword(Owner()), 0);
      break;
    case kChange:
      protection.ChangePassword(Owner());
      break;
  }
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(refusal.Refused(), 1);
  EXPECT_EQ(script.Windows().back().owner, Owner());
  if (hasPassword) {
    EXPECT_EQ(CurrentPassword(), L"Secret12");
    EXPECT_EQ(StoredVault(), VaultWithSites(L"Secret12"));
  } else {
    EXPECT_EQ(CurrentPassword(), L"");
    EXPECT_FALSE(FileExists(VaultPath()));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Flows, UnshownDialogTest,
    testing::Values(
        Case{"Enter", kEnter, kEnterCaption, nullptr, {}},
        Case{"Create", kCreate, kCreateCaption, nullptr, {}},
        Case{"Confirm", kCreate, kConfirmCaption, kCreateCaption, EnterAndOk(L"abc")},
        Case{"Change", kChange, kChangeCaption, nullptr, {}},
        Case{"ConfirmNew", kChange, kConfirmNewCaption, kChangeCaption,
             ChangeAndOk(L"Secret12", L"NewPass1")}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
