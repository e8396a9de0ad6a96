#include "tests/security/FlowScript.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "support/WindowText.h"

namespace {

// The static control that holds a message box's text: only boxes have one.
constexpr int kMessageBoxTextId = 0xFFFF;
// The static control of a box's icon: 0x14 on Windows, 0x440 under Wine.
constexpr int kIconIds[] = {0x14, 0x440};
// A flow that shows this many windows nobody expects is taken to loop.
constexpr int kMostUnexpected = 10;

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

FlowScript::Seen Look(HWND window) {
  FlowScript::Seen seen{};
  seen.caption = WindowText(window);
  seen.owner = GetWindow(window, GW_OWNER);
  HWND text = GetDlgItem(window, kMessageBoxTextId);
  seen.isBox = text != nullptr;
  if (!seen.isBox) return seen;
  seen.text = WindowText(text);
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    // Wine makes the box from one template with every button and destroys
    // those the box does not show; visible ones are the box's.
    if (_wcsicmp(className, L"Button") == 0 && (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
      seen.buttons.push_back(GetDlgCtrlID(child));
  }
  for (int id : kIconIds) {
    if (HWND icon = GetDlgItem(window, id))
      if (HICON handle = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)))
        seen.icon = handle;
  }
  return seen;
}

std::string Describe(bool isBox, const std::wstring& caption, const std::wstring& text) {
  return isBox ? "box \"" + Narrow(caption) + "\": \"" + Narrow(text) + "\""
               : "dialog \"" + Narrow(caption) + "\"";
}

// Cancel in a dialog; in a box too, whatever its buttons: the box ends with
// the id it is sent.
void Cancel(HWND window) {
  Press(window, IDCANCEL);
}

}  // namespace

FlowScript::FlowScript() {
  ArmGuard();
}

FlowScript::~FlowScript() = default;

FlowScript& FlowScript::Dialog(const std::wstring& caption, Action action) {
  Add(std::unique_ptr<Step>(new Step{false, caption, L"", 0, std::move(action), nullptr}));
  return *this;
}

FlowScript& FlowScript::Box(const std::wstring& caption, const std::wstring& text, int button,
                            Action look) {
  Add(std::unique_ptr<Step>(new Step{true, caption, text, button, std::move(look), nullptr}));
  return *this;
}

::testing::AssertionResult FlowScript::Finished() const {
  if (m_taken < m_steps.size()) {
    const Step& next = *m_steps[m_taken];
    return ::testing::AssertionFailure()
           << "step " << m_taken + 1 << " of " << m_steps.size() << ", the "
           << Describe(next.isBox, next.caption, next.text) << ", never came";
  }
  for (size_t i = 0; i < m_steps.size(); ++i) {
    if (m_steps[i]->driver->EndedByDriver())
      return ::testing::AssertionFailure() << "the dialog of step " << i + 1 << " was left open";
  }
  if (m_unexpected > 0)
    return ::testing::AssertionFailure() << m_unexpected << " unexpected window(s)";
  return ::testing::AssertionSuccess();
}

// A waiting guard would take the new step's window: it goes, and comes back
// behind the step.
void FlowScript::Add(std::unique_ptr<Step> step) {
  m_guard.reset();
  const size_t index = m_steps.size();
  step->driver = std::make_unique<DialogDriver>([this, index](HWND window) { Take(index, window); });
  m_steps.push_back(std::move(step));
  ArmGuard();
}

void FlowScript::Take(size_t index, HWND window) {
  m_taken = index + 1;
  m_seen.push_back(Look(window));
  const Seen& seen = m_seen.back();
  const Step& step = *m_steps[index];
  const bool matches = seen.isBox == step.isBox && seen.caption == step.caption &&
                       (!step.isBox || seen.text == step.text);
  if (!matches) {
    ADD_FAILURE() << "step " << index + 1 << " expected the "
                  << Describe(step.isBox, step.caption, step.text) << ", got the "
                  << Describe(seen.isBox, seen.caption, seen.text);
    Cancel(window);
    return;
  }
  if (step.action) step.action(window);
  if (!step.isBox) return;
  if (std::find(seen.buttons.begin(), seen.buttons.end(), step.button) == seen.buttons.end())
    ADD_FAILURE() << "step " << index + 1 << ": the box has no button " << step.button;
  Press(window, step.button);
}

void FlowScript::TakeUnexpected(HWND window) {
  m_seen.push_back(Look(window));
  const Seen& seen = m_seen.back();
  ADD_FAILURE() << "unexpected " << Describe(seen.isBox, seen.caption, seen.text);
  if (++m_unexpected == kMostUnexpected) {
    ADD_FAILURE() << "the flow keeps showing windows: ending the test program";
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), 1);
  }
  Cancel(window);
  ArmGuard();
}

// Called from the guard's own action, which still runs: that driver is
// kept until the script goes.
void FlowScript::ArmGuard() {
  if (m_guard) m_usedGuards.push_back(std::move(m_guard));
  m_guard = std::make_unique<DialogDriver>([this](HWND window) { TakeUnexpected(window); });
}

void Type(HWND dialog, int fieldId, const std::wstring& text) {
  HWND field = GetDlgItem(dialog, fieldId);
  for (wchar_t character : text) SendMessageW(field, WM_CHAR, character, 1);
}

void Press(HWND dialog, int buttonId) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

void CloseBox(HWND dialog) {
  SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::wstring FieldText(HWND dialog, int fieldId) {
  return WindowText(GetDlgItem(dialog, fieldId));
}
