#include "tests/common/MessageBoxAnswerer.h"

#include <algorithm>
#include <stdexcept>

#include "support/WindowText.h"

namespace {

thread_local MessageBoxAnswerer* t_answerer = nullptr;

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;
// The static control that shows a message box's icon: 0x14 on Windows,
// 0x440 (stc1) under Wine. It may exist with no icon in it.
HICON IconOf(HWND box) {
  for (int id : {0x14, 0x440}) {
    HWND icon = GetDlgItem(box, id);
    if (!icon) continue;
    if (const LRESULT shown = SendMessageW(icon, STM_GETICON, 0, 0))
      return reinterpret_cast<HICON>(shown);
  }
  return nullptr;
}

// A box makes every button it can show and hides those it does not use.
std::vector<int> ButtonsOf(HWND box) {
  std::vector<int> buttons;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Button") == 0 && (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
      buttons.push_back(GetDlgCtrlID(child));
  }
  return buttons;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(int button, Scope scope)
    : m_button(button), m_scope(scope) {
  if (t_answerer) throw std::logic_error("one MessageBoxAnswerer per thread");
  t_answerer = this;
  m_hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  UnhookWindowsHookEx(m_hook);
  t_answerer = nullptr;
}

std::vector<std::wstring> MessageBoxAnswerer::Texts() const {
  std::vector<std::wstring> texts;
  for (const Box& box : m_boxes) texts.push_back(box.text);
  return texts;
}

// HCBT_ACTIVATE also fires for other windows, and again for a box that is
// closing: only the first activation of each #32770 window counts. Dialogs
// are #32770 windows too; only a box has the text control. Under
// Wine it can even name a box of another process that took the focus (a
// test running beside this one): only this thread's boxes are answered.
LRESULT CALLBACK MessageBoxAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && t_answerer) {
    HWND window = reinterpret_cast<HWND>(wParam);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    const bool isBox = GetDlgItem(window, kMessageBoxTextId) != nullptr;
    if (std::wstring(className) == L"#32770" &&
        (isBox || t_answerer->m_scope == BoxesAndDialogs) &&
        GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
      t_answerer->Answer(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxAnswerer::Answer(HWND box) {
  if (std::find(m_answered.begin(), m_answered.end(), box) != m_answered.end()) return;
  m_answered.push_back(box);
  const HICON icon = IconOf(box);
  m_boxes.push_back(Box{WindowText(box), WindowText(GetDlgItem(box, kMessageBoxTextId)),
                        GetWindow(box, GW_OWNER), icon != nullptr, icon, ButtonsOf(box)});
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(m_button, BN_CLICKED), 0);
}
