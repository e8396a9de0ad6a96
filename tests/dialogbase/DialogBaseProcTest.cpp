// No exception leaves DialogBaseProc. Under Wine an exception that passed
// through user32 would reach the test anyway, so the procedure is called
// directly here, with a real dialog window; the modal cases show what the
// user sees.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "dialogbase/DialogBase.h"
#include "dialogbase/DialogTemplateBuilder.h"
#include "tests/common/DialogDriver.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "ui/InstanceSubclasser.h"

namespace {

// Every handler throws while m_throwing is set; OnCommand for IDOK only.
class ThrowingDialog : public DialogBase {
 public:
  // Shown over `parent`.
  ThrowingDialog(HWND parent, bool throwing) : m_throwing(throwing) { DoModal(parent); }
  // Only an object, for direct calls of the procedure.
  ThrowingDialog() = default;

  int GetTemplateID() const override { return DLG_CreatePassword; }
  INT_PTR DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) override {
    Throw();
    return DialogBase::DefaultHandler(message, wParam, lParam);
  }
  INT_PTR OnInitDialog(WPARAM wParam, LPARAM lParam) override {
    ++m_inits;
    Throw();
    return DialogBase::OnInitDialog(wParam, lParam);
  }
  LRESULT OnCommand(int id, HWND control, UINT notifyCode) override {
    if (id == IDOK) {
      ++m_oks;
      Throw();
    }
    return DialogBase::OnCommand(id, control, notifyCode);
  }
  INT_PTR OnDialogNotify(WPARAM, LPARAM) override { return Throw(); }
  INT_PTR OnDrawItem(WPARAM, const DRAWITEMSTRUCT*) override { return Throw(); }
  HBRUSH OnCTLColorEdit(HDC, HWND) override { return reinterpret_cast<HBRUSH>(Throw()); }
  HBRUSH OnCTLColorStatic(HDC, HWND) override { return reinterpret_cast<HBRUSH>(Throw()); }
  HBRUSH OnCTLColorDlg(HDC, HWND) override { return reinterpret_cast<HBRUSH>(Throw()); }
  INT_PTR OnEraseBkgnd(HDC) override { return Throw(); }

  bool m_throwing = false;
  int m_inits = 0;
  int m_oks = 0;

 private:
  INT_PTR Throw() const {
    if (m_throwing) throw std::runtime_error("handler failed");
    return 1;
  }
};

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// A real, modeless dialog window from a table, not yet bound to an object.
class DialogWindow {
 public:
  DialogWindow() {
    const DialogTemplateBlock block = BuildDialogTemplate(DLG_CreatePassword);
    m_hWnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), block.Get(), nullptr,
                                        QuietProc, 0);
  }
  ~DialogWindow() { DestroyWindow(m_hWnd); }
  HWND Get() const { return m_hWnd; }

 private:
  HWND m_hWnd;
};

class DialogBaseProcTest : public ::testing::Test {
 protected:
  void SetUp() override { InitDialogTemplates(); }
};

TEST_F(DialogBaseProcTest, ThrowingHandlersAnswerZero) {
  DialogWindow window;
  ASSERT_NE(window.Get(), nullptr);
  ThrowingDialog dialog;
  ASSERT_EQ(DialogBase::DialogBaseProc(window.Get(), WM_INITDIALOG, 0,
                                       reinterpret_cast<LPARAM>(&dialog)),
            1);
  ASSERT_EQ(dialog.GetHWnd(), window.Get());
  dialog.m_throwing = true;

  DRAWITEMSTRUCT item{};
  NMHDR header{};
  const HDC dc = GetDC(window.Get());
  struct Case {
    const char* handler;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Case cases[] = {
      {"OnCommand", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0},
      {"OnDialogNotify", WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)},
      {"OnDrawItem", WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)},
      {"OnEraseBkgnd", WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0},
      {"OnCTLColorEdit", WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), 0},
      {"OnCTLColorStatic", WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0},
      {"OnCTLColorDlg", WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0},
      {"DefaultHandler", WM_USER + 7, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.handler);
    INT_PTR result = -1;
    EXPECT_NO_THROW(result = DialogBase::DialogBaseProc(window.Get(), c.message, c.wParam,
                                                        c.lParam));
    EXPECT_EQ(result, 0);
  }
  ReleaseDC(window.Get(), dc);
  // Still the object's window: a failed handler unbinds nothing.
  EXPECT_EQ(GetWindowObject(window.Get()), &dialog);
}

// A dialog that could not set itself up is ended before anyone uses it.
TEST_F(DialogBaseProcTest, AThrowingOnInitDialogEndsTheDialog) {
  DialogWindow window;
  ShowWindow(window.Get(), SW_SHOWNA);
  ThrowingDialog dialog;
  dialog.m_throwing = true;
  INT_PTR result = -1;
  EXPECT_NO_THROW(result = DialogBase::DialogBaseProc(window.Get(), WM_INITDIALOG, 0,
                                                      reinterpret_cast<LPARAM>(&dialog)));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(dialog.m_inits, 1);
  // EndDialog hides the window at once.
  EXPECT_FALSE(IsWindowVisible(window.Get()));
}

TEST_F(DialogBaseProcTest, MessagesBeforeInitDialogFindNoObject) {
  DialogWindow window;
  EXPECT_EQ(DialogBase::DialogBaseProc(window.Get(), WM_COMMAND, IDOK, 0), 0);
  EXPECT_EQ(DialogBase::DialogBaseProc(window.Get(), WM_CTLCOLORDLG, 0, 0), 0);
  EXPECT_EQ(GetWindowObject(window.Get()), nullptr);
}

// Shown modally: a failed OnInitDialog closes the dialog as Cancel before it
// is ever shown; a failed OK leaves the dialog open.
TEST_F(DialogBaseProcTest, ModalDialogsSurviveThrowingHandlers) {
  TestOwner owner;
  {
    DialogDriver driver([](HWND) {});
    INT_PTR result = -1;
    EXPECT_NO_THROW(result = ThrowingDialog(owner.Get(), true).GetResult());
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(driver.ActionRan());
  }
  {
    DialogDriver driver([&](HWND dialog) {
      auto* object = dynamic_cast<ThrowingDialog*>(GetWindowObject(dialog));
      ASSERT_NE(object, nullptr);
      object->m_throwing = true;
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
      object->m_throwing = false;
      EXPECT_EQ(object->m_oks, 1);
    });
    INT_PTR result = -1;
    EXPECT_NO_THROW(result = ThrowingDialog(owner.Get(), false).GetResult());
    // Still open after OK: the driver had to end it.
    EXPECT_EQ(result, DialogDriver::kEndedByDriver);
  }
}

}  // namespace
