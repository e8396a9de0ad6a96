// The menu bar and the system menu, worked with the keyboard as a person
// does: Alt with a menu's letter, the arrow keys, Enter and Esc. The menus
// are those of the program file that runs (MenuBar). A menu of another
// process cannot be read through the system, so what is selected or checked
// is read from the screen (ScreenPixels).
//
// Wine hands the program the X server's focus events late; a late "focus
// left" ends a menu that has just opened (WM_CANCELMODE), and keys sent
// while the desktop seemed to have the focus go nowhere. A step whose
// effect did not show is therefore tried again (Retry).
#include "tests/program/Desktop.h"
#include "tests/program/Keyfolio.h"
#include "tests/program/ScreenPixels.h"

namespace {

constexpr wchar_t kMenuClass[] = L"#32768";

bool InMenuMode(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.flags & GUI_INMENUMODE) != 0;
}

}  // namespace

HWND Keyfolio::MenuPopup() const {
  const std::vector<HWND> popups = m_process.Windows(kMenuClass);
  return popups.empty() ? nullptr : popups.front();
}

// Alt with the menu's underlined letter opens it with its first item
// selected. (A tap of Alt alone would not reach the menu bar while the site
// list has the focus: Wine's combo box keeps Alt to itself.)
void Keyfolio::OpenMenu(const std::wstring& menu) {
  const wchar_t mnemonic = m_menuBar.Mnemonic(menu);
  Retry("the menu to open", [&](DWORD waitMs) {
    if (InMenuMode(m_main)) CloseMenu();
    BringToFront(m_main);
    PressKeys({VK_MENU, static_cast<WORD>(mnemonic)});
    return WaitFor(
        [&] {
          HWND popup = MenuPopup();
          return popup && SelectedRow(ScreenPixels(popup)).Found();
        },
        waitMs);
  });
}

void Keyfolio::OpenSystemMenu() {
  Retry("the system menu to open", [&](DWORD waitMs) {
    if (InMenuMode(m_main)) CloseMenu();
    BringToFront(m_main);
    PressKeys({VK_MENU, VK_SPACE});
    return WaitFor([&] { return SelectedRow(ScreenPixels(MenuPopup())).Found(); }, waitMs);
  });
}

bool Keyfolio::SelectNextEntry(DWORD waitMs) {
  const int before = SelectedRow(ScreenPixels(MenuPopup())).top;
  if (before < 0) return false;
  PressKey(VK_DOWN);
  int now = -1;
  return WaitFor(
             [&] {
               now = SelectedRow(ScreenPixels(MenuPopup())).top;
               return !MenuPopup() || (now >= 0 && now != before);
             },
             waitMs) &&
         MenuPopup() && now >= 0;
}

int Keyfolio::CountSystemMenuEntries() {
  constexpr int kMostEntries = 16;
  int entries = 0;
  Retry("the system menu to be walked", [&](DWORD waitMs) {
    OpenSystemMenu();
    const int first = SelectedRow(ScreenPixels(MenuPopup())).top;
    for (entries = 1; entries <= kMostEntries; ++entries) {
      if (!SelectNextEntry(waitMs)) return false;
      if (SelectedRow(ScreenPixels(MenuPopup())).top == first) return true;
    }
    throw StepFailed("the system menu never came round");
  });
  CloseMenu();
  return entries;
}

// Minimize is the system menu's second entry. As in ChooseMenu, an Enter
// that a late focus event made choose nothing is pressed again.
void Keyfolio::Minimize() {
  const auto minimised = [&] { return IsIconic(m_main) != FALSE; };
  bool again = false;
  Retry("the main window to be minimised", [&](DWORD waitMs) {
    if (again && minimised()) return true;
    again = true;
    Retry("Minimize to be selected", [&](DWORD selectWaitMs) {
      OpenSystemMenu();
      return SelectNextEntry(selectWaitMs);
    });
    PressKey(VK_RETURN);
    Expect([&] { return !MenuPopup(); }, "the menu to close");
    if (WaitFor(minimised, waitMs)) return true;
    WaitForInputHandled();
    return minimised();
  });
}

void Keyfolio::CloseMenu() {
  PressKey(VK_ESCAPE);
  PressKey(VK_ESCAPE);
  Expect([&] { return !InMenuMode(m_main) && !MenuPopup(); }, "the menu to close");
}

// Each Down must move the selection before the next key goes; a menu that
// a late focus event closed meanwhile is opened again.
void Keyfolio::SelectMenuItem(const std::wstring& menu, const std::wstring& item) {
  const int itemIndex = m_menuBar.ItemIndex(menu, item);
  Retry("the menu item to be selected", [&](DWORD waitMs) {
    OpenMenu(menu);
    for (int step = 0; step < itemIndex; ++step)
      if (!SelectNextEntry(waitMs)) return false;
    return MenuPopup() != nullptr;
  });
}

// A late focus event can close the menu after the item was seen selected
// and before Enter came; Enter then chooses nothing.
void Keyfolio::ChooseMenu(const std::wstring& menu, const std::wstring& item,
                          const std::function<bool()>& chosen) {
  GiveCommand(
      "the menu command to be chosen",
      [&] {
        SelectMenuItem(menu, item);
        PressKey(VK_RETURN);
        Expect([&] { return !MenuPopup(); }, "the menu to close");
      },
      chosen);
}

// Every item of the menus read this way has the same height: none holds a
// separator.
std::vector<bool> Keyfolio::CheckMarksOf(const std::wstring& menu) {
  const size_t count = m_menuBar.ItemCount(menu);
  std::vector<bool> marks;
  Retry("a picture of the open menu", [&](DWORD) {
    OpenMenu(menu);
    const ScreenPixels picture(MenuPopup());
    const MenuRow first = SelectedRow(picture);
    if (!first.Found()) return false;
    const int height = first.bottom - first.top;
    marks.clear();
    for (size_t item = 0; item < count; ++item) {
      const MenuRow row{first.top + static_cast<int>(item) * height,
                        first.bottom + static_cast<int>(item) * height};
      marks.push_back(RowIsChecked(picture, row));
    }
    return true;
  });
  CloseMenu();
  return marks;
}
