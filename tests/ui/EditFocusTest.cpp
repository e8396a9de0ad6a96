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
  auto readOnly = Make(10, EWC_ReadOnlySingleLineTextLeft, L"user name", 20);
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
  auto readOnly = Make(10, EWC_ReadOnlyPasswordText, L"secret", 20);
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
