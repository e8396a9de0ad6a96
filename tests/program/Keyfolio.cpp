#include "tests/program/Keyfolio.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "tests/program/Desktop.h"
#include "tests/program/ScreenPixels.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kMenuClass[] = L"#32768";
// A message box's text is the static control with this id.
constexpr int kMessageBoxTextId = 0xFFFF;

// The menu bar as a person sees it. The keyboard skips separators, so they
// are not listed.
struct Menu {
  const wchar_t* title;
  std::vector<std::wstring> items;
};
// Each title begins with its underlined letter ("&File").
const Menu kMenuBar[] = {
    {L"File", {L"Add New Site...", L"Delete Site...", L"Exit"}},
    {L"Edit", {L"Edit Site..."}},
    {L"View", {L"Hide Password", L"Show Password"}},
    {L"Options", {L"Change Master Password..."}},
    {L"Help", {L"Keyfolio for Flash Drives Help", L"Disclaimer", L"About..."}},
};

int MenuIndex(const std::wstring& title) {
  for (int index = 0; index < static_cast<int>(std::size(kMenuBar)); ++index)
    if (title == kMenuBar[index].title) return index;
  throw StepFailed("the menu bar has no menu of that name");
}

int ItemIndex(int menu, const std::wstring& item) {
  const std::vector<std::wstring>& items = kMenuBar[menu].items;
  const auto found = std::find(items.begin(), items.end(), item);
  if (found == items.end()) throw StepFailed("the menu has no item of that name");
  return static_cast<int>(found - items.begin());
}

std::wstring CaptionOf(HWND window) {
  wchar_t caption[512] = {};
  GetWindowTextW(window, caption, 512);
  return caption;
}

RECT RectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::vector<HWND> SortedFromTop(std::vector<HWND> windows) {
  std::stable_sort(windows.begin(), windows.end(),
                   [](HWND a, HWND b) { return RectOf(a).top < RectOf(b).top; });
  return windows;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND child : ChildrenOf(parent))
    if (_wcsicmp(ClassOf(child).c_str(), className) == 0) found.push_back(child);
  return found;
}

// Wine hands the program the X server's focus events late, at times only
// after the window that caused them has gone; a late "focus left" ends a
// menu or a drop-down list that has just opened (WM_CANCELMODE), and keys
// sent while the desktop seemed to have the focus go nowhere. A step whose
// effect shows is therefore tried again when the effect does not come.
constexpr DWORD kRetryAfterMs = 2000;
constexpr int kAttempts = 3;

void Retry(const char* what, const std::function<bool()>& attempt) {
  for (int tries = 0; tries < kAttempts; ++tries)
    if (attempt()) return;
  throw StepFailed(std::string("timed out waiting for ") + what);
}

bool InMenuMode(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.flags & GUI_INMENUMODE) != 0;
}

}  // namespace

Keyfolio::Keyfolio(const FlashDrive& drive, const std::wstring& argumentZero)
    : m_process(drive.ProgramPath(), argumentZero) {
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
void Keyfolio::WaitForInputHandled() {
  RECT client{};
  GetClientRect(m_main, &client);
  POINT empty{8, client.bottom - 8};
  ClientToScreen(m_main, &empty);
  Retry("the main window to take the mouse", [&] {
    BringToFront(m_main);
    PressMouseButton(empty);
    const bool taken = WaitFor([&] { return CaptureIn(m_main) == m_main; }, kRetryAfterMs);
    ReleaseMouseButton();
    return taken;
  });
  Expect([&] { return CaptureIn(m_main) == nullptr; }, "the main window to let the mouse go");
  WaitUntilIdle();
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
  Click(button);
}

// A click that a late focus event cancelled leaves the dialog as it was:
// open, and taking input (no box over it). Only then is it clicked again.
void Keyfolio::CloseWith(HWND dialog, const std::wstring& label) {
  const auto closed = [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); };
  Retry("a dialog to close", [&] {
    ClickButtonIn(dialog, label);
    return WaitFor([&] { return closed() || !IsWindowEnabled(dialog); }, kRetryAfterMs);
  });
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

void Keyfolio::TypeInto(HWND edit, const std::wstring& text) {
  const size_t limit = static_cast<size_t>(Ask(edit, EM_GETLIMITTEXT));
  const size_t expected = std::min(text.size(), limit);
  Retry("the typed text to arrive in the field", [&] {
    Click(edit);
    if (!WaitFor([&] { return FocusIn(edit) == edit; }, kRetryAfterMs)) return false;
    PressKeys({VK_CONTROL, VK_END});
    PressKeys({VK_CONTROL, VK_SHIFT, VK_HOME});
    if (text.empty())
      PressKey(VK_DELETE);
    else
      TypeText(text);
    return WaitFor([&] { return static_cast<size_t>(Ask(edit, WM_GETTEXTLENGTH)) == expected; },
                   kRetryAfterMs);
  });
}

namespace {

const wchar_t* const kSiteLabels[] = {L"Title:", L"User Name:", L"Password:", L"Website URL:",
                                      L"Notes:"};

}  // namespace

void Keyfolio::FillSite(HWND dialog, const SiteEntry& site) {
  const std::wstring* texts[] = {&site.title, &site.user, &site.password, &site.address,
                                 &site.notes};
  for (size_t i = 0; i < std::size(kSiteLabels); ++i)
    TypeInto(EditBeside(dialog, kSiteLabels[i]), *texts[i]);
}

SiteEntry Keyfolio::ReadSite(HWND dialog) const {
  SiteEntry site;
  std::wstring* texts[] = {&site.title, &site.user, &site.password, &site.address, &site.notes};
  for (size_t i = 0; i < std::size(kSiteLabels); ++i)
    *texts[i] = TextOf(EditBeside(dialog, kSiteLabels[i]));
  return site;
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

HWND Keyfolio::MenuPopup() const {
  const std::vector<HWND> popups = m_process.Windows(kMenuClass);
  return popups.empty() ? nullptr : popups.front();
}

// Alt with the menu's underlined letter opens it with its first item
// selected. (A tap of Alt alone would not reach the menu bar while the site
// list has the focus: Wine's combo box keeps Alt to itself.)
void Keyfolio::OpenMenu(const std::wstring& menu) {
  const wchar_t mnemonic = kMenuBar[MenuIndex(menu)].title[0];
  Retry("the menu to open", [&] {
    if (InMenuMode(m_main)) CloseMenu();
    BringToFront(m_main);
    PressKeys({VK_MENU, static_cast<WORD>(mnemonic)});
    return WaitFor(
        [&] {
          HWND popup = MenuPopup();
          return popup && SelectedRow(ScreenPixels(popup)).Found();
        },
        kRetryAfterMs);
  });
}

void Keyfolio::OpenSystemMenu() {
  Retry("the system menu to open", [&] {
    if (InMenuMode(m_main)) CloseMenu();
    BringToFront(m_main);
    PressKeys({VK_MENU, VK_SPACE});
    return WaitFor([&] { return SelectedRow(ScreenPixels(MenuPopup())).Found(); }, kRetryAfterMs);
  });
}

bool Keyfolio::SelectNextEntry() {
  const int before = SelectedRow(ScreenPixels(MenuPopup())).top;
  if (before < 0) return false;
  PressKey(VK_DOWN);
  int now = -1;
  return WaitFor(
             [&] {
               now = SelectedRow(ScreenPixels(MenuPopup())).top;
               return !MenuPopup() || (now >= 0 && now != before);
             },
             kRetryAfterMs) &&
         MenuPopup() && now >= 0;
}

int Keyfolio::CountSystemMenuEntries() {
  constexpr int kMostEntries = 16;
  int entries = 0;
  Retry("the system menu to be walked", [&] {
    OpenSystemMenu();
    const int first = SelectedRow(ScreenPixels(MenuPopup())).top;
    for (entries = 1; entries <= kMostEntries; ++entries) {
      if (!SelectNextEntry()) return false;
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
  Retry("the main window to be minimised", [&] {
    Retry("Minimize to be selected", [&] {
      OpenSystemMenu();
      return SelectNextEntry();
    });
    PressKey(VK_RETURN);
    Expect([&] { return !MenuPopup(); }, "the menu to close");
    const auto minimised = [&] { return IsIconic(m_main) != FALSE; };
    if (WaitFor(minimised, kRetryAfterMs)) return true;
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
  const int itemIndex = ItemIndex(MenuIndex(menu), item);
  Retry("the menu item to be selected", [&] {
    OpenMenu(menu);
    for (int step = 0; step < itemIndex; ++step)
      if (!SelectNextEntry()) return false;
    return MenuPopup() != nullptr;
  });
}

// A late focus event can close the menu after the item was seen selected
// and before Enter came; Enter then chooses nothing. Once every key before
// it is known to be handled, a command that shows nothing is chosen again,
// as a person would; one that was chosen is never repeated.
void Keyfolio::ChooseMenu(const std::wstring& menu, const std::wstring& item,
                          const std::function<bool()>& chosen) {
  const std::function<bool()> windowCameOrProgramEnded = [&] {
    return IsWindowEnabled(m_main) == FALSE;
  };
  const std::function<bool()>& shown = chosen ? chosen : windowCameOrProgramEnded;
  Retry("the menu command to be chosen", [&] {
    SelectMenuItem(menu, item);
    PressKey(VK_RETURN);
    Expect([&] { return !MenuPopup(); }, "the menu to close");
    if (WaitFor(shown, kRetryAfterMs)) return true;
    WaitForInputHandled();
    return shown();
  });
}

void Keyfolio::ChooseMenuShowingNothing(const std::wstring& menu, const std::wstring& item) {
  SelectMenuItem(menu, item);
  PressKey(VK_RETURN);
  Expect([&] { return !MenuPopup(); }, "the menu to close");
}

// Every item of the menus read this way has the same height: none holds a
// separator.
std::vector<bool> Keyfolio::CheckMarksOf(const std::wstring& menu) {
  const size_t count = kMenuBar[MenuIndex(menu)].items.size();
  std::vector<bool> marks;
  Retry("a picture of the open menu", [&] {
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

void Keyfolio::PressShortcut(std::initializer_list<WORD> keys) {
  BringToFront(m_main);
  PressKeys(keys);
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

void Keyfolio::ChooseTitle(const std::wstring& title) {
  const std::vector<std::wstring> titles = Titles();
  const auto found = std::find(titles.begin(), titles.end(), title);
  if (found == titles.end()) throw StepFailed("the list has no such title");
  const int index = static_cast<int>(found - titles.begin());
  Retry("the title to be chosen", [&] {
    if (Ask(SiteList(), CB_GETDROPPEDSTATE)) PressKey(VK_ESCAPE);
    Click(SiteList());
    HWND dropped = nullptr;
    if (!WaitFor(
            [&] {
              const std::vector<HWND> lists = m_process.Windows(L"ComboLBox");
              dropped = lists.empty() ? nullptr : lists.front();
              return dropped != nullptr;
            },
            kRetryAfterMs))
      return false;
    ClickAt(ListItemPoint(dropped, index));
    return WaitFor(
        [&] {
          return Ask(SiteList(), CB_GETCURSEL) == index && Ask(SiteList(), CB_GETDROPPEDSTATE) == 0;
        },
        kRetryAfterMs);
  });
}

HWND Keyfolio::SiteList() const {
  const std::vector<HWND> lists = ChildrenOfClass(m_main, L"ComboBox");
  if (lists.empty()) throw StepFailed("the main window has no site list");
  return lists.front();
}

std::vector<std::wstring> Keyfolio::Titles() const {
  HWND list = SiteList();
  std::vector<std::wstring> titles;
  const LRESULT count = Ask(list, CB_GETCOUNT);
  for (LRESULT index = 0; index < count; ++index) {
    std::wstring title(static_cast<size_t>(Ask(list, CB_GETLBTEXTLEN, index)) + 1, L'\0');
    const LRESULT length = Ask(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&title[0]));
    title.resize(length > 0 ? static_cast<size_t>(length) : 0);
    titles.push_back(title);
  }
  return titles;
}

std::wstring Keyfolio::SelectedTitle() const {
  const LRESULT index = Ask(SiteList(), CB_GETCURSEL);
  return index < 0 ? std::wstring() : Titles().at(static_cast<size_t>(index));
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

bool IsMessageBox(HWND dialog) {
  return GetDlgItem(dialog, kMessageBoxTextId) != nullptr;
}

POINT ListItemPoint(HWND list, int index) {
  const LRESULT top = Ask(list, LB_GETTOPINDEX);
  const LRESULT height = Ask(list, LB_GETITEMHEIGHT, static_cast<WPARAM>(index));
  RECT client{};
  GetClientRect(list, &client);
  if (height <= 0 || index < top || (index - top + 1) * height > client.bottom)
    throw StepFailed("the list item is not in view");
  POINT point{client.right / 2, static_cast<LONG>((index - top) * height + height / 2)};
  ClientToScreen(list, &point);
  return point;
}

std::vector<std::wstring> ListBoxItems(HWND list) {
  std::vector<std::wstring> items;
  const LRESULT count = Ask(list, LB_GETCOUNT);
  for (LRESULT index = 0; index < count; ++index) {
    std::wstring item(static_cast<size_t>(Ask(list, LB_GETTEXTLEN, index)) + 1, L'\0');
    const LRESULT length = Ask(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&item[0]));
    item.resize(length > 0 ? static_cast<size_t>(length) : 0);
    items.push_back(item);
  }
  return items;
}
