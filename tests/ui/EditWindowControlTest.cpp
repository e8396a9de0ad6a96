#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "storage/DeSerializer.h"
#include "storage/Serializer.h"
#include "support/ExceptionBase.h"
#include "tests/common/LogCapture.h"
#include "tests/common/TempFolder.h"
#include "support/WindowText.h"
#include "tests/ui/TestWindows.h"
#include "ui/DebugEditWnd.h"
#include "ui/EditWindowControl.h"
#include "ui/EditWindowManager.h"
#include "ui/FontManager.h"
#include "ui/InstanceSubclasser.h"

namespace {

// The styles and extended styles asked of CreateWindowExW, as a WH_CBT hook
// sees them before the edit control's own window procedure runs.
struct Requested {
  DWORD style = 0;
  DWORD exStyle = 0;
  std::wstring className;
};

class CreationRecorder {
 public:
  CreationRecorder() {
    t_recorder = this;
    m_hook = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~CreationRecorder() {
    UnhookWindowsHookEx(m_hook);
    t_recorder = nullptr;
  }
  const Requested& Last() const { return m_last; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_recorder) {
      const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
      t_recorder->m_last.style = static_cast<DWORD>(create->style);
      t_recorder->m_last.exStyle = create->dwExStyle;
      t_recorder->m_last.className =
          IS_INTRESOURCE(create->lpszClass) ? L"#atom" : create->lpszClass;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static thread_local CreationRecorder* t_recorder;
  HHOOK m_hook;
  Requested m_last;
};

thread_local CreationRecorder* CreationRecorder::t_recorder = nullptr;

DWORD StyleOf(HWND hWnd) {
  return static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE));
}

class EditWindowControlTest : public ::testing::Test {
 protected:
  void SetUp() override { FontManager::GetInstance().CreateFonts(m_parent.Get()); }

  std::unique_ptr<EditWindowControl> Make(int editType, const wchar_t* text = L"",
                                          bool noAutoScroll = true, int boldFont = 0) {
    return std::make_unique<EditWindowControl>(m_parent.Get(), 300 + editType, text, editType,
                                               boldFont, noAutoScroll);
  }

  TestParent m_parent;
};

}  // namespace

TEST_F(EditWindowControlTest, EditTypesFixStylesAndFocus) {
  const struct {
    int type;
    DWORD withFlag;
    DWORD withoutFlag;
    int noFocus;
    const char* trace;
  } cases[] = {
      {EWC_SingleLineTextLeft, 0x50800100, 0x50800180, 0, "EWC_SingleLineTextLeft 0 == editType 0"},
      {EWC_SingleLineTextCenter, 0x50800101, 0x50800181, 0, nullptr},
      {EWC_SingleLineTextRight, 0x50800102, 0x50800182, 0, nullptr},
      {EWC_NumberRight, 0x50802102, 0x50802182, 0, nullptr},
      {EWC_MultiLineText, 0x50800104, 0x50800184, 0, "EWC_MultiLineText 4 == editType 4"},
      {EWC_DisabledMultiLineText, 0x50800104, 0x50800184, 1,
       "EWC_DisabledMultiLineText 5 == editType 5"},
      {EWC_ReadOnlyMultiLineText, 0x50A00944, 0x50A009C4, 0,
       "EWC_ReadOnlyMultiLineText 6 == editType 6"},
      {EWC_DisabledSingleLineTextLeft, 0x50800100, 0x50800180, 1, nullptr},
      {EWC_DisabledSingleLineTextCenter, 0x50800101, 0x50800181, 1, nullptr},
      {EWC_DisabledSingleLineTextRight, 0x50800102, 0x50800182, 1, nullptr},
      {EWC_ReadOnlySingleLineTextLeft, 0x50800900, 0x50800980, 0, nullptr},
      {EWC_ReadOnlyPasswordText, 0x50800920, 0x508009A0, 0, nullptr},
      {EWC_ReadOnlySingleLineTextCenter, 0x50800901, 0x50800981, 0, nullptr},
      {EWC_ReadOnlySingleLineTextRight, 0x50800902, 0x50800982, 0, nullptr},
      {14, 0x50800100, 0x50800180, 0, nullptr},
  };
  LogCapture log;
  CreationRecorder recorder;
  for (const auto& c : cases) {
    for (bool noAutoScroll : {true, false}) {
      SCOPED_TRACE(testing::Message() << "type " << c.type << " noAutoScroll " << noAutoScroll);
      const size_t linesBefore = log.Lines().size();
      auto field = Make(c.type, L"", noAutoScroll);
      const DWORD expected = noAutoScroll ? c.withFlag : c.withoutFlag;
      // What the program asks for, exactly.
      EXPECT_EQ(recorder.Last().style, expected);
      EXPECT_EQ(recorder.Last().className, L"EDIT");
      // The system decides WS_EX_WINDOWEDGE from the frame styles before any
      // hook sees the request, and drops it for a child without a frame.
      EXPECT_EQ(recorder.Last().exStyle, static_cast<DWORD>(WS_EX_NOPARENTNOTIFY));
      EXPECT_EQ(GetWindowLongPtrW(field->GetHWnd(), GWL_EXSTYLE), WS_EX_NOPARENTNOTIFY);
      // An edit control without WS_EX_CLIENTEDGE takes WS_BORDER off its
      // window and draws the one-pixel border itself; every other bit stays.
      EXPECT_EQ(ClassNameOf(field->GetHWnd()), L"EDIT");
      EXPECT_EQ(StyleOf(field->GetHWnd()), expected & ~static_cast<DWORD>(WS_BORDER));
      EXPECT_EQ(field->GetNoFocus(), c.noFocus);
      EXPECT_EQ(field->HoldsPassword(), c.type == EWC_ReadOnlyPasswordText);
      const std::vector<std::string> lines = log.Lines();
      const std::vector<std::string> added(lines.begin() + linesBefore, lines.end());
      EXPECT_EQ(added, c.trace ? std::vector<std::string>{c.trace} : std::vector<std::string>{});
    }
  }
}

TEST_F(EditWindowControlTest, ConstructionBindsAndPreparesTheField) {
  auto normal = Make(EWC_SingleLineTextLeft, L"alpha");
  auto bold = Make(EWC_ReadOnlySingleLineTextLeft, L"beta", true, 5);
  HWND hWnd = normal->GetHWnd();
  EXPECT_EQ(GetWindowObject(hWnd), normal.get());
  EXPECT_EQ(GetParent(hWnd), m_parent.Get());
  EXPECT_EQ(GetDlgCtrlID(hWnd), 300);
  EXPECT_EQ(WindowText(hWnd), L"alpha");
  EXPECT_EQ(SendMessageW(hWnd, WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(FontManager::GetInstance().GetFontHandle(0)));
  EXPECT_EQ(SendMessageW(bold->GetHWnd(), WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(FontManager::GetInstance().GetFontHandle(1)));
  EXPECT_EQ(bold->GetBoldFont(), 5);
  EXPECT_EQ(SendMessageW(hWnd, EM_GETMARGINS, 0, 0), MAKELONG(5, 5));
  EXPECT_EQ(normal->GetTabStop(), 3);
  // The initial text is neither a modification nor undoable.
  EXPECT_EQ(SendMessageW(hWnd, EM_GETMODIFY, 0, 0), 0);
  EXPECT_EQ(SendMessageW(hWnd, EM_CANUNDO, 0, 0), 0);
  // Made at size 0; the caller places it.
  EXPECT_EQ(RectInParent(hWnd).right, 0);
  normal->Move(10, 20, 200, 24);
  const RECT placed = RectInParent(hWnd);
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 20);
  EXPECT_EQ(placed.right, 210);
  EXPECT_EQ(placed.bottom, 44);
  EXPECT_EQ(normal->GetLineHeight(), FontManager::GetInstance().GetLineHeight(0));

  // Destroying the object destroys the field.
  normal.reset();
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_EQ(GetWindowObject(hWnd), nullptr);
}

TEST_F(EditWindowControlTest, SelectionLinesAndText) {
  LogCapture log;
  auto field = Make(EWC_MultiLineText, L"alpha\r\nbeta");
  field->Move(0, 0, 300, 100);
  EXPECT_EQ(field->GetLineCount(), 2);
  EXPECT_EQ(field->GetText(), L"alpha\r\nbeta");

  field->SetSelection(9, 11);
  DWORD start = 0;
  DWORD end = 0;
  EXPECT_TRUE(field->GetSelection(&start, &end));
  EXPECT_EQ(start, 9u);
  EXPECT_EQ(end, 11u);
  EXPECT_TRUE(field->GetSelection(nullptr, nullptr));
  std::wstring selected = L"old";
  EXPECT_TRUE(field->GetSelectedText(selected));
  EXPECT_EQ(selected, L"ta");
  EXPECT_EQ(field->LineFromChar(9), 1);
  // Line 1 starts at index 7, after "alpha" and its line break.
  const POINT caret = field->GetCaretPosition();
  EXPECT_EQ(caret.x, 2);
  EXPECT_EQ(caret.y, 1);

  field->ReplaceSelection(L"TA");
  EXPECT_EQ(field->GetText(), L"alpha\r\nbeTA");
  EXPECT_NE(SendMessageW(field->GetHWnd(), EM_CANUNDO, 0, 0), 0);
  EXPECT_NE(SendMessageW(field->GetHWnd(), EM_GETMODIFY, 0, 0), 0);
  field->ResetModification(false);
  EXPECT_EQ(SendMessageW(field->GetHWnd(), EM_GETMODIFY, 0, 0), 0);
  EXPECT_NE(SendMessageW(field->GetHWnd(), EM_CANUNDO, 0, 0), 0);
  field->ResetModification(true);
  EXPECT_EQ(SendMessageW(field->GetHWnd(), EM_CANUNDO, 0, 0), 0);

  // An empty selection: false, equal ends, and the text out-argument emptied.
  field->SetSelection(3, 3);
  EXPECT_FALSE(field->GetSelection(&start, &end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);
  EXPECT_FALSE(field->GetSelectedText(selected));
  EXPECT_EQ(selected, L"");

  std::wstring printed = L"old";
  field->GetEntireTextForPrinting(printed);
  EXPECT_EQ(printed, L"alpha");
  EXPECT_TRUE(log.Contains("EditWindowControl::GetEntireTextForPrinting lineCount 2"));
  EXPECT_TRUE(log.Contains("nNumberChar 5 pszText alpha"));

  field->SetText(L"");
  field->GetEntireTextForPrinting(printed);
  EXPECT_EQ(printed, L"");
  std::wstring into = L"old";
  field->GetTextIntoString(into);
  EXPECT_EQ(into, L"");
}

TEST_F(EditWindowControlTest, TabStopsAreWidthTimesFourDialogUnits) {
  auto field = Make(EWC_MultiLineText, L"\tX");
  field->Move(0, 0, 400, 60);
  const auto xOf = [&](int index) {
    return static_cast<int>(
        static_cast<short>(LOWORD(SendMessageW(field->GetHWnd(), EM_POSFROMCHAR, index, 0))));
  };
  field->SetTabStops(2);
  const int narrow = xOf(1) - xOf(0);
  field->SetTabStops(4);
  const int wide = xOf(1) - xOf(0);
  EXPECT_EQ(field->GetTabStop(), 4);
  EXPECT_GT(narrow, 0);
  EXPECT_NEAR(wide, 2 * narrow, 1);
}

TEST_F(EditWindowControlTest, TextGoesThroughTheRecordFileAsOneString) {
  TempFolder folder;
  const std::wstring written = folder.File(L"field.dta");
  const std::wstring reference = folder.File(L"reference.dta");
  const std::wstring text = L"s3cr\u00e9t \u20ac pass";
  auto source = Make(EWC_ReadOnlyPasswordText, text.c_str());
  {
    Serializer serializer(written);
    source->Serialize(serializer);
  }
  {
    Serializer serializer(reference);
    serializer.PutString(text);
  }
  EXPECT_EQ(ReadBytes(written), ReadBytes(reference));

  auto target = Make(EWC_ReadOnlyMultiLineText, L"before");
  {
    DeSerializer deserializer(written);
    target->DeSerialize(deserializer);
    EXPECT_EQ(deserializer.BytesRemaining(), 0u);
  }
  EXPECT_EQ(target->GetText(), text);

  // A reader failure reaches the caller unchanged and leaves the text alone.
  WriteBytes(written, {0x04, 0x00});
  DeSerializer truncated(written);
  EXPECT_THROW(target->DeSerialize(truncated), ExceptionsDeSerializer);
  EXPECT_EQ(target->GetText(), text);
}

TEST_F(EditWindowControlTest, NoFocusFieldAnswersFocusCursorAndActivationItself) {
  auto disabled = Make(EWC_DisabledSingleLineTextLeft, L"name");
  auto plain = Make(EWC_SingleLineTextLeft, L"name");
  const LPARAM click = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
  const WPARAM top = reinterpret_cast<WPARAM>(m_parent.Get());

  EXPECT_EQ(SendMessageW(disabled->GetHWnd(), WM_MOUSEACTIVATE, top, click), MA_NOACTIVATEANDEAT);
  EXPECT_EQ(SendMessageW(disabled->GetHWnd(), WM_SETCURSOR,
                         reinterpret_cast<WPARAM>(disabled->GetHWnd()), click),
            0);
  EXPECT_EQ(SendMessageW(disabled->GetHWnd(), WM_SETFOCUS, 0, 0), 1);
  // The control never learned of the focus: it told its parent nothing.
  EXPECT_FALSE(m_parent.Received(300 + EWC_DisabledSingleLineTextLeft, EN_SETFOCUS));

  EXPECT_NE(SendMessageW(plain->GetHWnd(), WM_MOUSEACTIVATE, top, click), MA_NOACTIVATEANDEAT);
  SendMessageW(plain->GetHWnd(), WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(m_parent.Received(300 + EWC_SingleLineTextLeft, EN_SETFOCUS));
}

TEST_F(EditWindowControlTest, ShallowAndRequestedDeepCopies) {
  LogCapture log;
  auto field = Make(EWC_SingleLineTextLeft, L"x");
  field->SetTabStops(6);
  {
    EditWindowControl deep(*field, true);
    EXPECT_EQ(deep.GetHWnd(), nullptr);
    EXPECT_EQ(deep.GetTabStop(), 3);
    EXPECT_TRUE(
        log.Contains("EditWindowControl::EditWindowControl copy constructor deep copy requested."));
  }
  EXPECT_TRUE(IsWindow(field->GetHWnd()));
  EditWindowControl shallow(*field, false);
  EXPECT_EQ(shallow.GetHWnd(), field->GetHWnd());
  EXPECT_EQ(shallow.GetTabStop(), 6);
}

TEST_F(EditWindowControlTest, FailedCreationThrowsDebugEditWnd) {
  HWND dead = nullptr;
  {
    TestParent gone;
    dead = gone.Get();
  }
  const auto createOnDeadParent = [dead] {
    EditWindowControl field(dead, 1, L"", EWC_SingleLineTextLeft, 0, true);
  };
  // Both catchers of the family take it.
  EXPECT_THROW(createOnDeadParent(), ExceptionBase);
  bool caught = false;
  try {
    createOnDeadParent();
  } catch (const ExceptionsEditWnd& e) {
    caught = true;
    EXPECT_EQ(e.GetErrorCode(), EditWindowControl::EW_CreateFailed);
    const auto* debug = dynamic_cast<const DebugEditWnd*>(&e);
    ASSERT_NE(debug, nullptr);
    EXPECT_EQ(debug->GetTabStop(), 3);
    EXPECT_EQ(debug->GetHWnd(), nullptr);
  }
  EXPECT_TRUE(caught);

  EditWindowManager manager;
  EXPECT_THROW(manager.CreateWindowClass(0, dead, 1, L"", EWC_MultiLineText, 0, true),
               DebugEditWnd);
}

namespace {

class RecordingReporter : public ExceptionReporter {
 public:
  void Write(const wchar_t* text, Severity severity) override {
    EXPECT_EQ(severity, SEV_None);
    lines.push_back(text);
  }
  std::vector<std::wstring> lines;
};

}  // namespace

TEST_F(EditWindowControlTest, DebugEditWndReportsAndDiagnoses) {
  auto field = Make(EWC_SingleLineTextLeft);
  field->SetTabStops(5);
  const DebugEditWnd failed(*field);
  EXPECT_EQ(failed.GetErrorCode(), 0);
  EXPECT_EQ(failed.GetTabStop(), 5);
  EXPECT_EQ(failed.GetHWnd(), field->GetHWnd());
  const DebugEditWnd unknown(*field, 3);

  LogCapture log;
  RecordingReporter reporter;
  failed.Report(reporter);
  unknown.Report(reporter);
  failed.Dump(reporter);
  failed.ShowInternals(reporter);
  // It answers true whatever the field held; its trace is what it does.
  failed.CheckIntegrity();
  const std::vector<std::wstring> expected = {
      L"EditWindowControl Error: ",  L"Edit window failed to create.",
      L"EditWindowControl Error: ",  L"Edit window unknown problem,",
      L"EditWindowControl::Dump: ",  L"EditWindowControl::ShowInternals: ",
  };
  EXPECT_EQ(reporter.lines, expected);
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"DebugEditWnd::CheckIntegrity"});
}

TEST_F(EditWindowControlTest, ManagerMakesOnlyClassTypeZero) {
  LogCapture log;
  EditWindowManager manager;
  auto field = manager.CreateWindowClass(0, m_parent.Get(), 77, L"site", EWC_ReadOnlyPasswordText,
                                         0, true);
  ASSERT_NE(dynamic_cast<EditWindowControl*>(field.get()), nullptr);
  EXPECT_EQ(GetWindowObject(field->GetHWnd()), field.get());
  EXPECT_EQ(GetDlgCtrlID(field->GetHWnd()), 77);
  EXPECT_EQ(field->GetText(), L"site");
  EXPECT_EQ(static_cast<EditWindowControl*>(field.get())->GetNoFocus(), 0);

  const size_t before = log.Lines().size();
  EXPECT_EQ(manager.CreateWindowClass(1, m_parent.Get(), 1, L"", 0, 0, true), nullptr);
  EXPECT_EQ(manager.CreateWindowClass(7, m_parent.Get(), 1, L"", 0, 0, true), nullptr);
  EXPECT_EQ(manager.CreateWindowClass(-1, m_parent.Get(), 1, L"", 0, 0, true), nullptr);
  const std::vector<std::string> lines = log.Lines();
  const std::vector<std::string> expected(
      2, "EditWindowManager::CreateWindowClass: Unknown type of class");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + before, lines.end()), expected);
}
