// The five password dialogs as the flows show them: where they stand, their
// fonts, and which field hides what is typed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogbase/DialogTemplates.h"
#include "security/PasswordProtection.h"
#include "support/WindowText.h"
#include "tests/security/PasswordFlowFixture.h"
#include "ui/FontManager.h"

namespace {

struct Field {
  int id;
  // Only the typed master password at start-up is hidden.
  bool hidden;
  // 0: no limit of the program's, the system's default (30000 under Wine, 32767
  // on Windows).
  int limit;
};

struct Look {
  std::vector<int> labels;
  std::vector<Field> fields;
};

void ExpectLook(HWND dialog, HWND owner, const Look& look) {
  const std::wstring caption = WindowText(dialog);
  SCOPED_TRACE(std::string(caption.begin(), caption.end()));
  RECT box;
  RECT over;
  GetWindowRect(dialog, &box);
  GetWindowRect(owner, &over);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  EXPECT_EQ(box.left, over.left + ((over.right - over.left) - width) / 2);
  EXPECT_EQ(box.top, over.top + ((over.bottom - over.top) - height) / 2);

  const HFONT normal = FontManager::GetInstance().GetFontHandle(0);
  const HFONT bold = FontManager::GetInstance().GetFontHandle(1);
  ASSERT_NE(normal, bold);
  for (int id : look.labels) {
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, id, WM_GETFONT, 0, 0)), bold)
        << "label " << id;
  }
  for (const Field& field : look.fields) {
    SCOPED_TRACE(testing::Message() << "field " << field.id);
    HWND edit = GetDlgItem(dialog, field.id);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), normal);
    EXPECT_EQ((GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD) != 0, field.hidden);
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0) != 0, field.hidden);
    const LRESULT limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    if (field.limit)
      EXPECT_EQ(limit, field.limit);
    else
      EXPECT_GE(limit, 30000);
  }
}

}  // namespace

TEST_F(PasswordFlowTest, EveryPasswordDialogIsCentredWithBoldLabelsAndNormalFields) {
  StartWithVault(L"Secret12");
  const Look entry = {{2500}, {{IDC_PASSWORD_ENTRY, true, 0}}};
  const Look single = {{2500}, {{IDC_PASSWORD_ENTRY, false, 8}}};
  const Look change = {{2500, 2501},
                       {{IDC_PASSWORD_ENTRY, false, 0}, {IDC_NEW_PASSWORD_ENTRY, false, 8}}};
  auto lookThen = [&](const Look& look, FlowScript::Action then) {
    return [this, &look, then](HWND dialog) {
      ExpectLook(dialog, Owner(), look);
      then(dialog);
    };
  };

  FlowScript script;
  script.Dialog(kEnterCaption, lookThen(entry, PressOnly(IDCANCEL)))
      .Dialog(kCreateCaption, lookThen(single, EnterAndOk(L"abc")))
      .Dialog(kConfirmCaption, lookThen(single, PressOnly(IDCANCEL)))
      .Dialog(kCreateCaption, PressOnly(IDCANCEL))
      .Dialog(kChangeCaption, lookThen(change, ChangeAndOk(L"Secret12", L"NewPass1")))
      .Dialog(kConfirmNewCaption, lookThen(single, PressOnly(IDCANCEL)))
      .Dialog(kChangeCaption, PressOnly(IDCANCEL));
  PasswordProtection protection;
  EXPECT_EQ(protection.EnterPassword(Owner()), PasswordProtection::PASSWORD_CANCELLED);
  EXPECT_EQ(protection.CreatePassword(Owner()), 0);
  protection.ChangePassword(Owner());
  EXPECT_TRUE(script.Finished());
  for (const FlowScript::Seen& dialog : script.Windows()) EXPECT_EQ(dialog.owner, Owner());
}
