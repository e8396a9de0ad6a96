#include "tests/journeys/PasteTarget.h"

#include <vector>

#include "tests/common/BesideThisProgram.h"
#include "tests/program/Desktop.h"

namespace {

constexpr wchar_t kClass[] = L"KeyfolioJourneyPasteTarget";

}  // namespace

PasteTarget::PasteTarget() : m_process(BesideThisProgram(L"journeys_paste_target.exe")) {
  Expect(
      [&] {
        const std::vector<HWND> windows = m_process.Windows(kClass);
        m_window = windows.empty() ? nullptr : windows.front();
        return m_window != nullptr;
      },
      "the other program's window");
  m_field = FindWindowExW(m_window, nullptr, L"Edit", nullptr);
  if (!m_field) throw StepFailed("the other program has no field");
}

std::wstring PasteTarget::PasteWithCtrlV() {
  if (!TextOf(m_field).empty()) throw StepFailed("pasting into a field that is not empty");
  // As the driver's typing does: Wine's late focus events can swallow the
  // first click or the keys, and a paste that arrived shows as text. One
  // that arrives late is not pasted again.
  const auto pasted = [&] { return !TextOf(m_field).empty(); };
  Retry("the paste to arrive in the other program", [&](DWORD waitMs) {
    if (pasted()) return true;
    Click(m_field);
    if (!WaitFor([&] { return FocusIn(m_field) == m_field; }, waitMs)) return false;
    PressKeys({VK_CONTROL, 'V'});
    return WaitFor(pasted, waitMs);
  });
  return TextOf(m_field);
}
