// The program as a person meets it, driven from the test's process: started
// from a flash drive, it is seen through its windows (the main window, its
// dialogs and message boxes) and worked with the keyboard and the mouse
// only. The steps wait for what a person would wait for (a box to show, a
// dialog to close) and throw StepFailed when it does not come. Reading never
// changes what the program shows, except that opening a menu to look at it
// is what a person does too.
//
// Journeys are built from these steps; each step names what a person does
// ("choose View > Show Password", "type into the field beside Title:"). They
// are written by what a person does: starting, the master password and the
// dialogs in Keyfolio.cpp, the sites in KeyfolioSites.cpp, viewing and
// copying in KeyfolioView.cpp, the menus in KeyfolioMenus.cpp, the Open and
// Save dialogs in KeyfolioFiles.cpp.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/program/Desktop.h"
#include "tests/program/FlashDrive.h"
#include "tests/program/MenuBar.h"
#include "tests/program/ProgramProcess.h"

// The five texts of a site as the site dialogs take them.
struct SiteEntry {
  std::wstring title, user, password, address, notes;
};

struct MessageBoxView {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
  // The button labels, "&" removed, in creation order.
  std::vector<std::wstring> buttons;
  // The window that owns the box: the one it was shown over.
  HWND owner = nullptr;
  // An icon beside the text (MB_ICONEXCLAMATION and the like).
  bool hasIcon = false;
};

// What a message box says, to be checked in one comparison:
// EXPECT_EQ(Says(box), (BoxSays{L"Keyfolio", L"The text.", {L"OK"}})).
struct BoxSays {
  std::wstring caption;
  std::wstring text;
  // The button labels, "&" removed, in creation order.
  std::vector<std::wstring> buttons;

  bool operator==(const BoxSays& other) const;
};
BoxSays Says(const MessageBoxView& box);
void PrintTo(const BoxSays& says, std::ostream* out);

class Keyfolio {
 public:
  static constexpr wchar_t kMainClass[] = L"KeyfolioFlashClass";

  // Starts the program from `drive` (see ProgramProcess for `argumentZero`)
  // and waits for its main window to be made; it shows once the vault has
  // been read.
  explicit Keyfolio(const FlashDrive& drive, const std::wstring& argumentZero = L"");
  // The same for the program at `programPath`.
  explicit Keyfolio(const std::wstring& programPath, const std::wstring& argumentZero = L"");
  Keyfolio(const Keyfolio&) = delete;
  Keyfolio& operator=(const Keyfolio&) = delete;

  ProgramProcess& Process() { return m_process; }
  HWND MainWindow() const { return m_main; }
  // True once the program has ended, within the step time-out.
  bool WaitForExit();
  // Returns once the program's thread is back in a message loop: a
  // handler that a test saw start (its dialog closed, its field changed)
  // has returned, or waits in a modal loop. Keys and clicks still queued
  // may not have been handled yet.
  void WaitUntilIdle();
  // Returns once the program has handled every key and click sent before:
  // a press of the mouse button on an empty spot of the main window, which
  // takes the mouse then and only then, and its release. For steps whose
  // effect is that nothing happens.
  void WaitForInputHandled();

  // --- Dialogs and message boxes ("#32770" windows of the program)
  // The message box on the screen now, waited for.
  MessageBoxView WaitForMessageBox();
  // The same for a run of the program that has no main window.
  static MessageBoxView WaitForMessageBox(const ProgramProcess& process);
  // Presses the button labelled `button` and waits for the box to go.
  static void Answer(const MessageBoxView& box, const std::wstring& button);
  // Both: the box that showed, answered.
  MessageBoxView AnswerMessageBox(const std::wstring& button = L"OK");
  // A dialog that is not a message box, by its caption, waited for.
  HWND WaitForDialog(const std::wstring& caption);
  // The program's dialogs and boxes on the screen now.
  std::vector<HWND> OpenDialogs() const;
  // Clicks the button labelled `label` ("OK" for "&OK"), which closes the
  // dialog or brings a box or dialog over it, as GiveTo does.
  static void ClickButtonIn(HWND dialog, const std::wstring& label);
  // Gives the dialog, in front, keys or a click (`give`) that it answers by
  // closing or by a box or dialog over it (it is disabled), or by what
  // `answered`, when given, tells. Input that Wine lost leaves it open and
  // taking input; only once the program is back in its message loop is it
  // given again.
  static void GiveTo(HWND dialog, const std::function<void()>& give,
                     const std::function<bool()>& answered = nullptr);
  // Clicks the button and waits for the dialog to close.
  static void CloseWith(HWND dialog, const std::wstring& label);
  static void WaitForClose(HWND dialog);

  // --- Edit fields of a dialog
  // The dialog's edit fields from top to bottom.
  std::vector<HWND> EditsIn(HWND dialog) const;
  // The edit field on the line of the label `label` ("Title:").
  HWND EditBeside(HWND dialog, const std::wstring& label) const;
  // Clicks into the field, selects all it holds and types `text` over it.
  void TypeInto(HWND edit, const std::wstring& text);
  void FillSite(HWND dialog, const SiteEntry& site);
  SiteEntry ReadSite(HWND dialog) const;

  // --- The standard Open and Save dialogs
  // The field of the dialog where the file's name is typed.
  static HWND FileNameField(HWND dialog);
  // In the dialog captioned `caption`: types the full path over the name
  // field and presses Enter, as a person does; waits for the dialog to go.
  void ChooseFile(const std::wstring& caption, const std::wstring& path);

  // --- Start-up
  // From "You must first create a master password..." through "Next, add a
  // site...": the password typed into the create and the confirm dialog.
  // The message boxes answered on the way, in order.
  std::vector<MessageBoxView> CreateMasterPassword(const std::wstring& password);
  // Types the password into the entry dialog and presses OK.
  void EnterMasterPassword(const std::wstring& password);
  // EnterMasterPassword, and waits for the dialog to close.
  void LogIn(const std::wstring& password);

  // --- Commands
  // Alt with the menu's letter, the arrow keys to the item, Enter. Menus
  // and items are named as the menu bar shows them ("View", "Show
  // Password"; "File", "Add New Site..."). `chosen` tells that the command
  // came; without it, a dialog or box that disables the main window, or
  // the program's end, tells.
  void ChooseMenu(const std::wstring& menu, const std::wstring& item,
                  const std::function<bool()>& chosen = nullptr);
  // ChooseMenu up to the item, which is left selected: Enter chooses it.
  void SelectMenuItem(const std::wstring& menu, const std::wstring& item);
  // Opens the menu as ChooseMenu does, reads which of its items carry a
  // check mark, and closes it again with Esc.
  std::vector<bool> CheckMarksOf(const std::wstring& menu);
  // The main window's system menu (Alt+Space) as the keyboard walks it:
  // the number of entries that Down selects in turn (separators are
  // skipped) before it comes round to the first again.
  int CountSystemMenuEntries();
  // Minimizes the main window from its system menu with the keyboard.
  void Minimize();
  // Presses the keys together with the main window in front, once: keys
  // that Wine lost are not pressed again, as ChooseShortcut's are.
  void PressShortcut(std::initializer_list<WORD> keys);
  // PressShortcut for a command whose effect shows, told as in ChooseMenu:
  // keys that Wine lost are pressed again, once every key before them is
  // known to be handled; a command that came is never repeated.
  void ChooseShortcut(std::initializer_list<WORD> keys,
                      const std::function<bool()>& chosen = nullptr);
  // A button of the main window by its label; `which` counts buttons of the
  // same label from the top ("Copy" 0 beside User Name, 1 beside Password).
  HWND MainButton(const std::wstring& label, int which = 0) const;
  void ClickMainButton(const std::wstring& label, int which = 0);
  // Opens the site list and clicks the title.
  void ChooseTitle(const std::wstring& title);

  // --- The main window as it shows
  HWND SiteList() const;
  std::vector<std::wstring> Titles() const;
  // The selected title, empty when none is.
  std::wstring SelectedTitle() const;
  // The four read-only fields, User Name, Password, Website Address, Notes.
  HWND Field(int index) const;
  // The character the Password field shows for each of its characters; 0
  // when it shows the text in clear.
  wchar_t PasswordChar() const;
  // The four fields as they show: the password as its mask characters when
  // masked.
  std::array<std::wstring, 4> VisibleFields() const;
  // The title and the four fields as they show.
  SiteEntry ShownSite() const;

 private:
  // Gives a command with `give` until `chosen` (by default: a window that
  // disables the main window, or the program's end) tells that it came.
  void GiveCommand(const std::string& what, const std::function<void()>& give,
                   const std::function<bool()>& chosen);
  HWND MenuPopup() const;
  void OpenMenu(const std::wstring& menu);
  void OpenSystemMenu();
  // Down to the next entry of the open menu; false when the menu closed or
  // the selection did not move within `waitMs`.
  bool SelectNextEntry(DWORD waitMs);
  void CloseMenu();

  ProgramProcess m_process;
  MenuBar m_menuBar;
  HWND m_main = nullptr;
};

// A message box, not a dialog of the program's own: it holds the static
// text that message boxes show.
bool IsMessageBox(HWND dialog);
// The point of item `index` of a list box (or a combo box's drop-down list)
// on the screen; throws when the item is scrolled out of view.
POINT ListItemPoint(HWND list, int index);
