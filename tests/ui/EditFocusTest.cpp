// Tests that need the keyboard focus, the foreground window, real mouse and
// keyboard input or the clipboard: their program holds the desktop lock.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/MessagePump.h"
#include "tests/ui/TestWindows.h"
#include "ui/EditWindowControl.h"
#include "ui/FontManager.h"

namespace {

// An edit field that writes down every message its object receives.
class RecordingEdit : public EditWindowControl {
 public:
  using EditWindowControl::EditWindowControl;
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override {
    messages.push_back(message);
    return EditWindowControl::Dispatch(message, wParam, lParam);
  }
  bool Saw(UINT message) const {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
  }
  std::vector<UINT> messages;
};

void Click(HWND hWnd) {
  RECT rect{};
  GetWindowRect(hWnd, &rect);
  const int x = (rect.left + rect.right) / 2;
  const int y = (rect.top + rect.bottom) / 2;
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) input.type = INPUT_MOUSE;
  inputs[0].mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
  inputs[0].mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
}

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(down);
    inputs.push_back(up);
  }
  ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)),
            inputs.size());
}

// `key` while `modifier` is held.
void PressChord(WORD modifier, WORD key) {
  std::vector<INPUT> inputs(4);
  for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[3].ki.wVk = modifier;
  inputs[1].ki.wVk = inputs[2].ki.wVk = key;
  inputs[2].ki.dwFlags = inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(4, inputs.data(), sizeof(INPUT)), 4u);
}

// A context menu that the field opens runs a modal loop of its own, which
// this thread's timer ends.
bool g_menuShown = false;

void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (FindWindowW(L"#32768", nullptr)) {
    g_menuShown = true;
    EndMenu();
  }
}

bool ShowsContextMenu(HWND field) {
  g_menuShown = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, EndMenuTimer);
  SendMessageW(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), MAKELPARAM(30, 30));
  KillTimer(nullptr, timer);
  return g_menuShown;
}

HWND CaretOwner() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetCurrentThreadId(), &info);
  return info.hwndCaret;
}

class EditFocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FontManager::GetInstance().CreateFonts(m_parent.Get());
    SetForegroundWindow(m_parent.Get());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == m_parent.Get(); }));
  }

  std::unique_ptr<RecordingEdit> Make(int id, int editType, const wchar_t* text, int top) {
    auto field = std::make_unique<RecordingEdit>(m_parent.Get(), id, text, editType, 0, true);
    field->Move(20, top, 300, 60);
    return field;
  }

  TestParent m_parent{true};
};

}  // namespace

TEST_F(EditFocusTest, NoFocusFieldSwallowsARealClick) {
  auto readOnly = Make(10, EWC_DisabledSingleLineTextLeft, L"user name", 20);
  auto plain = Make(11, EWC_SingleLineTextLeft, L"typed", 100);
  SetFocus(m_parent.Get());
  PumpPending();
  m_parent.ClearCommands();

  Click(readOnly->GetHWnd());
  Click(plain->GetHWnd());
  // Input is handled in order: once the second click has focused its field,
  // the first has been dealt with.
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == plain->GetHWnd(); }));
  EXPECT_TRUE(readOnly->Saw(WM_MOUSEACTIVATE));
  EXPECT_FALSE(readOnly->Saw(WM_LBUTTONDOWN));
  EXPECT_FALSE(m_parent.Received(10, EN_SETFOCUS));
  EXPECT_TRUE(plain->Saw(WM_LBUTTONDOWN));
  EXPECT_TRUE(m_parent.Received(11, EN_SETFOCUS));
}

TEST_F(EditFocusTest, NoFocusFieldShowsNoCaret) {
  auto readOnly = Make(10, EWC_DisabledSingleLineTextLeft, L"secret", 20);
  auto plain = Make(11, EWC_SingleLineTextLeft, L"typed", 100);
  plain->SetFocus();
  EXPECT_EQ(CaretOwner(), plain->GetHWnd());
  readOnly->SetFocus();
  // The system moved the focus, but the control never learned of it.
  EXPECT_EQ(GetFocus(), readOnly->GetHWnd());
  EXPECT_NE(CaretOwner(), readOnly->GetHWnd());
  EXPECT_FALSE(m_parent.Received(10, EN_SETFOCUS));
}

TEST_F(EditFocusTest, TabTypedIntoAFieldInsertsNothing) {
  auto field = Make(12, EWC_MultiLineText, L"", 20);
  field->SetFocus();
  PressKeys({'A', VK_TAB, 'B'});
  ASSERT_TRUE(PumpUntil([&] { return field->GetText().find(L'b') != std::wstring::npos; }));
  EXPECT_EQ(field->GetText(), L"ab");
}

TEST_F(EditFocusTest, LosingTheFocusDropsTheSelection) {
  auto first = Make(13, EWC_SingleLineTextLeft, L"select me", 20);
  auto second = Make(14, EWC_SingleLineTextLeft, L"other", 100);
  first->SetFocus();
  first->SetSelection(0, -1);
  DWORD start = 0;
  DWORD end = 0;
  ASSERT_TRUE(first->GetSelection(&start, &end));
  EXPECT_EQ(end, 9u);
  second->SetFocus();
  EXPECT_FALSE(first->GetSelection(&start, &end));
  EXPECT_EQ(start, end);
}

TEST_F(EditFocusTest, CopyCutAndPasteGoThroughTheClipboard) {
  auto source = Make(15, EWC_SingleLineTextLeft, L"hunter2", 20);
  auto target = Make(16, EWC_SingleLineTextLeft, L"", 100);
  source->SetSelection(0, -1);
  source->Copy();
  target->Paste();
  EXPECT_EQ(target->GetText(), L"hunter2");
  source->SetSelection(0, 4);
  source->Cut();
  EXPECT_EQ(source->GetText(), L"er2");
  target->SetSelection(0, -1);
  target->Paste();
  EXPECT_EQ(target->GetText(), L"hunt");
}

// A read-only field is there to be read: a click gives it the caret, and End
// carries the view to the last character of a value longer than the field.
// Its text stays as it is.
TEST_F(EditFocusTest, ReadOnlyFieldTakesTheCaretToTheEndOfALongValue) {
  const std::wstring value = L"https://accounts.example.com/" + std::wstring(150, L'x') + L"/end";
  auto field = std::make_unique<RecordingEdit>(m_parent.Get(), 17, value.c_str(),
                                               EWC_ReadOnlySingleLineTextLeft, 0, false);
  field->Move(20, 20, 200, 24);
  const auto lastShown = [&] {
    RECT client{};
    GetClientRect(field->GetHWnd(), &client);
    const LRESULT position = SendMessageW(field->GetHWnd(), EM_POSFROMCHAR, value.size() - 1, 0);
    const int x = static_cast<short>(LOWORD(position));
    return position != -1 && x >= 0 && x < client.right;
  };
  ASSERT_FALSE(lastShown());
  Click(field->GetHWnd());
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == field->GetHWnd(); }));
  EXPECT_EQ(CaretOwner(), field->GetHWnd());
  PressKeys({VK_END});
  ASSERT_TRUE(PumpUntil(lastShown));
  EXPECT_EQ(field->GetText(), value);
}

// Shown in clear or masked, a password never reaches the clipboard from its
// field: only the program's own copy puts it there, and takes it off again.
TEST_F(EditFocusTest, PasswordFieldKeepsItsTextOffTheClipboard) {
  auto password = Make(18, EWC_ReadOnlyPasswordText, L"hunter2", 20);
  auto target = Make(19, EWC_SingleLineTextLeft, L"before", 100);
  target->SetSelection(0, -1);
  target->Copy();
  SendMessageW(password->GetHWnd(), EM_SETPASSWORDCHAR, 0, 0);
  password->SetFocus();
  password->SetSelection(0, -1);
  password->Copy();
  PressChord(VK_CONTROL, 'C');
  PressChord(VK_CONTROL, 'X');
  PressChord(VK_CONTROL, VK_INSERT);
  PressChord(VK_SHIFT, VK_DELETE);
  // The keys are handled in order: once a later one has moved the caret,
  // the copies have been refused.
  PressKeys({VK_HOME});
  ASSERT_TRUE(PumpUntil([&] {
    DWORD start = 1;
    password->GetSelection(&start, nullptr);
    return start == 0 && !password->GetSelection(nullptr, nullptr);
  }));
  // Checked once the keys are handled: an open menu would take them.
  EXPECT_FALSE(ShowsContextMenu(password->GetHWnd()));
  target->SetSelection(0, -1);
  target->Paste();
  EXPECT_EQ(target->GetText(), L"before");
  EXPECT_EQ(password->GetText(), L"hunter2");
}
