// The main window as a person looks at it and uses it without a menu: the
// four fields of the chosen site, the buttons beside them (Copy, Go, the
// mask) and the keyboard shortcuts.
#include "tests/program/Desktop.h"
#include "tests/program/Keyfolio.h"
#include "tests/program/KeyfolioWindows.h"

void Keyfolio::PressShortcut(std::initializer_list<WORD> keys) {
  BringToFront(m_main);
  PressKeys(keys);
}

// Keys sent while Wine's late focus events have the desktop seem to hold
// the focus go nowhere.
void Keyfolio::ChooseShortcut(std::initializer_list<WORD> keys,
                              const std::function<bool()>& chosen) {
  GiveCommand("the shortcut's command to come", [&] { PressShortcut(keys); }, chosen);
}

HWND Keyfolio::MainButton(const std::wstring& label, int which) const {
  int seen = 0;
  for (HWND button : SortedFromTop(ChildrenOfClass(m_main, L"Button")))
    if (LabelOf(button) == label && seen++ == which) return button;
  throw StepFailed("the main window has no such button");
}

void Keyfolio::ClickMainButton(const std::wstring& label, int which) {
  Click(MainButton(label, which));
}

HWND Keyfolio::Field(int index) const {
  return SortedFromTop(ChildrenOfClass(m_main, L"Edit")).at(static_cast<size_t>(index));
}

wchar_t Keyfolio::PasswordChar() const {
  return static_cast<wchar_t>(Ask(Field(1), EM_GETPASSWORDCHAR));
}

std::array<std::wstring, 4> Keyfolio::VisibleFields() const {
  std::array<std::wstring, 4> fields;
  for (int index = 0; index < 4; ++index) fields[index] = TextOf(Field(index));
  if (const wchar_t mask = PasswordChar())
    fields[1] = std::wstring(static_cast<size_t>(Ask(Field(1), WM_GETTEXTLENGTH)), mask);
  return fields;
}

SiteEntry Keyfolio::ShownSite() const {
  const std::array<std::wstring, 4> fields = VisibleFields();
  return {SelectedTitle(), fields[0], fields[1], fields[2], fields[3]};
}
