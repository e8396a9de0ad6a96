#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogbase/DialogTemplateBuilder.h"
#include "support/ResourceIds.h"
#include "support/WindowText.h"
#include "tests/common/DialogDriver.h"
#include "tests/common/MessageBoxAnswerer.h"
#include "tests/dialogbase/DialogTestWindows.h"
#include "tests/dialogbase/TemplateFixtures.h"
#include "ui/HotLinkText.h"

namespace {

// What the dialog procedures of these tests saw.
LPARAM g_initParam = 0;
int g_procCalls = 0;

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM lParam) {
  ++g_procCalls;
  if (message == WM_INITDIALOG) {
    g_initParam = lParam;
    return TRUE;
  }
  return FALSE;
}

// Ends the dialog with the value its creation parameter points to.
INT_PTR CALLBACK EndAtOnceProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) EndDialog(dialog, *reinterpret_cast<const INT_PTR*>(lParam));
  return FALSE;
}

class TemplateDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitDialogTemplates();
    // The About box holds a HotLinkText control, as in the program.
    ASSERT_NE(RegisterHotLinkClass(GetModuleHandleW(nullptr), IDC_HAND_CURSOR_NAME, 0), 0);
    g_initParam = 0;
    g_procCalls = 0;
  }
};

class RealDialogs : public TemplateDialogTest,
                    public ::testing::WithParamInterface<FixtureDialog> {};

// The windows that DialogBoxIndirectParamW makes from every template: the
// requested class, style, id and text of each control in table order, the
// real windows in the same order (which is the tab order), and each control
// where the converted units place it.
TEST_P(RealDialogs, HoldTheControlsOfTheirTable) {
  const FixtureDialog& fixture = GetParam();
  TestOwner owner;
  CreationRecorder created;
  DialogDriver driver([&](HWND dialog) {
    EXPECT_EQ(WindowText(dialog), fixture.caption);
    EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & kFixtureDialogStyle, kFixtureDialogStyle);
    const DialogBaseUnits units = SystemDialogBaseUnits();
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const FixtureControl& control : fixture.controls) {
      SCOPED_TRACE(testing::Message() << "control " << control.id);
      ASSERT_NE(child, nullptr);
      wchar_t className[32] = {};
      GetClassNameW(child, className, 32);
      EXPECT_EQ(_wcsicmp(className, control.windowClass), 0) << className;
      EXPECT_EQ(GetDlgCtrlID(child), control.id);
      EXPECT_EQ(WindowText(child), control.text);
      // The dialog manager turns the WS_BORDER of an edit or a list into
      // WS_EX_CLIENTEDGE, as Windows does in 3-D dialogs; an empty list box
      // then drops its scroll bar.
      const DWORD requested = control.style | WS_CHILD;
      const bool list = _wcsicmp(control.windowClass, L"LISTBOX") == 0;
      EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE)),
                requested & ~(WS_BORDER | (list ? WS_VSCROLL : 0)));
      EXPECT_EQ((GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0,
                (requested & WS_BORDER) != 0);
      // Position and size are mapped to pixels each on its own.
      RECT expected = {control.x * 8 / units.x, control.y * 16 / units.y,
                       control.cx * 8 / units.x, control.cy * 16 / units.y};
      MapDialogRect(dialog, &expected);
      const RECT actual = RectInParent(child);
      EXPECT_EQ(actual.left, expected.left);
      EXPECT_EQ(actual.top, expected.top);
      EXPECT_EQ(actual.right - actual.left, expected.right);
      if (_wcsicmp(className, L"ListBox") == 0) {
        // Without LBS_NOINTEGRALHEIGHT a list box shortens itself to whole
        // lines.
        const LRESULT line = SendMessageW(child, LB_GETITEMHEIGHT, 0, 0);
        EXPECT_LE(actual.bottom - actual.top, expected.bottom);
        EXPECT_GT(actual.bottom - actual.top, expected.bottom - line);
      } else {
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
      }
      child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than the table has";
  });
  EXPECT_EQ(RunTemplateDialog(owner.Get(), fixture.templateId, QuietProc, 0),
            DialogDriver::kEndedByDriver);
  EXPECT_TRUE(driver.ActionRan());

  ASSERT_EQ(created.Children().size(), fixture.controls.size());
  for (size_t i = 0; i < fixture.controls.size(); ++i) {
    const FixtureControl& control = fixture.controls[i];
    const CreationRecorder::Created& child = created.Children()[i];
    SCOPED_TRACE(testing::Message() << "control " << control.id);
    // With common controls 6 the dialog manager asks for the versioned class
    // ("6.0.2600.2982!Static"), which is the table's class all the same.
    const size_t version = child.windowClass.find(L'!');
    const std::wstring asked =
        version == std::wstring::npos ? child.windowClass : child.windowClass.substr(version + 1);
    EXPECT_EQ(_wcsicmp(asked.c_str(), control.windowClass), 0);
    EXPECT_EQ(child.text, control.text);
    EXPECT_EQ(child.id, control.id);
    const DWORD style = control.style | WS_CHILD;
    EXPECT_EQ(child.style, style & ~WS_BORDER);
    EXPECT_EQ((child.exStyle & WS_EX_CLIENTEDGE) != 0, (style & WS_BORDER) != 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, RealDialogs, testing::ValuesIn(FixtureDialogs()),
                         [](const testing::TestParamInfo<FixtureDialog>& info) {
                           return std::string(info.param.name);
                         });

// The value of EndDialog comes back; the parameter reaches WM_INITDIALOG.
TEST_F(TemplateDialogTest, ReturnsTheValueTheDialogEndedWith) {
  TestOwner owner;
  for (INT_PTR value : {INT_PTR{1}, INT_PTR{2}, INT_PTR{2301}, INT_PTR{0x7FFF0001}}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(RunTemplateDialog(owner.Get(), DLG_EnterPassword, EndAtOnceProc,
                                reinterpret_cast<LPARAM>(&value)),
              value);
  }
  int buffer = 0;
  DialogDriver driver([](HWND) {});
  RunTemplateDialog(owner.Get(), DLG_CreatePassword, QuietProc, reinterpret_cast<LPARAM>(&buffer));
  EXPECT_EQ(g_initParam, reinterpret_cast<LPARAM>(&buffer));
}

// The dialog takes its instance handle from its owner; without an owner it
// takes the program's.
TEST_F(TemplateDialogTest, TakesTheInstanceOfItsOwner) {
  const HINSTANCE other = GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(other, GetModuleHandleW(nullptr));
  TestOwner owner({200, 150, 600, 450}, other);
  ASSERT_EQ(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner.Get(), GWLP_HINSTANCE)), other);
  struct Case {
    HWND owner;
    HINSTANCE expected;
  };
  for (const Case& c : {Case{owner.Get(), other}, Case{nullptr, GetModuleHandleW(nullptr)}}) {
    HINSTANCE instance = nullptr;
    HWND dialogOwner = reinterpret_cast<HWND>(-1);
    DialogDriver driver([&](HWND dialog) {
      instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
      dialogOwner = GetWindow(dialog, GW_OWNER);
    });
    RunTemplateDialog(c.owner, DLG_CreatePassword, QuietProc, 0);
    EXPECT_EQ(instance, c.expected);
    EXPECT_EQ(dialogOwner, c.owner);
  }
}

// A template id without a table: the box over the owner, 0, and no dialog.
TEST_F(TemplateDialogTest, ADialogThatCannotBeBuiltSaysSoAndReturnsZero) {
  TestOwner owner;
  for (int id : {4, 5, 6, 14, -1}) {
    SCOPED_TRACE(id);
    MessageBoxAnswerer answerer;
    EXPECT_EQ(RunTemplateDialog(owner.Get(), id, QuietProc, 0), 0);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"Dialog Box Error");
    EXPECT_EQ(answerer.Boxes()[0].text, L"Insufficient memory.");
    EXPECT_EQ(answerer.Boxes()[0].owner, owner.Get());
    EXPECT_FALSE(answerer.Boxes()[0].hasIcon);
  }
  EXPECT_EQ(g_procCalls, 0);
}

// Without RegisterHotLinkClass the About box's link cannot be made, and the
// system refuses the whole dialog (DialogBoxIndirectParamW answers -1).
// That is a dialog that cannot be built as well: the callers get the one
// failure value, 0, after the same box.
TEST(TemplateDialogWithoutHotLinks, ADialogWhoseWindowCannotBeMadeReturnsZero) {
  InitDialogTemplates();
  TestOwner owner;
  MessageBoxAnswerer answerer;
  EXPECT_EQ(RunTemplateDialog(owner.Get(), DLG_About, QuietProc, 0), 0);
  EXPECT_EQ(answerer.Texts(), std::vector<std::wstring>{L"Insufficient memory."});
}

// Windows of known sizes: the result is exact, and halves of odd negative
// differences truncate toward zero (-101 / 2 is -50).
TEST(CenterOverParent, CentresAWindowOverItsParent) {
  struct Case {
    const char* what;
    RECT parent;
    SIZE window;
    POINT expected;
  };
  const Case cases[] = {
      {"smaller", {300, 200, 700, 500}, {200, 100}, {400, 300}},
      {"same size", {300, 200, 700, 500}, {400, 300}, {300, 200}},
      {"larger by odd amounts", {300, 200, 400, 280}, {301, 181}, {200, 150}},
      {"wider, lower", {300, 200, 400, 500}, {160, 100}, {270, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A popup: a window with a caption has a minimum width of its own.
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, c.parent.left,
                                  c.parent.top, c.parent.right - c.parent.left,
                                  c.parent.bottom - c.parent.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 5, 7, c.window.cx, c.window.cy,
                                  parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    CenterOverParent(window);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, c.expected.x);
    EXPECT_EQ(rect.top, c.expected.y);
    EXPECT_EQ(rect.right - rect.left, c.window.cx);
    EXPECT_EQ(rect.bottom - rect.top, c.window.cy);
    DestroyWindow(window);
    DestroyWindow(parent);
  }
}

TEST(CenterOverParent, LeavesAWindowWithoutParentWhereItIs) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 33, 44, 120, 80, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  CenterOverParent(window);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 33);
  EXPECT_EQ(rect.top, 44);
  DestroyWindow(window);
}

}  // namespace
