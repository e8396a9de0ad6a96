#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dialogbase/DialogBase.h"
#include "dialogbase/DialogTemplates.h"
#include "support/WindowText.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "ui/FontManager.h"
#include "ui/InstanceSubclasser.h"

namespace {

// Counts what reaches its handlers, then does what the base does.
class CountingDialog : public DialogBase {
 public:
  CountingDialog(HWND parent, int templateId) : m_templateId(templateId) { DoModal(parent); }

  int GetTemplateID() const override { return m_templateId; }
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override {
    ++m_inits;
    return DialogBase::OnInitDialog(wParam, lParam);
  }
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override {
    ++m_commands[{id, notifyCode}];
    return DialogBase::OnCommand(id, control, notifyCode);
  }
  // Only the test's own notification counts: with common controls 6 the
  // buttons notify their parent while they paint.
  INT_PTR OnDialogNotify(WPARAM wParam, LPARAM lParam) override {
    if (IsTestNotification(lParam)) ++m_dialogNotifies;
    return DialogBase::OnDialogNotify(wParam, lParam);
  }
  LRESULT OnNotify(int id, NMHDR* header) override {
    if (IsTestNotification(reinterpret_cast<LPARAM>(header))) ++m_windowNotifies;
    return DialogBase::OnNotify(id, header);
  }
  static bool IsTestNotification(LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    return header && header->idFrom == IDC_SITE_TITLE && header->code == NM_CLICK;
  }

  // Commands from `id`, with any notification code or with `code`.
  int Commands(int id) const {
    int count = 0;
    for (const auto& command : m_commands)
      if (command.first.first == id) count += command.second;
    return count;
  }
  int Commands(int id, UINT code) const {
    const auto found = m_commands.find({id, code});
    return found == m_commands.end() ? 0 : found->second;
  }

  int m_inits = 0;
  int m_dialogNotifies = 0;
  int m_windowNotifies = 0;

 private:
  const int m_templateId;
  std::map<std::pair<int, UINT>, int> m_commands;
};

void PostKey(HWND dialog, WPARAM key) {
  PostMessageW(GetDlgItem(dialog, IDC_PASSWORD_ENTRY), WM_KEYDOWN, key, 1);
}

// WM_COMMAND as a button sends it when clicked. BM_CLICK itself needs the
// focus and the mouse capture, which other programs on the desktop can take
// while the tests run side by side.
void Click(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class DialogBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { InitDialogTemplates(); }
};

// The base OnCommand: ids 1 and 2 end the dialog with that id, every other
// id leaves it open (the driver then ends it).
TEST_F(DialogBaseTest, OnlyOkAndCancelEndTheDialog) {
  TestOwner owner;
  struct Case {
    int id;
    INT_PTR result;
  };
  const Case cases[] = {{IDOK, IDOK},
                        {IDCANCEL, IDCANCEL},
                        {0, DialogDriver::kEndedByDriver},
                        {3, DialogDriver::kEndedByDriver},
                        {IDC_HELP_PASSWORD, DialogDriver::kEndedByDriver},
                        {IDC_LABEL_FIRST, DialogDriver::kEndedByDriver},
                        {IDC_GENERATE, DialogDriver::kEndedByDriver}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    DialogDriver driver([&](HWND dialog) {
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), 0);
    });
    const CountingDialog dialog(owner.Get(), DLG_EnterPassword);
    EXPECT_EQ(dialog.GetResult(), c.result);
    EXPECT_EQ(dialog.Commands(c.id), 1);
  }
}

// Esc and the close box reach OnCommand as IDCANCEL, once; Enter as the
// default button's IDOK. The keys are posted to the edit field, so the
// dialog manager's own loop translates them, whichever window has the focus
// (another program on the desktop may have taken it).
TEST_F(DialogBaseTest, EscAndTheCloseBoxArriveAsCancel) {
  TestOwner owner;
  struct Case {
    const char* what;
    void (*post)(HWND dialog);
    int id;
  };
  const Case cases[] = {
      {"Esc", [](HWND dialog) { PostKey(dialog, VK_ESCAPE); }, IDCANCEL},
      {"close box", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
       IDCANCEL},
      {"WM_CLOSE", [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }, IDCANCEL},
      {"Enter", [](HWND dialog) { PostKey(dialog, VK_RETURN); }, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DialogDriver driver(c.post);
    const CountingDialog dialog(owner.Get(), DLG_EnterPassword);
    EXPECT_FALSE(driver.EndedByDriver());
    EXPECT_EQ(dialog.GetResult(), c.id);
    EXPECT_EQ(dialog.Commands(c.id), 1);
  }
}

// The dialog window is bound to its object, so each message passes the
// object's Dispatch before the dialog procedure: a button's click, an edit
// field's notification and WM_NOTIFY must still reach a handler once.
TEST_F(DialogBaseTest, EveryMessageReachesItsHandlerOnce) {
  TestOwner owner;
  DialogDriver driver([](HWND dialog) {
    Click(dialog, IDC_GENERATE);
    SetWindowTextW(GetDlgItem(dialog, IDC_SITE_TITLE), L"changed");
    NMHDR header = {GetDlgItem(dialog, IDC_SITE_TITLE), IDC_SITE_TITLE, NM_CLICK};
    SendMessageW(dialog, WM_NOTIFY, IDC_SITE_TITLE, reinterpret_cast<LPARAM>(&header));
  });
  const CountingDialog dialog(owner.Get(), DLG_AddNewPassword);
  EXPECT_TRUE(driver.ActionRan());
  EXPECT_EQ(dialog.m_inits, 1);
  EXPECT_EQ(dialog.Commands(IDC_GENERATE), 1);
  EXPECT_EQ(dialog.Commands(IDC_SITE_TITLE, EN_CHANGE), 1);
  EXPECT_EQ(dialog.m_dialogNotifies, 1);
  EXPECT_EQ(dialog.m_windowNotifies, 0);
}

// Shaped like the site dialogs: Middle shows Add Site from its public
// constructor and lends Leaf a protected one that shows nothing; Leaf shows
// Edit Site. Each object runs one dialog, its own.
class MiddleDialog : public DialogBase {
 public:
  explicit MiddleDialog(HWND parent) { DoModal(parent); }

  int GetTemplateID() const override { return DLG_AddNewPassword; }
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override {
    m_calls.push_back("Middle::OnInitDialog");
    return DialogBase::OnInitDialog(wParam, lParam);
  }
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override {
    if (id == IDC_GENERATE) m_calls.push_back("Middle::OnCommand");
    return DialogBase::OnCommand(id, control, notifyCode);
  }

  std::vector<std::string> m_calls;

 protected:
  MiddleDialog() = default;
};

class LeafDialog : public MiddleDialog {
 public:
  explicit LeafDialog(HWND parent) { DoModal(parent); }

  int GetTemplateID() const override { return DLG_EditPassword; }
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override {
    m_calls.push_back("Leaf::OnInitDialog");
    return MiddleDialog::OnInitDialog(wParam, lParam);
  }
};

TEST_F(DialogBaseTest, ATwoLevelDerivedDialogShowsItsOwnTemplateOnce) {
  TestOwner owner;
  std::vector<std::wstring> captions;
  const auto clickGenerate = [&](HWND dialog) {
    captions.push_back(WindowText(dialog));
    Click(dialog, IDC_GENERATE);
    EndDialog(dialog, IDOK);
  };
  {
    DialogDriver first(clickGenerate);
    // Would take a second dialog, had the middle constructor shown one.
    DialogDriver second(clickGenerate);
    const LeafDialog leaf(owner.Get());
    EXPECT_FALSE(second.ActionRan());
    EXPECT_EQ(leaf.m_calls, (std::vector<std::string>{"Leaf::OnInitDialog", "Middle::OnInitDialog",
                                                      "Middle::OnCommand"}));
    EXPECT_EQ(leaf.GetResult(), IDOK);
    // The window is gone, and so is its handle.
    EXPECT_EQ(leaf.GetHWnd(), nullptr);
  }
  {
    DialogDriver driver(clickGenerate);
    const MiddleDialog middle(owner.Get());
    EXPECT_EQ(middle.m_calls,
              (std::vector<std::string>{"Middle::OnInitDialog", "Middle::OnCommand"}));
  }
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"Edit Site", L"Add Site"}));
}

// Under Wine the system does not place a dialog itself: the base
// OnInitDialog does, over the owner, also when the dialog is larger.
TEST_F(DialogBaseTest, OpensCentredOverItsOwner) {
  TestOwner owner({400, 300, 500, 380});
  RECT ownerRect;
  GetWindowRect(owner.Get(), &ownerRect);
  RECT dialogRect{};
  DialogDriver driver([&](HWND dialog) { GetWindowRect(dialog, &dialogRect); });
  const CountingDialog dialog(owner.Get(), DLG_AddNewPassword);
  const int ownerWidth = ownerRect.right - ownerRect.left;
  const int ownerHeight = ownerRect.bottom - ownerRect.top;
  const int width = dialogRect.right - dialogRect.left;
  const int height = dialogRect.bottom - dialogRect.top;
  ASSERT_GT(width, ownerWidth);
  ASSERT_GT(height, ownerHeight);
  EXPECT_EQ(dialogRect.left, ownerRect.left + (ownerWidth - width) / 2);
  EXPECT_EQ(dialogRect.top, ownerRect.top + (ownerHeight - height) / 2);
}

// A template that cannot be built: the box, a result of 0, no handler.
TEST_F(DialogBaseTest, ADialogThatCannotBeBuiltEndsWithZero) {
  TestOwner owner;
  MessageBoxAnswerer answerer;
  const CountingDialog dialog(owner.Get(), 5);
  EXPECT_EQ(dialog.GetResult(), 0);
  EXPECT_EQ(dialog.m_inits, 0);
  EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{L"Insufficient memory."});
}

// Wine sends the WM_CTLCOLOR messages as Windows does; the brushes of the
// handlers reach the system through the subclass and the dialog manager.
class ColouringDialog : public DialogBase {
 public:
  ColouringDialog(HWND parent, HBRUSH brush) : m_brush(brush) { DoModal(parent); }

  int GetTemplateID() const override { return DLG_CreatePassword; }
  HBRUSH OnCTLColorEdit(HDC, HWND) override { return Count(WM_CTLCOLOREDIT); }
  HBRUSH OnCTLColorStatic(HDC, HWND) override { return Count(WM_CTLCOLORSTATIC); }
  HBRUSH OnCTLColorDlg(HDC, HWND) override { return Count(WM_CTLCOLORDLG); }

  std::map<UINT, int> m_calls;

 private:
  HBRUSH Count(UINT message) {
    ++m_calls[message];
    return m_brush;
  }

  HBRUSH m_brush;
};

TEST_F(DialogBaseTest, ColourHandlersAnswerTheSystem) {
  TestOwner owner;
  const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  std::map<UINT, LRESULT> answers;
  DialogDriver driver([&](HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const HDC dc = GetDC(dialog);
    for (UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORDLG})
      answers[message] = SendMessageW(dialog, message, reinterpret_cast<WPARAM>(dc),
                                      reinterpret_cast<LPARAM>(GetDlgItem(dialog, 2500)));
    ReleaseDC(dialog, dc);
  });
  const ColouringDialog dialog(owner.Get(), brush);
  for (UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORDLG}) {
    SCOPED_TRACE(message);
    EXPECT_EQ(answers[message], reinterpret_cast<LRESULT>(brush));
    // The painting's own, and the one sent above.
    EXPECT_GE(dialog.m_calls.at(message), 2);
  }
}

// Small helpers every derived dialog uses, opened up for the test.
class HelperDialog : public DialogBase {
 public:
  explicit HelperDialog(HWND parent) { DoModal(parent); }

  int GetTemplateID() const override { return DLG_AddNewPassword; }
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override {
    // 2505 and the ids between the fields and the labels have no control.
    SetItemFont(1, IDC_LABEL_FIRST, IDC_LABEL_LAST);
    SetItemFont(0, IDC_SITE_TITLE, IDC_SITE_NOTES);
    return DialogBase::OnInitDialog(wParam, lParam);
  }

  using DialogBase::End;
  using DialogBase::Item;
  using DialogBase::ItemText;
};

TEST_F(DialogBaseTest, HelpersReachTheControls) {
  TestOwner owner;
  FontManager::GetInstance().CreateFonts(owner.Get());
  const HFONT bold = FontManager::GetInstance().GetFontHandle(1);
  const HFONT normal = FontManager::GetInstance().GetFontHandle(0);
  ASSERT_NE(bold, nullptr);
  ASSERT_NE(normal, nullptr);
  const std::wstring notes(3000, L'n');
  DialogDriver driver([&](HWND dialog) {
    auto* helper = dynamic_cast<HelperDialog*>(GetWindowObject(dialog));
    ASSERT_NE(helper, nullptr);
    const auto fontOf = [&](int id) {
      return reinterpret_cast<HFONT>(SendMessageW(helper->Item(id), WM_GETFONT, 0, 0));
    };
    for (int id = IDC_LABEL_FIRST; id <= 2504; ++id) EXPECT_EQ(fontOf(id), bold) << id;
    for (int id = IDC_SITE_TITLE; id <= IDC_SITE_NOTES; ++id) EXPECT_EQ(fontOf(id), normal) << id;
    // Every control of a dialog is in the program's face: what no helper
    // made bold is normal.
    EXPECT_EQ(fontOf(IDOK), normal);
    SetWindowTextW(helper->Item(IDC_SITE_NOTES), notes.c_str());
    EXPECT_EQ(helper->ItemText(IDC_SITE_NOTES), notes);
    EXPECT_EQ(helper->ItemText(12345), L"");
    EXPECT_EQ(helper->Item(12345), nullptr);
    helper->End(77);
  });
  const HelperDialog dialog(owner.Get());
  EXPECT_FALSE(driver.EndedByDriver());
  EXPECT_EQ(dialog.GetResult(), 77);
}

}  // namespace
