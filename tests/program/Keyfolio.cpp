// The start of the program and its master password, and what every step of
// the driver does with the program's dialogs and message boxes: wait for
// them, read them, type into their fields and close them. The other steps
// are in KeyfolioSites.cpp (choosing and filling sites), KeyfolioView.cpp
// (the main window's fields and buttons) and KeyfolioMenus.cpp.
#include "tests/program/Keyfolio.h"
#include "tests/program/KeyfolioWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/program/Desktop.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
// A message box's text is the static control with this id.
constexpr int kMessageBoxTextId = 0xFFFF;

}  // namespace

Keyfolio::Keyfolio(const FlashDrive& drive, const std::wstring& argumentZero)
    : Keyfolio(drive.ProgramPath(), argumentZero) {}

Keyfolio::Keyfolio(const std::wstring& programPath, const std::wstring& argumentZero)
    : m_process(programPath, argumentZero), m_menuBar(programPath) {
  // A failure to write the vault back after loading it is told before the
  // main window shows.
  Expect(
      [&] {
        const std::vector<HWND> windows = m_process.Windows(kMainClass, false);
        m_main = windows.empty() ? nullptr : windows.front();
        return m_main != nullptr;
      },
      "the main window");
}

bool Keyfolio::WaitForExit() {
  return m_process.WaitForExit(kStepTimeoutMs);
}

void Keyfolio::WaitUntilIdle() {
  DWORD_PTR result = 0;
  if (IsWindow(m_main))
    SendMessageTimeoutW(m_main, WM_NULL, 0, 0, SMTO_NORMAL, kStepTimeoutMs, &result);
}

// The main window takes the mouse on a press in its empty part and lets it
// go on the release; the press is handled only after all input before it.
// A dialog or a box that came meanwhile disables the main window, which
// then drops the press: something did happen, and the test sees what.
void Keyfolio::WaitForInputHandled() {
  RECT client{};
  GetClientRect(m_main, &client);
  POINT empty{8, client.bottom - 8};
  ClientToScreen(m_main, &empty);
  const auto disabled = [&] { return IsWindowEnabled(m_main) == FALSE; };
  Retry("the main window to take the mouse", [&](DWORD waitMs) {
    if (disabled()) return true;
    BringToFront(m_main);
    PressMouseButton(empty);
    const bool taken =
        WaitFor([&] { return CaptureIn(m_main) == m_main || disabled(); }, waitMs);
    ReleaseMouseButton();
    return taken;
  });
  Expect([&] { return CaptureIn(m_main) == nullptr; }, "the main window to let the mouse go");
  WaitUntilIdle();
}

// Once every key before it is known to be handled, a command that shows
// nothing is given again, as a person would; one that came is never
// repeated.
void Keyfolio::GiveCommand(const std::string& what, const std::function<void()>& give,
                           const std::function<bool()>& chosen) {
  const std::function<bool()> windowCameOrProgramEnded = [&] {
    return IsWindowEnabled(m_main) == FALSE;
  };
  const std::function<bool()>& shown = chosen ? chosen : windowCameOrProgramEnded;
  Retry(what, [&](DWORD waitMs) {
    give();
    if (WaitFor(shown, waitMs)) return true;
    WaitForInputHandled();
    return shown();
  });
}

std::vector<HWND> Keyfolio::OpenDialogs() const {
  return m_process.Windows(kDialogClass);
}

MessageBoxView Keyfolio::WaitForMessageBox() {
  return WaitForMessageBox(m_process);
}

MessageBoxView Keyfolio::WaitForMessageBox(const ProgramProcess& process) {
  MessageBoxView box;
  Expect(
      [&] {
        for (HWND dialog : process.Windows(kDialogClass))
          if (IsMessageBox(dialog)) box.window = dialog;
        return box.window != nullptr;
      },
      "a message box");
  // A box shows while it is being made, before its buttons have their
  // labels; its thread answers once it is made and waits for the person.
  // Not Ask: a thread that took seconds before it showed the box, with no
  // message retrieved meanwhile, is one that Wine reports hung until the
  // box's loop runs, and SMTO_ABORTIFHUNG would give up at once.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(box.window, WM_NULL, 0, 0, SMTO_NORMAL, kStepTimeoutMs, &ignored))
    throw StepFailed("the message box was not made");
  box.caption = CaptionOf(box.window);
  box.text = TextOf(GetDlgItem(box.window, kMessageBoxTextId));
  for (HWND button : ChildrenOfClass(box.window, L"Button")) box.buttons.push_back(LabelOf(button));
  box.owner = GetWindow(box.window, GW_OWNER);
  // A box may keep its icon's control empty.
  for (HWND label : ChildrenOfClass(box.window, L"Static"))
    if ((GetWindowLongPtrW(label, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        Ask(label, STM_GETICON) != 0)
      box.hasIcon = true;
  return box;
}

void Keyfolio::Answer(const MessageBoxView& box, const std::wstring& button) {
  CloseWith(box.window, button);
}

MessageBoxView Keyfolio::AnswerMessageBox(const std::wstring& button) {
  const MessageBoxView box = WaitForMessageBox();
  Answer(box, button);
  return box;
}

HWND Keyfolio::WaitForDialog(const std::wstring& caption) {
  HWND found = nullptr;
  Expect(
      [&] {
        for (HWND dialog : OpenDialogs())
          if (!IsMessageBox(dialog) && IsWindowEnabled(dialog) && CaptionOf(dialog) == caption)
            found = dialog;
        return found != nullptr;
      },
      "the dialog \"" + Narrow(caption) + "\"");
  return found;
}

void Keyfolio::ClickButtonIn(HWND dialog, const std::wstring& label) {
  HWND button = FindChild(dialog, L"Button", label);
  if (!button) throw StepFailed("no such button in the dialog");
  GiveTo(dialog, [&] { Click(button); });
}

// Wine hands the program the X server's focus events late, at times only
// after the window that caused them has gone; a late "focus left" can
// swallow a key or a click. One that was swallowed leaves the dialog as it
// was: open, and taking input (no box over it).
void Keyfolio::GiveTo(HWND dialog, const std::function<void()>& give,
                      const std::function<bool()>& answered) {
  const std::function<bool()> closedOrCovered = [&] {
    return !IsWindow(dialog) || !IsWindowVisible(dialog) || !IsWindowEnabled(dialog);
  };
  const std::function<bool()>& done = answered ? answered : closedOrCovered;
  Retry("the dialog to answer", [&](DWORD waitMs) {
    if (done()) return true;
    BringToFront(dialog);
    give();
    if (WaitFor(done, waitMs)) return true;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kStepTimeoutMs, &ignored);
    return done();
  });
}

void Keyfolio::CloseWith(HWND dialog, const std::wstring& label) {
  ClickButtonIn(dialog, label);
  WaitForClose(dialog);
}

void Keyfolio::WaitForClose(HWND dialog) {
  Expect([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, "a dialog to close");
}

std::vector<HWND> Keyfolio::EditsIn(HWND dialog) const {
  return SortedFromTop(ChildrenOfClass(dialog, L"Edit"));
}

HWND Keyfolio::EditBeside(HWND dialog, const std::wstring& label) const {
  HWND text = FindChild(dialog, L"Static", label);
  if (!text) throw StepFailed("no such label in the dialog");
  const RECT labelRect = RectOf(text);
  HWND nearest = nullptr;
  LONG distance = 0;
  for (HWND edit : EditsIn(dialog)) {
    const RECT editRect = RectOf(edit);
    const LONG apart = std::abs(editRect.top - labelRect.top);
    if (editRect.left >= labelRect.left && (!nearest || apart < distance)) {
      nearest = edit;
      distance = apart;
    }
  }
  if (!nearest) throw StepFailed("no field beside the label");
  return nearest;
}

// Typing over what the field holds makes a retry harmless. Under load a key
// can arrive changed, not only lost ("Mail" came as "mail"): a field that
// shows its text is read back whole, and typed again until it holds the
// text. A password field tells another process only its length, as Windows
// answers WM_GETTEXT for it.
void Keyfolio::TypeInto(HWND edit, const std::wstring& text) {
  const size_t limit = static_cast<size_t>(Ask(edit, EM_GETLIMITTEXT));
  const std::wstring expected = text.substr(0, std::min(text.size(), limit));
  const bool masked = Ask(edit, EM_GETPASSWORDCHAR) != 0;
  const auto arrived = [&] {
    if (masked) return static_cast<size_t>(Ask(edit, WM_GETTEXTLENGTH)) == expected.size();
    return TextOf(edit) == expected;
  };
  Retry("the typed text to arrive in the field", [&](DWORD waitMs) {
    Click(edit);
    if (!WaitFor([&] { return FocusIn(edit) == edit; }, waitMs)) return false;
    PressKeys({VK_CONTROL, VK_END});
    PressKeys({VK_CONTROL, VK_SHIFT, VK_HOME});
    if (text.empty())
      PressKey(VK_DELETE);
    else
      TypeText(text);
    return WaitFor(arrived, waitMs);
  });
}

std::vector<MessageBoxView> Keyfolio::CreateMasterPassword(const std::wstring& password) {
  std::vector<MessageBoxView> boxes{AnswerMessageBox()};
  for (const wchar_t* caption : {L"Create Master Password", L"Confirm Master Password"}) {
    HWND dialog = WaitForDialog(caption);
    TypeInto(EditsIn(dialog).at(0), password);
    CloseWith(dialog, L"OK");
  }
  boxes.push_back(AnswerMessageBox());
  boxes.push_back(AnswerMessageBox());
  WaitUntilIdle();
  return boxes;
}

void Keyfolio::EnterMasterPassword(const std::wstring& password) {
  HWND dialog = WaitForDialog(L"Keyfolio");
  TypeInto(EditsIn(dialog).at(0), password);
  ClickButtonIn(dialog, L"OK");
}

void Keyfolio::LogIn(const std::wstring& password) {
  HWND dialog = WaitForDialog(L"Keyfolio");
  EnterMasterPassword(password);
  WaitForClose(dialog);
  Expect([&] { return IsWindowEnabled(m_main) != FALSE; }, "the main window to be usable");
  WaitUntilIdle();
}

bool BoxSays::operator==(const BoxSays& other) const {
  return caption == other.caption && text == other.text && buttons == other.buttons;
}

BoxSays Says(const MessageBoxView& box) {
  return {box.caption, box.text, box.buttons};
}

void PrintTo(const BoxSays& says, std::ostream* out) {
  *out << "caption " << testing::PrintToString(says.caption) << ", text "
       << testing::PrintToString(says.text) << ", buttons "
       << testing::PrintToString(says.buttons);
}

bool IsMessageBox(HWND dialog) {
  return GetDlgItem(dialog, kMessageBoxTextId) != nullptr;
}
